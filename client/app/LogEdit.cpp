#include "client/app/LogEdit.h"

#include <algorithm>

#include "platform/gdi.h"

void CLogEdit::Init(CWnd* owner) {
  m_owner = owner;
  FmtLines(TRUE);
}

void CLogEdit::AppendText(const char* text) {
  CString shown;
  GetWindowText(shown);
  if (shown.GetLength() > kMaxKept) shown = shown.Right(kMaxKept);
  shown += text;
  SetWindowText(shown);
}

void CLogEdit::AppendAndScroll(const char* text) {
  AppendText(text);
  ScrollToEnd();
}

void CLogEdit::ScrollToEnd() {
  // The last line must end up at the bottom of the edit, not alone at its top.
  CRect client;
  GetClientRect(&client);
  CClientDC dc(this);
  CFont* font = CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
  CFont* old = font && font->GetSafeHandle() ? dc.SelectObject(font) : nullptr;
  TEXTMETRIC metrics{};
  dc.GetTextMetrics(&metrics);
  if (old) dc.SelectObject(old);
  const int lineHeight = metrics.tmHeight > 0 ? static_cast<int>(metrics.tmHeight) : 1;
  const int visible = std::max(1, static_cast<int>(client.Height()) / lineHeight);
  const int target = std::max(0, GetLineCount() - visible);
  LineScroll(target - GetFirstVisibleLine());
}

void CLogEdit::Clear() { SetWindowText(""); }

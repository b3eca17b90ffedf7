#include "client/widgets/LogEdit.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/gdi.h"

namespace {

// Byte offset where the last `keep` characters of text begin, a double-byte character counting
// as one: the cut never leaves half a character in front.
std::size_t StartOfLastChars(std::string_view text, int keep) {
  std::vector<std::size_t> starts;
  starts.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); at += static_cast<std::size_t>(Cp949CharLength(text, at)))
    starts.push_back(at);
  if (starts.size() <= static_cast<std::size_t>(keep)) return 0;
  return starts[starts.size() - static_cast<std::size_t>(keep)];
}

}  // namespace

void CLogEdit::Init(CWnd* owner) {
  m_owner = owner;
  FmtLines(TRUE);
}

void CLogEdit::AppendText(const char* text) {
  CString shown;
  GetWindowText(shown);
  if (shown.GetLength() > kMaxKept) {
    const std::string_view bytes(shown.GetString(), static_cast<std::size_t>(shown.GetLength()));
    shown = CString(shown.GetString() + StartOfLastChars(bytes, kMaxKept));
  }
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

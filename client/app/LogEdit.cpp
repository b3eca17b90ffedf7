#include "client/app/LogEdit.h"

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

void CLogEdit::ScrollToEnd() { LineScroll(GetLineCount()); }

void CLogEdit::Clear() { SetWindowText(""); }

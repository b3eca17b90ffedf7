#include "platform/controls.h"

#include "EditModel.h"

#include <cstring>
#include <vector>

namespace {
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return ::SendMessage(hwnd, message, wParam, lParam);
}
}  // namespace

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("Edit", "", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL) { Send(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), end); }

void CEdit::GetSel(int& start, int& end) const {
  DWORD s = 0;
  DWORD e = 0;
  Send(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}

DWORD CEdit::GetSel() const { return static_cast<DWORD>(Send(m_hWnd, EM_GETSEL)); }

void CEdit::ReplaceSel(LPCTSTR text, BOOL canUndo) {
  Send(m_hWnd, EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text));
}

void CEdit::Clear() { Send(m_hWnd, WM_CLEAR); }
void CEdit::SetLimitText(UINT max) { Send(m_hWnd, EM_SETLIMITTEXT, max); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(Send(m_hWnd, EM_GETLIMITTEXT)); }
int CEdit::GetLineCount() const { return static_cast<int>(Send(m_hWnd, EM_GETLINECOUNT)); }

int CEdit::GetLine(int index, LPTSTR buffer, int maxLength) const {
  if (!buffer || maxLength < static_cast<int>(sizeof(WORD))) return 0;
  WORD room = static_cast<WORD>(maxLength > 0xFFFF ? 0xFFFF : maxLength);
  std::memcpy(buffer, &room, sizeof room);
  return static_cast<int>(Send(m_hWnd, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}

int CEdit::LineIndex(int line) const { return static_cast<int>(Send(m_hWnd, EM_LINEINDEX, static_cast<WPARAM>(line))); }
int CEdit::LineLength(int line) const { return static_cast<int>(Send(m_hWnd, EM_LINELENGTH, static_cast<WPARAM>(line))); }
int CEdit::LineFromChar(int index) const {
  return static_cast<int>(Send(m_hWnd, EM_LINEFROMCHAR, static_cast<WPARAM>(index)));
}
int CEdit::GetFirstVisibleLine() const { return static_cast<int>(Send(m_hWnd, EM_GETFIRSTVISIBLELINE)); }
void CEdit::LineScroll(int lines, int chars) { Send(m_hWnd, EM_LINESCROLL, static_cast<WPARAM>(chars), lines); }
BOOL CEdit::FmtLines(BOOL addEol) { return static_cast<BOOL>(Send(m_hWnd, EM_FMTLINES, static_cast<WPARAM>(addEol))); }
void CEdit::SetPasswordChar(TCHAR ch) { Send(m_hWnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(ch)); }
TCHAR CEdit::GetPasswordChar() const { return static_cast<TCHAR>(Send(m_hWnd, EM_GETPASSWORDCHAR)); }
BOOL CEdit::SetReadOnly(BOOL readOnly) { return static_cast<BOOL>(Send(m_hWnd, EM_SETREADONLY, static_cast<WPARAM>(readOnly))); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(Send(m_hWnd, EM_GETMODIFY)); }
void CEdit::SetModify(BOOL modified) { Send(m_hWnd, EM_SETMODIFY, static_cast<WPARAM>(modified)); }

BOOL HideCaret(HWND hwnd) {
  return static_cast<BOOL>(::SendMessage(hwnd, platform::detail::kCaretVisibilityMessage, TRUE, 0));
}

BOOL ShowCaret(HWND hwnd) {
  return static_cast<BOOL>(::SendMessage(hwnd, platform::detail::kCaretVisibilityMessage, FALSE, 0));
}

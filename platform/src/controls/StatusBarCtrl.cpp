#include <string>

#include "platform/controls.h"

BOOL CStatusBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("msctls_statusbar32", "", style, rect, parent, id);
}

BOOL CStatusBarCtrl::SetParts(int count, int* rights) {
  return static_cast<BOOL>(::SendMessage(m_hWnd, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rights)));
}

int CStatusBarCtrl::GetParts(int count, int* rights) const {
  return static_cast<int>(::SendMessage(m_hWnd, SB_GETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rights)));
}

BOOL CStatusBarCtrl::SetText(LPCTSTR text, int pane, int type) {
  return static_cast<BOOL>(::SendMessage(m_hWnd, SB_SETTEXT, static_cast<WPARAM>((pane & 0xFF) | (type & 0xFF00)),
                                         reinterpret_cast<LPARAM>(text)));
}

CString CStatusBarCtrl::GetText(int pane, int* type) const {
  LRESULT info = ::SendMessage(m_hWnd, SB_GETTEXTLENGTH, static_cast<WPARAM>(pane), 0);
  std::string buffer(static_cast<std::size_t>(LOWORD(info)) + 1, '\0');
  ::SendMessage(m_hWnd, SB_GETTEXT, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(buffer.data()));
  if (type) *type = HIWORD(info);
  return CString(buffer.c_str());
}

BOOL CStatusBarCtrl::GetRect(int pane, LPRECT rect) const {
  return static_cast<BOOL>(::SendMessage(m_hWnd, SB_GETRECT, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(rect)));
}

#include "ControlMessages.h"

using platform::detail::Idx;
using platform::detail::Send;
using platform::detail::Str;

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("ListBox", "", style, rect, parent, id);
}

int CListBox::GetCount() const { return Send(m_hWnd, LB_GETCOUNT); }
int CListBox::AddString(LPCTSTR text) { return Send(m_hWnd, LB_ADDSTRING, 0, Str(text)); }
int CListBox::InsertString(int index, LPCTSTR text) { return Send(m_hWnd, LB_INSERTSTRING, Idx(index), Str(text)); }
int CListBox::DeleteString(UINT index) { return Send(m_hWnd, LB_DELETESTRING, index); }
void CListBox::ResetContent() { Send(m_hWnd, LB_RESETCONTENT); }
int CListBox::GetCurSel() const { return Send(m_hWnd, LB_GETCURSEL); }
int CListBox::SetCurSel(int index) { return Send(m_hWnd, LB_SETCURSEL, Idx(index)); }
int CListBox::GetSel(int index) const { return Send(m_hWnd, LB_GETSEL, Idx(index)); }
int CListBox::SetSel(int index, BOOL select) { return Send(m_hWnd, LB_SETSEL, static_cast<WPARAM>(select), index); }
int CListBox::GetSelCount() const { return Send(m_hWnd, LB_GETSELCOUNT); }
int CListBox::GetText(int index, LPTSTR buffer) const {
  return Send(m_hWnd, LB_GETTEXT, Idx(index), reinterpret_cast<LPARAM>(buffer));
}

void CListBox::GetText(int index, CString& text) const {
  platform::detail::ReadItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, index, text);
}

int CListBox::GetTextLen(int index) const { return Send(m_hWnd, LB_GETTEXTLEN, Idx(index)); }
DWORD_PTR CListBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(::SendMessage(m_hWnd, LB_GETITEMDATA, Idx(index), 0));
}
int CListBox::SetItemData(int index, DWORD_PTR data) {
  return Send(m_hWnd, LB_SETITEMDATA, Idx(index), static_cast<LPARAM>(data));
}
int CListBox::FindString(int startAfter, LPCTSTR text) const { return Send(m_hWnd, LB_FINDSTRING, Idx(startAfter), Str(text)); }
int CListBox::FindStringExact(int startAfter, LPCTSTR text) const {
  return Send(m_hWnd, LB_FINDSTRINGEXACT, Idx(startAfter), Str(text));
}
int CListBox::SelectString(int startAfter, LPCTSTR text) { return Send(m_hWnd, LB_SELECTSTRING, Idx(startAfter), Str(text)); }
int CListBox::GetTopIndex() const { return Send(m_hWnd, LB_GETTOPINDEX); }
int CListBox::SetTopIndex(int index) { return Send(m_hWnd, LB_SETTOPINDEX, Idx(index)); }
int CListBox::GetItemRect(int index, LPRECT rect) const {
  return Send(m_hWnd, LB_GETITEMRECT, Idx(index), reinterpret_cast<LPARAM>(rect));
}
int CListBox::GetItemHeight(int index) const { return Send(m_hWnd, LB_GETITEMHEIGHT, Idx(index)); }
int CListBox::SetItemHeight(int index, UINT height) { return Send(m_hWnd, LB_SETITEMHEIGHT, Idx(index), MAKELPARAM(static_cast<WORD>(height), 0)); }

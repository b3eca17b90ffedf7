#include "ControlMessages.h"

using platform::detail::Idx;
using platform::detail::Send;
using platform::detail::Str;

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("ComboBox", "", style, rect, parent, id);
}

int CComboBox::GetCount() const { return Send(m_hWnd, CB_GETCOUNT); }
int CComboBox::AddString(LPCTSTR text) { return Send(m_hWnd, CB_ADDSTRING, 0, Str(text)); }
int CComboBox::InsertString(int index, LPCTSTR text) { return Send(m_hWnd, CB_INSERTSTRING, Idx(index), Str(text)); }
int CComboBox::DeleteString(UINT index) { return Send(m_hWnd, CB_DELETESTRING, index); }
void CComboBox::ResetContent() { Send(m_hWnd, CB_RESETCONTENT); }
int CComboBox::GetCurSel() const { return Send(m_hWnd, CB_GETCURSEL); }
int CComboBox::SetCurSel(int index) { return Send(m_hWnd, CB_SETCURSEL, Idx(index)); }
int CComboBox::GetLBText(int index, LPTSTR buffer) const {
  return Send(m_hWnd, CB_GETLBTEXT, Idx(index), reinterpret_cast<LPARAM>(buffer));
}

void CComboBox::GetLBText(int index, CString& text) const {
  platform::detail::ReadItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, text);
}

int CComboBox::GetLBTextLen(int index) const { return Send(m_hWnd, CB_GETLBTEXTLEN, Idx(index)); }
DWORD_PTR CComboBox::GetItemData(int index) const {
  return static_cast<DWORD_PTR>(::SendMessage(m_hWnd, CB_GETITEMDATA, Idx(index), 0));
}
int CComboBox::SetItemData(int index, DWORD_PTR data) {
  return Send(m_hWnd, CB_SETITEMDATA, Idx(index), static_cast<LPARAM>(data));
}
int CComboBox::FindString(int startAfter, LPCTSTR text) const { return Send(m_hWnd, CB_FINDSTRING, Idx(startAfter), Str(text)); }
int CComboBox::FindStringExact(int startAfter, LPCTSTR text) const {
  return Send(m_hWnd, CB_FINDSTRINGEXACT, Idx(startAfter), Str(text));
}
int CComboBox::SelectString(int startAfter, LPCTSTR text) { return Send(m_hWnd, CB_SELECTSTRING, Idx(startAfter), Str(text)); }
BOOL CComboBox::LimitText(int max) { return Send(m_hWnd, CB_LIMITTEXT, Idx(max)); }
void CComboBox::ShowDropDown(BOOL show) { Send(m_hWnd, CB_SHOWDROPDOWN, static_cast<WPARAM>(show)); }
BOOL CComboBox::GetDroppedState() const { return Send(m_hWnd, CB_GETDROPPEDSTATE); }
int CComboBox::SetExtendedUI(BOOL extended) { return Send(m_hWnd, CB_SETEXTENDEDUI, static_cast<WPARAM>(extended)); }
BOOL CComboBox::GetExtendedUI() const { return Send(m_hWnd, CB_GETEXTENDEDUI); }
int CComboBox::SetItemHeight(int index, UINT height) { return Send(m_hWnd, CB_SETITEMHEIGHT, Idx(index), height); }
int CComboBox::GetItemHeight(int index) const { return Send(m_hWnd, CB_GETITEMHEIGHT, Idx(index)); }
DWORD CComboBox::GetEditSel() const { return static_cast<DWORD>(Send(m_hWnd, CB_GETEDITSEL)); }
BOOL CComboBox::SetEditSel(int start, int end) {
  return Send(m_hWnd, CB_SETEDITSEL, 0, MAKELPARAM(static_cast<WORD>(start), static_cast<WORD>(end)));
}

#include "platform/controls.h"

namespace {
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return ::SendMessage(hwnd, message, wParam, lParam);
}
template <class T>
LPARAM Ptr(T* p) {
  return reinterpret_cast<LPARAM>(p);
}
}  // namespace

BEGIN_MESSAGE_MAP(CHeaderCtrl, CWnd)
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("SysHeader32", "", style, rect, parent, id);
}

int CHeaderCtrl::GetItemCount() const { return static_cast<int>(Send(m_hWnd, HDM_GETITEMCOUNT)); }
int CHeaderCtrl::InsertItem(int index, HDITEM* item) {
  return static_cast<int>(Send(m_hWnd, HDM_INSERTITEM, static_cast<WPARAM>(index), Ptr(item)));
}
BOOL CHeaderCtrl::DeleteItem(int index) { return static_cast<BOOL>(Send(m_hWnd, HDM_DELETEITEM, static_cast<WPARAM>(index))); }
BOOL CHeaderCtrl::GetItem(int index, HDITEM* item) const {
  return static_cast<BOOL>(Send(m_hWnd, HDM_GETITEM, static_cast<WPARAM>(index), Ptr(item)));
}
BOOL CHeaderCtrl::SetItem(int index, HDITEM* item) {
  return static_cast<BOOL>(Send(m_hWnd, HDM_SETITEM, static_cast<WPARAM>(index), Ptr(item)));
}
BOOL CHeaderCtrl::GetItemRect(int index, LPRECT rect) const {
  return static_cast<BOOL>(Send(m_hWnd, HDM_GETITEMRECT, static_cast<WPARAM>(index), Ptr(rect)));
}
int CHeaderCtrl::HitTest(LPHDHITTESTINFO info) { return static_cast<int>(Send(m_hWnd, HDM_HITTEST, 0, Ptr(info))); }
BOOL CHeaderCtrl::Layout(HDLAYOUT* layout) { return static_cast<BOOL>(Send(m_hWnd, HDM_LAYOUT, 0, Ptr(layout))); }

BOOL CHeaderCtrl::GetOrderArray(LPINT order, int count) const {
  if (count < 0) count = GetItemCount();
  return static_cast<BOOL>(Send(m_hWnd, HDM_GETORDERARRAY, static_cast<WPARAM>(count), Ptr(order)));
}

BOOL CHeaderCtrl::SetOrderArray(int count, LPINT order) {
  return static_cast<BOOL>(Send(m_hWnd, HDM_SETORDERARRAY, static_cast<WPARAM>(count), Ptr(order)));
}

int CHeaderCtrl::OrderToIndex(int order) const {
  return static_cast<int>(Send(m_hWnd, HDM_ORDERTOINDEX, static_cast<WPARAM>(order)));
}
int CHeaderCtrl::SetHotDivider(int index) { return static_cast<int>(Send(m_hWnd, HDM_SETHOTDIVIDER, FALSE, index)); }
int CHeaderCtrl::SetHotDivider(CPoint point) {
  return static_cast<int>(Send(m_hWnd, HDM_SETHOTDIVIDER, TRUE, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y))));
}
HIMAGELIST CHeaderCtrl::SetImageList(HIMAGELIST list) {
  return reinterpret_cast<HIMAGELIST>(Send(m_hWnd, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list)));
}
HIMAGELIST CHeaderCtrl::GetImageList() const { return reinterpret_cast<HIMAGELIST>(Send(m_hWnd, HDM_GETIMAGELIST)); }
void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

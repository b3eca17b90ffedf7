#include <string>

#include "platform/controls.h"

namespace {
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return ::SendMessage(hwnd, message, wParam, lParam);
}
template <class T>
LPARAM Ptr(T* p) {
  return reinterpret_cast<LPARAM>(p);
}
WPARAM Idx(int index) { return static_cast<WPARAM>(index); }
// Selected positions are stored one past the index so that index 0 is not a null position.
POSITION ToPosition(int index) { return index < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<std::intptr_t>(index) + 1); }
}  // namespace

BEGIN_MESSAGE_MAP(CListCtrl, CWnd)
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("SysListView32", "", style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, const LVCOLUMN* info) {
  return static_cast<int>(Send(m_hWnd, LVM_INSERTCOLUMN, Idx(column), Ptr(info)));
}

int CListCtrl::InsertColumn(int column, LPCTSTR heading, int format, int width, int subItem) {
  LVCOLUMN info{};
  info.mask = LVCF_FMT | LVCF_TEXT | (width >= 0 ? LVCF_WIDTH : 0) | (subItem >= 0 ? LVCF_SUBITEM : 0);
  info.fmt = format;
  info.cx = width;
  info.pszText = const_cast<LPSTR>(heading);
  info.iSubItem = subItem;
  return InsertColumn(column, &info);
}

BOOL CListCtrl::DeleteColumn(int column) { return static_cast<BOOL>(Send(m_hWnd, LVM_DELETECOLUMN, Idx(column))); }
BOOL CListCtrl::GetColumn(int column, LVCOLUMN* info) const {
  return static_cast<BOOL>(Send(m_hWnd, LVM_GETCOLUMN, Idx(column), Ptr(info)));
}
BOOL CListCtrl::SetColumn(int column, const LVCOLUMN* info) {
  return static_cast<BOOL>(Send(m_hWnd, LVM_SETCOLUMN, Idx(column), Ptr(info)));
}
int CListCtrl::GetColumnWidth(int column) const { return static_cast<int>(Send(m_hWnd, LVM_GETCOLUMNWIDTH, Idx(column))); }
BOOL CListCtrl::SetColumnWidth(int column, int width) {
  return static_cast<BOOL>(Send(m_hWnd, LVM_SETCOLUMNWIDTH, Idx(column), MAKELPARAM(static_cast<WORD>(width), 0)));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  HWND header = reinterpret_cast<HWND>(Send(m_hWnd, LVM_GETHEADER));
  if (!header) return nullptr;
  CWnd* permanent = CWnd::FromHandlePermanent(header);
  if (permanent) return dynamic_cast<CHeaderCtrl*>(permanent);  // null if another class took it
  if (m_header.m_hWnd) m_header.Detach();  // a header of an earlier window of this object
  m_header.Attach(header);
  return &m_header;
}

BOOL CListCtrl::SetColumnOrderArray(int count, LPINT order) {
  return static_cast<BOOL>(Send(m_hWnd, LVM_SETCOLUMNORDERARRAY, Idx(count), Ptr(order)));
}

BOOL CListCtrl::GetColumnOrderArray(LPINT order, int count) const {
  if (count < 0) {
    CHeaderCtrl* header = GetHeaderCtrl();
    count = header ? header->GetItemCount() : 0;
  }
  return static_cast<BOOL>(Send(m_hWnd, LVM_GETCOLUMNORDERARRAY, Idx(count), Ptr(order)));
}

int CListCtrl::InsertItem(const LVITEM* item) { return static_cast<int>(Send(m_hWnd, LVM_INSERTITEM, 0, Ptr(item))); }
int CListCtrl::InsertItem(int index, LPCTSTR text) { return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0); }
int CListCtrl::InsertItem(int index, LPCTSTR text, int image) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, index, text, 0, 0, image, 0);
}

int CListCtrl::InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM data) {
  LVITEM item{};
  item.mask = mask;
  item.iItem = index;
  item.pszText = const_cast<LPSTR>(text);
  item.state = state;
  item.stateMask = stateMask;
  item.iImage = image;
  item.lParam = data;
  return InsertItem(&item);
}

BOOL CListCtrl::DeleteItem(int index) { return static_cast<BOOL>(Send(m_hWnd, LVM_DELETEITEM, Idx(index))); }
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(Send(m_hWnd, LVM_DELETEALLITEMS)); }
int CListCtrl::GetItemCount() const { return static_cast<int>(Send(m_hWnd, LVM_GETITEMCOUNT)); }
BOOL CListCtrl::GetItem(LVITEM* item) const { return static_cast<BOOL>(Send(m_hWnd, LVM_GETITEM, 0, Ptr(item))); }
BOOL CListCtrl::SetItem(const LVITEM* item) { return static_cast<BOOL>(Send(m_hWnd, LVM_SETITEM, 0, Ptr(item))); }

BOOL CListCtrl::SetItemText(int index, int subItem, LPCTSTR text) {
  LVITEM item{};
  item.iSubItem = subItem;
  item.pszText = const_cast<LPSTR>(text);
  return static_cast<BOOL>(Send(m_hWnd, LVM_SETITEMTEXT, Idx(index), Ptr(&item)));
}

int CListCtrl::GetItemText(int index, int subItem, LPTSTR buffer, int length) const {
  LVITEM item{};
  item.iSubItem = subItem;
  item.pszText = buffer;
  item.cchTextMax = length;
  return static_cast<int>(Send(m_hWnd, LVM_GETITEMTEXT, Idx(index), Ptr(&item)));
}

CString CListCtrl::GetItemText(int index, int subItem) const {
  // Grows the buffer until the text fits with room to spare.
  for (int size = 256;; size *= 2) {
    std::string buffer(static_cast<std::size_t>(size), '\0');
    int n = GetItemText(index, subItem, buffer.data(), size);
    if (n < size - 1) return CString(buffer.c_str());
  }
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  item.lParam = static_cast<LPARAM>(data);
  return SetItem(&item);
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  LVITEM item{};
  item.state = state;
  item.stateMask = mask;
  return static_cast<BOOL>(Send(m_hWnd, LVM_SETITEMSTATE, Idx(index), Ptr(&item)));
}

UINT CListCtrl::GetItemState(int index, UINT mask) const {
  return static_cast<UINT>(Send(m_hWnd, LVM_GETITEMSTATE, Idx(index), static_cast<LPARAM>(mask)));
}

BOOL CListCtrl::GetCheck(int index) const { return (GetItemState(index, LVIS_STATEIMAGEMASK) >> 12) == 2; }
BOOL CListCtrl::SetCheck(int index, BOOL check) {
  return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
}
int CListCtrl::GetSelectedCount() const { return static_cast<int>(Send(m_hWnd, LVM_GETSELECTEDCOUNT)); }
int CListCtrl::GetNextItem(int start, UINT flags) const {
  return static_cast<int>(Send(m_hWnd, LVM_GETNEXTITEM, Idx(start), MAKELPARAM(static_cast<WORD>(flags), 0)));
}
POSITION CListCtrl::GetFirstSelectedItemPosition() const { return ToPosition(GetNextItem(-1, LVNI_SELECTED)); }

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  int index = static_cast<int>(reinterpret_cast<std::intptr_t>(pos)) - 1;
  pos = ToPosition(GetNextItem(index, LVNI_SELECTED));
  return index;
}

int CListCtrl::FindItem(LVFINDINFO* info, int start) const {
  return static_cast<int>(Send(m_hWnd, LVM_FINDITEM, Idx(start), Ptr(info)));
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR sortData) {
  return static_cast<BOOL>(Send(m_hWnd, LVM_SORTITEMS, sortData, reinterpret_cast<LPARAM>(compare)));
}

int CListCtrl::GetSelectionMark() const { return static_cast<int>(Send(m_hWnd, LVM_GETSELECTIONMARK)); }
int CListCtrl::SetSelectionMark(int index) { return static_cast<int>(Send(m_hWnd, LVM_SETSELECTIONMARK, 0, index)); }

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const {
  if (!rect) return FALSE;
  rect->left = static_cast<LONG>(code);
  return static_cast<BOOL>(Send(m_hWnd, LVM_GETITEMRECT, Idx(index), Ptr(rect)));
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int code, CRect& rect) const {
  rect.left = code;
  rect.top = subItem;
  return static_cast<BOOL>(Send(m_hWnd, LVM_GETSUBITEMRECT, Idx(index), Ptr(static_cast<RECT*>(&rect))));
}

int CListCtrl::HitTest(LVHITTESTINFO* info) const { return static_cast<int>(Send(m_hWnd, LVM_HITTEST, 0, Ptr(info))); }

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
  LVHITTESTINFO info{point, 0, -1, 0};
  int index = HitTest(&info);
  if (flags) *flags = info.flags;
  return index;
}

BOOL CListCtrl::EnsureVisible(int index, BOOL partialOk) {
  return static_cast<BOOL>(Send(m_hWnd, LVM_ENSUREVISIBLE, Idx(index), partialOk));
}
BOOL CListCtrl::Scroll(CSize size) { return static_cast<BOOL>(Send(m_hWnd, LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy)); }
int CListCtrl::GetTopIndex() const { return static_cast<int>(Send(m_hWnd, LVM_GETTOPINDEX)); }
int CListCtrl::GetCountPerPage() const { return static_cast<int>(Send(m_hWnd, LVM_GETCOUNTPERPAGE)); }
DWORD CListCtrl::SetExtendedStyle(DWORD style) {
  return static_cast<DWORD>(Send(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}
DWORD CListCtrl::GetExtendedStyle() const { return static_cast<DWORD>(Send(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE)); }

CImageList* CListCtrl::SetImageList(CImageList* list, int which) {
  Send(m_hWnd, LVM_SETIMAGELIST, Idx(which), reinterpret_cast<LPARAM>(list ? list->GetSafeHandle() : nullptr));
  return nullptr;  // the previous list is not tracked as an object
}

HIMAGELIST CListCtrl::GetImageList(int which) const {
  return reinterpret_cast<HIMAGELIST>(Send(m_hWnd, LVM_GETIMAGELIST, Idx(which)));
}

BOOL CListCtrl::SetBkColor(COLORREF color) { return static_cast<BOOL>(Send(m_hWnd, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(color))); }
BOOL CListCtrl::RedrawItems(int first, int last) { return static_cast<BOOL>(Send(m_hWnd, LVM_REDRAWITEMS, Idx(first), last)); }
void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

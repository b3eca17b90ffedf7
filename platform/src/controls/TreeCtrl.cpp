#include <string>

#include "platform/controls.h"

namespace {
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return ::SendMessage(hwnd, message, wParam, lParam);
}
LPARAM Item(HTREEITEM item) { return reinterpret_cast<LPARAM>(item); }
HTREEITEM ItemOf(LRESULT result) { return reinterpret_cast<HTREEITEM>(result); }
}  // namespace

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("SysTreeView32", "", style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT insert) {
  return ItemOf(Send(m_hWnd, TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(insert)));
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM after) {
  TVINSERTSTRUCT insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<LPSTR>(text);
  return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) {
  TVINSERTSTRUCT insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<LPSTR>(text);
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  return InsertItem(&insert);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) { return static_cast<BOOL>(Send(m_hWnd, TVM_DELETEITEM, 0, Item(item))); }
BOOL CTreeCtrl::DeleteAllItems() { return DeleteItem(TVI_ROOT); }
UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(Send(m_hWnd, TVM_GETCOUNT)); }
BOOL CTreeCtrl::SelectItem(HTREEITEM item) { return static_cast<BOOL>(Send(m_hWnd, TVM_SELECTITEM, TVGN_CARET, Item(item))); }
HTREEITEM CTreeCtrl::GetSelectedItem() const { return ItemOf(Send(m_hWnd, TVM_GETNEXTITEM, TVGN_CARET, 0)); }
HTREEITEM CTreeCtrl::GetRootItem() const { return ItemOf(Send(m_hWnd, TVM_GETNEXTITEM, TVGN_ROOT, 0)); }
HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const { return ItemOf(Send(m_hWnd, TVM_GETNEXTITEM, TVGN_CHILD, Item(item))); }
HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
  return ItemOf(Send(m_hWnd, TVM_GETNEXTITEM, TVGN_NEXT, Item(item)));
}
HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const {
  return ItemOf(Send(m_hWnd, TVM_GETNEXTITEM, TVGN_PREVIOUS, Item(item)));
}
HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const { return ItemOf(Send(m_hWnd, TVM_GETNEXTITEM, TVGN_PARENT, Item(item))); }
BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) { return static_cast<BOOL>(Send(m_hWnd, TVM_EXPAND, code, Item(item))); }

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
  for (int size = 256;; size *= 2) {
    std::string buffer(static_cast<std::size_t>(size), '\0');
    TVITEM info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = buffer.data();
    info.cchTextMax = size;
    if (!GetItem(&info)) return CString();
    if (std::char_traits<char>::length(buffer.c_str()) < static_cast<std::size_t>(size - 1)) return CString(buffer.c_str());
  }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCTSTR text) {
  TVITEM info{};
  info.mask = TVIF_TEXT;
  info.hItem = item;
  info.pszText = const_cast<LPSTR>(text);
  return SetItem(&info);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
  TVITEM info{};
  info.mask = TVIF_PARAM;
  info.hItem = item;
  return GetItem(&info) ? static_cast<DWORD_PTR>(info.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
  TVITEM info{};
  info.mask = TVIF_PARAM;
  info.hItem = item;
  info.lParam = static_cast<LPARAM>(data);
  return SetItem(&info);
}

BOOL CTreeCtrl::GetItem(TVITEM* item) const { return static_cast<BOOL>(Send(m_hWnd, TVM_GETITEM, 0, reinterpret_cast<LPARAM>(item))); }
BOOL CTreeCtrl::SetItem(TVITEM* item) { return static_cast<BOOL>(Send(m_hWnd, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(item))); }

CImageList* CTreeCtrl::SetImageList(CImageList* list, int which) {
  Send(m_hWnd, TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list ? list->GetSafeHandle() : nullptr));
  return nullptr;  // the previous list is not tracked as an object
}

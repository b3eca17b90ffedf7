#pragma once
// Tree views: items with text, data and images under parents; one selected item.

#include "platform/controls_defs.h"
#include "platform/windows.h"

class CImageList;

class CTreeCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  // Null on failure (bad parent).
  HTREEITEM InsertItem(LPTVINSERTSTRUCT insert);
  HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST);
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems();
  UINT GetCount() const;
  // Selects item (null clears); the parent gets TVN_SELCHANGING and TVN_SELCHANGED before this
  // returns. FALSE when the parent refused or the item is not in this tree.
  BOOL SelectItem(HTREEITEM item);
  HTREEITEM GetSelectedItem() const;
  HTREEITEM GetRootItem() const;
  HTREEITEM GetChildItem(HTREEITEM item) const;
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
  HTREEITEM GetParentItem(HTREEITEM item) const;
  BOOL ItemHasChildren(HTREEITEM item) const;
  BOOL Expand(HTREEITEM item, UINT code);
  CString GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, LPCTSTR text);
  DWORD_PTR GetItemData(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
  BOOL GetItem(TVITEM* item) const;
  BOOL SetItem(TVITEM* item);
  CImageList* SetImageList(CImageList* list, int which);
};

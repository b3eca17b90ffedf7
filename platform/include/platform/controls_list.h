#pragma once
// List controls (report view): columns, items with sub-item texts, item data and state bits.

#include "platform/collections.h"
#include "platform/controls_defs.h"
#include "platform/controls_header.h"
#include "platform/windows.h"

class CImageList;

class CListCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  // Columns.
  int InsertColumn(int column, const LVCOLUMN* info);
  int InsertColumn(int column, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
  BOOL DeleteColumn(int column);
  BOOL GetColumn(int column, LVCOLUMN* info) const;
  BOOL SetColumn(int column, const LVCOLUMN* info);
  int GetColumnWidth(int column) const;
  BOOL SetColumnWidth(int column, int width);
  CHeaderCtrl* GetHeaderCtrl() const;
  BOOL SetColumnOrderArray(int count, LPINT order);
  BOOL GetColumnOrderArray(LPINT order, int count = -1) const;

  // Items. Insertion returns the new index, -1 on failure.
  int InsertItem(const LVITEM* item);
  int InsertItem(int index, LPCTSTR text);
  int InsertItem(int index, LPCTSTR text, int image);
  int InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM data);
  BOOL DeleteItem(int index);
  BOOL DeleteAllItems();
  int GetItemCount() const;
  BOOL GetItem(LVITEM* item) const;
  BOOL SetItem(const LVITEM* item);
  BOOL SetItemText(int index, int subItem, LPCTSTR text);
  CString GetItemText(int index, int subItem) const;
  // Copies at most length - 1 characters and a NUL; returns the characters copied.
  int GetItemText(int index, int subItem, LPTSTR buffer, int length) const;
  BOOL SetItemData(int index, DWORD_PTR data);
  DWORD_PTR GetItemData(int index) const;
  // Changes the bits of mask to state (LVN_ITEMCHANGING/-CHANGED go to the parent); index -1: all.
  BOOL SetItemState(int index, UINT state, UINT mask);
  UINT GetItemState(int index, UINT mask) const;
  // Check boxes (LVS_EX_CHECKBOXES): state image 2 is checked, 1 unchecked.
  BOOL GetCheck(int index) const;
  BOOL SetCheck(int index, BOOL check = TRUE);
  int GetSelectedCount() const;
  // Next item after start (-1: from the first) with all the LVNI_* flags.
  int GetNextItem(int start, UINT flags) const;
  POSITION GetFirstSelectedItemPosition() const;
  // The index at pos; pos moves to the next selected item (null after the last).
  int GetNextSelectedItem(POSITION& pos) const;
  int FindItem(LVFINDINFO* info, int start = -1) const;
  // Sorts by item data with compare; the comparison need not be a consistent ordering.
  BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR sortData);
  int GetSelectionMark() const;
  int SetSelectionMark(int index);

  // Geometry and view. The view's scrolling is what the window's scroll bars report: SB_VERT in
  // rows (page: whole rows shown, position: top row), SB_HORZ in pixels of the columns.
  BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
  BOOL GetSubItemRect(int index, int subItem, int code, CRect& rect) const;
  int HitTest(LVHITTESTINFO* info) const;
  int HitTest(CPoint point, UINT* flags = nullptr) const;
  BOOL EnsureVisible(int index, BOOL partialOk);
  // Scrolls by pixels: across as given, down to the nearest whole row.
  BOOL Scroll(CSize size);
  int GetTopIndex() const;
  int GetCountPerPage() const;
  DWORD SetExtendedStyle(DWORD style);
  DWORD GetExtendedStyle() const;
  CImageList* SetImageList(CImageList* list, int which);
  HIMAGELIST GetImageList(int which) const;
  BOOL SetBkColor(COLORREF color);
  BOOL RedrawItems(int first, int last);
  // Drawing of an LVS_OWNERDRAWFIXED row, reflected from the parent's WM_DRAWITEM.
  virtual void DrawItem(LPDRAWITEMSTRUCT item);

protected:
  DECLARE_MESSAGE_MAP()

private:
  mutable CHeaderCtrl m_header;
};

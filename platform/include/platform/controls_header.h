#pragma once
// Header controls: the column headings of a list control, or standing alone.

#include "platform/controls_defs.h"
#include "platform/windows.h"

class CImageList;

class CHeaderCtrl : public CWnd {
public:
  using CWnd::Create;
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetItemCount() const;
  // Index of the new item, -1 on failure; an index past the end appends.
  int InsertItem(int index, HDITEM* item);
  BOOL DeleteItem(int index);
  BOOL GetItem(int index, HDITEM* item) const;
  BOOL SetItem(int index, HDITEM* item);
  BOOL GetItemRect(int index, LPRECT rect) const;
  // Item under info->pt (client coordinates) with HHT_* flags; -1 when none.
  int HitTest(LPHDHITTESTINFO info);
  // Position and size the header takes at the top of layout->prc (which shrinks by it).
  BOOL Layout(HDLAYOUT* layout);
  // Item indexes in display order; count must equal the item count, and a set order must name
  // every item once.
  BOOL GetOrderArray(LPINT order, int count = -1) const;
  BOOL SetOrderArray(int count, LPINT order);
  int OrderToIndex(int order) const;
  // Shows the drop marker at divider index (-1 hides it); returns the divider shown.
  int SetHotDivider(int index);
  // The divider nearest to point (client coordinates).
  int SetHotDivider(CPoint point);
  HIMAGELIST SetImageList(HIMAGELIST list);
  HIMAGELIST GetImageList() const;
  // Drawing of HDF_OWNERDRAW items, reflected from the parent's WM_DRAWITEM.
  virtual void DrawItem(LPDRAWITEMSTRUCT item);

protected:
  DECLARE_MESSAGE_MAP()
};

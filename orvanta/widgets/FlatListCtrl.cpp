#include "orvanta/widgets/FlatListCtrl.h"

#include <algorithm>

#include <platform/controls.h>
#include <platform/gdi.h>

BEGIN_MESSAGE_MAP(CFlatListCtrl, CListCtrl)
  ON_WM_VSCROLL()
  ON_WM_LBUTTONUP()
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

CFlatListCtrl::CFlatListCtrl() = default;

CFlatListCtrl::~CFlatListCtrl() = default;

void CFlatListCtrl::SubclassHeader() {
  if (m_header.GetSafeHwnd() || !m_hWnd)
    return;
  const HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
  if (header && !CWnd::FromHandlePermanent(header) && m_header.SubclassWindow(header))
    m_header.SyncRecords();
}

void CFlatListCtrl::InitColumns() {
  SubclassHeader();
  m_nColumns = m_header.GetSafeHwnd() ? m_header.GetItemCount()
                                      : (GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0);
  m_columnColours.assign(static_cast<std::size_t>(m_nColumns), 0);
}

void CFlatListCtrl::SetKeyColumn(int column) {
  if (column >= 0 && column <= m_nColumns - 1)
    m_nKeyColumn = column;
}

void CFlatListCtrl::SetColumnColour(int column, COLORREF colour) {
  if (column >= 0 && column < static_cast<int>(m_columnColours.size()))
    m_columnColours[static_cast<std::size_t>(column)] = colour;
}

COLORREF CFlatListCtrl::GetColumnColour(int column) const {
  // A column added after InitColumns has no entry yet: it draws in the default black.
  if (column < 0 || column >= static_cast<int>(m_columnColours.size()))
    return 0;
  return m_columnColours[static_cast<std::size_t>(column)];
}

COLORREF CFlatListCtrl::RowBackground(int row, BOOL highlighted) const {
  if (highlighted)
    return m_crSelection;
  return m_bShading && (row & 1) ? m_crOddRow : kEvenRowColour;
}

COLORREF CFlatListCtrl::CellColour(int column, const CString& text) const {
  const COLORREF colour = GetColumnColour(column);
  if (column == m_nKeyColumn)
    return text.Find('*') >= 0 ? m_crStarred : colour;
  if (column == m_nStatusColumn) {
    if (text.Find("Wait") >= 0)
      return kWaitColour;
    if (text.Find("Pause") >= 0 || text.Find("Play") >= 0 || text.Find("Count") >= 0)
      return kPlayColour;
  }
  return colour;
}

void CFlatListCtrl::OnVScroll(UINT code, UINT position, CScrollBar* bar) {
  if (CWnd* parent = GetParent())
    parent->SendMessage(kScrollNotice, code, position);
  CListCtrl::OnVScroll(code, position, bar);
}

void CFlatListCtrl::OnLButtonUp(UINT flags, CPoint point) {
  CListCtrl::OnLButtonUp(flags, point);
  if (GetCapture() == this)
    ReleaseCapture();
}

void CFlatListCtrl::DrawItem(LPDRAWITEMSTRUCT draw) {
  CDC* dc = CDC::FromHandle(draw->hDC);
  const int row = static_cast<int>(draw->itemID);
  const int saved = dc->SaveDC();
  LVITEM item{};
  item.mask = LVIF_IMAGE | LVIF_STATE;
  item.iItem = row;
  item.stateMask = 0xFFFF;
  GetItem(&item);
  const BOOL focused = GetFocus() == this;
  const BOOL highlighted = (item.state & LVIS_DROPHILITED) ||
                           ((item.state & LVIS_SELECTED) && (focused || (GetStyle() & LVS_SHOWSELALWAYS)));
  CRect bounds;
  CRect label;
  CRect icon;
  GetItemRect(row, &bounds, LVIR_BOUNDS);
  GetItemRect(row, &label, LVIR_LABEL);
  GetItemRect(row, &icon, LVIR_ICON);
  const int offset = dc->GetTextExtent(" ", 1).cx * 2;
  dc->FillSolidRect(&bounds, RowBackground(row, highlighted));
  dc->SetBkMode(TRANSPARENT);
  BOOL imageDrawn = FALSE;
  if (HIMAGELIST small = GetImageList(LVSIL_SMALL); small && item.iImage >= 0) {
    imageDrawn = ImageList_Draw(small, item.iImage, dc->GetSafeHdc(), icon.left, icon.top, ILD_TRANSPARENT);
  }
  if (!(imageDrawn && m_bImageHidesText)) {
    // The first column's text stays inside its column: a long ID ends in an ellipsis rather than
    // running into the next column.
    CRect text = label;
    text.right = std::min<LONG>(text.right, bounds.left + GetColumnWidth(0));
    text.left += offset / 2;
    text.right -= offset;
    const CString first = GetItemText(row, 0);
    if (text.right > text.left) {
      dc->SetTextColor(CellColour(0, first));
      dc->DrawText(first, -1, &text, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS);
    }
  }
  LVCOLUMN column{};
  column.mask = LVCF_FMT | LVCF_WIDTH;
  int right = bounds.left + GetColumnWidth(0);
  for (int sub = 1; GetColumn(sub, &column); ++sub) {
    CRect cell(right, bounds.top, right + column.cx, bounds.bottom);
    right += column.cx;
    const CString text = GetItemText(row, sub);
    if (text.IsEmpty() || column.cx <= offset)
      continue;  // a hidden column shows nothing, not even an ellipsis
    UINT justify = DT_LEFT;
    if ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
      justify = DT_RIGHT;
    else if ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
      justify = DT_CENTER;
    cell.DeflateRect(offset / 2, 0);
    dc->SetTextColor(CellColour(sub, text));
    dc->DrawText(text, -1, &cell, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS | justify);
  }
  if ((item.state & LVIS_FOCUSED) && focused)
    dc->DrawFocusRect(&bounds);
  dc->RestoreDC(saved);
}

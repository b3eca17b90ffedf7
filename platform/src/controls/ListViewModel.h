#pragma once
// List controls in report view: columns (kept by a header child), rows of sub-item texts, item
// data, state bits (state image in bits 12-15), selection and focus, check boxes, sorting with a
// caller's comparison, item rectangles and the notifications the parent relies on.

#include <string>
#include <vector>

#include "ControlModel.h"

namespace platform::detail {

class ListViewModel : public ControlModel {
public:
  using ControlModel::ControlModel;
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Paint(CDC& dc, const RECT& client) override;

private:
  struct Row {
    std::vector<std::string> texts;  // one per sub-item
    LPARAM data{0};
    UINT state{0};
    int image{-1};
    int indent{0};
  };

  int Count() const { return static_cast<int>(m_rows.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  HWND Header() const { return m_header; }
  int HeaderHeight() const;
  int RowHeight() const { return m_rowHeight; }
  void CreateHeader();
  bool HandleItems(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleColumns(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleView(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool HandleInput(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  int InsertRow(const LVITEM& item);
  bool SetRow(const LVITEM& item);
  bool GetRow(LVITEM& item) const;
  int CopyText(int index, int subItem, LPSTR buffer, int size) const;
  bool DeleteRow(int index);
  void DeleteAll();
  // Changes the state bits of one row (mask) with LVN_ITEMCHANGING/-CHANGED; false when refused.
  bool ChangeState(int index, UINT state, UINT mask);
  // Applies a state change to one row or all (-1), keeping one focus and, with LVS_SINGLESEL, one
  // selection.
  bool SetState(int index, UINT state, UINT mask);
  int NextItem(int start, UINT flags) const;
  int Find(int start, const LVFINDINFO& info) const;
  void Sort(PFNLVCOMPARE compare, LPARAM sortData);
  // Row rectangle parts in client coordinates (LVIR_*); subItem -1 for the whole row.
  RECT RowRect(int index, int subItem, UINT part) const;
  int HitTest(LVHITTESTINFO& info) const;
  // The width that shows every text of column whole (and its heading, withHeading).
  int FittingWidth(int column, bool withHeading) const;
  // DT_LEFT, DT_RIGHT or DT_CENTER: how column's heading, and so its cells, stand.
  UINT ColumnAlignment(int column) const;
  // Whether a client point lies on the rows' part of the client area (below the header).
  bool OnRows(POINT point) const;
  // Releases the capture and hands a press off the rows to the window and part under it.
  void PassClickOn(UINT message, WPARAM keys, POINT point);
  int Width() const;
  // Column rectangle of the header (x only is used); empty for a bad column.
  RECT ColumnRect(int column) const;
  bool HandleHeaderNotify(NMHDR& hdr, LPARAM lParam, LRESULT& result);
  bool Checkboxes() const { return (m_extended & LVS_EX_CHECKBOXES) != 0; }
  void SetExtended(DWORD mask, DWORD style);
  // Moves the view by rows and pixels, within the content, and moves the header along.
  void Scroll(int rows, int pixels = 0);
  void ScrollBy(int bar, UINT code, int thumb);
  // Whole rows that fit under the header (at least 1 when ensureOne).
  // Rows a wheel turn of delta moves the view (positive: down).
  static int WheelRows(int delta);
  int PageRows(bool ensureOne) const;
  // Width of all columns, unscrolled.
  int ContentWidth() const;
  // Keeps the offsets inside the content and the window's scroll bars equal to the view.
  void SyncScrollBars();
  void PlaceHeader();
  // A change of rows or columns: the bars follow, then a repaint.
  void Changed();
  void ClickRow(POINT point, UINT keys, UINT code);
  void KeyDown(UINT key);
  void MoveFocus(int index);
  LRESULT NotifyItem(UINT code, int index, int subItem, POINT point = {0, 0});
  void PaintRow(CDC& dc, int index, const RECT& client);
  void PaintOwnerDrawnRow(CDC& dc, int index, const RECT& bounds);

  std::vector<Row> m_rows;
  HWND m_header{nullptr};
  int m_columns{0};
  DWORD m_extended{0};
  HIMAGELIST m_images[3]{nullptr, nullptr, nullptr};
  int m_top{0};
  int m_left{0};  // horizontal scroll offset in pixels
  bool m_syncing{false};  // the bars' own client-area changes come back as WM_SIZE
  // WM_SETREDRAW FALSE: bulk changes skip the bars and the repaint until redrawing is on again.
  bool m_redrawOff{false};
  int m_rowHeight{17};
  int m_selectionMark{-1};
  COLORREF m_background{CLR_NONE};
};

}  // namespace platform::detail

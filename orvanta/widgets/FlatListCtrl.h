#pragma once
// CFlatListCtrl: the owner-drawn report list of the program. It paints whole rows in its own
// colours, shades every other row, colours a status column by its word and a starred column by an
// asterisk, and carries a flat header.

#include <vector>

#include <platform/controls_list.h>

#include "orvanta/widgets/FlatHeaderCtrl.h"

class CFlatListCtrl : public CListCtrl {
public:
  static constexpr COLORREF kSelectionColour = 0x50E4FF;
  static constexpr COLORREF kEvenRowColour = 0xFDFDFD;
  static constexpr COLORREF kWaitColour = 0x008000;
  static constexpr COLORREF kPlayColour = 0x545AAD;
  // Sent to the parent before a vertical scroll: wParam the scroll code, lParam the thumb.
  static constexpr UINT kScrollNotice = WM_USER + 0x4D2;

  CFlatListCtrl();
  ~CFlatListCtrl() override;

  // One text colour per column (all black), for the columns the header has now; the list's header
  // becomes the flat header first.
  void InitColumns();
  // Makes the list's own header the flat header (once).
  void SubclassHeader();
  // Sets the starred column when it is one of the columns; otherwise nothing changes.
  void SetKeyColumn(int column);
  void SetStatusColumn(int column) { m_nStatusColumn = column; }
  // The key column's drawing mode: the column whose status words ("Wait", "Play", ...) are
  // coloured, the room lists' status column.
  void SetKeyStyle(int mode) {
    m_nKeyStyle = mode;
    m_nStatusColumn = mode;
  }
  int GetKeyStyle() const { return m_nKeyStyle; }
  void SetDrawFlag(int flag) { m_bImageHidesText = flag; }
  void SetBackColor(COLORREF colour) { m_crOddRow = colour; }
  void SetShading(BOOL on) { m_bShading = on; }
  // The text colour of one column; black for a column without one.
  void SetColumnColour(int column, COLORREF colour);
  COLORREF GetColumnColour(int column) const;
  int GetColumnCount() const { return m_nColumns; }
  int GetKeyColumn() const { return m_nKeyColumn; }
  CFlatHeaderCtrl& GetFlatHeader() { return m_header; }

  // The background of row (highlighted or not).
  COLORREF RowBackground(int row, BOOL highlighted) const;
  // The text colour of a cell of column with text.
  COLORREF CellColour(int column, const CString& text) const;

  void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
  void OnVScroll(UINT code, UINT position, CScrollBar* bar);
  // A capture its owner gave the list ends with the next button release.
  void OnLButtonUp(UINT flags, CPoint point);
  DECLARE_MESSAGE_MAP()

private:
  CFlatHeaderCtrl m_header;
  COLORREF m_crSelection{kSelectionColour};
  std::vector<COLORREF> m_columnColours;
  COLORREF m_crOddRow{0xF1F1F1};
  COLORREF m_crStarred{0x804000};
  int m_nStatusColumn{-1};
  int m_nKeyColumn{-1};
  int m_nKeyStyle{0};
  BOOL m_bShading{TRUE};
  BOOL m_bImageHidesText{TRUE};
  int m_nColumns{0};
};

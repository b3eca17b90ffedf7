#pragma once
// CDiagramPrinter: prints the game shown as one game diagram: a header with the game information,
// the whole board with every stone carrying its move number, and below it the notes, one line for
// each point played more than once: the later moves there, an ellipsis and the stone the board
// shows. The view creates one per print job. All coordinates are the printer's device units.

#include "client/model/NodeArray.h"
#include "client/model/StoneNode.h"
#include "platform/collections.h"
#include "platform/gdi.h"
#include "platform/printing.h"

class CGameInfo;

class CDiagramPrinter {
public:
  CDiagramPrinter();
  ~CDiagramPrinter();
  CDiagramPrinter(const CDiagramPrinter&) = delete;
  CDiagramPrinter& operator=(const CDiagramPrinter&) = delete;

  // Places the moves (copied), lays the page out for dc and sets the job's pages (1 or 2).
  void LayoutPage(CDC* dc, CPrintInfo* info, CNodeArray* moves);
  // Fills the header texts from info.
  void SetHeader(CGameInfo* info);
  // Page 1: header, board and the notes that fit; page 2: the remaining notes.
  void PrintPage(CDC* dc, CPrintInfo* info);

  // Layout results.
  int GetPageCount() const { return m_pageCount; }
  int GetGroupCount() const { return static_cast<int>(m_groups.GetCount()); }
  // The moves on point (x, y) after the one the board shows there, in move order (null: none).
  const CNodeArray* FindGroup(int x, int y) const;
  const CStoneNode& GetGridNode(int x, int y) const { return m_grid[x][y]; }
  CRect GetHeaderRect() const { return m_headerRect; }
  CRect GetBoardArea() const { return m_boardArea; }
  CRect GetBoardRect() const { return m_boardRect; }
  CRect GetNotesRect() const { return m_notesRect; }
  int GetCellWidth() const { return m_cellWidth; }
  int GetCellHeight() const { return m_cellHeight; }
  int GetStoneSize() const { return m_stoneWidth; }
  int GetStarRadius() const;
  int GetSmallStoneSize() const { return m_smallStone; }
  // Notes lines page 1 has room for.
  int GetLinesOnFirstPage() const;
  const CString& GetHeaderText(int i) const { return m_headerTexts[i]; }
  // Where the header's texts were last printed (0..7 as GetHeaderText, 8 the time-used label).
  CRect GetHeaderTextBox(int i) const { return m_headerBoxes[i]; }
  // Where point (x, y) of the board lies on the page.
  CPoint PointCentre(int x, int y) const;

private:
  void PlaceMoves(const CNodeArray* moves);
  void GroupOverlaps();
  // The board in area: its rectangle, cell and stone sizes.
  void FitBoard(const CRect& area);
  int LinesThatFit(const CRect& rect) const;
  // Places each header text in its row and column, shrinking the fonts when one would not fit.
  void LayoutHeader(CDC* dc);
  void DrawHeader(CDC* dc);
  // Heights in device units of a line of text of size (tenths of a point), and of the header's rows.
  int TextHeight(CDC* dc, int size) const;
  int TitleRowHeight(CDC* dc) const;
  int LineRowHeight(CDC* dc, int size) const;
  void DrawBoard(CDC* dc);
  // Draws the groups from first on in rect; returns the first group left out.
  int DrawNotes(CDC* dc, const CRect& rect, int first);
  void DrawSmallStone(CDC* dc, const CRect& cell, const CStoneNode& node);
  void DrawStoneWithNumber(CDC* dc, const CRect& circle, const CStoneNode& node, int number);
  CNodeArray* GroupAt(int index) const;
  void DeleteGroups();

  CStoneNode m_grid[20][20];  // [x][y], 1..19 used: the stone the board shows on each point
  CNodeArray m_overlaps;      // owned copies of the moves that found their point taken
  CObList m_groups{10};       // CNodeArray per point, not owning its nodes
  int m_pageWidth{0};
  int m_pageHeight{0};
  CRect m_headerRect;
  CRect m_boardArea;
  CRect m_boardRect;
  CRect m_notesRect;
  int m_cellWidth{0};
  int m_cellHeight{0};
  int m_stoneWidth{0};
  int m_stoneHeight{0};
  int m_fontSize{85};  // tenths of a point, header and board numbers
  CBrush m_blackBrush;
  CBrush m_whiteBrush;
  int m_smallStone{0};  // step and line height of the notes
  // Title, date, place, White, Black, White's time, Black's time, result.
  CString m_headerTexts[8];
  CRect m_headerBoxes[9];
  int m_titleSize{0};  // header fonts as printed, tenths of a point
  int m_lineSize{0};
  int m_pageCount{1};
};

#pragma once
// CStonePrinter: the stones of a printed game sheet. Every point keeps the numbers of the moves
// played on it; the first is drawn as a numbered stone on the diagram, each later one is listed
// under it as its own stone beside the stone it was played on.

#include <vector>

#include <platform/gdi.h>
#include <platform/types.h>

class CStonePrinter {
public:
  // Sheet geometry in the sheet's logical units (1000 across the page, y downwards).
  static constexpr int kSheetWidth = 1000;
  static constexpr int kSheetHeight = 1414;
  static constexpr int kGridLeft = 95;
  static constexpr int kGridTop = 250;
  static constexpr int kGridStep = 45;
  static constexpr int kStoneRadius = 21;
  static constexpr int kFontHeight = 22;
  static constexpr int kFontWidth = 13;

  // A move in playing order: its point (row * 19 + column) and colour (bit 2 black). A point
  // outside the board stands for a pass: it keeps its number but is drawn nowhere.
  struct Move {
    int point;
    short colour;
  };
  // A later move and the first move on the same point.
  struct Repeat {
    int number;
    int firstNumber;
  };

  // Fills the tables from the moves; move numbers start at 1.
  void Fill(const std::vector<Move>& moves);
  // The first move played on point, -1 when none.
  int FirstMove(int point) const;
  // The moves played on point after its first, in order.
  const std::vector<int>& LaterMoves(int point) const;
  // Every later move with its first move, in point order then move order.
  std::vector<Repeat> Repeats() const;
  int GetMoveCount() const { return static_cast<int>(m_moves.size()); }

  // The numbered stones of the diagram.
  void DrawDiagram(CDC& dc) const;
  // The rows of repeats, from index first on, from y top down to y bottom; returns the index of
  // the first repeat that did not fit.
  int DrawRepeats(CDC& dc, int first, int top, int bottom) const;
  // How many repeats DrawRepeats fits between y top and y bottom.
  static int RepeatCapacity(int top, int bottom);
  // Where the diagram's point lies.
  static POINT PointCentre(int point);

private:
  void DrawStone(CDC& dc, int x, int y, int number) const;
  bool IsBlack(int number) const;

  std::vector<Move> m_moves;
  std::vector<int> m_firsts = std::vector<int>(361, -1);
  std::vector<std::vector<int>> m_laters = std::vector<std::vector<int>>(361);
};

#pragma once
// The 19x19 board of cell words and move numbers, with the group search and the rule tests built
// on it. Knows nothing of moves, records or events: CStolvexBoard drives it.

#include <array>
#include <cstdint>

#include "control/StolvexTypes.h"

class CGoBoard {
public:
  using Cell = std::uint16_t;

  CGoBoard();

  // Every cell NONE, every move number 0.
  void Clear();

  // Cell word and move number of a point; index must be a board point.
  Cell At(int index) const { return m_cells[index]; }
  void Set(int index, Cell value) {
    m_transientMarks += IsTransientMark(value) - IsTransientMark(m_cells[index]);
    m_cells[index] = value;
  }
  // True when some cell is exactly INVALID or REDRAW, the marks a move clears.
  bool HasTransientMarks() const { return m_transientMarks > 0; }
  short Sequence(int index) const { return m_sequence[index]; }
  void SetSequence(int index, short number) { m_sequence[index] = number; }

  // The neighbours of index in the fixed order right, left, below, above; off-board sides are
  // NO_POINT.
  const std::array<short, 4>& Neighbours(int index) const;

  // Searches the group of the stone at index (neighbours sharing a bit with the cell they are
  // reached from). True when it touches a cell with the NONE bit; otherwise GroupSize and
  // GroupStone list every stone of the group.
  bool FindLiberty(int index);
  int GroupSize() const { return m_groupSize; }
  int GroupStone(int k) const { return m_group[k]; }

  // True when a stone of colour at index leaves an adjacent group of the other colour without a
  // liberty; colour 1 means the cell's own value.
  bool WouldCapture(int index, int colour);
  // Suicide test: legal when the stone captures or its group keeps a liberty. Colour 1 tests the
  // stone already in the cell; any other colour is written for the test and the cell restored.
  bool IsLegalMove(int index, int colour);
  // True when a neighbour holds exactly the other colour of the cell, or a side lies off the board.
  bool HasOpponentNeighbour(int index) const;
  // Stones of searchedColour that would lose their last liberty around index, each adjacent
  // group counted once for every side it touches.
  int CountCaptures(int index, int searchedColour);
  // True when the stone in the cell at index would capture exactly one stone in all.
  bool CapturesOneStone(int index) { return CountCaptures(index, OppositeColor(m_cells[index])) == 1; }

private:
  static int IsTransientMark(Cell value) { return value == INVALID || value == REDRAW; }
  void BeginSearch();

  std::array<Cell, POINT_COUNT> m_cells{};
  std::array<short, POINT_COUNT> m_sequence{};
  std::array<std::uint32_t, POINT_COUNT> m_seen{};  // search stamp of each point
  std::uint32_t m_stamp{0};                         // stamp of the running search
  std::array<short, POINT_COUNT> m_group{};         // stones reached by the last search
  int m_groupSize{0};
  int m_transientMarks{0};                          // cells exactly INVALID or REDRAW
};

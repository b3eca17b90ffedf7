#pragma once
// CGroupFinder: finds a chain of stones on a board and whether it has a liberty, and the stones
// a new stone would capture. Each search works on its own walled 21 x 21 grid, so it never needs
// a bounds test.

#include "platform/object.h"
#include "platform/types.h"

class CBadukBoard;

class CGroupFinder : public CObject {
public:
  explicit CGroupFinder(const CBadukBoard* board) : m_board(board) { Reset(); }

  // Depth-first search from (px, py), which must be 1..19, for the chain of colour isBlack:
  // 0 as soon as a liberty is found (points and grid are then partly filled); 1 when the chain
  // has none, the points then hold the whole chain.
  int FindGroup(int px, int py, BOOL isBlack);
  // Collects every opponent stone that a stone of colour isBlack at (x, y) would capture, each
  // once; TRUE when there is any.
  BOOL CollectCaptures(int x, int y, BOOL isBlack);
  // Appends (x, y) to the points.
  void AddPoint(int x, int y);
  // Fills x and y with the i-th point; 0 when i is out of range, else 1.
  int GetPoint(int i, int& x, int& y) const;
  BOOL Contains(int x, int y) const;
  int GetCount() const { return m_count; }
  // Empties the points; with reset also the visited grid (walls kept).
  void Clear(BOOL reset);
  // Clears the visited grid and walls its border.
  void Reset();

private:
  static constexpr int kMaxPoints = 19 * 19;

  void MarkVisited(int x, int y) { m_visited[x][y] = 1; }

  const CBadukBoard* m_board;
  BYTE m_visited[21][21]{};   // [x][y]; nonzero = visited; border rows and columns always set
  WORD m_points[kMaxPoints];    // each y << 8 | x; only the first m_count are set
  int m_count{0};
};

#include "client/model/GroupFinder.h"

#include <cstring>

#include "client/model/BadukBoard.h"

namespace {

// Neighbour order of every search: left, right, below, above.
constexpr int kDx[4] = {-1, 1, 0, 0};
constexpr int kDy[4] = {0, 0, 1, -1};

// The grid every search starts from: nothing visited, the border walled.
struct WalledGrid {
  WalledGrid() {
    for (int i = 0; i <= 20; ++i) {
      cells[i][0] = cells[i][20] = 1;
      cells[0][i] = cells[20][i] = 1;
    }
  }
  BYTE cells[21][21]{};
};

}  // namespace

void CGroupFinder::Reset() {
  // Every move builds several finders: copying a ready grid is cheaper than building one.
  static const WalledGrid kEmpty;
  std::memcpy(m_visited, kEmpty.cells, sizeof m_visited);
}

void CGroupFinder::Clear(BOOL reset) {
  m_count = 0;
  if (reset) Reset();
}

int CGroupFinder::FindGroup(int px, int py, BOOL isBlack) {
  MarkVisited(px, py);
  for (int d = 0; d < 4; ++d) {
    const int x = px + kDx[d];
    const int y = py + kDy[d];
    if (m_visited[x][y]) continue;
    const CStoneNode& cell = m_board->GetCell(x, y);
    if (cell.IsEmpty()) return 0;
    if (!cell.IsBlack() != !isBlack) {
      MarkVisited(x, y);
      continue;
    }
    if (FindGroup(x, y, isBlack) == 0) return 0;
  }
  AddPoint(px, py);
  return 1;
}

BOOL CGroupFinder::CollectCaptures(int x, int y, BOOL isBlack) {
  MarkVisited(x, y);
  BOOL found = FALSE;
  for (int d = 0; d < 4; ++d) {
    const int nx = x + kDx[d];
    const int ny = y + kDy[d];
    if (m_visited[nx][ny]) continue;
    const CStoneNode& cell = m_board->GetCell(nx, ny);
    if (cell.IsEmpty() || !cell.IsBlack() == !isBlack) continue;
    CGroupFinder chain(m_board);
    chain.MarkVisited(x, y);  // the new stone stands there: not a liberty of the chain
    if (chain.FindGroup(nx, ny, !isBlack) != 1) continue;
    for (int i = 0; i < chain.m_count; ++i) {
      int cx = 0, cy = 0;
      chain.GetPoint(i, cx, cy);
      if (Contains(cx, cy)) continue;
      AddPoint(cx, cy);
      found = TRUE;
    }
  }
  return found;
}

void CGroupFinder::AddPoint(int x, int y) {
  if (m_count >= kMaxPoints) return;  // a chain or a capture never holds more than the board
  m_points[m_count++] = static_cast<WORD>((y << 8) | (x & 0xFF));
}

int CGroupFinder::GetPoint(int i, int& x, int& y) const {
  if (i < 0 || i >= m_count) return 0;
  x = m_points[i] & 0xFF;
  y = m_points[i] >> 8;
  return 1;
}

BOOL CGroupFinder::Contains(int x, int y) const {
  const WORD point = static_cast<WORD>((y << 8) | (x & 0xFF));
  for (int i = 0; i < m_count; ++i)
    if (m_points[i] == point) return TRUE;
  return FALSE;
}

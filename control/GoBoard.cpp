#include "control/GoBoard.h"

namespace {

using NeighbourTable = std::array<std::array<short, 4>, POINT_COUNT>;

constexpr NeighbourTable BuildNeighbourTable() {
  NeighbourTable table{};
  for (int i = 0; i < POINT_COUNT; ++i) {
    const int col = i % BOARD_LINES;
    table[i][0] = static_cast<short>(col != BOARD_LINES - 1 ? i + 1 : NO_POINT);
    table[i][1] = static_cast<short>(col != 0 ? i - 1 : NO_POINT);
    table[i][2] = static_cast<short>(i + BOARD_LINES < POINT_COUNT ? i + BOARD_LINES : NO_POINT);
    table[i][3] = static_cast<short>(i - BOARD_LINES >= 0 ? i - BOARD_LINES : NO_POINT);
  }
  return table;
}

constexpr NeighbourTable kNeighbours = BuildNeighbourTable();

}  // namespace

CGoBoard::CGoBoard() { Clear(); }

void CGoBoard::Clear() {
  m_cells.fill(NONE);
  m_sequence.fill(0);
  m_transientMarks = 0;
}

const std::array<short, 4>& CGoBoard::Neighbours(int index) const { return kNeighbours[index]; }

void CGoBoard::BeginSearch() {
  if (++m_stamp == 0) {  // the stamps wrapped: forget every old mark once
    m_seen.fill(0);
    m_stamp = 1;
  }
  m_groupSize = 0;
}

bool CGoBoard::FindLiberty(int index) {
  BeginSearch();
  m_seen[index] = m_stamp;
  m_group[m_groupSize++] = static_cast<short>(index);
  // m_group doubles as the work stack: every stone pushed stays listed as part of the group.
  for (int next = 0; next < m_groupSize; ++next) {
    const int stone = m_group[next];
    const Cell member = m_cells[stone];
    for (short n : kNeighbours[stone]) {
      if (n == NO_POINT)
        continue;
      if (m_cells[n] & NONE)
        return true;
      if ((m_cells[n] & member) && m_seen[n] != m_stamp) {
        m_seen[n] = m_stamp;
        m_group[m_groupSize++] = n;
      }
    }
  }
  return false;
}

bool CGoBoard::WouldCapture(int index, int colour) {
  if (colour == NONE)
    colour = m_cells[index];
  const int other = OppositeColor(colour);
  for (short n : kNeighbours[index]) {
    if (n != NO_POINT && (m_cells[n] & other) && !FindLiberty(n))
      return true;
  }
  return false;
}

bool CGoBoard::IsLegalMove(int index, int colour) {
  const Cell saved = m_cells[index];
  if (colour != NONE)
    m_cells[index] = static_cast<Cell>(colour);
  const bool legal = WouldCapture(index, NONE) || FindLiberty(index);
  m_cells[index] = saved;
  return legal;
}

bool CGoBoard::HasOpponentNeighbour(int index) const {
  const int other = OppositeColor(m_cells[index]);
  for (short n : kNeighbours[index]) {
    if (n == NO_POINT || m_cells[n] == other)
      return true;
  }
  return false;
}

int CGoBoard::CountCaptures(int index, int searchedColour) {
  int total = 0;
  for (short n : kNeighbours[index]) {
    if (n != NO_POINT && (m_cells[n] & searchedColour) && !FindLiberty(n))
      total += m_groupSize;
  }
  return total;
}

#pragma once
// CSortState: the sort direction a list's header keeps for each of its columns. A column's
// direction alternates on its own clicks, the first ascending, whatever other columns were sorted
// in between; only the column sorted last shows its arrow.

#include <vector>

class CListCtrl;

class CSortState {
public:
  // Header image of a column: no arrow, descending, ascending.
  enum Mark { kNoMark = 0, kDescendingMark = 1, kAscendingMark = 2 };

  explicit CSortState(int columns) : m_states(static_cast<std::size_t>(columns), -1) {}

  // A click on column; TRUE when it now sorts ascending. A column out of range sorts ascending
  // and changes nothing.
  bool Click(int column);
  // The image column's heading shows.
  int GetMark(int column) const;
  int GetSortedColumn() const { return m_nSorted; }
  // Shows the marks in list's header, as images of its header image list.
  void ShowMarks(CListCtrl& list) const;

private:
  std::vector<int> m_states;  // -1 never clicked, 0 ascending, 1 descending
  int m_nSorted{-1};
};

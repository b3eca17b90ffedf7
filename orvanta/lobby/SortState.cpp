#include "orvanta/lobby/SortState.h"

#include <platform/controls.h>

bool CSortState::Click(int column) {
  if (column < 0 || column >= static_cast<int>(m_states.size()))
    return true;
  int& state = m_states[static_cast<std::size_t>(column)];
  state = state == 0 ? 1 : 0;
  m_nSorted = column;
  return state == 0;
}

int CSortState::GetMark(int column) const {
  if (column != m_nSorted || column < 0)
    return kNoMark;
  return m_states[static_cast<std::size_t>(column)] == 1 ? kDescendingMark : kAscendingMark;
}

void CSortState::ShowMarks(CListCtrl& list) const {
  CHeaderCtrl* header = list.GetHeaderCtrl();
  if (!header)
    return;
  for (int column = 0; column < header->GetItemCount() && column < static_cast<int>(m_states.size()); ++column) {
    HDITEM item{};
    item.mask = HDI_FORMAT;
    header->GetItem(column, &item);
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt |= HDF_IMAGE;
    item.iImage = GetMark(column);
    header->SetItem(column, &item);
  }
}

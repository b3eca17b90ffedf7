#include "orvanta/lobby/WaitingRoomTable.h"

#include <algorithm>
#include <cstdlib>

void CWaitingRoomTable::Load(const CString& payload) {
  CFieldTokenizer fields(payload);
  const int present = std::max(0, (fields.GetCount() - 1) / 2);
  const int count = std::clamp(std::atoi(fields.NextField()), 0, present);
  std::vector<Entry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    Entry entry;
    entry.number = static_cast<short>(std::atoi(fields.NextField()));
    entry.name = fields.NextField();
    entries.push_back(entry);
  }
  m_entries = std::move(entries);
}

CString CWaitingRoomTable::LookupWaitingRoomName(int number) const {
  const short wanted = static_cast<short>(number);
  for (const Entry& entry : m_entries)
    if (entry.number == wanted)
      return entry.name;
  return CString();
}

int CWaitingRoomTable::LookupWaitingRoomNumber(const CString& name) const {
  for (const Entry& entry : m_entries)
    if (entry.name == name)
      return entry.number;
  return -1;
}

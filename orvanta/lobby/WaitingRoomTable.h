#pragma once
// CWaitingRoomTable: the server's waiting rooms (number and name) as the waiting-room list
// message gives them, replaced whole by each new list.

#include <vector>

#include <platform/strings.h>

#include "orvanta/connection/FieldTokenizer.h"

class CWaitingRoomTable {
public:
  struct Entry {
    short number{0};
    CString name;
  };

  // Replaces the table from a list payload: a count, then number and name pairs. The count is
  // clamped to the pairs present.
  void Load(const CString& payload);
  void Clear() { m_entries.clear(); }

  // The name of the first room whose number equals number truncated to 16 bits; "" without one.
  CString LookupWaitingRoomName(int number) const;
  // The number of the first room named exactly name; -1 without one.
  int LookupWaitingRoomNumber(const CString& name) const;

  const std::vector<Entry>& GetEntries() const { return m_entries; }

private:
  std::vector<Entry> m_entries;
};

#pragma once
// CSelectionStack: selects drawing objects into contexts and puts the previous ones back in
// reverse order, so a routine that draws leaves every context as it found it.

#include <vector>

#include "platform/gdi.h"

class CSelectionStack {
public:
  CSelectionStack() = default;
  ~CSelectionStack() { PopAll(); }
  CSelectionStack(const CSelectionStack&) = delete;
  CSelectionStack& operator=(const CSelectionStack&) = delete;

  // Selects object into dc (a palette as a foreground palette) and keeps what was selected before.
  void Push(CDC* dc, CGdiObject* object);
  // Selects a stock object (BLACK_PEN, NULL_BRUSH, ...).
  void PushStock(CDC* dc, int index);
  // Puts back the object selected before the newest entry.
  void Pop();
  // Pops every entry, newest first.
  void PopAll();
  int GetCount() const { return static_cast<int>(m_entries.size()); }

private:
  struct Entry {
    CDC* dc;
    HGDIOBJ previous;
    bool palette;
  };
  std::vector<Entry> m_entries;
};

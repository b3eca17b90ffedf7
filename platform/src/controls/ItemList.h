#pragma once
// The strings and item data of a list box or the list of a combo box.

#include <string>
#include <vector>

#include "platform/types.h"

namespace platform::detail {

class ItemList {
public:
  struct Item {
    std::string text;
    DWORD_PTR data{0};
    bool selected{false};
  };

  int Count() const { return static_cast<int>(m_items.size()); }
  bool Valid(int index) const { return index >= 0 && index < Count(); }
  // Inserts at index (-1 or past the end: appends; sorted: its place in case-insensitive order).
  int Insert(int index, const char* text, bool sorted);
  // Remaining count, -1 for a bad index.
  int Erase(int index);
  void Clear() { m_items.clear(); }
  Item& At(int index) { return m_items[static_cast<std::size_t>(index)]; }
  const Item& At(int index) const { return m_items[static_cast<std::size_t>(index)]; }
  // First item after startAfter (wrapping round) whose text starts with (or equals) text, case
  // ignored; -1 when none.
  int Find(int startAfter, const char* text, bool exact) const;

private:
  std::vector<Item> m_items;
};

}  // namespace platform::detail

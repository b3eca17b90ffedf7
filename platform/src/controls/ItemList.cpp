#include "ItemList.h"

#include <strings.h>

#include <cstring>

namespace platform::detail {

int ItemList::Insert(int index, const char* text, bool sorted) {
  Item item{text ? text : "", 0, false};
  if (sorted) {
    index = 0;
    while (index < Count() && ::strcasecmp(At(index).text.c_str(), item.text.c_str()) <= 0) ++index;
  } else if (index < 0 || index > Count()) {
    index = Count();
  }
  m_items.insert(m_items.begin() + index, std::move(item));
  return index;
}

int ItemList::Erase(int index) {
  if (!Valid(index)) return -1;
  m_items.erase(m_items.begin() + index);
  return Count();
}

int ItemList::Find(int startAfter, const char* text, bool exact) const {
  if (!text || m_items.empty()) return -1;
  std::size_t length = std::strlen(text);
  int n = Count();
  int first = Valid(startAfter) ? startAfter + 1 : 0;
  for (int k = 0; k < n; ++k) {
    const std::string& candidate = At((first + k) % n).text;
    bool match = exact ? ::strcasecmp(candidate.c_str(), text) == 0
                       : ::strncasecmp(candidate.c_str(), text, length) == 0;
    if (match) return (first + k) % n;
  }
  return -1;
}

}  // namespace platform::detail

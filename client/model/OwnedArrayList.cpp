#include "client/model/OwnedArrayList.h"

#include <algorithm>

void COwnedArrayList::DeleteRange(INT_PTR first, INT_PTR count) {
  first = std::max<INT_PTR>(first, 0);
  count = std::min(count, GetSize() - first);
  if (count <= 0) return;
  for (INT_PTR i = first; i < first + count; ++i) DeleteList(GetList(i));
  RemoveAt(first, count);
}

void COwnedArrayList::DeleteList(CNodeArray* list) {
  if (!list) return;
  list->DeleteAll();
  delete list;
}

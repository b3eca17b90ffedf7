#pragma once
// COwnedArrayList: an array of owned CNodeArrays (null elements allowed); the lists and their
// nodes are deleted with the array.

#include "client/model/NodeArray.h"

class COwnedArrayList : public CObArray {
public:
  COwnedArrayList() = default;
  ~COwnedArrayList() override { DeleteFrom(0); }

  // The list at index, or null.
  CNodeArray* GetList(INT_PTR index) const { return static_cast<CNodeArray*>(GetAt(index)); }
  // Deletes the lists (with their nodes) at first..first + count - 1 and removes them; the range
  // is clamped to the elements present.
  void DeleteRange(INT_PTR first, INT_PTR count);
  // Deletes and removes every list from index first on.
  void DeleteFrom(INT_PTR first) { DeleteRange(first, GetSize() - first); }
  // Deletes a list together with its nodes; null does nothing.
  static void DeleteList(CNodeArray* list);
};

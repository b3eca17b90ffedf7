#pragma once
// CNodeArray: an array of CStoneNode pointers that passes moves between the model, the delay
// queue, the dialogs and the record file. Whoever holds it owns the nodes: the destructor frees
// only the pointer storage, so owners call DeleteAll first.

#include "client/model/StoneNode.h"
#include "platform/collections.h"

class CNodeArray : public CObArray {
public:
  CNodeArray() = default;
  ~CNodeArray() override = default;

  // The node at index, or null when there is none.
  CStoneNode* GetNode(INT_PTR index) const { return static_cast<CStoneNode*>(GetAt(index)); }
  // Appends node (ownership passes to the holder of the array); returns its index.
  INT_PTR AddNode(CStoneNode* node) { return Add(node); }
  // Deletes every node and empties the array.
  void DeleteAll();
};

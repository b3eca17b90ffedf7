#pragma once
// CRefDiagramList: the diagrams of one move in the order they were filed; it owns them.

#include "client/model/RefDiagram.h"
#include "platform/collections.h"

class CRefDiagramList : public CPtrArray {
public:
  CRefDiagramList() = default;
  ~CRefDiagramList() override { DeleteAll(); }

  // The diagram at index, or null.
  CRefDiagram* GetDiagram(INT_PTR index) const { return static_cast<CRefDiagram*>(GetAt(index)); }
  // Deletes the diagram at index and removes it; out of range does nothing.
  void DeleteAt(INT_PTR index);
  // Deletes every diagram and empties the list.
  void DeleteAll();
};

#include "client/model/RefDiagramList.h"

void CRefDiagramList::DeleteAt(INT_PTR index) {
  if (index < 0 || index >= GetSize()) return;
  delete GetDiagram(index);
  RemoveAt(index);
}

void CRefDiagramList::DeleteAll() {
  for (INT_PTR i = 0; i < GetSize(); ++i) delete GetDiagram(i);
  RemoveAll();
}

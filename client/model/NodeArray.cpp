#include "client/model/NodeArray.h"

void CNodeArray::DeleteAll() {
  for (INT_PTR i = 0; i < GetSize(); ++i) delete GetAt(i);
  RemoveAll();
}

#include "client/model/CommentTable.h"

CStringArray* CCommentTable::Find(WORD move) const {
  CObject* texts = nullptr;
  return Lookup(move, texts) ? static_cast<CStringArray*>(texts) : nullptr;
}

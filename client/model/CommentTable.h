#pragma once
// CCommentTable: commentary texts by 16-bit move number, each move's texts an array in the order
// they came. The table holds pointers only; CCommentMap owns the arrays.

#include "platform/collections.h"

class CCommentTable : public CMapWordToOb {
public:
  CCommentTable() : CMapWordToOb(10) {}

  // The texts of move, or null when it has none.
  CStringArray* Find(WORD move) const;
};

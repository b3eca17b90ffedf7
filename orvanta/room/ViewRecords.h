#pragma once
// CViewRecords: the game records the program's document keeps for its screens, by view id (the
// game room's and the record list's). The views reach their record through it, not through the
// document's class.

#include <platform/types.h>

class CGiboRecord;

class CViewRecords {
public:
  virtual ~CViewRecords() = default;
  // The record kept for view viewId, or null for a view without one.
  virtual CGiboRecord* GetRecordForView(UINT viewId) = 0;
};

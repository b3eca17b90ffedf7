#pragma once
// CCaptureHistory: for every move index of a game, copies of the stones that move captured and
// the ko point it left. Index 0 (the empty board) holds a null list and no ko point.

#include "client/model/OwnedArrayList.h"

class CCaptureHistory : public COwnedArrayList {
public:
  CCaptureHistory();
  ~CCaptureHistory() override = default;

  // Appends the captures of the next move (ownership passes here) with no ko point.
  void AddCaptures(CNodeArray* list);
  // Stores the ko point of index as y << 8 | x; an index past the end does nothing.
  void SetKo(INT_PTR index, WORD point);
  // Fills x and y with the ko point of index; (0, 0) when the index is past the end.
  void GetKo(INT_PTR index, int& x, int& y) const;
  // True when (x, y) is the ko point of index.
  BOOL IsKo(INT_PTR index, int x, int y) const;
  // Drops the entries from..from + count - 1; acts only when 1 <= from < size, count >= 1 and
  // from + count <= size.
  void RemoveRange(INT_PTR from, INT_PTR count);
  // Deletes every list and empties both arrays (index 0 included).
  void Clear();

  static WORD PackPoint(int x, int y) { return static_cast<WORD>((y << 8) | (x & 0xFF)); }

private:
  CWordArray m_ko;  // one ko point per index, y << 8 | x
};

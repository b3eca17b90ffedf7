#pragma once
// CDeferredMoves: moves that arrive while the game room is still loading, kept in arrival order
// until the room can take them. Nothing is ever dropped.

#include <deque>

#include <platform/strings.h>

class CDeferredMoves {
public:
  void Push(const CString& payload) { m_moves.push_back(payload); }
  // The oldest move; FALSE when none waits.
  bool Pop(CString& payload);
  void Clear() { m_moves.clear(); }
  bool IsEmpty() const { return m_moves.empty(); }
  int GetCount() const { return static_cast<int>(m_moves.size()); }

private:
  std::deque<CString> m_moves;
};

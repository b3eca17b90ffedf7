#include "orvanta/room/DeferredMoves.h"

bool CDeferredMoves::Pop(CString& payload) {
  if (m_moves.empty()) return false;
  payload = m_moves.front();
  m_moves.pop_front();
  return true;
}

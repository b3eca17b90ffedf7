#include "client/relay/BoardFeed.h"

#include "client/model/BadukCtrl.h"

bool CBoardFeed::IsBrowsing() const { return m_board.IsBrowsing() != FALSE; }

void CBoardFeed::ResetBoard() { m_board.ResetBoard(); }

void CBoardFeed::PlaceStone(int x, int y, int colour, int time, int markLast) {
  // A refused stone (an occupied point in a broken relay stream) leaves the board as it was.
  m_board.PlaceStone(x, y, colour, time, markLast);
}

void CBoardFeed::UndoMove(int flags) {
  (void)flags;
  m_board.UndoMove();
}

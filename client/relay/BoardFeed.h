#pragma once
// CBoardFeed: the board window as the delay queue sees it: the queue's replay calls become the
// board's own operations.

#include "client/relay/DelayBoard.h"

class CBadukCtrl;

class CBoardFeed : public CDelayBoard {
public:
  explicit CBoardFeed(CBadukCtrl& board) : m_board(board) {}

  bool IsBrowsing() const override;
  void ResetBoard() override;
  void PlaceStone(int x, int y, int colour, int time, int markLast) override;
  void UndoMove(int flags) override;

private:
  CBadukCtrl& m_board;
};

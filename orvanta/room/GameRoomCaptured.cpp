// The captured-stone display as the main menu pane's "receive again" resets it.

#include "orvanta/room/GameRoom.h"
#include "orvanta/room/RoomBoard.h"

void CGameRoom::ResetCapturedDisplay(int mode) {
  // The counters start again with the panes: the replay below counts every capture afresh.
  m_capturedBlack = m_capturedWhite = m_deadBlack = m_deadWhite = 0;
  ShowCaptured();
  RedrawFromRecord();
  m_board.SetGameMode(mode == 1 ? CRoomState::kModeCheckStone : CRoomState::kModeNone);
}

// The captured-stone display as the main menu pane's "receive again" resets it.

#include "orvanta/room/GameRoom.h"
#include "orvanta/room/RoomBoard.h"

void CGameRoom::ResetCapturedDisplay(int mode) {
  SetPane(kBlackCaptured, "0");
  SetPane(kWhiteCaptured, "0");
  RedrawFromRecord();
  m_board.SetGameMode(mode == 1 ? CRoomState::kModeCheckStone : CRoomState::kModeNone);
}

#include "orvanta/room/RoomSelfPlayDlg.h"

#include "orvanta/room/RoomViewHost.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GameRoom.h"

CRoomSelfPlayDlg::CRoomSelfPlayDlg(CWnd* parent, CRoomViewHost& frame, const CGiboRecord& record, short userColour)
    : CSelfPlayDlg(record, Cp949("참고도"), userColour, TRUE, parent, -1), m_frame(frame) {}

BOOL CRoomSelfPlayDlg::FetchRoomRecord(CGiboRecord& record, int& position) {
  CGameRoom* room = m_frame.GetGameRoom();
  if (!room) return FALSE;
  record = room->GetRecord();
  // The room view's board may stand before the game's end (a step-by-step review); a room
  // without the view stands after every stone it placed.
  auto* view = dynamic_cast<CDagukRoomView*>(&room->GetBoard());
  position = view && view->GetBoardControl().m_hWnd ? view->GetBoardControl().GetLogicalPos() : room->GetMoveCounter();
  return TRUE;
}

// The game room's choice of a stored unfinished game to continue.

#include "orvanta/room/GameRoom.h"
#include "orvanta/room/PlayRecordListDlg.h"
#include "orvanta/room/RoomHost.h"

void CGameRoom::ChooseStoredGame(const CString& payload) {
  CPlayRecordListDlg dialog(m_host.GetOwnId(), payload);
  if (dialog.DoModal() != IDOK)
    return;
  m_host.SendGameRequest(25, "|" + dialog.m_strSelection + "|");
  m_host.Flush();
}

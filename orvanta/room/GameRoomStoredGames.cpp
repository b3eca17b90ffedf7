// The game room's choice of a stored unfinished game to continue.

#include "orvanta/room/GameRoom.h"
#include "orvanta/room/PlayRecordListDlg.h"
#include "orvanta/room/RoomHost.h"

void CGameRoom::ChooseStoredGame(const CString& payload) {
  CPlayRecordListDlg dialog(m_host.GetOwnId(), payload);
  const std::weak_ptr<int> life = Life();
  if (dialog.DoModal() != IDOK || Gone(life))
    return;
  m_host.SendGameRequest(25, "|" + dialog.m_strSelection + "|");
  m_host.Flush();
}

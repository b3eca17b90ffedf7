// The main menu pane's commands whose target is the screen shown: the record list, entering the
// selected game room, a user's information, the next page of a list and the way back to the
// waiting room.

#include "orvanta/app/MainFrame.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/TirvoRankView.h"
#include "orvanta/room/DagukRoomView.h"

void CMainFrame::ShowRecordList() {
  if (m_nActiveViewId == kWaitingRoomView) {
    SendWaitRoomLeave();
    FlushRequests();
  }
  // The first page's answer brings the list up; a list already shown stays as it is.
  if (m_nActiveViewId == kRecordListView)
    return;
  if (!m_pLink || !m_pLink->IsConnected())
    return;
  BeginWaitCapture();
  RequestRecordList("-1", CString());
}

void CMainFrame::OnEnterSelectedRoom() {
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->EnterSelectedRoom();
}

void CMainFrame::OnUserInfoCommand() {
  if (m_pWaitingRoomView) {
    m_pWaitingRoomView->OnUserInfo();
  } else if (CTirvoRankView* rank = GetRankView()) {
    rank->RequestSelectedUserInfo();
  } else if (IsGameRoomActive()) {
    if (auto* room = dynamic_cast<CDagukRoomView*>(GetContentView()))
      room->ShowUserInfo();
  }
  FlushRequests();
}

void CMainFrame::RequestListPage() {
  if (CTirvoGiboView* records = GetRecordListView())
    records->RequestNextPage();
  else if (CTirvoRankView* rank = GetRankView())
    rank->RequestNextPage();
}

void CMainFrame::EnterSelectedWaitRoom() {
  // A number of -1 (65535 in the server's 16 bits) means no waiting room was entered yet.
  const CWaitingRoomRec* record = GetCurrentWaitingRoomRec();
  if (!m_pLink || !m_pLink->IsConnected() || static_cast<WORD>(m_nCurrentWaitRoom) == 0xFFFF || !record)
    return;
  BeginWaitCapture();
  SendWaitRoomEnter();
  FlushRequests();
}

BOOL CMainFrame::OnScreenMenuButton(UINT id) {
  switch (id) {
    case 1193: ShowRecordList(); return TRUE;
    case 1029: OnEnterSelectedRoom(); return TRUE;
    case 1198: OnUserInfoCommand(); return TRUE;
    case 1213: RequestListPage(); return TRUE;
    case 1261: EnterSelectedWaitRoom(); return TRUE;
    // Cancel search has its face and its place on the record list, and nothing to do.
    case 1215: return TRUE;
    default: return FALSE;
  }
}

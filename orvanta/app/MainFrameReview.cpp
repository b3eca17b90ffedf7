// The main frame's part in the room's review play: the review board made and closed on the
// server's codes, the server's steps passed to it, and the requests it sends.

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/lobby/SelectReplayDlg.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/room/ReviewPlayDlg.h"
#include "orvanta/room/RoomChat.h"

void CMainFrame::SendRoomCode32(const CString& move) { SendGameRequest(32, move + "|"); }

void CMainFrame::SendRoomCode36(const CString& number) { SendGameRequest(36, number + "|"); }

void CMainFrame::StopReplay() {
  if (m_pGameRoom) m_pGameRoom->GetRecord().Reset();
  SendLeaveRoom();
  FlushRequests();
  m_bRoomOwner = FALSE;
  m_bInRoom = FALSE;
  if (m_pLoginRecord) m_pLoginRecord->m_strRoomText5.Empty();
  if (auto* view = dynamic_cast<CDagukRoomView*>(m_nActiveViewId == kGameRoomView ? GetContentView() : nullptr))
    view->ClosePopups();
  // The blink timer is the room's: it stops it and forgets it, so its next blink starts afresh.
  if (m_pGameRoom) m_pGameRoom->StopBlinking();
}

BOOL CMainFrame::ChooseReviewLeader(CString& third, CString& first) {
  CGameRoom* room = ShownRoom();
  if (!room) return FALSE;
  const CString people = CRoomChat::BuildRoomUserList(*room, room->GetMyColour(), m_strUserId, GetLoginRole());
  CSelectReplayDlg dialog(people, m_pReviewPlayDlg ? static_cast<CWnd*>(m_pReviewPlayDlg.get()) : this);
  if (dialog.DoModal() != IDOK) return FALSE;
  third = dialog.m_strHost;
  first = dialog.m_strPerson;
  return TRUE;
}

BOOL CMainFrame::IsReviewLeader(const CString& payload) {
  CFieldTokenizer fields(payload, '|');
  return fields.GetCount() > 3 && fields.GetField(2) == GetLoginRole() && fields.GetField(3) == m_strUserId;
}

void CMainFrame::OpenReviewPlay(const CString& payload) {
  CGameRoom* room = ShownRoom();
  if (!room) return;
  // Who joins a review under way (540) sees the board as the review has it, not its first move.
  const BOOL startAtFirst = m_nDispatchCode != 540;
  room->StopBlinking();
  CloseReviewPlay();
  const BOOL leader = IsReviewLeader(payload);
  // The room's colour gives a white player's handicap its sign on the review board.
  m_pReviewPlayDlg = std::make_unique<CReviewPlayDlg>(room->GetRecord(), "Review", room->GetMyColour(), startAtFirst,
                                                      leader, *this);
  if (!m_pReviewPlayDlg->Create(this)) {
    m_pReviewPlayDlg.reset();
    return;
  }
  m_pReviewPlayDlg->ShowWindow(SW_SHOW);
  m_pReviewPlayDlg->SetControl(leader);
  room->ShowNotice("In step-by-step replay.");
  m_wRoomState = 0x400;
  room->SetRoomStateWord(0x400);
  // The room's commands and menus follow the review.
  room->SetSubStatus(CRoomState::kStepReview);
}

void CMainFrame::CloseReviewPlay() {
  if (m_pReviewPlayDlg && m_pReviewPlayDlg->m_hWnd) m_pReviewPlayDlg->DestroyWindow();
  m_pReviewPlayDlg.reset();
}

void CMainFrame::OnReplayStep(CFieldTokenizer& payload) {
  // A record for a room that is no longer shown is dropped.
  CGameRoom* room = ShownRoom();
  if (!room) return;
  const CString text = payload.GetText();
  if (m_nDispatchCode == 540) {
    if (!m_pReviewPlayDlg) {
      room->StopClock();
      OpenReviewPlay(text);
    }
    return;
  }
  if (m_nDispatchCode == 539) {
    CloseReviewPlay();
    room->SetSubStatus(CRoomState::kGameEnded);
    room->ShowNotice("The match has ended.");
    return;
  }
  CReviewPlayDlg* review = m_pReviewPlayDlg.get();
  if (!review) return;
  switch (m_nDispatchCode) {
    case 529: review->StepForward(); break;
    case 530: review->StepBack(); break;
    case 531: review->EndTryLine(text); break;
    case 532: review->PlaceTryMove(text); break;
    case 533: review->OnReplayCode533(text); break;
    case 536: review->OnServerReplay(text); break;
    case 537: review->SetControl(IsReviewLeader(text)); break;
    default: break;
  }
}

void CMainFrame::OnReplayDlgMessage(CFieldTokenizer& payload) {
  if (ShownRoom() && m_pReviewPlayDlg) m_pReviewPlayDlg->OnServerReplay(payload.GetText());
}

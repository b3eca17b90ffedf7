// The proposing side of play negotiation: the server's answer to the user's request opens the
// dialog, the dialog's notifications become (3,8) requests, and the opponent's answers and the
// agreed room come back here.

#include "orvanta/lobby/TirvoDListView.h"

#include <cstdlib>

#include <platform/msgbox.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/GradeOrder.h"
#include "orvanta/lobby/LobbyHost.h"

namespace {

constexpr int kNegotiationOptionBit = 8;
constexpr WORD kEnteringRoomState = 2;

}  // namespace

void CTirvoDListView::OpenNegotiation(const CString& payload) {
  m_bNegoAllowed = TRUE;
  CFieldTokenizer fields(payload);
  const CString opponentNumber = fields.GetField(0);
  const CString opponentId = fields.GetField(1);
  const CString opponentGrade = fields.GetField(2);
  const int options = std::atoi(fields.GetField(3));
  const CString ownGrade = fields.GetField(4);
  if ((options & kNegotiationOptionBit) == 0) {
    m_bNegoPending = FALSE;
    AfxMessageBox("You can not negotiate with " + opponentId + ".");
    return;
  }
  const CString room = m_pHost ? m_pHost->GetWaitingRoomKey() : CString();
  const bool ownStronger = IsGradeAtLeast(ownGrade, opponentGrade);
  const CNegotiationPlayer own{OwnNumber(), OwnId(), CString(), ownGrade};
  const CNegotiationPlayer opponent{opponentNumber, opponentId, CString(), opponentGrade};
  // The weaker player, or the user at equal kyu grades, takes black.
  const CString text = ownStronger ? BuildFreshProposal(room, opponent, own) : BuildFreshProposal(room, own, opponent);
  if (!m_pNegotiation) {
    m_pNegotiation = std::make_unique<CNegotiationAskDlg>(text, OwnId(), this);
    if (!m_pNegotiation->Create(this)) {
      m_pNegotiation.reset();
      m_bNegoPending = FALSE;
      return;
    }
    m_pNegotiation->SetNotifyWindow(m_hWnd);
    m_pNegotiation->SetOwnColourCode(ownStronger ? "2" : "1");
  }
  m_pNegotiation->ShowWindow(SW_SHOW);
  m_pNegotiation->CenterWindow();
  m_pNegotiation->SetWindowText("Play Nego(Please, set play condition and click OK.)");
}

LRESULT CTirvoDListView::OnNegoDlgNotify(WPARAM codeArg, LPARAM) {
  const int code = static_cast<int>(codeArg);
  if (!m_pNegotiation)
    return 1;
  CString answer = "0";
  switch (code) {
    case CNegotiationAskDlg::kNotifyPropose:
    case CNegotiationAskDlg::kNotifyRenego:
      answer = "2";
      m_pNegotiation->EnableEditing(FALSE);
      m_pNegotiation->SetWindowText("Play Nego(in asking your opponent's agrement now.)");
      break;
    case CNegotiationAskDlg::kNotifyAccept:
      answer = "1";
      break;
    case CNegotiationAskDlg::kNotifyCancelUnsent:
      m_bNegoPending = FALSE;
      CloseNegotiation();
      return 1;
    default:
      m_bNegoPending = FALSE;
      break;
  }
  if (m_pHost)
    m_pHost->SendWaitingRoomRequest38(m_pNegotiation->GetConditions(answer).BuildPayload());
  if (code == CNegotiationAskDlg::kNotifyAccept || code == CNegotiationAskDlg::kNotifyRefuse)
    CloseNegotiation();
  return 1;
}

void CTirvoDListView::OnNegotiationAnswer(const CString& payload) {
  const CString answer = CFieldTokenizer(payload).GetField(1);
  if (answer == "0") {
    CloseNegotiation();
    m_bNegoPending = FALSE;
    AfxMessageBox("Match negotiation have been rejected.");
  } else if (answer == "2") {
    if (!m_pNegotiation) {
      m_pNegotiation = std::make_unique<CNegotiationAskDlg>(CString(), OwnId(), this);
      if (!m_pNegotiation->Create(this)) {
        m_pNegotiation.reset();
        return;
      }
      m_pNegotiation->SetNotifyWindow(m_hWnd);
    }
    m_pNegotiation->EnableEditing(TRUE);
    m_pNegotiation->SetProposalText(payload);
    m_pNegotiation->ShowWindow(SW_SHOW);
    m_pNegotiation->CenterWindow();
    m_pNegotiation->SetWindowText("Play Nego(Please, click OK or set play conditions and click Renego.)");
    m_bNegoPending = TRUE;
  } else if (answer == "1") {
    m_bNegoPending = FALSE;
    CloseNegotiation();
  }
}

void CTirvoDListView::OnMatchAgreed(const CString& payload) {
  CloseNegotiation();
  if (!m_pHost)
    return;
  CSessionRecord* record = m_pHost->GetLobbySession();
  if (!record)
    return;
  CFieldTokenizer fields(payload);
  const CString room = fields.GetField(1);
  const CString password = fields.GetField(6);
  record->m_strRoomText1 = password;
  const CString publicCode = password.IsEmpty() ? "1" : "2";
  m_pHost->SendWaitRoomLeave();
  m_pHost->FlushRequests();
  record->m_nRoomNumber = std::atoi(room);
  record->SetEntry(CString(), password, publicCode, "2");
  m_pHost->SendJoinRoom(room, password);
  m_pHost->FlushRequests();
  m_pHost->SetRoomState(kEnteringRoomState);
  m_bNegoPending = FALSE;
  m_pHost->BeginWaitCapture();
}

void CTirvoDListView::CloseNegotiation() {
  if (!m_pNegotiation)
    return;
  // The dialog may be inside its own notification: it is hidden now and deleted once that call
  // has returned.
  m_pNegotiation->ShowWindow(SW_HIDE);
  m_pClosedNegotiation = std::move(m_pNegotiation);
  if (m_hWnd)
    PostMessage(kDeleteNegotiationMessage);
}

LRESULT CTirvoDListView::OnDeleteNegotiation(WPARAM, LPARAM) {
  m_pClosedNegotiation.reset();
  return 0;
}

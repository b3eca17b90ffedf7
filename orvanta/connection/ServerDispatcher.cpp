#include "orvanta/connection/ServerDispatcher.h"

#include <platform/msgbox.h>
#include <platform/windows.h>

#include "orvanta/connection/LoginRequests.h"
#include "orvanta/connection/ServerRecord.h"
#include "orvanta/connection/SessionRecord.h"

namespace {

using PayloadAction = void (CFrameActions::*)(CFieldTokenizer&);

// A code whose whole work is one frame action on its payload.
struct PlainRow {
  int code;
  PayloadAction action;
  bool updateButtons;
  bool flushNow;  // what the action queued leaves before the next record is handled
};

const PlainRow kPlainRows[] = {
    {2, &CFrameActions::OnWaitingRoomList, false, false},
    {3, &CFrameActions::OnAdvertInfo, false, false},
    {14, &CFrameActions::OnUserSearchResult, false, false},
    {15, &CFrameActions::OnUserMessage, false, false},
    {16, &CFrameActions::OnOperatorNotice, false, false},
    {19, &CFrameActions::OnMailTo, false, false},
    {33, &CFrameActions::OnWaitRoomUsers, true, false},
    {34, &CFrameActions::OnWaitRoomChat, false, false},
    {36, &CFrameActions::OnPostLoginNotice, true, false},
    {39, &CFrameActions::OnNegotiationRefused, false, false},
    {51, &CFrameActions::OnRoomLists, true, false},
    {54, &CFrameActions::OnLeftGameRoom, true, false},
    {55, &CFrameActions::OnChatBan, false, false},
    {56, &CFrameActions::OnRoomChat, false, false},
    {57, &CFrameActions::OnRoomInformation, false, false},
    {58, &CFrameActions::OnRoomCode58, true, false},
    {59, &CFrameActions::OnGameInProgress, false, false},
    {61, &CFrameActions::OnRecordListPage, true, false},
    {62, &CFrameActions::OnRecordSearchResult, true, false},
    {63, &CFrameActions::OnRecordText, true, false},
    {71, &CFrameActions::OnForumList, true, false},
    {72, &CFrameActions::OnForumMenu, false, false},
    {73, &CFrameActions::OnForumJoined, false, false},
    {74, &CFrameActions::OnForumSeceded, false, false},
    {101, &CFrameActions::OnRankList, true, false},
    {102, &CFrameActions::OnRankPage, true, false},
    {103, &CFrameActions::OnUserRecord, false, false},
    {104, &CFrameActions::OnRankPage2, true, false},
    {112, &CFrameActions::OnInvitation, false, false},
    {113, &CFrameActions::OnMemoCount, false, true},
    {115, &CFrameActions::OnMemoNotice, false, true},
    {118, &CFrameActions::OnInvitationRefused, false, false},
    {119, &CFrameActions::OnNegotiationRequest, false, false},
    {310, &CFrameActions::OnNegotiationAgreed, false, false},
    {399, &CFrameActions::OnWaitingRoomUserChange, false, false},
    {510, &CFrameActions::OnRoomMoves, false, false},
    {516, &CFrameActions::OnUndoMessage, false, false},
    {518, &CFrameActions::OnDesignationMessage, true, false},
    {520, &CFrameActions::OnDrawMessage, true, false},
    {522, &CFrameActions::OnFinishMessage, true, false},
    {524, &CFrameActions::OnPauseMessage, true, false},
    {526, &CFrameActions::OnContinueMessage, true, false},
    {528, &CFrameActions::OnReviewMessage, true, false},
    {529, &CFrameActions::OnReplayStep, false, false},
    {530, &CFrameActions::OnReplayStep, false, false},
    {531, &CFrameActions::OnReplayStep, false, false},
    {532, &CFrameActions::OnReplayStep, false, false},
    {533, &CFrameActions::OnObserverAdvice, false, false},
    {535, &CFrameActions::OnFinishMessage, true, false},
    {536, &CFrameActions::OnReplayDlgMessage, false, false},
    {537, &CFrameActions::OnReplayStep, false, false},
    {538, &CFrameActions::OnTimeOver, true, false},
    {539, &CFrameActions::OnReplayStep, true, false},
    {540, &CFrameActions::OnReplayStep, true, false},
    {542, &CFrameActions::OnResumeMessage, true, false},
    {544, &CFrameActions::OnCountMessage, true, false},
    {547, &CFrameActions::OnStalemateAnswer, true, false},
    {551, &CFrameActions::OnClockStart, true, false},
    {555, &CFrameActions::OnLeaveCountdown, false, false},
    {556, &CFrameActions::OnWinWithoutCounting, true, false},
    {599, &CFrameActions::OnWaitingRoomRoomChange, false, false},
    {710, &CFrameActions::OnBoardPostList, true, false},
    {711, &CFrameActions::OnBoardPost, false, false},
    {712, &CFrameActions::OnPostAdded, false, false},
    {713, &CFrameActions::OnPostDeleted, false, false},
    {714, &CFrameActions::OnReadCount, false, false},
};

const PlainRow* FindPlainRow(int code) {
  for (const PlainRow& row : kPlainRows)
    if (row.code == code)
      return &row;
  return nullptr;
}

// A room request the other side answered: the code, its refusal text, whether what a refusal
// queued leaves at once, and the action an agreement goes to (with the answer word removed).
struct AnswerRow {
  int code;
  const char* refusal;
  bool refusalFlushes;
  PayloadAction action;
};

const AnswerRow kAnswerRows[] = {
    {515, "Request for retraction has been rejected.", false, &CFrameActions::OnUndoMessage},
    {517, "Ask for designating captured stones is rejected.", false, &CFrameActions::OnDesignationMessage},
    {521, "The request to end has been rejected.", true, &CFrameActions::OnFinishMessage},
    {523, "Request for pause play is rejected.", true, &CFrameActions::OnPauseMessage},
    {525, "Request for continued play is rejected.", true, &CFrameActions::OnContinueMessage},
    {527, "Request for step-by-step replay has been rejected.", true, &CFrameActions::OnReviewMessage},
    {534, "Request for continued play is rejected.", true, &CFrameActions::OnFinishMessage},
    {541, "Continued play has been rejected.", true, &CFrameActions::OnResumeMessage},
};

const AnswerRow* FindAnswerRow(int code) {
  for (const AnswerRow& row : kAnswerRows)
    if (row.code == code)
      return &row;
  return nullptr;
}

bool IsRefused(CFieldTokenizer& payload) { return payload.GetField(2) == "0"; }

CFieldTokenizer WithoutAnswer(const CFieldTokenizer& payload) {
  return CFieldTokenizer(CServerDispatcher::DropAnswerField(payload.GetText()));
}

}  // namespace

void CServerDispatcher::DispatchServerFrames(const CString& text) {
  bool unterminated = false;
  const std::vector<CServerRecord> records = CServerRecord::SplitGroup(text, &unterminated);
  for (const CServerRecord& record : records) {
    CFieldTokenizer payload(record.m_strPayload);
    if (record.GetFlagValue() != 1) {
      if (record.m_nCode == 59 || record.m_nCode == 510)
        m_frame.SetDeferringMoves(FALSE);
      int code = record.m_nCode;
      OnFailedReply(&payload, &code);
    } else if (DispatchRecord(record.m_nCode, payload) == Outcome::FlushNow) {
      m_frame.FlushRequests();
    }
    // The records after a logout, a closed link or a link given up belong to no session.
    if (!m_frame.IsLinkOpen())
      return;
  }
  // A record without its end stops the dispatch there, and what was queued waits.
  if (!unterminated)
    m_frame.FlushRequests();
}

CServerDispatcher::Outcome CServerDispatcher::DispatchRecord(int code, CFieldTokenizer& payload) {
  Outcome outcome = Outcome::Continue;
  m_frame.SetDispatchCode(code);
  if (const PlainRow* row = FindPlainRow(code)) {
    (m_frame.*(row->action))(payload);
    if (row->updateButtons)
      UpdateButtons(code, payload);
    return row->flushNow ? Outcome::FlushNow : Outcome::Continue;
  }
  if (DispatchAnswer(code, payload, outcome) || DispatchSpecial(code, payload, outcome))
    return outcome;
  // Codes without a row of their own only reach the buttons update, which ignores unknown ones.
  UpdateButtons(code, payload);
  return outcome;
}

bool CServerDispatcher::DispatchAnswer(int code, CFieldTokenizer& payload, Outcome& outcome) {
  const AnswerRow* row = FindAnswerRow(code);
  if (!row)
    return false;
  if (IsRefused(payload)) {
    ApplyRefusal(code);
    outcome = row->refusalFlushes ? Outcome::FlushNow : Outcome::Continue;
    return true;
  }
  CFieldTokenizer agreed = WithoutAnswer(payload);
  (m_frame.*(row->action))(agreed);
  UpdateButtons(code, payload);
  return true;
}

bool CServerDispatcher::DispatchSpecial(int code, CFieldTokenizer& payload, Outcome& outcome) {
  switch (code) {
    case 1:
      QueueLoginRecord();
      outcome = Outcome::FlushNow;
      return true;
    case 11:
      m_frame.OnLoginReply(payload.GetText());
      m_frame.RequestAdvertInfo();
      m_frame.RequestWaitRoomList();
      m_frame.SendPostLoginRequest();
      m_frame.SetConnectButton();
      UpdateButtons(code, payload);
      return true;
    case 12:
      m_frame.SetLogoutReceived();
      m_frame.OnLogoutReply();
      outcome = m_frame.IsClosing() ? Outcome::Continue : Outcome::FlushNow;
      return true;
    case 18:
      m_frame.OnRelogin();
      UpdateButtons(code, payload);
      return true;
    case 31:
      m_frame.UpdateTitle();
      m_frame.SendWaitRoomQuery("5");
      m_frame.SendGameListRequest();
      UpdateButtons(code, payload);
      return true;
    case 32:
      return true;
    case 52:
      m_frame.SendWaitRoomLeave();
      m_frame.FlushRequests();
      m_frame.OnRoomOpened(payload);
      UpdateButtons(code, payload);
      // The room just opened (its number is the room text the reply set) with its password.
      if (CSessionRecord* record = m_frame.GetLoginRecord())
        m_frame.SendJoinRoom(record->m_strRoomText5, record->m_strRoomText1);
      UpdateButtons(code, payload);
      return true;
    case 53:
      m_frame.OnEnterGameRoom(code, payload);
      if (!m_frame.IsEntryPending())
        UpdateButtons(code, payload);
      return true;
    case 511:
      m_frame.OnRoomEntered(code, payload);
      return true;
    case 512: {
      if (IsRefused(payload)) {
        ApplyRefusal(code);
        outcome = Outcome::FlushNow;
        return true;
      }
      const CString answer = payload.GetField(2);
      CFieldTokenizer agreed = WithoutAnswer(payload);
      m_frame.OnMatchMessage(code, agreed, answer);
      UpdateButtons(code, payload);
      return true;
    }
    case 513: {
      const CString answer = payload.GetField(2);
      m_frame.OnMatchMessage(code, payload, answer);
      UpdateButtons(code, payload);
      return true;
    }
    case 514:
      // A move that arrives while the room loads waits for the room's data; the records behind it
      // in the same read are still handled, so a second move is never lost.
      if (m_frame.IsDeferringMoves()) {
        m_frame.QueueDeferredText(payload.GetText());
        m_frame.FlushRequests();
        return true;
      }
      m_frame.OnOpponentMove(payload);
      return true;
    case 519:
    case 545: {
      // The buttons are set once, before the action, in these two answers.
      if (IsRefused(payload)) {
        ApplyRefusal(code);
        outcome = Outcome::FlushNow;
        return true;
      }
      CFieldTokenizer agreed = WithoutAnswer(payload);
      if (code == 519) {
        UpdateButtons(code, agreed);
        m_frame.OnDrawMessage(agreed);
      } else {
        UpdateButtons(code, payload);
        m_frame.OnCountMessage(agreed);
      }
      return true;
    }
    case 543:
      UpdateButtons(code, payload);
      m_frame.OnResignResult(payload);
      UpdateButtons(code, payload);
      return true;
    case 546:
      if (IsRefused(payload)) {
        ApplyRefusal(code);
        outcome = Outcome::FlushNow;
        return true;
      }
      m_frame.OnStalemateAnswer(payload);
      UpdateButtons(code, payload);
      return true;
    default:
      return false;
  }
}

void CServerDispatcher::ApplyRefusal(int code) {
  if (code == 512)
    m_frame.ClearNegotiationPending();
  else if (code == 515)
    m_frame.ClearUndoPending();
  else if (code == 517)
    m_frame.ClearDesignationPending();
  if (!m_frame.IsGameRoomActive())
    return;
  m_frame.ShowRoomNotice(GetRefusalText(code));
  switch (code) {
    case 515:
    case 519:
    case 521:
    case 523:
      m_frame.StartRoomClock();
      break;
    case 517:
      m_frame.LeaveDesignationMode();
      break;
    case 545:
      m_frame.LeaveCountingMode();
      break;
    case 546:
      m_frame.ClearStalemateArea();
      break;
    default:
      break;
  }
}

void CServerDispatcher::QueueLoginRecord() {
  const CSessionRecord* record = m_frame.GetLoginRecord();
  if (!record)
    return;
  m_frame.QueueRequest(1, 1, CLoginRequests::LoginPayload(record->m_strId, record->m_strPassword), "1");
}

void CServerDispatcher::UpdateButtons(int code, CFieldTokenizer& payload) {
  m_frame.UpdateButtonsForEvent(code, payload.GetText());
}

CString CServerDispatcher::GetRefusalText(int code) {
  if (const AnswerRow* row = FindAnswerRow(code))
    return row->refusal;
  switch (code) {
    case 512: return "Your play negotiation is rejected.";
    case 519: return "Request for drawn play is rejected.";
    case 545: return "Request for counting is rejected.";
    case 546: return "Designating of stalemate area is rejected.";
    default: return CString();
  }
}

CString CServerDispatcher::DropAnswerField(const CString& list) {
  CFieldTokenizer fields(list);
  const int count = fields.GetCount();
  CString result = "|";
  for (int i = 0; i < count; ++i) {
    const CString field = fields.NextField();
    if (i != 2)
      result += field + "|";
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// Failure replies

void CServerDispatcher::OnFailedReply(CFieldTokenizer* payloadArg, int* codeArg) {
  CFieldTokenizer empty;
  CFieldTokenizer& payload = payloadArg ? *payloadArg : empty;
  const int code = codeArg ? *codeArg : 0;
  const CString reason = payload.GetField(0);
  const CString explanation = payload.GetField(1);
  switch (code) {
    case 1:
      if (reason == "99") {
        m_frame.SetUpgradeFlag();
        AfxMessageBox(" You must upgrade your program.\n Starting upgrade.");
        m_frame.StartUpgrade(payload);
        return;
      }
      AfxMessageBox(explanation);
      break;
    case 3:
    case 510:
      return;
    case 11:
      if (!OnLoginFailed(payload))
        return;
      break;
    case 31:
      AfxMessageBox(explanation);
      m_frame.SetCurrentWaitRoom(-1);
      break;
    case 32:
      break;
    case 39:
      m_frame.CloseNegotiationWindow();
      AfxMessageBox(explanation);
      break;
    case 52:
      OnRoomJoinFailed(payload);
      break;
    case 53:
      OnEnterFailed(payload);
      break;
    case 59:
      m_frame.EndWaitCapture();
      break;
    case 62:
      m_frame.SetStatusText("");
      AfxMessageBox(explanation);
      break;
    case 112:
      AfxMessageBox(explanation);
      if (m_frame.IsGameRoomActive())
        m_frame.ClearInvitationPending();
      else
        m_frame.OnInviteUser();
      break;
    case 512: {
      const int answer = AskInform(explanation, MB_RETRYCANCEL);
      m_frame.ClearNegotiationPending();
      if (answer == IDRETRY)
        m_frame.RetryNegotiation();
      break;
    }
    case 515:
      AfxMessageBox(explanation);
      m_frame.ClearUndoPending();
      break;
    case 517:
      if (AskInform(explanation, MB_OK | MB_ICONEXCLAMATION) == IDOK)
        m_frame.ClearDesignationPending();
      break;
    case 519:
      AfxMessageBox(explanation);
      m_frame.RestartGameTimer();
      break;
    case 545:
      m_frame.SetBoardGameMode(0x2000);
      AfxMessageBox("Counting is rejected.");
      break;
    default:
      AfxMessageBox(explanation);
      break;
  }
  m_frame.FlushRequests();
}

bool CServerDispatcher::OnLoginFailed(CFieldTokenizer& payload) {
  if (payload.GetField(0) == "204") {
    if (AskInform(payload.GetField(1), MB_OKCANCEL) == IDOK)
      m_frame.AskLoginRelease();
    else
      m_frame.SetConnected(FALSE);
    return true;
  }
  m_frame.SetConnected(FALSE);
  if (AskInform(payload.GetField(1), MB_RETRYCANCEL) == IDRETRY) {
    // Closing brings the login dialog again through the link's close event.
    m_frame.CloseLink();
    return false;
  }
  m_frame.SendLogout();
  m_frame.SetConnectButton();
  return true;
}

void CServerDispatcher::OnRoomJoinFailed(CFieldTokenizer& payload) {
  m_frame.ClearRoomEntryFlag();
  if (AskInform(payload.GetField(1), MB_RETRYCANCEL) == IDRETRY) {
    if (CSessionRecord* record = m_frame.GetLoginRecord())
      record->ClearRoom();
  } else {
    m_frame.OnOpenRoom();
  }
}

void CServerDispatcher::OnEnterFailed(CFieldTokenizer& payload) {
  AfxMessageBox(payload.GetField(1));
  m_frame.EndWaitCapture();
  m_frame.ClearRoomEntryFlag();
  if (CSessionRecord* record = m_frame.GetLoginRecord())
    record->ClearRoom();
  m_frame.SendWaitRoomEnter();
  m_frame.ClearRoomSubState();
}

int CServerDispatcher::AskInform(const CString& text, UINT type) {
  return MessageBox(m_frame.GetFrameHandle(), text, "Inform", type);
}

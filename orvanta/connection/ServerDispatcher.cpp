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
  int ends;  // 0 no, 1 ends the group, 2 ends without flush
};

const PlainRow kPlainRows[] = {
    {2, &CFrameActions::OnWaitingRoomList, false, 0},
    {3, &CFrameActions::OnAdvertInfo, false, 0},
    {14, &CFrameActions::OnUserSearchResult, false, 0},
    {15, &CFrameActions::OnUserMessage, false, 0},
    {16, &CFrameActions::OnOperatorNotice, false, 0},
    {19, &CFrameActions::OnMailTo, false, 0},
    {33, &CFrameActions::OnWaitRoomUsers, true, 0},
    {34, &CFrameActions::OnWaitRoomChat, false, 0},
    {36, &CFrameActions::OnPostLoginNotice, true, 0},
    {39, &CFrameActions::OnNegotiationRefused, false, 0},
    {51, &CFrameActions::OnRoomLists, true, 0},
    {54, &CFrameActions::OnLeftGameRoom, true, 0},
    {55, &CFrameActions::OnChatBan, false, 0},
    {56, &CFrameActions::OnRoomChat, false, 0},
    {57, &CFrameActions::OnRoomInformation, false, 0},
    {58, &CFrameActions::OnRoomCode58, true, 0},
    {59, &CFrameActions::OnGameInProgress, false, 0},
    {61, &CFrameActions::OnRecordListPage, true, 0},
    {62, &CFrameActions::OnRecordSearchResult, true, 0},
    {63, &CFrameActions::OnRecordText, true, 0},
    {71, &CFrameActions::OnForumList, true, 0},
    {72, &CFrameActions::OnForumMenu, false, 0},
    {73, &CFrameActions::OnForumJoined, false, 0},
    {74, &CFrameActions::OnForumSeceded, false, 0},
    {101, &CFrameActions::OnRankList, true, 0},
    {102, &CFrameActions::OnRankPage, true, 0},
    {103, &CFrameActions::OnUserRecord, false, 0},
    {104, &CFrameActions::OnRankPage2, true, 0},
    {112, &CFrameActions::OnInvitation, false, 0},
    {113, &CFrameActions::OnMemoCount, false, 1},
    {115, &CFrameActions::OnMemoNotice, false, 1},
    {118, &CFrameActions::OnInvitationRefused, false, 2},
    {119, &CFrameActions::OnNegotiationRequest, false, 0},
    {310, &CFrameActions::OnNegotiationAgreed, false, 0},
    {399, &CFrameActions::OnWaitingRoomUserChange, false, 0},
    {510, &CFrameActions::OnRoomMoves, false, 0},
    {516, &CFrameActions::OnUndoMessage, false, 0},
    {518, &CFrameActions::OnDesignationMessage, true, 0},
    {520, &CFrameActions::OnDrawMessage, true, 0},
    {522, &CFrameActions::OnFinishMessage, true, 0},
    {524, &CFrameActions::OnPauseMessage, true, 0},
    {526, &CFrameActions::OnContinueMessage, true, 0},
    {528, &CFrameActions::OnReviewMessage, true, 0},
    {529, &CFrameActions::OnReplayStep, false, 0},
    {530, &CFrameActions::OnReplayStep, false, 0},
    {531, &CFrameActions::OnReplayStep, false, 0},
    {532, &CFrameActions::OnReplayStep, false, 0},
    {533, &CFrameActions::OnObserverAdvice, false, 0},
    {535, &CFrameActions::OnFinishMessage, true, 0},
    {536, &CFrameActions::OnReplayDlgMessage, false, 0},
    {537, &CFrameActions::OnReplayStep, false, 0},
    {538, &CFrameActions::OnTimeOver, true, 0},
    {539, &CFrameActions::OnReplayStep, true, 0},
    {540, &CFrameActions::OnReplayStep, true, 0},
    {542, &CFrameActions::OnResumeMessage, true, 0},
    {544, &CFrameActions::OnCountMessage, true, 0},
    {547, &CFrameActions::OnStalemateAnswer, true, 0},
    {551, &CFrameActions::OnClockStart, true, 0},
    {555, &CFrameActions::OnLeaveCountdown, false, 0},
    {556, &CFrameActions::OnWinWithoutCounting, true, 0},
    {599, &CFrameActions::OnWaitingRoomRoomChange, false, 0},
    {710, &CFrameActions::OnBoardPostList, true, 0},
    {711, &CFrameActions::OnBoardPost, false, 0},
    {712, &CFrameActions::OnPostAdded, false, 0},
    {713, &CFrameActions::OnPostDeleted, false, 0},
    {714, &CFrameActions::OnReadCount, false, 0},
};

const PlainRow* FindPlainRow(int code) {
  for (const PlainRow& row : kPlainRows)
    if (row.code == code)
      return &row;
  return nullptr;
}

// A room request the other side answered: the code, its refusal text, whether a refusal ends the
// group, and the action an agreement goes to (with the answer word removed).
struct AnswerRow {
  int code;
  const char* refusal;
  bool refusalEnds;
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

int CServerDispatcher::DispatchServerFrames(const CString& text, CFieldTokenizer* failedPayload, int* failedCode) {
  bool unterminated = false;
  const std::vector<CServerRecord> records = CServerRecord::SplitGroup(text, &unterminated);
  for (const CServerRecord& record : records) {
    CFieldTokenizer payload(record.m_strPayload);
    const int flag = record.GetFlagValue();
    if (flag != 1) {
      if (failedCode)
        *failedCode = record.m_nCode;
      if (failedPayload)
        *failedPayload = payload;
      if (record.m_nCode == 59 || record.m_nCode == 510)
        m_frame.SetDeferringMoves(FALSE);
      return flag;
    }
    const Outcome outcome = DispatchRecord(record.m_nCode, payload);
    if (outcome == Outcome::EndWithoutFlush)
      return 1;
    if (outcome == Outcome::EndGroup) {
      m_frame.FlushRequests();
      return 1;
    }
  }
  // A record without its end stops the dispatch there, and what was queued waits.
  if (!unterminated)
    m_frame.FlushRequests();
  return 1;
}

CServerDispatcher::Outcome CServerDispatcher::DispatchRecord(int code, CFieldTokenizer& payload) {
  Outcome outcome = Outcome::Continue;
  m_frame.SetDispatchCode(code);
  if (const PlainRow* row = FindPlainRow(code)) {
    (m_frame.*(row->action))(payload);
    if (row->updateButtons)
      UpdateButtons(code, payload);
    return row->ends == 0 ? Outcome::Continue : (row->ends == 1 ? Outcome::EndGroup : Outcome::EndWithoutFlush);
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
    outcome = row->refusalEnds ? Outcome::EndGroup : Outcome::Continue;
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
      outcome = Outcome::EndGroup;
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
      outcome = m_frame.IsClosing() ? Outcome::EndWithoutFlush : Outcome::EndGroup;
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
        outcome = Outcome::EndGroup;
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
      // in the same read are still dispatched, so a second move is never lost.
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
        outcome = Outcome::EndGroup;
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
        outcome = Outcome::EndGroup;
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

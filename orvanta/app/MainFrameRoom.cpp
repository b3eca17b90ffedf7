// The main frame's side of the game room: room requests, the room's commands, the relays of the
// server's room messages, entering and leaving rooms, deferred moves and the room's host calls.

#include <cstdlib>

#include <platform/msgbox.h>
#include <platform/sound.h>

#include "orvanta/app/MainFrame.h"
#include "orvanta/app/ScreenFlags.h"
#include "orvanta/connection/SendCategory.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/room/CapturedStoneList.h"
#include "orvanta/room/CapturedStonesConfirmDlg.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/RoomMessages.h"
#include "orvanta/room/RoomState.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

constexpr const char* kConfirm = "Confirm";
constexpr const char* kInform = "Inform";
// The board's marks of the area the user clicks.
constexpr short kOwnAreaMarks = 256;

CString FieldOf(CFieldTokenizer& payload, int index) { return payload.GetField(index); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Room requests

void CMainFrame::SetWaitingRoomKey(const CString& numberText, const CString& key) {
  m_strWaitRoomNumberText = numberText;
  m_strWaitRoomKey = key;
}

short CMainFrame::GetRoomCategory() const { return GetSendCategory(1, m_strWaitRoomNumberText); }

CString CMainFrame::GetRoomPrefix() const {
  CString room = m_pLoginRecord ? m_pLoginRecord->m_strRoomText5 : CString();
  return "|" + m_strWaitRoomKey + "|" + room + "|";
}

void CMainFrame::SendGameRequest(short minor, const CString& extra) {
  // The prefix names the room the user is in; outside one, or on the way out, there is none.
  if (!MaySendRoomRequest()) return;
  QueueRequest(GetRoomCategory(), minor, GetRoomPrefix() + extra, "1");
}

void CMainFrame::SendAnswer(short minor, const CString& payload) {
  if (!MaySendRoomRequest()) return;
  QueueRequest(GetRoomCategory(), minor, payload, "2");
}

BOOL CMainFrame::AskAboutRoom(const CString& text, const char* caption, UINT type) {
  CGameRoom* room = ShownRoom();
  if (!room) return FALSE;
  const std::weak_ptr<int> life = room->Life();
  return Ask(text, caption, type) == IDYES && !CGameRoom::Gone(life) && ShownRoom() == room;
}

void CMainFrame::RequestRoomData() {
  BeginWaitCapture();
  m_bRoomSyncPending = TRUE;
  SendGameRequest(9, CString());
}

void CMainFrame::SendRoomReady() { SendGameRequest(10, CString()); }

void CMainFrame::SendRoomState(const CString& state) { SendGameRequest(11, state + "|"); }

void CMainFrame::SendRoomCode14(const CString& node, const CString& time) {
  SendGameRequest(14, node + "|" + time + "|");
}

void CMainFrame::SendClockState(short colour) { SendGameRequest(38, (colour & 2) ? "1|" : "2|"); }

void CMainFrame::SendLeaveRoom() {
  // Without a waiting room to return to the leave goes out on its fixed category, still naming
  // the room as all its requests did.
  if (!MaySendRoomRequest()) return;
  if (!m_bForumRoom && !GetCurrentWaitingRoomRec()) {
    QueueRequest(3, 4, GetRoomPrefix(), "1");
  } else {
    SendGameRequest(4, CString());
  }
  m_bRoomLeft = TRUE;
}

void CMainFrame::SendLeaveAfterCountdown(const CString& first, const CString& second) {
  QueueRequest(GetRoomCategory(), 56, "|" + first + "|" + second + "|", "1");
  FlushRequests();
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_KEYDOWN && IsGameRoomActive()) {
    if (auto* view = dynamic_cast<CDagukRoomView*>(GetContentView()); view && view->SendChatMacro(static_cast<UINT>(msg->wParam)))
      return TRUE;
  }
  return CFrameWnd::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------------------------
// The room's commands

void CMainFrame::AskDraw() {
  if (!AskAboutRoom("Do you wish to ask a drawn play?", kConfirm, MB_YESNO | MB_ICONINFORMATION)) return;
  SendGameRequest(19, CString());
  FlushRequests();
  StopRoomClock();
}

void CMainFrame::AskResign() {
  if (!AskAboutRoom("Do you wish to resign without counting?", kConfirm, MB_YESNO | MB_ICONQUESTION)) return;
  SendGameRequest(43, CString());
  FlushRequests();
}

void CMainFrame::AskUndo() {
  if (m_bUndoPending) {
    AfxMessageBox("Retraction requested and waiting for reply.");
    return;
  }
  if (!AskAboutRoom("Do you wish to request undoing your last move?", kConfirm, MB_YESNO | MB_ICONQUESTION)) return;
  SendGameRequest(15, CString());
  FlushRequests();
  m_bUndoPending = TRUE;
  StopRoomClock();
}

void CMainFrame::AskEnd() {
  if (m_bEndRequested) {
    if (!AskAboutRoom("Do you wish to cancel the request to end?", kConfirm, MB_YESNO | MB_ICONQUESTION)) return;
    SendGameRequest(34, CString());
  } else {
    if (!AskAboutRoom("Do you wish to designate captured stones?", kConfirm, MB_YESNO | MB_ICONQUESTION)) return;
    SendGameRequest(21, CString());
    StopRoomClock();
  }
  FlushRequests();
}

void CMainFrame::AskPauseOrContinue() {
  if (m_bPaused) {
    if (!AskAboutRoom("Do you wish to continue the game?", kConfirm, MB_YESNO | MB_ICONQUESTION)) return;
    SendGameRequest(25, "|0|");
  } else {
    if (!AskAboutRoom("Do you wish to request a pause play?", kConfirm, MB_YESNO | MB_ICONQUESTION)) return;
    SendGameRequest(23, CString());
    StopRoomClock();
  }
  FlushRequests();
}

void CMainFrame::AskCounting() {
  if (!AskAboutRoom("Do you want counting?", kConfirm, MB_YESNO | MB_ICONQUESTION)) return;
  SendGameRequest(44, CString());
  FlushRequests();
}

void CMainFrame::AskReplay() {
  if (!IsGameRoomActive() || !m_pLoginRecord) return;
  SendGameRequest(27, "|" + m_pLoginRecord->m_strRole + "|" + m_pLoginRecord->m_strId + "|");
  FlushRequests();
}

void CMainFrame::LeaveRoom() {
  if (!IsGameRoomActive()) {
    LeaveOtherView();
    return;
  }
  // A room already left, or whose leave has gone out, is not left again.
  if (!MaySendRoomRequest()) return;
  if (!AskAboutRoom("Do you wish to leave the game room?", kInform, MB_YESNO | MB_ICONQUESTION)) return;
  BeginWaitCapture();
  SendLeaveRoom();
  FlushRequests();
  ResetRoomGame();
}

void CMainFrame::ResetRoomGame() {
  // The game's timers, queued moves, request flags and the full screen go with the room.
  if (m_pGameRoom) m_pGameRoom->StopClock();
  if (m_nDeferredTimer != 0) ::KillTimer(m_hWnd, kDeferredMovesTimer);
  m_nDeferredTimer = 0;
  m_deferredMoves.Clear();
  m_bUndoPending = m_bDesignationPending = m_bEndRequested = m_bPaused = m_bRoomSyncPending = FALSE;
  ForgetOwnStalemateArea();
  if (m_bFullScreen) ToggleFullScreen();
}

void CMainFrame::LeaveOtherView() {
  switch (m_nActiveViewId) {
    case kStartView:
      m_bClosingByLeave = TRUE;
      PostMessage(WM_CLOSE);
      return;
    case kWaitingRoomView:
    case kRecordListView:
    case kRankView:
      // A waiting room entered from a forum goes back to the forum, not to the start screen.
      if (!m_bForumBoardOpen) {
        if (m_nActiveViewId == kWaitingRoomView) {
          SendWaitRoomLeave();
          FlushRequests();
        }
        ReturnToStartView();
        return;
      }
      break;
    default:
      break;
  }
  LeaveShownView();
}

void CMainFrame::LeaveShownView() {
  switch (m_nActiveViewId) {
    case kWaitingRoomView:
    case kBulletinBoardView:
      // The forum list comes back (its arrival leaves the waiting room), and with the forum's
      // board or room still open the forum's menu after it.
      SendForumRequest1();
      break;
    default:
      ReturnToStartView();
      break;
  }
}

void CMainFrame::StartRoomClock() {
  if (CGameRoom* room = ShownRoom()) room->StartClock();
}

void CMainFrame::RestartGameTimer() { StartRoomClock(); }

void CMainFrame::StopRoomClock() {
  if (CGameRoom* room = ShownRoom()) room->StopClock();
}

// The word after the room-state word is the game clock's timer, which the room keeps.
void CMainFrame::ClearRoomSubState() {
  if (m_pGameRoom) m_pGameRoom->StopClock();
}

BOOL CMainFrame::OnRoomMenuButton(UINT id) {
  switch (id) {
    case 1035: AskDraw(); return TRUE;
    case 1202: AskResign(); return TRUE;
    case 1037: AskUndo(); return TRUE;
    case 1203: AskEnd(); return TRUE;
    case 1205: AskCounting(); return TRUE;
    case 1206: ToggleSequenceNumbers(); return TRUE;
    case 1209: AskPauseOrContinue(); return TRUE;
    case 1208: AskReplay(); return TRUE;
    case 1200: OnPlayNegotiation(); return TRUE;
    case 1245:
      if (CGameRoom* room = ShownRoom()) room->SendPass();
      return TRUE;
    default: return FALSE;
  }
}

void CMainFrame::ToggleSequenceNumbers() {
  if (CGameRoom* room = ShownRoom()) room->ToggleSequenceNumbers();
}

LRESULT CMainFrame::OnRoomClockMessage(WPARAM, LPARAM) {
  if (CGameRoom* room = ShownRoom()) room->TickSideToMove();
  return 0;
}

void CMainFrame::ToggleRoomSound() {
  m_bSoundOn = !m_bSoundOn;
  if (m_pGameRoom) m_pGameRoom->SetSoundOn(m_bSoundOn);
}

int CMainFrame::FullScreenHeight(int width) {
  switch (width) {
    case 800: return 600;
    case 1024: return 768;
    case 1152: return 864;
    case 1280: return 1024;
    default: return ::GetSystemMetrics(SM_CYSCREEN);
  }
}

void CMainFrame::ToggleFullScreen() {
  if (!IsGameRoomActive() && !m_bFullScreen) {
    m_bMaximised = !m_bMaximised;
    ShowWindow(m_bMaximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    return;
  }
  if (!m_bFullScreen) {
    GetWindowRect(&m_savedRect);
    int width = ::GetSystemMetrics(SM_CXFULLSCREEN);
    // The sizing border goes with the caption: the screen is the room's to its very edge.
    ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
    m_pSavedMenu = GetMenu();
    SetMenu(nullptr);
    MoveWindow(0, 0, width, FullScreenHeight(width));
    m_bFullScreen = TRUE;
  } else {
    ModifyStyle(0, WS_CAPTION | WS_THICKFRAME);
    SetMenu(m_pSavedMenu);
    m_pSavedMenu = nullptr;
    MoveWindow(m_savedRect.left, m_savedRect.top, m_savedRect.Width(), m_savedRect.Height());
    m_bFullScreen = FALSE;
  }
  RecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// Entering, leaving and opening rooms

CGameRoom* CMainFrame::ShownRoom() const { return m_nActiveViewId == kGameRoomView ? m_pGameRoom : nullptr; }

void CMainFrame::OnRoomOpened(CFieldTokenizer& payload) {
  if (m_pGameRoom) m_pGameRoom->GetRecord().Reset();
  if (m_pLoginRecord) m_pLoginRecord->m_strRoomText5 = payload.GetField(0);
  m_bRoomOwner = TRUE;
}

void CMainFrame::OnEnterGameRoom(int code, CFieldTokenizer& payload) {
  EndWaitCapture();
  m_bEntryPending = FALSE;
  if (!IsGameRoomActive()) {
    SwitchView(kGameRoomView);
    // A room joined from no waiting room (rejoined at login) keeps the home it was given.
    if (GetCurrentWaitingRoomRec()) m_nHomeWaitRoom = m_nCurrentWaitRoom;
  }
  CGameRoom* room = ShownRoom();
  CRoomMessages::Entered entered = CRoomMessages::ReadEntered(payload.GetText());
  if (m_bInRoom) {
    // A re-entry: the room only learns of a changed role or a game in recess.
    if (room && (entered.role == 1 || entered.role == 2)) {
      room->OnRoomMessage(code, payload.GetText());
    } else if (room && (room->GetRoomState() & 8)) {
      m_bRecessEntry = TRUE;
      CFieldTokenizer back(room->IsSeatTaken(2) || room->IsSeatTaken(4) ? CString("|tmp|tmp|") : payload.GetText());
      SetDispatchCode(room->IsSeatTaken(2) || room->IsSeatTaken(4) ? 525 : 527);
      OnContinueMessage(back);
    }
    m_bRoomEntry = FALSE;
    return;
  }
  if (room) {
    int status = entered.status;
    if (status == 1 || status == 3 || status == 5 || status == 7) {
      room->SetRoomStatus(status);
      if (status == 5) room->SetGameMode(1024);
    } else {
      room->SetRoomStatus(1);
    }
    switch (entered.role) {
      case 1:
        room->SetRole(512);
        room->OnRoomMessage(code, payload.GetText());
        break;
      case 2:
        room->SetRole(256);
        room->OnRoomMessage(code, payload.GetText());
        break;
      case 3:
        room->SetRole(64);
        break;
      case 4:
        room->SetRole(128);
        break;
      default:
        break;
    }
    m_wRoomState = room->GetRoomState();
  }
  // The buttons of a first entry are set while the user is not yet marked in the room, so that a
  // room whose game has not started gets the fresh room's set; the dispatcher then leaves them.
  UpdateButtonsForEvent(code, payload.GetText());
  m_bEntryPending = TRUE;
  m_bInRoom = TRUE;
  m_bRoomLeft = FALSE;
  if (entered.owner == "1") {
    m_bRoomOwner = TRUE;
  } else if (!entered.owner.IsEmpty()) {
    m_bRoomOwner = FALSE;
  }
  SendRoomState("POM");
  FlushRequests();
  RequestRoomData();
  FlushRequests();
  SendRoomReady();
  FlushRequests();
  // The room's number names it in the title, now and when the user comes back to it from
  // another screen.
  if (m_pLoginRecord) m_pLoginRecord->m_strRoomText4 = payload.GetField(0);
  SetWindowText("Orvanta 1.5(" + payload.GetField(0) + " Room)");
  EndWaitCapture();
  if (m_bRoomOwner) m_bOpeningRoom = FALSE;
  m_bRoomEntry = FALSE;
}

void CMainFrame::OnLeftGameRoom(CFieldTokenizer& payload) {
  bool mine = m_pLoginRecord && payload.GetField(3) == m_strUserId && payload.GetField(2) == m_pLoginRecord->m_strRole;
  if (mine) {
    // A join from the game room (a found user's room) has already left and reset this room: the
    // user is on the way to the next room, not back to the waiting room.
    if (!m_bStayInRoomList) {
      ClearScreenFlag(kScreenGameRoom);
      if (m_pLoginRecord) m_pLoginRecord->ClearRoom();
      m_bInRoom = FALSE;
      m_bRoomLeft = TRUE;
      if (!GetCurrentWaitingRoomRec()) m_nCurrentWaitRoom = m_nHomeWaitRoom;
      if (m_pGameRoom) m_pGameRoom->ResetRoom();
      m_wRoomState = 1;
      // However the room was left (the user's own leave or the server's word alone), nothing of
      // its game, its owner or its observers' advice follows the user out.
      ResetRoomGame();
      m_bRoomOwner = m_bObserverAdvice = FALSE;
      // A room that no known waiting room leads to is left for the start screen; entering a
      // waiting room without a name would place the user nowhere.
      if (!GetCurrentWaitingRoomRec() && !m_bForumRoom) {
        ReturnToStartView();
      } else if (m_strWaitRoomNumberText != "3") {
        SendWaitRoomEnter();
      } else {
        SendGameListRequest();
      }
    }
    m_bStayInRoomList = FALSE;
    m_bDesignateToggle = FALSE;
    m_bEndRequested = FALSE;
    ForgetOwnStalemateArea();
  } else if (CGameRoom* room = ShownRoom()) {
    const std::weak_ptr<int> life = room->Life();
    room->OnPlayerLeft(payload.JoinFields(2, 5) + "|");
    if (!CGameRoom::Gone(life)) m_wRoomState = room->GetRoomState();
  }
  EndWaitCapture();
}

void CMainFrame::OnRoomEntered(int code, CFieldTokenizer& payload) {
  if (CGameRoom* room = ShownRoom()) room->OnRoomMessage(code, payload.GetText());
}

void CMainFrame::OnMatchMessage(int code, CFieldTokenizer& payload, const CString& answer) {
  if (code == 513) {
    OnNegotiationProposal(payload);
    return;
  }
  if (code != 512) {
    NotePending("OnMatchMessage", payload.GetText() + ":" + answer);
    return;
  }
  if (CGameRoom* room = ShownRoom()) {
    room->ResetRoom();
    ForgetOwnStalemateArea();
    const std::weak_ptr<int> life = room->Life();
    room->OnRoomMessage(512, payload.GetText());
    if (!CGameRoom::Gone(life)) m_wRoomState = room->GetRoomState();
  }
  SendRoomState("O");
  m_bNegotiationPending = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Moves and the room's data

void CMainFrame::OnOpponentMove(CFieldTokenizer& payload) {
  // A move never overtakes the moves still waiting for the room's data.
  if (!m_deferredMoves.IsEmpty()) {
    QueueDeferredText(payload.GetText());
    return;
  }
  PlayOpponentMove(payload.GetText());
}

void CMainFrame::PlayOpponentMove(const CString& payload) {
  if (CGameRoom* room = ShownRoom()) room->OnOpponentMove(payload);
}

void CMainFrame::QueueDeferredText(const CString& payload) {
  if (m_nDeferredTimer == 0 && m_hWnd) m_nDeferredTimer = ::SetTimer(m_hWnd, kDeferredMovesTimer, kDeferredMovesMs, RoomTimerProc);
  m_deferredMoves.Push(payload);
}

void CMainFrame::OnDeferredMovesTimer() {
  if (m_bRoomSyncPending) return;
  ::KillTimer(m_hWnd, kDeferredMovesTimer);
  m_nDeferredTimer = 0;
  // The moves of a loading room are played at once, without a sound each.
  CGameRoom* room = ShownRoom();
  if (room) room->SetSoundOn(FALSE);
  CString move;
  while (m_deferredMoves.Pop(move)) PlayOpponentMove(move);
  if (room) room->SetSoundOn(m_bSoundOn);
}

void CMainFrame::OnGameInProgress(CFieldTokenizer& payload) {
  CGameRoom* room = ShownRoom();
  if (!room) return;
  room->GetRecord().SetFromServerText(payload.GetField(0));
  const std::weak_ptr<int> life = room->Life();
  room->OnGameInProgress(payload.GetText());
  if (!CGameRoom::Gone(life)) m_wRoomState = room->GetRoomState();
}

void CMainFrame::OnRoomMoves(CFieldTokenizer& payload) {
  CGameRoom* room = ShownRoom();
  if (!room) {
    m_bRoomSyncPending = FALSE;
    return;
  }
  room->GetRecord().SetMoves(payload.GetField(0));
  room->ReplayMovesOnBoard(payload.GetText());
  m_bRoomSyncPending = FALSE;
  m_wRoomState = room->GetRoomState();
  if ((m_wRoomState & 2) && !(m_wRoomState & 256)) SendRoomSync();
}

void CMainFrame::SendRoomSync() {
  // Only rooms of a forum and of the waiting rooms numbered "3" keep their players in step.
  if (m_bForumRoom || m_strWaitRoomNumberText == "3") SendGameRequest(8, CString());
}

void CMainFrame::SetLinkBlocking(BOOL blocking) {
  if (m_pLink) m_pLink->SetNonBlocking(!blocking);
}

void CMainFrame::EndRoomWait() {
  EndWaitCapture();
  m_bRoomSyncPending = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Relays of the game's messages

// The room may ask the user, and go meanwhile with its view (a lost connection, a logout).
#define ROOM_RELAY(name, call)                                                   \
  void CMainFrame::name(CFieldTokenizer& payload) {                              \
    if (CGameRoom* room = ShownRoom()) {                                         \
      const std::weak_ptr<int> life = room->Life();                              \
      room->call(m_nDispatchCode, payload.GetText());                            \
      if (!CGameRoom::Gone(life)) m_wRoomState = room->GetRoomState();           \
    }                                                                            \
  }
#define ROOM_RELAY_PAYLOAD(name, call)                                           \
  void CMainFrame::name(CFieldTokenizer& payload) {                              \
    if (CGameRoom* room = ShownRoom()) {                                         \
      const std::weak_ptr<int> life = room->Life();                              \
      room->call(payload.GetText());                                             \
      if (!CGameRoom::Gone(life)) m_wRoomState = room->GetRoomState();           \
    }                                                                            \
  }

ROOM_RELAY(OnUndoMessage, OnUndoRequest)
ROOM_RELAY(OnDesignationMessage, OnDesignationMessage)
ROOM_RELAY(OnFinishMessage, OnFinishMessage)
ROOM_RELAY(OnResumeMessage, OnResumeRequest)
ROOM_RELAY(OnCountMessage, OnCountResult)
ROOM_RELAY_PAYLOAD(OnTimeOver, OnTimeOver)
ROOM_RELAY_PAYLOAD(OnResignResult, OnResignResult)
ROOM_RELAY_PAYLOAD(OnWinWithoutCounting, OnWinWithoutCounting)
ROOM_RELAY_PAYLOAD(OnClockStart, StartGameClock)
ROOM_RELAY_PAYLOAD(OnLeaveCountdown, StartLeaveCountdown)
ROOM_RELAY_PAYLOAD(OnRoomChat, OnChatMessage)
ROOM_RELAY_PAYLOAD(OnChatBan, OnChatBan)

void CMainFrame::OnRoomCode58(CFieldTokenizer&) {}

void CMainFrame::OnPauseMessage(CFieldTokenizer& payload) {
  if (CGameRoom* room = ShownRoom()) {
    const std::weak_ptr<int> life = room->Life();
    room->OnPauseMessage(m_nDispatchCode, payload.GetText());
    if (!CGameRoom::Gone(life)) m_wRoomState = room->GetRoomState();
  }
  if (m_nDispatchCode == 523) m_bPaused = !m_bPaused;
}

void CMainFrame::OnContinueMessage(CFieldTokenizer& payload) {
  if (CGameRoom* room = ShownRoom()) {
    const std::weak_ptr<int> life = room->Life();
    room->OnContinueMessage(m_nDispatchCode, payload.GetText());
    if (!CGameRoom::Gone(life)) m_wRoomState = room->GetRoomState();
  }
  if (m_nDispatchCode == 525 && CRoomMessages::Split(payload.GetText()).size() == 2) m_bPaused = !m_bPaused;
}

void CMainFrame::OnReviewMessage(CFieldTokenizer& payload) {
  if (m_nDispatchCode == 528) {
    // A step-by-step review is always agreed to.
    SendAnswer(28, "|" + FieldOf(payload, 0) + "|" + FieldOf(payload, 1) + "|1|");
    return;
  }
  if (ShownRoom()) OpenReviewPlay(payload.GetText());
}

void CMainFrame::OnStalemateAnswer(CFieldTokenizer& payload) {
  CGameRoom* room = ShownRoom();
  if (!room) return;
  if (m_nDispatchCode == 546) {
    room->OnStalemateAgreed(payload.GetText());
    // The board no longer takes area marks: the stalemate button designates again.
    UpdateRoomButtons();
  } else {
    room->OnStalemateArea(payload.GetText());
  }
}

void CMainFrame::OnDrawMessage(CFieldTokenizer& payload) {
  if (m_nDispatchCode == 519) {
    if (CGameRoom* room = ShownRoom()) {
      const std::weak_ptr<int> life = room->Life();
      room->OnGameDrawn(payload.GetText());
      if (!CGameRoom::Gone(life)) m_wRoomState = room->GetRoomState();
    }
    return;
  }
  // Only a seated player answers; an observer is not asked.
  if (m_pGameRoom && !m_pGameRoom->IsSeatedPlayer()) return;
  StopRoomClock();
  bool yes = Ask("Opponent asks a drawn game.\nDo you agree?", kInform, MB_YESNO | MB_ICONQUESTION) == IDYES;
  SendAnswer(20, "|" + FieldOf(payload, 0) + "|" + FieldOf(payload, 1) + (yes ? "|1|" : "|0|"));
  if (!yes) StartRoomClock();
}

void CMainFrame::ShowRoomNotice(const CString& text) {
  if (CGameRoom* room = ShownRoom()) room->ShowNotice(text);
}

void CMainFrame::SetBoardGameMode(long mode) {
  if (CGameRoom* room = ShownRoom()) room->SetGameMode(mode);
}

void CMainFrame::LeaveDesignationMode() {
  if (CGameRoom* room = ShownRoom()) room->LeaveDesignationMode();
}

void CMainFrame::LeaveCountingMode() {
  if (CGameRoom* room = ShownRoom()) room->LeaveCountingMode();
}

void CMainFrame::ClearStalemateArea() {
  if (CGameRoom* room = ShownRoom()) room->ClearStalemateArea();
}

// ---------------------------------------------------------------------------------------------
// The room's host

BOOL CMainFrame::RunCapturedStonesDlg(const CString& text) {
  // The question sits in the frame's bottom-right corner, away from the board.
  CCapturedStonesConfirmDlg dialog(this);
  dialog.SetText(0, text);
  dialog.SetOption(0);
  if (m_hWnd) {
    CRect window;
    GetWindowRect(&window);
    dialog.SetAnchor(window.bottom, window.right);
  }
  return dialog.DoModal() == IDOK;
}

void CMainFrame::PlaySound(const char* file) { ::sndPlaySound(file, SND_ASYNC | SND_NODEFAULT); }

BOOL CMainFrame::StartTimer(UINT id, UINT ms) {
  return m_hWnd && ::SetTimer(m_hWnd, id, ms, RoomTimerProc) != 0;
}

void CMainFrame::StopTimer(UINT id) {
  if (m_hWnd) ::KillTimer(m_hWnd, id);
}

void CMainFrame::RoomTimerProc(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  auto* frame = dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(hwnd));
  if (!frame) return;
  if (id == kDeferredMovesTimer) {
    frame->OnDeferredMovesTimer();
  } else if (CGameRoom* room = frame->m_pGameRoom) {
    room->OnTimer(static_cast<UINT>(id));
  }
}

CString CMainFrame::GetLoginRole() { return m_pLoginRecord ? m_pLoginRecord->m_strRole : CString(); }

CString CMainFrame::GetRoomEntryText(int index) {
  if (!m_pLoginRecord) return CString();
  return index == 0 ? m_pLoginRecord->m_strRoomText2 : m_pLoginRecord->m_strRoomText1;
}

void CMainFrame::ClearDesignation() {
  m_bStonesDesignated = FALSE;
  m_bDesignationPending = FALSE;
}

void CMainFrame::BuildBoardText() {
  m_strCapturedText = "|";
  m_bCapturedTextReady = FALSE;
  if (!m_pGameRoom)
    return;
  CRoomBoard& board = m_pGameRoom->GetBoard();
  const CCapturedStoneList stones = CCapturedStoneList::Read(board);
  if (stones.count <= 0) {
    m_bDesignationPending = FALSE;
    return;
  }
  CString count;
  count.Format("%d", stones.count);
  m_strCapturedText = GetRoomPrefix() + (board.GetUserColor() == 2 ? "W" : "B") + "|" + count + stones.list;
  m_bCapturedTextReady = TRUE;
}

void CMainFrame::SendCapturedStones() {
  CGameRoom* room = ShownRoom();
  const std::weak_ptr<int> life = room ? room->Life() : std::weak_ptr<int>();
  if (!room || !RunCapturedStonesDlg("Do you wish to send captured stones?") || CGameRoom::Gone(life) || ShownRoom() != room)
    return;
  CRoomBoard& board = room->GetBoard();
  const CCapturedStoneList stones = CCapturedStoneList::Read(board);
  m_bDesignateToggle = !m_bDesignateToggle;
  if (stones.count <= 0) {
    Ask("Designate captured stones.", "Inform", MB_OK | MB_ICONINFORMATION);
    board.SetGameMode(1);
    board.SetGameMode(8192);
    return;
  }
  CString count;
  count.Format("%d", stones.count);
  SendCapturedList(count, stones.list);
  FlushRequests();
}

void CMainFrame::SendCapturedList(const CString& count, const CString& list) {
  SendGameRequest(17, count + list);
  m_bDesignationPending = TRUE;
}

void CMainFrame::UpdateRoomButtons() {
  CGameRoom* room = ShownRoom();
  CMainMenu* menu = GetMainMenu();
  if (!room || !menu) return;
  using namespace MenuButton;
  // While the board takes the area's marks, the stalemate button sends them.
  const bool marking = room->GetBoard().GetGameMode() >= CRoomState::kModeTerritory;
  menu->SetButtonFace(kStalemate, marking ? kStalemateSendFace : kStalemateFace);
  menu->SetButtonFace(kAskCounting, kAskCountingFace);
  const bool counting = (room->GetRoomState() & CRoomState::kCounting) != 0;
  menu->SetButtonFace(kAskEnd, counting ? kCountingDoneFace : kAskEndFace);
  menu->SetButtonFace(kPause, m_bPaused ? kResumeFace : kPauseFace);
}

void CMainFrame::EnableFinishButton() {
  if (CMainMenu* menu = GetMainMenu()) menu->EnableButton(MenuButton::kAskEnd, TRUE);
}

void CMainFrame::ForgetOwnStalemateArea() {
  m_bOwnStalemateArea = FALSE;
  m_strStalemateText.Empty();
}

// ---------------------------------------------------------------------------------------------
// The room view's own commands

void CMainFrame::ToggleObserverAdvice() {
  const char* question = m_bObserverAdvice ? "Do you wish to refuse observer's advice?" : "Do you permit observer's advice?";
  if (!AskAboutRoom(question, kConfirm, MB_YESNO | MB_ICONQUESTION)) return;
  if (!MaySendRoomRequest()) return;
  QueueRequest(5, 33, GetRoomPrefix() + (m_bObserverAdvice ? "0|" : "1|"), "1");
  FlushRequests();
  m_bObserverAdvice = !m_bObserverAdvice;
}

void CMainFrame::OnObserverAdvice(CFieldTokenizer& payload) {
  const CString word = payload.GetField(2);
  if (word == "1") {
    Ask("Observer's advice is available.", kInform, MB_OK | MB_ICONINFORMATION);
  } else if (word == "0") {
    Ask("Observer's advice is not available.", kInform, MB_OK | MB_ICONINFORMATION);
  }
}

void CMainFrame::SendRoomCode5(const CString& a, const CString& b, const CString& c, const CString& d) {
  if (!IsGameRoomActive()) return;
  QueueRequest(GetRoomCategory(), 5, "|" + a + "|" + b + "|" + c + "|" + d + "|", "1");
  FlushRequests();
}

void CMainFrame::SendStalemateArea() {
  CGameRoom* room = ShownRoom();
  if (!room) return;
  CRoomBoard& board = room->GetBoard();
  const LONG mode = board.GetGameMode();
  if (mode < CRoomState::kModeTerritory) {
    // The first press lets the board take the area's marks; the next one sends them.
    board.SetGameMode(mode + CRoomState::kModeTerritory);
    UpdateRoomButtons();
    return;
  }
  const CString points = board.GetBigPos(kOwnAreaMarks);
  if (points.IsEmpty()) {
    AfxMessageBox("You did not designate a stalemate area.");
    return;
  }
  CString count;
  count.Format("%d", static_cast<int>(CRoomMessages::Split(points).size()));
  // |W|R|count|p1|p2|...|: the opponent's 547 carries the same fields after the room prefix.
  SendGameRequest(46, count + points);
  m_bOwnStalemateArea = TRUE;
  m_strStalemateText = points;
  FlushRequests();
  UpdateRoomButtons();
}

void CMainFrame::RefreshRoomChatMacros() {
  if (auto* view = dynamic_cast<CDagukRoomView*>(m_nActiveViewId == kGameRoomView ? GetContentView() : nullptr))
    view->FillChatMacroCombo();
}

CString CMainFrame::GetSessionRoomText() const { return m_pLoginRecord ? m_pLoginRecord->m_strRoomText5 : CString(); }

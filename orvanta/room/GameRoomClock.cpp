// The game room: moves, clocks and loading a running game.
#include "orvanta/room/GameRoom.h"

#include <algorithm>
#include <cstdlib>

#include <platform/msgbox.h>
#include <platform/time.h>

#include "orvanta/room/GameRoomShared.h"
#include "orvanta/room/GiboFileName.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/ResultText.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/RoomHost.h"

using namespace gameroom;

// ---------------------------------------------------------------------------------------------
// Moves and clocks

void CGameRoom::OnBoardPosition(short row, short column) {
  // One move a turn: a second click (a double click) before the first one's echo sends nothing.
  if (row < 0 || column < 0 || m_bMoveSent) return;
  bool black = m_board.GetUserColor() == kBlack;
  CGameClock& clock = GetClock(black ? kBlack : kWhite);
  LONG before = clock.GetSeconds();
  LONG secondsLeft = clock.TimeForMove(false);
  if (clock.GetSeconds() != before) SetPane(black ? kBlackSeconds : kWhiteSeconds, CGameClock::SecondsText(clock.GetSeconds()));
  CString node = CString(black ? "B[" : "W[") + CRoomMessages::PointText(column, row) + "]";
  CString time = CString(black ? "BL[" : "WL[") + Number(secondsLeft) + "]";
  m_host.SendGameRequest(14, node + "|" + time + "|");
  m_host.Flush();
  m_bMoveSent = TRUE;
}

void CGameRoom::SendPass() {
  const short colour = m_board.GetUserColor();
  bool black = colour == kBlack;
  // A pass is a move: out of turn, or by no player, it is refused as the board refuses a click,
  // and nothing goes to the server.
  if ((colour != kBlack && colour != kWhite) || SideToMove() != colour) {
    SetMessage("It is not your turn.");
    return;
  }
  if (m_bMoveSent) return;
  CGameClock& clock = GetClock(black ? kBlack : kWhite);
  const LONG before = clock.GetSeconds();
  LONG secondsLeft = clock.TimeForMove(true);
  // A period begun afresh shows its full seconds at once, as after a move.
  if (clock.GetSeconds() != before) SetPane(black ? kBlackSeconds : kWhiteSeconds, CGameClock::SecondsText(clock.GetSeconds()));
  CString node = black ? "B[tt]" : "W[tt]";
  CString time = CString(black ? "BL[" : "WL[") + Number(secondsLeft) + "]";
  m_host.SendGameRequest(14, node + "|" + time + "|");
  m_host.Flush();
  m_bMoveSent = TRUE;
}

void CGameRoom::OnOpponentMove(const CString& payload) {
  CRoomMessages::Move move;
  // A node the board cannot take is dropped whole; a time that does not read is 0.
  if (!CRoomMessages::ReadMove(payload, move)) return;
  m_bMoveSent = FALSE;
  if (m_bSoundOn) m_host.PlaySound("am.wav");
  SetPane(kMoveNumber, Number(ToInt(move.number) + m_handicap));
  if (move.number != "0") {
    m_record.AppendMove(move.node, move.time);
  } else {
    m_record.AddSetupStone(move.node.Mid(2, 2));
  }
  if (m_moveCounter >= m_handicap) {
    CGameClock& clock = GetClock(move.colour);
    clock.ApplyServerTime(move.secondsLeft);
    if (clock.GetMainMs() == 0) {
      ShowClockPanes(move.colour);
      SetPane(move.colour == kBlack ? kBlackMain : kWhiteMain, "0");
    } else {
      SetPane(move.colour == kBlack ? kBlackMain : kWhiteMain, CGameClock::MainText(clock.GetMainMs()));
    }
  }
  ++m_moveCounter;
  m_board.SetDrawStone(move.row, move.column, move.colour, m_moveCounter);
  if (m_paneListener) m_paneListener(m_paneContext, kClockSide);
  if (m_myColour == kBlack || m_myColour == kWhite)
    SetMessage(move.colour != m_myColour ? "It is your turn." : "It is opponent's turn.");
}

void CGameRoom::OnBoardError(short code) {
  static const char* const kTexts[] = {"A stone is already in that place.",
                                       "It is not your turn.",
                                       "Your stone(s) will be captured if you play here.",
                                       "It is a wrong place",
                                       "It is last.",
                                       "It is first.",
                                       "System error.\nPlease close program and restart.",
                                       "It is a wrong placement"};
  if (code == 8) {
    m_host.SetStonesDesignated();
    return;
  }
  CString text = code >= 0 && code <= 7 ? kTexts[code] : "";
  if ((m_myColour == kBlack || m_myColour == kWhite) && !text.IsEmpty()) {
    SetMessage(text);
  } else {
    m_host.BuildBoardText();
  }
}

void CGameRoom::OnBoardNumOfEat(short colour, short count) {
  if (colour & kBlack) {
    m_capturedBlack += count;
  } else {
    m_capturedWhite += count;
  }
  ShowCaptured();
}

void CGameRoom::ShowCaptured() {
  SetPane(kBlackCaptured, Number(GetCaptured(kBlack)));
  SetPane(kWhiteCaptured, Number(GetCaptured(kWhite)));
}

short CGameRoom::SideToMove() { return m_board.GetLastColor() == kBlack ? kWhite : kBlack; }

short CGameRoom::GetTickingSide() {
  // The timer only takes time while the board plays.
  if (m_nGameTimer == 0 || !(m_board.GetGameMode() & CRoomState::kModePlay)) return 0;
  return SideToMove();
}

void CGameRoom::OnTimer(UINT id) {
  if (id == kGameClockTimer) {
    if (m_board.GetGameMode() & CRoomState::kModePlay) TickSideToMove();
  } else if (id == kBlinkTimer) {
    OnBlinkTick();
  } else if (id == kCountdownTimer) {
    OnCountdownTick();
  }
}

void CGameRoom::TickSideToMove() {
  const short side = SideToMove();
  ShowClockUpdate(side, GetClock(side).Tick());
}

void CGameRoom::UpdateClock(short colour) { ShowClockUpdate(colour, GetClock(colour).Advance()); }

void CGameRoom::ShowClockUpdate(short colour, const CGameClock::Update& update) {
  CGameClock& clock = GetClock(colour);
  bool black = colour == kBlack;
  int mainPane = black ? kBlackMain : kWhiteMain;
  int secondsPane = black ? kBlackSeconds : kWhiteSeconds;
  int periodsPane = black ? kBlackPeriods : kWhitePeriods;
  if (!update.inByoYomi) {
    SetPane(mainPane, CGameClock::MainText(clock.GetMainMs()));
    return;
  }
  bool mine = m_myColour == colour;
  if (update.timeUp) {
    if (mine) {
      m_host.SendClockState(m_myColour);
      m_host.Flush();
      SetPane(mainPane, "0");
      SetPane(secondsPane, "0 sec");
      StopClock();
      StopBlink();
    } else {
      SetPane(mainPane, "0");
      SetPane(secondsPane, "0 sec");
      SetPane(periodsPane, " 1 **");
      StopBlink();
    }
    return;
  }
  StartBlink();
  if (update.periodUsed) SetPane(periodsPane, CGameClock::PeriodsText(clock.GetPeriods()));
  SetPane(secondsPane, CGameClock::SecondsText(clock.GetSeconds()));
  if (m_bSoundOn && mine && (!update.lastPeriod || clock.GetSeconds() <= 10)) m_host.PlaySound("Notify.wav");
  SetPane(mainPane, "0");
}

BOOL CGameRoom::StartClock() {
  if (m_nGameTimer != 0) return TRUE;
  if (!m_host.StartTimer(kGameClockTimer, kTick)) return FALSE;
  m_nGameTimer = kGameClockTimer;
  if (m_paneListener) m_paneListener(m_paneContext, kClockSide);
  return TRUE;
}

void CGameRoom::StopClock() {
  if (m_nGameTimer == 0) return;
  m_host.StopTimer(kGameClockTimer);
  m_nGameTimer = 0;
  if (m_paneListener) m_paneListener(m_paneContext, kClockSide);
}

void CGameRoom::StartBlink() {
  m_bBlinkPhase = TRUE;
  // Started again each time: a timer someone else stopped comes back with the next tick.
  if (m_host.StartTimer(kBlinkTimer, kBlinkMs)) m_nBlinkTimer = kBlinkTimer;
}

void CGameRoom::StopBlink() {
  m_bBlinkPhase = FALSE;
  m_nBlinkingSide = 0;
  if (m_nBlinkTimer == 0) return;
  m_host.StopTimer(kBlinkTimer);
  m_nBlinkTimer = 0;
}

void CGameRoom::OnBlinkTick() {
  if (m_nGameTimer == 0) {
    StopBlink();
    return;
  }
  // The side to move shows the current phase, the other side the normal look; then it flips.
  m_nBlinkingSide = GetClock(SideToMove()).GetMainMs() == 0 ? SideToMove() : 0;
  if (m_paneListener) {
    m_paneListener(m_paneContext, kBlackSeconds);
    m_paneListener(m_paneContext, kWhiteSeconds);
  }
  m_bBlinkPhase = !m_bBlinkPhase;
}

BOOL CGameRoom::IsPaneBlinking(short colour) const {
  return m_nBlinkTimer != 0 && m_bBlinkPhase && m_nBlinkingSide == colour;
}

void CGameRoom::StopCountdown() {
  if (m_nCountdownTimer != 0) m_host.StopTimer(kCountdownTimer);
  m_nCountdownTimer = 0;
}

void CGameRoom::StartLeaveCountdown(const CString& payload) {
  StopCountdown();
  m_nCountdownLimit = ToInt(Field(CRoomMessages::Split(payload), 2));
  m_nCountdownCounter = 0;
  if (m_host.StartTimer(kCountdownTimer, kTick)) m_nCountdownTimer = kCountdownTimer;
}

void CGameRoom::OnCountdownTick() {
  if (m_nCountdownCounter < m_nCountdownLimit) {
    ++m_nCountdownCounter;
    return;
  }
  m_nCountdownCounter = m_nCountdownLimit = 0;
  StopCountdown();
  StopClock();
  StopBlink();
  m_host.SendLeaveAfterCountdown(m_host.GetRoomEntryText(0), m_host.GetRoomEntryText(1));
}

void CGameRoom::StartGameClock(const CString&) {
  SetRoomStatus(1);
  StartClock();
  if (!m_host.IsReconnecting()) return;
  CString me = m_host.GetOwnId();
  CString role = m_host.GetLoginRole();
  if (me == GetPaneText(kBlackName) && role == m_blackHost) {
    SetRole(CRoomState::kBlackRole);
    m_board.SetMyTurn(0);
  } else if (me == GetPaneText(kWhiteName) && role == m_whiteHost) {
    SetRole(CRoomState::kWhiteRole);
    m_board.SetMyTurn(1);
  } else {
    SetRole(CRoomState::kObserverRole);
  }
  m_state.BeginPlaying(m_myColour);
  m_host.ClearReconnecting();
}

// ---------------------------------------------------------------------------------------------
// Loading a running game

void CGameRoom::DrawSetupStones() {
  short x = 0, y = 0;
  m_moveCounter = 0;
  while (m_record.GetSetupStone(x, y)) m_board.SetDrawStone(y, x, kBlack, ++m_moveCounter);
}

void CGameRoom::BlockLink(BOOL block) {
  m_bLinkBlocked = block;
  m_host.SetLinkBlocking(block);
}

void CGameRoom::OnGameInProgress(const CString&) {
  // Blocking from here until the game's moves are on the board (or the room is left).
  BlockLink(TRUE);
  if (m_bKeepCondition) m_board.SetGameMode(CRoomState::kModePlay);
  m_handicap = std::max<short>(m_record.GetHandicap(), 0);
  m_board.SetNumOfAdvatage(m_myColour == kWhite ? static_cast<short>(-m_handicap) : m_handicap);
  if (m_state.HasPhase(CRoomState::kEnded)) SetStatus(CResultText::FormatResult(m_record.GetResult()));
  CString komi;
  m_record.GetKomi(komi);
  SetPane(kCondition, CResultText::LateCondition(m_handicap, komi));
  CString a, b, c, d;
  m_record.GetBlackPlayer(a, b, c, d);
  m_blackHost = a;
  SetPane(kBlackName, b);
  SetPane(kBlackSecond, d);
  m_record.GetWhitePlayer(a, b, c, d);
  m_whiteHost = a;
  SetPane(kWhiteName, b);
  SetPane(kWhiteSecond, d);
  if (!m_bKeepCondition) {
    short seconds = 0, periods = 0;
    m_record.GetOvertime(seconds, periods);
    StartClocks(m_record.GetTimeLimit(), seconds, periods);
  }
  DrawSetupStones();
  SetPane(kMoveNumber, Number(m_moveCounter));
  if (m_nPendingStatus == 6) {
    SetRoomStatus(6);
    SetRole(m_myColour == kBlack ? 64 : m_myColour == kWhite ? 128 : 256);
    m_nPendingStatus = 0;
  }
  if (m_host.IsReconnecting()) {
    CString me = m_host.GetOwnId();
    CString role = m_host.GetLoginRole();
    bool black = me == GetPaneText(kBlackName) && role == m_blackHost;
    m_myColour = black ? kBlack : kWhite;
    m_board.SetUserColor(m_myColour);
    m_board.SetGameMode(CRoomState::kModePlay);
    m_state.BeginPlaying(m_myColour);
    m_board.SetMyTurn(black ? 0 : 1);
    StartClock();
    SetStatus("In Playing");
  }
}

void CGameRoom::ApplyRecordClocks() {
  LONG blackLeft = -1, whiteLeft = -1;
  if (!m_record.GetTimesLeft(blackLeft, whiteLeft)) return;
  for (short colour : {kBlack, kWhite}) {
    LONG left = colour == kBlack ? blackLeft : whiteLeft;
    if (left < 0) continue;
    CGameClock& clock = GetClock(colour);
    clock.ApplyServerTime(left);
    // A period begun counts as one of those left.
    if (clock.GetMainMs() == 0 && clock.GetPeriods() != clock.GetPeriodCount()) clock.SetPeriods(clock.GetPeriods() + 1);
    ShowClockPanes(colour);
  }
}

void CGameRoom::ReplayMovesOnBoard(const CString&) {
  short x = 0, y = 0, colour = 0;
  LONG time = 0;
  m_record.MoveTo(CGiboRecord::kFirstNode);
  while (m_record.GetMove(x, y, colour, time)) m_board.SetDrawStone(y, x, colour, ++m_moveCounter);
  m_board.Redraw(-1, -1);
  SetPane(kMoveNumber, Number(m_moveCounter));
  if (!m_bKeepCondition) ApplyRecordClocks();
  if (m_nPendingStatus != 0) {
    SetRoomStatus(m_nPendingStatus);
    m_nPendingStatus = 0;
  }
  if (m_state.HasPhase(CRoomState::kPlaying)) StartClock();
  if (m_bKeepCondition) {
    m_board.SetGameMode(m_savedGameMode);
    m_bKeepCondition = FALSE;
  }
  m_host.EndRoomWait();
  if (m_bAcknowledge) {
    m_host.SendGameRequest(40, CString());
    m_host.Flush();
    m_bAcknowledge = FALSE;
  }
  BlockLink(FALSE);
}

void CGameRoom::ClearBoardKeepingSeat() {
  // The control's Init forgets whose board it is; the seat outlives the stones. The user's colour
  // starts the turn again from the first move, and the moves drawn after this move it on.
  const short colour = m_board.GetUserColor();
  m_bMoveSent = FALSE;
  m_board.Init();
  m_board.SetUserColor(colour);
}

void CGameRoom::RedrawFromRecord() {
  const LONG mode = m_board.GetGameMode();
  ClearBoardKeepingSeat();
  m_handicap = std::max<short>(m_record.GetHandicap(), 0);
  m_board.SetNumOfAdvatage(m_myColour == kWhite ? static_cast<short>(-m_handicap) : m_handicap);
  DrawSetupStones();
  short x = 0, y = 0, colour = 0;
  LONG time = 0;
  m_record.MoveTo(CGiboRecord::kFirstNode);
  while (m_record.GetMove(x, y, colour, time)) m_board.SetDrawStone(y, x, colour, ++m_moveCounter);
  m_board.SetGameMode(mode);
  m_board.Redraw(-1, -1);
}

void CGameRoom::RestoreGame(const CString& payload) {
  m_record.SetText(Field(CRoomMessages::Split(payload), 2));
  CString blackHost, blackId, whiteHost, whiteId, c, d;
  m_record.GetBlackPlayer(blackHost, blackId, c, d);
  m_record.GetWhitePlayer(whiteHost, whiteId, c, d);
  if (!IsUserInRoom(blackHost, blackId)) OnPlayerLeft("|" + blackHost + "|" + blackId + "|");
  if (!IsUserInRoom(whiteHost, whiteId)) OnPlayerLeft("|" + whiteHost + "|" + whiteId + "|");
  // The stored game says who plays it: a user it names takes his colour in it, whether or not he
  // sat on a seat when he came into the room.
  const CString me = m_host.GetOwnId();
  if (!me.IsEmpty() && me == blackId) {
    m_myColour = kBlack;
  } else if (!me.IsEmpty() && me == whiteId) {
    m_myColour = kWhite;
  }
  // The stored game is the whole position: nothing of what the board held before stays, but the
  // user keeps his seat on it.
  ClearBoardKeepingSeat();
  m_board.Redraw(-2, -2);
  SetRoomStatus(1);
  SetRole(CRoomState::RoleOf(m_myColour));
  m_capturedBlack = m_capturedWhite = m_deadBlack = m_deadWhite = 0;
  ShowCaptured();
  OnGameInProgress(CString());
  ReplayMovesOnBoard(CString());
}

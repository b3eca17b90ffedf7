#include "orvanta/room/GameRoom.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include <platform/files.h>
#include <platform/msgbox.h>
#include <platform/time.h>

#include "orvanta/room/GiboFileName.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/ResultText.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/RoomHost.h"

namespace {

constexpr short kBlack = 2;
constexpr short kWhite = 4;
constexpr short kDieMask = 32;
constexpr short kBlackStalemate = 256;
constexpr short kOwnStalemate = 512;
constexpr int kBoardPoints = 361;

CString Number(long value) {
  CString text;
  text.Format("%ld", value);
  return text;
}

// The points of a text of two letters a point, one after the other (the board's GetBigPos).
std::vector<int> PointsOf(const CString& text) {
  std::vector<int> points;
  for (int i = 0; i + 1 < text.GetLength(); i += 2) {
    int index = CRoomMessages::PointIndex(text.Mid(i, 2));
    if (index >= 0) points.push_back(index);
  }
  return points;
}

CString Field(const std::vector<CString>& fields, std::size_t index) {
  return index < fields.size() ? fields[index] : CString();
}

}  // namespace

CGameRoom::CGameRoom(CRoomBoard& board, CRoomHost& host, CGiboRecord& record)
    : m_board(board), m_host(host), m_record(record) {
  m_panes[kBlackCaptured] = "0";
  m_panes[kWhiteCaptured] = "0";
}

int CGameRoom::ToInt(const CString& text) { return std::atoi(text); }

void CGameRoom::SetPaneListener(void (*listener)(void*, int), void* context) {
  m_paneListener = listener;
  m_paneContext = context;
}

void CGameRoom::SetPane(int pane, const CString& text) {
  m_panes[pane] = text;
  if (m_paneListener) m_paneListener(m_paneContext, pane);
}

CString CGameRoom::GetPaneText(int pane) const {
  auto found = m_panes.find(pane);
  return found == m_panes.end() ? CString() : found->second;
}

int CGameRoom::GetCaptured(short colour) const {
  return colour == kBlack ? m_capturedBlack + m_deadBlack : m_capturedWhite + m_deadWhite;
}

// ---------------------------------------------------------------------------------------------
// Room contents and state

void CGameRoom::ResetRoom() {
  m_record.Reset();
  m_board.Init();
  m_board.Redraw(-2, -2);
  StopClock();
  StopBlink();
  StopCountdown();
  m_capturedBlack = m_capturedWhite = m_deadBlack = m_deadWhite = 0;
  m_myColour = 0;
  m_moveCounter = 0;
  m_state.SetWord(CRoomState::kWaiting);
  ShowCaptured();
  for (int pane : {kBlackName, kWhiteName, kBlackSecond, kWhiteSecond, kMessage}) SetPane(pane, CString());
  SetPane(kCondition, "0");
  if (!m_bKeepCondition) {
    m_black.Clear();
    m_white.Clear();
    m_blackHost.Empty();
    m_whiteHost.Empty();
    for (int pane : {kBlackMain, kWhiteMain, kMoveNumber, kBlackSeconds, kWhiteSeconds, kBlackPeriods, kWhitePeriods})
      SetPane(pane, CString());
    SetStatus("In waiting");
    m_bBlackSeated = m_bWhiteSeated = FALSE;
    m_bBlinkPhase = FALSE;
    m_state.SetSubStatus(CRoomState::kIdle);
  }
  m_bKeepCondition = FALSE;
}

void CGameRoom::SetRoomStatus(int status) {
  CRoomState::StatusChange change = m_state.SetRoomStatus(status);
  m_board.SetGameMode(change.gameMode);
  if (change.counting) m_host.SetEndRequested(TRUE);
  if (change.text) {
    SetStatus(change.text);
  } else if (change.resultText && !m_record.GetResult().IsEmpty()) {
    SetStatus(CResultText::FormatResult(m_record.GetResult()));
  }
}

void CGameRoom::SetRole(int role) {
  short colour = m_state.SetRole(role);
  if (colour != 0) {
    m_myColour = colour;
    m_board.SetUserColor(colour);
  }
}

void CGameRoom::OnRoomMessage(int code, const CString& payload) {
  if (payload.IsEmpty()) return;
  if (code == 53) {
    std::vector<CString> fields = CRoomMessages::Split(payload);
    CString entry = "|1";
    for (std::size_t i = 1; i <= 4; ++i) entry += "|" + Field(fields, i);
    UpdateObserverList(entry + "|", 0);
  } else if (code == 511) {
    OnEnterRoom(payload);
  } else if (code == 512) {
    OnMatchStart(payload);
  }
}

void CGameRoom::OnEnterRoom(const CString& payload) {
  CRoomMessages::EnterRoom room = CRoomMessages::ReadEnterRoom(payload);
  if (room.hasPlayers) SetPlayers(room.seats, room.players);
  if (room.hasObservers) {
    m_observers.clear();
    for (const CRoomMessages::Person& person : room.observers) {
      if (!IsUserInRoom(person.host, person.id)) m_observers.push_back(person);
    }
  }
  if (room.hasMoveNumber) SetPane(kMoveNumber, room.moveNumber);
  if (m_paneListener) m_paneListener(m_paneContext, kObserverList);
}

void CGameRoom::SetPlayers(const CString& seats, const std::vector<CRoomMessages::Person>& players) {
  if (seats == "N") {
    m_bBlackSeated = m_bWhiteSeated = FALSE;
  } else if (seats == "B" && !players.empty()) {
    m_bBlackSeated = TRUE;
    SetPane(kBlackName, players[0].id);
    m_blackHost = players[0].host;
  } else if (seats == "W" && !players.empty()) {
    // The single entry's host is the white player's.
    m_bWhiteSeated = TRUE;
    SetPane(kWhiteName, players[0].id);
    m_whiteHost = players[0].host;
  } else if (seats == "A" && players.size() >= 2) {
    m_bBlackSeated = m_bWhiteSeated = TRUE;
    SetPane(kBlackName, players[0].id);
    m_blackHost = players[0].host;
    SetPane(kWhiteName, players[1].id);
    m_whiteHost = players[1].host;
  }
}

BOOL CGameRoom::IsUserInRoom(const CString& host, const CString& id) const {
  if (id == GetPaneText(kBlackName) && host == m_blackHost) return TRUE;
  if (id == GetPaneText(kWhiteName) && host == m_whiteHost) return TRUE;
  return std::any_of(m_observers.begin(), m_observers.end(),
                     [&](const CRoomMessages::Person& p) { return p.host == host && p.id == id; });
}

void CGameRoom::UpdateObserverList(const CString& text, int mode) {
  if (mode != 0) m_observers.clear();
  for (CRoomMessages::Person person : CRoomMessages::ReadObserverList(text)) {
    person.fourth.Trim();
    if (!IsUserInRoom(person.host, person.id)) m_observers.push_back(person);
  }
  if (m_paneListener) m_paneListener(m_paneContext, kObserverList);
}

void CGameRoom::OnPlayerLeft(const CString& payload) {
  std::vector<CString> fields = CRoomMessages::Split(payload);
  CString host = Field(fields, 0);
  CString id = Field(fields, 1);
  bool black = id == GetPaneText(kBlackName) && host == m_blackHost;
  bool white = !black && id == GetPaneText(kWhiteName) && host == m_whiteHost;
  if (m_state.GetWord() != 0 && (black || white)) {
    if (m_state.OnPlayerLeft()) {
      StopClock();
      SetStatus("In recess");
      m_board.SetGameMode(CRoomState::kModeNone);
    }
    m_host.UpdateButtonsForEvent(98, id);
    (black ? m_bBlackSeated : m_bWhiteSeated) = FALSE;
  }
  std::erase_if(m_observers, [&](const CRoomMessages::Person& p) { return p.host == host && p.id == id; });
  if (m_paneListener) m_paneListener(m_paneContext, kObserverList);
}

void CGameRoom::AppendChat(const CString& line) {
  // The oldest lines go, a whole line at a time, until the new one fits.
  std::string text = m_chat.str();
  std::size_t room = static_cast<std::size_t>(kChatLimit);
  std::size_t length = static_cast<std::size_t>(line.GetLength());
  if (length >= room) {
    m_chat = line.Right(kChatLimit);
    if (m_paneListener) m_paneListener(m_paneContext, kChatOutput);
    return;
  }
  while (!text.empty() && text.size() + length > room) {
    std::size_t end = text.find('\n');
    text.erase(0, end == std::string::npos ? text.size() : end + 1);
  }
  m_chat = (text + line.str()).c_str();
  if (m_paneListener) m_paneListener(m_paneContext, kChatOutput);
}

void CGameRoom::OnChatMessage(const CString& payload) {
  if (payload.IsEmpty()) return;
  std::vector<CString> fields = CRoomMessages::Split(payload);
  AppendChat("[" + Field(fields, 3) + "]" + Field(fields, 6) + "\r\n");
}

void CGameRoom::OnChatBan(const CString& payload) {
  std::vector<CString> fields = CRoomMessages::Split(payload);
  CString name = Field(fields, 3);
  AppendChat("*---" + name + (Field(fields, 4) == "1" ? Cp949("님 쳇팅금지---*\r\n") : Cp949("님 쳇팅금지 해제---*\r\n")));
}

// ---------------------------------------------------------------------------------------------
// Match start

void CGameRoom::StartClocks(LONG mainSeconds, short periodSeconds, short periods) {
  m_black.Start(mainSeconds, periodSeconds, periods);
  m_white.Start(mainSeconds, periodSeconds, periods);
  ShowClockPanes(kBlack);
  ShowClockPanes(kWhite);
}

void CGameRoom::ShowClockPanes(short colour) {
  const CGameClock& clock = GetClock(colour);
  bool black = colour == kBlack;
  SetPane(black ? kBlackMain : kWhiteMain, clock.GetMainMs() > 0 || !clock.IsInByoYomi()
                                               ? CGameClock::MainText(clock.GetMainMs())
                                               : CString("0"));
  SetPane(black ? kBlackSeconds : kWhiteSeconds, CGameClock::SecondsText(clock.GetSeconds()));
  SetPane(black ? kBlackPeriods : kWhitePeriods, CGameClock::PeriodsText(clock.GetPeriods()));
}

void CGameRoom::OnMatchStart(const CString& payload) {
  CRoomMessages::Condition condition = CRoomMessages::ReadCondition(payload);
  m_state.SetSubStatus(CRoomState::kInPlay);
  m_bBlackSeated = m_bWhiteSeated = TRUE;
  m_blackHost = condition.black.host;
  m_whiteHost = condition.white.host;
  SetPane(kBlackName, condition.black.id);
  SetPane(kWhiteName, condition.white.id);
  SetPane(kBlackSecond, condition.black.fourth);
  SetPane(kWhiteSecond, condition.white.fourth);
  m_capturedBlack = m_capturedWhite = m_deadBlack = m_deadWhite = 0;
  ShowCaptured();
  StartClocks(condition.mainSeconds, condition.periodSeconds, condition.periods);
  m_handicap = condition.handicap;
  SetPane(kMoveNumber, Number(m_handicap));
  SetPane(kCondition, CResultText::MatchCondition(condition.handicap, condition.komi));

  if (!StartClock()) {
    m_host.AskUser("System timer stops now.\nYou cannot start properly.", "Error", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CString me = m_host.GetOwnId();
  if (me == condition.black.id) {
    m_myColour = kBlack;
    m_board.SetUserColor(kBlack);
    m_board.SetNumOfAdvatage(m_handicap);
  } else if (me == condition.white.id) {
    m_myColour = kWhite;
    m_board.SetUserColor(kWhite);
    m_board.SetNumOfAdvatage(static_cast<short>(-m_handicap));
  } else {
    m_myColour = 1;
    m_board.SetUserColor(1);
  }
  m_board.SetGameMode(CRoomState::kModePlay);
  m_state.BeginPlaying(m_myColour);
  InitRecordFromCondition(condition);
  SetStatus("In Playing");
  SetMessage("The match has started.");
}

void CGameRoom::InitRecordFromCondition(const CRoomMessages::Condition& c) {
  m_record.SetBlackPlayer(c.black.host, c.black.id, c.black.third, c.black.fourth);
  m_record.SetWhitePlayer(c.white.host, c.white.id, c.white.third, c.white.fourth);
  m_record.SetResult("?");
  m_record.SetRootInfo(c.timeText, c.periodSecondsText + ":" + c.periodsText,
                       CTime::GetCurrentTime().Format("%Y-%m-%d"), c.komi, c.handicapText);
}

// ---------------------------------------------------------------------------------------------
// Moves and clocks

void CGameRoom::OnBoardPosition(short row, short column) {
  if (row < 0 || column < 0) return;
  bool black = m_board.GetUserColor() == kBlack;
  CGameClock& clock = GetClock(black ? kBlack : kWhite);
  LONG before = clock.GetSeconds();
  LONG secondsLeft = clock.TimeForMove(false);
  if (clock.GetSeconds() != before) SetPane(black ? kBlackSeconds : kWhiteSeconds, CGameClock::SecondsText(clock.GetSeconds()));
  CString node = CString(black ? "B[" : "W[") + CRoomMessages::PointText(column, row) + "]";
  CString time = CString(black ? "BL[" : "WL[") + Number(secondsLeft) + "]";
  m_host.SendGameRequest(14, node + "|" + time + "|");
  m_host.Flush();
}

void CGameRoom::SendPass() {
  bool black = m_board.GetUserColor() == kBlack;
  LONG secondsLeft = GetClock(black ? kBlack : kWhite).TimeForMove(true);
  CString node = black ? "B[tt]" : "W[tt]";
  CString time = CString(black ? "BL[" : "WL[") + Number(secondsLeft) + "]";
  m_host.SendGameRequest(14, node + "|" + time + "|");
  m_host.Flush();
}

void CGameRoom::OnOpponentMove(const CString& payload) {
  CRoomMessages::Move move;
  // A node the board cannot take is dropped whole: half a move would put the room out of step.
  if (!CRoomMessages::ReadMove(payload, move)) return;
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
  short side = SideToMove();
  CGameClock& clock = GetClock(side);
  if (clock.GetMainMs() > 0) clock.SetMainMs(std::max<LONG>(clock.GetMainMs() - 1000, 0));
  UpdateClock(side);
}

void CGameRoom::UpdateClock(short colour) {
  CGameClock& clock = GetClock(colour);
  bool black = colour == kBlack;
  int mainPane = black ? kBlackMain : kWhiteMain;
  int secondsPane = black ? kBlackSeconds : kWhiteSeconds;
  int periodsPane = black ? kBlackPeriods : kWhitePeriods;
  CGameClock::Update update = clock.Advance();
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
  return TRUE;
}

void CGameRoom::StopClock() {
  if (m_nGameTimer == 0) return;
  m_host.StopTimer(kGameClockTimer);
  m_nGameTimer = 0;
}

void CGameRoom::StartBlink() {
  m_bBlinkPhase = TRUE;
  if (m_nBlinkTimer != 0) return;
  if (m_host.StartTimer(kBlinkTimer, kBlinkMs)) m_nBlinkTimer = kBlinkTimer;
}

void CGameRoom::StopBlink() {
  m_bBlinkPhase = FALSE;
  if (m_nBlinkTimer == 0) return;
  m_host.StopTimer(kBlinkTimer);
  m_nBlinkTimer = 0;
}

void CGameRoom::OnBlinkTick() {
  if (m_nGameTimer == 0) {
    StopBlink();
    return;
  }
  short side = SideToMove();
  if (GetClock(side).GetMainMs() == 0 && m_paneListener)
    m_paneListener(m_paneContext, side == kBlack ? kBlackSeconds : kWhiteSeconds);
  m_bBlinkPhase = !m_bBlinkPhase;
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

void CGameRoom::OnGameInProgress(const CString&) {
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
}

void CGameRoom::RedrawFromRecord() {
  m_board.Init();
  m_handicap = std::max<short>(m_record.GetHandicap(), 0);
  m_board.SetNumOfAdvatage(m_myColour == kWhite ? static_cast<short>(-m_handicap) : m_handicap);
  DrawSetupStones();
  short x = 0, y = 0, colour = 0;
  LONG time = 0;
  m_record.MoveTo(CGiboRecord::kFirstNode);
  while (m_record.GetMove(x, y, colour, time)) m_board.SetDrawStone(y, x, colour, ++m_moveCounter);
  m_board.Redraw(-1, -1);
}

void CGameRoom::RestoreGame(const CString& payload) {
  m_record.SetText(Field(CRoomMessages::Split(payload), 2));
  CString a, b, c, d;
  m_record.GetBlackPlayer(a, b, c, d);
  if (!IsUserInRoom(a, b) && !(b == GetPaneText(kBlackName) && a == m_blackHost)) OnPlayerLeft("|" + a + "|" + b + "|");
  m_record.GetWhitePlayer(a, b, c, d);
  if (!IsUserInRoom(a, b) && !(b == GetPaneText(kWhiteName) && a == m_whiteHost)) OnPlayerLeft("|" + a + "|" + b + "|");
  SetRoomStatus(1);
  SetRole(CRoomState::RoleOf(m_myColour));
  OnGameInProgress(CString());
  ReplayMovesOnBoard(CString());
}

// ---------------------------------------------------------------------------------------------
// Requests and answers

void CGameRoom::Answer(short minor, const CString& payload, BOOL yes) {
  std::vector<CString> fields = CRoomMessages::Split(payload);
  m_host.SendAnswer(minor, "|" + Field(fields, 0) + "|" + Field(fields, 1) + (yes ? "|1|" : "|0|"));
}

BOOL CGameRoom::AskYesNo(const CString& text, UINT icon) {
  return m_host.AskUser(text, "Inform", MB_YESNO | icon) == IDYES;
}

void CGameRoom::OnUndoRequest(int code, const CString& payload) {
  if (code == 516) {
    StopClock();
    Answer(16, payload, AskYesNo("Opponent requests undo(retraction).\nDo you agree?", MB_ICONQUESTION));
    StartClock();
    return;
  }
  // 515: the server's move number after the undo; the moves above it come off.
  int oldNumber = ToInt(GetPaneText(kMoveNumber));
  int next = ToInt(Field(CRoomMessages::Split(payload), 2)) + m_handicap;
  SetPane(kMoveNumber, Number(next - 1));
  StartClock();
  int takeBack = std::clamp(oldNumber + 1 - next, 0, std::max<int>(m_moveCounter - m_handicap, 0));
  short last = 0;
  for (int i = 0; i < takeBack; ++i) {
    --m_moveCounter;
    last = m_board.GetLastColor();
    m_record.RemoveLastMove();
    m_board.RemoveStone(-1);
    short changed = m_board.GetChangedCount();
    if (changed > 1) {
      // The stones the move had captured are back on the board.
      if (last & kWhite) {
        m_capturedBlack -= changed - 1;
      } else {
        m_capturedWhite -= changed - 1;
      }
      ShowCaptured();
    }
  }
  last = m_board.GetLastColor();
  if (m_myColour == kBlack || m_myColour == kWhite) SetMessage(m_myColour == last ? "It's not yout turn." : "It's your turn.");
  m_host.ClearUndoPending();
}

void CGameRoom::AddCheckStoneMode() {
  LONG mode = m_board.GetGameMode();
  m_board.SetGameMode(mode >= CRoomState::kModeTerritory ? mode | CRoomState::kModeCheckStone
                                                         : CRoomState::kModeCheckStone);
}

void CGameRoom::ShowDeadStones(const CRoomMessages::DeadStones& stones) {
  short mask = stones.black ? 34 : 36;
  for (int index : stones.points) m_board.SetStone(static_cast<short>(index / 19), static_cast<short>(index % 19), mask);
}

void CGameRoom::RemoveDeadStones(const CRoomMessages::DeadStones& stones) {
  if (m_myColour != kBlack && m_myColour != kWhite) ShowDeadStones(stones);
  m_board.RemoveStone(kDieMask);
}

void CGameRoom::OnDesignationMessage(int code, const CString& payload) {
  CRoomMessages::DeadStones stones = CRoomMessages::ReadDeadStones(payload);
  if (code == 518) {
    if (m_host.IsStonesDesignated()) {
      m_host.BuildBoardText();
      m_host.ClearDesignation();
    }
    LONG mode = m_board.GetGameMode();
    AddCheckStoneMode();
    ShowDeadStones(stones);
    BOOL yes = m_host.RunCapturedStonesDlg("Do you agree to designating captured stones?");
    Answer(18, payload, yes);
    m_board.SetGameMode(mode);
    if (yes) {
      SetMessage("You agree to designating captured stones.");
    } else {
      m_host.ClearDesignation();
      m_board.UnCheckStone(kDieMask);
      m_board.Redraw(-1, -1);
      SetMessage("Ask for designating captured stones is rejected.");
    }
    return;
  }
  // 517: the dead stones count as captured ones of their colour.
  (stones.black ? m_deadBlack : m_deadWhite) += static_cast<int>(stones.points.size());
  ShowCaptured();
  RemoveDeadStones(stones);
  m_host.ClearDesignation();
  AddCheckStoneMode();
  m_board.Redraw(-1, -1);
  m_state.SetSubStatus(CRoomState::kDeadAgreed);
}

void CGameRoom::OnFinishMessage(int code, const CString& payload) {
  switch (code) {
    case 522: {
      BOOL yes = AskYesNo("Opponent requests designating captured stones.\nDo you agree?", MB_ICONQUESTION);
      Answer(22, payload, yes);
      if (!yes) {
        StartClock();
        m_host.EnableFinishButton();
      }
      return;
    }
    case 535:
      Answer(35, payload, AskYesNo("Opponent cancels finishing game.\nDo you agree?", MB_ICONQUESTION));
      return;
    case 521:
      if (m_myColour == kBlack || m_myColour == kWhite) {
        SetMessage("Send after designating your opponent's captured stones.");
      } else {
        SetMessage("Game is finished.");
      }
      m_state.BeginCounting(m_myColour);
      m_board.SetGameMode(CRoomState::kModeCheckStone);
      m_state.SetSubStatus(CRoomState::kDesignating);
      StopClock();
      StopBlink();
      SetStatus("Move complete");
      m_host.ClearReconnecting();
      m_host.ToggleEndRequested();
      return;
    case 534:
      SetMessage("Restarting match.");
      m_state.BeginPlaying(m_myColour);
      m_board.SetGameMode(CRoomState::kModePlay);
      m_capturedBlack = m_capturedWhite = m_deadBlack = m_deadWhite = 0;
      ShowCaptured();
      RedrawFromRecord();
      StartClock();
      m_host.ToggleEndRequested();
      m_host.UpdateRoomButtons();
      SetStatus("In Playing");
      return;
    default:
      return;
  }
}

void CGameRoom::OnPauseMessage(int code, const CString& payload) {
  if (code == 524) {
    StopClock();
    BOOL yes = AskYesNo("Opponent requests a pause game.\nDo you agree?", MB_ICONQUESTION);
    Answer(24, payload, yes);
    if (!yes) StartClock();
    return;
  }
  m_board.SetGameMode(CRoomState::kModeNone);
  m_state.SetSubStatus(CRoomState::kInRecess);
  StopClock();
  SetStatus("In Recess");
  SetMessage("It's in recess.");
}

void CGameRoom::OnContinueMessage(int code, const CString& payload) {
  std::vector<CString> fields = CRoomMessages::Split(payload);
  if (code == 526) {
    Answer(26, payload, AskYesNo("There is a request for continued play.\nDo you accept?", MB_ICONQUESTION));
    return;
  }
  if (code == 527) {
    CString who = Field(fields, 2);
    if (who == GetPaneText(kBlackName)) m_bBlackSeated = TRUE;
    if (who == GetPaneText(kWhiteName)) m_bWhiteSeated = TRUE;
    SetMessage(who + " has entered the room.");
    return;
  }
  if (fields.size() == 2) {
    m_board.SetGameMode(CRoomState::kModePlay);
    // Only the recess bit comes off: a pause never set it, and the colour bits must stay.
    m_state.ClearRecess();
    StartClock();
  } else {
    RestoreGame(payload);
  }
  m_state.SetSubStatus(CRoomState::kInPlay);
  SetStatus("In Playing");
  SetMessage("Game is processing again.");
  m_bBlackSeated = m_bWhiteSeated = TRUE;
}

void CGameRoom::OnResumeRequest(int code, const CString& payload) {
  if (code == 542) {
    Answer(42, payload, AskYesNo("Opponent requests to continue the game.\nDo you agree?", MB_ICONINFORMATION));
    return;
  }
  RestoreGame(payload);
  SetStatus("In Playing");
  SetMessage("Play is started.");
}

void CGameRoom::ShowOwners(const CString& owners) {
  m_board.SetGameMode(CRoomState::kModeNone | CRoomState::kModeResult);
  int count = std::min(owners.GetLength(), kBoardPoints);
  for (int i = 0; i < count; ++i) {
    char owner = owners[i];
    short mask = owner == '1' ? kBlack : owner == '2' ? kWhite : 1;
    m_board.SetStone(static_cast<short>(i % 19), static_cast<short>(i / 19), mask);
  }
  m_board.Redraw(-1, -1);
}

void CGameRoom::OnCountResult(int code, const CString& payload) {
  CRoomMessages::Count count = CRoomMessages::ReadCount(payload);
  m_record.SetResult(count.result);
  ShowOwners(count.owners);
  CString words = CResultText::FormatResult(count.result);
  SetStatus(words);
  if (code == 544) {
    SetStatus("In Counting");
    CString question = CResultText::CountProposal(count.blackPoints, count.blackStones, count.whitePoints,
                                                  count.whiteStones, count.komi, count.result);
    BOOL yes = m_host.RunCapturedStonesDlg(question + "Do you agree?");
    Answer(45, payload, yes);
    if (!yes) SetStatus("In Couting");
    return;
  }
  SetMessage("Counting is finished.");
  AppendChat(CResultText::CountChat(count.blackPoints, count.blackStones, count.whitePoints, count.whiteStones,
                                    count.komi, count.result));
  m_host.AskUser("Counting is completed.\n", "Inform", MB_OK | MB_ICONINFORMATION);
  m_state.EndGame(m_myColour);
  SaveRecordToGiboFolder();
}

void CGameRoom::OnStalemateArea(const CString& payload) {
  if (m_host.HasOwnStalemateArea()) m_board.UnCheckStone(kBlackStalemate);
  LONG mode = m_board.GetGameMode();
  if (mode < CRoomState::kModeTerritory) m_board.SetGameMode(mode + CRoomState::kModeTerritory);
  for (int index : CRoomMessages::ReadPointList(payload, 2)) m_board.SetBigPos(static_cast<short>(index), -1);
  m_board.Redraw(-1, -1);
  BOOL yes = m_host.RunCapturedStonesDlg("Do you agree to designation of stalemate area?");
  Answer(47, payload, yes);
  if (yes) {
    m_host.Flush();
  } else {
    m_board.UnCheckStone(kOwnStalemate);
    m_board.Redraw(-1, -1);
  }
  if (m_host.HasOwnStalemateArea()) {
    for (int index : PointsOf(m_host.GetStalemateText()))
      m_board.SetBigPos(static_cast<short>(index), 0);
  }
}

void CGameRoom::OnStalemateAgreed(const CString& payload) {
  if (m_myColour != kBlack && m_myColour != kWhite) {
    for (int index : CRoomMessages::ReadPointList(payload, 3)) {
      m_board.SetBigPos(static_cast<short>(index), -1);
      m_board.SetBigPos(static_cast<short>(index), 1);
    }
  }
  if (!m_host.HasOwnStalemateArea()) {
    for (int index : PointsOf(m_host.GetStalemateText())) m_board.SetBigPos(static_cast<short>(index), 1);
    m_host.SetStalemateText(CString());
  } else {
    for (int index : PointsOf(m_board.GetBigPos(kOwnStalemate))) m_board.SetBigPos(static_cast<short>(index), 1);
    CString kept = m_board.GetBigPos(kBlackStalemate);
    m_host.SetStalemateText(kept);
    for (int index : PointsOf(kept)) m_board.SetBigPos(static_cast<short>(index), 0);
  }
  m_board.Redraw(-1, -1);
  LONG mode = m_board.GetGameMode();
  if (mode > CRoomState::kModeTerritory) m_board.SetGameMode(mode - CRoomState::kModeTerritory);
  SetMessage("Stalemate area is designated.");
}

// ---------------------------------------------------------------------------------------------
// Ends of a game

void CGameRoom::EndGame() {
  StopClock();
  StopBlink();
  m_state.EndGame(m_myColour);
  m_board.SetGameMode(CRoomState::kModeNone);
}

void CGameRoom::OnGameDrawn(const CString&) {
  EndGame();
  m_record.SetResult("RE[V]");
  SetStatus("Drawn Game");
  SetMessage("The match is drawn.");
  SaveRecordToGiboFolder();
  m_host.AskUser("The match is drawn.", "Inform", MB_OK | MB_ICONINFORMATION);
}

void CGameRoom::OnResignResult(const CString& payload) {
  EndGame();
  CString loser = Field(CRoomMessages::Split(payload), 3);
  bool blackGaveUp = loser == GetPaneText(kBlackName);
  CString winner = GetPaneText(blackGaveUp ? kWhiteName : kBlackName);
  SetStatus(blackGaveUp ? "W won by KO." : "B won by KO.");
  SetMessage(winner + " won by KO.");
  // The result goes into the record before it is saved, so the saved file says who won.
  m_record.SetResult(blackGaveUp ? "RE[W+R]" : "RE[B+R]");
  SaveRecordToGiboFolder();
  m_host.AskUser(winner + " won without counting.", "Inform", MB_OK | MB_ICONINFORMATION);
}

void CGameRoom::OnTimeOver(const CString& payload) {
  EndGame();
  std::vector<CString> fields = CRoomMessages::Split(payload);
  CString a, b, c, d;
  m_record.GetBlackPlayer(a, b, c, d);
  bool blackLost = a == Field(fields, 3) && b == Field(fields, 4);
  if (blackLost) {
    m_record.SetResult("RE[W+T]");
    SetStatus("W won by time");
    SetPane(kBlackSeconds, "0 sec");
    SetPane(kBlackPeriods, "0 **");
  } else {
    m_record.SetResult("RE[B+T]");
    SetStatus("B won by time");
    SetPane(kWhiteSeconds, "0 sec");
    SetPane(kWhitePeriods, "0 **");
  }
  SetMessage("The match has ended.");
  SaveRecordToGiboFolder();
}

void CGameRoom::OnWinWithoutCounting(const CString& payload) {
  m_board.SetGameMode(CRoomState::kModeNone);
  m_host.AskUser(Field(CRoomMessages::Split(payload), 3) + " won without counting.", "Inform", MB_OK | MB_ICONINFORMATION);
  m_state.SetWord(CRoomState::kEnded);
  m_state.SetSubStatus(CRoomState::kGameEnded);
}

void CGameRoom::SetGameMode(LONG mode) { m_board.SetGameMode(mode); }

void CGameRoom::LeaveDesignationMode() {
  m_board.UnCheckStone(kDieMask);
  m_board.Redraw(-1, -1);
}

void CGameRoom::LeaveCountingMode() {
  m_board.SetGameMode(CRoomState::kModeCheckStone);
  m_board.Redraw(-1, -1);
}

void CGameRoom::ClearStalemateArea() {
  m_board.UnCheckStone(kOwnStalemate);
  m_board.Redraw(-1, -1);
}

void CGameRoom::ToggleSequenceNumbers() {
  LONG mode = m_board.GetGameMode();
  m_board.SetGameMode(mode & CRoomState::kModeSequence ? mode & ~CRoomState::kModeSequence
                                                       : mode | CRoomState::kModeSequence);
}

void CGameRoom::SaveRecordToGiboFolder() {
  if (!m_host.IsSaveRecordOn()) return;
  ::CreateDirectory(CGiboFileName::kFolder);
  CString path = CGiboFileName::Build(GetPaneText(kBlackName), GetPaneText(kWhiteName));
  std::ofstream file(platform::NativePath(path), std::ios::binary | std::ios::trunc);
  const CString text = m_record.ToText();
  if (file) file.write(text.str().data(), static_cast<std::streamsize>(text.str().size()));
  if (!file || !file.flush()) m_host.AskUser("File can not be made.", "Inform", MB_OK | MB_ICONINFORMATION);
}

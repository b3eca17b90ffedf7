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
  // Whatever asked the user about the room before (a question still open) asked about a room
  // that is no more: the user was taken out of it or a new match began.
  m_life = std::make_shared<int>(0);
  m_bMoveSent = FALSE;
  // A room left while its game was being rebuilt must not leave the link blocking.
  if (m_bLinkBlocked) BlockLink(FALSE);
  m_record.Reset();
  m_board.Init();
  m_board.Redraw(-2, -2);
  StopClock();
  StopBlink();
  StopCountdown();
  m_capturedBlack = m_capturedWhite = m_deadBlack = m_deadWhite = 0;
  m_moveCounter = 0;
  m_state.SetWord(CRoomState::kWaiting);
  ShowCaptured();
  for (int pane : {kBlackName, kWhiteName, kBlackSecond, kWhiteSecond, kMessage}) SetPane(pane, CString());
  SetPane(kCondition, "0");
  // A reload of the running game keeps the user on his seat: the turn texts, his clock's time-out
  // and the end of the game go by his colour.
  if (!m_bKeepCondition) {
    m_myColour = 0;
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
    for (CRoomMessages::Person person : room.observers) {
      person.fourth.Trim();
      if (!person.id.IsEmpty() && !IsUserInRoom(person.host, person.id)) m_observers.push_back(person);
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
    // An entry without an ID (a short or broken payload) names nobody to list.
    if (!person.id.IsEmpty() && !IsUserInRoom(person.host, person.id)) m_observers.push_back(person);
  }
  if (m_paneListener) m_paneListener(m_paneContext, kObserverList);
  // One more observer: the chat shows its newest line again.
  if (mode == 0 && m_paneListener) m_paneListener(m_paneContext, kChatOutput);
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

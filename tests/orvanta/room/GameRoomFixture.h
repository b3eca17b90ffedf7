#pragma once
// A game room on a real board model, with a host that records what the room sends and answers
// its questions from a script.

#include <ctime>
#include <deque>
#include <fstream>
#include <sstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <platform/files.h>
#include <platform/msgbox.h>
#include <platform/time.h>

#include "control/StolvexBoard.h"
#include "fuzz/orvanta/RoomFuzzing.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/RoomHost.h"

// The board model behind the room's board calls (the fuzz targets' own); its capture events go to
// the room and its refusals are kept.
class ModelBoard : public roomfuzz::Board {
public:
  void FireErrorEvent(short code) override { errors.push_back(code); }
  // A point the control accepts goes to the room, as the room view passes the control's event on.
  void FirePosition(short row, short column, short) override {
    if (room) room->OnBoardPosition(row, column);
  }
  // A click on the point (row, column), as the control takes it from the mouse.
  void Click(int row, int column) { model.OnClick(row * 19 + column); }

  // The cell state of a point (row, column).
  int Cell(int row, int column) const { return model.GetCell(row * 19 + column) & 0x6; }

  std::vector<short> errors;
};

class ScriptedHost : public CRoomHost {
public:
  void SendGameRequest(short minor, const CString& extra) override {
    sent.push_back("1:" + std::to_string(minor) + ":" + extra.str());
  }
  void SendAnswer(short minor, const CString& payload) override {
    sent.push_back("2:" + std::to_string(minor) + ":" + payload.str());
  }
  void Flush() override {
    ++flushes;
    if (linkBlocking) ++flushesWhileBlocking;
  }
  void SetLinkBlocking(BOOL blocking) override { linkBlocking = blocking; }
  int AskUser(const CString& text, const char*, UINT type) override {
    asked.push_back(text.str());
    if ((type & 0xF) != MB_YESNO) return IDOK;
    bool yes = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes ? IDYES : IDNO;
  }
  BOOL RunCapturedStonesDlg(const CString& text) override {
    asked.push_back(text.str());
    bool yes = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return yes;
  }
  void PlaySound(const char* file) override { sounds.push_back(file); }
  BOOL StartTimer(UINT id, UINT) override {
    timers.insert(id);
    return timerWorks;
  }
  void StopTimer(UINT id) override { timers.erase(id); }
  CString GetOwnId() override { return userId; }
  CString GetLoginRole() override { return role; }
  CString GetRoomEntryText(int index) override { return index == 0 ? "title" : "pw"; }
  BOOL IsSaveRecordOn() override { return saveRecord; }
  BOOL IsReconnecting() override { return reconnecting; }
  void ClearReconnecting() override { reconnecting = FALSE; }
  void SetEndRequested(BOOL requested) override { endRequested = requested; }
  void ToggleEndRequested() override { endRequested = !endRequested; }
  void ClearUndoPending() override { undoPending = FALSE; }
  BOOL IsStonesDesignated() override { return designated; }
  void SetStonesDesignated() override { designated = TRUE; }
  void ClearDesignation() override { designated = FALSE; }
  void BuildBoardText() override { ++boardTexts; }
  CString GetStalemateText() override { return stalemate; }
  void SetStalemateText(const CString& text) override { stalemate = text; }
  BOOL HasOwnStalemateArea() override { return FALSE; }
  void UpdateButtonsForEvent(int code, const CString& payload) override {
    buttons.push_back(std::to_string(code) + ":" + payload.str());
  }
  void UpdateRoomButtons() override {}
  void EnableFinishButton() override {}
  void EndRoomWait() override { ++roomWaitsEnded; }
  void SendLeaveAfterCountdown(const CString& first, const CString& second) override {
    sent.push_back("leave:" + first.str() + ":" + second.str());
  }
  void SendClockState(short colour) override { sent.push_back("clock:" + std::to_string(colour)); }

  std::vector<std::string> sent;
  std::vector<std::string> asked;
  std::vector<std::string> sounds;
  std::vector<std::string> buttons;
  std::deque<bool> answers;
  std::set<UINT> timers;
  CString userId{"kim"};
  CString role{"hb"};
  CString stalemate;
  int flushes{0};
  int boardTexts{0};
  int roomWaitsEnded{0};
  BOOL linkBlocking{FALSE};
  int flushesWhileBlocking{0};  // flushes made while the link blocked
  BOOL timerWorks{TRUE};
  BOOL saveRecord{TRUE};
  BOOL reconnecting{FALSE};
  BOOL endRequested{FALSE};
  BOOL undoPending{TRUE};
  BOOL designated{FALSE};
};

inline constexpr std::time_t kMatchDay = 1796810400;  // 2026-12-09

// A room in a working folder of its own, so finished games land in a fresh ".\gibo\".
class GameRoomTest : public testing::Test {
protected:
  GameRoomTest() {
    char buffer[MAX_PATH];
    ::GetCurrentDirectory(MAX_PATH, buffer);
    m_oldFolder = buffer;
    ::SetCurrentDirectory(m_folder.Path().c_str());
    board.room = &room;
  }
  ~GameRoomTest() override { ::SetCurrentDirectory(m_oldFolder.c_str()); }

  // The match start as the room receives it (the answer word already taken out).
  void StartMatch(const char* handicap, const char* komi, const char* mainSeconds, const char* periodSeconds,
                  const char* periods) {
    room.ResetRoom();
    std::string payload = std::string("|a|b|hb|kim|k3|5d|hw|lee|l3|6d|") + handicap + "|" + komi + "|" + mainSeconds +
                          "|" + periodSeconds + "|" + periods + "|";
    room.OnRoomMessage(512, payload.c_str());
  }
  void Move(int number, const std::string& node, const std::string& time) {
    room.OnOpponentMove(("|a|b|" + std::to_string(number) + "|" + node + "|" + time + "|").c_str());
  }
  void Tick(int times) {
    for (int i = 0; i < times; ++i) room.OnTimer(CGameRoom::kGameClockTimer);
  }
  std::string Saved(const std::string& name) const {
    std::ifstream in(m_folder.Path() + "/gibo/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string Pane(int pane) const { return room.GetPaneText(pane).str(); }
  // The last thing the room sent; empty (a clean failure, not a crash) when it sent nothing.
  std::string LastSent() const { return host.sent.empty() ? std::string() : host.sent.back(); }

  platform::ManualClockScope m_clock{kMatchDay};
  platform::TempDir m_folder;
  std::string m_oldFolder;
  ModelBoard board;
  ScriptedHost host;
  CGiboRecord record;
  CGameRoom room{board, host, record};
};


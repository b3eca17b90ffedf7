#pragma once
// A game room on a real board model, with a host that records what the room sends and answers
// its questions from a script.

#include <deque>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <platform/msgbox.h>

#include "control/StolvexBoard.h"
#include "control/StoneInfo.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/RoomHost.h"

// The board model behind the room's board calls; its capture events go to the room.
class ModelBoard : public CRoomBoard, public CBoardEventSink {
public:
  LONG GetGameMode() override { return model.GetGameMode(); }
  void SetGameMode(LONG mode) override { model.SetGameMode(mode); }
  short GetUserColor() override { return model.GetUserColor(); }
  void SetUserColor(short colour) override { model.SetUserColor(colour); }
  void SetNumOfAdvatage(short handicap) override { model.SetNumOfAdvatage(handicap); }
  void SetDrawStone(short row, short column, short colour, short count) override {
    model.SetDrawStone(row, column, colour, count);
  }
  void Redraw(short, short) override {}
  short GetLastColor() override { return model.GetLastColor(); }
  void Init() override { model.Init(); }
  void RemoveStone(short mask) override { model.RemoveStone(mask); }
  void SetStone(short row, short column, short mask) override { model.SetStone(row, column, mask); }
  void UnCheckStone(short mask) override { model.UnCheckStone(mask); }
  short GetChangedCount() override { return model.GetChangedCount(); }
  void SetMyTurn(short flag) override { model.SetMyTurn(flag); }
  CString GetBigPos(short mask) override { return model.GetBigPos(mask); }
  void SetBigPos(short index, short flag) override { model.SetBigPos(index, flag); }
  // The records as the control hands them out: an array of their automation objects.
  VARIANT GetStone(short state) override {
    const std::vector<CStoneInfo*> records = model.GetStone(state);
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(records.size()));
    for (std::size_t k = 0; array && k < records.size(); ++k) {
      CComVariant item(static_cast<IDispatch*>(static_cast<IStoneInfo*>(records[k])));
      LONG index = static_cast<LONG>(k);
      SafeArrayPutElement(array, &index, &item);
    }
    VARIANT result{};
    result.vt = VT_ARRAY | VT_VARIANT;
    result.parray = array;
    return result;
  }

  void FirePosition(short, short, short) override {}
  void FireErrorEvent(short code) override { errors.push_back(code); }
  void FireNumOfEat(short colour, short count) override {
    if (room) room->OnBoardNumOfEat(colour, count);
  }
  void InvalidateControl() override {}

  // The cell state of a point (row, column).
  int Cell(int row, int column) const { return model.GetCell(row * 19 + column) & 0x6; }

  CStolvexBoard model{*this};
  CGameRoom* room{nullptr};
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
  void Flush() override { ++flushes; }
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
  BOOL timerWorks{TRUE};
  BOOL saveRecord{TRUE};
  BOOL reconnecting{FALSE};
  BOOL endRequested{FALSE};
  BOOL undoPending{TRUE};
  BOOL designated{FALSE};
};

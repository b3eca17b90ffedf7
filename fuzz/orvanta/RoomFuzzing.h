#pragma once
// The game room on the board model, driven by one server message of fuzzed payload. After the
// message the board must hold only black, white or empty points, and the room must still play a
// move of its own.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "control/StoneInfo.h"
#include "control/StolvexBoard.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/RoomBoard.h"
#include "orvanta/room/RoomHost.h"

namespace roomfuzz {

class Board : public CRoomBoard, public CBoardEventSink {
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
  void FireErrorEvent(short) override {}
  void FireNumOfEat(short colour, short count) override {
    if (room) room->OnBoardNumOfEat(colour, count);
  }
  void InvalidateControl() override {}

  CStolvexBoard model{*this};
  CGameRoom* room{nullptr};
};

// Answers every question with a flip of the input's first byte; sends and sounds go nowhere.
class Host : public CRoomHost {
public:
  void SendGameRequest(short, const CString&) override {}
  void SendAnswer(short, const CString&) override {}
  void Flush() override {}
  void SetLinkBlocking(BOOL) override {}
  int AskUser(const CString&, const char*, UINT) override { return yes ? 6 : 7; }
  BOOL RunCapturedStonesDlg(const CString&) override { return yes; }
  void PlaySound(const char*) override {}
  BOOL StartTimer(UINT, UINT) override { return TRUE; }
  void StopTimer(UINT) override {}
  CString GetOwnId() override { return "kim"; }
  CString GetLoginRole() override { return "hb"; }
  CString GetRoomEntryText(int) override { return CString(); }
  BOOL IsSaveRecordOn() override { return FALSE; }
  BOOL IsReconnecting() override { return reconnecting; }
  void ClearReconnecting() override { reconnecting = FALSE; }
  void SetEndRequested(BOOL) override {}
  void ToggleEndRequested() override {}
  void ClearUndoPending() override {}
  BOOL IsStonesDesignated() override { return FALSE; }
  void SetStonesDesignated() override {}
  void ClearDesignation() override {}
  void BuildBoardText() override {}
  CString GetStalemateText() override { return stalemate; }
  void SetStalemateText(const CString& text) override { stalemate = text; }
  BOOL HasOwnStalemateArea() override { return yes; }
  void UpdateButtonsForEvent(int, const CString&) override {}
  void UpdateRoomButtons() override {}
  void EnableFinishButton() override {}
  void EndRoomWait() override {}
  void SendLeaveAfterCountdown(const CString&, const CString&) override {}
  void SendClockState(short) override {}

  bool yes{false};
  BOOL reconnecting{FALSE};
  CString stalemate{"aass"};
};

inline void Check(bool ok) {
  if (!ok) std::abort();
}

// Runs the room through a match start, a few moves, the fuzzed message and one more move.
inline void RunMessage(int code, const std::uint8_t* data, std::size_t size) {
  Board board;
  Host host;
  CGiboRecord record;
  CGameRoom room(board, host, record);
  board.room = &room;
  host.yes = size > 0 && (data[0] & 1);
  room.ResetRoom();
  room.OnRoomMessage(512, "|a|b|hb|kim|k|5d|hw|lee|l|6d|0|6.5|60|10|2|");
  room.OnOpponentMove("|a|b|1|B[pd]|BL[80]|");
  room.OnOpponentMove("|a|b|2|W[dd]|WL[80]|");

  CString payload(reinterpret_cast<const char*>(data), static_cast<int>(size));
  switch (code) {
    case 53:
    case 511:
    case 512:
      room.OnRoomMessage(code, payload);
      break;
    case 514:
      room.OnOpponentMove(payload);
      break;
    case 545:
    case 544:
      room.OnCountResult(code, payload);
      break;
    case 547:
      room.OnStalemateArea(payload);
      break;
    case 546:
      room.OnStalemateAgreed(payload);
      break;
    case 517:
    case 518:
      room.OnDesignationMessage(code, payload);
      break;
    case 515:
      room.OnUndoRequest(code, payload);
      break;
    default:
      break;
  }
  for (int i = 0; i < 30; ++i) room.OnTimer(CGameRoom::kGameClockTimer);

  // Every point is empty, black or white, never both; counters never go below zero.
  for (int i = 0; i < 361; ++i) Check((board.model.GetCell(i) & 0x6) != 0x6);
  Check(room.GetMoveCounter() >= 0);
  Check(room.GetCaptured(2) >= 0 && room.GetCaptured(4) >= 0);
  Check(room.GetChatText().GetLength() <= CGameRoom::kChatLimit);

  // The room still takes a move after it, on a point nobody uses in the setup above.
  room.SetGameMode(1024);
  short before = room.GetMoveCounter();
  room.OnOpponentMove("|a|b|9|B[jj]|BL[60]|");
  Check(room.GetMoveCounter() == before + 1);
}

}  // namespace roomfuzz

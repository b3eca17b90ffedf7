#pragma once
// CRoomBoard: the board calls the game room makes, named as the board-control wrapper names
// them. The room view answers them with its hosted control; tests answer them with a board of
// their own.

#include <platform/com_variant.h>
#include <platform/strings.h>
#include <platform/types.h>

class CRoomBoard {
public:
  virtual ~CRoomBoard() = default;
  virtual LONG GetGameMode() = 0;
  virtual void SetGameMode(LONG mode) = 0;
  virtual short GetUserColor() = 0;
  virtual void SetUserColor(short colour) = 0;
  virtual void SetNumOfAdvatage(short handicap) = 0;
  virtual void SetDrawStone(short row, short column, short colour, short count) = 0;
  virtual void Redraw(short row, short column) = 0;
  virtual short GetLastColor() = 0;
  virtual void Init() = 0;
  virtual void RemoveStone(short mask) = 0;
  virtual void SetStone(short row, short column, short mask) = 0;
  virtual void UnCheckStone(short mask) = 0;
  virtual short GetChangedCount() = 0;
  virtual void SetMyTurn(short flag) = 0;
  virtual CString GetBigPos(short mask) = 0;
  virtual void SetBigPos(short index, short flag) = 0;
  // An array of the move records whose state equals state; the caller clears it.
  virtual VARIANT GetStone(short state) = 0;
};

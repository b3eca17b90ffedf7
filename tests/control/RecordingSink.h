#pragma once
// A board event sink that keeps what it was told, and helpers to set up positions by letters.

#include <string>
#include <vector>

#include "control/BoardEventSink.h"
#include "control/StolvexBoard.h"

struct FiredPosition {
  short row, col, colour;
  bool operator==(const FiredPosition&) const = default;
};

// One fired Position, as the list the sink would hold.
inline std::vector<FiredPosition> Fired(FiredPosition position) { return {position}; }

class CRecordingSink : public CBoardEventSink {
public:
  void FirePosition(short row, short col, short colour) override { positions.push_back({row, col, colour}); }
  void FireErrorEvent(short code) override { errors.push_back(code); }
  void FireNumOfEat(short colour, short count) override { eaten.push_back({colour, count}); }
  void InvalidateControl() override { ++invalidations; }

  void Clear() {
    positions.clear();
    errors.clear();
    eaten.clear();
    invalidations = 0;
  }

  std::vector<FiredPosition> positions;
  std::vector<short> errors;
  std::vector<std::pair<short, short>> eaten;
  int invalidations = 0;
};

// Point index of two letters, row letter first ("dc" = row 3, col 2).
inline int At(const char* rowCol) { return (rowCol[0] - 'a') * 19 + (rowCol[1] - 'a'); }

// Applies a move given by row and column letters.
inline void Play(CStolvexBoard& board, const char* rowCol, short colour, short count = 0) {
  board.SetDrawStone(static_cast<short>(rowCol[0] - 'a'), static_cast<short>(rowCol[1] - 'a'), colour, count);
}

inline void Pass(CStolvexBoard& board, short colour) { board.SetDrawStone(20, 20, colour, 0); }

// The 361 cells of the board.
inline std::vector<int> Cells(const CStolvexBoard& board) {
  std::vector<int> cells(POINT_COUNT);
  for (int i = 0; i < POINT_COUNT; ++i)
    cells[i] = board.GetCell(i);
  return cells;
}

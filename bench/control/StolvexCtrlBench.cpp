// The control as its containers drive it: a full repaint of a busy numbered board, and moves
// applied through IDispatch::Invoke.

#include <benchmark/benchmark.h>

#include <vector>

#include "RecordedGame.h"
#include "control/StolvexCtrl.h"
#include "platform/gdi.h"

namespace {

struct Move {
  SHORT colour, row, col;
};

std::vector<Move> RecordedMoves() {
  std::vector<Move> moves;
  for (const char* at = kRecordedGame; at[0] && at[1] && at[2]; at += 3) {
    const SHORT colour = at[0] == 'B' ? BLACK : WHITE;
    if (at[1] == 't')
      moves.push_back({colour, 20, 20});
    else
      moves.push_back({colour, static_cast<SHORT>(at[2] - 'a'), static_cast<SHORT>(at[1] - 'a')});
  }
  return moves;
}

int StoneCount(CStolvexBoard& board) {
  int stones = 0;
  for (int i = 0; i < POINT_COUNT; ++i)
    stones += (board.GetCell(i) & (BLACK | WHITE)) != 0;
  return stones;
}

// The recorded game with move numbers, filled up with further stones until 250 stand on the board.
void SetUpBusyBoard(CStolvexCtrl& ctrl) {
  CStolvexBoard& board = ctrl.Board();
  board.SetGameMode(RANDOM | SEQ);
  for (const Move& m : RecordedMoves())
    board.SetDrawStone(m.row, m.col, m.colour, 0);
  SHORT colour = OppositeColor(board.GetLastColor());
  for (int i = 0; i < POINT_COUNT && StoneCount(board) < 250; ++i) {
    if (board.GetCell(i) != NONE)
      continue;
    board.SetDrawStone(static_cast<SHORT>(i / BOARD_LINES), static_cast<SHORT>(i % BOARD_LINES), colour, 0);
    colour = OppositeColor(colour);
  }
}

void BM_RepaintNumberedBoard(benchmark::State& state) {
  const int size = static_cast<int>(state.range(0));
  CStolvexCtrl* ctrl = new CStolvexCtrl;
  ctrl->AddRef();
  ctrl->SetSizeControl(static_cast<SHORT>(size), static_cast<SHORT>(size));
  SetUpBusyBoard(*ctrl);
  CDC target;
  target.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  bitmap.CreateBitmap(size, size, 1, 32, nullptr);
  CBitmap* old = target.SelectObject(&bitmap);
  const CRect bounds(0, 0, size, size);
  for (auto _ : state)
    ctrl->OnDraw(&target, bounds, bounds);
  state.counters["stones"] = StoneCount(ctrl->Board());
  target.SelectObject(old);
  ctrl->Release();
}
BENCHMARK(BM_RepaintNumberedBoard)->Arg(400)->Arg(540)->Unit(benchmark::kMicrosecond);

// 250 moves (the recorded game and passes) applied by Invoke(SetDrawStone), after Invoke(Init).
void BM_InvokeSetDrawStone(benchmark::State& state) {
  std::vector<Move> moves = RecordedMoves();
  for (SHORT colour = OppositeColor(moves.back().colour); moves.size() < 250; colour = OppositeColor(colour))
    moves.push_back({colour, 20, 20});
  std::vector<std::vector<VARIANT>> args(moves.size(), std::vector<VARIANT>(4));
  for (std::size_t k = 0; k < moves.size(); ++k) {
    const SHORT values[4] = {0, moves[k].colour, moves[k].col, moves[k].row};  // last argument first
    for (int a = 0; a < 4; ++a) {
      args[k][a].vt = VT_I2;
      args[k][a].iVal = values[a];
    }
  }
  CStolvexCtrl* ctrl = new CStolvexCtrl;
  ctrl->AddRef();
  IDispatch* dispatch = ctrl;
  VARIANT random;
  random.vt = VT_I4;
  random.lVal = RANDOM;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS mode{&random, &put, 1, 1};
  DISPPARAMS none{};
  long refused = 0;
  for (auto _ : state) {
    dispatch->Invoke(dispidInit, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    dispatch->Invoke(dispidGameMode, IID_NULL, 0, DISPATCH_PROPERTYPUT, &mode, nullptr, nullptr, nullptr);
    for (std::vector<VARIANT>& a : args) {
      DISPPARAMS params{a.data(), nullptr, 4, 0};
      refused += dispatch->Invoke(dispidSetDrawStone, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                  nullptr) != S_OK;
    }
  }
  if (refused || ctrl->Board().GetLogicalPos() != 250)
    state.SkipWithError("a move was refused");
  state.counters["moves/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * moves.size()), benchmark::Counter::kIsRate);
  ctrl->Release();
}
BENCHMARK(BM_InvokeSetDrawStone);

}  // namespace

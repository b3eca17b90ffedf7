// Repainting the board window at 640 pixels with 250 numbered stones: the full rendering that a
// resize or the numbers toggle makes, and the paint that copies the cached picture.

#include <benchmark/benchmark.h>

#include "../../tests/client/model/BoardWindowSupport.h"
#include "client/model/BadukCtrl.h"

namespace {

// 250 stones without captures: black on rows 1-7, white from row 13 down.
void PlaceStones(CBadukCtrl& board) {
  int placed = 0;
  for (int y = 1; y <= 7 && placed < 125; ++y)
    for (int x = 1; x <= 19 && placed < 125; ++x, ++placed) board.PlaceStone(x, y, 2, 0, TRUE);
  for (int y = 19; y >= 13 && placed < 250; --y)
    for (int x = 1; x <= 19 && placed < 250; ++x, ++placed) board.PlaceStone(x, y, 1, 0, TRUE);
}

class BoardWindow {
public:
  BoardWindow() {
    board.Create(CRect(0, 0, 640, 659), &parent);
    PlaceStones(board);
    board.SetSequenceMode(TRUE);
  }
  boardtest::ClientResources resources;
  boardtest::RecordingParent parent{660, 680};
  CBadukCtrl board;
};

void BM_FullRepaint640(benchmark::State& state) {
  BoardWindow window;
  for (auto _ : state) {
    window.board.Redraw();
    window.board.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  state.counters["stones"] = window.board.GetLastMove();
}
BENCHMARK(BM_FullRepaint640)->Unit(benchmark::kMillisecond);

void BM_PaintCached640(benchmark::State& state) {
  BoardWindow window;
  for (auto _ : state) window.board.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}
BENCHMARK(BM_PaintCached640)->Unit(benchmark::kMillisecond);

void BM_PlaceOneStone640(benchmark::State& state) {
  BoardWindow window;
  for (auto _ : state) {
    window.board.PlaceStone(10, 10, 2, 0, TRUE);
    window.board.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    state.PauseTiming();
    window.board.UndoMove();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PlaceOneStone640)->Unit(benchmark::kMillisecond);

// Moves and take-backs as the relay gives them, painting left to a message loop that never runs: what
// the board itself costs per relayed line.
void BM_MovesUnpainted640(benchmark::State& state) {
  boardtest::ClientResources resources;
  CWnd parent;  // takes the board's messages without keeping them
  parent.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_POPUP | WS_VISIBLE, 0, 0, 660, 680, nullptr, nullptr);
  CBadukCtrl board;
  board.Create(CRect(0, 0, 640, 659), &parent);
  constexpr int kMoves = 300;
  int placed = 0;
  bool forward = true;
  for (auto _ : state) {
    if (forward) {
      const int i = placed;
      board.PlaceStone((i * 7) % 19 + 1, (i * 7) / 19 % 19 + 1, i % 2 ? 1 : 2, 0, TRUE);
      forward = ++placed < kMoves;
    } else {
      board.UndoMove();
      forward = --placed == 0;
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MovesUnpainted640);

}  // namespace

// Moves per second of the board model: playing a whole recorded game (rules, captures and move
// records) and walking its history back and forth.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <vector>

#include "RecordedGame.h"
#include "control/StolvexBoard.h"

namespace {

struct Move {
  short colour, row, col;
};

class NullSink : public CBoardEventSink {
public:
  void FirePosition(short, short, short) override {}
  void FireErrorEvent(short code) override { errors += code >= 0; }
  void FireNumOfEat(short, short) override {}
  void InvalidateControl() override {}
  int errors = 0;
};

std::vector<Move> LoadGame() {
  std::vector<Move> moves;
  for (const char* at = kRecordedGame; at[0] && at[1] && at[2]; at += 3) {
    const short colour = at[0] == 'B' ? BLACK : WHITE;
    if (at[1] == 't')
      moves.push_back({colour, 20, 20});
    else
      moves.push_back({colour, static_cast<short>(at[2] - 'a'), static_cast<short>(at[1] - 'a')});
  }
  return moves;
}

const std::vector<Move>& Game() {
  static const std::vector<Move> moves = LoadGame();
  return moves;
}

void PlayGame(CStolvexBoard& board) {
  board.Init();
  board.SetGameMode(RANDOM);
  for (const Move& move : Game())
    board.SetDrawStone(move.row, move.col, move.colour, 0);
}

void BM_PlayRecordedGame(benchmark::State& state) {
  NullSink sink;
  CStolvexBoard board{sink};
  for (auto _ : state) {
    PlayGame(board);
    benchmark::DoNotOptimize(board.GetCell(180));
  }
  if (sink.errors)
    state.SkipWithError("a move of the game was refused");
  state.SetItemsProcessed(state.iterations() * static_cast<long>(Game().size()));
  state.counters["moves/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * Game().size()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayRecordedGame);

void BM_WalkHistoryBackAndForth(benchmark::State& state) {
  NullSink sink;
  CStolvexBoard board{sink};
  PlayGame(board);
  const int total = static_cast<int>(Game().size());
  for (auto _ : state) {
    for (int k = 0; k < total; ++k)
      board.GoPrev(1);
    for (int k = 0; k < total; ++k)
      board.GoNext(1);
    benchmark::DoNotOptimize(board.GetCell(180));
  }
  if (sink.errors)
    state.SkipWithError("a walk step was refused");
  state.SetItemsProcessed(state.iterations() * 2L * total);
  state.counters["moves/s"] =
      benchmark::Counter(static_cast<double>(state.iterations() * 2 * total), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WalkHistoryBackAndForth);

// Heap bytes held by a 300-move history: the recorded game, then passes up to 300 moves.
void BM_HistoryMemory300(benchmark::State& state) {
  NullSink sink;
  long bytes = 0;
  for (auto _ : state) {
    const auto before = mallinfo2().uordblks;
    auto* board = new CStolvexBoard{sink};
    PlayGame(*board);
    for (long k = static_cast<long>(Game().size()); k < 300; ++k)
      board->SetDrawStone(20, 20, k % 2 ? WHITE : BLACK, 0);
    bytes = static_cast<long>(mallinfo2().uordblks - before);
    benchmark::DoNotOptimize(board->GetCell(0));
    delete board;
  }
  state.counters["history_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_HistoryMemory300)->Iterations(3);

}  // namespace

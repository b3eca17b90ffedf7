// Writing and reading a game record of 300 moves: the text form the room saves and the review
// dialogs load, and a full replay of its moves.
#include <benchmark/benchmark.h>

#include "orvanta/room/GiboRecord.h"

namespace {

constexpr int kMoves = 300;

CGiboRecord GameOf300Moves() {
  CGiboRecord record;
  record.SetBlackPlayer("kim", "sky01", "5d", "1");
  record.SetWhitePlayer("lee", "sea77", "6d", "0");
  record.SetRootInfo("1800", "30:3", "2026-12-09", "6.5", "0");
  record.SetResult("RE[B+12.5]");
  for (int i = 0; i < kMoves; ++i) {
    char point[3] = {static_cast<char>('a' + (i * 5) % 19), static_cast<char>('a' + (i * 11) % 19), 0};
    bool black = i % 2 == 0;
    CString time;
    time.Format("%s[%d]", black ? "BL" : "WL", 1800 - i * 3);
    record.AppendMove(CString(black ? "B[" : "W[") + point + "]", time);
  }
  return record;
}

void BM_WriteRecordText(benchmark::State& state) {
  CGiboRecord record = GameOf300Moves();
  for (auto _ : state) benchmark::DoNotOptimize(record.ToText());
  state.SetItemsProcessed(state.iterations() * kMoves);
}
BENCHMARK(BM_WriteRecordText)->Unit(benchmark::kMicrosecond);

// Reading as the review dialogs do: the whole text into a record, then every move in order.
void BM_ReadRecordText(benchmark::State& state) {
  CString text = GameOf300Moves().ToText();
  CGiboRecord record;
  for (auto _ : state) {
    record.SetText(text);
    short x, y, color;
    LONG time;
    int moves = 0;
    while (record.GetMove(x, y, color, time)) ++moves;
    benchmark::DoNotOptimize(moves);
  }
  state.SetItemsProcessed(state.iterations() * kMoves);
}
BENCHMARK(BM_ReadRecordText)->Unit(benchmark::kMicrosecond);

// Replaying an already loaded record: the cost of the moves alone.
void BM_ReplayMoves(benchmark::State& state) {
  CGiboRecord record = GameOf300Moves();
  for (auto _ : state) {
    record.MoveTo(CGiboRecord::kFirstNode);
    short x, y, color;
    LONG time;
    while (record.GetMove(x, y, color, time)) benchmark::DoNotOptimize(x);
  }
  state.SetItemsProcessed(state.iterations() * kMoves);
}
BENCHMARK(BM_ReplayMoves)->Unit(benchmark::kMicrosecond);

}  // namespace

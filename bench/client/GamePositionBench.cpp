// Placing and stepping through a complete real game on the relay board.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "../../tests/client/model/BoardTestSupport.h"
#include "client/model/BadukBoard.h"

namespace {

std::string DataFile(const char* name) {
  std::string dir(__FILE__);
  dir.erase(dir.find_last_of('/') + 1);
  return dir + "../../tests/data/" + name;
}

const std::vector<boardtest::Move>& GameMoves() {
  static const std::vector<boardtest::Move> moves = boardtest::LoadSgfMoves(DataFile("selfplay-5001.sgf"));
  return moves;
}

void BM_PlaceGame(benchmark::State& state) {
  const auto& moves = GameMoves();
  for (auto _ : state) {
    state.PauseTiming();
    auto board = std::make_unique<CBadukBoard>();
    state.ResumeTiming();
    for (const auto& move : moves) benchmark::DoNotOptimize(board->PlaceStone(move.x, move.y, move.colour, 0, TRUE));
    state.PauseTiming();
    board.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(moves.size()));
}
BENCHMARK(BM_PlaceGame);

void BM_StepThroughGame(benchmark::State& state) {
  const auto& moves = GameMoves();
  CBadukBoard board;
  boardtest::PlaceAll(board, moves);
  CGamePosition& position = board.GetPosition();
  for (auto _ : state) {
    while (position.GoPrevious()) {
    }
    while (position.GoNext()) {
    }
  }
  state.SetItemsProcessed(state.iterations() * 2 * static_cast<int64_t>(moves.size()));
}
BENCHMARK(BM_StepThroughGame);

}  // namespace

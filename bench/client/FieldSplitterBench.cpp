#include <benchmark/benchmark.h>

#include <string>

#include "client/relay/FieldSplitter.h"

namespace {

void BM_FieldSplitterSplit100(benchmark::State& state) {
  std::string line;
  for (int i = 0; i < 100; ++i) line += "field" + std::to_string(i) + "|";
  CFieldSplitter s;
  for (auto _ : state) {
    benchmark::DoNotOptimize(s.Split(line.c_str(), '|'));
    benchmark::DoNotOptimize(s.GetField(99));
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_FieldSplitterSplit100);

}  // namespace

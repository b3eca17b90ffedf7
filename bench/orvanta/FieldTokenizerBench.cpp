#include <benchmark/benchmark.h>

#include "orvanta/connection/FieldTokenizer.h"

namespace {

CString HundredFieldLine() {
  CString line("|");
  for (int i = 0; i < 100; ++i) line.AppendFormat("field%03d|", i);
  return line;
}

// Walking a 100-field payload field by field, as the dispatcher's handlers do.
void BM_FieldTokenizerNextField100(benchmark::State& state) {
  CString line = HundredFieldLine();
  for (auto _ : state) {
    CFieldTokenizer t(line);
    for (int i = 0; i < 100; ++i) benchmark::DoNotOptimize(t.NextField());
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_FieldTokenizerNextField100);

void BM_FieldTokenizerGetCount100(benchmark::State& state) {
  CFieldTokenizer t(HundredFieldLine());
  for (auto _ : state) benchmark::DoNotOptimize(t.GetCount());
}
BENCHMARK(BM_FieldTokenizerGetCount100);

}  // namespace

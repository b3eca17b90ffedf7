#include <benchmark/benchmark.h>

#include "orvanta/connection/ServerDispatcher.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/connection/ServerRecord.h"
#include "tests/orvanta/connection/RecordingFrameActions.h"

namespace {

// A busy group: observers' chat lines and moves of a running game, 50 records in one segment.
CString BusyGroup() {
  CString group;
  for (int i = 0; i < 50; ++i) {
    CString payload;
    payload.Format("|room|%d|B|pd|%d|chat line number %d of the game|", i, 1800 - i, i);
    group += CServerLink::FormatFrame(1234, 5, i % 2 == 0 ? 14 : 6, payload, "1");
  }
  return group;
}

void BM_SplitGroup50(benchmark::State& state) {
  const CString group = BusyGroup();
  for (auto _ : state)
    benchmark::DoNotOptimize(CServerRecord::SplitGroup(group));
  state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(BM_SplitGroup50);

void BM_DispatchGroup50(benchmark::State& state) {
  const CString group = BusyGroup();
  for (auto _ : state) {
    CRecordingFrameActions frame;
    CServerDispatcher dispatcher(frame);
    dispatcher.DispatchServerFrames(group);
    benchmark::DoNotOptimize(frame.calls.data());
  }
  state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(BM_DispatchGroup50);

}  // namespace

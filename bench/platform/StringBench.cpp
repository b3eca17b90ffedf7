// Text handling of the platform: searches and replacements over code page 949 text of the size of
// a game record, and conversions at the edges.
#include <benchmark/benchmark.h>

#include "platform/collections.h"
#include "platform/strings.h"

namespace {

CString RecordText(int moves) {
  CString text;
  for (int i = 0; i < moves; ++i) text += CString(Cp949("흑")) + ";B[pd]C[" + Cp949("생중계") + " ab, cd]\r\n";
  return text;
}

void BM_FindEveryComma(benchmark::State& state) {
  CString text = RecordText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int count = 0;
    for (int at = text.Find(','); at >= 0; at = text.Find(',', at + 1)) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(state.iterations() * text.GetLength());
}
BENCHMARK(BM_FindEveryComma)->Arg(300)->Arg(3000);

void BM_ReplaceLineBreaks(benchmark::State& state) {
  CString text = RecordText(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CString copy = text;
    benchmark::DoNotOptimize(copy.Replace("\r\n", "\n"));
  }
  state.SetBytesProcessed(state.iterations() * text.GetLength());
}
BENCHMARK(BM_ReplaceLineBreaks)->Arg(300)->Arg(3000);

void BM_Cp949ToUtf8(benchmark::State& state) {
  CString text = RecordText(300);
  for (auto _ : state) benchmark::DoNotOptimize(Cp949ToUtf8(text.str()));
  state.SetBytesProcessed(state.iterations() * text.GetLength());
}
BENCHMARK(BM_Cp949ToUtf8);

void BM_RoomMapLookup(benchmark::State& state) {
  CMapWordToOb map;
  for (WORD room = 0; room < 500; ++room) map.SetAt(room, nullptr);
  WORD room = 0;
  for (auto _ : state) {
    CObject* found = nullptr;
    benchmark::DoNotOptimize(map.Lookup(room, found));
    room = static_cast<WORD>((room + 7) % 500);
  }
}
BENCHMARK(BM_RoomMapLookup);

}  // namespace

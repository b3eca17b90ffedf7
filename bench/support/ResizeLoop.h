#pragma once
// A person resizing a frame: each benchmark iteration resizes it once, alternating between two
// sizes, and lets the message loop paint. The counters split each resize into the layout (the size
// change with the views' WM_SIZE) and the paints that follow.
#include <benchmark/benchmark.h>

#include <chrono>

#include "platform/messageloop.h"
#include "platform/windows.h"

namespace benchsupport {

inline void RunResizes(benchmark::State& state, CWnd& frame, SIZE wide, SIZE narrow) {
  using Clock = std::chrono::steady_clock;
  Clock::duration layout{}, paint{};
  bool isWide = false;
  for (auto _ : state) {
    isWide = !isWide;
    const SIZE size = isWide ? wide : narrow;
    const auto start = Clock::now();
    frame.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto laidOut = Clock::now();
    platform::PumpMessages();
    layout += laidOut - start;
    paint += Clock::now() - laidOut;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["layout_ms"] = std::chrono::duration<double, std::milli>(layout).count() / n;
  state.counters["paint_ms"] = std::chrono::duration<double, std::milli>(paint).count() / n;
}

}  // namespace benchsupport

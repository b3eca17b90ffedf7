#pragma once
// A person resizing a frame: each benchmark iteration resizes it once, alternating between two
// sizes, and lets the message loop paint. The counters split each resize into the layout (the size
// change with the views' WM_SIZE) and the paints that follow.
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "platform/messageloop.h"
#include "platform/windows.h"

namespace benchsupport {

// Resizes the frame to size and lets the loop paint; false when the frame did not take the size
// (a frame keeps to its minimum tracking size, and a resize it refuses lays nothing out).
inline bool ResizeTo(CWnd& frame, SIZE size) {
  frame.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  platform::PumpMessages();
  CRect taken;
  frame.GetWindowRect(&taken);
  return taken.Width() == size.cx && taken.Height() == size.cy;
}

// layoutProbe names what the layout places (a board's rectangle): the sizes are checked once,
// before timing, to take the frame and to give that rectangle two different places.
inline void RunResizes(benchmark::State& state, CWnd& frame, SIZE wide, SIZE narrow,
                       const std::function<CRect()>& layoutProbe) {
  if (!ResizeTo(frame, wide)) return state.SkipWithError("the frame refused the wide size");
  const CRect wideLayout = layoutProbe();
  if (!ResizeTo(frame, narrow)) return state.SkipWithError("the frame refused the narrow size");
  if (layoutProbe() == wideLayout) return state.SkipWithError("the layout did not change with the size");
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

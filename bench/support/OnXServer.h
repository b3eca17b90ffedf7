#pragma once
// Benchmarks that include putting the picture on the screen: the program's windows shown on an
// Xvfb of the benchmark's own (shared memory on or off), the bytes the process writes to the
// server, and resizes asked for by the server's side as a window manager or a person asks them,
// each timed until the server has taken the last of the picture.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace benchsupport {

// Bytes this process has written so far (to files, sockets and pipes alike: while a benchmark
// runs, the X connection is all that is written to).
inline long long WrittenBytes() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value)
    if (key == "wchar:") return value;
  return 0;
}

// CPU time of this thread, seconds.
inline double ThreadCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The platform on a private Xvfb while the object lives; shared says whether the program may put
// its pixels through shared memory. Ready() is false where no Xvfb starts.
class OnXServer {
public:
  explicit OnXServer(bool shared) {
    if (!shared) setenv("PLATFORM_X11_SHM", "0", 1);
    m_ready = !m_server.Name().empty() && platform::display::UseX11Display(m_server.Name().c_str());
    unsetenv("PLATFORM_X11_SHM");
  }
  ~OnXServer() { platform::display::UseHeadless(); }
  OnXServer(const OnXServer&) = delete;
  OnXServer& operator=(const OnXServer&) = delete;
  bool Ready() const { return m_ready; }
  const std::string& Name() const { return m_server.Name(); }
  static void Skip(benchmark::State& state) { state.SkipWithError("no Xvfb could start: nothing to put pictures on"); }

private:
  platform::testing::PrivateXvfb m_server;
  bool m_ready{false};
};

// Lets the program and the server catch up: events read, paints done, pictures put, and the server
// through with every request.
inline void Settle() {
  for (int i = 0; i < 2; ++i) {
    platform::display::Sync();
    platform::PumpMessages();
  }
  platform::display::Sync();
}

}  // namespace benchsupport

// Xlib last: its macros would clash with names declared after it.
#include <X11/Xlib.h>

namespace benchsupport {

// A person resizing top from the server's side: each iteration asks the server (on a connection
// of its own, as a window manager does) to give top's X window the other of two frame sizes, and
// lasts until the frame has taken it, painted, and the server is through with the picture. The
// counters: this thread's CPU and the bytes written to the server, per resize.
inline void RunServerResizes(benchmark::State& state, const std::string& display, HWND top, SIZE wide, SIZE narrow) {
  ::Display* peer = XOpenDisplay(display.c_str());
  const Window native = static_cast<Window>(platform::display::NativeWindowOf(top));
  if (!peer || !native) return state.SkipWithError("the frame is not on the X server");
  Settle();
  XWindowAttributes shown{};
  XGetWindowAttributes(peer, native, &shown);
  RECT outer{};
  ::GetWindowRect(top, &outer);
  const SIZE frame{outer.right - outer.left - shown.width, outer.bottom - outer.top - shown.height};
  const auto frameSize = [&] {
    RECT r{};
    ::GetWindowRect(top, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  };
  using Clock = std::chrono::steady_clock;
  double cpu = 0;
  long long bytes = 0;
  bool isWide = false;
  bool refused = false;
  for (auto _ : state) {
    isWide = !isWide;
    const SIZE size = isWide ? wide : narrow;
    const double cpuBefore = ThreadCpuSeconds();
    const long long bytesBefore = WrittenBytes();
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    XResizeWindow(peer, native, static_cast<unsigned>(size.cx - frame.cx), static_cast<unsigned>(size.cy - frame.cy));
    XSync(peer, False);  // the server has made the change and told the program
    SIZE now = frameSize();
    while ((now.cx != size.cx || now.cy != size.cy) && Clock::now() < deadline) {
      platform::display::Sync();
      platform::PumpMessages();
      now = frameSize();
    }
    platform::PumpMessages();
    platform::display::Sync();
    cpu += ThreadCpuSeconds() - cpuBefore;
    bytes += WrittenBytes() - bytesBefore;
    refused = refused || now.cx != size.cx || now.cy != size.cy;
  }
  XCloseDisplay(peer);
  if (refused) return state.SkipWithError("the frame did not take a size the server gave it");
  const double n = static_cast<double>(state.iterations());
  state.counters["cpu_ms"] = cpu * 1000.0 / n;
  state.counters["bytes_per_resize"] = static_cast<double>(bytes) / n;
}

}  // namespace benchsupport

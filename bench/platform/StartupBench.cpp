// Start-up cost of the platform: the message loop, a top-level window and one headless paint,
// and the resident memory the platform library and that start-up take.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

class PaintedWnd : public CWnd {
public:
  int paints{0};

protected:
  void OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(220, 180, 110));
    ++paints;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintedWnd, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// Resident kilobytes of the whole process, from /proc.
double ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6));
  }
  return 0;
}

// Resident kilobytes of the mappings of libplatform.so.
double LibraryResidentKb() {
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inLibrary = false;
  double kb = 0;
  while (std::getline(smaps, line)) {
    if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) && line.find('-') != std::string::npos &&
        line.find(' ') != std::string::npos) {
      inLibrary = line.find("libplatform.so") != std::string::npos;
    } else if (inLibrary && line.rfind("Rss:", 0) == 0) {
      kb += std::stod(line.substr(4));
    }
  }
  return kb;
}

void StartWindowAndPaint() {
  PaintedWnd wnd;
  wnd.CreateEx(0, nullptr, "start", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
  platform::PumpMessages();
  benchmark::DoNotOptimize(wnd.paints);
  wnd.DestroyWindow();
  platform::PumpMessages();
}

// The first start-up in the process (loop creation included), measured once.
void BM_ColdStartup(benchmark::State& state) {
  static double coldMs = -1;
  static double rssBeforeKb = 0;
  static double rssAfterKb = 0;
  if (coldMs < 0) {
    rssBeforeKb = ResidentKb();
    auto start = std::chrono::steady_clock::now();
    StartWindowAndPaint();
    coldMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    rssAfterKb = ResidentKb();
  }
  for (auto _ : state) benchmark::DoNotOptimize(coldMs);
  state.counters["cold_ms"] = coldMs;
  state.counters["startup_rss_kb"] = rssAfterKb - rssBeforeKb;
  state.counters["library_rss_kb"] = LibraryResidentKb();
}
BENCHMARK(BM_ColdStartup)->Iterations(1);

// Warm: a window created, painted once (800x600) and destroyed.
void BM_WindowCreatePaintDestroy(benchmark::State& state) {
  for (auto _ : state) StartWindowAndPaint();
}
BENCHMARK(BM_WindowCreatePaintDestroy)->Unit(benchmark::kMicrosecond);

}  // namespace

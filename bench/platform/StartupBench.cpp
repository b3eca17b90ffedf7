// Start-up cost of the platform: the message loop, a top-level window and one headless paint,
// and the resident memory the platform library and that start-up take. The first start-up and its
// memory are measured in a process of their own (this program started again as the probe), while
// the window is shown, so that nothing another benchmark ran before counts.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

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

constexpr const char* kProbeVariable = "PLATFORM_STARTUP_PROBE";

struct StartupFigures {
  double coldMs{0};
  double rssBeforeKb{0};  // the process before the platform starts anything
  double rssShownKb{0};   // the process while the painted window is shown
  double libraryKb{0};    // of that, the mappings of the platform library
};

// The first start-up of this process, its memory read while the window is still shown.
StartupFigures MeasureFirstStartup() {
  StartupFigures f;
  f.rssBeforeKb = ResidentKb();
  auto start = std::chrono::steady_clock::now();
  PaintedWnd wnd;
  wnd.CreateEx(0, nullptr, "start", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr);
  platform::PumpMessages();
  f.coldMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  f.rssShownKb = ResidentKb();
  f.libraryKb = LibraryResidentKb();
  benchmark::DoNotOptimize(wnd.paints);
  wnd.DestroyWindow();
  platform::PumpMessages();
  return f;
}

// Starts this program again as the probe and reads the figures it prints; nothing on failure.
std::optional<StartupFigures> ProbeInAProcessOfItsOwn() {
  int out[2];
  if (::pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<std::string> environment{std::string(kProbeVariable) + "=1"};
  for (char** e = environ; *e; ++e) environment.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  char self[] = "/proc/self/exe";
  char* argv[] = {self, nullptr};
  pid_t pid = 0;
  int started = posix_spawn(&pid, self, &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  std::string text;
  char chunk[256];
  for (ssize_t got; started == 0 && (got = ::read(out[0], chunk, sizeof chunk)) > 0;) text.append(chunk, got);
  ::close(out[0]);
  int status = 0;
  if (started != 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return std::nullopt;
  StartupFigures f;
  if (std::sscanf(text.c_str(), "%lf %lf %lf %lf", &f.coldMs, &f.rssBeforeKb, &f.rssShownKb, &f.libraryKb) != 4)
    return std::nullopt;
  return f;
}

// The first start-up in a fresh process (loop creation included), measured once.
void BM_ColdStartup(benchmark::State& state) {
  static const std::optional<StartupFigures> figures = ProbeInAProcessOfItsOwn();
  if (!figures) {
    state.SkipWithError("the start-up probe process did not report");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(figures->coldMs);
  state.counters["cold_ms"] = figures->coldMs;
  state.counters["startup_rss_kb"] = figures->rssShownKb - figures->rssBeforeKb;
  state.counters["shown_rss_kb"] = figures->rssShownKb;
  state.counters["library_rss_kb"] = figures->libraryKb;
}
BENCHMARK(BM_ColdStartup)->Iterations(1);

// Warm: a window created, painted once (800x600) and destroyed.
void BM_WindowCreatePaintDestroy(benchmark::State& state) {
  for (auto _ : state) StartWindowAndPaint();
}
BENCHMARK(BM_WindowCreatePaintDestroy)->Unit(benchmark::kMicrosecond);

// Started as the probe, the program measures its first start-up, prints the figures and ends
// before any benchmark runs.
const bool kRunAsProbe = [] {
  if (!std::getenv(kProbeVariable)) return false;
  StartupFigures f = MeasureFirstStartup();
  std::printf("%f %f %f %f\n", f.coldMs, f.rssBeforeKb, f.rssShownKb, f.libraryKb);
  std::fflush(stdout);
  std::_Exit(0);
}();

}  // namespace

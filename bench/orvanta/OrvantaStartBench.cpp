// Orvanta's start: from nothing to the first painted start view (headless, no server), and the
// resident memory after a login with the start view shown; each measured in a process of its own
// (a child forked for the purpose), so that nothing that ran before counts. And the banner
// control's frame decode of a 320 x 240 animation.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <optional>
#include <random>
#include <string>

#include <platform/messageloop.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/uiscript.h>

#include "bench/support/MeasureInChild.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/app/OrvantaApp.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "orvanta/widgets/GifDecoder.h"
#include "peers/orvanta/GameServerPeer.h"
#include "tests/orvanta/widgets/GifWriter.h"

namespace {

// Answers the login dialog with login (OK) or Cancel, and every message box with its default.
class LoginScript : public platform::UiScript {
public:
  explicit LoginScript(bool login) : m_login(login) {}
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND dialog) override {
    if (templateId != 179 || !m_login)
      return IDCANCEL;
    ::SetDlgItemText(dialog, 1127, "bench");
    ::SetDlgItemText(dialog, 1126, "pw");
    return IDOK;
  }
  std::optional<int> OnMessageBox(const char*, const char*, UINT) override { return IDOK; }

private:
  bool m_login;
};

struct ChildFigures {
  double startMs{0};
  double startCpuMs{0};  // the child's processor time: what the start costs on a busy machine
  double residentKb{0};
  int ok{0};
};

// Runs the program's start in a forked child: resources, the application's start-up (login
// answered by script), until the start view is painted (and, with a server, shows its rooms).
ChildFigures StartInChild(const std::string& server) {
  return benchsupport::MeasureInChild([&server] {
    ChildFigures figures;
    const auto begun = std::chrono::steady_clock::now();
    platform::ScopedPlatformHome home;
    char folder[] = "/tmp/orvanta-bench-XXXXXX";
    if (!::mkdtemp(folder) || ::chdir(folder) != 0)
      return figures;
    if (server.empty())
      ::unsetenv("ORVANTA_SERVER");
    else
      ::setenv("ORVANTA_SERVER", server.c_str(), 1);
    platform::ResourceModule& module = platform::CreateResourceModule("orvanta");
    RegisterOrvantaResources(module.Handle());
    platform::SetInstanceHandle(module.Handle());
    LoginScript script(!server.empty());
    platform::ScopedUiScript scoped(&script);
    COrvantaApp app;
    if (app.InitInstance()) {
      auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
      platform::PumpMessages();  // the first paint
      if (!server.empty())
        platform::RunUntil([&] { return frame->GetStartView() && frame->GetStartView()->GetRoomButtonCount() > 1; },
                           5000);
      figures.startMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun).count();
      figures.startCpuMs = 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
      figures.residentKb = benchsupport::ResidentKiB();  // the window is still shown
      figures.ok = frame && frame->IsWindowVisible() && frame->GetStartView() ? 1 : 0;
    }
    return figures;
  });
}

// Start-up to the first painted start view, headless, without a server (target 50 ms).
void BM_StartupToPaintedStartView(benchmark::State& state) {
  double totalMs = 0;
  double totalCpuMs = 0;
  double residentKb = 0;
  for (auto _ : state) {
    const ChildFigures figures = StartInChild("");
    if (!figures.ok) {
      state.SkipWithError("the start view was not shown");
      return;
    }
    state.SetIterationTime(figures.startMs / 1000.0);
    totalMs += figures.startMs;
    totalCpuMs += figures.startCpuMs;
    residentKb = figures.residentKb;
  }
  state.counters["start_ms"] = totalMs / static_cast<double>(state.iterations());
  state.counters["start_cpu_ms"] = totalCpuMs / static_cast<double>(state.iterations());
  state.counters["rss_MB"] = residentKb / 1024.0;
}
BENCHMARK(BM_StartupToPaintedStartView)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Resident memory after a login against the game-server peer, with the start view showing the
// server's rooms (target 20 MB).
void BM_ResidentAfterLogin(benchmark::State& state) {
  GameServerPeer peer;
  peer.ReplyAlways(0, 2, {{GameServerPeer::WaitingRoomList({"1", "Hall", "2", "Lake", "3", "Study"}), 0}});
  peer.ReplyAlways(3, 6, {{GameServerPeer::Record(3, 6, "|3|1|1|Hall|1|2|Lake|3|3|Study|"), 0}});
  double residentKb = 0;
  for (auto _ : state) {
    const ChildFigures figures = StartInChild(peer.Address());
    if (!figures.ok) {
      state.SkipWithError("the start view was not shown");
      return;
    }
    state.SetIterationTime(figures.startMs / 1000.0);
    residentKb = figures.residentKb;
  }
  state.counters["rss_MB"] = residentKb / 1024.0;
}
BENCHMARK(BM_ResidentAfterLogin)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// One frame of a 320 x 240 animation of 64 colours decoded by the banner control's reader.
void BM_GifFrameDecode320x240(benchmark::State& state) {
  std::vector<std::uint32_t> palette;
  for (int i = 0; i < 64; ++i)
    palette.push_back(static_cast<std::uint32_t>(i * 0x040404));
  std::vector<giftest::Image> frames;
  std::mt19937 random(7);
  for (int f = 0; f < 4; ++f) {
    giftest::Image image;
    image.width = 320;
    image.height = 240;
    image.control = true;
    image.delay = 10;
    // Horizontal bands with noise: compresses like a photograph-ish banner, not like a flat fill.
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x)
        image.pixels.push_back(static_cast<std::uint8_t>(((y + f * 8) / 4 + (random() % 3)) % 64));
    frames.push_back(std::move(image));
  }
  const std::string file = giftest::Write(320, 240, palette, frames);
  CGifDecoder decoder;
  if (!decoder.Load(reinterpret_cast<const std::uint8_t*>(file.data()), file.size())) {
    state.SkipWithError("the animation did not load");
    return;
  }
  CGifDecoder::Frame frame;
  for (auto _ : state) {
    if (!decoder.NextFrame(frame))
      decoder.NextFrame(frame);  // past the trailer
    benchmark::DoNotOptimize(frame.pixels.data());
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["file_KB"] = static_cast<double>(file.size()) / 1024.0;
}
BENCHMARK(BM_GifFrameDecode320x240)->Unit(benchmark::kMicrosecond);

}  // namespace

// The viewer's main view: relay lines per second from a loopback relay's socket through the line
// handlers and the delay queue onto the board (painting left to the message loop, which the
// benchmark never runs); start-up to the first painted window; resident memory with a long game;
// on an X server of its own, what a relayed move and a resize send the server and how long a
// resize takes until the server has the picture.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "bench/support/MeasureInChild.h"
#include "bench/support/ResizeLoop.h"
#include "client/app/ClientApp.h"
#include "client/relay/ClientConfig.h"
#include "client/app/ClientDoc.h"
#include "client/app/ClientView.h"
#include "client/app/MainFrame.h"
#include "client/model/CommentMap.h"
#include "client/model/GameInfo.h"
#include "client/model/GameRecordFile.h"
#include "client/model/NodeArray.h"
#include "client/resources/ClientIds.h"
#include "client/resources/ClientResources.h"
#include "peers/client/RelayBenchSender.h"
#include "platform/controls.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/uiscript.h"
// Xlib comes with it: after the program's headers.
#include "bench/support/OnXServer.h"

namespace {

class BenchScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND dialog) override {
    if (templateId != IDD_LOGIN || !login) return IDCANCEL;
    ::SetWindowText(::GetDlgItem(dialog, IDC_LOGIN_USER), "bench");
    ::SetWindowText(::GetDlgItem(dialog, IDC_LOGIN_PASSWORD), "bench");
    return IDOK;
  }
  std::optional<int> OnMessageBox(const char*, const char*, UINT) override { return IDOK; }
  bool login{false};
};

platform::ResourceModule& Module() {
  static platform::ResourceModule& module = [] () -> platform::ResourceModule& {
    setenv("PLATFORM_HEADLESS", "1", 1);
    platform::ResourceModule& m = platform::CreateResourceModule("client-view-bench");
    platform::SetInstanceHandle(m.Handle());
    return m;
  }();
  return module;
}

// The program's frame and view, made as the application makes them.
struct Viewer {
  explicit Viewer(bool login) {
    script.login = login;
    docTemplate = std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RUNTIME_CLASS(CClientDoc),
                                                       RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CClientView));
    docTemplate->LoadTemplate();
    docTemplate->OpenDocumentFile(nullptr);
    frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    view = frame ? dynamic_cast<CClientView*>(frame->GetActiveView()) : nullptr;
  }
  ~Viewer() {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  BenchScript script;
  platform::ScopedUiScript scope{&script};
  CClientApp app;
  std::unique_ptr<CSingleDocTemplate> docTemplate;
  CMainFrame* frame{nullptr};
  CClientView* view{nullptr};
};

// Every line carries one server time: the relay's clock never runs back, and the same bytes are sent
// again and again. Rising stamps would run back at each repeat, which the queue rightly takes for a
// grown delay and answers by replaying all it holds, a cost that grows with the run, not the line.
constexpr int kServerTime = 1000000000;

// Take-backs of moves count..1, as relay lines: the board ends empty without being reset.
std::string UndoLines(int count) {
  std::string lines;
  char line[64];
  for (int i = count; i >= 1; --i) {
    std::snprintf(line, sizeof line, "um|%03d|%010d\n", i, kServerTime);
    lines += line;
  }
  return lines;
}

// Moves on count different points, alternating colours, as relay lines.
std::string MoveLines(int count) {
  std::string lines;
  char line[96];
  for (int i = 0; i < count; ++i) {
    const int x = (i * 7) % 19 + 1;
    const int y = (i * 7) / 19 % 19 + 1;
    std::snprintf(line, sizeof line, "am|%03d|%s|%c%c|%d|010000|010000\n", i + 1, i % 2 ? "w" : "b", x + 0x60, y + 0x60,
                  kServerTime);
    lines += line;
  }
  return lines;
}

void BM_RelayLinesIntoBoard(benchmark::State& state) {
  platform::ResourceScope resources(Module().Handle());
  RegisterClientResources(Module().Handle());
  constexpr int kMoves = 300;
  // Played and taken back again and again; "eh" once, so every move goes to the board at once.
  RelayBenchSender sender(MoveLines(kMoves) + UndoLines(kMoves));
  GetClientConfig().SetClientIp("127.0.0.1");
  GetClientConfig().SetClientPort(sender.Port());
  GetClientConfig().SetSound(false);
  Viewer viewer(true);
  if (viewer.view == nullptr || !viewer.view->IsConnected()) {
    state.SkipWithError("the view did not connect");
    return;
  }
  viewer.view->DoReceive(2, "eh");
  CRelaySocket& socket = viewer.view->GetSocket();
  socket.AsyncSelect(0);  // lines are read here, not through the message loop
  for (auto _ : state) {
    if (!socket.ReadLine()) {
      state.SkipWithError(socket.GetErrorText().GetString());
      break;
    }
    viewer.view->DoReceive(socket.GetLineLength(), socket.GetLine());
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["board_moves"] = viewer.view->GetBoard().GetLastMove();
  viewer.view->Disconnect();
}
BENCHMARK(BM_RelayLinesIntoBoard)->MinTime(1.0);

void BM_StartUpToFirstPaint(benchmark::State& state) {
  platform::ResourceScope resources(Module().Handle());
  GetClientConfig().SetClientIp("");
  for (auto _ : state) {
    RegisterClientResources(Module().Handle());
    Viewer viewer(false);
    viewer.frame->ShowWindow(SW_SHOW);
    viewer.frame->UpdateWindow();
    benchmark::DoNotOptimize(viewer.view);
  }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

struct ResidentFigures {
  double residentKiB{0};
  int boardMoves{0};
  int ok{0};
};

// A 250-move game with a comment on every move, as a record file the view opens.
void WriteRecordOf250Moves(const std::string& path) {
  CNodeArray moves;
  CCommentMap comments;
  CGameInfo info;
  info.m_blackName = "Kim";
  info.m_whiteName = "Lee";
  for (int i = 0; i < 250; ++i) {
    moves.AddNode(new CStoneNode((i * 7) % 19 + 1, (i * 7) / 19 % 19 + 1, i % 2 ? 1 : 2, i + 1, 0));
    comments.AddComment(i + 1, "A comment on this move for the viewers.");
  }
  CGameRecordFile file;
  file.Write(path.c_str(), &moves, &comments, nullptr, &info);
  moves.DeleteAll();
}

// Opens the record at path in a process of its own, shows and paints the window, and reads the
// resident memory then, so that what the other benchmarks allocated never counts.
void OpenShownInChild(benchmark::State& state, const std::string& path) {
  ResidentFigures figures;
  for (auto _ : state) {
    figures = benchsupport::MeasureInChild([&] {
      ResidentFigures shown;
      platform::ResourceScope resources(Module().Handle());
      RegisterClientResources(Module().Handle());
      GetClientConfig().SetClientIp("");
      Viewer viewer(false);
      CClientView& view = *viewer.view;
      if (!view.OpenRecordFile(path.c_str())) return shown;
      viewer.frame->ShowWindow(SW_SHOW);
      viewer.frame->UpdateWindow();
      platform::PumpMessages();
      shown.residentKiB = benchsupport::ResidentKiB();
      shown.boardMoves = view.GetBoard().GetLastMove();
      shown.ok = 1;
      return shown;
    });
    if (!figures.ok) {
      state.SkipWithError("the record did not open");
      break;
    }
  }
  state.counters["board_moves"] = figures.boardMoves;
  state.counters["resident_MiB"] = figures.residentKiB / 1024.0;
}

// Resident memory with a 250-move game shown (target 20 MB).
void BM_ResidentWith250MoveGame(benchmark::State& state) {
  const std::string path = "/tmp/client-bench-250.sgf";
  WriteRecordOf250Moves(path);
  OpenShownInChild(state, path);
  std::remove(path.c_str());
}
BENCHMARK(BM_ResidentWith250MoveGame)->Iterations(1)->Unit(benchmark::kMillisecond);

// A record whose first move carries a 20 MB comment, opened and shown with that comment in the
// pane: the time to a painted window and the memory then.
void BM_OpenRecordWithA20MBComment(benchmark::State& state) {
  const std::string path = "/tmp/client-bench-big-comment.sgf";
  {
    CNodeArray moves;
    CCommentMap comments;
    CGameInfo info;
    moves.AddNode(new CStoneNode(4, 4, 2, 1, 0));
    std::string text;
    while (text.size() < 20u * 1024 * 1024) text += "A long commentary line for the viewers of this game. ";
    comments.AddComment(1, CString(text));
    CGameRecordFile file;
    file.Write(path.c_str(), &moves, &comments, nullptr, &info);
    moves.DeleteAll();
  }
  OpenShownInChild(state, path);
  std::remove(path.c_str());
}
BENCHMARK(BM_OpenRecordWithA20MBComment)->Iterations(1)->Unit(benchmark::kMillisecond);

// A person resizing the window: the frame goes between 1000x740 and 840x680, both above its
// minimum tracking size, with a 250-move game on the board and its comments shown; each iteration
// is one resize laid out and painted. The counters split the time into the layout (the size change
// and the views' WM_SIZE) and the paints.
void BM_ResizeFrameWithAGameShown(benchmark::State& state) {
  const std::string path = "/tmp/client-bench-resize.sgf";
  WriteRecordOf250Moves(path);
  platform::ResourceScope resources(Module().Handle());
  RegisterClientResources(Module().Handle());
  GetClientConfig().SetClientIp("");
  Viewer viewer(false);
  if (!viewer.view || !viewer.view->OpenRecordFile(path.c_str())) {
    state.SkipWithError("the record did not open");
    return;
  }
  viewer.frame->ShowWindow(SW_SHOW);
  viewer.frame->UpdateWindow();
  platform::PumpMessages();
  CClientView& view = *viewer.view;
  benchsupport::RunResizes(state, *viewer.frame, SIZE{1000, 740}, SIZE{840, 680}, [&] {
    CRect board;
    view.GetBoard().GetWindowRect(&board);
    return board;
  });
  state.counters["board_moves"] = viewer.view->GetBoard().GetLastMove();
  std::remove(path.c_str());
}
BENCHMARK(BM_ResizeFrameWithAGameShown)->Unit(benchmark::kMillisecond);

// The viewer with a 250-move game, shown at size on a private X server (pixels through shared
// memory or through the connection).
struct ViewerOnXServer {
  // The viewer is made headless, where its questions go to the script, then shown on the server.
  // Live, it is connected to a relay whose lines the benchmark hands it itself; else it shows a
  // 250-move game from a file.
  explicit ViewerOnXServer(bool shared, SIZE size = SIZE{1000, 740}, bool live = false) {
    WriteRecordOf250Moves(path);
    if (live) {
      sender.emplace("");
      GetClientConfig().SetClientIp("127.0.0.1");
      GetClientConfig().SetClientPort(sender->Port());
      GetClientConfig().SetSound(false);
    } else {
      GetClientConfig().SetClientIp("");
    }
    viewer.emplace(live);
    if (!viewer->view) return;
    if (live) {
      if (!viewer->view->IsConnected()) return;
      viewer->view->GetSocket().AsyncSelect(0);  // lines come from the benchmark, not the socket
    } else if (!viewer->view->OpenRecordFile(path.c_str())) {
      return;
    }
    viewer->frame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    server.emplace(shared);
    if (!server->Ready()) return;
    viewer->frame->ShowWindow(SW_SHOW);
    viewer->frame->UpdateWindow();
    benchsupport::Settle();
    ready = true;
  }
  ~ViewerOnXServer() {
    server.reset();
    viewer.reset();
    std::remove(path.c_str());
  }
  std::string path{"/tmp/client-bench-x.sgf"};
  platform::ResourceScope resources{Module().Handle()};
  bool registered{(RegisterClientResources(Module().Handle()), true)};
  std::optional<RelayBenchSender> sender;
  std::optional<Viewer> viewer;
  std::optional<benchsupport::OnXServer> server;
  bool ready{false};
};

// Relayed moves (no new comment) shown on the X server: each iteration is a move on a new point,
// painted and put on the screen. Counters: bytes written to the server per move, and that as a
// share of the window's pixels (4 bytes each).
void BM_RelayedMoveOnTheXServer(benchmark::State& state) {
  ViewerOnXServer shown(state.range(0) != 0, SIZE{1000, 740}, true);
  if (!shown.ready) {
    return shown.server && !shown.server->Ready() ? benchsupport::OnXServer::Skip(state)
                                                  : state.SkipWithError("the view did not connect");
  }
  CClientView& view = *shown.viewer->view;
  view.DoReceive(2, "eh");
  const std::string lines = MoveLines(360);
  std::size_t at = 0;
  long long bytes = 0;
  for (auto _ : state) {
    const std::size_t end = lines.find('\n', at);
    if (end == std::string::npos) {
      state.SkipWithError("no more points");
      break;
    }
    std::string line = lines.substr(at, end - at);
    at = end + 1;
    const long long before = benchsupport::WrittenBytes();
    view.DoReceive(static_cast<int>(line.size()), line.c_str());
    benchsupport::Settle();
    bytes += benchsupport::WrittenBytes() - before;
  }
  CRect window;
  shown.viewer->frame->GetWindowRect(&window);
  state.counters["board_moves"] = view.GetBoard().GetLastMove();
  const double perMove = static_cast<double>(bytes) / static_cast<double>(state.iterations());
  state.counters["bytes_per_move"] = perMove;
  state.counters["window_share_pct"] = 100.0 * perMove / (4.0 * window.Width() * window.Height());
}
BENCHMARK(BM_RelayedMoveOnTheXServer)->Arg(1)->Arg(0)->Iterations(120)->Unit(benchmark::kMillisecond);

// A person resizing the viewer on the X server, between 1000x740 and 840x680: each iteration is
// asked by the server's side and lasts until the server has taken the last of the new picture.
void BM_ResizeOnTheXServer(benchmark::State& state) {
  ViewerOnXServer shown(state.range(0) != 0);
  if (!shown.ready) {
    return shown.server && !shown.server->Ready() ? benchsupport::OnXServer::Skip(state)
                                                  : state.SkipWithError("the record did not open");
  }
  benchsupport::RunServerResizes(state, shown.server->Name(), shown.viewer->frame->GetSafeHwnd(), SIZE{1000, 740},
                                 SIZE{840, 680});
}
BENCHMARK(BM_ResizeOnTheXServer)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

struct EnlargementFigures {
  double firstMs{0};
  double nextMs{0};
  double firstCpuMs{0};
  double nextCpuMs{0};
  int ok{0};
};

// CPU time of this thread, milliseconds, to the nanosecond.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The first enlargement of a freshly shown viewer against the next one (795x636 -> 1000x740, on
// a private X server, in a process of its own so nothing grown before counts): each is timed
// until the server has the picture. The CPU counters are the viewer's own share of that time
// (page faults included), which waits on the server and other processes leave out.
void BM_FirstEnlargementAgainstTheNext(benchmark::State& state) {
  EnlargementFigures figures;
  for (auto _ : state) {
    figures = benchsupport::MeasureInChild([&] {
      EnlargementFigures measured;
      ViewerOnXServer shown(true, SIZE{795, 636});
      if (!shown.ready) return measured;
      CMainFrame& frame = *shown.viewer->frame;
      double cpuMs = 0;
      const auto resize = [&](int cx, int cy) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMs();
        frame.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
        benchsupport::Settle();
        cpuMs = ThreadCpuMs() - cpuStart;
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      };
      measured.firstMs = resize(1000, 740);
      measured.firstCpuMs = cpuMs;
      resize(795, 636);
      measured.nextMs = resize(1000, 740);
      measured.nextCpuMs = cpuMs;
      measured.ok = 1;
      return measured;
    });
    if (!figures.ok) {
      state.SkipWithError("no viewer on an X server");
      break;
    }
  }
  state.counters["first_ms"] = figures.firstMs;
  state.counters["next_ms"] = figures.nextMs;
  state.counters["first_cpu_ms"] = figures.firstCpuMs;
  state.counters["next_cpu_ms"] = figures.nextCpuMs;
}
BENCHMARK(BM_FirstEnlargementAgainstTheNext)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

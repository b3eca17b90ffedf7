// A 250-move game received from the game server and shown: from the peer's socket through the
// link, the dispatcher, the frame and the game room to the board control, painted after the last
// move. Items are moves. On an X server of its own: a stream of moves and chat shown as it comes,
// and a person's resizes, each until the server has the picture.

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include <platform/files.h>
#include <platform/messageloop.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/sound.h>
#include <platform/time.h>

#include "bench/control/RecordedGame.h"
#include "bench/support/ResizeLoop.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/resources/OrvantaResources.h"
#include "orvanta/room/DagukRoomView.h"
#include "peers/orvanta/GameServerPeer.h"
#include "support/StolvexModuleHome.h"
// Xlib comes with it: after the program's headers.
#include "bench/support/OnXServer.h"

namespace {

constexpr int kMoves = 250;

// The recorded game, padded with passes to kMoves, as the server's move records, each followed
// by between.
std::string GameRecords(const std::string& between = "") {
  std::string game = std::string(kRecordedGame) + "WttBttWtt";
  std::string records;
  int number = 0;
  for (std::size_t at = 0; at + 3 <= game.size() && number < kMoves; at += 3) {
    ++number;
    std::string colour(1, game[at]);
    std::string payload = "|a|b|" + std::to_string(number) + "|" + colour + "[" + game.substr(at + 1, 2) + "]|" +
                          colour + "L[600]|";
    records += GameServerPeer::Record(5, 14, payload) + between;
  }
  return records;
}

// A game room entered on the game-server peer, with the frame shown.
struct EnteredRoom {
  EnteredRoom() {
    ::SetCurrentDirectory(folder.Path().c_str());
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-room-bench");
    RegisterOrvantaResources(module.Handle());
    resources.emplace(module.Handle());
    CServerAddress address;
    address.m_strHost = "127.0.0.1";
    address.m_nPort = peer.Port();
    address.m_bFound = TRUE;
    frame = new CMainFrame(address);
    frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW);
    frame->ShowWindow(SW_SHOW);
    frame->ConnectToServer("carol", "pw9");
    platform::RunUntil([&] { return frame->IsConnected() && peer.RecordCount() >= 6; }, 5000);
    frame->SetWaitingRoomKey("1", "k");
    peer.Send({{GameServerPeer::Record(5, 3, "|12|hc|carol|Carol|3k|1|3|1|") + GameServerPeer::Record(5, 10, "||"), 0}});
    platform::RunUntil(
        [&] { return frame->GetActiveViewId() == CMainFrame::kGameRoomView && !frame->IsDeferringMoves(); }, 5000);
    // The frame switched its upper pane to the game room view.
    view = dynamic_cast<CDagukRoomView*>(frame->GetContentView());
    room = view ? view->GetRoom() : nullptr;
  }
  ~EnteredRoom() {
    frame->DestroyWindow();
    platform::PumpMessages();
  }
  // Plays the whole game into the room; false when the moves did not all arrive.
  bool PlayGame() {
    peer.Send({{GameServerPeer::Record(5, 12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|600|30|3|"), 0}});
    platform::RunUntil([&] { return room->GetMoveCounter() == 0 && room->GetRoomState() == 0x42; }, 5000);
    peer.Send({{GameRecords(), 0}});
    return platform::RunUntil([&] { return room->GetMoveCounter() == kMoves; }, 20000);
  }

  platform::ScopedPlatformHome home;
  testsupport::StolvexModuleHome control;
  platform::TempDir folder;
  std::optional<platform::ResourceScope> resources;
  GameServerPeer peer;
  CMainFrame* frame{nullptr};
  CDagukRoomView* view{nullptr};
  CGameRoom* room{nullptr};
};

void BM_GameFromSocketToPaintedBoard(benchmark::State& state) {
  EnteredRoom entered;
  if (!entered.room) {
    state.SkipWithError("no game room view");
    return;
  }
  for (auto _ : state) {
    if (!entered.PlayGame()) {
      state.SkipWithError("the moves did not all arrive");
      break;
    }
    ::RedrawWindow(entered.view->GetBoardControl().m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    platform::ClearSoundCalls();
  }
  state.SetItemsProcessed(state.iterations() * kMoves);
}
BENCHMARK(BM_GameFromSocketToPaintedBoard)->Unit(benchmark::kMillisecond)->UseRealTime();

// A person resizing the frame with a 250-move game on the room's board: each iteration is one
// resize between 1000x740 and 900x680, laid out and painted; the counters split layout and paints.
void BM_ResizeGameRoomWithABoard(benchmark::State& state) {
  EnteredRoom entered;
  if (!entered.room || !entered.PlayGame()) {
    state.SkipWithError("no game on the room's board");
    return;
  }
  platform::PumpMessages();
  benchsupport::RunResizes(state, *entered.frame, SIZE{1000, 740}, SIZE{900, 680}, [&] {
    CRect board;
    entered.view->GetBoardControl().GetWindowRect(&board);
    return board;
  });
}
BENCHMARK(BM_ResizeGameRoomWithABoard)->Unit(benchmark::kMillisecond);

// The game's moves with a line of chat after each, sent by the server as one stream while the
// room is shown on a private X server (argument 1: pixels through shared memory, 0: through the
// connection); each iteration is the whole game, shown and put on the screen. Items are records.
void BM_GameRoomStreamOnTheXServer(benchmark::State& state) {
  // Entered headless, where questions go to the script, then shown on the server.
  EnteredRoom entered;
  if (!entered.room) return state.SkipWithError("no game room view");
  entered.frame->SetWindowPos(nullptr, 0, 0, 1000, 740, SWP_NOMOVE | SWP_NOZORDER);
  benchsupport::OnXServer server(state.range(0) != 0);
  if (!server.Ready()) return benchsupport::OnXServer::Skip(state);
  benchsupport::Settle();
  const std::string stream = GameRecords(GameServerPeer::Record(5, 6, "|a|b|c|kim|e|f|a fine move, I think|"));
  double cpu = 0;
  for (auto _ : state) {
    entered.peer.Send({{GameServerPeer::Record(5, 12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|600|30|3|"), 0}});
    platform::RunUntil([&] { return entered.room->GetMoveCounter() == 0 && entered.room->GetRoomState() == 0x42; },
                       5000);
    benchsupport::Settle();
    const double before = benchsupport::ThreadCpuSeconds();
    entered.peer.Send({{stream, 0}});
    if (!platform::RunUntil([&] { return entered.room->GetMoveCounter() == kMoves; }, 30000)) {
      state.SkipWithError("the moves did not all arrive");
      break;
    }
    benchsupport::Settle();
    cpu += benchsupport::ThreadCpuSeconds() - before;
    platform::ClearSoundCalls();
  }
  state.SetItemsProcessed(state.iterations() * kMoves * 2);
  state.counters["cpu_ms_per_game"] = cpu * 1000.0 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GameRoomStreamOnTheXServer)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

// A person resizing the frame on the X server with a 250-move game on the room's board, between
// 1000x740 and 900x680: each iteration is asked by the server's side and lasts until the server
// has taken the last of the new picture.
void BM_ResizeGameRoomOnTheXServer(benchmark::State& state) {
  EnteredRoom entered;
  if (!entered.room || !entered.PlayGame()) return state.SkipWithError("no game on the room's board");
  benchsupport::OnXServer server(state.range(0) != 0);
  if (!server.Ready()) return benchsupport::OnXServer::Skip(state);
  benchsupport::RunServerResizes(state, server.Name(), entered.frame->GetSafeHwnd(), SIZE{1000, 740},
                                 SIZE{900, 680});
}
BENCHMARK(BM_ResizeGameRoomOnTheXServer)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

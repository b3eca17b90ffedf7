// Records per second as a busy server sends them, every write cut at a random place: through the
// real frame into a waiting room whose chat box is full and into a game room with moves and chat,
// and through the link and the dispatcher alone. Items are records.

#include <benchmark/benchmark.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include <platform/files.h>
#include <platform/messageloop.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/sound.h>
#include <platform/time.h>

#include "bench/control/RecordedGame.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/connection/ServerDispatcher.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "orvanta/room/DagukRoomView.h"
#include "peers/orvanta/GameServerPeer.h"
#include "peers/orvanta/LoopbackServer.h"
#include "support/StolvexModuleHome.h"
#include "tests/orvanta/connection/RecordingFrameActions.h"

namespace {

std::string Rec(int major, int minor, const std::string& payload) { return GameServerPeer::Record(major, minor, payload); }

// The stream cut at random places, each piece one write.
std::vector<PeerPiece> CutAtRandom(const std::string& stream, std::mt19937& random) {
  std::uniform_int_distribution<std::size_t> length(1, 3000);
  std::vector<PeerPiece> pieces;
  for (std::size_t at = 0; at < stream.size();) {
    const std::size_t n = std::min(stream.size() - at, length(random));
    pieces.push_back({stream.substr(at, n), 0});
    at += n;
  }
  return pieces;
}

std::string ChatLine(long n) {
  return Rec(3, 4, "|R2|x|u" + std::to_string(n % 97) + "|a|b|line " + std::to_string(n) +
                       " of a busy waiting room, long enough to wrap in the box|");
}

// A frame logged in to the game-server peer, shown, with the board control registered.
struct LoggedInFrame {
  LoggedInFrame() {
    ::SetCurrentDirectory(folder.Path().c_str());
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-stream-bench");
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
  }
  ~LoggedInFrame() {
    frame->DestroyWindow();
    platform::PumpMessages();
  }

  platform::ScopedPlatformHome home;
  testsupport::StolvexModuleHome control;
  platform::TempDir folder;
  std::optional<platform::ResourceScope> resources;
  GameServerPeer peer;
  CMainFrame* frame{nullptr};
};

CString ChatBoxText(CTirvoDListView& view) {
  CString text;
  view.GetDlgItemText(static_cast<int>(CTirvoDListView::kChatBox), text);
  return text;
}

void BM_WaitingRoomWithAFullChatBox(benchmark::State& state) {
  LoggedInFrame logged;
  logged.peer.Send({{GameServerPeer::WaitingRoomList({"1|Free", "2|Dan room"}), 0}});
  platform::RunUntil([&] { return !logged.frame->GetWaitingRoomTable().GetEntries().empty(); }, 5000);
  logged.frame->RememberWaitingRoom(2, "R2", "Dan room");
  logged.frame->SwitchView(CMainFrame::kWaitingRoomView);
  CTirvoDListView* view = logged.frame->GetWaitingRoomView();
  if (!view) {
    state.SkipWithError("no waiting room");
    return;
  }
  std::mt19937 random(7);
  long sent = 0;
  const auto stream = [&](int records) {
    std::string bytes;
    for (int i = 0; i < records; ++i) bytes += ChatLine(++sent);
    logged.peer.Send(CutAtRandom(bytes, random));
    const std::string last = "line " + std::to_string(sent) + " ";
    return platform::RunUntil([&] { return ChatBoxText(*view).Find(last.c_str()) >= 0; }, 30000);
  };
  if (!stream(600) || ChatBoxText(*view).GetLength() < 30000) {
    state.SkipWithError("the chat box did not fill");
    return;
  }
  constexpr int kRecords = 1000;
  for (auto _ : state) {
    if (!stream(kRecords)) {
      state.SkipWithError("the records were not all shown");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_WaitingRoomWithAFullChatBox)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GameRoomWithMovesAndChat(benchmark::State& state) {
  LoggedInFrame logged;
  logged.frame->SetWaitingRoomKey("1", "k");
  logged.peer.Send({{Rec(5, 3, "|12|hc|carol|Carol|3k|1|3|1|") + Rec(5, 10, "||"), 0}});
  platform::RunUntil([&] {
    return logged.frame->GetActiveViewId() == CMainFrame::kGameRoomView && !logged.frame->IsDeferringMoves();
  }, 5000);
  auto* view = dynamic_cast<CDagukRoomView*>(logged.frame->GetContentView());
  CGameRoom* room = view ? view->GetRoom() : nullptr;
  if (!room) {
    state.SkipWithError("no game room");
    return;
  }
  std::mt19937 random(9);
  const std::string game = kRecordedGame;
  const int kMoves = static_cast<int>(game.size() / 3);
  const int kChats = kMoves;
  long iteration = 0;
  for (auto _ : state) {
    // The game starts again; each move is followed by an observer's line.
    std::string bytes = Rec(5, 12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|600|30|3|");
    for (int n = 1; n <= kMoves; ++n) {
      const std::string move = game.substr(static_cast<std::size_t>(n - 1) * 3, 3);
      const std::string colour(1, move[0]);
      bytes += Rec(5, 14, "|a|b|" + std::to_string(n) + "|" + colour + "[" + move.substr(1) + "]|" + colour + "L[600]|");
      bytes += Rec(5, 6, "|a|b|c|obs|e|f|move " + std::to_string(n) + " in game " + std::to_string(iteration) + "|");
    }
    ++iteration;
    logged.peer.Send(CutAtRandom(bytes, random));
    const std::string last = "move " + std::to_string(kMoves) + " in game " + std::to_string(iteration - 1);
    if (!platform::RunUntil([&] { return room->GetChatText().Find(last.c_str()) >= 0; }, 60000)) {
      state.SkipWithError("the records were not all handled");
      break;
    }
    platform::ClearSoundCalls();
  }
  state.SetItemsProcessed(state.iterations() * (kMoves + kChats + 1));
}
BENCHMARK(BM_GameRoomWithMovesAndChat)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reads a group on every event 1 and dispatches it to a recording stand-in of the frame.
class CDispatchingOwner : public CWnd, public CRecordingFrameActions {
public:
  CDispatchingOwner() { CreateEx(0, nullptr, "bench owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr); }
  ~CDispatchingOwner() override { DestroyWindow(); }
  CServerLink* link{nullptr};
  bool connected{false};

protected:
  DECLARE_MESSAGE_MAP()
  LRESULT OnLinkEvent(WPARAM, LPARAM lParam) {
    const WORD event = LOWORD(static_cast<DWORD_PTR>(lParam));
    if (event == CWndSocket::kNotifyConnected) connected = true;
    if (event == CWndSocket::kNotifyReceived && link)
      for (CString group = link->ReadFrames(); !group.IsEmpty(); group = link->ReadFrames()) {
        dispatcher.DispatchServerFrames(group);
        calls.clear();
      }
    return 0;
  }
  CServerDispatcher dispatcher{*this};
};

BEGIN_MESSAGE_MAP(CDispatchingOwner, CWnd)
  ON_MESSAGE(CWndSocket::kNotifyMessage, OnLinkEvent)
END_MESSAGE_MAP()

// Counts the chat lines it is given.
class CCountingOwner : public CDispatchingOwner {
public:
  void OnWaitRoomChat(CFieldTokenizer&) override { ++records; }
  long records{0};
};

void BM_LinkAndDispatcherCutAtRandom(benchmark::State& state) {
  CCountingOwner owner;
  LoopbackServer server;
  CServerLink link(&owner, INVALID_SOCKET);
  owner.link = &link;
  if (!link.Connect("127.0.0.1", server.Port()) || !server.Accept() ||
      !platform::RunUntil([&] { return owner.connected; }, 5000)) {
    state.SkipWithError("no loopback connection");
    return;
  }
  constexpr int kRecords = 10000;
  std::string bytes;
  for (int i = 0; i < kRecords; ++i) bytes += Rec(3, 4, "|R2|x|u" + std::to_string(i % 97) + "|a|b|chat " + std::to_string(i) + "|");
  std::mt19937 random(11);
  for (auto _ : state) {
    const long target = owner.records + kRecords;
    for (PeerPiece& piece : CutAtRandom(bytes, random)) server.Send(std::move(piece.bytes));
    if (!platform::RunUntil([&] { return owner.records >= target; }, 20000)) {
      state.SkipWithError("records did not all arrive");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  owner.link = nullptr;
}
BENCHMARK(BM_LinkAndDispatcherCutAtRandom)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

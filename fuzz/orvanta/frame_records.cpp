// Whole server records through the main frame with its own views, as they arrive from its link:
// the start screen's buttons, the waiting room's lists, the game room and the list screens take
// them, and every number the server sends (rooms, users, records, pages, moves, counts) meets the
// code that indexes, looks up or sizes with it. Every input meets a frame logged in over a
// loopback link, with the board control registered so that game rooms get their boards: the
// frame the last input left when it is still logged in, else a new one (an input that logs out,
// closes the link or is refused its login costs its frame, not the rest of the run). The first
// byte picks the screen shown when the group arrives and whether a room button of the start
// screen is clicked after it; the rest is the group.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include <platform/messageloop.h>
#include <platform/msgbox.h>
#include <platform/resources.h>
#include <platform/uiscript.h>
#include <platform/windows.h>

#include <platform/com.h>

#include "orvanta/app/MainFrame.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/connection/ServerDispatcher.h"
#include "orvanta/resources/OrvantaResources.h"

namespace {

// Questions get their default answers; dialogs and file dialogs are cancelled.
class CDefaultAnswers : public platform::UiScript {
public:
  std::optional<int> OnMessageBox(const char*, const char*, UINT style) override {
    return platform::DefaultMessageBoxButton(style);
  }
  std::optional<INT_PTR> OnModalDialog(UINT, CDialog*, HWND) override { return IDCANCEL; }
  std::optional<std::optional<CString>> OnFileDialog(BOOL, const char*, const char*) override {
    return std::optional<CString>();
  }
};

// Starts no program and opens no page.
class CFuzzFrame : public CMainFrame {
public:
  using CMainFrame::CMainFrame;

protected:
  UINT RunCommandLine(const CString&) override { return 33; }
  void OpenWithDesktop(const CString&, BOOL) override {}
};

struct Server {
  int listener{-1};
  int peer{-1};
  int port{0};
};

Server& Loopback() {
  static Server server = [] {
    Server s;
    s.listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(s.listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(s.listener, 4);
    ::getsockname(s.listener, reinterpret_cast<sockaddr*>(&address), &length);
    s.port = ntohs(address.sin_port);
    return s;
  }();
  return server;
}

// Reads and forgets what the frame sent, so that its link never fills.
void Drain() {
  Server& server = Loopback();
  if (server.peer < 0) server.peer = ::accept4(server.listener, nullptr, nullptr, SOCK_NONBLOCK);
  char buffer[65536];
  while (server.peer >= 0 && ::recv(server.peer, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
  }
}

HWND g_frame = nullptr;

// One wire record from the server (sender 0).
CString ServerRecord(int major, int minor, const std::string& payload) {
  return CString(("\x1b\t0/" + std::to_string(payload.size()) + "/" + std::to_string(major) + "/" +
                  std::to_string(minor) + "/1/" + payload + "\x1b\n")
                     .c_str());
}

// The board control registered in the run's home, as ./setup registers it for a person.
void RegisterBoardControl() {
  void* module = ::dlopen(STOLVEX_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
  auto entry = module ? reinterpret_cast<HRESULT (*)()>(::dlsym(module, "DllRegisterServer")) : nullptr;
  if (!entry || entry() != S_OK) std::abort();
}

void PrepareRun() {
  static bool ready = [] {
    static std::string home = "/tmp/orvanta-fuzz-frame-XXXXXX";
    if (!::mkdtemp(home.data()) || ::chdir(home.c_str()) != 0) std::abort();
    ::setenv("PLATFORM_HEADLESS", "1", 1);
    ::setenv("PLATFORM_HOME", home.c_str(), 1);
    RegisterBoardControl();
    static CDefaultAnswers answers;
    static platform::ScopedUiScript scoped(&answers);
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-fuzz-frame");
    RegisterOrvantaResources(module.Handle());
    static platform::ResourceScope scope(module.Handle());
    return true;
  }();
  (void)ready;
}

CMainFrame* LiveFrame() {
  if (!g_frame || !::IsWindow(g_frame)) return nullptr;
  return dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(g_frame));
}

bool IsLoggedIn(CMainFrame* frame) {
  return frame && frame->IsConnected() && frame->IsLinkOpen() && frame->GetLoginRecord();
}

// A new frame, connected to the loopback server and through the hello and the login reply.
CMainFrame* NewFrame() {
  if (CMainFrame* old = LiveFrame()) old->DestroyWindow();
  platform::PumpMessages();
  Server& server = Loopback();
  if (server.peer >= 0) {
    ::close(server.peer);
    server.peer = -1;
  }
  CServerAddress address;
  address.m_strHost = "127.0.0.1";
  address.m_nPort = static_cast<UINT>(server.port);
  address.m_bFound = TRUE;
  auto* frame = new CFuzzFrame(address);
  if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr)) std::abort();
  g_frame = frame->m_hWnd;
  frame->ConnectToServer("alice", "pw1");
  platform::RunUntil([&] { return frame->IsConnected(); }, 2000);
  Drain();
  CServerDispatcher(*frame).DispatchServerFrames(ServerRecord(0, 1, "|OK|") + ServerRecord(1, 1, "|3|Welcome|"));
  platform::PumpMessages();
  Drain();
  return IsLoggedIn(frame) ? frame : nullptr;
}

CMainFrame* Frame() {
  PrepareRun();
  CMainFrame* frame = LiveFrame();
  return IsLoggedIn(frame) ? frame : NewFrame();
}

const UINT kScreens[] = {CMainFrame::kStartView,      CMainFrame::kWaitingRoomView, CMainFrame::kGameRoomView,
                         CMainFrame::kRecordListView, CMainFrame::kRankView,        CMainFrame::kForumView,
                         CMainFrame::kBulletinBoardView, CMainFrame::kTeachingListView};

}  // namespace

// The font library keeps what it matched for the board's first numbers for the process's life.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1)
    return 0;
  CMainFrame* frame = Frame();
  if (!frame)
    std::abort();  // no frame could log in: every later input would test nothing
  frame->SwitchView(kScreens[data[0] % 8]);
  CServerDispatcher dispatcher(*frame);
  const CString group(reinterpret_cast<const char*>(data + 1), static_cast<int>(size - 1));
  dispatcher.DispatchServerFrames(group);
  platform::PumpMessages();
  // A button the server's list made is clicked, as a person would.
  if ((data[0] & 0x80) && ::IsWindow(g_frame)) {
    if (COrvantaView* start = frame->GetStartView()) {
      const int count = start->GetRoomButtonCount();
      if (count > 0)
        if (CWnd* button = start->GetRoomButton((data[0] >> 3) % count))
          start->SendMessage(WM_COMMAND, MAKEWPARAM(button->GetDlgCtrlID(), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button->m_hWnd));
      platform::PumpMessages();
    }
  }
  Drain();
  return 0;
}

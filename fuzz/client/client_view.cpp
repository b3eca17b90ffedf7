// Arbitrary bytes from the relay server through a real loopback connection into the viewer's
// main view: every line handler, photographs of any announced size, a connection that ends
// anywhere. The first byte chooses text or voice commentary.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "client/app/ClientApp.h"
#include "client/app/ClientConfig.h"
#include "client/app/ClientDoc.h"
#include "client/app/ClientView.h"
#include "client/app/MainFrame.h"
#include "client/resources/ClientIds.h"
#include "client/resources/ClientResources.h"
#include "platform/controls.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/uiscript.h"

namespace {

// Logs in with the commentary kind of the input and answers every message box.
class FuzzScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND dialog) override {
    if (templateId != IDD_LOGIN || !login) return IDCANCEL;
    ::SetWindowText(::GetDlgItem(dialog, IDC_LOGIN_USER), "fuzz");
    ::SetWindowText(::GetDlgItem(dialog, IDC_LOGIN_PASSWORD), "fuzz");
    ::SendMessage(::GetDlgItem(dialog, IDC_LOGIN_TEXT), BM_SETCHECK, voice ? BST_UNCHECKED : BST_CHECKED, 0);
    ::SendMessage(::GetDlgItem(dialog, IDC_LOGIN_VOICE), BM_SETCHECK, voice ? BST_CHECKED : BST_UNCHECKED, 0);
    return IDOK;
  }
  std::optional<int> OnMessageBox(const char*, const char*, UINT) override { return IDOK; }

  bool login{false};
  bool voice{false};
};

struct Viewer {
  FuzzScript script;
  CClientApp app;
  CSingleDocTemplate* docTemplate{nullptr};
  CClientView* view{nullptr};
  int listenFd{-1};
  unsigned short port{0};
};

Viewer* g_viewer = nullptr;

int Listen(unsigned short& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || ::listen(fd, 4) < 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0)
    std::abort();
  port = ntohs(address.sin_port);
  return fd;
}

// The relay's side of one session: answers the login, sends the input and ends the connection.
void Serve(int listenFd, std::string bytes) {
  const int client = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return;
  char ch = 0;
  while (::recv(client, &ch, 1, 0) == 1 && ch != '\n') {
  }
  const std::string reply = "ua|ok\n" + bytes;
  for (std::size_t sent = 0; sent < reply.size();) {
    const ssize_t n = ::send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  ::shutdown(client, SHUT_WR);
  char drain[4096];
  while (::recv(client, drain, sizeof drain, 0) > 0) {
  }
  ::close(client);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("PLATFORM_HEADLESS", "1", 1);
  platform::ResourceModule& module = platform::CreateResourceModule("client-view-fuzz");
  platform::SetInstanceHandle(module.Handle());
  RegisterClientResources(module.Handle());
  g_viewer = new Viewer;
  platform::SetUiScript(&g_viewer->script);
  g_viewer->listenFd = Listen(g_viewer->port);
  GetClientConfig().SetClientIp("127.0.0.1");
  GetClientConfig().SetClientPort(g_viewer->port);
  GetClientConfig().SetSound(false);
  g_viewer->docTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CClientDoc), RUNTIME_CLASS(CMainFrame),
                                                 RUNTIME_CLASS(CClientView));
  g_viewer->docTemplate->LoadTemplate();
  g_viewer->docTemplate->OpenDocumentFile(nullptr);
  auto* frame = dynamic_cast<CFrameWnd*>(g_viewer->app.m_pMainWnd);
  g_viewer->view = frame ? dynamic_cast<CClientView*>(frame->GetActiveView()) : nullptr;
  if (g_viewer->view == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 200000) return 0;
  Viewer& viewer = *g_viewer;
  viewer.script.login = true;
  viewer.script.voice = (data[0] & 1) != 0;
  std::thread relay(Serve, viewer.listenFd, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  viewer.view->OnConnectCommand();
  platform::RunUntil([&] { return !viewer.view->IsConnected(); }, 10000);
  if (viewer.view->IsConnected()) viewer.view->OnDisconnectCommand();
  relay.join();
  viewer.script.login = false;
  return 0;
}

// Arbitrary bytes from the relay server through a real loopback connection into the viewer's
// main view: every line handler, photographs of any announced size, a connection that ends
// anywhere. The first byte chooses text or voice commentary.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "LoopbackRelay.h"
#include "client/app/ClientApp.h"
#include "client/relay/ClientConfig.h"
#include "client/app/ClientDoc.h"
#include "client/app/ClientView.h"
#include "client/app/MainFrame.h"
#include "client/resources/ClientIds.h"
#include "client/resources/ClientResources.h"
#include "platform/controls.h"
#include "platform/files.h"
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
  unsigned short port{0};
};

Viewer* g_viewer = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("PLATFORM_HEADLESS", "1", 1);
  platform::ResourceModule& module = platform::CreateResourceModule("client-view-fuzz");
  platform::SetInstanceHandle(module.Handle());
  RegisterClientResources(module.Handle());
  g_viewer = new Viewer;
  platform::SetUiScript(&g_viewer->script);
  if (!StartLoopbackRelay(g_viewer->port)) std::abort();
  GetClientConfig().SetClientIp("127.0.0.1");
  GetClientConfig().SetClientPort(g_viewer->port);
  GetClientConfig().SetSound(false);
  g_viewer->docTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CClientDoc), RUNTIME_CLASS(CMainFrame),
                                                 RUNTIME_CLASS(CClientView));
  g_viewer->docTemplate->LoadTemplate();
  g_viewer->docTemplate->OpenDocumentFile(nullptr);
  auto* frame = dynamic_cast<CMainFrame*>(g_viewer->app.m_pMainWnd);
  g_viewer->view = frame ? dynamic_cast<CClientView*>(frame->GetActiveView()) : nullptr;
  if (g_viewer->view == nullptr) std::abort();
  // A small board draws quickly; what is fuzzed is the handling of the lines.
  ::SetWindowPos(frame->GetSafeHwnd(), nullptr, 0, 0, 360, 260, SWP_NOZORDER | SWP_NOMOVE);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 200000) return 0;
  Viewer& viewer = *g_viewer;
  viewer.script.login = true;
  viewer.script.voice = (data[0] & 1) != 0;
  QueueRelaySession(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  viewer.view->OnConnectCommand();
  platform::RunUntil([&] { return !viewer.view->IsConnected(); }, 10000);
  if (viewer.view->IsConnected()) viewer.view->OnDisconnectCommand();
  WaitRelaySession();
  viewer.script.login = false;
  // Whatever the relay sent, the record the viewer writes of it opens again.
  if (viewer.view->GetDelayQueue().GetMoveCount() > 0) {
    static platform::TempDir dir;
    const std::string path = std::string(dir.Path()) + "/saved.sgf";
    if (viewer.view->SaveRecordFile(path.c_str()) && !viewer.view->OpenRecordFile(path.c_str())) std::abort();
  }
  return 0;
}

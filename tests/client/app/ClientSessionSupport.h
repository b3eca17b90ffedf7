#pragma once
// A whole viewer against the relay peer, headless on the manual clock: the application object,
// the document template with frame and view, the configuration pointing at the peer, and a UI
// script that logs in and records every message box.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/app/ClientApp.h"
#include "client/relay/ClientConfig.h"
#include "client/app/ClientDoc.h"
#include "client/app/ClientView.h"
#include "client/app/MainFrame.h"
#include "client/resources/ClientIds.h"
#include "client/resources/ClientResources.h"
#include "peers/client/RelayPeer.h"
#include "platform/controls.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/testinput.h"
#include "platform/time.h"
#include "platform/uiscript.h"

namespace clienttest {

// Logs in as told and answers every other question.
class SessionScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND dialog) override {
    dialogs.push_back(templateId);
    if (templateId == IDD_LOGIN) {
      if (onLogin) onLogin(dialog);
      if (!login) return IDCANCEL;
      ::SetWindowText(::GetDlgItem(dialog, IDC_LOGIN_USER), user.c_str());
      ::SetWindowText(::GetDlgItem(dialog, IDC_LOGIN_PASSWORD), password.c_str());
      ::SendMessage(::GetDlgItem(dialog, IDC_LOGIN_TEXT), BM_SETCHECK, voice ? BST_UNCHECKED : BST_CHECKED, 0);
      ::SendMessage(::GetDlgItem(dialog, IDC_LOGIN_VOICE), BM_SETCHECK, voice ? BST_CHECKED : BST_UNCHECKED, 0);
      return IDOK;
    }
    if (onDialog) return onDialog(templateId, dialog);
    return IDOK;
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    messages.emplace_back(text);
    if (onMessage) onMessage();
    return messageAnswer;
  }
  std::optional<bool> OnPrintDialog() override {
    ++printDialogs;
    return printAnswer;
  }
  std::optional<std::optional<CString>> OnFileDialog(BOOL open, const char*, const char* filter) override {
    fileDialogs.push_back({open != FALSE, filter ? filter : ""});
    if (filePath.empty()) return std::optional<CString>();
    return std::optional<CString>(CString(filePath.c_str()));
  }

  bool login{true};
  bool voice{false};
  std::string user{"alice"};
  std::string password{"pw1"};
  std::string filePath;
  int messageAnswer{IDOK};
  bool printAnswer{false};
  int printDialogs{0};
  std::function<std::optional<INT_PTR>(UINT, HWND)> onDialog;
  std::function<void(HWND)> onLogin;  // sees the login dialog before it is filled in
  struct FileDialog {
    bool open;
    std::string filter;
  };
  std::vector<FileDialog> fileDialogs;
  std::vector<std::string> messages;
  std::function<void()> onMessage;  // called as each message box is shown
  std::vector<UINT> dialogs;
};

// The program's objects for one test: resources, clock, peer, configuration and the UI script;
// Start opens the frame and view, which connect at once.
class Session {
public:
  static constexpr std::time_t kWallTime = 2000000000;

  Session() : m_scriptScope(&script) {
    static platform::ResourceModule& module = platform::CreateResourceModule("client-session-tests");
    static const bool registered = RegisterClientResources(module.Handle()) != FALSE;
    (void)registered;
    m_resources = std::make_unique<platform::ResourceScope>(module.Handle());
    CBadukCtrl::HoldFirstChange(FALSE);
    CClientConfig& config = GetClientConfig();
    config.SetClientIp("127.0.0.1");
    config.SetClientPort(peer.Port());
    config.SetSound(false);
  }
  ~Session() {
    platform::SetIdleHook(nullptr);
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
    m_template.reset();
    m_clock.reset();
  }

  // Makes the document, frame and view; the view logs in during its first update.
  void Start() {
    m_template = std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RUNTIME_CLASS(CClientDoc),
                                                      RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CClientView));
    m_template->LoadTemplate();
    CDocument* doc = m_template->OpenDocumentFile(nullptr);
    frame = doc ? dynamic_cast<CMainFrame*>(app.m_pMainWnd) : nullptr;
    view = frame ? dynamic_cast<CClientView*>(frame->GetActiveView()) : nullptr;
    // The login waits for the peer in real time; from here on the test drives the clock.
    m_clock = std::make_unique<platform::ManualClockScope>(kWallTime);
  }

  // Every pump ends with the program's idle turn, as its message loop gives it: the form's
  // buttons and move box follow the board between messages.
  void IdleAsTheProgramDoes() {
    platform::SetIdleHook([this](long count) { return app.OnIdle(count); });
  }

  // Pumps until done holds (real time, at most timeoutMs).
  static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    return platform::RunUntil(done, timeoutMs);
  }
  // Sends lines to the viewer and pumps until it has read them all.
  bool Relay(const std::string& lines, const std::function<bool()>& done) {
    peer.Send(lines);
    return WaitFor(done);
  }

  CString Text(int id) const {
    CString text;
    if (view) view->GetDlgItemText(id, text);
    return text;
  }

  CClientApp app;
  RelayPeer peer;
  SessionScript script;
  CMainFrame* frame{nullptr};
  CClientView* view{nullptr};

private:
  std::unique_ptr<platform::ManualClockScope> m_clock;
  platform::ScopedUiScript m_scriptScope;
  std::unique_ptr<platform::ResourceScope> m_resources;
  std::unique_ptr<CSingleDocTemplate> m_template;
};

// Clicks the view's form button id as a person does, at its middle.
inline void ClickButton(CClientView& view, int id) {
  CWnd* button = view.GetDlgItem(id);
  if (button == nullptr) return;
  CRect face;
  button->GetClientRect(&face);
  platform::input::Click(button->GetSafeHwnd(), face.CenterPoint());
}

}  // namespace clienttest

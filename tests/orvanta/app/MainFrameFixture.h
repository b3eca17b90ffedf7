#pragma once
// What the main frame's end-to-end tests share: the program's resources, a fresh profile and
// working folder, the game-server peer on loopback, a frame pointed at the peer, and a UI script
// that answers the login dialog from a queue and every message box by its text.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <platform/app.h>
#include <platform/controls.h>
#include <platform/dialogs.h>
#include <platform/files.h>
#include <platform/messageloop.h>
#include <platform/msgbox.h>
#include <platform/profile.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/testinput.h>
#include <platform/uiscript.h>

#include "MovieControlKey.h"
#include "orvanta/app/LoginProfile.h"
#include "orvanta/app/MainFrame.h"
#include "orvanta/app/OrvantaDoc.h"
#include "orvanta/app/ScreenFlags.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/app/StandInView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "peers/orvanta/GameServerPeer.h"

// One answer to the login dialog: the texts typed, the check box, and the button pressed.
struct LoginAnswer {
  std::string id;
  std::string password;
  int save{0};
  int button{IDOK};
};

class CFrameTestScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND dialog) override {
    CWnd* wnd = CWnd::FromHandle(dialog);
    CString shownId;
    CString shownPassword;
    wnd->GetDlgItemText(static_cast<int>(CLoginProfile::kIdEdit), shownId);
    wnd->GetDlgItemText(static_cast<int>(CLoginProfile::kPasswordEdit), shownPassword);
    dialogs.push_back({templateId, shownId.str(), shownPassword.str(),
                       static_cast<int>(wnd->IsDlgButtonChecked(static_cast<int>(CLoginProfile::kSaveCheck)))});
    if (onDialog)
      onDialog();
    if (templateId != 179 && answerDialog)
      return answerDialog(templateId, wnd);
    if (templateId != 179 || logins.empty())
      return IDCANCEL;
    const LoginAnswer answer = logins.front();
    logins.pop_front();
    wnd->SetDlgItemText(static_cast<int>(CLoginProfile::kIdEdit), answer.id.c_str());
    wnd->SetDlgItemText(static_cast<int>(CLoginProfile::kPasswordEdit), answer.password.c_str());
    wnd->CheckDlgButton(static_cast<int>(CLoginProfile::kSaveCheck), static_cast<UINT>(answer.save));
    return answer.button;
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT style) override {
    shown.push_back(text);
    if (onMessageBox)
      onMessageBox(text);
    const auto it = answers.find(text);
    return it != answers.end() ? it->second : platform::DefaultMessageBoxButton(style);
  }

  std::optional<UINT> OnPopupMenu(HMENU menu, POINT at, HWND owner) override {
    popups.push_back(menu);
    if (!popupPick)
      return platform::UiScript::OnPopupMenu(menu, at, owner);
    return *popupPick;
  }

  std::optional<std::optional<CString>> OnFileDialog(BOOL, const char* initialName, const char*) override {
    ++fileDialogs;
    fileNames.push_back(initialName ? initialName : "");
    if (!fileAnswer) return std::nullopt;
    return fileAnswer->empty() ? std::optional<CString>() : std::optional<CString>(CString(fileAnswer->c_str()));
  }

  // What a login dialog showed when it opened.
  struct Shown {
    UINT templateId;
    std::string id;
    std::string password;
    int save;
  };
  std::deque<LoginAnswer> logins;
  std::map<std::string, int> answers;  // message box text -> button
  std::vector<std::string> shown;      // message box texts, in order
  std::vector<Shown> dialogs;
  std::function<void()> onDialog;  // runs as each dialog opens
  std::function<void(const std::string&)> onMessageBox;  // runs as each message box opens, before its answer
  // Answers every dialog but the login one (which the queue answers); IDCANCEL without it.
  std::function<INT_PTR(UINT templateId, CWnd* dialog)> answerDialog;
  // The path every file dialog chooses ("" cancels); without it the platform's default answers.
  std::optional<std::string> fileAnswer;
  int fileDialogs{0};  // file dialogs opened
  std::vector<std::string> fileNames;  // the name each file dialog proposed
  std::optional<UINT> popupPick;  // the command every pop-up menu chooses (0: none)
  std::vector<HMENU> popups;      // pop-up menus opened, in order
};

// A frame whose lobby dialogs can be answered by the test.
class CTestMainFrame : public CMainFrame {
public:
  explicit CTestMainFrame(const CServerAddress& address) : CMainFrame(address) {}

  std::optional<CSettingFiles::ChatMacros> chatMacroAnswer;
  std::vector<CSettingFiles::ChatMacros> chatMacrosShown;  // what each macro dialog opened with
  std::optional<std::array<BOOL, 4>> optionsAnswer;  // ManToMan, Invite, Alarm, Nego
  std::vector<std::string>* commandLines{nullptr};  // where started programs are recorded
  bool startForReal{false};  // recorded programs and opened addresses are started as well
  std::vector<std::string> opened;  // addresses handed to the desktop's opener
  using CMainFrame::OnChattingMacro;
  using CMainFrame::OnEnvironment;

protected:
  UINT RunCommandLine(const CString& line) override {
    if (commandLines)
      commandLines->push_back(line.str());
    return startForReal ? CMainFrame::RunCommandLine(line) : 33;
  }
  void OpenWithDesktop(const CString& address, BOOL mail) override {
    opened.push_back(address.str());
    if (startForReal)
      CMainFrame::OpenWithDesktop(address, mail);
  }
  BOOL RunChatMacroDialog(CSettingFiles::ChatMacros& macros) override {
    chatMacrosShown.push_back(macros);
    if (!chatMacroAnswer)
      return CMainFrame::RunChatMacroDialog(macros);
    macros = *chatMacroAnswer;
    return TRUE;
  }
  BOOL RunOptionsDialog(BOOL& manToMan, BOOL& invite, BOOL& alarm, BOOL& nego) override {
    if (!optionsAnswer)
      return CMainFrame::RunOptionsDialog(manToMan, invite, alarm, nego);
    manToMan = (*optionsAnswer)[0];
    invite = (*optionsAnswer)[1];
    alarm = (*optionsAnswer)[2];
    nego = (*optionsAnswer)[3];
    return TRUE;
  }
};

inline constexpr const char* kDisconnectedMessage = "You have been disconnected\nYou must login again.";

// Asks MainFrameTest for the frame as the application makes it: with the program's document under
// it and an application object that names it the main window (saving and opening records need both).
struct WithDocument {};

class MainFrameTest : public ::testing::Test {
protected:
  MainFrameTest() { MakeFrame(false); }
  explicit MainFrameTest(WithDocument) { MakeFrame(true); }

private:
  void MakeFrame(bool withDocument) {
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-main-frame-tests");
    RegisterOrvantaResources(module.Handle());
    m_resources.emplace(module.Handle());
    m_previousFolder = ::getcwd(nullptr, 0);
    if (::chdir(m_folder.Path().c_str()) != 0)
      ADD_FAILURE() << "cannot enter " << m_folder.Path();
    SetScreenFlag(0);
    SetMovieControlInstalled(true);
    CServerAddress address;
    address.m_strHost = "127.0.0.1";
    address.m_nPort = peer.Port();
    address.m_bFound = TRUE;
    frame = new CTestMainFrame(address);
    frame->commandLines = &commandLines;
    CCreateContext context;
    if (withDocument) {
      m_app.emplace();
      document = std::make_unique<COrvantaDoc>();
      document->m_bAutoDelete = FALSE;  // the fixture owns it
      context.m_pCurrentDoc = document.get();
      context.m_pCurrentFrame = frame;
    }
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, withDocument ? &context : nullptr))
      ADD_FAILURE() << "the frame was not created";
    if (withDocument) {
      frame->InitialUpdateFrame(document.get(), FALSE);
      m_app->m_pMainWnd = frame;
    }
    // The waiting room is the program's own; the screens still to come stand in.
    for (UINT view : {CMainFrame::kGameRoomView, CMainFrame::kForumView,
                      CMainFrame::kBulletinBoardView, CMainFrame::kRankView, CMainFrame::kRecordListView,
                      CMainFrame::kTeachingListView})
      frame->RegisterView(view, RUNTIME_CLASS(CStandInView));
    m_frameHandle = frame->m_hWnd;
  }

protected:
  ~MainFrameTest() override {
    if (::IsWindow(frameHandle()))
      frame->DestroyWindow();  // the frame deletes itself
    platform::PumpMessages();
    platform::ResetMessageQueue();
    if (m_previousFolder) {
      (void)!::chdir(m_previousFolder);
      std::free(m_previousFolder);
    }
  }

  // Kept apart from the frame, which deletes itself when its window is destroyed.
  HWND frameHandle() const { return m_frameHandle; }
  std::string senderNumber() const {
    return std::to_string(static_cast<int>(reinterpret_cast<INT_PTR>(frameHandle())));
  }
  static bool PumpUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
    return platform::RunUntil(condition, timeoutMs);
  }
  static void PumpFor(int ms) { platform::RunUntil([] { return false; }, ms); }
  bool Shown(const std::string& text) const {
    return std::find(script.shown.begin(), script.shown.end(), text) != script.shown.end();
  }
  bool HasPending(const std::string& call) const {
    const auto& calls = frame->GetPendingCalls();
    return std::any_of(calls.begin(), calls.end(), [&](const CString& c) { return c.str() == call; });
  }
  std::vector<std::string> Pairs(int connection = -1) const {
    std::vector<std::string> pairs;
    for (const PeerRecord& record : peer.Records())
      if (connection < 0 || record.connection == connection)
        pairs.push_back(record.major + "," + record.minor);
    return pairs;
  }
  // Chooses command from the menu bar of the shown frame top as a person does: a click on the
  // title of the pop-up that holds it, then the item (picked by the script).
  void ChooseFromMenuBar(HWND top, UINT command) {
    HMENU bar = ::GetMenu(top);
    for (int popup = 0; popup < ::GetMenuItemCount(bar); ++popup) {
      HMENU items = ::GetSubMenu(bar, popup);
      for (int i = 0; i < ::GetMenuItemCount(items); ++i) {
        if (::GetMenuItemID(items, i) != command)
          continue;
        RECT title{};
        ASSERT_TRUE(::GetMenuItemRect(top, bar, static_cast<UINT>(popup), &title));
        POINT at{(title.left + title.right) / 2, (title.top + title.bottom) / 2};
        ::ScreenToClient(top, &at);
        script.popupPick = command;
        platform::input::Click(top, at);
        return;
      }
    }
    ADD_FAILURE() << "command " << command << " is not on the menu bar";
  }
  // Logs in as carol/pw9 through the dialog and waits for the six records of a login.
  void LogIn(int save = 0) {
    script.logins.push_back({"carol", "pw9", save, IDOK});
    frame->RunLoginPass();
    ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 6 && frame->IsConnected(); }));
  }

  HWND m_frameHandle{nullptr};
  std::vector<std::string> commandLines;  // programs the frame started
  platform::ScopedPlatformHome home;
  platform::TempDir m_folder;
  GameServerPeer peer;
  CFrameTestScript script;
  platform::ScopedUiScript scoped{&script};
  std::optional<platform::ResourceScope> m_resources;
  std::optional<CWinApp> m_app;  // only WithDocument
  std::unique_ptr<COrvantaDoc> document;  // only WithDocument; outlives the frame
  CTestMainFrame* frame{nullptr};
  platform::Profile profile{"Orvanta"};

private:
  char* m_previousFolder{nullptr};
};

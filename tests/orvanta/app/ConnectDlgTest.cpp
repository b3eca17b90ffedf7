#include "orvanta/app/ConnectDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <platform/controls.h>
#include <platform/messageloop.h>
#include <platform/registry.h>
#include <platform/resources.h>
#include <platform/testinput.h>
#include <platform/uiscript.h>

namespace {

// Answers the login dialog from C++ and records the message boxes it shows.
class CLoginScript : public platform::UiScript {
public:
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND dialogWnd) override {
    seenTemplate = templateId;
    if (fill)
      fill(dialogWnd);
    return code;
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    shown.emplace_back(text);
    return IDOK;
  }
  std::function<void(HWND)> fill;
  std::optional<INT_PTR> code{IDOK};
  std::vector<std::string> shown;
  UINT seenTemplate{0};
};

CString Text(HWND dialog, int id) {
  CString text;
  CWnd::FromHandle(dialog)->GetDlgItemText(id, text);
  return text;
}

class ConnectDlgTest : public ::testing::Test {
protected:
  void SetUp() override {
    static platform::ResourceModule& module = platform::CreateResourceModule("connect-dialog-tests");
    platform::AddDialogTemplate(module, CConnectDlg::kTemplateId, CConnectDlg::BuildTemplate());
    scope = std::make_unique<platform::ResourceScope>(module.Handle());
  }
  void TearDown() override {
    scope.reset();
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  // Types entries into the dialog and presses nothing.
  void Answer(const char* id, const char* password, bool save) {
    script.fill = [=](HWND dialog) {
      CWnd* wnd = CWnd::FromHandle(dialog);
      wnd->SetDlgItemText(CLoginProfile::kIdEdit, id);
      wnd->SetDlgItemText(CLoginProfile::kPasswordEdit, password);
      wnd->CheckDlgButton(CLoginProfile::kSaveCheck, save ? BST_CHECKED : BST_UNCHECKED);
    };
  }
  BOOL RunPass() { return CConnectDlg::RunLoginPass(nullptr, login, id, password); }

  std::unique_ptr<platform::ResourceScope> scope;
  platform::ScopedPlatformHome home;
  platform::Profile profile{"Orvanta"};
  CLoginProfile login{profile};
  CLoginScript script;
  platform::ScopedUiScript scoped{&script};
  CString id;
  CString password;
};

TEST_F(ConnectDlgTest, OkStoresTheEntriesAndGivesThemBack) {
  Answer("alice", "pw1", true);
  ASSERT_TRUE(RunPass());
  EXPECT_EQ(script.seenTemplate, 179u);
  EXPECT_EQ(id, "alice");
  EXPECT_EQ(password, "pw1");
  EXPECT_EQ(profile.GetProfileString("USER", "ID"), "alice");
  EXPECT_EQ(profile.GetProfileString("USER", "PassWord"), "pw1");
  EXPECT_EQ(profile.GetProfileString("USER", "Save"), "1");
}

TEST_F(ConnectDlgTest, WithoutTheCheckBoxThePasswordIsNotSaved) {
  Answer("alice", "pw1", false);
  ASSERT_TRUE(RunPass());
  EXPECT_EQ(password, "pw1");
  EXPECT_EQ(profile.GetProfileString("USER", "PassWord"), CLoginProfile::kDefaultPassword);
  EXPECT_EQ(profile.GetProfileString("USER", "Save"), "0");
}

TEST_F(ConnectDlgTest, TheDialogShowsWhatTheProfileRemembers) {
  login.Store("bob", "secret", FALSE);
  CString shownId = "?", shownPassword = "?";
  UINT shownCheck = 99;
  script.fill = [&](HWND dialog) {
    shownId = Text(dialog, CLoginProfile::kIdEdit);
    shownPassword = Text(dialog, CLoginProfile::kPasswordEdit);
    shownCheck = CWnd::FromHandle(dialog)->IsDlgButtonChecked(CLoginProfile::kSaveCheck);
  };
  script.code = IDCANCEL;
  EXPECT_FALSE(RunPass());
  EXPECT_EQ(shownId, "bob");
  EXPECT_EQ(shownPassword, "");
  EXPECT_EQ(shownCheck, static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(ConnectDlgTest, RefusedEntriesKeepTheDialogOpenAndStoreNothing) {
  struct Case {
    const char* id;
    const char* password;
    const char* message;
  };
  const Case cases[] = {
      {"", "pw1", "You did not enter ID."},
      {"al|ce", "pw1", "You have entered a special character.\nSpecial characters are not available."},
      {"alice", "", "You did not enter PASSWORD."},
      {"alice", "p/w", "You have entered a special character.\nSpecial characters are not available."},
  };
  for (const Case& c : cases) {
    script.shown.clear();
    Answer(c.id, c.password, true);
    EXPECT_FALSE(RunPass()) << c.id << " " << c.password;
    EXPECT_EQ(script.shown, std::vector<std::string>{c.message}) << c.id << " " << c.password;
  }
  EXPECT_EQ(profile.GetProfileString("USER", "ID", "none"), "none");
}

TEST_F(ConnectDlgTest, EnterMovesFromIdToPasswordThenRunsOk) {
  script.fill = [](HWND dialog) {
    CWnd::FromHandle(dialog)->GetDlgItem(CLoginProfile::kIdEdit)->SetFocus();
    platform::input::TypeText("abcdefghijkl");
    platform::input::PressKey(VK_RETURN);
    platform::input::TypeText("pw1");
    platform::input::PressKey(VK_RETURN);
  };
  script.code = std::nullopt;
  ASSERT_TRUE(RunPass());
  EXPECT_EQ(id, "abcdefghij");  // the edit takes ten characters
  EXPECT_EQ(password, "pw1");
}

}  // namespace

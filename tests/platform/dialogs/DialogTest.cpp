#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/ddx.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/testinput.h"
#include "platform/uiscript.h"
#include "support/SnapshotPath.h"

namespace {

constexpr UINT kLoginId = 179;
constexpr UINT kToolId = 180;
constexpr int kName = 1127, kPassword = 1126, kRemember = 1226, kPort = 1130, kRatio = 1131;
constexpr int kServer = 1300, kFast = 1400, kSlow = 1401, kJoin = 100;

platform::DialogTemplate LoginTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.cx = 200;
  t.cy = 130;
  t.caption = "Login";
  t.items = {
      platform::VisibleItem("Static", 0xFFFF, 7, 9, 40, 8, SS_LEFT, "Name"),
      platform::VisibleItem("Edit", kName, 50, 7, 90, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Static", 0xFFFF, 7, 25, 40, 8, SS_LEFT, "Password"),
      platform::VisibleItem("Edit", kPassword, 50, 23, 90, 12, ES_PASSWORD | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Button", kRemember, 50, 39, 90, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Remember me"),
      platform::VisibleItem("Edit", kPort, 50, 53, 40, 12, WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Edit", kRatio, 100, 53, 40, 12, WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("ComboBox", kServer, 50, 69, 90, 60, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL),
      platform::VisibleItem("Button", kFast, 7, 87, 50, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Fast"),
      platform::VisibleItem("Button", kSlow, 60, 87, 50, 10, BS_AUTORADIOBUTTON, "Slow"),
      platform::VisibleItem("Button", IDOK, 7, 109, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 60, 109, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
      platform::VisibleItem("Button", kJoin, 113, 109, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Join"),
  };
  return t;
}

class LoginDlg : public CDialog {
public:
  explicit LoginDlg(CWnd* parent = nullptr) : CDialog(kLoginId, parent) {}

  CString m_name{"nobody"};
  CString m_password;
  int m_remember{0};
  int m_port{7000};
  double m_ratio{1.5};
  CString m_server{"beta"};
  int m_speed{1};
  int initCalls{0};

protected:
  BOOL OnInitDialog() override {
    ++initCalls;
    SendDlgItemMessage(kServer, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("alpha"));
    SendDlgItemMessage(kServer, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("beta"));
    return CDialog::OnInitDialog();
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, kName, m_name);
    DDV_MaxChars(dx, m_name, 12);
    DDX_Text(dx, kPassword, m_password);
    DDX_Check(dx, kRemember, m_remember);
    DDX_Text(dx, kPort, m_port);
    DDV_MinMaxInt(dx, m_port, 1, 65535);
    DDX_Text(dx, kRatio, m_ratio);
    DDX_CBString(dx, kServer, m_server);
    DDX_Radio(dx, kFast, m_speed);
  }
  void OnJoin() { EndDialog(100); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LoginDlg, CDialog)
  ON_BN_CLICKED(kJoin, OnJoin)
END_MESSAGE_MAP()

// Answers the login dialog from C++: a callback sees the dialog window, then the code is returned.
class HookScript : public platform::UiScript {
public:
  std::function<void(HWND)> fill;
  std::optional<INT_PTR> code;
  std::vector<std::string> boxes;
  UINT seenTemplate{0};

  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog*, HWND dialogWnd) override {
    seenTemplate = templateId;
    if (fill) fill(dialogWnd);
    return code;
  }
  std::optional<int> OnMessageBox(const char* text, const char*, UINT) override {
    boxes.emplace_back(text);
    return IDOK;
  }
};

class DialogTest : public ::testing::Test {
protected:
  void SetUp() override {
    static platform::ResourceModule& module = platform::CreateResourceModule("dialog-tests");
    platform::AddDialogTemplate(module, kLoginId, LoginTemplate());
    platform::DialogTemplate tool = LoginTemplate();
    tool.style = WS_POPUP | WS_CAPTION;
    platform::AddDialogTemplate(module, kToolId, tool);
    scope = std::make_unique<platform::ResourceScope>(module.Handle());
  }
  void TearDown() override {
    scope.reset();
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  std::unique_ptr<platform::ResourceScope> scope;
};

CString Text(HWND dialog, int id) {
  CString text;
  CWnd::FromHandle(dialog)->GetDlgItemText(id, text);
  return text;
}

TEST_F(DialogTest, ModalHookFillsControlsAndOkExchangesIntoMembers) {
  HookScript script;
  LoginDlg dlg;
  script.fill = [&](HWND wnd) {
    // Loaded from the members by OnInitDialog.
    EXPECT_EQ(Text(wnd, kName), "nobody");
    EXPECT_EQ(Text(wnd, kPort), "7000");
    EXPECT_EQ(Text(wnd, kServer), "beta");
    EXPECT_EQ(::IsDlgButtonChecked(wnd, kSlow), BST_CHECKED);
    ::SetDlgItemText(wnd, kName, "alice");
    ::SetDlgItemText(wnd, kPassword, "pw1");
    ::SetDlgItemText(wnd, kPort, " 8001 ");
    ::SetDlgItemText(wnd, kRatio, "0.25");
    ::CheckDlgButton(wnd, kRemember, BST_CHECKED);
    ::CheckRadioButton(wnd, kFast, kSlow, kFast);
    ::SendDlgItemMessage(wnd, kServer, CB_SETCURSEL, 0, 0);
  };
  script.code = IDOK;
  platform::ScopedUiScript use(&script);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(script.seenTemplate, kLoginId);
  EXPECT_EQ(dlg.initCalls, 1);
  EXPECT_EQ(dlg.m_name, "alice");
  EXPECT_EQ(dlg.m_password, "pw1");
  EXPECT_EQ(dlg.m_remember, 1);
  EXPECT_EQ(dlg.m_port, 8001);
  EXPECT_DOUBLE_EQ(dlg.m_ratio, 0.25);
  EXPECT_EQ(dlg.m_server, "alpha");
  EXPECT_EQ(dlg.m_speed, 0);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_TRUE(script.boxes.empty());
}

TEST_F(DialogTest, ScriptFileAnswerDrivesTheDialog) {
  auto answers = platform::ParseUiScript(
      "dialog 179 text 1127=alice text 1126=pw1 check 1226=1 select 1300=al end OK\n"
      "dialog 179 end 100\n", nullptr);
  platform::FileUiScript script(answers);
  platform::ScopedUiScript use(&script);
  LoginDlg first;
  EXPECT_EQ(first.DoModal(), IDOK);
  EXPECT_EQ(first.m_name, "alice");
  EXPECT_EQ(first.m_password, "pw1");
  EXPECT_EQ(first.m_remember, 1);
  EXPECT_EQ(first.m_server, "alpha");
  // A button whose handler ends the dialog with its own code.
  LoginDlg second;
  EXPECT_EQ(second.DoModal(), 100);
  EXPECT_EQ(second.m_name, "nobody");
  EXPECT_TRUE(script.Remaining().empty());
}

TEST_F(DialogTest, UnansweredDialogIsCancelledAndMembersKept) {
  HookScript script;  // no code: the default
  platform::ScopedUiScript use(&script);
  LoginDlg dlg;
  script.fill = [](HWND wnd) { ::SetDlgItemText(wnd, kName, "changed"); };
  testing::internal::CaptureStderr();
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  std::string log = testing::internal::GetCapturedStderr();
  EXPECT_NE(log.find("179"), std::string::npos);
  EXPECT_EQ(dlg.m_name, "nobody");
}

TEST_F(DialogTest, FailedValidationShowsMessageAndChangesNoMember) {
  HookScript script;
  LoginDlg dlg;
  script.fill = [](HWND wnd) {
    ::SetDlgItemText(wnd, kName, "bob");  // exchanged before the failing value
    ::SetDlgItemText(wnd, kPort, "70000");
  };
  script.code = IDOK;
  platform::ScopedUiScript use(&script);
  testing::internal::CaptureStderr();
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);  // nobody left to correct the value
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_NE(script.boxes[0].find("65535"), std::string::npos);
  EXPECT_EQ(dlg.m_name, "nobody");
  EXPECT_EQ(dlg.m_port, 7000);
}

TEST_F(DialogTest, BadNumbersAndTooLongTextFailUpdateData) {
  HookScript script;
  platform::ScopedUiScript use(&script);
  LoginDlg dlg;
  ASSERT_TRUE(dlg.Create(kToolId));
  struct Case { int id; const char* text; };
  for (Case c : {Case{kPort, "12ab"}, Case{kPort, ""}, Case{kPort, "99999999999"}, Case{kRatio, "x"},
                 Case{kName, "a-name-longer-than-twelve"}}) {
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    dlg.SetDlgItemText(c.id, c.text);
    EXPECT_FALSE(dlg.UpdateData(TRUE)) << c.text;
    EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(c.id)) << c.text;
  }
  EXPECT_EQ(script.boxes.size(), 5u);
  EXPECT_EQ(dlg.m_port, 7000);
  EXPECT_EQ(dlg.m_name, "nobody");
  dlg.SetDlgItemText(kName, "carol");
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_name, "carol");
}

class SelfDeletingDlg : public CDialog {
public:
  explicit SelfDeletingDlg(bool* deleted) : m_deleted(deleted) {}
  ~SelfDeletingDlg() override { *m_deleted = true; }

protected:
  void PostNcDestroy() override { delete this; }

private:
  bool* m_deleted;
};

TEST_F(DialogTest, ModelessDialogDeletesItselfWhenDestroyed) {
  bool deleted = false;
  auto* dlg = new SelfDeletingDlg(&deleted);
  ASSERT_TRUE(dlg->Create(kToolId));
  HWND hwnd = dlg->m_hWnd;
  EXPECT_TRUE(::IsWindow(::GetDlgItem(hwnd, kName)));
  EXPECT_FALSE(deleted);
  dlg->DestroyWindow();
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(DialogTest, MissingTemplateFailsWithoutWindows) {
  CDialog dlg(4242);
  testing::internal::CaptureStderr();
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_FALSE(dlg.Create(4243));
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(platform::AllWindows().empty());
}

TEST_F(DialogTest, ControlsArePlacedInDialogUnitsOfTheFont) {
  LoginDlg dlg;
  ASSERT_TRUE(dlg.Create(kToolId));
  SIZE base = dlg.GetBaseUnits();
  EXPECT_GT(base.cx, 2);
  EXPECT_GT(base.cy, 8);
  RECT expected = platform::DialogUnitsToPixels(50, 7, 90, 12, base);
  RECT actual;
  dlg.GetDlgItem(kName)->GetWindowRect(&actual);
  dlg.ScreenToClient(&actual);
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
  RECT client;
  dlg.GetClientRect(&client);
  RECT whole = platform::DialogUnitsToPixels(0, 0, 200, 130, base);
  EXPECT_EQ(client.right, whole.right);
  EXPECT_EQ(client.bottom, whole.bottom);
  // Conversion rounds to the nearest pixel: 4 units are exactly one average character.
  RECT one = platform::DialogUnitsToPixels(4, 8, 4, 8, SIZE{7, 13});
  EXPECT_EQ(one.left, 7);
  EXPECT_EQ(one.top, 13);
  EXPECT_EQ(one.right, 14);
  EXPECT_EQ(one.bottom, 26);
}

TEST_F(DialogTest, RadioHelpersAndCustomControlHook) {
  int made = 0;
  platform::SetCustomControlFactory("BoardHost", [&](const platform::DialogItemTemplate& item, HWND dialog, const RECT& r) {
    ++made;
    return ::CreateWindowEx(0, "Static", "board", WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                            r.bottom - r.top, dialog, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(item.id)),
                            nullptr, nullptr);
  });
  platform::ResourceModule& module = *platform::CurrentResourceModule();
  platform::DialogTemplate t = LoginTemplate();
  t.items.push_back(platform::VisibleItem("BoardHost", 1500, 150, 7, 40, 40, 0));
  t.items.push_back(platform::VisibleItem("NoSuchClass", 1501, 150, 50, 40, 40, 0));
  platform::AddDialogTemplate(module, 181, t);
  LoginDlg dlg;
  testing::internal::CaptureStderr();
  ASSERT_TRUE(dlg.Create(181));
  std::string log = testing::internal::GetCapturedStderr();
  platform::SetCustomControlFactory("BoardHost", nullptr);
  EXPECT_EQ(made, 1);
  EXPECT_NE(dlg.GetDlgItem(1500), nullptr);
  EXPECT_EQ(dlg.GetDlgItem(1501), nullptr);
  EXPECT_NE(log.find("NoSuchClass"), std::string::npos);

  dlg.CheckRadioButton(kFast, kSlow, kSlow);
  EXPECT_EQ(dlg.GetCheckedRadioButton(kFast, kSlow), kSlow);
  dlg.CheckRadioButton(kFast, kSlow, 0);
  EXPECT_EQ(dlg.GetCheckedRadioButton(kFast, kSlow), 0);
  dlg.m_speed = 5;  // out of the group: nothing checked, and saving reads -1
  dlg.UpdateData(FALSE);
  EXPECT_EQ(dlg.GetCheckedRadioButton(kFast, kSlow), 0);
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.m_speed, -1);
}

class KeyDlg : public LoginDlg {
public:
  int oks{0};
  int cancels{0};

protected:
  void OnOK() override { ++oks; }
  void OnCancel() override { ++cancels; }
};

TEST_F(DialogTest, KeyboardGoesThroughPreTranslateMessage) {
  KeyDlg dlg;
  ASSERT_TRUE(dlg.Create(kToolId));
  dlg.ShowWindow(SW_SHOW);
  // OnInitDialog's TRUE focused the first tab stop.
  EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(kName));
  platform::input::PressKey(VK_TAB);
  EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(kPassword));
  platform::input::SetModifier(VK_SHIFT, true);
  platform::input::PressKey(VK_TAB);
  platform::input::PressKey(VK_TAB);  // wraps to the last tab stop
  platform::input::SetModifier(VK_SHIFT, false);
  EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(kJoin));
  platform::input::PressKey(VK_TAB);
  EXPECT_EQ(CWnd::GetFocus(), dlg.GetDlgItem(kName));

  platform::input::TypeText("ab");
  EXPECT_EQ(Text(dlg.m_hWnd, kName), "ab");
  platform::input::PressKey(VK_RETURN);  // the default button
  EXPECT_EQ(dlg.oks, 1);
  EXPECT_EQ(Text(dlg.m_hWnd, kName), "ab");
  platform::input::PressKey(VK_ESCAPE);
  EXPECT_EQ(dlg.cancels, 1);
  dlg.GotoDlgCtrl(dlg.GetDlgItem(IDCANCEL));
  platform::input::PressKey(VK_RETURN);  // a focused push button is the one pressed
  EXPECT_EQ(dlg.cancels, 2);
  EXPECT_EQ(dlg.oks, 1);
}

TEST_F(DialogTest, PictureOfADialogWithItsControls) {
  HookScript script;
  script.fill = [](HWND wnd) {
    ::SetDlgItemText(wnd, kName, "alice");
    ::SetDlgItemText(wnd, kPassword, "pw1");
    ::CheckDlgButton(wnd, kRemember, BST_CHECKED);
    platform::PumpMessages();
    EXPECT_TRUE(platform::SaveSurfacePng(wnd, testsupport::SnapshotPath("dialog-controls.png").c_str()));
  };
  script.code = IDCANCEL;
  platform::ScopedUiScript use(&script);
  LoginDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

}  // namespace

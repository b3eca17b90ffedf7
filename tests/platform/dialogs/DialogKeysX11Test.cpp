// The dialog keyboard as a person uses it under X: message boxes answered from the keys alone,
// a dialog's underlined letters, its radio group entered at the checked choice, a combo's list
// opened by F4 and Alt+Down, Return and Escape on a combo open and closed, Tab and Ctrl+Tab in a
// form view, and the default button moved by DM_SETDEFID.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../display/XvfbServer.h"
#include "ScreenPerson.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/formview.h"
#include "platform/frames.h"
#include "platform/msgbox.h"
#include "platform/resources.h"
#include "platform/time.h"

namespace dialogkeys {

using screentest::ScreenPerson;
using screentest::ShownDialog;
using screentest::TextOf;

constexpr UINT kKeysId = 4101, kPostId = 4102, kQuietId = 4103;
constexpr int kFast = 1001, kSlow = 1002, kName = 1003, kServer = 1004, kJoin = 1005, kTitle = 1010, kBody = 1011;

platform::DialogTemplate KeysTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.cx = 200;
  t.cy = 110;
  t.caption = "Keys";
  t.items = {
      platform::VisibleItem("Button", kFast, 7, 7, 60, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "&Fast"),
      platform::VisibleItem("Button", kSlow, 70, 7, 60, 10, BS_AUTORADIOBUTTON, "&Slow"),
      platform::VisibleItem("Static", 0xFFFF, 7, 25, 40, 8, SS_LEFT | WS_GROUP, "&Name:"),
      platform::VisibleItem("Edit", kName, 50, 23, 90, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("ComboBox", kServer, 50, 41, 90, 60, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL),
      platform::VisibleItem("Button", IDOK, 7, 89, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 60, 89, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
      platform::VisibleItem("Button", kJoin, 113, 89, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "&Join"),
  };
  return t;
}

// A post's form: a title, a body and the button that sends them.
platform::DialogTemplate PostTemplate() {
  platform::DialogTemplate t;
  t.style = WS_CHILD;
  t.cx = 200;
  t.cy = 80;
  t.items = {
      platform::VisibleItem("Edit", kTitle, 7, 7, 180, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Edit", kBody, 7, 25, 180, 30, ES_MULTILINE | ES_WANTRETURN | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Button", IDOK, 7, 60, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "&Post"),
  };
  return t;
}

// What a dialog showed when it ended.
struct Ending {
  int result{-1};
  CString name;
  int server{-2};
  int radio{0};
  std::vector<int> listEnds;  // CBN_SELENDOK or CBN_SELENDCANCEL of the server list, in order
};

class CKeysDlg : public CDialog {
public:
  explicit CKeysDlg(CWnd* parent, UINT id = kKeysId) : CDialog(id, parent) {}
  Ending ending;

protected:
  BOOL OnInitDialog() override {
    for (const char* name : {"alpha", "beta", "gamma"})
      SendDlgItemMessage(kServer, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    CheckRadioButton(kFast, kSlow, kSlow);
    return CDialog::OnInitDialog();
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    const int id = LOWORD(wParam);
    if (id == kServer && (HIWORD(wParam) == CBN_SELENDOK || HIWORD(wParam) == CBN_SELENDCANCEL))
      ending.listEnds.push_back(HIWORD(wParam));
    if (HIWORD(wParam) == BN_CLICKED && (id == IDOK || id == IDCANCEL || id == kJoin)) {
      ending.result = id;
      GetDlgItemText(kName, ending.name);
      ending.server = static_cast<int>(SendDlgItemMessage(kServer, CB_GETCURSEL, 0, 0));
      ending.radio = GetCheckedRadioButton(kFast, kSlow);
      EndDialog(id);
      return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
  }
};

// A dialog whose OnInitDialog puts the focus nowhere and says so (FALSE).
class CQuietDlg : public CKeysDlg {
public:
  explicit CQuietDlg(CWnd* parent) : CKeysDlg(parent, kQuietId) {}

protected:
  BOOL OnInitDialog() override {
    CKeysDlg::OnInitDialog();
    return FALSE;
  }
};

class CPostView : public CFormView {
public:
  CPostView() : CFormView(kPostId) {}
  int posts{0};

protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
      ++posts;
      return TRUE;
    }
    return CFormView::OnCommand(wParam, lParam);
  }
};

class DialogKeysX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    platform::Clock::SetManual(false);
    static platform::ResourceModule& module = platform::CreateResourceModule("dialog-keys-tests");
    platform::AddDialogTemplate(module, kKeysId, KeysTemplate());
    platform::AddDialogTemplate(module, kQuietId, KeysTemplate());
    platform::AddDialogTemplate(module, kPostId, PostTemplate());
    m_scope = std::make_unique<platform::ResourceScope>(module.Handle());
    m_person = std::make_unique<ScreenPerson>(name);
    ASSERT_TRUE(m_person->Ready());
    m_owner = new CFrameWnd;
    ASSERT_TRUE(m_owner->Create(nullptr, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 600, 440)));
    platform::PumpMessages();
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
    platform::ResetMessageQueue();
    m_scope.reset();
  }

  // Shows the keys dialog and acts the steps added before; what it showed when it ended.
  Ending RunKeys() {
    CKeysDlg dialog(m_owner);
    EXPECT_TRUE(m_person->Drive([&] { dialog.DoModal(); })) << "a step never found what it waited for";
    return dialog.ending;
  }
  // The keys dialog's control id has the focus.
  static bool Focused(int id) {
    HWND dialog = ShownDialog("Keys");
    return dialog && ::GetFocus() == ::GetDlgItem(dialog, id);
  }
  static LRESULT Ask(int id, UINT message) { return ::SendDlgItemMessage(ShownDialog("Keys"), id, message, 0, 0); }
  void Press(KeySym key, unsigned state = 0) { m_person->Key(ShownDialog("Keys"), key, state); }
  void Then(std::function<bool()> ready, KeySym key, unsigned state = 0) {
    m_person->Then(std::move(ready), [this, key, state] { Press(key, state); });
  }

  std::unique_ptr<platform::ResourceScope> m_scope;
  std::unique_ptr<ScreenPerson> m_person;
  CFrameWnd* m_owner{nullptr};
};

// An undo request answered from the keyboard: each way to "No" answers No, Return the default;
// Escape answers only a box with Cancel or a lone OK, and leaves a Yes/No question open.
TEST_F(DialogKeysX11Test, AMessageBoxIsAnsweredByTabArrowsSpaceLettersAndEscape) {
  struct Case {
    const char* what;
    UINT type;
    std::vector<std::pair<KeySym, unsigned>> keys;
    int answer;
  };
  const std::vector<Case> cases = {
      {"Tab, Return", MB_YESNO, {{XK_Tab, 0}, {XK_Return, 0}}, IDNO},
      {"Right, Space", MB_YESNO, {{XK_Right, 0}, {XK_space, 0}}, IDNO},
      {"the letter n", MB_YESNO, {{XK_n, 0}}, IDNO},
      {"Alt+N", MB_YESNO, {{XK_n, Mod1Mask}}, IDNO},
      {"Escape in a Yes/No box, then Return", MB_YESNO, {{XK_Escape, 0}, {XK_Return, 0}}, IDYES},
      {"Escape in a lone OK", MB_OK, {{XK_Escape, 0}}, IDOK},
      {"Escape in Abort/Retry/Ignore, then Return", MB_ABORTRETRYIGNORE, {{XK_Escape, 0}, {XK_Return, 0}}, IDABORT},
      {"Escape with Cancel", MB_YESNOCANCEL, {{XK_Escape, 0}}, IDCANCEL},
      {"Shift+Tab round to Cancel, Space", MB_YESNOCANCEL, {{XK_Tab, ShiftMask}, {XK_space, 0}}, IDCANCEL},
      {"Return alone", MB_YESNO, {{XK_Return, 0}}, IDYES},
      {"Return on the second default", MB_YESNO | MB_DEFBUTTON2, {{XK_Return, 0}}, IDNO},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int answer = 0;
    m_person->Then([] { return screentest::ShownMessageBox() != nullptr; }, [&] {
      for (auto [key, state] : c.keys) m_person->Key(screentest::ShownMessageBox(), key, state);
    });
    EXPECT_TRUE(m_person->Drive([&] { answer = ::MessageBox(m_owner->m_hWnd, "Agree to undo?", "Undo", c.type); }));
    EXPECT_EQ(answer, c.answer);
    // The program goes on: the owner has the keyboard again.
    EXPECT_TRUE(::IsWindowEnabled(m_owner->m_hWnd));
  }
}

// A person enters the dialog at its checked choice, reaches the name by Alt+N, opens and closes
// the server list with Escape (the dialog stays), takes a server with Return from the open list,
// picks Fast by its letter and ends with Return on OK.
TEST_F(DialogKeysX11Test, LettersRadioGroupsAndAnOpenComboAnswerAsTheirDialogs) {
  Then([] { return Focused(kSlow); }, XK_n, Mod1Mask);  // entered at the checked radio
  m_person->Then([] { return Focused(kName); }, [this] { m_person->Type(ShownDialog("Keys"), "kim"); });
  Then([] { return TextOf(::GetDlgItem(ShownDialog("Keys"), kName)) == "kim"; }, XK_Tab);
  Then([] { return Focused(kServer); }, XK_F4);
  Then([] { return Ask(kServer, CB_GETDROPPEDSTATE) != 0; }, XK_Escape);
  // Escape closed the list only: the dialog is still there to open it again, by Alt+Down as by
  // F4, and to close it the same way.
  Then([] { return ShownDialog("Keys") && Ask(kServer, CB_GETDROPPEDSTATE) == 0; }, XK_Down, Mod1Mask);
  Then([] { return Ask(kServer, CB_GETDROPPEDSTATE) != 0; }, XK_Up, Mod1Mask);
  Then([] { return Ask(kServer, CB_GETDROPPEDSTATE) == 0; }, XK_Down, Mod1Mask);
  Then([] { return Ask(kServer, CB_GETDROPPEDSTATE) != 0; }, XK_Down);
  Then([] { return Ask(kServer, CB_GETCURSEL) == 0; }, XK_Down);
  Then([] { return Ask(kServer, CB_GETCURSEL) == 1; }, XK_Return);
  // Return took "beta" and closed the list; Alt+F picks Fast (the combo keeps letters alone).
  Then([] { return ShownDialog("Keys") && Ask(kServer, CB_GETDROPPEDSTATE) == 0; }, XK_f, Mod1Mask);
  Then([] { return Focused(kFast) && Ask(kFast, BM_GETCHECK) == BST_CHECKED; }, XK_Return);
  Ending ending = RunKeys();
  EXPECT_EQ(ending.result, IDOK);
  EXPECT_EQ(ending.name, "kim");
  EXPECT_EQ(ending.server, 1);
  EXPECT_EQ(ending.radio, kFast);
  EXPECT_EQ(ending.listEnds, (std::vector<int>{CBN_SELENDCANCEL, CBN_SELENDOK, CBN_SELENDOK}));
}

// Return and Escape on the server combo: closed, they press the default button and Cancel; open,
// they close the list alone (Escape as no choice); a disabled button is never pressed by them.
TEST_F(DialogKeysX11Test, ReturnAndEscapeOnAComboAnswerItsListWhenOpenAndTheDialogWhenClosed) {
  struct Case {
    const char* what;
    int disabled;  // a button disabled before the keys, 0 for none
    std::vector<std::pair<KeySym, unsigned>> keys;
    int result;
    std::vector<int> listEnds;
  };
  const std::vector<Case> cases = {
      {"Return, closed", 0, {{XK_Return, 0}}, IDOK, {}},
      {"Escape, closed", 0, {{XK_Escape, 0}}, IDCANCEL, {}},
      {"Escape on the open list, then Return", 0, {{XK_F4, 0}, {XK_Escape, 0}, {XK_Return, 0}}, IDOK,
       {CBN_SELENDCANCEL}},
      {"Return on the open list, then Escape", 0, {{XK_Down, Mod1Mask}, {XK_Return, 0}, {XK_Escape, 0}}, IDCANCEL,
       {CBN_SELENDOK}},
      {"Return with OK disabled, then Escape", IDOK, {{XK_Return, 0}, {XK_Escape, 0}}, IDCANCEL, {}},
      {"Escape with Cancel disabled, then Return", IDCANCEL, {{XK_Escape, 0}, {XK_Return, 0}}, IDOK, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Then([] { return Focused(kSlow); }, XK_Tab);
    Then([] { return Focused(kName); }, XK_Tab);
    m_person->Then([] { return Focused(kServer); }, [&] {
      if (c.disabled) ::EnableWindow(::GetDlgItem(ShownDialog("Keys"), c.disabled), FALSE);
      for (auto [key, state] : c.keys) Press(key, state);
    });
    Ending ending = RunKeys();
    EXPECT_EQ(ending.result, c.result);
    EXPECT_EQ(ending.listEnds, c.listEnds);
  }
}

// Tab and Shift+Tab go round the tab stops, the arrows move among the buttons of a group (and
// so the default look), a button's letter presses it, DM_SETDEFID moves the default look and
// Return follows it.
TEST_F(DialogKeysX11Test, TabArrowsAndTheDefaultButtonMoveAsInTheClassLibrary) {
  auto defaultLook = [](int id) {
    HWND button = ::GetDlgItem(ShownDialog("Keys"), id);
    return (::GetWindowLong(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  };
  Then([] { return Focused(kSlow); }, XK_Tab, ShiftMask);
  Then([] { return Focused(kJoin); }, XK_Left);  // wrapped round to the last tab stop
  Then([&] { return Focused(IDCANCEL) && defaultLook(IDCANCEL) && !defaultLook(IDOK); }, XK_Tab);
  Then([] { return Focused(kJoin); }, XK_Tab);
  // Into the radio group again: at its checked button.
  m_person->Then([] { return Focused(kSlow); }, [] {
    ::SendMessage(ShownDialog("Keys"), DM_SETDEFID, kJoin, 0);
  });
  Then([&] { return defaultLook(kJoin) && !defaultLook(IDOK); }, XK_Tab);
  Then([] { return Focused(kName); }, XK_Return);  // from the edit, Return presses the default: Join
  Ending ending = RunKeys();
  EXPECT_EQ(ending.result, kJoin);
  EXPECT_EQ(ending.radio, kSlow);
}

// A dialog whose OnInitDialog sets no focus and returns FALSE still has a control with the keys:
// its first tab stop (here the checked radio), where Space and the letters act.
TEST_F(DialogKeysX11Test, ADialogWithoutFocusFromInitGivesItToItsFirstTabStop) {
  Then([] { return Focused(kSlow); }, XK_j);
  CQuietDlg dialog(m_owner);
  EXPECT_TRUE(m_person->Drive([&] { dialog.DoModal(); }));
  EXPECT_EQ(dialog.ending.result, kJoin);
}

// A post typed as title, Tab, body goes out in its two fields; Shift+Tab goes back; Return in the
// body is a new line there and Ctrl+Tab a tab, the button's letter posts.
TEST_F(DialogKeysX11Test, TabMovesBetweenAFormViewsFields) {
  auto* view = new CPostView;
  ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 500, 300), m_owner, AFX_IDW_PANE_FIRST,
                           nullptr));
  view->OnInitialUpdate();
  HWND title = ::GetDlgItem(view->m_hWnd, kTitle), body = ::GetDlgItem(view->m_hWnd, kBody);
  ::SetFocus(title);
  auto waitFor = [](const std::function<bool()>& pred) {
    return platform::RunUntil([&] {
      platform::display::Sync();
      return pred();
    }, 20000);
  };
  m_person->Type(title, "Hello");
  ASSERT_TRUE(waitFor([&] { return TextOf(title) == "Hello"; }));
  m_person->Key(title, XK_Tab);
  ASSERT_TRUE(waitFor([&] { return ::GetFocus() == body; })) << "Tab left the focus in the title";
  m_person->Type(body, "first");
  m_person->Key(body, XK_Return);
  m_person->Type(body, "second");
  // Ctrl+Tab types a tab where Tab would move on.
  m_person->Key(body, XK_Tab, ControlMask);
  ASSERT_TRUE(waitFor([&] { return TextOf(body) == "first\r\nsecond\t"; })) << TextOf(body).GetString();
  EXPECT_EQ(::GetFocus(), body);
  EXPECT_EQ(TextOf(title), "Hello");
  m_person->Key(body, XK_Tab, ShiftMask);
  ASSERT_TRUE(waitFor([&] { return ::GetFocus() == title; }));
  m_person->Key(title, XK_p, Mod1Mask);
  EXPECT_TRUE(waitFor([&] { return view->posts == 1; }));
}

}  // namespace dialogkeys

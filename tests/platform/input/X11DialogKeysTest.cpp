// Dialogs answering a person's keys under X: typing at full speed across fields, Enter and the
// default button, the first field's focus, arrows in a radio group, the keys going back to the
// window that had them once a dialog closes, none of a dialog's keys reaching the frame, and a
// second click or key that came with the one opening a modal dialog dropped.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../display/X11Session.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/msgbox.h"
#include "platform/resources.h"
#include "platform/windows.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace {

constexpr UINT kSearchDialog = 4300;
constexpr int kId = 1001, kPassword = 1002, kText = 1003, kVoice = 1004, kSearch = 1005;
constexpr UINT kMenuItem = 501;

platform::DialogTemplate SearchTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.x = 12;
  t.y = 8;
  t.cx = 200;
  t.cy = 90;
  t.caption = "Search";
  t.items = {
      platform::VisibleItem("Static", 0xFFFF, 7, 9, 40, 8, SS_LEFT, "ID"),
      platform::VisibleItem("Edit", kId, 50, 7, 90, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Static", 0xFFFF, 7, 25, 40, 8, SS_LEFT, "Password"),
      platform::VisibleItem("Edit", kPassword, 50, 23, 90, 12, ES_AUTOHSCROLL | ES_PASSWORD | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Button", kText, 7, 41, 50, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Text"),
      platform::VisibleItem("Button", kVoice, 60, 41, 50, 10, BS_AUTORADIOBUTTON, "Voice"),
      platform::VisibleItem("Button", IDOK, 7, 69, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, "Close"),
      platform::VisibleItem("Button", kSearch, 60, 69, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "Search"),
      platform::VisibleItem("Button", IDCANCEL, 113, 69, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

// How the dialog's OnInitDialog leaves the focus.
enum class Init { Base, ReturnsFalse, FocusesPassword };

class SearchDlg : public CDialog {
public:
  SearchDlg(Init init, CWnd* parent) : CDialog(kSearchDialog, parent), m_init(init) {}

  std::string pressed;  // "search" or "ok", with the fields' texts at the press
  std::string id, password;
  std::function<void()> onSearch;  // runs after the press is recorded

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    CheckRadioButton(kText, kVoice, kText);
    if (m_init == Init::Base) return TRUE;
    if (m_init == Init::FocusesPassword) GetDlgItem(kPassword)->SetFocus();
    return FALSE;
  }

protected:
  void Record(const char* what) {
    pressed = what;
    CString text;
    GetDlgItemText(kId, text);
    id = text.GetString();
    GetDlgItemText(kPassword, text);
    password = text.GetString();
  }
  void OnSearch() {
    Record("search");
    if (onSearch) onSearch();
  }
  void OnOK() override {
    Record("ok");
    EndDialog(IDOK);
  }
  DECLARE_MESSAGE_MAP()

private:
  Init m_init;
};

BEGIN_MESSAGE_MAP(SearchDlg, CDialog)
  ON_COMMAND(kSearch, OnSearch)
END_MESSAGE_MAP()

// A top-level window with an edit that has the keys, a menu bar ("&Game": "&New") and, when
// given, accelerators that its PreTranslateMessage translates as a frame's does.
class EditFrame : public CWnd {
public:
  CEdit edit;
  std::vector<UINT> commands;
  HACCEL accelerators{nullptr};
  std::vector<WPARAM> keysSeen;  // the key presses its PreTranslateMessage was shown
  std::function<void()> onButton;  // a child button was clicked

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) keysSeen.push_back(msg->wParam);
    return accelerators && ::TranslateAccelerator(m_hWnd, accelerators, msg);
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && !lParam) commands.push_back(LOWORD(wParam));
    if (message == WM_COMMAND && lParam && HIWORD(wParam) == BN_CLICKED && onButton) onButton();
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

using platform::testing::MenuOpen;

// The message box on the screen, null when none is.
HWND ShownMessageBoxWindow() {
  for (HWND hwnd : platform::AllWindows()) {
    if (::IsWindowVisible(hwnd) && platform::WindowClassName(hwnd) == "PlatformMessageBox") return hwnd;
  }
  return nullptr;
}

std::string TextOf(HWND hwnd) {
  CString text;
  CWnd::FromHandle(hwnd)->GetWindowText(text);
  return text.GetString();
}

class X11DialogKeysTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!m_x.Open()) GTEST_SKIP() << "no X server";
    static platform::ResourceModule& module = [] () -> platform::ResourceModule& {
      platform::ResourceModule& made = platform::CreateResourceModule("x11-dialog-keys-tests");
      platform::AddDialogTemplate(made, kSearchDialog, SearchTemplate());
      return made;
    }();
    m_scope = std::make_unique<platform::ResourceScope>(module.Handle());
    m_menu = ::CreateMenu();
    HMENU game = ::CreatePopupMenu();
    ::AppendMenu(game, MF_STRING, kMenuItem, "&New");
    ::AppendMenu(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(game), "&Game");
    ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "Room", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 120, 500, 360, nullptr,
                                 m_menu));
    ASSERT_TRUE(m_frame.edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 10, 300, 34),
                                    &m_frame, 50));
    m_frame.edit.SetFocus();
    m_x.Settle();
  }

  void TearDown() override {
    platform::DestroyAllWindows();
    m_scope.reset();
  }

  // A modeless search dialog, shown, its X window mapped.
  std::unique_ptr<SearchDlg> Open(Init init) {
    auto dialog = std::make_unique<SearchDlg>(init, &m_frame);
    EXPECT_TRUE(dialog->Create(kSearchDialog, &m_frame));
    dialog->ShowWindow(SW_SHOW);
    m_x.Settle();
    return dialog;
  }

  platform::testing::X11Session m_x;
  std::unique_ptr<platform::ResourceScope> m_scope;
  EditFrame m_frame;
  HMENU m_menu{nullptr};
};

TEST_F(X11DialogKeysTest, KeysTypedAtFullSpeedFollowTabAndEnterPressesTheDefaultButton) {
  struct Case {
    UINT setDefId;        // 0: the template's default push button
    const char* pressed;
  };
  for (Case c : {Case{0, "search"}, Case{IDOK, "ok"}}) {
    SCOPED_TRACE(c.pressed);
    auto dialog = Open(Init::Base);
    if (c.setDefId) dialog->SendMessage(DM_SETDEFID, c.setDefId, 0);
    EXPECT_EQ(LOWORD(dialog->SendMessage(DM_GETDEFID, 0, 0)), c.setDefId ? c.setDefId : static_cast<UINT>(kSearch));
    // All of it reaches the program in one batch of X events.
    m_x.Type(dialog->m_hWnd, "alice\tpw\r");
    ASSERT_TRUE(m_x.WaitFor([&] { return !dialog->pressed.empty(); }))
        << TextOf(::GetDlgItem(dialog->m_hWnd, kId)) << "|" << TextOf(::GetDlgItem(dialog->m_hWnd, kPassword)) << "|"
        << ::GetFocus() << " " << dialog->m_hWnd << " " << ::GetActiveWindow();
    EXPECT_EQ(dialog->pressed, c.pressed);
    EXPECT_EQ(dialog->id, "alice");
    EXPECT_EQ(dialog->password, "pw");
    dialog->DestroyWindow();
  }
}

TEST_F(X11DialogKeysTest, AShownDialogHasItsFirstFieldFocusedUnlessItsInitFocusedAnother) {
  struct Case {
    Init init;
    int typedInto;
  };
  for (Case c : {Case{Init::Base, kId}, Case{Init::ReturnsFalse, kId}, Case{Init::FocusesPassword, kPassword}}) {
    SCOPED_TRACE(static_cast<int>(c.init));
    auto dialog = Open(c.init);
    m_x.Type(dialog->m_hWnd, "bob");
    HWND field = ::GetDlgItem(dialog->m_hWnd, c.typedInto);
    EXPECT_TRUE(m_x.WaitFor([&] { return TextOf(field) == "bob"; })) << TextOf(field);
    dialog->DestroyWindow();
  }
}

TEST_F(X11DialogKeysTest, ArrowKeysMoveTheChoiceWithinARadioGroup) {
  auto dialog = Open(Init::Base);
  HWND text = ::GetDlgItem(dialog->m_hWnd, kText);
  HWND voice = ::GetDlgItem(dialog->m_hWnd, kVoice);
  m_x.Click(text, POINT{5, 5});
  ASSERT_TRUE(m_x.WaitFor([&] { return ::GetFocus() == text; }));
  struct Step {
    unsigned long key;
    HWND chosen;
  };
  // Both ways, wrapping at the group's ends, and never out of the group.
  for (Step s : {Step{XK_Right, voice}, Step{XK_Right, text}, Step{XK_Left, voice}, Step{XK_Up, text},
                 Step{XK_Down, voice}}) {
    m_x.Keys(dialog->m_hWnd, {s.key});
    EXPECT_TRUE(m_x.WaitFor([&] { return ::GetFocus() == s.chosen; }));
    EXPECT_EQ(::IsDlgButtonChecked(dialog->m_hWnd, ::GetDlgCtrlID(s.chosen)), static_cast<UINT>(BST_CHECKED));
    HWND other = s.chosen == text ? voice : text;
    EXPECT_EQ(::IsDlgButtonChecked(dialog->m_hWnd, ::GetDlgCtrlID(other)), static_cast<UINT>(BST_UNCHECKED));
  }
  EXPECT_TRUE(dialog->pressed.empty());
}

TEST_F(X11DialogKeysTest, KeysReachTheFormerFocusAfterAModelessOrModalDialogAndAMenuAnswersEscape) {
  // A modeless dialog sits where its template puts it in its owner's client area.
  auto modeless = Open(Init::Base);
  CRect placed, expected(12, 8, 0, 0);
  modeless->GetWindowRect(&placed);
  modeless->MapDialogRect(&expected);
  POINT corner{0, 0};
  ::ClientToScreen(m_frame.m_hWnd, &corner);
  EXPECT_EQ(placed.left, corner.x + expected.left);
  EXPECT_EQ(placed.top, corner.y + expected.top);

  // Escape hides it; the frame's edit has the keys again.
  m_x.Keys(modeless->m_hWnd, {XK_Escape});
  ASSERT_TRUE(m_x.WaitFor([&] { return !modeless->IsWindowVisible(); }));
  m_x.Type(m_frame.m_hWnd, "k");
  EXPECT_TRUE(m_x.WaitFor([&] { return TextOf(m_frame.edit.m_hWnd) == "k"; })) << TextOf(m_frame.edit.m_hWnd);

  // A modal one, closed by Escape from its own keys.
  SearchDlg modal(Init::Base, &m_frame);
  {
    platform::testing::ActWhen escape(
        [&] {
          HWND shown = modal.m_hWnd;
          return shown && ::IsWindowVisible(shown) && ::GetFocus() && ::IsChild(shown, ::GetFocus());
        },
        [&] { m_x.Keys(modal.m_hWnd, {XK_Escape}); }, [&] { modal.EndDialog(IDABORT); });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
  }
  m_x.Type(m_frame.m_hWnd, "m");
  EXPECT_TRUE(m_x.WaitFor([&] { return TextOf(m_frame.edit.m_hWnd) == "km"; })) << TextOf(m_frame.edit.m_hWnd);

  // The frame's menu bar opens from F10 and closes on Escape.
  {
    platform::testing::ActWhen escape(MenuOpen, [&] { m_x.Keys(m_frame.m_hWnd, {XK_Escape}); },
                                      [] { ::ReleaseCapture(); });  // the menu would stay open: closed
    m_x.Keys(m_frame.m_hWnd, {XK_F10});
    EXPECT_TRUE(m_x.WaitFor([&] { return escape.Acted() && !MenuOpen(); }));
  }
  EXPECT_TRUE(m_frame.commands.empty());
}

// Keys typed into a modeless dialog, a modal one, a message box or an open pop-up menu are
// theirs: the frame behind is shown none of them and runs none of its accelerators, its menu
// letters or F10. Alt+F4 closes the dialog, not the frame; and with all of them gone the frame's
// own keys work again.
TEST_F(X11DialogKeysTest, KeysTypedIntoAWindowOverTheFrameNeverReachTheFrame) {
  constexpr WORD kFullScreen = 601, kSave = 602, kMacro = 603;
  const ACCEL table[] = {{FVIRTKEY, VK_F11, kFullScreen}, {FVIRTKEY | FCONTROL, 'S', kSave}, {FVIRTKEY, VK_F2, kMacro}};
  m_frame.accelerators = ::CreateAcceleratorTable(table, 3);
  struct Press {
    unsigned long key;
    unsigned state;
  };
  const std::vector<Press> frameKeys = {{XK_F2, 0}, {XK_F11, 0}, {XK_s, ControlMask}, {XK_g, Mod1Mask}, {XK_F10, 0}};
  auto press = [&](HWND top, const std::vector<Press>& keys) {
    for (const Press& p : keys) m_x.Keys(top, {p.key}, p.state);
  };
  auto frameUntouched = [&](const char* what) {
    EXPECT_TRUE(m_frame.keysSeen.empty()) << what << ": the frame saw key " << m_frame.keysSeen.front();
    EXPECT_TRUE(m_frame.commands.empty()) << what << ": the frame ran " << m_frame.commands.front();
    EXPECT_FALSE(MenuOpen()) << what;
  };

  // A modeless dialog: the keys, then a letter that shows they were all handled in the dialog.
  auto modeless = Open(Init::Base);
  press(modeless->m_hWnd, frameKeys);
  m_x.Type(modeless->m_hWnd, "q");
  EXPECT_TRUE(m_x.WaitFor([&] { return TextOf(::GetDlgItem(modeless->m_hWnd, kId)) == "q"; }));
  frameUntouched("modeless dialog");
  m_x.Keys(modeless->m_hWnd, {XK_Escape});
  ASSERT_TRUE(m_x.WaitFor([&] { return !modeless->IsWindowVisible(); }));

  // A modal dialog, closed by Alt+F4 after the keys.
  SearchDlg modal(Init::Base, &m_frame);
  {
    platform::testing::ActWhen keys(
        [&] { return modal.m_hWnd && ::IsWindowVisible(modal.m_hWnd) && ::IsChild(modal.m_hWnd, ::GetFocus()); },
        [&] {
          press(modal.m_hWnd, frameKeys);
          m_x.Keys(modal.m_hWnd, {XK_F4}, Mod1Mask);
        },
        [&] { modal.EndDialog(IDABORT); });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
  }
  frameUntouched("modal dialog");
  EXPECT_TRUE(::IsWindow(m_frame.m_hWnd));

  // A question: Escape leaves it open, Return then answers its default.
  {
    platform::testing::ActWhen keys([] { return ShownMessageBoxWindow() != nullptr; },
                                    [&] {
                                      press(ShownMessageBoxWindow(), frameKeys);
                                      m_x.Keys(ShownMessageBoxWindow(), {XK_Escape, XK_Return});
                                    },
                                    [] { ::SendMessage(ShownMessageBoxWindow(), WM_COMMAND, IDABORT, 0); });
    EXPECT_EQ(::MessageBox(m_frame.m_hWnd, "Agree to undo?", "Undo", MB_YESNO), IDYES);
  }
  frameUntouched("message box");

  // The frame's own menu, opened by F10: the accelerators do nothing while it is open.
  {
    platform::testing::ActWhen keys(MenuOpen, [&] {
      press(m_frame.m_hWnd, {{XK_F2, 0}, {XK_F11, 0}, {XK_s, ControlMask}});
      m_x.Keys(m_frame.m_hWnd, {XK_Escape});
    }, [] { ::ReleaseCapture(); });
    m_x.Keys(m_frame.m_hWnd, {XK_F10});
    ASSERT_TRUE(m_x.WaitFor([&] { return keys.Acted() && !MenuOpen(); }));
  }
  EXPECT_TRUE(m_frame.commands.empty());

  // Nothing is left over them: the frame's accelerator runs.
  m_x.Keys(m_frame.m_hWnd, {XK_F11});
  EXPECT_TRUE(m_x.WaitFor([&] { return m_frame.commands == std::vector<UINT>{kFullScreen}; }));
  ::DestroyAcceleratorTable(m_frame.accelerators);
}

// A second click or Return that arrived with the first, which opened a modal dialog, was meant
// for the window the dialog has disabled since: it is dropped, neither opening a second dialog
// inside the first nor pressing the dialog's button. A button held down as a modal dialog opens
// lets go of the mouse unclicked. Afterwards each press opens one dialog again.
TEST_F(X11DialogKeysTest, InputQueuedForAWindowThatAModalDialogDisabledIsDropped) {
  CButton open;
  ASSERT_TRUE(open.Create("Search...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, CRect(10, 200, 130, 226),
                          &m_frame, 60));
  m_x.Settle();
  int opened = 0, nested = 0, shown = 0;
  std::string pressedInModal;
  // A modal search dialog over owner, closed by Escape once it has the keys.
  auto runModal = [&](CWnd* owner) {
    ++opened;
    if (shown) {
      ++nested;  // the fault: not run, so the test fails rather than waits on two loops
      return;
    }
    ++shown;
    SearchDlg modal(Init::Base, owner);
    platform::testing::ActWhen escape(
        [&] { return modal.m_hWnd && ::IsWindowVisible(modal.m_hWnd) && ::IsChild(modal.m_hWnd, ::GetFocus()); },
        [&] { m_x.Keys(modal.m_hWnd, {XK_Escape}); }, [&] { modal.EndDialog(IDABORT); });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    pressedInModal += modal.pressed;
    --shown;
  };
  // A question in a message box, closed by Escape.
  auto askQuestion = [&] {
    ++opened;
    if (shown) {
      ++nested;
      return;
    }
    ++shown;
    platform::testing::ActWhen escape([] { return ShownMessageBoxWindow() && ::GetFocus(); },
                                      [&] { m_x.Keys(ShownMessageBoxWindow(), {XK_Escape}); },
                                      [] { ::SendMessage(ShownMessageBoxWindow(), WM_COMMAND, IDABORT, 0); });
    EXPECT_EQ(::MessageBox(m_frame.m_hWnd, "Search now?", "Search", MB_OKCANCEL), IDCANCEL);
    --shown;
  };
  m_frame.onButton = [&] { runModal(&m_frame); };
  const POINT centre{60, 13};
  auto expectOpened = [&](int count, const char* what) {
    EXPECT_TRUE(m_x.WaitFor([&] { return opened >= count && !shown; })) << what;
    EXPECT_EQ(opened, count) << what;
    EXPECT_EQ(nested, 0) << what;
    EXPECT_EQ(pressedInModal, "") << what;
    EXPECT_TRUE(m_frame.IsWindowEnabled()) << what;
  };
  m_x.Click(open.m_hWnd, centre, true);
  expectOpened(1, "a double click");
  m_x.Click(open.m_hWnd, centre);
  expectOpened(2, "a click after it");
  m_frame.onButton = askQuestion;
  m_x.Click(open.m_hWnd, centre, true);
  expectOpened(3, "a double click on a button asking a question");
  m_frame.onButton = [&] { runModal(&m_frame); };

  // Return twice at once on a dialog's focused default button that opens a modal dialog.
  auto owner = Open(Init::Base);
  owner->onSearch = [&] { runModal(owner.get()); };
  ::SetFocus(::GetDlgItem(owner->m_hWnd, kSearch));
  m_x.Keys(owner->m_hWnd, {XK_Return, XK_Return});
  expectOpened(4, "Return twice");
  EXPECT_GE(::GetKeyState(VK_RETURN), 0);
  m_x.Keys(owner->m_hWnd, {XK_Return});
  expectOpened(5, "Return after it");
  owner->DestroyWindow();

  // The button held down when a dialog opens (a server's question) lets go and never fires.
  m_x.Button(open.m_hWnd, centre, true);
  ASSERT_TRUE(m_x.WaitFor([&] { return ::GetCapture() == open.m_hWnd && (open.GetState() & BST_PUSHED); }));
  {
    SearchDlg question(Init::Base, &m_frame);
    bool heldDuringDialog = true;
    platform::testing::ActWhen release(
        [&] { return question.m_hWnd && ::IsWindowVisible(question.m_hWnd) && ::IsChild(question.m_hWnd, ::GetFocus()); },
        [&] {
          heldDuringDialog = ::GetCapture() != nullptr || (open.GetState() & BST_PUSHED) != 0;
          m_x.Button(open.m_hWnd, centre, false);
          m_x.Keys(question.m_hWnd, {XK_Escape});
        },
        [&] { question.EndDialog(IDABORT); });
    ++shown;
    EXPECT_EQ(question.DoModal(), IDCANCEL);
    --shown;
    EXPECT_FALSE(heldDuringDialog);
  }
  EXPECT_TRUE(m_x.WaitFor([] { return ::GetKeyState(VK_LBUTTON) >= 0; }));
  EXPECT_EQ(opened, 5);
  m_x.Click(open.m_hWnd, centre);
  expectOpened(6, "a click after the held one");

  // The frame's own field takes typing again.
  m_x.Click(m_frame.edit.m_hWnd, POINT{5, 5});
  m_x.Type(m_frame.m_hWnd, "k");
  EXPECT_TRUE(m_x.WaitFor([&] { return TextOf(m_frame.edit.m_hWnd) == "k"; })) << TextOf(m_frame.edit.m_hWnd);

  // Typing on past the Escape that closes a dialog: the keys that came with it reach the field.
  {
    SearchDlg modal(Init::Base, &m_frame);
    platform::testing::ActWhen escape(
        [&] { return modal.m_hWnd && ::IsWindowVisible(modal.m_hWnd) && ::IsChild(modal.m_hWnd, ::GetFocus()); },
        [&] { m_x.Keys(modal.m_hWnd, {XK_Escape, XK_m, XK_n}); }, [&] { modal.EndDialog(IDABORT); });
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
  }
  EXPECT_TRUE(m_x.WaitFor([&] { return TextOf(m_frame.edit.m_hWnd) == "kmn"; })) << TextOf(m_frame.edit.m_hWnd);
}

}  // namespace

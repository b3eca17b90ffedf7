// The keyboard under X11 as a person uses it: menus and accelerators with Alt and F10, Alt+F4,
// and Korean text through the clipboard shared with other X programs.
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "X11Session.h"
#include "XvfbServer.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/msgbox.h"
#include "platform/strings.h"
#include "platform/testinput.h"
#include "platform/time.h"
#include "platform/windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

constexpr UINT kNew = 201, kOpen = 202, kBoard = 301, kList = 302, kReview = 401;

// A top-level window with a menu bar ("&Game": New, Open; "&View": Board, List), an Alt+B
// accelerator, and a question before it closes.
class KeyFrame : public CWnd {
public:
  std::vector<UINT> commands;
  std::vector<HMENU> popups;  // each pop-up as it opened
  int questions{0};
  HACCEL accelerators{nullptr};

  BOOL PreTranslateMessage(MSG* msg) override {
    bool isKey = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    if (isKey && accelerators && ::TranslateAccelerator(m_hWnd, accelerators, msg)) return TRUE;
    return CWnd::PreTranslateMessage(msg);
  }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND:
        if (!lParam) commands.push_back(LOWORD(wParam));
        return 0;
      case WM_INITMENUPOPUP: popups.push_back(reinterpret_cast<HMENU>(wParam)); break;
      case WM_CLOSE:
        ++questions;
        if (::MessageBox(m_hWnd, "Leave the program?", "Close", MB_YESNO) == IDYES) DestroyWindow();
        return 0;
      default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

HMENU MakeMenuBar() {
  HMENU bar = ::CreateMenu();
  HMENU game = ::CreatePopupMenu();
  ::AppendMenu(game, MF_STRING, kNew, "&New");
  ::AppendMenu(game, MF_STRING, kOpen, "&Open");
  HMENU view = ::CreatePopupMenu();
  ::AppendMenu(view, MF_STRING, kBoard, "&Board");
  ::AppendMenu(view, MF_STRING, kList, "&List");
  ::AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(game), "&Game");
  ::AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
  return bar;
}

// Acts from a timer while a nested loop (a pop-up menu, a message box) waits; after about ten
// seconds it stops trying, so a fault fails the test instead of hanging it. The margin is wide
// because a loaded sanitizer run can leave the program seconds behind the keys it was sent.
struct Driver {
  std::function<bool()> ready;
  std::function<void()> act;
  int ticks{0};
  bool acted{false};
};
Driver* g_driver = nullptr;

void Drive(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_driver) return;
  Driver& d = *g_driver;
  if (d.acted || ++d.ticks > 330) {
    ::KillTimer(nullptr, id);
    return;
  }
  if (d.ticks < 3 || !d.ready()) return;
  d.acted = true;
  d.act();
}

// Runs the driver's timer for as long as the driver lives: a tick left over from one case must
// never reach a driver that has gone out of scope.
class Driving {
public:
  explicit Driving(Driver& driver) {
    g_driver = &driver;
    m_timer = ::SetTimer(nullptr, 0, 30, Drive);
  }
  ~Driving() {
    ::KillTimer(nullptr, m_timer);
    g_driver = nullptr;
  }
  Driving(const Driving&) = delete;
  Driving& operator=(const Driving&) = delete;

private:
  UINT_PTR m_timer{0};
};

using platform::testing::MenuOpen;

// Another X program holding the CLIPBOARD selection with UTF-8 text, on its own connection
// and thread, answering requests until it is stopped.
class ClipboardOwner {
public:
  ClipboardOwner(const std::string& displayName, std::string utf8) : m_text(std::move(utf8)) {
    m_display = XOpenDisplay(displayName.c_str());
    if (!m_display) return;
    m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
    Atom clipboard = XInternAtom(m_display, "CLIPBOARD", False);
    XSetSelectionOwner(m_display, clipboard, m_window, CurrentTime);
    XSync(m_display, False);
    m_thread = std::thread([this] { Serve(); });
  }
  ~ClipboardOwner() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_display) XCloseDisplay(m_display);
  }
  bool Ready() const { return m_display != nullptr; }

private:
  void Serve() {
    Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    while (!m_stop) {
      pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
      if (!XPending(m_display)) ::poll(&fd, 1, 20);
      while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type != SelectionRequest) continue;
        const XSelectionRequestEvent& request = event.xselectionrequest;
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.time = request.time;
        if (request.target == utf8) {
          XChangeProperty(m_display, request.requestor, request.property, utf8, 8, PropModeReplace,
                          reinterpret_cast<const unsigned char*>(m_text.data()), static_cast<int>(m_text.size()));
          reply.xselection.property = request.property;
        }
        XSendEvent(m_display, request.requestor, False, NoEventMask, &reply);
        XFlush(m_display);
      }
    }
  }

  std::string m_text;
  ::Display* m_display{nullptr};
  Window m_window{0};
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

class X11KeyboardTest : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    m_observer = XOpenDisplay(name.c_str());
    ASSERT_NE(m_observer, nullptr);
    platform::Clock::SetManual(false);
    m_menu = MakeMenuBar();
    ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "Keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 400, 300, nullptr,
                                 m_menu));
    m_frame.SetFocus();
    Settle();
  }

  void TearDown() override {
    platform::DestroyAllWindows();
    if (m_frame.accelerators) ::DestroyAcceleratorTable(m_frame.accelerators);
    platform::display::UseHeadless();
    platform::ResetMessageQueue();
    g_driver = nullptr;
    if (m_observer) XCloseDisplay(m_observer);
  }

  void Settle() {
    for (int i = 0; i < 3; ++i) {
      platform::display::Sync();
      platform::PumpMessages();
    }
  }

  Window Native(HWND top) { return static_cast<Window>(platform::display::NativeWindowOf(top)); }

  // A key event as the server sends it: state holds the modifiers already down.
  void SendKeyEvent(Window window, KeySym keysym, bool press, unsigned state) {
    XEvent event{};
    event.xkey.type = press ? KeyPress : KeyRelease;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(m_observer);
    event.xkey.keycode = XKeysymToKeycode(m_observer, keysym);
    event.xkey.state = state;
    event.xkey.same_screen = True;
    XSendEvent(m_observer, window, False, press ? KeyPressMask : KeyReleaseMask, &event);
  }

  // Presses and releases keysym, with Alt held around it when alt is set.
  void SendKey(Window window, KeySym keysym, bool alt = false) {
    if (alt) SendKeyEvent(window, XK_Alt_L, true, 0);
    unsigned state = alt ? Mod1Mask : 0;
    SendKeyEvent(window, keysym, true, state);
    SendKeyEvent(window, keysym, false, state);
    if (alt) SendKeyEvent(window, XK_Alt_L, false, Mod1Mask);
    // A round trip, not a flush: once it returns the server has queued the keys for the program,
    // so the program's own sync reads them. A flush alone leaves that to the server's scheduling.
    XSync(m_observer, False);
  }

  // Sends keys, then lets the program handle them (nested loops included) until pred holds.
  bool KeysThen(const std::function<void()>& send, const std::function<bool()>& pred) {
    send();
    return platform::RunUntil([&] {
      platform::display::Sync();
      return pred();
    }, 12000);
  }

  // The UTF-8 text another X program reads from the CLIPBOARD selection.
  std::string ObserverPaste() {
    Window window = XCreateSimpleWindow(m_observer, DefaultRootWindow(m_observer), 0, 0, 1, 1, 0, 0, 0);
    Atom clipboard = XInternAtom(m_observer, "CLIPBOARD", False);
    Atom utf8 = XInternAtom(m_observer, "UTF8_STRING", False);
    Atom property = XInternAtom(m_observer, "OBSERVER_PASTE", False);
    XConvertSelection(m_observer, clipboard, utf8, property, window, CurrentTime);
    XFlush(m_observer);
    XEvent answer{};
    bool answered = platform::RunUntil([&] {
      platform::display::Sync();
      return XCheckTypedWindowEvent(m_observer, window, SelectionNotify, &answer) == True;
    }, 12000);
    std::string text;
    if (answered && answer.xselection.property) {
      Atom type = 0;
      int format = 0;
      unsigned long count = 0, after = 0;
      unsigned char* data = nullptr;
      XGetWindowProperty(m_observer, window, property, 0, 4096, True, AnyPropertyType, &type, &format, &count, &after,
                         &data);
      if (data && type == utf8) text.assign(reinterpret_cast<char*>(data), count);
      if (data) XFree(data);
    }
    XDestroyWindow(m_observer, window);
    return text;
  }

  ::Display* m_observer{nullptr};
  KeyFrame m_frame;
  HMENU m_menu{nullptr};
};

TEST_F(X11KeyboardTest, AltLetterOpensTheMatchingMenuAndNeverTypesIntoTheEdit) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 200, 40), &m_frame, 50));
  edit.SetFocus();
  Window native = Native(m_frame.m_hWnd);
  struct Case {
    KeySym letter;
    int menu;  // index on the bar
  };
  for (Case c : {Case{XK_v, 1}, Case{XK_g, 0}}) {
    SCOPED_TRACE(c.menu);
    m_frame.popups.clear();
    Driver driver{MenuOpen, [this, native] { SendKey(native, XK_Escape); }};
    Driving driving(driver);
    EXPECT_TRUE(KeysThen([&] { SendKey(native, c.letter, true); }, [&] { return driver.acted && !MenuOpen(); }));
    ASSERT_EQ(m_frame.popups.size(), 1u);
    EXPECT_EQ(m_frame.popups[0], ::GetSubMenu(m_menu, c.menu));
  }
  EXPECT_TRUE(m_frame.commands.empty());  // Escape chose nothing
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(text, "");
  // Without Alt the letter is typing.
  EXPECT_TRUE(KeysThen([&] { SendKey(native, XK_v); }, [&] { return edit.GetWindowTextLength() == 1; }));
  EXPECT_TRUE(m_frame.popups.size() == 1);
}

TEST_F(X11KeyboardTest, F10ThenArrowsAndEnterRunACommand) {
  Window native = Native(m_frame.m_hWnd);
  struct Case {
    std::vector<KeySym> keys;  // once the first pop-up is open
    UINT command;
    std::vector<int> opened;  // bar items whose pop-ups opened, in order
  };
  const std::vector<Case> cases = {
      {{XK_Down, XK_Down, XK_Return}, kOpen, {0}},
      {{XK_Right, XK_Down, XK_Return}, kBoard, {0, 1}},
      {{XK_Left, XK_Down, XK_Down, XK_Return}, kList, {0, 1}},  // round from the first to the last
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    m_frame.commands.clear();
    m_frame.popups.clear();
    Driver driver{MenuOpen, [this, native, &c] {
                    for (KeySym key : c.keys) SendKey(native, key);
                  }};
    Driving driving(driver);
    EXPECT_TRUE(KeysThen([&] { SendKey(native, XK_F10); }, [&] { return !m_frame.commands.empty(); }));
    EXPECT_EQ(m_frame.commands, std::vector<UINT>{c.command});
    std::vector<HMENU> opened;
    for (int index : c.opened) opened.push_back(::GetSubMenu(m_menu, index));
    EXPECT_EQ(m_frame.popups, opened);
  }
}

TEST_F(X11KeyboardTest, AltF4AsksTheQuestionAndClosesOnlyOnYes) {
  Window native = Native(m_frame.m_hWnd);
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer);
    int asked = m_frame.questions;
    auto box = [] {
      HWND active = ::GetActiveWindow();
      return active && platform::WindowClassName(active) == "PlatformMessageBox" && ::GetDlgItem(active, IDYES);
    };
    Driver driver{box, [answer] { ::PostMessage(::GetActiveWindow(), WM_COMMAND, static_cast<WPARAM>(answer), 0); }};
    Driving driving(driver);
    EXPECT_TRUE(KeysThen([&] { SendKey(native, XK_F4, true); },
                         [&] { return m_frame.questions > asked && driver.acted && !box(); }));
    EXPECT_EQ(m_frame.questions, asked + 1);
    Settle();
    EXPECT_EQ(::IsWindow(m_frame.m_hWnd) != FALSE, answer == IDNO);
    // The frame has the keys again once the question is gone.
    if (answer == IDNO) {
      EXPECT_EQ(::GetFocus(), m_frame.m_hWnd);
    }
  }
}

TEST_F(X11KeyboardTest, AltAcceleratorRunsItsCommandButThePlainKeyDoesNot) {
  ACCEL entries[] = {{static_cast<BYTE>(FVIRTKEY | FALT), 'B', static_cast<WORD>(kReview)}};
  m_frame.accelerators = ::CreateAcceleratorTable(entries, 1);
  Window native = Native(m_frame.m_hWnd);
  EXPECT_TRUE(KeysThen([&] { SendKey(native, XK_b, true); }, [&] { return !m_frame.commands.empty(); }));
  EXPECT_EQ(m_frame.commands, std::vector<UINT>{kReview});
  SendKey(native, XK_b);
  Settle();
  EXPECT_EQ(m_frame.commands.size(), 1u);
  EXPECT_TRUE(m_frame.popups.empty());
}

TEST_F(X11KeyboardTest, KoreanTextGoesThroughTheXClipboardBothWays) {
  CEdit first;
  CEdit second;
  ASSERT_TRUE(first.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 300, 40), &m_frame, 50));
  ASSERT_TRUE(second.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(10, 50, 300, 150), &m_frame, 51));
  // Typed through the input method's path, copied with Ctrl+C, pasted with Ctrl+V.
  first.SetFocus();
  platform::input::ComposeText("흑 불계승 😀");
  first.SetSel(0, -1);
  Window native = Native(m_frame.m_hWnd);
  auto ctrl = [&](KeySym key) {
    SendKeyEvent(native, key, true, ControlMask);
    SendKeyEvent(native, key, false, ControlMask);
    XSync(m_observer, False);
  };
  // The copy is done once the program owns the CLIPBOARD selection; only then may the focus move.
  Atom clipboard = XInternAtom(m_observer, "CLIPBOARD", False);
  EXPECT_TRUE(KeysThen([&] { ctrl(XK_c); }, [&] { return XGetSelectionOwner(m_observer, clipboard) != None; }));
  Settle();
  second.SetFocus();
  EXPECT_TRUE(KeysThen([&] { ctrl(XK_v); }, [&] { return second.GetWindowTextLength() > 0; }));
  CString text;
  second.GetWindowText(text);
  EXPECT_EQ(text, Cp949("흑 불계승 "));

  // Another program reads what was copied, as UTF-8.
  EXPECT_EQ(ObserverPaste(), "흑 불계승 ");

  // Another program's text comes in as code page 949, its line feeds as line breaks.
  ClipboardOwner owner(platform::testing::TestDisplayName(), "백 시간패\n2국");
  ASSERT_TRUE(owner.Ready());
  second.SetWindowText("");
  ::SendMessage(second.m_hWnd, WM_PASTE, 0, 0);
  second.GetWindowText(text);
  EXPECT_EQ(text, Cp949("백 시간패\r\n2국"));
  first.SetWindowText("");
  ::SendMessage(first.m_hWnd, WM_PASTE, 0, 0);
  first.GetWindowText(text);
  EXPECT_EQ(text, Cp949("백 시간패"));
}

}  // namespace

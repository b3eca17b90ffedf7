#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <bit>
#include <filesystem>
#include <string>
#include <vector>

#include "XvfbServer.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/msgbox.h"
#include "platform/resources.h"
#include "platform/surface.h"
#include "platform/time.h"
#include "platform/windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include "support/SnapshotPath.h"
#include "support/XServerBasics.h"

namespace {

constexpr UINT kButtonId = 100;
constexpr UINT kDialogId = 4100;
constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW;  // sizing frame 4, caption 19
constexpr int kFrame = 4;
constexpr int kCaption = 19;

// What the windows of a test saw.
struct Seen {
  int clicks{0};
  int closes{0};
  std::vector<UINT> mouse;
  std::string chars;
  INT_PTR modalResult{-2};
  MINMAXINFO limits{};
  bool limit{false};
};

Seen* g_seen = nullptr;
std::function<void()> g_onClick;

LRESULT TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) {
        ++g_seen->clicks;
        if (g_onClick) g_onClick();
      }
      return 0;
    case WM_CLOSE: ++g_seen->closes; return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MOUSEWHEEL: g_seen->mouse.push_back(message); return 0;
    case WM_CHAR: g_seen->chars += static_cast<char>(wParam); return 0;
    case WM_GETMINMAXINFO:
      if (g_seen->limit) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = POINT{300, 200};
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC hdc = ::BeginPaint(hwnd, &ps);
      if (CDC* dc = platform::DcFromHandle(hdc)) {
        RECT client;
        ::GetClientRect(hwnd, &client);
        dc->FillSolidRect(&client, RGB(0, 0, 255));
        dc->FillSolidRect(10, 10, 50, 30, RGB(255, 0, 0));
      }
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    default: return ::DefWindowProc(hwnd, message, wParam, lParam);
  }
}

void RegisterTestClass() {
  WNDCLASS wc{};
  if (::GetClassInfo(nullptr, "X11TestWindow", &wc)) return;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = TestProc;
  wc.lpszClassName = "X11TestWindow";
  ::RegisterClass(&wc);
}

platform::DialogTemplate QuestionTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.cx = 160;
  t.cy = 60;
  t.caption = "Question";
  platform::DialogItemTemplate ok;
  ok.className = "Button";
  ok.id = IDOK;
  ok.x = 10;
  ok.y = 30;
  ok.cx = 50;
  ok.cy = 14;
  ok.style = BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE;
  ok.text = "OK";
  t.items = {ok};
  return t;
}

class X11DisplayTest : public ::testing::Test {
public:
  void SendClick(Window window, int x, int y, Time time = CurrentTime) {
    SendButton(window, x, y, Button1, true, time);
    SendButton(window, x, y, Button1, false, time);
  }

protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    m_observer = XOpenDisplay(name.c_str());
    ASSERT_NE(m_observer, nullptr);
    platform::Clock::SetManual(false);
    RegisterTestClass();
    g_seen = &m_seen;
    static platform::ResourceModule& module = platform::CreateResourceModule("x11-display-tests");
    platform::AddDialogTemplate(module, kDialogId, QuestionTemplate());
    m_scope = std::make_unique<platform::ResourceScope>(module.Handle());
  }

  void TearDown() override {
    m_scope.reset();
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
    platform::ResetMessageQueue();
    g_onClick = nullptr;
    g_seen = nullptr;
    if (m_observer) XCloseDisplay(m_observer);
  }

  // A shown top-level test window with a push button (kButtonId) at client (20, 20).
  HWND MakeFrame(const char* title, int width = 400, int height = 300) {
    HWND frame = ::CreateWindowEx(0, "X11TestWindow", title, kFrameStyle, 100, 80, width, height, nullptr, nullptr,
                                  nullptr, nullptr);
    ::CreateWindowEx(0, "Button", "Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 80, 24, frame,
                     reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(kButtonId)), nullptr, nullptr);
    ::ShowWindow(frame, SW_SHOW);
    Settle();
    return frame;
  }

  // Lets the server and the backend catch up with each other.
  void Settle() {
    for (int i = 0; i < 3; ++i) {
      platform::display::Sync();
      platform::PumpMessages();
    }
  }

  Window Native(HWND top) { return static_cast<Window>(platform::display::NativeWindowOf(top)); }

  std::string Title(Window window) { return testsupport::XWindowTitle(m_observer, window); }

  // Sends a button press or release at a point of the X window, as a server would.
  void SendButton(Window window, int x, int y, unsigned button, bool press, Time time = CurrentTime) {
    testsupport::SendXButton(m_observer, window, x, y, x, y, time, press, button);
    XSync(m_observer, False);
  }

public:
  void SendMotion(Window window, int x, int y) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.window = window;
    event.xmotion.root = DefaultRootWindow(m_observer);
    event.xmotion.x = x;
    event.xmotion.y = y;
    event.xmotion.same_screen = True;
    XSendEvent(m_observer, window, False, PointerMotionMask, &event);
    XSync(m_observer, False);
  }

  void SendKey(Window window, KeySym keysym, unsigned state) {
    testsupport::SendXKey(m_observer, window, keysym, state);
  }

protected:
  // Waits (pumping) until pred holds.
  bool WaitFor(const std::function<bool()>& pred) {
    return platform::RunUntil([&] {
      platform::display::Sync();
      return pred();
    }, 12000);
  }

  ::Display* m_observer{nullptr};
  Seen m_seen;
  std::unique_ptr<platform::ResourceScope> m_scope;
};

TEST_F(X11DisplayTest, FrameAppearsWithItsTitleSizeAndPosition) {
  HWND frame = MakeFrame(Cp949("대국실 - 연습"));
  Window native = Native(frame);
  ASSERT_NE(native, 0u);
  EXPECT_EQ(platform::display::CurrentBackend(), platform::display::Backend::X11);
  EXPECT_EQ(Title(native), "대국실 - 연습");

  XWindowAttributes attributes{};
  ASSERT_TRUE(XGetWindowAttributes(m_observer, native, &attributes));
  EXPECT_EQ(attributes.map_state, IsViewable);
  // The window manager draws the caption and frame: the X window is what lies inside them.
  EXPECT_EQ(attributes.width, 400 - 2 * kFrame);
  EXPECT_EQ(attributes.height, 300 - 2 * kFrame - kCaption);

  ::SetWindowText(frame, "Renamed");
  Settle();
  EXPECT_EQ(Title(native), "Renamed");

  ::ShowWindow(frame, SW_HIDE);
  Settle();
  ASSERT_TRUE(XGetWindowAttributes(m_observer, native, &attributes));
  EXPECT_EQ(attributes.map_state, IsUnmapped);

  ::DestroyWindow(frame);
  Settle();
  EXPECT_EQ(Native(frame), 0u);
}

TEST_F(X11DisplayTest, MovesAndResizesFollowEachOtherBothWays) {
  m_seen.limit = true;
  HWND frame = MakeFrame("Sizes");
  Window native = Native(frame);
  ASSERT_NE(native, 0u);

  ::MoveWindow(frame, 50, 40, 500, 350, TRUE);
  Settle();
  XWindowAttributes attributes{};
  XGetWindowAttributes(m_observer, native, &attributes);
  EXPECT_EQ(attributes.width, 500 - 2 * kFrame);
  EXPECT_EQ(attributes.height, 350 - 2 * kFrame - kCaption);

  // The minimum tracking size reaches the window manager as the minimum size.
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(m_observer, native, &hints, &supplied));
  EXPECT_TRUE(hints.flags & PMinSize);
  EXPECT_EQ(hints.min_width, 300 - 2 * kFrame);
  EXPECT_EQ(hints.min_height, 200 - 2 * kFrame - kCaption);

  // Another client (a window manager, a person) resizes: the window follows.
  XResizeWindow(m_observer, native, 600, 420);
  XSync(m_observer, False);
  ASSERT_TRUE(WaitFor([&] {
    RECT r;
    ::GetWindowRect(frame, &r);
    return r.right - r.left == 600 + 2 * kFrame;
  }));
  RECT r;
  ::GetWindowRect(frame, &r);
  EXPECT_EQ(r.bottom - r.top, 420 + 2 * kFrame + kCaption);
}

TEST_F(X11DisplayTest, MaximiseFillsTheScreenAndTheManagersIconicStateMinimises) {
  HWND frame = MakeFrame("States");
  Window native = Native(frame);
  ::ShowWindow(frame, SW_SHOWMAXIMIZED);
  Settle();
  XWindowAttributes attributes{};
  XGetWindowAttributes(m_observer, native, &attributes);
  EXPECT_EQ(attributes.width, 1024 - 2 * kFrame);
  EXPECT_EQ(attributes.height, 768 - 2 * kFrame - kCaption);
  ::ShowWindow(frame, SW_RESTORE);
  Settle();
  XGetWindowAttributes(m_observer, native, &attributes);
  EXPECT_EQ(attributes.width, 400 - 2 * kFrame);

  // A window manager records what it did to the window in WM_STATE: the window follows.
  Atom wmState = XInternAtom(m_observer, "WM_STATE", False);
  auto setState = [&](long state) {
    long data[2] = {state, 0};
    XChangeProperty(m_observer, native, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char*>(data), 2);
    XSync(m_observer, False);
  };
  setState(IconicState);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(frame) != FALSE; }));
  setState(NormalState);
  ASSERT_TRUE(WaitFor([&] { return ::IsIconic(frame) == FALSE; }));
  EXPECT_TRUE(::IsWindowVisible(frame));
}

TEST_F(X11DisplayTest, ClickOnButtonReachesItsHandler) {
  HWND frame = MakeFrame("Click");
  Window native = Native(frame);
  ASSERT_NE(native, 0u);
  SendClick(native, 40, 30);  // client point = X point: the X window starts at the client area
  ASSERT_TRUE(WaitFor([&] { return m_seen.clicks == 1; }));

  SendClick(native, 300, 200);  // beside the button: the frame gets the press, the button nothing
  ASSERT_TRUE(WaitFor([&] { return m_seen.mouse.size() >= 2; }));
  EXPECT_EQ(m_seen.clicks, 1);
  EXPECT_EQ(m_seen.mouse[0], WM_LBUTTONDOWN);
}

TEST_F(X11DisplayTest, DoubleClickByTimeAndDistanceAndWheel) {
  HWND frame = MakeFrame("Double");
  Window native = Native(frame);
  SendClick(native, 300, 200, 1000);
  SendClick(native, 301, 201, 1200);  // near and soon: a double click
  SendClick(native, 301, 201, 3000);  // too late: a click of its own
  SendClick(native, 340, 200, 3100);  // too far
  SendButton(native, 300, 200, Button4, true);
  SendButton(native, 300, 200, Button4, false);
  ASSERT_TRUE(WaitFor([&] { return m_seen.mouse.size() >= 9; }));
  std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONDOWN,
                                WM_LBUTTONUP,   WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEWHEEL};
  EXPECT_EQ(m_seen.mouse, expected);
}

TEST_F(X11DisplayTest, KeysTypeWhatTheKeyboardShows) {
  HWND frame = MakeFrame("Keys");
  ::SetFocus(frame);
  Window native = Native(frame);
  SendKey(native, XK_a, 0);
  SendKey(native, XK_a, ShiftMask);
  SendKey(native, XK_1, ShiftMask);  // '!' on the keyboard, not the '1' the digit key's code alone gives
  SendKey(native, XK_comma, 0);
  ASSERT_TRUE(WaitFor([&] { return m_seen.chars.size() >= 4; }));
  EXPECT_EQ(m_seen.chars, "aA!,");
}

TEST_F(X11DisplayTest, CloseBoxAsksTheWindowToClose) {
  HWND frame = MakeFrame("Close");
  Window native = Native(frame);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = native;
  event.xclient.message_type = XInternAtom(m_observer, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(m_observer, "WM_DELETE_WINDOW", False));
  XSendEvent(m_observer, native, False, NoEventMask, &event);
  XSync(m_observer, False);
  ASSERT_TRUE(WaitFor([&] { return m_seen.closes == 1; }));
  EXPECT_TRUE(::IsWindow(frame));  // the handler decides; this one keeps the window
}

TEST_F(X11DisplayTest, ModalDialogBlocksItsOwnerAndReturnsItsResult) {
  HWND frame = MakeFrame("Owner");
  Window ownerNative = Native(frame);
  struct Script {
    X11DisplayTest* test;
    Window owner;
    int pipeEnds[2]{-1, -1};
    bool piped{false};  // a watched descriptor was served while the dialog ran
    int step{0};
  };
  static Script* script = nullptr;
  Script state{this, ownerNative};
  script = &state;
  ASSERT_EQ(pipe(state.pipeEnds), 0);
  platform::WatchFd(state.pipeEnds[0], POLLIN, [](int fd, short) {
    char byte = 0;
    if (read(fd, &byte, 1) == 1) script->piped = true;
  });
  g_onClick = [&] {
    if (m_seen.clicks != 1) return;
    CDialog dialog(kDialogId, CWnd::FromHandle(frame));
    // Clicks arrive from the server while the dialog's loop runs: first on the owner's button,
    // which must not react, then on the dialog's OK button.
    ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
      CDialog* modal = platform::CurrentModalDialog();
      if (!script || !modal || !modal->m_hWnd) return;
      Window dialogNative = static_cast<Window>(platform::display::NativeWindowOf(modal->m_hWnd));
      if (!dialogNative) return;
      if (script->step == 0) {
        script->test->SendClick(script->owner, 40, 30);
        ssize_t written = write(script->pipeEnds[1], "x", 1);  // as a socket's data would arrive
        (void)written;
      } else if (script->step >= 3 && !script->piped) {
        return;  // the dialog waits for the descriptor to be served first
      } else if (script->step == 3) {
        HWND ok = ::GetDlgItem(modal->m_hWnd, IDOK);
        RECT r;
        ::GetWindowRect(ok, &r);
        POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ScreenToClient(modal->m_hWnd, &at);
        // The dialog's X window starts at its client area (it has no menu).
        script->test->SendClick(dialogNative, at.x, at.y);
      }
      ++script->step;
    });
    m_seen.modalResult = dialog.DoModal();
  };
  SendClick(ownerNative, 40, 30);
  ASSERT_TRUE(WaitFor([&] { return m_seen.modalResult != -2; }));
  EXPECT_EQ(m_seen.modalResult, IDOK);
  EXPECT_EQ(m_seen.clicks, 1);  // the owner's button stayed dead while the dialog was up
  EXPECT_GE(state.step, 4);
  EXPECT_TRUE(::IsWindowEnabled(frame));
  EXPECT_TRUE(state.piped);
  platform::UnwatchFd(state.pipeEnds[0]);
  close(state.pipeEnds[0]);
  close(state.pipeEnds[1]);
  script = nullptr;
}

TEST_F(X11DisplayTest, MessageBoxIsAWindowAnsweredByItsButtons) {
  HWND frame = MakeFrame("Owner");
  static X11DisplayTest* test = nullptr;
  test = this;
  ::SetTimer(nullptr, 0, 30, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::GetActiveWindow();
    if (!box || platform::WindowClassName(box) != "PlatformMessageBox") return;
    HWND no = ::GetDlgItem(box, IDNO);
    Window native = static_cast<Window>(platform::display::NativeWindowOf(box));
    if (!no || !native) return;
    RECT r;
    ::GetWindowRect(no, &r);
    POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ScreenToClient(box, &at);
    test->SendClick(native, at.x, at.y);
    ::KillTimer(nullptr, id);
  });
  int answer = ::MessageBox(frame, "Leave the room?", "Room", MB_YESNO);
  EXPECT_EQ(answer, IDNO);
  EXPECT_TRUE(::IsWindowEnabled(frame));
}

// Drives a pop-up menu from a timer while TrackPopupMenu waits: action gets the menu's window
// and its X window; after about three seconds the menu is made to give up, so a fault fails the
// test instead of hanging it.
struct MenuDriver {
  X11DisplayTest* test{nullptr};
  std::function<void(HWND, Window)> action;
  int ticks{0};
  bool acted{false};
  bool gaveUp{false};
};
MenuDriver* g_menu = nullptr;

// The open pop-up menu windows, outermost first.
std::vector<HWND> OpenMenus() {
  std::vector<HWND> menus;
  for (HWND hwnd : platform::AllWindows()) {
    if (platform::WindowClassName(hwnd) == platform::kPopupMenuClass && ::IsWindowVisible(hwnd)) menus.push_back(hwnd);
  }
  return menus;
}

void DriveMenu(HWND, UINT, UINT_PTR id, DWORD) {
  if (++g_menu->ticks > 100) {
    g_menu->gaveUp = true;
    ::ReleaseCapture();
    ::KillTimer(nullptr, id);
    return;
  }
  std::vector<HWND> menus = OpenMenus();
  HWND popup = menus.empty() ? nullptr : menus.front();
  Window native = popup ? static_cast<Window>(platform::display::NativeWindowOf(popup)) : 0;
  if (g_menu->acted || !native || g_menu->ticks < 3) return;
  g_menu->acted = true;
  g_menu->action(popup, native);
}

// Items: First (501), separator, Second (502), More -> {Deep (601), Deeper (602)}.
UINT TrackWith(HWND owner, std::function<void(HWND, Window)> action, X11DisplayTest* test, MenuDriver& driver) {
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenu(menu, MF_STRING, 501, "First");
  ::AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenu(menu, MF_STRING, 502, "Second");
  HMENU sub = ::CreatePopupMenu();
  ::AppendMenu(sub, MF_STRING, 601, "Deep");
  ::AppendMenu(sub, MF_STRING, 602, "Deeper");
  ::AppendMenu(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");
  driver.test = test;
  driver.action = std::move(action);
  g_menu = &driver;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 30, DriveMenu);
  RECT r;
  ::GetWindowRect(owner, &r);
  UINT command = static_cast<UINT>(::TrackPopupMenu(menu, TPM_RETURNCMD, r.left + 50, r.top + 60, 0, owner, nullptr));
  ::KillTimer(nullptr, timer);
  ::DestroyMenu(menu);
  g_menu = nullptr;
  return command;
}

TEST_F(X11DisplayTest, PopupMenuShowsAndReturnsTheChosenCommand) {
  HWND frame = MakeFrame("Menus");
  MenuDriver driver;
  UINT command = TrackWith(frame, [](HWND popup, Window native) {
    RECT item;
    ASSERT_TRUE(platform::GetPopupMenuItemRect(popup, 2, &item));
    g_menu->test->SendClick(native, (item.left + item.right) / 2, (item.top + item.bottom) / 2);
  }, this, driver);
  EXPECT_FALSE(driver.gaveUp);
  EXPECT_EQ(command, 502u);
  EXPECT_TRUE(OpenMenus().empty());  // the menu's window is gone
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(X11DisplayTest, SubMenuOpensBesideItsItemAndItsCommandIsChosen) {
  HWND frame = MakeFrame("Menus");
  MenuDriver driver;
  static int stage = 0;
  stage = 0;
  UINT command = TrackWith(frame, [](HWND popup, Window native) {
    std::vector<HWND> menus = OpenMenus();
    if (stage == 0) {
      RECT more;
      ASSERT_TRUE(platform::GetPopupMenuItemRect(popup, 3, &more));
      g_menu->test->SendMotion(native, (more.left + more.right) / 2, (more.top + more.bottom) / 2);
      stage = 1;
    } else if (stage == 1 && menus.size() == 2) {
      // The first menu holds the pointer: the click reaches its X window, beside its area.
      RECT deeper;
      ASSERT_TRUE(platform::GetPopupMenuItemRect(menus[1], 1, &deeper));
      POINT at{(deeper.left + deeper.right) / 2, (deeper.top + deeper.bottom) / 2};
      ::MapWindowPoints(menus[1], popup, &at, 1);
      g_menu->test->SendClick(native, at.x, at.y);
      stage = 2;
    }
    g_menu->acted = stage == 2;  // called again until the click is sent
  }, this, driver);
  EXPECT_FALSE(driver.gaveUp);
  EXPECT_EQ(stage, 2);
  EXPECT_EQ(command, 602u);
  EXPECT_TRUE(OpenMenus().empty());
}

TEST_F(X11DisplayTest, PopupMenuIsDismissedByAPressOutsideOrEscape) {
  HWND frame = MakeFrame("Menus");
  MenuDriver outside;
  UINT command = TrackWith(frame, [](HWND, Window native) {
    // The menu holds the pointer: a press elsewhere still comes to its window, outside its area.
    g_menu->test->SendClick(native, -20, -20);
  }, this, outside);
  EXPECT_FALSE(outside.gaveUp);
  EXPECT_EQ(command, 0u);

  MenuDriver escape;
  Window ownerNative = Native(frame);
  ::SetFocus(frame);
  command = TrackWith(frame, [ownerNative](HWND, Window) {
    g_menu->test->SendKey(ownerNative, XK_Escape, 0);  // keys go to the focus, the menu takes them
  }, this, escape);
  EXPECT_TRUE(escape.acted);
  EXPECT_FALSE(escape.gaveUp);
  EXPECT_EQ(command, 0u);
}

// An X pixel as 0x00RRGGBB, each channel scaled from its mask to 8 bits.
std::uint32_t RgbOf(unsigned long pixel, const Visual& visual) {
  auto channel = [pixel](unsigned long mask) -> std::uint32_t {
    if (!mask) return 0;
    int shift = std::countr_zero(mask);
    unsigned long max = mask >> shift;
    return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / max);
  };
  return channel(visual.red_mask) << 16 | channel(visual.green_mask) << 8 | channel(visual.blue_mask);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16}) {
    int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

TEST_F(X11DisplayTest, ScreenshotShowsWhatTheSurfaceHolds) {
  HWND frame = MakeFrame("Picture", 200, 150);
  Window native = Native(frame);
  Settle();
  XWindowAttributes attributes{};
  XGetWindowAttributes(m_observer, native, &attributes);
  XImage* image = XGetImage(m_observer, native, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  platform::Surface shot(attributes.width, attributes.height);
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) shot.Row(y)[x] = RgbOf(XGetPixel(image, x, y), *attributes.visual);
  }
  XDestroyImage(image);
  // A display of fewer colours rounds each channel.
  int tolerance = attributes.depth >= 24 ? 0 : 8;
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("x11-screenshot.png").c_str()));

  platform::PaintTarget target = platform::GetPaintTarget(frame, true);
  ASSERT_NE(target.surface, nullptr);
  const platform::Surface& held = *target.surface;
  int mismatches = 0;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (!Near(shot.Row(y)[x], held.Row(y + kFrame + kCaption)[x + kFrame], tolerance)) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_TRUE(Near(shot.Row(15)[15], 0xFF0000u, tolerance));   // the red block at client (10, 10)
  EXPECT_TRUE(Near(shot.Row(100)[150], 0x0000FFu, tolerance));  // blue elsewhere
}

}  // namespace

// The menu bar as a person uses it on an X server: each pop-up opened by a click on its title and
// by Alt with its letter, Save This Record checked and unchecked, Tool Bar showing the tool and
// status bars, F11 in and out of full screen in the game room, and Exit asking before it ends the
// program. Every input goes through the X server; the pictures are written for a look.

#include <bit>
#include <cctype>
#include <cstring>
#include <functional>

#include <platform/display.h>
#include <platform/gdi.h>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/resources/MenuBarResources.h"
#include "platform/display/XvfbServer.h"
#include "support/SnapshotPath.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

using namespace OrvantaCommand;

// Acts from a timer while nested loops (a pop-up menu, a message box) wait: each step acts once
// its moment has come, in order. After about ten seconds it stops trying, so a fault fails the
// test instead of hanging it.
struct Step {
  std::function<bool()> ready;
  std::function<void()> act;
};
struct Driver {
  std::vector<Step> steps;
  std::size_t next{0};
  int ticks{0};
  bool Done() const { return next == steps.size(); }
};
Driver* g_driver = nullptr;

void Drive(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_driver)
    return;
  Driver& d = *g_driver;
  if (d.Done() || ++d.ticks > 330) {
    ::KillTimer(nullptr, id);
    return;
  }
  if (d.ticks < 3 || !d.steps[d.next].ready())
    return;
  d.steps[d.next++].act();
}

// Runs the driver's timer for as long as the driver lives.
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

// The pop-up menu window shown, or null.
HWND OpenPopup() {
  for (HWND hwnd : platform::AllWindows())
    if (platform::WindowClassName(hwnd) == platform::kPopupMenuClass && ::IsWindowVisible(hwnd))
      return hwnd;
  return nullptr;
}

std::uint32_t RgbOf(unsigned long pixel, const Visual& visual) {
  auto channel = [pixel](unsigned long mask) -> std::uint32_t {
    if (!mask)
      return 0;
    const int shift = std::countr_zero(mask);
    return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / (mask >> shift));
  };
  return channel(visual.red_mask) << 16 | channel(visual.green_mask) << 8 | channel(visual.blue_mask);
}

bool Dark(std::uint32_t p) { return ((p >> 16) & 0xFF) < 0x70 && ((p >> 8) & 0xFF) < 0x70 && (p & 0xFF) < 0x70; }

// The letter after the '&' of a text, lower case.
char LetterOf(const char* text) {
  const char* amp = std::strchr(text, '&');
  return amp ? static_cast<char>(std::tolower(static_cast<unsigned char>(amp[1]))) : 0;
}

class MenuBarX11Test : public MainFrameTest {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty())
      GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    // The login runs headless (its dialog answered by the script); the screen then goes to X.
    LogIn();
    frame->EndWaitCapture();
    ASSERT_TRUE(platform::display::UseX11Display(name.c_str()));
    m_observer = XOpenDisplay(name.c_str());
    ASSERT_NE(m_observer, nullptr);
    frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    frame->SetActiveWindow();
    frame->SetFocus();
    Settle();
  }
  void TearDown() override {
    g_driver = nullptr;
    if (::IsWindow(frameHandle()))
      frame->DestroyWindow();
    platform::display::UseHeadless();
    if (m_observer)
      XCloseDisplay(m_observer);
  }

  void Settle() {
    for (int i = 0; i < 3; ++i) {
      platform::display::Sync();
      platform::PumpMessages();
    }
  }
  Window Native(HWND top) { return static_cast<Window>(platform::display::NativeWindowOf(top)); }
  // A screen point in the coordinates of top's X window.
  CPoint InX(HWND top, CPoint screen) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_observer, Native(top), &attributes);
    Window child = 0;
    int x = 0;
    int y = 0;
    XTranslateCoordinates(m_observer, Native(top), DefaultRootWindow(m_observer), 0, 0, &x, &y, &child);
    return CPoint(screen.x - x, screen.y - y);
  }

  void SendButton(HWND top, CPoint screen, bool press) {
    const CPoint at = InX(top, screen);
    XEvent event{};
    event.xbutton.type = press ? ButtonPress : ButtonRelease;
    event.xbutton.window = Native(top);
    event.xbutton.root = DefaultRootWindow(m_observer);
    event.xbutton.x = at.x;
    event.xbutton.y = at.y;
    event.xbutton.x_root = screen.x;
    event.xbutton.y_root = screen.y;
    event.xbutton.time = CurrentTime;
    event.xbutton.button = Button1;
    event.xbutton.state = press ? 0 : Button1Mask;
    event.xbutton.same_screen = True;
    XSendEvent(m_observer, Native(top), False, press ? ButtonPressMask : ButtonReleaseMask, &event);
    XSync(m_observer, False);
  }
  void Click(HWND top, CPoint screen) {
    SendButton(top, screen, true);
    SendButton(top, screen, false);
  }
  void SendKeyEvent(KeySym keysym, bool press, unsigned state) {
    XEvent event{};
    event.xkey.type = press ? KeyPress : KeyRelease;
    event.xkey.window = Native(frameHandle());
    event.xkey.root = DefaultRootWindow(m_observer);
    event.xkey.keycode = XKeysymToKeycode(m_observer, keysym);
    event.xkey.state = state;
    event.xkey.same_screen = True;
    XSendEvent(m_observer, Native(frameHandle()), False, press ? KeyPressMask : KeyReleaseMask, &event);
  }
  // Presses and releases keysym, with Alt held around it when alt is set.
  void SendKey(KeySym keysym, bool alt = false) {
    if (alt)
      SendKeyEvent(XK_Alt_L, true, 0);
    const unsigned state = alt ? Mod1Mask : 0;
    SendKeyEvent(keysym, true, state);
    SendKeyEvent(keysym, false, state);
    if (alt)
      SendKeyEvent(XK_Alt_L, false, Mod1Mask);
    XSync(m_observer, False);
  }
  // Lets the program handle what was sent (nested loops included) until pred holds.
  bool WaitFor(const std::function<bool()>& pred) {
    return platform::RunUntil(
        [&] {
          platform::display::Sync();
          return pred();
        },
        12000);
  }

  CMenu& Bar() { return *frame->GetMenu(); }
  CPoint TitleCentre(int popup) {
    CRect title;
    EXPECT_TRUE(::GetMenuItemRect(frameHandle(), Bar(), static_cast<UINT>(popup), &title));
    return title.CenterPoint();
  }
  // The screen rectangle of the item with command in the pop-up window shown.
  CRect ItemOnScreen(HWND popup, UINT command) {
    HMENU menu = platform::GetPopupMenuWindowMenu(popup);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      if (::GetMenuItemID(menu, i) != command)
        continue;
      CRect item;
      platform::GetPopupMenuItemRect(popup, i, &item);
      ::ClientToScreen(popup, reinterpret_cast<POINT*>(&item.left));
      ::ClientToScreen(popup, reinterpret_cast<POINT*>(&item.right));
      return item;
    }
    ADD_FAILURE() << "no item " << command;
    return CRect();
  }
  // What the screen shows in rect, from the root window (the frame and any pop-up over it).
  platform::Surface Grab(const CRect& rect) {
    platform::display::Sync();
    XSync(m_observer, False);
    const Window root = DefaultRootWindow(m_observer);
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_observer, root, &attributes);
    platform::Surface shot(rect.Width(), rect.Height());
    XImage* image = XGetImage(m_observer, root, rect.left, rect.top, static_cast<unsigned>(rect.Width()),
                              static_cast<unsigned>(rect.Height()), AllPlanes, ZPixmap);
    if (!image)
      return shot;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x)
        shot.Row(y)[x] = RgbOf(XGetPixel(image, x, y), *attributes.visual);
    XDestroyImage(image);
    return shot;
  }
  CRect FrameOnScreen() {
    CRect window;
    frame->GetWindowRect(&window);
    return window;
  }
  // Dark pixels of shot (taken of area) inside rect.
  static int DarkIn(const platform::Surface& shot, const CRect& area, const CRect& rect) {
    int n = 0;
    for (int y = std::max(rect.top, area.top); y < std::min(rect.bottom, area.bottom); ++y)
      for (int x = std::max(rect.left, area.left); x < std::min(rect.right, area.right); ++x)
        n += Dark(shot.Row(y - area.top)[x - area.left]) ? 1 : 0;
    return n;
  }
  // Opens pop-up index by opener, runs act while it is shown (painted), then the steps that
  // follow (a question the choice asks), and waits until all is done and the pop-up has closed.
  void WithPopupOpen(const std::function<void()>& opener, int index, const std::function<void(HWND)>& act,
                     std::vector<Step> after = {}) {
    Driver driver;
    driver.steps.push_back({[] { return OpenPopup() != nullptr; }, [&] {
                              HWND popup = OpenPopup();
                              ::UpdateWindow(popup);
                              frame->UpdateWindow();
                              EXPECT_EQ(platform::GetPopupMenuWindowMenu(popup), Bar().GetSubMenu(index)->GetSafeHmenu());
                              act(popup);
                            }});
    for (Step& step : after)
      driver.steps.push_back(std::move(step));
    Driving driving(driver);
    opener();
    EXPECT_TRUE(WaitFor([&] { return driver.Done() && OpenPopup() == nullptr; }));
  }

  ::Display* m_observer{nullptr};
};

TEST_F(MenuBarX11Test, EachPopupOpensByClickAndByAltLetterAndIsPictured) {
  const std::vector<CMenuBarPopup>& popups = GetMenuBarPopups();
  ASSERT_EQ(Bar().GetMenuItemCount(), popups.size());
  const platform::Surface start = Grab(FrameOnScreen());
  EXPECT_TRUE(platform::SaveSurfacePng(start, testsupport::SnapshotPath("orvanta-menu-bar.png").c_str()));
  for (int index = 0; index < static_cast<int>(popups.size()); ++index) {
    SCOPED_TRACE(popups[static_cast<size_t>(index)].title);
    // By mouse: a click on the title; the picture is taken while the pop-up is shown.
    WithPopupOpen([&] { Click(frameHandle(), TitleCentre(index)); }, index, [&](HWND popup) {
      CRect menu;
      ::GetWindowRect(popup, &menu);
      CRect area = FrameOnScreen();
      area.UnionRect(&area, &menu);
      const platform::Surface shot = Grab(area);
      const std::string name = "orvanta-menu-" + std::to_string(index) + ".png";
      EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath(name.c_str()).c_str()));
      EXPECT_GT(DarkIn(shot, area, menu), 40);  // the items' texts
      SendKey(XK_Escape);
    });
    // By key: Alt with the title's letter.
    const char letter = LetterOf(popups[static_cast<size_t>(index)].title);
    WithPopupOpen([&] { SendKey(XStringToKeysym(std::string(1, letter).c_str()), true); }, index,
                  [&](HWND) { SendKey(XK_Escape); });
  }
  EXPECT_TRUE(frame->IsConnected());  // nothing was chosen
}

TEST_F(MenuBarX11Test, SaveThisRecordIsCheckedUntilChosenAndToolBarShowsBothBars) {
  const int options = 4;
  const int view = 3;
  ASSERT_TRUE(frame->IsSaveRecordOn());
  // The check mark's place: the left of the item, before its text.
  auto markDarkness = [&](HWND popup) {
    const CRect item = ItemOnScreen(popup, kSaveThisRecord);
    const CRect mark(item.left, item.top, item.left + 16, item.bottom);
    ::UpdateWindow(popup);
    return DarkIn(Grab(mark), mark, mark);
  };
  int checked = 0;
  WithPopupOpen([&] { SendKey(XK_o, true); }, options, [&](HWND popup) {
    EXPECT_NE(::GetMenuState(platform::GetPopupMenuWindowMenu(popup), kSaveThisRecord, MF_BYCOMMAND) & MF_CHECKED, 0u);
    checked = markDarkness(popup);
    Click(popup, ItemOnScreen(popup, kSaveThisRecord).CenterPoint());
  });
  EXPECT_TRUE(WaitFor([&] { return !frame->IsSaveRecordOn(); }));
  int unchecked = -1;
  WithPopupOpen([&] { Click(frameHandle(), TitleCentre(options)); }, options, [&](HWND popup) {
    EXPECT_EQ(::GetMenuState(platform::GetPopupMenuWindowMenu(popup), kSaveThisRecord, MF_BYCOMMAND) & MF_CHECKED, 0u);
    unchecked = markDarkness(popup);
    SendKey(XK_Escape);
  });
  EXPECT_GT(checked, unchecked + 5) << "checked " << checked << " unchecked " << unchecked;

  // Tool Bar shows the tool bar under the menu and the status bar with its text at the bottom.
  WithPopupOpen([&] { SendKey(XK_v, true); }, view,
                [&](HWND popup) { Click(popup, ItemOnScreen(popup, kToolBar).CenterPoint()); });
  ASSERT_TRUE(WaitFor([&] { return frame->IsToolBarShown(); }));
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Settle();
  const CRect area = FrameOnScreen();
  const platform::Surface shot = Grab(area);
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-menu-toolbar.png").c_str()));
  CRect status;
  frame->GetStatusBar().GetWindowRect(&status);
  CRect tools;
  frame->GetToolBar().GetWindowRect(&tools);
  EXPECT_TRUE(frame->GetStatusBar().IsWindowVisible());
  EXPECT_TRUE(frame->GetToolBar().IsWindowVisible());
  EXPECT_GT(DarkIn(shot, area, CRect(status.left, status.top, status.left + 300, status.bottom)), 30);
  EXPECT_LT(tools.bottom, status.top);
  // Chosen again it hides both.
  WithPopupOpen([&] { SendKey(XK_v, true); }, view,
                [&](HWND popup) { Click(popup, ItemOnScreen(popup, kToolBar).CenterPoint()); });
  EXPECT_TRUE(WaitFor([&] { return !frame->GetStatusBar().IsWindowVisible() && !frame->GetToolBar().IsWindowVisible(); }));
}

TEST_F(MenuBarX11Test, F11EntersAndLeavesFullScreenInTheGameRoom) {
  frame->SwitchView(CMainFrame::kGameRoomView);
  Settle();
  frame->SetFocus();
  const CRect before = FrameOnScreen();
  const HMENU bar = ::GetMenu(frameHandle());
  ASSERT_NE(bar, nullptr);
  SendKey(XK_F11);
  ASSERT_TRUE(WaitFor([&] { return frame->IsFullScreen(); }));
  EXPECT_EQ(::GetMenu(frameHandle()), nullptr);
  EXPECT_EQ(frame->GetStyle() & WS_CAPTION, 0u);
  const int width = ::GetSystemMetrics(SM_CXFULLSCREEN);
  EXPECT_EQ(FrameOnScreen(), CRect(0, 0, width, CMainFrame::FullScreenHeight(width)));
  Settle();
  frame->SetFocus();
  SendKey(XK_F11);
  ASSERT_TRUE(WaitFor([&] { return !frame->IsFullScreen(); }));
  EXPECT_EQ(::GetMenu(frameHandle()), bar);
  EXPECT_EQ(FrameOnScreen(), before);
  EXPECT_NE(frame->GetStyle() & WS_CAPTION, 0u);
}

TEST_F(MenuBarX11Test, ExitAsksAndEndsTheProgramOnlyOnYes) {
  auto question = [] {
    HWND active = ::GetActiveWindow();
    return active && platform::WindowClassName(active) == "PlatformMessageBox" && ::GetDlgItem(active, IDYES);
  };
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer);
    auto press = [&] {
      HWND box = ::GetActiveWindow();
      CRect button;
      ::GetWindowRect(::GetDlgItem(box, answer), &button);
      Click(box, button.CenterPoint());
    };
    WithPopupOpen([&] { SendKey(XK_f, true); }, 0,
                  [&](HWND popup) { Click(popup, ItemOnScreen(popup, kAppExit).CenterPoint()); }, {{question, press}});
    EXPECT_TRUE(WaitFor([&] { return !question(); }));
    Settle();
    EXPECT_EQ(::IsWindow(frameHandle()) != FALSE, answer == IDNO);
    if (answer == IDNO)
      frame->SetFocus();
  }
}

}  // namespace

// The menu bar as a person uses it on an X server: each pop-up opened by a click on its title and
// by Alt with its letter, Save This Record checked and unchecked, Tool Bar showing the tool and
// status bars, F11 in and out of full screen in the game room, and Exit asking before it ends the
// program. Every input goes through the X server; the pictures are written for a look.

#include <cctype>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include <platform/display.h>
#include <platform/gdi.h>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/resources/MenuBarResources.h"
#include "platform/display/XvfbServer.h"
#include "support/SnapshotPath.h"
// Last: it brings in Xlib, whose macros would clash with the names above.
#include "platform/dialogs/ScreenPerson.h"

namespace {

using namespace OrvantaCommand;

using screentest::ShownPopupMenu;

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
    m_person.emplace(name);
    ASSERT_TRUE(m_person->Ready());
    frame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    frame->SetActiveWindow();
    frame->SetFocus();
    Settle();
  }
  void TearDown() override {
    if (::IsWindow(frameHandle()))
      frame->DestroyWindow();
    platform::display::UseHeadless();
    m_person.reset();
  }

  void Settle() {
    for (int i = 0; i < 3; ++i) {
      platform::display::Sync();
      platform::PumpMessages();
    }
  }
  // Presses and releases keysym on the frame, with Alt held when alt is set.
  void SendKey(KeySym keysym, bool alt = false) { m_person->Key(frameHandle(), keysym, alt ? Mod1Mask : 0); }
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
  // What the screen shows in rect (the frame and any pop-up over it).
  platform::Surface Grab(const CRect& rect) { return m_person->ShownOnScreen(rect); }
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
                     std::vector<std::pair<std::function<bool()>, std::function<void()>>> after = {}) {
    m_person->Then([] { return ShownPopupMenu() != nullptr; }, [&, index] {
      HWND popup = ShownPopupMenu();
      ::UpdateWindow(popup);
      frame->UpdateWindow();
      EXPECT_EQ(platform::GetPopupMenuWindowMenu(popup), Bar().GetSubMenu(index)->GetSafeHmenu());
      act(popup);
    });
    for (auto& step : after)
      m_person->Then(std::move(step.first), std::move(step.second));
    EXPECT_TRUE(m_person->Drive([&] {
      opener();
      EXPECT_TRUE(WaitFor([&] { return m_person->Finished() && ShownPopupMenu() == nullptr; }));
    }));
  }

  std::optional<screentest::ScreenPerson> m_person;  // every click and key, through the X server
};

TEST_F(MenuBarX11Test, EachPopupOpensByClickAndByAltLetterAndIsPictured) {
  const std::vector<CMenuBarPopup>& popups = GetMenuBarPopups();
  ASSERT_EQ(Bar().GetMenuItemCount(), popups.size());
  const platform::Surface start = Grab(FrameOnScreen());
  EXPECT_TRUE(platform::SaveSurfacePng(start, testsupport::SnapshotPath("orvanta-menu-bar.png").c_str()));
  for (int index = 0; index < static_cast<int>(popups.size()); ++index) {
    SCOPED_TRACE(popups[static_cast<size_t>(index)].title);
    // By mouse: a click on the title; the picture is taken while the pop-up is shown.
    WithPopupOpen([&] { m_person->ClickMenuTitle(frameHandle(), index); }, index, [&](HWND popup) {
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

TEST_F(MenuBarX11Test, SaveThisRecordIsOffUntilChosenAndToolBarShowsBothBars) {
  const int options = 4;
  const int view = 3;
  ASSERT_FALSE(frame->IsSaveRecordOn());
  // The check mark's place: the left of the item, before its text.
  auto markDarkness = [&](HWND popup) {
    const CRect item = ItemOnScreen(popup, kSaveThisRecord);
    const CRect mark(item.left, item.top, item.left + 16, item.bottom);
    ::UpdateWindow(popup);
    return DarkIn(Grab(mark), mark, mark);
  };
  int unchecked = -1;
  WithPopupOpen([&] { SendKey(XK_o, true); }, options, [&](HWND popup) {
    EXPECT_EQ(::GetMenuState(platform::GetPopupMenuWindowMenu(popup), kSaveThisRecord, MF_BYCOMMAND) & MF_CHECKED, 0u);
    unchecked = markDarkness(popup);
    m_person->ClickMenuItem(popup, kSaveThisRecord);
  });
  // The first choice switches saving on.
  EXPECT_TRUE(WaitFor([&] { return frame->IsSaveRecordOn(); }));
  int checked = 0;
  WithPopupOpen([&] { m_person->ClickMenuTitle(frameHandle(), options); }, options, [&](HWND popup) {
    EXPECT_NE(::GetMenuState(platform::GetPopupMenuWindowMenu(popup), kSaveThisRecord, MF_BYCOMMAND) & MF_CHECKED, 0u);
    checked = markDarkness(popup);
    SendKey(XK_Escape);
  });
  EXPECT_GT(checked, unchecked + 5) << "checked " << checked << " unchecked " << unchecked;

  // Tool Bar shows the tool bar under the menu and the status bar with its text at the bottom.
  WithPopupOpen([&] { SendKey(XK_v, true); }, view,
                [&](HWND popup) { m_person->ClickMenuItem(popup, kToolBar); });
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
                [&](HWND popup) { m_person->ClickMenuItem(popup, kToolBar); });
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
    auto press = [&] { m_person->Click(::GetDlgItem(::GetActiveWindow(), answer)); };
    WithPopupOpen([&] { SendKey(XK_f, true); }, 0,
                  [&](HWND popup) { m_person->ClickMenuItem(popup, kAppExit); }, {{question, press}});
    EXPECT_TRUE(WaitFor([&] { return !question(); }));
    Settle();
    EXPECT_EQ(::IsWindow(frameHandle()) != FALSE, answer == IDNO);
    if (answer == IDNO)
      frame->SetFocus();
  }
}

}  // namespace

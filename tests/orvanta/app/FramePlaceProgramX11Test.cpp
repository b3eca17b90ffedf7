// The real `orvanta` program under a window manager (openbox, as ./setup installs it): its first
// dialog, shown before the frame, is a fixed dialog over the frame; Big Screen (F11) twice on the
// start screen maximises the frame and gives it back its place and size; closed then, the program
// writes that size, and started again it opens at it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include <platform/gdi.h>
#include <platform/surface.h>

#include "support/ChildProcess.h"
#include "support/ProgramOnScreenTest.h"
#include "support/ProgramScreen.h"
#include "support/SnapshotPath.h"
#include "support/WindowManagerOnServer.h"

namespace {

using testsupport::ChildProcess;
using testsupport::ProgramScreen;
using testsupport::ScreenPlace;
using testsupport::WindowManagerOnServer;

class FramePlaceProgramX11Test : public testsupport::ProgramOnScreenTest {
protected:
  bool Maximized(Window window) const { return m_manager->Has(window, "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_VERT"); }
  // Waits until window's place holds still (the same on two looks in a row); that place.
  ScreenPlace Settled(Window window) const {
    ScreenPlace last{-1, -1, 0, 0};
    ChildProcess::WaitUntil([&] {
      const ScreenPlace now = m_manager->ShownAt(window);
      const bool same = now == last;
      last = now;
      return same;
    }, 10000);
    return last;
  }
  // Starts the program offline; answers its first questions with Return until its login dialog
  // is taken in by the manager, which is then looked at by look and cancelled. The frame after it.
  Window StartToFrame(ChildProcess& orvanta, const std::function<void(Window)>& look = nullptr) {
    ProgramScreen& screen = Screen();
    Window login = 0;
    std::string seen;  // what was on the screen at the last look
    const bool loginShown = ChildProcess::WaitUntil([&] {
      const testsupport::XErrorsIgnored windowsMayGo(m_manager->Connection());
      seen.clear();
      for (Window shown : m_manager->Clients()) {
        const std::string kind = screen.ClassOf(shown);
        seen += " [" + kind + " " + screen.Title(shown) + "]";
        if (kind == "PlatformMessageBox") screen.Key(shown, XK_Return);
        if (kind == "#32770" && m_manager->Managed(shown)) login = shown;
      }
      return login != 0;
    }, 30000);
    EXPECT_TRUE(loginShown) << "shown:" << seen << "\n" << orvanta.Output();
    if (!loginShown) return 0;
    if (look) look(login);
    screen.Key(login, XK_Escape);
    Window frame = 0;
    EXPECT_TRUE(ChildProcess::WaitUntil([&] {
      frame = Client("Orvanta");
      return frame && m_manager->Managed(frame) && Client("Connect:") == 0;
    }, 20000)) << orvanta.Output();
    return frame;
  }
  // The window taken in by the manager whose title starts with prefix; 0 when none.
  Window Client(const std::string& prefix) {
    const testsupport::XErrorsIgnored windowsMayGo(m_manager->Connection());
    for (Window window : m_manager->Clients())
      if (Screen().Title(window).rfind(prefix, 0) == 0) return window;
    return 0;
  }
  // Writes what the screen shows in area (the manager's frame round a window too) as a picture.
  void SaveScreen(ScreenPlace area, const char* name) const {
    ::Display* x = m_manager->Connection();
    area.x = std::max(area.x, 0);
    area.y = std::max(area.y, 0);
    XImage* image = XGetImage(x, DefaultRootWindow(x), area.x, area.y, static_cast<unsigned>(area.width),
                              static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (!image) return;
    platform::Surface shot(area.width, area.height);
    for (int row = 0; row < area.height; ++row)
      for (int column = 0; column < area.width; ++column)
        shot.Row(row)[column] = static_cast<std::uint32_t>(XGetPixel(image, column, row) & 0xFFFFFF);
    XDestroyImage(image);
    platform::SaveSurfacePng(shot, testsupport::SnapshotPath(name).c_str());
  }
  std::string SizeSetting() const {
    std::ifstream in(Folder() + "/setting.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string all = text.str();
    const std::size_t end = all.find('/', 1);
    return all.empty() || end == std::string::npos ? all : all.substr(1, end - 1);
  }

  std::unique_ptr<WindowManagerOnServer> m_manager;
};

TEST_F(FramePlaceProgramX11Test, BigScreenTwiceOnTheStartScreenGivesBackThePlaceAndARestartKeepsIt) {
  m_manager = std::make_unique<WindowManagerOnServer>(DisplayName());
  if (!m_manager->Problem().empty()) GTEST_SKIP() << m_manager->Problem();
  ::Display* x = m_manager->Connection();
  auto environment = testsupport::OnScreenEnvironment(DisplayName(), Home());
  environment["ORVANTA_SERVER"] = "127.0.0.1:1";  // no server listens: the program stays offline
  ScreenPlace first;
  {
    ChildProcess orvanta({ORVANTA_PROGRAM_PATH}, environment, Folder(), Folder() + "/orvanta.log");
    ASSERT_TRUE(orvanta.Started());
    // The login comes before the frame shows: a dialog over it all the same, which cannot be
    // maximised.
    const Window frame = StartToFrame(orvanta, [&](Window login) {
      Window owner = 0;
      XGetTransientForHint(x, login, &owner);
      EXPECT_NE(owner, 0u) << "the first dialog stands over nothing";
      EXPECT_TRUE(m_manager->Has(login, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG"));
      EXPECT_FALSE(m_manager->Has(login, "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_MAXIMIZE_HORZ"));
      const ScreenPlace at = Settled(login);
      SaveScreen(ScreenPlace{at.x - 30, at.y - 40, at.width + 60, at.height + 70}, "orvanta-openbox-login.png");
    });
    ASSERT_NE(frame, 0u);
    first = Settled(frame);
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE(round);
      Screen().Key(frame, XK_F11);
      ASSERT_TRUE(ChildProcess::WaitUntil([&] { return Maximized(frame) && !(m_manager->ShownAt(frame) == first); },
                                          15000));
      Screen().Key(frame, XK_F11);
      EXPECT_TRUE(ChildProcess::WaitUntil([&] { return !Maximized(frame) && m_manager->ShownAt(frame) == first; },
                                          15000))
          << "back at " << m_manager->ShownAt(frame).x << "," << m_manager->ShownAt(frame).y << " "
          << m_manager->ShownAt(frame).width << "x" << m_manager->ShownAt(frame).height << ", before "
          << first.width << "x" << first.height;
    }
    // Closed by its close box, the question answered Yes.
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = frame;
    close.xclient.message_type = m_manager->AtomOf("WM_PROTOCOLS");
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(m_manager->AtomOf("WM_DELETE_WINDOW"));
    XSendEvent(x, frame, False, NoEventMask, &close);
    XSync(x, False);
    ASSERT_TRUE(ChildProcess::WaitUntil([&] {
      const testsupport::XErrorsIgnored windowsMayGo(x);
      if (Window box = Client("Confirm")) Screen().Key(box, XK_Return);
      return orvanta.Ended();
    }, 20000)) << orvanta.Output();
  }
  EXPECT_EQ(SizeSetting(), "|800|600|");
  {
    ChildProcess orvanta({ORVANTA_PROGRAM_PATH}, environment, Folder(), Folder() + "/orvanta-again.log");
    ASSERT_TRUE(orvanta.Started());
    const Window frame = StartToFrame(orvanta);
    ASSERT_NE(frame, 0u);
    const ScreenPlace again = Settled(frame);
    EXPECT_EQ(again.width, first.width);
    EXPECT_EQ(again.height, first.height);
    EXPECT_FALSE(Maximized(frame));
  }
}

}  // namespace

// The real `client` program under a window manager (openbox, as ./setup installs it): maximised
// by the manager's button, Full Screen (F11) twice gives the viewer back maximised at the very
// place it had, its right border on the screen; restored then, F11 twice gives back its own place.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/ChildProcess.h"
#include "support/ProgramOnScreenTest.h"
#include "support/ProgramScreen.h"
#include "support/WindowManagerOnServer.h"

namespace {

using testsupport::ChildProcess;
using testsupport::ScreenPlace;

class ClientFullScreenProgramX11Test : public testsupport::ProgramOnScreenTest {};

TEST_F(ClientFullScreenProgramX11Test, FullScreenTwiceGivesBackTheMaximisedOrTheOwnPlace) {
  testsupport::WindowManagerOnServer manager(DisplayName());
  if (!manager.Problem().empty()) GTEST_SKIP() << manager.Problem();
  testsupport::ProgramScreen& screen = Screen();
  ChildProcess client({CLIENT_PROGRAM_PATH}, testsupport::OnScreenEnvironment(DisplayName(), Home()), Folder(),
                      Folder() + "/client.log");
  ASSERT_TRUE(client.Started());
  // No relay server is configured: the viewer says so, and is then alone on the screen.
  Window frame = 0;
  bool told = false;
  ASSERT_TRUE(ChildProcess::WaitUntil([&] {
    // The manager frames the windows: they are found among those it took in.
    const testsupport::XErrorsIgnored windowsMayGo(manager.Connection());
    bool asking = false;
    for (Window shown : manager.Clients()) {
      if (screen.ClassOf(shown) == "PlatformMessageBox") {
        screen.Key(shown, XK_Return);
        told = asking = true;
      } else if (screen.Title(shown) == "Ondrivo Client") {
        frame = shown;
      }
    }
    return frame && told && !asking && manager.Managed(frame);
  }, 30000)) << client.Output();
  auto maximized = [&] { return manager.Has(frame, "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_VERT"); };
  auto full = [&] { return manager.Has(frame, "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN"); };
  auto settled = [&] {
    ScreenPlace last{-1, -1, 0, 0};
    ChildProcess::WaitUntil([&] {
      const ScreenPlace now = manager.ShownAt(frame);
      const bool same = now == last;
      last = now;
      return same;
    }, 10000);
    return last;
  };
  const ScreenPlace own = settled();
  manager.SetMaximized(frame, true);
  ASSERT_TRUE(ChildProcess::WaitUntil([&] { return maximized() && !(manager.ShownAt(frame) == own); }, 15000));
  const ScreenPlace whole = settled();
  struct Case {
    const char* what;
    ScreenPlace place;
    bool maximized;
  };
  for (const Case& c : {Case{"maximised", whole, true}, Case{"restored", own, false}}) {
    SCOPED_TRACE(c.what);
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE(round);
      screen.Key(frame, XK_F11);
      ASSERT_TRUE(ChildProcess::WaitUntil(full, 15000)) << client.Output();
      screen.Key(frame, XK_F11);
      EXPECT_TRUE(ChildProcess::WaitUntil(
          [&] { return !full() && maximized() == c.maximized && manager.ShownAt(frame) == c.place; }, 15000))
          << "back at " << manager.ShownAt(frame).x << "," << manager.ShownAt(frame).y << " "
          << manager.ShownAt(frame).width << "x" << manager.ShownAt(frame).height << ", before " << c.place.x << ","
          << c.place.y << " " << c.place.width << "x" << c.place.height << (maximized() ? ", maximised" : "");
    }
    // Restored by the manager's button for the next case.
    if (c.maximized) {
      manager.SetMaximized(frame, false);
      ASSERT_TRUE(ChildProcess::WaitUntil([&] { return !maximized() && manager.ShownAt(frame) == own; }, 15000));
    }
  }
  client.Stop();
}

}  // namespace

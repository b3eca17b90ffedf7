// What a person sees of the viewer is what its surface holds: after relayed moves, a comment, a
// reference diagram and a resize, every changed area has reached the X window, whether the
// pixels go through shared memory or through the connection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ClientSessionSupport.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
// Bring Xlib in: after the program's headers.
#include "platform/display/XPointerKeys.h"

namespace {

using clienttest::Session;
using platform::testing::XPointerKeys;

const char kOpening[] =
    "am|001|b|pd|1999990001|010000|005950\n"
    "am|002|w|dp|1999990002|005940|005950\n"
    "eh\n";

// Whether some window of the program shows text.
bool SomeWindowShows(const char* text) {
  for (HWND window : platform::AllWindows()) {
    char shown[512] = {};
    ::GetWindowText(window, shown, sizeof shown);
    if (std::string(shown).find(text) != std::string::npos) return true;
  }
  return false;
}

class ClientShownPixelsX11Test : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    if (platform::testing::TestDisplayName().empty()) GTEST_SKIP() << "no X server";
  }
  void TearDown() override { platform::display::UseHeadless(); }

  std::unique_ptr<XPointerKeys> m_screen;
};

TEST_P(ClientShownPixelsX11Test, EveryChangeReachesTheXWindow) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay(kOpening, [&] { return view.GetBoard().GetLastMove() == 2; }));
  if (!GetParam()) setenv("PLATFORM_X11_SHM", "0", 1);
  const bool opened = platform::display::UseX11Display(platform::testing::TestDisplayName().c_str());
  unsetenv("PLATFORM_X11_SHM");
  ASSERT_TRUE(opened);
  m_screen = std::make_unique<XPointerKeys>(platform::testing::TestDisplayName());
  ASSERT_TRUE(m_screen->Ready());
  CMainFrame& frame = *s.frame;
  const HWND top = frame.GetSafeHwnd();
  frame.SetWindowPos(nullptr, 0, 0, 1000, 740, SWP_NOZORDER);
  frame.ShowWindow(SW_SHOW);
  frame.UpdateWindow();
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return platform::display::NativeWindowOf(top) != 0; }));
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(top), 0) << "showing the game";

  // Moves far apart on the board, each shown as it comes.
  ASSERT_TRUE(s.Relay("am|003|b|cc|1999990003|005930|005950\n", [&] { return view.GetBoard().GetLastMove() == 3; }));
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(top), 0) << "a move";
  ASSERT_TRUE(s.Relay("am|004|w|qq|1999990004|005930|005940\n", [&] { return view.GetBoard().GetLastMove() == 4; }));
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(top), 0) << "a move far from the last";
  // A comment on the move shown.
  ASSERT_TRUE(s.Relay("te|4|White takes the corner; the game is balanced.\n",
                      [&] { return SomeWindowShows("the game is balanced"); }));
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(top), 0) << "a comment";
  // A reference diagram for the move: its button comes alive.
  ASSERT_TRUE(s.Relay("ar|4|1|b|dc|x\nar|4|1|w|cd|x\nre|4|Black could play here\ner|4|1\n",
                      [&] { return view.GetDiagrams().GetDiagramCount(4) == 1; }));
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(top), 0) << "a diagram";
  // Smaller, larger, and a move on the board of the new size.
  frame.SetWindowPos(nullptr, 0, 0, 840, 680, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(top), 0) << "a resize";
  frame.SetWindowPos(nullptr, 0, 0, 1010, 750, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(top), 0) << "a second resize";
  ASSERT_TRUE(s.Relay("am|005|b|jj|1999990005|005920|005940\n", [&] { return view.GetBoard().GetLastMove() == 5; }));
  EXPECT_EQ(m_screen->WaitUntilShowsSurface(top), 0) << "a move after the resizes";
}

INSTANTIATE_TEST_SUITE_P(Pixels, ClientShownPixelsX11Test, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "SharedMemory" : "ThroughTheConnection");
                         });

}  // namespace

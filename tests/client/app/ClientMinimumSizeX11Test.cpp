// The viewer's frame on an X server keeps its minimum size however it is made smaller: by the
// program, or by the server (a window manager, a person dragging an edge). The window manager is
// told that minimum, and the X window never shows a frame clipped below it.
#include <gtest/gtest.h>

#include <string>

#include "ClientSessionSupport.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
// Bring Xlib in: after the program's headers.
#include "platform/display/XPointerKeys.h"

namespace {

using clienttest::Session;

const char kRelayed[] =
    "am|001|b|pd|1999990001|010000|005950\n"
    "am|002|w|dp|1999990002|005940|005950\n"
    "am|003|b|pp|1999990003|005940|005930\n"
    "eh\n";

class ClientMinimumSizeX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    if (platform::testing::TestDisplayName().empty()) GTEST_SKIP() << "no X server";
  }
  void TearDown() override { platform::display::UseHeadless(); }
};

CSize XWindowSize(::Display* display, Window window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return CSize(0, 0);
  return CSize(attributes.width, attributes.height);
}

CSize Less(CSize a, CSize b) { return CSize(a.cx - b.cx, a.cy - b.cy); }

CSize FrameSize(CWnd& frame) {
  CRect r;
  frame.GetWindowRect(&r);
  return r.Size();
}

TEST_F(ClientMinimumSizeX11Test, AFrameMadeSmallerThanItsMinimumStaysAtItOnTheServerToo) {
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay(kRelayed, [&] { return view.GetBoard().GetLastMove() == 3; }));
  ASSERT_TRUE(platform::display::UseX11Display(platform::testing::TestDisplayName().c_str()));
  CMainFrame& frame = *s.frame;
  frame.SetWindowPos(nullptr, 0, 0, 1000, 740, SWP_NOZORDER);
  frame.ShowWindow(SW_SHOW);
  frame.UpdateWindow();
  platform::testing::XPointerKeys screen(platform::testing::TestDisplayName());
  ASSERT_TRUE(screen.Ready());
  ::Display* server = screen.Connection();
  const Window native = platform::display::NativeWindowOf(frame.GetSafeHwnd());
  ASSERT_NE(native, 0u);
  const auto serverShows = [&](CSize size) {
    return platform::testing::XPointerKeys::WaitFor([&] { return XWindowSize(server, native) == size; });
  };
  // The window manager draws the caption and borders around the X window.
  CSize decoration;
  ASSERT_TRUE(platform::testing::XPointerKeys::WaitFor([&] {
    decoration = Less(FrameSize(frame), XWindowSize(server, native));
    return FrameSize(frame) == CSize(1000, 740) && decoration.cx > 0 && decoration.cx < 100;
  }));
  const CSize least = frame.GetMinTrackSize();
  ASSERT_GT(least.cx, 300);
  ASSERT_GT(least.cy, 300);
  const CSize leastShown = Less(least, decoration);

  // The window manager knows the minimum.
  XSizeHints hints{};
  long supplied = 0;
  ASSERT_TRUE(XGetWMNormalHints(server, native, &hints, &supplied));
  EXPECT_TRUE(hints.flags & PMinSize);
  EXPECT_EQ(CSize(hints.min_width, hints.min_height), leastShown);

  // The program asks for less: the frame and the X window stop at the minimum.
  frame.SetWindowPos(nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(FrameSize(frame), least);
  EXPECT_TRUE(serverShows(leastShown));

  // The server makes the X window smaller still (no window manager holds it back): the frame
  // stays at its minimum and takes the X window back to it.
  XResizeWindow(server, native, 320, 240);
  XSync(server, False);
  EXPECT_TRUE(serverShows(leastShown)) << XWindowSize(server, native).cx << "x" << XWindowSize(server, native).cy;
  EXPECT_EQ(FrameSize(frame), least);

  // What a person sees next: the whole board, none of it cut off by the X window's edge.
  CBadukCtrl& board = view.GetBoard();
  CRect boardClient;
  board.GetClientRect(&boardClient);
  ASSERT_TRUE(platform::testing::XPointerKeys::WaitFor([&] {
    const platform::Surface shown = screen.Shown(board.GetSafeHwnd());
    return shown.width == boardClient.Width() && shown.height == boardClient.Height();
  }));

  // And a person who makes the window larger again gets a new layout.
  CRect boardAtLeast;
  board.GetWindowRect(&boardAtLeast);
  XResizeWindow(server, native, static_cast<unsigned>(1000 - decoration.cx), static_cast<unsigned>(740 - decoration.cy));
  XSync(server, False);
  ASSERT_TRUE(platform::testing::XPointerKeys::WaitFor([&] { return FrameSize(frame) == CSize(1000, 740); }));
  CRect boardLarger;
  board.GetWindowRect(&boardLarger);
  EXPECT_NE(boardLarger, boardAtLeast);
}

}  // namespace

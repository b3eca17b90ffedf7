// The game room on an X server, used as a person uses it: the board and panel where they belong,
// the stones as the X window shows them, the pane tips under the mouse and a double click on a
// player's name.

#include <bit>
#include <cstdint>
#include <string>

#include <platform/display.h>
#include <platform/gdi.h>
#include <platform/time.h>

#include "../app/MainFrameFixture.h"
#include "orvanta/room/DagukRoomView.h"
#include "platform/display/XvfbServer.h"
#include "support/NativeWindowOrigin.h"
#include "support/SnapshotPath.h"
#include "support/StolvexModuleHome.h"
#include "platform/display/XPointerKeys.h"  // last but Xlib: its macros

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

std::uint32_t RgbOf(unsigned long pixel, const Visual& visual) {
  auto channel = [pixel](unsigned long mask) -> std::uint32_t {
    if (!mask) return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long max = mask >> shift;
    return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / max);
  };
  return channel(visual.red_mask) << 16 | channel(visual.green_mask) << 8 | channel(visual.blue_mask);
}

int Light(std::uint32_t rgb) { return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3; }

class RoomViewX11Test : public MainFrameTest {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    m_displayName = name;
    ASSERT_TRUE(m_control.Registered());
  }
  void TearDown() override {
    platform::display::UseHeadless();
    if (m_observer) XCloseDisplay(m_observer);
  }
  void Server(int minor, const std::string& payload) {
    peer.Send({{GameServerPeer::Record(5, minor, payload), 0}});
    PumpFor(40);
  }
  // The room of a game with two stones, then the frame shown on the X server.
  void EnterGameOnX() {
    LogIn();
    frame->SetWaitingRoomKey("1", "k");
    frame->RegisterView(CMainFrame::kGameRoomView, RUNTIME_CLASS(CDagukRoomView));
    Server(2, "|12|");
    Server(3, "|12|hc|carol|Carol|3k|1|3|1|");
    ASSERT_EQ(CMainFrame::kGameRoomView, frame->GetActiveViewId());
    view = dynamic_cast<CDagukRoomView*>(frame->GetContentView());
    ASSERT_NE(nullptr, view);
    Server(10, "||");
    Server(12, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|");
    // Black (the user) goes into byo-yomi with his move; white has main time left.
    Server(14, "|a|b|1|B[pd]|BL[15]|");
    Server(14, "|a|b|2|W[dd]|WL[78]|");
    ASSERT_TRUE(PumpUntil([&] { return view->GetRoom()->GetMoveCounter() == 2; }));
    frame->EndWaitCapture();
    ASSERT_TRUE(platform::display::UseX11Display(m_displayName.c_str()));
    m_observer = XOpenDisplay(m_displayName.c_str());
    ASSERT_NE(m_observer, nullptr);
    frame->SetWindowPos(nullptr, 0, 0, 820, 700, SWP_NOZORDER);
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    Redraw();
  }
  void Redraw() { frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN); }
  // What the frame's X window shows now.
  platform::Surface Grab() {
    platform::display::Sync();
    platform::PumpMessages();
    platform::display::Sync();
    const Window native = platform::display::NativeWindowOf(frame->m_hWnd);
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_observer, native, &attributes);
    XImage* image = XGetImage(m_observer, native, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    platform::Surface shot(attributes.width, attributes.height);
    if (!image) return shot;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) shot.Row(y)[x] = RgbOf(XGetPixel(image, x, y), *attributes.visual);
    XDestroyImage(image);
    return shot;
  }
  // A point of a child window in the coordinates of the frame's X window.
  POINT InFrame(CWnd& child, POINT point) {
    child.ClientToScreen(&point);
    const POINT origin = testsupport::NativeWindowOrigin(m_observer, frame->m_hWnd);
    return POINT{point.x - origin.x, point.y - origin.y};
  }
  POINT BoardPoint(int row, int col, int below = 0) {
    CRect r;
    view->GetBoardControl().GetClientRect(&r);
    const int px = r.Width() / 19, py = r.Height() / 19;
    POINT p{col * px + px / 2 + (r.Width() % 19) / 2, row * py + py / 2 + (r.Height() % 19) / 2 + below};
    return InFrame(view->GetBoardControl(), p);
  }
  POINT PaneCentre(UINT id) {
    CWnd* pane = view->GetDlgItem(static_cast<int>(id));
    CRect r;
    pane->GetClientRect(&r);
    return InFrame(*pane, r.CenterPoint());
  }
  static std::uint32_t At(const platform::Surface& shot, POINT p) { return shot.Row(p.y)[p.x]; }
  void SendMotion(POINT p) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.window = platform::display::NativeWindowOf(frame->m_hWnd);
    event.xmotion.root = DefaultRootWindow(m_observer);
    event.xmotion.x = p.x;
    event.xmotion.y = p.y;
    event.xmotion.same_screen = True;
    XSendEvent(m_observer, event.xmotion.window, False, PointerMotionMask, &event);
    XSync(m_observer, False);
  }
  void SendButton(POINT p, bool press, Time time) {
    XEvent event{};
    event.xbutton.type = press ? ButtonPress : ButtonRelease;
    event.xbutton.window = platform::display::NativeWindowOf(frame->m_hWnd);
    event.xbutton.root = DefaultRootWindow(m_observer);
    event.xbutton.x = p.x;
    event.xbutton.y = p.y;
    event.xbutton.time = time;
    event.xbutton.button = Button1;
    event.xbutton.state = press ? 0 : Button1Mask;
    event.xbutton.same_screen = True;
    XSendEvent(m_observer, event.xbutton.window, False, press ? ButtonPressMask : ButtonReleaseMask, &event);
    XSync(m_observer, False);
  }

  std::string m_displayName;
  Display* m_observer{nullptr};
  testsupport::StolvexModuleHome m_control;
  platform::ManualClockScope m_manual{1796810400};
  CDagukRoomView* view{nullptr};
};

}  // namespace

TEST_F(RoomViewX11Test, TheRoomAsAPersonSeesAndUsesIt) {
  EnterGameOnX();
  // The board is the largest square left of the panel, centred in the client width less 265.
  CRect client;
  view->GetClientRect(&client);
  const int w = client.Width(), h = client.Height();
  CRect board;
  view->GetBoardControl().GetWindowRect(&board);
  view->ScreenToClient(&board);
  const int side = std::min(w - 265, h);
  EXPECT_EQ(CRect((w - 265 - side) / 2, (h - side) / 2, (w - 265 - side) / 2 + side, (h - side) / 2 + side), board);
  // The panel's panes from its left edge at W - 275.
  const int p = w - 275;
  struct Place {
    UINT id;
    CRect rect;
  };
  for (const Place& place : {Place{CGameRoom::kWhiteName, CRect(p + 5, 4, p + 140, 24)},
                             Place{CGameRoom::kBlackName, CRect(p + 150, 4, p + 280, 24)},
                             Place{CGameRoom::kWhiteMain, CRect(p + 36, 138, p + 136, 158)},
                             Place{CGameRoom::kMessage, CRect(p + 36, 291, p + 256, 311)},
                             Place{CDagukRoomView::kChatOutputId, CRect(p + 24, 318, p + 264, h - 23)}}) {
    CRect r;
    view->GetDlgItem(static_cast<int>(place.id))->GetWindowRect(&r);
    view->ScreenToClient(&r);
    EXPECT_EQ(place.rect, r) << place.id;
  }
  EXPECT_EQ(CRect(p + 148, 4, p + 295, 24), view->GetCaptionArea(1));
  EXPECT_EQ(CRect(p + 36, 291, p + 256, 311), view->GetCaptionArea(10));

  // The stones as the X window shows them: black dark at pd, white light at dd, an empty point
  // neither.
  platform::Surface shot = Grab();
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-x11-game-room.png").c_str()));
  const int third = (board.Height() / 19) / 3;
  EXPECT_LT(Light(At(shot, BoardPoint(3, 15, third))), 90);
  EXPECT_GT(Light(At(shot, BoardPoint(3, 3, third))), 170);
  // The captured counts in yellow on their dark face.
  const std::uint32_t captured = At(shot, InFrame(*view->GetDlgItem(CGameRoom::kBlackCaptured), POINT{2, 2}));
  EXPECT_EQ(RGB(72, 50, 19), RGB((captured >> 16) & 0xFF, (captured >> 8) & 0xFF, captured & 0xFF));

  // The mouse over a name pane shows its tip, over a captured pane that pane's.
  CToolTipCtrl& tip = view->GetToolTip();
  SendMotion(PaneCentre(CGameRoom::kBlackName));
  ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(tip.m_hWnd) != FALSE; }));
  CString text;
  tip.GetWindowText(text);
  EXPECT_EQ("Double Click, you can view user information.", text.str());
  SendMotion(PaneCentre(CGameRoom::kWhiteCaptured));
  ASSERT_TRUE(PumpUntil([&] {
    tip.GetWindowText(text);
    return text == "Captured White Stones" && ::IsWindowVisible(tip.m_hWnd);
  }));

  // A double click on the white player's name asks the server about lee.
  const POINT white = PaneCentre(CGameRoom::kWhiteName);
  SendButton(white, true, 1000);
  SendButton(white, false, 1040);
  SendButton(white, true, 1120);
  SendButton(white, false, 1160);
  EXPECT_TRUE(PumpUntil([&] {
    for (const PeerRecord& r : peer.Records())
      if (r.major == "10" && r.minor == "3" && r.payload == "|hl|lee|") return true;
    return false;
  }));
}

TEST_F(RoomViewX11Test, TheServersCountMarksOnlyTerritoryOnTheBoard) {
  EnterGameOnX();
  // The Confirm question is answered from timer steps while its loop runs: the clock runs for real.
  platform::Clock::SetManual(false);
  // An even game: every entry "0" but one black point at row 5, column 12.
  std::string owners(361, '0');
  owners[12 * 19 + 5] = '1';
  auto question = [] {
    CDialog* shown = platform::CurrentModalDialog();
    return shown && ::IsWindowVisible(shown->m_hWnd) ? shown->m_hWnd : HWND{};
  };
  // What the board shows while the question waits for the user, who then declines.
  platform::Surface shot;
  platform::testing::TimedSteps steps({{[&] { return question() != nullptr; },
                                        [&] {
                                          Redraw();
                                          shot = Grab();
                                          ::SendMessage(question(), WM_COMMAND, IDCANCEL, 0);
                                        }}},
                                      [&] {
                                        if (HWND q = question()) ::SendMessage(q, WM_COMMAND, IDCANCEL, 0);
                                      });
  Server(44, "|a|b|RE[B+0.5]|" + owners + "|1|2|1|2|6.5|");
  ASSERT_TRUE(PumpUntil([&] { return steps.Done(); }));
  ASSERT_GT(shot.width, 0);
  EXPECT_TRUE(platform::SaveSurfacePng(shot, testsupport::SnapshotPath("orvanta-x11-count.png").c_str()));
  CRect r;
  view->GetBoardControl().GetClientRect(&r);
  const int off = (r.Width() / 19) / 3;
  // Just beside a point's centre (clear of its grid lines) the mark shows; in a cell's corner the
  // bare board.
  auto beside = [&](int row, int col) {
    const POINT p = BoardPoint(row, col);
    return At(shot, POINT{p.x + 2, p.y + 2});
  };
  auto bare = [&](int row, int col) {
    const POINT p = BoardPoint(row, col);
    return At(shot, POINT{p.x + off, p.y + off});
  };
  EXPECT_LT(Light(beside(5, 12)), 90);
  // Points nobody owns look like the bare board round them (its grain aside).
  for (auto [row, col] : {std::pair{9, 5}, std::pair{17, 1}, std::pair{14, 8}})
    EXPECT_NEAR(Light(bare(row, col)), Light(beside(row, col)), 30) << row << "," << col;
}

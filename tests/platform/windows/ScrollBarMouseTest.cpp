#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../controls/ControlHost.h"
#include "platform/controls.h"
#include "platform/messageloop.h"
#include "platform/testinput.h"
#include "platform/time.h"
#include "platform/windows.h"

namespace {

namespace input = platform::input;

// One WM_VSCROLL / WM_HSCROLL as the window saw it.
struct ScrollEvent {
  UINT message;
  UINT code;
  int pos;          // high word of wParam
  int trackPos;     // SIF_TRACKPOS at that moment
  LPARAM bar;       // lParam: 0 for the window's own bars
};

// A window with scroll bars that records what its bars tell it and moves its position the way an
// ordinary scrolling window does (a line is 1, a page the bar's page).
class ScrollWnd : public CWnd {
public:
  std::vector<ScrollEvent> events;
  std::vector<UINT> clientMessages;
  bool movesPos{true};
  bool destroyOnScroll{false};
  bool releaseCaptureOnScroll{false};

  std::vector<UINT> Codes() const {
    std::vector<UINT> codes;
    for (const ScrollEvent& e : events) codes.push_back(e.code);
    return codes;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_MOUSEMOVE) clientMessages.push_back(message);
    if (message != WM_VSCROLL && message != WM_HSCROLL) return CWnd::WindowProc(message, wParam, lParam);
    int bar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
    SCROLLINFO info{};
    GetScrollInfo(bar, &info, SIF_ALL);
    events.push_back({message, LOWORD(wParam), HIWORD(wParam), info.nTrackPos, lParam});
    if (movesPos) Move(bar, LOWORD(wParam), HIWORD(wParam), info);
    if (releaseCaptureOnScroll && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (destroyOnScroll) DestroyWindow();
    return 0;
  }

private:
  void Move(int bar, UINT code, int thumb, const SCROLLINFO& info) {
    int pos = info.nPos;
    switch (code) {
      case SB_LINEUP: --pos; break;
      case SB_LINEDOWN: ++pos; break;
      case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
      case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: pos = thumb; break;
      default: return;
    }
    SetScrollPos(bar, pos);
  }
};

// Records wheel turns passed up from a child.
class WheelParent : public CWnd {
public:
  int wheels{0};
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MOUSEWHEEL) ++wheels;
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// The child sits at (10,10) in its parent and is 100x100 with a vertical bar: the bar is x 84..99
// of the window, its arrows y 0..15 and 84..99, its track 16..83 (68 pixels). With range 0..99
// and page 10 the thumb is 8 pixels long and moves over 60 pixels for positions 0..90.
class ScrollBarMouseTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(10, 10, 110, 110), &parent, 1));
    SetBar(SB_VERT, 0, 99, 10, 0);
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  void SetBar(int bar, int min, int max, UINT page, int pos, UINT extra = 0) {
    SCROLLINFO info{};
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | extra;
    info.nMin = min;
    info.nMax = max;
    info.nPage = page;
    info.nPos = pos;
    child.SetScrollInfo(bar, &info);
  }
  // A point of the child's window rectangle, in the parent's client coordinates.
  static CPoint At(int x, int y) { return CPoint(10 + x, 10 + y); }
  static CPoint DownArrow() { return At(92, 92); }
  static CPoint UpArrow() { return At(92, 8); }

  WheelParent parent;
  ScrollWnd child;
};

using Codes = std::vector<UINT>;

TEST_F(ScrollBarMouseTest, ArrowClicksSendLineCodesAndEndScrollButLeaveTheClientAlone) {
  input::Click(parent.m_hWnd, DownArrow());
  input::Click(parent.m_hWnd, UpArrow());
  input::Click(parent.m_hWnd, UpArrow());  // at the top already: the window decides what that means
  EXPECT_EQ(child.Codes(), (Codes{SB_LINEDOWN, SB_ENDSCROLL, SB_LINEUP, SB_ENDSCROLL, SB_LINEUP, SB_ENDSCROLL}));
  for (const ScrollEvent& e : child.events) {
    EXPECT_EQ(e.message, static_cast<UINT>(WM_VSCROLL));
    EXPECT_EQ(e.bar, 0) << "a window's own bar sends no handle";
  }
  EXPECT_TRUE(child.clientMessages.empty());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 0);
}

TEST_F(ScrollBarMouseTest, TheBarNeverMovesThePositionItself) {
  child.movesPos = false;
  input::Click(parent.m_hWnd, DownArrow());
  input::Click(parent.m_hWnd, At(92, 70));  // the track below the thumb
  input::Drag(parent.m_hWnd, At(92, 20), At(92, 60));
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 0);
  EXPECT_GE(child.events.size(), 6u);
}

TEST_F(ScrollBarMouseTest, HeldArrowRepeatsOnTheClockUntilReleased) {
  platform::ManualClockScope clock;
  input::MouseDown(parent.m_hWnd, DownArrow());
  EXPECT_EQ(::GetCapture(), child.m_hWnd);
  EXPECT_EQ(child.events.size(), 1u);
  platform::Clock::Advance(399);
  EXPECT_EQ(child.events.size(), 1u) << "the first repeat waits";
  platform::Clock::Advance(1);
  EXPECT_EQ(child.events.size(), 2u);
  platform::Clock::Advance(100);
  EXPECT_EQ(child.events.size(), 4u) << "then it repeats quickly";
  input::MouseUp(parent.m_hWnd, DownArrow());
  platform::Clock::Advance(1000);
  EXPECT_EQ(child.Codes(), (Codes{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 4);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ScrollBarMouseTest, HeldArrowPausesWhileThePointerIsOffIt) {
  platform::ManualClockScope clock;
  input::MouseDown(parent.m_hWnd, DownArrow());
  input::MouseMove(parent.m_hWnd, At(150, 150));  // outside the window: the capture still holds it
  platform::Clock::Advance(600);
  EXPECT_EQ(child.events.size(), 1u);
  EXPECT_TRUE(child.clientMessages.empty()) << "moves while the bar tracks are the bar's";
  input::MouseMove(parent.m_hWnd, DownArrow());
  platform::Clock::Advance(50);
  EXPECT_EQ(child.events.size(), 2u);
  input::MouseUp(parent.m_hWnd, At(150, 150));
  EXPECT_EQ(child.Codes().back(), SB_ENDSCROLL);
}

TEST_F(ScrollBarMouseTest, HeldTrackPagesUntilTheThumbReachesThePointer) {
  platform::ManualClockScope clock;
  // Thumb starts at 16 + pos * 60 / 90; the pointer at 60 is under it from position 60 on.
  input::MouseDown(parent.m_hWnd, At(92, 60));
  platform::Clock::Advance(2000);
  input::MouseUp(parent.m_hWnd, At(92, 60));
  EXPECT_EQ(child.Codes(), (Codes{SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN,
                                  SB_ENDSCROLL}));
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 60);
  child.events.clear();
  input::Click(parent.m_hWnd, At(92, 20));  // above the thumb now
  EXPECT_EQ(child.Codes(), (Codes{SB_PAGEUP, SB_ENDSCROLL}));
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 50);
}

TEST_F(ScrollBarMouseTest, ThumbDragTracksThenSetsThePositionOnRelease) {
  input::Drag(parent.m_hWnd, At(92, 20), At(92, 50), 3);  // grabbed 4 pixels into the thumb
  ASSERT_GE(child.events.size(), 3u);
  std::size_t n = child.events.size();
  int last = -1;
  for (std::size_t i = 0; i + 2 < n; ++i) {
    EXPECT_EQ(child.events[i].code, SB_THUMBTRACK);
    EXPECT_GT(child.events[i].pos, last);
    EXPECT_EQ(child.events[i].trackPos, child.events[i].pos) << "SIF_TRACKPOS follows the drag";
    last = child.events[i].pos;
  }
  EXPECT_EQ(last, 45);  // thumb start 46: 30 of 60 pixels, half of 0..90
  EXPECT_EQ(child.events[n - 2].code, SB_THUMBPOSITION);
  EXPECT_EQ(child.events[n - 2].pos, 45);
  EXPECT_EQ(child.events[n - 1].code, SB_ENDSCROLL);
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 45);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ScrollBarMouseTest, ThumbDraggedPastTheEndsStopsAtTheRange) {
  SetBar(SB_VERT, 0, 99, 10, 45);
  input::Drag(parent.m_hWnd, At(92, 50), At(92, 300));
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 90);
  input::Drag(parent.m_hWnd, At(92, 80), At(92, -200));
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 0);
  EXPECT_EQ(child.events.back().code, SB_ENDSCROLL);
}

TEST_F(ScrollBarMouseTest, BarWithNothingToScrollIgnoresTheMouse) {
  SetBar(SB_VERT, 0, 9, 10, 0, SIF_DISABLENOSCROLL);
  ASSERT_TRUE(child.GetStyle() & WS_VSCROLL);
  input::Click(parent.m_hWnd, DownArrow());
  input::Click(parent.m_hWnd, At(92, 50));
  EXPECT_TRUE(child.events.empty());
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ScrollBarMouseTest, HitTestNamesEachBarAndTheBoxBetween) {
  child.ShowScrollBar(SB_HORZ);
  SetBar(SB_HORZ, 0, 199, 50, 0);
  auto hit = [&](int x, int y) {
    CPoint p(x, y);
    child.ClientToScreen(&p);  // the child has no frame: window and client origins agree
    return static_cast<int>(child.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)));
  };
  EXPECT_EQ(hit(90, 40), HTVSCROLL);
  EXPECT_EQ(hit(40, 90), HTHSCROLL);
  EXPECT_EQ(hit(90, 90), HTNOWHERE);
  EXPECT_EQ(hit(40, 40), HTCLIENT);
  input::Click(parent.m_hWnd, At(92, 92));  // the box does nothing
  input::Click(parent.m_hWnd, At(78, 92));  // right arrow of the horizontal bar, left of the box
  ASSERT_EQ(child.events.size(), 2u);
  EXPECT_EQ(child.events[0].message, static_cast<UINT>(WM_HSCROLL));
  EXPECT_EQ(child.events[0].code, SB_LINERIGHT);
}

TEST_F(ScrollBarMouseTest, WindowClosingInItsScrollHandlerEndsTheGesture) {
  platform::ManualClockScope clock;
  child.destroyOnScroll = true;
  input::MouseDown(parent.m_hWnd, DownArrow());
  EXPECT_FALSE(::IsWindow(child.m_hWnd));
  platform::Clock::Advance(1000);
  input::MouseUp(parent.m_hWnd, DownArrow());
  EXPECT_EQ(child.events.size(), 1u);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ScrollBarMouseTest, WindowDestroyedDuringAThumbDragIsLetGo) {
  input::MouseDown(parent.m_hWnd, At(92, 20));
  ASSERT_EQ(::GetCapture(), child.m_hWnd);
  child.DestroyWindow();
  input::MouseMove(parent.m_hWnd, At(92, 50));
  input::MouseUp(parent.m_hWnd, At(92, 50));
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_TRUE(child.events.empty());
  // A new window with a bar works from a clean start.
  ScrollWnd other;
  ASSERT_TRUE(other.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(10, 10, 110, 110), &parent, 2));
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 99, 10, 0, 0};
  other.SetScrollInfo(SB_VERT, &info);
  input::Click(parent.m_hWnd, DownArrow());
  EXPECT_EQ(other.Codes(), (Codes{SB_LINEDOWN, SB_ENDSCROLL}));
}

TEST_F(ScrollBarMouseTest, LosingTheCaptureEndsTheRepeat) {
  platform::ManualClockScope clock;
  child.releaseCaptureOnScroll = true;
  input::MouseDown(parent.m_hWnd, DownArrow());
  platform::Clock::Advance(1000);
  input::MouseUp(parent.m_hWnd, DownArrow());
  EXPECT_EQ(child.Codes(), (Codes{SB_LINEDOWN, SB_ENDSCROLL}));
}

TEST_F(ScrollBarMouseTest, WheelOverAPlainWindowGoesToTheParentAndNeverBecomesBarMessages) {
  input::Wheel(parent.m_hWnd, At(40, 40), -WHEEL_DELTA);
  EXPECT_TRUE(child.events.empty());
  EXPECT_EQ(child.GetScrollPos(SB_VERT), 0);
  EXPECT_EQ(parent.wheels, 1);
}

class ScrollBarControlTest : public controls_test::HostedTest<CWnd> {
protected:
  // A point of a child's window rectangle given from its bottom-right corner, in host coordinates.
  CPoint FromBottomRight(CWnd& child, int dx, int dy) {
    CRect r;
    child.GetWindowRect(&r);
    host.ScreenToClient(&r);
    return CPoint(r.right - dx, r.bottom - dy);
  }
};

// A list subclassed by its owner, counting the scroll-bar messages that pass its procedure.
class CountingList : public CListCtrl {
public:
  int vscrolls{0};
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_VSCROLL) ++vscrolls;
    return CListCtrl::WindowProc(message, wParam, lParam);
  }
};

TEST_F(ScrollBarControlTest, ListScrollsByItsLineDownArrowAndTheWheel) {
  CountingList list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(10, 10, 210, 210), &host, 1));
  list.InsertColumn(0, "Name", LVCFMT_LEFT, 150);
  for (int i = 0; i < 100; ++i) list.InsertItem(i, "row");
  ASSERT_TRUE(list.GetStyle() & WS_VSCROLL);
  ASSERT_EQ(list.GetTopIndex(), 0);
  // The vertical bar's line-down arrow: inside the 1-pixel border, above the horizontal bar if any.
  int bottom = (list.GetStyle() & WS_HSCROLL) ? 16 : 0;
  input::Click(host.m_hWnd, FromBottomRight(list, 8, bottom + 8));
  EXPECT_EQ(list.GetTopIndex(), 1);
  const int fromTheBar = list.vscrolls;
  EXPECT_GE(fromTheBar, 1);
  input::Wheel(host.m_hWnd, FromBottomRight(list, 100, 100), -WHEEL_DELTA);
  EXPECT_EQ(list.GetTopIndex(), 4);
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 4);
  input::Wheel(host.m_hWnd, FromBottomRight(list, 100, 100), WHEEL_DELTA);
  EXPECT_EQ(list.GetTopIndex(), 1);
  // The wheel scrolls the list from inside: an owner watching WM_VSCROLL for the arrow's
  // line-down never takes a wheel turn for it.
  EXPECT_EQ(list.vscrolls, fromTheBar);
}

TEST_F(ScrollBarControlTest, MultiLineEditFeedsItsBarAndScrollsByIt) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                          CRect(10, 10, 210, 110), &host, 2));
  std::string text;
  for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + "\r\n";
  edit.SetWindowText(text.c_str());
  SCROLLINFO info{};
  ASSERT_TRUE(edit.GetScrollInfo(SB_VERT, &info, SIF_ALL));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_GE(info.nMax, 39);
  EXPECT_GT(info.nPage, 0u);
  EXPECT_LT(info.nPage, 40u);
  EXPECT_EQ(info.nPos, 0);
  input::Click(host.m_hWnd, FromBottomRight(edit, 8, 8));
  EXPECT_EQ(edit.GetFirstVisibleLine(), 1);
  EXPECT_EQ(edit.GetScrollPos(SB_VERT), 1);
  input::Wheel(host.m_hWnd, FromBottomRight(edit, 100, 50), -WHEEL_DELTA);
  EXPECT_EQ(edit.GetFirstVisibleLine(), 4);
  edit.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
  int last = edit.GetFirstVisibleLine();
  EXPECT_EQ(last, static_cast<int>(info.nMax) - static_cast<int>(info.nPage) + 1);
  edit.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
  EXPECT_EQ(edit.GetFirstVisibleLine(), last) << "never past the last page";
  edit.LineScroll(-100);
  EXPECT_EQ(edit.GetFirstVisibleLine(), 0);
  EXPECT_EQ(edit.GetScrollPos(SB_VERT), 0) << "the bar follows scrolling from code";
}

}  // namespace

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/testinput.h"
#include "platform/windows.h"
#include "support/SnapshotPath.h"

namespace {

namespace input = platform::input;

// The child is 100x100 at (10,10) with a vertical bar at x 84..99 of its window: up arrow y 0..15,
// down arrow 84..99, track 16..83; with range 0..99 and page 10 the thumb is 8 pixels long.
class ScrollBarPaintTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(10, 10, 110, 110), &parent, 1));
    SetBar(SB_VERT, 99, 10, 0);
    Paint();
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  void SetBar(int bar, int max, UINT page, int pos, UINT extra = 0) {
    SCROLLINFO info{};
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | extra;
    info.nMax = max;
    info.nPage = page;
    info.nPos = pos;
    child.SetScrollInfo(bar, &info, FALSE);
  }
  void Paint() {
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  }
  COLORREF Pixel(int x, int y) {
    CWindowDC dc(&child);
    return dc.GetPixel(x, y);
  }
  static COLORREF Sys(int index) { return ::GetSysColor(index); }

  CWnd parent;
  CWnd child;
};

TEST_F(ScrollBarPaintTest, ArrowsTrackAndThumbAreDrawnInTheNonClientArea) {
  EXPECT_EQ(Pixel(87, 3), Sys(COLOR_BTNFACE)) << "up arrow button face";
  EXPECT_EQ(Pixel(92, 7), Sys(COLOR_BTNTEXT)) << "up arrow";
  EXPECT_EQ(Pixel(92, 91), Sys(COLOR_BTNTEXT)) << "down arrow";
  EXPECT_EQ(Pixel(92, 20), Sys(COLOR_BTNFACE)) << "thumb at the top";
  EXPECT_EQ(Pixel(92, 60), Sys(COLOR_3DLIGHT)) << "track";
  EXPECT_NE(Pixel(40, 40), Sys(COLOR_3DLIGHT)) << "the client area is not the bar's";
}

TEST_F(ScrollBarPaintTest, ThumbLengthIsThePagesShareOfTheTrackButNeverTiny) {
  SetBar(SB_VERT, 19, 10, 0);  // half the range shows: half of the 68-pixel track
  Paint();
  EXPECT_EQ(Pixel(92, 46), Sys(COLOR_BTNFACE)) << "inside the thumb's 2-pixel edge";
  EXPECT_EQ(Pixel(92, 52), Sys(COLOR_3DLIGHT));
  SetBar(SB_VERT, 1000000, 1, 0);
  Paint();
  EXPECT_EQ(Pixel(92, 20), Sys(COLOR_BTNFACE)) << "at least 8 pixels to grab";
  EXPECT_EQ(Pixel(92, 26), Sys(COLOR_3DLIGHT));
}

TEST_F(ScrollBarPaintTest, SettingThePositionWithRedrawMovesTheThumbAtOnce) {
  SCROLLINFO info{};
  info.fMask = SIF_POS;
  info.nPos = 90;
  child.SetScrollInfo(SB_VERT, &info, TRUE);
  EXPECT_EQ(Pixel(92, 20), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(Pixel(92, 80), Sys(COLOR_BTNFACE)) << "thumb at the bottom of the track";
}

TEST_F(ScrollBarPaintTest, BarWithNothingToScrollOrOnADisabledWindowIsGreyed) {
  SetBar(SB_VERT, 5, 10, 0, SIF_DISABLENOSCROLL);
  Paint();
  EXPECT_EQ(Pixel(92, 7), Sys(COLOR_BTNSHADOW)) << "greyed arrow";
  EXPECT_EQ(Pixel(92, 20), Sys(COLOR_3DLIGHT)) << "no thumb";
  SetBar(SB_VERT, 99, 10, 0);
  child.EnableWindow(FALSE);
  Paint();
  EXPECT_EQ(Pixel(92, 91), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Pixel(92, 20), Sys(COLOR_3DLIGHT));
}

TEST_F(ScrollBarPaintTest, HeldPartsShowPressedAndADraggedThumbFollowsThePointer) {
  input::MouseDown(parent.m_hWnd, CPoint(10 + 92, 10 + 92));
  EXPECT_EQ(Pixel(84, 84), Sys(COLOR_BTNSHADOW)) << "sunken down arrow";
  input::MouseUp(parent.m_hWnd, CPoint(10 + 92, 10 + 92));
  EXPECT_NE(Pixel(84, 84), Sys(COLOR_BTNSHADOW)) << "raised again";
  // The plain window does not move its position: the thumb shows where it is dragged, then returns.
  input::MouseDown(parent.m_hWnd, CPoint(10 + 92, 10 + 20));
  input::MouseMove(parent.m_hWnd, CPoint(10 + 92, 10 + 50));
  EXPECT_EQ(Pixel(92, 48), Sys(COLOR_BTNFACE));
  EXPECT_EQ(Pixel(92, 20), Sys(COLOR_3DLIGHT));
  input::MouseUp(parent.m_hWnd, CPoint(10 + 92, 10 + 50));
  EXPECT_EQ(Pixel(92, 20), Sys(COLOR_BTNFACE));
}

TEST_F(ScrollBarPaintTest, BothBarsLeaveAFaceColouredBoxBetweenThem) {
  child.ShowScrollBar(SB_HORZ);
  SetBar(SB_HORZ, 199, 50, 0);
  Paint();
  EXPECT_EQ(Pixel(92, 92), Sys(COLOR_BTNFACE));
  EXPECT_EQ(Pixel(92, 75), Sys(COLOR_BTNTEXT)) << "the vertical bar's down arrow moved up";
  EXPECT_EQ(Pixel(75, 92), Sys(COLOR_BTNTEXT)) << "the horizontal bar's right arrow";
}

// Paints a list and an edit with their bars and writes them as a PNG (into $PLATFORM_SNAPSHOT_DIR
// when set, else a temporary folder) to be looked at; checks the arrows are there.
TEST_F(ScrollBarPaintTest, SnapshotOfAListAndAnEditWithTheirBars) {
  child.ShowWindow(SW_HIDE);
  parent.MoveWindow(0, 0, 440, 240);
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(10, 10, 210, 230), &parent, 2));
  list.InsertColumn(0, "Player", LVCFMT_LEFT, 120);
  list.InsertColumn(1, "Rank", LVCFMT_LEFT, 120);
  for (int i = 0; i < 100; ++i) {
    list.InsertItem(i, ("player " + std::to_string(i)).c_str());
    list.SetItemText(i, 1, "3d");
  }
  list.EnsureVisible(40, FALSE);
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE, CRect(220, 10, 430, 230),
                          &parent, 3));
  std::string text;
  for (int i = 0; i < 60; ++i) text += "comment line " + std::to_string(i) + "\r\n";
  edit.SetWindowText(text.c_str());
  Paint();

  std::string path = testsupport::SnapshotPath("scroll_bars_snapshot.png");
  ASSERT_TRUE(platform::SaveSurfacePng(parent.m_hWnd, path.c_str()));
  platform::Surface shot;
  ASSERT_TRUE(platform::LoadPng(path.c_str(), shot));
  auto rgb = [](COLORREF c) { return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)); };
  auto pixel = [&](int x, int y) { return shot.Row(y)[x] & 0xFFFFFFu; };
  // Down arrows sit in the bottom-right corner of each window, inside its 1-pixel border.
  int listBottom = (list.GetStyle() & WS_HSCROLL) ? 229 - 16 : 229;
  EXPECT_EQ(pixel(209 - 8, listBottom - 7), rgb(Sys(COLOR_BTNTEXT)));
  EXPECT_EQ(pixel(429 - 8, 229 - 7), rgb(Sys(COLOR_BTNTEXT)));
}

}  // namespace

#include <gtest/gtest.h>

#include <vector>

#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

// Records the client sizes it is told of.
class SizeWnd : public CWnd {
public:
  std::vector<CSize> sizes;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SIZE) sizes.emplace_back(LOWORD(lParam), HIWORD(lParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class ScrollBarTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  SCROLLINFO Info(UINT mask, int min, int max, UINT page, int pos) {
    SCROLLINFO si{};
    si.fMask = mask;
    si.nMin = min;
    si.nMax = max;
    si.nPage = page;
    si.nPos = pos;
    return si;
  }
  SizeWnd wnd;
};

TEST_F(ScrollBarTest, PositionStaysWhereTheLastPageStillFits) {
  SCROLLINFO si = Info(SIF_ALL, 0, 99, 10, 95);
  EXPECT_EQ(wnd.SetScrollInfo(SB_VERT, &si), 90);
  EXPECT_EQ(wnd.SetScrollPos(SB_VERT, -5), 90);  // returns the previous position
  EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 0);
  SCROLLINFO out{};
  ASSERT_TRUE(wnd.GetScrollInfo(SB_VERT, &out));
  EXPECT_EQ(out.nMin, 0);
  EXPECT_EQ(out.nMax, 99);
  EXPECT_EQ(out.nPage, 10u);
  EXPECT_EQ(out.nPos, 0);
  // Shrinking the range pulls the position back in.
  wnd.SetScrollPos(SB_VERT, 80);
  wnd.SetScrollRange(SB_VERT, 0, 49);
  EXPECT_EQ(wnd.GetScrollPos(SB_VERT), 40);
  int lo = -1, hi = -1;
  wnd.GetScrollRange(SB_VERT, &lo, &hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 49);
  // The bars are separate.
  EXPECT_EQ(wnd.GetScrollPos(SB_HORZ), 0);
}

TEST_F(ScrollBarTest, OnlyTheMaskedFieldsAreReadAndWritten) {
  SCROLLINFO si = Info(SIF_ALL, 10, 20, 0, 15);
  wnd.SetScrollInfo(SB_HORZ, &si);
  si = Info(SIF_PAGE, 999, 999, 4, 999);
  EXPECT_EQ(wnd.SetScrollInfo(SB_HORZ, &si), 15);
  SCROLLINFO out = Info(0, -7, -7, 77, -7);
  ASSERT_TRUE(wnd.GetScrollInfo(SB_HORZ, &out, SIF_POS));
  EXPECT_EQ(out.nPos, 15);
  EXPECT_EQ(out.nMin, -7);
  EXPECT_EQ(out.nPage, 77u);
  EXPECT_FALSE(wnd.GetScrollInfo(SB_HORZ, &out, 0));
  EXPECT_FALSE(::GetScrollInfo(wnd.m_hWnd, 7, &out));
  EXPECT_FALSE(::GetScrollInfo(nullptr, SB_HORZ, &out));
  EXPECT_EQ(::SetScrollInfo(wnd.m_hWnd, SB_HORZ, nullptr, TRUE), 15);
}

TEST_F(ScrollBarTest, PageLargerThanTheRangeIsCutAndTheBarHidden) {
  SCROLLINFO si = Info(SIF_ALL, 0, 9, 50, 3);
  EXPECT_EQ(wnd.SetScrollInfo(SB_VERT, &si), 0);
  SCROLLINFO out{};
  wnd.GetScrollInfo(SB_VERT, &out);
  EXPECT_EQ(out.nPage, 10u);
  EXPECT_FALSE(wnd.GetStyle() & WS_VSCROLL);
}

TEST_F(ScrollBarTest, RangeBeyondThePageShowsTheBarAndTakesClientSpace) {
  CRect client;
  wnd.GetClientRect(&client);
  ASSERT_EQ(client.Width(), 200);
  wnd.sizes.clear();
  SCROLLINFO si = Info(SIF_RANGE | SIF_PAGE, 0, 299, 100, 0);
  wnd.SetScrollInfo(SB_VERT, &si);
  EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL);
  wnd.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 184);
  ASSERT_FALSE(wnd.sizes.empty());
  EXPECT_EQ(wnd.sizes.back().cx, 184);
  si = Info(SIF_RANGE | SIF_PAGE, 0, 50, 100, 0);
  wnd.SetScrollInfo(SB_VERT, &si);
  EXPECT_FALSE(wnd.GetStyle() & WS_VSCROLL);
  si.fMask |= SIF_DISABLENOSCROLL;
  wnd.ShowScrollBar(SB_BOTH);
  wnd.SetScrollInfo(SB_VERT, &si);
  EXPECT_TRUE(wnd.GetStyle() & WS_VSCROLL);
  EXPECT_TRUE(wnd.GetStyle() & WS_HSCROLL);
  wnd.ShowScrollBar(SB_BOTH, FALSE);
  wnd.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 200);
  EXPECT_EQ(client.Height(), 100);
}

}  // namespace

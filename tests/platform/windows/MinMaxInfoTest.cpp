#include <gtest/gtest.h>

#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

// Keeps its size between 100x50 and 300x200 and counts how often it is asked.
class LimitedWnd : public CWnd {
public:
  int asked{0};
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_GETMINMAXINFO) {
      ++asked;
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {100, 50};
      info->ptMaxTrackSize = {300, 200};
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class MinMaxInfoTest : public ::testing::Test {
protected:
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  CRect WindowRect(const CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    return r;
  }
};

TEST_F(MinMaxInfoTest, EveryResizeOfATopLevelWindowIsClampedToItsTrackingLimits) {
  LimitedWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr));
  wnd.asked = 0;
  wnd.MoveWindow(20, 30, 20, 10);
  EXPECT_EQ(WindowRect(wnd), CRect(20, 30, 120, 80));
  EXPECT_EQ(wnd.asked, 1);
  wnd.SetWindowPos(nullptr, 0, 0, 5000, 5000, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(wnd), CRect(20, 30, 320, 230));
  wnd.SetWindowPos(nullptr, 0, 0, 250, 150, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(WindowRect(wnd), CRect(20, 30, 270, 180));
  // Moves alone do not ask.
  wnd.asked = 0;
  wnd.SetWindowPos(nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(wnd.asked, 0);
  EXPECT_EQ(WindowRect(wnd), CRect(5, 5, 255, 155));
}

TEST_F(MinMaxInfoTest, WindowsWithoutLimitsKeepAnySizeAndChildrenAreNotAsked) {
  CWnd plain;
  ASSERT_TRUE(plain.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  plain.MoveWindow(0, 0, 4000, 3000);
  EXPECT_EQ(WindowRect(plain), CRect(0, 0, 4000, 3000));
  plain.MoveWindow(0, 0, 0, 0);
  EXPECT_EQ(WindowRect(plain), CRect(0, 0, 0, 0));

  LimitedWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &plain, 1));
  child.asked = 0;
  child.MoveWindow(0, 0, 5, 5);
  EXPECT_EQ(child.asked, 0);
  CRect r;
  child.GetClientRect(&r);
  EXPECT_EQ(r.Width(), 5);
}

}  // namespace

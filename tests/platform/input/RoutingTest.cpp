#include <gtest/gtest.h>

#include <vector>

#include "platform/messageloop.h"
#include "platform/testinput.h"
#include "platform/windows.h"

namespace {

class RoutingTest : public ::testing::Test {
protected:
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
};

class MenuAsker : public CWnd {
public:
  std::vector<std::pair<HWND, CPoint>> asked;

protected:
  void OnContextMenu(CWnd* wnd, CPoint point) { asked.emplace_back(platform::SafeHwnd(wnd), point); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuAsker, CWnd)
  ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

TEST_F(RoutingTest, RightClickOnAChildAsksTheParentForItsContextMenu) {
  MenuAsker parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 100, 50, 200, 100, nullptr, nullptr));
  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 60), &parent, 3));
  platform::input::Click(child.m_hWnd, POINT{5, 6}, platform::input::Button::Right);
  ASSERT_EQ(parent.asked.size(), 1u);
  EXPECT_EQ(parent.asked[0].first, child.m_hWnd);  // the window clicked
  POINT expected{5, 6};
  child.ClientToScreen(&expected);
  EXPECT_EQ(parent.asked[0].second.x, expected.x);
  EXPECT_EQ(parent.asked[0].second.y, expected.y);
}

TEST_F(RoutingTest, PlacementKeepsTheNormalRectangleWhileMaximised) {
  CWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 300, 200, nullptr, nullptr));
  WINDOWPLACEMENT placement;
  ASSERT_TRUE(wnd.GetWindowPlacement(&placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  EXPECT_EQ(placement.rcNormalPosition.left, 20);
  EXPECT_EQ(placement.rcNormalPosition.bottom, 230);
  wnd.ShowWindow(SW_SHOWMAXIMIZED);
  ASSERT_TRUE(wnd.GetWindowPlacement(&placement));
  EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  EXPECT_EQ(placement.rcNormalPosition.right, 320);
  // A new normal rectangle while maximised is where the window restores to.
  placement.rcNormalPosition = RECT{5, 6, 105, 86};
  placement.showCmd = SW_SHOWNORMAL;
  ASSERT_TRUE(wnd.SetWindowPlacement(&placement));
  RECT now;
  wnd.GetWindowRect(&now);
  EXPECT_EQ(now.left, 5);
  EXPECT_EQ(now.top, 6);
  EXPECT_EQ(now.right, 105);
  EXPECT_EQ(now.bottom, 86);
  EXPECT_FALSE(::GetWindowPlacement(nullptr, &placement));
}

}  // namespace

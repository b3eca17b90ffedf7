#include "platform/controls.h"

#include "ControlHost.h"

namespace {

using controls_test::ControlTest;

class ToolTipCtrlTest : public ControlTest {
protected:
  MSG Move(HWND hwnd, POINT point) { return MSG{hwnd, WM_MOUSEMOVE, 0, static_cast<LPARAM>(MAKELONG(static_cast<WORD>(point.x), static_cast<WORD>(point.y))), 0, point}; }
};

TEST_F(ToolTipCtrlTest, RelayedMovesShowTheToolTextAndClicksHideIt) {
  CStatic name;
  ASSERT_TRUE(name.Create("kim", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(10, 10, 80, 30), &host, 1068));
  CToolTipCtrl tip;
  ASSERT_TRUE(tip.Create(&host));
  ASSERT_TRUE(tip.AddTool(&name, "Double Click, you can view user information."));
  CRect corner(200, 200, 250, 250);
  ASSERT_TRUE(tip.AddTool(&host, "corner", &corner, 7));
  EXPECT_EQ(tip.GetToolCount(), 2);
  EXPECT_FALSE(tip.IsWindowVisible());

  MSG over = Move(name.m_hWnd, CPoint(5, 5));
  tip.RelayEvent(&over);
  EXPECT_TRUE(tip.IsWindowVisible());
  CString shown;
  tip.GetWindowText(shown);
  EXPECT_EQ(shown, "Double Click, you can view user information.");

  MSG down = over;
  down.message = WM_LBUTTONDOWN;
  tip.RelayEvent(&down);
  EXPECT_FALSE(tip.IsWindowVisible());

  MSG inCorner = Move(host.m_hWnd, CPoint(210, 210));
  tip.RelayEvent(&inCorner);
  tip.GetWindowText(shown);
  EXPECT_EQ(shown, "corner");
  tip.UpdateTipText("new", &host, 7);
  CString text;
  tip.GetText(text, &host, 7);
  EXPECT_EQ(text, "new");
  tip.DelTool(&host, 7);
  EXPECT_EQ(tip.GetToolCount(), 1);
  EXPECT_FALSE(tip.IsWindowVisible());
  tip.Activate(FALSE);
  tip.RelayEvent(&over);
  EXPECT_FALSE(tip.IsWindowVisible());
}

}  // namespace

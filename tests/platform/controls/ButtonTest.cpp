#include "platform/controls.h"

#include "platform/testinput.h"
#include "ControlHost.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class ButtonTest : public ControlTest {};

TEST_F(ButtonTest, OwnerDrawButtonClicksOnlyWhenReleasedInside) {
  CButton button;
  ASSERT_TRUE(button.Create("Go", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 90, 40), &host, 7));
  button.UpdateWindow();
  ASSERT_FALSE(host.drawItems.empty());
  EXPECT_EQ(host.drawItems.back().CtlType, ODT_BUTTON);
  EXPECT_EQ(host.drawItems.back().CtlID, 7u);
  EXPECT_EQ(host.drawItems.back().hwndItem, button.m_hWnd);
  EXPECT_EQ(host.drawItems.back().itemState & ODS_SELECTED, 0u);

  // Pressed: drawn selected; dragged out and released outside: no click.
  input::MouseDown(host.m_hWnd, CPoint(20, 20));
  button.UpdateWindow();
  EXPECT_NE(host.drawItems.back().itemState & ODS_SELECTED, 0u);
  input::MouseMove(host.m_hWnd, CPoint(200, 200));
  input::MouseUp(host.m_hWnd, CPoint(200, 200));
  EXPECT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 0);
  EXPECT_EQ(button.GetState() & BST_PUSHED, 0u);
  EXPECT_EQ(CWnd::GetCapture(), nullptr);

  input::Click(host.m_hWnd, CPoint(20, 20));
  EXPECT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 1);
  EXPECT_EQ(host.heard.back().id, 7);
}

TEST_F(ButtonTest, SetStateShowsPushedWithoutNotifying) {
  CButton button;
  ASSERT_TRUE(button.Create("Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 40), &host, 7));
  button.SetState(TRUE);
  EXPECT_NE(button.GetState() & BST_PUSHED, 0u);
  button.SendMessage(BM_SETSTATE, FALSE);
  EXPECT_EQ(button.GetState() & BST_PUSHED, 0u);
  EXPECT_TRUE(host.heard.empty());
}

TEST_F(ButtonTest, AutoCheckBoxTogglesAndDialogHelpersSeeIt) {
  CButton box;
  ASSERT_TRUE(box.Create("Sound", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(10, 10, 90, 30), &host, 8));
  input::Click(host.m_hWnd, CPoint(15, 15));
  EXPECT_EQ(box.GetCheck(), BST_CHECKED);
  EXPECT_EQ(host.IsDlgButtonChecked(8), BST_CHECKED);
  host.CheckDlgButton(8, BST_UNCHECKED);
  EXPECT_EQ(box.GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 1);
}

TEST_F(ButtonTest, AutoRadioUnchecksOnlyItsOwnGroup) {
  CButton a, b, c, other;
  ASSERT_TRUE(a.Create("A", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(0, 0, 50, 20), &host, 1));
  ASSERT_TRUE(b.Create("B", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(0, 20, 50, 40), &host, 2));
  ASSERT_TRUE(c.Create("C", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(0, 40, 50, 60), &host, 3));
  ASSERT_TRUE(other.Create("X", WS_CHILD | WS_VISIBLE | WS_GROUP | BS_AUTORADIOBUTTON, CRect(100, 0, 150, 20), &host, 4));
  other.SetCheck(BST_CHECKED);
  a.SetCheck(BST_CHECKED);
  input::Click(host.m_hWnd, CPoint(5, 45));
  EXPECT_EQ(a.GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(b.GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(c.GetCheck(), BST_CHECKED);
  EXPECT_EQ(other.GetCheck(), BST_CHECKED);
}

TEST_F(ButtonTest, DisabledButtonIgnoresClicksAndGroupBoxLetsThemThrough) {
  CButton group, inside;
  ASSERT_TRUE(group.Create("Group", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(0, 0, 200, 100), &host, 1));
  ASSERT_TRUE(inside.Create("In", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 80, 50), &host, 2));
  input::Click(host.m_hWnd, CPoint(30, 30));
  EXPECT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 1);
  EXPECT_EQ(host.heard.back().id, 2);
  inside.EnableWindow(FALSE);
  input::Click(host.m_hWnd, CPoint(30, 30));
  EXPECT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 1);
}

TEST_F(ButtonTest, BmClickNotifiesLikeAMouseClick) {
  HWND raw = ::CreateWindowEx(0, "BUTTON", "Raw", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 0, 60, 20, host.m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<std::intptr_t>(5)), nullptr, nullptr);
  ASSERT_NE(raw, nullptr);
  ::SendMessage(raw, BM_CLICK, 0, 0);
  EXPECT_EQ(::SendMessage(raw, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 1);
}

}  // namespace

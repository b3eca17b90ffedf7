#include "platform/controls.h"

#include "ControlHost.h"
#include "platform/surface.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class ToolBarCtrlTest : public ControlTest {};

TEST_F(ToolBarCtrlTest, ButtonsFromAStripSendTheirCommands) {
  CToolBarCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, CRect(0, 0, 300, 28), &host, 59392));
  CDC painter;
  ASSERT_TRUE(painter.CreateCompatibleDC(nullptr));
  CBitmap strip;
  ASSERT_TRUE(strip.CreateBitmap(32, 15, 1, 32, nullptr));
  CBitmap* old = painter.SelectObject(&strip);
  painter.FillSolidRect(0, 0, 32, 15, RGB(192, 192, 192));
  painter.SelectObject(old);
  EXPECT_EQ(bar.AddBitmap(2, &strip), 0);

  TBBUTTON buttons[3] = {};
  buttons[0] = TBBUTTON{0, 32771, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0};
  buttons[1] = TBBUTTON{0, 0, 0, TBSTYLE_SEP, {}, 0, 0};
  buttons[2] = TBBUTTON{1, 32772, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0};
  ASSERT_TRUE(bar.AddButtons(3, buttons));
  EXPECT_EQ(bar.GetButtonCount(), 3);
  EXPECT_EQ(bar.CommandToIndex(32772), 2);
  RECT second{};
  ASSERT_TRUE(bar.GetItemRect(2, &second));
  EXPECT_EQ(second.left, 23 + 8);

  input::Click(host.m_hWnd, CPoint(second.left + 3, 10));
  ASSERT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 1);
  EXPECT_EQ(host.heard.back().id, 32772);
  EXPECT_TRUE(bar.IsButtonChecked(32772));

  bar.EnableButton(32771, FALSE);
  input::Click(host.m_hWnd, CPoint(5, 10));
  EXPECT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 1);
  EXPECT_FALSE(bar.IsButtonEnabled(32771));
  EXPECT_FALSE(bar.EnableButton(999, TRUE));
  EXPECT_EQ(bar.GetState(999), -1);
}

// Makes list count 16-pixel images, each filled with colour.
void MakeSolidImages(CImageList& list, int count, COLORREF colour) {
  list.Create(16, 16, ILC_COLOR32, count, 0);
  CDC painter;
  painter.CreateCompatibleDC(nullptr);
  CBitmap strip;
  strip.CreateBitmap(16 * count, 16, 1, 32, nullptr);
  CBitmap* old = painter.SelectObject(&strip);
  painter.FillSolidRect(0, 0, 16 * count, 16, colour);
  painter.SelectObject(old);
  list.Add(&strip, static_cast<CBitmap*>(nullptr));
}

TEST_F(ToolBarCtrlTest, APressedButtonShowsItsHotImageAndWidthsKeepTheirLimits) {
  CToolBarCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, CRect(0, 0, 300, 28), &host, 59392));
  CImageList normal;
  MakeSolidImages(normal, 2, RGB(200, 0, 0));
  CImageList hot;
  MakeSolidImages(hot, 2, RGB(0, 0, 200));
  bar.SetBitmapSize(CSize(16, 16));
  bar.SetImageList(&normal);
  EXPECT_EQ(bar.SetHotImageList(&hot), nullptr);
  TBBUTTON buttons[2] = {TBBUTTON{0, 32771, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
                         TBBUTTON{1, 32772, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0}};
  ASSERT_TRUE(bar.AddButtons(2, buttons));
  // The button size counts only within the limits.
  struct Limits {
    CSize size;
    int minWidth, maxWidth, expected;
  };
  for (Limits l : {Limits{CSize(23, 22), 15, 45, 23}, Limits{CSize(60, 22), 15, 45, 45}, Limits{CSize(10, 22), 15, 45, 15}}) {
    bar.SetButtonSize(l.size);
    EXPECT_TRUE(bar.SetButtonWidth(l.minWidth, l.maxWidth));
    RECT second{};
    ASSERT_TRUE(bar.GetItemRect(1, &second));
    EXPECT_EQ(second.right - second.left, l.expected);
    EXPECT_EQ(second.left, l.expected);
  }
  bar.SetButtonSize(CSize(23, 22));
  bar.SetButtonWidth(15, 45);
  // The middle of the first button's picture, normal and while the mouse holds it down.
  auto centre = [&] {
    bar.UpdateWindow();
    const platform::PaintTarget target = platform::GetPaintTarget(bar.m_hWnd);
    RECT first{};
    bar.GetItemRect(0, &first);
    const int x = target.origin.x + (first.left + first.right) / 2;
    const int y = target.origin.y + (first.top + first.bottom) / 2;
    return target.surface->Row(y)[x] & 0xFFFFFF;
  };
  EXPECT_EQ(centre(), 0xC80000u);
  input::MouseDown(host.m_hWnd, CPoint(10, 12));
  EXPECT_EQ(centre(), 0x0000C8u);
  input::MouseUp(host.m_hWnd, CPoint(10, 12));
  EXPECT_EQ(centre(), 0xC80000u);
  EXPECT_EQ(bar.SetHotImageList(nullptr), hot.GetSafeHandle());
}

// The frame sets every button's state at each idle turn: a state set as it already was must not
// ask for a paint, or the bar would be painted again and again.
TEST_F(ToolBarCtrlTest, OnlyAChangedButtonStateAsksForAPaint) {
  CToolBarCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 28), &host, 59392));
  TBBUTTON button{0, 32771, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0};
  ASSERT_TRUE(bar.AddButtons(1, &button));
  struct Setter {
    const char* name;
    BOOL (CToolBarCtrl::*set)(int, BOOL);
    BOOL already;  // the value the new button already has
  };
  const Setter setters[] = {{"enable", &CToolBarCtrl::EnableButton, TRUE},
                            {"check", &CToolBarCtrl::CheckButton, FALSE},
                            {"press", &CToolBarCtrl::PressButton, FALSE},
                            {"hide", &CToolBarCtrl::HideButton, FALSE}};
  for (const Setter& setter : setters) {
    SCOPED_TRACE(setter.name);
    bar.ValidateRect(nullptr);
    EXPECT_TRUE((bar.*setter.set)(32771, setter.already));
    EXPECT_FALSE(bar.GetUpdateRect(nullptr));
    EXPECT_TRUE((bar.*setter.set)(32771, !setter.already));
    EXPECT_TRUE(bar.GetUpdateRect(nullptr));
    bar.ValidateRect(nullptr);
    EXPECT_TRUE((bar.*setter.set)(32771, setter.already));
    EXPECT_TRUE(bar.GetUpdateRect(nullptr));
  }
  EXPECT_EQ(bar.GetState(32771), TBSTATE_ENABLED);
  // The same for a button's picture, which the frame sets by the connection at each idle turn.
  bar.ValidateRect(nullptr);
  EXPECT_TRUE(bar.ChangeBitmap(32771, 0));
  EXPECT_FALSE(bar.GetUpdateRect(nullptr));
  EXPECT_TRUE(bar.ChangeBitmap(32771, 2));
  EXPECT_TRUE(bar.GetUpdateRect(nullptr));
  EXPECT_EQ(bar.GetBitmap(32771), 2);
  bar.ValidateRect(nullptr);
  EXPECT_TRUE(bar.ChangeBitmap(32771, 2));
  EXPECT_FALSE(bar.GetUpdateRect(nullptr));
}

}  // namespace

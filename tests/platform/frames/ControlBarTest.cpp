#include <gtest/gtest.h>

#include "FrameTestSupport.h"
#include "platform/controlbars.h"

namespace frametest {
namespace {

class ControlBarTest : public FrameFixture {
protected:
  CTestFrame* Start() {
    EXPECT_TRUE(m_app.InitInstance());
    return MainFrame();
  }
  // What the status bar control shows in pane index.
  static CString Shown(CStatusBar& bar, int index) {
    auto* ctrl = dynamic_cast<CStatusBarCtrl*>(CWnd::FromHandlePermanent(bar.GetDlgItem(1)->m_hWnd));
    return ctrl ? ctrl->GetText(index) : CString("<no control>");
  }
  CTestApp m_app;
};

TEST_F(ControlBarTest, StatusBarPanesTakeTheirTextsAndSitAtTheBottom) {
  CTestFrame* frame = Start();
  CStatusBar bar;
  ASSERT_TRUE(bar.Create(frame));
  EXPECT_EQ(static_cast<UINT>(bar.GetDlgCtrlID()), AFX_IDW_STATUS_BAR);
  const UINT ids[] = {ID_SEPARATOR, ID_FRAME_ONLY, ID_INDICATOR_TEST};
  ASSERT_TRUE(bar.SetIndicators(ids, 3));
  EXPECT_EQ(bar.GetPaneText(2), "TEST");
  EXPECT_EQ(bar.CommandToIndex(ID_INDICATOR_TEST), 2);
  EXPECT_EQ(bar.GetItemID(1), ID_FRAME_ONLY);

  frame->MoveWindow(0, 0, 640, 480);
  frame->RecalcLayout();
  CRect client, barRect, pane;
  frame->GetClientRect(&client);
  bar.GetWindowRect(&barRect);
  frame->ScreenToClient(&barRect);
  EXPECT_EQ(barRect.bottom, client.bottom);
  EXPECT_EQ(barRect.Height(), bar.GetBarHeight());
  CRect paneArea;
  frame->GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST))->GetWindowRect(&paneArea);
  frame->ScreenToClient(&paneArea);
  EXPECT_EQ(paneArea.bottom, barRect.top);

  // The fixed panes are packed at the right; the first gets the rest.
  CRect first, last;
  bar.GetItemRect(0, &first);
  bar.GetItemRect(2, &last);
  EXPECT_EQ(first.left, 0);
  EXPECT_EQ(last.right, barRect.Width());
  EXPECT_GT(first.Width(), last.Width());
}

TEST_F(ControlBarTest, MissingIndicatorStringFailsAndOutOfRangePanesAreRefused) {
  CTestFrame* frame = Start();
  CStatusBar bar;
  ASSERT_TRUE(bar.Create(frame));
  const UINT ids[] = {ID_SEPARATOR, ID_INDICATOR_MISSING};
  EXPECT_FALSE(bar.SetIndicators(ids, 2));
  EXPECT_EQ(bar.GetPaneText(1), "");
  EXPECT_FALSE(bar.SetPaneText(2, "x"));
  EXPECT_FALSE(bar.SetPaneText(-1, "x"));
  CRect rect(1, 1, 1, 1);
  bar.GetItemRect(5, &rect);
  EXPECT_TRUE(rect.IsRectNull());
}

TEST_F(ControlBarTest, MessageTextAndIdleUpdatesReachTheStatusPanes) {
  CTestFrame* frame = Start();
  CStatusBar bar;
  ASSERT_TRUE(bar.Create(frame));
  const UINT ids[] = {ID_SEPARATOR, ID_FRAME_ONLY, ID_INDICATOR_TEST};
  ASSERT_TRUE(bar.SetIndicators(ids, 3));
  frame->SetMessageText("Ready");
  EXPECT_EQ(bar.GetPaneText(0), "Ready");
  EXPECT_EQ(Shown(bar, 0), "Ready");

  m_app.OnIdle(0);
  // A pane whose command nobody handles is blanked; its text comes back when enabled.
  EXPECT_EQ(Shown(bar, 1), "FRAME");
  EXPECT_EQ(Shown(bar, 2), "");
  EXPECT_EQ(bar.GetPaneText(2), "TEST");
  EXPECT_EQ(Shown(bar, 0), "Ready");
}

TEST_F(ControlBarTest, ToolBarLoadsItsButtonsAndSitsAtTheTop) {
  CTestFrame* frame = Start();
  CToolBar bar;
  ASSERT_TRUE(bar.Create(frame));
  EXPECT_EQ(static_cast<UINT>(bar.GetDlgCtrlID()), AFX_IDW_TOOLBAR);
  EXPECT_FALSE(bar.LoadToolBar(4242));
  ASSERT_TRUE(bar.LoadToolBar(IDR_MAINFRAME));
  EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 3);
  EXPECT_EQ(bar.GetItemID(0), ID_FRAME_ONLY);
  EXPECT_EQ(bar.GetItemID(1), ID_SEPARATOR);
  EXPECT_EQ(bar.CommandToIndex(ID_NOBODY), 2);

  frame->MoveWindow(0, 0, 640, 480);
  frame->RecalcLayout();
  CRect barRect, paneArea;
  bar.GetWindowRect(&barRect);
  frame->ScreenToClient(&barRect);
  EXPECT_EQ(barRect.top, 0);
  frame->GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST))->GetWindowRect(&paneArea);
  frame->ScreenToClient(&paneArea);
  EXPECT_EQ(paneArea.top, barRect.bottom);

  CRect first, third;
  bar.GetItemRect(0, &first);
  bar.GetItemRect(2, &third);
  EXPECT_LT(first.right, third.left + 1);

  // New buttons replace the old ones rather than adding to them.
  const UINT ids[] = {ID_NOBODY};
  ASSERT_TRUE(bar.SetButtons(ids, 1));
  EXPECT_EQ(bar.GetToolBarCtrl().GetButtonCount(), 1);
}

TEST_F(ControlBarTest, IdleUpdateDisablesButtonsWithoutHandlers) {
  CTestFrame* frame = Start();
  CToolBar bar;
  ASSERT_TRUE(bar.Create(frame));
  ASSERT_TRUE(bar.LoadToolBar(IDR_MAINFRAME));
  m_app.OnIdle(0);
  EXPECT_TRUE(bar.GetToolBarCtrl().IsButtonEnabled(ID_FRAME_ONLY));
  EXPECT_FALSE(bar.GetToolBarCtrl().IsButtonEnabled(ID_NOBODY));
}

}  // namespace
}  // namespace frametest

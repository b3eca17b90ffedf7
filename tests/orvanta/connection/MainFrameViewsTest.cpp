// The main frame's splitter and view switch: views come from the table by id, a screen the program
// does not have keeps the one shown, and the lower row keeps the main menu pane's height.

#include "orvanta/connection/MainFrameFixture.h"

#include "orvanta/connection/OrvantaView.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/widgets/FixedSplitterWnd.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

using MainFrameViewsTest = MainFrameTest;

TEST_F(MainFrameViewsTest, ViewsAreMadeFromTheTableAndUnknownIdsKeepTheShownView) {
  COrvantaView* start = frame->GetStartView();
  ASSERT_NE(start, nullptr);
  ASSERT_NE(frame->GetMainMenu(), nullptr);
  // The same id again keeps the very view object.
  frame->SwitchView(CMainFrame::kStartView);
  EXPECT_EQ(frame->GetStartView(), start);

  frame->SwitchView(7777);
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kStartView);
  EXPECT_EQ(frame->GetContentView(), start);
  EXPECT_TRUE(HasPending("MissingView:7777"));

  frame->SwitchView(CMainFrame::kWaitingRoomView);
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kWaitingRoomView);
  EXPECT_NE(dynamic_cast<CTirvoDListView*>(frame->GetContentView()), nullptr);
  EXPECT_EQ(static_cast<CView*>(frame->GetWaitingRoomView()), frame->GetContentView());
  EXPECT_EQ(frame->GetStatusText(), "Select 'game room' in the game room list to enter.");
  EXPECT_EQ(GetScreenFlags() & kScreenWaitingRoom, kScreenWaitingRoom);
  EXPECT_EQ(frame->GetActiveView(), frame->GetContentView());

  frame->SwitchView(CMainFrame::kStartView);
  EXPECT_NE(frame->GetStartView(), nullptr);
  EXPECT_EQ(frame->GetStatusText(), "Select waiting room from list.");
}

TEST_F(MainFrameViewsTest, AFrameWithoutARegisteredScreenStaysOnItsStartView) {
  CServerAddress address;
  CTestMainFrame* plain = new CTestMainFrame(address);
  ASSERT_TRUE(plain->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
  const UINT unknownView = 4999;  // no screen is registered under this id
  plain->SwitchView(unknownView);
  EXPECT_EQ(plain->GetActiveViewId(), CMainFrame::kStartView);
  EXPECT_NE(plain->GetStartView(), nullptr);
  plain->DestroyWindow();
}

TEST_F(MainFrameViewsTest, TheLowerRowKeepsItsHeightAndTheBarCannotBeDragged) {
  EXPECT_EQ(CFixedSplitterWnd::UpperRowHeight(40), 1);
  EXPECT_EQ(CFixedSplitterWnd::UpperRowHeight(62), 1);
  EXPECT_EQ(CFixedSplitterWnd::UpperRowHeight(63), 1);
  EXPECT_EQ(CFixedSplitterWnd::UpperRowHeight(64), 2);
  CFixedSplitterWnd& splitter = frame->GetSplitter();
  for (int height : {600, 400, 100}) {
    frame->SetWindowPos(nullptr, 0, 0, 800, height, SWP_NOMOVE | SWP_NOZORDER);
    CRect client;
    splitter.GetClientRect(&client);
    int upper = 0;
    int minimum = 0;
    splitter.GetRowInfo(0, upper, minimum);
    EXPECT_EQ(upper, std::max(1, static_cast<int>(client.Height()) - CFixedSplitterWnd::kLowerRowHeight)) << height;
    CRect pane;
    frame->GetContentView()->GetWindowRect(&pane);
    EXPECT_EQ(pane.Height(), upper) << height;
  }
  // A press on the bar changes no row.
  int before = 0;
  int minimum = 0;
  splitter.GetRowInfo(0, before, minimum);
  splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, before + 2));
  splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, before - 30));
  splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, before - 30));
  int after = 0;
  splitter.GetRowInfo(0, after, minimum);
  EXPECT_EQ(after, before);
}

}  // namespace

// The main frame's splitter and view switch: views come from the table by id, a screen the program
// does not have keeps the one shown, and the lower row keeps the main menu pane's height.

#include "orvanta/app/MainFrameFixture.h"

#include "orvanta/app/OrvantaView.h"
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

// A frame whose opened pages outlive it: a frame that fails to be made deletes itself.
class CPageKeepingFrame : public CTestMainFrame {
public:
  CPageKeepingFrame(const CServerAddress& address, std::vector<std::string>& pages)
      : CTestMainFrame(address), m_pages(pages) {}

protected:
  void OpenWithDesktop(const CString& address, BOOL) override { m_pages.push_back(address.str()); }

private:
  std::vector<std::string>& m_pages;
};

TEST_F(MainFrameViewsTest, WithoutTheMovieControlTheFrameOffersItsInstallFirst) {
  const std::string question = "You do not intall flash. \n Do you wish to install it automatically?";
  const std::string warning = "If you do not install flash, \n program may excute unproperly.";
  struct Case {
    bool installed;
    std::optional<int> answer;  // none: nobody answers
    bool created;
    bool warned;
  };
  const Case cases[] = {
      {true, std::nullopt, true, false},
      {false, IDNO, true, true},
      {false, std::nullopt, true, true},  // No is the default
      {false, IDYES, false, false},       // the home page opens and the program is to end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.installed) + "/" + std::to_string(c.answer.value_or(0)));
    SetMovieControlInstalled(c.installed);
    script.shown.clear();
    script.answers.erase(question);
    if (c.answer)
      script.answers[question] = *c.answer;
    std::vector<std::string> pages;
    CServerAddress address;
    auto* other = new CPageKeepingFrame(address, pages);
    const BOOL created = other->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(created != FALSE, c.created);
    EXPECT_EQ(Shown(question), !c.installed);
    EXPECT_EQ(Shown(warning), c.warned);
    ASSERT_EQ(pages.size(), c.created ? 0u : 1u);
    if (!c.created) {
      EXPECT_NE(pages[0].find("/index.htm"), std::string::npos) << pages[0];
    } else if (created) {
      other->DestroyWindow();
    }
  }
  SetMovieControlInstalled(true);
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

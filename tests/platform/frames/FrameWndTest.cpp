#include <gtest/gtest.h>

#include "FrameTestSupport.h"

namespace frametest {
namespace {

class FrameWndTest : public FrameFixture {
protected:
  CTestFrame* Start() {
    EXPECT_TRUE(m_app.InitInstance());
    return MainFrame();
  }
  void Command(CWnd* target, UINT id) { target->SendMessage(WM_COMMAND, id, 0); }
  CTestApp m_app;
};

TEST_F(FrameWndTest, CommandsReachTheViewThenTheDocumentThenFrameAndApplication) {
  CTestFrame* frame = Start();
  ASSERT_NE(frame, nullptr);
  Log().clear();
  Command(frame, ID_BOTH);
  Command(frame, ID_DOC_ONLY);
  Command(frame, ID_FRAME_ONLY);
  Command(frame, ID_APP_ONLY);
  EXPECT_EQ(Log(), (std::vector<std::string>{"view both first", "doc only", "frame only", "app only"}));

  // The active view decides: after a switch the new view takes the command.
  frame->SwitchView(RUNTIME_CLASS(CThirdView));
  Log().clear();
  Command(frame, ID_BOTH);
  EXPECT_EQ(Log(), (std::vector<std::string>{"view both third"}));
}

TEST_F(FrameWndTest, CommandStateFollowsTheSameRoute) {
  CTestFrame* frame = Start();
  EXPECT_TRUE(platform::QueryCommandState(frame, ID_DOC_ONLY).enabled);
  EXPECT_TRUE(platform::QueryCommandState(frame, ID_APP_ONLY).enabled);
  EXPECT_FALSE(platform::QueryCommandState(frame, ID_NOBODY).enabled);
  // Without an active view the document's commands are out of reach.
  frame->SetActiveView(nullptr);
  EXPECT_FALSE(platform::QueryCommandState(frame, ID_DOC_ONLY).enabled);
  EXPECT_TRUE(platform::QueryCommandState(frame, ID_FRAME_ONLY).enabled);
}

TEST_F(FrameWndTest, CaptionCombinesDocumentAndFrameTitles) {
  CTestFrame* frame = Start();
  CString caption;
  frame->GetWindowText(caption);
  EXPECT_EQ(caption, "Untitled - Tester");
  frame->GetActiveDocument()->SetTitle("game.tst");
  frame->GetWindowText(caption);
  EXPECT_EQ(caption, "game.tst - Tester");
}

TEST_F(FrameWndTest, LayoutLeavesRoomForControlBars) {
  CTestFrame* frame = Start();
  CWnd top, status;
  ASSERT_TRUE(top.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 20), frame, AFX_IDW_TOOLBAR));
  ASSERT_TRUE(status.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 15), frame, AFX_IDW_STATUS_BAR));
  frame->RecalcLayout();
  CRect client, pane;
  frame->GetClientRect(&client);
  frame->m_splitter.GetWindowRect(&pane);
  frame->ScreenToClient(&pane);
  EXPECT_EQ(pane.top, 20);
  EXPECT_EQ(pane.bottom, client.bottom - 15);
  EXPECT_EQ(pane.Width(), client.Width());
  // A hidden bar takes no room.
  status.ShowWindow(SW_HIDE);
  frame->RecalcLayout();
  frame->m_splitter.GetWindowRect(&pane);
  frame->ScreenToClient(&pane);
  EXPECT_EQ(pane.bottom, client.bottom);
}

TEST_F(FrameWndTest, PaneFollowsTheFrameSizeAndMaximising) {
  CTestFrame* frame = Start();
  frame->MoveWindow(0, 0, 640, 480);
  CRect client, pane;
  frame->GetClientRect(&client);
  frame->m_splitter.GetClientRect(&pane);
  EXPECT_EQ(pane.Width(), client.Width());
  EXPECT_EQ(pane.Height(), client.Height());
  frame->ShowWindow(SW_SHOWMAXIMIZED);
  EXPECT_TRUE(frame->IsZoomed());
  frame->GetClientRect(&client);
  frame->m_splitter.GetClientRect(&pane);
  EXPECT_EQ(pane.Width(), client.Width());
  CRect upper;
  frame->m_splitter.GetPane(0, 0)->GetClientRect(&upper);
  EXPECT_EQ(upper.Width(), client.Width());
}

TEST_F(FrameWndTest, ClosingAModifiedDocumentAsksAndCancelKeepsEverything) {
  CTestFrame* frame = Start();
  HWND hwnd = frame->m_hWnd;
  CDocument* doc = frame->GetActiveDocument();
  doc->SetModifiedFlag();
  m_script.buttons = {IDCANCEL};
  frame->SendMessage(WM_CLOSE);
  EXPECT_TRUE(::IsWindow(hwnd));
  ASSERT_EQ(m_script.texts.size(), 1u);
  EXPECT_EQ(m_script.texts[0], "Save changes to Untitled?");
  EXPECT_FALSE(platform::QuitRequested());

  m_script.buttons = {IDNO};
  Log().clear();
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
  EXPECT_TRUE(platform::QuitRequested());
  EXPECT_NE(std::find(Log().begin(), Log().end(), "doc deleted"), Log().end());
  EXPECT_EQ(m_app.GetDocTemplates().front()->GetOpenDocument(), nullptr);
}

// The window manager's close, posted just before a modal window opened over the frame, is
// held while the frame is disabled (its opener's code still runs below the modal loop), and the
// frame closes once the modal window is gone.
TEST_F(FrameWndTest, ACloseThatComesUnderAModalWindowWaitsForItsEnd) {
  CTestFrame* frame = Start();
  HWND hwnd = frame->m_hWnd;
  frame->EnableWindow(FALSE);
  frame->PostMessage(WM_CLOSE);
  platform::PumpMessages();
  EXPECT_TRUE(::IsWindow(hwnd));
  // A second close while it waits still closes once.
  frame->PostMessage(WM_CLOSE);
  platform::PumpMessages();
  EXPECT_TRUE(::IsWindow(hwnd));
  Log().clear();
  frame->EnableWindow(TRUE);
  EXPECT_TRUE(::IsWindow(hwnd));
  platform::PumpMessages();
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_TRUE(platform::QuitRequested());
  EXPECT_NE(std::find(Log().begin(), Log().end(), "doc deleted"), Log().end());
}

TEST_F(FrameWndTest, AppExitClosesTheMainFrame) {
  CTestFrame* frame = Start();
  HWND hwnd = frame->m_hWnd;
  Command(frame, ID_APP_EXIT);
  EXPECT_FALSE(::IsWindow(hwnd));
  int code = -1;
  EXPECT_TRUE(platform::QuitRequested(&code));
  EXPECT_EQ(code, 0);
}

TEST_F(FrameWndTest, IdleUpdateReachesTheControlBars) {
  CTestFrame* frame = Start();
  struct CountingBar : public CWnd {
    int updates{0};
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == WM_IDLEUPDATECMDUI) ++updates;
      return CWnd::WindowProc(message, wParam, lParam);
    }
  } bar;
  ASSERT_TRUE(bar.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_TOOLBAR));
  EXPECT_FALSE(m_app.OnIdle(0));
  EXPECT_EQ(bar.updates, 1);
  m_app.OnIdle(1);
  EXPECT_EQ(bar.updates, 1);
}

TEST_F(FrameWndTest, DragAcceptFilesSetsTheStyle) {
  CTestFrame* frame = Start();
  frame->DragAcceptFiles();
  EXPECT_TRUE(frame->GetExStyle() & WS_EX_ACCEPTFILES);
  frame->DragAcceptFiles(FALSE);
  EXPECT_FALSE(frame->GetExStyle() & WS_EX_ACCEPTFILES);
}

}  // namespace
}  // namespace frametest

#include <gtest/gtest.h>

#include "FrameTestSupport.h"

namespace frametest {
namespace {

class SplitterWndTest : public FrameFixture {
protected:
  CTestFrame* Start() {
    CTestApp* app = &m_app;
    EXPECT_TRUE(app->InitInstance());
    return MainFrame();
  }
  CTestApp m_app;
};

TEST_F(SplitterWndTest, UpperPaneSwitchesAmongThreeViewClasses) {
  CTestFrame* frame = Start();
  ASSERT_NE(frame, nullptr);
  CView* first = frame->GetActiveView();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->IsKindOf(RUNTIME_CLASS(CFirstView)));
  EXPECT_EQ(frame->m_splitter.GetPane(0, 0), first);
  CDocument* doc = first->GetDocument();
  ASSERT_NE(doc, nullptr);

  Log().clear();
  frame->SwitchView(RUNTIME_CLASS(CSecondView));
  CView* second = frame->GetActiveView();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->IsKindOf(RUNTIME_CLASS(CSecondView)));
  EXPECT_EQ(frame->m_splitter.GetPane(0, 0), second);
  EXPECT_EQ(second->GetDocument(), doc);
  EXPECT_EQ(Log(), (std::vector<std::string>{"destroyed first", "init second"}));
  // The lower pane and the document are untouched.
  EXPECT_EQ(doc->GetViews().size(), 2u);

  Log().clear();
  frame->SwitchView(RUNTIME_CLASS(CSecondView));
  EXPECT_EQ(frame->GetActiveView(), second);
  EXPECT_TRUE(Log().empty());

  frame->SwitchView(RUNTIME_CLASS(CThirdView));
  EXPECT_TRUE(frame->GetActiveView()->IsKindOf(RUNTIME_CLASS(CThirdView)));
  frame->SwitchView(RUNTIME_CLASS(CFirstView));
  EXPECT_TRUE(frame->GetActiveView()->IsKindOf(RUNTIME_CLASS(CFirstView)));
  EXPECT_EQ(Log(), (std::vector<std::string>{"destroyed second", "init third", "destroyed third", "init first"}));
  EXPECT_EQ(AfxGetApp()->GetDocTemplates().front()->GetOpenDocument(), doc);
}

TEST_F(SplitterWndTest, NewPaneTakesTheOldPanesPlace) {
  CTestFrame* frame = Start();
  CRect before;
  frame->m_splitter.GetPane(0, 0)->GetWindowRect(&before);
  frame->SwitchView(RUNTIME_CLASS(CThirdView));
  CRect after;
  frame->m_splitter.GetPane(0, 0)->GetWindowRect(&after);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.Width(), before.Width());
  EXPECT_EQ(after.Height(), before.Height());
  EXPECT_GT(after.Height(), 0);
}

TEST_F(SplitterWndTest, RowsTakeTheirIdealHeightAndTheLastTheRest) {
  CTestFrame* frame = Start();
  CSplitterWnd& splitter = frame->m_splitter;
  splitter.MoveWindow(0, 0, 400, 500);
  splitter.SetRowInfo(0, 500 - 62, 1);
  splitter.RecalcLayout();
  int current = 0, minimum = 0;
  splitter.GetRowInfo(0, current, minimum);
  EXPECT_EQ(current, 438);
  splitter.GetRowInfo(1, current, minimum);
  EXPECT_EQ(current, 62 - CSplitterWnd::kSplitterGap);
  CRect lower;
  splitter.GetPane(1, 0)->GetClientRect(&lower);
  EXPECT_EQ(lower.Height(), 62 - CSplitterWnd::kSplitterGap);
  EXPECT_EQ(lower.Width(), 400);

  // A client too small for the ideal height: the upper row keeps its minimum of 1.
  splitter.MoveWindow(0, 0, 400, 40);
  splitter.SetRowInfo(0, 1, 1);
  splitter.RecalcLayout();
  splitter.GetRowInfo(0, current, minimum);
  EXPECT_EQ(current, 1);
  splitter.GetRowInfo(1, current, minimum);
  EXPECT_EQ(current, 40 - 1 - CSplitterWnd::kSplitterGap);
}

TEST_F(SplitterWndTest, RowBelowItsMinimumFoldsAndNothingGoesNegative) {
  CTestFrame* frame = Start();
  CSplitterWnd& splitter = frame->m_splitter;
  splitter.MoveWindow(0, 0, 100, 3);
  splitter.SetRowInfo(0, 50, 10);
  splitter.RecalcLayout();
  int current = -1, minimum = 0;
  splitter.GetRowInfo(0, current, minimum);
  EXPECT_EQ(current, 0);
  splitter.GetRowInfo(1, current, minimum);
  EXPECT_GE(current, 0);
}

TEST_F(SplitterWndTest, BadPanesAndShapesAreRefused) {
  CTestFrame* frame = Start();
  CSplitterWnd& splitter = frame->m_splitter;
  EXPECT_EQ(splitter.GetPane(2, 0), nullptr);
  EXPECT_EQ(splitter.GetPane(0, 1), nullptr);
  EXPECT_EQ(splitter.GetPane(-1, 0), nullptr);
  // The pane is taken.
  CCreateContext context;
  EXPECT_FALSE(splitter.CreateView(0, 0, RUNTIME_CLASS(CThirdView), SIZE{0, 10}, &context));
  // A class that cannot be made dynamically.
  splitter.DeleteView(1, 0);
  EXPECT_EQ(splitter.GetPane(1, 0), nullptr);
  EXPECT_FALSE(splitter.CreateView(1, 0, RUNTIME_CLASS(CView), SIZE{0, 10}, &context));
  splitter.SetRowInfo(7, 10, 10);  // ignored

  CSplitterWnd other;
  EXPECT_FALSE(other.CreateStatic(frame, 0, 1));
  EXPECT_FALSE(other.CreateStatic(frame, 17, 1));
  EXPECT_FALSE(other.CreateStatic(nullptr, 1, 1));
}

TEST_F(SplitterWndTest, DeletingTheActiveViewMovesActivationToAnotherPane) {
  CTestFrame* frame = Start();
  CWnd* lower = frame->m_splitter.GetPane(1, 0);
  frame->m_splitter.DeleteView(0, 0);
  EXPECT_EQ(frame->GetActiveView(), lower);
  EXPECT_EQ(frame->m_splitter.GetPane(0, 0), nullptr);
}

}  // namespace
}  // namespace frametest

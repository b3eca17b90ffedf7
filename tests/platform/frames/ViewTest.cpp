#include <gtest/gtest.h>

#include <filesystem>

#include "FrameTestSupport.h"
#include "platform/files.h"
#include "platform/gdi.h"

namespace frametest {
namespace {

// A view that prints a page-numbered sheet: page 1 red, page 2 blue, in the top half of the
// drawing area only.
class CSheetView : public CNamedView {
public:
  CSheetView() : CNamedView("sheet", RGB(0, 0, 0)) {}
  BOOL OnPreparePrinting(CPrintInfo* info) override {
    info->SetMaxPage(m_pages);
    info->m_strOutputPrefix = m_prefix.c_str();
    info->m_nDpi = 50;
    steps.push_back("prepare");
    return DoPreparePrinting(info);
  }
  void OnBeginPrinting(CDC*, CPrintInfo*) override { steps.push_back("begin"); }
  void OnPrint(CDC* dc, CPrintInfo* info) override {
    steps.push_back("page " + std::to_string(info->m_nCurPage));
    CRect half = info->m_rectDraw;
    half.bottom = half.top + half.Height() / 2;
    dc->FillSolidRect(&half, info->m_nCurPage == 1 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    drawRect = info->m_rectDraw;
  }
  void OnEndPrinting(CDC*, CPrintInfo*) override { steps.push_back("end"); }

  UINT m_pages{2};
  std::string m_prefix;
  std::vector<std::string> steps;
  CRect drawRect;
};

class ViewTest : public FrameFixture {
protected:
  ViewTest() {
    m_view.m_prefix = m_dir / "page-";
    EXPECT_TRUE(m_view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &m_parent, 1));
  }
  ~ViewTest() override {
    // The view deletes itself when destroyed; this one lives on the stack.
    m_view.Detach();
  }
  std::uint32_t PixelAt(const std::string& path, int x, int y) {
    platform::Surface page;
    EXPECT_TRUE(platform::LoadPng(path.c_str(), page));
    return page.Row(y)[x] & 0xFFFFFF;
  }

  platform::TempDir m_dir;
  CWnd m_parent;
  CSheetView m_view;
  BOOL m_parentMade{m_parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr)};
};

TEST_F(ViewTest, TwoPageJobWritesTwoPngPagesWithWhatOnPrintDrew) {
  m_script.printAnswers = {true};
  CPrintInfo info;
  ASSERT_TRUE(m_view.RunPrintJob(info));
  EXPECT_EQ(m_view.steps, (std::vector<std::string>{"prepare", "begin", "page 1", "page 2", "end"}));
  std::string first = m_dir / "page-1.png";
  std::string second = m_dir / "page-2.png";
  ASSERT_TRUE(std::filesystem::exists(first));
  ASSERT_TRUE(std::filesystem::exists(second));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "page-3.png"));
  // A4 at 50 dpi.
  EXPECT_EQ(m_view.drawRect, CRect(0, 0, 413, 585));
  EXPECT_EQ(PixelAt(first, 10, 10), 0xFF0000u);
  EXPECT_EQ(PixelAt(second, 10, 10), 0x0000FFu);
  EXPECT_EQ(PixelAt(second, 10, 500), 0xFFFFFFu);
}

TEST_F(ViewTest, CancelledPrintDialogPrintsNothing) {
  m_script.printAnswers = {false};
  CPrintInfo info;
  EXPECT_FALSE(m_view.RunPrintJob(info));
  EXPECT_EQ(m_view.steps, (std::vector<std::string>{"prepare"}));
  EXPECT_FALSE(std::filesystem::exists(m_dir / "page-1.png"));
}

TEST_F(ViewTest, UnknownPageCountPrintsOnlyTheFirstPage) {
  m_view.m_pages = 0xFFFF;
  CPrintInfo info;
  info.m_bDirect = TRUE;
  ASSERT_TRUE(m_view.RunPrintJob(info));
  EXPECT_EQ(m_view.steps, (std::vector<std::string>{"prepare", "begin", "page 1", "end"}));
}

TEST_F(ViewTest, EmptyPageRangeIsNotReportedAsPrinted) {
  m_view.m_pages = 0;
  CPrintInfo info;
  info.m_bDirect = TRUE;
  EXPECT_FALSE(m_view.RunPrintJob(info));
  EXPECT_EQ(m_view.steps, (std::vector<std::string>{"prepare", "begin", "end"}));
}

TEST_F(ViewTest, PrintCommandRunsTheJob) {
  m_script.printAnswers = {true};
  m_view.SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
  EXPECT_TRUE(std::filesystem::exists(m_dir / "page-2.png"));
  m_view.steps.clear();
  // The direct command does not ask.
  m_view.SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT, 0);
  EXPECT_EQ(m_view.steps.size(), 5u);
  EXPECT_TRUE(m_script.printAnswers.empty());
}

class CPlainScrollView : public CScrollView {
public:
  void OnDraw(CDC*) override {}
  using CScrollView::OnVScroll;
};

class ScrollViewTest : public FrameFixture {};

TEST_F(ScrollViewTest, PositionStaysInsideTheDrawingAndMovesTheScreenOrigin) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr));
  auto* view = new CPlainScrollView;  // deletes itself with its window
  ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &parent, 1));
  view->SetScrollSizes(MM_TEXT, SIZE{300, 250});
  view->ScrollToPosition(CPoint(500, -5));
  EXPECT_EQ(view->GetScrollPosition().x, 200);
  EXPECT_EQ(view->GetScrollPosition().y, 0);
  view->OnVScroll(SB_PAGEDOWN, 0, nullptr);
  EXPECT_EQ(view->GetScrollPosition().y, 25);
  view->OnVScroll(SB_BOTTOM, 0, nullptr);
  EXPECT_EQ(view->GetScrollPosition().y, 150);

  CClientDC screen(view);
  view->OnPrepareDC(&screen);
  CPoint origin = screen.SetViewportOrg(0, 0);
  EXPECT_EQ(origin.x, -200);
  EXPECT_EQ(origin.y, -150);
  // A drawing smaller than the window does not scroll at all.
  view->SetScrollSizes(MM_TEXT, SIZE{50, 50});
  EXPECT_EQ(view->GetScrollPosition().x, 0);
  EXPECT_EQ(view->GetScrollPosition().y, 0);
}

class UpdateAllViewsTest : public FrameFixture {};

TEST_F(UpdateAllViewsTest, EveryViewButTheSenderIsUpdated) {
  CTestApp app;
  ASSERT_TRUE(app.InitInstance());
  auto* frame = dynamic_cast<CTestFrame*>(AfxGetMainWnd());
  auto* upper = dynamic_cast<CNamedView*>(frame->m_splitter.GetPane(0, 0));
  auto* lower = dynamic_cast<CNamedView*>(frame->m_splitter.GetPane(1, 0));
  ASSERT_TRUE(upper && lower);
  int upperBefore = upper->m_updates;
  int lowerBefore = lower->m_updates;
  upper->GetDocument()->UpdateAllViews(upper);
  EXPECT_EQ(upper->m_updates, upperBefore);
  EXPECT_EQ(lower->m_updates, lowerBefore + 1);
  upper->GetDocument()->UpdateAllViews(nullptr);
  EXPECT_EQ(upper->m_updates, upperBefore + 1);
}

}  // namespace
}  // namespace frametest

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

// A document that learns its page count only when printing begins, as a laid-out diagram does.
class CLateCountView : public CSheetView {
public:
  BOOL OnPreparePrinting(CPrintInfo* info) override {
    info->m_strOutputPrefix = m_prefix.c_str();
    info->m_nDpi = 50;
    return DoPreparePrinting(info);
  }
  void OnBeginPrinting(CDC* dc, CPrintInfo* info) override {
    CSheetView::OnBeginPrinting(dc, info);
    info->SetMaxPage(m_pages);
  }
};

TEST_F(ViewTest, APageRangePastTheDocumentStopsAtItsLastPage) {
  CLateCountView view;
  view.m_prefix = m_dir / "late-";
  ASSERT_TRUE(view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &m_parent, 2));
  struct Case {
    UINT pages, from, to;
    std::vector<std::string> printed;
  };
  const Case cases[] = {
      {1, 3, 9, {"page 1"}},            // wholly past the end: the last page, no blank sheets
      {2, 2, 9, {"page 2"}},            // running past the end
      {2, 1, 2, {"page 1", "page 2"}},  // within
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + "-" + std::to_string(c.to) + " of " + std::to_string(c.pages));
    for (int page = 1; page <= 9; ++page) std::filesystem::remove(m_dir / ("late-" + std::to_string(page) + ".png"));
    view.m_pages = c.pages;
    view.steps.clear();
    CPrintInfo info;
    info.m_bDirect = TRUE;
    info.SetPageRange(c.from, c.to);
    ASSERT_TRUE(view.RunPrintJob(info));
    std::vector<std::string> expected{"begin"};
    expected.insert(expected.end(), c.printed.begin(), c.printed.end());
    expected.push_back("end");
    EXPECT_EQ(view.steps, expected);
    for (UINT page = c.pages + 1; page <= 9; ++page)
      EXPECT_FALSE(std::filesystem::exists(m_dir / ("late-" + std::to_string(page) + ".png"))) << page;
  }
  view.Detach();
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

// A view that, as some programs' views do, takes its bars away whenever it is resized, or changes
// its drawing to its new size; it counts how often it was told.
class CStubbornScrollView : public CScrollView {
public:
  void OnDraw(CDC*) override {}
  int sizes{0};
  bool hideBars{false};
  int growBy{0};  // the drawing follows the client size, this much larger
  int closeAt{0};  // closes itself when told of its size this many times

protected:
  void OnSize(UINT type, int cx, int cy) {
    if (++sizes == closeAt) {
      DestroyWindow();  // the view deletes itself with its window
      return;
    }
    CScrollView::OnSize(type, cx, cy);
    if (hideBars) ::ShowScrollBar(m_hWnd, SB_BOTH, FALSE);
    if (growBy) SetScrollSizes(MM_TEXT, SIZE{cx + growBy, cy + growBy});
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStubbornScrollView, CScrollView)
  ON_WM_SIZE()
END_MESSAGE_MAP()

class ScrollViewTest : public FrameFixture {
protected:
  ScrollViewTest() { m_parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr); }
  template <class View>
  View* Make(CRect rect = CRect(0, 0, 100, 100)) {
    auto* view = new View;  // deletes itself with its window
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, &m_parent, 1)) return nullptr;
    return view;
  }
  static SCROLLINFO Bar(CWnd* view, int bar) {
    SCROLLINFO info{};
    view->GetScrollInfo(bar, &info, SIF_ALL);
    return info;
  }
  CWnd m_parent;
  const int m_barWidth{::GetSystemMetrics(SM_CXVSCROLL)};
  const int m_barHeight{::GetSystemMetrics(SM_CYHSCROLL)};
};

TEST_F(ScrollViewTest, BarsShowWhereTheDrawingOverflowsAndTheirRangesFollowTheClientArea) {
  CPlainScrollView* view = Make<CPlainScrollView>();
  ASSERT_NE(view, nullptr);
  // total (cx, cy) in a 100x100 window -> bars shown (vertical, horizontal).
  struct Case {
    SIZE total;
    bool vertical;
    bool horizontal;
  };
  const int w = m_barWidth;
  const Case cases[] = {
      {{50, 50}, false, false},
      {{100, 100}, false, false},  // exactly the window: nothing to scroll
      {{100, 101}, true, true},    // the vertical bar's strip makes the width overflow too
      {{100 - w, 101}, true, false},
      {{101, 100 - m_barHeight}, false, true},
      {{300, 250}, true, true},
  };
  for (const Case& c : cases) {
    view->SetScrollSizes(MM_TEXT, c.total);
    const DWORD style = view->GetStyle();
    EXPECT_EQ((style & WS_VSCROLL) != 0, c.vertical) << c.total.cx << "x" << c.total.cy;
    EXPECT_EQ((style & WS_HSCROLL) != 0, c.horizontal) << c.total.cx << "x" << c.total.cy;
    CRect client;
    view->GetClientRect(&client);
    EXPECT_EQ(client.Width(), 100 - (c.vertical ? w : 0));
    EXPECT_EQ(client.Height(), 100 - (c.horizontal ? m_barHeight : 0));
    if (c.vertical) {
      const SCROLLINFO bar = Bar(view, SB_VERT);
      EXPECT_EQ(bar.nMax, c.total.cy - 1);
      EXPECT_EQ(static_cast<int>(bar.nPage), client.Height());
    }
  }

  // 300x250 with both bars: the position stops where the drawing's far edges meet the client's.
  CRect client;
  view->GetClientRect(&client);
  const int lastX = 300 - client.Width();
  const int lastY = 250 - client.Height();
  view->ScrollToPosition(CPoint(500, -5));
  EXPECT_EQ(view->GetScrollPosition(), CPoint(lastX, 0));
  EXPECT_EQ(view->GetScrollPos(SB_HORZ), lastX);
  view->OnVScroll(SB_PAGEDOWN, 0, nullptr);
  EXPECT_EQ(view->GetScrollPosition().y, 25);
  view->OnVScroll(SB_BOTTOM, 0, nullptr);
  EXPECT_EQ(view->GetScrollPosition().y, lastY);
  EXPECT_EQ(view->GetScrollPos(SB_VERT), lastY);
  CClientDC screen(view);
  view->OnPrepareDC(&screen);
  EXPECT_EQ(screen.SetViewportOrg(0, 0), CPoint(-lastX, -lastY));

  // Growing the window takes the bars away and brings the drawing back to its origin.
  view->MoveWindow(0, 0, 320, 270);
  EXPECT_FALSE(view->GetStyle() & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_EQ(view->GetScrollPosition(), CPoint(0, 0));
  // Shrinking it again keeps the position within the smaller drawing's reach.
  view->ScrollToPosition(CPoint(0, 0));
  view->MoveWindow(0, 0, 100, 100);
  EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
  view->OnVScroll(SB_BOTTOM, 0, nullptr);
  view->MoveWindow(0, 0, 100, 200);
  view->GetClientRect(&client);
  EXPECT_EQ(view->GetScrollPosition().y, 250 - client.Height());
}

TEST_F(ScrollViewTest, TheWheelAndKeysScrollOnlyAlongTheBarsThatShow) {
  CPlainScrollView* view = Make<CPlainScrollView>();
  ASSERT_NE(view, nullptr);
  view->SetScrollSizes(MM_TEXT, SIZE{60, 400}, SIZE{50, 50}, SIZE{10, 10});
  ASSERT_TRUE(view->GetStyle() & WS_VSCROLL);
  ASSERT_FALSE(view->GetStyle() & WS_HSCROLL);
  // One notch down: three lines. Shift has no sideways bar to turn to, so it scrolls down too.
  view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(view->GetScrollPosition(), CPoint(0, 30));
  view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(view->GetScrollPosition(), CPoint(0, 60));
  // Four notches at once are held to a page.
  view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(4 * WHEEL_DELTA)), 0);
  EXPECT_EQ(view->GetScrollPosition(), CPoint(0, 10));
  // Keys reach the view when it holds the focus itself.
  view->SetFocus();
  const struct {
    UINT key;
    int y;
  } keys[] = {{VK_DOWN, 20}, {VK_NEXT, 70}, {VK_UP, 60}, {VK_END, 400 - 100}, {VK_PRIOR, 250}, {VK_HOME, 0},
              {VK_RIGHT, 0}};
  for (const auto& k : keys) {
    view->SendMessage(WM_KEYDOWN, k.key, 0);
    EXPECT_EQ(view->GetScrollPosition(), CPoint(0, k.y)) << k.key;
  }
  EXPECT_EQ(view->GetScrollPos(SB_VERT), 0);
}

TEST_F(ScrollViewTest, AViewChangingItsBarsOrDrawingWhileResizedSettlesAtOnce) {
  // Takes its bars away on every size change: they stay away, and the sizes told stay few.
  CStubbornScrollView* hiding = Make<CStubbornScrollView>();
  ASSERT_NE(hiding, nullptr);
  hiding->hideBars = true;
  hiding->SetScrollSizes(MM_TEXT, SIZE{300, 300});
  hiding->sizes = 0;
  hiding->MoveWindow(0, 0, 120, 90);
  EXPECT_FALSE(hiding->GetStyle() & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_LE(hiding->sizes, 10);
  CRect client;
  hiding->GetClientRect(&client);
  EXPECT_EQ(client.Size(), CSize(120, 90));

  // A drawing always larger than the window, whatever the bars leave of it: bars on both sides,
  // each ranged by the drawing the last size gave.
  CStubbornScrollView* growing = Make<CStubbornScrollView>(CRect(0, 0, 50, 50));
  ASSERT_NE(growing, nullptr);
  growing->growBy = 20;
  growing->sizes = 0;
  growing->MoveWindow(0, 0, 150, 140);
  EXPECT_EQ(growing->GetStyle() & (WS_HSCROLL | WS_VSCROLL), static_cast<DWORD>(WS_HSCROLL | WS_VSCROLL));
  EXPECT_LE(growing->sizes, 10);
  growing->GetClientRect(&client);
  EXPECT_EQ(Bar(growing, SB_VERT).nMax, growing->GetTotalSize().cy - 1);
  EXPECT_EQ(static_cast<int>(Bar(growing, SB_VERT).nPage), client.Height());
  EXPECT_GT(growing->GetTotalSize().cy, client.Height());

  // Closing itself when told its bars changed its size: the update stops there, touching nothing.
  CStubbornScrollView* closing = Make<CStubbornScrollView>(CRect(0, 0, 300, 300));
  ASSERT_NE(closing, nullptr);
  const HWND handle = closing->m_hWnd;
  closing->sizes = 0;
  closing->closeAt = 2;
  closing->SetScrollSizes(MM_TEXT, SIZE{500, 500});
  EXPECT_FALSE(::IsWindow(handle));
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

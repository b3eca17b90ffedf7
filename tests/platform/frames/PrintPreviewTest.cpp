#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FrameTestSupport.h"
#include "platform/controlbars.h"
#include "platform/files.h"
#include "platform/gdi.h"
#include "platform/preview.h"
#include "platform/testinput.h"
#include "support/SnapshotPath.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/messageloop.h"
#include "platform/time.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace frametest {

// Prints numbered sheets: the top half of each page in the page's colour, and a black stripe
// down the page at printer columns 200 to 240.
class CSheetPrintView : public CView {
  DECLARE_DYNCREATE(CSheetPrintView)
public:
  static constexpr COLORREF kPageColours[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 160, 0), RGB(200, 200, 0)};

  void OnDraw(CDC*) override {}
  BOOL OnPreparePrinting(CPrintInfo* info) override {
    steps.push_back(info->m_bPreview ? "prepare preview" : "prepare");
    if (!m_openEnded) info->SetMaxPage(m_pages);
    info->m_strOutputPrefix = m_prefix.c_str();
    info->m_nDpi = m_dpi;
    info->m_nNumPreviewPages = m_startPages;
    return m_cancel ? FALSE : DoPreparePrinting(info);
  }
  void OnBeginPrinting(CDC* dc, CPrintInfo*) override {
    steps.push_back("begin");
    Log().push_back("job begin");
    beganOnPrinter = dc && dc->IsPrinting() && dc->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER;
  }
  void OnPrepareDC(CDC* dc, CPrintInfo* info) override {
    CView::OnPrepareDC(dc, info);
    // An open-ended job goes on for as long as there is something to print.
    if (info && m_openEnded) info->m_bContinuePrinting = info->m_nCurPage <= m_pages;
  }
  void OnPrint(CDC* dc, CPrintInfo* info) override {
    steps.push_back("page " + std::to_string(info->m_nCurPage));
    CRect half = info->m_rectDraw;
    half.bottom = half.top + half.Height() / 2;
    dc->FillSolidRect(&half, kPageColours[(info->m_nCurPage - 1) % 4]);
    dc->FillSolidRect(200, 0, 40, info->m_rectDraw.Height(), RGB(0, 0, 0));
  }
  void OnEndPrinting(CDC*, CPrintInfo*) override {
    steps.push_back("end");
    Log().push_back("job end");
  }

  UINT m_pages{2};
  int m_dpi{50};
  UINT m_startPages{1};
  bool m_openEnded{false};
  bool m_cancel{false};
  std::string m_prefix;
  std::vector<std::string> steps;
  bool beganOnPrinter{false};
};

IMPLEMENT_DYNCREATE(CSheetPrintView, CView)

namespace {

// A4 at 50 dpi.
constexpr int kPageWidth = 413;
constexpr int kPageHeight = 585;

class PrintPreviewTest : public FrameFixture {
protected:
  PrintPreviewTest() {
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CSheetPrintView);
    m_frame = new CTestFrame;  // deletes itself with its window
    EXPECT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, &context));
    EXPECT_TRUE(m_toolBar.Create(m_frame));
    EXPECT_TRUE(m_toolBar.LoadToolBar(IDR_MAINFRAME));
    m_frame->MoveWindow(0, 0, 640, 520);
    m_frame->ShowWindow(SW_SHOW);
    m_view = dynamic_cast<CSheetPrintView*>(m_frame->GetActiveView());
    EXPECT_NE(m_view, nullptr);
    if (m_view) m_view->m_prefix = m_dir / "page-";
  }

  // Runs the frame's print preview command; the preview, or null when none shows.
  CPreviewView* OpenPreview() {
    m_frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
    return Preview();
  }
  CPreviewView* Preview() const { return dynamic_cast<CPreviewView*>(m_frame->GetActiveView()); }
  void Command(UINT id) { m_frame->SendMessage(WM_COMMAND, id, 0); }
  void Paint() { m_frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }
  COLORREF PixelAt(CWnd* window, int x, int y) {
    CClientDC dc(window);
    return dc.GetPixel(x, y);
  }
  // The colour of shown page index at a fraction of its width and height.
  COLORREF PagePixel(CPreviewView* preview, int index, double fx, double fy) {
    CRect page = preview->GetPageRect(index);
    return PixelAt(preview, page.left + static_cast<int>(page.Width() * fx), page.top + static_cast<int>(page.Height() * fy));
  }
  bool ButtonEnabled(CPreviewView* preview, UINT id) {
    CButton* button = preview->GetBar().GetButton(id);
    return button && button->IsWindowEnabled();
  }
  bool FilesWritten() const { return !std::filesystem::is_empty(std::filesystem::path(m_dir.Path())); }

  platform::TempDir m_dir;
  CTestFrame* m_frame{nullptr};
  CSheetPrintView* m_view{nullptr};
  CToolBar m_toolBar;
};

TEST_F(PrintPreviewTest, ShowsWhatOnPrintDrewScaledDownPageByPage) {
  ASSERT_NE(m_view, nullptr);
  m_script.printAnswers = {false};
  CPreviewView* preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  // Previewing asks no print dialog.
  EXPECT_EQ(m_script.printAnswers.size(), 1u);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);
  EXPECT_EQ(preview->GetPagesShown(), 1);
  EXPECT_TRUE(m_view->beganOnPrinter);
  Paint();

  // The whole page fits the window, in the printed page's proportions.
  CRect client, page = preview->GetPageRect(0);
  preview->GetClientRect(&client);
  EXPECT_TRUE(CRect().IntersectRect(&client, &page));
  EXPECT_LE(page.bottom, client.bottom);
  EXPECT_LT(page.Height(), kPageHeight);
  EXPECT_NEAR(static_cast<double>(page.Width()) / page.Height(), static_cast<double>(kPageWidth) / kPageHeight, 0.01);

  EXPECT_EQ(PagePixel(preview, 0, 0.1, 0.25), RGB(255, 0, 0));
  EXPECT_EQ(PagePixel(preview, 0, 0.1, 0.75), RGB(255, 255, 255));
  // The stripe lands where the scale puts printer column 220.
  double scale = static_cast<double>(page.Width()) / kPageWidth;
  EXPECT_EQ(PixelAt(preview, page.left + static_cast<int>(220 * scale), page.top + page.Height() * 3 / 4), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(preview, 2, 2), ::GetSysColor(COLOR_APPWORKSPACE));

  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  Paint();
  EXPECT_EQ(PagePixel(preview, 0, 0.1, 0.25), RGB(0, 0, 255));
  EXPECT_EQ(PagePixel(preview, 0, 0.1, 0.75), RGB(255, 255, 255));
  // Nothing reaches paper while previewing.
  EXPECT_FALSE(FilesWritten());
}

TEST_F(PrintPreviewTest, NextAndPreviousStayWithinTheJobsPages) {
  ASSERT_NE(m_view, nullptr);
  CPreviewView* preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_PREV));
  EXPECT_TRUE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
  Command(AFX_ID_PREVIEW_PREV);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);

  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
  EXPECT_TRUE(ButtonEnabled(preview, AFX_ID_PREVIEW_PREV));
  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  EXPECT_FALSE(preview->SetCurrentPage(3));
  EXPECT_FALSE(preview->SetCurrentPage(0));
  EXPECT_EQ(preview->GetCurrentPage(), 2u);

  Command(AFX_ID_PREVIEW_PREV);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);
  // Each page was printed once, and page 3 never.
  EXPECT_EQ(m_view->steps, (std::vector<std::string>{"prepare preview", "begin", "page 1", "page 2", "page 1"}));
}

TEST_F(PrintPreviewTest, OpenEndedJobGoesOnWhileTheViewKeepsPrinting) {
  ASSERT_NE(m_view, nullptr);
  m_view->m_openEnded = true;
  m_view->m_pages = 3;
  CPreviewView* preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  Command(AFX_ID_PREVIEW_NEXT);
  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 3u);
  Paint();
  EXPECT_EQ(PagePixel(preview, 0, 0.1, 0.25), RGB(0, 160, 0));
  EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 3u);
}

TEST_F(PrintPreviewTest, UnknownPageCountShowsOnlyTheFirstPageByDefault) {
  ASSERT_NE(m_view, nullptr);
  m_view->m_pages = 0xFFFF;
  CPreviewView* preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);
  EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
}

TEST_F(PrintPreviewTest, CloseGivesTheFrameItsViewMenuAndBarsBack) {
  ASSERT_NE(m_view, nullptr);
  CWnd* pane = m_frame->GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST));
  ASSERT_NE(pane, nullptr);
  HWND paneWnd = pane->m_hWnd;
  ASSERT_NE(m_frame->GetMenu(), nullptr);
  HMENU menu = m_frame->GetMenu()->m_hMenu;

  CPreviewView* preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  HWND previewWnd = preview->m_hWnd;
  EXPECT_TRUE(m_frame->IsInPreviewMode());
  EXPECT_EQ(m_frame->GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST))->m_hWnd, previewWnd);
  EXPECT_FALSE(::IsWindowVisible(paneWnd));
  EXPECT_EQ(m_frame->GetMenu(), nullptr);
  EXPECT_FALSE(m_toolBar.IsWindowVisible());
  CWnd* bar = m_frame->GetControlBar(AFX_IDW_PREVIEW_BAR);
  ASSERT_NE(bar, nullptr);
  // The preview fills the frame under its bar.
  CRect barRect, previewRect;
  bar->GetWindowRect(&barRect);
  preview->GetWindowRect(&previewRect);
  EXPECT_EQ(previewRect.top, barRect.bottom);

  // The Close button, clicked as a user would.
  CButton* close = preview->GetBar().GetButton(AFX_ID_PREVIEW_CLOSE);
  ASSERT_NE(close, nullptr);
  platform::input::Click(close->m_hWnd, CPoint(5, 5));

  EXPECT_FALSE(::IsWindow(previewWnd));
  EXPECT_FALSE(m_frame->IsInPreviewMode());
  EXPECT_EQ(m_frame->GetActiveView(), m_view);
  EXPECT_EQ(m_frame->GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST))->m_hWnd, paneWnd);
  EXPECT_TRUE(::IsWindowVisible(paneWnd));
  EXPECT_EQ(m_frame->GetControlBar(AFX_IDW_PREVIEW_BAR), nullptr);
  ASSERT_NE(m_frame->GetMenu(), nullptr);
  EXPECT_EQ(m_frame->GetMenu()->m_hMenu, menu);
  EXPECT_TRUE(m_toolBar.IsWindowVisible());
  EXPECT_EQ(m_view->steps, (std::vector<std::string>{"prepare preview", "begin", "page 1", "end"}));

  // The view's commands reach it again, a second preview included.
  ASSERT_NE(OpenPreview(), nullptr);
}

TEST_F(PrintPreviewTest, ClosingTheFrameOnlyEndsThePreview) {
  ASSERT_NE(m_view, nullptr);
  ASSERT_NE(OpenPreview(), nullptr);
  HWND frameWnd = m_frame->m_hWnd;
  m_frame->SendMessage(WM_CLOSE, 0, 0);
  ASSERT_TRUE(::IsWindow(frameWnd));
  EXPECT_EQ(m_frame->GetActiveView(), m_view);
  EXPECT_EQ(m_view->steps.back(), "end");
}

TEST_F(PrintPreviewTest, DestroyingTheFrameEndsTheJobOnce) {
  ASSERT_NE(m_view, nullptr);
  ASSERT_NE(OpenPreview(), nullptr);
  m_frame->DestroyWindow();
  // The view went with the frame; the shared log outlives it.
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "job begin"), 1);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "job end"), 1);
}

TEST_F(PrintPreviewTest, PrintFromThePreviewPrintsTheJob) {
  ASSERT_NE(m_view, nullptr);
  m_script.printAnswers = {true};
  ASSERT_NE(OpenPreview(), nullptr);
  Command(AFX_ID_PREVIEW_NEXT);
  Command(AFX_ID_PREVIEW_PRINT);
  EXPECT_EQ(Preview(), nullptr);
  EXPECT_EQ(m_frame->GetActiveView(), m_view);
  EXPECT_TRUE(std::filesystem::exists(m_dir / "page-1.png"));
  EXPECT_TRUE(std::filesystem::exists(m_dir / "page-2.png"));
  // The preview's job ended before the printed one began.
  EXPECT_EQ(m_view->steps, (std::vector<std::string>{"prepare preview", "begin", "page 1", "page 2", "end", "prepare",
                                                     "begin", "page 1", "page 2", "end"}));
  EXPECT_TRUE(m_script.printAnswers.empty());
}

TEST_F(PrintPreviewTest, CancelledPreparationShowsNothing) {
  ASSERT_NE(m_view, nullptr);
  m_view->m_cancel = true;
  EXPECT_EQ(OpenPreview(), nullptr);
  EXPECT_FALSE(m_frame->IsInPreviewMode());
  EXPECT_EQ(m_frame->GetActiveView(), m_view);
  EXPECT_EQ(m_view->steps, (std::vector<std::string>{"prepare preview"}));
}

TEST_F(PrintPreviewTest, PrinterThatCannotBePreparedIsReportedAndShowsNothing) {
  ASSERT_NE(m_view, nullptr);
  m_view->m_dpi = 0;
  m_script.buttons = {IDOK};
  EXPECT_EQ(OpenPreview(), nullptr);
  EXPECT_FALSE(m_frame->IsInPreviewMode());
  EXPECT_EQ(m_frame->GetActiveView(), m_view);
  EXPECT_EQ(m_script.texts, (std::vector<std::string>{"The printer could not be prepared."}));
  EXPECT_EQ(m_view->steps, (std::vector<std::string>{"prepare preview"}));
}

TEST_F(PrintPreviewTest, TwoPagesSideBySideAndZoom) {
  ASSERT_NE(m_view, nullptr);
  m_view->m_pages = 3;
  CPreviewView* preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  Command(AFX_ID_PREVIEW_NUMPAGE);
  EXPECT_EQ(preview->GetPagesShown(), 2);
  CString caption;
  preview->GetBar().GetButton(AFX_ID_PREVIEW_NUMPAGE)->GetWindowText(caption);
  EXPECT_EQ(caption, CString("&One Page"));
  Paint();
  EXPECT_LT(preview->GetPageRect(0).right, preview->GetPageRect(1).left);
  EXPECT_EQ(PagePixel(preview, 0, 0.1, 0.25), RGB(255, 0, 0));
  EXPECT_EQ(PagePixel(preview, 1, 0.1, 0.25), RGB(0, 0, 255));

  // Pages 2 and 3, then no further: page 3 is the last.
  Command(AFX_ID_PREVIEW_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  EXPECT_EQ(preview->GetPagesShown(), 2);
  EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));

  // Zooming in makes the pages larger; zooming out brings them back.
  CSize fitted = preview->GetPageRect(0).Size();
  EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_ZOOMOUT));
  Command(AFX_ID_PREVIEW_ZOOMIN);
  EXPECT_EQ(preview->GetZoomLevel(), 1);
  EXPECT_GT(preview->GetPageRect(0).Width(), fitted.cx);
  EXPECT_LE(preview->GetPageRect(0).Width(), kPageWidth);
  // Zoomed, the page count cannot change: its button is off and the command does nothing.
  EXPECT_FALSE(ButtonEnabled(preview, AFX_ID_PREVIEW_NUMPAGE));
  Command(AFX_ID_PREVIEW_NUMPAGE);
  EXPECT_EQ(preview->GetPagesShown(), 2);
  Command(AFX_ID_PREVIEW_ZOOMIN);
  Command(AFX_ID_PREVIEW_ZOOMIN);
  EXPECT_LE(preview->GetZoomLevel(), 2);
  EXPECT_LE(preview->GetPageRect(0).Width(), kPageWidth);
  Command(AFX_ID_PREVIEW_ZOOMOUT);
  Command(AFX_ID_PREVIEW_ZOOMOUT);
  EXPECT_EQ(preview->GetZoomLevel(), 0);
  EXPECT_EQ(preview->GetPageRect(0).Size(), fitted);

  // A zoomed page moves with the wheel and the arrow keys; Page Up turns back a page.
  Command(AFX_ID_PREVIEW_ZOOMIN);
  Command(AFX_ID_PREVIEW_ZOOMIN);
  int top = preview->GetPageRect(0).top;
  platform::input::Wheel(preview->m_hWnd, CPoint(50, 50), -120);
  EXPECT_LT(preview->GetPageRect(0).top, top);
  platform::input::PressKey(VK_UP);
  EXPECT_EQ(preview->GetPageRect(0).top, top);
  platform::input::PressKey(VK_PRIOR);
  EXPECT_EQ(preview->GetCurrentPage(), 1u);
  platform::input::PressKey(VK_NEXT);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  Command(AFX_ID_PREVIEW_ZOOMOUT);
  Command(AFX_ID_PREVIEW_ZOOMOUT);
  EXPECT_TRUE(ButtonEnabled(preview, AFX_ID_PREVIEW_NUMPAGE));

  // Back to one page: the last one alone.
  Command(AFX_ID_PREVIEW_NUMPAGE);
  EXPECT_EQ(preview->GetPagesShown(), 1);
  EXPECT_EQ(preview->GetCurrentPage(), 2u);
  EXPECT_TRUE(ButtonEnabled(preview, AFX_ID_PREVIEW_NEXT));
}

// Writes the frame showing a preview as a PNG (into $PLATFORM_SNAPSHOT_DIR when set, else beside
// the test program in the build tree) so that it can be looked at.
TEST_F(PrintPreviewTest, SnapshotOfThePreview) {
  ASSERT_NE(m_view, nullptr);
  m_view->m_startPages = 2;
  CPreviewView* preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->GetPagesShown(), 2);
  Paint();
  std::string path = testsupport::SnapshotPath("print_preview_snapshot.png");
  ASSERT_TRUE(platform::SaveSurfacePng(m_frame->m_hWnd, path.c_str()));
  platform::Surface shot;
  ASSERT_TRUE(platform::LoadPng(path.c_str(), shot));
  EXPECT_GT(shot.width, 600);
}

using platform::testing::OnTheXServer;

class PreviewX11Test : private OnTheXServer, public PrintPreviewTest {
protected:
  void SetUp() override {
    if (!available) GTEST_SKIP() << "no X server";
    platform::Clock::SetManual(false);
  }
  void TearDown() override { platform::DestroyAllWindows(); }
  using OnTheXServer::input;
};

TEST_F(PreviewX11Test, AltLettersPressTheButtonsAZoomedPageScrollsByItsBarsAndEscapeCloses) {
  ASSERT_NE(m_view, nullptr);
  m_view->m_pages = 3;
  CPreviewView* preview = OpenPreview();
  ASSERT_NE(preview, nullptr);
  preview->SetFocus();
  auto wait = [](const std::function<bool()>& pred) { return platform::testing::XPointerKeys::WaitFor(pred); };
  // Alt+N: "&Next Page"; Alt+I: "Zoom &In" (to the printer's own size here).
  input->Key(preview->m_hWnd, XK_n, Mod1Mask);
  ASSERT_TRUE(wait([&] { return preview->GetCurrentPage() == 2u; }));
  input->Key(preview->m_hWnd, XK_i, Mod1Mask);
  ASSERT_TRUE(wait([&] { return preview->GetZoomLevel() == 1; }));
  // The zoomed page is larger than the window: a vertical bar. Its thumb dragged from the top of
  // the track to the end shows the page's foot.
  ASSERT_TRUE(preview->GetStyle() & WS_VSCROLL);
  ASSERT_EQ(preview->GetScrollPosition().y, 0);
  CRect client;
  preview->GetClientRect(&client);
  const int barX = client.right + ::GetSystemMetrics(SM_CXVSCROLL) / 2;
  const int arrow = ::GetSystemMetrics(SM_CYVSCROLL);
  const int top = preview->GetPageRect(0).top;
  input->Button(preview->m_hWnd, CPoint(barX, arrow + 2), true);
  // The bar holds the mouse from the press on; moves sent before the press is seen would not be its.
  ASSERT_TRUE(wait([&] { return ::GetCapture() == preview->m_hWnd; }));
  input->Move(preview->m_hWnd, CPoint(barX, client.bottom + 50), Button1Mask);
  input->Button(preview->m_hWnd, CPoint(barX, client.bottom + 50), false, Button1Mask);
  const int last = preview->GetTotalSize().cy - client.Height();
  ASSERT_TRUE(wait([&] { return preview->GetScrollPosition().y == last; }));
  EXPECT_EQ(preview->GetPageRect(0).top, top - last);
  EXPECT_LE(preview->GetPageRect(0).bottom, client.bottom);
  // A click on the up arrow moves the page back down a step.
  input->Click(preview->m_hWnd, CPoint(barX, arrow / 2));
  ASSERT_TRUE(wait([&] { return preview->GetScrollPosition().y < last; }));
  EXPECT_EQ(preview->GetPageRect(0).top, top - preview->GetScrollPosition().y);
  EXPECT_EQ(preview->GetScrollPos(SB_VERT), preview->GetScrollPosition().y);
  ::UpdateWindow(m_frame->m_hWnd);
  platform::SaveSurfacePng(input->Shown(m_frame->m_hWnd), testsupport::SnapshotPath("x11_preview_zoomed.png").c_str());
  // Escape gives the frame its view back.
  preview->SetFocus();
  input->Key(preview->m_hWnd, XK_Escape);
  ASSERT_TRUE(wait([&] { return m_frame->GetActiveView() == m_view; }));
}

}  // namespace
}  // namespace frametest

namespace frametest {
namespace {

class DocumentPreviewTest : public FrameFixture {
protected:
  CTestApp m_app;
};

// A view of a document application, printing at the printer's full resolution with the default
// printing steps: the preview keeps the frame's document and the routing to it.
TEST_F(DocumentPreviewTest, PreviewKeepsTheDocumentAndItsCommands) {
  ASSERT_TRUE(m_app.InitInstance());
  CTestFrame* frame = MainFrame();
  ASSERT_NE(frame, nullptr);
  CView* view = frame->GetActiveView();
  CDocument* doc = frame->GetActiveDocument();
  ASSERT_NE(doc, nullptr);
  CString caption;
  frame->GetWindowText(caption);

  frame->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
  auto* preview = dynamic_cast<CPreviewView*>(frame->GetActiveView());
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->GetPrintView(), view);
  EXPECT_EQ(frame->GetActiveDocument(), doc);
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  CRect page = preview->GetPageRect(0);
  CClientDC dc(preview);
  EXPECT_EQ(dc.GetPixel(page.CenterPoint()), RGB(255, 0, 0));
  // The view the preview stands in for is out of reach; its document is not.
  Log().clear();
  frame->SendMessage(WM_COMMAND, ID_BOTH, 0);
  frame->SendMessage(WM_COMMAND, ID_DOC_ONLY, 0);
  EXPECT_EQ(Log(), (std::vector<std::string>{"doc both", "doc only"}));
  doc->SetTitle("Renamed");
  CString previewCaption;
  frame->GetWindowText(previewCaption);
  EXPECT_NE(previewCaption.Find("Renamed"), -1);

  frame->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
  EXPECT_EQ(frame->GetActiveView(), view);
  Log().clear();
  frame->SendMessage(WM_COMMAND, ID_BOTH, 0);
  EXPECT_EQ(Log(), (std::vector<std::string>{"view both first"}));
}

}  // namespace
}  // namespace frametest

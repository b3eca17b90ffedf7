// Print preview: the print view's pages, printed on the printer context without being written,
// shown in the frame in place of the view.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/app.h"
#include "platform/gdi.h"
#include "platform/preview.h"

IMPLEMENT_DYNCREATE(CPreviewView, CScrollView)

BEGIN_MESSAGE_MAP(CPreviewView, CScrollView)
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
  ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
  ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
  // Printing while previewing prints the job, not the preview.
  ON_COMMAND(ID_FILE_PRINT, OnPreviewPrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, OnPreviewPrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewPrintPreview)
  ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
  ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
  ON_COMMAND(AFX_ID_PREVIEW_NUMPAGE, OnNumPageChange)
  ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
  ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPageChange)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
  ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
END_MESSAGE_MAP()

namespace {

// The first source index each of count target cells covers, and the end of the last; every cell
// covers at least one source index.
std::vector<int> CellStarts(int source, int count) {
  std::vector<int> starts(static_cast<std::size_t>(count) + 1);
  for (int i = 0; i <= count; ++i) starts[static_cast<std::size_t>(i)] = static_cast<int>(static_cast<long long>(i) * source / count);
  return starts;
}

int CellEnd(const std::vector<int>& starts, int cell, int limit) {
  return std::min(std::max(starts[cell + 1], starts[cell] + 1), limit);
}

// Adds the colour channels of one source row to the sums of the target columns they fall in.
void AddRow(const std::uint32_t* source, const std::vector<int>& columns, int sourceWidth, std::vector<std::uint64_t>& sums) {
  int width = static_cast<int>(columns.size()) - 1;
  for (int x = 0; x < width; ++x) {
    std::uint64_t* sum = &sums[static_cast<std::size_t>(x) * 3];
    for (int sx = columns[x]; sx < CellEnd(columns, x, sourceWidth); ++sx) {
      sum[0] += (source[sx] >> 16) & 0xFF;
      sum[1] += (source[sx] >> 8) & 0xFF;
      sum[2] += source[sx] & 0xFF;
    }
  }
}

// Shrinks from to width x height, each target pixel the average of the source pixels it covers,
// so that thin lines of the printed page stay visible at preview size.
platform::Surface Shrink(const platform::Surface& from, int width, int height) {
  platform::Surface to(width, height);
  if (from.width <= 0 || from.height <= 0 || width <= 0 || height <= 0) return to;
  std::vector<int> columns = CellStarts(from.width, width);
  std::vector<int> rows = CellStarts(from.height, height);
  std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    int rowEnd = CellEnd(rows, y, from.height);
    for (int sy = rows[y]; sy < rowEnd; ++sy) AddRow(from.Row(sy), columns, from.width, sums);
    std::uint32_t* target = to.Row(y);
    for (int x = 0; x < width; ++x) {
      auto count = static_cast<std::uint64_t>(std::max((rowEnd - rows[y]) * (CellEnd(columns, x, from.width) - columns[x]), 1));
      const std::uint64_t* sum = &sums[static_cast<std::size_t>(x) * 3];
      target[x] = static_cast<std::uint32_t>((sum[0] / count) << 16 | (sum[1] / count) << 8 | sum[2] / count);
    }
  }
  return to;
}

// Draws a surface at (x, y) of dc.
void DrawSurface(CDC* dc, int x, int y, const platform::Surface& picture) {
  if (picture.width <= 0 || picture.height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // rows from the top, as the surface keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ::SetDIBitsToDevice(dc->GetSafeHdc(), x, y, static_cast<DWORD>(picture.width), static_cast<DWORD>(picture.height), 0,
                      0, 0, static_cast<UINT>(picture.height), picture.pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

// ---- opening and closing ----

BOOL CPreviewView::ShowPreview(CView* printView) {
  CFrameWnd* frame = printView ? printView->GetParentFrame() : nullptr;
  if (!frame || frame->IsInPreviewMode()) return FALSE;
  auto info = std::make_unique<CPrintInfo>();
  info->m_bPreview = TRUE;
  if (!printView->OnPreparePrinting(info.get())) return FALSE;
  // The preview deletes itself when it closes, or when it fails to open.
  return (new CPreviewView)->Open(frame, printView, std::move(info));
}

BOOL CPreviewView::Open(CFrameWnd* frame, CView* printView, std::unique_ptr<CPrintInfo> info) {
  if (!CreatePrinterContext(m_printerDC, *info)) {
    delete this;
    return FALSE;
  }
  m_pPrintView = printView;
  m_hWndPrintView = printView->m_hWnd;
  m_hWndFrame = frame->m_hWnd;
  m_pPreviewInfo = std::move(info);
  m_nPagesWanted = m_pPreviewInfo->m_nNumPreviewPages == 2 ? 2 : 1;
  CPrintPreviewState state;
  frame->OnSetPreviewMode(TRUE, &state);
  if (!Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, AFX_IDW_PANE_FIRST, nullptr)) {
    // The window that failed has deleted this preview: only the frame is touched.
    frame->OnSetPreviewMode(FALSE, &state);
    return FALSE;
  }
  m_state = std::move(state);
  m_active = true;
  // The frame's active document stays the print view's (for its caption and commands), though
  // the preview is none of the document's views.
  m_pDocument = printView->GetDocument();
  frame->SetActiveView(this);
  m_bar.Create(frame);
  frame->RecalcLayout();
  CPrintInfo& job = *m_pPreviewInfo;
  printView->OnBeginPrinting(&m_printerDC, &job);
  // A job without a page to show leaves an empty preview that can still be closed.
  ShowPages(std::max(job.m_nCurPage, job.GetMinPage()));
  UpdateLayout();
  UpdateBar();
  return TRUE;
}

void CPreviewView::ClosePreview() {
  HWND self = m_hWnd;
  EndPreview();
  if (::IsWindow(self)) ::DestroyWindow(self);
}

void CPreviewView::EndPreview() {
  if (!m_active) return;
  m_active = false;
  if (CView* view = GetPrintView()) view->OnEndPrinting(&m_printerDC, m_pPreviewInfo.get());
  m_printerDC.DeleteDC();
  m_pages.clear();
  m_pDocument = nullptr;
  if (::IsWindow(m_bar.m_hWnd)) m_bar.DestroyWindow();
  // The pane id goes back to the frame's own pane.
  if (::IsWindow(m_hWnd)) SetDlgCtrlID(0);
  if (CFrameWnd* frame = LiveFrame()) frame->OnSetPreviewMode(FALSE, &m_state);
}

void CPreviewView::OnDestroy() {
  EndPreview();
  CScrollView::OnDestroy();
}

CView* CPreviewView::GetPrintView() const {
  CWnd* wnd = ::IsWindow(m_hWndPrintView) ? CWnd::FromHandlePermanent(m_hWndPrintView) : nullptr;
  return wnd && wnd == m_pPrintView ? m_pPrintView : nullptr;
}

CFrameWnd* CPreviewView::LiveFrame() const {
  CWnd* wnd = ::IsWindow(m_hWndFrame) ? CWnd::FromHandlePermanent(m_hWndFrame) : nullptr;
  return dynamic_cast<CFrameWnd*>(wnd);
}

// ---- pages ----

bool CPreviewView::PreparePage(UINT page, int& saved) {
  CView* view = GetPrintView();
  CPrintInfo& job = *m_pPreviewInfo;
  if (!view || !m_printerDC.GetSafeHdc() || page < job.GetMinPage() || page > job.GetMaxPage()) return false;
  saved = m_printerDC.SaveDC();
  job.m_nCurPage = page;
  job.m_bContinuePrinting = TRUE;
  view->OnPrepareDC(&m_printerDC, &job);
  return job.m_bContinuePrinting != FALSE;
}

bool CPreviewView::HasPage(UINT page) {
  UINT current = m_pPreviewInfo->m_nCurPage;
  int saved = 0;
  bool has = PreparePage(page, saved);
  if (saved) m_printerDC.RestoreDC(saved);
  m_pPreviewInfo->m_nCurPage = current;
  return has;
}

bool CPreviewView::PrintPage(UINT page, platform::Surface& out) {
  int saved = 0;
  bool printed = PreparePage(page, saved);
  if (printed) {
    printed = m_printerDC.StartDoc("Print Preview") > 0 && m_printerDC.StartPage() > 0;
    if (printed) {
      CPrintInfo& job = *m_pPreviewInfo;
      job.m_rectDraw.SetRect(0, 0, m_printerDC.GetDeviceCaps(HORZRES), m_printerDC.GetDeviceCaps(VERTRES));
      m_pPrintView->OnPrint(&m_printerDC, &job);
      printed = platform::CopyDCPixels(&m_printerDC, out);
    }
    // The page is only looked at: the document is dropped before anything is written.
    m_printerDC.AbortDoc();
  }
  if (saved) m_printerDC.RestoreDC(saved);
  return printed;
}

bool CPreviewView::LoadPages(UINT page, int count) {
  UINT current = m_pPreviewInfo->m_nCurPage;
  std::vector<ShownPage> pages;
  for (int i = 0; i < count; ++i) {
    ShownPage shown;
    if (!PrintPage(page + static_cast<UINT>(i), shown.printed)) break;
    pages.push_back(std::move(shown));
  }
  if (pages.empty()) {
    m_pPreviewInfo->m_nCurPage = current;
    return false;
  }
  m_pages = std::move(pages);
  m_nCurrentPage = page;
  m_hasNextPage = HasPage(page + static_cast<UINT>(m_pages.size()));
  m_pPreviewInfo->m_nCurPage = page;
  return true;
}

bool CPreviewView::ShowPages(UINT page) { return LoadPages(page, m_nPagesWanted); }

BOOL CPreviewView::SetCurrentPage(UINT page) {
  if (!m_active || !ShowPages(page)) return FALSE;
  UpdateLayout();
  UpdateBar();
  return TRUE;
}

// ---- layout and drawing ----

CPreviewView::Layout CPreviewView::ComputeLayout() const {
  Layout layout;
  if (m_pages.empty() || !m_hWnd) return layout;
  CRect client;
  GetClientRect(&client);
  int count = static_cast<int>(m_pages.size());
  CSize paper(m_pages.front().printed.width, m_pages.front().printed.height);
  double fitWidth = static_cast<double>(client.Width() - (count + 1) * kGap) / (count * paper.cx);
  double fitHeight = static_cast<double>(client.Height() - 2 * kGap) / paper.cy;
  double fit = std::max(std::min(fitWidth, fitHeight), 0.0);
  layout.scale = std::min(1.0, fit * (1 << m_nZoom));
  layout.page = CSize(std::max(1L, std::lround(paper.cx * layout.scale)), std::max(1L, std::lround(paper.cy * layout.scale)));
  int rowWidth = count * layout.page.cx + (count - 1) * kGap;
  layout.total = CSize(rowWidth + 2 * kGap, layout.page.cy + 2 * kGap);
  layout.origin = CPoint(std::max(kGap, (client.Width() - rowWidth) / 2),
                         std::max(kGap, static_cast<int>(client.Height() - layout.page.cy) / 2));
  return layout;
}

CRect CPreviewView::GetPageRect(int index) const {
  if (index < 0 || index >= GetPagesShown()) return CRect(0, 0, 0, 0);
  Layout layout = ComputeLayout();
  CPoint scroll = GetScrollPosition();
  int left = layout.origin.x + index * (layout.page.cx + kGap) - scroll.x;
  int top = layout.origin.y - scroll.y;
  return CRect(left, top, left + layout.page.cx, top + layout.page.cy);
}

void CPreviewView::UpdateLayout() {
  Layout layout = ComputeLayout();
  for (ShownPage& page : m_pages) {
    if (page.scaled.width != layout.page.cx || page.scaled.height != layout.page.cy) {
      page.scaled = Shrink(page.printed, layout.page.cx, layout.page.cy);
    }
  }
  SetScrollSizes(MM_TEXT, layout.total);
  if (m_hWnd) Invalidate();
}

void CPreviewView::OnSize(UINT type, int cx, int cy) {
  CScrollView::OnSize(type, cx, cy);
  UpdateLayout();
}

void CPreviewView::OnDraw(CDC* dc) {
  CRect visible;
  GetClientRect(&visible);
  visible.OffsetRect(GetScrollPosition());
  dc->FillSolidRect(&visible, ::GetSysColor(COLOR_APPWORKSPACE));
  Layout layout = ComputeLayout();
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    int left = layout.origin.x + static_cast<int>(i) * (layout.page.cx + kGap);
    DrawPage(dc, m_pages[i], CRect(CPoint(left, layout.origin.y), layout.page));
  }
}

void CPreviewView::DrawPage(CDC* dc, const ShownPage& page, const CRect& where) {
  CRect shadow = where;
  shadow.OffsetRect(3, 3);
  dc->FillSolidRect(&shadow, RGB(64, 64, 64));
  CRect border = where;
  border.InflateRect(1, 1);
  dc->FillSolidRect(&border, RGB(0, 0, 0));
  DrawSurface(dc, where.left, where.top, page.scaled);
}

void CPreviewView::ScrollBy(int dx, int dy) {
  CPoint position = GetScrollPosition();
  ScrollToPosition(CPoint(position.x + dx, position.y + dy));
}

BOOL CPreviewView::OnMouseWheel(UINT flags, short delta, CPoint) {
  constexpr int kNotch = 120;  // wheel delta of one notch
  int step = -delta * kStep / kNotch;
  if (flags & MK_SHIFT) {
    ScrollBy(step, 0);
  } else {
    ScrollBy(0, step);
  }
  return TRUE;
}

BOOL CPreviewView::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    ClosePreview();
    return TRUE;
  }
  if (msg->message == WM_SYSKEYDOWN && ((msg->wParam >= 'A' && msg->wParam <= 'Z') || (msg->wParam >= '0' && msg->wParam <= '9'))) {
    if (UINT command = m_bar.CommandOfLetter(static_cast<char>(msg->wParam))) {
      // Sent as the button's click is: through the frame, to the preview.
      if (CFrameWnd* frame = LiveFrame()) frame->SendMessage(WM_COMMAND, command, 0);
      return TRUE;
    }
  }
  return CScrollView::PreTranslateMessage(msg);
}

void CPreviewView::OnKeyDown(UINT key, UINT, UINT) {
  switch (key) {
    case VK_NEXT: OnNextPage(); break;
    case VK_PRIOR: OnPrevPage(); break;
    case VK_DOWN: ScrollBy(0, kStep); break;
    case VK_UP: ScrollBy(0, -kStep); break;
    case VK_RIGHT: ScrollBy(kStep, 0); break;
    case VK_LEFT: ScrollBy(-kStep, 0); break;
    default: break;
  }
}

// ---- commands ----

void CPreviewView::UpdateBar() {
  CFrameWnd* frame = LiveFrame();
  if (frame && ::IsWindow(m_bar.m_hWnd)) m_bar.OnUpdateCmdUI(frame, TRUE);
}

void CPreviewView::OnPreviewClose() { ClosePreview(); }

void CPreviewView::OnPreviewPrint() {
  const MSG* current = GetCurrentMessage();
  bool direct = current && current->message == WM_COMMAND && LOWORD(current->wParam) == ID_FILE_PRINT_DIRECT;
  HWND printView = m_hWndPrintView;
  bool alive = GetPrintView() != nullptr;
  ClosePreview();
  // The job is printed as the view prints it (the print dialog too, unless printing directly).
  if (alive && ::IsWindow(printView)) ::SendMessage(printView, WM_COMMAND, direct ? ID_FILE_PRINT_DIRECT : ID_FILE_PRINT, 0);
}

void CPreviewView::OnPreviewPrintPreview() {}

void CPreviewView::OnNextPage() {
  if (m_hasNextPage) SetCurrentPage(m_nCurrentPage + 1);
}

void CPreviewView::OnPrevPage() {
  if (m_nCurrentPage > m_pPreviewInfo->GetMinPage()) SetCurrentPage(m_nCurrentPage - 1);
}

void CPreviewView::OnNumPageChange() {
  if (m_nZoom != 0) return;  // a zoomed page fills the view: a second one would not show
  m_nPagesWanted = m_nPagesWanted == 1 ? 2 : 1;
  m_pPreviewInfo->m_nNumPreviewPages = static_cast<UINT>(m_nPagesWanted);
  if (!m_pages.empty()) ShowPages(m_nCurrentPage);
  UpdateLayout();
  UpdateBar();
}

void CPreviewView::OnZoomIn() {
  if (m_nZoom >= kMaxZoom || m_pages.empty() || ComputeLayout().scale >= 1.0) return;
  ++m_nZoom;
  UpdateLayout();
  UpdateBar();
}

void CPreviewView::OnZoomOut() {
  if (m_nZoom == 0) return;
  --m_nZoom;
  UpdateLayout();
  UpdateBar();
}

void CPreviewView::OnUpdateNextPage(CCmdUI* cmdUI) { cmdUI->Enable(m_hasNextPage); }

void CPreviewView::OnUpdatePrevPage(CCmdUI* cmdUI) {
  cmdUI->Enable(!m_pages.empty() && m_nCurrentPage > m_pPreviewInfo->GetMinPage());
}

void CPreviewView::OnUpdateNumPageChange(CCmdUI* cmdUI) {
  cmdUI->SetText(m_nPagesWanted == 1 ? "&Two Page" : "&One Page");
  cmdUI->Enable(!m_pages.empty() && m_nZoom == 0);
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* cmdUI) {
  cmdUI->Enable(m_nZoom < kMaxZoom && !m_pages.empty() && ComputeLayout().scale < 1.0);
}

void CPreviewView::OnUpdateZoomOut(CCmdUI* cmdUI) { cmdUI->Enable(m_nZoom > 0); }

// A view whose drawing is larger than its window and is moved by the scroll position.
#include <algorithm>

#include "platform/gdi.h"
#include "platform/view.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_SIZE()
  ON_WM_MOUSEWHEEL()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {

// A view resized from within its own OnSize settles in this many passes, or keeps what it has.
constexpr int kMaxBarPasses = 3;
constexpr int kWheelLines = 3;

}  // namespace

void CScrollView::SetScrollSizes(int mapMode, SIZE total, SIZE page, SIZE line) {
  m_nMapMode = mapMode;
  m_totalDev = CSize(std::max<LONG>(total.cx, 0), std::max<LONG>(total.cy, 0));
  m_pageDev = page.cx > 0 || page.cy > 0 ? CSize(page) : CSize(m_totalDev.cx / 10, m_totalDev.cy / 10);
  m_lineDev = line.cx > 0 || line.cy > 0 ? CSize(line) : CSize(m_pageDev.cx / 10, m_pageDev.cy / 10);
  UpdateBars();
}

void CScrollView::UpdateBars() {
  if (m_bInsideUpdate) return;
  if (!m_hWnd) {
    ScrollToPosition(m_scrollPos);
    return;
  }
  const HWND self = m_hWnd;
  m_bInsideUpdate = true;
  for (int pass = 0; pass < kMaxBarPasses; ++pass) {
    const CSize room = TrueClientSize();
    const CSize total = m_totalDev;
    FitBars();
    // A view that closed itself while told of its size is gone, with its members.
    if (!::IsWindow(self)) return;
    if (TrueClientSize() == room && m_totalDev == total) break;
  }
  m_bInsideUpdate = false;
}

void CScrollView::FitBars() {
  const HWND self = m_hWnd;
  const int barWidth = ::GetSystemMetrics(SM_CXVSCROLL);
  const int barHeight = ::GetSystemMetrics(SM_CYHSCROLL);
  const CSize room = TrueClientSize();
  // One bar taking its strip can make the other needed; a window too small to hold a bar gets none.
  bool vertical = m_totalDev.cy > room.cy;
  bool horizontal = m_totalDev.cx > room.cx - (vertical ? barWidth : 0);
  vertical = m_totalDev.cy > room.cy - (horizontal ? barHeight : 0);
  if (room.cx < barWidth || room.cy < barHeight) vertical = horizontal = false;
  ShowScrollBar(SB_HORZ, horizontal);
  if (!::IsWindow(self)) return;
  ShowScrollBar(SB_VERT, vertical);
  if (!::IsWindow(self)) return;
  ScrollToPosition(m_scrollPos);
  if (!::IsWindow(self)) return;
  // A window that takes a bar away again while it changes (a view that never scrolls) has the
  // last word: only the bars still there get their ranges, which would show them again.
  const DWORD shown = GetStyle();
  CRect client;
  GetClientRect(&client);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  if (shown & WS_HSCROLL) {
    info.nMax = m_totalDev.cx - 1;
    info.nPage = static_cast<UINT>(client.Width());
    info.nPos = m_scrollPos.x;
    SetScrollInfo(SB_HORZ, &info, TRUE);
  }
  if ((shown & WS_VSCROLL) && ::IsWindow(self)) {
    info.nMax = m_totalDev.cy - 1;
    info.nPage = static_cast<UINT>(client.Height());
    info.nPos = m_scrollPos.y;
    SetScrollInfo(SB_VERT, &info, TRUE);
  }
}

CSize CScrollView::TrueClientSize() const {
  CRect client;
  GetClientRect(&client);
  const DWORD style = GetStyle();
  return CSize(client.Width() + ((style & WS_VSCROLL) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0),
               client.Height() + ((style & WS_HSCROLL) ? ::GetSystemMetrics(SM_CYHSCROLL) : 0));
}

CSize CScrollView::ScrollLimit() const {
  CRect client;
  if (m_hWnd) GetClientRect(&client);
  return CSize(std::max<LONG>(m_totalDev.cx - client.Width(), 0), std::max<LONG>(m_totalDev.cy - client.Height(), 0));
}

void CScrollView::ScrollToPosition(POINT point) {
  CSize limit = ScrollLimit();
  CPoint clamped(std::clamp<LONG>(point.x, 0, limit.cx), std::clamp<LONG>(point.y, 0, limit.cy));
  if (clamped.x == m_scrollPos.x && clamped.y == m_scrollPos.y) return;
  const CPoint moved(m_scrollPos.x - clamped.x, m_scrollPos.y - clamped.y);
  m_scrollPos = clamped;
  if (!m_hWnd) return;
  // Child windows (a form's controls) move with the drawing.
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    CRect rect;
    ::GetWindowRect(child, &rect);
    ScreenToClient(&rect);
    ::SetWindowPos(child, nullptr, rect.left + moved.x, rect.top + moved.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (GetStyle() & WS_VSCROLL) SetScrollPos(SB_VERT, m_scrollPos.y, TRUE);
  if (GetStyle() & WS_HSCROLL) SetScrollPos(SB_HORZ, m_scrollPos.x, TRUE);
  Invalidate();
}

void CScrollView::OnPrepareDC(CDC* dc, CPrintInfo* info) {
  if (dc && !dc->IsPrinting()) {
    if (m_nMapMode != 0) dc->SetMapMode(m_nMapMode);
    dc->SetViewportOrg(-m_scrollPos.x, -m_scrollPos.y);
  }
  CView::OnPrepareDC(dc, info);
}

int CScrollView::ScrolledPosition(int current, UINT code, UINT pos, int page, int line) {
  switch (code) {
    case SB_LINEUP: return current - std::max(line, 1);
    case SB_LINEDOWN: return current + std::max(line, 1);
    case SB_PAGEUP: return current - std::max(page, 1);
    case SB_PAGEDOWN: return current + std::max(page, 1);
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return static_cast<int>(pos);
    case SB_TOP: return 0;
    case SB_BOTTOM: return 0x7FFFFFFF;
    default: return current;
  }
}

void CScrollView::OnHScroll(UINT code, UINT pos, CScrollBar*) {
  ScrollToPosition(CPoint(ScrolledPosition(m_scrollPos.x, code, pos, m_pageDev.cx, m_lineDev.cx), m_scrollPos.y));
}

void CScrollView::OnVScroll(UINT code, UINT pos, CScrollBar*) {
  ScrollToPosition(CPoint(m_scrollPos.x, ScrolledPosition(m_scrollPos.y, code, pos, m_pageDev.cy, m_lineDev.cy)));
}

void CScrollView::OnSize(UINT, int, int) { UpdateBars(); }

BOOL CScrollView::OnMouseWheel(UINT flags, short delta, CPoint) {
  const DWORD style = GetStyle();
  const bool sideways = (style & WS_HSCROLL) && (!(style & WS_VSCROLL) || (flags & MK_SHIFT));
  if (!sideways && !(style & WS_VSCROLL)) return FALSE;
  const int page = sideways ? m_pageDev.cx : m_pageDev.cy;
  const int line = std::max<int>(sideways ? m_lineDev.cx : m_lineDev.cy, 1);
  int step = -delta * kWheelLines / WHEEL_DELTA * line;
  if (page > 0) step = std::clamp(step, -page, page);
  if (sideways) {
    ScrollToPosition(CPoint(m_scrollPos.x + step, m_scrollPos.y));
  } else {
    ScrollToPosition(CPoint(m_scrollPos.x, m_scrollPos.y + step));
  }
  return TRUE;
}

void CScrollView::OnKeyDown(UINT key, UINT repeat, UINT flags) {
  const DWORD style = GetStyle();
  UINT code = SB_ENDSCROLL;
  bool sideways = false;
  switch (key) {
    case VK_UP: code = SB_LINEUP; break;
    case VK_DOWN: code = SB_LINEDOWN; break;
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_HOME: code = SB_TOP; break;
    case VK_END: code = SB_BOTTOM; break;
    case VK_LEFT: code = SB_LINEUP, sideways = true; break;
    case VK_RIGHT: code = SB_LINEDOWN, sideways = true; break;
    default: break;
  }
  if (code == SB_ENDSCROLL || !(style & (sideways ? WS_HSCROLL : WS_VSCROLL))) {
    CView::OnKeyDown(key, repeat, flags);
    return;
  }
  if (sideways) {
    OnHScroll(code, 0, nullptr);
  } else {
    OnVScroll(code, 0, nullptr);
  }
}

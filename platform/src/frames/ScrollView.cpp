// A view whose drawing is larger than its window and is moved by the scroll position.
#include <algorithm>

#include "platform/gdi.h"
#include "platform/view.h"

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_SIZE()
END_MESSAGE_MAP()

void CScrollView::SetScrollSizes(int mapMode, SIZE total, SIZE page, SIZE line) {
  m_nMapMode = mapMode;
  m_totalDev = CSize(std::max<LONG>(total.cx, 0), std::max<LONG>(total.cy, 0));
  m_pageDev = page.cx > 0 || page.cy > 0 ? CSize(page) : CSize(m_totalDev.cx / 10, m_totalDev.cy / 10);
  m_lineDev = line.cx > 0 || line.cy > 0 ? CSize(line) : CSize(m_pageDev.cx / 10, m_pageDev.cy / 10);
  UpdateBars();
}

void CScrollView::UpdateBars() { ScrollToPosition(m_scrollPos); }

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

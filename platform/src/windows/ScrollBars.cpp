// Scroll bar numbers of a window, kept in its window state.

#include <algorithm>

#include "ScrollBarGeometry.h"
#include "ScrollBarPainter.h"
#include "WindowTable.h"

namespace {

using platform::detail::ScrollBarState;

ScrollBarState* BarOf(HWND hwnd, int bar) {
  platform::detail::WindowState* s = platform::detail::Find(hwnd);
  if (!s || bar < SB_HORZ || bar > SB_CTL) return nullptr;
  return &s->scrollBars[bar];
}

void KeepInside(ScrollBarState& b) {
  b.pos = std::clamp(b.pos, b.min, platform::detail::LastPos(b));
  b.trackPos = std::clamp(b.trackPos, b.min, platform::detail::LastPos(b));
}

// A window's bar shows while its range is larger than its page.
void ShowIfNeeded(HWND hwnd, int bar, const ScrollBarState& b, bool keepShown) {
  if (bar == SB_CTL) return;
  bool needed = platform::detail::Scrollable(b);
  if (needed || !keepShown) ::ShowScrollBar(hwnd, bar, needed);
}

// Only the bar is drawn again, at once: the client area has not changed.
void Repaint(HWND hwnd, int bar, BOOL redraw) {
  if (redraw && bar != SB_CTL) platform::detail::ScrollBarPainter(hwnd).Paint();
}

}  // namespace

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  const ScrollBarState* b = BarOf(hwnd, bar);
  if (!b || !info || !(info->fMask & SIF_ALL)) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = b->min;
    info->nMax = b->max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = b->page;
  if (info->fMask & SIF_POS) info->nPos = b->pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = b->trackPos;
  return TRUE;
}

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  ScrollBarState* b = BarOf(hwnd, bar);
  if (!b) return 0;
  if (!info) return b->pos;
  if (info->fMask & SIF_RANGE) {
    b->min = info->nMin;
    b->max = std::max(info->nMin, info->nMax);  // a reversed range collapses rather than inverts
  }
  if (info->fMask & SIF_PAGE) b->page = info->nPage;
  // The page never exceeds the whole range.
  long long whole = static_cast<long long>(b->max) - b->min + 1;
  if (static_cast<long long>(b->page) > whole) b->page = static_cast<UINT>(whole);
  if (info->fMask & SIF_POS) b->pos = info->nPos;
  KeepInside(*b);
  int pos = b->pos;
  ScrollBarState copy = *b;
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) ShowIfNeeded(hwnd, bar, copy, (info->fMask & SIF_DISABLENOSCROLL) != 0);
  Repaint(hwnd, bar, redraw);
  return pos;
}

int GetScrollPos(HWND hwnd, int bar) {
  const ScrollBarState* b = BarOf(hwnd, bar);
  return b ? b->pos : 0;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  ScrollBarState* b = BarOf(hwnd, bar);
  if (!b) return 0;
  int previous = b->pos;
  SCROLLINFO info{};
  info.fMask = SIF_POS;
  info.nPos = pos;
  SetScrollInfo(hwnd, bar, &info, redraw);
  return previous;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
  const ScrollBarState* b = BarOf(hwnd, bar);
  if (!b || !minPos || !maxPos) return FALSE;
  *minPos = b->min;
  *maxPos = b->max;
  return TRUE;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (!BarOf(hwnd, bar)) return FALSE;
  SCROLLINFO info{};
  info.fMask = SIF_RANGE;
  info.nMin = minPos;
  info.nMax = maxPos;
  SetScrollInfo(hwnd, bar, &info, redraw);
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  platform::detail::WindowState* s = platform::detail::Find(hwnd);
  if (!s) return FALSE;
  if (bar == SB_CTL) {
    ::ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  DWORD bits = bar == SB_HORZ ? WS_HSCROLL : bar == SB_VERT ? WS_VSCROLL : bar == SB_BOTH ? WS_HSCROLL | WS_VSCROLL : 0;
  if (!bits) return FALSE;
  DWORD style = show ? (s->style | bits) : (s->style & ~bits);
  if (style == s->style) return TRUE;
  s->style = style;
  // The client area changes size: tell the window as a frame change does.
  ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const {
  if (!info) return FALSE;
  info->fMask = mask;
  return ::GetScrollInfo(m_hWnd, bar, info);
}
int CWnd::SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw) { return ::SetScrollInfo(m_hWnd, bar, info, redraw); }
int CWnd::GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
int CWnd::SetScrollPos(int bar, int pos, BOOL redraw) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
void CWnd::GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const { ::GetScrollRange(m_hWnd, bar, minPos, maxPos); }
void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw) {
  ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw);
}
void CWnd::ShowScrollBar(UINT bar, BOOL show) { ::ShowScrollBar(m_hWnd, static_cast<int>(bar), show); }

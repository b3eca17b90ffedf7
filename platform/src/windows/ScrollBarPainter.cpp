#include "ScrollBarPainter.h"

#include <algorithm>

#include "ScrollBarTracker.h"
#include "platform/gdi.h"

namespace platform::detail {
namespace {

// The corners of an arrow's triangle pointing the way the part scrolls, centred in rect.
void ArrowTriangle(const RECT& rect, ScrollBarPart which, bool vertical, POINT out[3]) {
  int size = std::min(rect.right - rect.left, rect.bottom - rect.top);
  int base = std::max(1, ((size - 2) / 2) | 1);  // odd, so that the tip sits on a pixel
  int depth = (base + 1) / 2;
  int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
  int half = base / 2;
  bool backwards = which == ScrollBarPart::LineUp;  // up or left
  if (vertical) {
    int tip = backwards ? cy - depth / 2 : cy + (depth - 1) / 2;
    int foot = backwards ? tip + depth - 1 : tip - depth + 1;
    out[0] = POINT{cx, tip};
    out[1] = POINT{cx - half, foot};
    out[2] = POINT{cx + half, foot};
  } else {
    int tip = backwards ? cx - depth / 2 : cx + (depth - 1) / 2;
    int foot = backwards ? tip + depth - 1 : tip - depth + 1;
    out[0] = POINT{tip, cy};
    out[1] = POINT{foot, cy - half};
    out[2] = POINT{foot, cy + half};
  }
}

void FillTriangle(CDC& dc, const POINT corners[3], COLORREF color) {
  CPen pen(PS_SOLID, 1, color);
  CBrush brush(color);
  CPen* oldPen = dc.SelectObject(&pen);
  CBrush* oldBrush = dc.SelectObject(&brush);
  dc.Polygon(corners, 3);
  dc.SelectObject(oldBrush);
  dc.SelectObject(oldPen);
}

void Offset(POINT corners[3], int by) {
  for (int i = 0; i < 3; ++i) {
    corners[i].x += by;
    corners[i].y += by;
  }
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

void ScrollBarPainter::Paint() const {
  WindowState* s = Find(m_hwnd);
  if (!s || !s->redraw || !IsShowing(m_hwnd) || !(s->style & (WS_VSCROLL | WS_HSCROLL))) return;
  HDC hdc = ::GetWindowDC(m_hwnd);
  if (CDC* dc = platform::DcFromHandle(hdc)) Paint(*dc);
  if (hdc) ::ReleaseDC(m_hwnd, hdc);
}

void ScrollBarPainter::Paint(CDC& dc) const {
  const WindowState* s = Find(m_hwnd);
  if (!s) return;
  PaintBar(dc, *s, SB_VERT);
  PaintBar(dc, *s, SB_HORZ);
  RECT corner = ScrollBarGeometry::Corner(*s);
  if (!Empty(corner)) dc.FillSolidRect(&corner, ::GetSysColor(COLOR_BTNFACE));
}

void ScrollBarPainter::PaintBar(CDC& dc, const WindowState& s, int bar) const {
  const ScrollBarTracker& tracker = ScrollBarTracker::Current();
  ScrollBarGeometry geometry(s, bar, tracker.ThumbPos(m_hwnd, bar, s.scrollBars[bar].pos));
  if (!geometry.Shown()) return;
  ScrollBarPart held = tracker.HeldPart(m_hwnd, bar);
  for (ScrollBarPart arrow : {ScrollBarPart::LineUp, ScrollBarPart::LineDown}) {
    PaintArrow(dc, geometry.Rect(arrow), arrow, geometry.Vertical(), geometry.Enabled(), held == arrow);
  }
  PaintTrack(dc, geometry, held);
}

void ScrollBarPainter::PaintArrow(CDC& dc, RECT rect, ScrollBarPart which, bool vertical, bool enabled,
                                  bool held) const {
  if (Empty(rect)) return;
  dc.DrawFrameControl(&rect, DFC_SCROLL, (held ? DFCS_PUSHED : 0u) | (enabled ? 0u : DFCS_INACTIVE));
  POINT corners[3];
  ArrowTriangle(rect, which, vertical, corners);
  if (held) Offset(corners, 1);  // a pushed button's face moves down and right
  if (enabled) {
    FillTriangle(dc, corners, ::GetSysColor(COLOR_BTNTEXT));
    return;
  }
  // Greyed: an etched arrow, a light copy under the grey one.
  Offset(corners, 1);
  FillTriangle(dc, corners, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  Offset(corners, -1);
  FillTriangle(dc, corners, ::GetSysColor(COLOR_BTNSHADOW));
}

void ScrollBarPainter::PaintTrack(CDC& dc, const ScrollBarGeometry& geometry, ScrollBarPart held) const {
  RECT up = geometry.Rect(ScrollBarPart::LineUp), down = geometry.Rect(ScrollBarPart::LineDown);
  RECT track = geometry.Vertical() ? RECT{geometry.Whole().left, up.bottom, geometry.Whole().right, down.top}
                                   : RECT{up.right, geometry.Whole().top, down.left, geometry.Whole().bottom};
  if (Empty(track)) return;
  dc.FillSolidRect(&track, ::GetSysColor(COLOR_3DLIGHT));
  if (held == ScrollBarPart::PageUp || held == ScrollBarPart::PageDown) {
    RECT page = geometry.Rect(held);
    if (!Empty(page)) dc.FillSolidRect(&page, ::GetSysColor(COLOR_3DDKSHADOW));
  }
  RECT thumb = geometry.Rect(ScrollBarPart::Thumb);
  if (Empty(thumb)) return;
  dc.FillSolidRect(&thumb, ::GetSysColor(COLOR_BTNFACE));
  dc.DrawEdge(&thumb, EDGE_RAISED, BF_RECT);
}

}  // namespace platform::detail

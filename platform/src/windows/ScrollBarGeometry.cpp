#include "ScrollBarGeometry.h"

#include <algorithm>

#include "platform/gdi_defs.h"

namespace platform::detail {
namespace {

// A thumb never gets shorter than this, however large the range, so that it can be grabbed.
constexpr int kMinThumb = 8;

long long Span(const ScrollBarState& b) { return static_cast<long long>(b.max) - b.min; }

}  // namespace

bool Scrollable(const ScrollBarState& bar) {
  return bar.page == 0 ? Span(bar) > 0 : static_cast<long long>(bar.page) <= Span(bar);
}

int LastPos(const ScrollBarState& bar) {
  long long top = static_cast<long long>(bar.max) - std::max<long long>(static_cast<long long>(bar.page) - 1, 0);
  return static_cast<int>(std::max<long long>(top, bar.min));
}

int ScrollBarHitTest(const WindowState& s, POINT screen) {
  if (!(s.style & (WS_VSCROLL | WS_HSCROLL))) return HTCLIENT;
  RECT window{};
  ::GetWindowRect(s.hwnd, &window);
  POINT at{screen.x - window.left, screen.y - window.top};
  if (PtInRect(&ScrollBarGeometry(s, SB_VERT).Whole(), at)) return HTVSCROLL;
  if (PtInRect(&ScrollBarGeometry(s, SB_HORZ).Whole(), at)) return HTHSCROLL;
  RECT corner = ScrollBarGeometry::Corner(s);
  return PtInRect(&corner, at) ? HTNOWHERE : HTCLIENT;
}

ScrollBarGeometry::ScrollBarGeometry(const WindowState& s, int bar, int thumbPos) {
  Place(s, bar);
  PlaceThumb(thumbPos);
}

ScrollBarGeometry::ScrollBarGeometry(const WindowState& s, int bar)
    : ScrollBarGeometry(s, bar, (bar == SB_HORZ || bar == SB_VERT) ? s.scrollBars[bar].pos : 0) {}

RECT ScrollBarGeometry::Corner(const WindowState& s) {
  if ((s.style & (WS_HSCROLL | WS_VSCROLL)) != (WS_HSCROLL | WS_VSCROLL)) return RECT{0, 0, 0, 0};
  ScrollBarGeometry vertical(s, SB_VERT), horizontal(s, SB_HORZ);
  RECT corner{vertical.Whole().left, horizontal.Whole().top, vertical.Whole().right, horizontal.Whole().bottom};
  if (corner.right <= corner.left || corner.bottom <= corner.top) return RECT{0, 0, 0, 0};
  return corner;
}

void ScrollBarGeometry::Place(const WindowState& s, int bar) {
  m_vertical = bar == SB_VERT;
  DWORD own = m_vertical ? WS_VSCROLL : WS_HSCROLL;
  if ((bar != SB_VERT && bar != SB_HORZ) || !(s.style & own)) return;
  m_state = s.scrollBars[bar];
  RECT frame = platform::NonClientInsets(s.style, s.exStyle, IsTopLevel(s) && s.menu != nullptr);
  LONG width = s.rect.right - s.rect.left, height = s.rect.bottom - s.rect.top;
  int cx = ::GetSystemMetrics(SM_CXVSCROLL), cy = ::GetSystemMetrics(SM_CYHSCROLL);
  if (m_vertical) {
    LONG bottom = height - frame.bottom - ((s.style & WS_HSCROLL) ? cy : 0);
    m_whole = RECT{width - frame.right - cx, frame.top, width - frame.right, bottom};
  } else {
    LONG right = width - frame.right - ((s.style & WS_VSCROLL) ? cx : 0);
    m_whole = RECT{frame.left, height - frame.bottom - cy, right, height - frame.bottom};
  }
  m_shown = m_whole.right > m_whole.left && m_whole.bottom > m_whole.top;
  if (!m_shown) return;
  m_enabled = Scrollable(m_state) && !(s.style & WS_DISABLED);
  int length = m_vertical ? m_whole.bottom - m_whole.top : m_whole.right - m_whole.left;
  // Arrows are square until the bar is too short for both, then they share it.
  m_arrow = std::min(::GetSystemMetrics(m_vertical ? SM_CYVSCROLL : SM_CXHSCROLL), length / 2);
}

void ScrollBarGeometry::PlaceThumb(int thumbPos) {
  m_hasThumb = m_enabled && ThumbLength() < TrackEnd() - TrackStart();
  m_thumbStart = TrackStart();
  long long span = static_cast<long long>(LastPos(m_state)) - m_state.min;
  if (!m_hasThumb || span <= 0) return;
  long long room = TrackEnd() - TrackStart() - ThumbLength();
  long long offset = std::clamp<long long>(static_cast<long long>(thumbPos) - m_state.min, 0, span);
  m_thumbStart = TrackStart() + static_cast<int>((offset * room + span / 2) / span);
}

int ScrollBarGeometry::PosAtThumbStart(int thumbStart) const {
  long long span = static_cast<long long>(LastPos(m_state)) - m_state.min;
  long long room = TrackEnd() - TrackStart() - ThumbLength();
  if (span <= 0 || room <= 0) return m_state.min;
  long long offset = std::clamp<long long>(thumbStart - TrackStart(), 0, room);
  return static_cast<int>(m_state.min + (offset * span + room / 2) / room);
}

RECT ScrollBarGeometry::Rect(ScrollBarPart part) const {
  if (!m_shown) return RECT{0, 0, 0, 0};
  int start = m_vertical ? m_whole.top : m_whole.left;
  int end = m_vertical ? m_whole.bottom : m_whole.right;
  int thumbEnd = m_thumbStart + ThumbLength();
  switch (part) {
    case ScrollBarPart::LineUp: return Span(start, start + m_arrow);
    case ScrollBarPart::LineDown: return Span(end - m_arrow, end);
    case ScrollBarPart::PageUp: return m_hasThumb ? Span(TrackStart(), m_thumbStart) : RECT{0, 0, 0, 0};
    case ScrollBarPart::Thumb: return m_hasThumb ? Span(m_thumbStart, thumbEnd) : RECT{0, 0, 0, 0};
    case ScrollBarPart::PageDown: return m_hasThumb ? Span(thumbEnd, TrackEnd()) : RECT{0, 0, 0, 0};
    case ScrollBarPart::None: break;
  }
  return RECT{0, 0, 0, 0};
}

ScrollBarPart ScrollBarGeometry::PartAt(POINT windowPoint) const {
  if (!m_shown || !PtInRect(&m_whole, windowPoint)) return ScrollBarPart::None;
  int at = Along(windowPoint);
  if (at < TrackStart()) return ScrollBarPart::LineUp;
  if (at >= TrackEnd()) return ScrollBarPart::LineDown;
  if (!m_hasThumb) return ScrollBarPart::None;
  if (at < m_thumbStart) return ScrollBarPart::PageUp;
  if (at < m_thumbStart + ThumbLength()) return ScrollBarPart::Thumb;
  return ScrollBarPart::PageDown;
}

RECT ScrollBarGeometry::Span(int from, int to) const {
  if (to <= from) return RECT{0, 0, 0, 0};
  return m_vertical ? RECT{m_whole.left, from, m_whole.right, to} : RECT{from, m_whole.top, to, m_whole.bottom};
}

int ScrollBarGeometry::TrackStart() const { return (m_vertical ? m_whole.top : m_whole.left) + m_arrow; }

int ScrollBarGeometry::TrackEnd() const { return (m_vertical ? m_whole.bottom : m_whole.right) - m_arrow; }

int ScrollBarGeometry::ThumbLength() const {
  int track = TrackEnd() - TrackStart();
  if (m_state.page == 0) return std::max(kMinThumb, ::GetSystemMetrics(m_vertical ? SM_CYVTHUMB : SM_CXHTHUMB));
  long long whole = static_cast<long long>(m_state.max) - m_state.min + 1;
  long long length = static_cast<long long>(track) * m_state.page / std::max<long long>(whole, 1);
  return static_cast<int>(std::max<long long>(length, kMinThumb));
}


}  // namespace platform::detail

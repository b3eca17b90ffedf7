#pragma once
// Where the parts of a window's own scroll bar lie, in window coordinates (0,0 is the window
// rectangle's top-left corner), and how a thumb offset maps to a position.

#include "WindowTable.h"

namespace platform::detail {

// The parts of a bar a point can fall on, in the order they lie along it.
enum class ScrollBarPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// Whether a bar's range is larger than its page, so that there is something to scroll.
bool Scrollable(const ScrollBarState& bar);
// The highest position the page still fits under.
int LastPos(const ScrollBarState& bar);

// WM_NCHITTEST over a window's own bars: HTVSCROLL or HTHSCROLL on a bar, HTNOWHERE on the box
// between them, HTCLIENT elsewhere.
int ScrollBarHitTest(const WindowState& s, POINT screen);

class ScrollBarGeometry {
public:
  // The layout of bar (SB_HORZ or SB_VERT) of the window s, with the thumb at thumbPos.
  ScrollBarGeometry(const WindowState& s, int bar, int thumbPos);
  // The layout with the thumb at the bar's position.
  ScrollBarGeometry(const WindowState& s, int bar);

  // Whether the window shows this bar at all.
  bool Shown() const { return m_shown; }
  // Shown, scrollable and the window enabled: the bar reacts to the mouse.
  bool Enabled() const { return m_enabled; }
  bool Vertical() const { return m_vertical; }
  // Whether the bar is long enough to hold a thumb (and has something to scroll).
  bool HasThumb() const { return m_hasThumb; }
  const RECT& Whole() const { return m_whole; }
  // The rectangle of a part (empty for None, or for the thumb and pages of a bar without thumb).
  RECT Rect(ScrollBarPart part) const;
  // The part under a window point; None outside the bar.
  ScrollBarPart PartAt(POINT windowPoint) const;
  // The coordinate along the bar (y for a vertical bar, x otherwise).
  int Along(POINT windowPoint) const { return m_vertical ? windowPoint.y : windowPoint.x; }
  // Start of the thumb along the bar.
  int ThumbStart() const { return m_thumbStart; }
  // The position a thumb starting at thumbStart (along the bar) stands for, inside the range.
  int PosAtThumbStart(int thumbStart) const;
  // The box between both bars when both show (empty otherwise).
  static RECT Corner(const WindowState& s);

private:
  void Place(const WindowState& s, int bar);
  void PlaceThumb(int thumbPos);
  // A rectangle spanning [from, to) along the bar and the bar's whole width across.
  RECT Span(int from, int to) const;
  int TrackStart() const;
  int TrackEnd() const;
  int ThumbLength() const;

  ScrollBarState m_state;
  bool m_shown{false};
  bool m_enabled{false};
  bool m_vertical{false};
  bool m_hasThumb{false};
  RECT m_whole{0, 0, 0, 0};
  int m_arrow{0};       // length of each arrow button
  int m_thumbStart{0};  // along the bar
};

}  // namespace platform::detail

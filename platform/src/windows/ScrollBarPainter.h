#pragma once
// Draws a window's own scroll bars (and the box between them) in its non-client area, in the
// classic 3-D style: arrow buttons, a light track and a raised thumb; greyed when there is
// nothing to scroll or the window is disabled.

#include "ScrollBarGeometry.h"

class CDC;

namespace platform::detail {

class ScrollBarPainter {
public:
  explicit ScrollBarPainter(HWND hwnd) : m_hwnd(hwnd) {}
  // Paints the bars the window shows, now, through its window DC (nothing while the window is
  // hidden or its redrawing is off).
  void Paint() const;
  // Paints them on a window DC the caller holds.
  void Paint(CDC& dc) const;

private:
  void PaintBar(CDC& dc, const WindowState& s, int bar) const;
  void PaintArrow(CDC& dc, RECT rect, ScrollBarPart which, bool vertical, bool enabled, bool held) const;
  void PaintTrack(CDC& dc, const ScrollBarGeometry& geometry, ScrollBarPart held) const;

  HWND m_hwnd{nullptr};
};

}  // namespace platform::detail

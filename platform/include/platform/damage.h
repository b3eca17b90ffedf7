#pragma once
// The changed parts of a surface, as a few rectangles: an area that overlaps or lies close to
// one already kept joins it (unless their union would be mostly neither), others stay apart, so
// a stone and a clock far from it are put on the display as two small pieces rather than one
// rectangle around both.

#include <cstddef>
#include <vector>

#include "platform/geometry.h"

namespace platform {

class Damage {
public:
  // At most this many rectangles are kept: past it the two whose union adds least are joined.
  static constexpr std::size_t kMaxRects = 16;
  // Areas this close (pixels, either axis) are joined: one request costs more than a few pixels.
  static constexpr LONG kNear = 8;

  // Adds an area (empty ones are ignored).
  void Add(const RECT& area);
  bool Empty() const { return m_rects.empty(); }
  // The kept rectangles; two lie within kNear of each other only where joining them would have
  // taken in more than half as many pixels again as they hold.
  const std::vector<RECT>& Rects() const { return m_rects; }
  // The kept rectangles, leaving none.
  std::vector<RECT> Take();
  void Clear() { m_rects.clear(); }

private:
  std::vector<RECT> m_rects;
};

}  // namespace platform

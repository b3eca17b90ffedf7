#pragma once
// Where the 19x19 points lie in a control of a given size: one hit rectangle per point, the point
// centres, and the places of the coordinate labels. Rectangles are half-open (right and bottom
// edges excluded), so neighbouring regions never share a pixel.

#include <array>

#include "control/StolvexTypes.h"
#include "platform/geometry.h"

class CBoardGeometry {
public:
  // Rebuilds every region for a control of cx x cy; labels leaves room for the coordinates.
  void Calculate(int cx, int cy, bool labels);

  // The region of point (row x 19 + col) in the unturned layout.
  const RECT& Region(int index) const { return m_regions[index]; }
  // The first region containing the pixel, in index order; -1 when none does.
  int HitTest(POINT pixel) const;
  // Centre of the grid crossing of a region.
  POINT Centre(int index) const;

  int PitchX() const { return m_px; }
  int PitchY() const { return m_py; }
  int OffsetX() const { return m_ox; }
  int OffsetY() const { return m_oy; }
  bool Labels() const { return m_labels; }

private:
  std::array<RECT, POINT_COUNT> m_regions{};
  int m_px{0};
  int m_py{0};
  int m_ox{0};
  int m_oy{0};
  int m_half{0};  // half the region width
  bool m_labels{false};
};

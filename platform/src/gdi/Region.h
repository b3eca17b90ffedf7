#pragma once
// A pixel region kept as sorted, disjoint horizontal spans per row: clip areas, window regions
// and the shapes of ellipses and polygons all reduce to it.

#include <vector>

#include "platform/geometry.h"

namespace platform::gdi {

struct Span {
  int x0;  // first pixel
  int x1;  // one past the last pixel
};

class Region {
public:
  Region() = default;
  static Region FromRect(const RECT& r);
  // The ellipse inscribed in r (right and bottom exclusive).
  static Region Ellipse(const RECT& r);
  // r with its corners rounded by ellipses of ellipseWidth x ellipseHeight.
  static Region RoundRect(const RECT& r, int ellipseWidth, int ellipseHeight);
  // Pixels whose centres lie inside the polygon under the fill mode (ALTERNATE or WINDING).
  static Region Polygon(const POINT* points, int count, int fillMode);
  // A region from rows of sorted, disjoint spans; row i is y = top + i.
  static Region FromRows(int top, std::vector<std::vector<Span>> rows);
  // a op b with RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF; RGN_COPY gives a.
  static Region Combine(const Region& a, const Region& b, int op);

  bool IsEmpty() const { return m_rows.empty(); }
  // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
  int Complexity() const;
  RECT Box() const;
  bool Contains(int x, int y) const;
  void Offset(int dx, int dy);
  int Top() const { return m_top; }
  int Bottom() const { return m_top + static_cast<int>(m_rows.size()); }
  // Spans of row y; empty outside the region.
  const std::vector<Span>& Row(int y) const;
  bool operator==(const Region& o) const;

private:
  // Drops empty rows at both ends so that Box() stays tight.
  void Trim();

  int m_top{0};
  std::vector<std::vector<Span>> m_rows;  // row i is y = m_top + i
};

}  // namespace platform::gdi

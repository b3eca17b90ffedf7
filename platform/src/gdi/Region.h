#pragma once
// A pixel region kept as bands of rows that share the same sorted, disjoint horizontal spans: clip
// areas, window regions and the shapes of ellipses and polygons all reduce to it. A rectangle is
// one band however tall it is, so clipping a window's paint costs the same at any size.

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

  bool IsEmpty() const { return m_bands.empty(); }
  // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
  int Complexity() const;
  RECT Box() const;
  bool Contains(int x, int y) const;
  void Offset(int dx, int dy);
  int Top() const { return m_bands.empty() ? 0 : m_bands.front().top; }
  int Bottom() const { return m_bands.empty() ? 0 : m_bands.back().bottom; }
  // Spans of row y; empty outside the region.
  const std::vector<Span>& Row(int y) const;
  bool operator==(const Region& o) const;

private:
  struct Band {
    int top;
    int bottom;  // one past the last row
    std::vector<Span> spans;  // never empty
    bool operator==(const Band& o) const;
  };
  // Adds rows [top, bottom) below every band so far, joining the last band when it touches it
  // with the same spans: equal regions then hold equal bands.
  void AppendBand(int top, int bottom, std::vector<Span> spans);

  std::vector<Band> m_bands;  // ordered by y, not overlapping; rows between bands are empty
};

}  // namespace platform::gdi

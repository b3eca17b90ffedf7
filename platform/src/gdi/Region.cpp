#include "Region.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/gdi_defs.h"

namespace platform::gdi {
namespace {

const std::vector<Span> kNoSpans;

bool InSpans(const std::vector<Span>& spans, int x) {
  for (const Span& s : spans) {
    if (x < s.x0) return false;
    if (x < s.x1) return true;
  }
  return false;
}

bool Apply(int op, bool a, bool b) {
  switch (op) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    case RGN_DIFF: return a && !b;
    default: return a;
  }
}

// Combines two rows of sorted, disjoint spans by one sweep over the edges of both.
std::vector<Span> CombineRow(const std::vector<Span>& a, const std::vector<Span>& b, int op) {
  if (b.empty()) return Apply(op, true, false) ? a : std::vector<Span>{};
  if (a.empty()) return Apply(op, false, true) ? b : std::vector<Span>{};
  auto edge = [](const std::vector<Span>& spans, std::size_t k) { return k % 2 ? spans[k / 2].x1 : spans[k / 2].x0; };
  const std::size_t aEdges = 2 * a.size(), bEdges = 2 * b.size();
  std::size_t i = 0, j = 0;
  bool inA = false, inB = false, inside = false;
  int start = 0;
  std::vector<Span> out;
  while (i < aEdges || j < bEdges) {
    const int x = std::min(i < aEdges ? edge(a, i) : std::numeric_limits<int>::max(),
                           j < bEdges ? edge(b, j) : std::numeric_limits<int>::max());
    for (; i < aEdges && edge(a, i) == x; ++i) inA = !inA;
    for (; j < bEdges && edge(b, j) == x; ++j) inB = !inB;
    const bool now = Apply(op, inA, inB);
    if (now && !inside) start = x;
    if (!now && inside) out.push_back(Span{start, x});
    inside = now;
  }
  return out;
}

// Sorts spans and joins those that touch or overlap.
std::vector<Span> Normalized(std::vector<Span> spans) {
  std::sort(spans.begin(), spans.end(), [](const Span& l, const Span& r) { return l.x0 < r.x0; });
  std::vector<Span> out;
  for (const Span& s : spans) {
    if (s.x1 <= s.x0) continue;
    if (!out.empty() && s.x0 <= out.back().x1) {
      out.back().x1 = std::max(out.back().x1, s.x1);
    } else {
      out.push_back(s);
    }
  }
  return out;
}

// Drawing coordinates are kept within 16-bit range, as the platform's coordinates always were, so
// a wild rectangle cannot ask for millions of rows.
constexpr int kCoordinateLimit = 65536;

RECT Bounded(const RECT& r) {
  auto clamp = [](LONG v) { return std::clamp<LONG>(v, -kCoordinateLimit, kCoordinateLimit); };
  return RECT{clamp(r.left), clamp(r.top), clamp(r.right), clamp(r.bottom)};
}

// First pixel whose centre is at or right of a real edge position.
int FirstPixelFrom(double edge) { return static_cast<int>(std::ceil(edge - 0.5)); }

}  // namespace

Region Region::FromRect(const RECT& box) {
  RECT r = Bounded(box);
  Region rgn;
  if (r.right <= r.left || r.bottom <= r.top) return rgn;
  rgn.AppendBand(r.top, r.bottom, {Span{r.left, r.right}});
  return rgn;
}

Region Region::Ellipse(const RECT& box) {
  RECT r = Bounded(box);
  Region rgn;
  if (r.right <= r.left || r.bottom <= r.top) return rgn;
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double a = (r.right - r.left) / 2.0, b = (r.bottom - r.top) / 2.0;
  for (int y = r.top; y < r.bottom; ++y) {
    double dy = (y + 0.5 - cy) / b;
    if (dy * dy >= 1.0) continue;
    double half = a * std::sqrt(1.0 - dy * dy);
    int x0 = std::max<int>(FirstPixelFrom(cx - half), r.left);
    int x1 = std::min<int>(FirstPixelFrom(cx + half), r.right);
    if (x1 > x0) rgn.AppendBand(y, y + 1, {Span{x0, x1}});
  }
  return rgn;
}

Region Region::RoundRect(const RECT& box, int ellipseWidth, int ellipseHeight) {
  int w = std::min<int>(std::abs(ellipseWidth), box.right - box.left);
  int h = std::min<int>(std::abs(ellipseHeight), box.bottom - box.top);
  if (w < 2 || h < 2) return FromRect(box);
  RECT r = Bounded(box);
  Region rgn;
  if (r.right <= r.left || r.bottom <= r.top) return rgn;
  // Each row is narrowed by the corner ellipse where it crosses the top or bottom corner band.
  Region corner = Ellipse(RECT{0, 0, w, h});
  for (int y = r.top; y < r.bottom; ++y) {
    int inset = 0;
    int cy = -1;
    if (y - r.top < h / 2)
      cy = y - r.top;
    else if (r.bottom - 1 - y < h / 2)
      cy = h - (r.bottom - y);
    if (cy >= 0) {
      const std::vector<Span>& row = corner.Row(cy);
      inset = row.empty() ? w / 2 : row.front().x0;
    }
    if (r.left + inset < r.right - inset) rgn.AppendBand(y, y + 1, {Span{r.left + inset, r.right - inset}});
  }
  return rgn;
}

Region Region::Polygon(const POINT* points, int count, int fillMode) {
  Region rgn;
  if (!points || count < 3) return rgn;
  int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
  for (int i = 0; i < count; ++i) {
    top = std::min<int>(top, points[i].y);
    bottom = std::max<int>(bottom, points[i].y);
  }
  top = std::max(top, -kCoordinateLimit);
  bottom = std::min(bottom, kCoordinateLimit);
  if (bottom <= top) return rgn;
  struct Crossing {
    double x;
    int dir;
  };
  std::vector<Crossing> crossings;
  for (int y = top; y < bottom; ++y) {
    double sy = y + 0.5;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      const POINT& p = points[i];
      const POINT& q = points[(i + 1) % count];
      if (p.y == q.y) continue;
      bool down = q.y > p.y;
      double y0 = down ? p.y : q.y, y1 = down ? q.y : p.y;
      if (sy < y0 || sy >= y1) continue;
      double x = p.x + (sy - p.y) * (q.x - p.x) / static_cast<double>(q.y - p.y);
      crossings.push_back(Crossing{x, down ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
    std::vector<Span> spans;
    int winding = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].dir;
      bool inside = fillMode == WINDING ? winding != 0 : (i % 2) == 0;
      if (!inside) continue;
      int x0 = FirstPixelFrom(crossings[i].x), x1 = FirstPixelFrom(crossings[i + 1].x);
      if (x1 > x0) spans.push_back(Span{x0, x1});
    }
    rgn.AppendBand(y, y + 1, Normalized(std::move(spans)));
  }
  return rgn;
}

Region Region::FromRows(int top, std::vector<std::vector<Span>> rows) {
  Region rgn;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int y = top + static_cast<int>(i);
    rgn.AppendBand(y, y + 1, Normalized(std::move(rows[i])));
  }
  return rgn;
}

Region Region::Combine(const Region& a, const Region& b, int op) {
  if (op == RGN_COPY) return a;
  // Each stretch of rows between two band edges of either region combines its spans once.
  std::vector<int> cuts;
  cuts.reserve(2 * (a.m_bands.size() + b.m_bands.size()));
  for (const Region* r : {&a, &b}) {
    for (const Band& band : r->m_bands) {
      cuts.push_back(band.top);
      cuts.push_back(band.bottom);
    }
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  Region out;
  std::size_t ia = 0, ib = 0;
  auto spansAt = [](const std::vector<Band>& bands, std::size_t& at, int y) -> const std::vector<Span>& {
    while (at < bands.size() && bands[at].bottom <= y) ++at;
    return at < bands.size() && bands[at].top <= y ? bands[at].spans : kNoSpans;
  };
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
    const std::vector<Span>& sa = spansAt(a.m_bands, ia, cuts[k]);
    const std::vector<Span>& sb = spansAt(b.m_bands, ib, cuts[k]);
    if (sa.empty() && sb.empty()) continue;
    out.AppendBand(cuts[k], cuts[k + 1], CombineRow(sa, sb, op));
  }
  return out;
}

int Region::Complexity() const {
  if (IsEmpty()) return NULLREGION;
  return m_bands.size() == 1 && m_bands.front().spans.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::Box() const {
  if (IsEmpty()) return RECT{0, 0, 0, 0};
  RECT box{std::numeric_limits<int>::max(), Top(), std::numeric_limits<int>::min(), Bottom()};
  for (const Band& band : m_bands) {
    box.left = std::min<LONG>(box.left, band.spans.front().x0);
    box.right = std::max<LONG>(box.right, band.spans.back().x1);
  }
  return box;
}

bool Region::Contains(int x, int y) const { return InSpans(Row(y), x); }

void Region::Offset(int dx, int dy) {
  for (Band& band : m_bands) {
    band.top += dy;
    band.bottom += dy;
    for (Span& s : band.spans) {
      s.x0 += dx;
      s.x1 += dx;
    }
  }
}

const std::vector<Span>& Region::Row(int y) const {
  auto band = std::upper_bound(m_bands.begin(), m_bands.end(), y,
                               [](int row, const Band& b) { return row < b.bottom; });
  return band != m_bands.end() && band->top <= y ? band->spans : kNoSpans;
}

bool Region::Band::operator==(const Band& o) const {
  if (top != o.top || bottom != o.bottom || spans.size() != o.spans.size()) return false;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (spans[i].x0 != o.spans[i].x0 || spans[i].x1 != o.spans[i].x1) return false;
  }
  return true;
}

bool Region::operator==(const Region& o) const { return m_bands == o.m_bands; }

void Region::AppendBand(int top, int bottom, std::vector<Span> spans) {
  if (spans.empty() || bottom <= top) return;
  if (!m_bands.empty()) {
    Band& last = m_bands.back();
    if (last.bottom == top && last.spans.size() == spans.size() &&
        std::equal(spans.begin(), spans.end(), last.spans.begin(),
                   [](const Span& l, const Span& r) { return l.x0 == r.x0 && l.x1 == r.x1; })) {
      last.bottom = bottom;
      return;
    }
  }
  m_bands.push_back(Band{top, bottom, std::move(spans)});
}

}  // namespace platform::gdi

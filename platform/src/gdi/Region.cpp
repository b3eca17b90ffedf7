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

// Combines two rows of spans by sweeping over every span edge of both.
std::vector<Span> CombineRow(const std::vector<Span>& a, const std::vector<Span>& b, int op) {
  std::vector<int> edges;
  edges.reserve(2 * (a.size() + b.size()));
  for (const Span& s : a) {
    edges.push_back(s.x0);
    edges.push_back(s.x1);
  }
  for (const Span& s : b) {
    edges.push_back(s.x0);
    edges.push_back(s.x1);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<Span> out;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    int x = edges[i];
    if (!Apply(op, InSpans(a, x), InSpans(b, x))) continue;
    if (!out.empty() && out.back().x1 == x) {
      out.back().x1 = edges[i + 1];
    } else {
      out.push_back(Span{x, edges[i + 1]});
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
  rgn.m_top = r.top;
  rgn.m_rows.assign(static_cast<std::size_t>(r.bottom - r.top), std::vector<Span>{Span{r.left, r.right}});
  return rgn;
}

Region Region::Ellipse(const RECT& box) {
  RECT r = Bounded(box);
  Region rgn;
  if (r.right <= r.left || r.bottom <= r.top) return rgn;
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double a = (r.right - r.left) / 2.0, b = (r.bottom - r.top) / 2.0;
  rgn.m_top = r.top;
  rgn.m_rows.resize(static_cast<std::size_t>(r.bottom - r.top));
  for (int y = r.top; y < r.bottom; ++y) {
    double dy = (y + 0.5 - cy) / b;
    if (dy * dy >= 1.0) continue;
    double half = a * std::sqrt(1.0 - dy * dy);
    int x0 = std::max<int>(FirstPixelFrom(cx - half), r.left);
    int x1 = std::min<int>(FirstPixelFrom(cx + half), r.right);
    if (x1 > x0) rgn.m_rows[static_cast<std::size_t>(y - r.top)].push_back(Span{x0, x1});
  }
  rgn.Trim();
  return rgn;
}

Region Region::RoundRect(const RECT& r, int ellipseWidth, int ellipseHeight) {
  int w = std::min<int>(std::abs(ellipseWidth), r.right - r.left);
  int h = std::min<int>(std::abs(ellipseHeight), r.bottom - r.top);
  if (w < 2 || h < 2) return FromRect(r);
  Region rgn = FromRect(r);
  if (rgn.IsEmpty()) return rgn;
  // Each row is narrowed by the corner ellipse where it crosses the top or bottom corner band.
  Region corner = Ellipse(RECT{0, 0, w, h});
  for (int y = r.top; y < r.bottom; ++y) {
    int cy = -1;
    if (y - r.top < h / 2)
      cy = y - r.top;
    else if (r.bottom - 1 - y < h / 2)
      cy = h - (r.bottom - y);
    if (cy < 0) continue;
    const std::vector<Span>& row = corner.Row(cy);
    int inset = row.empty() ? w / 2 : row.front().x0;
    std::vector<Span>& spans = rgn.m_rows[static_cast<std::size_t>(y - r.top)];
    spans.clear();
    if (r.left + inset < r.right - inset) spans.push_back(Span{r.left + inset, r.right - inset});
  }
  rgn.Trim();
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
  rgn.m_top = top;
  rgn.m_rows.resize(static_cast<std::size_t>(bottom - top));
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
    rgn.m_rows[static_cast<std::size_t>(y - top)] = CombineRow(spans, {}, RGN_OR);
  }
  rgn.Trim();
  return rgn;
}

Region Region::FromRows(int top, std::vector<std::vector<Span>> rows) {
  Region rgn;
  rgn.m_top = top;
  rgn.m_rows = std::move(rows);
  rgn.Trim();
  return rgn;
}

Region Region::Combine(const Region& a, const Region& b, int op) {
  if (op == RGN_COPY) return a;
  Region out;
  if (a.IsEmpty() && b.IsEmpty()) return out;
  int top = a.IsEmpty() ? b.m_top : (b.IsEmpty() ? a.m_top : std::min(a.m_top, b.m_top));
  int bottom = std::max(a.IsEmpty() ? b.Bottom() : a.Bottom(), b.IsEmpty() ? a.Bottom() : b.Bottom());
  out.m_top = top;
  out.m_rows.resize(static_cast<std::size_t>(bottom - top));
  for (int y = top; y < bottom; ++y) {
    out.m_rows[static_cast<std::size_t>(y - top)] = CombineRow(a.Row(y), b.Row(y), op);
  }
  out.Trim();
  return out;
}

int Region::Complexity() const {
  if (IsEmpty()) return NULLREGION;
  const std::vector<Span>& first = m_rows.front();
  for (const std::vector<Span>& row : m_rows) {
    if (row.size() != 1 || first.size() != 1 || row[0].x0 != first[0].x0 || row[0].x1 != first[0].x1) {
      return COMPLEXREGION;
    }
  }
  return SIMPLEREGION;
}

RECT Region::Box() const {
  if (IsEmpty()) return RECT{0, 0, 0, 0};
  RECT box{std::numeric_limits<int>::max(), m_top, std::numeric_limits<int>::min(), Bottom()};
  for (const std::vector<Span>& row : m_rows) {
    if (row.empty()) continue;
    box.left = std::min<LONG>(box.left, row.front().x0);
    box.right = std::max<LONG>(box.right, row.back().x1);
  }
  return box;
}

bool Region::Contains(int x, int y) const { return InSpans(Row(y), x); }

void Region::Offset(int dx, int dy) {
  m_top += dy;
  for (std::vector<Span>& row : m_rows) {
    for (Span& s : row) {
      s.x0 += dx;
      s.x1 += dx;
    }
  }
}

const std::vector<Span>& Region::Row(int y) const {
  if (y < m_top || y >= Bottom()) return kNoSpans;
  return m_rows[static_cast<std::size_t>(y - m_top)];
}

bool Region::operator==(const Region& o) const {
  if (IsEmpty() || o.IsEmpty()) return IsEmpty() == o.IsEmpty();
  if (m_top != o.m_top || m_rows.size() != o.m_rows.size()) return false;
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    if (m_rows[i].size() != o.m_rows[i].size()) return false;
    for (std::size_t j = 0; j < m_rows[i].size(); ++j) {
      if (m_rows[i][j].x0 != o.m_rows[i][j].x0 || m_rows[i][j].x1 != o.m_rows[i][j].x1) return false;
    }
  }
  return true;
}

void Region::Trim() {
  std::size_t first = 0;
  while (first < m_rows.size() && m_rows[first].empty()) ++first;
  std::size_t last = m_rows.size();
  while (last > first && m_rows[last - 1].empty()) --last;
  if (first == last) {
    m_rows.clear();
    m_top = 0;
    return;
  }
  m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(last), m_rows.end());
  m_rows.erase(m_rows.begin(), m_rows.begin() + static_cast<std::ptrdiff_t>(first));
  m_top += static_cast<int>(first);
}

}  // namespace platform::gdi

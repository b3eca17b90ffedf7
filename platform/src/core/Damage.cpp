#include "platform/damage.h"

#include <algorithm>
#include <limits>

namespace platform {
namespace {

RECT Join(const RECT& a, const RECT& b) {
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

bool Near(const RECT& a, const RECT& b) {
  return a.left <= b.right + Damage::kNear && b.left <= a.right + Damage::kNear && a.top <= b.bottom + Damage::kNear &&
         b.top <= a.bottom + Damage::kNear;
}

long long Area(const RECT& r) { return static_cast<long long>(r.right - r.left) * (r.bottom - r.top); }

// Close areas join unless their union would mostly be pixels neither holds: the two strips a
// window's enlargement uncovers stay two strips, not the whole window.
bool WorthJoining(const RECT& a, const RECT& b) {
  if (!Near(a, b)) return false;
  const long long both = Area(a) + Area(b);
  return Area(Join(a, b)) - both <= both / 2;
}

}  // namespace

void Damage::Add(const RECT& area) {
  if (area.left >= area.right || area.top >= area.bottom) return;
  // Most drawing lands inside what was drawn just before it (text on the fill behind it).
  for (const RECT& kept : m_rects) {
    if (kept.left <= area.left && kept.top <= area.top && area.right <= kept.right && area.bottom <= kept.bottom) return;
  }
  RECT grown = area;
  // A join can bring the result near rectangles it was not near before: look again until none is.
  for (bool joined = true; joined;) {
    joined = false;
    for (std::size_t i = 0; i < m_rects.size(); ++i) {
      if (!WorthJoining(m_rects[i], grown)) continue;
      grown = Join(grown, m_rects[i]);
      m_rects[i] = m_rects.back();
      m_rects.pop_back();
      joined = true;
      break;
    }
  }
  m_rects.push_back(grown);
  if (m_rects.size() <= kMaxRects) return;
  std::size_t bestA = 0, bestB = 1;
  long long bestCost = std::numeric_limits<long long>::max();
  for (std::size_t a = 0; a < m_rects.size(); ++a) {
    for (std::size_t b = a + 1; b < m_rects.size(); ++b) {
      long long cost = Area(Join(m_rects[a], m_rects[b])) - Area(m_rects[a]) - Area(m_rects[b]);
      if (cost < bestCost) {
        bestCost = cost;
        bestA = a;
        bestB = b;
      }
    }
  }
  RECT joined = Join(m_rects[bestA], m_rects[bestB]);
  m_rects[bestB] = m_rects.back();
  m_rects.pop_back();
  m_rects[bestA] = m_rects.back();
  m_rects.pop_back();
  Add(joined);  // the join may now lie near others
}

std::vector<RECT> Damage::Take() {
  std::vector<RECT> taken;
  taken.swap(m_rects);
  return taken;
}

}  // namespace platform

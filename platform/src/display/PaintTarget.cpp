// The headless display: a top-level window's surface holds the whole window; each child paints
// into it at its offset, clipped to what its ancestors show.
#include <algorithm>

#include "../windows/WindowTable.h"
#include "platform/surface.h"

namespace platform {
namespace {

bool Clip(RECT& r, const RECT& by) {
  r.left = std::max(r.left, by.left);
  r.top = std::max(r.top, by.top);
  r.right = std::min(r.right, by.right);
  r.bottom = std::min(r.bottom, by.bottom);
  if (r.left >= r.right || r.top >= r.bottom) {
    r = RECT{0, 0, 0, 0};
    return false;
  }
  return true;
}

RECT ClientInTop(const detail::WindowState& s) {
  POINT o = detail::ClientOriginInTop(s);
  RECT c = detail::ClientRect(s);
  return RECT{o.x, o.y, o.x + c.right, o.y + c.bottom};
}

RECT WindowInTop(const detail::WindowState& s) {
  POINT o = detail::WindowOriginInTop(s);
  return RECT{o.x, o.y, o.x + (s.rect.right - s.rect.left), o.y + (s.rect.bottom - s.rect.top)};
}

}  // namespace

PaintTarget GetPaintTarget(HWND window, bool nonClient) {
  PaintTarget target;
  detail::WindowState* s = detail::Find(window);
  if (!s || !detail::IsShowing(window)) return target;
  detail::WindowState* top = detail::TopLevelOf(window);
  Surface* surface = detail::SurfaceOf(*top);
  RECT clip = nonClient ? WindowInTop(*s) : ClientInTop(*s);
  target.origin = POINT{clip.left, clip.top};
  for (detail::WindowState* a = detail::Find(s->parent); a; a = detail::Find(a->parent)) {
    Clip(clip, ClientInTop(*a));
  }
  Clip(clip, RECT{0, 0, surface->width, surface->height});
  target.surface = surface;
  target.clip = clip;
  return target;
}

}  // namespace platform

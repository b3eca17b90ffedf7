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

}  // namespace

PaintTarget GetPaintTarget(HWND window, bool nonClient) {
  PaintTarget target;
  // One walk up to the top-level window, then one down: every drawing call asks for its target,
  // so each ancestor's insets are worked out once.
  constexpr int kDeepest = 64;
  detail::WindowState* chain[kDeepest];
  int depth = 0;
  for (detail::WindowState* s = detail::Find(window); s; s = detail::Find(s->parent)) {
    if (!(s->style & WS_VISIBLE) || depth == kDeepest) return target;
    chain[depth++] = s;
    if (!s->parent) break;
  }
  if (depth == 0 || chain[depth - 1]->parent) return target;
  Surface* surface = detail::SurfaceOf(*chain[depth - 1]);
  RECT clip{0, 0, surface->width, surface->height};
  POINT windowOrigin{0, 0};
  for (int i = depth - 1;; --i) {
    const detail::WindowState& s = *chain[i];
    if (i != depth - 1) windowOrigin = POINT{windowOrigin.x + s.rect.left, windowOrigin.y + s.rect.top};
    const RECT in = detail::ClientInsets(s);
    const POINT clientOrigin{windowOrigin.x + in.left, windowOrigin.y + in.top};
    const LONG width = s.rect.right - s.rect.left, height = s.rect.bottom - s.rect.top;
    const RECT client{clientOrigin.x, clientOrigin.y,
                      clientOrigin.x + std::max<LONG>(0, width - in.left - in.right),
                      clientOrigin.y + std::max<LONG>(0, height - in.top - in.bottom)};
    if (i == 0) {
      RECT own = nonClient ? RECT{windowOrigin.x, windowOrigin.y, windowOrigin.x + width, windowOrigin.y + height}
                           : client;
      target.origin = POINT{own.left, own.top};
      Clip(own, clip);
      target.surface = surface;
      target.clip = own;
      return target;
    }
    Clip(clip, client);
    windowOrigin = clientOrigin;
  }
}

}  // namespace platform

#include "Shapes.h"

#include <algorithm>
#include <cstdlib>

namespace platform::gdi {

int PenWidth(const DeviceContext& dc) {
  const PenData* pen = dc.state.pen.data.get();
  if (!pen || pen->style == PS_NULL) return 0;
  return std::max(1, dc.WidthToDevice(pen->width));
}

void PaintRects(DeviceContext& dc, const std::vector<RECT>& rects, const Pattern& pattern, std::uint8_t code) {
  TargetLock lock(dc);
  if (!lock) return;
  for (const RECT& r : rects) PaintRect(dc, r, pattern, code);
}

namespace {

// On/off lengths of the dash styles for one-pixel pens.
bool DashOn(int style, int step) {
  switch (style) {
    case PS_DASH: return step % 24 < 18;
    case PS_DOT: return step % 6 < 3;
    case PS_DASHDOT: {
      int s = step % 30;
      return s < 18 || (s >= 24 && s < 27);
    }
    case PS_DASHDOTDOT: {
      int s = step % 36;
      return s < 18 || (s >= 24 && s < 27) || (s >= 30 && s < 33);
    }
    default: return true;
  }
}

}  // namespace

namespace {

// A solid one-pixel line straight into the target: rows and columns as spans, any other slope as
// one pass of Bresenham's walk over the pixels inside the clip.
void DrawThinSolidLine(DeviceContext& dc, POINT a, POINT b, bool includeEnd) {
  TargetLock lock(dc);
  if (!lock) return;
  const Target& t = lock.target();
  ClipArea clip = ClipOf(dc, t);
  if (clip.IsEmpty()) return;
  std::uint32_t color = SolidPattern(dc, t, dc.state.pen.data->color).solid;
  std::uint8_t code = Rop2ToRop3(dc.state.rop2);
  auto paint = [&](int y, int x0, int x1) { PaintSolidSpan(t, y, x0, x1, color, code); };
  a.x += t.origin.x, a.y += t.origin.y, b.x += t.origin.x, b.y += t.origin.y;
  if (a.x == b.x && a.y == b.y) {
    if (includeEnd && clip.Contains(a.x, a.y)) paint(a.y, a.x, a.x + 1);
    return;
  }
  int end = includeEnd ? 1 : 0;
  // The first pixel is drawn, the last one only with includeEnd, whichever way the line runs.
  if (a.y == b.y) {
    int x0 = a.x < b.x ? a.x : b.x + 1 - end;
    int x1 = a.x < b.x ? b.x + end : a.x + 1;
    clip.ForEachSpan(RECT{x0, a.y, x1, a.y + 1}, paint);
    return;
  }
  if (a.x == b.x) {
    int y0 = a.y < b.y ? a.y : b.y + 1 - end;
    int y1 = a.y < b.y ? b.y + end : a.y + 1;
    const RECT& box = clip.Box();
    if (!clip.IsRectangle() || code != RopIndex(PATCOPY)) {
      clip.ForEachSpan(RECT{a.x, y0, a.x + 1, y1}, paint);
    } else if (a.x >= box.left && a.x < box.right) {
      // A plain column: one store a row.
      int top = std::max(y0, static_cast<int>(box.top)), bottom = std::min(y1, static_cast<int>(box.bottom));
      for (int y = top; y < bottom; ++y) t.surface->Row(y)[a.x] = color;
    }
    return;
  }
  const RECT& box = clip.Box();
  if (std::max(a.x, b.x) < box.left || std::min(a.x, b.x) >= box.right || std::max(a.y, b.y) < box.top ||
      std::min(a.y, b.y) >= box.bottom)
    return;
  int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
  int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  int err = dx + dy, x = a.x, y = a.y;
  while (true) {
    bool atEnd = x == b.x && y == b.y;
    if (atEnd && !includeEnd) break;
    if (clip.Contains(x, y)) paint(y, x, x + 1);
    if (atEnd) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

}  // namespace

void DrawPenLine(DeviceContext& dc, POINT a, POINT b, bool includeEnd) {
  int width = PenWidth(dc);
  if (width == 0) return;
  int style = dc.state.pen.data->style;
  if (width == 1 && (style == PS_SOLID || style == PS_INSIDEFRAME)) {
    DrawThinSolidLine(dc, a, b, includeEnd);
    return;
  }
  // Wide pens stamp a square per pixel; styled one-pixel pens skip the pixels of their gaps.
  TargetLock lock(dc);
  if (!lock) return;
  Pattern pattern = SolidPattern(dc, lock.target(), dc.state.pen.data->color);
  std::uint8_t code = Rop2ToRop3(dc.state.rop2);
  std::vector<RECT> stamps;
  int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
  int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
  int err = dx + dy, x = a.x, y = a.y, step = 0;
  int half = (width - 1) / 2;
  while (true) {
    bool atEnd = x == b.x && y == b.y;
    if (atEnd && !includeEnd) break;
    if (width > 1 || DashOn(style, step))
      stamps.push_back(RECT{x - half, y - half, x - half + width, y - half + width});
    if (atEnd) break;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
    ++step;
  }
  PaintRects(dc, stamps, pattern, code);
}

void FillWithBrush(DeviceContext& dc, Region deviceRegion) {
  const BrushData* brush = dc.state.brush.data.get();
  if (!brush || brush->style == BS_NULL) return;
  TargetLock lock(dc);
  if (!lock) return;
  deviceRegion.Offset(lock.target().origin.x, lock.target().origin.y);
  PaintRegion(dc, deviceRegion, BrushPattern(dc, lock.target()), Rop2ToRop3(dc.state.rop2));
}

void FillWithPen(DeviceContext& dc, Region deviceRegion) {
  if (PenWidth(dc) == 0) return;
  TargetLock lock(dc);
  if (!lock) return;
  deviceRegion.Offset(lock.target().origin.x, lock.target().origin.y);
  PaintRegion(dc, deviceRegion, SolidPattern(dc, lock.target(), dc.state.pen.data->color), Rop2ToRop3(dc.state.rop2));
}

void FillSolid(DeviceContext& dc, const RECT& deviceRect, COLORREF color) {
  TargetLock lock(dc);
  if (!lock) return;
  PaintRect(dc, deviceRect, SolidPattern(dc, lock.target(), color), RopIndex(PATCOPY));
}

}  // namespace platform::gdi

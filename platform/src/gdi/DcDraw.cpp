// CDC drawing: lines, shapes, fills, edges, frame controls, focus rectangles, icons, DrawState and
// block transfers.
#include <algorithm>
#include <cstring>

#include "DeviceContext.h"
#include "Raster.h"
#include "Shapes.h"
#include "platform/gdi.h"

using namespace platform::gdi;

namespace {

std::shared_ptr<DeviceContext> Ctx(HDC h) { return FindDC(h); }

RECT Deflate(RECT r, int l, int t, int rt, int b) { return RECT{r.left + l, r.top + t, r.right - rt, r.bottom - b}; }

// Shape rectangles: with a pen the outline takes the outer pen-width ring, without one the shape
// is a pixel smaller on the right and bottom.
struct ShapeRects {
  RECT outer;
  RECT inner;
  int pen;
};

ShapeRects ShapeOf(DeviceContext& dc, int l, int t, int r, int b) {
  RECT d = dc.ToDevice(RECT{l, t, r, b});
  int pen = PenWidth(dc);
  if (pen == 0) return ShapeRects{Deflate(d, 0, 0, 1, 1), Deflate(d, 0, 0, 1, 1), 0};
  return ShapeRects{d, Deflate(d, pen, pen, pen, pen), pen};
}

void DrawShape(DeviceContext& dc, const ShapeRects& s, Region outer, Region inner) {
  if (!s.pen) {
    FillWithBrush(dc, std::move(outer));
    return;
  }
  Region ring = Region::Combine(outer, inner, RGN_DIFF);
  FillWithBrush(dc, std::move(inner));
  FillWithPen(dc, std::move(ring));
}

SourceImage SourceOf(DeviceContext& src, const Target& t) {
  return SourceImage{t.surface, t.mono, src.Pixel(src.state.bkColor)};
}

BOOL BlitFrom(HDC dest, int x, int y, int w, int h, HDC srcDc, int xs, int ys, int ws, int hs, DWORD rop) {
  std::shared_ptr<DeviceContext> dc = Ctx(dest);
  if (!dc) return FALSE;
  std::uint8_t code = RopIndex(rop);
  POINT d0 = dc->ToDevice(POINT{x, y}), d1 = dc->ToDevice(POINT{x + w, y + h});
  if (!RopUsesSource(code)) {
    PaintRect(*dc, RECT{std::min(d0.x, d1.x), std::min(d0.y, d1.y), std::max(d0.x, d1.x), std::max(d0.y, d1.y)},
              BrushPattern(*dc, dc->CurrentTarget()), code);
    return TRUE;
  }
  std::shared_ptr<DeviceContext> src = Ctx(srcDc);
  if (!src) return FALSE;
  TargetLock srcLock(*src, TargetLock::Access::Read);
  if (!srcLock) return FALSE;
  const Target& st = srcLock.target();
  POINT s0 = src->ToDevice(POINT{xs, ys}), s1 = src->ToDevice(POINT{xs + ws, ys + hs});
  Blit(*dc, d0.x, d0.y, d1.x - d0.x, d1.y - d0.y, SourceOf(*src, st), s0.x + st.origin.x, s0.y + st.origin.y,
       s1.x - s0.x, s1.y - s0.y, code);
  return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys, DWORD rop) {
  return BlitFrom(dest, x, y, w, h, src, xs, ys, w, h, rop);
}
BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xs, int ys, int ws, int hs, DWORD rop) {
  return BlitFrom(dest, x, y, w, h, src, xs, ys, ws, hs, rop);
}
BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
  return BlitFrom(dc, x, y, w, h, nullptr, 0, 0, 0, 0, rop);
}

BOOL CDC::PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, w, h, src ? src->GetSafeHdc() : nullptr, xs, ys, rop);
}
BOOL CDC::StretchBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, DWORD rop) {
  return ::StretchBlt(m_hDC, x, y, w, h, src ? src->GetSafeHdc() : nullptr, xs, ys, ws, hs, rop);
}

// ---- lines and shapes ----

CPoint CDC::MoveTo(int x, int y) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return CPoint();
  POINT old = dc->state.current;
  dc->state.current = POINT{x, y};
  return old;
}

CPoint CDC::GetCurrentPosition() const {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  return dc ? CPoint(dc->state.current) : CPoint();
}

BOOL CDC::LineTo(int x, int y) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return FALSE;
  DrawPenLine(*dc, dc->ToDevice(dc->state.current), dc->ToDevice(POINT{x, y}), false);
  dc->state.current = POINT{x, y};
  return TRUE;
}

BOOL CDC::Polyline(const POINT* points, int count) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc || !points || count < 2) return FALSE;
  for (int i = 0; i + 1 < count; ++i) DrawPenLine(*dc, dc->ToDevice(points[i]), dc->ToDevice(points[i + 1]), false);
  return TRUE;
}

BOOL CDC::Rectangle(int l, int t, int r, int b) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return FALSE;
  ShapeRects s = ShapeOf(*dc, l, t, r, b);
  DrawShape(*dc, s, Region::FromRect(s.outer), Region::FromRect(s.inner));
  return TRUE;
}

BOOL CDC::RoundRect(int l, int t, int r, int b, int ew, int eh) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return FALSE;
  ShapeRects s = ShapeOf(*dc, l, t, r, b);
  int w = dc->WidthToDevice(ew), h = dc->HeightToDevice(eh);
  DrawShape(*dc, s, Region::RoundRect(s.outer, w, h), Region::RoundRect(s.inner, w - 2 * s.pen, h - 2 * s.pen));
  return TRUE;
}

BOOL CDC::Ellipse(int l, int t, int r, int b) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return FALSE;
  ShapeRects s = ShapeOf(*dc, l, t, r, b);
  DrawShape(*dc, s, Region::Ellipse(s.outer), Region::Ellipse(s.inner));
  return TRUE;
}

BOOL CDC::Polygon(const POINT* points, int count) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc || !points || count < 2) return FALSE;
  std::vector<POINT> device(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) device[static_cast<std::size_t>(i)] = dc->ToDevice(points[i]);
  FillWithBrush(*dc, Region::Polygon(device.data(), count, dc->state.polyFillMode));
  for (int i = 0; i < count; ++i) {
    DrawPenLine(*dc, device[static_cast<std::size_t>(i)], device[static_cast<std::size_t>((i + 1) % count)], false);
  }
  return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return CLR_INVALID;
  POINT d = dc->ToDevice(POINT{x, y});
  FillSolid(*dc, RECT{d.x, d.y, d.x + 1, d.y + 1}, color);
  return GetPixel(x, y);
}

COLORREF CDC::GetPixel(int x, int y) const {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return CLR_INVALID;
  TargetLock lock(*dc, TargetLock::Access::Read);
  if (!lock) return CLR_INVALID;
  const Target& t = lock.target();
  POINT d = dc->ToDevice(POINT{x, y});
  int sx = d.x + t.origin.x, sy = d.y + t.origin.y;
  if (sx < 0 || sy < 0 || sx >= t.surface->width || sy >= t.surface->height) return CLR_INVALID;
  std::uint32_t p = t.surface->Row(sy)[sx];
  return RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
}

// ---- fills ----

int FillRect(HDC hdc, LPCRECT rect, HBRUSH brush) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  std::shared_ptr<BrushData> b = FindBrush(brush);
  if (!dc || !rect || !b) return 0;
  if (b->style == BS_NULL) return 1;
  PaintRect(*dc, dc->ToDevice(*rect), BrushPattern(*dc, dc->CurrentTarget(), b.get()), RopIndex(PATCOPY));
  return 1;
}

int FrameRect(HDC hdc, LPCRECT rect, HBRUSH brush) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  std::shared_ptr<BrushData> b = FindBrush(brush);
  if (!dc || !rect || !b) return 0;
  RECT d = dc->ToDevice(*rect);
  if (d.right <= d.left || d.bottom <= d.top) return 1;
  std::vector<RECT> sides = {RECT{d.left, d.top, d.right, d.top + 1}, RECT{d.left, d.bottom - 1, d.right, d.bottom},
                             RECT{d.left, d.top + 1, d.left + 1, d.bottom - 1},
                             RECT{d.right - 1, d.top + 1, d.right, d.bottom - 1}};
  PaintRects(*dc, sides, BrushPattern(*dc, dc->CurrentTarget(), b.get()), RopIndex(PATCOPY));
  return 1;
}

BOOL InvertRect(HDC hdc, LPCRECT rect) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !rect) return FALSE;
  PaintRect(*dc, dc->ToDevice(*rect), Pattern{}, RopIndex(DSTINVERT));
  return TRUE;
}

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
  if (brush) ::FillRect(m_hDC, rect, *brush);
}
void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
  if (brush) ::FrameRect(m_hDC, rect, *brush);
}
void CDC::InvertRect(LPCRECT rect) { ::InvertRect(m_hDC, rect); }

BOOL CDC::FillRgn(CRgn* region, CBrush* brush) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  std::shared_ptr<RegionData> r = region ? FindRegion(region->m_hObject) : nullptr;
  std::shared_ptr<BrushData> b = brush ? FindBrush(brush->m_hObject) : nullptr;
  if (!dc || !r || !b) return FALSE;
  TargetLock lock(*dc);
  if (!lock) return FALSE;
  Region rgn = r->region;
  rgn.Offset(lock.target().origin.x, lock.target().origin.y);
  PaintRegion(*dc, rgn, BrushPattern(*dc, lock.target(), b.get()), RopIndex(PATCOPY));
  return TRUE;
}

BOOL CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height) {
  std::shared_ptr<RegionData> r = region ? FindRegion(region->m_hObject) : nullptr;
  if (!r) return FALSE;
  // The frame is the region less itself shifted inwards from every side.
  Region inner = r->region;
  for (int dx : {-width, width}) {
    Region shifted = r->region;
    shifted.Offset(dx, 0);
    inner = Region::Combine(inner, shifted, RGN_AND);
  }
  for (int dy : {-height, height}) {
    Region shifted = r->region;
    shifted.Offset(0, dy);
    inner = Region::Combine(inner, shifted, RGN_AND);
  }
  CRgn frame;
  frame.CreateRectRgn(0, 0, 0, 0);
  FindRegion(frame.m_hObject)->region = Region::Combine(r->region, inner, RGN_DIFF);
  return FillRgn(&frame, brush);
}

BOOL CDC::InvertRgn(CRgn* region) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  std::shared_ptr<RegionData> r = region ? FindRegion(region->m_hObject) : nullptr;
  if (!dc || !r) return FALSE;
  TargetLock lock(*dc);
  if (!lock) return FALSE;
  Region rgn = r->region;
  rgn.Offset(lock.target().origin.x, lock.target().origin.y);
  PaintRegion(*dc, rgn, Pattern{}, RopIndex(DSTINVERT));
  return TRUE;
}

BOOL CDC::PaintRgn(CRgn* region) {
  CBrush* brush = GetCurrentBrush();
  return brush ? FillRgn(region, brush) : FALSE;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc || !rect) return;
  dc->state.bkColor = color;
  FillSolid(*dc, dc->ToDevice(*rect), color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  if (rect) Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  FillSolidRect(x, y, cx - 1, 1, topLeft);
  FillSolidRect(x, y, 1, cy - 1, topLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

// ---- edges and frame controls ----

namespace {

void EdgeLines(DeviceContext& dc, const RECT& r, UINT flags, COLORREF topLeft, COLORREF bottomRight) {
  if (flags & BF_TOP) FillSolid(dc, RECT{r.left, r.top, r.right, r.top + 1}, topLeft);
  if (flags & BF_LEFT) FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeft);
  if (flags & BF_BOTTOM) FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  if (flags & BF_RIGHT) FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

RECT Shrink(const RECT& r, UINT flags) {
  return RECT{r.left + ((flags & BF_LEFT) ? 1 : 0), r.top + ((flags & BF_TOP) ? 1 : 0),
              r.right - ((flags & BF_RIGHT) ? 1 : 0), r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)};
}

// Draws the edge in device coordinates; returns the rectangle inside it.
RECT DrawEdgeDevice(DeviceContext& dc, RECT r, UINT edge, UINT flags) {
  UINT outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
  UINT inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
  if (flags & (BF_FLAT | BF_MONO)) {
    COLORREF c = (flags & BF_MONO) ? GetSysColor(COLOR_WINDOWFRAME) : GetSysColor(COLOR_BTNSHADOW);
    if (outer) {
      EdgeLines(dc, r, flags, c, c);
      r = Shrink(r, flags);
    }
    if (inner) {
      COLORREF face = (flags & BF_MONO) ? GetSysColor(COLOR_WINDOW) : GetSysColor(COLOR_BTNFACE);
      EdgeLines(dc, r, flags, face, face);
      r = Shrink(r, flags);
    }
  } else {
    if (outer & BDR_RAISEDOUTER)
      EdgeLines(dc, r, flags, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    else if (outer & BDR_SUNKENOUTER)
      EdgeLines(dc, r, flags, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    if (outer) r = Shrink(r, flags);
    if (inner & BDR_RAISEDINNER)
      EdgeLines(dc, r, flags, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    else if (inner & BDR_SUNKENINNER)
      EdgeLines(dc, r, flags, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    if (inner) r = Shrink(r, flags);
  }
  if (flags & BF_MIDDLE) FillSolid(dc, r, GetSysColor((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE));
  return r;
}

void DrawTick(DeviceContext& dc, const RECT& box, COLORREF color) {
  int s = std::min(box.right - box.left, box.bottom - box.top);
  if (s < 5) return;
  POINT a{box.left + s * 2 / 10, box.top + s * 5 / 10};
  POINT b{box.left + s * 4 / 10, box.top + s * 7 / 10};
  POINT c{box.left + s * 8 / 10, box.top + s * 3 / 10};
  std::vector<RECT> dots;
  auto line = [&](POINT p, POINT q) {
    int n = std::max(std::abs(q.x - p.x), std::abs(q.y - p.y));
    for (int i = 0; i <= n; ++i) {
      int x = p.x + (q.x - p.x) * i / std::max(n, 1), y = p.y + (q.y - p.y) * i / std::max(n, 1);
      dots.push_back(RECT{x, y, x + 1, y + 2});
    }
  };
  line(a, b);
  line(b, c);
  TargetLock lock(dc);
  if (lock) PaintRects(dc, dots, SolidPattern(dc, lock.target(), color), RopIndex(PATCOPY));
}

void FillEllipse(DeviceContext& dc, const RECT& r, COLORREF color) {
  TargetLock lock(dc);
  if (!lock) return;
  Region e = Region::Ellipse(r);
  e.Offset(lock.target().origin.x, lock.target().origin.y);
  PaintRegion(dc, e, SolidPattern(dc, lock.target(), color), RopIndex(PATCOPY));
}

RECT SquareAtLeft(const RECT& r) {
  int s = std::min(13, std::min<int>(r.right - r.left, r.bottom - r.top));
  int top = r.top + (r.bottom - r.top - s) / 2;
  return RECT{r.left, top, r.left + s, top + s};
}

void DrawButtonControl(DeviceContext& dc, const RECT& r, UINT state) {
  bool inactive = state & DFCS_INACTIVE, pushed = state & DFCS_PUSHED, checked = state & DFCS_CHECKED;
  COLORREF mark = GetSysColor(inactive ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  COLORREF well = GetSysColor(inactive || pushed ? COLOR_BTNFACE : COLOR_WINDOW);
  if (state & DFCS_BUTTONPUSH) {
    DrawEdgeDevice(dc, r, (pushed || checked) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
  } else if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
    RECT box = SquareAtLeft(r);
    FillEllipse(dc, box, GetSysColor(COLOR_BTNSHADOW));
    FillEllipse(dc, Deflate(box, 1, 1, 1, 1), well);
    if (checked) FillEllipse(dc, Deflate(box, 4, 4, 4, 4), mark);
  } else {
    RECT box = SquareAtLeft(r);
    RECT inside = DrawEdgeDevice(dc, box, EDGE_SUNKEN, BF_RECT);
    FillSolid(dc, inside, well);
    if (checked) DrawTick(dc, inside, mark);
  }
}

void DrawMenuControl(DeviceContext& dc, const RECT& r, UINT state) {
  // Menu images are masks: black marks on white.
  FillSolid(dc, r, RGB(255, 255, 255));
  UINT kind = state & 0xFF;
  if (kind == DFCS_MENUCHECK) {
    DrawTick(dc, r, RGB(0, 0, 0));
  } else if (kind == DFCS_MENUBULLET) {
    int s = std::min(r.right - r.left, r.bottom - r.top) / 3;
    POINT c{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    FillEllipse(dc, RECT{c.x - s / 2, c.y - s / 2, c.x - s / 2 + s, c.y - s / 2 + s}, RGB(0, 0, 0));
  } else {
    int h = std::min(r.right - r.left, r.bottom - r.top) / 2;
    POINT tri[3] = {{r.left + h / 2, r.top + h / 2}, {r.left + h, r.top + h}, {r.left + h / 2, r.top + 3 * h / 2}};
    TargetLock lock(dc);
    if (!lock) return;
    Region t = Region::Polygon(tri, 3, ALTERNATE);
    t.Offset(lock.target().origin.x, lock.target().origin.y);
    PaintRegion(dc, t, SolidPattern(dc, lock.target(), RGB(0, 0, 0)), RopIndex(PATCOPY));
  }
}

}  // namespace

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !rect) return FALSE;
  RECT inside = DrawEdgeDevice(*dc, dc->ToDevice(*rect), edge, flags);
  if (flags & BF_ADJUST) {
    POINT a = dc->ToLogical(POINT{inside.left, inside.top}), b = dc->ToLogical(POINT{inside.right, inside.bottom});
    *rect = RECT{a.x, a.y, b.x, b.y};
  }
  return TRUE;
}

BOOL DrawFrameControl(HDC hdc, LPRECT rect, UINT type, UINT state) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !rect) return FALSE;
  RECT d = dc->ToDevice(*rect);
  switch (type) {
    case DFC_BUTTON: DrawButtonControl(*dc, d, state); return TRUE;
    case DFC_MENU: DrawMenuControl(*dc, d, state); return TRUE;
    case DFC_CAPTION:
    case DFC_SCROLL:
      DrawEdgeDevice(*dc, d, (state & DFCS_PUSHED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE);
      return TRUE;
    default: return FALSE;
  }
}

BOOL DrawFocusRect(HDC hdc, LPCRECT rect) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !rect) return FALSE;
  RECT d = dc->ToDevice(*rect);
  if (d.right <= d.left || d.bottom <= d.top) return TRUE;
  std::vector<RECT> dots;
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) dots.push_back(RECT{x, y, x + 1, y + 1});
  };
  for (int x = d.left; x < d.right; ++x) {
    dot(x, d.top);
    if (d.bottom - 1 > d.top) dot(x, d.bottom - 1);
  }
  for (int y = d.top + 1; y < d.bottom - 1; ++y) {
    dot(d.left, y);
    if (d.right - 1 > d.left) dot(d.right - 1, y);
  }
  PaintRects(*dc, dots, Pattern{}, RopIndex(DSTINVERT));
  return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  std::shared_ptr<IconData> data = FindIcon(icon);
  if (!dc || !data || !data->mask) return FALSE;
  POINT d = dc->ToDevice(POINT{x, y});
  // Icons combine as destination AND mask, then XOR colour, whatever the context's colours are.
  COLORREF text = dc->state.textColor, back = dc->state.bkColor;
  dc->state.textColor = RGB(0, 0, 0);
  dc->state.bkColor = RGB(255, 255, 255);
  const platform::Surface& mask = data->mask->surface;
  Blit(*dc, d.x, d.y, mask.width, mask.height, SourceImage{&mask, data->mask->mono, 0xFFFFFF}, 0, 0, mask.width,
       mask.height, RopIndex(SRCAND));
  if (data->color) {
    const platform::Surface& color = data->color->surface;
    Blit(*dc, d.x, d.y, color.width, color.height, SourceImage{&color, false, 0xFFFFFF}, 0, 0, color.width,
         color.height, RopIndex(SRCINVERT));
  }
  dc->state.textColor = text;
  dc->state.bkColor = back;
  return TRUE;
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rect, type, state); }
void CDC::DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

// ---- DrawState ----

namespace {

// Embossed look of a disabled image: highlight one pixel down-right, shadow on the ink itself.
void Emboss(DeviceContext& dc, const Region& inkDevice) {
  TargetLock lock(dc);
  if (!lock) return;
  Region shadow = inkDevice, highlight = inkDevice;
  shadow.Offset(lock.target().origin.x, lock.target().origin.y);
  highlight.Offset(lock.target().origin.x + 1, lock.target().origin.y + 1);
  PaintRegion(dc, highlight, SolidPattern(dc, lock.target(), GetSysColor(COLOR_BTNHIGHLIGHT)), RopIndex(PATCOPY));
  PaintRegion(dc, shadow, SolidPattern(dc, lock.target(), GetSysColor(COLOR_BTNSHADOW)), RopIndex(PATCOPY));
}

bool IsDark(std::uint32_t p) { return ToMonoPixel(p) == 0; }

BOOL DrawStateImage(HDC hdc, CPoint pt, CSize size, const platform::Surface& image, bool mono, UINT flags,
                    HBRUSH brush) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return FALSE;
  int w = size.cx > 0 ? size.cx : image.width, h = size.cy > 0 ? size.cy : image.height;
  POINT d = dc->ToDevice(pt);
  if (flags & (DSS_DISABLED | DSS_MONO)) {
    Region ink = InkRegion(image, d.x, d.y, w, h, IsDark);
    if (flags & DSS_DISABLED) {
      Emboss(*dc, ink);
    } else {
      std::shared_ptr<BrushData> b = FindBrush(brush);
      TargetLock lock(*dc);
      if (!lock) return FALSE;
      ink.Offset(lock.target().origin.x, lock.target().origin.y);
      Pattern p = b ? BrushPattern(*dc, lock.target(), b.get()) : SolidPattern(*dc, lock.target(), dc->state.textColor);
      PaintRegion(*dc, ink, p, RopIndex(PATCOPY));
    }
    return TRUE;
  }
  Blit(*dc, d.x, d.y, w, h, SourceImage{&image, mono, 0xFFFFFF}, 0, 0, w, h, RopIndex(SRCCOPY));
  return TRUE;
}

}  // namespace

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush) {
  std::shared_ptr<BitmapData> bmp = FindBitmap(bitmap);
  if (!bmp) return FALSE;
  bmp->PullFromDib();
  return DrawStateImage(m_hDC, pt, size, bmp->surface, bmp->mono, flags, brush);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* bitmap, UINT flags, CBrush* brush) {
  return bitmap
             ? DrawState(pt, size, static_cast<HBITMAP>(*bitmap), flags, brush ? static_cast<HBRUSH>(*brush) : nullptr)
             : FALSE;
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush) {
  std::shared_ptr<IconData> data = FindIcon(icon);
  if (!data || !data->mask) return FALSE;
  if (!(flags & (DSS_DISABLED | DSS_MONO))) return DrawIcon(pt.x, pt.y, icon);
  // The icon's visible pixels: mask 0 with a dark colour.
  platform::Surface visible = data->mask->surface;
  for (int y = 0; y < visible.height; ++y) {
    for (int x = 0; x < visible.width; ++x) {
      bool shown = visible.Row(y)[x] == 0;
      bool dark = !data->color || (y < data->color->surface.height && x < data->color->surface.width &&
                                   IsDark(data->color->surface.Row(y)[x]));
      visible.Row(y)[x] = shown && dark ? 0u : 0xFFFFFFu;
    }
  }
  return DrawStateImage(m_hDC, pt, size, visible, true, flags, brush);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON icon, UINT flags, CBrush* brush) {
  return DrawState(pt, size, icon, flags, brush ? static_cast<HBRUSH>(*brush) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR text, UINT flags, BOOL prefixText, int textLength, HBRUSH) {
  if (!text) return FALSE;
  int len = textLength > 0 ? textLength : static_cast<int>(std::strlen(text));
  UINT kind = flags & 0xF;
  UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP;
  if (kind == DST_TEXT || !prefixText) format |= DT_NOPREFIX;
  CSize extent = size;
  if (extent.cx <= 0 || extent.cy <= 0) extent = GetTextExtent(text, len);
  RECT r{pt.x, pt.y, pt.x + extent.cx, pt.y + extent.cy};
  int oldMode = SetBkMode(TRANSPARENT);
  COLORREF oldColor = GetTextColor();
  if (flags & DSS_DISABLED) {
    RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    SetTextColor(GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawText(text, len, &shifted, format);
    SetTextColor(GetSysColor(COLOR_BTNSHADOW));
  }
  DrawText(text, len, &r, format);
  SetTextColor(oldColor);
  SetBkMode(oldMode);
  return TRUE;
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCSTR text, UINT flags, BOOL prefixText, int textLength, CBrush* brush) {
  return DrawState(pt, size, text, flags, prefixText, textLength, brush ? static_cast<HBRUSH>(*brush) : nullptr);
}

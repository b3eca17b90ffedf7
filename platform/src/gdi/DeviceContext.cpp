#include "DeviceContext.h"

#include <cmath>

#include "platform/gdi.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

template <class T>
Selected<T> SelectedStock(int index) {
  Selected<T> s;
  s.handle = StockHandle(index);
  s.data = std::static_pointer_cast<T>(StockObject(index));
  return s;
}

long RoundDiv(double v) { return std::lround(v); }

}  // namespace

Selected<BitmapData> DefaultBitmap() {
  static Selected<BitmapData> bmp = [] {
    Selected<BitmapData> s;
    s.data = MakeBitmap(1, 1, true);
    s.data->stock = true;
    s.handle = HandleTable::Instance().Add(s.data);
    return s;
  }();
  return bmp;
}

DeviceContext::DeviceContext(Type t) : Object(Kind::Context), type(t) {
  state.pen = SelectedStock<PenData>(BLACK_PEN);
  state.brush = SelectedStock<BrushData>(WHITE_BRUSH);
  state.font = SelectedStock<FontData>(SYSTEM_FONT);
  state.palette = SelectedStock<PaletteData>(DEFAULT_PALETTE);
  if (t == Type::Memory) { state.bitmap = DefaultBitmap(); }
}

DeviceContext::~DeviceContext() {
  if (state.bitmap.data && !state.bitmap.data->stock) --state.bitmap.data->selectedIn;
}

Target DeviceContext::CurrentTarget() {
  Target t;
  switch (type) {
    case Type::Window: {
      PaintTarget pt = GetPaintTarget(window, nonClient);
      t.surface = pt.surface;
      t.origin = pt.origin;
      t.clip = pt.clip;
      break;
    }
    case Type::Memory:
      if (state.bitmap.data) {
        t.surface = &state.bitmap.data->surface;
        t.mono = state.bitmap.data->mono;
      }
      break;
    case Type::Printer:
      if (print) t.surface = &print->page;
      break;
    case Type::Screen: t.surface = &ScreenSurface(); break;
  }
  if (t.surface && type != Type::Window) t.clip = RECT{0, 0, t.surface->width, t.surface->height};
  return t;
}

POINT DeviceContext::ToDevice(POINT p) const {
  const DcState& s = state;
  return POINT{
      static_cast<LONG>(RoundDiv(static_cast<double>(p.x - s.windowOrg.x) * s.viewportExt.cx / s.windowExt.cx) +
                        s.viewportOrg.x),
      static_cast<LONG>(RoundDiv(static_cast<double>(p.y - s.windowOrg.y) * s.viewportExt.cy / s.windowExt.cy) +
                        s.viewportOrg.y)};
}

POINT DeviceContext::ToLogical(POINT p) const {
  const DcState& s = state;
  return POINT{
      static_cast<LONG>(RoundDiv(static_cast<double>(p.x - s.viewportOrg.x) * s.windowExt.cx / s.viewportExt.cx) +
                        s.windowOrg.x),
      static_cast<LONG>(RoundDiv(static_cast<double>(p.y - s.viewportOrg.y) * s.windowExt.cy / s.viewportExt.cy) +
                        s.windowOrg.y)};
}

RECT DeviceContext::ToDevice(const RECT& r) const {
  POINT a = ToDevice(POINT{r.left, r.top});
  POINT b = ToDevice(POINT{r.right, r.bottom});
  return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

int DeviceContext::WidthToDevice(int logical) const {
  return static_cast<int>(
      std::lround(std::abs(static_cast<double>(logical) * state.viewportExt.cx / state.windowExt.cx)));
}

int DeviceContext::HeightToDevice(int logical) const {
  return static_cast<int>(
      std::lround(std::abs(static_cast<double>(logical) * state.viewportExt.cy / state.windowExt.cy)));
}

bool DeviceContext::SelectBitmap(std::uintptr_t handle, std::shared_ptr<BitmapData> bmp) {
  if (type != Type::Memory || !bmp) return false;
  if (bmp == state.bitmap.data) return true;
  if (bmp->selectedIn > 0) return false;
  if (state.bitmap.data && !state.bitmap.data->stock) --state.bitmap.data->selectedIn;
  if (!bmp->stock) ++bmp->selectedIn;
  state.bitmap.handle = handle;
  state.bitmap.data = std::move(bmp);
  return true;
}

void DeviceContext::ReplaceState(DcState next) {
  if (next.bitmap.data != state.bitmap.data) {
    if (state.bitmap.data && !state.bitmap.data->stock) --state.bitmap.data->selectedIn;
    if (next.bitmap.data && !next.bitmap.data->stock) ++next.bitmap.data->selectedIn;
  }
  state = std::move(next);
}

Region DeviceContext::ClipRegion(const Target& t) const {
  RECT box = t.clip;
  Region r = Region::FromRect(box);
  if (paintRect) {
    RECT p = *paintRect;
    OffsetRect(&p, t.origin.x, t.origin.y);
    r = Region::Combine(r, Region::FromRect(p), RGN_AND);
  }
  if (state.clip) {
    Region c = *state.clip;
    c.Offset(t.origin.x, t.origin.y);
    r = Region::Combine(r, c, RGN_AND);
  }
  return r;
}

std::shared_ptr<DeviceContext> FindDC(const void* hdc) {
  return HandleTable::Instance().Get<DeviceContext>(hdc, Kind::Context);
}

HDC NewDC(DeviceContext::Type type, std::shared_ptr<DeviceContext>* out) {
  auto dc = std::make_shared<DeviceContext>(type);
  if (type == DeviceContext::Type::Printer) dc->print = std::make_unique<PrintJob>();
  if (out) *out = dc;
  return AddObject<HDC>(dc);
}

Surface& ScreenSurface() {
  static Surface screen;
  SIZE size = platform::GetScreenSize();
  if (screen.width != size.cx || screen.height != size.cy) screen.Resize(size.cx, size.cy);
  return screen;
}

}  // namespace platform::gdi

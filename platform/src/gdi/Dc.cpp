// CDC: handles, selection, state, modes, mapping and clipping; the window context classes.
#include <mutex>
#include <unordered_map>

#include "DeviceContext.h"
#include "Raster.h"
#include "Wrappers.h"
#include "platform/gdi.h"
#include "platform/windows.h"

using namespace platform::gdi;

struct DcWrappers {
  std::recursive_mutex mutex;
  std::unordered_map<HDC, CDC*> attached;
  std::unordered_map<HDC, std::unique_ptr<CDC>> temporary;

  static DcWrappers& Get() {
    static DcWrappers* maps = new DcWrappers;  // outlives every static CDC
    return *maps;
  }
  static CDC* MakeTemporary(HDC dc) {
    auto w = std::make_unique<CDC>();
    w->m_hDC = w->m_hAttribDC = dc;
    w->m_temporary = true;
    CDC* raw = w.get();
    Get().temporary[dc] = std::move(w);
    return raw;
  }
  static void Forget(HDC dc) {
    std::unique_ptr<CDC> doomed;
    std::lock_guard lock(Get().mutex);
    auto it = Get().temporary.find(dc);
    if (it == Get().temporary.end()) return;
    doomed = std::move(it->second);
    doomed->m_hDC = doomed->m_hAttribDC = nullptr;
    Get().temporary.erase(it);
  }
};

namespace {

std::shared_ptr<DeviceContext> Ctx(HDC h) { return FindDC(h); }

// Visible device area of a context (its target's clip, device coordinates).
RECT DeviceBounds(DeviceContext& dc) {
  Target t = dc.CurrentTarget();
  RECT r = t.clip;
  OffsetRect(&r, -t.origin.x, -t.origin.y);
  return r;
}

HGDIOBJ SelectHandle(HDC hdc, HGDIOBJ object) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  std::shared_ptr<Object> o = HandleTable::Instance().Find(reinterpret_cast<std::uintptr_t>(object));
  if (!dc || !o) return nullptr;
  auto value = reinterpret_cast<std::uintptr_t>(object);
  DcState& s = dc->state;
  std::uintptr_t old = 0;
  switch (o->kind) {
    case Kind::Pen:
      old = s.pen.handle;
      s.pen = Selected<PenData>{value, std::static_pointer_cast<PenData>(o)};
      break;
    case Kind::Brush:
      old = s.brush.handle;
      s.brush = Selected<BrushData>{value, std::static_pointer_cast<BrushData>(o)};
      break;
    case Kind::Font:
      old = s.font.handle;
      s.font = Selected<FontData>{value, std::static_pointer_cast<FontData>(o)};
      break;
    case Kind::Bitmap:
      old = s.bitmap.handle;
      if (!dc->SelectBitmap(value, std::static_pointer_cast<BitmapData>(o))) return nullptr;
      break;
    case Kind::Region:
      return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(SelectClipRgn(hdc, reinterpret_cast<HRGN>(object))));
    default: return nullptr;
  }
  return HandleOf<HGDIOBJ>(old);
}

}  // namespace

// ---- handles ----

CDC::~CDC() {
  if (!m_temporary && m_hDC) DeleteDC();
}

CDC* CDC::FromHandle(HDC dc) {
  if (!dc) return nullptr;
  DcWrappers& w = DcWrappers::Get();
  std::lock_guard lock(w.mutex);
  auto a = w.attached.find(dc);
  if (a != w.attached.end()) return a->second;
  auto t = w.temporary.find(dc);
  if (t != w.temporary.end()) return t->second.get();
  return DcWrappers::MakeTemporary(dc);
}

BOOL CDC::Attach(HDC dc) {
  if (m_hDC || !dc) return FALSE;
  m_hDC = m_hAttribDC = dc;
  DcWrappers& w = DcWrappers::Get();
  std::lock_guard lock(w.mutex);
  w.attached[dc] = this;
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  if (h) {
    DcWrappers& w = DcWrappers::Get();
    std::lock_guard lock(w.mutex);
    auto it = w.attached.find(h);
    if (it != w.attached.end() && it->second == this) w.attached.erase(it);
  }
  m_hDC = m_hAttribDC = nullptr;
  return h;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC*) { return Attach(::CreateCompatibleDC(nullptr)); }

HDC CreateCompatibleDC(HDC) { return NewDC(DeviceContext::Type::Memory); }

BOOL DeleteDC(HDC dc) {
  if (!Ctx(dc)) return FALSE;
  DcWrappers::Forget(dc);
  return HandleTable::Instance().Remove(reinterpret_cast<std::uintptr_t>(dc)) ? TRUE : FALSE;
}

int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

int GetDeviceCaps(HDC hdc, int index) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return 0;
  bool printer = dc->type == DeviceContext::Type::Printer;
  SIZE res = printer ? dc->pageSize : platform::GetScreenSize();
  int dpi = dc->Dpi();
  switch (index) {
    case TECHNOLOGY: return printer ? DT_RASPRINTER : DT_RASDISPLAY;
    case HORZRES:
    case PHYSICALWIDTH: return res.cx;
    case VERTRES:
    case PHYSICALHEIGHT: return res.cy;
    case HORZSIZE: return printer ? dc->paperMm.cx : static_cast<int>(res.cx * 254L / (dpi * 10L));
    case VERTSIZE: return printer ? dc->paperMm.cy : static_cast<int>(res.cy * 254L / (dpi * 10L));
    case LOGPIXELSX:
    case LOGPIXELSY: return dpi;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case SIZEPALETTE: return 0;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    default: return 0;
  }
}

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

int SaveDC(HDC hdc) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return FALSE;
  int count = static_cast<int>(dc->saved.size());
  int index = saved < 0 ? count + saved : saved - 1;
  if (index < 0 || index >= count) return FALSE;
  DcState next = dc->saved[static_cast<std::size_t>(index)];
  dc->saved.resize(static_cast<std::size_t>(index));
  dc->ReplaceState(std::move(next));
  return TRUE;
}

// ---- selection ----

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) { return SelectHandle(dc, object); }

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return HandleOf<HGDIOBJ>(dc->state.pen.handle);
    case OBJ_BRUSH: return HandleOf<HGDIOBJ>(dc->state.brush.handle);
    case OBJ_FONT: return HandleOf<HGDIOBJ>(dc->state.font.handle);
    case OBJ_BITMAP: return HandleOf<HGDIOBJ>(dc->state.bitmap.handle);
    case OBJ_PAL: return HandleOf<HGDIOBJ>(dc->state.palette.handle);
    default: return nullptr;
  }
}

CPen* CDC::SelectObject(CPen* pen) {
  return pen ? CPen::FromHandle(reinterpret_cast<HPEN>(SelectHandle(m_hDC, pen->m_hObject))) : nullptr;
}
CBrush* CDC::SelectObject(CBrush* brush) {
  return brush ? CBrush::FromHandle(reinterpret_cast<HBRUSH>(SelectHandle(m_hDC, brush->m_hObject))) : nullptr;
}
CFont* CDC::SelectObject(CFont* font) {
  return font ? CFont::FromHandle(reinterpret_cast<HFONT>(SelectHandle(m_hDC, font->m_hObject))) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return bitmap ? CBitmap::FromHandle(reinterpret_cast<HBITMAP>(SelectHandle(m_hDC, bitmap->m_hObject))) : nullptr;
}
int CDC::SelectObject(CRgn* region) { return SelectClipRgn(region); }
CGdiObject* CDC::SelectObject(CGdiObject* object) {
  return object ? CGdiObject::FromHandle(SelectHandle(m_hDC, object->m_hObject)) : nullptr;
}
HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return SelectHandle(m_hDC, object); }
CGdiObject* CDC::SelectStockObject(int index) {
  return CGdiObject::FromHandle(SelectHandle(m_hDC, ::GetStockObject(index)));
}
CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground) {
  if (!palette) return nullptr;
  return CPalette::FromHandle(::SelectPalette(m_hDC, *palette, forceBackground));
}
UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }
CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(reinterpret_cast<HPEN>(GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const {
  return CBrush::FromHandle(reinterpret_cast<HBRUSH>(GetCurrentObject(m_hDC, OBJ_BRUSH)));
}
CFont* CDC::GetCurrentFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(GetCurrentObject(m_hDC, OBJ_FONT)));
}
CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(reinterpret_cast<HBITMAP>(GetCurrentObject(m_hDC, OBJ_BITMAP)));
}
CPalette* CDC::GetCurrentPalette() const {
  return CPalette::FromHandle(reinterpret_cast<HPALETTE>(GetCurrentObject(m_hDC, OBJ_PAL)));
}

// ---- colours and modes ----

namespace {

template <class T, class F>
T Swap(HDC hdc, T fallback, F member, T value) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return fallback;
  T& field = member(dc->state);
  T old = field;
  field = value;
  return old;
}

template <class T, class F>
T Read(HDC hdc, T fallback, F member) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  return dc ? member(dc->state) : fallback;
}

}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF c) {
  return Swap<COLORREF>(
      dc, CLR_INVALID, [](DcState& s) -> COLORREF& { return s.textColor; }, c);
}
COLORREF SetBkColor(HDC dc, COLORREF c) {
  return Swap<COLORREF>(
      dc, CLR_INVALID, [](DcState& s) -> COLORREF& { return s.bkColor; }, c);
}
int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return Swap<int>(
      dc, 0, [](DcState& s) -> int& { return s.bkMode; }, mode);
}
int SetStretchBltMode(HDC dc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return Swap<int>(
      dc, 0, [](DcState& s) -> int& { return s.stretchMode; }, mode);
}
int SetGraphicsMode(HDC dc, int mode) {
  if (mode != GM_COMPATIBLE && mode != GM_ADVANCED) return 0;
  return Swap<int>(
      dc, 0, [](DcState& s) -> int& { return s.graphicsMode; }, mode);
}
BOOL ModifyWorldTransform(HDC dc, const XFORM* xform, DWORD mode) {
  // Only the identity is supported: that is all drawing here asks for.
  if (!Ctx(dc)) return FALSE;
  if (mode == MWT_IDENTITY) return TRUE;
  return xform && xform->eM11 == 1.0f && xform->eM22 == 1.0f && xform->eM12 == 0.0f && xform->eM21 == 0.0f &&
         xform->eDx == 0.0f && xform->eDy == 0.0f;
}
BOOL SetWorldTransform(HDC dc, const XFORM* xform) { return ModifyWorldTransform(dc, xform, MWT_LEFTMULTIPLY); }

COLORREF CDC::SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
COLORREF CDC::GetTextColor() const {
  return Read<COLORREF>(m_hDC, CLR_INVALID, [](DcState& s) { return s.textColor; });
}
COLORREF CDC::SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
COLORREF CDC::GetBkColor() const {
  return Read<COLORREF>(m_hDC, CLR_INVALID, [](DcState& s) { return s.bkColor; });
}
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
int CDC::GetBkMode() const {
  return Read<int>(m_hDC, 0, [](DcState& s) { return s.bkMode; });
}
int CDC::SetROP2(int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) return 0;
  return Swap<int>(
      m_hDC, 0, [](DcState& s) -> int& { return s.rop2; }, mode);
}
int CDC::GetROP2() const {
  return Read<int>(m_hDC, 0, [](DcState& s) { return s.rop2; });
}
UINT CDC::SetTextAlign(UINT flags) {
  return Swap<UINT>(
      m_hDC, GDI_ERROR, [](DcState& s) -> UINT& { return s.textAlign; }, flags);
}
UINT CDC::GetTextAlign() const {
  return Read<UINT>(m_hDC, GDI_ERROR, [](DcState& s) { return s.textAlign; });
}
int CDC::SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
int CDC::GetStretchBltMode() const {
  return Read<int>(m_hDC, 0, [](DcState& s) { return s.stretchMode; });
}
int CDC::SetPolyFillMode(int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return Swap<int>(
      m_hDC, 0, [](DcState& s) -> int& { return s.polyFillMode; }, mode);
}
int CDC::GetPolyFillMode() const {
  return Read<int>(m_hDC, 0, [](DcState& s) { return s.polyFillMode; });
}
int CDC::SetGraphicsMode(int mode) { return ::SetGraphicsMode(m_hDC, mode); }
BOOL CDC::SetWorldTransform(const XFORM* xform) { return ::SetWorldTransform(m_hDC, xform); }
BOOL CDC::ModifyWorldTransform(const XFORM* xform, DWORD mode) { return ::ModifyWorldTransform(m_hDC, xform, mode); }
CPoint CDC::SetBrushOrg(int x, int y) {
  return Swap<POINT>(
      m_hDC, POINT{0, 0}, [](DcState& s) -> POINT& { return s.brushOrg; }, POINT{x, y});
}

// ---- mapping ----

int SetMapMode(HDC hdc, int mode) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  DcState& s = dc->state;
  int old = s.mapMode;
  s.mapMode = mode;
  int dpi = dc->Dpi();
  auto metric = [&](int unitsPerInch) {
    s.windowExt = SIZE{unitsPerInch, unitsPerInch};
    s.viewportExt = SIZE{dpi, -dpi};
  };
  switch (mode) {
    case MM_TEXT:
      s.windowExt = SIZE{1, 1};
      s.viewportExt = SIZE{1, 1};
      break;
    case MM_LOMETRIC: metric(254); break;
    case MM_HIMETRIC: metric(2540); break;
    case MM_LOENGLISH: metric(100); break;
    case MM_HIENGLISH: metric(1000); break;
    case MM_TWIPS: metric(1440); break;
    default: break;  // isotropic and anisotropic keep the current extents
  }
  return old;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.viewportOrg;
  dc->state.viewportOrg = POINT{x, y};
  return TRUE;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.windowOrg;
  dc->state.windowOrg = POINT{x, y};
  return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT points, int count) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !points) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = dc->ToLogical(points[i]);
  return TRUE;
}

BOOL LPtoDP(HDC hdc, LPPOINT points, int count) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !points) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = dc->ToDevice(points[i]);
  return TRUE;
}

int CDC::SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
int CDC::GetMapMode() const {
  return Read<int>(m_hDC, 0, [](DcState& s) { return s.mapMode; });
}
CPoint CDC::SetWindowOrg(int x, int y) {
  POINT old{0, 0};
  SetWindowOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::GetWindowOrg() const {
  return Read<POINT>(m_hDC, POINT{0, 0}, [](DcState& s) { return s.windowOrg; });
}
CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{0, 0};
  SetViewportOrgEx(m_hDC, x, y, &old);
  return old;
}
CPoint CDC::GetViewportOrg() const {
  return Read<POINT>(m_hDC, POINT{0, 0}, [](DcState& s) { return s.viewportOrg; });
}
CPoint CDC::OffsetViewportOrg(int dx, int dy) {
  CPoint old = GetViewportOrg();
  return SetViewportOrg(old.x + dx, old.y + dy);
}
CPoint CDC::OffsetWindowOrg(int dx, int dy) {
  CPoint old = GetWindowOrg();
  return SetWindowOrg(old.x + dx, old.y + dy);
}

namespace {

CSize SetExtent(HDC hdc, int cx, int cy, bool window) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return CSize(0, 0);
  SIZE& ext = window ? dc->state.windowExt : dc->state.viewportExt;
  SIZE old = ext;
  bool scalable = dc->state.mapMode == MM_ISOTROPIC || dc->state.mapMode == MM_ANISOTROPIC;
  if (scalable && cx != 0 && cy != 0) ext = SIZE{cx, cy};
  return old;
}

}  // namespace

CSize CDC::SetWindowExt(int cx, int cy) { return SetExtent(m_hDC, cx, cy, true); }
CSize CDC::GetWindowExt() const {
  return Read<SIZE>(m_hDC, SIZE{0, 0}, [](DcState& s) { return s.windowExt; });
}
CSize CDC::SetViewportExt(int cx, int cy) { return SetExtent(m_hDC, cx, cy, false); }
CSize CDC::GetViewportExt() const {
  return Read<SIZE>(m_hDC, SIZE{0, 0}, [](DcState& s) { return s.viewportExt; });
}
void CDC::DPtoLP(LPPOINT points, int count) const { ::DPtoLP(m_hDC, points, count); }
void CDC::DPtoLP(LPRECT rect) const { ::DPtoLP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2); }
void CDC::DPtoLP(LPSIZE size) const {
  POINT p[2] = {{0, 0}, {size->cx, size->cy}};
  ::DPtoLP(m_hDC, p, 2);
  *size = SIZE{std::abs(p[1].x - p[0].x), std::abs(p[1].y - p[0].y)};
}
void CDC::LPtoDP(LPPOINT points, int count) const { ::LPtoDP(m_hDC, points, count); }
void CDC::LPtoDP(LPRECT rect) const { ::LPtoDP(m_hDC, reinterpret_cast<LPPOINT>(rect), 2); }
void CDC::LPtoDP(LPSIZE size) const {
  POINT p[2] = {{0, 0}, {size->cx, size->cy}};
  ::LPtoDP(m_hDC, p, 2);
  *size = SIZE{std::abs(p[1].x - p[0].x), std::abs(p[1].y - p[0].y)};
}

// ---- clipping ----

namespace {

int CombineClip(HDC hdc, const Region* rgn, int mode) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return ERROR;
  std::optional<Region>& clip = dc->state.clip;
  if (mode == RGN_COPY) {
    clip = rgn ? std::optional<Region>(*rgn) : std::nullopt;
  } else if (rgn) {
    Region current = clip ? *clip : Region::FromRect(DeviceBounds(*dc));
    clip = Region::Combine(current, *rgn, mode);
  } else {
    return ERROR;
  }
  return clip ? clip->Complexity() : SIMPLEREGION;
}

}  // namespace

int SelectClipRgn(HDC hdc, HRGN region) {
  if (!region) return CombineClip(hdc, nullptr, RGN_COPY);
  std::shared_ptr<RegionData> r = FindRegion(region);
  if (!r) return ERROR;
  return CombineClip(hdc, &r->region, RGN_COPY);
}

int IntersectClipRect(HDC hdc, int l, int t, int r, int b) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc) return ERROR;
  Region rect = Region::FromRect(dc->ToDevice(RECT{l, t, r, b}));
  return CombineClip(hdc, &rect, RGN_AND);
}

int GetClipBox(HDC hdc, LPRECT rect) {
  std::shared_ptr<DeviceContext> dc = Ctx(hdc);
  if (!dc || !rect) return ERROR;
  Target t = dc->CurrentTarget();
  Region visible = dc->ClipRegion(t);
  visible.Offset(-t.origin.x, -t.origin.y);
  RECT box = visible.Box();
  POINT a = dc->ToLogical(POINT{box.left, box.top}), b = dc->ToLogical(POINT{box.right, box.bottom});
  *rect = RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  return visible.Complexity();
}

int CDC::SelectClipRgn(CRgn* region) { return ::SelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr); }
int CDC::SelectClipRgn(CRgn* region, int mode) {
  if (!region) return mode == RGN_COPY ? ::SelectClipRgn(m_hDC, nullptr) : ERROR;
  std::shared_ptr<RegionData> r = FindRegion(region->m_hObject);
  return r ? CombineClip(m_hDC, &r->region, mode) : ERROR;
}
int CDC::IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
int CDC::ExcludeClipRect(int l, int t, int r, int b) {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return ERROR;
  Region rect = Region::FromRect(dc->ToDevice(RECT{l, t, r, b}));
  return CombineClip(m_hDC, &rect, RGN_DIFF);
}
int CDC::GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
BOOL CDC::PtVisible(int x, int y) const {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc) return FALSE;
  Target t = dc->CurrentTarget();
  POINT d = dc->ToDevice(POINT{x, y});
  return dc->ClipRegion(t).Contains(d.x + t.origin.x, d.y + t.origin.y);
}
BOOL CDC::RectVisible(LPCRECT rect) const {
  std::shared_ptr<DeviceContext> dc = Ctx(m_hDC);
  if (!dc || !rect) return FALSE;
  Target t = dc->CurrentTarget();
  RECT d = dc->ToDevice(*rect);
  OffsetRect(&d, t.origin.x, t.origin.y);
  return !Region::Combine(dc->ClipRegion(t), Region::FromRect(d), RGN_AND).IsEmpty();
}

// ---- window contexts ----

namespace {

HDC AcquireWindowDC(HWND hwnd, bool nonClient, const RECT* clip) {
  if (!hwnd) return NewDC(DeviceContext::Type::Screen);
  std::shared_ptr<DeviceContext> dc;
  HDC h = NewDC(DeviceContext::Type::Window, &dc);
  dc->window = hwnd;
  dc->nonClient = nonClient;
  if (clip) dc->paintRect = *clip;
  return h;
}

void ReleaseWindowDC(HWND, HDC dc) { ::DeleteDC(dc); }
CDC* DcOfHandle(HDC dc) { return CDC::FromHandle(dc); }
HDC HandleOfDc(CDC* dc) { return dc ? dc->GetSafeHdc() : nullptr; }

struct HookInstaller {
  HookInstaller() { platform::InstallWindowDcHooks(); }
} g_hookInstaller;

}  // namespace

void platform::InstallWindowDcHooks() {
  WindowDcHooks hooks;
  hooks.acquire = &AcquireWindowDC;
  hooks.release = &ReleaseWindowDC;
  hooks.fromHandle = &DcOfHandle;
  hooks.handleOf = &HandleOfDc;
  SetWindowDcHooks(hooks);
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window ? window->GetSafeHwnd() : nullptr) {
  Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
  Detach();
  ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* window) : m_hWnd(window ? window->GetSafeHwnd() : nullptr) {
  Attach(m_hWnd ? ::GetDC(m_hWnd) : NewDC(DeviceContext::Type::Screen));
}

CClientDC::~CClientDC() {
  HDC h = Detach();
  if (m_hWnd)
    ::ReleaseDC(m_hWnd, h);
  else
    ::DeleteDC(h);
}

CWindowDC::CWindowDC(CWnd* window) : m_hWnd(window ? window->GetSafeHwnd() : nullptr) {
  Attach(m_hWnd ? ::GetWindowDC(m_hWnd) : NewDC(DeviceContext::Type::Screen));
}

CWindowDC::~CWindowDC() {
  HDC h = Detach();
  if (m_hWnd)
    ::ReleaseDC(m_hWnd, h);
  else
    ::DeleteDC(h);
}

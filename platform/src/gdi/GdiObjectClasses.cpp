#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "DeviceContext.h"
#include "GdiObjects.h"
#include "Wrappers.h"
#include "platform/gdi.h"
#include "platform/resources.h"

using namespace platform::gdi;

namespace platform::gdi {
namespace {

struct WrapperMaps {
  std::recursive_mutex mutex;
  std::unordered_map<HGDIOBJ, CGdiObject*> attached;
  std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> temporary;
};

WrapperMaps& Maps() {
  static WrapperMaps* maps = new WrapperMaps;  // outlives every static CGdiObject
  return *maps;
}

}  // namespace

CGdiObject* AttachedObject(HGDIOBJ handle) {
  std::lock_guard lock(Maps().mutex);
  auto it = Maps().attached.find(handle);
  return it == Maps().attached.end() ? nullptr : it->second;
}

void RegisterAttached(HGDIOBJ handle, CGdiObject* object) {
  std::lock_guard lock(Maps().mutex);
  Maps().attached[handle] = object;
}

void UnregisterAttached(HGDIOBJ handle, CGdiObject* object) {
  std::lock_guard lock(Maps().mutex);
  auto it = Maps().attached.find(handle);
  if (it != Maps().attached.end() && it->second == object) Maps().attached.erase(it);
}

CGdiObject* TemporaryObject(HGDIOBJ handle) {
  std::lock_guard lock(Maps().mutex);
  auto it = Maps().temporary.find(handle);
  return it == Maps().temporary.end() ? nullptr : it->second.get();
}

CGdiObject* KeepTemporary(HGDIOBJ handle, std::unique_ptr<CGdiObject> object) {
  std::lock_guard lock(Maps().mutex);
  std::unique_ptr<CGdiObject>& slot = Maps().temporary[handle];
  if (slot) slot->m_hObject = nullptr;
  slot = std::move(object);
  return slot.get();
}

void ForgetTemporary(HGDIOBJ handle) {
  std::unique_ptr<CGdiObject> doomed;
  std::lock_guard lock(Maps().mutex);
  auto it = Maps().temporary.find(handle);
  if (it == Maps().temporary.end()) return;
  doomed = std::move(it->second);
  doomed->m_hObject = nullptr;  // a wrapper never deletes the handle it stands for
  Maps().temporary.erase(it);
}

}  // namespace platform::gdi

// ---- CGdiObject ----

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ object) {
  if (m_hObject || !object) return FALSE;
  m_hObject = object;
  RegisterAttached(object, this);
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  if (h) UnregisterAttached(h, this);
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int size, LPVOID buffer) const { return ::GetObject(m_hObject, size, buffer); }
UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }

BOOL CGdiObject::CreateStockObject(int index) { return !m_hObject && Attach(::GetStockObject(index)); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) { return WrapperFor<CGdiObject>(object); }

namespace {

// Takes a freshly made handle; when this object already holds one the new handle is deleted
// again, so a second Create call leaks nothing.
BOOL Adopt(CGdiObject* self, HGDIOBJ made) {
  if (!made) return FALSE;
  if (self->Attach(made)) return TRUE;
  ::DeleteObject(made);
  return FALSE;
}

}  // namespace

// ---- pens, brushes, fonts ----

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreatePen(style, width, color)));
}
BOOL CPen::CreatePenIndirect(const LOGPEN* pen) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreatePenIndirect(pen)));
}
CPen* CPen::FromHandle(HPEN pen) { return WrapperFor<CPen>(reinterpret_cast<HGDIOBJ>(pen)); }

CBrush::CBrush(CBitmap* pattern) { CreatePatternBrush(pattern); }
BOOL CBrush::CreateSolidBrush(COLORREF color) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateSolidBrush(color)));
}
BOOL CBrush::CreatePatternBrush(CBitmap* pattern) {
  if (!pattern) return FALSE;
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreatePatternBrush(static_cast<HBITMAP>(*pattern))));
}
BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateBrushIndirect(brush)));
}
BOOL CBrush::CreateSysColorBrush(int index) { return CreateSolidBrush(::GetSysColor(index)); }
CBrush* CBrush::FromHandle(HBRUSH brush) { return WrapperFor<CBrush>(reinterpret_cast<HGDIOBJ>(brush)); }

BOOL CFont::CreateFontIndirect(const LOGFONT* font) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateFontIndirect(font)));
}
BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                       BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCSTR face) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateFont(height, width, escapement, orientation, weight, italic,
                                                            underline, strikeOut, charSet, outPrecision, clipPrecision,
                                                            quality, pitchAndFamily, face)));
}
BOOL CFont::CreatePointFont(int pointSize, LPCSTR face, CDC* dc) {
  LOGFONT lf{};
  lf.lfHeight = pointSize;
  lf.lfCharSet = DEFAULT_CHARSET;
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreatePointFontIndirect(&lf, dc);
}
BOOL CFont::CreatePointFontIndirect(const LOGFONT* font, CDC* dc) {
  if (!font) return FALSE;
  LOGFONT lf = *font;
  // Tenths of a point to device pixels, then to the context's logical units.
  int dpi = dc ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
  POINT p{0, static_cast<LONG>(std::lround(lf.lfHeight * dpi / 720.0))};
  POINT origin{0, 0};
  if (dc) {
    dc->DPtoLP(&p);
    dc->DPtoLP(&origin);
  }
  lf.lfHeight = -std::abs(p.y - origin.y);
  return CreateFontIndirect(&lf);
}
CFont* CFont::FromHandle(HFONT font) { return WrapperFor<CFont>(reinterpret_cast<HGDIOBJ>(font)); }

// ---- bitmaps ----

BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCE(id)); }
BOOL CBitmap::LoadBitmap(LPCSTR name) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::LoadBitmap(AfxGetResourceHandle(), name)));
}
BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateBitmap(width, height, planes, bitsPerPixel, bits)));
}
BOOL CBitmap::CreateBitmapIndirect(const BITMAP* bitmap) {
  if (!bitmap) return FALSE;
  return CreateBitmap(bitmap->bmWidth, bitmap->bmHeight, bitmap->bmPlanes, bitmap->bmBitsPixel, bitmap->bmBits);
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return Adopt(this,
               reinterpret_cast<HGDIOBJ>(::CreateCompatibleBitmap(dc ? dc->GetSafeHdc() : nullptr, width, height)));
}
DWORD CBitmap::GetBitmapBits(DWORD count, LPVOID bits) const {
  return static_cast<DWORD>(::GetBitmapBits(*this, static_cast<LONG>(count), bits));
}
DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits) {
  return static_cast<DWORD>(::SetBitmapBits(*this, count, bits));
}
CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return WrapperFor<CBitmap>(reinterpret_cast<HGDIOBJ>(bitmap)); }

// ---- palettes ----

BOOL CPalette::CreatePalette(const LOGPALETTE* palette) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreatePalette(palette)));
}
BOOL CPalette::CreateHalftonePalette(CDC* dc) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateHalftonePalette(dc ? dc->GetSafeHdc() : nullptr)));
}
UINT CPalette::GetNearestPaletteIndex(COLORREF color) const { return ::GetNearestPaletteIndex(*this, color); }
UINT CPalette::GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* entries) const {
  return ::GetPaletteEntries(*this, start, count, entries);
}
UINT CPalette::SetPaletteEntries(UINT start, UINT count, const PALETTEENTRY* entries) {
  return ::SetPaletteEntries(*this, start, count, entries);
}
int CPalette::GetEntryCount() const {
  WORD count = 0;
  return GetObject(sizeof(count), &count) ? count : 0;
}
CPalette* CPalette::FromHandle(HPALETTE palette) { return WrapperFor<CPalette>(reinterpret_cast<HGDIOBJ>(palette)); }

// ---- regions ----

BOOL CRgn::CreateRectRgn(int l, int t, int r, int b) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateRectRgn(l, t, r, b)));
}
BOOL CRgn::CreateRectRgnIndirect(LPCRECT rect) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateRectRgnIndirect(rect)));
}
BOOL CRgn::CreateEllipticRgn(int l, int t, int r, int b) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateEllipticRgn(l, t, r, b)));
}
BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT rect) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateEllipticRgnIndirect(rect)));
}
BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreatePolygonRgn(points, count, fillMode)));
}
BOOL CRgn::CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) {
  return Adopt(this, reinterpret_cast<HGDIOBJ>(::CreateRoundRectRgn(l, t, r, b, w, h)));
}
int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
  return ::CombineRgn(*this, a ? static_cast<HRGN>(*a) : nullptr, b ? static_cast<HRGN>(*b) : nullptr, mode);
}
int CRgn::CopyRgn(const CRgn* source) { return CombineRgn(source, nullptr, RGN_COPY); }
BOOL CRgn::EqualRgn(const CRgn* other) const { return other && ::EqualRgn(*this, *other); }
int CRgn::OffsetRgn(int dx, int dy) { return ::OffsetRgn(*this, dx, dy); }
int CRgn::GetRgnBox(LPRECT box) const { return ::GetRgnBox(*this, box); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion(*this, x, y); }
BOOL CRgn::RectInRegion(LPCRECT rect) const { return ::RectInRegion(*this, rect); }
void CRgn::SetRectRgn(int l, int t, int r, int b) { ::SetRectRgn(*this, l, t, r, b); }
CRgn* CRgn::FromHandle(HRGN region) { return WrapperFor<CRgn>(reinterpret_cast<HGDIOBJ>(region)); }

// Win32 calls that create, describe and delete drawing objects.
#include <algorithm>
#include <cstring>
#include <map>

#include "DeviceContext.h"
#include "GdiObjects.h"
#include "Wrappers.h"
#include "platform/gdi.h"

using namespace platform::gdi;

namespace {

std::uintptr_t Value(const void* h) { return reinterpret_cast<std::uintptr_t>(h); }

int CopyOut(const void* data, int size, int bufferSize, LPVOID buffer) {
  if (!buffer) return size;
  int n = std::min(size, bufferSize);
  if (n <= 0) return 0;
  std::memcpy(buffer, data, static_cast<std::size_t>(n));
  return n;
}

int DescribeBitmap(const BitmapData& bmp, int size, LPVOID buffer) {
  BITMAP bm{};
  bm.bmWidth = bmp.surface.width;
  bm.bmHeight = bmp.surface.height;
  bm.bmPlanes = 1;
  if (bmp.dib) {
    bm.bmBitsPixel = static_cast<WORD>(bmp.dib->BitCount());
    bm.bmWidthBytes = static_cast<LONG>(DibFormat::Stride(bm.bmWidth, bm.bmBitsPixel));
    bm.bmBits = bmp.bits.get();
  } else {
    bm.bmBitsPixel = bmp.mono ? 1 : 32;
    bm.bmWidthBytes = bmp.mono ? ((bm.bmWidth + 15) / 16) * 2 : bm.bmWidth * 4;
  }
  if (bmp.dib && size >= static_cast<int>(sizeof(DIBSECTION))) {
    DIBSECTION ds{};
    ds.dsBm = bm;
    ds.dsBmih = bmp.dibHeader;
    return CopyOut(&ds, sizeof(ds), size, buffer);
  }
  return CopyOut(&bm, sizeof(bm), size, buffer);
}

// Bytes of one row in GetBitmapBits' layout: 1-bit rows padded to 16 bits, colour rows 4 bytes a pixel.
std::size_t BitsRowBytes(const BitmapData& bmp) {
  return bmp.mono ? static_cast<std::size_t>((bmp.surface.width + 15) / 16) * 2
                  : static_cast<std::size_t>(bmp.surface.width) * 4;
}

void WriteBitsRow(const BitmapData& bmp, int y, std::uint8_t* out) {
  const std::uint32_t* row = bmp.surface.Row(y);
  if (bmp.mono) {
    std::memset(out, 0, BitsRowBytes(bmp));
    for (int x = 0; x < bmp.surface.width; ++x) {
      if (row[x]) out[x >> 3] = static_cast<std::uint8_t>(out[x >> 3] | (0x80 >> (x & 7)));
    }
    return;
  }
  for (int x = 0; x < bmp.surface.width; ++x) {
    out[4 * x] = static_cast<std::uint8_t>(row[x]);
    out[4 * x + 1] = static_cast<std::uint8_t>(row[x] >> 8);
    out[4 * x + 2] = static_cast<std::uint8_t>(row[x] >> 16);
    out[4 * x + 3] = 0;
  }
}

void ReadBitsRow(BitmapData& bmp, int y, const std::uint8_t* in) {
  std::uint32_t* row = bmp.surface.Row(y);
  for (int x = 0; x < bmp.surface.width; ++x) {
    if (bmp.mono) {
      row[x] = (in[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFFu : 0u;
    } else {
      row[x] = static_cast<std::uint32_t>(in[4 * x]) | (static_cast<std::uint32_t>(in[4 * x + 1]) << 8) |
               (static_cast<std::uint32_t>(in[4 * x + 2]) << 16);
    }
  }
}

std::map<HWND, HRGN>& WindowRegions() {
  static std::map<HWND, HRGN> regions;
  return regions;
}

HRGN NewRegion(Region r) {
  auto data = std::make_shared<RegionData>();
  data->region = std::move(r);
  return AddObject<HRGN>(data);
}

}  // namespace

HGDIOBJ GetStockObject(int index) { return HandleOf<HGDIOBJ>(StockHandle(index)); }

BOOL DeleteObject(HGDIOBJ object) {
  std::shared_ptr<Object> o = HandleTable::Instance().Find(Value(object));
  if (!o || o->kind == Kind::Context || o->kind == Kind::Icon) return FALSE;
  if (o->stock) return TRUE;
  ForgetTemporary(object);
  return HandleTable::Instance().Remove(Value(object)) ? TRUE : FALSE;
}

int GetObject(HGDIOBJ object, int size, LPVOID buffer) {
  std::shared_ptr<Object> o = HandleTable::Instance().Find(Value(object));
  if (!o) return 0;
  switch (o->kind) {
    case Kind::Pen: {
      auto& pen = static_cast<PenData&>(*o);
      LOGPEN lp{static_cast<UINT>(pen.style), POINT{pen.width, 0}, pen.color};
      return CopyOut(&lp, sizeof(lp), size, buffer);
    }
    case Kind::Brush: {
      auto& brush = static_cast<BrushData&>(*o);
      LOGBRUSH lb{brush.style, brush.color, reinterpret_cast<std::uintptr_t>(brush.patternHandle)};
      return CopyOut(&lb, sizeof(lb), size, buffer);
    }
    case Kind::Font: return CopyOut(&static_cast<FontData&>(*o).logFont, sizeof(LOGFONT), size, buffer);
    case Kind::Bitmap: return DescribeBitmap(static_cast<BitmapData&>(*o), buffer ? size : sizeof(BITMAP), buffer);
    case Kind::Palette: {
      WORD count = static_cast<WORD>(static_cast<PaletteData&>(*o).entries.size());
      return CopyOut(&count, sizeof(count), size, buffer);
    }
    default: return 0;
  }
}

DWORD GetObjectType(HGDIOBJ object) {
  std::shared_ptr<Object> o = HandleTable::Instance().Find(Value(object));
  if (!o) return 0;
  switch (o->kind) {
    case Kind::Pen: return OBJ_PEN;
    case Kind::Brush: return OBJ_BRUSH;
    case Kind::Font: return OBJ_FONT;
    case Kind::Bitmap: return OBJ_BITMAP;
    case Kind::Palette: return OBJ_PAL;
    case Kind::Region: return OBJ_REGION;
    case Kind::Context: return static_cast<DeviceContext&>(*o).type == DeviceContext::Type::Memory ? OBJ_MEMDC : OBJ_DC;
    default: return 0;
  }
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > PS_INSIDEFRAME) return nullptr;
  auto pen = std::make_shared<PenData>();
  pen->style = style;
  pen->width = std::max(width, 0);
  pen->color = color;
  return AddObject<HPEN>(pen);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  return pen ? CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto brush = std::make_shared<BrushData>();
  brush->color = color;
  return AddObject<HBRUSH>(brush);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  std::shared_ptr<BitmapData> bmp = FindBitmap(bitmap);
  if (!bmp) return nullptr;
  bmp->PullFromDib();
  auto brush = std::make_shared<BrushData>();
  brush->style = BS_PATTERN;
  brush->pattern = std::make_shared<const platform::Surface>(bmp->surface);
  brush->monoPattern = bmp->mono;
  brush->patternHandle = bitmap;
  return AddObject<HBRUSH>(brush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  if (lb->lbStyle == BS_PATTERN) return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
  if (lb->lbStyle == BS_NULL) return reinterpret_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  return CreateSolidBrush(lb->lbColor);
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  auto font = std::make_shared<FontData>();
  font->logFont = *lf;
  font->logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
  return AddObject<HFONT>(font);
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, LPCSTR face) {
  LOGFONT lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width < 0 || height < 0 || planes != 1 || width > 32768 || height > 32768 ||
      static_cast<long long>(width) * height > (1LL << 25)) {
    return nullptr;
  }
  auto bmp = MakeBitmap(width, height, bitsPerPixel == 1);
  HBITMAP h = AddObject<HBITMAP>(bmp);
  if (bits && (bitsPerPixel == 1 || bitsPerPixel == 32)) {
    SetBitmapBits(h, static_cast<DWORD>(BitsRowBytes(*bmp) * static_cast<std::size_t>(height)), bits);
  }
  return h;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  if (width <= 0 || height <= 0) return CreateBitmap(1, 1, 1, 1, nullptr);
  std::shared_ptr<DeviceContext> ctx = FindDC(dc);
  bool mono = ctx && ctx->type == DeviceContext::Type::Memory && ctx->state.bitmap.data && ctx->state.bitmap.data->mono;
  return CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits) {
  std::shared_ptr<BitmapData> bmp = FindBitmap(bitmap);
  if (!bmp || size < 0) return 0;
  bmp->PullFromDib();
  std::size_t rowBytes = BitsRowBytes(*bmp);
  std::size_t total = rowBytes * static_cast<std::size_t>(bmp->surface.height);
  if (!bits) return static_cast<LONG>(total);
  std::size_t limit = std::min<std::size_t>(static_cast<std::size_t>(size), total);
  std::vector<std::uint8_t> row(rowBytes);
  auto* out = static_cast<std::uint8_t*>(bits);
  std::size_t written = 0;
  for (int y = 0; y < bmp->surface.height && written < limit; ++y) {
    WriteBitsRow(*bmp, y, row.data());
    std::size_t n = std::min(rowBytes, limit - written);
    std::memcpy(out + written, row.data(), n);
    written += n;
  }
  return static_cast<LONG>(written);
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
  std::shared_ptr<BitmapData> bmp = FindBitmap(bitmap);
  if (!bmp || !bits) return 0;
  std::size_t rowBytes = BitsRowBytes(*bmp);
  const auto* in = static_cast<const std::uint8_t*>(bits);
  int rows = static_cast<int>(
      std::min<std::size_t>(size / std::max<std::size_t>(rowBytes, 1), static_cast<std::size_t>(bmp->surface.height)));
  for (int y = 0; y < rows; ++y) ReadBitsRow(*bmp, y, in + rowBytes * static_cast<std::size_t>(y));
  bmp->PushToDib();
  return static_cast<LONG>(rowBytes * static_cast<std::size_t>(rows));
}

// ---- palettes ----

HPALETTE CreatePalette(const LOGPALETTE* palette) {
  if (!palette || palette->palNumEntries == 0) return nullptr;
  auto data = std::make_shared<PaletteData>();
  data->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
  return AddObject<HPALETTE>(data);
}

HPALETTE CreateHalftonePalette(HDC) {
  auto data = std::make_shared<PaletteData>();
  // A 6x6x6 colour cube, then a ramp of greys up to 256 entries.
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b)
        data->entries.push_back(
            PALETTEENTRY{static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(b * 51), 0});
  for (int i = 0; data->entries.size() < 256; ++i) {
    BYTE v = static_cast<BYTE>(8 + i * 6);
    data->entries.push_back(PALETTEENTRY{v, v, v, 0});
  }
  return AddObject<HPALETTE>(data);
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
  std::shared_ptr<PaletteData> data = FindPalette(palette);
  return data ? data->Nearest(color) : CLR_INVALID;
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
  std::shared_ptr<PaletteData> data = FindPalette(palette);
  if (!data) return 0;
  if (!entries) return static_cast<UINT>(data->entries.size());
  if (start >= data->entries.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(data->entries.size()) - start);
  std::copy_n(data->entries.begin() + start, n, entries);
  return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  std::shared_ptr<PaletteData> data = FindPalette(palette);
  if (!data || !entries || start >= data->entries.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(data->entries.size()) - start);
  std::copy_n(entries, n, data->entries.begin() + start);
  return n;
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
  std::shared_ptr<DeviceContext> ctx = FindDC(dc);
  std::shared_ptr<PaletteData> data = FindPalette(palette);
  if (!ctx || !data) return nullptr;
  HPALETTE old = HandleOf<HPALETTE>(ctx->state.palette.handle);
  ctx->state.palette = Selected<PaletteData>{Value(palette), data};
  return old;
}

UINT RealizePalette(HDC dc) { return FindDC(dc) ? 0 : GDI_ERROR; }

// ---- regions ----

HRGN CreateRectRgn(int l, int t, int r, int b) {
  RECT rc{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)};
  return NewRegion(Region::FromRect(rc));
}
HRGN CreateRectRgnIndirect(LPCRECT r) { return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr; }
HRGN CreateEllipticRgn(int l, int t, int r, int b) {
  return NewRegion(Region::Ellipse(RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)}));
}
HRGN CreateEllipticRgnIndirect(LPCRECT r) {
  return r ? CreateEllipticRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}
HRGN CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) {
  return NewRegion(Region::RoundRect(RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)}, w, h));
}
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 0) return nullptr;
  return NewRegion(Region::Polygon(points, count, fillMode));
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
  std::shared_ptr<RegionData> d = FindRegion(dest), ra = FindRegion(a), rb = FindRegion(b);
  if (!d || !ra || mode < RGN_AND || mode > RGN_COPY || (mode != RGN_COPY && !rb)) return ERROR;
  d->region = mode == RGN_COPY ? ra->region : Region::Combine(ra->region, rb->region, mode);
  return d->region.Complexity();
}

int OffsetRgn(HRGN region, int dx, int dy) {
  std::shared_ptr<RegionData> r = FindRegion(region);
  if (!r) return ERROR;
  r->region.Offset(dx, dy);
  return r->region.Complexity();
}

int GetRgnBox(HRGN region, LPRECT box) {
  std::shared_ptr<RegionData> r = FindRegion(region);
  if (!r || !box) return ERROR;
  *box = r->region.Box();
  return r->region.Complexity();
}

BOOL PtInRegion(HRGN region, int x, int y) {
  std::shared_ptr<RegionData> r = FindRegion(region);
  return r && r->region.Contains(x, y);
}

BOOL RectInRegion(HRGN region, LPCRECT rect) {
  std::shared_ptr<RegionData> r = FindRegion(region);
  if (!r || !rect) return FALSE;
  return !Region::Combine(r->region, Region::FromRect(*rect), RGN_AND).IsEmpty();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  std::shared_ptr<RegionData> ra = FindRegion(a), rb = FindRegion(b);
  return ra && rb && ra->region == rb->region;
}

BOOL SetRectRgn(HRGN region, int l, int t, int r, int b) {
  std::shared_ptr<RegionData> rg = FindRegion(region);
  if (!rg) return FALSE;
  rg->region = Region::FromRect(RECT{std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)});
  return TRUE;
}

int SetWindowRgn(HWND window, HRGN region, BOOL) {
  if (!window) return 0;
  auto& regions = WindowRegions();
  auto it = regions.find(window);
  if (it != regions.end()) {
    DeleteObject(reinterpret_cast<HGDIOBJ>(it->second));
    regions.erase(it);
  }
  if (region) regions[window] = region;
  return 1;
}

int GetWindowRgn(HWND window, HRGN region) {
  auto& regions = WindowRegions();
  auto it = regions.find(window);
  if (it == regions.end()) return ERROR;
  return CombineRgn(region, it->second, nullptr, RGN_COPY);
}

// ---- icons ----

HICON CreateIconIndirect(const ICONINFO* info) {
  if (!info) return nullptr;
  std::shared_ptr<BitmapData> mask = FindBitmap(info->hbmMask);
  std::shared_ptr<BitmapData> color = FindBitmap(info->hbmColor);
  if (!mask) return nullptr;
  // The icon keeps copies: the caller still owns and deletes the bitmaps it passed.
  auto icon = std::make_shared<IconData>();
  mask->PullFromDib();
  icon->mask = std::make_shared<BitmapData>();
  icon->mask->surface = mask->surface;
  icon->mask->mono = mask->mono;
  if (color) {
    color->PullFromDib();
    icon->color = std::make_shared<BitmapData>();
    icon->color->surface = color->surface;
  }
  return AddObject<HICON>(icon);
}

BOOL DestroyIcon(HICON icon) {
  if (!FindIcon(icon)) return FALSE;
  return HandleTable::Instance().Remove(Value(icon)) ? TRUE : FALSE;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  std::shared_ptr<IconData> data = FindIcon(icon);
  if (!data || !info) return FALSE;
  auto copy = [](const std::shared_ptr<BitmapData>& src) -> HBITMAP {
    if (!src) return nullptr;
    auto bmp = MakeBitmap(src->surface.width, src->surface.height, src->mono);
    bmp->surface = src->surface;
    return AddObject<HBITMAP>(bmp);
  };
  *info = ICONINFO{TRUE, 0, 0, copy(data->mask), copy(data->color)};
  return TRUE;
}

// Device-independent bitmaps: sections, conversions to and from device bitmaps, and drawing DIBs.
#include <algorithm>
#include <cstring>

#include "DeviceContext.h"
#include "GdiObjects.h"
#include "Raster.h"
#include "platform/gdi.h"

using namespace platform::gdi;

namespace {

const PaletteData* PaletteOf(HDC dc) {
  std::shared_ptr<DeviceContext> ctx = FindDC(dc);
  return ctx ? ctx->Palette() : nullptr;
}

// Picture rows [first, last) held by a band of stored rows.
struct Band {
  int first{0};
  int last{0};
};

Band BandRows(const DibFormat& f, UINT startScan, UINT scanLines) {
  int h = f.Height();
  int s0 = static_cast<int>(std::min<UINT>(startScan, static_cast<UINT>(h)));
  int s1 = static_cast<int>(
      std::min<UINT>(static_cast<UINT>(s0) + std::min<UINT>(scanLines, static_cast<UINT>(h)), static_cast<UINT>(h)));
  if (f.TopDown()) return Band{s0, s1};
  return Band{h - s1, h - s0};
}

// The picture of a DIB band as a surface of the whole picture's size.
platform::Surface PictureOf(const DibFormat& f, const void* bits, UINT startScan, UINT scanLines) {
  platform::Surface s(f.Width(), f.Height());
  Band band = BandRows(f, startScan, scanLines);
  const auto* base = static_cast<const std::uint8_t*>(bits);
  for (int y = band.first; y < band.last; ++y) {
    int stored = f.StoredRow(y) - static_cast<int>(startScan);
    f.ReadRow(base + f.Stride() * static_cast<std::size_t>(stored), s.Row(y));
  }
  return s;
}

std::vector<RGBQUAD> ColorTableOf(const DibFormat& f) {
  std::vector<RGBQUAD> table;
  for (std::uint32_t c : f.Colors()) {
    table.push_back(RGBQUAD{static_cast<BYTE>(c), static_cast<BYTE>(c >> 8), static_cast<BYTE>(c >> 16), 0});
  }
  return table;
}

// The colour table GetDIBits reports for a bitmap read at bitCount bits.
std::vector<RGBQUAD> TableFor(const BitmapData& bmp, int bitCount, const PaletteData* palette) {
  std::vector<RGBQUAD> table;
  if (bitCount > 8) return table;
  if (bmp.dib && bmp.dib->BitCount() == bitCount) return bmp.dibColors;
  std::size_t n = std::size_t{1} << bitCount;
  if (bitCount == 1) return {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  if (palette && palette->entries.size() >= n) {
    for (std::size_t i = 0; i < n; ++i) {
      const PALETTEENTRY& e = palette->entries[i];
      table.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
    }
    return table;
  }
  HPALETTE halftone = CreateHalftonePalette(nullptr);
  std::vector<PALETTEENTRY> entries(256);
  GetPaletteEntries(halftone, 0, 256, entries.data());
  DeleteObject(reinterpret_cast<HGDIOBJ>(halftone));
  for (std::size_t i = 0; i < n; ++i) {
    const PALETTEENTRY& e = entries[i * (256 / n)];
    table.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
  }
  return table;
}

}  // namespace

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
  if (bits) *bits = nullptr;
  std::optional<DibFormat> f = DibFormat::Parse(info, usage, PaletteOf(dc));
  if (!f) return nullptr;
  auto bmp = MakeBitmap(f->Width(), f->Height(), false);
  bmp->dibHeader = info->bmiHeader;
  bmp->dibHeader.biSizeImage = static_cast<DWORD>(f->ImageSize());
  bmp->dibColors = ColorTableOf(*f);
  bmp->dib = f;
  bmp->bits.reset(new std::uint8_t[f->ImageSize()]());
  bmp->PullFromDib();
  if (bits) *bits = bmp->bits.get();
  return AddObject<HBITMAP>(bmp);
}

HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  if (!header) return nullptr;
  int width = header->biWidth, height = std::abs(header->biHeight);
  HBITMAP h = CreateCompatibleBitmap(dc, width, height);
  if (!h || !(init & CBM_INIT) || !bits || !info) return h;
  SetDIBits(dc, h, 0, static_cast<UINT>(std::abs(info->bmiHeader.biHeight)), bits, info, usage);
  return h;
}

int SetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT scanLines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
  std::shared_ptr<BitmapData> bmp = FindBitmap(bitmap);
  std::optional<DibFormat> f = DibFormat::Parse(info, usage, PaletteOf(dc));
  if (!bmp || !f || !bits) return 0;
  platform::Surface picture = PictureOf(*f, bits, startScan, scanLines);
  Band band = BandRows(*f, startScan, scanLines);
  bmp->PullFromDib();
  int rows = std::min(band.last, bmp->surface.height);
  int cols = std::min(f->Width(), bmp->surface.width);
  for (int y = band.first; y < rows; ++y) {
    const std::uint32_t* src = picture.Row(y);
    std::uint32_t* dst = bmp->surface.Row(y);
    for (int x = 0; x < cols; ++x) dst[x] = bmp->mono ? ToMonoPixel(src[x]) : src[x];
  }
  bmp->PushToDib();
  return band.last - band.first;
}

int SetDIBitsToDevice(HDC dc, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT scanLines, const void* bits, const BITMAPINFO* info, UINT usage) {
  std::shared_ptr<DeviceContext> ctx = FindDC(dc);
  std::optional<DibFormat> f = DibFormat::Parse(info, usage, ctx ? ctx->Palette() : nullptr);
  if (!ctx || !f || !bits) return 0;
  platform::Surface picture = PictureOf(*f, bits, startScan, scanLines);
  Band band = BandRows(*f, startScan, scanLines);
  int w = static_cast<int>(std::min<DWORD>(width, 32768)), h = static_cast<int>(std::min<DWORD>(height, 32768));
  // Bottom-up pictures measure the source from their lower-left corner.
  int top = f->TopDown() ? ySrc : f->Height() - ySrc - h;
  int y0 = std::max(top, band.first), y1 = std::min(top + h, band.last);
  if (y1 <= y0) return 0;
  POINT d = ctx->ToDevice(POINT{xDest, yDest});
  SourceImage src{&picture, false, 0xFFFFFF};
  Blit(*ctx, d.x, d.y + (y0 - top), w, y1 - y0, src, xSrc, y0, w, y1 - y0, RopIndex(SRCCOPY));
  return band.last - band.first;
}

int StretchDIBits(HDC dc, int xDest, int yDest, int widthDest, int heightDest, int xSrc, int ySrc, int widthSrc,
                  int heightSrc, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  std::shared_ptr<DeviceContext> ctx = FindDC(dc);
  std::optional<DibFormat> f = DibFormat::Parse(info, usage, ctx ? ctx->Palette() : nullptr);
  if (!ctx || !f || !bits) return 0;
  platform::Surface picture = PictureOf(*f, bits, 0, static_cast<UINT>(f->Height()));
  int top = f->TopDown() ? ySrc : f->Height() - ySrc - heightSrc;
  RECT d = ctx->ToDevice(RECT{xDest, yDest, xDest + widthDest, yDest + heightDest});
  int dw = d.right - d.left, dh = d.bottom - d.top;
  if (widthDest < 0) dw = -dw;
  if (heightDest < 0) dh = -dh;
  int dx = widthDest < 0 ? d.right - 1 : d.left, dy = heightDest < 0 ? d.bottom - 1 : d.top;
  SourceImage src{&picture, false, 0xFFFFFF};
  Blit(*ctx, dx, dy, dw, dh, src, xSrc, top, widthSrc, heightSrc, RopIndex(rop));
  return std::abs(heightSrc);
}

int GetDIBits(HDC dc, HBITMAP bitmap, UINT startScan, UINT scanLines, void* bits, BITMAPINFO* info, UINT) {
  std::shared_ptr<BitmapData> bmp = FindBitmap(bitmap);
  if (!bmp || !info) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biBitCount == 0) {
    int bitCount = bmp->dib ? bmp->dib->BitCount() : (bmp->mono ? 1 : 32);
    h = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER),
                         bmp->surface.width,
                         bmp->surface.height,
                         1,
                         static_cast<WORD>(bitCount),
                         BI_RGB,
                         static_cast<DWORD>(DibFormat::Stride(bmp->surface.width, bitCount) *
                                            static_cast<std::size_t>(bmp->surface.height)),
                         0,
                         0,
                         0,
                         0};
    return bmp->surface.height;
  }
  if (h.biCompression != BI_RGB) return 0;
  std::vector<RGBQUAD> table = TableFor(*bmp, h.biBitCount, PaletteOf(dc));
  if (!table.empty()) std::memcpy(info->bmiColors, table.data(), table.size() * sizeof(RGBQUAD));
  if (h.biBitCount <= 8) h.biClrUsed = 0;
  std::optional<DibFormat> f = DibFormat::Parse(info, DIB_RGB_COLORS, nullptr);
  if (!f) return 0;
  h.biSizeImage = static_cast<DWORD>(f->ImageSize());
  if (!bits) return f->Height();
  bmp->PullFromDib();
  Band band = BandRows(*f, startScan, scanLines);
  std::vector<std::uint32_t> row(static_cast<std::size_t>(f->Width()), 0);
  auto* out = static_cast<std::uint8_t*>(bits);
  for (int y = band.first; y < band.last; ++y) {
    std::fill(row.begin(), row.end(), 0u);
    if (y < bmp->surface.height) {
      std::copy_n(bmp->surface.Row(y), std::min(f->Width(), bmp->surface.width), row.data());
    }
    int stored = f->StoredRow(y) - static_cast<int>(startScan);
    f->WriteRow(row.data(), out + f->Stride() * static_cast<std::size_t>(stored));
  }
  return band.last - band.first;
}

UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors) {
  std::shared_ptr<DeviceContext> ctx = FindDC(dc);
  if (!ctx || !colors || !ctx->state.bitmap.data || !ctx->state.bitmap.data->dib) return 0;
  const std::vector<RGBQUAD>& table = ctx->state.bitmap.data->dibColors;
  if (start >= table.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(table.size()) - start);
  std::copy_n(table.begin() + start, n, colors);
  return n;
}

UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors) {
  std::shared_ptr<DeviceContext> ctx = FindDC(dc);
  if (!ctx || !colors || !ctx->state.bitmap.data || !ctx->state.bitmap.data->dib) return 0;
  BitmapData& bmp = *ctx->state.bitmap.data;
  if (start >= bmp.dibColors.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(bmp.dibColors.size()) - start);
  std::copy_n(colors, n, bmp.dibColors.begin() + start);
  bmp.RefreshDibFormat();
  bmp.PullFromDib();
  return n;
}

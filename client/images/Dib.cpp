#include "client/images/Dib.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/files.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kLargestInfoHeader = 256;  // the newest Windows header is 124 bytes
constexpr size_t kMaskBytes = 12;
constexpr size_t kBlockOverhead = kInfoHeaderSize + 256 * sizeof(RGBQUAD);
// Run-length compressions of 8- and 4-bit files; they are expanded on reading.
constexpr DWORD kCompressionRle8 = 1;
constexpr DWORD kCompressionRle4 = 2;

bool IsSupportedDepth(int depth) {
  return depth == 1 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

RGBQUAD* ColorTable(LPBITMAPINFOHEADER dib) {
  return reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + dib->biSize);
}

void FillStandardColors(LPBITMAPINFOHEADER dib) {
  static constexpr RGBQUAD kStandard[16] = {
      {0, 0, 0, 0},       {0, 0, 0x80, 0},    {0, 0x80, 0, 0},    {0, 0x80, 0x80, 0},
      {0x80, 0, 0, 0},    {0x80, 0, 0x80, 0}, {0x80, 0x80, 0, 0}, {0xC0, 0xC0, 0xC0, 0},
      {0x80, 0x80, 0x80, 0}, {0, 0, 0xFF, 0}, {0, 0xFF, 0, 0},    {0, 0xFF, 0xFF, 0},
      {0xFF, 0, 0, 0},    {0xFF, 0, 0xFF, 0}, {0xFF, 0xFF, 0, 0}, {0xFF, 0xFF, 0xFF, 0}};
  RGBQUAD* table = ColorTable(dib);
  for (DWORD i = 0; i < dib->biClrUsed; ++i) table[i] = kStandard[i % 16];
}

// Bounds-checked little-endian view of a file's bytes; reads past the end give 0.
struct ByteView {
  const BYTE* data;
  size_t size;
  bool Has(size_t at, size_t count) const { return at <= size && count <= size - at; }
  DWORD U16(size_t at) const { return Has(at, 2) ? DWORD(data[at] | data[at + 1] << 8) : 0; }
  DWORD U32(size_t at) const { return Has(at, 4) ? U16(at) | U16(at + 2) << 16 : 0; }
};

// What a BMP file says about its picture, checked for sanity.
struct BmpLayout {
  int width{0};
  int height{0};
  bool topDown{false};
  int bits{0};
  DWORD compression{BI_RGB};
  UINT colors{0};       // colour-table entries used by the pixels
  UINT tableEntries{0}; // entries stored in the file (also for unpaletted files)
  size_t tableAt{0};
  UINT entrySize{4};
  size_t pixelsAt{0};
  DWORD masks[3]{};
};

bool ReadInfoHeader(const ByteView& in, size_t at, BmpLayout& layout) {
  const DWORD headerSize = in.U32(at);
  DWORD used = 0;
  long long height = 0;
  if (headerSize == kCoreHeaderSize && in.Has(at, kCoreHeaderSize)) {
    layout.width = static_cast<int>(in.U16(at + 4));
    height = in.U16(at + 6);
    layout.bits = static_cast<int>(in.U16(at + 10));
    layout.entrySize = 3;
  } else if (headerSize >= kInfoHeaderSize && headerSize <= kLargestInfoHeader && in.Has(at, headerSize)) {
    layout.width = static_cast<int>(static_cast<int32_t>(in.U32(at + 4)));
    height = static_cast<int32_t>(in.U32(at + 8));
    layout.bits = static_cast<int>(in.U16(at + 14));
    layout.compression = in.U32(at + 16);
    used = in.U32(at + 32);
  } else {
    return false;
  }
  layout.topDown = height < 0;
  if (height < 0) height = -height;
  if (!IsDibSizeAllowed(layout.width, height)) return false;
  layout.height = static_cast<int>(height);
  if (!IsSupportedDepth(layout.bits)) return false;
  const bool bitFields = layout.compression == BI_BITFIELDS;
  const bool runLength = (layout.compression == kCompressionRle8 && layout.bits == 8) ||
                         (layout.compression == kCompressionRle4 && layout.bits == 4);
  if (runLength && layout.topDown) return false;  // compressed files are always bottom-up
  if (layout.compression != BI_RGB && !runLength && !(bitFields && (layout.bits == 16 || layout.bits == 32)))
    return false;
  if (used > 256) return false;
  if (layout.bits <= 8) {
    const UINT most = 1u << layout.bits;
    if (used > most) return false;
    layout.colors = used == 0 ? most : used;
  }
  layout.tableEntries = layout.bits <= 8 ? layout.colors : used;
  // Masks follow a 40-byte header but lie inside the larger ones.
  layout.tableAt = at + headerSize + (bitFields && headerSize < kInfoHeaderSize + kMaskBytes ? kMaskBytes : 0);
  return true;
}

bool ReadMasks(const ByteView& in, size_t headerAt, BmpLayout& layout) {
  if (layout.compression != BI_BITFIELDS) {
    const bool sixteen = layout.bits == 16;
    layout.masks[0] = sixteen ? 0x7C00 : 0xFF0000;
    layout.masks[1] = sixteen ? 0x03E0 : 0x00FF00;
    layout.masks[2] = sixteen ? 0x001F : 0x0000FF;
    return true;
  }
  for (int i = 0; i < 3; ++i) {
    const DWORD mask = in.U32(headerAt + kInfoHeaderSize + 4 * static_cast<size_t>(i));
    const DWORD shifted = mask == 0 ? 0 : mask >> std::countr_zero(mask);
    if (shifted == 0 || (shifted & (shifted + 1)) != 0) return false;
    if (layout.bits == 16 && mask > 0xFFFF) return false;
    layout.masks[i] = mask;
  }
  return true;
}

BYTE ScaleMasked(DWORD pixel, DWORD mask) {
  const int shift = std::countr_zero(mask);
  const int width = std::popcount(mask);
  const DWORD value = (pixel & mask) >> shift;
  if (width >= 8) return static_cast<BYTE>(value >> (width - 8));
  return static_cast<BYTE>(value * 255 / ((1u << width) - 1));
}

void CopyColorTable(const ByteView& in, const BmpLayout& layout, LPBITMAPINFOHEADER dib) {
  dib->biClrUsed = layout.colors;
  RGBQUAD* table = ColorTable(dib);
  for (UINT i = 0; i < layout.colors; ++i) {
    const size_t at = layout.tableAt + static_cast<size_t>(i) * layout.entrySize;
    table[i] = in.Has(at, 3) ? RGBQUAD{in.data[at], in.data[at + 1], in.data[at + 2], 0} : RGBQUAD{};
  }
}

// Converts one row of 16- or 32-bit pixels to blue, green, red.
void ConvertMaskedRow(const BYTE* source, const BmpLayout& layout, BYTE* target) {
  const size_t pixelBytes = static_cast<size_t>(layout.bits) / 8;
  for (int x = 0; x < layout.width; ++x) {
    const BYTE* p = source + pixelBytes * static_cast<size_t>(x);
    const DWORD pixel = pixelBytes == 2 ? DWORD(p[0] | p[1] << 8) : DWORD(p[0] | p[1] << 8 | p[2] << 16 | DWORD(p[3]) << 24);
    BYTE* q = target + 3 * static_cast<size_t>(x);
    q[0] = ScaleMasked(pixel, layout.masks[2]);
    q[1] = ScaleMasked(pixel, layout.masks[1]);
    q[2] = ScaleMasked(pixel, layout.masks[0]);
  }
}

// Rows missing from a short file stay zero.
void CopyRows(const ByteView& in, const BmpLayout& layout, LPBITMAPINFOHEADER dib) {
  const size_t sourceRow = DibRowBytes(layout.width, layout.bits);
  const size_t targetRow = DibRowBytes(layout.width, dib->biBitCount);
  BYTE* bits = GetDibBits(dib);
  for (int row = 0; row < layout.height; ++row) {
    const size_t at = layout.pixelsAt + sourceRow * static_cast<size_t>(row);
    if (at >= in.size) break;
    const size_t available = std::min(sourceRow, in.size - at);
    const int dibRow = layout.topDown ? layout.height - 1 - row : row;
    BYTE* target = bits + targetRow * static_cast<size_t>(dibRow);
    if (layout.bits == 16 || layout.bits == 32) {
      if (available == sourceRow) ConvertMaskedRow(in.data + at, layout, target);
    } else {
      std::memcpy(target, in.data + at, available);
    }
  }
}

// Expands RLE8 or RLE4 data into the block's rows: runs and absolute runs clipped to the row,
// end-of-line, end-of-bitmap and delta escapes. Pixels the data never reaches stay 0; data that
// ends early leaves the rows done so far.
void ExpandRunLengths(const ByteView& in, const BmpLayout& layout, LPBITMAPINFOHEADER dib) {
  const bool four = layout.compression == kCompressionRle4;
  const size_t rowBytes = DibRowBytes(layout.width, layout.bits);
  BYTE* bits = GetDibBits(dib);
  long long x = 0;
  long long y = 0;
  const auto put = [&](BYTE value) {
    if (x >= 0 && x < layout.width && y < layout.height) {
      BYTE* row = bits + rowBytes * static_cast<size_t>(y);
      if (!four) {
        row[x] = value;
      } else {
        BYTE& byte = row[x / 2];
        byte = x % 2 == 0 ? static_cast<BYTE>((byte & 0x0F) | value << 4) : static_cast<BYTE>((byte & 0xF0) | value);
      }
    }
    ++x;
  };
  // The pixel of a run or absolute run numbered i: for RLE4 the nibbles alternate, high first.
  const auto pixel = [four](BYTE byte, int i) { return four ? static_cast<BYTE>(i % 2 == 0 ? byte >> 4 : byte & 0x0F) : byte; };
  size_t at = layout.pixelsAt;
  while (y < layout.height && in.Has(at, 2)) {
    const BYTE count = in.data[at];
    const BYTE second = in.data[at + 1];
    at += 2;
    if (count != 0) {
      for (int i = 0; i < count && x < layout.width; ++i) put(pixel(second, i));
      continue;
    }
    if (second == 0) {  // end of line
      x = 0;
      ++y;
    } else if (second == 1) {  // end of bitmap
      return;
    } else if (second == 2) {  // delta: move right and up
      if (!in.Has(at, 2)) return;
      x += in.data[at];
      y += in.data[at + 1];
      at += 2;
    } else {  // absolute run of second pixels, padded to a whole word
      const size_t bytes = four ? (second + 1u) / 2 : second;
      if (!in.Has(at, bytes)) return;
      for (int i = 0; i < second && x < layout.width; ++i) put(pixel(in.data[at + (four ? i / 2 : i)], i));
      at += bytes + (bytes & 1);
    }
  }
}

void PutLE(BYTE* at, DWORD value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

}  // namespace

bool IsDibSizeAllowed(long long width, long long height) {
  return width >= 1 && width <= kMaxDibSide && height >= 1 && height <= kMaxDibSide && width * height <= kMaxDibPixels;
}

size_t DibRowBytes(int width, int depth) {
  if (width < 1 || width > kMaxDibSide || depth < 1 || depth > 32) return 0;
  return (static_cast<size_t>(width) * static_cast<size_t>(depth) + 31) / 32 * 4;
}

LPBITMAPINFOHEADER CreateDib(int depth, int width, int height) {
  if (!IsSupportedDepth(depth) || !IsDibSizeAllowed(width, height)) return nullptr;
  const size_t rowBytes = DibRowBytes(width, depth);
  if (rowBytes == 0) return nullptr;
  const size_t imageSize = rowBytes * static_cast<size_t>(height);
  auto* dib = static_cast<LPBITMAPINFOHEADER>(std::calloc(1, kBlockOverhead + imageSize));
  if (dib == nullptr) return nullptr;
  dib->biSize = kInfoHeaderSize;
  dib->biWidth = width;
  dib->biHeight = height;
  dib->biPlanes = 1;
  dib->biBitCount = static_cast<WORD>(depth);
  dib->biCompression = BI_RGB;
  dib->biSizeImage = static_cast<DWORD>(imageSize);
  dib->biClrUsed = depth <= 8 ? 1u << depth : 0;
  if (dib->biClrUsed >= 16) FillStandardColors(dib);
  return dib;
}

void FreeDib(LPBITMAPINFOHEADER dib) { std::free(dib); }

UINT GetDibColorCount(const BITMAPINFOHEADER* dib) {
  if (dib->biClrUsed != 0) return dib->biClrUsed;
  return dib->biBitCount <= 8 ? 1u << dib->biBitCount : 0;
}

UINT GetDibPaletteSize(const BITMAPINFOHEADER* dib) {
  return GetDibColorCount(dib) * (dib->biSize == kCoreHeaderSize ? 3 : 4);
}

BYTE* GetDibBits(LPBITMAPINFOHEADER dib) {
  const size_t table = dib->biCompression == BI_BITFIELDS ? kMaskBytes : GetDibColorCount(dib) * sizeof(RGBQUAD);
  return reinterpret_cast<BYTE*>(dib) + dib->biSize + table;
}

LPBITMAPINFOHEADER ReadDibBytes(const BYTE* data, size_t size) {
  const ByteView in{data, size};
  const bool hasFileHeader = in.Has(0, kFileHeaderSize) && data[0] == 'B' && data[1] == 'M';
  const size_t headerAt = hasFileHeader ? kFileHeaderSize : 0;
  BmpLayout layout;
  if (!ReadInfoHeader(in, headerAt, layout)) return nullptr;
  if ((layout.bits == 16 || layout.bits == 32) && !ReadMasks(in, headerAt, layout)) return nullptr;
  const size_t pixelOffset = hasFileHeader ? in.U32(10) : 0;
  layout.pixelsAt = pixelOffset != 0 ? pixelOffset
                                      : layout.tableAt + static_cast<size_t>(layout.tableEntries) * layout.entrySize;
  LPBITMAPINFOHEADER dib = CreateDib(layout.bits <= 8 ? layout.bits : 24, layout.width, layout.height);
  if (dib == nullptr) return nullptr;
  if (layout.bits <= 8) CopyColorTable(in, layout, dib);
  // A table shorter than the standard one moves the rows to where its unused entries lay:
  // pixels the file does not give must read as 0, not as leftover colours.
  std::memset(GetDibBits(dib), 0, DibRowBytes(layout.width, dib->biBitCount) * static_cast<size_t>(layout.height));
  if (layout.compression == kCompressionRle8 || layout.compression == kCompressionRle4)
    ExpandRunLengths(in, layout, dib);
  else
    CopyRows(in, layout, dib);
  return dib;
}

LPBITMAPINFOHEADER ReadDibFile(const char* fileName) {
  std::FILE* file = std::fopen(platform::NativePath(fileName).c_str(), "rb");
  if (file == nullptr) return nullptr;
  std::vector<BYTE> bytes;
  BYTE chunk[65536];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? nullptr : ReadDibBytes(bytes.data(), bytes.size());
}

BOOL SaveDibFile(const char* fileName, const BITMAPINFOHEADER* dib) {
  if (dib == nullptr) return FALSE;
  const size_t imageSize = DibRowBytes(dib->biWidth, dib->biBitCount) * static_cast<size_t>(dib->biHeight);
  const size_t tableSize = dib->biCompression == BI_BITFIELDS ? kMaskBytes : dib->biClrUsed * sizeof(RGBQUAD);
  const size_t blockSize = dib->biSize + tableSize + imageSize;
  BYTE fileHeader[kFileHeaderSize] = {'B', 'M'};
  PutLE(fileHeader + 2, static_cast<DWORD>(blockSize + kFileHeaderSize), 4);
  PutLE(fileHeader + 10, static_cast<DWORD>(kFileHeaderSize + dib->biSize + tableSize), 4);
  std::string bytes(reinterpret_cast<const char*>(fileHeader), sizeof fileHeader);
  bytes.append(reinterpret_cast<const char*>(dib), blockSize);
  return platform::ReplaceFileContents(fileName, bytes);
}

HPALETTE CreateDibPalette(const BITMAPINFOHEADER* dib, BYTE flags) {
  const UINT count = std::min<UINT>(GetDibColorCount(dib), 256);
  if (count == 0 || dib->biBitCount > 8) return nullptr;
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(count);
  const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + dib->biSize);
  for (UINT i = 0; i < count; ++i)
    logical->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, flags};
  return ::CreatePalette(logical);
}

BOOL SetDibColorTable(LPBITMAPINFOHEADER dib, const CPalette* palette, BOOL asIndices) {
  if (dib == nullptr) return FALSE;
  const UINT count = std::min<UINT>(GetDibColorCount(dib), 256);
  if (count == 0 || dib->biCompression == BI_BITFIELDS) return TRUE;
  BYTE* table = reinterpret_cast<BYTE*>(ColorTable(dib));
  if (asIndices) {
    for (UINT i = 0; i < count; ++i) {
      const WORD index = static_cast<WORD>(i);
      std::memcpy(table + 2 * i, &index, sizeof index);
    }
    return TRUE;
  }
  const HPALETTE handle = palette != nullptr ? static_cast<HPALETTE>(*palette)
                                             : reinterpret_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  PALETTEENTRY entries[256] = {};
  GetPaletteEntries(handle, 0, count, entries);
  for (UINT i = 0; i < count; ++i) {
    const RGBQUAD quad{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
    std::memcpy(table + 4 * i, &quad, sizeof quad);
  }
  return TRUE;
}

#pragma once
// What the drawing handles stand for, and the table that maps handles to them. Objects are shared:
// a context keeps what it has selected alive even after the handle is deleted.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "DibFormat.h"
#include "Region.h"
#include "platform/gdi_defs.h"
#include "platform/surface.h"

namespace platform::gdi {

enum class Kind { Pen, Brush, Font, Bitmap, Palette, Region, Icon, Context };

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  const Kind kind;
  bool stock{false};  // stock objects survive DeleteObject
};

struct PenData : Object {
  PenData() : Object(Kind::Pen) {}
  int style{PS_SOLID};
  int width{1};  // logical units; 0 means one pixel
  COLORREF color{0};
};

struct BitmapData;

struct BrushData : Object {
  BrushData() : Object(Kind::Brush) {}
  UINT style{BS_SOLID};
  COLORREF color{0};
  std::shared_ptr<const Surface> pattern;  // BS_PATTERN: a private copy of the bitmap
  bool monoPattern{false};                 // pattern pixels are 0 or 0xFFFFFF and take text/background colours
  HBITMAP patternHandle{nullptr};          // reported back by GetObject
};

struct FontData : Object {
  FontData() : Object(Kind::Font) {}
  LOGFONT logFont{};
};

struct BitmapData : Object {
  BitmapData() : Object(Kind::Bitmap) {}
  Surface surface;
  bool mono{false};
  int selectedIn{0};  // number of contexts holding it (at most one)
  // Device-independent section: the pixels live in bits, in dib's layout.
  std::optional<DibFormat> dib;
  BITMAPINFOHEADER dibHeader{};
  std::vector<RGBQUAD> dibColors;
  std::unique_ptr<std::uint8_t[]> bits;  // never reallocated: callers keep the pointer
  std::vector<std::uint8_t> pulledBits;  // bits as they were when last converted into surface
  // Copies bits into surface (DIB sections only).
  void PullFromDib();
  // Copies surface into bits (DIB sections only).
  void PushToDib();
  // Re-reads the colour table into dib after SetDIBColorTable.
  void RefreshDibFormat();
};

struct PaletteData : Object {
  PaletteData() : Object(Kind::Palette) {}
  std::vector<PALETTEENTRY> entries;
  UINT Nearest(COLORREF color) const;
};

struct RegionData : Object {
  RegionData() : Object(Kind::Region) {}
  Region region;
};

struct IconData : Object {
  IconData() : Object(Kind::Icon) {}
  std::shared_ptr<BitmapData> color;
  std::shared_ptr<BitmapData> mask;
};

// Maps handle values to objects. Handle values are never reused.
class HandleTable {
public:
  static HandleTable& Instance();
  std::uintptr_t Add(std::shared_ptr<Object> object);
  std::shared_ptr<Object> Find(std::uintptr_t handle) const;
  // Removes the handle; false when unknown.
  bool Remove(std::uintptr_t handle);

  template <class T>
  std::shared_ptr<T> Get(const void* handle, Kind kind) const {
    std::shared_ptr<Object> o = Find(reinterpret_cast<std::uintptr_t>(handle));
    if (!o || o->kind != kind) return nullptr;
    return std::static_pointer_cast<T>(o);
  }

private:
  mutable std::mutex m_mutex;
  std::unordered_map<std::uintptr_t, std::shared_ptr<Object>> m_objects;
  std::uintptr_t m_next{0x10000};
};

template <class H>
H HandleOf(std::uintptr_t value) {
  return reinterpret_cast<H>(value);
}
template <class H>
H AddObject(std::shared_ptr<Object> object) {
  return HandleOf<H>(HandleTable::Instance().Add(std::move(object)));
}

std::shared_ptr<PenData> FindPen(const void* h);
std::shared_ptr<BrushData> FindBrush(const void* h);
std::shared_ptr<FontData> FindFont(const void* h);
std::shared_ptr<BitmapData> FindBitmap(const void* h);
std::shared_ptr<PaletteData> FindPalette(const void* h);
std::shared_ptr<RegionData> FindRegion(const void* h);
std::shared_ptr<IconData> FindIcon(const void* h);

// Shared data of a stock object (created on first use).
std::shared_ptr<Object> StockObject(int index);
// Handle value of a stock object; 0 for an unknown index.
std::uintptr_t StockHandle(int index);
// Creates a bitmap object of the given size (white colour or monochrome).
std::shared_ptr<BitmapData> MakeBitmap(int width, int height, bool mono);
// 0x00RRGGBB pixel of a colour reference (palette references resolved through palette, may be null).
std::uint32_t ToPixel(COLORREF color, const PaletteData* palette);
// Monochrome value (0 or 0xFFFFFF) of a colour pixel: white when it is light.
std::uint32_t ToMonoPixel(std::uint32_t pixel);

}  // namespace platform::gdi

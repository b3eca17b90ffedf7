#include "GdiObjects.h"

#include <array>
#include <cstring>

namespace platform::gdi {

HandleTable& HandleTable::Instance() {
  static HandleTable table;
  return table;
}

std::uintptr_t HandleTable::Add(std::shared_ptr<Object> object) {
  std::lock_guard lock(m_mutex);
  std::uintptr_t handle = m_next;
  m_next += 4;
  m_objects.emplace(handle, std::move(object));
  return handle;
}

std::shared_ptr<Object> HandleTable::Find(std::uintptr_t handle) const {
  std::lock_guard lock(m_mutex);
  auto it = m_objects.find(handle);
  return it == m_objects.end() ? nullptr : it->second;
}

bool HandleTable::Remove(std::uintptr_t handle) {
  std::shared_ptr<Object> doomed;  // released outside the lock
  std::lock_guard lock(m_mutex);
  auto it = m_objects.find(handle);
  if (it == m_objects.end()) return false;
  doomed = std::move(it->second);
  m_objects.erase(it);
  return true;
}

std::shared_ptr<PenData> FindPen(const void* h) { return HandleTable::Instance().Get<PenData>(h, Kind::Pen); }
std::shared_ptr<BrushData> FindBrush(const void* h) { return HandleTable::Instance().Get<BrushData>(h, Kind::Brush); }
std::shared_ptr<FontData> FindFont(const void* h) { return HandleTable::Instance().Get<FontData>(h, Kind::Font); }
std::shared_ptr<BitmapData> FindBitmap(const void* h) {
  return HandleTable::Instance().Get<BitmapData>(h, Kind::Bitmap);
}
std::shared_ptr<PaletteData> FindPalette(const void* h) {
  return HandleTable::Instance().Get<PaletteData>(h, Kind::Palette);
}
std::shared_ptr<RegionData> FindRegion(const void* h) {
  return HandleTable::Instance().Get<RegionData>(h, Kind::Region);
}
std::shared_ptr<IconData> FindIcon(const void* h) { return HandleTable::Instance().Get<IconData>(h, Kind::Icon); }

std::uint32_t ToPixel(COLORREF color, const PaletteData* palette) {
  if ((color >> 24) == 0x01) {
    WORD index = static_cast<WORD>(color & 0xFFFF);
    if (!palette || index >= palette->entries.size()) return 0;
    const PALETTEENTRY& e = palette->entries[index];
    return (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
  }
  return (std::uint32_t{GetRValue(color)} << 16) | (std::uint32_t{GetGValue(color)} << 8) | GetBValue(color);
}

std::uint32_t ToMonoPixel(std::uint32_t pixel) {
  unsigned sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
  return sum >= 3 * 128 ? 0xFFFFFFu : 0u;
}

std::shared_ptr<BitmapData> MakeBitmap(int width, int height, bool mono) {
  auto bmp = std::make_shared<BitmapData>();
  // New bitmaps start black, in memory that comes zeroed: a large one is fresh pages, so a back
  // buffer or a picture painted over in full is written once, by its painting.
  bmp->surface.width = std::max(width, 0);
  bmp->surface.height = std::max(height, 0);
  bmp->surface.pixels = PixelVector(static_cast<std::size_t>(bmp->surface.width) * bmp->surface.height,
                                    PixelAllocator<std::uint32_t>::Zeroed());
  bmp->mono = mono;
  return bmp;
}

void BitmapData::PullFromDib() {
  if (!dib || !bits) return;
  const std::size_t size = dib->Stride() * static_cast<std::size_t>(dib->Height());
  // The program may write the bits at any time, but most sections are only drawn from: comparing
  // the bits with those last converted is far cheaper than converting them again.
  if (pulledBits.size() == size && std::memcmp(pulledBits.data(), bits.get(), size) == 0) return;
  for (int y = 0; y < dib->Height(); ++y) {
    dib->ReadRow(bits.get() + dib->Stride() * static_cast<std::size_t>(dib->StoredRow(y)), surface.Row(y));
  }
  pulledBits.assign(bits.get(), bits.get() + size);
}

void BitmapData::PushToDib() {
  if (!dib || !bits) return;
  for (int y = 0; y < dib->Height(); ++y) {
    dib->WriteRow(surface.Row(y), bits.get() + dib->Stride() * static_cast<std::size_t>(dib->StoredRow(y)));
  }
  // Surface and bits agree now, except where a format keeps less than the surface: convert anew.
  pulledBits.clear();
}

void BitmapData::RefreshDibFormat() {
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + 3 * sizeof(DWORD));
  auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
  bi->bmiHeader = dibHeader;
  std::memcpy(bi->bmiColors, dibColors.data(), dibColors.size() * sizeof(RGBQUAD));
  dib = DibFormat::Parse(bi, DIB_RGB_COLORS, nullptr);
  pulledBits.clear();  // the same bits stand for other colours now
}

UINT PaletteData::Nearest(COLORREF color) const {
  if (entries.empty()) return CLR_INVALID;
  std::uint32_t rgb = ToPixel(color & 0xFFFFFF, nullptr);
  UINT best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    long dr = static_cast<long>(entries[i].peRed) - static_cast<long>(rgb >> 16);
    long dg = static_cast<long>(entries[i].peGreen) - static_cast<long>((rgb >> 8) & 0xFF);
    long db = static_cast<long>(entries[i].peBlue) - static_cast<long>(rgb & 0xFF);
    long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = static_cast<UINT>(i);
    }
  }
  return best;
}

namespace {

std::shared_ptr<Object> MakeStockPen(int style, COLORREF color) {
  auto pen = std::make_shared<PenData>();
  pen->style = style;
  pen->color = color;
  return pen;
}

std::shared_ptr<Object> MakeStockBrush(UINT style, COLORREF color) {
  auto brush = std::make_shared<BrushData>();
  brush->style = style;
  brush->color = color;
  return brush;
}

std::shared_ptr<Object> MakeStockFont(const char* face, int height, int weight) {
  auto font = std::make_shared<FontData>();
  font->logFont.lfHeight = height;
  font->logFont.lfWeight = weight;
  std::strncpy(font->logFont.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

std::shared_ptr<Object> MakeDefaultPalette() {
  static constexpr std::array<COLORREF, 20> kColors = {
      RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
      RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
      RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
      RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
  auto pal = std::make_shared<PaletteData>();
  for (COLORREF c : kColors) pal->entries.push_back(PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0});
  return pal;
}

std::shared_ptr<Object> MakeStock(int index) {
  switch (index) {
    case WHITE_BRUSH: return MakeStockBrush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH: return MakeStockBrush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH: return MakeStockBrush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH: return MakeStockBrush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH: return MakeStockBrush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH: return MakeStockBrush(BS_NULL, 0);
    case WHITE_PEN: return MakeStockPen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN: return MakeStockPen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN: return MakeStockPen(PS_NULL, 0);
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: return MakeStockFont("Courier", 13, FW_NORMAL);
    case ANSI_VAR_FONT:
    case DEFAULT_GUI_FONT: return MakeStockFont("MS Sans Serif", -11, FW_NORMAL);
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: return MakeStockFont("System", 16, FW_BOLD);
    case DEFAULT_PALETTE: return MakeDefaultPalette();
    default: return nullptr;
  }
}

struct StockSet {
  std::mutex mutex;
  std::array<std::uintptr_t, DEFAULT_GUI_FONT + 1> handles{};
};

StockSet& Stocks() {
  static StockSet set;
  return set;
}

}  // namespace

std::shared_ptr<Object> StockObject(int index) {
  if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
  StockSet& set = Stocks();
  std::lock_guard lock(set.mutex);
  std::uintptr_t& handle = set.handles[static_cast<std::size_t>(index)];
  if (handle == 0) {
    std::shared_ptr<Object> object = MakeStock(index);
    if (!object) return nullptr;
    object->stock = true;
    handle = HandleTable::Instance().Add(object);
  }
  return HandleTable::Instance().Find(handle);
}

std::uintptr_t StockHandle(int index) {
  if (!StockObject(index)) return 0;
  StockSet& set = Stocks();
  std::lock_guard lock(set.mutex);
  return set.handles[static_cast<std::size_t>(index)];
}

}  // namespace platform::gdi

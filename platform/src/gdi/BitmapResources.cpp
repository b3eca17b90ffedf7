// Bitmaps in a module's resource table, loaded with LoadBitmap and LoadImage.
#include <cstring>
#include <vector>

#include "DibFormat.h"
#include "GdiObjects.h"
#include "platform/gdi.h"
#include "platform/resources.h"

using namespace platform::gdi;

namespace {

// A bitmap resource as stored: its BITMAPINFO (header and colour table) and its rows.
struct BitmapResource {
  std::vector<std::uint8_t> info;
  std::vector<std::uint8_t> bits;
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }
};

const BitmapResource* FindResource(HINSTANCE module, LPCSTR name) {
  platform::ResourceModule* m = module ? platform::FindResourceModule(module) : platform::CurrentResourceModule();
  return m ? m->Find<BitmapResource>(name) : nullptr;
}

}  // namespace

bool platform::AddBitmapResource(ResourceModule& module, UINT id, const BITMAPINFO* info, const void* bits) {
  std::optional<DibFormat> f = DibFormat::Parse(info, DIB_RGB_COLORS, nullptr);
  if (!f || !bits) return false;
  BitmapResource r;
  std::size_t tableBytes =
      info->bmiHeader.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : f->Colors().size() * sizeof(RGBQUAD);
  r.info.resize(sizeof(BITMAPINFOHEADER) + std::max<std::size_t>(tableBytes, sizeof(RGBQUAD)));
  std::memcpy(r.info.data(), info, sizeof(BITMAPINFOHEADER) + tableBytes);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(r.info.data());
  header->biClrUsed = static_cast<DWORD>(f->Colors().size());
  r.bits.assign(static_cast<const std::uint8_t*>(bits), static_cast<const std::uint8_t*>(bits) + f->ImageSize());
  module.Add<BitmapResource>(id, std::move(r));
  return true;
}

void platform::AddBitmapResource(ResourceModule& module, UINT id, const Surface& pixels) {
  BITMAPINFO info{};
  info.bmiHeader =
      BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(pixels.width) * pixels.height * 4);
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      std::uint32_t p = pixels.Row(y)[x];
      std::uint8_t* out = bits.data() + (static_cast<std::size_t>(y) * pixels.width + x) * 4;
      out[0] = static_cast<std::uint8_t>(p);
      out[1] = static_cast<std::uint8_t>(p >> 8);
      out[2] = static_cast<std::uint8_t>(p >> 16);
      out[3] = 0;
    }
  }
  AddBitmapResource(module, id, &info, bits.data());
}

bool platform::AddBitmapResourcePng(ResourceModule& module, UINT id, const char* path) {
  Surface s;
  if (!LoadPng(path, s)) return false;
  AddBitmapResource(module, id, s);
  return true;
}

HBITMAP LoadBitmap(HINSTANCE module, LPCSTR name) {
  const BitmapResource* r = FindResource(module, name);
  if (!r) return nullptr;
  const BITMAPINFOHEADER& h = r->Info()->bmiHeader;
  HBITMAP bmp = CreateBitmap(h.biWidth, std::abs(h.biHeight), 1, 32, nullptr);
  if (bmp)
    SetDIBits(nullptr, bmp, 0, static_cast<UINT>(std::abs(h.biHeight)), r->bits.data(), r->Info(), DIB_RGB_COLORS);
  return bmp;
}

HANDLE LoadImage(HINSTANCE module, LPCSTR name, UINT type, int, int, UINT flags) {
  if (type != IMAGE_BITMAP || (flags & LR_LOADFROMFILE)) return nullptr;
  if (!(flags & LR_CREATEDIBSECTION)) return LoadBitmap(module, name);
  const BitmapResource* r = FindResource(module, name);
  if (!r) return nullptr;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, r->Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
  std::shared_ptr<BitmapData> data = FindBitmap(bmp);
  if (!data || !bits) return bmp;
  std::memcpy(bits, r->bits.data(), std::min(r->bits.size(), data->dib->ImageSize()));
  data->PullFromDib();
  return bmp;
}

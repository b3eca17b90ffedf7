#include "client/resources/BoardPictures.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "client/model/StonePictures.h"
#include "platform/gdi.h"
#include "platform/resources.h"

namespace {

constexpr UINT kTexture = 132;
constexpr UINT kLastMoveMark = 237;
constexpr UINT kStoneMask = 301;
constexpr UINT kCursor = 202;
constexpr int kTextureSide = 128;

// An 8-bit picture with a colour table, stored bottom-up as a device-independent bitmap.
class IndexedPicture {
public:
  IndexedPicture(int width, int height, int colours)
      : m_height(height), m_stride((width + 3) & ~3),
        m_info(sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * static_cast<size_t>(colours)),
        m_bits(static_cast<size_t>(m_stride) * height) {
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(m_info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 8;
    header->biClrUsed = static_cast<DWORD>(colours);
  }
  void SetColour(int index, int red, int green, int blue) {
    Table()[index] = RGBQUAD{static_cast<BYTE>(blue), static_cast<BYTE>(green), static_cast<BYTE>(red), 0};
  }
  // y counts from the top.
  void Set(int x, int y, int index) {
    m_bits[static_cast<size_t>(m_height - 1 - y) * m_stride + x] = static_cast<BYTE>(index);
  }
  void Register(platform::ResourceModule& module, UINT id) const {
    platform::AddBitmapResource(module, id, reinterpret_cast<const BITMAPINFO*>(m_info.data()), m_bits.data());
  }

private:
  RGBQUAD* Table() { return reinterpret_cast<RGBQUAD*>(m_info.data() + sizeof(BITMAPINFOHEADER)); }

  int m_height;
  int m_stride;
  std::vector<BYTE> m_info;
  std::vector<BYTE> m_bits;
};

int Lerp(int a, int b, double t) { return static_cast<int>(a + (b - a) * t + 0.5); }

// Light wood with fine grain; every wave has a whole number of periods across the tile, so tiles
// join without seams.
void RegisterTexture(platform::ResourceModule& module) {
  constexpr int kColours = 64;
  IndexedPicture picture(kTextureSide, kTextureSide, kColours);
  for (int i = 0; i < kColours; ++i) {
    const double t = i / (kColours - 1.0);
    picture.SetColour(i, Lerp(206, 238, t), Lerp(160, 198, t), Lerp(88, 128, t));
  }
  constexpr double kTau = 2.0 * std::numbers::pi;
  for (int y = 0; y < kTextureSide; ++y) {
    for (int x = 0; x < kTextureSide; ++x) {
      const double u = static_cast<double>(x) / kTextureSide;
      const double v = static_cast<double>(y) / kTextureSide;
      const double warp = 0.04 * std::sin(kTau * 2 * v) + 0.01 * std::sin(kTau * 5 * v + 1.0);
      double grain = 0.55 + 0.22 * std::sin(kTau * 9 * (u + warp)) + 0.1 * std::sin(kTau * 23 * (u + warp) + 0.7) +
                     0.05 * std::sin(kTau * (3 * u + 7 * v));
      grain = std::clamp(grain, 0.0, 1.0);
      picture.Set(x, y, static_cast<int>(grain * (kColours - 1) + 0.5));
    }
  }
  picture.Register(module, kTexture);
}

// A round stone of side size on pure green (index 0), lit from the upper left.
void RegisterStone(platform::ResourceModule& module, UINT id, int size, bool black) {
  constexpr int kShades = 200;
  IndexedPicture picture(size, size, kShades + 2);
  picture.SetColour(0, 0, 255, 0);
  for (int i = 0; i < kShades; ++i) {
    const double t = i / (kShades - 1.0);  // 0 at the highlight, 1 at the far rim
    if (black)
      picture.SetColour(i + 1, Lerp(96, 8, t), Lerp(96, 8, t), Lerp(104, 12, t));
    else
      picture.SetColour(i + 1, Lerp(255, 178, t), Lerp(255, 176, t), Lerp(255, 168, t));
  }
  const int rim = kShades + 1;
  if (black)
    picture.SetColour(rim, 0, 0, 0);
  else
    picture.SetColour(rim, 120, 118, 110);
  const double centre = (size - 1) / 2.0;
  const double radius = size / 2.0;
  const double lightX = centre - radius * 0.35;
  const double lightY = centre - radius * 0.4;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double d = std::hypot(x - centre, y - centre);
      if (d > radius - 0.25) {
        picture.Set(x, y, 0);
        continue;
      }
      if (d > radius - 1.25) {
        picture.Set(x, y, rim);
        continue;
      }
      const double t = std::clamp(std::hypot(x - lightX, y - lightY) / (radius * 1.45), 0.0, 1.0);
      picture.Set(x, y, 1 + static_cast<int>(t * (kShades - 1)));
    }
  }
  picture.Register(module, id);
}

// A red dot on green: the mark of the last move, readable on both colours of stone.
void RegisterLastMoveMark(platform::ResourceModule& module) {
  IndexedPicture picture(9, 9, 2);
  picture.SetColour(0, 0, 255, 0);
  picture.SetColour(1, 230, 20, 20);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) picture.Set(x, y, std::hypot(x - 4.0, y - 4.0) <= 3.3 ? 1 : 0);
  picture.Register(module, kLastMoveMark);
}

// White where the 17-pixel stones are transparent, black where they show.
void RegisterStoneMask(platform::ResourceModule& module) {
  constexpr int kSide = 17;
  platform::Surface mask(kSide, kSide);
  const double centre = (kSide - 1) / 2.0;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      mask.Row(y)[x] = std::hypot(x - centre, y - centre) > kSide / 2.0 - 0.25 ? 0xFFFFFF : 0x000000;
  platform::AddBitmapResource(module, kStoneMask, mask);
}

// Navigation glyphs: dark shapes on the button face, 20 x 14 pixels.
using Shape = std::function<bool(double x, double y)>;

void RegisterGlyph(platform::ResourceModule& module, UINT id, const Shape& inside) {
  constexpr int kWidth = 20;
  constexpr int kHeight = 14;
  platform::Surface glyph(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) glyph.Row(y)[x] = inside(x + 0.5, y + 0.5) ? 0x202020 : 0xC0C0C0;
  platform::AddBitmapResource(module, id, glyph);
}

// A triangle pointing right (or left) with its flat side at x0 and its tip at x1, centred on row 7.
bool Triangle(double x, double y, double x0, double x1) {
  const double t = (x - x0) / (x1 - x0);
  return t >= 0.0 && t <= 1.0 && std::abs(y - 7.0) <= 5.0 * (1.0 - t);
}

void RegisterButtonGlyphs(platform::ResourceModule& module) {
  RegisterGlyph(module, 320, [](double x, double y) {  // first
    return (x >= 3 && x < 5 && y >= 2 && y < 12) || Triangle(x, y, 11, 5) || Triangle(x, y, 17, 11);
  });
  RegisterGlyph(module, 323, [](double x, double y) { return Triangle(x, y, 13, 6); });  // previous
  RegisterGlyph(module, 322, [](double x, double y) { return Triangle(x, y, 7, 14); });  // next
  RegisterGlyph(module, 321, [](double x, double y) {  // last
    return Triangle(x, y, 3, 9) || Triangle(x, y, 9, 15) || (x >= 15 && x < 17 && y >= 2 && y < 12);
  });
  RegisterGlyph(module, 319, [](double x, double y) {  // move numbers: a "1" in a ring
    const double d = std::hypot(x - 10.0, y - 7.0);
    return (d >= 4.8 && d <= 6.2) || (x >= 9.5 && x < 11.0 && y >= 3.5 && y < 10.5) ||
           (y >= 4.0 && y < 5.5 && x >= 8.0 && x < 10.0);
  });
  RegisterGlyph(module, 324, [](double x, double y) {  // close
    const double a = std::abs((x - 10.0) - (y - 7.0));
    const double b = std::abs((x - 10.0) + (y - 7.0));
    return std::abs(x - 10.0) <= 5.0 && std::abs(y - 7.0) <= 5.0 && (a <= 1.0 || b <= 1.0);
  });
}

}  // namespace

void RegisterBoardPictures(platform::ResourceModule& module) {
  RegisterTexture(module);
  for (const StonePictures& stone : kStonePictures) {
    RegisterStone(module, stone.black, stone.size, true);
    RegisterStone(module, stone.white, stone.size, false);
  }
  RegisterLastMoveMark(module);
  RegisterStoneMask(module);
  RegisterButtonGlyphs(module);
  platform::AddCursorResource(module, kCursor);
}

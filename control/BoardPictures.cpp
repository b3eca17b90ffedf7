#include "control/BoardPictures.h"

#include <algorithm>
#include <cmath>

#include "control/StolvexIds.h"
#include "platform/gdi.h"
#include "platform/resources.h"

namespace {

// Width class of the stone images: below `below` pixels, the two ids and the size they are drawn at.
struct StoneClass {
  int below;
  unsigned black;
  unsigned white;
};
constexpr StoneClass kStoneClasses[] = {
    {15, 242, 244}, {17, 241, 243}, {19, 231, 236}, {21, 232, 237}, {23, 217, 216}, {25, 233, 238},
    {27, 234, 239}, {29, 235, 240}, {31, 290, 293}, {33, 291, 294}, {35, 292, 295}, {37, 296, 297},
    {39, 298, 301}, {41, 299, 302}, {43, 300, 303}, {45, 320, 318}, {47, 315, 314}, {1 << 30, 321, 312}};

std::uint32_t Rgb(int r, int g, int b) {
  auto c = [](int v) { return static_cast<std::uint32_t>(std::clamp(v, 0, 255)); };
  return (c(r) << 16) | (c(g) << 8) | c(b);
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t) {
  auto ch = [&](int shift) {
    const double x = ((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t;
    return static_cast<std::uint32_t>(std::lround(x)) << shift;
  };
  return ch(16) | ch(8) | ch(0);
}

platform::Surface Filled(int w, int h, std::uint32_t colour) {
  platform::Surface s(w, h);
  std::fill(s.pixels.begin(), s.pixels.end(), colour);
  return s;
}

// A light wood tile whose grain runs across and wraps at the edges, so tiles join without seams.
platform::Surface Wood() {
  constexpr int kSize = 64;
  constexpr double kPi = 3.14159265358979;
  platform::Surface s(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const double u = 2 * kPi * x / kSize;
      const double v = 2 * kPi * y / kSize;
      const double grain = std::sin(v * 3 + 0.9 * std::sin(u) + 0.4 * std::sin(2 * u + 1.3)) +
                           0.35 * std::sin(v * 11 + 2 * std::sin(u * 2));
      const int shade = static_cast<int>(grain * 9);
      s.Row(y)[x] = Rgb(222 + shade, 178 + shade, 110 + shade / 2);
    }
  }
  return s;
}

// A shaded stone filling a square of size pixels on the key colour.
platform::Surface Stone(int size, bool black) {
  platform::Surface s = Filled(size, size, kStoneKey);
  const double r = size / 2.0 - 0.5;
  const double c = size / 2.0;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const double dx = x + 0.5 - c;
      const double dy = y + 0.5 - c;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > r + 0.5)
        continue;
      // Light from the upper left.
      const double hx = dx + r * 0.35;
      const double hy = dy + r * 0.35;
      const double light = std::clamp(1.0 - std::sqrt(hx * hx + hy * hy) / (r * 1.6), 0.0, 1.0);
      std::uint32_t colour = black ? Rgb(20 + static_cast<int>(light * light * 90), 20 + static_cast<int>(light * light * 90),
                                         24 + static_cast<int>(light * light * 96))
                                   : Rgb(200 + static_cast<int>(light * 55), 200 + static_cast<int>(light * 55),
                                         195 + static_cast<int>(light * 55));
      if (d > r - 0.5)  // the rim blends into the key so the edge stays round
        colour = Mix(colour, black ? Rgb(60, 50, 40) : Rgb(150, 140, 120), 0.5);
      s.Row(y)[x] = colour;
    }
  }
  return s;
}

void Disc(platform::Surface& s, double cx, double cy, double r, std::uint32_t colour) {
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      const double dx = x + 0.5 - cx;
      const double dy = y + 0.5 - cy;
      if (dx * dx + dy * dy <= r * r)
        s.Row(y)[x] = colour;
    }
  }
}

void Square(platform::Surface& s, int left, int top, int size, std::uint32_t colour) {
  for (int y = top; y < top + size; ++y)
    for (int x = left; x < left + size; ++x)
      s.Row(y)[x] = colour;
}

// A cross from corner to corner, two pixels thick.
void Cross(platform::Surface& s, int margin, std::uint32_t colour) {
  const int n = s.width;
  for (int k = margin; k < n - margin; ++k) {
    for (int t = 0; t < 2; ++t) {
      const int a = std::min(k + t, n - margin - 1);
      s.Row(k)[a] = colour;
      s.Row(k)[n - 1 - a] = colour;
    }
  }
}

}  // namespace

StoneImageIds StoneImagesForWidth(int w) {
  for (const StoneClass& c : kStoneClasses) {
    if (w < c.below)
      return {c.black, c.white};
  }
  return {kStoneClasses[std::size(kStoneClasses) - 1].black, kStoneClasses[std::size(kStoneClasses) - 1].white};
}

platform::Surface DrawBoardPicture(unsigned id) {
  for (std::size_t k = 0; k < std::size(kStoneClasses); ++k) {
    // Each class is drawn at the widest size it serves, the last at 48.
    const int size = k + 1 < std::size(kStoneClasses) ? kStoneClasses[k].below - 1 : 48;
    if (id == kStoneClasses[k].black)
      return Stone(size, true);
    if (id == kStoneClasses[k].white)
      return Stone(size, false);
  }
  switch (id) {
    case IDB_BOARD:
      return Wood();
    case IDB_STAR_POINT: {
      platform::Surface s = Filled(7, 7, kStoneKey);
      Disc(s, 3.5, 3.5, 2.6, 0);
      return s;
    }
    case IDB_TERRITORY: {  // a small square, on black
      platform::Surface s = Filled(16, 16, 0);
      Square(s, 4, 4, 8, Rgb(40, 40, 40));
      Square(s, 5, 5, 6, Rgb(90, 60, 200));
      return s;
    }
    case IDB_DEAD_ON_BLACK: {  // a white cross, on black
      platform::Surface s = Filled(12, 12, 0);
      Cross(s, 1, Rgb(255, 255, 255));
      return s;
    }
    case IDB_DEAD_ON_WHITE: {  // a black cross, on white
      platform::Surface s = Filled(12, 12, Rgb(255, 255, 255));
      Cross(s, 1, Rgb(1, 1, 1));
      return s;
    }
    case IDB_LAST_MOVE_SMALL:
    case IDB_LAST_MOVE_MEDIUM:
    case IDB_LAST_MOVE_LARGE: {  // a red dot
      const int size = id == IDB_LAST_MOVE_SMALL ? 10 : id == IDB_LAST_MOVE_MEDIUM ? 14 : 22;
      platform::Surface s = Filled(size, size, kLastMoveKey);
      Disc(s, size / 2.0, size / 2.0, size * 0.3, Rgb(220, 30, 30));
      return s;
    }
    case IDB_RESULT_BLACK: {  // black's point: a dark square
      platform::Surface s = Filled(16, 16, kStoneKey);
      Square(s, 4, 4, 8, Rgb(30, 30, 30));
      return s;
    }
    case IDB_RESULT_NEUTRAL: {
      platform::Surface s = Filled(16, 16, 0);
      Square(s, 5, 5, 6, Rgb(128, 128, 128));
      return s;
    }
    case IDB_RESULT_WHITE: {
      platform::Surface s = Filled(16, 16, 0);
      Square(s, 4, 4, 8, Rgb(250, 250, 250));
      return s;
    }
    case IDB_RESULT_MASK: {  // white where the board shows through
      platform::Surface s = Filled(16, 16, 0xFFFFFF);
      Square(s, 4, 4, 8, 0);
      return s;
    }
    case IDB_STOLVEX: {  // toolbox bitmap: a board corner with two stones
      platform::Surface s = Filled(16, 15, Rgb(222, 178, 110));
      Disc(s, 5, 5, 3.5, Rgb(20, 20, 20));
      Disc(s, 11, 10, 3.5, Rgb(245, 245, 245));
      return s;
    }
    default:
      return {};
  }
}

void AddBoardPictures(platform::ResourceModule& module) {
  for (const StoneClass& c : kStoneClasses) {
    platform::AddBitmapResource(module, c.black, DrawBoardPicture(c.black));
    platform::AddBitmapResource(module, c.white, DrawBoardPicture(c.white));
  }
  for (unsigned id : {IDB_STOLVEX, IDB_BOARD, IDB_STAR_POINT, IDB_TERRITORY, IDB_DEAD_ON_BLACK, IDB_DEAD_ON_WHITE,
                      IDB_LAST_MOVE_SMALL, IDB_LAST_MOVE_MEDIUM, IDB_LAST_MOVE_LARGE, IDB_RESULT_BLACK,
                      IDB_RESULT_NEUTRAL, IDB_RESULT_WHITE, IDB_RESULT_MASK})
    platform::AddBitmapResource(module, id, DrawBoardPicture(id));
}

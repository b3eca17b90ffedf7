// A window's surface follows the window's size: what overlaps stays, what is new is white, and
// going back and forth between sizes (a person dragging an edge) reuses the surface's storage.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/surface.h"

namespace {

std::uint32_t Coded(int x, int y) { return static_cast<std::uint32_t>(x * 1000 + y + 1); }

platform::Surface CodedSurface(int w, int h) {
  platform::Surface s(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.Row(y)[x] = Coded(x, y);
  return s;
}

TEST(SurfaceResizeTest, OverlapStaysNewPixelsAreWhiteAndTheStorageIsReused) {
  struct Case {
    int w, h, toW, toH;
  };
  const Case cases[] = {
      {40, 30, 60, 50},  // wider and taller
      {60, 50, 40, 30},  // narrower and shorter
      {40, 30, 60, 20},  // wider, shorter
      {40, 30, 25, 45},  // narrower, taller
      {40, 30, 40, 45},  // taller only
      {40, 30, 0, 0},    // gone
      {0, 0, 30, 20},    // from nothing
  };
  for (const Case& c : cases) {
    platform::Surface s = CodedSurface(c.w, c.h);
    s.Resize(c.toW, c.toH);
    ASSERT_EQ(s.width, c.toW);
    ASSERT_EQ(s.height, c.toH);
    ASSERT_EQ(s.pixels.size(), static_cast<std::size_t>(c.toW) * c.toH);
    int wrong = 0;
    for (int y = 0; y < c.toH; ++y)
      for (int x = 0; x < c.toW; ++x) {
        const std::uint32_t want = x < c.w && y < c.h ? Coded(x, y) : 0xFFFFFFu;
        wrong += s.Row(y)[x] != want ? 1 : 0;
      }
    EXPECT_EQ(wrong, 0) << c.w << "x" << c.h << " -> " << c.toW << "x" << c.toH;
  }

  // A surface a person drags between two sizes keeps one storage once it has held the larger.
  platform::Surface dragged = CodedSurface(700, 500);
  dragged.Resize(900, 640);
  const std::uint32_t* storage = dragged.pixels.data();
  for (int i = 0; i < 6; ++i) {
    dragged.Resize(i % 2 ? 900 : 700, i % 2 ? 640 : 500);
    EXPECT_EQ(dragged.pixels.data(), storage);
  }
  EXPECT_EQ(dragged.Row(499)[699], Coded(699, 499));
  EXPECT_EQ(dragged.Row(639)[899], 0xFFFFFFu);
}

}  // namespace

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

  // Dragged larger step by step: the storage grows ahead, a few times rather than at each step,
  // and what was drawn stays where it was.
  platform::Surface growing = CodedSurface(600, 400);
  int moves = 0;
  for (int step = 1; step <= 40; ++step) {
    const std::uint32_t* before = growing.pixels.data();
    growing.Resize(600 + step * 10, 400 + step * 5);
    moves += growing.pixels.data() != before ? 1 : 0;
  }
  EXPECT_LE(moves, 4);
  EXPECT_EQ(growing.Row(399)[599], Coded(599, 399));
  EXPECT_EQ(growing.Row(400)[0], 0xFFFFFFu);
}

TEST(SurfaceResizeTest, AResizeNotesTheUncoveredAreasAsChanged) {
  platform::Surface s = CodedSurface(100, 80);
  s.damage.Clear();
  s.Resize(130, 90);
  // The strip at the right of the old rows and the rows below them: all that is new.
  long long noted = 0;
  for (const RECT& r : s.damage.Rects()) noted += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  EXPECT_GE(noted, 130 * 90 - 100 * 80);
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 130; ++x) {
      if (x < 100 && y < 80) continue;
      bool covered = false;
      for (const RECT& r : s.damage.Rects()) covered = covered || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      ASSERT_TRUE(covered) << x << "," << y;
    }
}

}  // namespace

// Which pixels a one-pixel line lights: the first point always, the last never (so that joined
// lines touch each point once), the same pixels whether or not part of the line is clipped away.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "platform/gdi/MemoryCanvas.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

constexpr int kSize = 16;

Pixels Inked(const MemoryCanvas& c, COLORREF background = RGB(255, 255, 255)) {
  Pixels inked;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (c.At(x, y) != background) inked.insert({x, y});
  return inked;
}

struct LineCase {
  const char* what;
  POINT from;
  POINT to;
  Pixels expected;
};

const std::vector<LineCase>& Cases() {
  static const std::vector<LineCase> cases = {
      {"rightwards", {2, 3}, {9, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}, {8, 3}}},
      {"leftwards", {9, 4}, {2, 4}, {{9, 4}, {8, 4}, {7, 4}, {6, 4}, {5, 4}, {4, 4}, {3, 4}}},
      {"downwards", {5, 1}, {5, 6}, {{5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}}},
      {"upwards", {6, 6}, {6, 1}, {{6, 6}, {6, 5}, {6, 4}, {6, 3}, {6, 2}}},
      {"one pixel long", {3, 9}, {4, 9}, {{3, 9}}},
      {"no length", {3, 9}, {3, 9}, {}},
      {"diagonal", {1, 1}, {6, 6}, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}},
      {"diagonal back", {6, 6}, {1, 1}, {{6, 6}, {5, 5}, {4, 4}, {3, 3}, {2, 2}}},
      {"anti-diagonal", {6, 1}, {1, 6}, {{6, 1}, {5, 2}, {4, 3}, {3, 4}, {2, 5}}},
      // Slope 1/3: each pixel is the one nearest the line, no ties.
      {"shallow", {0, 10}, {6, 12}, {{0, 10}, {1, 10}, {2, 11}, {3, 11}, {4, 11}, {5, 12}}},
      {"shallow back", {6, 12}, {0, 10}, {{6, 12}, {5, 12}, {4, 11}, {3, 11}, {2, 11}, {1, 10}}},
      {"steep", {10, 0}, {12, 6}, {{10, 0}, {10, 1}, {11, 2}, {11, 3}, {11, 4}, {12, 5}}},
      // Lines that run off the bitmap light what lies on it.
      {"across the bitmap", {-5, 14}, {30, 14}, [] {
         Pixels p;
         for (int x = 0; x < kSize; ++x) p.insert({x, 14});
         return p;
       }()},
      {"down through the bitmap", {15, 40}, {15, -3}, [] {
         Pixels p;
         for (int y = 0; y < kSize; ++y) p.insert({15, y});
         return p;
       }()},
      {"corner to corner beyond", {-10, -10}, {40, 40}, [] {
         Pixels p;
         for (int i = 0; i < kSize; ++i) p.insert({i, i});
         return p;
       }()},
      {"wholly outside", {-8, -2}, {-1, 20}, {}},
  };
  return cases;
}

TEST(LineTest, OnePixelSolidLinesLightTheirPixelsAndLeaveOutTheLast) {
  for (const LineCase& line : Cases()) {
    SCOPED_TRACE(line.what);
    MemoryCanvas c(kSize, kSize);
    c.dc.MoveTo(line.from.x, line.from.y);
    c.dc.LineTo(line.to.x, line.to.y);
    EXPECT_EQ(Inked(c), line.expected);
    EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(line.to));
  }
}

TEST(LineTest, ClippingRemovesPixelsButMovesNone) {
  for (const LineCase& line : Cases()) {
    SCOPED_TRACE(line.what);
    // A clip region with a hole: only pixels inside both the box and outside the hole stay.
    CRgn box, hole, clip;
    box.CreateRectRgn(2, 2, 12, 12);
    hole.CreateRectRgn(4, 4, 6, 6);
    clip.CreateRectRgn(0, 0, 0, 0);
    clip.CombineRgn(&box, &hole, RGN_DIFF);
    MemoryCanvas c(kSize, kSize);
    c.dc.SelectClipRgn(&clip);
    c.dc.MoveTo(line.from.x, line.from.y);
    c.dc.LineTo(line.to.x, line.to.y);
    Pixels expected;
    for (auto [x, y] : line.expected)
      if (x >= 2 && x < 12 && y >= 2 && y < 12 && !(x >= 4 && x < 6 && y >= 4 && y < 6)) expected.insert({x, y});
    EXPECT_EQ(Inked(c), expected);
  }
}

TEST(LineTest, MappedOriginsColoursAndMixModesApplyToThinLines) {
  // A moved window origin shifts the line; the pen's colour is what is written.
  MemoryCanvas c(kSize, kSize);
  CPen red(PS_SOLID, 0, RGB(255, 0, 0));
  CPen* old = c.dc.SelectObject(&red);
  c.dc.SetWindowOrg(-3, -2);
  c.dc.MoveTo(0, 0);
  c.dc.LineTo(4, 0);
  c.dc.LineTo(4, 3);
  c.dc.SetWindowOrg(0, 0);
  EXPECT_EQ(Inked(c), (Pixels{{3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {7, 3}, {7, 4}}));
  EXPECT_EQ(c.At(3, 2), RGB(255, 0, 0));

  // R2_NOT inverts what is under the line, twice gives the picture back; a joined polyline
  // touches the shared corner once.
  c.dc.SetROP2(R2_NOT);
  POINT path[] = {{1, 8}, {10, 8}, {10, 14}, {1, 8}};
  c.dc.Polyline(path, 4);
  EXPECT_EQ(c.At(10, 8), RGB(0, 0, 0));
  EXPECT_EQ(c.At(1, 8), RGB(0, 0, 0));
  c.dc.Polyline(path, 4);
  EXPECT_EQ(Inked(c), (Pixels{{3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {7, 3}, {7, 4}}));
  c.dc.SelectObject(old);

  // On a monochrome bitmap a dark pen draws black.
  MemoryCanvas mono(kSize, kSize, true);
  mono.dc.MoveTo(0, 5);
  mono.dc.LineTo(8, 5);
  EXPECT_EQ(mono.At(0, 5), RGB(0, 0, 0));
  EXPECT_EQ(mono.At(7, 5), RGB(0, 0, 0));
  EXPECT_EQ(mono.At(8, 5), RGB(255, 255, 255));
}

}  // namespace

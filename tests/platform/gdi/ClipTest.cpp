#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

#include "MemoryCanvas.h"
#include "platform/surface.h"
#include "platform/windows.h"

namespace {

TEST(ClipTest, RegionShapesAndCombinations) {
  CRgn rect, ellipse, both;
  rect.CreateRectRgn(0, 0, 10, 10);
  ellipse.CreateEllipticRgn(5, 0, 15, 10);
  both.CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(both.CombineRgn(&rect, &ellipse, RGN_AND), COMPLEXREGION);
  EXPECT_TRUE(both.PtInRegion(8, 5));
  EXPECT_FALSE(both.PtInRegion(5, 0));  // the ellipse's corner
  EXPECT_FALSE(both.PtInRegion(12, 5));
  EXPECT_EQ(both.CombineRgn(&rect, &ellipse, RGN_DIFF), COMPLEXREGION);
  EXPECT_TRUE(both.PtInRegion(2, 5));
  EXPECT_FALSE(both.PtInRegion(8, 5));
  EXPECT_EQ(both.CombineRgn(&rect, &ellipse, RGN_OR), COMPLEXREGION);
  CRect box;
  both.GetRgnBox(&box);
  EXPECT_EQ(box, CRect(0, 0, 15, 10));
  EXPECT_EQ(both.CombineRgn(&rect, &ellipse, RGN_XOR), COMPLEXREGION);
  EXPECT_FALSE(both.PtInRegion(8, 5));
  EXPECT_TRUE(both.PtInRegion(13, 5));
  EXPECT_EQ(both.CopyRgn(&rect), SIMPLEREGION);
  EXPECT_TRUE(both.EqualRgn(&rect));
  EXPECT_EQ(both.OffsetRgn(100, 0), SIMPLEREGION);
  EXPECT_FALSE(both.RectInRegion(CRect(0, 0, 10, 10)));
  CRgn disjoint;
  disjoint.CreateRectRgn(50, 50, 60, 60);
  EXPECT_EQ(both.CombineRgn(&rect, &disjoint, RGN_AND), NULLREGION);
}

// Regions built by chains of combinations match a pixel-by-pixel model: every pixel, the box, the
// complexity, and equality with the same pixels reached another way (regions share rows in bands,
// and a band split or joined wrongly shows up in one of these).
TEST(ClipTest, CombinedRegionsMatchAPixelModel) {
  constexpr int kSize = 48;
  using Pixels = std::array<std::array<bool, kSize>, kSize>;
  auto pixelsOf = [](const CRgn& r) {
    Pixels p{};
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) p[y][x] = r.PtInRegion(x, y) != FALSE;
    return p;
  };
  auto apply = [](int op, bool a, bool b) {
    switch (op) {
      case RGN_AND: return a && b;
      case RGN_OR: return a || b;
      case RGN_XOR: return a != b;
      default: return a && !b;
    }
  };
  std::mt19937 random(7);
  auto coordinate = [&] { return static_cast<int>(random() % (kSize - 4)) + 2; };
  const int ops[] = {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF};
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    CRgn built;
    built.CreateRectRgn(0, 0, 0, 0);
    Pixels model{};
    for (int step = 0; step < 6; ++step) {
      int l = coordinate(), r = coordinate(), t = coordinate(), b = coordinate();
      CRgn shape;
      if (random() % 3 == 0) {
        shape.CreateEllipticRgn(std::min(l, r), std::min(t, b), std::max(l, r) + 1, std::max(t, b) + 1);
      } else {
        shape.CreateRectRgn(std::min(l, r), std::min(t, b), std::max(l, r) + 1, std::max(t, b) + 1);
      }
      const Pixels shapePixels = pixelsOf(shape);
      const int op = step == 0 ? RGN_OR : ops[random() % 4];
      CRgn next;
      next.CreateRectRgn(0, 0, 0, 0);
      next.CombineRgn(&built, &shape, op);
      built.CopyRgn(&next);
      for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) model[y][x] = apply(op, model[y][x], shapePixels[y][x]);
    }
    ASSERT_EQ(pixelsOf(built), model);
    CRect box;
    const int complexity = built.GetRgnBox(&box);
    CRect modelBox(kSize, kSize, 0, 0);
    int count = 0;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        if (!model[y][x]) continue;
        ++count;
        modelBox = CRect(std::min<LONG>(modelBox.left, x), std::min<LONG>(modelBox.top, y),
                         std::max<LONG>(modelBox.right, x + 1), std::max<LONG>(modelBox.bottom, y + 1));
      }
    if (count == 0) {
      EXPECT_EQ(complexity, NULLREGION);
      continue;
    }
    EXPECT_EQ(box, modelBox);
    EXPECT_EQ(complexity, count == modelBox.Width() * modelBox.Height() ? SIMPLEREGION : COMPLEXREGION);
    // The same pixels rebuilt one row at a time from single-pixel runs compare equal.
    CRgn rebuilt;
    rebuilt.CreateRectRgn(0, 0, 0, 0);
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        if (!model[y][x]) continue;
        CRgn pixel, sum;
        pixel.CreateRectRgn(x, y, x + 1, y + 1);
        sum.CreateRectRgn(0, 0, 0, 0);
        sum.CombineRgn(&rebuilt, &pixel, RGN_OR);
        rebuilt.CopyRgn(&sum);
      }
    EXPECT_TRUE(rebuilt.EqualRgn(&built));
  }
}

TEST(ClipTest, PolygonFillModes) {
  // A five-pointed star: its centre is outside under ALTERNATE and inside under WINDING.
  POINT star[5] = {{50, 0}, {79, 90}, {2, 35}, {97, 35}, {21, 90}};
  CRgn alternate, winding;
  alternate.CreatePolygonRgn(star, 5, ALTERNATE);
  winding.CreatePolygonRgn(star, 5, WINDING);
  EXPECT_FALSE(alternate.PtInRegion(50, 50));
  EXPECT_TRUE(winding.PtInRegion(50, 50));
  EXPECT_TRUE(alternate.PtInRegion(50, 10));
  POINT triangle[3] = {{0, 0}, {10, 0}, {0, 10}};
  CRgn t;
  t.CreatePolygonRgn(triangle, 3, ALTERNATE);
  EXPECT_TRUE(t.PtInRegion(1, 1));
  EXPECT_FALSE(t.PtInRegion(8, 8));
}

TEST(ClipTest, RoundRectRegionCutsItsCorners) {
  CRgn r;
  r.CreateRoundRectRgn(0, 0, 40, 20, 10, 10);
  EXPECT_FALSE(r.PtInRegion(0, 0));
  EXPECT_FALSE(r.PtInRegion(39, 19));
  EXPECT_TRUE(r.PtInRegion(20, 0));
  EXPECT_TRUE(r.PtInRegion(0, 10));
}

TEST(ClipTest, ClipRegionLimitsDrawing) {
  MemoryCanvas c(20, 20);
  CRgn clip;
  clip.CreateEllipticRgn(0, 0, 20, 20);
  EXPECT_EQ(c.dc.SelectClipRgn(&clip), COMPLEXREGION);
  c.dc.FillSolidRect(0, 0, 20, 20, RGB(255, 0, 0));
  EXPECT_EQ(c.At(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(c.At(19, 19), RGB(255, 255, 255));
  c.dc.SelectClipRgn(nullptr);
  c.dc.FillSolidRect(0, 0, 1, 1, RGB(0, 255, 0));
  EXPECT_EQ(c.At(0, 0), RGB(0, 255, 0));
}

TEST(ClipTest, ClipRectanglesIntersectAndExclude) {
  MemoryCanvas c(10, 10);
  c.dc.IntersectClipRect(2, 2, 8, 8);
  c.dc.ExcludeClipRect(4, 4, 6, 6);
  CRect box;
  EXPECT_EQ(c.dc.GetClipBox(&box), COMPLEXREGION);
  EXPECT_EQ(box, CRect(2, 2, 8, 8));
  CRgn inside;
  inside.CreateRectRgn(0, 0, 3, 3);
  c.dc.SelectClipRgn(&inside, RGN_AND);
  c.dc.FillSolidRect(0, 0, 10, 10, RGB(0, 0, 255));
  EXPECT_EQ(c.At(2, 2), RGB(0, 0, 255));
  EXPECT_EQ(c.At(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(c.At(5, 5), RGB(255, 255, 255));
  EXPECT_EQ(c.At(7, 7), RGB(255, 255, 255));
  EXPECT_TRUE(c.dc.PtVisible(2, 2));
  EXPECT_FALSE(c.dc.PtVisible(5, 5));
}

TEST(ClipTest, SavedClipComesBackWithRestoreDC) {
  MemoryCanvas c(10, 10);
  int saved = c.dc.SaveDC();
  c.dc.IntersectClipRect(0, 0, 1, 1);
  c.dc.RestoreDC(saved);
  c.dc.FillSolidRect(0, 0, 10, 10, RGB(1, 1, 1));
  EXPECT_EQ(c.At(9, 9), RGB(1, 1, 1));
}

TEST(ClipTest, WindowRegionIsKept) {
  HWND fake = reinterpret_cast<HWND>(0x4242);
  HRGN r = CreateEllipticRgn(0, 0, 10, 10);
  EXPECT_TRUE(SetWindowRgn(fake, r, TRUE));
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(fake, copy), COMPLEXREGION);
  EXPECT_TRUE(EqualRgn(copy, r));
  // Replacing it deletes the old region, which the window owned.
  SetWindowRgn(fake, nullptr, TRUE);
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(r)), 0u);
  EXPECT_EQ(GetWindowRgn(fake, copy), ERROR);
  DeleteObject(reinterpret_cast<HGDIOBJ>(copy));
}

class ChildWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(top.CreateEx(0, nullptr, "top", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr, nullptr));
    ASSERT_TRUE(child.CreateEx(0, nullptr, "child", WS_CHILD | WS_VISIBLE, 50, 40, 60, 30, top.GetSafeHwnd(),
                               reinterpret_cast<HMENU>(7)));
  }
  void TearDown() override { platform::DestroyAllWindows(); }
  COLORREF TopPixel(int x, int y) {
    platform::PaintTarget t = platform::GetPaintTarget(top.GetSafeHwnd(), true);
    std::uint32_t p = t.surface->Row(y)[x];
    return RGB(static_cast<BYTE>(p >> 16), static_cast<BYTE>(p >> 8), static_cast<BYTE>(p));
  }
  CWnd top;
  CWnd child;
};

TEST_F(ChildWindowTest, ChildPaintsOnlyInsideItsRectangle) {
  {
    CClientDC dc(&child);
    dc.FillSolidRect(-100, -100, 1000, 1000, RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
  }
  platform::PaintTarget t = platform::GetPaintTarget(child.GetSafeHwnd());
  ASSERT_NE(t.surface, nullptr);
  EXPECT_EQ(TopPixel(t.origin.x, t.origin.y), RGB(255, 0, 0));
  EXPECT_EQ(TopPixel(t.origin.x + 59, t.origin.y + 29), RGB(255, 0, 0));
  EXPECT_NE(TopPixel(t.origin.x - 1, t.origin.y), RGB(255, 0, 0));
  EXPECT_NE(TopPixel(t.origin.x + 60, t.origin.y + 29), RGB(255, 0, 0));
  EXPECT_NE(TopPixel(t.origin.x, t.origin.y + 30), RGB(255, 0, 0));
}

TEST_F(ChildWindowTest, PngOfTheWindowShowsWhatWasDrawn) {
  {
    CClientDC dc(&top);
    dc.FillSolidRect(0, 0, 5, 5, RGB(0, 0, 255));
  }
  std::string path = ::testing::TempDir() + "window.png";
  ASSERT_TRUE(platform::SaveSurfacePng(top.GetSafeHwnd(), path.c_str()));
  platform::Surface back;
  ASSERT_TRUE(platform::LoadPng(path.c_str(), back));
  EXPECT_EQ(back.width, 200);
  EXPECT_EQ(back.height, 150);
  platform::PaintTarget t = platform::GetPaintTarget(top.GetSafeHwnd());
  EXPECT_EQ(back.Row(t.origin.y)[t.origin.x], 0x0000FFu);
  std::remove(path.c_str());
}

}  // namespace

#include <gtest/gtest.h>

#include <vector>

#include "MemoryCanvas.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);

TEST(BitmapTest, ColourToMonochromeMakesTheSourceBackgroundWhite) {
  MemoryCanvas colour(3, 1);
  colour.dc.SetPixel(0, 0, kGreen);
  colour.dc.SetPixel(1, 0, RGB(0, 0, 0));
  colour.dc.SetPixel(2, 0, RGB(255, 255, 255));
  colour.dc.SetBkColor(kGreen);
  MemoryCanvas mono(3, 1, true, RGB(0, 0, 0));
  mono.dc.BitBlt(0, 0, 3, 1, &colour.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(mono.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(mono.At(1, 0), RGB(0, 0, 0));
  // White is not the background here, so it becomes 0 as every other colour does.
  EXPECT_EQ(mono.At(2, 0), RGB(0, 0, 0));
  // Stretched, each source pixel is converted as it is taken.
  MemoryCanvas wide(6, 1, true, RGB(0, 0, 0));
  wide.dc.StretchBlt(0, 0, 6, 1, &colour.dc, 0, 0, 3, 1, SRCCOPY);
  EXPECT_EQ(wide.At(1, 0), RGB(255, 255, 255));
  EXPECT_EQ(wide.At(2, 0), RGB(0, 0, 0));
}

TEST(BitmapTest, MonochromeToColourUsesTheDestinationTextAndBackgroundColours) {
  MemoryCanvas mono(2, 1, true, RGB(0, 0, 0));
  mono.dc.SetPixel(1, 0, RGB(255, 255, 255));
  MemoryCanvas colour(2, 1);
  colour.dc.SetTextColor(RGB(200, 0, 0));
  colour.dc.SetBkColor(RGB(0, 0, 200));
  colour.dc.BitBlt(0, 0, 2, 1, &mono.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(colour.At(0, 0), RGB(200, 0, 0));
  EXPECT_EQ(colour.At(1, 0), RGB(0, 0, 200));
  // Mirrored, each source pixel is converted as it is taken.
  colour.dc.StretchBlt(1, 0, -2, 1, &mono.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(colour.At(0, 0), RGB(0, 0, 200));
  EXPECT_EQ(colour.At(1, 0), RGB(200, 0, 0));
}

// A stone on a pure-green key drawn over a texture with a generated mask, the way the programs
// draw transparent pictures.
void DrawTransparent(CDC& target, int x, int y, CBitmap& picture, int w, int h, COLORREF key) {
  CDC source, work, maskDc;
  source.CreateCompatibleDC(&target);
  work.CreateCompatibleDC(&target);
  maskDc.CreateCompatibleDC(&target);
  CBitmap workBitmap, mask;
  workBitmap.CreateCompatibleBitmap(&target, w, h);
  mask.CreateBitmap(w, h, 1, 1, nullptr);
  CBitmap* oldSource = source.SelectObject(&picture);
  CBitmap* oldWork = work.SelectObject(&workBitmap);
  CBitmap* oldMask = maskDc.SelectObject(&mask);
  work.BitBlt(0, 0, w, h, &source, 0, 0, SRCCOPY);
  work.SetBkColor(key);
  maskDc.BitBlt(0, 0, w, h, &work, 0, 0, SRCCOPY);
  work.SetBkColor(RGB(0, 0, 0));
  work.SetTextColor(RGB(255, 255, 255));
  work.BitBlt(0, 0, w, h, &maskDc, 0, 0, SRCAND);
  target.SetBkColor(RGB(255, 255, 255));
  target.SetTextColor(RGB(0, 0, 0));
  target.BitBlt(x, y, w, h, &maskDc, 0, 0, SRCAND);
  target.BitBlt(x, y, w, h, &work, 0, 0, SRCPAINT);
  source.SelectObject(oldSource);
  work.SelectObject(oldWork);
  maskDc.SelectObject(oldMask);
}

TEST(BitmapTest, MaskedDrawingKeepsTheTextureWhereTheKeyWas) {
  MemoryCanvas board(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) board.dc.SetPixel(x, y, RGB(200 + x, 150 + y, 90));
  MemoryCanvas stone(4, 4, false, kGreen);
  stone.dc.FillSolidRect(1, 1, 2, 2, RGB(20, 20, 20));
  stone.dc.SelectObject(stone.old);
  DrawTransparent(board.dc, 2, 2, stone.bitmap, 4, 4, kGreen);
  stone.old = stone.dc.SelectObject(&stone.bitmap);
  EXPECT_EQ(board.At(2, 2), RGB(202, 152, 90));
  EXPECT_EQ(board.At(5, 5), RGB(205, 155, 90));
  EXPECT_EQ(board.At(3, 3), RGB(20, 20, 20));
  EXPECT_EQ(board.At(4, 4), RGB(20, 20, 20));
  EXPECT_EQ(board.At(0, 0), RGB(200, 150, 90));
}

TEST(BitmapTest, CompatibleBitmapOfAFreshMemoryContextIsMonochrome) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap mono;
  mono.CreateCompatibleBitmap(&dc, 4, 4);
  BITMAP bm{};
  ASSERT_TRUE(mono.GetBitmap(&bm));
  EXPECT_EQ(bm.bmBitsPixel, 1);
  CClientDC screen(nullptr);
  CBitmap colour;
  colour.CreateCompatibleBitmap(&screen, 4, 4);
  colour.GetBitmap(&bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmWidth, 4);
  EXPECT_EQ(bm.bmWidthBytes, 16);
}

TEST(BitmapTest, NewBitmapsStartBlackAlsoInMemoryAnotherGaveBack) {
  // Small bitmaps come from memory used before; large ones may be fresh pages.
  for (const SIZE size : {SIZE{16, 16}, SIZE{1200, 900}}) {
    CClientDC screen(nullptr);
    for (int round = 0; round < 2; ++round) {
      CBitmap bitmap;
      ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, size.cx, size.cy));
      CDC dc;
      dc.CreateCompatibleDC(&screen);
      CBitmap* old = dc.SelectObject(&bitmap);
      for (const POINT at : {POINT{0, 0}, POINT{size.cx / 2, size.cy / 2}, POINT{size.cx - 1, size.cy - 1}})
        EXPECT_EQ(dc.GetPixel(at.x, at.y), RGB(0, 0, 0)) << size.cx << " round " << round;
      // Painted white before it goes: the next bitmap may get its memory.
      dc.FillSolidRect(0, 0, size.cx, size.cy, RGB(255, 255, 255));
      dc.SelectObject(old);
    }
  }
}

TEST(BitmapTest, BitmapBitsRoundTripInBothFormats) {
  const std::uint8_t monoBits[] = {0xA0, 0x00, 0x50, 0x00};  // rows padded to 16 bits
  CBitmap mono;
  ASSERT_TRUE(mono.CreateBitmap(4, 2, 1, 1, monoBits));
  std::uint8_t back[4] = {};
  EXPECT_EQ(mono.GetBitmapBits(sizeof(back), back), 4u);
  EXPECT_EQ(std::vector<std::uint8_t>(back, back + 4), std::vector<std::uint8_t>(monoBits, monoBits + 4));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&mono);
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(dc.GetPixel(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 255, 255));
  dc.SelectObject(old);

  const std::uint8_t colourBits[] = {0x01, 0x02, 0x03, 0x00, 0x04, 0x05, 0x06, 0x00};
  CBitmap colour;
  colour.CreateBitmap(2, 1, 1, 32, colourBits);
  std::uint8_t out[8] = {};
  // A short buffer gets only what fits.
  EXPECT_EQ(colour.GetBitmapBits(6, out), 6u);
  EXPECT_EQ(out[4], 0x04);
  EXPECT_EQ(out[6], 0x00);
}

TEST(BitmapTest, ABitmapIsSelectedIntoOneContextAtATime) {
  CBitmap bmp;
  bmp.CreateBitmap(2, 2, 1, 32, nullptr);
  CDC a, b;
  a.CreateCompatibleDC(nullptr);
  b.CreateCompatibleDC(nullptr);
  CBitmap* oldA = a.SelectObject(&bmp);
  ASSERT_NE(oldA, nullptr);
  EXPECT_EQ(b.SelectObject(&bmp), nullptr);
  a.SelectObject(oldA);
  CBitmap* oldB = b.SelectObject(&bmp);
  EXPECT_NE(oldB, nullptr);
  b.SelectObject(oldB);
}

TEST(BitmapTest, DeletingASelectedBitmapLeavesTheContextUsable) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  {
    CBitmap bmp;
    bmp.CreateBitmap(4, 4, 1, 32, nullptr);
    dc.SelectObject(&bmp);
  }
  dc.FillSolidRect(0, 0, 4, 4, RGB(1, 2, 3));
  EXPECT_EQ(dc.GetPixel(3, 3), RGB(1, 2, 3));
}

TEST(BitmapTest, StretchBltScalesAndMirrors) {
  MemoryCanvas src(2, 1);
  src.dc.SetPixel(0, 0, RGB(255, 0, 0));
  src.dc.SetPixel(1, 0, RGB(0, 0, 255));
  MemoryCanvas dst(4, 2);
  dst.dc.SetStretchBltMode(COLORONCOLOR);
  dst.dc.StretchBlt(0, 0, 4, 2, &src.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(dst.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(dst.At(2, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.At(3, 1), RGB(0, 0, 255));
  dst.dc.StretchBlt(3, 0, -4, 1, &src.dc, 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(dst.At(3, 0), RGB(255, 0, 0));
}

TEST(BitmapTest, BlitsStopAtTheSurfaceEdges) {
  MemoryCanvas src(2, 2, false, RGB(9, 9, 9));
  MemoryCanvas dst(3, 3);
  dst.dc.BitBlt(-1, -1, 10, 10, &src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), RGB(9, 9, 9));
  // Beyond the source's own pixels nothing is copied.
  EXPECT_EQ(dst.At(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(dst.At(2, 2), RGB(255, 255, 255));
}

TEST(BitmapTest, OverlappingCopyWithinOneBitmapComesOutWhole) {
  MemoryCanvas c(4, 1);
  for (int x = 0; x < 4; ++x) c.dc.SetPixel(x, 0, RGB(x * 10, 0, 0));
  c.dc.BitBlt(1, 0, 3, 1, &c.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(c.At(1, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(2, 0), RGB(10, 0, 0));
  EXPECT_EQ(c.At(3, 0), RGB(20, 0, 0));
}

TEST(BitmapTest, IconsCombineMaskAndColour) {
  const std::uint8_t maskBits[] = {0x80, 0x00};  // pixel 0 transparent
  CBitmap mask, colour;
  mask.CreateBitmap(2, 1, 1, 1, maskBits);
  const std::uint8_t colourBits[] = {0, 0, 0, 0, 0x30, 0x20, 0x10, 0};
  colour.CreateBitmap(2, 1, 1, 32, colourBits);
  ICONINFO info{TRUE, 0, 0, mask, colour};
  HICON icon = CreateIconIndirect(&info);
  ASSERT_NE(icon, nullptr);
  MemoryCanvas c(2, 1, false, RGB(100, 100, 100));
  EXPECT_TRUE(c.dc.DrawIcon(0, 0, icon));
  EXPECT_EQ(c.At(0, 0), RGB(100, 100, 100));
  EXPECT_EQ(c.At(1, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_FALSE(c.dc.DrawIcon(0, 0, icon));
}

}  // namespace

namespace {

TEST(BitmapPatternTest, MonochromePatternBrushTakesTheContextColours) {
  const std::uint8_t checker[] = {0x80, 0x00, 0x40, 0x00};  // 2x2: white at (0,0) and (1,1)
  CBitmap pattern;
  pattern.CreateBitmap(2, 2, 1, 1, checker);
  CBrush brush(&pattern);
  MemoryCanvas c(4, 2);
  c.dc.SetTextColor(RGB(255, 0, 0));
  c.dc.SetBkColor(RGB(0, 0, 255));
  CRect all(0, 0, 4, 2);
  c.dc.FillRect(&all, &brush);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(1, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.At(1, 1), RGB(0, 0, 255));
  EXPECT_EQ(c.At(2, 0), RGB(0, 0, 255)) << "the pattern repeats";
  // The brush keeps its own copy: changing the bitmap afterwards changes nothing.
  const std::uint8_t blank[] = {0, 0, 0, 0};
  pattern.SetBitmapBits(sizeof(blank), blank);
  c.dc.FillRect(&all, &brush);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
}

TEST(BitmapPatternTest, DrawingOnAMonochromeBitmapPicksBlackOrWhite) {
  MemoryCanvas mono(3, 1, true, RGB(0, 0, 0));
  mono.dc.SetPixel(0, 0, RGB(250, 250, 240));
  mono.dc.SetPixel(1, 0, RGB(30, 30, 60));
  EXPECT_EQ(mono.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(mono.At(1, 0), RGB(0, 0, 0));
  MemoryCanvas colour(3, 1, false, RGB(10, 10, 10));
  colour.dc.SetBkColor(RGB(10, 10, 10));
  mono.dc.BitBlt(0, 0, 3, 1, &colour.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(mono.At(2, 0), RGB(255, 255, 255)) << "monochrome to monochrome keeps the bits";
}

TEST(BitmapPatternTest, ShrinkingKeepsEveryOtherPixel) {
  MemoryCanvas src(4, 1);
  for (int x = 0; x < 4; ++x) src.dc.SetPixel(x, 0, RGB(x * 60, 0, 0));
  MemoryCanvas dst(2, 1);
  dst.dc.SetStretchBltMode(HALFTONE);
  dst.dc.StretchBlt(0, 0, 2, 1, &src.dc, 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), RGB(60, 0, 0));
  EXPECT_EQ(dst.At(1, 0), RGB(180, 0, 0));
}

TEST(BitmapPatternTest, OversizedOrBrokenBitmapsAreRefused) {
  CBitmap huge, broken, twice;
  EXPECT_FALSE(huge.CreateBitmap(32768, 32768, 1, 32, nullptr));
  EXPECT_FALSE(broken.CreateBitmap(-1, 4, 1, 32, nullptr));
  EXPECT_TRUE(twice.CreateBitmap(1, 1, 1, 32, nullptr));
  EXPECT_FALSE(twice.CreateBitmap(1, 1, 1, 32, nullptr));
  CBitmap zero;
  CClientDC screen(nullptr);
  ASSERT_TRUE(zero.CreateCompatibleBitmap(&screen, 0, 5));
  BITMAP bm{};
  zero.GetBitmap(&bm);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
}

}  // namespace

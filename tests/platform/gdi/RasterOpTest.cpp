#include <gtest/gtest.h>

#include "MemoryCanvas.h"

namespace {

// Every combination of pattern, source and destination bit, one pixel each: columns 0..7 hold
// index i = P<<2 | S<<1 | D, black for 0 bits and white for 1 bits.
struct TruthTable {
  MemoryCanvas dest{8, 1};
  MemoryCanvas source{8, 1};
  MemoryCanvas pattern{8, 1};

  TruthTable() {
    for (int i = 0; i < 8; ++i) {
      dest.dc.SetPixel(i, 0, (i & 1) ? RGB(255, 255, 255) : RGB(0, 0, 0));
      source.dc.SetPixel(i, 0, (i & 2) ? RGB(255, 255, 255) : RGB(0, 0, 0));
      pattern.dc.SetPixel(i, 0, (i & 4) ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
  }

  // The code observed after applying rop: bit i set when pixel i came out white.
  int Observe(DWORD rop) {
    CBrush brush;
    brush.CreatePatternBrush(&pattern.bitmap);
    CBrush* oldBrush = dest.dc.SelectObject(&brush);
    dest.dc.BitBlt(0, 0, 8, 1, &source.dc, 0, 0, rop);
    dest.dc.SelectObject(oldBrush);
    int code = 0;
    for (int i = 0; i < 8; ++i) {
      COLORREF c = dest.At(i, 0);
      EXPECT_TRUE(c == RGB(0, 0, 0) || c == RGB(255, 255, 255)) << "pixel " << i << " of rop " << std::hex << rop;
      if (c == RGB(255, 255, 255)) code |= 1 << i;
    }
    return code;
  }
};

TEST(RasterOpTest, NamedOperationsFollowTheirTruthTables) {
  const DWORD rops[] = {SRCCOPY,  SRCPAINT,   SRCAND,   SRCINVERT, SRCERASE,  NOTSRCCOPY, NOTSRCERASE, MERGECOPY,
                        MERGEPAINT, PATCOPY, PATPAINT, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS, 0x00B8074A};
  for (DWORD rop : rops) {
    TruthTable t;
    EXPECT_EQ(t.Observe(rop), static_cast<int>((rop >> 16) & 0xFF)) << std::hex << rop;
  }
}

TEST(RasterOpTest, EveryTernaryCodeIsEvaluated) {
  for (int code = 0; code < 256; ++code) {
    TruthTable t;
    EXPECT_EQ(t.Observe(static_cast<DWORD>(code) << 16), code);
  }
}

TEST(RasterOpTest, OperationsWorkBitwiseOnColours) {
  MemoryCanvas dest(1, 1, false, RGB(0x0F, 0xF0, 0x55));
  MemoryCanvas src(1, 1, false, RGB(0x33, 0x33, 0xAA));
  dest.dc.BitBlt(0, 0, 1, 1, &src.dc, 0, 0, SRCINVERT);
  EXPECT_EQ(dest.At(0, 0), RGB(0x0F ^ 0x33, 0xF0 ^ 0x33, 0x55 ^ 0xAA));
  dest.dc.BitBlt(0, 0, 1, 1, &src.dc, 0, 0, SRCAND);
  EXPECT_EQ(dest.At(0, 0), RGB((0x0F ^ 0x33) & 0x33, (0xF0 ^ 0x33) & 0x33, (0x55 ^ 0xAA) & 0xAA));
}

TEST(RasterOpTest, PatBltUsesTheSelectedBrushAndIgnoresTheSource) {
  MemoryCanvas c(4, 4, false, RGB(10, 20, 30));
  CBrush red(RGB(255, 0, 0));
  CBrush* old = c.dc.SelectObject(&red);
  c.dc.PatBlt(1, 1, 2, 2, PATCOPY);
  EXPECT_EQ(c.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(c.At(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(c.At(3, 3), RGB(10, 20, 30));
  c.dc.PatBlt(0, 0, 4, 4, DSTINVERT);
  EXPECT_EQ(c.At(0, 0), RGB(245, 235, 225));
  EXPECT_EQ(c.At(1, 1), RGB(0, 255, 255));
  c.dc.PatBlt(0, 0, 1, 1, BLACKNESS);
  c.dc.PatBlt(3, 3, 1, 1, WHITENESS);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(3, 3), RGB(255, 255, 255));
  c.dc.SelectObject(old);
}

TEST(RasterOpTest, MixModesApplyToPens) {
  MemoryCanvas c(4, 1, false, RGB(0x10, 0x20, 0x30));
  CPen pen(PS_SOLID, 1, RGB(0xFF, 0x00, 0xFF));
  CPen* old = c.dc.SelectObject(&pen);
  c.dc.SetROP2(R2_XORPEN);
  c.dc.MoveTo(0, 0);
  c.dc.LineTo(2, 0);
  EXPECT_EQ(c.At(0, 0), RGB(0xEF, 0x20, 0xCF));
  EXPECT_EQ(c.At(2, 0), RGB(0x10, 0x20, 0x30));
  c.dc.SetROP2(R2_NOT);
  c.dc.MoveTo(3, 0);
  c.dc.LineTo(4, 0);
  EXPECT_EQ(c.At(3, 0), RGB(0xEF, 0xDF, 0xCF));
  c.dc.SelectObject(old);
}

}  // namespace

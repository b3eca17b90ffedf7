#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "MemoryCanvas.h"
#include "platform/resources.h"

namespace {

// A BITMAPINFO with room for a full colour table.
struct Info {
  explicit Info(int w, int h, int bits, std::vector<COLORREF> colors = {}) {
    bytes.resize(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    BITMAPINFO* bi = get();
    bi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0,
                                     static_cast<DWORD>(colors.size()), 0};
    for (std::size_t i = 0; i < colors.size(); ++i) {
      bi->bmiColors[i] = RGBQUAD{GetBValue(colors[i]), GetGValue(colors[i]), GetRValue(colors[i]), 0};
    }
  }
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(bytes.data()); }
  std::vector<std::uint8_t> bytes;
};

TEST(DibTest, BottomUpAndTopDownRowsLandRightWayUp) {
  // Two rows of 24-bit pixels; the first stored row is red.
  const std::uint8_t bits[] = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0};
  Info bottomUp(3, 2, 24), topDown(3, -2, 24);
  MemoryCanvas c(3, 4);
  EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 3, 2, 0, 0, 0, 2, bits, bottomUp.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 2, 3, 2, 0, 0, 0, 2, bits, topDown.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(c.At(0, 2), RGB(255, 0, 0));
  EXPECT_EQ(c.At(2, 3), RGB(0, 0, 255));
}

TEST(DibTest, IndexedFormatsReadTheirColourTables) {
  std::vector<COLORREF> sixteen;
  for (int i = 0; i < 16; ++i) sixteen.push_back(RGB(i * 16, 0, 255 - i * 16));
  MemoryCanvas c(8, 3);
  const std::uint8_t one[] = {0x80, 0, 0, 0};  // pixel 0 uses entry 1
  Info mono(8, -1, 1, {RGB(1, 2, 3), RGB(250, 251, 252)});
  SetDIBitsToDevice(c.dc, 0, 0, 8, 1, 0, 0, 0, 1, one, mono.get(), DIB_RGB_COLORS);
  EXPECT_EQ(c.At(0, 0), RGB(250, 251, 252));
  EXPECT_EQ(c.At(1, 0), RGB(1, 2, 3));
  const std::uint8_t four[] = {0x1F, 0, 0, 0};
  Info nibbles(8, -1, 4, sixteen);
  SetDIBitsToDevice(c.dc, 0, 1, 8, 1, 0, 0, 0, 1, four, nibbles.get(), DIB_RGB_COLORS);
  EXPECT_EQ(c.At(0, 1), sixteen[1]);
  EXPECT_EQ(c.At(1, 1), sixteen[15]);
  const std::uint8_t eight[] = {3, 200, 0, 0, 0, 0, 0, 0};
  Info bytes(8, -1, 8, sixteen);
  SetDIBitsToDevice(c.dc, 0, 2, 8, 1, 0, 0, 0, 1, eight, bytes.get(), DIB_RGB_COLORS);
  EXPECT_EQ(c.At(0, 2), sixteen[3]);
  EXPECT_EQ(c.At(1, 2), RGB(0, 0, 0)) << "an index past the table reads as black";
}

TEST(DibTest, BadHeadersAreRefused) {
  const std::uint8_t bits[16] = {};
  MemoryCanvas c(2, 2);
  Info wrongBits(2, 2, 7), noWidth(0, 2, 24), huge(1 << 20, 1, 24);
  EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 2, 2, 0, 0, 0, 2, bits, wrongBits.get(), DIB_RGB_COLORS), 0);
  EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 2, 2, 0, 0, 0, 2, bits, noWidth.get(), DIB_RGB_COLORS), 0);
  EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 2, 2, 0, 0, 2, 2, bits, huge.get(), DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(CreateDIBSection(c.dc, wrongBits.get(), DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST(DibTest, StretchDIBitsScalesWithTheRasterOperation) {
  const std::uint8_t bits[] = {0, 0, 0, 0, 255, 255, 255, 0};  // 32-bit: black, white
  Info info(2, -1, 32);
  MemoryCanvas c(4, 2, false, RGB(0, 200, 0));
  EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 4, 2, 0, 0, 2, 1, bits, info.get(), DIB_RGB_COLORS, SRCAND), 1);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(c.At(2, 0), RGB(0, 200, 0));
  EXPECT_EQ(c.At(3, 1), RGB(0, 200, 0));
}

TEST(DibTest, SectionBitsAndDrawingStayInStep) {
  Info info(4, -2, 8, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255)});
  void* raw = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &raw, nullptr, 0);
  ASSERT_NE(section, nullptr);
  ASSERT_NE(raw, nullptr);
  auto* bits = static_cast<std::uint8_t*>(raw);
  bits[0] = 1;
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HGDIOBJ old = dc.SelectObject(reinterpret_cast<HGDIOBJ>(section));
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
  dc.FillSolidRect(1, 1, 1, 1, RGB(0, 0, 250));
  EXPECT_EQ(bits[4 + 1], 2) << "drawing writes the nearest table entry into the section";
  RGBQUAD table[4] = {};
  EXPECT_EQ(GetDIBColorTable(dc, 0, 4, table), 4u);
  EXPECT_EQ(table[2].rgbBlue, 255);
  DIBSECTION ds{};
  EXPECT_EQ(GetObject(reinterpret_cast<HGDIOBJ>(section), sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
  EXPECT_EQ(ds.dsBm.bmBitsPixel, 8);
  EXPECT_EQ(ds.dsBm.bmBits, raw);
  dc.SelectObject(old);
  DeleteObject(reinterpret_cast<HGDIOBJ>(section));
}

TEST(DibTest, ASectionDrawnFromFollowsItsBitsAndTableAndKeepsThem) {
  Info info(4, -1, 8, {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255)});
  void* raw = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, info.get(), DIB_RGB_COLORS, &raw, nullptr, 0);
  ASSERT_NE(section, nullptr);
  auto* bits = static_cast<std::uint8_t*>(raw);
  std::memset(bits, 1, 4);
  bits[3] = 9;  // an index beyond the table: drawn as black, kept as the program wrote it
  CDC source;
  source.CreateCompatibleDC(nullptr);
  HGDIOBJ old = source.SelectObject(reinterpret_cast<HGDIOBJ>(section));
  MemoryCanvas c(4, 1);
  const auto blit = [&] { c.dc.BitBlt(0, 0, 4, 1, &source, 0, 0, SRCCOPY); };
  blit();
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(bits[3], 9) << "a blit that only reads the section leaves its bits alone";

  bits[0] = 2;  // the program writes the bits between two blits
  blit();
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  const RGBQUAD green{0, 200, 0, 0};
  EXPECT_EQ(SetDIBColorTable(source, 2, 1, &green), 1u);
  blit();
  EXPECT_EQ(c.At(0, 0), RGB(0, 200, 0));

  // A blit within the section itself is drawing: its bits take the copied pixel.
  source.BitBlt(1, 0, 1, 1, &source, 0, 0, SRCCOPY);
  EXPECT_EQ(bits[1], 2);
  source.SelectObject(old);
  DeleteObject(reinterpret_cast<HGDIOBJ>(section));
}

TEST(DibTest, GetDIBitsReadsBackWhatSetDIBitsWrote) {
  CBitmap bmp;
  bmp.CreateBitmap(3, 2, 1, 32, nullptr);
  const std::uint8_t rgb[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
  Info in(3, 2, 24);
  EXPECT_EQ(SetDIBits(nullptr, bmp, 0, 2, rgb, in.get(), DIB_RGB_COLORS), 2);
  Info query(0, 0, 0);
  query.get()->bmiHeader.biBitCount = 0;
  EXPECT_NE(GetDIBits(nullptr, bmp, 0, 0, nullptr, query.get(), DIB_RGB_COLORS), 0);
  EXPECT_EQ(query.get()->bmiHeader.biWidth, 3);
  EXPECT_EQ(query.get()->bmiHeader.biBitCount, 32);
  Info out(3, 2, 24);
  std::uint8_t back[sizeof(rgb)] = {};
  EXPECT_EQ(GetDIBits(nullptr, bmp, 0, 2, back, out.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(std::vector<std::uint8_t>(back, back + sizeof(back)), std::vector<std::uint8_t>(rgb, rgb + sizeof(rgb)));
  Info topDown(3, -2, 32);
  std::uint32_t pixels[6] = {};
  GetDIBits(nullptr, bmp, 0, 2, pixels, topDown.get(), DIB_RGB_COLORS);
  EXPECT_EQ(pixels[0], 0x0C0B0Au) << "top row first: the second stored row of the bottom-up input";
}

TEST(DibTest, CreateDIBitmapUsesPaletteIndexesThroughTheSelectedPalette) {
  LOGPALETTE* lp = static_cast<LOGPALETTE*>(std::calloc(1, sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY)));
  lp->palVersion = 0x300;
  lp->palNumEntries = 2;
  lp->palPalEntry[0] = PALETTEENTRY{10, 20, 30, 0};
  lp->palPalEntry[1] = PALETTEENTRY{40, 50, 60, 0};
  CPalette pal;
  pal.CreatePalette(lp);
  std::free(lp);
  MemoryCanvas c(2, 1);
  CPalette* old = c.dc.SelectPalette(&pal, FALSE);
  EXPECT_EQ(c.dc.RealizePalette(), 0u);
  Info info(2, 1, 8);
  info.get()->bmiHeader.biClrUsed = 2;
  auto* indexes = reinterpret_cast<WORD*>(info.get()->bmiColors);
  indexes[0] = 1;
  indexes[1] = 0;
  const std::uint8_t bits[] = {0, 1, 0, 0};
  CBitmap ddb;
  ddb.Attach(reinterpret_cast<HGDIOBJ>(
      CreateDIBitmap(c.dc, &info.get()->bmiHeader, CBM_INIT, bits, info.get(), DIB_PAL_COLORS)));
  CDC mem;
  mem.CreateCompatibleDC(&c.dc);
  CBitmap* oldBmp = mem.SelectObject(&ddb);
  EXPECT_EQ(mem.GetPixel(0, 0), RGB(40, 50, 60));
  EXPECT_EQ(mem.GetPixel(1, 0), RGB(10, 20, 30));
  mem.SelectObject(oldBmp);
  c.dc.SelectPalette(old, FALSE);
}

TEST(DibTest, BitmapResourcesLoadPerModule) {
  platform::ResourceModule& a = platform::CreateResourceModule("gdi-test-a");
  platform::ResourceModule& b = platform::CreateResourceModule("gdi-test-b");
  platform::Surface red(2, 2), blue(3, 1);
  std::fill(red.pixels.begin(), red.pixels.end(), 0xFF0000u);
  std::fill(blue.pixels.begin(), blue.pixels.end(), 0x0000FFu);
  platform::AddBitmapResource(a, 128, red);
  platform::AddBitmapResource(b, 128, blue);
  HBITMAP fromA = LoadBitmap(a.Handle(), MAKEINTRESOURCE(128));
  HBITMAP fromB = static_cast<HBITMAP>(
      LoadImage(b.Handle(), MAKEINTRESOURCE(128), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(fromA, nullptr);
  ASSERT_NE(fromB, nullptr);
  BITMAP bm{};
  GetObject(reinterpret_cast<HGDIOBJ>(fromA), sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 2);
  EXPECT_EQ(bm.bmBits, nullptr);
  GetObject(reinterpret_cast<HGDIOBJ>(fromB), sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 3);
  EXPECT_NE(bm.bmBits, nullptr);
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  HGDIOBJ old = dc.SelectObject(reinterpret_cast<HGDIOBJ>(fromA));
  EXPECT_EQ(dc.GetPixel(1, 1), RGB(255, 0, 0));
  dc.SelectObject(reinterpret_cast<HGDIOBJ>(fromB));
  EXPECT_EQ(dc.GetPixel(2, 0), RGB(0, 0, 255));
  dc.SelectObject(old);
  EXPECT_EQ(LoadBitmap(a.Handle(), MAKEINTRESOURCE(129)), nullptr);
  DeleteObject(reinterpret_cast<HGDIOBJ>(fromA));
  DeleteObject(reinterpret_cast<HGDIOBJ>(fromB));
}

}  // namespace

namespace {

TEST(DibBandTest, ScanLineBandsDrawOnlyTheirRows) {
  // A bottom-up 1x4 picture given as two bands of two rows each.
  const std::uint8_t lower[] = {0, 0, 255, 0, 0, 0, 255, 0};   // stored rows 0-1: red (bottom of picture)
  const std::uint8_t upper[] = {255, 0, 0, 0, 255, 0, 0, 0};   // stored rows 2-3: blue (top)
  Info info(1, 4, 32);
  MemoryCanvas c(1, 4);
  EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 1, 4, 0, 0, 0, 2, lower, info.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(c.At(0, 3), RGB(255, 0, 0));
  EXPECT_EQ(SetDIBitsToDevice(c.dc, 0, 0, 1, 4, 0, 0, 2, 2, upper, info.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.At(0, 2), RGB(255, 0, 0));
}

TEST(DibBandTest, SixteenBitPixelsUseFiveBitsAChannel) {
  const std::uint16_t pixels[2] = {0x7C00, 0x001F};
  Info info(2, -1, 16);
  MemoryCanvas c(2, 1);
  SetDIBitsToDevice(c.dc, 0, 0, 2, 1, 0, 0, 0, 1, pixels, info.get(), DIB_RGB_COLORS);
  EXPECT_EQ(c.At(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(c.At(1, 0), RGB(0, 0, 255));
}

}  // namespace

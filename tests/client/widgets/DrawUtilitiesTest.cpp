#include "client/widgets/DrawUtilities.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/resources.h"

namespace {

class DrawUtilitiesTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(m_dc.CreateCompatibleDC(nullptr)); }

  LOGFONT Describe(HFONT font) {
    LOGFONT description{};
    ::GetObject(reinterpret_cast<HGDIOBJ>(font), sizeof description, &description);
    ::DeleteObject(reinterpret_cast<HGDIOBJ>(font));
    return description;
  }

  CDC m_dc;
};

TEST_F(DrawUtilitiesTest, EightPointFontOnA96DpiScreenIsElevenPixels) {
  ASSERT_EQ(m_dc.GetDeviceCaps(LOGPIXELSY), 96);
  const LOGFONT font = Describe(CreateDeviceFont(&m_dc, "Sans", 80, 0, kFontBold | kFontUnderline, true));
  EXPECT_EQ(font.lfHeight, -11);
  EXPECT_EQ(font.lfWidth, 0);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfUnderline, 1);
  EXPECT_EQ(font.lfItalic, 0);
  EXPECT_STREQ(font.lfFaceName, "Sans");
}

TEST_F(DrawUtilitiesTest, PrinterFontUsesThePhysicalResolution) {
  CDC printer;
  ASSERT_TRUE(printer.Attach(platform::CreatePrinterDC("/tmp/drawutil-unused", 300)));
  const LOGFONT font = Describe(CreateDeviceFont(&printer, "Sans", 100, 0, 0, false));
  EXPECT_EQ(font.lfHeight, -42);  // 10 points at 300 dpi
  printer.DeleteDC();
}

TEST_F(DrawUtilitiesTest, GivenWidthScalesTheAverageCharacterWidthAndStateIsRestored) {
  m_dc.SetViewportOrg(5, 7);
  const LOGFONT font = Describe(CreateDeviceFont(&m_dc, "Sans", 200, 100, 0, true));
  EXPECT_GT(font.lfWidth, 0);
  EXPECT_EQ(m_dc.GetViewportOrg(), CPoint(5, 7));
}

TEST_F(DrawUtilitiesTest, TransparentColourLeavesTheBackground) {
  const COLORREF green = RGB(0, 255, 0);
  const COLORREF colours[4] = {green, RGB(255, 0, 0), green, RGB(0, 0, 255)};
  CBitmap image;
  ASSERT_TRUE(image.CreateBitmap(6, 1, 1, 32, nullptr));
  CDC imageDc;
  imageDc.CreateCompatibleDC(&m_dc);
  CBitmap* oldImage = imageDc.SelectObject(&image);
  for (int x = 0; x < 6; ++x) imageDc.SetPixel(x, 0, colours[x % 4]);
  imageDc.SelectObject(oldImage);

  CBitmap target;
  ASSERT_TRUE(target.CreateBitmap(6, 2, 1, 32, nullptr));
  CBitmap* oldTarget = m_dc.SelectObject(&target);
  m_dc.FillSolidRect(0, 0, 6, 2, RGB(10, 20, 30));
  DrawTransparentBitmap(&m_dc, 1, 1, 4, 1, &image, 1, 0, green, nullptr);
  EXPECT_EQ(m_dc.GetPixel(0, 1), RGB(10, 20, 30));
  EXPECT_EQ(m_dc.GetPixel(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(m_dc.GetPixel(2, 1), RGB(10, 20, 30));
  EXPECT_EQ(m_dc.GetPixel(3, 1), RGB(0, 0, 255));
  EXPECT_EQ(m_dc.GetPixel(4, 1), RGB(10, 20, 30));
  EXPECT_EQ(m_dc.GetPixel(1, 0), RGB(10, 20, 30));
  m_dc.SelectObject(oldTarget);
}

TEST_F(DrawUtilitiesTest, BitmapResourceWithPaletteAndItsSize) {
  platform::ResourceModule& module = platform::CreateResourceModule("drawutilities-test");
  std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 4 * sizeof(RGBQUAD));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = 3;
  header->biHeight = 2;
  header->biPlanes = 1;
  header->biBitCount = 8;
  header->biClrUsed = 4;
  auto* table = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
  table[2] = RGBQUAD{30, 20, 10, 0};  // blue, green, red
  const BYTE bits[8] = {0, 1, 2, 0, 3, 2, 1, 0};
  ASSERT_TRUE(platform::AddBitmapResource(module, 701, reinterpret_cast<BITMAPINFO*>(info.data()), bits));
  const HINSTANCE previous = AfxGetResourceHandle();
  AfxSetResourceHandle(module.Handle());

  CBitmap bitmap;
  CPalette palette;
  EXPECT_EQ(LoadSysColorBitmap(701, bitmap, palette), 1);
  ASSERT_EQ(palette.GetEntryCount(), 4);
  PALETTEENTRY entry{};
  palette.GetPaletteEntries(2, 1, &entry);
  EXPECT_EQ(entry.peRed, 10);
  EXPECT_EQ(entry.peGreen, 20);
  EXPECT_EQ(entry.peBlue, 30);
  SIZE size{};
  EXPECT_EQ(GetBitmapResourceSize(701, &size), 1);
  EXPECT_EQ(size.cx, 3);
  EXPECT_EQ(size.cy, 2);

  EXPECT_EQ(LoadSysColorBitmap(702, bitmap, palette), 0);
  EXPECT_EQ(GetBitmapResourceSize(702, &size), 0);
  EXPECT_EQ(size.cx, 0);
  AfxSetResourceHandle(previous);
}

}  // namespace

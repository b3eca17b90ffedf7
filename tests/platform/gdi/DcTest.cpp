#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "MemoryCanvas.h"
#include "platform/windows.h"

namespace {

TEST(DcTest, SelectObjectReturnsThePreviousObject) {
  MemoryCanvas c(4, 4);
  CPen red(PS_SOLID, 1, RGB(255, 0, 0)), blue(PS_SOLID, 1, RGB(0, 0, 255));
  CPen* first = c.dc.SelectObject(&red);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetSafeHandle(), GetStockObject(BLACK_PEN));
  EXPECT_EQ(c.dc.SelectObject(&blue), &red);
  EXPECT_EQ(c.dc.SelectObject(first), &blue);
  CGdiObject* brush = c.dc.SelectStockObject(HOLLOW_BRUSH);
  EXPECT_EQ(brush->GetSafeHandle(), GetStockObject(WHITE_BRUSH));
  // Stock objects survive deletion.
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
  LOGPEN lp{};
  EXPECT_EQ(GetObject(GetStockObject(BLACK_PEN), sizeof(lp), &lp), static_cast<int>(sizeof(lp)));
  EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), OBJ_BRUSH);
}

TEST(DcTest, RestoreDCBringsBackSelectionsColoursAndMapping) {
  MemoryCanvas c(4, 4);
  CBrush brush(RGB(1, 2, 3));
  c.dc.SetTextColor(RGB(9, 9, 9));
  int saved = c.dc.SaveDC();
  c.dc.SelectObject(&brush);
  c.dc.SetTextColor(RGB(200, 0, 0));
  c.dc.SetMapMode(MM_LOMETRIC);
  c.dc.SaveDC();
  c.dc.SetBkMode(TRANSPARENT);
  EXPECT_TRUE(c.dc.RestoreDC(-1));
  EXPECT_EQ(c.dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(c.dc.GetMapMode(), MM_LOMETRIC);
  EXPECT_TRUE(c.dc.RestoreDC(saved));
  EXPECT_EQ(c.dc.GetTextColor(), RGB(9, 9, 9));
  EXPECT_EQ(c.dc.GetMapMode(), MM_TEXT);
  EXPECT_EQ(c.dc.GetCurrentBrush()->GetSafeHandle(), GetStockObject(WHITE_BRUSH));
  EXPECT_FALSE(c.dc.RestoreDC(saved)) << "that state was used up";
  EXPECT_FALSE(c.dc.RestoreDC(5));
}

TEST(DcTest, LinesLeaveOutTheirEndPoint) {
  MemoryCanvas c(10, 10);
  c.dc.MoveTo(1, 1);
  EXPECT_TRUE(c.dc.LineTo(5, 1));
  EXPECT_EQ(c.At(1, 1), RGB(0, 0, 0));
  EXPECT_EQ(c.At(4, 1), RGB(0, 0, 0));
  EXPECT_EQ(c.At(5, 1), RGB(255, 255, 255));
  EXPECT_EQ(c.dc.GetCurrentPosition(), CPoint(5, 1));
  c.dc.LineTo(5, 6);
  EXPECT_EQ(c.At(5, 1), RGB(0, 0, 0));
  EXPECT_EQ(c.At(5, 5), RGB(0, 0, 0));
  EXPECT_EQ(c.At(5, 6), RGB(255, 255, 255));
}

TEST(DcTest, NullAndDashedPens) {
  MemoryCanvas c(40, 3);
  c.dc.SelectStockObject(NULL_PEN);
  c.dc.MoveTo(0, 0);
  c.dc.LineTo(40, 0);
  EXPECT_EQ(c.At(0, 0), RGB(255, 255, 255));
  CPen dash(PS_DASH, 1, RGB(0, 0, 0));
  c.dc.SelectObject(&dash);
  c.dc.MoveTo(0, 1);
  c.dc.LineTo(40, 1);
  int inked = 0;
  for (int x = 0; x < 40; ++x) inked += c.At(x, 1) == RGB(0, 0, 0);
  EXPECT_GT(inked, 10);
  EXPECT_LT(inked, 39);
  CPen thick(PS_SOLID, 3, RGB(0, 0, 0));
  c.dc.SelectObject(&thick);
  c.dc.MoveTo(10, 1);
  c.dc.LineTo(20, 1);
  EXPECT_EQ(c.At(15, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(15, 2), RGB(0, 0, 0));
  c.dc.SelectStockObject(BLACK_PEN);
}

TEST(DcTest, RectangleAndEllipseUsePenAndBrush) {
  MemoryCanvas c(20, 20);
  CBrush red(RGB(255, 0, 0));
  CBrush* old = c.dc.SelectObject(&red);
  c.dc.Rectangle(2, 2, 8, 8);
  EXPECT_EQ(c.At(2, 2), RGB(0, 0, 0));
  EXPECT_EQ(c.At(7, 7), RGB(0, 0, 0));
  EXPECT_EQ(c.At(8, 8), RGB(255, 255, 255));
  EXPECT_EQ(c.At(5, 5), RGB(255, 0, 0));
  c.dc.SelectStockObject(NULL_PEN);
  c.dc.Rectangle(10, 10, 14, 14);
  EXPECT_EQ(c.At(10, 10), RGB(255, 0, 0));
  EXPECT_EQ(c.At(12, 12), RGB(255, 0, 0));
  EXPECT_EQ(c.At(13, 13), RGB(255, 255, 255)) << "without a pen the shape loses its right and bottom edge";
  c.dc.SelectStockObject(BLACK_PEN);
  c.dc.SelectStockObject(HOLLOW_BRUSH);
  c.dc.Ellipse(0, 10, 10, 20);
  EXPECT_EQ(c.At(5, 15), RGB(255, 255, 255));
  EXPECT_EQ(c.At(0, 15), RGB(0, 0, 0));
  EXPECT_EQ(c.At(0, 10), RGB(255, 255, 255));
  POINT tri[3] = {{12, 0}, {19, 0}, {19, 7}};
  c.dc.SelectObject(&red);
  c.dc.Polygon(tri, 3);
  EXPECT_EQ(c.At(17, 2), RGB(255, 0, 0));
  EXPECT_EQ(c.At(13, 5), RGB(255, 255, 255));
  c.dc.SelectObject(old);
}

TEST(DcTest, FillsFramesAndInversion) {
  MemoryCanvas c(10, 10);
  CBrush green(RGB(0, 255, 0));
  CRect r(1, 1, 5, 5);
  c.dc.FillRect(&r, &green);
  EXPECT_EQ(c.At(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(c.At(5, 5), RGB(255, 255, 255));
  CBrush black(RGB(0, 0, 0));
  c.dc.FrameRect(CRect(0, 0, 10, 10), &black);
  EXPECT_EQ(c.At(9, 9), RGB(0, 0, 0));
  EXPECT_EQ(c.At(8, 8), RGB(255, 255, 255));
  c.dc.InvertRect(CRect(1, 1, 2, 2));
  EXPECT_EQ(c.At(1, 1), RGB(255, 0, 255));
  c.dc.SetBkColor(RGB(1, 1, 1));
  c.dc.FillSolidRect(6, 6, 2, 2, RGB(7, 8, 9));
  EXPECT_EQ(c.At(7, 7), RGB(7, 8, 9));
  EXPECT_EQ(c.dc.GetBkColor(), RGB(7, 8, 9));
  c.dc.Draw3dRect(2, 6, 3, 3, RGB(255, 255, 255), RGB(128, 128, 128));
  EXPECT_EQ(c.At(2, 6), RGB(255, 255, 255));
  EXPECT_EQ(c.At(4, 8), RGB(128, 128, 128));
}

TEST(DcTest, FocusRectangleDrawnTwiceDisappears) {
  MemoryCanvas c(12, 12, false, RGB(40, 80, 120));
  CRect r(1, 1, 11, 11);
  c.dc.DrawFocusRect(&r);
  int changed = 0;
  for (int x = 0; x < 12; ++x) changed += c.At(x, 1) != RGB(40, 80, 120);
  EXPECT_GE(changed, 4);
  EXPECT_EQ(c.At(5, 5), RGB(40, 80, 120));
  c.dc.DrawFocusRect(&r);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(c.At(x, y), RGB(40, 80, 120)) << x << "," << y;
}

TEST(DcTest, EdgesAndFrameControlsUseSystemColours) {
  MemoryCanvas c(30, 30);
  CRect r(0, 0, 10, 10);
  c.dc.DrawEdge(&r, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(r, CRect(2, 2, 8, 8));
  EXPECT_EQ(c.At(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(c.At(9, 9), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(c.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(c.At(5, 5), GetSysColor(COLOR_BTNFACE));
  CRect button(10, 0, 30, 10);
  c.dc.DrawFrameControl(&button, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  EXPECT_EQ(c.At(10, 0), GetSysColor(COLOR_BTNSHADOW));
  CRect unchecked(0, 12, 13, 25), checked(15, 12, 28, 25);
  c.dc.DrawFrameControl(&unchecked, DFC_BUTTON, DFCS_BUTTONCHECK);
  c.dc.DrawFrameControl(&checked, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  int marks = 0;
  for (int y = 14; y < 23; ++y)
    for (int x = 2; x < 11; ++x) {
      EXPECT_EQ(c.At(x, y), RGB(255, 255, 255));
      marks += c.At(x + 15, y) == RGB(0, 0, 0);
    }
  EXPECT_GT(marks, 5);
  CRect menu(0, 0, 10, 10);
  MemoryCanvas m(10, 10, true);
  EXPECT_TRUE(m.dc.DrawFrameControl(&menu, DFC_MENU, DFCS_MENUCHECK));
}

TEST(DcTest, DrawStateDrawsBitmapsTextAndDisabledLooks) {
  MemoryCanvas picture(4, 4, false, RGB(255, 255, 255));
  picture.dc.FillSolidRect(0, 0, 2, 2, RGB(0, 0, 0));
  picture.dc.SelectObject(picture.old);
  MemoryCanvas c(20, 20, false, RGB(192, 192, 192));
  EXPECT_TRUE(c.dc.DrawState(CPoint(0, 0), CSize(4, 4), &picture.bitmap, DST_BITMAP));
  EXPECT_EQ(c.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(c.At(3, 3), RGB(255, 255, 255));
  EXPECT_TRUE(c.dc.DrawState(CPoint(10, 10), CSize(4, 4), &picture.bitmap, DST_BITMAP | DSS_DISABLED));
  EXPECT_EQ(c.At(10, 10), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(c.At(12, 12), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(c.At(13, 13), RGB(192, 192, 192));
  picture.old = picture.dc.SelectObject(&picture.bitmap);
  EXPECT_TRUE(c.dc.DrawState(CPoint(0, 5), CSize(0, 0), "&Go", DST_PREFIXTEXT | DSS_DISABLED, TRUE, 0,
                             static_cast<HBRUSH>(nullptr)));
  EXPECT_EQ(c.dc.GetBkMode(), OPAQUE);
}

TEST(DcTest, MappingModesConvertUnits) {
  CClientDC screen(nullptr);
  EXPECT_EQ(screen.GetDeviceCaps(LOGPIXELSX), 96);
  screen.SetMapMode(MM_LOMETRIC);
  CPoint p(254, -254);
  screen.LPtoDP(&p);
  EXPECT_EQ(p, CPoint(96, 96));
  screen.DPtoLP(&p);
  EXPECT_EQ(p, CPoint(254, -254));
  screen.SetMapMode(MM_ANISOTROPIC);
  screen.SetWindowExt(100, 100);
  screen.SetViewportExt(200, 50);
  screen.SetWindowOrg(10, 0);
  screen.SetViewportOrg(5, 5);
  CPoint q(20, 20);
  screen.LPtoDP(&q);
  EXPECT_EQ(q, CPoint(25, 15));
  EXPECT_EQ(screen.SetViewportExt(0, 5), CSize(200, 50)) << "a zero extent is refused";
  EXPECT_EQ(screen.GetViewportExt(), CSize(200, 50));
  screen.SetMapMode(MM_TEXT);
  screen.SetWindowExt(7, 7);
  EXPECT_EQ(screen.GetWindowExt(), CSize(1, 1)) << "extents only count in the scalable modes";
}

TEST(DcTest, ScreenCapsAndMetrics) {
  CClientDC screen(nullptr);
  SIZE size = platform::GetScreenSize();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), size.cx);
  EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), size.cx);
  EXPECT_EQ(screen.GetDeviceCaps(HORZRES), size.cx);
  EXPECT_EQ(screen.GetDeviceCaps(RASTERCAPS) & RC_PALETTE, 0);
  EXPECT_EQ(screen.GetDeviceCaps(BITSPIXEL), 32);
  EXPECT_EQ(screen.GetDeviceCaps(NUMCOLORS), -1);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(999), 0u);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  EXPECT_EQ(face, GetSysColorBrush(COLOR_BTNFACE));
  DeleteObject(reinterpret_cast<HGDIOBJ>(face));
  LOGBRUSH lb{};
  EXPECT_EQ(GetObject(reinterpret_cast<HGDIOBJ>(face), sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
  EXPECT_EQ(lb.lbColor, RGB(192, 192, 192));
}

TEST(DcTest, PaletteNearestIndexAndHalftone) {
  std::vector<std::uint8_t> bytes(sizeof(LOGPALETTE) + 3 * sizeof(PALETTEENTRY));
  auto* lp = reinterpret_cast<LOGPALETTE*>(bytes.data());
  lp->palVersion = 0x300;
  lp->palNumEntries = 3;
  lp->palPalEntry[0] = PALETTEENTRY{0, 0, 0, 0};
  lp->palPalEntry[1] = PALETTEENTRY{255, 255, 255, 0};
  lp->palPalEntry[2] = PALETTEENTRY{0, 255, 0, 0};
  CPalette pal;
  ASSERT_TRUE(pal.CreatePalette(lp));
  EXPECT_FALSE(pal.CreatePalette(lp)) << "one palette per object";
  EXPECT_EQ(pal.GetEntryCount(), 3);
  EXPECT_EQ(pal.GetNearestPaletteIndex(RGB(250, 240, 250)), 1u);
  EXPECT_EQ(pal.GetNearestPaletteIndex(RGB(10, 200, 10)), 2u);
  PALETTEENTRY e{};
  EXPECT_EQ(pal.GetPaletteEntries(3, 1, &e), 0u);
  CPalette halftone;
  CClientDC screen(nullptr);
  ASSERT_TRUE(halftone.CreateHalftonePalette(&screen));
  EXPECT_EQ(halftone.GetEntryCount(), 256);
  MemoryCanvas c(1, 1);
  c.dc.SelectPalette(&pal, FALSE);
  c.dc.FillSolidRect(0, 0, 1, 1, PALETTEINDEX(2));
  EXPECT_EQ(c.At(0, 0), RGB(0, 255, 0));
}

TEST(DcTest, PrinterPagesBecomePngFiles) {
  std::string prefix = ::testing::TempDir() + "print-page-";
  CDC printer;
  printer.Attach(platform::CreatePrinterDC(prefix, 30));
  EXPECT_EQ(printer.GetDeviceCaps(LOGPIXELSY), 30);
  EXPECT_EQ(printer.GetDeviceCaps(HORZSIZE), 210);
  EXPECT_EQ(printer.GetDeviceCaps(HORZRES), 248);
  EXPECT_EQ(printer.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
  EXPECT_LE(printer.StartPage(), 0) << "no page outside a document";
  EXPECT_GT(printer.StartDoc("record"), 0);
  EXPECT_GT(printer.StartPage(), 0);
  printer.FillSolidRect(0, 0, 10, 10, RGB(255, 0, 0));
  EXPECT_GT(printer.EndPage(), 0);
  EXPECT_GT(printer.StartPage(), 0);
  EXPECT_GT(printer.EndPage(), 0);
  EXPECT_GT(printer.EndDoc(), 0);
  std::vector<std::string> pages = platform::PrintedPages(printer);
  ASSERT_EQ(pages.size(), 2u);
  platform::Surface first;
  ASSERT_TRUE(platform::LoadPng(pages[0].c_str(), first));
  EXPECT_EQ(first.width, 248);
  EXPECT_EQ(first.Row(0)[0], 0xFF0000u);
  EXPECT_EQ(first.Row(20)[20], 0xFFFFFFu);

  printer.StartDoc("aborted");
  printer.StartPage();
  printer.EndPage();
  std::string written = platform::PrintedPages(printer).at(0);
  EXPECT_GT(printer.AbortDoc(), 0);
  EXPECT_FALSE(std::ifstream(written).good());
  EXPECT_TRUE(platform::PrintedPages(printer).empty());
  for (const std::string& p : pages) std::remove(p.c_str());
}

TEST(DcTest, PngOfAContextReadsBackEqual) {
  MemoryCanvas c(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) c.dc.SetPixel(x, y, RGB(x * 30, y * 50, (x + y) * 10));
  std::string path = ::testing::TempDir() + "dc.png";
  ASSERT_TRUE(platform::SaveDCPng(&c.dc, path.c_str()));
  platform::Surface expected, back;
  ASSERT_TRUE(platform::CopyDCPixels(&c.dc, expected));
  ASSERT_TRUE(platform::LoadPng(path.c_str(), back));
  EXPECT_EQ(back.width, 7);
  EXPECT_EQ(back.height, 5);
  EXPECT_EQ(back.pixels, expected.pixels);
  EXPECT_FALSE(platform::SaveSurfacePng(expected, "/nonexistent-dir/x.png"));
  std::ofstream(path) << "not a png";
  EXPECT_FALSE(platform::LoadPng(path.c_str(), back));
  std::remove(path.c_str());
}

TEST(DcTest, TemporaryWrappersDieWithTheirHandles) {
  HDC raw = CreateCompatibleDC(nullptr);
  CDC* wrapper = CDC::FromHandle(raw);
  ASSERT_NE(wrapper, nullptr);
  EXPECT_EQ(CDC::FromHandle(raw), wrapper);
  EXPECT_TRUE(wrapper->PatBlt(0, 0, 1, 1, BLACKNESS));
  EXPECT_TRUE(DeleteDC(raw));
  EXPECT_FALSE(DeleteDC(raw));
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  CPen* p = CPen::FromHandle(pen);
  EXPECT_EQ(p->GetSafeHandle(), reinterpret_cast<HGDIOBJ>(pen));
  EXPECT_TRUE(DeleteObject(reinterpret_cast<HGDIOBJ>(pen)));
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(pen)), 0u);
}

}  // namespace

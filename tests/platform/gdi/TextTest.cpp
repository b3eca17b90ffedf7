#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "MemoryCanvas.h"
#include "platform/strings.h"

namespace {

struct Ink {
  RECT box{1 << 30, 1 << 30, -1, -1};
  int count{0};
};

Ink InkOf(const MemoryCanvas& c, int w, int h) {
  Ink ink;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (c.At(x, y) == RGB(255, 255, 255)) continue;
      ++ink.count;
      ink.box.left = std::min<LONG>(ink.box.left, x);
      ink.box.top = std::min<LONG>(ink.box.top, y);
      ink.box.right = std::max<LONG>(ink.box.right, x + 1);
      ink.box.bottom = std::max<LONG>(ink.box.bottom, y + 1);
    }
  }
  return ink;
}

class TextTest : public ::testing::Test {
protected:
  void Use(const char* face, int height, int weight = FW_NORMAL) {
    font.CreateFont(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    old = canvas.dc.SelectObject(&font);
  }
  void TearDown() override {
    if (old) canvas.dc.SelectObject(old);
  }
  MemoryCanvas canvas{300, 120};
  CFont font;
  CFont* old{nullptr};
};

TEST_F(TextTest, CalcRectMatchesWhatIsDrawn) {
  Use("Arial", -16);
  const char* text = "Black to play";
  CRect calc(10, 10, 10, 10);
  int height = canvas.dc.DrawText(text, -1, &calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(height, calc.Height());
  EXPECT_GT(calc.Width(), 40);
  Ink before = InkOf(canvas, 300, 120);
  EXPECT_EQ(before.count, 0) << "CALCRECT must not draw";
  canvas.dc.SetBkMode(TRANSPARENT);
  CRect draw = calc;
  canvas.dc.DrawText(text, -1, &draw, DT_SINGLELINE);
  Ink ink = InkOf(canvas, 300, 120);
  ASSERT_GT(ink.count, 0);
  EXPECT_GE(ink.box.left, calc.left);
  EXPECT_LE(ink.box.right, calc.right);
  EXPECT_GE(ink.box.top, calc.top);
  EXPECT_LE(ink.box.bottom, calc.bottom);
  EXPECT_GE(ink.box.right, calc.right - 4);
  EXPECT_LE(ink.box.left, calc.left + 3);
}

TEST_F(TextTest, CalcRectOfWrappedTextCountsItsLines) {
  Use("Arial", -14);
  int widest = std::max({canvas.dc.GetTextExtent("alpha").cx, canvas.dc.GetTextExtent("beta").cx,
                         canvas.dc.GetTextExtent("gamma").cx});
  CRect r(0, 0, widest + 2, 0);
  int h = canvas.dc.DrawText("alpha beta gamma", -1, &r, DT_WORDBREAK | DT_CALCRECT);
  TEXTMETRIC tm{};
  canvas.dc.GetTextMetrics(&tm);
  EXPECT_EQ(h, 3 * tm.tmHeight);
  EXPECT_LE(r.Width(), widest + 2);
  CRect lines(0, 0, 200, 0);
  EXPECT_EQ(canvas.dc.DrawText("one\r\ntwo", -1, &lines, DT_CALCRECT), 2 * tm.tmHeight);
}

TEST_F(TextTest, KoreanTextFromCodePage949DrawsGlyphs) {
  Use(Cp949("굴림"), -16);
  canvas.dc.SetBkMode(TRANSPARENT);
  canvas.dc.TextOut(5, 5, Cp949("바둑 생중계"), static_cast<int>(std::strlen(Cp949("바둑 생중계"))));
  Ink korean = InkOf(canvas, 300, 120);
  EXPECT_GT(korean.count, 60);
  EXPECT_GT(korean.box.right - korean.box.left, 50);
  // The same number of replacement marks would look nothing like it.
  MemoryCanvas other(300, 120);
  other.dc.SelectObject(&font);
  other.dc.SetBkMode(TRANSPARENT);
  other.dc.TextOut(5, 5, "?? ???", 6);
  EXPECT_NE(InkOf(other, 300, 120).count, korean.count);
  other.dc.SelectStockObject(SYSTEM_FONT);
}

TEST_F(TextTest, KoreanShowsEvenInALatinFace) {
  Use("MS Sans Serif", -12);
  canvas.dc.TextOut(0, 0, Cp949("흑"), 2);
  EXPECT_GT(InkOf(canvas, 300, 120).count, 20);
}

TEST_F(TextTest, FontHeightsFollowTheLogFont) {
  Use("Arial", -11);
  TEXTMETRIC tm{};
  ASSERT_TRUE(canvas.dc.GetTextMetrics(&tm));
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 11);
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
  CFont cell;
  cell.CreateFont(20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  canvas.dc.SelectObject(&cell);
  canvas.dc.GetTextMetrics(&tm);
  EXPECT_NEAR(tm.tmHeight, 20, 1);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  canvas.dc.SelectObject(&font);
}

// How far a tall stroke leans: the middle of its top ink row less the middle of its bottom one.
int LeanOf(const MemoryCanvas& c, int w, int h) {
  const Ink ink = InkOf(c, w, h);
  auto middleOfRow = [&](int y) {
    int first = -1, last = -1;
    for (int x = 0; x < w; ++x)
      if (c.At(x, y) != RGB(255, 255, 255)) {
        if (first < 0) first = x;
        last = x;
      }
    return (first + last) / 2;
  };
  return middleOfRow(ink.box.top) - middleOfRow(ink.box.bottom - 1);
}

// One face and size asked upright, italic, then upright again: each draws in its own style, so a
// cache that keys on less than the whole font shows up as a lean where none was asked, or none.
TEST_F(TextTest, ItalicAndUprightOfOneFaceEachKeepTheirStyle) {
  canvas.dc.SetBkMode(TRANSPARENT);
  auto leanWith = [&](BYTE italic) {
    CFont f;
    f.CreateFont(-61, 0, 0, 0, FW_NORMAL, italic, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    CFont* before = canvas.dc.SelectObject(&f);
    canvas.dc.FillSolidRect(0, 0, 300, 120, RGB(255, 255, 255));
    canvas.dc.TextOut(20, 10, "l", 1);
    canvas.dc.SelectObject(before);
    return LeanOf(canvas, 300, 120);
  };
  const int upright = leanWith(0);
  const int italic = leanWith(1);
  const int uprightAgain = leanWith(0);
  EXPECT_LE(std::abs(upright), 1);
  EXPECT_GE(italic, 6);
  EXPECT_EQ(uprightAgain, upright);
}

TEST_F(TextTest, WidthScalesTheAverageCharacter) {
  CFont narrow, wide;
  narrow.CreateFont(-20, 5, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  wide.CreateFont(-20, 15, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  old = canvas.dc.SelectObject(&narrow);
  int n = canvas.dc.GetTextExtent("MMMM").cx;
  canvas.dc.SelectObject(&wide);
  int w = canvas.dc.GetTextExtent("MMMM").cx;
  EXPECT_GT(w, 2 * n);
}

TEST_F(TextTest, PrefixIsUnderlinedAndNotShown) {
  Use("Arial", -16);
  CRect plain(0, 0, 300, 40), prefixed(0, 0, 300, 40);
  canvas.dc.DrawText("Save", -1, &plain, DT_SINGLELINE | DT_CALCRECT);
  canvas.dc.DrawText("&Save", -1, &prefixed, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(plain.Width(), prefixed.Width());
  CRect literal(0, 0, 300, 40);
  canvas.dc.DrawText("&Save", -1, &literal, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_GT(literal.Width(), plain.Width());
  CRect twice(0, 0, 300, 40);
  canvas.dc.DrawText("A&&B", -1, &twice, DT_SINGLELINE | DT_CALCRECT);
  CRect amp(0, 0, 300, 40);
  canvas.dc.DrawText("A&B", -1, &amp, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(twice.Width(), amp.Width());

  // The underline adds ink below the baseline under the first letter only.
  CRect r(0, 0, 300, 40);
  canvas.dc.DrawText("&Save", -1, &r, DT_SINGLELINE);
  Ink withMark = InkOf(canvas, 300, 120);
  MemoryCanvas other(300, 120);
  other.dc.SelectObject(&font);
  other.dc.DrawText("Save", -1, &r, DT_SINGLELINE);
  Ink without = InkOf(other, 300, 120);
  other.dc.SelectStockObject(SYSTEM_FONT);
  EXPECT_GT(withMark.count, without.count);
}

TEST_F(TextTest, EndEllipsisFitsTheRectangle) {
  Use("Arial", -14);
  const char* longText = "A rather long game title that will not fit";
  CRect r(0, 0, 80, 20);
  canvas.dc.SetBkMode(TRANSPARENT);
  canvas.dc.DrawText(longText, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  Ink ink = InkOf(canvas, 300, 120);
  ASSERT_GT(ink.count, 0);
  EXPECT_LE(ink.box.right, 81);
}

TEST_F(TextTest, AlignmentPlacesTheText) {
  Use("Arial", -14);
  canvas.dc.SetBkMode(TRANSPARENT);
  CRect r(0, 0, 300, 100);
  canvas.dc.DrawText("mid", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  Ink centre = InkOf(canvas, 300, 120);
  EXPECT_NEAR((centre.box.left + centre.box.right) / 2, 150, 4);
  EXPECT_NEAR((centre.box.top + centre.box.bottom) / 2, 50, 6);
  MemoryCanvas right(300, 120);
  right.dc.SelectObject(&font);
  right.dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
  right.dc.TextOut(200, 100, "end", 3);
  Ink ink = InkOf(right, 300, 120);
  right.dc.SelectStockObject(SYSTEM_FONT);
  EXPECT_LE(ink.box.right, 200);
  EXPECT_GE(ink.box.right, 195);
  EXPECT_LE(ink.box.bottom, 100);
}

TEST_F(TextTest, OpaqueModeFillsTheCellWithTheBackground) {
  Use("Arial", -14);
  canvas.dc.SetBkMode(OPAQUE);
  canvas.dc.SetBkColor(RGB(0, 0, 255));
  canvas.dc.TextOut(0, 0, "i", 1);
  EXPECT_EQ(canvas.At(0, 1), RGB(0, 0, 255));
  canvas.dc.SetBkMode(TRANSPARENT);
  canvas.dc.TextOut(50, 0, "i", 1);
  EXPECT_EQ(canvas.At(50, 1), RGB(255, 255, 255));
}

TEST_F(TextTest, RotatedTextRunsUpwards) {
  font.CreateFont(-16, 0, 900, 900, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  old = canvas.dc.SelectObject(&font);
  canvas.dc.SetBkMode(TRANSPARENT);
  canvas.dc.TextOut(50, 110, "upwards", 7);
  Ink ink = InkOf(canvas, 300, 120);
  ASSERT_GT(ink.count, 0);
  EXPECT_GT(ink.box.bottom - ink.box.top, ink.box.right - ink.box.left);
}

TEST_F(TextTest, EmptyAndBadTextIsHandled) {
  Use("Arial", -14);
  CRect r(0, 0, 100, 100);
  EXPECT_EQ(canvas.dc.DrawText("", 0, &r, DT_CALCRECT), 0);
  EXPECT_EQ(r.Width(), 0);
  EXPECT_EQ(canvas.dc.DrawText(nullptr, 3, &r, 0), 0);
  EXPECT_FALSE(canvas.dc.TextOut(0, 0, nullptr, 4));
  // A lone lead byte at the end of code page 949 text does not read past it.
  const char cut[] = {'a', static_cast<char>(0xB9)};
  canvas.dc.TextOut(0, 0, cut, 2);
  EXPECT_EQ(canvas.dc.GetTextExtent("", 0).cx, 0);
}

}  // namespace

namespace {

TEST_F(TextTest, KoreanWrapsBetweenCharacters) {
  Use(Cp949("굴림"), -14);
  const char* text = Cp949("흑백대국관전기보");
  CSize one = canvas.dc.GetTextExtent(Cp949("흑백"), 4);
  CRect r(0, 0, one.cx * 2 + 1, 0);
  int h = canvas.dc.DrawText(text, -1, &r, DT_WORDBREAK | DT_CALCRECT);
  TEXTMETRIC tm{};
  canvas.dc.GetTextMetrics(&tm);
  EXPECT_EQ(h, 2 * tm.tmHeight);
}

TEST_F(TextTest, ExtTextOutFillsClipsAndSpaces) {
  Use("Arial", -14);
  canvas.dc.SetBkColor(RGB(0, 255, 0));
  CRect box(0, 0, 30, 20);
  canvas.dc.ExtTextOut(0, 0, ETO_OPAQUE | ETO_CLIPPED, &box, "WWWWWWWW", 8, nullptr);
  EXPECT_EQ(canvas.At(29, 19), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(31, 5), RGB(255, 255, 255)) << "clipped to the rectangle";
  const int spacing[] = {20, 20, 20};
  canvas.dc.SetBkMode(TRANSPARENT);
  canvas.dc.ExtTextOut(0, 40, 0, nullptr, "iii", 3, spacing);
  Ink ink = InkOf(canvas, 300, 120);
  EXPECT_GE(ink.box.right, 40);
}

TEST_F(TextTest, UpdateCurrentPositionMovesAlong) {
  Use("Arial", -14);
  canvas.dc.SetTextAlign(TA_UPDATECP);
  canvas.dc.MoveTo(10, 10);
  canvas.dc.TextOut(0, 0, "abc", 3);
  int width = canvas.dc.GetTextExtent("abc").cx;
  EXPECT_EQ(canvas.dc.GetCurrentPosition(), CPoint(10 + width, 10));
}

TEST_F(TextTest, PointFontsAndMetricUnits) {
  CFont point;
  ASSERT_TRUE(point.CreatePointFont(80, "MS Sans Serif", &canvas.dc));
  LOGFONT lf{};
  point.GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -11) << "8 points on a 96 dpi screen";
  CDC printer;
  printer.Attach(platform::CreatePrinterDC(::testing::TempDir() + "unused-", 300));
  printer.SetMapMode(MM_LOMETRIC);
  CPoint corner(2100, -2970);
  printer.LPtoDP(&corner);
  EXPECT_NEAR(corner.x, printer.GetDeviceCaps(HORZRES), 2);
  CFont lometric;
  lometric.CreateFont(-50, 0, 0, 0, 0, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  CFont* old = printer.SelectObject(&lometric);
  TEXTMETRIC tm{};
  printer.GetTextMetrics(&tm);
  EXPECT_NEAR(tm.tmHeight - tm.tmInternalLeading, 50, 2) << "metrics come back in logical units";
  printer.SelectObject(old);
}

}  // namespace

// What the printed diagram page holds: the header's text above the board and the stones at their
// points, printed by the view's own print job; and on a wide page the header above the notes,
// both clear of the board, with room for note lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "ClientSessionSupport.h"
#include "client/images/Image.h"
#include "client/model/DiagramPrinter.h"
#include "client/model/GameInfo.h"
#include "platform/gdi.h"
#include "platform/printing.h"
#include "support/SnapshotPath.h"

namespace {

using clienttest::Session;
using PixelAt = std::function<COLORREF(int, int)>;

bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96; }

// Share (0..1) of dark pixels in rect.
double DarkShare(const PixelAt& pixel, const CRect& rect) {
  int dark = 0, all = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x, ++all) dark += IsDark(pixel(x, y)) ? 1 : 0;
  }
  return all == 0 ? 0.0 : static_cast<double>(dark) / all;
}

// A printed page read back from its file.
class Page {
public:
  bool Read(const std::string& path) { return m_image.ReadFile(path.c_str(), kImagePng) != FALSE; }
  int Width() const { return m_image.GetWidth(); }
  PixelAt Pixels() const {
    return [this](int x, int y) {
      BYTE r = 255, g = 255, b = 255;
      m_image.GetRGB(x, m_image.GetHeight() - 1 - y, &r, &g, &b);  // rows count from the bottom
      return RGB(r, g, b);
    };
  }

private:
  CImage m_image;
};

// The disk of a stone at point (x, y), shrunk to its inner half so that digits and the outline
// count little.
CRect InnerDisk(const CDiagramPrinter& printer, int x, int y) {
  const CPoint c = printer.PointCentre(x, y);
  const int r = printer.GetStoneSize() / 4;
  return CRect(c.x - r, c.y - r, c.x + r + 1, c.y + r + 1);
}

// A point's grid line just inside a stone's edge: drawn on an empty point, covered by any stone.
POINT UnderTheEdge(const CDiagramPrinter& printer, int x, int y) {
  const CPoint c = printer.PointCentre(x, y);
  return POINT{c.x, c.y + printer.GetStoneSize() * 2 / 5};
}

// Black stones at (4, 4) and (10, 10), white at (16, 16), nothing at (14, 4) (no star point).
void ExpectTheStones(const CDiagramPrinter& printer, const PixelAt& pixel) {
  EXPECT_GT(DarkShare(pixel, InnerDisk(printer, 4, 4)), 0.6);
  EXPECT_GT(DarkShare(pixel, InnerDisk(printer, 10, 10)), 0.6);
  EXPECT_LT(DarkShare(pixel, InnerDisk(printer, 16, 16)), 0.4);
  EXPECT_LT(DarkShare(pixel, InnerDisk(printer, 14, 4)), 0.4);
  const POINT white = UnderTheEdge(printer, 16, 16);
  const POINT empty = UnderTheEdge(printer, 14, 4);
  EXPECT_FALSE(IsDark(pixel(white.x, white.y)));  // the white stone covers its grid line
  EXPECT_TRUE(IsDark(pixel(empty.x, empty.y)));   // the empty point shows its line
}

// The printer object's layout for a page of paperMm at dpi, as a print job makes it.
class Layout {
public:
  Layout(const std::string& prefix, SIZE paperMm, int dpi, CNodeArray* moves) {
    dc.Attach(platform::CreatePrinterDC(prefix, dpi, paperMm));
    dc.m_bPrinting = TRUE;
    printer.LayoutPage(&dc, &info, moves);
  }
  CDC dc;
  CPrintInfo info;
  CDiagramPrinter printer;
};

void AddMove(CNodeArray& moves, int x, int y, int colour) {
  const int seq = static_cast<int>(moves.GetSize()) + 1;
  moves.Add(new CStoneNode(x, y, static_cast<DWORD>(colour) | CStoneNode::kPresent, seq, 0));
}

TEST(ClientPrintTest, TheViewsPrintedPageHoldsTheHeaderAndTheStonesAtTheirPoints) {
  const std::string prefix = testsupport::SnapshotPath("client-view-print-page");
  std::filesystem::remove(prefix + "1.png");
  Session s;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay("gi|gn|Ondrivo Cup Final\n"
                      "am|001|b|dd|1999999000|010000|010000\n"
                      "am|002|w|pp|1999999001|010000|010000\n"
                      "am|003|b|jj|1999999002|010000|010000\n"
                      "eh\n",
                      [&] { return view.IsHistoryComplete(); }));
  CPrintInfo job;
  job.m_bDirect = TRUE;
  job.m_nDpi = 100;
  job.m_strOutputPrefix = prefix.c_str();
  ASSERT_TRUE(view.RunPrintJob(job));
  EXPECT_EQ(job.GetMaxPage(), 1u);
  Page page;
  ASSERT_TRUE(page.Read(prefix + "1.png"));
  const PixelAt pixel = page.Pixels();

  CNodeArray moves;
  AddMove(moves, 4, 4, 2);
  AddMove(moves, 16, 16, 1);
  AddMove(moves, 10, 10, 2);
  Layout layout(testsupport::SnapshotPath("client-view-print-layout-"), SIZE{210, 297}, 100, &moves);
  moves.DeleteAll();
  const CDiagramPrinter& printer = layout.printer;
  ASSERT_EQ(page.Width(), layout.dc.GetDeviceCaps(HORZRES));
  ExpectTheStones(printer, pixel);
  // The title is printed in the header's upper third, above the board; the margin beside the
  // board is blank.
  const CRect header = printer.GetHeaderRect();
  ASSERT_LT(header.bottom, printer.GetBoardRect().top);
  EXPECT_GT(DarkShare(pixel, CRect(header.left, header.top, header.right, header.top + header.Height() / 3)), 0.002);
  EXPECT_EQ(DarkShare(pixel, CRect(0, printer.GetBoardRect().top, printer.GetBoardRect().left - 20,
                                   printer.GetBoardRect().bottom)),
            0.0);
}

TEST(ClientPrintTest, AWidePageKeepsTheHeaderAboveTheNotesBesideTheBoard) {
  CNodeArray moves;
  AddMove(moves, 4, 4, 2);
  AddMove(moves, 16, 16, 1);
  AddMove(moves, 10, 10, 2);
  // Three points played again: three note lines.
  AddMove(moves, 3, 3, 1);
  AddMove(moves, 3, 4, 2);
  AddMove(moves, 4, 3, 1);
  AddMove(moves, 4, 4, 2);
  AddMove(moves, 3, 3, 1);
  AddMove(moves, 16, 16, 2);
  CGameInfo info;
  info.m_title = "Ondrivo Cup Final";
  for (const SIZE paper : {SIZE{297, 210}, SIZE{279, 216}}) {
    for (const int dpi : {100, 300}) {
      SCOPED_TRACE(std::to_string(paper.cx) + " x " + std::to_string(paper.cy) + " mm at " + std::to_string(dpi));
      const std::string prefix = testsupport::SnapshotPath("client-wide-page-");
      Layout layout(prefix, paper, dpi, &moves);
      CDiagramPrinter& printer = layout.printer;
      const CRect header = printer.GetHeaderRect();
      const CRect notes = printer.GetNotesRect();
      const CRect board = printer.GetBoardRect();
      const int width = layout.dc.GetDeviceCaps(HORZRES);
      const int height = layout.dc.GetDeviceCaps(VERTRES);
      EXPECT_LT(header.top, header.bottom);
      EXPECT_LE(header.bottom, notes.top);
      EXPECT_LT(notes.top, notes.bottom);
      EXPECT_GE(header.left, board.right);  // beside the board, not over it
      EXPECT_GT(header.Width(), 0);
      EXPECT_GE(header.top, 0);
      EXPECT_LE(notes.bottom, height);
      EXPECT_LE(notes.right, width);
      EXPECT_GE(printer.GetLinesOnFirstPage(), 3);
      EXPECT_EQ(printer.GetPageCount(), 1);
      if (dpi != 100 || paper.cx != 297) continue;

      // What the page holds: the stones, the title in the header and a line of notes.
      printer.SetHeader(&info);
      CPrintInfo pageInfo;
      pageInfo.m_nCurPage = 1;
      printer.PrintPage(&layout.dc, &pageInfo);
      ASSERT_GT(layout.dc.StartDoc("wide page"), 0);
      ASSERT_GT(layout.dc.StartPage(), 0);
      printer.PrintPage(&layout.dc, &pageInfo);
      ASSERT_GT(layout.dc.EndPage(), 0);
      layout.dc.EndDoc();
      Page page;
      ASSERT_TRUE(page.Read(prefix + "1.png"));
      const PixelAt pixel = page.Pixels();
      EXPECT_GT(DarkShare(pixel, InnerDisk(printer, 10, 10)), 0.6);
      EXPECT_GT(DarkShare(pixel, CRect(header.left, header.top, header.right, header.top + header.Height() / 3)), 0.002);
      const int line = printer.GetSmallStoneSize();
      // Inside the frame: the first line's small stones.
      EXPECT_GT(DarkShare(pixel, CRect(notes.left + 8, notes.top + 10, notes.right - 8, notes.top + 10 + line)), 0.01);
    }
  }
  moves.DeleteAll();
}

}  // namespace

// What the printed diagram page holds: the header's text above the board and the stones at their
// points, printed by the view's own print job; and on a wide page the header above the notes,
// both clear of the board, with room for note lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "ClientSessionSupport.h"
#include "client/images/Image.h"
#include "client/model/DiagramPrinter.h"
#include "client/model/GameInfo.h"
#include "platform/gdi.h"
#include "platform/printing.h"
#include "platform/view.h"
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
  Layout(const std::string& prefix, SIZE paperMm, int dpi, CNodeArray* moves) : m_prefix(prefix) {
    dc.Attach(platform::CreatePrinterDC(prefix, dpi, paperMm));
    dc.m_bPrinting = TRUE;
    printer.LayoutPage(&dc, &info, moves);
  }
  // Prints page pageInfo.m_nCurPage as a document of its own named doc, and reads the printed
  // page back into page.
  void PrintAndRead(CPrintInfo& pageInfo, const char* doc, Page& page) {
    ASSERT_GT(dc.StartDoc(doc), 0);
    ASSERT_GT(dc.StartPage(), 0);
    printer.PrintPage(&dc, &pageInfo);
    ASSERT_GT(dc.EndPage(), 0);
    dc.EndDoc();
    ASSERT_TRUE(page.Read(m_prefix + "1.png"));
  }
  CDC dc;
  CPrintInfo info;
  CDiagramPrinter printer;

private:
  std::string m_prefix;
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
      Page page;
      ASSERT_NO_FATAL_FAILURE(layout.PrintAndRead(pageInfo, "wide page", page));
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

// Every page size and orientation a person can pick: each header text printed whole, inside
// the page, in a row of its own, and nothing else printed around the header.
TEST(ClientPrintTest, EveryHeaderTextIsPrintedWholeOnTallAndWidePages) {
  CNodeArray moves;
  AddMove(moves, 4, 4, 2);
  AddMove(moves, 16, 16, 1);
  AddMove(moves, 10, 10, 2);
  AddMove(moves, 4, 4, 1);  // one point played again: a note line
  CGameInfo info;
  info.m_title = "Ondrivo Cup Final";
  info.m_year = 2026;
  info.m_month = 12;
  info.m_day = 9;
  info.m_place = "Seoul Baduk Hall";
  info.m_whiteName = "Lee Viewer (Baduk Hall)";
  info.m_blackName = "Kim Relay (Ondrivo Club)";
  info.m_whiteHours = 1;
  info.m_whiteMinutes = 2;
  info.m_blackHours = 1;
  info.m_blackMinutes = 5;
  info.m_result = Cp949("흑 불계승");
  struct Paper {
    const char* name;
    SIZE mm;
  };
  const Paper papers[] = {{"a4-portrait", {210, 297}},
                          {"a4-landscape", {297, 210}},
                          {"letter-portrait", {216, 279}},
                          {"letter-landscape", {279, 216}}};
  for (const Paper& paper : papers) {
    for (const int dpi : {100, 300}) {
      const std::string name = std::string("client-header-") + paper.name + "-" + std::to_string(dpi) + "-page";
      SCOPED_TRACE(name);
      const std::string prefix = testsupport::SnapshotPath(name);
      std::filesystem::remove(prefix + "1.png");
      Layout layout(prefix, paper.mm, dpi, &moves);
      CDiagramPrinter& printer = layout.printer;
      printer.SetHeader(&info);
      CPrintInfo pageInfo;
      pageInfo.m_nCurPage = 1;
      Page page;
      ASSERT_NO_FATAL_FAILURE(layout.PrintAndRead(pageInfo, "header", page));
      const PixelAt pixel = page.Pixels();
      const int width = layout.dc.GetDeviceCaps(HORZRES);
      const int height = layout.dc.GetDeviceCaps(VERTRES);
      ASSERT_EQ(page.Width(), width);
      const CRect board = printer.GetBoardRect();
      const CRect notes = printer.GetNotesRect();

      CRect boxes[9];
      for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE("text " + std::to_string(i));
        const CRect box = boxes[i] = printer.GetHeaderTextBox(i);
        ASSERT_FALSE(box.IsRectEmpty());
        EXPECT_GE(box.left, 0);
        EXPECT_GE(box.top, 0);
        EXPECT_LE(box.right, width);
        EXPECT_LE(box.bottom, height);
        // Printed, and printed to its end: the last quarter of the text has ink too.
        EXPECT_GT(DarkShare(pixel, box), 0.01);
        EXPECT_GT(DarkShare(pixel, CRect(box.right - box.Width() / 4, box.top, box.right, box.bottom)), 0.005);
        // Clear of the board and of the notes.
        CRect common;
        EXPECT_FALSE(common.IntersectRect(&box, &board));
        EXPECT_FALSE(common.IntersectRect(&box, &notes));
        for (int j = 0; j < i; ++j) {
          EXPECT_FALSE(common.IntersectRect(&box, &boxes[j])) << "overlaps text " << j;
        }
      }
      // The band the header takes (above a tall page's board, right of a wide page's) holds no
      // ink outside the texts' boxes: no text ran past its box or off where it was placed.
      const bool wide = width > height;
      const CRect band = wide ? CRect(board.right + 2, 0, width, notes.top - 2) : CRect(0, 0, width, board.top - 2);
      int stray = 0;
      for (int y = band.top; y < band.bottom; ++y) {
        for (int x = band.left; x < band.right; ++x) {
          if (!IsDark(pixel(x, y))) continue;
          bool inside = false;
          for (const CRect& box : boxes) {
            CRect grown(box);
            grown.InflateRect(2, 2);
            inside = inside || grown.PtInRect(CPoint(x, y));
          }
          stray += inside ? 0 : 1;
        }
      }
      EXPECT_EQ(stray, 0);
      EXPECT_EQ(printer.GetPageCount(), 1);
    }
  }
  moves.DeleteAll();
}

std::string Bytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// A print job over a list of moves, as the view's own job prints its board's.
class CMovesPrintView : public CView {
public:
  explicit CMovesPrintView(CNodeArray* moves) : m_moves(moves) {}
  void OnDraw(CDC*) override {}
  BOOL OnPreparePrinting(CPrintInfo* info) override { return DoPreparePrinting(info); }
  void OnBeginPrinting(CDC* dc, CPrintInfo* info) override {
    m_printer = std::make_unique<CDiagramPrinter>();
    m_printer->LayoutPage(dc, info, m_moves);
  }
  void OnPrint(CDC* dc, CPrintInfo* info) override { m_printer->PrintPage(dc, info); }
  void OnEndPrinting(CDC*, CPrintInfo*) override { m_printer.reset(); }

  CNodeArray* m_moves;
  std::unique_ptr<CDiagramPrinter> m_printer;
};

// Points 1..count of the board, each played twice: count note lines.
void PlayPointsTwice(CNodeArray& moves, int count) {
  moves.DeleteAll();
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < count; ++i) AddMove(moves, i % 19 + 1, i / 19 + 1, round == 0 ? 1 : 2);  // black stones in the notes
  }
}

// Notes that exactly fill page 1 print on it alone; one line more goes to page 2 alone, and a
// page range past the diagram prints no blank sheets.
TEST(ClientPrintTest, NotesThatExactlyFillThePagePrintOnItAndOneMoreLineGoesOnTheNext) {
  CNodeArray moves;
  const std::string probe = testsupport::SnapshotPath("client-notes-probe-");
  int lines = 0;
  {
    Layout layout(probe, SIZE{210, 297}, 100, &moves);
    lines = layout.printer.GetLinesOnFirstPage();
  }
  ASSERT_GT(lines, 3);
  const std::string prefix = testsupport::SnapshotPath("client-notes-page");
  const auto pageFile = [&](int page) { return prefix + std::to_string(page) + ".png"; };
  const auto clear = [&] {
    for (int page = 1; page <= 9; ++page) std::filesystem::remove(pageFile(page));
  };
  const auto print = [&](UINT from, UINT to) {
    clear();
    CMovesPrintView view(&moves);
    CPrintInfo job;
    job.m_bDirect = TRUE;
    job.m_nDpi = 100;
    job.m_strOutputPrefix = prefix.c_str();
    if (from) job.SetPageRange(from, to);
    EXPECT_TRUE(view.RunPrintJob(job));
    return job.GetMaxPage();
  };
  // The row of note line k on a page whose notes frame starts at top.
  Layout reference(probe, SIZE{210, 297}, 100, &moves);
  const CDiagramPrinter& layout = reference.printer;
  const CRect notes = layout.GetNotesRect();
  const int step = layout.GetSmallStoneSize();
  const auto row = [&](int top, int k) {
    return CRect(notes.left + 8, top + 10 + step * k + 4, notes.left + 8 + step, top + 10 + step * (k + 1) - 4);
  };

  PlayPointsTwice(moves, lines);
  EXPECT_EQ(print(0, 0), 1u);
  ASSERT_TRUE(std::filesystem::exists(pageFile(1)));
  EXPECT_FALSE(std::filesystem::exists(pageFile(2)));
  Page page;
  ASSERT_TRUE(page.Read(pageFile(1)));
  EXPECT_GT(DarkShare(page.Pixels(), row(notes.top, lines - 1)), 0.2);  // the last line is there

  PlayPointsTwice(moves, lines + 1);
  EXPECT_EQ(print(0, 0), 2u);
  ASSERT_TRUE(std::filesystem::exists(pageFile(2)));
  ASSERT_TRUE(page.Read(pageFile(2)));
  const int top2 = layout.GetHeaderRect().top;  // page 2's notes start where the header did
  EXPECT_GT(DarkShare(page.Pixels(), row(top2, 0)), 0.2);    // the one line left over...
  EXPECT_EQ(DarkShare(page.Pixels(), row(top2, 1)), 0.0);    // ...and nothing after it

  const std::string secondPage = Bytes(pageFile(2));

  // Pages 3 to 9 of a two-page diagram: one sheet, its last page, and no blank sheets.
  EXPECT_EQ(print(3, 9), 2u);
  ASSERT_TRUE(std::filesystem::exists(pageFile(1)));
  EXPECT_EQ(Bytes(pageFile(1)), secondPage);
  for (int p = 2; p <= 9; ++p) EXPECT_FALSE(std::filesystem::exists(pageFile(p))) << p;
  clear();
  moves.DeleteAll();
}

}  // namespace

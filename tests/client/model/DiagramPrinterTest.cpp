#include "client/model/DiagramPrinter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "client/model/BadukCtrl.h"
#include "client/model/BoardTestSupport.h"
#include "client/model/BoardWindowSupport.h"
#include "client/model/GameInfo.h"
#include "platform/gdi.h"
#include "platform/uiscript.h"
#include "platform/view.h"
#include "support/SnapshotPath.h"

namespace {

// Moves as a board copies them: colour, present, Seq the move number.
void AddMove(CNodeArray& moves, int x, int y, int colour) {
  const int seq = static_cast<int>(moves.GetSize()) + 1;
  moves.Add(new CStoneNode(x, y, static_cast<DWORD>(colour) | CStoneNode::kPresent, seq, 0));
}

// A printer context of paperMm at dpi, deleted with the object.
class PrinterDC : public CDC {
public:
  explicit PrinterDC(const std::string& prefix, SIZE paperMm = SIZE{210, 297}, int dpi = 100) {
    Attach(platform::CreatePrinterDC(prefix, dpi, paperMm));
    m_bPrinting = TRUE;
  }
};

void FillSampleInfo(CGameInfo& info) {
  info.m_title = Cp949("제5001국 엔진 대국");
  info.m_year = 2026;
  info.m_month = 12;
  info.m_day = 9;
  info.m_place = Cp949("서울");
  info.m_whiteName = "Engine W";
  info.m_blackName = "Engine B";
  info.m_whiteHours = 1;
  info.m_whiteMinutes = 5;
  info.m_blackHours = 0;
  info.m_blackMinutes = 58;
  info.m_result = "W+";
}

class DiagramPrinterTest : public ::testing::Test {
protected:
  void TearDown() override { moves.DeleteAll(); }
  std::string Prefix(const char* name) { return testsupport::SnapshotPath(name); }

  boardtest::ClientResources resources;
  CNodeArray moves;
};

TEST_F(DiagramPrinterTest, LayoutKeepsEvenCellsOddStonesAndFourFifthsOfTheShorterSide) {
  AddMove(moves, 4, 4, 2);
  struct Paper {
    SIZE mm;
    int dpi;
  };
  for (const Paper& paper : {Paper{{210, 297}, 100}, Paper{{297, 210}, 100}, Paper{{210, 297}, 300}, Paper{{216, 279}, 150}}) {
    PrinterDC dc(Prefix("layout-"), paper.mm, paper.dpi);
    CDiagramPrinter printer;
    CPrintInfo info;
    printer.LayoutPage(&dc, &info, &moves);
    const int width = dc.GetDeviceCaps(HORZRES);
    const int height = dc.GetDeviceCaps(VERTRES);
    const int shorter = std::min(width, height);
    EXPECT_EQ(printer.GetBoardArea().Width(), shorter - shorter / 5);
    EXPECT_EQ(printer.GetBoardArea().Height(), shorter - shorter / 5);
    const int side = shorter - shorter / 5;
    EXPECT_EQ(printer.GetBoardArea().TopLeft(), CPoint((width - side) / 2, (height - side) / 2 - 50));  // moved up
    EXPECT_EQ(printer.GetCellWidth() % 2, 0);
    EXPECT_EQ(printer.GetCellHeight() % 2, 0);
    EXPECT_GT(printer.GetCellHeight(), printer.GetCellWidth());  // 45 : 42
    EXPECT_EQ(printer.GetStoneSize() % 2, 1);
    EXPECT_EQ(printer.GetStarRadius() % 2, 0);
    EXPECT_EQ(printer.GetBoardRect().Width(), printer.GetCellWidth() * 19);
    EXPECT_EQ(printer.GetSmallStoneSize(), static_cast<int>(printer.GetStoneSize() * 0.63));
    EXPECT_EQ(printer.GetPageCount(), 1);
    EXPECT_EQ(info.GetMaxPage(), 1u);
  }
}

TEST_F(DiagramPrinterTest, PointsPlayedAgainFormOneGroupEachInMoveOrder) {
  // Two points each played three times, a third point once, and stray nodes off the board.
  AddMove(moves, 4, 4, 2);    // 1
  AddMove(moves, 16, 16, 1);  // 2
  AddMove(moves, 4, 4, 1);    // 3
  AddMove(moves, 16, 16, 2);  // 4
  AddMove(moves, 10, 10, 2);  // 5
  AddMove(moves, 4, 4, 2);    // 6
  AddMove(moves, 16, 16, 1);  // 7
  moves.Add(new CStoneNode(0, 5, 0x102, 8, 0));
  moves.Add(new CStoneNode(5, 20, 0x101, 9, 0));
  PrinterDC dc(Prefix("groups-"));
  CDiagramPrinter printer;
  CPrintInfo info;
  printer.LayoutPage(&dc, &info, &moves);
  ASSERT_EQ(printer.GetGroupCount(), 2);
  const CNodeArray* first = printer.FindGroup(4, 4);
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->GetSize(), 2);
  EXPECT_EQ(first->GetNode(0)->GetSeq(), 3);
  EXPECT_EQ(first->GetNode(1)->GetSeq(), 6);
  EXPECT_EQ(printer.FindGroup(16, 16)->GetNode(1)->GetSeq(), 7);
  EXPECT_EQ(printer.GetGridNode(4, 4).GetSeq(), 1);  // the board shows the first stone
  EXPECT_EQ(printer.GetGridNode(16, 16).GetSeq(), 2);
  EXPECT_EQ(printer.FindGroup(10, 10), nullptr);
  EXPECT_EQ(printer.GetPageCount(), 1);
}

TEST_F(DiagramPrinterTest, HeaderTextsFollowTheGameInformation) {
  CDiagramPrinter printer;
  CGameInfo info;
  FillSampleInfo(info);
  printer.SetHeader(&info);
  EXPECT_EQ(printer.GetHeaderText(0), info.m_title);
  EXPECT_EQ(printer.GetHeaderText(1), Cp949("일시 : 2026년 12월 09일"));
  EXPECT_EQ(printer.GetHeaderText(2), Cp949("장소 : 서울"));
  EXPECT_EQ(printer.GetHeaderText(3), Cp949("백 : Engine W"));
  EXPECT_EQ(printer.GetHeaderText(4), Cp949("흑 : Engine B"));
  EXPECT_EQ(printer.GetHeaderText(5), Cp949("백 : 01시간 05분"));
  EXPECT_EQ(printer.GetHeaderText(6), Cp949("흑 : 00시간 58분"));
  EXPECT_EQ(printer.GetHeaderText(7), Cp949("결과 : W+"));
}

TEST_F(DiagramPrinterTest, NotesThatDoNotFitGoOnASecondPage) {
  // 25 points played twice each: more lines than the notes frame of page 1 holds.
  for (int i = 0; i < 25; ++i) AddMove(moves, i % 19 + 1, i / 19 + 1, 2);
  for (int i = 0; i < 25; ++i) AddMove(moves, i % 19 + 1, i / 19 + 1, 1);
  PrinterDC dc(Prefix("overflow-"));
  CDiagramPrinter printer;
  CPrintInfo info;
  printer.LayoutPage(&dc, &info, &moves);
  EXPECT_EQ(printer.GetGroupCount(), 25);
  ASSERT_LT(printer.GetLinesOnFirstPage(), 25);
  EXPECT_EQ(printer.GetPageCount(), 2);
  EXPECT_EQ(info.GetMaxPage(), 2u);
}

// The view's side of a print job: the board's moves are copied at the start, one printer object
// lives for the job.
class CDiagramPrintView : public CView {
public:
  CDiagramPrintView(CBadukCtrl* board, CGameInfo* info) : m_board(board), m_info(info) {}
  void OnDraw(CDC*) override {}
  BOOL OnPreparePrinting(CPrintInfo* info) override { return DoPreparePrinting(info); }
  void OnBeginPrinting(CDC* dc, CPrintInfo* info) override {
    m_printer = std::make_unique<CDiagramPrinter>();
    CNodeArray moves;
    m_board->CopyMoves(&moves);
    m_printer->LayoutPage(dc, info, &moves);
    m_printer->SetHeader(m_info);
    moves.DeleteAll();
  }
  void OnPrint(CDC* dc, CPrintInfo* info) override { m_printer->PrintPage(dc, info); }
  void OnEndPrinting(CDC*, CPrintInfo*) override { m_printer.reset(); }

  CBadukCtrl* m_board;
  CGameInfo* m_info;
  std::unique_ptr<CDiagramPrinter> m_printer;
};

TEST_F(DiagramPrinterTest, ARealGamePrintsThroughTheViewsPrintJob) {
  std::filesystem::remove(Prefix("diagram-a4-page1.png"));
  boardtest::RecordingParent parent;
  CBadukCtrl board;
  ASSERT_TRUE(board.Create(CRect(0, 0, 500, 535), &parent));
  ASSERT_EQ(boardtest::PlaceAll(board, boardtest::LoadSgfMoves(std::string(TEST_DATA_DIR) + "/selfplay-5001.sgf")), -1);
  CGameInfo info;
  FillSampleInfo(info);
  CDiagramPrintView view(&board, &info);
  CPrintInfo job;
  job.m_nDpi = 150;
  job.m_strOutputPrefix = Prefix("diagram-a4-page").c_str();
  // The person at the print dialog first cancels, then prints.
  platform::FileUiScript script(platform::ParseUiScript("print Cancel\nprint OK\n", nullptr));
  platform::ScopedUiScript scoped(&script);
  EXPECT_FALSE(view.RunPrintJob(job));
  EXPECT_FALSE(std::filesystem::exists(Prefix("diagram-a4-page1.png")));
  ASSERT_TRUE(view.RunPrintJob(job));
  EXPECT_TRUE(script.Remaining().empty());
  EXPECT_TRUE(std::filesystem::exists(Prefix("diagram-a4-page1.png")));
  EXPECT_FALSE(std::filesystem::exists(Prefix("diagram-a4-page2.png")));

}

// Along the top and the bottom edge White plays twelve stones that Black captures, then plays
// eleven of those points again while Black plays elsewhere: 22 points played twice.
std::vector<boardtest::Move> EdgeCaptures() {
  std::vector<boardtest::Move> moves;
  for (int edge : {1, 19}) {
    const int inside = edge == 1 ? 2 : 18;
    for (int x = 1; x <= 12; ++x) {
      moves.push_back({x, inside, 2});
      moves.push_back({x, edge, 1});
    }
    moves.push_back({13, edge, 2});  // takes the twelve
    for (int x = 1; x <= 11; ++x) {
      moves.push_back({x, edge, 1});
      moves.push_back({x + 4, edge == 1 ? 8 : 12, 2});
    }
  }
  return moves;
}

TEST_F(DiagramPrinterTest, ManyPointsPlayedAgainRunOverOntoASecondPage) {
  boardtest::RecordingParent parent;
  CBadukCtrl board;
  ASSERT_TRUE(board.Create(CRect(0, 0, 500, 535), &parent));
  ASSERT_EQ(boardtest::PlaceAll(board, EdgeCaptures()), -1);
  ASSERT_EQ(board.GetCaptures(1), 24);
  CGameInfo info;
  FillSampleInfo(info);
  info.m_title = Cp949("변 따내기 연습");
  CDiagramPrintView view(&board, &info);
  CPrintInfo job;
  job.m_bDirect = TRUE;
  job.m_nDpi = 150;
  job.m_strOutputPrefix = Prefix("diagram-two-pages-page").c_str();
  ASSERT_TRUE(view.RunPrintJob(job));
  EXPECT_EQ(job.GetMaxPage(), 2u);
  EXPECT_TRUE(std::filesystem::exists(Prefix("diagram-two-pages-page1.png")));
  EXPECT_TRUE(std::filesystem::exists(Prefix("diagram-two-pages-page2.png")));
}

}  // namespace

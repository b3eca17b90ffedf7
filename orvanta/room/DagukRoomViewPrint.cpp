// The game room view's printed game sheet: page 1 holds the header, the grid and the numbered
// stones with as many repeated points as fit under the diagram; page 2 lists the rest.

#include <algorithm>
#include <cstdint>

#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GiboRecord.h"
#include "orvanta/room/ResultText.h"

namespace {

constexpr int kRepeatsTop = 1100;       // first row of repeats under the diagram on page 1
constexpr int kPageBottom = 1380;
constexpr int kSecondPartTop = 120;

// The sheet's logical space, 1000 units across, scaled evenly onto the printable area.
void MapSheet(CDC& dc, const CRect& area) {
  dc.SetMapMode(MM_ISOTROPIC);
  dc.SetWindowExt(CStonePrinter::kSheetWidth, CStonePrinter::kSheetHeight);
  dc.SetViewportExt(std::max(static_cast<int>(area.Width()), 1), std::max(static_cast<int>(area.Height()), 1));
  dc.SetWindowOrg(0, 0);
}

}  // namespace

void CDagukRoomView::FillPrintTables() {
  std::vector<CStonePrinter::Move> moves;
  if (m_room) {
    // Handicap stones first, then the game's moves in the order the board numbers them.
    CGiboRecord record = m_room->GetRecord();
    short x = 0, y = 0, colour = 0;
    LONG timeLeft = 0;
    if (record.GetHandicap() > 0)
      while (record.GetSetupStone(x, y)) moves.push_back({x >= 0 && x < 19 && y >= 0 && y < 19 ? y * 19 + x : -1, 2});
    record.MoveTo(CGiboRecord::kFirstNode);
    while (record.GetMove(x, y, colour, timeLeft))
      moves.push_back({x >= 0 && x < 19 && y >= 0 && y < 19 ? y * 19 + x : -1, colour});
  }
  m_printer.Fill(moves);
}

BOOL CDagukRoomView::OnPreparePrinting(CPrintInfo* info) {
  FillPrintTables();
  // Page 1 holds the diagram and the first repeats; each further page continues the list.
  const int repeats = static_cast<int>(m_printer.Repeats().size());
  const int first = CStonePrinter::RepeatCapacity(kRepeatsTop, kPageBottom);
  const int perPage = CStonePrinter::RepeatCapacity(kSecondPartTop, kPageBottom);
  const int left = std::max(repeats - first, 0);
  info->SetMaxPage(static_cast<UINT>(1 + (left + perPage - 1) / perPage));
  m_nRepeatsPrinted = 0;
  return DoPreparePrinting(info);
}

void CDagukRoomView::OnPrint(CDC* dc, CPrintInfo* info) {
  if (!dc || !info) return;
  MapSheet(*dc, info->m_rectDraw);
  if (info->m_nCurPage == 1) {
    PrintSheetHeader(*dc);
    PrintBoardGrid(*dc);
    PrintStones(*dc);
  } else {
    PrintStonesWithFont(*dc);
  }
}

void CDagukRoomView::PrintSheetHeader(CDC& dc) {
  CFont title, text;
  title.CreateFont(36, 16, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  text.CreateFont(22, 10, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  CFont* old = dc.SelectObject(&title);
  dc.TextOut(380, 40, "Game review room");
  dc.SelectObject(&text);
  auto pane = [&](int id) { return m_room ? m_room->GetPaneText(id) : CString(); };
  dc.TextOut(95, 100, "Plyaer : White:" + pane(CGameRoom::kWhiteName) + " VS  Black:" + pane(CGameRoom::kBlackName));
  dc.TextOut(95, 130, "Captured Black : " + pane(CGameRoom::kBlackCaptured));
  dc.TextOut(520, 130, "Captured White : " + pane(CGameRoom::kWhiteCaptured));
  // The time each side used, from the game's main time and what its clock shows now.
  auto elapsed = [&](short colour) {
    if (!m_room) return CGameClock::MainText(0);
    const LONG seconds = m_room->GetClock(colour).ElapsedSeconds(m_room->GetRecord().GetTimeLimit());
    return CGameClock::MainText(static_cast<LONG>(std::min<long long>(seconds * 1000LL, INT32_MAX)));
  };
  dc.TextOut(95, 160, "Black elapse time : " + elapsed(2));
  dc.TextOut(520, 160, "White elapse time : " + elapsed(4));
  CString total;
  total.Format("%d", m_printer.GetMoveCount());
  dc.TextOut(95, 190, "Total moves : " + total);
  // Only a finished game has a result to print; a game in recess is a paused one.
  const WORD state = m_room ? m_room->GetRoomState() : WORD{1};
  const CString result = m_room ? m_room->GetRecord().GetResult() : CString();
  CString line = "The match has not ended.";
  if ((state & 16) && !result.IsEmpty()) {
    line = CResultText::FormatResult(result) + Cp949("입니다.");
  } else if (state & 8) {
    line = "Paused Game";
  }
  dc.TextOut(520, 190, "Results: " + line);
  dc.SelectObject(old);
}

void CDagukRoomView::PrintBoardGrid(CDC& dc) {
  CPen line(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* old = dc.SelectObject(&line);
  const int left = CStonePrinter::kGridLeft, top = CStonePrinter::kGridTop, step = CStonePrinter::kGridStep;
  for (int i = 0; i < 19; ++i) {
    dc.MoveTo(left, top + i * step);
    dc.LineTo(left + 18 * step, top + i * step);
    dc.MoveTo(left + i * step, top);
    dc.LineTo(left + i * step, top + 18 * step);
  }
  CBrush star(RGB(0, 0, 0));
  CBrush* oldBrush = dc.SelectObject(&star);
  for (int row : {3, 9, 15})
    for (int col : {3, 9, 15}) {
      const POINT c = CStonePrinter::PointCentre(row * 19 + col);
      dc.Ellipse(c.x - 4, c.y - 4, c.x + 5, c.y + 5);
    }
  dc.SelectObject(oldBrush);
  dc.SelectObject(old);
}

void CDagukRoomView::PrintStones(CDC& dc) {
  CFont numbers;
  numbers.CreateFont(CStonePrinter::kFontHeight, CStonePrinter::kFontWidth, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  CFont* old = dc.SelectObject(&numbers);
  dc.SetBkMode(TRANSPARENT);
  m_printer.DrawDiagram(dc);
  m_nRepeatsPrinted = m_printer.DrawRepeats(dc, 0, kRepeatsTop, kPageBottom);
  dc.SelectObject(old);
}

void CDagukRoomView::PrintStonesWithFont(CDC& dc) {
  dc.SetWindowOrg(0, 0);
  CFont numbers;
  numbers.CreateFont(CStonePrinter::kFontHeight, CStonePrinter::kFontWidth, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  CFont* old = dc.SelectObject(&numbers);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  dc.TextOut(CStonePrinter::kGridLeft, 60, "Game review room (continued)");
  // The list goes on where the page before stopped, never past this page's end.
  m_nRepeatsPrinted = m_printer.DrawRepeats(dc, m_nRepeatsPrinted, kSecondPartTop, kPageBottom);
  dc.SelectObject(old);
}

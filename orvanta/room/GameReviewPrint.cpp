// The review dialog's printout: page 1 holds the header, the board with every stone numbered by
// the first move played on its point, and up to nine entries for moves played again on a point
// after a capture; page 2 holds the entries left over.

#include <vector>

#include <platform/commondlg.h>
#include <platform/msgbox.h>

#include "orvanta/room/GameReviewDlg.h"
#include "orvanta/room/StudyRecord.h"

namespace {

constexpr int kGridStep = 75;
constexpr int kGridLeft = 325;
constexpr int kGridTop = -625;
constexpr int kStoneRadius = 36;
constexpr int kEntriesPerPage = 9;
constexpr int kMaxNumbersPerPoint = 50;

struct PrintedMove {
  int point;   // row * 19 + column
  short colour;
};

// Handicap stones first, then the moves, in the order the board numbers them; passes are left out
// of the board but keep their numbers.
std::vector<PrintedMove> MovesOf(CGiboRecord record) {
  std::vector<PrintedMove> moves;
  short x = 0, y = 0, colour = 0;
  LONG timeLeft = 0;
  if (record.GetHandicap() > 0)
    while (record.GetSetupStone(x, y)) moves.push_back({y * 19 + x, 2});
  record.MoveTo(CGiboRecord::kFirstNode);
  while (record.GetMove(x, y, colour, timeLeft)) moves.push_back({(x < 19 && y < 19) ? y * 19 + x : -1, colour});
  return moves;
}

CString ElapsedText(long limit, LONG left) {
  if (left < 0 || limit <= 0 || left > limit) return "0hr 0min 0sec";
  return ClockText(limit - left);
}

void Text(CDC& dc, int x, int y, const CString& text) { dc.TextOut(x, y, text); }

}  // namespace

void CGameReviewDlg::OnPrint() { PrintRecord(); }

BOOL CGameReviewDlg::PrintRecord() {
  CPrintDialog dialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS, this);
  if (dialog.DoModal() != IDOK) return FALSE;
  CDC dc;
  if (!dc.Attach(dialog.GetPrinterDC())) {
    AfxMessageBox("Abort");
    return FALSE;
  }
  BOOL ok = dc.StartDoc("Print TEST") > 0;
  m_nPrintContinuation = -1;
  for (int page = 1; ok && page <= 2; ++page) {
    if (page == 2 && m_nPrintContinuation < 0) break;
    ok = dc.StartPage() > 0;
    if (!ok) break;
    dc.SetMapMode(MM_LOMETRIC);
    dc.SetWindowExt(3000, 2100);
    dc.SetWindowOrg(0, 0);
    DrawPage(dc, page);
    ok = dc.EndPage() > 0;
  }
  if (ok) {
    dc.EndDoc();
  } else {
    AfxMessageBox("Abort");
    dc.AbortDoc();
  }
  dc.DeleteDC();
  return ok;
}

void CGameReviewDlg::DrawPage(CDC& dc, int page) {
  const std::vector<PrintedMove> moves = MovesOf(m_record);
  // For each point, the numbers of the moves played on it, in order.
  std::vector<std::vector<int>> numbers(361);
  for (size_t i = 0; i < moves.size(); ++i)
    if (moves[i].point >= 0 && numbers[moves[i].point].size() < kMaxNumbersPerPoint)
      numbers[moves[i].point].push_back(static_cast<int>(i) + 1);
  // A move played again on a point is listed under the board with the number it was placed on.
  std::vector<CString> entries;
  for (size_t i = 0; i < moves.size(); ++i) {
    const int point = moves[i].point;
    if (point < 0 || numbers[point].empty() || numbers[point].front() == static_cast<int>(i) + 1) continue;
    CString entry;
    entry.Format("%d = %d", static_cast<int>(i) + 1, numbers[point].front());
    entries.push_back(entry);
  }

  dc.SetBkMode(TRANSPARENT);
  CFont bold;
  bold.CreateFont(40, 16, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 129, 2, 1, 0, 0, "Arial");
  CFont* previousFont = dc.SelectObject(&bold);
  size_t first = 0;
  if (page == 1) {
    CFont title;
    title.CreateFont(50, 21, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 129, 2, 1, 0, 0, "Arial");
    dc.SelectObject(&title);
    Text(dc, 820, -200, Cp949("기보 감상실"));
    dc.SelectObject(&bold);
    const CString black = FieldText(kBlackName), white = FieldText(kWhiteName);
    Text(dc, 320, -350, Cp949("대국자 : 백:") + white + Cp949("     VS     흑:") + black);
    Text(dc, 320, -410, Cp949("흑사석 : ") + FieldText(kBlackCaptured));
    Text(dc, 1230, -410, Cp949("백사석 : ") + FieldText(kWhiteCaptured));
    LONG blackLeft = -1, whiteLeft = -1;
    m_record.GetTimesLeft(blackLeft, whiteLeft);
    Text(dc, 320, -470, "Black elapse time : " + ElapsedText(m_record.GetTimeLimit(), blackLeft));
    Text(dc, 1230, -470, "White elapse time : " + ElapsedText(m_record.GetTimeLimit(), whiteLeft));
    CString total;
    total.Format("%d", m_nTotalMoves);
    Text(dc, 320, -530, "Total moves : " + total);
    CString result = ShowResult(m_record.GetResult());
    if (result != "The match has not ended.") result += Cp949("입니다.");
    Text(dc, 1230, -530, "Results: " + result);

    CPen line(PS_SOLID, 3, RGB(0, 0, 0));
    CPen* previousPen = dc.SelectObject(&line);
    for (int i = 0; i < 19; ++i) {
      dc.MoveTo(kGridLeft, kGridTop - i * kGridStep);
      dc.LineTo(kGridLeft + 18 * kGridStep, kGridTop - i * kGridStep);
      dc.MoveTo(kGridLeft + i * kGridStep, kGridTop);
      dc.LineTo(kGridLeft + i * kGridStep, kGridTop - 18 * kGridStep);
    }
    CBrush blackBrush(RGB(0, 0, 0)), whiteBrush(RGB(255, 255, 255));
    CFont small, tiny;
    small.CreateFont(32, 13, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 2, 1, 0, 0, "Arial");
    tiny.CreateFont(26, 10, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 2, 1, 0, 0, "Arial");
    const UINT previousAlign = dc.SetTextAlign(TA_CENTER | TA_TOP);
    for (int point = 0; point < 361; ++point) {
      if (numbers[point].empty()) continue;
      const int number = numbers[point].front();
      const bool isBlack = (moves[number - 1].colour & 2) != 0;
      const int cx = kGridLeft + (point % 19) * kGridStep, cy = kGridTop - (point / 19) * kGridStep;
      CBrush* previousBrush = dc.SelectObject(isBlack ? &blackBrush : &whiteBrush);
      dc.Ellipse(cx - kStoneRadius, cy + kStoneRadius, cx + kStoneRadius, cy - kStoneRadius);
      dc.SelectObject(previousBrush);
      dc.SelectObject(number >= 100 ? &tiny : &small);
      dc.SetTextColor(isBlack ? RGB(255, 255, 255) : RGB(0, 0, 0));
      CString text;
      text.Format("%d", number);
      Text(dc, cx, cy + (number >= 100 ? 13 : 16), text);
    }
    dc.SetTextAlign(previousAlign);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SelectObject(previousPen);
    dc.SelectObject(&bold);
    if (entries.size() > kEntriesPerPage) m_nPrintContinuation = kEntriesPerPage;
  } else {
    first = static_cast<size_t>(std::max(0, m_nPrintContinuation));
    Text(dc, 320, -200, CString(Cp949("기보 감상실")) + " (2)");
  }
  const size_t last = page == 1 ? std::min(entries.size(), static_cast<size_t>(kEntriesPerPage)) : entries.size();
  // Page 1 lists one row under the board; the rest go down page 2 nine a row.
  const int top = page == 1 ? -2120 : -300;
  for (size_t i = first; i < last; ++i) {
    const int k = static_cast<int>(i - first);
    Text(dc, 395 + (k % kEntriesPerPage) * 150, top - (k / kEntriesPerPage) * 60, entries[i]);
  }
  dc.SelectObject(previousFont);
}

#include "orvanta/room/GameReviewDlg.h"
#include "orvanta/room/GiboFileName.h"
#include "orvanta/room/PaneHit.h"
#include "orvanta/room/StepKeys.h"

#include <cmath>
#include <cstdlib>

#include <platform/commondlg.h>
#include <platform/ddx.h>
#include <platform/files.h>
#include <platform/msgbox.h>

#include "orvanta/room/GotoMoveDlg.h"
#include "orvanta/room/ProgressDlg.h"
#include "orvanta/room/ReviewHost.h"
#include "orvanta/room/SelfPlayDlg.h"
#include "orvanta/room/StudyRecord.h"
#include "orvanta/resources/ReviewButtonImages.h"

namespace {

namespace image = review_image;
// The bottom row, left to right.
const StepDialogButton kButtons[] = {
    {CGameReviewDlg::kFirst, "처음", image::kFirst},
    {CGameReviewDlg::kPrev, "이전수", image::kPrevious},
    {CGameReviewDlg::kNext, "다음수", image::kNext},
    {CGameReviewDlg::kLast, "마지막", image::kLast},
    {CGameReviewDlg::kGoto, "N번째로", image::kGoto},
    {CGameReviewDlg::kViewMode, "보기방법", image::kAutoReplay},
    {CGameReviewDlg::kSequence, "순서보기", image::kNumbersOff},
    {CGameReviewDlg::kBreakPoint, "중단점", image::kBreakPoint},
    {CGameReviewDlg::kPrint, "인쇄", image::kPrint},
    {CGameReviewDlg::kSave, "Save Gibo", image::kSave},
    {CGameReviewDlg::kClose, "종료", image::kClose}};

struct FieldPlace {
  UINT id;
  int right;  // distance of the left edge from the client's right edge
  int y, cx, cy;
};
const FieldPlace kFields[] = {
    {CGameReviewDlg::kWhiteName, 269, 2, 135, 20},     {CGameReviewDlg::kBlackName, 124, 2, 130, 20},
    {CGameReviewDlg::kWhiteRank, 269, 24, 135, 20},    {CGameReviewDlg::kBlackRank, 124, 24, 130, 20},
    {CGameReviewDlg::kBlackCaptured, 186, 95, 30, 25}, {CGameReviewDlg::kWhiteCaptured, 65, 95, 30, 25},
    {CGameReviewDlg::kWhiteClock, 238, 138, 100, 20},  {CGameReviewDlg::kBlackClock, 118, 138, 100, 20},
    {CGameReviewDlg::kWhitePeriods, 210, 161, 30, 25}, {CGameReviewDlg::kBlackPeriods, 90, 161, 30, 25},
    {CGameReviewDlg::kCondition, 206, 207, 110, 20},   {CGameReviewDlg::kMoveNumber, 206, 233, 45, 20},
    {CGameReviewDlg::kResult, 206, 262, 180, 20}};

constexpr int kPanelWidth = 273;
constexpr int kStripHeight = 35;
constexpr COLORREF kPanelColour = RGB(81, 68, 37);
constexpr COLORREF kWoodColour = RGB(200, 160, 90);
constexpr COLORREF kPanelFace = RGB(236, 224, 190);

}  // namespace

BEGIN_MESSAGE_MAP(CGameReviewDlg, CAutoReplayDlg)
  ON_BN_CLICKED(CGameReviewDlg::kPrev, OnPrevMove)
  ON_BN_CLICKED(CGameReviewDlg::kNext, OnNextMove)
  ON_BN_CLICKED(CGameReviewDlg::kSequence, OnToggleSequence)
  ON_BN_CLICKED(CGameReviewDlg::kViewMode, OnAutoReplay)
  ON_MESSAGE(CGameReviewDlg::kStepMessage, OnUserMessage12D)
  ON_BN_CLICKED(CGameReviewDlg::kClose, OnClose1151)
  ON_BN_CLICKED(CGameReviewDlg::kBreakPoint, OnSaveRecord)
  ON_BN_CLICKED(CGameReviewDlg::kFirst, OnFirstMove)
  ON_BN_CLICKED(CGameReviewDlg::kLast, OnLastMove)
  ON_BN_CLICKED(CGameReviewDlg::kGoto, OnGotoMove)
  ON_BN_CLICKED(CGameReviewDlg::kPrint, OnPrint)
  ON_BN_CLICKED(CGameReviewDlg::kSave, OnSaveAs)
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR()
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CGameReviewDlg, CDialog)
  ON_EVENT(CGameReviewDlg, CGameReviewDlg::kBoardId, STOLVEX_EVENT_POSITION, OnBoardPosition,
           VTS_I2 VTS_I2 VTS_I2 VTS_I4)
  ON_EVENT(CGameReviewDlg, CGameReviewDlg::kBoardId, STOLVEX_EVENT_ERROR, OnBoardError, VTS_I2 VTS_I4)
  ON_EVENT(CGameReviewDlg, CGameReviewDlg::kBoardId, STOLVEX_EVENT_NUMOFEAT, OnBoardNumOfEat, VTS_I2 VTS_I2 VTS_I4)
END_EVENTSINK_MAP()

CGameReviewDlg::CGameReviewDlg(CGiboRecord record, CWnd* parent) : CAutoReplayDlg(kTemplateId, parent) {
  m_panelBrush.CreateSolidBrush(kPanelColour);
  m_faceBrush.CreateSolidBrush(kPanelFace);
  m_record = record;
}

CGameReviewDlg::~CGameReviewDlg() = default;

platform::DialogTemplate CGameReviewDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.caption = "Gibo Review";
  t.cx = 500;
  t.cy = 345;
  t.items.push_back(platform::VisibleItem(GuidToString(CLSID_StolvexControl), kBoardId, 2, 2, 300, 300, 0));
  for (const FieldPlace& field : kFields) {
    const DWORD style = (field.id == kBlackName || field.id == kWhiteName) ? SS_LEFT | SS_NOTIFY : SS_LEFT;
    t.items.push_back(platform::VisibleItem("Static", field.id, 320, 10, 40, 10, style));
  }
  platform::DialogItemTemplate results = platform::VisibleItem("Static", kResultsLabel, 320, 200, 40, 10, SS_LEFT,
                                                               "Results");
  results.style &= ~WS_VISIBLE;
  t.items.push_back(results);
  platform::DialogItemTemplate total = platform::VisibleItem("Static", kTotalLabel, 320, 210, 40, 10, SS_LEFT,
                                                             "Total Moves");
  total.style &= ~WS_VISIBLE;
  t.items.push_back(total);
  for (const StepDialogButton& button : kButtons)
    t.items.push_back(platform::VisibleItem("Button", button.id, 0, 320, 40, 14, BS_PUSHBUTTON, Cp949(button.caption)));
  return t;
}

void CGameReviewDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kBoardId, m_board);
  for (size_t i = 0; i < m_buttons.size(); ++i) DDX_Control(dx, kButtons[i].id, m_buttons[i]);
}

BOOL CGameReviewDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_nameFont.CreateFont(19, 10, 4, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Arial");
  m_nHandicap = 0;
  ShowCondition();
  LoadRecord();
  m_board.SetGameMode(1);
  LoadStepButtonImages(m_buttons, kButtons);
  LayOut();
  m_record.MoveTo(CGiboRecord::kLastNode);
  m_bAutoReplay = FALSE;
  m_nStudyTop = 0;
  m_bStudyMode = FALSE;
  if (CWnd* name = GetDlgItem(kBlackName)) name->ModifyStyle(0, SS_NOTIFY);
  if (CWnd* name = GetDlgItem(kWhiteName)) name->ModifyStyle(0, SS_NOTIFY);
  if (m_toolTip.Create(this)) {
    m_toolTip.AddTool(GetDlgItem(kBlackName), "Double Click, you can view user information.");
    m_toolTip.AddTool(GetDlgItem(kWhiteName), "Double Click, you can view user information.");
  }
  return TRUE;
}

void CGameReviewDlg::ShowCondition() {
  short seconds = 0, periods = 0;
  m_record.GetOvertime(seconds, periods);
  m_nPeriodSeconds = seconds;
  m_nByoyomiTotal = periods * seconds;
  CString text;
  text.Format("%d **", periods);
  SetDlgItemText(kBlackPeriods, text);
  SetDlgItemText(kWhitePeriods, text);

  m_nHandicap = m_record.GetHandicap();
  if (m_nHandicap < 0) m_nHandicap = 0;
  if (m_nHandicap == 0) {
    CString komi;
    m_record.GetKomi(komi);
    if (std::atof(komi.GetString()) != 0) text.Format("Even(%s)", komi.GetString());
    else text = "One Stone";
  } else {
    text.Format("%d Stones", m_nHandicap);
  }
  SetDlgItemText(kCondition, text);
  m_board.SetNumOfAdvatage((m_board.GetUserColor() & 4) ? static_cast<SHORT>(-m_nHandicap) : m_nHandicap);

  CString a, b, c, d;
  m_record.GetBlackPlayer(a, b, c, d);
  // Records of other servers name a player by one part only.
  SetDlgItemText(kBlackName, b.IsEmpty() ? a : b);
  SetDlgItemText(kBlackRank, d);
  m_strBlackKey = a;
  a = b = c = d = CString();
  m_record.GetWhitePlayer(a, b, c, d);
  SetDlgItemText(kWhiteName, b.IsEmpty() ? a : b);
  SetDlgItemText(kWhiteRank, d);
  m_strWhiteKey = a;

  const long mainTime = m_record.GetTimeLimit() - m_nByoyomiTotal;
  SetDlgItemText(kBlackClock, ClockText(mainTime));
  SetDlgItemText(kWhiteClock, ClockText(mainTime));
  SetDlgItemText(kResult, ShowResult(m_record.GetResult()));

  if (m_nHandicap > 0) {
    short x = 0, y = 0, k = 0;
    while (m_record.GetSetupStone(x, y)) m_board.SetDrawStone(y, x, 2, ++k);
    // Positions count the stones on the board: a one-stone game ("HA[1]") has none to place.
    m_nHandicap = k;
  }
  m_nMoveNodes = m_nHandicap;
}

void CGameReviewDlg::LoadRecord() {
  SetDlgItemText(kMoveNumber, "0");
  m_capturesAt.clear();
  const int total = m_record.GetTotalMoves();
  CProgressDlg progress(this, Cp949("처리중"), FALSE);
  progress.CenterWindow();
  progress.SetRange(0, 100, 1);
  progress.SetStep(1);
  progress.SetStatus("%s", Cp949("데이터를 처리하고 있습니다.\n\t 잠시 기다려 주십시오."));
  // A record without moves has nothing to advance by (and 100 / 0 is no step at all).
  const double step = total > 0 ? 100.0 / total : 0.0;
  double accumulated = 0.0;
  auto advance = [&] {
    progress.StepIt();
    progress.PumpMessages();
  };
  short x = 0, y = 0, colour = 0;
  LONG timeLeft = 0;
  int n = 0;
  while (m_record.GetMove(x, y, colour, timeLeft)) {
    ++n;
    m_board.SetDrawStone(y, x, colour, static_cast<SHORT>(m_nHandicap + n));
    if (step <= 0.0)
      continue;
    accumulated += step;
    if (step >= 1.0) {
      const int whole = static_cast<int>(accumulated);
      accumulated -= whole;
      for (int k = 0; k < whole; ++k) advance();
    } else if (accumulated >= 1.0) {
      accumulated -= 1.0;
      advance();
    }
  }
  m_nMoveNodes = static_cast<short>(n);
  m_nCurrentMove = n;
  m_nTotalMoves = m_nHandicap + n;
  CString text;
  text.Format("%d", m_nTotalMoves);
  SetDlgItemText(kMoveNumber, text);

  LONG black = -1, white = -1;
  m_record.GetTimesLeft(black, white);
  const CString result = m_record.GetResult();
  auto showTime = [&](LONG left, const char* lostOnTime, UINT periodsField, UINT clockField) {
    long mainTime = 0;
    if (left <= m_nByoyomiTotal) {
      // Without byo-yomi there are no periods to count.
      const long periods = m_nPeriodSeconds > 0 ? left / m_nPeriodSeconds : 0;
      text.Format("%ld **", result == lostOnTime ? 0L : std::max(0L, periods));
      SetDlgItemText(periodsField, text);
    } else {
      mainTime = left - m_nByoyomiTotal;
      if (result == lostOnTime) SetDlgItemText(periodsField, "0 **");
    }
    SetDlgItemText(clockField, ClockText(mainTime));
  };
  // A record without times keeps the full allowance shown by ShowCondition.
  if (black >= 0) showTime(black, "RE[W+T]", kBlackPeriods, kBlackClock);
  if (white >= 0) showTime(white, "RE[B+T]", kWhitePeriods, kWhiteClock);
}

CString CGameReviewDlg::ShowResult(const CString& result) {
  const std::string r = result.GetString();
  const bool hasB = r.find('B') != std::string::npos, hasW = r.find('W') != std::string::npos;
  CString prefix = hasB && !hasW ? "Black " : (hasW && !hasB ? "White " : "Black/White");
  if (r.empty()) return prefix;
  auto has = [&](char c) { return r.find(c, 1) != std::string::npos; };
  CString text;
  if (has('R')) text = " won without counting..";
  else if (has('T')) text = " won by timeover.";
  else if (has('V')) text = "The match is drawn.";
  else if (r.find('?') != std::string::npos || r == ";") return "The match has not ended.";
  else text = " won by " + CString(r.size() > 6 ? r.substr(5, r.size() - 6).c_str() : "");
  return prefix + text;
}

void CGameReviewDlg::LayOut() {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width(), h = client.Height();
  const int side = std::max(100, std::min(w - kPanelWidth - 6, h - kStripHeight - 6));
  m_board.MoveWindow(3, 3, side, side);
  for (const FieldPlace& field : kFields)
    if (CWnd* wnd = GetDlgItem(field.id)) wnd->MoveWindow(w - field.right, field.y, field.cx, field.cy);
  const int count = static_cast<int>(m_buttons.size());
  const int width = std::max(40, (w - 8) / count - 2);
  for (int i = 0; i < count; ++i)
    if (m_buttons[i].m_hWnd) m_buttons[i].MoveWindow(4 + i * (width + 2), h - kStripHeight + 6, width, 24);
}

// ---- Stepping --------------------------------------------------------------------------------

void CGameReviewDlg::StepBack() {
  m_board.GoPrev(0);
  m_board.SetBreakPoint(m_board.GetLogicalPos());
  m_record.PrevMove();
  UpdateStepInfo(4, TRUE);
  ShowCapturedUpTo(m_board.GetLogicalPos());
}

void CGameReviewDlg::StepForward() {
  m_board.GoNext(0);
  m_board.SetBreakPoint(m_board.GetLogicalPos());
  m_record.NextMove();
  UpdateStepInfo(8, TRUE);
  ShowCapturedUpTo(m_board.GetLogicalPos());
}

void CGameReviewDlg::ShowCapturedUpTo(int position) {
  int black = 0, white = 0;
  for (const auto& [at, taken] : m_capturesAt) {
    if (at > position) break;
    ((taken.first & 2) ? black : white) += taken.second;
  }
  for (const auto& [field, count] : {std::pair<UINT, int>{kBlackCaptured, black}, {kWhiteCaptured, white}}) {
    if (FieldNumber(field) == count) continue;
    CString text;
    text.Format("%d", count);
    SetDlgItemText(field, text);
    RepaintField(field);
  }
}

void CGameReviewDlg::UpdateStepInfo(int direction, BOOL repaint) {
  short x = 0, y = 0, colour = 0;
  LONG timeLeft = 0;
  m_record.PeekMove(x, y, colour, timeLeft);
  int number = FieldNumber(kMoveNumber) + (direction == 4 ? -1 : 1);
  if (number <= m_record.GetTotalMoves() && number >= 0) {
    CString text;
    text.Format("%d", number);
    SetDlgItemText(kMoveNumber, text);
    if (repaint) RepaintField(kMoveNumber);
  }
  const long mainTime = timeLeft <= m_nByoyomiTotal ? 0 : timeLeft - m_nByoyomiTotal;
  if (repaint) {
    SetDlgItemText((colour & 2) ? kBlackClock : kWhiteClock, ClockText(mainTime));
  } else {
    RepaintField(kBlackClock);
    RepaintField(kWhiteClock);
  }
}

void CGameReviewDlg::ShowTimeOverAtEnd() {
  if (m_board.GetLogicalPos() != m_nTotalMoves) return;
  const CString result = m_record.GetResult();
  if (result == "RE[W+T]") {
    SetDlgItemText(kBlackPeriods, "0 **");
    RepaintField(kBlackPeriods);
  } else if (result == "RE[B+T]") {
    SetDlgItemText(kWhitePeriods, "0 **");
    RepaintField(kWhitePeriods);
  }
}

void CGameReviewDlg::OnPrevMove() {
  if (m_nHandicap + 1 < m_board.GetLogicalPos()) StepBack();
  // The current move follows the board, also at the first move where no step is taken, so that a
  // study opened here starts from what is shown.
  if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
}

void CGameReviewDlg::OnNextMove() {
  const int position = m_board.GetLogicalPos();
  if (m_bStudyMode) {
    if (m_nStudyTop <= position) return;
  } else if (position >= m_nTotalMoves) {
    StopReplay();
    AfxMessageBox("It is last.");
    return;
  }
  StepForward();
  if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
  ShowTimeOverAtEnd();
}

LRESULT CGameReviewDlg::OnUserMessage12D(WPARAM, LPARAM) {
  OnNextMove();
  return 0;
}

void CGameReviewDlg::OnFirstMove() {
  StopReplay();
  const int d = m_board.GetLogicalPos() - m_nHandicap - 1;
  for (int i = 0; i < d; ++i) StepBack();
  for (int i = 0; i < -d; ++i) StepForward();
  if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
}

void CGameReviewDlg::OnLastMove() {
  const int d = m_board.GetLogicalPos() - BoardMoveCount(m_board);
  for (int i = 0; i < -d; ++i) StepForward();
  for (int i = 0; i < d; ++i) StepBack();
  if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
  ShowTimeOverAtEnd();
}

void CGameReviewDlg::GoToMove(int k) {
  const int d = m_board.GetLogicalPos() - k;
  for (int i = 0; i < -d && m_board.GetLogicalPos() < m_nTotalMoves; ++i) {
    StepForward();
    if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
  }
  for (int i = 0; i < d && m_board.GetLogicalPos() > m_nHandicap; ++i) {
    StepBack();
    if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
  }
  ShowTimeOverAtEnd();
}

void CGameReviewDlg::OnGotoMove() {
  int number = 0;
  if (ChooseMoveNumber(number)) GoToMove(number);
}

BOOL CGameReviewDlg::ChooseMoveNumber(int& number) {
  CGotoMoveDlg dialog(this);
  if (dialog.DoModal() != IDOK)
    return FALSE;
  number = dialog.m_nNumber;
  return TRUE;
}

void CGameReviewDlg::OnReplayRunning(BOOL running) {
  ShowStepButtonImage(m_buttons[5], running ? review_image::kAutoReplayRunning : review_image::kAutoReplay);
}

void CGameReviewDlg::OnToggleSequence() {
  const LONG mode = m_board.GetGameMode();
  if (mode & 0x1000) {
    m_board.SetGameMode(mode - 0x1000);
    m_buttons[6].SetWindowText("View Seq");
    ShowStepButtonImage(m_buttons[6], review_image::kNumbersOff);
  } else {
    m_board.SetGameMode(mode | 0x1000);
    m_buttons[6].SetWindowText("None Seq");
    ShowStepButtonImage(m_buttons[6], review_image::kNumbersOn);
  }
}

// ---- The replay reaching the end -------------------------------------------------------------

void CGameReviewDlg::OnBoardError(SHORT code, LONG) {
  if (code == 4 && IsReplayRunning()) {
    StopReplay();
    AfxMessageBox("End of game record.");
  }
}

// ---- Board events -----------------------------------------------------------------------------

void CGameReviewDlg::OnBoardPosition(SHORT row, SHORT col, SHORT colour, LONG) {
  if (!m_bStudyMode) {
    m_bStudyMode = TRUE;
    m_nCurrentMove = m_nStudyTop = m_board.GetLogicalPos();
  }
  ++m_nStudyTop;
  // A study stone replaces the moves after it, and what they took.
  m_capturesAt.erase(m_capturesAt.upper_bound(m_board.GetLogicalPos()), m_capturesAt.end());
  m_board.SetDrawStone(row, col, colour, static_cast<SHORT>(m_nStudyTop));
  CString text;
  text.Format("%d", m_nStudyTop);
  SetDlgItemText(kMoveNumber, text);
  RepaintField(kMoveNumber);
}

void CGameReviewDlg::OnBoardNumOfEat(SHORT colour, SHORT count, LONG) {
  // Kept by the move that took them, so that stepping back and forth can count again.
  m_capturesAt[m_board.GetLogicalPos()] = {colour, count};
  const UINT field = (colour & 2) ? kBlackCaptured : kWhiteCaptured;
  CString text;
  text.Format("%d", FieldNumber(field) + count);
  SetDlgItemText(field, text);
  RepaintField(field);
}

// ---- Study board, saving -----------------------------------------------------------------------

void CGameReviewDlg::OnSaveRecord() {
  StopReplay();
  // The study starts from the position on the board: its handicap stones are the setup, so only
  // the move nodes before it are copied.
  const short position = m_board.GetLogicalPos();
  CGiboRecord study = MakeStudyRecord(m_record, std::max(0, m_nCurrentMove - m_nHandicap));
  RunStudyBoard(study, position);
}

void CGameReviewDlg::OnSaveAs() {
    // The names come from the record: they must not lead the proposed file out of the folder.
  CFileDialog dialog(FALSE, "sgf", CGiboFileName::Safe(FieldText(kBlackName)) + "_" + CGiboFileName::Safe(FieldText(kWhiteName)),
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, Cp949("바둑 Files(*.sgf)|*.sgf||"), this);
  if (dialog.DoModal() != IDOK) return;
  SaveRecordTo(dialog.GetPathName());
}

BOOL CGameReviewDlg::SaveRecordTo(const CString& path) {
  if (SaveRecordText(path, m_record.ToFileText())) return TRUE;
  AfxMessageBox("File can not be made.");
  return FALSE;
}

void CGameReviewDlg::OnClose1151() {
  StopReplay();
  EndDialog(IDOK);
}

// ---- Painting ----------------------------------------------------------------------------------

BOOL CGameReviewDlg::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(0, 0, client.Width() - kPanelWidth, client.Height() - kStripHeight, kWoodColour);
  dc->FillSolidRect(client.Width() - kPanelWidth, 0, kPanelWidth, client.Height() - kStripHeight, kPanelFace);
  dc->FillSolidRect(0, client.Height() - kStripHeight, client.Width(), kStripHeight, RGB(60, 48, 24));
  return TRUE;
}

void CGameReviewDlg::OnPaint() {
  CPaintDC dc(this);
}

HBRUSH CGameReviewDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT) {
  const int id = wnd ? wnd->GetDlgCtrlID() : 0;
  dc->SetBkMode(TRANSPARENT);
  switch (id) {
    case kBlackCaptured:
    case kWhiteCaptured:
      dc->SetTextColor(RGB(255, 0, 0));
      break;
    case kBlackRank:
    case kWhiteRank:
      dc->SetTextColor(RGB(0, 0, 255));
      break;
    case kBlackName:
    case kWhiteName:
      dc->SetTextColor(RGB(0, 0, 255));
      dc->SelectObject(&m_nameFont);
      break;
    case kBlackClock:
    case kWhiteClock:
      dc->SetTextColor(RGB(255, 192, 0));
      dc->SetBkColor(kPanelColour);
      dc->SetBkMode(OPAQUE);
      return static_cast<HBRUSH>(m_panelBrush);
    default:
      break;
  }
  return static_cast<HBRUSH>(m_faceBrush);
}

void CGameReviewDlg::OnDestroy() {
  StopReplay();
  CDialog::OnDestroy();
  m_nameFont.DeleteObject();
}

// ---- Keyboard ------------------------------------------------------------------------------------

BOOL CGameReviewDlg::PreTranslateMessage(MSG* msg) {
  const BOOL connected = m_pHost && m_pHost->IsConnected();
  // The names' tips offer the information only a connected client can ask for.
  if (connected && m_toolTip.m_hWnd) m_toolTip.RelayEvent(msg);
  if (msg->message == WM_LBUTTONDBLCLK && connected && OnNameDoubleClick(*msg)) return TRUE;
  const auto step = [this](StepKey key) {
    switch (key) {
      case StepKey::kPrevious: OnPrevMove(); break;
      case StepKey::kNext: OnNextMove(); break;
      case StepKey::kFirst: OnFirstMove(); break;
      default: OnLastMove(); break;
    }
  };
  const StepButtonOf buttonOf = StepButtonsOf(*this, {kPrev, kNext, kFirst, kLast});
  if (RouteStepKey(*msg, step, true, buttonOf)) return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

BOOL CGameReviewDlg::OnNameDoubleClick(const MSG& msg) {
  const UINT id = PaneUnderMouse(*this, msg, {kBlackName, kWhiteName});
  if (id == 0) return FALSE;
  const CString name = FieldText(id);
  if (!name.IsEmpty()) m_pHost->RequestPlayerInfo(id == kBlackName ? m_strBlackKey : m_strWhiteKey, name);
  return TRUE;
}

// ---- Helpers -------------------------------------------------------------------------------------

void CGameReviewDlg::RepaintField(UINT id) {
  if (CWnd* wnd = GetDlgItem(id)) wnd->Invalidate();
}

int CGameReviewDlg::FieldNumber(UINT id) const { return std::atoi(FieldText(id).GetString()); }

CString CGameReviewDlg::FieldText(UINT id) const {
  CString text;
  GetDlgItemText(id, text);
  return text;
}

void CGameReviewDlg::RunStudyBoard(const CGiboRecord& study, short startPosition) {
  CSelfPlayDlg dialog(study, Cp949("참고도"), 2, FALSE, this, startPosition);
  dialog.DoModal();
}

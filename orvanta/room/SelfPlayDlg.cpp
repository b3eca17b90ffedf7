#include "orvanta/room/SelfPlayDlg.h"
#include "orvanta/room/StepKeys.h"

#include <cstdlib>

#include <platform/commondlg.h>
#include <platform/ddx.h>
#include <platform/msgbox.h>

#include "orvanta/room/GotoMoveDlg.h"
#include "orvanta/room/StudyRecord.h"
#include "orvanta/resources/ReviewButtonImages.h"

namespace {

namespace image = review_image;
// The bottom row, left to right; the close button stands apart at the right end.
const StepDialogButton kButtons[] = {
    {CSelfPlayDlg::kFirst, "처음", image::kFirst},
    {CSelfPlayDlg::kPrev, "이전", image::kPrevious},
    {CSelfPlayDlg::kNext, "다음", image::kNext},
    {CSelfPlayDlg::kLast, "새로고침", image::kRefresh},
    {CSelfPlayDlg::kGoto, "N번째", image::kGoto},
    {CSelfPlayDlg::kSequence, "수순", image::kNumbersOff},
    {CSelfPlayDlg::kSave, "저장", image::kSave},
    {CSelfPlayDlg::kAutoReplay, "자동감상", image::kAutoReplay},
    {CSelfPlayDlg::kReload, "다시받기", image::kReload},
    {CSelfPlayDlg::kClose, "종료", image::kClose}};

constexpr char kLetters[] = "abcdefghijklmnopqrs";

CString PointLetters(SHORT col, SHORT row) {
  CString text;
  if (col >= 0 && col < 19) text += kLetters[col];
  if (row >= 0 && row < 19) text += kLetters[row];
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSelfPlayDlg, CAutoReplayDlg)
  ON_BN_CLICKED(CSelfPlayDlg::kPrev, OnPrevMove)
  ON_BN_CLICKED(CSelfPlayDlg::kNext, OnNextMove)
  ON_BN_CLICKED(CSelfPlayDlg::kSequence, OnToggleSequence)
  ON_BN_CLICKED(CSelfPlayDlg::kClose, OnCommand61483)
  ON_BN_CLICKED(CSelfPlayDlg::kGoto, OnGotoMove)
  ON_BN_CLICKED(CSelfPlayDlg::kLast, OnCommand61478)
  ON_BN_CLICKED(CSelfPlayDlg::kFirst, OnFirstMove)
  ON_BN_CLICKED(CSelfPlayDlg::kSave, OnSaveAs)
  ON_BN_CLICKED(CSelfPlayDlg::kReload, OnRestart)
  ON_BN_CLICKED(CSelfPlayDlg::kAutoReplay, OnAutoReplay)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_WM_CLOSE()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CSelfPlayDlg, CDialog)
  ON_EVENT(CSelfPlayDlg, CSelfPlayDlg::kBoardId, STOLVEX_EVENT_POSITION, OnBoardPosition, VTS_I2 VTS_I2 VTS_I2 VTS_I4)
  ON_EVENT(CSelfPlayDlg, CSelfPlayDlg::kBoardId, STOLVEX_EVENT_ERROR, OnBoardError, VTS_I2 VTS_I4)
END_EVENTSINK_MAP()

CSelfPlayDlg::CSelfPlayDlg(CGiboRecord record, const CString& title, short userColour, BOOL roomMode, CWnd* parent,
                           short startPosition)
    : CAutoReplayDlg(kTemplateId, parent),
      m_nStartPosition(startPosition),
      m_bRoomMode(roomMode),
      m_nUserColour(userColour),
      m_strTitle(title) {
  m_gameRecord = record;
}

CSelfPlayDlg::~CSelfPlayDlg() = default;

platform::DialogTemplate CSelfPlayDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  t.caption = "Self Play";
  t.cx = 340;
  t.cy = 350;
  t.items.push_back(platform::VisibleItem(GuidToString(CLSID_StolvexControl), kBoardId, 0, 0, 300, 300, 0));
  for (const StepDialogButton& button : kButtons)
    t.items.push_back(platform::VisibleItem("Button", button.id, 0, 330, 30, 10, BS_PUSHBUTTON, Cp949(button.caption)));
  return t;
}

void CSelfPlayDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kBoardId, m_board);
  for (size_t i = 0; i < m_buttons.size(); ++i) DDX_Control(dx, kButtons[i].id, m_buttons[i]);
}

CStepSkinButton& CSelfPlayDlg::Button(UINT id) {
  for (size_t i = 0; i < m_buttons.size(); ++i)
    if (kButtons[i].id == id) return m_buttons[i];
  return m_buttons.back();
}

BOOL CSelfPlayDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(m_strTitle);
  LoadStepButtonImages(m_buttons, kButtons);
  if (!m_bRoomMode) {
    Button(kAutoReplay).ShowWindow(SW_HIDE);
    Button(kReload).ShowWindow(SW_HIDE);
  }
  m_nHandicap = std::max<short>(0, m_gameRecord.GetHandicap());
  if (m_nUserColour & 4) m_board.SetNumOfAdvatage(static_cast<SHORT>(-m_nHandicap));
  else if (m_nUserColour & 2) m_board.SetNumOfAdvatage(m_nHandicap);
  m_board.SetGameMode(1024);
  m_board.SetUserColor(1);
  int k = DrawRecord();
  if (m_nStartPosition != -1) {
    while (k > m_nStartPosition && k > 0) {
      m_board.GoPrev(1);
      m_gameRecord.PrevMove();
      --k;
    }
  }
  m_board.Redraw(-1, -1);
  m_board.SetGameMode(1);
  m_nTotalMoves = static_cast<short>(k);
  m_nCurrentMove = k;
  m_board.SetGameMode(0x10000);
  m_bStudyMode = FALSE;
  m_nStudyTop = 0;
  LayoutControls();
  return TRUE;
}

int CSelfPlayDlg::DrawRecord() {
  int k = 0;
  short x = 0, y = 0, colour = 0;
  LONG timeLeft = 0;
  if (m_nHandicap > 0) {
    while (m_gameRecord.GetSetupStone(x, y)) m_board.SetDrawStone(y, x, 2, static_cast<SHORT>(++k));
    // Positions count the stones on the board: a one-stone game ("HA[1]") has none to place.
    m_nHandicap = static_cast<short>(k);
  }
  while (m_gameRecord.GetMove(x, y, colour, timeLeft)) m_board.SetDrawStone(y, x, colour, static_cast<SHORT>(++k));
  return k;
}

void CSelfPlayDlg::ReloadRecord() {
  m_board.Init();
  m_gameRecord.MoveTo(CGiboRecord::kFirstNode);
  m_nHandicap = std::max<short>(0, m_gameRecord.GetHandicap());
  m_board.SetNumOfAdvatage((m_board.GetUserColor() & 4) ? static_cast<SHORT>(-m_nHandicap) : m_nHandicap);
  m_nTotalMoves = static_cast<short>(DrawRecord());
  for (int i = m_nCurrentMove; i < m_nTotalMoves; ++i) {
    m_board.GoPrev(0);
    m_gameRecord.PrevMove();
  }
  m_board.Redraw(-1, -1);
  m_board.SetGameMode(1);
}

// ---- The study line ------------------------------------------------------------------------------

void CSelfPlayDlg::OnBoardPosition(SHORT row, SHORT col, SHORT colour, LONG) {
  const int position = m_board.GetLogicalPos();
  // The study starts at the first click, and over again at a click before where it started: the
  // study record then holds the game up to the board's position and nothing of the older line.
  if (!m_bStudyMode || position < m_nCurrentMove) {
    m_bStudyMode = TRUE;
    m_nCurrentMove = m_nStudyTop = position;
    m_nStudyMoves = 0;
    Button(kNext).EnableWindow(FALSE);
    Button(kGoto).EnableWindow(FALSE);
    m_studyRecord = MakeStudyRecord(m_gameRecord, std::max(0, position - m_nHandicap));
  }
  ++m_nStudyMoves;
  m_nStudyTop = position + 1;
  m_board.SetDrawStone(row, col, colour, static_cast<SHORT>(m_nStudyTop));
  const CString point = PointLetters(col, row);
  if (colour == 2) m_studyRecord.AppendMove("B[" + point + "]", "BL[0]");
  else m_studyRecord.AppendMove("W[" + point + "]", "WL[0]");
}

void CSelfPlayDlg::OnBoardError(SHORT, LONG) {}

// ---- Stepping ------------------------------------------------------------------------------------

void CSelfPlayDlg::StepBack() {
  m_board.GoPrev(0);
  m_board.SetBreakPoint(m_board.GetLogicalPos());
}

void CSelfPlayDlg::StepForward() {
  m_board.GoNext(0);
  m_board.SetBreakPoint(m_board.GetLogicalPos());
}

void CSelfPlayDlg::OnPrevMove() {
  const int position = m_board.GetLogicalPos();
  if (m_nHandicap + 1 >= position) return;
  StepBack();
  if (!m_bStudyMode) {
    --m_nCurrentMove;
  } else if (position > m_nCurrentMove && m_nStudyMoves > 0) {
    // A study stone taken back leaves the study record too, so that what is saved is what is shown.
    --m_nStudyMoves;
    m_studyRecord.RemoveLastMove();
    m_nStudyTop = position - 1;
  }
}

void CSelfPlayDlg::OnNextMove() {
  const int position = m_board.GetLogicalPos();
  if (m_bStudyMode) {
    if (m_nStudyTop <= position) return;
  } else if (m_nCurrentMove >= m_nTotalMoves) {
    StopReplay();
    AfxMessageBox("It is last.");
    return;
  }
  StepForward();
  if (!m_bStudyMode) ++m_nCurrentMove;
}

void CSelfPlayDlg::OnFirstMove() {
  const int d = m_board.GetLogicalPos() - m_nHandicap - 1;
  for (int i = 0; i < d; ++i) OnPrevMove();
  const int forward = 1 - (m_board.GetLogicalPos() - m_nHandicap);
  for (int i = 0; i < forward; ++i) StepForward();
  if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
}

void CSelfPlayDlg::GoToMove(int k) {
  const int d = m_board.GetLogicalPos() - k;
  const int top = m_bStudyMode ? m_nStudyTop : m_nTotalMoves;
  for (int i = 0; i < -d && m_board.GetLogicalPos() < top; ++i) {
    StepForward();
    if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
  }
  for (int i = 0; i < d && m_board.GetLogicalPos() > m_nHandicap; ++i) {
    StepBack();
    if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
  }
}

void CSelfPlayDlg::OnGotoMove() {
  int number = 0;
  if (ChooseMoveNumber(number)) GoToMove(number);
}

BOOL CSelfPlayDlg::ChooseMoveNumber(int& number) {
  CGotoMoveDlg dialog(this);
  if (dialog.DoModal() != IDOK)
    return FALSE;
  number = dialog.m_nNumber;
  return TRUE;
}

void CSelfPlayDlg::OnCommand61478() {
  if (m_bStudyMode) {
    const LONG mode = m_board.GetGameMode();
    if (mode & 0x1000) {
      m_board.SetGameMode(mode - 0x1000);
      ShowStepButtonImage(Button(kSequence), review_image::kNumbersOff);
    }
    Button(kNext).EnableWindow(TRUE);
    Button(kGoto).EnableWindow(TRUE);
    m_board.SetGameMode(1);
    m_nCurrentMove = 0;
    ReloadRecord();
    m_board.SetGameMode(0x10000);
    m_bStudyMode = FALSE;
    m_nStudyMoves = 0;
  }
  const int onBoard = BoardMoveCount(m_board);
  const int d = m_board.GetLogicalPos() - onBoard;
  for (int i = 0; i < -d; ++i) StepForward();
  for (int i = 0; i < d; ++i) StepBack();
  if (!m_bStudyMode) m_nCurrentMove = m_board.GetLogicalPos();
}

void CSelfPlayDlg::OnReplayRunning(BOOL running) {
  ShowStepButtonImage(Button(kAutoReplay), running ? review_image::kAutoReplayRunning : review_image::kAutoReplay);
}

void CSelfPlayDlg::OnToggleSequence() {
  const LONG mode = m_board.GetGameMode();
  m_board.SetGameMode((mode & 0x1000) ? mode - 0x1000 : mode | 0x1000);
  ShowStepButtonImage(Button(kSequence), (mode & 0x1000) ? review_image::kNumbersOff : review_image::kNumbersOn);
}

// ---- Replay and reload (room mode) -------------------------------------------------------------

void CSelfPlayDlg::OnClose() {
  StopReplay();
  CDialog::OnClose();
}

void CSelfPlayDlg::OnRestart() {
  CGiboRecord record;
  int position = 0;
  if (!FetchRoomRecord(record, position)) return;
  m_gameRecord = record;
  m_board.SetGameMode(1);
  m_nCurrentMove = position;
  ReloadRecord();
  m_board.SetGameMode(0x10000);
  m_bStudyMode = FALSE;
  m_nStudyMoves = 0;
}

BOOL CSelfPlayDlg::FetchRoomRecord(CGiboRecord&, int&) { return FALSE; }

// ---- Saving, closing -------------------------------------------------------------------------------

void CSelfPlayDlg::OnSaveAs() {
  CFileDialog dialog(FALSE, "sgf", "No title", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, Cp949("바둑 Files(*.sgf)|*.sgf||"),
                     this);
  if (dialog.DoModal() != IDOK) return;
  SaveRecordTo(dialog.GetPathName());
}

BOOL CSelfPlayDlg::SaveRecordTo(const CString& path) {
  const CString text = m_bStudyMode ? m_studyRecord.ToFileText() : m_gameRecord.ToFileText();
  if (SaveRecordText(path, text)) return TRUE;
  AfxMessageBox("File can not be made.");
  return FALSE;
}

void CSelfPlayDlg::OnCommand61483() {
  StopReplay();
  EndDialog(IDOK);
}

// ---- Layout and painting -------------------------------------------------------------------------

void CSelfPlayDlg::LayoutControls() {
  if (!m_board.m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  const int w = client.Width(), h = client.Height();
  const int side = std::max(50, std::min(w, h - 42));
  m_board.MoveWindow((w - side) / 2, std::max(0, (h - 42 - side) / 2), side, side);
  // Every button stays left of the close button at W - 50: the gaps shrink first, then the
  // buttons, so none is covered or cut however narrow the dialog is.
  const int k = m_bRoomMode ? 9 : 7;  // the buttons left of the close button
  const int room = w - 50 - 5 - 2;
  int width = 50;
  int gap = std::min(8, (room - k * width) / (k - 1));
  if (gap < 2) {
    gap = 2;
    width = std::max(10, (room - (k - 1) * gap) / k);
  }
  int x = 5;
  for (size_t i = 0; i + 1 < m_buttons.size(); ++i) {
    if (!m_bRoomMode && (kButtons[i].id == kAutoReplay || kButtons[i].id == kReload)) continue;
    m_buttons[i].MoveWindow(x, h - 27, width, 20);
    x += width + gap;
  }
  m_buttons.back().MoveWindow(w - 50, h - 27, 45, 20);
}

void CSelfPlayDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  LayoutControls();
}

void CSelfPlayDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  info->ptMinTrackSize.x = 500;
  info->ptMinTrackSize.y = 550;
}

BOOL CSelfPlayDlg::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(0, 0, client.Width(), client.Height() - 40, RGB(200, 160, 90));
  dc->FillSolidRect(0, client.Height() - 40, client.Width(), 40, RGB(60, 48, 24));
  return TRUE;
}

void CSelfPlayDlg::OnPaint() { CPaintDC dc(this); }

// ---- Keyboard --------------------------------------------------------------------------------------

BOOL CSelfPlayDlg::PreTranslateMessage(MSG* msg) {
  const auto step = [this](StepKey key) {
    switch (key) {
      case StepKey::kPrevious: OnPrevMove(); break;
      case StepKey::kNext: OnNextMove(); break;
      case StepKey::kFirst: OnFirstMove(); break;
      default: OnCommand61478(); break;
    }
  };
  // End has no pressed look here: its press is left to the dialog's controls.
  const StepButtonOf buttonOf = StepButtonsOf(*this, {kPrev, kNext, kFirst, 0});
  if (RouteStepKey(*msg, step, false, buttonOf)) return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

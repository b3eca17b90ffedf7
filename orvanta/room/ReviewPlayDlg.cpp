#include "orvanta/room/ReviewPlayDlg.h"
#include "orvanta/room/StepKeys.h"

#include <cstdlib>

#include <platform/ddx.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/room/GotoMoveDlg.h"
#include "orvanta/room/StudyRecord.h"
#include "orvanta/resources/ReviewButtonImages.h"

namespace {

namespace image = review_image;
const StepDialogButton kButtons[] = {
    {CReviewPlayDlg::kFirst, "처음", image::kFirst},
    {CReviewPlayDlg::kPrev, "이전", image::kPrevious},
    {CReviewPlayDlg::kNext, "다음", image::kNext},
    {CReviewPlayDlg::kLast, "마지막", image::kLast},
    {CReviewPlayDlg::kGoto, "GoN", image::kGoto},
    {CReviewPlayDlg::kSequence, "수순", image::kNumbersOff},
    {CReviewPlayDlg::kBackToGame, "다시", image::kRefresh},
    {CReviewPlayDlg::kControl, "제어권", image::kControl},
    {CReviewPlayDlg::kReceiveAgain, "다시받기", image::kReload},
    {CReviewPlayDlg::kEndReview, "복기종료", image::kEndReview},
    {CReviewPlayDlg::kClose, "종료", image::kExit}};

constexpr char kLetters[] = "abcdefghijklmnopqrs";
constexpr LONG kFreePlay = 0x10000;
constexpr LONG kPlayMode = 1024;
constexpr LONG kNumbers = 0x1000;
constexpr int kStripHeight = 50;

// Index of c in the point letters; -1 (a point the board does not draw) for any other character.
int LetterIndex(char c) {
  for (int i = 0; i < 19; ++i)
    if (kLetters[i] == c) return i;
  return -1;
}

}  // namespace

BEGIN_MESSAGE_MAP(CReviewPlayDlg, CDialog)
  ON_BN_CLICKED(CReviewPlayDlg::kFirst, OnFirstMove)
  ON_BN_CLICKED(CReviewPlayDlg::kLast, OnLastMove)
  ON_BN_CLICKED(CReviewPlayDlg::kPrev, OnPrevMove)
  ON_BN_CLICKED(CReviewPlayDlg::kNext, OnNextMove)
  ON_BN_CLICKED(CReviewPlayDlg::kGoto, OnGotoMove)
  ON_BN_CLICKED(CReviewPlayDlg::kSequence, OnToggleSequence)
  ON_BN_CLICKED(CReviewPlayDlg::kClose, OnHide)
  ON_BN_CLICKED(CReviewPlayDlg::kEndReview, OnCommand1255)
  ON_BN_CLICKED(CReviewPlayDlg::kReceiveAgain, OnCommand1254)
  ON_BN_CLICKED(CReviewPlayDlg::kBackToGame, OnCommand1252)
  ON_BN_CLICKED(CReviewPlayDlg::kControl, OnCommand1251)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CReviewPlayDlg, CDialog)
  ON_EVENT(CReviewPlayDlg, CReviewPlayDlg::kBoardId, STOLVEX_EVENT_POSITION, OnBoardPosition,
           VTS_I2 VTS_I2 VTS_I2 VTS_I4)
END_EVENTSINK_MAP()

CReviewPlayDlg::CReviewPlayDlg(CGiboRecord record, const CString& title, short userColour, BOOL startAtFirst,
                               BOOL control, CReviewPlayHost& host, CWnd* parent)
    : CDialog(kTemplateId, parent),
      m_bStartAtFirst(startAtFirst),
      m_bControl(control),
      m_strTitle(title),
      m_nUserColour(userColour),
      m_host(host) {
  m_record = record;
}

CReviewPlayDlg::~CReviewPlayDlg() {
  if (m_hWnd) DestroyWindow();
}

platform::DialogTemplate CReviewPlayDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  t.caption = "Review Play";
  t.cx = 340;
  t.cy = 350;
  t.items.push_back(platform::VisibleItem(GuidToString(CLSID_StolvexControl), kBoardId, 0, 0, 300, 300, 0));
  for (const StepDialogButton& button : kButtons)
    t.items.push_back(platform::VisibleItem("Button", button.id, 0, 330, 30, 10, BS_PUSHBUTTON, Cp949(button.caption)));
  return t;
}

BOOL CReviewPlayDlg::Create(CWnd* parent) {
  m_bNumbersShown = FALSE;
  return CDialog::Create(kTemplateId, parent);
}

void CReviewPlayDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kBoardId, m_board);
  for (size_t i = 0; i < m_buttons.size(); ++i) DDX_Control(dx, kButtons[i].id, m_buttons[i]);
}

CStepSkinButton& CReviewPlayDlg::Button(UINT id) {
  for (size_t i = 0; i < m_buttons.size(); ++i)
    if (kButtons[i].id == id) return m_buttons[i];
  return m_buttons.back();
}

BOOL CReviewPlayDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(m_strTitle);
  m_bNumbersShown = FALSE;
  LoadStepButtonImages(m_buttons, kButtons);
  LayOut();
  m_nTotalMoves = static_cast<short>(DrawRecord());
  m_nCurrentPosition = m_nTotalMoves;
  if (m_bStartAtFirst) PositionAt(1);
  m_nTryCount = 0;
  return TRUE;
}

void CReviewPlayDlg::LayOut() {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width(), h = client.Height();
  const int side = std::max(50, std::min(w, h - kStripHeight));
  m_board.MoveWindow((w - side) / 2, 0, side, side);
  const int count = static_cast<int>(m_buttons.size());
  const int width = std::max(30, (w - 4) / count - 2);
  for (int i = 0; i < count; ++i) m_buttons[i].MoveWindow(2 + i * (width + 2), h - kStripHeight + 14, width, 22);
}

int CReviewPlayDlg::DrawRecord() {
  m_nHandicap = std::max<short>(0, m_record.GetHandicap());
  int k = 0;
  short x = 0, y = 0, colour = 0;
  LONG timeLeft = 0;
  if (m_nHandicap > 0) {
    while (m_record.GetSetupStone(x, y)) m_board.SetDrawStone(y, x, 2, static_cast<SHORT>(++k));
    // Positions count the stones on the board: a one-stone game ("HA[1]") has none to place.
    m_nHandicap = static_cast<short>(k);
  }
  while (m_record.GetMove(x, y, colour, timeLeft)) m_board.SetDrawStone(y, x, colour, static_cast<SHORT>(++k));
  return k;
}

// ---- Loading -------------------------------------------------------------------------------------

void CReviewPlayDlg::NumbersOff() {
  const LONG mode = m_board.GetGameMode();
  if (mode & kNumbers) m_board.SetGameMode(mode - kNumbers);
}

void CReviewPlayDlg::ReloadAll() {
  NumbersOff();
  m_board.Init();
  m_record.MoveTo(CGiboRecord::kFirstNode);
  const short handicap = std::max<short>(0, m_record.GetHandicap());
  // The room board's user colour gives the advantage its sign.
  m_board.SetNumOfAdvatage((m_nUserColour & 4) ? static_cast<SHORT>(-handicap) : handicap);
  m_nTotalMoves = static_cast<short>(DrawRecord());
  m_board.Redraw(-2, -2);
  m_board.SetGameMode(m_bControl ? kFreePlay : kPlayMode);
}

void CReviewPlayDlg::ReloadToCurrent() {
  ReloadAll();
  for (int i = m_nTotalMoves; i > m_nCurrentPosition && i > 0; --i) {
    m_board.GoPrev(1);
    m_board.SetBreakPoint(m_board.GetLogicalPos());
    m_record.PrevMove();
  }
  m_board.SetGameMode(m_bControl ? kFreePlay : kPlayMode);
  if (m_bNumbersShown) m_board.SetGameMode(m_board.GetGameMode() | kNumbers);
}

void CReviewPlayDlg::ResetTo(int moves) {
  m_nCurrentPosition = 0;
  m_nTryCount = 0;
  ReloadAll();
  m_nCurrentPosition = m_nHandicap + moves;
}

void CReviewPlayDlg::PositionAt(int flag) {
  const int steps = flag == 1 ? m_nTotalMoves - m_nHandicap - 1 : m_nTotalMoves - m_nCurrentPosition;
  for (int i = 0; i < steps; ++i) {
    m_board.GoPrev(0);
    m_record.PrevMove();
    if (flag == 1) --m_nCurrentPosition;
  }
  m_board.Redraw(-1, -1);
}

void CReviewPlayDlg::SetBoardMode(LONG mode) { m_board.SetGameMode(mode); }

void CReviewPlayDlg::SetTryCount(int count) { m_nTryCount = count; }

void CReviewPlayDlg::LoadTryMoves(const CString& text) {
  CFieldTokenizer fields(text + ";", ';');
  const int count = std::min(m_nTryCount, fields.GetCount());
  for (int i = 0; i < count; ++i) {
    const std::string field = fields.GetField(i).GetString();
    const SHORT colour = field.find('B') != std::string::npos ? 2 : 4;
    const size_t open = field.find('[');
    if (open == std::string::npos || open + 2 >= field.size()) continue;
    const int x = LetterIndex(field[open + 1]), y = LetterIndex(field[open + 2]);
    m_board.SetDrawStone(static_cast<SHORT>(y), static_cast<SHORT>(x), colour, -1);
  }
  m_bTryMode = TRUE;
}

// ---- The server's steps ---------------------------------------------------------------------------

void CReviewPlayDlg::StepForward() {
  if (m_bTryMode) return;
  m_board.GoNext(0);
  m_board.SetBreakPoint(m_board.GetLogicalPos());
  ++m_nCurrentPosition;
}

void CReviewPlayDlg::StepBack() {
  if (!m_bTryMode) {
    m_board.GoPrev(0);
    m_board.SetBreakPoint(m_board.GetLogicalPos());
    --m_nCurrentPosition;
    return;
  }
  if (m_nTryCount > 1) {
    --m_nTryCount;
    m_board.RemoveStone(-1);
    return;
  }
  m_bTryMode = FALSE;
  ReloadToCurrent();
  m_nTryCount = 0;
  m_board.SetBreakPoint(m_board.GetLogicalPos());
  if (m_bControl) SetButtonState(4);
}

void CReviewPlayDlg::EndTryLine(const CString&) {
  if (!m_bTryMode) return;
  m_board.SetGameMode(1);
  ReloadToCurrent();
  m_nTryCount = 0;
  if (m_bControl) {
    m_board.SetGameMode(kFreePlay);
    SetButtonState(4);
  } else {
    m_board.SetGameMode(1);
  }
  m_bTryMode = FALSE;
}

void CReviewPlayDlg::PlaceTryMove(const CString& payload) {
  if (!m_bTryMode) {
    m_bTryMode = TRUE;
    m_nCurrentPosition = m_board.GetLogicalPos();
    if (!m_bControl) m_board.SetGameMode(kPlayMode);
    m_nTryCount = 0;
  }
  CFieldTokenizer fields(payload, '|');
  const std::string node = fields.GetCount() > 3 ? fields.GetField(3).GetString() : std::string();
  if (node.size() < 4 || node[1] != '[') return;
  const int x = LetterIndex(node[2]), y = LetterIndex(node[3]);
  ++m_nTryCount;
  m_board.SetDrawStone(static_cast<SHORT>(y), static_cast<SHORT>(x), node[0] == 'B' ? 2 : 4,
                       static_cast<SHORT>(m_nCurrentPosition + m_nTryCount));
}

void CReviewPlayDlg::OnReplayCode533(const CString& payload) {
  CFieldTokenizer fields(payload, '|');
  (void)std::atoi(fields.GetField(2).GetString());
}

void CReviewPlayDlg::OnServerReplay(const CString& payload) {
  CFieldTokenizer fields(payload, '|');
  const int n = fields.GetCount() > 2 ? std::atoi(fields.GetField(2).GetString()) : 0;
  m_nCurrentPosition = m_board.GetLogicalPos();
  const int d = m_nCurrentPosition - (n + m_nHandicap);
  for (int i = 0; i < d; ++i) {
    m_board.GoPrev(0);
    m_board.SetBreakPoint(m_board.GetLogicalPos());
    --m_nCurrentPosition;
  }
  for (int i = 0; i < -d && m_nCurrentPosition < m_nTotalMoves; ++i) {
    m_board.GoNext(0);
    m_board.SetBreakPoint(m_board.GetLogicalPos());
    ++m_nCurrentPosition;
  }
}

void CReviewPlayDlg::SetControl(BOOL control) {
  m_bControl = control;
  if (!control) {
    SetButtonState(2);
    m_board.SetGameMode(kPlayMode);
  } else {
    SetButtonState(1);
    m_board.SetGameMode(kFreePlay);
  }
}

void CReviewPlayDlg::SetButtonState(int state) {
  const UINT steps[] = {kFirst, kPrev, kGoto, kNext, kLast};
  auto enable = [&](std::initializer_list<UINT> ids, BOOL on) {
    for (UINT id : ids) Button(id).EnableWindow(on);
  };
  switch (state) {
    case 1:
      for (UINT id : steps) Button(id).EnableWindow(TRUE);
      enable({kBackToGame, kControl, kEndReview}, TRUE);
      break;
    case 2:
      for (UINT id : steps) Button(id).EnableWindow(FALSE);
      enable({kBackToGame, kControl, kEndReview}, FALSE);
      break;
    case 3:
      enable({kGoto, kNext, kLast}, FALSE);
      break;
    case 4:
      enable({kGoto, kNext, kLast}, TRUE);
      break;
    default:
      for (UINT id : steps) Button(id).EnableWindow(FALSE);
      enable({kControl, kEndReview}, FALSE);
      break;
  }
}

// ---- The holder's requests ----------------------------------------------------------------------

void CReviewPlayDlg::Request(short minor) {
  m_host.SendGameRequest(minor, CString());
  m_host.FlushRequests();
}

void CReviewPlayDlg::OnBoardPosition(SHORT row, SHORT col, SHORT, LONG) {
  if (!m_bControl) return;
  if (!m_bTryMode) {
    m_bTryMode = TRUE;
    m_nCurrentPosition = m_board.GetLogicalPos();
    SetButtonState(3);
  }
  if (row < 0 || row >= 19 || col < 0 || col >= 19) return;
  CString move = m_board.GetLastColor() == 2 ? "W[" : "B[";
  move += kLetters[col];
  move += kLetters[row];
  move += "]";
  m_host.SendRoomCode32(move);
  m_host.FlushRequests();
}

void CReviewPlayDlg::OnFirstMove() {
  if (!m_bControl) return;
  m_host.SendRoomCode36("0");
  m_host.FlushRequests();
}

void CReviewPlayDlg::OnLastMove() {
  if (!m_bControl) return;
  CString text;
  text.Format("%d", BoardMoveCount(m_board) - m_nHandicap);
  m_host.SendRoomCode36(text);
  m_host.FlushRequests();
}

void CReviewPlayDlg::OnPrevMove() {
  if (!m_bControl) return;
  if (m_bTryMode ? m_nCurrentPosition + m_nTryCount <= m_nHandicap + 1 : m_nCurrentPosition <= m_nHandicap + 1)
    return;
  Request(30);
}

void CReviewPlayDlg::OnNextMove() {
  if (m_bControl) Request(29);
}

void CReviewPlayDlg::OnGotoMove() {
  int number = 0;
  if (m_bControl && ChooseMoveNumber(number)) RequestMove(number);
}

BOOL CReviewPlayDlg::ChooseMoveNumber(int& number) {
  CGotoMoveDlg dialog(this);
  if (dialog.DoModal() != IDOK)
    return FALSE;
  number = dialog.m_nNumber;
  return TRUE;
}

void CReviewPlayDlg::RequestMove(int k) {
  if (!m_bControl) return;
  if (m_nHandicap > 0) k -= m_nHandicap;
  CString text;
  text.Format("%d", k);
  m_host.SendRoomCode36(text);
  m_host.FlushRequests();
}

void CReviewPlayDlg::OnToggleSequence() {
  const LONG mode = m_board.GetGameMode();
  if (!(mode & kNumbers)) {
    m_board.SetGameMode(mode | kNumbers);
    m_bNumbersShown = TRUE;
  } else {
    m_board.SetGameMode(mode - kNumbers);
    m_bNumbersShown = FALSE;
  }
}

void CReviewPlayDlg::OnHide() {
  m_bNumbersShown = FALSE;
  ShowWindow(SW_HIDE);
  m_host.StopReplay();
}

void CReviewPlayDlg::OnCommand1255() {
  if (!m_bControl) return;
  m_bTryMode = FALSE;
  ShowWindow(SW_HIDE);
  Request(39);
}

void CReviewPlayDlg::OnCommand1254() { Request(40); }

void CReviewPlayDlg::OnCommand1252() {
  if (m_bControl && m_bTryMode) Request(31);
}

void CReviewPlayDlg::OnCommand1251() {
  if (!m_bControl) return;
  CString third, first;
  if (m_host.ChooseReviewLeader(third, first)) HandOverControl(third, first);
}

void CReviewPlayDlg::HandOverControl(const CString& third, const CString& first) {
  if (!m_bControl || third.IsEmpty() || first.IsEmpty()) return;
  m_host.SendGameRequest(37, "|" + third + "|" + first + "|");
  m_host.FlushRequests();
}

// ---- Keys and painting ----------------------------------------------------------------------------

BOOL CReviewPlayDlg::PreTranslateMessage(MSG* msg) {
  // Only who holds the control steps the review by keys.
  if (!m_bControl) return CDialog::PreTranslateMessage(msg);
  const auto step = [this](StepKey key) {
    switch (key) {
      case StepKey::kPrevious: OnPrevMove(); break;
      case StepKey::kNext: OnNextMove(); break;
      case StepKey::kFirst: OnFirstMove(); break;
      default: OnLastMove(); break;
    }
  };
  const StepButtonOf buttonOf = StepButtonsOf(*this, {kPrev, kNext, kFirst, 0});
  if (RouteStepKey(*msg, step, true, buttonOf)) return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

BOOL CReviewPlayDlg::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(0, 0, client.Width(), client.Height() - kStripHeight, RGB(200, 160, 90));
  dc->FillSolidRect(0, client.Height() - kStripHeight, client.Width(), kStripHeight, RGB(60, 48, 24));
  return TRUE;
}

void CReviewPlayDlg::OnPaint() { CPaintDC dc(this); }

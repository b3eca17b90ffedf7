#include "client/model/UserMoveDlg.h"

#include "client/relay/ClientConfig.h"
#include "client/widgets/TextUtilities.h"
#include "client/model/BoardCoordinates.h"

namespace {

constexpr COLORREF kBackground = RGB(132, 132, 132);

}  // namespace

BEGIN_MESSAGE_MAP(CUserMoveDlg, CBoardDialog)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_GETMINMAXINFO()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CUserMoveDlg::CUserMoveDlg() : CBoardDialog(kTemplateId, nullptr, kNumbers, kClose) {}

CUserMoveDlg::~CUserMoveDlg() { m_heldMoves.DeleteAll(); }

void CUserMoveDlg::SetButtonMask(int bits) {
  m_buttonMask = bits;
  if (m_hWnd) ApplyButtonMask();
}

void CUserMoveDlg::ApplyButtonMask() {
  if (CWnd* numbers = GetDlgItem(kNumbers)) numbers->ShowWindow(m_buttonMask & 1 ? SW_HIDE : SW_SHOW);
  if (CWnd* spare = GetDlgItem(kSpare)) spare->ShowWindow(m_buttonMask & 2 ? SW_HIDE : SW_SHOW);
}

BOOL CUserMoveDlg::OnInitDialog() {
  CBoardDialog::OnInitDialog();
  m_board.Create(CRect(0, 0, 0, 0), this);
  if (m_startMove == 0) m_startMove = static_cast<int>(m_heldMoves.GetSize()) + 1;
  m_board.SetBaseMove(m_startMove);
  ReplayHeldMoves();
  m_board.SetEditMode(m_boardMode);
  m_board.SetSound(GetClientConfig().IsSoundOn() ? TRUE : FALSE);

  CString caption;
  LoadUiText("UserMove", caption);
  SetWindowText(caption);
  LoadButtonBitmaps();
  ApplyButtonMask();
  Layout();
  CRect window;
  GetWindowRect(&window);
  m_minimumSize = CSize(window.Width(), window.Height());
  ShowWindow(SW_SHOW);
  m_initialised = TRUE;
  return TRUE;
}

void CUserMoveDlg::ReplayHeldMoves() {
  for (INT_PTR i = 0; i < m_heldMoves.GetSize(); ++i) {
    const CStoneNode* node = m_heldMoves.GetNode(i);
    if (node == nullptr || node->IsMark()) continue;
    m_board.PlaceStone(node->GetX(), node->GetY(), static_cast<int>(node->GetState() & 3), 0, TRUE);
  }
  m_heldMoves.DeleteAll();
}

void CUserMoveDlg::Layout() {
  CWnd* first = GetDlgItem(kFirst);
  if (first == nullptr || !m_board.GetSafeHwnd()) return;
  CRect client;
  GetClientRect(&client);
  CRect button;
  first->GetWindowRect(&button);
  const int bw = button.Width();
  const int bh = button.Height();
  CSize board = CBadukCtrl::CalcBoardSize(0, client.Height() - 20 - bh);
  // Sized by the height alone, the board of a tall window would stick out on both sides.
  if (board.cx > client.Width() - 10) board = CBadukCtrl::CalcBoardSize(client.Width() - 10, 0);
  const int left = (client.Width() - board.cx - 10) / 2;
  const int top = (client.Height() - board.cy - 10 - bh - 10) / 2;
  m_board.MoveWindow(left, top, board.cx, board.cy);

  const int row = top + board.cy + 20;
  int x = left;
  for (UINT id : {kFirst, kPrevious, kMoveEdit, kNext, kLast, kNumbers, kSpare}) {
    if (CWnd* control = GetDlgItem(static_cast<int>(id))) control->MoveWindow(x, row, bw, bh);
    x += bw + 5;
  }
  if (CWnd* close = GetDlgItem(kClose)) close->MoveWindow(left + board.cx - bw, row, bw, bh);
  Invalidate();
}

void CUserMoveDlg::OnSize(UINT type, int cx, int cy) {
  CBoardDialog::OnSize(type, cx, cy);
  if (m_initialised) Layout();
}

BOOL CUserMoveDlg::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, kBackground);
  return TRUE;
}

void CUserMoveDlg::OnPaint() {
  CPaintDC dc(this);
  if (m_showCoordinates) DrawBoardCoordinates(&dc, this, &m_board, RGB(255, 255, 255));
}

void CUserMoveDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  if (m_minimumSize.cx > 0 && m_minimumSize.cy > 0) info->ptMinTrackSize = CPoint(m_minimumSize.cx, m_minimumSize.cy);
}

HBRUSH CUserMoveDlg::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  (void)wnd;
  if (ctlColor == CTLCOLOR_BTN) {
    dc->SetBkMode(TRANSPARENT);
    return reinterpret_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
  }
  return CBoardDialog::OnCtlColor(dc, wnd, ctlColor);
}

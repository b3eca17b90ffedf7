#include "client/model/UserMoveDlg.h"

#include "client/app/ClientConfig.h"
#include "client/app/TextUtilities.h"
#include "client/model/BoardCoordinates.h"
#include "client/model/ViewMessages.h"
#include "platform/ddx.h"

namespace {

// Buttons in the order of the dialog's button members, with their bitmaps.
struct ButtonBitmap {
  UINT id;
  UINT bitmap;
};
constexpr ButtonBitmap kButtons[] = {
    {CUserMoveDlg::kPrevious, 323}, {CUserMoveDlg::kNext, 322},    {CUserMoveDlg::kLast, 321},
    {CUserMoveDlg::kFirst, 320},    {CUserMoveDlg::kNumbers, 319}, {CUserMoveDlg::kClose, 324},
};

constexpr COLORREF kBackground = RGB(132, 132, 132);

}  // namespace

BEGIN_MESSAGE_MAP(CUserMoveDlg, CDialog)
  ON_BN_CLICKED(CUserMoveDlg::kFirst, OnFirst)
  ON_BN_CLICKED(CUserMoveDlg::kPrevious, OnPrevious)
  ON_BN_CLICKED(CUserMoveDlg::kNext, OnNext)
  ON_BN_CLICKED(CUserMoveDlg::kLast, OnLast)
  ON_BN_CLICKED(CUserMoveDlg::kNumbers, OnNumbers)
  ON_BN_CLICKED(CUserMoveDlg::kClose, OnCloseButton)
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_WM_GETMINMAXINFO()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CUserMoveDlg::CUserMoveDlg() : CDialog(kTemplateId, nullptr) {}

CUserMoveDlg::~CUserMoveDlg() { m_heldMoves.DeleteAll(); }

void CUserMoveDlg::SetButtonMask(int bits) {
  m_buttonMask = bits;
  if (m_hWnd) ApplyButtonMask();
}

void CUserMoveDlg::ApplyButtonMask() {
  if (CWnd* numbers = GetDlgItem(kNumbers)) numbers->ShowWindow(m_buttonMask & 1 ? SW_HIDE : SW_SHOW);
  if (CWnd* spare = GetDlgItem(kSpare)) spare->ShowWindow(m_buttonMask & 2 ? SW_HIDE : SW_SHOW);
}

BOOL CUserMoveDlg::CreateModeless(CWnd* ownerView) {
  m_ownerView = ownerView;
  const BOOL created = CDialog::Create(kTemplateId, ownerView);
  if (created && ownerView) {
    CRect view;
    CRect mine;
    ownerView->GetWindowRect(&view);
    GetWindowRect(&mine);
    SetWindowPos(nullptr, view.right - mine.Width(), view.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  if (created) ShowWindow(SW_SHOW);
  return created;
}

void CUserMoveDlg::Close() { DestroyWindow(); }

void CUserMoveDlg::PostNcDestroy() { delete this; }

void CUserMoveDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Text(dx, kMoveEdit, m_typedMove);
}

BOOL CUserMoveDlg::OnInitDialog() {
  CDialog::OnInitDialog();
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

void CUserMoveDlg::LoadButtonBitmaps() {
  for (int i = 0; i < 6; ++i) {
    CWnd* control = GetDlgItem(static_cast<int>(kButtons[i].id));
    if (control == nullptr) continue;
    if (!m_buttons[i].GetSafeHwnd()) m_buttons[i].SubclassWindow(control->GetSafeHwnd());
    m_buttonBitmaps[i].DeleteObject();
    if (m_buttonBitmaps[i].LoadBitmap(kButtons[i].bitmap)) m_buttons[i].SetBitmap(m_buttonBitmaps[i]);
  }
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
  CDialog::OnSize(type, cx, cy);
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
  return CDialog::OnCtlColor(dc, wnd, ctlColor);
}

void CUserMoveDlg::OnFirst() { m_board.GoToFirst(); }
void CUserMoveDlg::OnPrevious() { m_board.GoToPrevious(); }
void CUserMoveDlg::OnNext() { m_board.GoToNext(); }
void CUserMoveDlg::OnLast() { m_board.GoToLast(); }
void CUserMoveDlg::OnNumbers() { m_board.SetSequenceMode(!m_board.GetSequenceMode()); }

void CUserMoveDlg::OnCloseButton() {
  if (m_ownerView) m_ownerView->PostMessage(WM_DIALOG_CLOSED, kTemplateId, 0);
}

void CUserMoveDlg::OnOK() {}

void CUserMoveDlg::OnCancel() { OnCloseButton(); }

BOOL CUserMoveDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    CWnd* edit = GetDlgItem(kMoveEdit);
    if (edit && ::GetFocus() == edit->GetSafeHwnd()) {
      JumpToTypedMove();
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(msg);
}

void CUserMoveDlg::JumpToTypedMove() {
  UpdateData(TRUE);
  if (m_typedMove < 0) m_typedMove = 0;
  const int reached = m_board.GoToMove(m_typedMove + m_startMove - 1);
  m_typedMove = reached - m_startMove + 1;
  UpdateData(FALSE);
}

// Mouse input of the board control: clicks, the play cursor and the context menu.

#include "control/StolvexCtrl.h"

#include "control/StolvexModule.h"
#include "platform/menus.h"
#include "platform/resources.h"

void CStolvexCtrl::OnLButtonDown(UINT flags, CPoint point) {
  COleControl::OnLButtonDown(flags, point);
  // A container may release the control from inside the event it fires.
  CComPtr<IDispatch> keep(static_cast<IDispatch*>(this));
  m_board.OnClick(m_geometry.HitTest(point));
}

bool CStolvexCtrl::CanTakeClick(int region) const {
  if (region < 0)
    return false;
  const int index = m_board.GetRotate() == 1 ? RotateIndex(region) : region;
  const int cell = m_board.GetCell(index);
  const LONG mode = m_board.GetGameMode();
  if (mode & CHECK_STONE) {
    if (mode & MODE_TERRITORY)
      return cell != BLACK && cell != WHITE;
    return (cell & (BLACK | WHITE)) && !(cell & m_board.GetUserColor());
  }
  return cell == NONE || cell == REDRAW || cell == INVALID;
}

void CStolvexCtrl::ShowCursor(UINT id) {
  if (m_cursorId == id)
    return;
  platform::ResourceScope scope(StolvexResources().Handle());
  ::SetCursor(AfxLoadCursor(id));
  m_cursorId = id;
}

void CStolvexCtrl::OnMouseMove(UINT flags, CPoint point) {
  COleControl::OnMouseMove(flags, point);
  m_mouse = point;
  const LONG mode = m_board.GetGameMode();
  const bool input = ((!(m_board.GetUserColor() & NONE) && m_board.GetEnable() == 1) ||
                      (mode & (RANDOM | MODE_SELF_PLAY))) &&
                     !(mode & RESULT);
  ShowCursor(input && CanTakeClick(m_geometry.HitTest(point)) ? IDC_PLAY_CURSOR : IDC_ARROW_CURSOR);
}

BOOL CStolvexCtrl::OnSetCursor(CWnd*, UINT, UINT) {
  if (m_board.GetEnable() == 1) {
    m_cursorId = 0;
    ShowCursor(IDC_ARROW_CURSOR);
  }
  return TRUE;
}

void CStolvexCtrl::OnContextMenu(CWnd*, CPoint point) {
  platform::ResourceScope scope(StolvexResources().Handle());
  CMenu menu;
  if (!menu.LoadMenu(IDR_BOARD_MENU))
    return;
  CMenu* popup = menu.GetSubMenu(0);
  if (!popup)
    return;
  popup->CheckMenuItem(ID_SHOW_COORDINATES, MF_BYCOMMAND | (m_labels ? MF_CHECKED : MF_UNCHECKED));
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CStolvexCtrl::OnRotateBoard() {
  m_board.SetRotate(m_board.GetRotate() == 1 ? 0 : 1);
  InvalidateControl();
}

void CStolvexCtrl::OnShowCoordinates() {
  m_labels = !m_labels;
  CalcBoardGeometry();
  InvalidateControl();
}

void CStolvexCtrl::OnUpdateShowCoordinates(CCmdUI* cmdUI) { cmdUI->SetCheck(m_labels ? 1 : 0); }

void CStolvexCtrl::OnSize(UINT type, int cx, int cy) {
  COleControl::OnSize(type, cx, cy);
  CalcBoardGeometry();
  const RECT& first = m_geometry.Region(0);
  MakeNumberFont(first.right - first.left);
}

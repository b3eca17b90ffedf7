#include "platform/controls.h"

namespace {
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return ::SendMessage(hwnd, message, wParam, lParam);
}
WPARAM Cmd(int command) { return static_cast<WPARAM>(command); }
LPARAM Flag(BOOL on) { return MAKELPARAM(on ? 1 : 0, 0); }
}  // namespace

BOOL CToolBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  if (!CWnd::Create("ToolbarWindow32", "", style, rect, parent, id)) return FALSE;
  Send(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  return TRUE;
}

void CToolBarCtrl::SetBitmapSize(CSize size) {
  Send(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)));
}
void CToolBarCtrl::SetButtonSize(CSize size) {
  Send(m_hWnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)));
}

int CToolBarCtrl::AddBitmap(int count, CBitmap* bitmap) {
  TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr)};
  return static_cast<int>(Send(m_hWnd, TB_ADDBITMAP, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&add)));
}

HIMAGELIST CToolBarCtrl::SetImageList(CImageList* images) {
  return reinterpret_cast<HIMAGELIST>(
      Send(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->GetSafeHandle() : nullptr)));
}
HIMAGELIST CToolBarCtrl::SetHotImageList(CImageList* images) {
  return reinterpret_cast<HIMAGELIST>(
      Send(m_hWnd, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->GetSafeHandle() : nullptr)));
}
BOOL CToolBarCtrl::SetButtonWidth(int minWidth, int maxWidth) {
  return static_cast<BOOL>(
      Send(m_hWnd, TB_SETBUTTONWIDTH, 0, MAKELPARAM(static_cast<WORD>(minWidth), static_cast<WORD>(maxWidth))));
}

BOOL CToolBarCtrl::AddButtons(int count, const TBBUTTON* buttons) {
  return static_cast<BOOL>(Send(m_hWnd, TB_ADDBUTTONS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(buttons)));
}
BOOL CToolBarCtrl::DeleteButton(int index) { return static_cast<BOOL>(Send(m_hWnd, TB_DELETEBUTTON, Cmd(index))); }
int CToolBarCtrl::GetButtonCount() const { return static_cast<int>(Send(m_hWnd, TB_BUTTONCOUNT)); }
BOOL CToolBarCtrl::GetButton(int index, TBBUTTON* button) const {
  return static_cast<BOOL>(Send(m_hWnd, TB_GETBUTTON, Cmd(index), reinterpret_cast<LPARAM>(button)));
}
int CToolBarCtrl::CommandToIndex(UINT command) const { return static_cast<int>(Send(m_hWnd, TB_COMMANDTOINDEX, command)); }
BOOL CToolBarCtrl::GetItemRect(int index, LPRECT rect) const {
  return static_cast<BOOL>(Send(m_hWnd, TB_GETITEMRECT, Cmd(index), reinterpret_cast<LPARAM>(rect)));
}
BOOL CToolBarCtrl::EnableButton(int command, BOOL enable) { return static_cast<BOOL>(Send(m_hWnd, TB_ENABLEBUTTON, Cmd(command), Flag(enable))); }
BOOL CToolBarCtrl::CheckButton(int command, BOOL check) { return static_cast<BOOL>(Send(m_hWnd, TB_CHECKBUTTON, Cmd(command), Flag(check))); }
BOOL CToolBarCtrl::PressButton(int command, BOOL press) { return static_cast<BOOL>(Send(m_hWnd, TB_PRESSBUTTON, Cmd(command), Flag(press))); }
BOOL CToolBarCtrl::HideButton(int command, BOOL hide) { return static_cast<BOOL>(Send(m_hWnd, TB_HIDEBUTTON, Cmd(command), Flag(hide))); }
BOOL CToolBarCtrl::IsButtonEnabled(int command) const { return static_cast<BOOL>(Send(m_hWnd, TB_ISBUTTONENABLED, Cmd(command))); }
BOOL CToolBarCtrl::IsButtonChecked(int command) const { return static_cast<BOOL>(Send(m_hWnd, TB_ISBUTTONCHECKED, Cmd(command))); }
int CToolBarCtrl::GetState(int command) const { return static_cast<int>(Send(m_hWnd, TB_GETSTATE, Cmd(command))); }
BOOL CToolBarCtrl::SetState(int command, UINT state) {
  return static_cast<BOOL>(Send(m_hWnd, TB_SETSTATE, Cmd(command), MAKELPARAM(static_cast<WORD>(state), 0)));
}
BOOL CToolBarCtrl::ChangeBitmap(int command, int image) {
  return static_cast<BOOL>(Send(m_hWnd, TB_CHANGEBITMAP, Cmd(command), MAKELPARAM(static_cast<WORD>(image), 0)));
}
int CToolBarCtrl::GetBitmap(int command) const { return static_cast<int>(Send(m_hWnd, TB_GETBITMAP, Cmd(command))); }

#include "platform/controls.h"

namespace {
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return ::SendMessage(hwnd, message, wParam, lParam);
}
}  // namespace

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("msctls_updown32", "", style, rect, parent, id);
}
void CSpinButtonCtrl::SetRange(short lower, short upper) {
  Send(m_hWnd, UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(upper), static_cast<WORD>(lower)));
}
void CSpinButtonCtrl::SetRange32(int lower, int upper) { Send(m_hWnd, UDM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
  Send(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}
int CSpinButtonCtrl::SetPos(int pos) { return static_cast<int>(Send(m_hWnd, UDM_SETPOS32, 0, pos)); }
int CSpinButtonCtrl::GetPos() const { return static_cast<int>(Send(m_hWnd, UDM_GETPOS32)); }
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
  return CWnd::FromHandle(reinterpret_cast<HWND>(Send(m_hWnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(platform::SafeHwnd(buddy)))));
}
CWnd* CSpinButtonCtrl::GetBuddy() const { return CWnd::FromHandle(reinterpret_cast<HWND>(Send(m_hWnd, UDM_GETBUDDY))); }

BOOL CIPAddressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("SysIPAddress32", "", style, rect, parent, id);
}
void CIPAddressCtrl::SetAddress(DWORD address) { Send(m_hWnd, IPM_SETADDRESS, 0, static_cast<LPARAM>(address)); }
void CIPAddressCtrl::SetAddress(BYTE b1, BYTE b2, BYTE b3, BYTE b4) { SetAddress(static_cast<DWORD>(MAKEIPADDRESS(b1, b2, b3, b4))); }
int CIPAddressCtrl::GetAddress(DWORD& address) const {
  return static_cast<int>(Send(m_hWnd, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)));
}
int CIPAddressCtrl::GetAddress(BYTE& b1, BYTE& b2, BYTE& b3, BYTE& b4) const {
  DWORD address = 0;
  int filled = GetAddress(address);
  b1 = static_cast<BYTE>(address >> 24);
  b2 = static_cast<BYTE>(address >> 16);
  b3 = static_cast<BYTE>(address >> 8);
  b4 = static_cast<BYTE>(address);
  return filled;
}
void CIPAddressCtrl::ClearAddress() { Send(m_hWnd, IPM_CLEARADDRESS); }
BOOL CIPAddressCtrl::IsBlank() const { return static_cast<BOOL>(Send(m_hWnd, IPM_ISBLANK)); }

#include "platform/controls.h"

BEGIN_MESSAGE_MAP(CButton, CWnd)
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

BOOL CButton::Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("Button", caption, style, rect, parent, id);
}

int CButton::GetCheck() const { return static_cast<int>(::SendMessage(m_hWnd, BM_GETCHECK, 0, 0)); }
void CButton::SetCheck(int check) { ::SendMessage(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }
UINT CButton::GetState() const { return static_cast<UINT>(::SendMessage(m_hWnd, BM_GETSTATE, 0, 0)); }
void CButton::SetState(BOOL pushed) { ::SendMessage(m_hWnd, BM_SETSTATE, static_cast<WPARAM>(pushed), 0); }
UINT CButton::GetButtonStyle() const { return static_cast<UINT>(::GetWindowLong(m_hWnd, GWL_STYLE)) & 0xFF; }

void CButton::SetButtonStyle(UINT style, BOOL redraw) {
  ::SendMessage(m_hWnd, BM_SETSTYLE, style, redraw);
}

HBITMAP CButton::SetBitmap(HBITMAP bitmap) {
  return reinterpret_cast<HBITMAP>(::SendMessage(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

HBITMAP CButton::GetBitmap() const {
  return reinterpret_cast<HBITMAP>(::SendMessage(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

#include "ControlMessages.h"

using platform::detail::Send;

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("msctls_progress32", "", style, rect, parent, id);
}
void CProgressCtrl::SetRange(short lower, short upper) {
  Send(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper)));
}
void CProgressCtrl::SetRange32(int lower, int upper) { Send(m_hWnd, PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
void CProgressCtrl::GetRange(int& lower, int& upper) const {
  lower = Send(m_hWnd, PBM_GETRANGE, TRUE);
  upper = Send(m_hWnd, PBM_GETRANGE, FALSE);
}
int CProgressCtrl::SetPos(int pos) { return Send(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(pos)); }
int CProgressCtrl::GetPos() const { return Send(m_hWnd, PBM_GETPOS); }
int CProgressCtrl::OffsetPos(int delta) { return Send(m_hWnd, PBM_DELTAPOS, static_cast<WPARAM>(delta)); }
int CProgressCtrl::SetStep(int step) { return Send(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(step)); }
int CProgressCtrl::StepIt() { return Send(m_hWnd, PBM_STEPIT); }

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create("msctls_trackbar32", "", style, rect, parent, id);
}
void CSliderCtrl::SetRange(int min, int max, BOOL redraw) {
  Send(m_hWnd, TBM_SETRANGEMIN, FALSE, min);
  Send(m_hWnd, TBM_SETRANGEMAX, static_cast<WPARAM>(redraw), max);
}
void CSliderCtrl::GetRange(int& min, int& max) const {
  min = GetRangeMin();
  max = GetRangeMax();
}
int CSliderCtrl::GetRangeMin() const { return Send(m_hWnd, TBM_GETRANGEMIN); }
int CSliderCtrl::GetRangeMax() const { return Send(m_hWnd, TBM_GETRANGEMAX); }
void CSliderCtrl::SetPos(int pos) { Send(m_hWnd, TBM_SETPOS, TRUE, pos); }
int CSliderCtrl::GetPos() const { return Send(m_hWnd, TBM_GETPOS); }
int CSliderCtrl::SetPageSize(int size) { return Send(m_hWnd, TBM_SETPAGESIZE, 0, size); }
int CSliderCtrl::GetPageSize() const { return Send(m_hWnd, TBM_GETPAGESIZE); }
int CSliderCtrl::SetLineSize(int size) { return Send(m_hWnd, TBM_SETLINESIZE, 0, size); }
int CSliderCtrl::GetLineSize() const { return Send(m_hWnd, TBM_GETLINESIZE); }

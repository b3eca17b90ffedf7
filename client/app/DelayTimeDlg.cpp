#include "client/app/DelayTimeDlg.h"

#include "client/relay/DelayQueue.h"
#include "client/resources/ClientIds.h"
#include "platform/controls_range.h"
#include "platform/time.h"

namespace {

constexpr int kMax = CDelayQueue::kMaxDelay;

}  // namespace

BEGIN_MESSAGE_MAP(CDelayTimeDlg, CDialog)
  ON_WM_TIMER()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

BOOL CDelayTimeDlg::Create(CWnd* view, CDelayQueue* queue) {
  m_view = view;
  m_queue = queue;
  if (!CDialog::Create(IDD_DELAYTIME, view)) return FALSE;
  // A dialog owned by the view opens at the view's top left, clear of the frame's menu and bars.
  if (view != nullptr && view->GetSafeHwnd() != nullptr) {
    CPoint origin(0, 0);
    view->ClientToScreen(&origin);
    SetWindowPos(nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(SW_SHOW);
  return TRUE;
}

void CDelayTimeDlg::Close() {
  KillTimer(kTimerId);
  DestroyWindow();
}

CString CDelayTimeDlg::FormatDuration(int seconds) {
  CString text;
  text.Format("%02d : %02d : %02d", seconds / 3600, (seconds % 3600) / 60, seconds % 60);
  return text;
}

BOOL CDelayTimeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_spin.SubclassDlgItem(IDC_DELAY_SPIN, this);
  m_slider.SubclassDlgItem(IDC_DELAY_SLIDER, this);
  SetTimer(kTimerId, kTimerMs);
  const int delay = m_queue ? m_queue->GetDelay() : 0;
  m_slider.SetRange(0, kMax, TRUE);
  m_slider.SetPos(kMax - delay);
  m_spin.SetRange32(0, kMax);
  m_spin.SetPos(kMax - delay);
  ShowDelay(delay);
  return TRUE;
}

void CDelayTimeDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar) { OnScroll(code, pos, bar); }

// The spin stands upright, so its steps come as vertical scrolls.
void CDelayTimeDlg::OnVScroll(UINT code, UINT pos, CScrollBar* bar) { OnScroll(code, pos, bar); }

void CDelayTimeDlg::OnScroll(UINT code, UINT pos, CScrollBar* bar) {
  (void)pos;
  CSliderCtrl* slider = &m_slider;
  const HWND from = bar ? reinterpret_cast<CWnd*>(bar)->GetSafeHwnd() : nullptr;
  int position = 0;
  if (from == m_spin.GetSafeHwnd()) {
    position = m_spin.GetPos();
    slider->SetPos(position);
  } else {
    position = slider->GetPos();
    m_spin.SetPos(position);
  }
  const int delay = kMax - position;
  ShowDelay(delay);
  // Replaying the board at each step of a drag would be slow and jumpy: apply on release only.
  if (code == SB_ENDSCROLL && m_queue) m_queue->SetDelay(delay);
}

void CDelayTimeDlg::OnTimer(UINT_PTR id) {
  if (id != kTimerId || m_queue == nullptr) return;
  const CTime shown(static_cast<std::time_t>(m_queue->GetCurrentDisplayTime()));
  CString text;
  text.Format("%02d : %02d : %02d", shown.GetHour(), shown.GetMinute(), shown.GetSecond());
  SetDlgItemText(IDC_DELAY_SHOWN, text);
}

void CDelayTimeDlg::OnOK() { AskViewToClose(); }

void CDelayTimeDlg::OnCancel() { AskViewToClose(); }

void CDelayTimeDlg::PostNcDestroy() {
  CDialog::PostNcDestroy();
  delete this;
}

void CDelayTimeDlg::ShowDelay(int seconds) { SetDlgItemText(IDC_DELAY_VALUE, FormatDuration(seconds)); }

void CDelayTimeDlg::AskViewToClose() {
  if (m_view) m_view->PostMessage(WM_DIALOG_CLOSED, IDD_DELAYTIME, 0);
}

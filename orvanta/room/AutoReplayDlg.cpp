#include "orvanta/room/AutoReplayDlg.h"

#include <climits>
#include <cstdlib>

#include "orvanta/lobby/ViewModeDlg.h"

BEGIN_MESSAGE_MAP(CAutoReplayDlg, CDialog)
  ON_WM_TIMER()
END_MESSAGE_MAP()

void CAutoReplayDlg::OnAutoReplay() {
  if (m_bAutoReplay) {
    StopReplay();
    return;
  }
  CString interval;
  if (ChooseReplayInterval(interval))
    StartAutoReplay(interval);
}

BOOL CAutoReplayDlg::ChooseReplayInterval(CString& intervalText) {
  CViewModeDlg dialog(this);
  if (dialog.DoModal() != IDOK)
    return FALSE;
  intervalText = dialog.m_strInterval;
  return TRUE;
}

void CAutoReplayDlg::StartAutoReplay(const CString& intervalText) {
  const int seconds = std::atoi(intervalText.GetString());
  // Nothing starts for a text without a positive number, or one too large to be a time in ms.
  if (seconds <= 0 || seconds > INT_MAX / 1000)
    return;
  m_nInterval = seconds * 1000;
  m_nTimer = SetTimer(kReplayTimer, static_cast<UINT>(m_nInterval));
  m_nReplayState = 1;
  m_bAutoReplay = TRUE;
  OnReplayRunning(TRUE);
}

void CAutoReplayDlg::StopReplay() {
  if (m_nTimer)
    KillTimer(m_nTimer);
  m_nTimer = 0;
  const bool wasRunning = m_nReplayState == 1;
  m_nReplayState = 2;
  m_bAutoReplay = FALSE;
  if (wasRunning) OnReplayRunning(FALSE);
}

void CAutoReplayDlg::OnTimer(UINT_PTR id) {
  if (id == kReplayTimer)
    OnReplayStep();
  CDialog::OnTimer(id);
}

#pragma once
// CDelayTimeDlg: the modeless dialog that sets how far the board lags behind the relay (0 to 600
// seconds) and shows the clock time of what the board displays. Closing it is asked of the view,
// which owns it.

#include "client/model/ViewMessages.h"
#include "platform/controls.h"
#include "platform/controls_range.h"
#include "platform/dialogs.h"

class CClientView;
class CDelayQueue;

class CDelayTimeDlg : public CDialog {
public:
  static constexpr UINT_PTR kTimerId = 20;
  static constexpr UINT kTimerMs = 400;

  CDelayTimeDlg() = default;
  using CDialog::Create;

  // Creates and shows the dialog as a modeless child of view; FALSE when it cannot be made.
  BOOL Create(CWnd* view, CDelayQueue* queue);
  // Stops the timer and destroys the window; the object deletes itself afterwards.
  void Close();

  BOOL OnInitDialog() override;
  // Both ask the view to close the dialog.
  void OnOK() override;
  void OnCancel() override;

  // "%02d : %02d : %02d" of a count of seconds.
  static CString FormatDuration(int seconds);

protected:
  void OnTimer(UINT_PTR id);
  void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
  void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()

private:
  // A step of the slider or the spin: the other follows, the delay is shown, and applied when
  // the person lets go (SB_ENDSCROLL).
  void OnScroll(UINT code, UINT pos, CScrollBar* bar);
  void ShowDelay(int seconds);
  void AskViewToClose();

  CWnd* m_view{nullptr};
  CDelayQueue* m_queue{nullptr};
  CSpinButtonCtrl m_spin;
  CSliderCtrl m_slider;
};

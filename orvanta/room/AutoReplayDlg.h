#pragma once
// CAutoReplayDlg: what the review and self-play dialogs share for their automatic replay: the
// interval asked for, timer 100 stepping the game one move a tick, and its stop.

#include <platform/dialogs.h>

class CAutoReplayDlg : public CDialog {
public:
  static constexpr UINT kReplayTimer = 100;

  // Starts the replay with an interval text that begins with its seconds ("3초", "1sec"); a text
  // without a positive number starts nothing.
  void StartAutoReplay(const CString& intervalText);
  BOOL IsAutoReplayOn() const { return m_bAutoReplay; }
  // The replay interval in ms.
  int GetInterval() const { return m_nInterval; }

protected:
  CAutoReplayDlg(UINT templateId, CWnd* parent) : CDialog(templateId, parent) {}

  // Asks for the replay interval in the view-mode dialog; FALSE when the user declines.
  virtual BOOL ChooseReplayInterval(CString& intervalText);
  // One step of the replay (the next-move command).
  virtual void OnReplayStep() = 0;
  // The replay started (TRUE) or stopped: the replay button shows which.
  virtual void OnReplayRunning(BOOL running) = 0;

  // The replay button: stops a running replay, else asks for the interval and starts one.
  void OnAutoReplay();
  void StopReplay();
  BOOL IsReplayRunning() const { return m_nReplayState == 1; }
  void OnTimer(UINT_PTR id);
  DECLARE_MESSAGE_MAP()

  BOOL m_bAutoReplay{FALSE};  // the replay timer runs (the replay button reads it)

private:
  short m_nReplayState{2};  // 1 running, 2 stopped
  int m_nInterval{0};
  UINT_PTR m_nTimer{0};
};

#pragma once
// CProgressDlg: a small topmost window with a status text and a progress bar, its percentage in
// the caption, shown while a long job runs on the user-interface thread. Its place is kept in the
// profile section "Settings" ("X", "Y").

#include <platform/controls.h>
#include <platform/gdi_objects.h>
#include <platform/profile.h>
#include <platform/windows.h>

class CProgressDlg : public CWnd {
public:
  static constexpr UINT kStatusId = 11;
  static constexpr UINT kBarId = 12;
  static constexpr int kWidth = 390;
  static constexpr int kHeight = 130;

  // parent: the view the window belongs to, or null for the main window. Creates the window.
  CProgressDlg(CWnd* parent, const CString& title, BOOL smooth);
  ~CProgressDlg() override;

  using CWnd::Create;
  BOOL Create(CWnd* parent, BOOL smooth);
  void SetRange(int lower, int upper, int step);
  // Returns the previous step.
  int SetStep(int step);
  void SetPos(int position);
  void StepIt();
  // printf-style; at most 512 characters are shown.
  void SetStatus(const char* format, ...);
  // Handles the messages that wait, until none does or the job is cancelled.
  void PumpMessages();
  // Keeps the window's place in the profile, gives the main window back and destroys the window.
  BOOL DestroyWindow() override;

  // The percentage of position in [lower, upper]; 0 for an empty range.
  static int Percentage(int position, int lower, int upper);
  int GetPos() const { return m_nPosition; }
  const CString& GetCaption() const { return m_strCaption; }

protected:
  BOOL OnEraseBkgnd(CDC* dc);
  DECLARE_MESSAGE_MAP()

private:
  void LayOut();
  void PlaceWindow();
  // The application's profile, or the program's own without an application object.
  platform::Profile& Profile();

  BOOL m_bCancelled{FALSE};
  BOOL m_bParentDisabled{FALSE};
  BOOL m_bRememberPosition{TRUE};
  int m_nPosition{0};
  int m_nLastPercentage{0};  // the percentage the caption shows
  int m_nStep{1};
  int m_nUpper{100};
  int m_nLower{0};
  int m_nTextLines{4};
  CStatic m_status;
  CProgressCtrl m_bar;
  CString m_strCaption{"Progress"};
  CString m_strCancel{" Cancel "};  // sizes the room kept for a cancel button
  HFONT m_hFont{nullptr};            // the system's font for messages
  platform::Profile m_ownProfile{"Orvanta"};
};

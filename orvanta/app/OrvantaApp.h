#pragma once
// COrvantaApp: the application object. Only one copy runs per user (a named mutex); it sets up
// the profile and the document template with the main frame and the start view, sizes the main
// window from the saved setting, and starts the first login.

#include <platform/app.h>
#include <platform/dialogs.h>

class COrvantaApp : public CWinApp {
public:
  static constexpr const char* kMutexName = "Orvanta";
  static constexpr UINT kAboutCommand = ID_APP_ABOUT;

  COrvantaApp();

  BOOL InitInstance() override;
  // Releases the mutex, then the base behaviour.
  int ExitInstance() override;
  // The first login dialog pass.
  void LoginFromProfile();
  BOOL HoldsMutex() const { return m_hMutex != nullptr; }

protected:
  void OnAppAbout();
  DECLARE_MESSAGE_MAP()

private:
  HANDLE m_hMutex{nullptr};  // the single-instance mutex
};

// The About dialog (template 100).
class COrvantaAboutDlg : public CDialog {
public:
  COrvantaAboutDlg();
};

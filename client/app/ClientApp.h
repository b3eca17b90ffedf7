#pragma once
// CClientApp: the viewer's start: networking, the profile, the document template of the one view,
// the command line and the main window.

#include "platform/app.h"

class CClientApp : public CWinApp {
public:
  CClientApp();

  BOOL InitInstance() override;
  // Besides the frame's bars, the view's own buttons follow their commands' state.
  BOOL OnIdle(LONG count) override;

protected:
  void OnAppAbout();
  DECLARE_MESSAGE_MAP()
};

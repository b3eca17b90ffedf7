#include "client/app/ClientApp.h"

#include "client/app/AboutDlg.h"
#include "client/app/ClientDoc.h"
#include "client/app/ClientView.h"
#include "client/app/MainFrame.h"
#include "client/widgets/TextUtilities.h"
#include "client/resources/ClientIds.h"
#include "platform/frames.h"
#include "platform/winsock.h"

BEGIN_MESSAGE_MAP(CClientApp, CWinApp)
  ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
  ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
END_MESSAGE_MAP()

CClientApp::CClientApp() : CWinApp("Client") {}

BOOL CClientApp::InitInstance() {
  WSADATA data{};
  if (::WSAStartup(MAKEWORD(1, 1), &data) != 0) {
    ShowMessage("Winsock init fail.");
    return FALSE;
  }
  SetRegistryKey("Local AppWizard-Generated Applications");
  LoadStdProfileSettings(4);
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CClientDoc), RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(CClientView)));
  CCommandLineInfo commandLine;
  ParseCommandLine(commandLine);
  if (!ProcessShellCommand(commandLine)) return FALSE;
  if (m_pMainWnd == nullptr) return FALSE;
  m_pMainWnd->ShowWindow(SW_SHOW);
  m_pMainWnd->UpdateWindow();
  return TRUE;
}

BOOL CClientApp::OnIdle(LONG count) {
  const BOOL more = CWinApp::OnIdle(count);
  if (count == 0) {
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd)) {
      if (CView* view = frame->GetActiveView()) view->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    }
  }
  return more;
}

void CClientApp::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}

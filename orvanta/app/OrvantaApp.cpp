#include "orvanta/app/OrvantaApp.h"

#include <algorithm>

#include <platform/msgbox.h>
#include <platform/process.h>
#include <platform/shell.h>

#include "orvanta/app/MainFrame.h"
#include "orvanta/app/OrvantaDoc.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "orvanta/widgets/MainMenu.h"

BEGIN_MESSAGE_MAP(COrvantaApp, CWinApp)
  ON_COMMAND(COrvantaApp::kAboutCommand, OnAppAbout)
END_MESSAGE_MAP()

COrvantaApp::COrvantaApp() : CWinApp("Orvanta") {}

BOOL COrvantaApp::InitInstance() {
  m_hMutex = ::CreateMutex(nullptr, FALSE, kMutexName);
  if (m_hMutex && ::GetLastError() == ERROR_ALREADY_EXISTS) {
    AfxMessageBox("Already in progress.");
    ::CloseHandle(m_hMutex);
    m_hMutex = nullptr;
    return FALSE;
  }
  SetRegistryKey("Local AppWizard-Generated Applications");
  LoadStdProfileSettings(4);
  AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(COrvantaDoc), RUNTIME_CLASS(CMainFrame),
                                        RUNTIME_CLASS(COrvantaView)));
  EnableShellOpen();
  RegisterShellFileTypes(TRUE);
  CCommandLineInfo commandLine;
  ParseCommandLine(commandLine);
  if (!ProcessShellCommand(commandLine))
    return FALSE;
  auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
  if (!frame)
    return FALSE;
  BOOL maximised = FALSE;
  int width = 0;
  int height = 0;
  CSettingFiles::ParseFrameSize(frame->ReadSetting(0), maximised, width, height);
  // A size from the file is held to the screen: a larger frame shows nothing more, and one the
  // size of 99999x99999 would ask for more memory than there is at every start.
  width = std::min(width, ::GetSystemMetrics(SM_CXSCREEN));
  height = std::min(height, ::GetSystemMetrics(SM_CYSCREEN));
  if (CMainMenu* menu = frame->GetMainMenu())
    menu->LoadBannerImages();
  if (maximised)
    m_nCmdShow = SW_SHOWMAXIMIZED;
  else
    frame->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOZORDER);
  frame->RecalcLayout();
  if (CMainMenu* menu = frame->GetMainMenu())
    menu->ShowButtonsForView(CMainFrame::kStartView);
  frame->ArrangeMenuButtons(frame->GetMenuMode());
  frame->ShowWindow(m_nCmdShow);
  frame->UpdateWindow();
  frame->DragAcceptFiles();
  LoginFromProfile();
  return TRUE;
}

int COrvantaApp::ExitInstance() {
  if (m_hMutex) {
    ::CloseHandle(m_hMutex);
    m_hMutex = nullptr;
  }
  return CWinApp::ExitInstance();
}

void COrvantaApp::LoginFromProfile() {
  if (auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd))
    frame->RunLoginPass();
}

void COrvantaApp::OnAppAbout() {
  COrvantaAboutDlg about;
  about.DoModal();
}

COrvantaAboutDlg::COrvantaAboutDlg() : CDialog(kAboutTemplate) {}

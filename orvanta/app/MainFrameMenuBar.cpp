// The menu bar's commands that the frame answers itself, the states its update handlers give the
// items, and the tool and status bars the View menu shows.

#include "orvanta/app/MainFrame.h"

#include "orvanta/lobby/LobbyText.h"

void CMainFrame::OnUpdateConnectedCommand(CCmdUI* cmdUI) {
  const int state = GetCommandState(cmdUI->m_nID, GetCommandSituation());
  if (state >= 0)
    cmdUI->Enable(state);
}

void CMainFrame::OnUserInformation() {
  if (!m_bConnected) {
    Ask("You must connect.", "", MB_OK);
    return;
  }
  CString typed;
  if (!RunSearchUserDialog(Cp949("사용자 정보"), typed))
    return;
  RequestUserInfo(GetLoginRole(), RemoveSeparators(typed));
  FlushRequests();
}

void CMainFrame::OnMyInformation() {
  RequestUserInfo(GetLoginRole(), m_strUserId);
  FlushRequests();
}

void CMainFrame::OnUpdateSound(CCmdUI* cmdUI) { cmdUI->SetCheck(m_bSoundOn ? 1 : 0); }

void CMainFrame::OnUpdateSaveThisRecord(CCmdUI* cmdUI) { cmdUI->SetCheck(m_bSaveThisRecord ? 1 : 0); }

void CMainFrame::OnAppExit() { PostMessage(WM_CLOSE); }

void CMainFrame::OnUpdateAppExit(CCmdUI* cmdUI) { cmdUI->Enable(GetCommandState(OrvantaCommand::kAppExit, GetCommandSituation())); }

void CMainFrame::OnViewToolBar() {
  m_bToolBarShown = !m_bToolBarShown;
  const int show = m_bToolBarShown ? SW_SHOW : SW_HIDE;
  if (m_wndToolBar.GetSafeHwnd())
    m_wndToolBar.ShowWindow(show);
  if (m_wndStatusBar.GetSafeHwnd())
    m_wndStatusBar.ShowWindow(show);
  if (CView* view = GetContentView())
    view->Invalidate();
  RecalcLayout();
}

void CMainFrame::OnUpdateViewToolBar(CCmdUI* cmdUI) { cmdUI->SetCheck(m_bToolBarShown ? 1 : 0); }

// Commands of the view: navigation, autoview, display toggles, dialogs, the enabling of every
// command and form button, the timer and the keys.
#include <cstdlib>

#include "client/app/AutoViewTimeDlg.h"
#include "client/app/ClientView.h"
#include "client/app/ClientDoc.h"
#include "client/app/DelayTimeDlg.h"
#include "client/app/MainFrame.h"
#include "client/relay/RelayLine.h"
#include "client/widgets/StatusText.h"
#include "client/widgets/TextUtilities.h"
#include "client/model/GameDiagramDlg.h"
#include "client/model/GameInfoDlg.h"
#include "client/model/UserMoveDlg.h"
#include "client/resources/ClientIds.h"
#include "platform/app.h"
#include "platform/msgbox.h"

BEGIN_MESSAGE_MAP(CClientView, CFormView)
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_WM_RBUTTONDOWN()
  ON_WM_ERASEBKGND()
  ON_WM_CTLCOLOR()
  ON_WM_PALETTECHANGED()
  ON_WM_QUERYNEWPALETTE()
  ON_MESSAGE(WM_SOCKET_EVENT, OnSocketEvent)
  ON_MESSAGE(WM_BADUK_STONEPLACED, OnBoardIgnored)
  ON_MESSAGE(WM_BADUK_CAPTURES, OnBoardCaptures)
  ON_MESSAGE(WM_BADUK_CHANGED, OnBoardChanged)
  ON_MESSAGE(WM_BADUK_ERROR, OnBoardIgnored)
  ON_MESSAGE(WM_BADUK_CLICK, OnBoardIgnored)
  ON_MESSAGE(WM_DIALOG_CLOSED, OnDialogClosed)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_COMMAND(ID_MOVE_FIRST, OnMoveFirst)
  ON_COMMAND(ID_MOVE_PREV, OnMovePrev)
  ON_COMMAND(ID_MOVE_NEXT, OnMoveNext)
  ON_COMMAND(ID_MOVE_LAST, OnMoveLast)
  ON_BN_CLICKED(IDC_BTN_FIRST, OnMoveFirst)
  ON_BN_CLICKED(IDC_BTN_PREV, OnMovePrev)
  ON_BN_CLICKED(IDC_BTN_NEXT, OnMoveNext)
  ON_BN_CLICKED(IDC_BTN_LAST, OnMoveLast)
  ON_COMMAND(ID_VOICE_COMMENTARY, OnVoiceCommentary)
  ON_BN_CLICKED(IDC_BTN_VOICE, OnVoiceCommentary)
  ON_COMMAND(ID_AUTO_VIEW, OnAutoView)
  ON_BN_CLICKED(IDC_BTN_AUTOVIEW, OnAutoView)
  ON_COMMAND(ID_SEQUENCE, OnSequence)
  ON_BN_CLICKED(IDC_BTN_SEQ, OnSequence)
  ON_COMMAND(ID_DELAY_SETUP, OnDelaySetup)
  ON_BN_CLICKED(IDC_BTN_DELAY, OnDelaySetup)
  ON_BN_CLICKED(IDC_BTN_EXIT, ConfirmExit)
  ON_COMMAND(ID_USER_MOVE, OnUserMove)
  ON_BN_CLICKED(IDC_BTN_SELF, OnUserMove)
  ON_COMMAND(ID_GAME_DIAGRAM, OnGameDiagram)
  ON_BN_CLICKED(IDC_BTN_REF, OnGameDiagram)
  ON_COMMAND(ID_GAME_INFO, OnGameInfo)
  ON_BN_CLICKED(IDC_BTN_PLAYINFO, OnGameInfo)
  ON_COMMAND(ID_VIEW_CHANGE, OnViewChange)
  ON_COMMAND(ID_VIEW_COORDINATE, OnViewCoordinate)
  ON_COMMAND(ID_VIEW_BUTTONBAR, OnViewButtonBar)
  ON_COMMAND(ID_VIEW_FULLSCREEN, OnViewFullScreen)
  ON_COMMAND(ID_CONNECT, OnConnectCommand)
  ON_COMMAND(ID_DISCONNECT, OnDisconnectCommand)
  ON_COMMAND(ID_CONFIG_SETUP, OnConfigSetup)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
  ON_COMMAND(ID_HELP, OnHelp)
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
  ON_UPDATE_COMMAND_UI(ID_MOVE_FIRST, OnUpdateMoveBack)
  ON_UPDATE_COMMAND_UI(ID_MOVE_PREV, OnUpdateMoveBack)
  ON_UPDATE_COMMAND_UI(ID_MOVE_NEXT, OnUpdateMoveForward)
  ON_UPDATE_COMMAND_UI(ID_MOVE_LAST, OnUpdateMoveForward)
  ON_UPDATE_COMMAND_UI(ID_AUTO_VIEW, OnUpdateAutoView)
  ON_UPDATE_COMMAND_UI(ID_VOICE_COMMENTARY, OnUpdateVoice)
  ON_UPDATE_COMMAND_UI(ID_DELAY_SETUP, OnUpdateDelaySetup)
  ON_UPDATE_COMMAND_UI(ID_GAME_INFO, OnUpdateGameInfo)
  ON_UPDATE_COMMAND_UI(ID_CONNECT, OnUpdateConnect)
  ON_UPDATE_COMMAND_UI(ID_DISCONNECT, OnUpdateDisconnect)
  ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateFileOpen)
  ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS, OnUpdateFileSaveAs)
  ON_UPDATE_COMMAND_UI(ID_SEQUENCE, OnUpdateSequence)
  ON_UPDATE_COMMAND_UI(ID_VIEW_COORDINATE, OnUpdateCoordinate)
  ON_UPDATE_COMMAND_UI(ID_VIEW_BUTTONBAR, OnUpdateButtonBar)
  ON_UPDATE_COMMAND_UI(ID_USER_MOVE, OnUpdateUserMove)
  ON_UPDATE_COMMAND_UI(ID_GAME_DIAGRAM, OnUpdateGameDiagram)
  ON_UPDATE_COMMAND_UI(ID_CONFIG_SETUP, OnUpdateAlways)
  ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateAlways)
END_MESSAGE_MAP()

namespace {

void NoMoreMoves() {
  CString text;
  LoadUiText("No more moves. it is first move.", text);
  ShowStatusText(text);
}

}  // namespace

void CClientView::OnMoveFirst() {
  const int before = m_board.GetCurrentMove();
  if (before <= 0) {
    NoMoreMoves();
    return;
  }
  m_board.GoToFirst();
  if (m_board.GetCurrentMove() != before) RefreshCommentPane();
  ShowPositionInMoveEdit(true);
}

void CClientView::OnMovePrev() {
  const int before = m_board.GetCurrentMove();
  if (before <= 0) {
    NoMoreMoves();
    return;
  }
  m_board.GoToPrevious();
  if (m_board.GetCurrentMove() != before) RefreshCommentPane();
  ShowPositionInMoveEdit(true);
}

void CClientView::OnMoveNext() {
  if (!m_board.IsBrowsing()) return;
  const int before = m_board.GetCurrentMove();
  m_board.GoToNext();
  if (m_board.GetCurrentMove() != before) RefreshCommentPane();
  ShowPositionInMoveEdit(true);
}

void CClientView::OnMoveLast() {
  const int before = m_board.GetCurrentMove();
  m_board.GoToLast();
  if (m_board.GetCurrentMove() != before) RefreshCommentPane();
  ShowPositionInMoveEdit(true);
}

void CClientView::ShowPositionInMoveEdit(bool personStepped) {
  CWnd* edit = GetDlgItem(IDC_MOVE_EDIT);
  if (edit == nullptr) return;
  const bool typed = ::SendMessage(edit->GetSafeHwnd(), EM_GETMODIFY, 0, 0) != 0;
  if (typed && !personStepped && ::GetFocus() == edit->GetSafeHwnd()) return;
  const int shown = m_board.GetLastMove() > 0 ? m_board.GetCurrentMove() : -1;
  if (shown == m_moveEditShown && !typed && !personStepped) return;
  m_moveEditShown = shown;
  CString text;
  if (shown >= 0) text.Format("%d", shown);
  edit->SetWindowText(text);
}

void CClientView::JumpToTypedMove() {
  CString typed;
  GetDlgItemText(IDC_MOVE_EDIT, typed);
  int target = ReadRelayInt(typed);
  if (target < 0) target = 0;
  const int before = m_board.GetCurrentMove();
  const int reached = m_board.GoToMove(target);
  if (reached != before) RefreshCommentPane();
  ShowPositionInMoveEdit(true);
}

void CClientView::SendQuestion() {
  if (!IsConnected()) return;
  GetDlgItemText(IDC_QUESTION_EDIT, m_question);
  if (m_question.IsEmpty()) return;
  if (m_socket.SendQuestion(m_question)) {
    m_question.Empty();
    SetDlgItemText(IDC_QUESTION_EDIT, "");
  } else {
    EndConnectionOnError();
  }
}

void CClientView::OnAutoView() {
  if (m_autoViewRunning) {
    StopAutoView();
    return;
  }
  CAutoViewTimeDlg dialog(this);
  if (dialog.DoModal() == IDOK) StartAutoView(dialog.m_nInterval * 1000);
}

void CClientView::StepAutoView() {
  if (!m_autoViewRunning) return;
  if (!m_board.IsBrowsing()) {
    StopAutoView();
    return;
  }
  const DWORD now = ::GetTickCount();
  if (now - m_autoViewStart > static_cast<DWORD>(m_autoViewInterval)) {
    PlayStoneSound();
    OnMoveNext();
    m_autoViewStart = now;
  }
}

void CClientView::OnTimer(UINT_PTR id) {
  CFormView::Default();
  (void)id;
  StepAutoView();
  UpdateButtonStates();
  // What the queue holds comes due on time with or without the relay: a delay changed after the
  // link ended still replays.
  AdvanceQueue(true);
  // Input that arrived without a notification is fetched now.
  if (IsConnected()) m_socket.PostEvent(FD_READ);
  if (!TimerHasWork()) StopTimer();
}

bool CClientView::TimerHasWork() const { return m_autoViewRunning != 0 || m_delayQueue.HoldsEvents(); }

void CClientView::WakeTimer() {
  if (!m_timerRunning && TimerHasWork() && GetSafeHwnd() != nullptr) StartTimer();
}

void CClientView::StartTimer() {
  m_timerRunning = SetTimer(kTimerId, kTimerMs) != 0;
}

void CClientView::StopTimer() {
  KillTimer(kTimerId);
  m_timerRunning = false;
}

void CClientView::AdvanceQueue(bool notify) {
  const int before = m_board.GetCurrentMove();
  m_delayQueue.Advance(-1, notify);
  if (m_board.GetCurrentMove() != before) {
    UpdateMoveCounter();
    ShowPositionInMoveEdit(false);
  }
}

void CClientView::ReleaseHeldMoves() {
  if (!m_delayQueue.HoldsEvents()) return;
  const int shown = m_board.GetCurrentMove();
  if (m_board.IsBrowsing()) m_board.GoToLast();
  m_delayQueue.ReleaseAll();
  // The position the person looked at stays in front of them; the released moves wait behind it
  // for > and >|.
  if (m_board.GetCurrentMove() != shown) m_board.GoToMove(shown);
  UpdateMoveCounter();
  RefreshCommentPane();
  ShowPositionInMoveEdit(false);
}

void CClientView::OnSequence() {
  m_board.SetSequenceMode(!m_board.GetSequenceMode());
  CString text;
  LoadUiText("sequence-view is changed.", text);
  ShowStatusText(text);
}

void CClientView::ConfirmExit() {
  if (AfxMessageBox("Will you exit the program?", MB_OKCANCEL, 0) != IDOK) return;
  if (CWnd* frame = GetParentFrame()) frame->PostMessage(WM_CLOSE);
}

void CClientView::OnRButtonDown(UINT flags, CPoint point) {
  (void)flags;
  (void)point;
  OnMoveNext();
}

void CClientView::OnDelaySetup() {
  if (m_delayDlg != nullptr) {
    m_delayDlg->Close();
    m_delayDlg = nullptr;
    return;
  }
  auto* dialog = new CDelayTimeDlg;
  if (dialog->Create(this, &m_delayQueue)) {
    m_delayDlg = dialog;
  } else {
    delete dialog;
  }
}

void CClientView::OnUserMove() {
  if (m_userMoveDlg != nullptr) {
    m_userMoveDlg->Close();
    m_userMoveDlg = nullptr;
    return;
  }
  auto* dialog = new CUserMoveDlg;
  m_board.CopyMoves(&dialog->GetHeldMoves());
  dialog->SetButtonMask(2);
  if (dialog->CreateModeless(this)) {
    m_userMoveDlg = dialog;
  } else {
    dialog->GetHeldMoves().DeleteAll();
    delete dialog;
  }
}

void CClientView::OnGameDiagram() {
  if (m_diagramDlg != nullptr) {
    m_diagramDlg->Close();
    m_diagramDlg = nullptr;
    return;
  }
  auto* dialog = new CGameDiagramDlg(this, &m_board, &m_refDiagrams, &m_delayQueue);
  if (dialog->CreateModeless(this)) {
    m_diagramDlg = dialog;
  } else {
    delete dialog;
  }
}

void CClientView::OnGameInfo() {
  CGameInfoDlg dialog(this);
  dialog.SetGameInfo(GetGameInfo());
  dialog.GetBlackPicture().SetImage(m_blackPhoto.get());
  dialog.GetWhitePicture().SetImage(m_whitePhoto.get());
  dialog.DoModal();
}

CDialog* CClientView::GetDelayDialog() const { return m_delayDlg; }

LRESULT CClientView::OnDialogClosed(WPARAM templateId, LPARAM) {
  if (templateId == IDD_DELAYTIME && m_delayDlg != nullptr) OnDelaySetup();
  if (templateId == CUserMoveDlg::kTemplateId && m_userMoveDlg != nullptr) OnUserMove();
  if (templateId == CGameDiagramDlg::kTemplateId && m_diagramDlg != nullptr) OnGameDiagram();
  return 0;
}

void CClientView::OnConnectCommand() {
  if (IsConnected()) Disconnect();
  ClearGame();
  m_historyComplete = 0;
  OnConnect();
}

void CClientView::OnDisconnectCommand() {
  if (IsConnected()) Disconnect();
}

void CClientView::OnViewChange() {
  m_board.SetHalfTurn(!m_board.GetHalfTurn());
  LayoutControls();
  Invalidate();  // the coordinates around the board follow its points
}

void CClientView::OnViewCoordinate() {
  m_coordinates = !m_coordinates;
  LayoutControls();
  Invalidate();
}

void CClientView::OnViewButtonBar() {
  m_buttonBar = !m_buttonBar;
  const int ids[] = {IDC_BTN_FIRST, IDC_BTN_PREV, IDC_BTN_NEXT, IDC_BTN_LAST, IDC_BTN_REF, IDC_BTN_VOICE,
                     IDC_BTN_AUTOVIEW, IDC_BTN_SELF, IDC_BTN_SEQ, IDC_BTN_PLAYINFO, IDC_BTN_EXIT, IDC_MOVE_EDIT,
                     IDC_BTN_DELAY};
  for (int id : ids) {
    if (CWnd* control = GetDlgItem(id)) control->ShowWindow(m_buttonBar ? SW_SHOW : SW_HIDE);
  }
  LayoutControls();
  Invalidate();
}

void CClientView::OnViewFullScreen() {
  if (m_pFrame) m_pFrame->ToggleFullScreen();
}

void CClientView::OnFileSave() {}

void CClientView::ClearGame() {
  StopTimer();
  m_board.ResetBoard();
  m_comments.RemoveAll();
  m_refDiagrams.RemoveAll();
  m_delayQueue.Clear();
  CString word, caption;
  LoadUiText("Commentary", word);
  caption.Format("< %s >", static_cast<const char*>(word));
  SetDlgItemText(IDC_COMMENT_CAPTION, caption);
  m_commentPane.Clear();
  m_commentShownKnown = false;
  m_relayTextBytes = 0;
  m_answerPane.Clear();
  SetClocks(0, 0, 0, 0, 0, 0);
  ResetPhotos();
  GetGameInfo().Reset();
  RefreshPlayerInfo();
  Invalidate();
  m_stateFlags = 0;
  ResetAutoView();
  UpdateMoveCounter();
  ShowPositionInMoveEdit(true);
}

// ---- enabling ----

void CClientView::OnUpdateMoveBack(CCmdUI* ui) { ui->Enable(m_board.GetCurrentMove() > 0); }

void CClientView::OnUpdateMoveForward(CCmdUI* ui) { ui->Enable(m_board.IsBrowsing()); }

void CClientView::OnUpdateAutoView(CCmdUI* ui) {
  ui->Enable(m_board.IsBrowsing());
  ui->SetCheck(m_autoViewRunning != 0);
}

void CClientView::OnUpdateVoice(CCmdUI* ui) {
  ui->Enable(IsConnected() && !m_mediaAddress.IsEmpty());
  ui->SetCheck(IsVoicePlaying());
}

void CClientView::OnUpdateDelaySetup(CCmdUI* ui) {
  ui->Enable(IsConnected() && m_historyComplete && !m_mediaAddress.IsEmpty());
  ui->SetCheck(m_delayDlg != nullptr);
}

void CClientView::OnUpdateGameInfo(CCmdUI* ui) { ui->Enable(IsConnected() && m_historyComplete); }

void CClientView::OnUpdateConnect(CCmdUI* ui) { ui->Enable(!IsConnected()); }

void CClientView::OnUpdateDisconnect(CCmdUI* ui) { ui->Enable(IsConnected()); }

void CClientView::OnUpdateFileOpen(CCmdUI* ui) { ui->Enable(!IsConnected()); }

void CClientView::OnUpdateFileSaveAs(CCmdUI* ui) { ui->Enable(m_delayQueue.GetMoveCount() >= 1); }

void CClientView::OnUpdateSequence(CCmdUI* ui) { ui->SetCheck(m_board.GetSequenceMode() != FALSE); }

void CClientView::OnUpdateCoordinate(CCmdUI* ui) { ui->SetCheck(m_coordinates != 0); }

void CClientView::OnUpdateButtonBar(CCmdUI* ui) { ui->SetCheck(m_buttonBar != 0); }

void CClientView::OnUpdateAlways(CCmdUI* ui) { (void)ui; }

void CClientView::OnUpdateUserMove(CCmdUI* ui) { ui->SetCheck(m_userMoveDlg != nullptr); }

void CClientView::OnUpdateGameDiagram(CCmdUI* ui) { ui->SetCheck(m_diagramDlg != nullptr); }

LRESULT CClientView::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  UpdateButtonStates();
  // A stone placed without a word (the board keeps its first change of the run to itself) is
  // caught here.
  ShowPositionInMoveEdit(false);
  return 0;
}

void CClientView::UpdateButtonStates() {
  if (!m_initialised) return;
  const bool back = m_board.GetCurrentMove() > 0;
  const bool forward = m_board.IsBrowsing() != FALSE;
  EnableButton(IDC_BTN_FIRST, back);
  EnableButton(IDC_BTN_PREV, back);
  EnableButton(IDC_BTN_NEXT, forward);
  EnableButton(IDC_BTN_LAST, forward);
  EnableButton(IDC_BTN_AUTOVIEW, forward);
  EnableButton(IDC_BTN_VOICE, IsConnected() && !m_mediaAddress.IsEmpty());
  EnableButton(IDC_BTN_DELAY, IsConnected() && m_historyComplete && !m_mediaAddress.IsEmpty());
  EnableButton(IDC_BTN_PLAYINFO, IsConnected() && m_historyComplete);
}

CHoverButton* CClientView::FindButton(int id) {
  for (CHoverButton& button : m_buttons) {
    if (button.GetSafeHwnd() && button.GetDlgCtrlID() == id) return &button;
  }
  return nullptr;
}

void CClientView::EnableButton(int id, bool enable) {
  if (CHoverButton* button = FindButton(id)) {
    if ((button->IsWindowEnabled() != FALSE) != enable || (button->GetDrawState() == CHoverButton::kDisabled) == enable)
      button->EnableButton(enable);
  }
}

BOOL CClientView::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    const HWND focus = ::GetFocus();
    if (focus != nullptr && focus == ::GetDlgItem(m_hWnd, IDC_QUESTION_EDIT)) {
      SendQuestion();
    } else if (focus != nullptr && focus == ::GetDlgItem(m_hWnd, IDC_MOVE_EDIT)) {
      JumpToTypedMove();
    }
  }
  return CFormView::PreTranslateMessage(msg);
}

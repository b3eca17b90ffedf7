#include "orvanta/app/MainFrame.h"

#include "orvanta/app/CommandLineText.h"
#include "orvanta/room/ReviewPlayDlg.h"
#include "orvanta/room/GameRoom.h"

#include <cstdlib>

#include <platform/app.h>
#include <platform/msgbox.h>
#include <platform/resources.h>
#include <platform/shell.h>

#include "orvanta/app/ConnectDlg.h"
#include "orvanta/app/LoginProfile.h"
#include "orvanta/connection/LoginRequests.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/app/ScreenFlags.h"
#include "orvanta/connection/SendCategory.h"
#include "orvanta/lobby/NoticeDlg.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/app/ShockwaveFlash.h"
#include "orvanta/app/UserOptions.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/TirvoMListView.h"
#include "orvanta/lobby/TirvoRankView.h"
#include "orvanta/resources/OrvantaResources.h"
#include "orvanta/room/RoomInfoDlg.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

const char kFrameTitle[] = "Orvanta 1.5";
const char kDisconnectedText[] = "You have been disconnected\nYou must login again.";
const char kNetworkErrorText[] = "Network error.\nPlease reconnect.";
const char kResumeQuestion[] = "Match was concluded improperly\nDo you wish to move directly to the game room?";

CString NumberText(long number) {
  CString text;
  text.Format("%ld", number);
  return text;
}

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_MESSAGE(CWndSocket::kNotifyMessage, OnSocketNotify)
  ON_COMMAND(CMainFrame::kConnectCommand, OnConnectDisconnect)
  ON_WM_CLOSE()
  ON_COMMAND(CMainFrame::kEnvironmentCommand, OnEnvironment)
  ON_WM_COPYDATA()
  ON_COMMAND(CMainFrame::kChattingMacroCommand, OnChattingMacro)
  ON_COMMAND(CMainFrame::kConnectMenuCommand, OnConnectDisconnect)
  ON_MESSAGE(CMainFrame::kDeleteRetiredLinksMessage, OnDeleteRetiredLinks)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kConnect, OnUpdateConnect)
  ON_COMMAND(CMainFrame::kMemoBoxCommand, OnMemoBox)
  ON_COMMAND(CMainFrame::kSendMemoCommand, OnSendMemo)
  ON_COMMAND(CMainFrame::kSendMessageCommand, OnSendMessage)
  ON_COMMAND(CMainFrame::kLiveRelayCommand, OnLiveRelay)
  ON_COMMAND(CMainFrame::kServiceCommand, OnService)
  ON_COMMAND(CMainFrame::kRegisterCommand, OnRegister)
  ON_COMMAND(CMainFrame::kHelpFinderCommand, OnHelpFinder)
  ON_COMMAND(CMainFrame::kNewcomerCommand, OnNewcomer)
  ON_COMMAND(CMainFrame::kHomePageCommand, OnHomePage)
  ON_COMMAND(CMainFrame::kMailToManagerCommand, OnMailToManager)
  ON_COMMAND(CMainFrame::kHelpCommand, OnHelp)
  ON_COMMAND(CMainFrame::kSearchUserCommand, OnSearchUser)
  ON_COMMAND(CMainFrame::kInviteUserCommand, OnInviteUser)
  ON_UPDATE_COMMAND_UI_RANGE(OrvantaCommand::kWaitingRoomList, OrvantaCommand::kLeaveRoom, OnUpdateCommandState)
  // The game room's commands and its clock message.
  ON_COMMAND(CMainFrame::kFullScreenCommand, ToggleFullScreen)
  ON_COMMAND(CMainFrame::kRoomSoundCommand, ToggleRoomSound)
  ON_COMMAND(CMainFrame::kSoundCommand, OnSound)
  ON_COMMAND(CMainFrame::kSaveThisRecordCommand, OnSaveThisRecord)
  ON_MESSAGE(CMainFrame::kRoomClockMessage, OnRoomClockMessage)
  // The tool bar of the View menu.
  ON_COMMAND(CMainFrame::kToolBarCommand, OnViewToolBar)
  ON_COMMAND(CMainFrame::kOpenLocalRecordCommand, OnOpenLocalRecord)
  ON_COMMAND(CMainFrame::kStoredGamesCommand, OnStoredGames)
  ON_COMMAND(CMainFrame::kReviewRecordCommand, OnReviewRecord)
  ON_COMMAND(CMainFrame::kSendMemoToUserCommand, OnSendMemoToUser)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
  ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateFileSave)
  ON_UPDATE_COMMAND_UI(CMainFrame::kToolBarCommand, OnUpdateViewToolBar)
  // ---- The menu bar's commands and their states (MainFrameMenuBar.cpp) ----
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kInviteUserMenu, OnUpdateConnectedCommand)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kSearchUserMenu, OnUpdateConnectedCommand)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kUserInformation, OnUpdateConnectedCommand)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kSendMessage, OnUpdateConnectedCommand)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kMemoBox, OnUpdateConnectedCommand)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kEnvironment, OnUpdateConnectedCommand)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kSendMemo, OnUpdateConnectedCommand)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kMyInformation, OnUpdateConnectedCommand)
  ON_COMMAND(OrvantaCommand::kUserInformation, OnUserInformation)
  ON_COMMAND(OrvantaCommand::kMyInformation, OnMyInformation)
  ON_COMMAND(OrvantaCommand::kViewUserInformation, OnUserInfoCommand)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kRoomSound, OnUpdateSound)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kSound, OnUpdateSound)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kSaveThisRecord, OnUpdateSaveThisRecord)
  ON_COMMAND(OrvantaCommand::kHelpFinder, OnHelpFinder)
  ON_COMMAND(OrvantaCommand::kHelp, OnHelpFinder)
  ON_COMMAND(OrvantaCommand::kAskUndo, AskUndo)
  ON_COMMAND(OrvantaCommand::kAskEnd, AskEnd)
  ON_COMMAND(OrvantaCommand::kAppExit, OnAppExit)
  ON_UPDATE_COMMAND_UI(OrvantaCommand::kAppExit, OnUpdateAppExit)
  // ---- end of the menu bar's entries ----
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : CMainFrame(CServerAddress::Resolve()) {}

CMainFrame::CMainFrame(const CServerAddress& address) : m_address(address) { LoadChatMacros(); }

CMainFrame::~CMainFrame() {
  m_pLink.reset();
  m_retiredLinks.clear();
  // The document's map is the document's to empty.
  DeleteRoomRecords(m_ownRoomMap);
}

// ---------------------------------------------------------------------------------------------
// Window set-up

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
  // The caption is the program's own, never built from the document's name; the bit goes before
  // the base class keeps the frame's style bits.
  cs.style &= ~FWS_ADDTOTITLE;
  if (!CFrameWnd::PreCreateWindow(cs))
    return FALSE;
  cs.x = 0;
  cs.y = 0;
  cs.cx = 800;
  cs.cy = 600;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
  const HICON icon = ::AfxLoadIcon(IDR_MAINFRAME);
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  if (CFrameWnd::OnCreate(cs) == -1)
    return -1;
  if (!CreateStatusBar() || !CreateToolBar())
    return -1;
  FlagScreen(kStartView);
  SetTitle(kFrameTitle);
  SetWindowText(kFrameTitle);
  if (!CShockwaveFlash::IsInstalled() && !OfferFlashInstall())
    return -1;
  return 0;
}

BOOL CMainFrame::OfferFlashInstall() {
  // No is the default: a run nobody answers goes on without the movie rather than ending.
  if (Ask("You do not intall flash. \n Do you wish to install it automatically?", "", MB_YESNO | MB_DEFBUTTON2) ==
      IDYES) {
    OpenWebPage("");
    if (CWinApp* app = AfxGetApp())
      app->SetExitCode(1);
    return FALSE;
  }
  Ask("If you do not install flash, \n program may excute unproperly.", "", MB_OK);
  return TRUE;
}

BOOL CMainFrame::CreateStatusBar() {
  static const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE, AFX_IDW_STATUS_BAR))
    return FALSE;
  m_wndStatusBar.SetIndicators(kIndicators, 4);
  // Until a screen gives its own text the bar says how to get help.
  SetStatusText("");
  // The View menu shows the bar; the frame starts without it.
  m_wndStatusBar.ShowWindow(SW_HIDE);
  return TRUE;
}

void CMainFrame::OnClose() {
  if (!m_bQuietClose) {
    // A running game is never left by closing the window.
    if (IsGameUnderWay(GetCommandSituation()))
      return;
    // One question at a time: a second close while it is open (the Exit button twice, the
    // window's close button) would close the frame under the first.
    if (m_bAskingToClose)
      return;
    m_bAskingToClose = TRUE;
    const HWND self = m_hWnd;
    const BOOL unsentPost = !m_boardDrafts.empty() || (GetBoardView() && GetBoardView()->IsEditing());
    const int answer = Ask(unsentPost ? "A post you were writing has not been sent.\nDo you close this program?"
                                      : "Do you close this program?",
                           "Confirm", MB_YESNO);
    if (!::IsWindow(self))
      return;
    m_bAskingToClose = FALSE;
    if (answer != IDYES)
      return;
    // The question's own loop may have let a game begin meanwhile (an invitation taken up):
    // the answer was given to a program that had none.
    if (IsGameUnderWay(GetCommandSituation()))
      return;
  }
  WriteSetting(0, GetPresentSizeSetting());
  // Memos kept in this session outlive the program.
  SaveMemoBox();
  SaveActiveColumnWidths();
  CFrameWnd::OnClose();
}

void CMainFrame::SaveActiveColumnWidths() {
  // Each list view writes its own field of "setting.ini".
  switch (m_nActiveViewId) {
    case kWaitingRoomView:
      if (m_pWaitingRoomView)
        m_pWaitingRoomView->SaveColumnWidths();
      break;
    case kRecordListView:
      if (CTirvoGiboView* view = GetRecordListView())
        view->SaveColumnWidths();
      break;
    case kRankView:
      if (CTirvoRankView* view = GetRankView())
        view->SaveColumnWidths();
      break;
    case kTeachingListView:
      if (CTirvoMListView* view = GetProRoomListView())
        view->SaveColumnWidths();
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Login and connection

platform::Profile& CMainFrame::GetAppProfile() {
  if (CWinApp* app = AfxGetApp())
    return app->GetProfile();
  return m_ownProfile;
}

void CMainFrame::RunLoginPass() {
  CLoginProfile profile(GetAppProfile());
  CString id;
  CString password;
  if (CConnectDlg::RunLoginPass(this, profile, id, password))
    ConnectToServer(id, password);
}

void CMainFrame::ConnectToServer(const CString& id, const CString& password) {
  // Kept for a login again after "already logged in".
  m_strUserId = id;
  m_strPassword = password;
  BeginWaitCapture();
  RetireLink();
  m_pLink = std::make_unique<CServerLink>(this, INVALID_SOCKET);
  CServerLink* const attempt = m_pLink.get();
  m_bConnecting = TRUE;
  // A request that fails at once reports its error while still inside Connect; that report
  // would run the whole disconnection (and a nested login) before the question below, so the
  // link stays silent until the request is issued.
  const WORD notifyMask = attempt->GetNotifyMask();
  attempt->SetNotifyMask(0);
  const BOOL issued = attempt->Connect(m_address.m_strHost, m_address.m_nPort);
  if (m_pLink.get() != attempt)
    return;  // a newer connection took over meanwhile: this attempt must not retire it
  if (issued) {
    attempt->SetNotifyMask(notifyMask);
    m_pLoginRecord = std::make_unique<CSessionRecord>(id, password);
    return;
  }
  // The link never connected: it goes without a close event, so no disconnection message
  // comes before the question below.
  RetireLink();
  EndWaitCapture();
  m_bConnecting = FALSE;
  if (Ask("Unable to connect.\n\t Do you wish to try again?", "Confirm", MB_YESNO) == IDYES)
    RunLoginPass();
}

void CMainFrame::OnConnectDisconnect() {
  if (m_bLogoutReceived)
    return;
  if (!m_bConnected) {
    if (m_bConnecting)
      AfxMessageBox("Connection is in progress.");
    else
      RunLoginPass();
    return;
  }
  if (IsGameRoomActive() && (m_wRoomState & 0x0006) != 0) {
    if ((m_wRoomState & 0x0100) == 0) {
      AfxMessageBox("You can exit after finishing the game.");
      return;
    }
    ClearScreenFlag(kScreenGameRoom);
    if (m_pLoginRecord)
      m_pLoginRecord->Reset();
  }
  if (Ask("Do you wish to disconnect?", "Confirm", MB_YESNO) != IDYES)
    return;
  if (m_nActiveViewId == kWaitingRoomView) {
    SendWaitRoomLeave();
    FlushRequests();
  }
  CLoginRequests(m_pLink.get()).SendLogout(0);
  m_bRoomEntry = FALSE;
  ReturnToStartView();
  DisableCommandButtons(FALSE);
  if (CMainMenu* menu = GetMainMenu())
    menu->RestartBanner();
  SetStatusText("");
  m_bListRequested = FALSE;
  // The close sends the logout still queued before the socket goes; its close event brings the
  // disconnection message and the login dialog.
  CloseLink();
}

void CMainFrame::CloseLink() {
  if (m_pLink)
    m_pLink->Close();
}

void CMainFrame::RetireLink() {
  if (!m_pLink)
    return;
  // A retired link tells the frame nothing more: its socket is closed when it is deleted.
  m_pLink->SetNotifyMask(0);
  m_retiredLinks.push_back(std::move(m_pLink));
  if (m_hWnd)
    PostMessage(kDeleteRetiredLinksMessage);
}

LRESULT CMainFrame::OnDeleteRetiredLinks(WPARAM, LPARAM) {
  // A dialog run inside a notification pumps this message too early: the notification's end
  // posts it again.
  if (m_nNotifyDepth == 0)
    m_retiredLinks.clear();
  return 0;
}

void CMainFrame::BeginWaitCapture() {
  if (m_bWaiting)
    return;
  m_bWaiting = TRUE;
  if (CWinApp* app = AfxGetApp())
    app->DoWaitCursor(1);
  SetCapture();
}

void CMainFrame::EndWaitCapture() {
  if (!m_bWaiting)
    return;
  m_bWaiting = FALSE;
  if (CWinApp* app = AfxGetApp())
    app->DoWaitCursor(-1);
  if (GetCapture() == this)
    ReleaseCapture();
}

int CMainFrame::Ask(const CString& text, const char* caption, UINT type) {
  return ::MessageBox(m_hWnd, text, caption, type);
}

// ---------------------------------------------------------------------------------------------
// The link's events

LRESULT CMainFrame::OnSocketNotify(WPARAM, LPARAM lParam) {
  ++m_nNotifyDepth;
  HandleLinkEvent(LOWORD(static_cast<DWORD_PTR>(lParam)));
  --m_nNotifyDepth;
  if (m_nNotifyDepth == 0 && !m_retiredLinks.empty() && m_hWnd)
    PostMessage(kDeleteRetiredLinksMessage);
  return 0;
}

void CMainFrame::HandleLinkEvent(WORD event) {
  switch (event) {
    case CWndSocket::kNotifyConnected:
      OnLinkConnected();
      break;
    case CWndSocket::kNotifyReceived:
      OnLinkData();
      break;
    case CWndSocket::kNotifyClosed:
      OnLinkClosed();
      break;
    case CWndSocket::kNotifyError:
      OnLinkError();
      break;
    default:
      break;
  }
}

void CMainFrame::OnLinkConnected() {
  CLoginRequests(m_pLink.get()).SendHello(0);
  m_bConnecting = FALSE;
  m_bConnected = TRUE;
  CreateMemoBox();
}

void CMainFrame::OnLinkData() {
  CServerLink* const link = m_pLink.get();
  CServerLink* const outer = m_pReadingLink;
  // Every record the link holds, group after group, while it stays the frame's connected link.
  while (m_bConnected && link && m_pLink.get() == link) {
    const CString group = link->ReadFrames();
    if (group.IsEmpty())
      break;
    m_pReadingLink = link;
    m_dispatcher.DispatchServerFrames(group);
    m_pReadingLink = outer;
  }
}

BOOL CMainFrame::IsLinkOpen() const {
  // Records handled outside a link's own read (no reading link) only need a connected link.
  return m_pLink && m_pLink->IsConnected() && (!m_pReadingLink || m_pReadingLink == m_pLink.get());
}

void CMainFrame::OnLinkClosed() {
  if (IsGameRoomActive() && m_pGameRoom)
    m_pGameRoom->ResetRoom();
  SwitchView(kStartView);
  ResetLoginRoomEntry();
  SetStatusText("");
  if (COrvantaView* start = GetStartView())
    start->DestroyRoomButtons();
  DisableCommandButtons(TRUE);
  ClearConnectionFlags();
  EndWaitCapture();
  AfxMessageBox(kDisconnectedText);
  RetireLink();
  RunLoginPass();
}

void CMainFrame::OnLinkError() {
  // The flags go first: the close below runs a new login pass, whose connection must keep them.
  ClearConnectionFlags();
  AfxMessageBox(kNetworkErrorText);
  CloseLink();
  if (m_nActiveViewId == kStartView)
    SetStatusText("");
  SetStatusText("Press 'F1' for Help.");
}

void CMainFrame::ClearConnectionFlags() {
  m_bConnected = FALSE;
  m_bConnecting = FALSE;
  m_bRoomEntry = FALSE;
  m_bInRoom = m_bRoomLeft = FALSE;
  m_bListRequested = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Login exchange

BOOL CMainFrame::QueueRequest(int major, int minor, const CString& payload, const CString& flag) {
  if (!m_pLink || !m_pLink->IsConnected())
    return FALSE;
  m_pLink->QueueFrame(0, major, minor, payload, flag);
  return TRUE;
}

void CMainFrame::FlushRequests() {
  if (m_pLink)
    m_pLink->FlushFrames();
}

void CMainFrame::OnLoginReply(const CString& payload) {
  m_bConnected = TRUE;
  RegisterContentView(kStartView);
  SendOptions();
  if (!m_pLoginRecord)
    return;
  bool resume = false;
  if (CSessionRecord::OffersResume(payload))
    resume = Ask(kResumeQuestion, "Inform", MB_YESNO | MB_ICONINFORMATION) == IDYES;
  m_strNotice = m_pLoginRecord->TakeLoginReply(payload, resume);
  if (!resume)
    return;
  m_bResume = TRUE;
  m_pLoginRecord->m_nRoomNumber = std::atoi(CFieldTokenizer(payload).GetField(3));
  RequestMemoList();
}

void CMainFrame::RequestAdvertInfo() { CLoginRequests(m_pLink.get()).RequestAdvertInfo(ReadAdvertStamp()); }

void CMainFrame::RequestWaitRoomList() { CLoginRequests(m_pLink.get()).RequestWaitRoomList(); }

void CMainFrame::SendPostLoginRequest() { CLoginRequests(m_pLink.get()).SendPostLoginRequest(); }

void CMainFrame::SendLogout() { CLoginRequests(m_pLink.get()).SendLogout(0); }

void CMainFrame::AskLoginRelease() { CLoginRequests(m_pLink.get()).SendLoginRelease(m_strUserId); }

void CMainFrame::OnRelogin() {
  CLoginRequests(m_pLink.get()).QueueLogin(m_strUserId, m_strPassword);
  FlushRequests();
}

void CMainFrame::RequestMemoList() {
  if (QueueRequest(1, 13, "", "1"))
    FlushRequests();
}

void CMainFrame::OnLogoutReply() {
  ReleaseSession();
  SwitchView(kStartView);
  m_bLogoutReceived = FALSE;
  m_bRoomEntry = FALSE;
  // Closing waits for the loop: the dispatcher that called here still reads the frame after
  // this returns, and a closed frame is deleted.
  if (m_bClosing && m_hWnd)
    PostMessage(WM_CLOSE);
}

void CMainFrame::ReleaseSession() {
  m_pLoginRecord.reset();
  RetireLink();
  m_waitingRooms.Clear();
  m_bConnected = FALSE;
  m_bConnecting = FALSE;
  m_bInRoom = FALSE;
  SetScreenFlag(0);
  m_wRoomState = 1;
  m_nCurrentWaitRoom = -1;
  // The next login's notice is shown again.
  m_bNoticeShown = FALSE;
}

void CMainFrame::ReturnToStartView() {
  m_bStayInRoomList = FALSE;
  SwitchView(kStartView);
  if (m_pLoginRecord)
    m_pLoginRecord->ClearRoomTexts();
  ClearScreenFlag(kScreenWaitingRoom);
  ForgetForum();
}

void CMainFrame::ResetLoginRoomEntry() {
  if (!m_pLoginRecord)
    return;
  m_pLoginRecord->ClearRoomTexts();
  ClearScreenFlag(kScreenWaitingRoom);
}

// ---------------------------------------------------------------------------------------------
// Views

CString CMainFrame::GetViewStatusText(UINT viewId) {
  switch (viewId) {
    case kWaitingRoomView: return "Select 'game room' in the game room list to enter.";
    case kGameRoomView: return Cp949("대국실 입니다.");
    case kStartView: return "Select waiting room from list.";
    case kRankView: return "Rank Display Window.";
    case kRecordListView: return "If you select the game record list, you can review the game record.";
    case kTeachingListView: return "Select teaching game room from list.";
    default: return CString();
  }
}

void CMainFrame::SwitchView(UINT viewId) {
  if (viewId == m_nActiveViewId)
    return;
  CRuntimeClass* viewClass = FindViewClass(viewId);
  // A screen the program does not have keeps the one shown.
  if (!viewClass) {
    NotePending("MissingView", NumberText(viewId));
    return;
  }
  SetStatusText(GetViewStatusText(viewId));
  OnWaitingRoomLeaving();
  // Whatever takes the board away (another screen, the server, a lost link), a post being
  // written waits for its board.
  if (CPlacardView* board = GetBoardView())
    if (std::optional<CBoardDraft> draft = board->TakeDraft())
      KeepBoardDraft(*draft);
  if (m_wndSplitter.GetSafeHwnd() && !m_wndSplitter.ReplaceView(0, 0, viewClass)) {
    NotePending("MissingView", NumberText(viewId));
    return;
  }
  m_nActiveViewId = viewId;
  // No forum's board or room is left open behind the start screen, however it was reached.
  if (viewId == kStartView)
    ForgetForum();
  OnWaitingRoomShown();
  FlagScreen(viewId);
  // The start screen drops the title a room or a list gave the frame.
  if (viewId == kStartView && m_hWnd)
    SetWindowText(kFrameTitle);
  if (viewId == kStartView && m_bConnected)
    SendPostLoginRequest();
  RegisterContentView(viewId);
  if (CMainMenu* menu = GetMainMenu())
    menu->ShowButtonsForView(viewId);
  ArrangeMenuButtons(GetMenuMode());
  if (m_wndSplitter.GetSafeHwnd())
    m_wndSplitter.RecalcLayout();
}

void CMainFrame::FlagScreen(UINT viewId) { FlagScreenForView(viewId); }

void CMainFrame::SetStatusText(const CString& text) {
  m_strStatusText = text;
  SetMessageText(text.IsEmpty() ? CString(Cp949("도움말을 보려면 <F1> 키를 누르십시오. ")) : text);
}

BOOL CMainFrame::RelayToView(UINT viewId, const char* viewCall, const CFieldTokenizer& payload) {
  // A record for a screen that is no longer shown (a closed room, a list left) is dropped.
  if (m_nActiveViewId != viewId)
    return FALSE;
  NotePending(viewCall, payload.GetText());
  return TRUE;
}

void CMainFrame::NotePending(const char* name, const CString& detail) {
  CString call = name;
  if (!detail.IsEmpty())
    call += ":" + detail;
  m_pendingCalls.push_back(call);
  if (m_pendingCalls.size() > kPendingCallLimit)
    m_pendingCalls.pop_front();
}

// ---------------------------------------------------------------------------------------------
// Settings, adverts, chat phrases and options

CString CMainFrame::GetPresentSizeSetting() const {
  CRect rect;
  // Big Screen is no size of the frame's own: the size it goes back to is.
  if (m_bFullScreen)
    rect = m_savedRect;
  else if (m_hWnd)
    GetWindowRect(&rect);
  return CSettingFiles::FormatFrameSize(m_hWnd && IsZoomed(), rect.Width(), rect.Height());
}

CString CMainFrame::ReadSetting(int field) const { return m_settingFiles.ReadSetting(field); }

BOOL CMainFrame::WriteSetting(int field, const CString& text) {
  return m_settingFiles.WriteSetting(field, text, GetPresentSizeSetting());
}

BOOL CMainFrame::LoadAdverts() {
  const BOOL found = m_settingFiles.LoadAdverts(m_adverts);
  if (CMainMenu* menu = GetMainMenu()) {
    for (int i = 0; i < m_adverts.m_nCount && i < CAdvertSlots::kMaxBanners; ++i) {
      menu->SetBannerSlot(i, m_adverts.m_images[static_cast<std::size_t>(i)]);
      menu->SetBannerLink(i, m_adverts.m_links[static_cast<std::size_t>(i)]);
    }
    menu->SetBannerCount(found ? m_adverts.m_nCount : 0);
    menu->SetBannerShown(found && m_adverts.m_nCount > 0);
  }
  return found;
}

CString CMainFrame::ReadAdvertStamp() const { return m_settingFiles.ReadAdvertStamp(); }

void CMainFrame::OnAdvertInfo(CFieldTokenizer& payload) {
  // LoadAdverts shows or hides the banner by what AD.ini gives.
  LoadAdverts();
  if (std::atoi(payload.GetField(2)) != 0) {
    CString command;
    // The whole payload reaches the downloader as one argument, blanks and quotes kept.
    command.Format("DownLoad.exe %d -cf %s", static_cast<int>(reinterpret_cast<INT_PTR>(m_hWnd)),
                   QuoteArgument(payload.GetText()).GetString());
    RunCommandLine(command);  // a downloader that cannot start is not reported
    return;
  }
  if (CMainMenu* menu = GetMainMenu())
    menu->LoadBannerImages();
}

BOOL CMainFrame::OnCopyData(CWnd* wnd, COPYDATASTRUCT* data) {
  if (data && data->dwData == kAdvertsReadyData) {
    LoadAdverts();
    if (CMainMenu* menu = GetMainMenu())
      menu->LoadBannerImages();
    SetActiveWindow();
  }
  return CFrameWnd::OnCopyData(wnd, data);
}

void CMainFrame::LoadChatMacros() { m_chatMacros = m_settingFiles.LoadChatMacros(); }

void CMainFrame::OnChattingMacro() {
  // The phrases are read before a missing file is made: the new empty file must not replace the
  // built-in phrases the dialog opens with.
  LoadChatMacros();
  m_settingFiles.CreateChatMacroFileIfMissing();
  CSettingFiles::ChatMacros edited = m_chatMacros;
  if (!RunChatMacroDialog(edited))
    return;
  CSettingFiles::ChatMacros kept;
  if (!m_settingFiles.SaveChatMacros(edited, kept))
    return;
  m_chatMacros = kept;
  if (m_pWaitingRoomView)
    m_pWaitingRoomView->RefreshChatMacros();
  RefreshRoomChatMacros();
}


void CMainFrame::LoadOptions(int& manToMan, int& invite, int& alarm, int& nego) const {
  platform::Profile& profile = const_cast<CMainFrame*>(this)->GetAppProfile();
  CUserOptions(profile).LoadOptions(manToMan, invite, alarm, nego);
}

void CMainFrame::SaveOptions(int manToMan, int invite, int alarm, int nego) {
  CUserOptions(GetAppProfile()).SaveOptions(manToMan, invite, alarm, nego);
}

void CMainFrame::SendOptions() {
  CLoginRequests(m_pLink.get()).SendOptions(CUserOptions(GetAppProfile()).GetOptionsPayload());
}

void CMainFrame::OnEnvironment() {
  int values[4] = {0, 0, 0, 0};
  LoadOptions(values[0], values[1], values[2], values[3]);
  BOOL checks[4] = {values[0] != 0, values[1] != 0, values[2] != 0, values[3] != 0};
  if (!RunOptionsDialog(checks[0], checks[1], checks[2], checks[3]))
    return;
  // Options are only changed while they can be told to the server.
  if (!m_pLink)
    return;
  CUserOptions::FromChecks(checks[0], checks[1], checks[2], checks[3], values[0], values[1], values[2], values[3]);
  SaveOptions(values[0], values[1], values[2], values[3]);
  SendOptions();
}

// RunOptionsDialog: MainFrameCommunity.cpp.

// ---------------------------------------------------------------------------------------------
// Actions of the screens and dialogs still to come: recorded, and for a view passed on only
// while that view is shown.

#define PENDING_PAYLOAD_ACTION(name) \
  void CMainFrame::name(CFieldTokenizer& payload) { NotePending(#name, payload.GetText()); }
#define VIEW_RELAY(name, viewId, viewCall) \
  void CMainFrame::name(CFieldTokenizer& payload) { RelayToView(viewId, viewCall, payload); }

UINT CMainFrame::RunCommandLine(const CString& line) { return ::WinExec(line, SW_SHOWNORMAL); }

// OnUserSearchResult, OnInviteUser, OnInvitation and OnInvitationRefused: MainFrameCommunity.cpp.

// ---- Post-login notice and the return to an unfinished game ----

void CMainFrame::OnPostLoginNotice(CFieldTokenizer& payload) {
  if (COrvantaView* start = GetStartView())
    start->BuildRoomButtons(payload.GetText());
  if (m_bResume) {
    // The user chose to go back to the game that ended improperly: its room is joined at once.
    m_bResume = FALSE;
    if (m_pLoginRecord) {
      SendResumeJoin(m_pLoginRecord->m_strRoomText7, m_pLoginRecord->m_strRoomText6, m_pLoginRecord->m_strRoomText4,
                     m_pLoginRecord->m_strRoomText1);
      // No waiting room leads to this room: its requests name it as the join did, until it is left.
      SetWaitingRoomKey(m_pLoginRecord->m_strRoomText1, m_pLoginRecord->m_strRoomText7);
      m_pLoginRecord->m_strRoomText5 = m_pLoginRecord->m_strRoomText6;
      // Leaving the room goes to the waiting room the login reply named, when the start screen
      // lists it; without one the user goes back to the start screen.
      m_nCurrentWaitRoom = m_nHomeWaitRoom = FindRoomNumberByKey(m_pLoginRecord->m_strRoomText7);
    }
    EndWaitCapture();
    // The login reply asked for the memo list already.
    ShowLoginNotice(FALSE);
    return;
  }
  if (!m_bStayInRoomList)
    m_nCurrentWaitRoom = -1;
  if (m_hWnd)
    SetWindowText("Orvanta 1.5");
  EndWaitCapture();
  if (!m_bNoticeShown && !m_strNotice.IsEmpty())
    ShowLoginNotice();
  m_strNotice.Empty();
}

void CMainFrame::ShowLoginNotice(BOOL askMemos) {
  if (!m_strNotice.IsEmpty()) {
    CNoticeDlg dialog(this, m_strNotice, CString(), 0);
    dialog.DoModal();
  }
  m_bNoticeShown = TRUE;
  if (askMemos)
    RequestMemoList();
}

void CMainFrame::SendResumeJoin(const CString& a, const CString& b, const CString& c, const CString& classText) {
  QueueRequest(GetSendCategory(1, classText), 3, "|" + a + "|" + b + "|" + c + "|", "1");
}

// ---- End of the post-login notice block ----


void CMainFrame::OnMemoNotice(CFieldTokenizer&) { RequestMemoList(); }


// SendWaitRoomEnter and SendGameListRequest: MainFrameLobby.cpp.
// ClearRoomSubState: MainFrameRoom.cpp.




void CMainFrame::OnRoomInformation(CFieldTokenizer& payload) {
  CRoomInfoDlg dialog(this);
  dialog.SetInfoText(payload.GetText());
  dialog.DoModal();
}

// OnReplayStep and OnReplayDlgMessage: MainFrameReview.cpp.


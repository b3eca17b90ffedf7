// The main frame's splitter and view switch, the start screen's requests and the command states.

#include <cstdlib>

#include <platform/app.h>
#include <platform/shell.h>

#include "orvanta/app/MainFrame.h"
#include "orvanta/app/OrvantaDoc.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/app/ScreenFlags.h"
#include "orvanta/connection/ServerLink.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/app/ViewTable.h"
#include "orvanta/room/GameRoom.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

// The service's web site; paths of the Parts are added to it.
const char kServiceSite[] = "http://www.pellomar.example";

}  // namespace

BOOL CMainFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
  // The waiting-room records live in the document, which outlasts every view of the pane.
  if (auto* document = dynamic_cast<COrvantaDoc*>(context ? context->m_pCurrentDoc : nullptr))
    m_pRoomMap = &document->m_roomMap;
  if (!m_wndSplitter.CreateStatic(this, 2, 1))
    return FALSE;
  CRect client;
  GetClientRect(&client);
  const int upper = CFixedSplitterWnd::UpperRowHeight(client.Height());
  CRuntimeClass* startClass = FindViewClass(kStartView);
  if (!startClass || !m_wndSplitter.CreateView(0, 0, startClass, CSize(client.Width(), upper), context) ||
      !m_wndSplitter.CreateView(1, 0, RUNTIME_CLASS(CMainMenu),
                                CSize(client.Width(), CFixedSplitterWnd::kLowerRowHeight), context))
    return FALSE;
  if (auto* start = dynamic_cast<CView*>(m_wndSplitter.GetPane(0, 0)))
    SetActiveView(start, FALSE);
  // With a document the template gives the views their first update; without one (a frame made
  // on its own) they get it here.
  if (!context || !context->m_pCurrentDoc) {
    for (int row = 0; row < 2; ++row)
      if (auto* view = dynamic_cast<CView*>(m_wndSplitter.GetPane(row, 0)))
        view->OnInitialUpdate();
  }
  return TRUE;
}

void CMainFrame::RegisterView(UINT viewId, CRuntimeClass* viewClass) { m_registeredViews[viewId] = viewClass; }

CRuntimeClass* CMainFrame::FindViewClass(UINT viewId) const {
  const auto registered = m_registeredViews.find(viewId);
  if (registered != m_registeredViews.end())
    return registered->second;
  const CViewTableEntry* entry = FindViewEntry(viewId);
  return entry ? entry->m_pfnViewClass() : nullptr;
}

CView* CMainFrame::GetContentView() const {
  if (!m_wndSplitter.GetSafeHwnd())
    return nullptr;
  return dynamic_cast<CView*>(m_wndSplitter.GetPane(0, 0));
}

COrvantaView* CMainFrame::GetStartView() const { return dynamic_cast<COrvantaView*>(GetContentView()); }

CMainMenu* CMainFrame::GetMainMenu() const {
  if (!m_wndSplitter.GetSafeHwnd())
    return nullptr;
  return dynamic_cast<CMainMenu*>(m_wndSplitter.GetPane(1, 0));
}

void CMainFrame::EnterRoomFromStartView(const CString& kind, const CString& number, const CString& title) {
  const int previous = m_nCurrentWaitRoom;
  m_nCurrentWaitRoom = std::atoi(number);
  // The start screen made a record for every button; a button without one makes its own.
  if (!GetCurrentWaitingRoomRec())
    KeepRoomRecord(m_nCurrentWaitRoom, kind, number, title);
  const CWaitingRoomRec* record = GetCurrentWaitingRoomRec();
  // A number no room can have (the server sent one below 0 or past the map) names nothing to enter.
  if (!record) {
    m_nCurrentWaitRoom = previous;
    return;
  }
  const CString roomKind = record->m_strNumber;
  m_strCurrentRoomTitle = record->m_strName;
  if (m_pLoginRecord) {
    m_pLoginRecord->m_strWaitRoomTitle = m_strCurrentRoomTitle;
    m_pLoginRecord->m_strWaitRoomKind = roomKind;
  }
  if (roomKind == "5")
    SendForumRequest1();
  else if (roomKind == "3" || roomKind == "4")
    SendGameListRequest();
  else
    SendWaitRoomEnter();
  FlushRequests();
  BeginWaitCapture();
}

void CMainFrame::OnMovieCommand(const CString& command) {
  if (command == "Con_DisCon")
    OnConnectDisconnect();
  else if (command == "HomePage")
    OpenWebPage("");
  else if (command == "NewCustomer")
    OpenWebPage("/help/ds/intro.htm");
  else if (command == "Pellomar")
    OpenWebPage(kServiceSite);
  else if (command == "ToMgr")
    OnMailToManager();
  else if (command == "Alone" && GetStartView())
    GetStartView()->RunSelfPlay();
}

void CMainFrame::OpenWebPage(const CString& path) {
  // An empty address is the home page.
  const CString page = path.IsEmpty() ? CString("/index.htm") : path;
  const CString address = page.Find("://") >= 0 ? page : CString(kServiceSite) + page;
  OpenWithDesktop(address, FALSE);
}

void CMainFrame::OnMenuButton(UINT id) {
  switch (id) {
    case 1192:
      ShowWaitingRoomList();
      UpdateButtonsForEvent(71, "");
      break;
    case 1195:
      ShowGameRoom();
      break;
    case 1423:
      PostMessage(WM_CLOSE);
      break;
    case 1196:
      OnOpenRoom();
      break;
    case 1201:
      OnInviteUser();
      break;
    case 1212:
      LeaveRoom();
      break;
    case 1207:
      OnSelfPlay();
      break;
    case 1262:
      SendStalemateArea();
      break;
    case 1204:
    case 1217:
      SendCapturedStones();
      UpdateButtonsForEvent(99, "");
      break;
    default:
      if (!OnRoomMenuButton(id) && !OnCommunityMenuButton(id) && !OnScreenMenuButton(id))
        NotePending("MenuButton", CString(std::to_string(id).c_str()));
      break;
  }
}

void CMainFrame::ShowWaitingRoomList() {
  if (m_nActiveViewId == kWaitingRoomView) {
    SendWaitRoomLeave();
    FlushRequests();
  }
  SwitchView(kStartView);
  ResetLoginRoomEntry();
}

void CMainFrame::ShowGameRoom() {
  if (GetScreenFlags() & kScreenWaitingRoom) {
    SendWaitRoomLeave();
    FlushRequests();
    // Leaving the game room later goes back to the waiting room it was joined from.
    m_nCurrentWaitRoom = m_nHomeWaitRoom;
  }
  SwitchView(kGameRoomView);
  if (m_nActiveViewId == kGameRoomView && m_pLoginRecord) {
    const CString title = CString("Orvanta 1.5(") + m_pLoginRecord->m_strRoomText4 + " Room)";
    SetWindowText(title);
  }
}

CCommandSituation CMainFrame::GetCommandSituation() const {
  CCommandSituation situation;
  situation.connected = m_bConnected;
  situation.activeView = m_nActiveViewId;
  situation.roomState = m_wRoomState;
  situation.screenFlags = GetScreenFlags();
  // The room shown keeps the word of its game.
  if (const CGameRoom* room = ShownRoom())
    situation.roomState = room->GetRoomState();
  return situation;
}

void CMainFrame::OnUpdateConnect(CCmdUI* cmdUI) {
  const CCommandSituation situation = GetCommandSituation();
  const int image = m_bConnected ? kConnectedImage : kDisconnectedImage;
  // This runs at every idle turn: a picture set again would repaint the bar each time.
  if (m_wndToolBar.GetConnectImage() != image)
    m_wndToolBar.SetConnectImage(image);
  m_nConnectImage = image;
  if (m_bConnected) {
    cmdUI->SetText(Cp949("접속해제(&E)"));
  } else {
    cmdUI->SetText(Cp949("접속(&C)"));
    // Whatever was shown, an offline frame is on its start screen.
    SwitchView(kStartView);
  }
  const int state = GetCommandState(OrvantaCommand::kConnect, situation);
  if (state >= 0)
    cmdUI->Enable(state);
}

void CMainFrame::OnUpdateCommandState(CCmdUI* cmdUI) {
  const int state = GetCommandState(cmdUI->m_nID, GetCommandSituation());
  if (state >= 0)
    cmdUI->Enable(state);
}

void CMainFrame::SetConnectButton() {
  m_nConnectImage = kConnectedImage;
  m_wndToolBar.SetConnectImage(kConnectedImage);
}

BOOL CMainFrame::CreateToolBar() {
  if (!m_wndToolBar.CreateBars(this))
    return FALSE;
  // The View menu shows the bar; the frame starts without it.
  m_wndToolBar.ShowWindow(SW_HIDE);
  return TRUE;
}

// OnViewToolBar and OnUpdateViewToolBar: MainFrameMenuBar.cpp.

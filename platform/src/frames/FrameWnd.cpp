// Frame windows: creation from a resource id, the client area and its layout, the active view,
// the caption and the first leg of command routing.
#include "platform/frames.h"

#include "platform/app.h"
#include "platform/controlbars.h"
#include "platform/messageloop.h"
#include "platform/resources.h"

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(0, 0, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_CLOSE()
  ON_WM_DESTROY()
  ON_WM_SETFOCUS()
  ON_WM_INITMENUPOPUP()
  ON_WM_DROPFILES()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context) {
  CString strings;
  AfxLoadStringResource(idResource, strings);
  int newline = strings.Find('\n');
  m_strTitle = newline >= 0 ? strings.Left(newline) : strings;
  if (!Create(nullptr, m_strTitle, style, rectDefault, parent, nullptr, 0, context)) return FALSE;
  LoadMenuAndAccelerators(idResource);
  return TRUE;
}

void CFrameWnd::LoadMenuAndAccelerators(UINT idResource) {
  HINSTANCE module = AfxGetResourceHandle();
  if (HMENU menu = ::LoadMenu(module, MAKEINTRESOURCE(idResource))) {
    m_menuDefault.Attach(menu);
    ::SetMenu(m_hWnd, menu);
  }
  if (!m_hAccelTable) m_hAccelTable = ::LoadAccelerators(module, MAKEINTRESOURCE(idResource));
}

BOOL CFrameWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }

CMenu* CFrameWnd::GetMenu() const {
  HMENU menu = ::GetMenu(m_hWnd);
  return menu ? CMenu::FromHandle(menu) : nullptr;
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg) {
  bool isKey = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
  if (isKey && m_hAccelTable && ::TranslateAccelerator(m_hWnd, m_hAccelTable, msg)) return TRUE;
  return CWnd::PreTranslateMessage(msg);
}

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT, BOOL sysMenu) {
  if (sysMenu || !popup) return;
  platform::UpdateMenuCommands(popup, this, m_bAutoMenuEnable);
}

BOOL CFrameWnd::Create(LPCTSTR className, LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent,
                       LPCTSTR, DWORD exStyle, CCreateContext* context) {
  if (m_strTitle.IsEmpty() && title) m_strTitle = title;
  bool useDefault = rect.right == rect.left && rect.bottom == rect.top;
  int x = useDefault ? CW_USEDEFAULT : rect.left;
  int y = useDefault ? CW_USEDEFAULT : rect.top;
  int width = useDefault ? CW_USEDEFAULT : rect.right - rect.left;
  int height = useDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
  m_pCreatingContext = context;
  BOOL created = CreateEx(exStyle, className, title, style, x, y, width, height, platform::SafeHwnd(parent),
                          nullptr, context);
  // On failure the frame may already have deleted itself: nothing of it is touched then.
  if (created) m_pCreatingContext = nullptr;
  return created;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = "AfxFrameOrView";
  return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs) {
  // The frame's own style bits are taken from what creation was given, after every
  // PreCreateWindow override had its say, and kept here rather than in the window's style.
  constexpr DWORD kFrameBits = FWS_ADDTOTITLE | FWS_PREFIXTITLE;
  m_frameStyle = static_cast<DWORD>(cs->style) & kFrameBits;
  if (GetStyle() & kFrameBits) ModifyStyle(kFrameBits, 0);
  if (CWnd::OnCreate(cs) == -1) return -1;
  CCreateContext* context = m_pCreatingContext ? m_pCreatingContext : static_cast<CCreateContext*>(cs->lpCreateParams);
  if (!OnCreateClient(cs, context)) return -1;
  RecalcLayout();
  return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
  if (context && context->m_pNewViewClass) return CreateView(context, AFX_IDW_PANE_FIRST) != nullptr;
  return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
  if (!context || !context->m_pNewViewClass) return nullptr;
  CObject* object = context->m_pNewViewClass->CreateObject();
  auto* view = dynamic_cast<CWnd*>(object);
  if (!view) {
    delete object;
    return nullptr;
  }
  // A view that fails to be created deletes itself (PostNcDestroy).
  if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id, context)) return nullptr;
  return view;
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify) {
  CView* previous = m_pViewActive;
  if (view == previous) return;
  m_pViewActive = view;
  if (!notify) return;
  if (previous && ::IsWindow(previous->m_hWnd)) previous->OnActivateView(FALSE, view, previous);
  if (view) view->OnActivateView(TRUE, view, previous);
}

CDocument* CFrameWnd::GetActiveDocument() { return m_pViewActive ? m_pViewActive->GetDocument() : nullptr; }

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible) {
  if (!m_pViewActive) {
    // The first view of the document among the frame's panes becomes the active one.
    if (CWnd* pane = GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST))) {
      if (auto* view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(pane->m_hWnd))) SetActiveView(view, FALSE);
    }
  }
  SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
  OnUpdateFrameTitle(doc != nullptr);
  if (makeVisible) ActivateFrame();
}

void CFrameWnd::ActivateFrame(int cmdShow) {
  if (cmdShow == -1) {
    CWinApp* app = AfxGetApp();
    cmdShow = IsWindowVisible() ? SW_SHOW : (app && app->m_pMainWnd == this ? app->m_nCmdShow : SW_SHOWNORMAL);
  }
  ShowWindow(cmdShow);
  BringWindowToTop();
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle) {
  // A frame without FWS_ADDTOTITLE writes its own caption: a document's new name (a save, an
  // open) leaves it be; only the frame's own call puts its title back.
  if (addToTitle && !(m_frameStyle & FWS_ADDTOTITLE)) return;
  CString caption = m_strTitle;
  CDocument* doc = GetActiveDocument();
  if (addToTitle && doc && (m_frameStyle & FWS_ADDTOTITLE)) {
    caption = doc->GetTitle().IsEmpty() ? m_strTitle : doc->GetTitle() + " - " + m_strTitle;
  }
  CString current;
  GetWindowText(current);
  if (current != caption) SetWindowText(caption);
}

void CFrameWnd::SetMessageText(LPCTSTR text) {
  CWnd* bar = GetControlBar(AFX_IDW_STATUS_BAR);
  if (!bar) return;
  if (auto* statusBar = dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(bar->m_hWnd))) {
    statusBar->SetPaneText(0, text);
  } else {
    bar->SetWindowText(text);
  }
}

void CFrameWnd::OnDropFiles(HDROP drop) {
  HWND self = m_hWnd;
  SetActiveWindow();
  UINT count = ::DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<CString> paths;
  for (UINT i = 0; i < count; ++i) {
    std::string path(::DragQueryFile(drop, i, nullptr, 0) + 1, '\0');
    ::DragQueryFile(drop, i, path.data(), static_cast<UINT>(path.size()));
    paths.emplace_back(path.c_str());
  }
  ::DragFinish(drop);
  // Opening a file may replace the frame's document (and, when it fails, close nothing).
  CWinApp* app = AfxGetApp();
  for (const CString& path : paths) {
    if (!app || !::IsWindow(self)) break;
    app->OpenDocumentFile(path);
  }
}

void CFrameWnd::DragAcceptFiles(BOOL accept) {
  ModifyStyleEx(accept ? 0 : WS_EX_ACCEPTFILES, accept ? WS_EX_ACCEPTFILES : 0);
}

// ---- layout ----

void CFrameWnd::RecalcLayout(BOOL) {
  if (!m_hWnd) return;
  CRect space;
  GetClientRect(&space);
  for (HWND child : platform::ChildWindows(m_hWnd)) {
    UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id < AFX_IDW_CONTROLBAR_FIRST || id > AFX_IDW_CONTROLBAR_LAST) continue;
    if (!(::GetWindowLong(child, GWL_STYLE) & WS_VISIBLE)) continue;
    AFX_SIZEPARENTPARAMS params{space, SIZE{0, 0}, TRUE};
    if (::SendMessage(child, WM_SIZEPARENT, 0, reinterpret_cast<LPARAM>(&params))) {
      space = params.rect;
    } else {
      PlaceBarByHeight(CWnd::FromHandle(child), space);
    }
  }
  if (CWnd* pane = GetDlgItem(static_cast<int>(AFX_IDW_PANE_FIRST))) {
    if (space.right < space.left) space.right = space.left;
    if (space.bottom < space.top) space.bottom = space.top;
    pane->MoveWindow(&space);
  }
}

void CFrameWnd::ShowControlBar(CWnd* bar, BOOL show, BOOL delay) {
  if (!bar || !bar->m_hWnd) return;
  bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
  if (!delay) RecalcLayout();
}

BOOL CFrameWnd::OnBarCheck(UINT id) {
  // The view menu's bar commands share their ids with the bars they show.
  CWnd* bar = GetControlBar(id);
  if (!bar) return FALSE;
  ShowControlBar(bar, (bar->GetStyle() & WS_VISIBLE) == 0, FALSE);
  return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI) {
  CWnd* bar = GetControlBar(cmdUI->m_nID);
  if (!bar) {
    cmdUI->ContinueRouting();
    return;
  }
  cmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
}

void CFrameWnd::PlaceBarByHeight(CWnd* bar, RECT& space) {
  CRect barRect;
  bar->GetWindowRect(&barRect);
  int height = barRect.Height();
  // The status bar sits at the bottom, every other bar at the top.
  if (static_cast<UINT>(bar->GetDlgCtrlID()) == AFX_IDW_STATUS_BAR) {
    bar->MoveWindow(space.left, space.bottom - height, space.right - space.left, height);
    space.bottom -= height;
  } else {
    bar->MoveWindow(space.left, space.top, space.right - space.left, height);
    space.top += height;
  }
}

void CFrameWnd::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) RecalcLayout();
}

// ---- print preview ----

void CFrameWnd::OnSetPreviewMode(BOOL preview, CPrintPreviewState* state) {
  if (!state || !m_hWnd || (preview != FALSE) == (m_bInPreview != FALSE)) return;
  if (preview) {
    EnterPreviewMode(*state);
  } else {
    LeavePreviewMode(*state);
  }
  RecalcLayout();
}

void CFrameWnd::EnterPreviewMode(CPrintPreviewState& state) {
  m_bInPreview = TRUE;
  // Without the menu and accelerators, no command can reach the view the preview stands in for.
  state.hMenu = ::GetMenu(m_hWnd);
  if (state.hMenu) ::SetMenu(m_hWnd, nullptr);
  state.hAccelTable = m_hAccelTable;
  m_hAccelTable = nullptr;
  state.hWndViewActive = m_pViewActive ? m_pViewActive->m_hWnd : nullptr;
  state.hiddenBars.clear();
  for (HWND child : platform::ChildWindows(m_hWnd)) {
    UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id < AFX_IDW_CONTROLBAR_FIRST || id > AFX_IDW_CONTROLBAR_LAST || id == AFX_IDW_STATUS_BAR) continue;
    if (!(::GetWindowLong(child, GWL_STYLE) & WS_VISIBLE)) continue;
    ::ShowWindow(child, SW_HIDE);
    state.hiddenBars.push_back(child);
  }
  if (HWND pane = ::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST))) {
    ::ShowWindow(pane, SW_HIDE);
    ::SetWindowLong(pane, GWL_ID, static_cast<LONG>(AFX_IDW_PANE_SAVE));
  }
}

void CFrameWnd::LeavePreviewMode(CPrintPreviewState& state) {
  m_bInPreview = FALSE;
  if (HWND pane = ::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_PANE_SAVE))) {
    // The preview has given up the pane id by now; should it still hold it, it steps aside.
    if (HWND preview = ::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST))) ::SetWindowLong(preview, GWL_ID, 0);
    ::SetWindowLong(pane, GWL_ID, static_cast<LONG>(AFX_IDW_PANE_FIRST));
    ::ShowWindow(pane, SW_SHOW);
  }
  for (HWND bar : state.hiddenBars) {
    if (::IsWindow(bar)) ::ShowWindow(bar, SW_SHOW);
  }
  state.hiddenBars.clear();
  if (state.hMenu && ::IsMenu(state.hMenu)) ::SetMenu(m_hWnd, state.hMenu);
  if (!m_hAccelTable) m_hAccelTable = state.hAccelTable;
  CWnd* active = state.hWndViewActive ? CWnd::FromHandlePermanent(state.hWndViewActive) : nullptr;
  SetActiveView(dynamic_cast<CView*>(active));
}

void CFrameWnd::ClosePreview() {
  HWND preview = ::GetDlgItem(m_hWnd, static_cast<int>(AFX_IDW_PANE_FIRST));
  if (preview) ::SendMessage(preview, WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
}

// ---- closing ----

void CFrameWnd::OnClose() {
  // Closing a frame that shows a print preview only ends the preview.
  if (m_bInPreview) {
    ClosePreview();
    return;
  }
  HWND self = m_hWnd;
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    if (!app->SaveAllModified()) return;
    // Closing the documents may destroy (and delete) this frame.
    app->CloseAllDocuments(FALSE);
  } else if (CDocument* doc = GetActiveDocument()) {
    if (!doc->CanCloseFrame(this)) return;
  }
  if (::IsWindow(self)) ::DestroyWindow(self);
}

void CFrameWnd::OnDestroy() {
  // The preview ends its job and gives the pane, menu and bars back before they go.
  if (m_bInPreview) ClosePreview();
  m_pViewActive = nullptr;
  // The window no longer shows the menus, so the frame lets go of what it loaded.
  if (::IsWindow(m_hWnd)) ::SetMenu(m_hWnd, nullptr);
  m_menuDefault.DestroyMenu();
  if (m_hAccelTable) ::DestroyAcceleratorTable(m_hAccelTable);
  m_hAccelTable = nullptr;
  CWnd::OnDestroy();
}

void CFrameWnd::PostNcDestroy() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pMainWnd == this) {
    app->m_pMainWnd = nullptr;
    PostQuitMessage(0);
  }
  delete this;
}

void CFrameWnd::OnSetFocus(CWnd*) {
  if (m_pViewActive && ::IsWindow(m_pViewActive->m_hWnd)) m_pViewActive->SetFocus();
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
  for (HWND child : platform::ChildWindows(m_hWnd)) {
    UINT id = static_cast<UINT>(::GetDlgCtrlID(child));
    if (id >= AFX_IDW_CONTROLBAR_FIRST && id <= AFX_IDW_CONTROLBAR_LAST) ::SendMessage(child, WM_IDLEUPDATECMDUI, wParam, lParam);
  }
  return 0;
}

// ---- routing ----

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

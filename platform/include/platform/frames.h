#pragma once
// Frame windows: the top-level window of a program, holding its control bars and its view (or
// a splitter of views), the active view, and the first leg of command routing.

#include <vector>

#include "platform/document.h"
#include "platform/menus.h"
#include "platform/runtime_class.h"
#include "platform/view.h"
#include "platform/windows.h"

// Child window ids of a frame: control bars, then the panes of its client area.
constexpr UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
constexpr UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
constexpr UINT AFX_IDW_REBAR = 0xE804;
constexpr UINT AFX_IDW_PREVIEW_BAR = 0xE805;
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
constexpr UINT AFX_IDW_PANE_LAST = 0xE9FF;
// Where the frame's own pane waits, hidden, while a print preview takes its place.
constexpr UINT AFX_IDW_PANE_SAVE = 0xEA21;

// Frame styles.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
constexpr DWORD FWS_PREFIXTITLE = 0x00004000;

// Sent by the frame's layout to each control bar (lParam AFX_SIZEPARENTPARAMS*): a bar that
// handles it takes its strip off rect and answers nonzero.
constexpr UINT WM_SIZEPARENT = 0x0361;
struct AFX_SIZEPARENTPARAMS {
  RECT rect;       // the space left for the client area; a bar shrinks it by its own strip
  SIZE sizeTotal;
  BOOL bStretch;
};

// Files dropped on a window (WM_DROPFILES wParam). index 0xFFFFFFFF: the number of files; buffer
// null: the length of path index; else copies at most size - 1 bytes of it and returns that length.
// 0 for an unknown handle or index.
UINT DragQueryFile(HDROP drop, UINT index, LPTSTR buffer, UINT size);
// Frees the drop; the handle is invalid afterwards.
void DragFinish(HDROP drop);

namespace platform {
// Posts a drop of paths to hwnd as the shell would; FALSE (and nothing posted) when the window
// does not accept files.
BOOL PostDroppedFiles(HWND hwnd, const std::vector<CString>& paths);
}  // namespace platform

// What a frame needs to make its view: the view's class and the document it shows.
class CCreateContext {
public:
  CRuntimeClass* m_pNewViewClass{nullptr};
  CDocument* m_pCurrentDoc{nullptr};
  CDocTemplate* m_pNewDocTemplate{nullptr};
  CView* m_pLastView{nullptr};
  CFrameWnd* m_pCurrentFrame{nullptr};
};

// What a frame gives up while it shows a print preview, given back when the preview ends.
struct CPrintPreviewState {
  HMENU hMenu{nullptr};
  HACCEL hAccelTable{nullptr};
  HWND hWndViewActive{nullptr};   // the view that was active
  std::vector<HWND> hiddenBars;   // control bars hidden for the preview
};

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
public:
  CFrameWnd() = default;
  ~CFrameWnd() override = default;

  // Creates the frame from resource id: the caption is the first part of string idResource
  // (up to a '\n'). FALSE when the window cannot be made.
  virtual BOOL LoadFrame(UINT idResource, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* parent = nullptr, CCreateContext* context = nullptr);
  using CWnd::Create;
  BOOL Create(LPCTSTR className, LPCTSTR title, DWORD style = WS_OVERLAPPEDWINDOW,
              const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCTSTR menuName = nullptr,
              DWORD exStyle = 0, CCreateContext* context = nullptr);
  // Makes the client area: by default one view of context->m_pNewViewClass.
  virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
  // A view of context->m_pNewViewClass as child id of this frame; null on failure.
  CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);

  CView* GetActiveView() const { return m_pViewActive; }
  // Makes view the active one (null: none); notify tells both views.
  void SetActiveView(CView* view, BOOL notify = TRUE);
  CDocument* GetActiveDocument();
  // The frame's first document view and the frame's caption made visible once.
  void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
  virtual void ActivateFrame(int cmdShow = -1);
  // Places the control bars along the edges and the pane in the rest of the client area.
  virtual void RecalcLayout(BOOL notify = TRUE);
  // Rebuilds the caption from the title and, with FWS_ADDTOTITLE, the document's title. A frame
  // without FWS_ADDTOTITLE keeps its caption when asked for the document's sake (addToTitle).
  virtual void OnUpdateFrameTitle(BOOL addToTitle);
  void SetTitle(LPCTSTR title) { m_strTitle = title ? title : ""; }
  const CString& GetTitle() const { return m_strTitle; }
  // Shows text in the status bar's first pane (when the frame has a status bar).
  void SetMessageText(LPCTSTR text);
  // The child control bar or pane with id, or null.
  CWnd* GetControlBar(UINT id) const { return GetDlgItem(static_cast<int>(id)); }
  // Replaces the menu bar (null: none); the frame keeps owning the menu it loaded itself.
  BOOL SetMenu(CMenu* menu);
  // The menu bar, or null.
  CMenu* GetMenu() const;
  // Shows or hides a control bar of the frame; the layout follows at once unless delay.
  void ShowControlBar(CWnd* bar, BOOL show, BOOL delay);
  // Lets files dropped on the frame arrive as WM_DROPFILES.
  void DragAcceptFiles(BOOL accept = TRUE);

  // Entering print preview (preview TRUE) records the active view in state, takes away the menu,
  // the accelerators and the control bars other than the status bar, and parks the pane, hidden,
  // under AFX_IDW_PANE_SAVE so that the preview can take AFX_IDW_PANE_FIRST. Leaving it gives
  // everything back from state and makes the recorded view active again.
  virtual void OnSetPreviewMode(BOOL preview, CPrintPreviewState* state);
  BOOL IsInPreviewMode() const { return m_bInPreview; }

  // Commands go to the active view (which passes them to its document), then the frame, then
  // the application.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // Key messages matching the frame's accelerator table become commands.
  BOOL PreTranslateMessage(MSG* msg) override;
  // Frames delete themselves; the main frame ends the message loop.
  void PostNcDestroy() override;

  static const CRect rectDefault;
  // The frame's accelerator table (from LoadFrame's resource id), null when it has none.
  HACCEL GetDefaultAccelerator() const { return m_hAccelTable; }

  BOOL m_bAutoMenuEnable{TRUE};
  CString m_strTitle;

protected:
  int OnCreate(LPCREATESTRUCT cs);
  void OnSize(UINT type, int cx, int cy);
  void OnClose();
  void OnDestroy();
  void OnSetFocus(CWnd* oldWnd);
  // Opens each dropped file through the application, as a command-line open would.
  void OnDropFiles(HDROP drop);
  // Brings the pop-up's items up to date with their commands' current state.
  void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
  // View > Toolbar and View > Status Bar: show or hide the bar whose id the command has, and
  // check the item while it shows. FALSE (routing goes on) when the frame has no such bar.
  BOOL OnBarCheck(UINT id);
  void OnUpdateControlBarMenu(CCmdUI* cmdUI);
  DECLARE_MESSAGE_MAP()

  CView* m_pViewActive{nullptr};
  HACCEL m_hAccelTable{nullptr};

private:
  // Menu and accelerators of the resource id, when the module has them.
  void LoadMenuAndAccelerators(UINT idResource);

  // Lays out the control bars that do not answer WM_SIZEPARENT by their window size.
  void PlaceBarByHeight(CWnd* bar, RECT& space);
  void EnterPreviewMode(CPrintPreviewState& state);
  void LeavePreviewMode(CPrintPreviewState& state);
  // Asks the preview shown in place of the pane to close.
  void ClosePreview();

  CCreateContext* m_pCreatingContext{nullptr};  // only during LoadFrame
  DWORD m_frameStyle{0};                        // FWS_* bits given at creation
  CMenu m_menuDefault;                          // the menu loaded by LoadFrame
  BOOL m_bInPreview{FALSE};
};

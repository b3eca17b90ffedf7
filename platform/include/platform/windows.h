#pragma once
// Windows: HWND handles, CWnd, window messages maps, styles, the Win32 window functions, timers,
// focus, capture, painting (BeginPaint/EndPaint) and the window message-map entries.
//
// Handles are numbers, unique for the life of the process (the decimal value may be printed on a
// wire). Every window lives on the UI thread; only PostMessage may be called from other threads.

#include <functional>
#include <vector>

#include "platform/cmdtarget.h"
#include "platform/geometry.h"
#include "platform/messages.h"
#include "platform/msgbox.h"
#include "platform/strings.h"
#include "platform/types.h"

class CDC;              // drawing side
class CCreateContext;   // frames side
class CMenu;
class CScrollBar;
struct GUID;                  // com.h
class IUnknown;               // com.h
struct AFX_EVENTSINKMAP;      // olehost.h

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

// ---- styles ---------------------------------------------------------------------------------

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_TILED = WS_OVERLAPPED;
constexpr DWORD WS_ICONIC = WS_MINIMIZE;
constexpr DWORD WS_SIZEBOX = WS_THICKFRAME;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr DWORD WS_CHILDWINDOW = WS_CHILD;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
constexpr DWORD WS_EX_RIGHT = 0x00001000;
constexpr DWORD WS_EX_LEFT = 0x00000000;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_OVERLAPPEDWINDOW = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_NOCLOSE = 0x0200;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_GLOBALCLASS = 0x4000;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// SetWindowPos flags and insert-after values.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
inline const HWND HWND_TOP = reinterpret_cast<HWND>(0);
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);

// GetWindow relations.
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;

// GetWindowLong indexes.
constexpr int GWL_WNDPROC = -4;
constexpr int GWLP_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_ID = -12;
constexpr int GWLP_ID = -12;

// RedrawWindow flags.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

// Default position or size for top-level windows.
constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Normal position and show state of a window (its restored rectangle while maximised or minimised).
struct WINDOWPLACEMENT {
  UINT length{sizeof(WINDOWPLACEMENT)};
  UINT flags{0};
  UINT showCmd{0};
  POINT ptMinPosition{-1, -1};
  POINT ptMaxPosition{-1, -1};
  RECT rcNormalPosition{0, 0, 0, 0};
};
using LPWINDOWPLACEMENT = WINDOWPLACEMENT*;

// A window's scroll bar (SB_HORZ, SB_VERT) or a scroll bar control (SB_CTL); fMask says which
// fields are read or written.
struct SCROLLINFO {
  UINT cbSize{sizeof(SCROLLINFO)};
  UINT fMask{0};
  int nMin{0};
  int nMax{0};
  UINT nPage{0};
  int nPos{0};
  int nTrackPos{0};
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;
using LPINT = int*;
constexpr UINT SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8, SIF_TRACKPOS = 0x10,
               SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Window class registration.
struct WNDCLASS {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCTSTR lpszMenuName;
  LPCTSTR lpszClassName;
};
using LPWNDCLASS = WNDCLASS*;

// Registers a window class; FALSE when the name is taken by a program class (the built-in
// control classes may be given their procedure once by the controls area).
BOOL RegisterClass(const WNDCLASS* wndClass);
BOOL GetClassInfo(HINSTANCE instance, LPCTSTR className, WNDCLASS* out);
BOOL UnregisterClass(LPCTSTR className, HINSTANCE instance);
// Registers (once) a class with these attributes and returns its generated name.
LPCTSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);
BOOL AfxRegisterClass(WNDCLASS* wndClass);
// Class name of a window copied into buffer; returns its length.
int GetClassName(HWND hwnd, LPTSTR buffer, int maxCount);

// ---- CWnd -----------------------------------------------------------------------------------

class CWnd : public CCmdTarget {
public:
  CWnd() = default;
  // Destroys the window still attached, as the class library does.
  ~CWnd() override;

  HWND m_hWnd{nullptr};

  // Call on a valid object only; for a pointer that may be null use platform::SafeHwnd.
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }
  // The window object of hwnd: the attached one, else a temporary object owned by the window
  // (valid until the window is destroyed). Null for null or dead handles.
  static CWnd* FromHandle(HWND hwnd);
  // The top-level window of this or another program of the suite with that class and title (either
  // may be null), as ::FindWindow finds it; null when none.
  static CWnd* FindWindow(LPCTSTR className, LPCTSTR title);
  // The attached window object only.
  static CWnd* FromHandlePermanent(HWND hwnd);
  // Attaches an existing window: its messages go to this object from now on.
  BOOL Attach(HWND hwnd);
  HWND Detach();
  // Attaches and routes the window's messages through this object (class procedure as default).
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  // Creation. className null uses the default window class. FALSE when WM_CREATE says -1 or the
  // class is unknown.
  virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                      CWnd* parentWnd, UINT id, CCreateContext* context = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                const RECT& rect, CWnd* parentWnd, UINT id, LPVOID param = nullptr);
  // Destroys the window and its children (WM_DESTROY, then WM_NCDESTROY); FALSE if none.
  virtual BOOL DestroyWindow();

  // Called before creation: adjust the creation arguments; FALSE cancels.
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  // Called last of all for a window, after WM_NCDESTROY; self-deleting windows delete here.
  virtual void PostNcDestroy();
  // Filters messages before dispatch; TRUE means handled (not dispatched).
  virtual BOOL PreTranslateMessage(MSG* msg);
  // Entry of every message: OnWndMsg, then DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Looks the message up in the map chain; TRUE when handled (result set).
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The class's own procedure (control classes) or ::DefWindowProc.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND: reflection to the control, then OnCmdMsg.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // WM_NOTIFY: reflection to the control, then OnCmdMsg.
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Gives a control a reflected message from its parent; TRUE when the control handled it.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Passes the message being handled to DefWindowProc.
  LRESULT Default();
  // The message being handled (inside a handler).
  static const MSG* GetCurrentMessage();

  // Messages.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Sends message to every descendant (deep) or to the direct children.
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);

  // Family.
  CWnd* GetParent() const;
  CWnd* SetParent(CWnd* newParent);
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetDlgItem(int id) const;
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);
  CWnd* GetWindow(UINT relation) const;
  CWnd* GetNextWindow(UINT relation = GW_HWNDNEXT) const;
  CWnd* GetTopWindow() const;
  BOOL IsChild(const CWnd* wnd) const;
  CWnd* ChildWindowFromPoint(POINT clientPoint) const;

  // Text.
  void SetWindowText(LPCTSTR text);
  // The window's big or small icon (WM_SETICON/WM_GETICON); SetIcon answers the previous one.
  HICON SetIcon(HICON icon, BOOL bigIcon);
  HICON GetIcon(BOOL bigIcon) const;
  int GetWindowText(LPTSTR buffer, int maxCount) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;
  void SetDlgItemText(int id, LPCTSTR text);
  int GetDlgItemText(int id, CString& text) const;
  int GetDlgItemText(int id, LPTSTR buffer, int maxCount) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;

  // Geometry. Window rectangles are in screen coordinates; client rectangles start at 0,0.
  void GetClientRect(LPRECT rect) const;
  void GetWindowRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
  void MapWindowPoints(CWnd* to, LPRECT rect) const;
  // Position relative to the parent's client area (screen for top-level windows).
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  // Window rectangle that gives the client rectangle *rect under this window's styles.
  virtual void CalcWindowRect(LPRECT clientRect, UINT adjustType = 0);
  void CenterWindow(CWnd* alternateOwner = nullptr);
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);

  // Scroll bars of this window (SB_HORZ, SB_VERT); see the free functions of the same names.
  BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
  int SetScrollInfo(int bar, LPSCROLLINFO info, BOOL redraw = TRUE);
  int GetScrollPos(int bar) const;
  int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
  void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const;
  void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
  void ShowScrollBar(UINT bar, BOOL show = TRUE);

  // State.
  BOOL ShowWindow(int cmdShow);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  // Removes then adds style bits; flags nonzero also calls SetWindowPos(flags | no move/size/z).
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
  CWnd* SetFocus();
  static CWnd* GetFocus();
  // ::HideCaret and ::ShowCaret of this window.
  void HideCaret();
  void ShowCaret();
  CWnd* SetCapture();
  static CWnd* GetCapture();
  CWnd* SetActiveWindow();
  static CWnd* GetActiveWindow();
  BOOL SetForegroundWindow();
  static CWnd* GetForegroundWindow();
  void BringWindowToTop();
  static CWnd* GetDesktopWindow();
  static CWnd* WindowFromPoint(POINT screenPoint);
  HMENU GetMenuHandle() const;
  void SetRedraw(BOOL redraw = TRUE);

  // Painting.
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT rect = nullptr, void* region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  BOOL GetUpdateRect(LPRECT rect, BOOL erase = FALSE);
  CDC* BeginPaint(PAINTSTRUCT* paint);
  void EndPaint(PAINTSTRUCT* paint);
  CDC* GetDC();
  CDC* GetWindowDC();
  int ReleaseDC(CDC* dc);

  // Timers (WM_TIMER to this window).
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);

  // Message boxes go through the platform's UI script (msgbox.h); caption null uses the
  // application's name.
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = 0);

  // Runs the command update handlers of the child windows that are control bars or buttons;
  // target is the object whose handlers are asked.
  void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);
  // Walks msg through PreTranslateMessage of the window it is for and its parents up to stop. A
  // keyboard message stops at its top-level window: a pop-up's keys never reach its owner.
  static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

  // Hosted controls (olehost.h). Creates control class clsid as a child of parent at rect with
  // id and attaches this object to its window; FALSE when the class is not registered or the
  // control cannot be made.
  BOOL CreateControl(const GUID& clsid, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                     UINT id);
  // Calls member dispid of the control hosted in this window (olehost.h defines it; the
  // arguments as for COleDispatchDriver::InvokeHelper). Failures are thrown as automation
  // exceptions.
  template <class... Args>
  void InvokeHelper(LONG dispid, WORD flags, USHORT vtRet, void* result, const BYTE* paramInfo, Args... args);
  void GetProperty(LONG dispid, USHORT vtProp, void* value);
  template <class T>
  void SetProperty(LONG dispid, USHORT vtProp, T value);
  // The hosted control of this window (no reference added), or null.
  IUnknown* GetControlUnknown() const;

protected:
  DECLARE_MESSAGE_MAP()

  // Event sink maps of control containers (olehost.h); the root has no entries.
  static const AFX_EVENTSINKMAP* GetThisEventSinkMap();
  virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;
  friend struct EventSinkDispatch;

  // Handlers with the class library's signatures; the default of each passes the message on to
  // DefWindowProc.
  int OnCreate(LPCREATESTRUCT cs);
  void OnDestroy();
  void OnNcDestroy();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnTimer(UINT_PTR id);
  void OnSize(UINT type, int cx, int cy);
  void OnMove(int x, int y);
  void OnClose();
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnLButtonDblClk(UINT flags, CPoint point);
  void OnRButtonDown(UINT flags, CPoint point);
  void OnRButtonUp(UINT flags, CPoint point);
  void OnRButtonDblClk(UINT flags, CPoint point);
  void OnMButtonDown(UINT flags, CPoint point);
  void OnMButtonUp(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);
  BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
  BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  void OnKeyUp(UINT ch, UINT repeat, UINT flags);
  void OnChar(UINT ch, UINT repeat, UINT flags);
  void OnSysKeyDown(UINT ch, UINT repeat, UINT flags);
  void OnSysKeyUp(UINT ch, UINT repeat, UINT flags);
  void OnSysCommand(UINT id, LPARAM lParam);
  void OnSetFocus(CWnd* oldWnd);
  void OnKillFocus(CWnd* newWnd);
  void OnShowWindow(BOOL show, UINT status);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void OnContextMenu(CWnd* wnd, CPoint point);
  void OnHScroll(UINT code, UINT pos, CScrollBar* scrollBar);
  void OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
  void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
  BOOL OnCopyData(CWnd* wnd, COPYDATASTRUCT* data);
  void OnDropFiles(HDROP drop);
  void OnActivate(UINT state, CWnd* other, BOOL minimized);
  void OnActivateApp(BOOL active, DWORD threadId);
  void OnEnable(BOOL enable);
  void OnCaptureChanged(CWnd* wnd);
  int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
  UINT OnGetDlgCode();
  void OnWindowPosChanging(WINDOWPOS* pos);
  void OnWindowPosChanged(WINDOWPOS* pos);
  void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
  void OnMenuSelect(UINT item, UINT flags, HMENU menu);
  // A typed character that matches no item mnemonic; returns MAKELRESULT(item, MNC_*).
  LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu);
  void OnCancelMode();
  void OnSettingChange(UINT flags, LPCTSTR section);
  void OnSysColorChange();
  void OnPaletteChanged(CWnd* focusWnd);
  BOOL OnQueryNewPalette();
  void OnNcPaint();
  BOOL OnNcActivate(BOOL active);
  LRESULT OnNcHitTest(CPoint point);
  void OnSizing(UINT side, LPRECT rect);
  BOOL OnQueryEndSession();
  void OnEndSession(BOOL ending);

private:
  friend struct WindowDispatch;
  bool m_temporary{false};  // made by FromHandle for a window nobody attached
};

namespace platform {

// The handle of a window object that may be null (the class library's GetSafeHwnd idiom).
inline HWND SafeHwnd(const CWnd* wnd) { return wnd ? wnd->m_hWnd : nullptr; }

// Sets the hooks the drawing side gives the window side: make a DC on a window's paint target
// (clip in client coordinates, null for the whole client area), release it, and find the CDC of
// an HDC. Without hooks, BeginPaint hands out no DC and WM_ERASEBKGND is not sent.
struct WindowDcHooks {
  HDC (*acquire)(HWND hwnd, bool nonClient, const RECT* clip) = nullptr;
  void (*release)(HWND hwnd, HDC dc) = nullptr;
  CDC* (*fromHandle)(HDC dc) = nullptr;
  HDC (*handleOf)(CDC* dc) = nullptr;
};
void SetWindowDcHooks(const WindowDcHooks& hooks);
// CDC of an HDC through the hooks (null without them).
CDC* DcFromHandle(HDC dc);

// Screen size (default 1024x768, or PLATFORM_SCREEN=WxH); tests may change it.
SIZE GetScreenSize();
void SetScreenSize(SIZE size);

// Every window that exists, top-level ones and children, in creation order.
std::vector<HWND> AllWindows();
// The direct children of hwnd in z-order, topmost first (creation order).
std::vector<HWND> ChildWindows(HWND hwnd);
// The class name a window was created with.
CString WindowClassName(HWND hwnd);
// Destroys every remaining window and forgets all timers (between tests).
void DestroyAllWindows();

// The part of a window's client area that needs painting (empty when none).
RECT InvalidRect(HWND hwnd);

// Non-client insets (left, top, right, bottom) of a window with these styles; hasMenu adds a
// menu bar. The one rule behind AdjustWindowRectEx, GetClientRect and the paint targets.
RECT NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu);

// The CMenu of a menu handle (CMenu::FromHandle; null for an unknown handle), for the
// WM_INITMENUPOPUP entry.
CMenu* MenuFromHandle(HMENU menu);

// Attaches a menu bar handle to a top-level window (the menus area calls this from SetMenu).
void SetWindowMenuHandle(HWND hwnd, HMENU menu);

// The name shown as caption of message boxes of the program (CWinApp sets it).
void SetAppName(const char* name);
const char* AppName();

}  // namespace platform

// ---- the Win32 window functions -------------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU idOrMenu, HINSTANCE instance,
                    LPVOID param);
HWND CreateWindow(LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU idOrMenu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
// Synchronous; UI thread only.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Queued; any thread. FALSE for a handle that is not a window (a null handle posts to the thread).
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// A message number unique to the name for the life of the process (0xC000..0xFFFF).
UINT RegisterWindowMessage(LPCTSTR name);

HWND GetParent(HWND hwnd);
HWND SetParent(HWND child, HWND newParent);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetTopWindow(HWND hwnd);
HWND GetAncestorTopLevel(HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
HWND GetDesktopWindow();
HWND WindowFromPoint(POINT screenPoint);
HWND ChildWindowFromPoint(HWND parent, POINT clientPoint);

BOOL SetWindowText(HWND hwnd, LPCTSTR text);
int GetWindowText(HWND hwnd, LPTSTR buffer, int maxCount);
int GetWindowTextLength(HWND hwnd);
BOOL SetDlgItemText(HWND dialog, int id, LPCTSTR text);
UINT GetDlgItemText(HWND dialog, int id, LPTSTR buffer, int maxCount);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);

BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL ScreenToClient(HWND hwnd, LPPOINT point);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL ShowWindow(HWND hwnd, int cmdShow);
BOOL IsWindowVisible(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);

// Scroll bar state, kept per window and bar. The position always stays within
// nMin..nMax - nPage + 1. Setting a range or page shows a window's bar when the range is larger
// than the page and hides it otherwise (SIF_DISABLENOSCROLL keeps it shown).
// Fills the fields info->fMask names; FALSE for a bad window or bar or an empty mask.
BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
// Stores the fields info->fMask names; returns the resulting position.
int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
// Returns the previous position.
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
// Shows or hides SB_HORZ, SB_VERT or SB_BOTH (WS_HSCROLL/WS_VSCROLL, taking client space).
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
// showCmd SW_SHOWMAXIMIZED, SW_SHOWMINIMIZED, SW_SHOWNORMAL or SW_HIDE; rcNormalPosition in the
// parent's client coordinates (screen for top-level windows).
BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement);
// Sets the normal rectangle, then shows the window with showCmd.
BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement);
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);

HWND SetFocus(HWND hwnd);
HWND GetFocus();
// Hides the caret of hwnd's edit until as many ShowCaret calls, or until the edit loses the focus.
BOOL HideCaret(HWND hwnd);
// Undoes one HideCaret of hwnd's edit; FALSE when its caret was not hidden.
BOOL ShowCaret(HWND hwnd);
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
BOOL BringWindowToTop(HWND hwnd);

BOOL InvalidateRect(HWND hwnd, LPCRECT rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, LPCRECT rect);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, LPCRECT rect, void* region, UINT flags);
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
// Validates the invalid part and fills paint; hdc is a DC clipped to rcPaint when the drawing side
// has installed its hooks, else null. Sends WM_ERASEBKGND first when asked for and a DC exists.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);

// WM_TIMER to hwnd every elapse ms (at most one pending per timer); proc, when given, is called
// instead. Returns the timer id (a fresh one when hwnd is null), 0 on failure.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Mouse and keyboard state kept by the input routing.
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);
// Holds the cursor inside rect (screen coordinates; null lifts the hold): the mouse's positions
// and SetCursorPos are kept inside it, on every display.
BOOL ClipCursor(const RECT* rect);
// The rectangle the cursor is held in; the whole screen when there is none.
BOOL GetClipCursor(LPRECT rect);
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
void MessageBeep(UINT type);

// ---- window message-map entries -----------------------------------------------------------

#define AFX_WND(t) static_cast<ThisClass*>(t)
#define AFX_MSG_ENTRY(msg, body) \
  {msg, 0, 0, 0, nullptr, [](CCmdTarget* t, AfxCall& c) { (void)c; body; }},
#define AFX_CPOINT(c) CPoint(static_cast<LPARAM>((c).lParam))
#define AFX_CWND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))
#define AFX_CDC(h) platform::DcFromHandle(reinterpret_cast<HDC>(h))

#define ON_WM_CREATE() \
  AFX_MSG_ENTRY(WM_CREATE, c.result = AFX_WND(t)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(c.lParam)))
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, AFX_WND(t)->OnDestroy())
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, AFX_WND(t)->OnNcDestroy())
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, AFX_WND(t)->OnPaint())
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, AFX_WND(t)->OnNcPaint())
#define ON_WM_ERASEBKGND() AFX_MSG_ENTRY(WM_ERASEBKGND, c.result = AFX_WND(t)->OnEraseBkgnd(AFX_CDC(c.wParam)))
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, AFX_WND(t)->OnTimer(static_cast<UINT_PTR>(c.wParam)))
#define ON_WM_SIZE() \
  AFX_MSG_ENTRY(WM_SIZE, AFX_WND(t)->OnSize(static_cast<UINT>(c.wParam), static_cast<SHORT>(LOWORD(c.lParam)), static_cast<SHORT>(HIWORD(c.lParam))))
#define ON_WM_SIZING() \
  AFX_MSG_ENTRY(WM_SIZING, AFX_WND(t)->OnSizing(static_cast<UINT>(c.wParam), reinterpret_cast<LPRECT>(c.lParam)); c.result = TRUE)
#define ON_WM_MOVE() \
  AFX_MSG_ENTRY(WM_MOVE, AFX_WND(t)->OnMove(static_cast<SHORT>(LOWORD(c.lParam)), static_cast<SHORT>(HIWORD(c.lParam))))
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, AFX_WND(t)->OnClose())
#define ON_WM_LBUTTONDOWN() AFX_MSG_ENTRY(WM_LBUTTONDOWN, AFX_WND(t)->OnLButtonDown(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_LBUTTONUP() AFX_MSG_ENTRY(WM_LBUTTONUP, AFX_WND(t)->OnLButtonUp(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_LBUTTONDBLCLK() AFX_MSG_ENTRY(WM_LBUTTONDBLCLK, AFX_WND(t)->OnLButtonDblClk(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_RBUTTONDOWN() AFX_MSG_ENTRY(WM_RBUTTONDOWN, AFX_WND(t)->OnRButtonDown(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_RBUTTONUP() AFX_MSG_ENTRY(WM_RBUTTONUP, AFX_WND(t)->OnRButtonUp(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_RBUTTONDBLCLK() AFX_MSG_ENTRY(WM_RBUTTONDBLCLK, AFX_WND(t)->OnRButtonDblClk(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_MBUTTONDOWN() AFX_MSG_ENTRY(WM_MBUTTONDOWN, AFX_WND(t)->OnMButtonDown(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_MBUTTONUP() AFX_MSG_ENTRY(WM_MBUTTONUP, AFX_WND(t)->OnMButtonUp(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_MOUSEMOVE() AFX_MSG_ENTRY(WM_MOUSEMOVE, AFX_WND(t)->OnMouseMove(static_cast<UINT>(c.wParam), AFX_CPOINT(c)))
#define ON_WM_MOUSEWHEEL()                                                                     \
  AFX_MSG_ENTRY(WM_MOUSEWHEEL, c.result = AFX_WND(t)->OnMouseWheel(LOWORD(c.wParam),             \
                                                                   static_cast<short>(HIWORD(c.wParam)), AFX_CPOINT(c)))
#define ON_WM_SETCURSOR()                                                                      \
  AFX_MSG_ENTRY(WM_SETCURSOR, c.result = AFX_WND(t)->OnSetCursor(AFX_CWND(c.wParam), LOWORD(c.lParam), \
                                                                 HIWORD(c.lParam)))
#define ON_WM_KEYDOWN() \
  AFX_MSG_ENTRY(WM_KEYDOWN, AFX_WND(t)->OnKeyDown(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_KEYUP() \
  AFX_MSG_ENTRY(WM_KEYUP, AFX_WND(t)->OnKeyUp(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_CHAR() \
  AFX_MSG_ENTRY(WM_CHAR, AFX_WND(t)->OnChar(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_SYSKEYDOWN() \
  AFX_MSG_ENTRY(WM_SYSKEYDOWN, AFX_WND(t)->OnSysKeyDown(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_SYSKEYUP() \
  AFX_MSG_ENTRY(WM_SYSKEYUP, AFX_WND(t)->OnSysKeyUp(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, AFX_WND(t)->OnSysCommand(static_cast<UINT>(c.wParam), c.lParam))
#define ON_WM_SETFOCUS() AFX_MSG_ENTRY(WM_SETFOCUS, AFX_WND(t)->OnSetFocus(AFX_CWND(c.wParam)))
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, AFX_WND(t)->OnKillFocus(AFX_CWND(c.wParam)))
#define ON_WM_SHOWWINDOW() \
  AFX_MSG_ENTRY(WM_SHOWWINDOW, AFX_WND(t)->OnShowWindow(static_cast<BOOL>(c.wParam), static_cast<UINT>(c.lParam)))
#define ON_WM_GETMINMAXINFO() AFX_MSG_ENTRY(WM_GETMINMAXINFO, AFX_WND(t)->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(c.lParam)))
#define ON_WM_CONTEXTMENU() AFX_MSG_ENTRY(WM_CONTEXTMENU, AFX_WND(t)->OnContextMenu(AFX_CWND(c.wParam), AFX_CPOINT(c)))
#define ON_WM_HSCROLL()                                                                          \
  AFX_MSG_ENTRY(WM_HSCROLL, AFX_WND(t)->OnHScroll(LOWORD(c.wParam), static_cast<SHORT>(HIWORD(c.wParam)), \
                                                  reinterpret_cast<CScrollBar*>(AFX_CWND(c.lParam))))
#define ON_WM_VSCROLL()                                                                          \
  AFX_MSG_ENTRY(WM_VSCROLL, AFX_WND(t)->OnVScroll(LOWORD(c.wParam), static_cast<SHORT>(HIWORD(c.wParam)), \
                                                  reinterpret_cast<CScrollBar*>(AFX_CWND(c.lParam))))
// One entry serves all WM_CTLCOLOR* messages (the dispatch maps them to WM_CTLCOLORMSGBOX with
// nCtlColor in c.nCode).
#define ON_WM_CTLCOLOR()                                                                         \
  AFX_MSG_ENTRY(WM_CTLCOLORMSGBOX, c.result = reinterpret_cast<LRESULT>(AFX_WND(t)->OnCtlColor(  \
                                       AFX_CDC(c.wParam), AFX_CWND(c.lParam), static_cast<UINT>(c.nCode))))
#define ON_WM_DRAWITEM() \
  AFX_MSG_ENTRY(WM_DRAWITEM, AFX_WND(t)->OnDrawItem(static_cast<int>(c.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam)); c.result = TRUE)
#define ON_WM_MEASUREITEM() \
  AFX_MSG_ENTRY(WM_MEASUREITEM, AFX_WND(t)->OnMeasureItem(static_cast<int>(c.wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam)); c.result = TRUE)
#define ON_WM_COPYDATA() \
  AFX_MSG_ENTRY(WM_COPYDATA, c.result = AFX_WND(t)->OnCopyData(AFX_CWND(c.wParam), reinterpret_cast<COPYDATASTRUCT*>(c.lParam)))
#define ON_WM_DROPFILES() AFX_MSG_ENTRY(WM_DROPFILES, AFX_WND(t)->OnDropFiles(reinterpret_cast<HDROP>(c.wParam)))
#define ON_WM_ACTIVATE()                                                                          \
  AFX_MSG_ENTRY(WM_ACTIVATE, AFX_WND(t)->OnActivate(LOWORD(c.wParam), AFX_CWND(c.lParam),         \
                                                    static_cast<BOOL>(HIWORD(c.wParam))))
#define ON_WM_ACTIVATEAPP() \
  AFX_MSG_ENTRY(WM_ACTIVATEAPP, AFX_WND(t)->OnActivateApp(static_cast<BOOL>(c.wParam), static_cast<DWORD>(c.lParam)))
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, AFX_WND(t)->OnEnable(static_cast<BOOL>(c.wParam)))
#define ON_WM_CAPTURECHANGED() AFX_MSG_ENTRY(WM_CAPTURECHANGED, AFX_WND(t)->OnCaptureChanged(AFX_CWND(c.lParam)))
#define ON_WM_MOUSEACTIVATE()                                                                      \
  AFX_MSG_ENTRY(WM_MOUSEACTIVATE, c.result = AFX_WND(t)->OnMouseActivate(AFX_CWND(c.wParam), LOWORD(c.lParam), \
                                                                         HIWORD(c.lParam)))
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, c.result = AFX_WND(t)->OnGetDlgCode())
#define ON_WM_WINDOWPOSCHANGING() \
  AFX_MSG_ENTRY(WM_WINDOWPOSCHANGING, AFX_WND(t)->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(c.lParam)))
#define ON_WM_WINDOWPOSCHANGED() \
  AFX_MSG_ENTRY(WM_WINDOWPOSCHANGED, AFX_WND(t)->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(c.lParam)))
#define ON_WM_INITMENUPOPUP()                                                                      \
  AFX_MSG_ENTRY(WM_INITMENUPOPUP, AFX_WND(t)->OnInitMenuPopup(platform::MenuFromHandle(reinterpret_cast<HMENU>(c.wParam)), \
                                                              LOWORD(c.lParam), static_cast<BOOL>(HIWORD(c.lParam))))
#define ON_WM_MENUSELECT() \
  AFX_MSG_ENTRY(WM_MENUSELECT, AFX_WND(t)->OnMenuSelect(LOWORD(c.wParam), HIWORD(c.wParam), reinterpret_cast<HMENU>(c.lParam)))
#define ON_WM_MENUCHAR()                                                                           \
  AFX_MSG_ENTRY(WM_MENUCHAR, c.result = AFX_WND(t)->OnMenuChar(LOWORD(c.wParam), HIWORD(c.wParam),    \
                                                               platform::MenuFromHandle(reinterpret_cast<HMENU>(c.lParam))))
#define ON_WM_CANCELMODE() AFX_MSG_ENTRY(WM_CANCELMODE, AFX_WND(t)->OnCancelMode())
#define ON_WM_SETTINGCHANGE() \
  AFX_MSG_ENTRY(WM_SETTINGCHANGE, AFX_WND(t)->OnSettingChange(static_cast<UINT>(c.wParam), reinterpret_cast<LPCTSTR>(c.lParam)))
#define ON_WM_SYSCOLORCHANGE() AFX_MSG_ENTRY(WM_SYSCOLORCHANGE, AFX_WND(t)->OnSysColorChange())
#define ON_WM_PALETTECHANGED() AFX_MSG_ENTRY(WM_PALETTECHANGED, AFX_WND(t)->OnPaletteChanged(AFX_CWND(c.wParam)))
#define ON_WM_QUERYNEWPALETTE() AFX_MSG_ENTRY(WM_QUERYNEWPALETTE, c.result = AFX_WND(t)->OnQueryNewPalette())
#define ON_WM_NCACTIVATE() AFX_MSG_ENTRY(WM_NCACTIVATE, c.result = AFX_WND(t)->OnNcActivate(static_cast<BOOL>(c.wParam)))
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, c.result = AFX_WND(t)->OnNcHitTest(AFX_CPOINT(c)))
#define ON_WM_QUERYENDSESSION() AFX_MSG_ENTRY(WM_QUERYENDSESSION, c.result = AFX_WND(t)->OnQueryEndSession())
#define ON_WM_ENDSESSION() AFX_MSG_ENTRY(WM_ENDSESSION, AFX_WND(t)->OnEndSession(static_cast<BOOL>(c.wParam)))

// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) \
  AFX_MSG_ENTRY(static_cast<UINT>(message), c.result = AFX_WND(t)->memberFxn(c.wParam, c.lParam))
// nMessageVariable is a UINT variable holding a RegisterWindowMessage number.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                 \
  {0, 0, 0, 0, &(nMessageVariable),                                                        \
   [](CCmdTarget* t, AfxCall& c) { c.result = AFX_WND(t)->memberFxn(c.wParam, c.lParam); }},
// LRESULT memberFxn(WPARAM, LPARAM) for a message posted with a null window (thread message).
#define ON_THREAD_MESSAGE(message, memberFxn)                                              \
  {static_cast<UINT>(message), 0, 0, 0, nullptr,                                           \
   [](CCmdTarget* t, AfxCall& c) { AFX_WND(t)->memberFxn(c.wParam, c.lParam); }},

// Reflected to the control: HBRUSH CtlColor(CDC*, UINT nCtlColor); a null brush lets the parent decide.
#define ON_WM_CTLCOLOR_REFLECT()                                                                  \
  AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_CTLCOLORMSGBOX,                                               \
                c.result = reinterpret_cast<LRESULT>(AFX_WND(t)->CtlColor(AFX_CDC(c.wParam), static_cast<UINT>(c.nCode))); \
                c.handled = c.result != 0)
// Reflected: void DrawItem(LPDRAWITEMSTRUCT)
#define ON_WM_DRAWITEM_REFLECT()                                                                  \
  AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM,                                                     \
                AFX_WND(t)->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(c.lParam)); c.result = TRUE)
// Reflected: void MeasureItem(LPMEASUREITEMSTRUCT)
#define ON_WM_MEASUREITEM_REFLECT()                                                               \
  AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM,                                                  \
                AFX_WND(t)->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(c.lParam)); c.result = TRUE)
// Reflected: void HScroll(UINT code, UINT pos) / VScroll
#define ON_WM_HSCROLL_REFLECT() \
  AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, AFX_WND(t)->HScroll(LOWORD(c.wParam), static_cast<SHORT>(HIWORD(c.wParam))))
#define ON_WM_VSCROLL_REFLECT() \
  AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, AFX_WND(t)->VScroll(LOWORD(c.wParam), static_cast<SHORT>(HIWORD(c.wParam))))

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "../process/WindowHooks.h"
#include "WindowTable.h"
#include "platform/msgbox.h"
#include "platform/resources.h"
#include "platform/windows.h"

using platform::detail::Find;
using platform::detail::WindowState;

namespace {

bool IsCtlColor(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// The map lookup for a window message: which entry kind it is filed under, and the code the
// handler receives in AfxCall::nCode.
struct MapKey {
  UINT message;
  int code;
  int callCode;
};

MapKey KeyOf(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsCtlColor(message)) return {WM_CTLCOLORMSGBOX, 0, static_cast<int>(message - WM_CTLCOLORMSGBOX)};
  if (message >= WM_REFLECT_BASE && IsCtlColor(message - WM_REFLECT_BASE)) {
    return {WM_REFLECT_BASE + WM_CTLCOLORMSGBOX, 0, static_cast<int>(message - WM_REFLECT_BASE - WM_CTLCOLORMSGBOX)};
  }
  if (message == WM_REFLECT_BASE + WM_COMMAND) {
    int code = static_cast<SHORT>(HIWORD(wParam));
    return {message, code, code};
  }
  if (message == WM_REFLECT_BASE + WM_NOTIFY) {
    int code = lParam ? static_cast<int>(reinterpret_cast<NMHDR*>(lParam)->code) : 0;
    return {message, code, code};
  }
  return {message, 0, 0};
}

}  // namespace

// Dispatch helpers that need CWnd's protected parts.
struct WindowDispatch {
  static BOOL Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* wnd = CWnd::FromHandlePermanent(child);
    return wnd ? wnd->OnChildNotify(message, wParam, lParam, result) : FALSE;
  }
};

// ---- life cycle ----

CWnd::~CWnd() {
  if (m_temporary || !m_hWnd) return;
  HWND hwnd = m_hWnd;
  WindowState* s = Find(hwnd);
  if (s && s->wnd == this) {
    s->wnd = nullptr;  // messages of the dying window must not reach a destroyed object
    if (!s->destroying) ::DestroyWindow(hwnd);
  }
  m_hWnd = nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s) return platform::detail::ForeignWindowObject(hwnd);
  if (s->wnd) return s->wnd;
  if (!s->temporary) {
    s->temporary = std::make_unique<CWnd>();
    s->temporary->m_hWnd = hwnd;
    s->temporary->m_temporary = true;
  }
  return s->temporary.get();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  WindowState* s = Find(hwnd);
  return s ? s->wnd : nullptr;
}

BOOL CWnd::Attach(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s || m_hWnd || (s->wnd && s->wnd != this)) return FALSE;
  s->wnd = this;
  m_hWnd = hwnd;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hwnd = m_hWnd;
  WindowState* s = Find(hwnd);
  if (s && s->wnd == this) s->wnd = nullptr;
  m_hWnd = nullptr;
  return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd) { return Attach(hwnd); }

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow() { return Detach(); }

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id,
                  CCreateContext* context) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parentWnd, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parentWnd, UINT id, LPVOID param) {
  return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, parentWnd ? parentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param) {
  if (m_hWnd) return FALSE;
  CREATESTRUCT cs{param, AfxGetInstanceHandle(), idOrMenu, parent, height, width, y, x,
                  static_cast<LONG>(style), windowName, className, exStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  return platform::detail::CreateWindowState(cs, this) != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE; }

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = "AfxWnd";
  return TRUE;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

// ---- dispatch ----

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  LRESULT local = 0;
  if (!result) result = &local;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *result = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    return header && header->hwndFrom && OnNotify(wParam, lParam, result);
  }
  MapKey key = KeyOf(message, wParam, lParam);
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(key.message, key.code, 0);
  if (!entry) {
    // Unhandled control messages go to the control itself first.
    if (IsCtlColor(message) && WindowDispatch::Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result)) return TRUE;
    return FALSE;
  }
  AfxCall call;
  call.message = message;
  call.wParam = wParam;
  call.lParam = lParam;
  call.nCode = key.callCode;
  call.result = *result;
  // The handler may destroy and delete this window: only call and result are used afterwards.
  entry->pfn(this, call);
  *result = call.result;
  return call.handled;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  WindowState* s = Find(m_hWnd);
  if (!s) return 0;
  if (s->proc) return s->proc(m_hWnd, message, wParam, lParam);
  return ::DefWindowProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  int code = static_cast<SHORT>(HIWORD(wParam));
  if (!control) {
    // A menu or accelerator command that has been disabled meanwhile is dropped.
    platform::CmdUIProbe state(id);
    state.m_bEnableChanged = FALSE;
    OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
    if (state.enableSet && !state.enabled) return TRUE;
    code = CN_COMMAND;
  } else {
    LRESULT ignored = 0;
    if (WindowDispatch::Reflect(control, WM_COMMAND, wParam, lParam, &ignored)) return TRUE;
  }
  return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (WindowDispatch::Reflect(header->hwndFrom, WM_NOTIFY, 0, lParam, result)) return TRUE;
  AFX_NOTIFY notify{result, header};
  return OnCmdMsg(static_cast<UINT>(header->idFrom), static_cast<int>(MAKELONG(static_cast<WORD>(header->code), WM_NOTIFY)),
                  &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, result);
}

LRESULT CWnd::Default() {
  const MSG* msg = platform::detail::CurrentMessage();
  return msg ? DefWindowProc(msg->message, msg->wParam, msg->lParam) : 0;
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const { return ::GetWindowPlacement(m_hWnd, placement); }
BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) { return ::SetWindowPlacement(m_hWnd, placement); }

const MSG* CWnd::GetCurrentMessage() { return platform::detail::CurrentMessage(); }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
  const bool key = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) || msg->message == WM_IME_CHAR;
  for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
    if (hwnd == stop) break;
    // GetParent goes on from a pop-up to its owner: a key typed into a dialog, a message box or
    // any window of its own ends there, and the owner's accelerators never see it.
    if (key && !(::GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD)) break;
  }
  return FALSE;
}

// ---- messages ----

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) { return ::SendMessage(m_hWnd, message, wParam, lParam); }
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) { return ::PostMessage(m_hWnd, message, wParam, lParam); }

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendDlgItemMessage(m_hWnd, id, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) {
  for (HWND child : platform::ChildWindows(m_hWnd)) {
    if (!::IsWindow(child)) continue;
    ::SendMessage(child, message, wParam, lParam);
    if (deep) {
      if (CWnd* c = FromHandle(child)) c->SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
  }
}

// ---- family ----

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::SetParent(CWnd* newParent) { return FromHandle(::SetParent(m_hWnd, newParent ? newParent->m_hWnd : nullptr)); }

CWnd* CWnd::GetOwner() const {
  WindowState* s = Find(m_hWnd);
  if (!s) return nullptr;
  return FromHandle(s->owner ? s->owner : s->parent);
}

CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestorTopLevel(m_hWnd)); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtr(m_hWnd, GWL_ID, id)); }
CWnd* CWnd::GetWindow(UINT relation) const { return FromHandle(::GetWindow(m_hWnd, relation)); }
CWnd* CWnd::GetNextWindow(UINT relation) const { return FromHandle(::GetWindow(m_hWnd, relation)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
BOOL CWnd::IsChild(const CWnd* wnd) const { return wnd ? ::IsChild(m_hWnd, wnd->m_hWnd) : FALSE; }
CWnd* CWnd::ChildWindowFromPoint(POINT clientPoint) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, clientPoint)); }

// ---- text ----

void CWnd::SetWindowText(LPCTSTR text) { ::SetWindowText(m_hWnd, text); }
HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
  return reinterpret_cast<HICON>(
      ::SendMessage(m_hWnd, WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
HICON CWnd::GetIcon(BOOL bigIcon) const {
  return reinterpret_cast<HICON>(::SendMessage(m_hWnd, WM_GETICON, bigIcon ? ICON_BIG : ICON_SMALL, 0));
}
int CWnd::GetWindowText(LPTSTR buffer, int maxCount) const { return ::GetWindowText(m_hWnd, buffer, maxCount); }

void CWnd::GetWindowText(CString& text) const {
  int length = GetWindowTextLength();
  char* buffer = text.GetBufferSetLength(length);
  ::GetWindowText(m_hWnd, buffer, length + 1);
  text.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
void CWnd::SetDlgItemText(int id, LPCTSTR text) { ::SetDlgItemText(m_hWnd, id, text); }

int CWnd::GetDlgItemText(int id, CString& text) const {
  text.Empty();
  CWnd* item = GetDlgItem(id);
  if (!item) return 0;
  item->GetWindowText(text);
  return text.GetLength();
}

int CWnd::GetDlgItemText(int id, LPTSTR buffer, int maxCount) const {
  return static_cast<int>(::GetDlgItemText(m_hWnd, id, buffer, maxCount));
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
  CString text;
  if (isSigned) {
    text.Format("%d", static_cast<int>(value));
  } else {
    text.Format("%u", value);
  }
  SetDlgItemText(id, text);
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  CString text;
  GetDlgItemText(id, text);
  text.Trim();
  const char* begin = text.GetString();
  char* end = nullptr;
  long long value = isSigned ? std::strtoll(begin, &end, 10) : static_cast<long long>(std::strtoull(begin, &end, 10));
  bool ok = end != begin && *end == '\0' && (isSigned || begin[0] != '-');
  if (translated) *translated = ok ? TRUE : FALSE;
  return ok ? static_cast<UINT>(value) : 0;
}

void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }

// ---- geometry ----

void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::ClientToScreen(LPRECT rect) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ScreenToClient(LPRECT rect) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const {
  ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, points, count);
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
  ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  // The special insert-after values arrive as CWnd pointers holding the handle values.
  HWND after = reinterpret_cast<HWND>(const_cast<CWnd*>(insertAfter));
  if (insertAfter && ::IsWindow(insertAfter->m_hWnd)) after = insertAfter->m_hWnd;
  return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
}

void CWnd::CalcWindowRect(LPRECT clientRect, UINT) {
  WindowState* s = Find(m_hWnd);
  if (!s || !clientRect) return;
  RECT in = platform::detail::ClientInsets(*s);
  clientRect->left -= in.left;
  clientRect->top -= in.top;
  clientRect->right += in.right;
  clientRect->bottom += in.bottom;
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
  RECT mine{};
  GetWindowRect(&mine);
  RECT area{0, 0, platform::GetScreenSize().cx, platform::GetScreenSize().cy};
  CWnd* owner = alternateOwner ? alternateOwner : GetOwner();
  if (owner && owner->m_hWnd && owner->IsWindowVisible()) owner->GetWindowRect(&area);
  int w = mine.right - mine.left;
  int h = mine.bottom - mine.top;
  POINT topLeft{(area.left + area.right - w) / 2, (area.top + area.bottom - h) / 2};
  if (HWND parent = ::GetParent(m_hWnd); parent && (GetStyle() & WS_CHILD)) ::ScreenToClient(parent, &topLeft);
  SetWindowPos(nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }

// ---- state ----

BOOL CWnd::ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtr(m_hWnd, GWL_EXSTYLE)); }

namespace {

BOOL ModifyLong(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
  if (!::IsWindow(hwnd)) return FALSE;
  DWORD old = static_cast<DWORD>(::GetWindowLongPtr(hwnd, index));
  DWORD next = (old & ~remove) | add;
  if (next == old) return FALSE;
  ::SetWindowLongPtr(hwnd, index, static_cast<LONG_PTR>(next));
  if (flags) ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

}  // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) { return ModifyLong(m_hWnd, GWL_STYLE, remove, add, flags); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) { return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
void CWnd::HideCaret() { ::HideCaret(m_hWnd); }
void CWnd::ShowCaret() { ::ShowCaret(m_hWnd); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* CWnd::GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
void CWnd::BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
CWnd* CWnd::GetDesktopWindow() { return nullptr; }
CWnd* CWnd::WindowFromPoint(POINT screenPoint) { return FromHandle(::WindowFromPoint(screenPoint)); }

HMENU CWnd::GetMenuHandle() const {
  WindowState* s = Find(m_hWnd);
  return s && !s->parent ? s->menu : nullptr;
}

void CWnd::SetRedraw(BOOL redraw) { SendMessage(WM_SETREDRAW, redraw, 0); }

// ---- painting ----

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT rect, void* region, UINT flags) { return ::RedrawWindow(m_hWnd, rect, region, flags); }
BOOL CWnd::GetUpdateRect(LPRECT rect, BOOL erase) { return ::GetUpdateRect(m_hWnd, rect, erase); }
CDC* CWnd::BeginPaint(PAINTSTRUCT* paint) { return platform::DcFromHandle(::BeginPaint(m_hWnd, paint)); }
void CWnd::EndPaint(PAINTSTRUCT* paint) { ::EndPaint(m_hWnd, paint); }
CDC* CWnd::GetDC() { return platform::DcFromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return platform::DcFromHandle(::GetWindowDC(m_hWnd)); }

int CWnd::ReleaseDC(CDC* dc) {
  return dc ? ::ReleaseDC(m_hWnd, platform::detail::HandleOfDc(dc)) : 0;
}

// ---- timers, message boxes, command UI ----

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
  return ::MessageBox(m_hWnd, text, caption ? caption : platform::AppName(), type);
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler) {
  CCmdUI state;
  for (HWND child : platform::ChildWindows(m_hWnd)) {
    CWnd* wnd = FromHandle(child);
    if (!wnd) continue;
    state.m_pOther = wnd;
    state.m_nID = static_cast<UINT>(wnd->GetDlgCtrlID());
    // Static texts and unnamed children are never commands.
    if (state.m_nID == 0 || state.m_nID == 0xFFFF) continue;
    state.DoUpdate(target, disableIfNoHandler);
  }
}

// ---- default handlers ----

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }

void CWnd::OnHScroll(UINT, UINT, CScrollBar* scrollBar) {
  const MSG* msg = GetCurrentMessage();
  LRESULT result = 0;
  if (scrollBar && msg && WindowDispatch::Reflect(reinterpret_cast<CWnd*>(scrollBar)->m_hWnd, WM_HSCROLL, msg->wParam, msg->lParam, &result)) return;
  Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* scrollBar) {
  const MSG* msg = GetCurrentMessage();
  LRESULT result = 0;
  if (scrollBar && msg && WindowDispatch::Reflect(reinterpret_cast<CWnd*>(scrollBar)->m_hWnd, WM_VSCROLL, msg->wParam, msg->lParam, &result)) return;
  Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* wnd, UINT) {
  const MSG* msg = GetCurrentMessage();
  LRESULT result = 0;
  if (wnd && msg && WindowDispatch::Reflect(wnd->m_hWnd, msg->message, msg->wParam, msg->lParam, &result)) {
    return reinterpret_cast<HBRUSH>(result);
  }
  return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT item) {
  LRESULT result = 0;
  if (item && item->CtlType != ODT_MENU &&
      WindowDispatch::Reflect(item->hwndItem, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(item), &result)) return;
  Default();
}

void CWnd::OnMeasureItem(int id, LPMEASUREITEMSTRUCT item) {
  LRESULT result = 0;
  if (item && item->CtlType != ODT_MENU &&
      WindowDispatch::Reflect(::GetDlgItem(m_hWnd, id), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(item), &result)) return;
  Default();
}

BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) { return static_cast<BOOL>(Default()); }
void CWnd::OnDropFiles(HDROP) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnSettingChange(UINT, LPCTSTR) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
BOOL CWnd::OnQueryNewPalette() { return static_cast<BOOL>(Default()); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
BOOL CWnd::OnQueryEndSession() { return static_cast<BOOL>(Default()); }
void CWnd::OnEndSession(BOOL) { Default(); }

// Messages from controls reach the controls' reflection handlers unless a window overrides them.
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_CTLCOLOR()
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
END_MESSAGE_MAP()

// The Win32 window functions over the window table.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "../controls/ControlModel.h"
#include "../display/DisplayBackend.h"
#include "../display/InputRouting.h"
#include "../loop/Timers.h"
#include "../menus/MenuBar.h"
#include "../process/WindowHooks.h"
#include "ScrollBarPainter.h"
#include "ScrollBarTracker.h"
#include "WindowTable.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/object.h"
#include "platform/resources.h"
#include "platform/time.h"
#include "platform/windows.h"

using platform::detail::Find;
using platform::detail::WindowState;

namespace {

RECT ToRect(int x, int y, int cx, int cy) { return RECT{x, y, x + cx, y + cy}; }

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Client origin of a window in screen coordinates.
POINT ClientOriginOnScreen(const WindowState& s) {
  WindowState* top = platform::detail::TopLevelOf(s.hwnd);
  POINT o = platform::detail::ClientOriginInTop(s);
  return POINT{o.x + top->rect.left, o.y + top->rect.top};
}

void SendSizeAndMove(HWND hwnd, bool moved, bool sized) {
  WindowState* s = Find(hwnd);
  if (!s) return;
  if (moved) {
    RECT in = platform::detail::ClientInsets(*s);
    ::SendMessage(hwnd, WM_MOVE, 0,
                  MAKELPARAM(static_cast<WORD>(s->rect.left + in.left), static_cast<WORD>(s->rect.top + in.top)));
  }
  s = Find(hwnd);
  if (!s || !sized) return;
  RECT client = platform::detail::ClientRect(*s);
  UINT type = s->maximized ? SIZE_MAXIMIZED : (s->minimized ? SIZE_MINIMIZED : SIZE_RESTORED);
  ::SendMessage(hwnd, WM_SIZE, type, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
}

// Exposes what a child covered in its parent, and everything a moved or resized window shows.
void InvalidateAfterMove(HWND hwnd, const RECT& oldRect) {
  WindowState* s = Find(hwnd);
  if (!s || !(s->style & WS_VISIBLE)) return;
  if (s->parent) platform::detail::InvalidateClient(s->parent, &oldRect, true, false);
  platform::detail::InvalidateClient(hwnd, nullptr, true, true);
}

void ApplyZOrder(WindowState& s, HWND insertAfter) {
  std::vector<HWND>* list = nullptr;
  std::vector<HWND> tops;
  if (s.parent) {
    list = &Find(s.parent)->children;
  } else {
    return;  // top-level stacking is not modelled headless
  }
  std::erase(*list, s.hwnd);
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    list->insert(list->begin(), s.hwnd);
  } else if (insertAfter == HWND_BOTTOM) {
    list->push_back(s.hwnd);
  } else {
    auto it = std::find(list->begin(), list->end(), insertAfter);
    list->insert(it == list->end() ? list->end() : it + 1, s.hwnd);
  }
}

void ActivateTopLevel(HWND top) {
  HWND& active = platform::detail::ActiveHandle();
  if (active == top) return;
  HWND old = active;
  active = top;
  platform::detail::Display().WindowActivated(top);
  if (old && IsWindow(old)) ::SendMessage(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(top));
  if (IsWindow(top)) ::SendMessage(top, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
}

// The window in top that gets the focus when top is active again: the one that had it last,
// while it is still a usable window in top, else top itself.
HWND FocusToRestore(HWND top) {
  WindowState* t = Find(top);
  HWND last = t ? t->lastFocus : nullptr;
  if (last && last != top && IsWindow(last) && IsChild(top, last) && IsWindowVisible(last) && IsWindowEnabled(last)) {
    return last;
  }
  return top;
}

// A top-level window that has the keys is going away (hidden or destroyed): its owner (or the
// owner's owner) that is shown and enabled becomes active with the focus where it was, so keys
// keep a window to go to.
void HandOverActivation(HWND leaving) {
  HWND active = platform::detail::ActiveHandle();
  HWND focus = platform::detail::FocusHandle();
  bool hadKeys = active == leaving || (focus && GetAncestorTopLevel(focus) == leaving);
  if (!hadKeys) return;
  WindowState* s = Find(leaving);
  for (HWND owner = s ? s->owner : nullptr; owner; owner = Find(owner) ? Find(owner)->owner : nullptr) {
    if (owner == leaving || !Find(owner)) return;
    if (platform::detail::IsShowing(owner) && IsWindowEnabled(owner)) {
      SetFocus(FocusToRestore(owner));
      ActivateTopLevel(owner);
      return;
    }
  }
}

// A procedure set over an attached object sees every message before the object; without an
// object it replaces the window's procedure.
void SetProcedure(WindowState& s, WNDPROC proc) {
  if (s.wnd) {
    s.hook = proc == platform::detail::ObjectProc ? nullptr : proc;
  } else {
    s.proc = proc;
  }
}

platform::WindowDcHooks& DcHooks() {
  static platform::WindowDcHooks hooks;
  return hooks;
}

struct MessageNames {
  std::mutex mutex;
  std::unordered_map<std::string, UINT> numbers;
  UINT next{0xC000};
};

}  // namespace

// ---- creation and destruction ----

HWND CreateWindowEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, HINSTANCE instance, LPVOID param) {
  CREATESTRUCT cs{param, instance, idOrMenu, parent, height, width, y, x, static_cast<LONG>(style), windowName,
                  className, exStyle};
  return platform::detail::CreateWindowState(cs, nullptr);
}

HWND CreateWindow(LPCTSTR className, LPCTSTR windowName, DWORD style, int x, int y, int width, int height,
                  HWND parent, HMENU idOrMenu, HINSTANCE instance, LPVOID param) {
  return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, idOrMenu, instance, param);
}

BOOL DestroyWindow(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (s && !s->parent && !s->destroying) HandOverActivation(hwnd);
  if (!platform::detail::BeginDestroy(hwnd)) return FALSE;
  platform::detail::DestroyWindowState(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  WindowState* s = Find(hwnd);
  return s != nullptr || (hwnd && platform::detail::IsForeignWindow(hwnd));
}

// ---- messages ----

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !Find(hwnd)) return platform::detail::SendToForeignWindow(hwnd, message, wParam, lParam);
  return platform::detail::Deliver(hwnd, message, wParam, lParam);
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, message, wParam, lParam) : DefWindowProc(hwnd, message, wParam, lParam);
}

UINT RegisterWindowMessage(LPCTSTR name) {
  static MessageNames names;
  if (!name || !*name) return 0;
  std::lock_guard lock(names.mutex);
  auto [it, added] = names.numbers.emplace(name, names.next);
  if (added) ++names.next;
  return it->second;
}

namespace {

LRESULT DefSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  WindowState* s = Find(hwnd);
  if (s && s->parent && ::SendMessage(s->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  s = Find(hwnd);
  SHORT hit = static_cast<SHORT>(LOWORD(lParam));
  if (s && (hit == HTVSCROLL || hit == HTHSCROLL)) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
  }
  if (s && hit == HTCLIENT) {
    HCURSOR cursor = s->windowClass->cursor;
    SetCursor(cursor ? cursor : LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
  }
  return FALSE;
}

LRESULT DefGetText(WindowState& s, WPARAM size, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0) return 0;
  std::size_t n = std::min<std::size_t>(s.text.GetLength(), size - 1);
  std::memcpy(out, s.text.GetString(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

LRESULT DefSysCommand(HWND hwnd, WPARAM wParam) {
  switch (wParam & 0xFFF0) {
    case SC_CLOSE: ::SendMessage(hwnd, WM_CLOSE, 0, 0); break;
    case SC_MAXIMIZE: ShowWindow(hwnd, SW_MAXIMIZE); break;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
    default: break;
  }
  return 0;
}

// Messages a child passes up to its parent when it does not handle them.
LRESULT ForwardToParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT otherwise) {
  WindowState* s = Find(hwnd);
  if (s && s->parent) return ::SendMessage(s->parent, message, wParam, lParam);
  return otherwise;
}

// A child window whose only frame is WS_BORDER: one pixel drawn around its client area.
bool HasPlainBorder(const WindowState& s) {
  return s.parent && (s.style & WS_BORDER) && !(s.style & (WS_DLGFRAME | WS_THICKFRAME)) &&
         !(s.exStyle & WS_EX_DLGMODALFRAME);
}

bool HasScrollBars(const WindowState& s) { return (s.style & (WS_VSCROLL | WS_HSCROLL)) != 0; }

bool HasMenuBar(const WindowState& s) { return IsTopLevel(s) && s.menu != nullptr; }

// What the platform draws outside a window's client area: the plain border, the menu bar and the
// scroll bars.
void DrawNonClient(HWND hwnd, const WindowState& s) {
  if (HasMenuBar(s)) platform::detail::PaintMenuBar(hwnd);
  if (!HasPlainBorder(s) && !HasScrollBars(s)) return;
  HDC hdc = ::GetWindowDC(hwnd);
  CDC* dc = platform::DcFromHandle(hdc);
  if (dc && HasPlainBorder(s)) {
    RECT frame{0, 0, s.rect.right - s.rect.left, s.rect.bottom - s.rect.top};
    dc->Draw3dRect(&frame, RGB(0, 0, 0), RGB(0, 0, 0));
  }
  if (dc) platform::detail::ScrollBarPainter(hwnd).Paint(*dc);
  if (hdc) ::ReleaseDC(hwnd, hdc);
}

POINT ScreenPointOf(LPARAM lParam) { return POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))}; }

// The parts of the non-client area the mouse can work: the scroll bars.
LRESULT DefNcMouse(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  platform::detail::ScrollBarTracker& tracker = platform::detail::ScrollBarTracker::Current();
  switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTMENU) {
        platform::detail::MenuBarPress(hwnd, ScreenPointOf(lParam));
        break;
      }
      tracker.Press(hwnd, static_cast<int>(wParam), ScreenPointOf(lParam));
      break;
    case WM_NCMOUSEMOVE: tracker.Move(hwnd, ScreenPointOf(lParam)); break;
    case WM_NCLBUTTONUP: tracker.Release(hwnd, ScreenPointOf(lParam)); break;
    default: break;
  }
  return 0;
}

// F10 and Alt+letter work the menu bar of the top-level window, wherever the focus is; Alt+F4
// asks that window to close, through WM_SYSCOMMAND as its close box does.
LRESULT DefMenuKey(HWND hwnd, const WindowState& s, UINT message, WPARAM wParam, LPARAM lParam) {
  if (s.parent) return ForwardToParent(hwnd, message, wParam, lParam, 0);
  if (message == WM_SYSKEYDOWN && wParam == VK_F4 && (lParam & platform::detail::kAltContext) &&
      !(lParam & 0x40000000)) {
    ::SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  if (message == WM_SYSKEYDOWN && wParam == VK_F10) platform::detail::MenuBarKey(hwnd, 0);
  if (message == WM_SYSCHAR) platform::detail::MenuBarKey(hwnd, static_cast<char>(wParam));
  return 0;
}

LRESULT DefMouseWheel(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  // As on Windows, the default is never to scroll: controls scroll themselves, the rest pass it up.
  return ForwardToParent(hwnd, WM_MOUSEWHEEL, wParam, lParam, 0);
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowState* s = Find(hwnd);
  if (!s) return 0;
  switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_NCPAINT: DrawNonClient(hwnd, *s); return 0;
    case WM_NCHITTEST:
      if (HasMenuBar(*s) && platform::detail::MenuBarHitTest(hwnd, ScreenPointOf(lParam)) == HTMENU) return HTMENU;
      return platform::detail::ScrollBarHitTest(*s, ScreenPointOf(lParam));
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK: return DefNcMouse(hwnd, message, wParam, lParam);
    case WM_CAPTURECHANGED: platform::detail::ScrollBarTracker::Current().CaptureLost(hwnd); return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETTEXT:
      s->text = reinterpret_cast<LPCTSTR>(lParam) ? reinterpret_cast<LPCTSTR>(lParam) : "";
      if (!s->parent) platform::detail::Display().WindowTextChanged(hwnd);
      if (!s->parent) platform::detail::TopLevelWindowsChanged();
      return TRUE;
    case WM_SETICON: {
      // The previous icon of that size is the answer, as callers destroy or keep it.
      HICON& slot = s->icons[wParam == ICON_BIG ? ICON_BIG : ICON_SMALL];
      HICON previous = slot;
      slot = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON: return reinterpret_cast<LRESULT>(s->icons[wParam == ICON_BIG ? ICON_BIG : ICON_SMALL]);
    case WM_GETTEXT: return DefGetText(*s, wParam, lParam);
    case WM_GETTEXTLENGTH: return s->text.GetLength();
    case WM_SETCURSOR: return DefSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEWHEEL: return DefMouseWheel(hwnd, wParam, lParam);
    case WM_CONTEXTMENU: return ForwardToParent(hwnd, message, wParam, lParam, 0);
    case WM_RBUTTONUP: {
      // A right click not handled otherwise asks for the context menu, at the screen point.
      POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      ::ClientToScreen(hwnd, &at);
      ::SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                    MAKELPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
      return 0;
    }
    case WM_MOUSEACTIVATE: return ForwardToParent(hwnd, message, wParam, lParam, MA_ACTIVATE);
    case WM_SYSCOMMAND: return DefSysCommand(hwnd, wParam);
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR: return DefMenuKey(hwnd, *s, message, wParam, lParam);
    case WM_IME_CHAR:
      // A window that does not take whole characters gets the bytes, lead byte first.
      if (wParam >> 8) ::SendMessage(hwnd, WM_CHAR, (wParam >> 8) & 0xFF, lParam);
      if (::IsWindow(hwnd)) ::SendMessage(hwnd, WM_CHAR, wParam & 0xFF, lParam);
      return 0;
    case WM_SETREDRAW:
      s->redraw = wParam != 0;
      return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_QUERYNEWPALETTE: return FALSE;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(platform::detail::DefaultControlColors(reinterpret_cast<HDC>(wParam), message));
    default: return 0;
  }
}

// ---- family ----

HWND GetParent(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s) return nullptr;
  return s->parent ? s->parent : ((s->style & WS_POPUP) ? s->owner : nullptr);
}

HWND SetParent(HWND child, HWND newParent) {
  WindowState* s = Find(child);
  if (!s) return nullptr;
  HWND old = s->parent;
  RECT area = s->rect;
  bool visible = (s->style & WS_VISIBLE) != 0;
  if (!platform::detail::Reparent(child, newParent)) return nullptr;
  if (old && visible) platform::detail::InvalidateClient(old, &area, true, false);
  platform::detail::InvalidateClient(child, nullptr, true, true);
  return old;
}

HWND GetAncestorTopLevel(HWND hwnd) {
  WindowState* top = platform::detail::TopLevelOf(hwnd);
  return top ? top->hwnd : nullptr;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  WindowState* s = Find(hwnd);
  if (!s) return nullptr;
  if (relation == GW_CHILD) return s->children.empty() ? nullptr : s->children.front();
  if (relation == GW_OWNER) return s->owner;
  std::vector<HWND> siblings = s->parent ? Find(s->parent)->children : platform::detail::TopLevelWindows();
  auto it = std::find(siblings.begin(), siblings.end(), hwnd);
  switch (relation) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return (it + 1) < siblings.end() ? *(it + 1) : nullptr;
    case GW_HWNDPREV: return it > siblings.begin() ? *(it - 1) : nullptr;
    default: return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) {
    auto tops = platform::detail::TopLevelWindows();
    return tops.empty() ? nullptr : tops.front();
  }
  return GetWindow(hwnd, GW_CHILD);
}

HWND GetDlgItem(HWND dialog, int id) {
  WindowState* s = Find(dialog);
  if (!s) return nullptr;
  for (HWND child : s->children) {
    WindowState* c = Find(child);
    if (c && c->id == static_cast<UINT>(id)) return child;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  WindowState* s = Find(hwnd);
  return s ? static_cast<int>(s->id) : 0;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  if (!parent) return FALSE;
  for (WindowState* s = Find(hwnd); s && s->parent; s = Find(s->parent)) {
    if (s->parent == parent) return TRUE;
  }
  return FALSE;
}

namespace {

bool EnumDeep(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  WindowState* s = Find(parent);
  if (!s) return true;
  std::vector<HWND> children = s->children;
  for (HWND child : children) {
    if (!IsWindow(child)) continue;
    if (!proc(child, lParam)) return false;
    if (!EnumDeep(child, proc, lParam)) return false;
  }
  return true;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  EnumDeep(parent, proc, lParam);
  return TRUE;
}

HWND GetDesktopWindow() { return nullptr; }

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  WindowState* s = Find(parent);
  if (!s) return nullptr;
  RECT client = platform::detail::ClientRect(*s);
  if (!PtInRect(&client, clientPoint)) return nullptr;
  for (HWND child : s->children) {
    WindowState* c = Find(child);
    if (c && PtInRect(&c->rect, clientPoint)) return child;
  }
  return parent;
}

HWND WindowFromPoint(POINT screenPoint) {
  auto tops = platform::detail::TopLevelWindows();
  // Later windows are on top of earlier ones headless.
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    WindowState* t = Find(*it);
    if (!t || !(t->style & WS_VISIBLE) || !PtInRect(&t->rect, screenPoint)) continue;
    HWND found = *it;
    for (;;) {
      WindowState* f = Find(found);
      POINT local = screenPoint;
      ScreenToClient(found, &local);
      HWND deeper = nullptr;
      for (HWND child : f->children) {
        WindowState* c = Find(child);
        if (c && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED) && PtInRect(&c->rect, local)) {
          deeper = child;
          break;
        }
      }
      if (!deeper) return found;
      found = deeper;
    }
  }
  return nullptr;
}

// ---- text ----

BOOL SetWindowText(HWND hwnd, LPCTSTR text) {
  if (!IsWindow(hwnd)) return FALSE;
  return static_cast<BOOL>(::SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

int GetWindowText(HWND hwnd, LPTSTR buffer, int maxCount) {
  if (!buffer || maxCount <= 0) return 0;
  buffer[0] = '\0';
  return static_cast<int>(::SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) { return static_cast<int>(::SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetDlgItemText(HWND dialog, int id, LPCTSTR text) { return SetWindowText(GetDlgItem(dialog, id), text); }

UINT GetDlgItemText(HWND dialog, int id, LPTSTR buffer, int maxCount) {
  if (buffer && maxCount > 0) buffer[0] = '\0';
  HWND item = GetDlgItem(dialog, id);
  return item ? static_cast<UINT>(GetWindowText(item, buffer, maxCount)) : 0;
}

LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? ::SendMessage(item, message, wParam, lParam) : 0;
}

namespace {
constexpr UINT kButtonGetCheck = 0x00F0;
constexpr UINT kButtonSetCheck = 0x00F1;
}  // namespace

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  ::SendMessage(item, kButtonSetCheck, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendDlgItemMessage(dialog, id, kButtonGetCheck, 0, 0));
}

// ---- geometry ----

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  WindowState* s = Find(hwnd);
  if (!s || !rect) return FALSE;
  *rect = platform::detail::ClientRect(*s);
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  WindowState* s = Find(hwnd);
  if (!s || !rect) return FALSE;
  WindowState* top = platform::detail::TopLevelOf(hwnd);
  POINT o = platform::detail::WindowOriginInTop(*s);
  LONG w = s->rect.right - s->rect.left;
  LONG h = s->rect.bottom - s->rect.top;
  *rect = RECT{top->rect.left + o.x, top->rect.top + o.y, top->rect.left + o.x + w, top->rect.top + o.y + h};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  WindowState* s = Find(hwnd);
  if (!s || !point) return FALSE;
  POINT o = ClientOriginOnScreen(*s);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  WindowState* s = Find(hwnd);
  if (!s || !point) return FALSE;
  POINT o = ClientOriginOnScreen(*s);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a{0, 0};
  POINT b{0, 0};
  if (from) ClientToScreen(from, &a);
  if (to) ClientToScreen(to, &b);
  LONG dx = a.x - b.x;
  LONG dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

namespace {

// Lets a top-level window keep its size within the tracking limits it gives in WM_GETMINMAXINFO.
// Without limits of its own any size is kept, even one larger than the screen.
void ApplyTrackingLimits(HWND hwnd, WINDOWPOS& pos) {
  SIZE screen = platform::GetScreenSize();
  MINMAXINFO info{{0, 0}, {screen.cx, screen.cy}, {0, 0}, {0, 0},
                  {std::max<LONG>(screen.cx, pos.cx), std::max<LONG>(screen.cy, pos.cy)}};
  ::SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  LONG minX = std::max<LONG>(info.ptMinTrackSize.x, 0), minY = std::max<LONG>(info.ptMinTrackSize.y, 0);
  pos.cx = std::clamp<LONG>(pos.cx, minX, std::max<LONG>(info.ptMaxTrackSize.x, minX));
  pos.cy = std::clamp<LONG>(pos.cy, minY, std::max<LONG>(info.ptMaxTrackSize.y, minY));
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowState* s = Find(hwnd);
  if (!s) return FALSE;
  RECT old = s->rect;
  WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    pos.x = old.left;
    pos.y = old.top;
  }
  if (flags & SWP_NOSIZE) {
    pos.cx = old.right - old.left;
    pos.cy = old.bottom - old.top;
  } else if (IsTopLevel(*s)) {
    ApplyTrackingLimits(hwnd, pos);
    if (!Find(hwnd)) return FALSE;
  }
  if (!(flags & SWP_NOSENDCHANGING)) ::SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  s = Find(hwnd);
  if (!s) return FALSE;
  s->rect = ToRect(pos.x, pos.y, std::max(pos.cx, 0), std::max(pos.cy, 0));
  if (!(flags & SWP_NOZORDER)) ApplyZOrder(*s, pos.hwndInsertAfter);
  bool moved = old.left != s->rect.left || old.top != s->rect.top;
  bool sized = (old.right - old.left) != (s->rect.right - s->rect.left) ||
               (old.bottom - old.top) != (s->rect.bottom - s->rect.top) || (flags & SWP_FRAMECHANGED);
  if (!(flags & SWP_NOREDRAW) && (!SameRect(old, s->rect) || !(flags & SWP_NOZORDER) || (flags & SWP_FRAMECHANGED))) {
    InvalidateAfterMove(hwnd, old);
  }
  if (IsTopLevel(*s) && (moved || sized)) platform::detail::Display().WindowMoved(hwnd);
  ::SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  SendSizeAndMove(hwnd, moved, sized);
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  return IsWindow(hwnd);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  RECT in = platform::NonClientInsets(style, exStyle, menu != FALSE);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu) { return AdjustWindowRectEx(rect, style, menu, 0); }

namespace {

void Maximize(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s || s->maximized || s->parent) return;
  SIZE screen = platform::GetScreenSize();
  MINMAXINFO info{{0, 0}, {screen.cx, screen.cy}, {0, 0}, {0, 0}, {screen.cx, screen.cy}};
  ::SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  s = Find(hwnd);
  if (!s) return;
  s->restoreRect = s->rect;
  s->maximized = true;
  s->minimized = false;
  s->style |= WS_MAXIMIZE;
  s->style &= ~WS_MINIMIZE;
  SetWindowPos(hwnd, nullptr, info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x, info.ptMaxSize.y,
               SWP_NOZORDER | SWP_FRAMECHANGED);
  if (IsWindow(hwnd)) platform::detail::Display().WindowStateChanged(hwnd);
}

void Minimize(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s || s->minimized) return;
  if (!s->maximized) s->restoreRect = s->rect;
  s->minimized = true;
  s->style |= WS_MINIMIZE;
  RECT client = platform::detail::ClientRect(*s);
  (void)client;
  if (!s->parent) platform::detail::Display().WindowStateChanged(hwnd);
  ::SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
}

void Restore(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s || (!s->maximized && !s->minimized)) return;
  RECT r = s->restoreRect;
  s->maximized = false;
  s->minimized = false;
  s->style &= ~(WS_MAXIMIZE | WS_MINIMIZE);
  SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_FRAMECHANGED);
  if (IsWindow(hwnd) && !Find(hwnd)->parent) platform::detail::Display().WindowStateChanged(hwnd);
}

bool Activates(int cmdShow) {
  return cmdShow != SW_SHOWNA && cmdShow != SW_SHOWNOACTIVATE && cmdShow != SW_SHOWMINNOACTIVE &&
         cmdShow != SW_HIDE && cmdShow != SW_MINIMIZE && cmdShow != SW_SHOWMINIMIZED;
}

}  // namespace

BOOL ShowWindow(HWND hwnd, int cmdShow) {
  WindowState* s = Find(hwnd);
  if (!s) return FALSE;
  bool wasVisible = (s->style & WS_VISIBLE) != 0;
  bool show = cmdShow != SW_HIDE;
  if (show != wasVisible) {
    ::SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    s = Find(hwnd);
    if (!s) return wasVisible;
    if (show) {
      s->style |= WS_VISIBLE;
      platform::detail::InvalidateClient(hwnd, nullptr, true, true);
    } else {
      s->style &= ~WS_VISIBLE;
      if (s->parent) platform::detail::InvalidateClient(s->parent, &s->rect, true, false);
      if (!s->parent) {
        HandOverActivation(hwnd);
        s = Find(hwnd);
        if (!s) return wasVisible;
      }
      HWND focus = platform::detail::FocusHandle();
      if (focus && (focus == hwnd || IsChild(hwnd, focus))) SetFocus(s->parent);
    }
  }
  if (show != wasVisible && !s->parent) platform::detail::Display().WindowShown(hwnd, show);
  if (show != wasVisible && Find(hwnd) && !Find(hwnd)->parent) platform::detail::TopLevelWindowsChanged();
  switch (cmdShow) {
    case SW_SHOWMAXIMIZED: Maximize(hwnd); break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: Minimize(hwnd); break;
    case SW_RESTORE:
    case SW_SHOWNORMAL: Restore(hwnd); break;
    default: break;
  }
  s = Find(hwnd);
  if (s && show && !s->parent && Activates(cmdShow)) {
    ActivateTopLevel(hwnd);
    HWND focus = platform::detail::FocusHandle();
    if (!focus || GetAncestorTopLevel(focus) != hwnd) SetFocus(hwnd);
  }
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) { return platform::detail::IsShowing(hwnd); }

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  WindowState* s = Find(hwnd);
  if (!s) return FALSE;
  bool wasDisabled = (s->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  const bool closeWaiting = enable && s->closeWaiting;
  if (enable) {
    s->style &= ~WS_DISABLED;
    s->closeWaiting = false;
  } else {
    s->style |= WS_DISABLED;
    if (platform::detail::FocusHandle() == hwnd) SetFocus(nullptr);
    // Neither it nor a window in it keeps the mouse: a button held down in it lets go unclicked.
    HWND capture = platform::detail::CaptureHandle();
    if (capture && (capture == hwnd || IsChild(hwnd, capture))) ReleaseCapture();
  }
  ::SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  platform::detail::InvalidateClient(hwnd, nullptr, true, true);
  // The close held off comes now, through the queue, once the modal loop has returned.
  if (closeWaiting) ::PostMessage(hwnd, WM_CLOSE, 0, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  WindowState* s = Find(hwnd);
  return s && !(s->style & WS_DISABLED);
}

BOOL IsIconic(HWND hwnd) {
  WindowState* s = Find(hwnd);
  return s && s->minimized;
}

BOOL IsZoomed(HWND hwnd) {
  WindowState* s = Find(hwnd);
  return s && s->maximized;
}

BOOL GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* placement) {
  WindowState* s = Find(hwnd);
  if (!s || !placement) return FALSE;
  placement->flags = 0;
  if (s->maximized) {
    placement->showCmd = SW_SHOWMAXIMIZED;
  } else if (s->minimized) {
    placement->showCmd = SW_SHOWMINIMIZED;
  } else {
    placement->showCmd = (s->style & WS_VISIBLE) ? SW_SHOWNORMAL : SW_HIDE;
  }
  placement->rcNormalPosition = (s->maximized || s->minimized) ? s->restoreRect : s->rect;
  return TRUE;
}

BOOL SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* placement) {
  WindowState* s = Find(hwnd);
  if (!s || !placement) return FALSE;
  const RECT& r = placement->rcNormalPosition;
  if (s->maximized || s->minimized) {
    s->restoreRect = r;
  } else {
    ::MoveWindow(hwnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
  if (IsWindow(hwnd)) ShowWindow(hwnd, static_cast<int>(placement->showCmd));
  return IsWindow(hwnd);
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  WindowState* s = Find(hwnd);
  if (!s) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG_PTR>(s->style);
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(s->exStyle);
    case GWL_ID: return static_cast<LONG_PTR>(s->id);
    case GWL_USERDATA: return s->userData;
    case GWL_WNDPROC: {
      // With an object attached, the object comes first in the chain of procedures.
      WNDPROC current = s->wnd ? (s->hook ? s->hook : platform::detail::ObjectProc) : s->proc;
      return reinterpret_cast<LONG_PTR>(current);
    }
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(s->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(s->parent ? s->parent : s->owner);
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  WindowState* s = Find(hwnd);
  if (!s) return 0;
  LONG_PTR old = GetWindowLongPtr(hwnd, index);
  switch (index) {
    case GWL_STYLE: s->style = static_cast<DWORD>(value); break;
    case GWL_EXSTYLE: s->exStyle = static_cast<DWORD>(value); break;
    case GWL_ID: s->id = static_cast<UINT>(value); break;
    case GWL_USERDATA: s->userData = value; break;
    case GWL_WNDPROC: SetProcedure(*s, reinterpret_cast<WNDPROC>(value)); break;
    default: return 0;
  }
  return old;
}

LONG GetWindowLong(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtr(hwnd, index)); }
LONG SetWindowLong(HWND hwnd, int index, LONG value) { return static_cast<LONG>(SetWindowLongPtr(hwnd, index, value)); }

// ---- focus, capture, activation ----

HWND SetFocus(HWND hwnd) {
  HWND& focus = platform::detail::FocusHandle();
  HWND old = focus;
  if (hwnd && !IsWindow(hwnd)) return nullptr;
  if (old == hwnd) return old;
  if (old && IsWindow(old)) ::SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && !IsWindow(hwnd)) return old;
  focus = hwnd;
  if (hwnd) {
    HWND top = GetAncestorTopLevel(hwnd);
    if (WindowState* t = Find(top)) t->lastFocus = hwnd;
    ActivateTopLevel(top);
    if (focus == hwnd) ::SendMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
  return old;
}

HWND GetFocus() { return platform::detail::FocusHandle(); }

HWND SetCapture(HWND hwnd) {
  HWND& capture = platform::detail::CaptureHandle();
  HWND old = capture;
  if (!IsWindow(hwnd)) return old;
  capture = hwnd;
  platform::detail::Display().CaptureChanged(hwnd);
  if (old && old != hwnd && IsWindow(old)) ::SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  HWND& capture = platform::detail::CaptureHandle();
  HWND old = capture;
  capture = nullptr;
  if (old) platform::detail::Display().CaptureChanged(nullptr);
  if (old && IsWindow(old)) ::SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return platform::detail::CaptureHandle(); }

HWND SetActiveWindow(HWND hwnd) {
  HWND old = platform::detail::ActiveHandle();
  HWND top = GetAncestorTopLevel(hwnd);
  if (top) ActivateTopLevel(top);
  return old;
}

HWND GetActiveWindow() { return platform::detail::ActiveHandle(); }
BOOL SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd) != hwnd || IsWindow(hwnd); }
HWND GetForegroundWindow() { return platform::detail::ActiveHandle(); }

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// ---- painting ----

BOOL InvalidateRect(HWND hwnd, LPCRECT rect, BOOL erase) {
  if (!hwnd) {
    for (HWND top : platform::detail::TopLevelWindows()) platform::detail::InvalidateClient(top, nullptr, erase, true);
    return TRUE;
  }
  if (!IsWindow(hwnd)) return FALSE;
  platform::detail::InvalidateClient(hwnd, rect, erase != FALSE, true);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, LPCRECT rect) {
  if (!IsWindow(hwnd)) return FALSE;
  platform::detail::ValidateClient(hwnd, rect);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
  WindowState* s = Find(hwnd);
  if (!s) return FALSE;
  if (rect) *rect = s->invalid;
  return !(s->invalid.left >= s->invalid.right || s->invalid.top >= s->invalid.bottom);
}

BOOL UpdateWindow(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s) return FALSE;
  RECT inv = s->invalid;
  if (inv.left < inv.right && inv.top < inv.bottom && platform::detail::IsShowing(hwnd)) {
    MSG msg{hwnd, WM_PAINT, 0, 0, GetTickCount(), {0, 0}};
    DispatchMessage(&msg);
  }
  return TRUE;
}

namespace {

void UpdateTree(HWND hwnd) {
  UpdateWindow(hwnd);
  WindowState* s = Find(hwnd);
  if (!s) return;
  std::vector<HWND> children = s->children;
  for (auto it = children.rbegin(); it != children.rend(); ++it) UpdateTree(*it);
}

}  // namespace

BOOL RedrawWindow(HWND hwnd, LPCRECT rect, void*, UINT flags) {
  if (!IsWindow(hwnd)) return FALSE;
  if (flags & RDW_INVALIDATE) platform::detail::InvalidateClient(hwnd, rect, (flags & RDW_ERASE) != 0, true);
  if (flags & RDW_VALIDATE) platform::detail::ValidateClient(hwnd, rect);
  if (flags & RDW_UPDATENOW) {
    if (flags & RDW_ALLCHILDREN) {
      UpdateTree(hwnd);
    } else {
      UpdateWindow(hwnd);
    }
  }
  return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  WindowState* s = Find(hwnd);
  if (!s || !paint) return nullptr;
  // The frame and bars are drawn with every paint of the client, which covers every time they can be spoilt.
  if (HasPlainBorder(*s) || HasScrollBars(*s) || HasMenuBar(*s)) {
    ::SendMessage(hwnd, WM_NCPAINT, 1, 0);
    s = Find(hwnd);
    if (!s) return nullptr;
  }
  *paint = PAINTSTRUCT{};
  paint->rcPaint = s->invalid;
  paint->fErase = s->erase ? TRUE : FALSE;
  s->invalid = RECT{0, 0, 0, 0};
  s->erase = false;
  ++s->paintsBegun;
  const platform::WindowDcHooks& hooks = DcHooks();
  if (hooks.acquire) paint->hdc = hooks.acquire(hwnd, false, &paint->rcPaint);
  if (paint->fErase && paint->hdc) {
    if (::SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0)) paint->fErase = FALSE;
  }
  return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  const platform::WindowDcHooks& hooks = DcHooks();
  if (paint->hdc && hooks.release) hooks.release(hwnd, paint->hdc);
  platform::detail::Display().SurfaceChanged(hwnd);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  const platform::WindowDcHooks& hooks = DcHooks();
  return hooks.acquire && IsWindow(hwnd) ? hooks.acquire(hwnd, false, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hwnd) {
  const platform::WindowDcHooks& hooks = DcHooks();
  return hooks.acquire && IsWindow(hwnd) ? hooks.acquire(hwnd, true, nullptr) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC dc) {
  const platform::WindowDcHooks& hooks = DcHooks();
  if (!dc || !hooks.release) return 0;
  hooks.release(hwnd, dc);
  platform::detail::Display().SurfaceChanged(hwnd);
  return 1;
}

// ---- timers ----

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !IsWindow(hwnd)) return 0;
  UINT_PTR result = platform::detail::AddTimer(hwnd, id, elapse, proc);
  return hwnd && id == 0 ? 1 : result;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) { return platform::detail::RemoveTimer(hwnd, id) ? TRUE : FALSE; }

// ---- input state ----

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = platform::detail::CursorPosition();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  platform::detail::CursorPosition() = platform::detail::ClampToCursorClip(POINT{x, y});
  return TRUE;
}

BOOL ClipCursor(const RECT* rect) {
  std::optional<RECT>& clip = platform::detail::CursorClip();
  if (!rect) {
    clip.reset();
    return TRUE;
  }
  RECT r = *rect;
  if (r.right < r.left) std::swap(r.left, r.right);
  if (r.bottom < r.top) std::swap(r.top, r.bottom);
  // An empty rectangle still holds the cursor on its one point.
  r.right = std::max(r.right, r.left + 1);
  r.bottom = std::max(r.bottom, r.top + 1);
  clip = r;
  POINT& cursor = platform::detail::CursorPosition();
  cursor = platform::detail::ClampToCursorClip(cursor);
  return TRUE;
}

BOOL GetClipCursor(LPRECT rect) {
  if (!rect) return FALSE;
  const std::optional<RECT>& clip = platform::detail::CursorClip();
  *rect = clip ? *clip : RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  return TRUE;
}

SHORT GetKeyState(int virtualKey) {
  return platform::detail::KeyDownState(virtualKey) ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetAsyncKeyState(int virtualKey) { return GetKeyState(virtualKey); }

void MessageBeep(UINT) {}

// ---- classes ----

BOOL RegisterClass(const WNDCLASS* wndClass) {
  return wndClass && platform::detail::RegisterWindowClass(*wndClass) ? TRUE : FALSE;
}

BOOL GetClassInfo(HINSTANCE, LPCTSTR className, WNDCLASS* out) {
  const platform::detail::WindowClass* cls = platform::detail::FindClass(className);
  if (!cls || !out) return FALSE;
  *out = WNDCLASS{cls->style, cls->proc, 0, 0, cls->instance, cls->icon, cls->cursor, cls->background,
                  nullptr, cls->name.c_str()};
  return TRUE;
}

BOOL UnregisterClass(LPCTSTR className, HINSTANCE) {
  return platform::detail::UnregisterWindowClass(className) ? TRUE : FALSE;
}

LPCTSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  char name[96];
  std::snprintf(name, sizeof name, "Afx:%x:%lx:%lx:%lx", classStyle,
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(cursor)),
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(background)),
                static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(icon)));
  const platform::detail::WindowClass* cls = platform::detail::FindClass(name);
  if (!cls) {
    WNDCLASS wc{classStyle, nullptr, 0, 0, nullptr, icon, cursor, background, nullptr, name};
    platform::detail::RegisterWindowClass(wc);
    cls = platform::detail::FindClass(name);
  }
  return cls->name.c_str();
}

BOOL AfxRegisterClass(WNDCLASS* wndClass) {
  if (!wndClass) return FALSE;
  if (platform::detail::FindClass(wndClass->lpszClassName)) return TRUE;
  return RegisterClass(wndClass);
}

int GetClassName(HWND hwnd, LPTSTR buffer, int maxCount) {
  WindowState* s = Find(hwnd);
  if (!s || !buffer || maxCount <= 0) return 0;
  return platform::CopyToBuffer(s->windowClass->name.c_str(), buffer, static_cast<UINT>(maxCount))
             ? static_cast<int>(std::min<std::size_t>(s->windowClass->name.size(), maxCount - 1))
             : 0;
}

// ---- platform extras ----

HDC platform::detail::HandleOfDc(CDC* dc) {
  const platform::WindowDcHooks& hooks = DcHooks();
  return dc && hooks.handleOf ? hooks.handleOf(dc) : nullptr;
}

namespace platform {

void SetWindowDcHooks(const WindowDcHooks& hooks) { DcHooks() = hooks; }

CDC* DcFromHandle(HDC dc) {
  const WindowDcHooks& hooks = DcHooks();
  return dc && hooks.fromHandle ? hooks.fromHandle(dc) : nullptr;
}

namespace {

SIZE& ScreenSize() {
  static SIZE size = [] {
    SIZE s{1024, 768};
    if (const char* env = std::getenv("PLATFORM_SCREEN")) {
      int w = 0;
      int h = 0;
      if (std::sscanf(env, "%dx%d", &w, &h) == 2 && w > 0 && h > 0) s = SIZE{w, h};
    }
    return s;
  }();
  return size;
}

std::string& AppNameStorage() {
  static std::string name;
  return name;
}

}  // namespace

SIZE GetScreenSize() { return ScreenSize(); }
void SetScreenSize(SIZE size) { ScreenSize() = size; }

std::vector<HWND> AllWindows() { return detail::AllWindowsInOrder(); }

std::vector<HWND> ChildWindows(HWND hwnd) {
  detail::WindowState* s = detail::Find(hwnd);
  return s ? s->children : std::vector<HWND>{};
}

CString WindowClassName(HWND hwnd) {
  detail::WindowState* s = detail::Find(hwnd);
  return s ? CString(s->windowClass->name.c_str()) : CString();
}

void DestroyAllWindows() {
  for (HWND top : detail::TopLevelWindows()) ::DestroyWindow(top);
  detail::ClearTimers();
  detail::FocusHandle() = nullptr;
  detail::CaptureHandle() = nullptr;
  detail::ActiveHandle() = nullptr;
}

RECT InvalidRect(HWND hwnd) {
  detail::WindowState* s = detail::Find(hwnd);
  return s ? s->invalid : RECT{0, 0, 0, 0};
}

RECT NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu) {
  // Classic metrics: border 1, dialog frame 3, sizing frame 4, caption 19 (16 for tool windows),
  // menu bar 19, client edge 2, static edge 1.
  LONG frame = 0;
  if (style & WS_THICKFRAME) {
    frame = 4;
  } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
    frame = 3;
  } else if (style & WS_BORDER) {
    frame = 1;
  }
  if (exStyle & WS_EX_CLIENTEDGE) frame += 2;
  if (exStyle & WS_EX_STATICEDGE) frame += 1;
  LONG top = frame;
  if ((style & WS_CAPTION) == WS_CAPTION) top += (exStyle & WS_EX_TOOLWINDOW) ? 16 : 19;
  if (hasMenu) top += 19;
  return RECT{frame, top, frame, frame};
}

void SetWindowMenuHandle(HWND hwnd, HMENU menu) {
  detail::WindowState* s = detail::Find(hwnd);
  if (!s || s->parent) return;
  bool changed = (s->menu != nullptr) != (menu != nullptr);
  s->menu = menu;
  if (changed) ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void SetAppName(const char* name) { AppNameStorage() = name ? name : ""; }
const char* AppName() { return AppNameStorage().c_str(); }

}  // namespace platform

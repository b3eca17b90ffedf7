#include "WindowTable.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <unordered_set>

#include "../display/DisplayBackend.h"
#include "../loop/Timers.h"
#include "../process/WindowHooks.h"
#include "ScrollBarTracker.h"
#include "platform/gdi_defs.h"
#include "platform/messageloop.h"
#include "platform/time.h"

namespace platform::detail {
namespace {

constexpr std::uintptr_t kFirstHandle = 0x10010;

struct Registry {
  std::unordered_map<std::uintptr_t, std::unique_ptr<WindowState>> windows;
  // By handle number, (number - kFirstHandle) / 2: the lookup every message makes is an index,
  // not a hash. Handles are never reused, so a slot only ever goes from empty to a window to empty.
  std::vector<WindowState*> slots;
  std::vector<HWND> topLevels;
  std::unordered_map<std::string, std::unique_ptr<WindowClass>> classes;  // lower-case names
  std::uintptr_t nextHandle{kFirstHandle};
  std::uint64_t nextOrder{1};
  HWND focus{nullptr};
  HWND capture{nullptr};
  HWND active{nullptr};
  POINT cursor{0, 0};
  std::optional<RECT> cursorClip;  // the rectangle the cursor is held in, when any
  bool keys[256]{};
  std::vector<MSG> current;  // messages being delivered, innermost last
};

// Never destroyed: window objects with static lifetime may still look their windows up at exit.
Registry& Reg() {
  static Registry* registry = new Registry;
  return *registry;
}

// Live handles, readable from any thread (PostMessage checks them).
struct LiveSet {
  std::mutex mutex;
  std::unordered_set<std::uintptr_t> handles;
};

LiveSet& Live() {
  static LiveSet* live = new LiveSet;  // other threads may still post while the program exits
  return *live;
}

std::uintptr_t Key(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }

std::string Lower(const char* name) {
  std::string s(name ? name : "");
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Classes every program may create without registering: the window classes of the class library
// and the system control classes (their procedure is given later by the controls area).
void RegisterBuiltInClasses(Registry& reg) {
  struct BuiltIn { const char* name; UINT style; bool control; };
  static const BuiltIn kBuiltIns[] = {
      {"AfxWnd", CS_DBLCLKS, false}, {"AfxFrameOrView", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, false},
      {"AfxControlBar", CS_DBLCLKS, false}, {"AfxMDIFrame", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, false},
      {"AfxOleControl", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, false}, {"#32770", CS_DBLCLKS | CS_SAVEBITS, true},
      {"Button", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, true}, {"Edit", CS_DBLCLKS, true},
      {"Static", CS_DBLCLKS, true}, {"ListBox", CS_DBLCLKS, true}, {"ComboBox", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, true},
      {"ComboLBox", CS_DBLCLKS | CS_SAVEBITS, true}, {"ScrollBar", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, true},
      {"msctls_progress32", 0, true}, {"msctls_trackbar32", CS_DBLCLKS, true}, {"msctls_updown32", 0, true},
      {"msctls_statusbar32", CS_DBLCLKS, true}, {"SysListView32", CS_DBLCLKS, true}, {"SysHeader32", CS_DBLCLKS, true},
      {"SysTreeView32", CS_DBLCLKS, true}, {"SysTabControl32", CS_DBLCLKS, true}, {"tooltips_class32", CS_DBLCLKS | CS_SAVEBITS, true},
      {"ToolbarWindow32", CS_DBLCLKS, true}, {"SysIPAddress32", CS_DBLCLKS, true}, {"RichEdit20A", CS_DBLCLKS, true},
      {"SysAnimate32", 0, true}, {"ReBarWindow32", CS_DBLCLKS, true}, {"SysDateTimePick32", CS_DBLCLKS, true},
  };
  for (const BuiltIn& b : kBuiltIns) {
    auto cls = std::make_unique<WindowClass>();
    cls->name = b.name;
    cls->style = b.style;
    cls->builtIn = b.control;
    reg.classes[Lower(b.name)] = std::move(cls);
  }
}

Registry& RegWithClasses() {
  Registry& reg = Reg();
  if (reg.classes.empty()) RegisterBuiltInClasses(reg);
  return reg;
}

bool Intersect(RECT& out, const RECT& a, const RECT& b) {
  out.left = std::max(a.left, b.left);
  out.top = std::max(a.top, b.top);
  out.right = std::min(a.right, b.right);
  out.bottom = std::min(a.bottom, b.bottom);
  if (out.left >= out.right || out.top >= out.bottom) {
    out = RECT{0, 0, 0, 0};
    return false;
  }
  return true;
}

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

RECT Union(const RECT& a, const RECT& b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

// Fills defaults for CW_USEDEFAULT: cascade-free, at the screen's corner, three quarters of it.
void ApplyDefaultPlacement(CREATESTRUCT& cs) {
  SIZE screen = GetScreenSize();
  if (cs.x == CW_USEDEFAULT) {
    cs.x = 0;
    cs.y = 0;
  }
  if (cs.cx == CW_USEDEFAULT) {
    cs.cx = screen.cx * 3 / 4;
    cs.cy = screen.cy * 3 / 4;
  }
}

void LinkWindow(Registry& reg, WindowState& s) {
  if (s.parent) {
    Find(s.parent)->children.push_back(s.hwnd);  // new children go to the bottom of the z-order
  } else {
    reg.topLevels.push_back(s.hwnd);
  }
}

void UnlinkWindow(Registry& reg, WindowState& s) {
  if (s.parent) {
    if (WindowState* p = Find(s.parent)) std::erase(p->children, s.hwnd);
  } else {
    std::erase(reg.topLevels, s.hwnd);
  }
}

// Sends WM_DESTROY, destroys the children, sends WM_NCDESTROY, then forgets the window.
void DestroyTree(HWND hwnd);

void ForgetWindow(HWND hwnd) {
  Registry& reg = Reg();
  WindowState* s = Find(hwnd);
  if (!s) return;
  RemoveWindowTimers(hwnd);
  if (!s->parent) Display().WindowDestroyed(hwnd);
  if (reg.focus == hwnd) reg.focus = nullptr;
  if (reg.capture == hwnd) {
    reg.capture = nullptr;
    Display().CaptureChanged(nullptr);
  }
  if (reg.active == hwnd) reg.active = nullptr;
  UnlinkWindow(reg, *s);
  {
    std::lock_guard lock(Live().mutex);
    Live().handles.erase(Key(hwnd));
  }
  std::unique_ptr<WindowState> owned = std::move(reg.windows[Key(hwnd)]);
  reg.windows.erase(Key(hwnd));
  reg.slots[(Key(hwnd) - kFirstHandle) / 2] = nullptr;
  if (owned->temporary) owned->temporary->m_hWnd = nullptr;
  CWnd* wnd = owned->wnd;
  bool topLevel = IsTopLevel(*owned);
  owned.reset();
  if (topLevel) TopLevelWindowsChanged();
  if (wnd) {
    wnd->m_hWnd = nullptr;
    wnd->PostNcDestroy();  // may delete wnd: nothing touches it afterwards
  }
}

void DestroyTree(HWND hwnd) {
  Deliver(hwnd, WM_DESTROY, 0, 0);
  WindowState* s = Find(hwnd);
  if (!s) return;
  std::vector<HWND> children = s->children;
  for (HWND child : children) {
    WindowState* c = Find(child);
    if (c && !c->destroying) {
      c->destroying = true;
      DestroyTree(child);
    }
  }
  Deliver(hwnd, WM_NCDESTROY, 0, 0);
  ScrollBarTracker::Current().Forget(hwnd);
  ForgetWindow(hwnd);
}

}  // namespace

WindowState* Find(HWND hwnd) {
  const std::uintptr_t number = Key(hwnd);
  if (number < kFirstHandle || (number & 1) != 0) return nullptr;
  const std::vector<WindowState*>& slots = Reg().slots;
  const std::uintptr_t slot = (number - kFirstHandle) / 2;
  return slot < slots.size() ? slots[slot] : nullptr;
}

bool HoldsCloseWhileDisabled(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s || (s->style & WS_CHILD) != 0 || (s->style & WS_DISABLED) == 0) return false;
  s->closeWaiting = true;
  return true;
}

bool IsLiveHandle(HWND hwnd) {
  std::lock_guard lock(Live().mutex);
  return Live().handles.count(Key(hwnd)) != 0;
}

bool IsOwnHandleNumber(HWND hwnd) {
  std::uintptr_t number = Key(hwnd);
  return number >= kFirstHandle && number < Reg().nextHandle && (number & 1) == 0;
}

const WindowClass* FindClass(const char* name) {
  Registry& reg = RegWithClasses();
  auto it = reg.classes.find(Lower(name));
  return it == reg.classes.end() ? nullptr : it->second.get();
}

bool IsTopLevel(const WindowState& s) { return s.parent == nullptr; }

HWND CreateWindowState(CREATESTRUCT cs, CWnd* wnd) {
  Registry& reg = RegWithClasses();
  const WindowClass* cls = FindClass(cs.lpszClass ? cs.lpszClass : "AfxWnd");
  if (!cls) return nullptr;
  bool child = (cs.style & WS_CHILD) != 0;
  if (child && !Find(cs.hwndParent)) return nullptr;
  if (!child) {
    ApplyDefaultPlacement(cs);
    if (!(cs.style & WS_POPUP)) cs.style |= WS_CAPTION | WS_CLIPSIBLINGS;
  }

  auto state = std::make_unique<WindowState>();
  WindowState& s = *state;
  s.hwnd = reinterpret_cast<HWND>(reg.nextHandle);
  reg.nextHandle += 2;
  s.windowClass = cls;
  s.proc = cls->proc;
  s.wnd = wnd;
  s.parent = child ? cs.hwndParent : nullptr;
  s.owner = child ? nullptr : (Find(cs.hwndParent) ? cs.hwndParent : nullptr);
  if (s.owner) s.owner = GetAncestorTopLevel(s.owner);
  s.text = cs.lpszName ? cs.lpszName : "";
  s.style = static_cast<DWORD>(cs.style) & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
  s.exStyle = cs.dwExStyle;
  s.id = child ? static_cast<UINT>(reinterpret_cast<std::uintptr_t>(cs.hMenu)) : 0;
  s.menu = child ? nullptr : cs.hMenu;
  s.instance = cs.hInstance;
  s.rect = RECT{cs.x, cs.y, cs.x + std::max(cs.cx, 0), cs.y + std::max(cs.cy, 0)};
  s.order = reg.nextOrder++;
  HWND hwnd = s.hwnd;
  reg.slots.push_back(&s);
  reg.windows[Key(hwnd)] = std::move(state);
  {
    std::lock_guard lock(Live().mutex);
    Live().handles.insert(Key(hwnd));
  }
  LinkWindow(reg, s);
  if (wnd) wnd->m_hWnd = hwnd;

  if (!Deliver(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      Deliver(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    ::DestroyWindow(hwnd);
    return nullptr;
  }
  WindowState* after = Find(hwnd);
  if (!after) return nullptr;
  RECT client = ClientRect(*after);
  Deliver(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
  if (!Find(hwnd)) return nullptr;
  POINT origin{after->rect.left, after->rect.top};
  RECT insets = ClientInsets(*after);
  Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x + insets.left), static_cast<WORD>(origin.y + insets.top)));
  if (!Find(hwnd)) return nullptr;
  if (cs.style & WS_MAXIMIZE) {
    ::ShowWindow(hwnd, SW_SHOWMAXIMIZED);
  } else if (cs.style & WS_VISIBLE) {
    ::ShowWindow(hwnd, SW_SHOW);
  }
  return Find(hwnd) ? hwnd : nullptr;
}

bool BeginDestroy(HWND hwnd) {
  WindowState* s = Find(hwnd);
  if (!s || s->destroying) return false;
  s->destroying = true;
  return true;
}

void DestroyWindowState(HWND hwnd) {
  Registry& reg = Reg();
  // Owned pop-ups go first, as Windows destroys them before their owner.
  std::vector<HWND> owned;
  for (HWND top : reg.topLevels) {
    WindowState* t = Find(top);
    if (t && t->owner == hwnd) owned.push_back(top);
  }
  for (HWND o : owned) ::DestroyWindow(o);
  WindowState* s = Find(hwnd);
  if (!s) return;
  if (s->parent && (s->style & WS_VISIBLE)) {
    RECT area = s->rect;
    InvalidateClient(s->parent, &area, true, false);
  }
  DestroyTree(hwnd);
}

bool Reparent(HWND hwnd, HWND newParent) {
  Registry& reg = Reg();
  WindowState* s = Find(hwnd);
  if (!s || newParent == hwnd) return false;
  for (WindowState* a = Find(newParent); a; a = Find(a->parent)) {
    if (a->hwnd == hwnd) return false;
  }
  if (newParent && !Find(newParent)) return false;
  if (!s->parent && newParent) Display().WindowDestroyed(hwnd);  // no longer shown on its own
  UnlinkWindow(reg, *s);
  s->parent = newParent;
  if (newParent) {
    s->style |= WS_CHILD;
    s->owner = nullptr;
  } else {
    s->style &= ~WS_CHILD;
    s->surface.reset();
  }
  LinkWindow(reg, *s);
  TopLevelWindowsChanged();
  return true;
}

std::vector<HWND> TopLevelWindows() { return Reg().topLevels; }

WindowState* TopLevelOf(HWND hwnd) {
  WindowState* s = Find(hwnd);
  while (s && s->parent) s = Find(s->parent);
  return s;
}

bool IsShowing(HWND hwnd) {
  for (WindowState* s = Find(hwnd); s; s = Find(s->parent)) {
    if (!(s->style & WS_VISIBLE)) return false;
    if (!s->parent) return true;
  }
  return false;
}

bool TakesInput(HWND hwnd) {
  for (WindowState* s = Find(hwnd); s; s = Find(s->parent)) {
    if (!(s->style & WS_VISIBLE) || (s->style & WS_DISABLED)) return false;
    if (!s->parent) return true;
  }
  return false;
}

RECT ClientInsets(const WindowState& s) {
  RECT r = NonClientInsets(s.style, s.exStyle, IsTopLevel(s) && s.menu != nullptr);
  // Scroll bars take client space but are not part of a window's adjustment.
  if (s.style & WS_VSCROLL) r.right += ::GetSystemMetrics(SM_CXVSCROLL);
  if (s.style & WS_HSCROLL) r.bottom += ::GetSystemMetrics(SM_CYHSCROLL);
  return r;
}

RECT ClientRect(const WindowState& s) {
  RECT in = ClientInsets(s);
  LONG w = std::max<LONG>(0, (s.rect.right - s.rect.left) - in.left - in.right);
  LONG h = std::max<LONG>(0, (s.rect.bottom - s.rect.top) - in.top - in.bottom);
  return RECT{0, 0, w, h};
}

POINT WindowOriginInTop(const WindowState& s) {
  if (IsTopLevel(s)) return POINT{0, 0};
  const WindowState* p = Find(s.parent);
  POINT base = p ? ClientOriginInTop(*p) : POINT{0, 0};
  return POINT{base.x + s.rect.left, base.y + s.rect.top};
}

POINT ClientOriginInTop(const WindowState& s) {
  POINT w = WindowOriginInTop(s);
  RECT in = ClientInsets(s);
  return POINT{w.x + in.left, w.y + in.top};
}

Surface* SurfaceOf(WindowState& top) {
  int w = top.rect.right - top.rect.left;
  int h = top.rect.bottom - top.rect.top;
  if (!top.surface) {
    top.surface = std::make_unique<Surface>(std::max(w, 0), std::max(h, 0));
  } else if (top.surface->width != w || top.surface->height != h) {
    top.surface->Resize(w, h);
  }
  return top.surface.get();
}

void InvalidateClient(HWND hwnd, const RECT* rect, bool erase, bool children) {
  WindowState* s = Find(hwnd);
  if (!s) return;
  RECT client = ClientRect(*s);
  RECT area = client;
  if (rect && !Intersect(area, *rect, client)) return;
  s->invalid = Union(s->invalid, area);
  s->erase = s->erase || erase;
  (void)children;
  // Parents paint under their children here, so whatever a parent repaints its children repaint
  // too: that is the whole invalid rectangle, which spans the gaps between separate areas.
  const RECT repainted = s->invalid;
  for (HWND child : s->children) {
    WindowState* c = Find(child);
    if (!c) continue;
    RECT overlap;
    if (!Intersect(overlap, repainted, c->rect)) continue;
    RECT in = ClientInsets(*c);
    RECT local{overlap.left - c->rect.left - in.left, overlap.top - c->rect.top - in.top,
               overlap.right - c->rect.left - in.left, overlap.bottom - c->rect.top - in.top};
    InvalidateClient(child, &local, erase, true);
  }
  WakeLoop();
}

void ValidateClient(HWND hwnd, const RECT* rect) {
  WindowState* s = Find(hwnd);
  if (!s) return;
  if (!rect) {
    s->invalid = RECT{0, 0, 0, 0};
    s->erase = false;
    return;
  }
  RECT& inv = s->invalid;
  // A bounding rectangle can only shrink where the validated part spans it fully.
  bool spansX = rect->left <= inv.left && rect->right >= inv.right;
  bool spansY = rect->top <= inv.top && rect->bottom >= inv.bottom;
  if (spansX && spansY) {
    inv = RECT{0, 0, 0, 0};
    s->erase = false;
  } else if (spansX && rect->top <= inv.top && rect->bottom > inv.top) {
    inv.top = rect->bottom;
  } else if (spansX && rect->bottom >= inv.bottom && rect->top < inv.bottom) {
    inv.bottom = rect->top;
  } else if (spansY && rect->left <= inv.left && rect->right > inv.left) {
    inv.left = rect->right;
  } else if (spansY && rect->right >= inv.right && rect->left < inv.right) {
    inv.right = rect->left;
  }
  if (Empty(inv)) inv = RECT{0, 0, 0, 0};
}

namespace {

bool FindPaintIn(HWND hwnd, MSG* msg) {
  WindowState* s = Find(hwnd);
  if (!s || !(s->style & WS_VISIBLE) || !s->redraw) return false;
  if (!Empty(s->invalid)) {
    *msg = MSG{hwnd, WM_PAINT, 0, 0, GetTickCount(), {0, 0}};
    return true;
  }
  // Bottom of the z-order first, so windows on top paint last.
  for (auto it = s->children.rbegin(); it != s->children.rend(); ++it) {
    if (FindPaintIn(*it, msg)) return true;
  }
  return false;
}

}  // namespace

bool FindPaintMessage(HWND filter, MSG* msg) {
  if (filter) return IsShowing(filter) && FindPaintIn(filter, msg);
  for (HWND top : Reg().topLevels) {
    if (FindPaintIn(top, msg)) return true;
  }
  return false;
}

LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowState* s = Find(hwnd);
  if (!s) return 0;
  Registry& reg = Reg();
  reg.current.push_back(MSG{hwnd, message, wParam, lParam, 0, reg.cursor});
  struct Pop {
    ~Pop() { Reg().current.pop_back(); }
  } pop;
  if (s->wnd && s->hook) return s->hook(hwnd, message, wParam, lParam);
  if (s->wnd) return s->wnd->WindowProc(message, wParam, lParam);
  if (s->proc) return s->proc(hwnd, message, wParam, lParam);
  return ::DefWindowProc(hwnd, message, wParam, lParam);
}

LRESULT ObjectProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowState* s = Find(hwnd);
  if (!s) return 0;
  if (s->wnd) return s->wnd->WindowProc(message, wParam, lParam);
  return s->proc ? s->proc(hwnd, message, wParam, lParam) : ::DefWindowProc(hwnd, message, wParam, lParam);
}

const MSG* CurrentMessage() {
  Registry& reg = Reg();
  return reg.current.empty() ? nullptr : &reg.current.back();
}

HWND& FocusHandle() { return Reg().focus; }
HWND& CaptureHandle() { return Reg().capture; }
HWND& ActiveHandle() { return Reg().active; }
POINT& CursorPosition() { return Reg().cursor; }
std::optional<RECT>& CursorClip() { return Reg().cursorClip; }

POINT ClampToCursorClip(POINT point) {
  const std::optional<RECT>& clip = Reg().cursorClip;
  if (!clip) return point;
  point.x = std::max(clip->left, std::min(point.x, clip->right - 1));
  point.y = std::max(clip->top, std::min(point.y, clip->bottom - 1));
  return point;
}
bool& KeyDownState(int virtualKey) { return Reg().keys[virtualKey & 0xFF]; }

// Class registration.
bool RegisterWindowClass(const WNDCLASS& wc) {
  Registry& reg = RegWithClasses();
  if (!wc.lpszClassName || !*wc.lpszClassName) return false;
  std::string key = Lower(wc.lpszClassName);
  auto it = reg.classes.find(key);
  if (it != reg.classes.end()) {
    WindowClass& existing = *it->second;
    if (!existing.builtIn || existing.procSet) return false;
    existing.proc = wc.lpfnWndProc;
    existing.procSet = wc.lpfnWndProc != nullptr;
    existing.style = wc.style;
    if (wc.hCursor) existing.cursor = wc.hCursor;
    if (wc.hbrBackground) existing.background = wc.hbrBackground;
    return true;
  }
  auto cls = std::make_unique<WindowClass>();
  cls->name = wc.lpszClassName;
  cls->style = wc.style;
  cls->proc = wc.lpfnWndProc;
  cls->instance = wc.hInstance;
  cls->icon = wc.hIcon;
  cls->cursor = wc.hCursor;
  cls->background = wc.hbrBackground;
  reg.classes[key] = std::move(cls);
  return true;
}

bool UnregisterWindowClass(const char* name) {
  Registry& reg = RegWithClasses();
  auto it = reg.classes.find(Lower(name));
  if (it == reg.classes.end() || it->second->builtIn) return false;
  for (auto& [key, state] : reg.windows) {
    if (state->windowClass == it->second.get()) return false;  // still in use
  }
  reg.classes.erase(it);
  return true;
}

std::vector<HWND> AllWindowsInOrder() {
  std::vector<std::pair<std::uint64_t, HWND>> all;
  for (auto& [key, s] : Reg().windows) all.emplace_back(s->order, s->hwnd);
  std::sort(all.begin(), all.end());
  std::vector<HWND> out;
  for (auto& p : all) out.push_back(p.second);
  return out;
}

}  // namespace platform::detail

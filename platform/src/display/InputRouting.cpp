#include "InputRouting.h"

#include <cstdio>
#include <string>

#include "../loop/InputQueue.h"
#include "../windows/ScrollBarTracker.h"
#include "../windows/WindowTable.h"
#include "platform/messageloop.h"
#include "platform/strings.h"
#include "platform/windows.h"

namespace platform::detail {
namespace {

struct ButtonMessages {
  UINT down;
  UINT up;
  UINT doubleClick;
  UINT virtualKey;
};

ButtonMessages MessagesOf(input::Button button) {
  switch (button) {
    case input::Button::Right: return {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, VK_RBUTTON};
    case input::Button::Middle: return {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, VK_MBUTTON};
    default: return {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, VK_LBUTTON};
  }
}

UINT KeyFlags() {
  UINT flags = 0;
  if (GetKeyState(VK_LBUTTON) < 0) flags |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) flags |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) flags |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) flags |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) flags |= MK_CONTROL;
  return flags;
}

// A point outside every client area that lies on the menu bar of hwnd's top-level window: that
// window, which works its bar itself.
HWND MenuBarTarget(HWND hwnd, POINT point, POINT* local) {
  HWND top = ::GetAncestorTopLevel(hwnd);
  if (!top || !::IsWindowVisible(top) || !::IsWindowEnabled(top)) return nullptr;
  POINT screen = point;
  ::ClientToScreen(hwnd, &screen);
  if (::SendMessage(top, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y))) != HTMENU)
    return nullptr;
  *local = point;
  ::MapWindowPoints(hwnd, top, local, 1);
  return top;
}

// The window a message at hwnd's client point goes to: the capture, else the one under it.
HWND MouseTarget(HWND hwnd, POINT point, POINT* local) {
  if (HWND capture = ::GetCapture()) {
    *local = point;
    ::MapWindowPoints(hwnd, capture, local, 1);
    return capture;
  }
  HWND found = input::HitTest(hwnd, point, local);
  return found ? found : MenuBarTarget(hwnd, point, local);
}

// The length of the UTF-8 sequence starting at text[at]; 1 for a stray byte.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
  unsigned char lead = static_cast<unsigned char>(text[at]);
  std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (at + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

bool IsButtonOrMove(UINT message) { return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK; }

// Where on target a button or move message falls: a scroll bar of the window (the one being
// tracked while a bar holds the capture), its menu bar, or its client area. Other non-client parts are left
// to the client as before.
int HitCode(HWND target, bool captured, POINT screen) {
  ScrollBarTracker& tracker = ScrollBarTracker::Current();
  if (captured) return tracker.Tracking(target) ? tracker.HitCode() : HTCLIENT;
  LRESULT hit = ::SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  return hit == HTVSCROLL || hit == HTHSCROLL || hit == HTMENU ? static_cast<int>(hit) : HTCLIENT;
}

}  // namespace

HWND KeyTarget() {
  HWND focus = ::GetFocus();
  return focus ? focus : ::GetActiveWindow();
}

HWND RouteMouse(HWND hwnd, POINT point, UINT message, WPARAM extra) {
  POINT screen = point;
  if (!::ClientToScreen(hwnd, &screen)) return nullptr;
  // A clipped cursor stops at the clip's edge: the window sees the held position.
  const POINT held = ClampToCursorClip(screen);
  if (held.x != screen.x || held.y != screen.y) {
    screen = held;
    point = held;
    ::ScreenToClient(hwnd, &point);
  }
  SetCursorPos(screen.x, screen.y);
  bool captured = ::GetCapture() != nullptr;
  POINT local = point;
  HWND target = MouseTarget(hwnd, point, &local);
  if (!target) return nullptr;
  int hit = IsButtonOrMove(message) ? HitCode(target, captured, screen) : HTCLIENT;
  if (!::IsWindow(target)) return nullptr;
  if (!captured && message != WM_MOUSEWHEEL) {
    ::SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<WORD>(hit), message));
  }
  LPARAM where = MAKELPARAM(static_cast<WORD>(local.x), static_cast<WORD>(local.y));
  LPARAM onScreen = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
  if (!::IsWindow(target)) return nullptr;
  if (hit != HTCLIENT) {
    // The non-client counterpart: the hit code and the screen point.
    PostInput(target, message - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), onScreen);
  } else {
    PostInput(target, message, KeyFlags() | extra, message == WM_MOUSEWHEEL ? onScreen : where);
  }
  return target;
}

void RouteButton(HWND hwnd, POINT point, input::Button button, bool down, bool doubleClick) {
  ButtonMessages m = MessagesOf(button);
  KeyDownState(static_cast<int>(m.virtualKey)) = down;
  if (!down) {
    RouteMouse(hwnd, point, m.up);
    return;
  }
  UINT message = m.down;
  if (doubleClick) {
    POINT local = point;
    WindowState* s = Find(MouseTarget(hwnd, point, &local));
    if (s && (s->windowClass->style & CS_DBLCLKS)) message = m.doubleClick;
  }
  RouteMouse(hwnd, point, message);
}

void RouteWheel(HWND hwnd, POINT point, int delta) {
  RouteMouse(hwnd, point, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(static_cast<SHORT>(delta))) << 16);
}

void RouteKey(UINT virtualKey, bool down, LPARAM keyData) {
  bool altHeld = KeyDownState(static_cast<int>(VK_MENU));
  KeyDownState(static_cast<int>(virtualKey)) = down;
  // Alt with a key (AltGr, Ctrl+Alt, aside), the Alt key itself and F10 are system keys: menus
  // and Alt accelerators answer them, edits never see them as typing.
  bool alt = virtualKey == VK_MENU || (altHeld && !KeyDownState(static_cast<int>(VK_CONTROL)));
  if (altHeld) keyData |= kAltContext;
  bool system = alt || virtualKey == VK_F10;
  UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  PostToKeyTarget(message, virtualKey, keyData);
}

void RouteText(const char* text) {
  if (!text) return;
  for (const char* p = text; *p; ++p) PostToKeyTarget(WM_CHAR, static_cast<unsigned char>(*p), 1);
}

}  // namespace platform::detail

namespace platform::detail {

void RouteComposedText(std::string_view utf8) {
  for (std::size_t at = 0; at < utf8.size();) {
    std::size_t length = Utf8Length(utf8, at);
    std::string_view one = utf8.substr(at, length);
    at += length;
    if (length == 1) {
      unsigned char ch = static_cast<unsigned char>(one[0]);
      if (ch < 0x80) PostToKeyTarget(WM_CHAR, ch, 1);
      continue;
    }
    CString converted = Utf8ToCp949(one);
    std::string_view bytes(converted.GetString(), static_cast<std::size_t>(converted.GetLength()));
    if (bytes.size() != 2 || Cp949CharLength(bytes, 0) != 2) {
      // Half a character would corrupt whatever it is typed into; nothing is better.
      std::fprintf(stderr, "platform: typed character %.*s has no code page 949 form; dropped\n",
                   static_cast<int>(one.size()), one.data());
      continue;
    }
    WPARAM both = static_cast<WPARAM>(static_cast<unsigned char>(bytes[0])) << 8 | static_cast<unsigned char>(bytes[1]);
    PostToKeyTarget(WM_IME_CHAR, both, 1);
  }
}

}  // namespace platform::detail

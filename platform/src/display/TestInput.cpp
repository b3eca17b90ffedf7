#include "platform/testinput.h"

#include <cstring>

#include "../windows/WindowTable.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace platform::input {
namespace {

struct ButtonMessages {
  UINT down;
  UINT up;
  UINT doubleClick;
  UINT flag;
  UINT virtualKey;
};

ButtonMessages MessagesOf(Button button) {
  switch (button) {
    case Button::Right: return {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, MK_RBUTTON, VK_RBUTTON};
    case Button::Middle: return {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, MK_MBUTTON, VK_MBUTTON};
    default: return {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, MK_LBUTTON, VK_LBUTTON};
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

bool Usable(const detail::WindowState* s) { return s && (s->style & WS_VISIBLE) && !(s->style & WS_DISABLED); }

// The deepest visible, enabled window under a point of root's client area that does not declare
// itself transparent; point is turned into that window's client coordinates.
HWND Deepest(HWND root, POINT* point) {
  for (;;) {
    detail::WindowState* s = detail::Find(root);
    HWND next = nullptr;
    for (HWND child : s->children) {
      detail::WindowState* c = detail::Find(child);
      if (!Usable(c) || !PtInRect(&c->rect, *point)) continue;
      POINT screen = *point;
      ::ClientToScreen(root, &screen);
      if (::SendMessage(child, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y))) ==
          HTTRANSPARENT) {
        continue;
      }
      next = child;
      break;
    }
    if (!next) return root;
    ::MapWindowPoints(root, next, point, 1);
    root = next;
  }
}

// Sends the mouse message through the queue to the window the point falls on (or the capture).
void SendMouse(HWND hwnd, POINT point, UINT message, WPARAM extra = 0) {
  POINT screen = point;
  if (!::ClientToScreen(hwnd, &screen)) return;
  SetCursorPos(screen.x, screen.y);
  HWND target = ::GetCapture();
  POINT local = point;
  if (target) {
    local = screen;
    ::ScreenToClient(target, &local);
  } else {
    local = point;
    target = HitTest(hwnd, point, &local);
    if (!target) return;
    if (message != WM_MOUSEWHEEL) {
      ::SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTCLIENT, message));
    }
  }
  LPARAM where = MAKELPARAM(static_cast<WORD>(local.x), static_cast<WORD>(local.y));
  if (message == WM_MOUSEWHEEL) where = MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y));
  ::PostMessage(target, message, KeyFlags() | extra, where);
  PumpMessages();
}

HWND KeyTarget() {
  HWND focus = ::GetFocus();
  return focus ? focus : ::GetActiveWindow();
}

}  // namespace

HWND HitTest(HWND hwnd, POINT point, POINT* clientPoint) {
  HWND top = ::GetAncestorTopLevel(hwnd);
  detail::WindowState* t = detail::Find(top);
  if (!Usable(t)) return nullptr;
  POINT p = point;
  ::MapWindowPoints(hwnd, top, &p, 1);
  RECT client{};
  ::GetClientRect(top, &client);
  if (!PtInRect(&client, p)) return nullptr;
  HWND found = Deepest(top, &p);
  if (clientPoint) *clientPoint = p;
  return found;
}

void MouseMove(HWND hwnd, POINT point) { SendMouse(hwnd, point, WM_MOUSEMOVE); }

void MouseDown(HWND hwnd, POINT point, Button button) {
  ButtonMessages m = MessagesOf(button);
  detail::KeyDownState(static_cast<int>(m.virtualKey)) = true;
  SendMouse(hwnd, point, m.down);
}

void MouseUp(HWND hwnd, POINT point, Button button) {
  ButtonMessages m = MessagesOf(button);
  detail::KeyDownState(static_cast<int>(m.virtualKey)) = false;
  SendMouse(hwnd, point, m.up);
}

void Click(HWND hwnd, POINT point, Button button) {
  MouseDown(hwnd, point, button);
  MouseUp(hwnd, point, button);
}

void DoubleClick(HWND hwnd, POINT point, Button button) {
  Click(hwnd, point, button);
  ButtonMessages m = MessagesOf(button);
  POINT local = point;
  HWND target = ::GetCapture() ? ::GetCapture() : HitTest(hwnd, point, &local);
  detail::WindowState* s = detail::Find(target);
  bool classWantsDouble = s && (s->windowClass->style & CS_DBLCLKS);
  detail::KeyDownState(static_cast<int>(m.virtualKey)) = true;
  SendMouse(hwnd, point, classWantsDouble ? m.doubleClick : m.down);
  MouseUp(hwnd, point, button);
}

void Drag(HWND hwnd, POINT from, POINT to, int steps, Button button) {
  MouseDown(hwnd, from, button);
  if (steps < 1) steps = 1;
  for (int i = 1; i <= steps; ++i) {
    POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    MouseMove(hwnd, p);
  }
  MouseUp(hwnd, to, button);
}

void Wheel(HWND hwnd, POINT point, int delta) {
  SendMouse(hwnd, point, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<WORD>(static_cast<SHORT>(delta))) << 16);
}

void KeyDown(UINT virtualKey) {
  detail::KeyDownState(static_cast<int>(virtualKey)) = true;
  HWND target = KeyTarget();
  if (!target) return;
  ::PostMessage(target, WM_KEYDOWN, virtualKey, 1);
  PumpMessages();
}

void KeyUp(UINT virtualKey) {
  detail::KeyDownState(static_cast<int>(virtualKey)) = false;
  HWND target = KeyTarget();
  if (!target) return;
  ::PostMessage(target, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
  PumpMessages();
}

void PressKey(UINT virtualKey) {
  KeyDown(virtualKey);
  KeyUp(virtualKey);
}

void SetModifier(UINT virtualKey, bool down) { detail::KeyDownState(static_cast<int>(virtualKey)) = down; }

void TypeText(const char* text) {
  HWND target = KeyTarget();
  if (!target || !text) return;
  for (const char* p = text; *p; ++p) {
    ::PostMessage(target, WM_CHAR, static_cast<unsigned char>(*p), 1);
  }
  PumpMessages();
}

}  // namespace platform::input

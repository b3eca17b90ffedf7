#include "platform/testinput.h"

#include "../windows/WindowTable.h"
#include "InputRouting.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace platform::input {
namespace {

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

void MouseMove(HWND hwnd, POINT point) {
  detail::RouteMouse(hwnd, point, WM_MOUSEMOVE);
  PumpMessages();
}

void MouseDown(HWND hwnd, POINT point, Button button) {
  detail::RouteButton(hwnd, point, button, true);
  PumpMessages();
}

void MouseUp(HWND hwnd, POINT point, Button button) {
  detail::RouteButton(hwnd, point, button, false);
  PumpMessages();
}

void Click(HWND hwnd, POINT point, Button button) {
  MouseDown(hwnd, point, button);
  MouseUp(hwnd, point, button);
}

void DoubleClick(HWND hwnd, POINT point, Button button) {
  Click(hwnd, point, button);
  detail::RouteButton(hwnd, point, button, true, true);
  PumpMessages();
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
  detail::RouteWheel(hwnd, point, delta);
  PumpMessages();
}

void KeyDown(UINT virtualKey) {
  detail::RouteKey(virtualKey, true, 1);
  PumpMessages();
}

void KeyUp(UINT virtualKey) {
  detail::RouteKey(virtualKey, false, static_cast<LPARAM>(0xC0000001u));
  PumpMessages();
}

void PressKey(UINT virtualKey) {
  KeyDown(virtualKey);
  KeyUp(virtualKey);
}

void SetModifier(UINT virtualKey, bool down) { detail::KeyDownState(static_cast<int>(virtualKey)) = down; }

void TypeText(const char* text) {
  detail::RouteText(text);
  PumpMessages();
}

void ComposeText(const char* utf8) {
  detail::RouteComposedText(utf8 ? utf8 : "");
  PumpMessages();
}

}  // namespace platform::input

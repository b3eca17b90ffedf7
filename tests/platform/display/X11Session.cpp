#include "X11Session.h"

#include <bit>
#include <cctype>

#include "XvfbServer.h"
#include "platform/display.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/time.h"
#include "platform/windows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "support/XServerBasics.h"

namespace platform::testing {
namespace {

// The top-left of an X window in root coordinates.
POINT RootOrigin(::Display* display, Window window) {
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  return POINT{x, y};
}

long Channel(unsigned long pixel, unsigned long mask) {
  if (!mask) return 0;
  int shift = std::countr_zero(mask);
  unsigned long max = mask >> shift;
  return static_cast<long>(((pixel & mask) >> shift) * 255 / max);
}

ActWhen* g_pending = nullptr;  // the one armed action; a tick without it does nothing

}  // namespace

bool MenuOpen() {
  for (HWND hwnd : platform::AllWindows()) {
    if (platform::WindowClassName(hwnd) == platform::kPopupMenuClass && ::IsWindowVisible(hwnd)) return true;
  }
  return false;
}

ActWhen::ActWhen(std::function<bool()> ready, std::function<void()> act, std::function<void()> giveUp)
    : m_ready(std::move(ready)), m_act(std::move(act)), m_giveUp(std::move(giveUp)) {
  g_pending = this;
  m_timer = ::SetTimer(nullptr, 0, 30, &ActWhen::Tick);
}

ActWhen::~ActWhen() {
  ::KillTimer(nullptr, m_timer);
  if (g_pending == this) g_pending = nullptr;
}

void ActWhen::Tick(HWND, UINT, UINT_PTR, DWORD) {
  ActWhen* self = g_pending;
  if (!self || self->m_done) return;
  auto giveUp = [self] {
    self->m_done = true;
    if (self->m_giveUp) self->m_giveUp();
  };
  if (self->m_acted) {
    if (!self->m_ready()) {
      self->m_done = true;
    } else if (++self->m_ticksAfter > 200) {
      giveUp();
    }
    return;
  }
  if (++self->m_ticks > 400) {
    giveUp();
    return;
  }
  if (!self->m_ready()) return;
  self->m_acted = true;
  self->m_act();
}

X11Session::~X11Session() {
  if (!m_observer) return;
  platform::DestroyAllWindows();
  platform::display::UseHeadless();
  platform::ResetMessageQueue();
  XCloseDisplay(m_observer);
}

bool X11Session::Open() {
  const std::string& name = TestDisplayName();
  if (name.empty() || !platform::display::UseX11Display(name.c_str())) return false;
  m_observer = XOpenDisplay(name.c_str());
  if (!m_observer) {
    platform::display::UseHeadless();
    return false;
  }
  platform::Clock::SetManual(false);
  return true;
}

unsigned long X11Session::Native(HWND top) const { return platform::display::NativeWindowOf(top); }

void X11Session::SendKey(unsigned long window, unsigned long keysym, bool press, unsigned state) {
  XEvent event{};
  event.xkey.type = press ? KeyPress : KeyRelease;
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(m_observer);
  event.xkey.keycode = XKeysymToKeycode(m_observer, keysym);
  event.xkey.state = state;
  event.xkey.same_screen = True;
  XSendEvent(m_observer, window, False, press ? KeyPressMask : KeyReleaseMask, &event);
}

void X11Session::Keys(HWND top, std::initializer_list<unsigned long> keysyms, unsigned state) {
  Window window = Native(top);
  for (unsigned long keysym : keysyms) {
    SendKey(window, keysym, true, state);
    SendKey(window, keysym, false, state);
  }
  // A round trip: once it returns the server has queued every key for the program together.
  XSync(m_observer, False);
}

void X11Session::Type(HWND top, const std::string& text) {
  Window window = Native(top);
  for (char c : text) {
    unsigned char ch = static_cast<unsigned char>(c);
    bool upper = std::isupper(ch) != 0;
    KeySym keysym = ch == ' '    ? XK_space
                    : ch == '\t' ? XK_Tab
                    : ch == '\r' ? XK_Return
                                 : static_cast<KeySym>(std::tolower(ch));
    unsigned state = upper ? ShiftMask : 0;
    SendKey(window, keysym, true, state);
    SendKey(window, keysym, false, state);
  }
  XSync(m_observer, False);
}

void X11Session::SendButton(unsigned long window, POINT at, bool press) {
  XEvent event{};
  event.xbutton.type = press ? ButtonPress : ButtonRelease;
  event.xbutton.window = window;
  event.xbutton.root = DefaultRootWindow(m_observer);
  event.xbutton.x = at.x;
  event.xbutton.y = at.y;
  POINT origin = RootOrigin(m_observer, window);
  event.xbutton.x_root = origin.x + at.x;
  event.xbutton.y_root = origin.y + at.y;
  event.xbutton.time = CurrentTime;
  event.xbutton.button = Button1;
  event.xbutton.state = press ? 0 : Button1Mask;
  event.xbutton.same_screen = True;
  XSendEvent(m_observer, window, False, press ? ButtonPressMask : ButtonReleaseMask, &event);
}

POINT X11Session::PointInTop(HWND hwnd, POINT client) const {
  POINT screen = client;
  ::ClientToScreen(hwnd, &screen);
  POINT origin = RootOrigin(m_observer, Native(::GetAncestorTopLevel(hwnd)));
  return POINT{screen.x - origin.x, screen.y - origin.y};
}

void X11Session::Click(HWND hwnd, POINT client, bool twice) {
  Window window = Native(::GetAncestorTopLevel(hwnd));
  POINT at = PointInTop(hwnd, client);
  for (int i = 0; i < (twice ? 2 : 1); ++i) {
    SendButton(window, at, true);
    SendButton(window, at, false);
  }
  XSync(m_observer, False);
}

void X11Session::Button(HWND hwnd, POINT client, bool press) {
  SendButton(Native(::GetAncestorTopLevel(hwnd)), PointInTop(hwnd, client), press);
  XSync(m_observer, False);
}

bool X11Session::WaitFor(const std::function<bool()>& pred, int timeoutMs) {
  return platform::RunUntil([&] {
    platform::display::Sync();
    return pred();
  }, timeoutMs);
}

void X11Session::Settle() {
  for (int i = 0; i < 3; ++i) {
    platform::display::Sync();
    platform::PumpMessages();
  }
}

std::string X11Session::Title(HWND top) const { return testsupport::XWindowTitle(m_observer, Native(top)); }

long X11Session::PixelAt(HWND hwnd, POINT client) const {
  HWND top = ::GetAncestorTopLevel(hwnd);
  Window window = Native(top);
  if (!window) return -1;
  POINT screen = client;
  ::ClientToScreen(hwnd, &screen);
  POINT origin = RootOrigin(m_observer, window);
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(m_observer, window, &attributes)) return -1;
  int x = screen.x - origin.x;
  int y = screen.y - origin.y;
  if (x < 0 || y < 0 || x >= attributes.width || y >= attributes.height) return -1;
  XImage* image = XGetImage(m_observer, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return -1;
  unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  const Visual& visual = *attributes.visual;
  return (Channel(pixel, visual.red_mask) << 16) | (Channel(pixel, visual.green_mask) << 8) |
         Channel(pixel, visual.blue_mask);
}

}  // namespace platform::testing

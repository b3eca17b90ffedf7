#pragma once
// Input for the X server tests as a person gives it: pointer moves, clicks and keys sent through
// the X server (XSendEvent) to the X window that shows a window, at a point of that window's
// client area. Waiting on what the program shows is RunUntil with the program's own syncs.
// Include it last: Xlib's macros would clash with names declared after it.

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <bit>
#include <cstdint>

#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/messageloop.h"
#include "platform/surface.h"
#include "platform/windows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace platform::testing {

class XPointerKeys {
  struct Target {
    Window window{0};
    int x{0};
    int y{0};
    int rootX{0};
    int rootY{0};
  };

public:
  explicit XPointerKeys(const std::string& displayName) : m_display(XOpenDisplay(displayName.c_str())) {}
  ~XPointerKeys() {
    if (m_display) XCloseDisplay(m_display);
  }
  XPointerKeys(const XPointerKeys&) = delete;
  XPointerKeys& operator=(const XPointerKeys&) = delete;

  bool Ready() const { return m_display != nullptr; }
  ::Display* Connection() const { return m_display; }

  // The pointer moves to point (client coordinates of hwnd).
  void Move(HWND hwnd, POINT point, unsigned state = 0) {
    Target t = TargetOf(hwnd, point);
    XEvent event{};
    event.xmotion.type = MotionNotify;
    Fill(event.xmotion, t, state);
    Send(t.window, PointerMotionMask, event);
  }
  // A click of the left button at point; state holds modifiers already down (ShiftMask).
  void Click(HWND hwnd, POINT point, unsigned state = 0) {
    m_time += 2000;  // well apart from any click before: never the second of a double click
    Button(hwnd, point, true, state);
    Button(hwnd, point, false, state | Button1Mask);
  }
  // Two clicks in quick succession (the server's time stamps say so).
  void DoubleClick(HWND hwnd, POINT point) {
    Click(hwnd, point);
    Button(hwnd, point, true);
    Button(hwnd, point, false, Button1Mask);
  }
  // The left button goes down or up at point.
  void Button(HWND hwnd, POINT point, bool press, unsigned state = 0) { SendButtonOf(hwnd, point, press, state, Button1); }
  // The wheel turns notches away from the user (negative: towards) at point, as X buttons 4 and 5.
  void Wheel(HWND hwnd, POINT point, int notches) {
    for (int i = 0; i < std::abs(notches); ++i) {
      const unsigned button = notches > 0 ? Button4 : Button5;
      SendButtonOf(hwnd, point, true, 0, button);
      SendButtonOf(hwnd, point, false, 0, button);
    }
  }
  // A key pressed and released while the X window of hwnd's top-level window has the keyboard.
  void Key(HWND hwnd, KeySym keysym, unsigned state = 0) {
    Window window = NativeOf(hwnd);
    KeyEvent(window, keysym, true, state);
    KeyEvent(window, keysym, false, state);
    XSync(m_display, False);
  }
  // A key only pressed (press) or only released, to see what the program shows while it is held.
  void KeyHalf(HWND hwnd, KeySym keysym, bool press) {
    KeyEvent(NativeOf(hwnd), keysym, press, 0);
    XSync(m_display, False);
  }
  // Types text of letters, digits, '.', '-' and spaces, one key per character.
  void Type(HWND hwnd, const char* text) {
    for (const char* p = text; *p; ++p) {
      bool upper = *p >= 'A' && *p <= 'Z';
      Key(hwnd, KeysymOf(*p), upper ? ShiftMask : 0);
    }
  }
  // What the X server shows of hwnd's client area (0x00RRGGBB), read back from the server;
  // empty when the area is off the X window.
  platform::Surface Shown(HWND hwnd) {
    platform::display::Sync();
    RECT client{};
    ::GetClientRect(hwnd, &client);
    return Read(TargetOf(hwnd, POINT{0, 0}), client);
  }
  // The whole X window of the top-level window top (its frame and scroll bars too).
  platform::Surface ShownWhole(HWND top) {
    platform::display::Sync();
    Target t;
    t.window = NativeOf(top);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(m_display, t.window, &attributes)) return {};
    return Read(t, RECT{0, 0, attributes.width, attributes.height});
  }
  // Pixels of top's X window that differ from what top's surface holds under them (a part of
  // the X window beyond the surface counts as differing); -1 when there is nothing to read.
  long DifferencesFromSurface(HWND top) {
    const platform::Surface shown = ShownWhole(top);
    const platform::PaintTarget held = platform::GetPaintTarget(top, true);
    if (shown.width == 0 || !held.surface) return -1;
    RECT outer{};
    ::GetWindowRect(top, &outer);
    Window child = 0;
    int originX = 0, originY = 0;
    XTranslateCoordinates(m_display, NativeOf(top), DefaultRootWindow(m_display), 0, 0, &originX, &originY, &child);
    const int dx = originX - outer.left, dy = originY - outer.top;
    long wrong = 0;
    for (int y = 0; y < shown.height; ++y) {
      for (int x = 0; x < shown.width; ++x) {
        const bool inside = x + dx >= 0 && y + dy >= 0 && x + dx < held.surface->width && y + dy < held.surface->height;
        wrong += !inside || shown.Row(y)[x] != held.surface->Row(y + dy)[x + dx] ? 1 : 0;
      }
    }
    return wrong;
  }
  // Runs the program until top's X window shows what its surface holds: 0 then, else the pixels
  // that still differed when the wait gave up.
  long WaitUntilShowsSurface(HWND top) {
    long wrong = -1;
    WaitFor([&] { return (wrong = DifferencesFromSurface(top)) == 0; });
    return wrong;
  }

private:
  void SendButtonOf(HWND hwnd, POINT point, bool press, unsigned state, unsigned button) {
    Target t = TargetOf(hwnd, point);
    XEvent event{};
    event.xbutton.type = press ? ButtonPress : ButtonRelease;
    Fill(event.xbutton, t, state);
    event.xbutton.button = button;
    Send(t.window, press ? ButtonPressMask : ButtonReleaseMask, event);
  }

  platform::Surface Read(const Target& t, const RECT& client) {
    platform::Surface out;
    if (client.right <= 0 || client.bottom <= 0) return out;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(m_display, t.window, &attributes)) return out;
    int width = std::min<int>(client.right, attributes.width - t.x);
    int height = std::min<int>(client.bottom, attributes.height - t.y);
    if (t.x < 0 || t.y < 0 || width <= 0 || height <= 0) return out;
    XImage* image = XGetImage(m_display, t.window, t.x, t.y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return out;
    out = platform::Surface(width, height);
    const Visual& visual = *attributes.visual;
    auto channel = [](unsigned long pixel, unsigned long mask) -> std::uint32_t {
      if (!mask) return 0;
      const int shift = std::countr_zero(mask);
      return static_cast<std::uint32_t>(((pixel & mask) >> shift) * 255 / (mask >> shift));
    };
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        unsigned long p = XGetPixel(image, x, y);
        out.Row(y)[x] = channel(p, visual.red_mask) << 16 | channel(p, visual.green_mask) << 8 |
                        channel(p, visual.blue_mask);
      }
    }
    XDestroyImage(image);
    return out;
  }

public:
  // Runs the program until pred holds (reading what the server sent meanwhile); false after
  // timeoutMs. Generous by default: a loaded sanitizer run can be seconds behind.
  static bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 15000) {
    return platform::RunUntil([&] {
      platform::display::Sync();
      return pred();
    }, timeoutMs);
  }

private:
  static KeySym KeysymOf(char ch) {
    switch (ch) {
      case '.': return XK_period;
      case ' ': return XK_space;
      case '-': return XK_minus;
      default: return static_cast<KeySym>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    }
  }

  Window NativeOf(HWND hwnd) const {
    return static_cast<Window>(platform::display::NativeWindowOf(::GetAncestorTopLevel(hwnd)));
  }

  // Where the point is in the X window showing hwnd's top-level window.
  Target TargetOf(HWND hwnd, POINT point) {
    Target t;
    t.window = NativeOf(hwnd);
    ::ClientToScreen(hwnd, &point);
    Window child = 0;
    int originX = 0, originY = 0;
    XTranslateCoordinates(m_display, t.window, DefaultRootWindow(m_display), 0, 0, &originX, &originY, &child);
    t.x = point.x - originX;
    t.y = point.y - originY;
    t.rootX = point.x;
    t.rootY = point.y;
    return t;
  }

  template <class Event>
  void Fill(Event& e, const Target& t, unsigned state) {
    e.window = t.window;
    e.root = DefaultRootWindow(m_display);
    e.x = t.x;
    e.y = t.y;
    e.x_root = t.rootX;
    e.y_root = t.rootY;
    e.state = state;
    e.same_screen = True;
    e.time = m_time += 20;
  }

  void Send(Window window, long mask, XEvent& event) {
    XSendEvent(m_display, window, False, mask, &event);
    // A round trip: once it returns the server has queued the event for the program.
    XSync(m_display, False);
  }

  void KeyEvent(Window window, KeySym keysym, bool press, unsigned state) {
    XEvent event{};
    event.xkey.type = press ? KeyPress : KeyRelease;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(m_display);
    event.xkey.keycode = XKeysymToKeycode(m_display, keysym);
    event.xkey.state = state;
    event.xkey.same_screen = True;
    event.xkey.time = m_time += 20;
    XSendEvent(m_display, window, False, press ? KeyPressMask : KeyReleaseMask, &event);
  }

  ::Display* m_display{nullptr};
  Time m_time{1000};
};

// Steps run from a timer while a nested loop (a modal dialog, a message box) waits: each acts once
// its condition holds, in order. After about fifteen seconds the steps give up and giveUp runs
// (it should end the nested loop), so a fault fails the test instead of hanging it.
class TimedSteps {
public:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  TimedSteps(std::vector<Step> steps, std::function<void()> giveUp)
      : m_steps(std::move(steps)), m_giveUp(std::move(giveUp)) {
    Current() = this;
    m_timer = ::SetTimer(nullptr, 0, 50, &TimedSteps::Tick);
  }
  ~TimedSteps() {
    ::KillTimer(nullptr, m_timer);
    Current() = nullptr;
  }
  TimedSteps(const TimedSteps&) = delete;
  TimedSteps& operator=(const TimedSteps&) = delete;

  // Whether every step acted.
  bool Done() const { return m_next == m_steps.size(); }
  std::size_t StepsDone() const { return m_next; }

private:
  static TimedSteps*& Current() {
    static TimedSteps* current = nullptr;
    return current;
  }
  static void Tick(HWND, UINT, UINT_PTR, DWORD) {
    TimedSteps* self = Current();
    if (!self || self->Done() || self->m_gaveUp) return;
    if (++self->m_ticks > 300) {
      self->m_gaveUp = true;
      if (self->m_giveUp) self->m_giveUp();
      return;
    }
    platform::display::Sync();
    Step& step = self->m_steps[self->m_next];
    if (!step.ready()) return;
    ++self->m_next;
    step.act();
  }

  std::vector<Step> m_steps;
  std::function<void()> m_giveUp;
  std::size_t m_next{0};
  int m_ticks{0};
  bool m_gaveUp{false};
  UINT_PTR m_timer{0};
};

// A base for fixtures whose windows must show on the tests' X server: listed before the fixture,
// it takes the server before the fixture's members make their windows and gives it back after.
struct OnTheXServer {
  OnTheXServer() {
    const std::string& name = TestDisplayName();
    available = !name.empty() && platform::display::UseX11Display(name.c_str());
    if (available) input = std::make_unique<XPointerKeys>(name);
  }
  ~OnTheXServer() { platform::display::UseHeadless(); }
  OnTheXServer(const OnTheXServer&) = delete;
  OnTheXServer& operator=(const OnTheXServer&) = delete;
  bool available{false};
  std::unique_ptr<XPointerKeys> input;
};

}  // namespace platform::testing

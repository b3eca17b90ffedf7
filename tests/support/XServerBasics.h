#pragma once
// What every test that talks to the tests' X server itself needs, on its own connection: the title
// an X window shows, the mapped top-level windows, and keys and clicks sent to an X window as the
// server would send them. Plain Xlib, so that every test binary can use it.
// Include it last: Xlib's macros would clash with names declared after it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// The title window shows (UTF-8); "" when it has none.
inline std::string XWindowTitle(::Display* display, Window window) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024, False, AnyPropertyType,
                     &type, &format, &count, &after, &data);
  std::string title(data ? reinterpret_cast<char*>(data) : "", data ? count : 0);
  if (data) XFree(data);
  return title;
}

// While it lives, the server's complaints on display are ignored: another program's window may
// go between being listed and being asked about, and that is no fault of the test. Errors of
// requests made before it are reported as usual.
class XErrorsIgnored {
public:
  explicit XErrorsIgnored(::Display* display) : m_display(display) {
    XSync(m_display, False);
    m_previous = XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
  }
  ~XErrorsIgnored() {
    XSync(m_display, False);
    XSetErrorHandler(m_previous);
  }
  XErrorsIgnored(const XErrorsIgnored&) = delete;
  XErrorsIgnored& operator=(const XErrorsIgnored&) = delete;

private:
  ::Display* m_display;
  XErrorHandler m_previous{nullptr};
};

// The first mapped top-level window (a child of the root), of any program, for which
// wanted(window, its attributes) holds; 0 when none does.
inline Window FindMappedTopLevel(::Display* display,
                                 const std::function<bool(Window, const XWindowAttributes&)>& wanted) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  XSync(display, False);
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  {
    const XErrorsIgnored windowsMayGo(display);
    for (unsigned i = 0; i < count && !found; ++i) {
      XWindowAttributes attributes{};
      if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
          wanted(children[i], attributes))
        found = children[i];
    }
  }
  if (children) XFree(children);
  return found;
}

// Every mapped top-level window, bottom first.
inline std::vector<Window> MappedTopLevels(::Display* display) {
  std::vector<Window> shown;
  FindMappedTopLevel(display, [&](Window window, const XWindowAttributes&) {
    shown.push_back(window);
    return false;
  });
  return shown;
}

// Sends a press or a release of button at (x, y) of window, (rootX, rootY) on the screen, stamped
// time. A release carries the left button's mask when it is the left button that goes up.
inline void SendXButton(::Display* display, Window window, int x, int y, int rootX, int rootY, Time time, bool press,
                        unsigned button = Button1) {
  XEvent event{};
  event.xbutton.type = press ? ButtonPress : ButtonRelease;
  event.xbutton.window = window;
  event.xbutton.root = DefaultRootWindow(display);
  event.xbutton.x = x;
  event.xbutton.y = y;
  event.xbutton.x_root = rootX;
  event.xbutton.y_root = rootY;
  event.xbutton.time = time;
  event.xbutton.button = button;
  event.xbutton.state = press ? 0 : (button == Button1 ? Button1Mask : 0);
  event.xbutton.same_screen = True;
  XSendEvent(display, window, False, press ? ButtonPressMask : ButtonReleaseMask, &event);
}

// Presses and releases keysym on window with the modifiers of state; returns once the server has
// both.
inline void SendXKey(::Display* display, Window window, KeySym keysym, unsigned state = 0) {
  for (int type : {KeyPress, KeyRelease}) {
    XEvent event{};
    event.xkey.type = type;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.keycode = XKeysymToKeycode(display, keysym);
    event.xkey.state = state;
    event.xkey.same_screen = True;
    XSendEvent(display, window, False, type == KeyPress ? KeyPressMask : KeyReleaseMask, &event);
  }
  XSync(display, False);
}

}  // namespace testsupport

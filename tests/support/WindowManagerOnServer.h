#pragma once
// A window manager on the tests' X server: the one already running there, or openbox (which
// ./setup installs) started for the test and stopped with it, so that the next test finds the
// server as it was. Ready once the manager takes in a window; the hints it sets read back as
// xprop reads them.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/SnapshotPath.h"

namespace testsupport {

// A window's place on the screen: its X window's origin in root coordinates and its size.
struct ScreenPlace {
  int x{0}, y{0}, width{0}, height{0};
  bool operator==(const ScreenPlace&) const = default;
};

class WindowManagerOnServer {
public:
  explicit WindowManagerOnServer(const std::string& displayName) : m_x(XOpenDisplay(displayName.c_str())) {
    if (!m_x) {
      m_problem = "cannot open " + displayName;
      return;
    }
    if (!Running()) {
      const char* openbox = "/usr/bin/openbox";
      if (!std::filesystem::exists(openbox)) {
        m_problem = "no window manager on " + displayName + " and openbox is not installed (./setup installs it)";
        return;
      }
      m_started = std::make_unique<ChildProcess>(
          std::vector<std::string>{openbox, "--sm-disable"}, std::map<std::string, std::string>{{"DISPLAY", displayName}},
          std::filesystem::temp_directory_path().string(), SnapshotPath("openbox-log.txt"));
      if (!ChildProcess::WaitUntil([this] { return Running(); }, 15000)) {
        m_problem = "openbox could not be started on " + displayName + ":\n" + m_started->Output();
        return;
      }
    }
    if (!TakesInAWindow()) m_problem = "the window manager on " + displayName + " takes in no window";
  }
  ~WindowManagerOnServer() {
    if (m_started) {
      m_started->Stop();
      ChildProcess::WaitUntil([this] { return !Running(); }, 5000);
    }
    if (m_x) XCloseDisplay(m_x);
  }
  WindowManagerOnServer(const WindowManagerOnServer&) = delete;
  WindowManagerOnServer& operator=(const WindowManagerOnServer&) = delete;

  // Empty when a manager runs and takes in windows; else why not.
  const std::string& Problem() const { return m_problem; }
  ::Display* Connection() const { return m_x; }

  Atom AtomOf(const char* name) const { return XInternAtom(m_x, name, False); }
  // The 32-bit items of a property of window, as xprop lists them.
  std::vector<long> Property(Window window, const char* name) const {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> items;
    if (XGetWindowProperty(m_x, window, AtomOf(name), 0, 64, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) == Success && data && format == 32) {
      const long* values = reinterpret_cast<const long*>(data);
      items.assign(values, values + count);
    }
    if (data) XFree(data);
    return items;
  }
  bool Has(Window window, const char* property, const char* atom) const {
    std::vector<long> items = Property(window, property);
    return std::find(items.begin(), items.end(), static_cast<long>(AtomOf(atom))) != items.end();
  }
  // Where the server shows window (root coordinates).
  ScreenPlace ShownAt(Window window) const {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(m_x, window, &attributes)) return ScreenPlace{};
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(m_x, window, DefaultRootWindow(m_x), 0, 0, &x, &y, &child);
    return ScreenPlace{x, y, attributes.width, attributes.height};
  }
  // The manager has taken window in (it tells its state and what may be done with it).
  bool Managed(Window window) const {
    return window && !Property(window, "WM_STATE").empty() && !Property(window, "_NET_WM_ALLOWED_ACTIONS").empty();
  }
  // The windows the manager has taken in, oldest first: a reparenting manager puts them inside
  // frames of its own, so they are no children of the root.
  std::vector<Window> Clients() const {
    std::vector<Window> windows;
    for (long item : Property(DefaultRootWindow(m_x), "_NET_CLIENT_LIST")) windows.push_back(static_cast<Window>(item));
    return windows;
  }
  // Asks the manager to maximise window or to restore it, as its maximise button does.
  void SetMaximized(Window window, bool on) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = AtomOf("_NET_WM_STATE");
    event.xclient.format = 32;
    event.xclient.data.l[0] = on ? 1 : 0;
    event.xclient.data.l[1] = static_cast<long>(AtomOf("_NET_WM_STATE_MAXIMIZED_HORZ"));
    event.xclient.data.l[2] = static_cast<long>(AtomOf("_NET_WM_STATE_MAXIMIZED_VERT"));
    event.xclient.data.l[3] = 2;  // a person's request
    XSendEvent(m_x, DefaultRootWindow(m_x), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(m_x, False);
  }

private:
  // A manager runs when the window it names on the root still names itself: one that ended
  // leaves the root's property behind.
  bool Running() const {
    std::vector<long> check = Property(DefaultRootWindow(m_x), "_NET_SUPPORTING_WM_CHECK");
    if (check.empty() || check.front() == 0) return false;
    XSync(m_x, False);
    XErrorHandler previous = XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
    std::vector<long> self = Property(static_cast<Window>(check.front()), "_NET_SUPPORTING_WM_CHECK");
    XSync(m_x, False);
    XSetErrorHandler(previous);
    return !self.empty() && self.front() == check.front();
  }
  // A manager just started may still be reading its settings: a small window is shown (again)
  // until it is taken in.
  bool TakesInAWindow() const {
    Window probe = 0;
    const bool managed = ChildProcess::WaitUntil([&] {
      if (probe && !Property(probe, "WM_STATE").empty()) return true;
      if (probe) XDestroyWindow(m_x, probe);
      probe = XCreateSimpleWindow(m_x, DefaultRootWindow(m_x), 0, 0, 40, 40, 0, 0, 0);
      XMapWindow(m_x, probe);
      XSync(m_x, False);
      return ChildProcess::WaitUntil([&] { return !Property(probe, "WM_STATE").empty(); }, 500);
    }, 15000);
    if (probe) XDestroyWindow(m_x, probe);
    XSync(m_x, False);
    return managed;
  }

  ::Display* m_x{nullptr};
  std::unique_ptr<ChildProcess> m_started;
  std::string m_problem;
};

}  // namespace testsupport

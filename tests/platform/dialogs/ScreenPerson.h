#pragma once
// A person at the tests' X server: clicks and keys go through the server to the program's
// windows (or to another program's, found by title), never into the objects behind them. Steps
// wait for what the screen shows; they are acted from a timer while the program sits in a modal
// loop, and give up after a deadline so that a fault fails the test instead of hanging it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls_defs.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/windows.h"
#include "support/NativeWindowOrigin.h"
#include "support/SnapshotPath.h"

// Last: Xlib's macros would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "support/XServerBasics.h"

namespace screentest {

inline CString TextOf(HWND hwnd) {
  char text[512] = "";
  ::GetWindowText(hwnd, text, sizeof text);
  return text;
}

// The visible top-level window of class with caption (any caption when null).
inline HWND ShownWindow(const char* className, const char* caption = nullptr) {
  for (HWND hwnd : platform::AllWindows()) {
    bool child = (static_cast<DWORD>(::GetWindowLong(hwnd, GWL_STYLE)) & WS_CHILD) != 0;
    if (child || !::IsWindowVisible(hwnd) || platform::WindowClassName(hwnd) != className) continue;
    if (!caption || TextOf(hwnd) == caption) return hwnd;
  }
  return nullptr;
}

inline HWND ShownDialog(const char* caption) { return ShownWindow("#32770", caption); }
inline HWND ShownPopupMenu() { return ShownWindow(platform::kPopupMenuClass); }
inline HWND ShownMessageBox() { return ShownWindow("PlatformMessageBox"); }

// The on-screen file dialog's list of files and its name edit.
inline constexpr int kFileListId = 1102, kFileNameEditId = 1103;
// Whether the file dialog shown under caption ("Open", "Save As") is ready for a name typed: its
// name edit has the keyboard.
inline bool FileNameFocused(const char* caption) {
  HWND dialog = ShownDialog(caption);
  return dialog && ::GetFocus() == ::GetDlgItem(dialog, kFileNameEditId);
}
// What the name edit of the file dialog shown under caption holds.
inline CString FileNameShown(const char* caption) {
  HWND dialog = ShownDialog(caption);
  return dialog ? TextOf(::GetDlgItem(dialog, kFileNameEditId)) : CString();
}
// The line of that dialog's list that shows name; -1 when none does.
inline int FileLine(const char* caption, const char* name) {
  HWND dialog = ShownDialog(caption);
  return dialog ? static_cast<int>(::SendDlgItemMessage(dialog, kFileListId, LB_FINDSTRINGEXACT,
                                                        static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)))
                : -1;
}

// The child of parent whose text is text.
inline HWND ChildWithText(HWND parent, const char* text) {
  for (HWND child : platform::ChildWindows(parent)) {
    if (TextOf(child) == text) return child;
  }
  return nullptr;
}

class ScreenPerson {
public:
  explicit ScreenPerson(const std::string& displayName) : m_display(XOpenDisplay(displayName.c_str())) {}
  ~ScreenPerson() {
    if (m_display) XCloseDisplay(m_display);
  }
  ScreenPerson(const ScreenPerson&) = delete;
  ScreenPerson& operator=(const ScreenPerson&) = delete;
  bool Ready() const { return m_display != nullptr; }

  // Clicks point of control (its client coordinates), twice quickly for a double click.
  void Click(HWND control, POINT point, bool twice = false) {
    ::ClientToScreen(control, &point);
    ClickScreen(::GetAncestorTopLevel(control), point, twice);
  }
  // Clicks a screen point inside the X window of the top-level window top, which shows its menu
  // bar above the client area.
  void ClickScreen(HWND top, POINT screen, bool twice = false) {
    Window window = static_cast<Window>(platform::display::NativeWindowOf(top));
    const POINT origin = testsupport::NativeWindowOrigin(m_display, top);
    const POINT at{screen.x - origin.x, screen.y - origin.y};
    m_time += 5000;  // never a double click with the click before
    for (int i = 0; i < (twice ? 2 : 1); ++i) {
      Button(window, at, screen, true);
      Button(window, at, screen, false);
      m_time += 100;
    }
    XSync(m_display, False);
  }
  // Clicks the title of pop-up index on the menu bar of top.
  void ClickMenuTitle(HWND top, int index) {
    RECT title{};
    if (!::GetMenuItemRect(top, ::GetMenu(top), static_cast<UINT>(index), &title)) {
      ADD_FAILURE() << "no pop-up " << index << " on the menu bar";
      return;
    }
    ClickScreen(top, POINT{(title.left + title.right) / 2, (title.top + title.bottom) / 2});
  }
  // Clicks the item with command in the pop-up menu window popup.
  void ClickMenuItem(HWND popup, UINT command) {
    HMENU menu = platform::GetPopupMenuWindowMenu(popup);
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      if (::GetMenuItemID(menu, i) != command) continue;
      RECT item{};
      platform::GetPopupMenuItemRect(popup, i, &item);
      Click(popup, POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
      return;
    }
    ADD_FAILURE() << "no item " << command << " in the pop-up shown";
  }
  // Clicks the middle of control.
  void Click(HWND control) {
    RECT r;
    ::GetClientRect(control, &r);
    Click(control, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  // Clicks (or double clicks) line index of a list box.
  void ClickLine(HWND list, int index, bool twice = false) {
    int height = static_cast<int>(::SendMessage(list, LB_GETITEMHEIGHT, 0, 0));
    int top = static_cast<int>(::SendMessage(list, LB_GETTOPINDEX, 0, 0));
    Click(list, POINT{10, (index - top) * height + height / 2}, twice);
  }

  // Clicks (twice: double clicks) the line that shows name in the file dialog shown under caption.
  void ClickFileLine(const char* caption, const char* name, bool twice = false) {
    ClickLine(::GetDlgItem(ShownDialog(caption), kFileListId), FileLine(caption, name), twice);
  }

  // Presses and releases keysym on the top-level window of hwnd, with the modifiers of state.
  void Key(HWND hwnd, KeySym keysym, unsigned state = 0) {
    Key(static_cast<Window>(platform::display::NativeWindowOf(::GetAncestorTopLevel(hwnd))), keysym, state);
  }
  // The same on an X window, of this program or of another one.
  void Key(Window window, KeySym keysym, unsigned state = 0) {
    testsupport::SendXKey(m_display, window, keysym, state);
  }
  // Types ASCII text key by key (letters, digits, ". / _ -").
  void Type(HWND hwnd, const char* text) {
    Type(static_cast<Window>(platform::display::NativeWindowOf(::GetAncestorTopLevel(hwnd))), text);
  }
  void Type(Window window, const char* text) {
    for (const char* p = text; *p; ++p) {
      unsigned char c = static_cast<unsigned char>(*p);
      switch (c) {
        case '.': Key(window, XK_period); break;
        case '/': Key(window, XK_slash); break;
        case '-': Key(window, XK_minus); break;
        case '_': Key(window, XK_underscore, ShiftMask); break;
        default:
          if (std::isupper(c)) {
            Key(window, XK_a + (c - 'A'), ShiftMask);
          } else if (std::islower(c)) {
            Key(window, XK_a + (c - 'a'));
          } else if (std::isdigit(c)) {
            Key(window, XK_0 + (c - '0'));
          }
      }
    }
  }
  // The top-level X window (a child of the root) whose title is title, of any program; 0 when
  // none is mapped.
  Window WindowTitled(const std::string& title) {
    return testsupport::FindMappedTopLevel(
        m_display, [&](Window window, const XWindowAttributes&) { return TitleOf(window) == title; });
  }
  // The title an X window shows (UTF-8).
  std::string TitleOf(Window window) { return testsupport::XWindowTitle(m_display, window); }

  // Adds a step: once ready holds, act runs (once).
  void Then(std::function<bool()> ready, std::function<void()> act) {
    m_steps.push_back(Step{std::move(ready), std::move(act)});
  }
  // Adds a step: once a pop-up menu is shown, its item with command is clicked.
  void ThenChoose(UINT command) {
    Then([] { return ShownPopupMenu() != nullptr; }, [this, command] { ClickMenuItem(ShownPopupMenu(), command); });
  }
  // Runs run (which waits in a modal loop) while the steps are acted in order; true when every
  // step was acted before the deadline. Past the deadline every shown dialog is sent Escape.
  bool Drive(const std::function<void()>& run) {
    s_current = this;
    m_next = 0;
    m_ticks = 0;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, Tick);
    run();
    ::KillTimer(nullptr, timer);
    s_current = nullptr;
    bool all = m_next == m_steps.size();
    m_steps.clear();
    return all;
  }

  // Whether every step added so far has acted (while Drive runs).
  bool Finished() const { return m_next == m_steps.size(); }

  // What the screen shows in rect (screen coordinates): the windows there and any pop-up over them.
  // The part of rect off the screen stays white.
  platform::Surface ShownOnScreen(const RECT& rect) {
    platform::display::Sync();
    XSync(m_display, False);
    platform::Surface shot(rect.right - rect.left, rect.bottom - rect.top);
    // Only the part on the screen can be read: the server refuses a rectangle reaching past it.
    const int left = std::max<int>(rect.left, 0), top = std::max<int>(rect.top, 0);
    const int right = std::min<int>(rect.right, DisplayWidth(m_display, DefaultScreen(m_display)));
    const int bottom = std::min<int>(rect.bottom, DisplayHeight(m_display, DefaultScreen(m_display)));
    const Window root = DefaultRootWindow(m_display);
    if (right > left && bottom > top) {
      Place(XGetImage(m_display, root, left, top, static_cast<unsigned>(right - left),
                      static_cast<unsigned>(bottom - top), AllPlanes, ZPixmap),
            shot, left - rect.left, top - rect.top);
    }
    return shot;
  }

  // Writes what the X window of top shows as a PNG picture named name.
  bool Snapshot(HWND top, const char* name) {
    platform::display::Sync();
    return Snapshot(static_cast<Window>(platform::display::NativeWindowOf(top)), name);
  }
  // The same for an X window, of this program or of another one.
  bool Snapshot(Window window, const char* name) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(m_display, window, &attributes)) return false;
    platform::Surface shot(attributes.width, attributes.height);
    if (!Place(XGetImage(m_display, window, 0, 0, static_cast<unsigned>(attributes.width),
                         static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap),
               shot, 0, 0))
      return false;
    return platform::SaveSurfacePng(shot, testsupport::SnapshotPath(name).c_str());
  }

private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };

  // About twenty seconds of ticks: a loaded sanitizer run can leave the program far behind.
  static constexpr int kDeadlineTicks = 660;

  static void Tick(HWND, UINT, UINT_PTR, DWORD) {
    ScreenPerson* self = s_current;
    if (!self) return;
    platform::display::Sync();
    if (++self->m_ticks > kDeadlineTicks) {
      // Return answers any message box (a Yes/No question takes no Escape), Escape a dialog.
      if (HWND shown = ShownWindow("PlatformMessageBox")) self->Key(shown, XK_Return);
      if (HWND shown = ShownWindow("#32770")) self->Key(shown, XK_Escape);
      return;
    }
    if (self->m_next < self->m_steps.size() && self->m_steps[self->m_next].ready()) {
      std::function<void()> act = self->m_steps[self->m_next++].act;
      act();
    }
  }

  // Copies an image read from the server into shot, its top-left at (left, top), and frees it;
  // false when there was none.
  static bool Place(XImage* image, platform::Surface& shot, int left, int top) {
    if (!image) return false;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x)
        shot.Row(top + y)[left + x] = static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF);
    }
    XDestroyImage(image);
    return true;
  }

  void Button(Window window, POINT point, POINT screen, bool press) {
    testsupport::SendXButton(m_display, window, point.x, point.y, screen.x, screen.y, m_time, press);
  }

  inline static ScreenPerson* s_current = nullptr;
  ::Display* m_display{nullptr};
  std::vector<Step> m_steps;
  std::size_t m_next{0};
  int m_ticks{0};
  Time m_time{1000};
};

}  // namespace screentest

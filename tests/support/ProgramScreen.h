#pragma once
// Another program's windows on the tests' X server, looked at and clicked as a person does: a
// window found by its title, the titles of its menu bar and the lines of a pop-up found by what is
// drawn there, clicks sent to the X windows. And the processor time the program has used.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/XServerBasics.h"

namespace testsupport {

// A stretch [begin, end) of rows or columns.
struct Span {
  int begin{0};
  int end{0};
  int Middle() const { return (begin + end) / 2; }
};

// Seconds of processor time (user and system) the process pid has used; -1 when it is gone.
inline double ProcessorSeconds(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::size_t name = text.rfind(')');
  if (name == std::string::npos) return -1;
  std::istringstream fields(text.substr(name + 2));
  std::string field;
  long user = 0, system = 0;
  // After the name: state is field 3; utime and stime are fields 14 and 15.
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) user = std::stol(field);
    if (i == 15) system = std::stol(field);
  }
  return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The processor seconds pid spends over the next span of real time: a program left idle should
// spend next to none.
// step, when given, runs every 20 ms meanwhile (a pointer resting or moving, say).
inline double ProcessorSecondsOver(pid_t pid, std::chrono::seconds span, const std::function<void()>& step = {}) {
  const double start = ProcessorSeconds(pid);
  if (!step) {
    std::this_thread::sleep_for(span);
  } else {
    for (const auto end = std::chrono::steady_clock::now() + span; std::chrono::steady_clock::now() < end;) {
      step();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  return ProcessorSeconds(pid) - start;
}

// The environment laid over the test's own for a program of the suite started on the X server
// display: drawn there, no answers scripted for it, its settings kept in the folder home.
inline std::map<std::string, std::string> OnScreenEnvironment(const std::string& display, const std::string& home) {
  return {{"DISPLAY", display}, {"PLATFORM_HEADLESS", "0"}, {"PLATFORM_UI_SCRIPT", ""}, {"PLATFORM_HOME", home}};
}

// The process running program (a path) in folder; -1 when there is none.
inline pid_t ProcessOf(const std::string& program, const std::string& folder) {
  std::error_code error;
  const std::filesystem::path wanted = std::filesystem::canonical(program, error);
  const std::filesystem::path where = std::filesystem::canonical(folder, error);
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::error_code gone;
    if (std::filesystem::read_symlink(entry.path() / "exe", gone) == wanted &&
        std::filesystem::read_symlink(entry.path() / "cwd", gone) == where)
      return static_cast<pid_t>(std::stol(name));
  }
  return -1;
}

class ProgramScreen {
public:
  explicit ProgramScreen(const std::string& displayName) : m_display(XOpenDisplay(displayName.c_str())) {}
  ~ProgramScreen() {
    if (m_display) XCloseDisplay(m_display);
  }
  ProgramScreen(const ProgramScreen&) = delete;
  ProgramScreen& operator=(const ProgramScreen&) = delete;
  bool Ready() const { return m_display != nullptr; }

  // The mapped top-level window whose title starts with prefix; 0 when none. With popup set, the
  // mapped window that no window manager would frame (a pop-up menu) instead.
  Window Find(const std::string& prefix, bool popup = false) {
    return FindMappedTopLevel(m_display, [&](Window window, const XWindowAttributes& attributes) {
      // A pop-up is a window of some size: programs keep tiny unframed windows of their own.
      const bool isPopup = attributes.override_redirect != 0 && attributes.width > 20 && attributes.height > 10;
      return popup ? isPopup : Title(window).rfind(prefix, 0) == 0;
    });
  }
  Window Popup() { return Find("", true); }

  // Every mapped top-level window.
  std::vector<Window> Shown() { return MappedTopLevels(m_display); }
  // What one look at the screen found. Each question the program asks is answered as it is seen:
  // a message box with Return, any other dialog with Escape.
  struct Look {
    Window frame{0};         // the window whose title isFrame accepts
    bool messageBox{false};  // a message box was shown
    bool dialog{false};      // another dialog was shown
  };
  Look AnswerQuestions(const std::function<bool(const std::string&)>& isFrame) {
    // A question answered may take other windows of the program with it while they are looked at.
    const XErrorsIgnored windowsMayGo(m_display);
    Look look;
    for (Window shown : Shown()) {
      const std::string kind = ClassOf(shown);
      if (kind == "PlatformMessageBox") {
        Key(shown, XK_Return);
        look.messageBox = true;
      } else if (kind == "#32770") {
        Key(shown, XK_Escape);
        look.dialog = true;
      } else if (isFrame(Title(shown))) {
        look.frame = shown;
      }
    }
    return look;
  }

  // The class name of window ("" when it has none or is gone).
  std::string ClassOf(Window window) {
    const XErrorsIgnored windowMayGo(m_display);
    XClassHint hint{};
    if (!XGetClassHint(m_display, window, &hint)) return "";
    std::string name = hint.res_class ? hint.res_class : "";
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return name;
  }

  // The title window shows (UTF-8; "" when it is gone).
  std::string Title(Window window) {
    const XErrorsIgnored windowMayGo(m_display);
    return XWindowTitle(m_display, window);
  }

  // The colours (0xRRGGBB) window shows, row by row; empty when it cannot be read.
  std::vector<std::vector<unsigned long>> Pixels(Window window) {
    std::vector<std::vector<unsigned long>> rows;
    XWindowAttributes attributes{};
    XSync(m_display, False);
    if (!XGetWindowAttributes(m_display, window, &attributes)) return rows;
    XImage* image = XGetImage(m_display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return rows;
    rows.assign(static_cast<std::size_t>(image->height), std::vector<unsigned long>(static_cast<std::size_t>(image->width)));
    for (int y = 0; y < image->height; ++y)
      for (int x = 0; x < image->width; ++x) rows[y][x] = XGetPixel(image, x, y) & 0xFFFFFF;
    XDestroyImage(image);
    return rows;
  }

  // Text-dark pixels.
  static bool Dark(unsigned long colour) {
    return ((colour >> 16) & 0xFF) < 0x60 && ((colour >> 8) & 0xFF) < 0x60 && (colour & 0xFF) < 0x60;
  }
  // The columns of rows [top, bottom) of pixels that hold something dark, joined where less than
  // gap columns part them: the titles of a menu bar.
  static std::vector<Span> DarkColumns(const std::vector<std::vector<unsigned long>>& pixels, int top, int bottom,
                                       int gap) {
    return ColumnsWhere(pixels, top, bottom, gap, [](unsigned long colour) { return Dark(colour); });
  }
  // The columns of rows [top, bottom) that hold a colour other than face, joined where less than
  // gap columns part them: the buttons of a tool bar.
  static std::vector<Span> ColumnsNotOf(const std::vector<std::vector<unsigned long>>& pixels, unsigned long face,
                                        int top, int bottom, int gap) {
    return ColumnsWhere(pixels, top, bottom, gap, [face](unsigned long colour) { return colour != face; });
  }
  // The rows that hold something dark between columns left and right, joined where less than gap
  // rows part them: the lines of a pop-up menu.
  static std::vector<Span> DarkRows(const std::vector<std::vector<unsigned long>>& pixels, int left, int right,
                                    int gap) {
    return Runs(static_cast<int>(pixels.size()), gap, [&](int y) {
      for (int x = std::max(left, 0); x < std::min<int>(right, static_cast<int>(pixels[y].size())); ++x)
        if (Dark(pixels[y][x])) return true;
      return false;
    });
  }

  // The height of a program's menu bar, at the top of its X window.
  static constexpr int kMenuBarHeight = 19;
  // The titles on the menu bar of frame.
  std::vector<Span> MenuBarTitles(Window frame) { return DarkColumns(Pixels(frame), 0, kMenuBarHeight, 5); }
  // The lines of the pop-up menu popup, told apart by their text (the margins left out).
  std::vector<Span> PopupLines(Window popup) {
    const std::vector<std::vector<unsigned long>> shown = Pixels(popup);
    return DarkRows(shown, 15, shown.empty() ? 0 : static_cast<int>(shown[0].size()) - 15, 2);
  }

  // A left click at point (x, y) of window, as a person's: pressed and released there.
  void Click(Window window, int x, int y) {
    int rootX = 0, rootY = 0;
    Window child = 0;
    XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), x, y, &rootX, &rootY, &child);
    m_time += 5000;  // never a double click with the click before
    for (bool press : {true, false}) SendXButton(m_display, window, x, y, rootX, rootY, m_time, press);
    XSync(m_display, False);
  }
  // The pointer reported at point (x, y) of window with no button held, as X reports a person's
  // pointer there (again at the same place when it was there already).
  void Move(Window window, int x, int y) {
    XEvent event{};
    event.xmotion.type = MotionNotify;
    event.xmotion.window = window;
    event.xmotion.root = DefaultRootWindow(m_display);
    event.xmotion.x = x;
    event.xmotion.y = y;
    Window child = 0;
    XTranslateCoordinates(m_display, window, event.xmotion.root, x, y, &event.xmotion.x_root, &event.xmotion.y_root,
                          &child);
    event.xmotion.time = ++m_time;
    event.xmotion.same_screen = True;
    XSendEvent(m_display, window, False, PointerMotionMask, &event);
    XSync(m_display, False);
  }
  // The pointer over (x, y) of window for one idle step: three reports at one place, and every
  // fifth step a move of a pixel, so a program that works on repeats or moves shows it.
  void RestAndNudge(Window window, int x, int y) {
    m_nudges = (m_nudges + 1) % 10;
    for (int i = 0; i < 3; ++i) Move(window, x + (m_nudges >= 5 ? 1 : 0), y);
  }
  // Presses and releases keysym on window.
  void Key(Window window, KeySym keysym, unsigned state = 0) { SendXKey(m_display, window, keysym, state); }

private:
  // The columns of rows [top, bottom) of pixels where some colour is wanted, joined where less
  // than gap columns part them.
  static std::vector<Span> ColumnsWhere(const std::vector<std::vector<unsigned long>>& pixels, int top, int bottom,
                                        int gap, const std::function<bool(unsigned long)>& wanted) {
    if (pixels.empty()) return {};
    return Runs(static_cast<int>(pixels[0].size()), gap, [&](int x) {
      for (int y = std::max(top, 0); y < std::min<int>(bottom, static_cast<int>(pixels.size())); ++y)
        if (wanted(pixels[y][x])) return true;
      return false;
    });
  }
  // The stretches of [0, length) where holds is true, joined where less than gap places part them.
  static std::vector<Span> Runs(int length, int gap, const std::function<bool(int)>& holds) {
    std::vector<Span> spans;
    int last = -gap - 1;
    for (int i = 0; i < length; ++i) {
      if (!holds(i)) continue;
      if (spans.empty() || i - last > gap) spans.push_back(Span{i, i + 1});
      spans.back().end = i + 1;
      last = i;
    }
    return spans;
  }

private:
  ::Display* m_display{nullptr};
  Time m_time{1000};
  int m_nudges{0};  // the step count of RestAndNudge, which sets where the pointer rests
};

}  // namespace testsupport

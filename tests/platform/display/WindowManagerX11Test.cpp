// The program's windows under a window manager (openbox, which ./setup installs; an X server
// that already has a manager keeps its own): dialogs and message boxes are marked as dialogs
// standing over their owner, without minimise and maximise, modal while their owner waits;
// frames get the buttons their styles ask for; full screen is asked of the manager and left for
// the former place and size. The hints are read back through the server as xprop reads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../dialogs/ScreenPerson.h"
#include "XvfbServer.h"
#include "platform/dialogs.h"
#include "platform/frames.h"
#include "platform/msgbox.h"
#include "platform/resources.h"
#include "platform/time.h"
#include "support/ChildProcess.h"
#include "support/SnapshotPath.h"

namespace wmtest {

using screentest::ScreenPerson;

constexpr UINT kAskId = 4201;
constexpr long kFuncMinimize = 1L << 3, kFuncMaximize = 1L << 4, kFuncClose = 1L << 5;

platform::DialogTemplate AskTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.cx = 160;
  t.cy = 60;
  t.caption = "Join or Secede";
  t.items = {
      platform::VisibleItem("Static", 0xFFFF, 7, 9, 140, 8, SS_LEFT, "Join the club's room?"),
      platform::VisibleItem("Button", IDOK, 7, 39, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 60, 39, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

// A frame that goes full screen as the relay viewer does: maximised with its caption, menu and
// borders placed beyond the screen's edges.
class CEdgeFrame : public CFrameWnd {
public:
  bool full{false};
  static RECT Beyond() {
    const SIZE screen = platform::GetScreenSize();
    RECT r{0, 0, screen.cx, screen.cy};
    ::AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, TRUE, 0);
    return r;
  }

protected:
  void OnGetMinMaxInfo(MINMAXINFO* info) {
    if (!full) return;
    const RECT r = Beyond();
    info->ptMaxPosition = POINT{r.left, r.top};
    info->ptMaxSize = POINT{r.right - r.left, r.bottom - r.top};
    info->ptMaxTrackSize = info->ptMaxSize;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CEdgeFrame, CFrameWnd)
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

class WindowManagerX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    m_x = XOpenDisplay(name.c_str());
    ASSERT_NE(m_x, nullptr);
    if (!ManagerRunning()) {
      const char* openbox = "/usr/bin/openbox";
      if (!std::filesystem::exists(openbox))
        GTEST_SKIP() << "no window manager on " << name << " and openbox is not installed (./setup installs it)";
      m_manager = std::make_unique<testsupport::ChildProcess>(
          std::vector<std::string>{openbox, "--sm-disable"}, std::map<std::string, std::string>{{"DISPLAY", name}},
          std::filesystem::temp_directory_path().string(), testsupport::SnapshotPath("openbox-log.txt"));
      if (!testsupport::ChildProcess::WaitUntil([this] { return ManagerRunning(); }, 15000))
        GTEST_SKIP() << "openbox could not be started on " << name << ":\n" << m_manager->Output();
    }
    // The manager is ready once it takes in a window of its own kind.
    if (!ManagesProbe()) GTEST_SKIP() << "the window manager on " << name << " takes in no window";
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    platform::Clock::SetManual(false);
    static platform::ResourceModule& module = platform::CreateResourceModule("window-manager-tests");
    platform::AddDialogTemplate(module, kAskId, AskTemplate());
    m_scope = std::make_unique<platform::ResourceScope>(module.Handle());
    m_person = std::make_unique<ScreenPerson>(name);
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
    platform::ResetMessageQueue();
    m_scope.reset();
    if (m_manager) {
      m_manager->Stop();
      // The next test finds the server as it was: no manager left holding it.
      testsupport::ChildProcess::WaitUntil([this] { return !ManagerRunning(); }, 5000);
    }
    if (m_x) XCloseDisplay(m_x);
  }

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
  // A manager just started may still be reading its settings: a small window is shown (again)
  // until it is taken in.
  bool ManagesProbe() const {
    Window probe = 0;
    const bool managed = testsupport::ChildProcess::WaitUntil([&] {
      if (probe && !Property(probe, "WM_STATE").empty()) return true;
      if (probe) XDestroyWindow(m_x, probe);
      probe = XCreateSimpleWindow(m_x, DefaultRootWindow(m_x), 0, 0, 40, 40, 0, 0, 0);
      XMapWindow(m_x, probe);
      XSync(m_x, False);
      return testsupport::ChildProcess::WaitUntil([&] { return !Property(probe, "WM_STATE").empty(); }, 500);
    }, 15000);
    if (probe) XDestroyWindow(m_x, probe);
    XSync(m_x, False);
    return managed;
  }
  // A manager runs when the window it names on the root still names itself: one that ended
  // leaves the root's property behind.
  bool ManagerRunning() const {
    std::vector<long> check = Property(DefaultRootWindow(m_x), "_NET_SUPPORTING_WM_CHECK");
    if (check.empty() || check.front() == 0) return false;
    XSync(m_x, False);
    XErrorHandler previous = XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
    std::vector<long> self = Property(static_cast<Window>(check.front()), "_NET_SUPPORTING_WM_CHECK");
    XSync(m_x, False);
    XSetErrorHandler(previous);
    return !self.empty() && self.front() == check.front();
  }
  // The manager has taken the window in (it tells its state and what may be done with it).
  bool Managed(HWND top) const {
    Window window = Native(top);
    return window && !Property(window, "WM_STATE").empty() && !Property(window, "_NET_WM_ALLOWED_ACTIONS").empty();
  }
  static Window Native(HWND top) { return static_cast<Window>(platform::display::NativeWindowOf(top)); }
  // Where the server shows the X window of top (root coordinates).
  RECT ShownAt(HWND top) const {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(m_x, Native(top), &attributes)) return RECT{};
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(m_x, Native(top), DefaultRootWindow(m_x), 0, 0, &x, &y, &child);
    return RECT{x, y, x + attributes.width, y + attributes.height};
  }
  bool WaitFor(const std::function<bool()>& pred) {
    return platform::RunUntil([&] {
      platform::display::Sync();
      XSync(m_x, False);
      return pred();
    }, 20000);
  }

  // What the manager was told of a window shown over the frame, read while it is shown.
  struct Marks {
    bool dialogType{false};
    bool modal{false};
    long functions{-1};
    Window transientFor{0};
    bool minimiseAllowed{false};
    bool maximiseAllowed{true};
  };
  Marks Read(HWND top) const {
    Marks marks;
    Window window = Native(top);
    marks.dialogType = Has(window, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG");
    marks.modal = Has(window, "_NET_WM_STATE", "_NET_WM_STATE_MODAL");
    std::vector<long> motif = Property(window, "_MOTIF_WM_HINTS");
    if (motif.size() >= 2) marks.functions = motif[1];
    XGetTransientForHint(m_x, window, &marks.transientFor);
    marks.minimiseAllowed = Has(window, "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_MINIMIZE");
    marks.maximiseAllowed = Has(window, "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_MAXIMIZE_HORZ");
    return marks;
  }

  ::Display* m_x{nullptr};
  std::unique_ptr<testsupport::ChildProcess> m_manager;
  std::unique_ptr<platform::ResourceScope> m_scope;
  std::unique_ptr<ScreenPerson> m_person;
};

// A modal dialog and a message box over a frame: each is a dialog for the manager, over the
// frame, modal, with a close box and no minimise or maximise; the frame keeps all three. The
// person then answers each with the keyboard and the frame goes on.
TEST_F(WindowManagerX11Test, DialogsAndMessageBoxesAreModalDialogsOverTheirOwner) {
  auto* frame = new CFrameWnd;
  ASSERT_TRUE(frame->Create(nullptr, "Lobby", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 660, 500)));
  ASSERT_TRUE(WaitFor([&] { return Managed(frame->m_hWnd); }));
  const Marks frameMarks = Read(frame->m_hWnd);
  EXPECT_FALSE(frameMarks.dialogType);
  EXPECT_FALSE(frameMarks.modal);
  EXPECT_TRUE(frameMarks.functions & kFuncMinimize);
  EXPECT_TRUE(frameMarks.functions & kFuncMaximize);
  EXPECT_TRUE(frameMarks.minimiseAllowed);

  struct Case {
    const char* what;
    const char* shownClass;
    std::function<void()> show;
  };
  CDialog dialog(kAskId, frame);
  int answer = 0;
  const std::vector<Case> cases = {
      {"dialog", "#32770", [&] { answer = static_cast<int>(dialog.DoModal()); }},
      {"message box", "PlatformMessageBox",
       [&] { answer = ::MessageBox(frame->m_hWnd, "Agree to undo?", "Undo", MB_YESNO | MB_ICONQUESTION); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Marks marks;
    // The person minimises the box through the manager's own button (the request it sends); a box
    // with no minimise box comes back at once and is still answered by the keyboard.
    int stateChanges = 0;
    Window iconified = 0;
    m_person->Then([&] { HWND shown = screentest::ShownWindow(c.shownClass); return shown && Managed(shown); },
                   [&] {
                     iconified = Native(screentest::ShownWindow(c.shownClass));
                     XSelectInput(m_x, iconified, PropertyChangeMask);
                     XIconifyWindow(m_x, iconified, DefaultScreen(m_x));
                     XSync(m_x, False);
                   });
    m_person->Then([&] {
                     for (XEvent event; XCheckTypedWindowEvent(m_x, iconified, PropertyNotify, &event);)
                       if (event.xproperty.atom == AtomOf("WM_STATE")) ++stateChanges;
                     std::vector<long> state = Property(iconified, "WM_STATE");
                     return stateChanges >= 2 && !state.empty() && state.front() == NormalState;
                   },
                   [&] {
                     HWND shown = screentest::ShownWindow(c.shownClass);
                     marks = Read(shown);
                     RECT r{};
                     ::GetWindowRect(shown, &r);
                     // The manager's frame lies around the window: the picture takes it in.
                     RECT around{r.left - 40, r.top - 50, r.right + 40, r.bottom + 40};
                     const char* picture = c.shownClass[0] == '#' ? "wm-dialog.png" : "wm-message-box.png";
                     platform::SaveSurfacePng(m_person->ShownOnScreen(around),
                                              testsupport::SnapshotPath(picture).c_str());
                     m_person->Key(shown, XK_Escape);
                   });
    answer = 0;
    EXPECT_TRUE(m_person->Drive(c.show));
    EXPECT_TRUE(marks.dialogType);
    EXPECT_TRUE(marks.modal);
    EXPECT_EQ(marks.transientFor, Native(frame->m_hWnd));
    EXPECT_FALSE(marks.functions & kFuncMinimize) << std::hex << marks.functions;
    EXPECT_FALSE(marks.functions & kFuncMaximize) << std::hex << marks.functions;
    EXPECT_TRUE(marks.functions & kFuncClose);
    EXPECT_FALSE(marks.maximiseAllowed);
    EXPECT_EQ(answer, c.shownClass[0] == '#' ? IDCANCEL : IDNO);
    EXPECT_TRUE(::IsWindowEnabled(frame->m_hWnd));
  }
}

// Full screen the class library's way, twice over, for a frame that drops its caption and border
// and for one that puts them beyond the screen's edges: the manager is asked for full screen, the
// window then covers the screen, and leaving gives back the former place and size each time.
TEST_F(WindowManagerX11Test, FullScreenIsAskedOfTheManagerAndLeftForTheFormerPlace) {
  const SIZE screen = platform::GetScreenSize();
  const RECT whole{0, 0, screen.cx, screen.cy};
  auto isFull = [&](HWND top) {
    const RECT shown = ShownAt(top);
    return Has(Native(top), "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN") && ::EqualRect(&whole, &shown);
  };
  struct Case {
    const char* what;
    std::function<void(CFrameWnd&)> enter, leave;
  };
  CRect former;
  const std::vector<Case> cases = {
      {"styles dropped",
       [&](CFrameWnd& f) {
         f.ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
         f.SetWindowPos(nullptr, 0, 0, screen.cx, screen.cy, SWP_NOZORDER | SWP_FRAMECHANGED);
       },
       [&](CFrameWnd& f) {
         f.ModifyStyle(0, WS_CAPTION | WS_THICKFRAME);
         f.SetWindowPos(nullptr, former.left, former.top, former.Width(), former.Height(),
                        SWP_NOZORDER | SWP_FRAMECHANGED);
       }},
      {"edges beyond the screen",
       [&](CFrameWnd& f) {
         static_cast<CEdgeFrame&>(f).full = true;
         f.ShowWindow(SW_MAXIMIZE);
       },
       [&](CFrameWnd& f) {
         static_cast<CEdgeFrame&>(f).full = false;
         f.ShowWindow(SW_RESTORE);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* frame = new CEdgeFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Relay", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(110, 70, 907, 731)));
    ASSERT_TRUE(WaitFor([&] { return Managed(frame->m_hWnd); }));
    // The manager may have placed the frame itself: that is its former place.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frame->m_hWnd); }));
    platform::display::Sync();
    frame->GetWindowRect(&former);
    const RECT formerShown = ShownAt(frame->m_hWnd);
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE(round);
      c.enter(*frame);
      CRect asked;
      frame->GetWindowRect(&asked);
      ASSERT_TRUE(WaitFor([&] { return isFull(frame->m_hWnd); })) << "shown at " << ShownAt(frame->m_hWnd).left << ","
                                                                   << ShownAt(frame->m_hWnd).top;
      // The frame's own idea of its place is what it asked for, not what the manager reported.
      CRect held;
      frame->GetWindowRect(&held);
      EXPECT_EQ(held, asked);
      c.leave(*frame);
      ASSERT_TRUE(WaitFor([&] {
        CRect now;
        frame->GetWindowRect(&now);
        const RECT shown = ShownAt(frame->m_hWnd);
        return !Has(Native(frame->m_hWnd), "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN") && now == former &&
               ::EqualRect(&shown, &formerShown);
      })) << "back at " << ShownAt(frame->m_hWnd).left << "," << ShownAt(frame->m_hWnd).top << " "
          << ShownAt(frame->m_hWnd).right - ShownAt(frame->m_hWnd).left << "x"
          << ShownAt(frame->m_hWnd).bottom - ShownAt(frame->m_hWnd).top;
    }
    frame->DestroyWindow();
  }
}

}  // namespace wmtest

// The program's windows under a window manager (openbox, which ./setup installs; an X server
// that already has a manager keeps its own): dialogs and message boxes are marked as dialogs
// standing over their owner, without minimise and maximise, modal while their owner waits;
// frames get the buttons their styles ask for; full screen is asked of the manager and left for
// the former place and size. The hints are read back through the server as xprop reads them.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "support/SnapshotPath.h"
#include "support/WindowManagerOnServer.h"

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
    m_manager = std::make_unique<testsupport::WindowManagerOnServer>(name);
    if (!m_manager->Problem().empty()) GTEST_SKIP() << m_manager->Problem();
    m_x = m_manager->Connection();
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
    m_manager.reset();
  }

  bool Has(Window window, const char* property, const char* atom) const { return m_manager->Has(window, property, atom); }
  std::vector<long> Property(Window window, const char* name) const { return m_manager->Property(window, name); }
  Atom AtomOf(const char* name) const { return m_manager->AtomOf(name); }
  bool Managed(HWND top) const { return m_manager->Managed(Native(top)); }
  static Window Native(HWND top) { return static_cast<Window>(platform::display::NativeWindowOf(top)); }
  // Where the server shows the X window of top (root coordinates).
  RECT ShownAt(HWND top) const {
    const testsupport::ScreenPlace p = m_manager->ShownAt(Native(top));
    return RECT{p.x, p.y, p.x + p.width, p.y + p.height};
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

  std::unique_ptr<testsupport::WindowManagerOnServer> m_manager;
  ::Display* m_x{nullptr};  // the manager's connection, to read what it was told
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
    KeySym answerKey;
    int answer;
    HWND owner;
  };
  CDialog dialog(kAskId, frame);
  // A first dialog (a login) comes before its frame is shown: it is marked over it all the same.
  auto* hidden = new CFrameWnd;
  ASSERT_TRUE(hidden->Create(nullptr, "Login", WS_OVERLAPPEDWINDOW, CRect(80, 80, 680, 520)));
  CDialog first(kAskId, hidden);
  int answer = 0;
  const std::vector<Case> cases = {
      {"dialog", "#32770", [&] { answer = static_cast<int>(dialog.DoModal()); }, XK_Escape, IDCANCEL, frame->m_hWnd},
      {"message box", "PlatformMessageBox",
       [&] { answer = ::MessageBox(frame->m_hWnd, "Agree to undo?", "Undo", MB_YESNO | MB_ICONQUESTION); }, XK_n, IDNO,
       frame->m_hWnd},
      {"dialog over a frame not shown yet", "#32770", [&] { answer = static_cast<int>(first.DoModal()); }, XK_Escape,
       IDCANCEL, hidden->m_hWnd},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Marks marks;
    // The person minimises the box through the manager's own button (the request it sends); a box
    // with no minimise box comes back at once and is still answered by the keyboard.
    // (Over a frame not shown there is nothing for the manager to minimise it with.)
    const bool minimise = c.owner != hidden->m_hWnd;
    int stateChanges = 0;
    Window iconified = 0;
    m_person->Then([&] { HWND shown = screentest::ShownWindow(c.shownClass); return shown && Managed(shown); },
                   [&] {
                     if (!minimise) return;
                     iconified = Native(screentest::ShownWindow(c.shownClass));
                     XSelectInput(m_x, iconified, PropertyChangeMask);
                     XIconifyWindow(m_x, iconified, DefaultScreen(m_x));
                     XSync(m_x, False);
                   });
    m_person->Then([&] {
                     if (!minimise) return true;
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
                     const char* picture = c.owner == hidden->m_hWnd ? "wm-first-dialog.png"
                                           : c.shownClass[0] == '#'    ? "wm-dialog.png"
                                                                       : "wm-message-box.png";
                     platform::SaveSurfacePng(m_person->ShownOnScreen(around),
                                              testsupport::SnapshotPath(picture).c_str());
                     m_person->Key(shown, c.answerKey);
                   });
    answer = 0;
    EXPECT_TRUE(m_person->Drive(c.show));
    EXPECT_TRUE(marks.dialogType);
    EXPECT_TRUE(marks.modal);
    EXPECT_NE(marks.transientFor, 0u);
    EXPECT_EQ(marks.transientFor, Native(c.owner));
    EXPECT_FALSE(marks.functions & kFuncMinimize) << std::hex << marks.functions;
    EXPECT_FALSE(marks.functions & kFuncMaximize) << std::hex << marks.functions;
    EXPECT_TRUE(marks.functions & kFuncClose);
    EXPECT_FALSE(marks.maximiseAllowed);
    EXPECT_EQ(answer, c.answer);
    EXPECT_TRUE(::IsWindowEnabled(frame->m_hWnd));
  }
}

// Full screen the class library's way and the manager's maximised state, twice over: a frame
// that drops its caption and border, one that puts them beyond the screen's edges, one maximised
// and restored (a lobby's Big Screen), and one maximised that goes beyond the edges from there
// and back (a relay viewer's). The manager is asked for the state, the window then covers the
// screen, and leaving gives back the former place and size each time, as the frame holds it and
// as the server shows it, maximised again where it was so before.
TEST_F(WindowManagerX11Test, FullScreenIsAskedOfTheManagerAndLeftForTheFormerPlace) {
  const SIZE screen = platform::GetScreenSize();
  const RECT whole{0, 0, screen.cx, screen.cy};
  auto maximized = [&](HWND top) { return Has(Native(top), "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_VERT"); };
  auto isFull = [&](HWND top) {
    const RECT shown = ShownAt(top);
    return Has(Native(top), "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN") && ::EqualRect(&whole, &shown);
  };
  struct Case {
    const char* what;
    bool startsMaximized;
    std::function<void(CFrameWnd&)> enter, leave;
    bool entersFullScreen;
  };
  CRect former;
  const RECT beyond = CEdgeFrame::Beyond();
  const std::vector<Case> cases = {
      {"styles dropped", false,
       [&](CFrameWnd& f) {
         f.ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
         f.SetWindowPos(nullptr, 0, 0, screen.cx, screen.cy, SWP_NOZORDER | SWP_FRAMECHANGED);
       },
       [&](CFrameWnd& f) {
         f.ModifyStyle(0, WS_CAPTION | WS_THICKFRAME);
         f.SetWindowPos(nullptr, former.left, former.top, former.Width(), former.Height(),
                        SWP_NOZORDER | SWP_FRAMECHANGED);
       },
       true},
      {"edges beyond the screen", false,
       [&](CFrameWnd& f) {
         static_cast<CEdgeFrame&>(f).full = true;
         f.ShowWindow(SW_MAXIMIZE);
       },
       [&](CFrameWnd& f) {
         static_cast<CEdgeFrame&>(f).full = false;
         f.ShowWindow(SW_RESTORE);
       },
       true},
      {"maximised and restored", false, [](CFrameWnd& f) { f.ShowWindow(SW_SHOWMAXIMIZED); },
       [](CFrameWnd& f) { f.ShowWindow(SW_SHOWNORMAL); }, false},
      {"beyond the edges from maximised", true,
       [&](CFrameWnd& f) {
         f.SetWindowPos(nullptr, beyond.left, beyond.top, beyond.right - beyond.left, beyond.bottom - beyond.top,
                        SWP_NOZORDER);
       },
       [&](CFrameWnd& f) {
         const int border = -beyond.left;
         f.SetWindowPos(nullptr, -border, -border, screen.cx + 2 * border, screen.cy + 2 * border, SWP_NOZORDER);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* frame = new CEdgeFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Relay", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(110, 70, 904, 645)));
    ASSERT_TRUE(WaitFor([&] { return Managed(frame->m_hWnd); }));
    // The manager may have placed the frame itself: that is its former place.
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(frame->m_hWnd); }));
    if (c.startsMaximized) {
      frame->ShowWindow(SW_MAXIMIZE);
      ASSERT_TRUE(WaitFor([&] { return maximized(frame->m_hWnd) && ShownAt(frame->m_hWnd).left < 110; }));
    }
    RECT formerShown{};
    ASSERT_TRUE(WaitFor([&] {
      // Settled: the frame's place and the server's agree with each other twice in a row.
      const RECT shown = ShownAt(frame->m_hWnd);
      const bool same = ::EqualRect(&shown, &formerShown);
      formerShown = shown;
      return same;
    }));
    frame->GetWindowRect(&former);
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE(round);
      c.enter(*frame);
      CRect asked;
      frame->GetWindowRect(&asked);
      if (c.entersFullScreen) {
        ASSERT_TRUE(WaitFor([&] { return isFull(frame->m_hWnd); })) << "shown at " << ShownAt(frame->m_hWnd).left << ","
                                                                     << ShownAt(frame->m_hWnd).top;
        // The frame's own idea of its place is what it asked for, not what the manager reported.
        CRect held;
        frame->GetWindowRect(&held);
        EXPECT_EQ(held, asked);
      } else {
        ASSERT_TRUE(WaitFor([&] { return maximized(frame->m_hWnd) && frame->IsZoomed(); }));
      }
      c.leave(*frame);
      ASSERT_TRUE(WaitFor([&] {
        CRect now;
        frame->GetWindowRect(&now);
        const RECT shown = ShownAt(frame->m_hWnd);
        return !Has(Native(frame->m_hWnd), "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN") &&
               maximized(frame->m_hWnd) == c.startsMaximized && now == former && ::EqualRect(&shown, &formerShown);
      })) << "back at " << ShownAt(frame->m_hWnd).left << "," << ShownAt(frame->m_hWnd).top << " "
          << ShownAt(frame->m_hWnd).right - ShownAt(frame->m_hWnd).left << "x"
          << ShownAt(frame->m_hWnd).bottom - ShownAt(frame->m_hWnd).top;
      // What a program writes for its next start is that place too.
      WINDOWPLACEMENT placement{};
      frame->GetWindowPlacement(&placement);
      if (!c.startsMaximized) {
        EXPECT_EQ(CRect(placement.rcNormalPosition), former);
      }
      EXPECT_EQ(frame->IsZoomed() != FALSE, c.startsMaximized);
    }
    frame->DestroyWindow();
  }
}

}  // namespace wmtest

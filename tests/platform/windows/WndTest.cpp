#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/messageloop.h"
#include "platform/surface.h"
#include "platform/time.h"
#include "platform/windows.h"

namespace {

constexpr UINT WM_ONE = WM_USER + 1;
constexpr UINT WM_TWO = WM_USER + 2;
constexpr UINT WM_THREE = WM_USER + 3;
constexpr UINT WM_UNMAPPED = WM_USER + 0xE9;

std::vector<std::string>* g_log = nullptr;

void Log(const std::string& entry) {
  if (g_log) g_log->push_back(entry);
}

class BaseWnd : public CWnd {
public:
  std::string name;

protected:
  LRESULT OnOne(WPARAM w, LPARAM) { return 100 + static_cast<LRESULT>(w); }
  LRESULT OnTwo(WPARAM, LPARAM) { return 200; }
  int OnCreate(LPCREATESTRUCT cs) {
    Log(name + ":create");
    return CWnd::OnCreate(cs);
  }
  void OnSize(UINT, int cx, int cy) { Log(name + ":size " + std::to_string(cx) + "x" + std::to_string(cy)); }
  void OnShowWindow(BOOL show, UINT) { Log(name + (show ? ":show" : ":hide")); }
  void OnDestroy() { Log(name + ":destroy"); }
  void OnNcDestroy() { Log(name + ":ncdestroy"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
  ON_MESSAGE(WM_ONE, OnOne)
  ON_MESSAGE(WM_TWO, OnTwo)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_SHOWWINDOW()
  ON_WM_DESTROY()
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

class DerivedWnd : public BaseWnd {
protected:
  LRESULT OnOneAgain(WPARAM, LPARAM) { return 1; }
  LRESULT OnThree(WPARAM, LPARAM) { return 300; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
  ON_MESSAGE(WM_ONE, OnOneAgain)
  ON_MESSAGE(WM_THREE, OnThree)
END_MESSAGE_MAP()

class WndTest : public ::testing::Test {
protected:
  void SetUp() override { g_log = &log; }
  void TearDown() override {
    g_log = nullptr;
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  std::vector<std::string> log;
};

TEST_F(WndTest, MessageMapWalksTheClassChainThenTheDefaultProcedure) {
  DerivedWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "first", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  EXPECT_EQ(wnd.SendMessage(WM_ONE, 5), 1);     // the derived entry wins
  EXPECT_EQ(wnd.SendMessage(WM_TWO), 200);      // the base entry is still reached
  EXPECT_EQ(wnd.SendMessage(WM_THREE), 300);
  EXPECT_EQ(wnd.SendMessage(WM_UNMAPPED), 0);   // default procedure
  wnd.SetWindowText("renamed");                  // WM_SETTEXT handled by the default procedure
  CString text;
  wnd.GetWindowText(text);
  EXPECT_STREQ(text, "renamed");
  EXPECT_EQ(wnd.GetWindowTextLength(), 7);

  BaseWnd base;
  ASSERT_TRUE(base.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  EXPECT_EQ(base.SendMessage(WM_ONE, 5), 105);
  EXPECT_EQ(base.SendMessage(WM_THREE), 0);
}

TEST_F(WndTest, CreationAndDestructionMessagesInOrderChildrenDestroyedFirst) {
  BaseWnd parent;
  parent.name = "parent";
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 80, nullptr, nullptr));
  BaseWnd child;
  child.name = "child";
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(5, 5, 25, 15), &parent, 7));
  EXPECT_EQ((std::vector<std::string>{"parent:create", "parent:size 100x80", "parent:show", "child:create",
                                       "child:size 20x10", "child:show"}),
            log);
  log.clear();
  HWND childHwnd = child.m_hWnd;
  EXPECT_TRUE(parent.DestroyWindow());
  EXPECT_EQ((std::vector<std::string>{"parent:destroy", "child:destroy", "child:ncdestroy", "parent:ncdestroy"}), log);
  EXPECT_FALSE(IsWindow(childHwnd));
  EXPECT_EQ(child.m_hWnd, nullptr);
  EXPECT_FALSE(parent.DestroyWindow());
}

class RefusingWnd : public CWnd {
public:
  bool postNcDestroyCalled{false};

protected:
  int OnCreate(LPCREATESTRUCT) { return -1; }
  void PostNcDestroy() override { postNcDestroyCalled = true; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RefusingWnd, CWnd)
  ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(WndTest, CreateFailsWhenOnCreateRefusesAndTheHandleIsGone) {
  RefusingWnd wnd;
  EXPECT_FALSE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_TRUE(wnd.postNcDestroyCalled);
  EXPECT_TRUE(platform::AllWindows().empty());
}

TEST_F(WndTest, UnknownClassOrMissingParentFails) {
  CWnd wnd;
  EXPECT_FALSE(wnd.CreateEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  EXPECT_FALSE(wnd.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), nullptr, 1));
  EXPECT_EQ(CreateWindowEx(0, "Button", "ok", WS_CHILD, 0, 0, 5, 5, reinterpret_cast<HWND>(12345), nullptr, nullptr, nullptr),
            nullptr);
}

// Destroys (and deletes) itself from inside its own handlers.
class SelfDestroyingWnd : public CWnd {
public:
  static int deleted;
  ~SelfDestroyingWnd() override { ++deleted; }

protected:
  LRESULT OnCloseNow(WPARAM, LPARAM) {
    DestroyWindow();
    return 42;
  }
  void OnTimer(UINT_PTR) { DestroyWindow(); }
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()
};
int SelfDestroyingWnd::deleted = 0;

BEGIN_MESSAGE_MAP(SelfDestroyingWnd, CWnd)
  ON_MESSAGE(WM_ONE, OnCloseNow)
  ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(WndTest, WindowDestroysAndDeletesItselfInsideItsHandler) {
  SelfDestroyingWnd::deleted = 0;
  auto* wnd = new SelfDestroyingWnd;
  ASSERT_TRUE(wnd->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  HWND hwnd = wnd->m_hWnd;
  EXPECT_EQ(SendMessage(hwnd, WM_ONE, 0, 0), 42);
  EXPECT_EQ(SelfDestroyingWnd::deleted, 1);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(SendMessage(hwnd, WM_ONE, 0, 0), 0);  // a dead handle is harmless
}

TEST_F(WndTest, WindowDestroysItselfFromAPostedMessageAndATimer) {
  SelfDestroyingWnd::deleted = 0;
  auto* posted = new SelfDestroyingWnd;
  ASSERT_TRUE(posted->CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 5, 5, nullptr, nullptr));
  HWND hwnd = posted->m_hWnd;
  EXPECT_TRUE(PostMessage(hwnd, WM_ONE, 0, 0));
  EXPECT_TRUE(PostMessage(hwnd, WM_ONE, 0, 0));  // the second one finds the window gone
  platform::PumpMessages();
  EXPECT_EQ(SelfDestroyingWnd::deleted, 1);
  EXPECT_FALSE(PostMessage(hwnd, WM_ONE, 0, 0));

  auto* timed = new SelfDestroyingWnd;
  ASSERT_TRUE(timed->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  platform::ManualClockScope manual;
  timed->SetTimer(1, 10, nullptr);
  platform::Clock::Advance(100);
  EXPECT_EQ(SelfDestroyingWnd::deleted, 2);
}

// A child that destroys its parent (and so itself) while handling a message.
class ParentKillerWnd : public CWnd {
protected:
  LRESULT OnKill(WPARAM, LPARAM) {
    GetParent()->DestroyWindow();
    return 1;
  }
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ParentKillerWnd, CWnd)
  ON_MESSAGE(WM_ONE, OnKill)
END_MESSAGE_MAP()

TEST_F(WndTest, ChildDestroyingItsParentInsideItsHandler) {
  auto* parent = new SelfDestroyingWnd;
  SelfDestroyingWnd::deleted = 0;
  ASSERT_TRUE(parent->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  auto* child = new ParentKillerWnd;
  ASSERT_TRUE(child->Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), parent, 3));
  HWND childHwnd = child->m_hWnd;
  EXPECT_EQ(SendMessage(childHwnd, WM_ONE, 0, 0), 1);
  EXPECT_EQ(SelfDestroyingWnd::deleted, 1);
  EXPECT_TRUE(platform::AllWindows().empty());
}

TEST_F(WndTest, DeletingTheObjectDestroysItsWindow) {
  auto* wnd = new CWnd;
  ASSERT_TRUE(wnd->CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  HWND hwnd = wnd->m_hWnd;
  delete wnd;
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WndTest, HandlesAreDistinctNumbersAndNeverReused) {
  CWnd a;
  CWnd b;
  ASSERT_TRUE(a.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  HWND first = a.m_hWnd;
  a.DestroyWindow();
  ASSERT_TRUE(b.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  EXPECT_NE(b.m_hWnd, first);
  EXPECT_NE(reinterpret_cast<std::uintptr_t>(b.m_hWnd), 0u);
  EXPECT_EQ(CWnd::FromHandle(b.m_hWnd), &b);
  EXPECT_EQ(CWnd::FromHandle(first), nullptr);
}

TEST_F(WndTest, OnlyLiveHandlesNameWindows) {
  CWnd gone;
  CWnd live;
  ASSERT_TRUE(gone.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  const auto goneNumber = reinterpret_cast<std::uintptr_t>(gone.m_hWnd);
  gone.DestroyWindow();
  ASSERT_TRUE(live.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  const auto liveNumber = reinterpret_cast<std::uintptr_t>(live.m_hWnd);
  const struct {
    const char* what;
    std::uintptr_t number;
    bool window;
  } cases[] = {
      {"null", 0, false},
      {"a small number", 1, false},
      {"just below the first handle", 0x1000e, false},
      {"a destroyed window", goneNumber, false},
      {"a live window", liveNumber, true},
      {"between two handles", liveNumber + 1, false},
      {"not handed out yet", liveNumber + 2, false},
      {"far beyond", liveNumber + 0x100000, false},
      {"the top of the range", ~std::uintptr_t{0} - 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HWND hwnd = reinterpret_cast<HWND>(c.number);
    EXPECT_EQ(::IsWindow(hwnd) != FALSE, c.window);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd) != nullptr, c.window);
    EXPECT_EQ(::SetWindowText(hwnd, "x") != FALSE, c.window);
  }
}

TEST_F(WndTest, FromHandleGivesATemporaryObjectForAPlainWindow) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  HWND button = CreateWindowEx(0, "BUTTON", "press", WS_CHILD, 1, 2, 30, 10, parent.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(1001)), nullptr, nullptr);
  ASSERT_NE(button, nullptr);
  CWnd* temp = parent.GetDlgItem(1001);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp->m_hWnd, button);
  EXPECT_EQ(CWnd::FromHandlePermanent(button), nullptr);
  CString text;
  temp->GetWindowText(text);
  EXPECT_STREQ(text, "press");
  EXPECT_EQ(temp->GetDlgCtrlID(), 1001);
  EXPECT_STREQ(platform::WindowClassName(button), "Button");

  CWnd attached;
  EXPECT_TRUE(attached.SubclassDlgItem(1001, &parent));
  EXPECT_EQ(CWnd::FromHandle(button), &attached);
  EXPECT_EQ(attached.Detach(), button);
  EXPECT_TRUE(IsWindow(button));
}

TEST_F(WndTest, GeometryOfFramedAndChildWindows) {
  CWnd frame;
  ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_OVERLAPPEDWINDOW, 100, 50, 400, 300, nullptr, nullptr));
  CRect client;
  frame.GetClientRect(&client);
  CRect adjusted = client;
  AdjustWindowRectEx(&adjusted, frame.GetStyle(), FALSE, frame.GetExStyle());
  EXPECT_EQ(adjusted.Width(), 400);
  EXPECT_EQ(adjusted.Height(), 300);
  EXPECT_LT(client.Width(), 400);

  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_BORDER, CRect(10, 20, 110, 70), &frame, 1));
  CRect childClient;
  child.GetClientRect(&childClient);
  EXPECT_EQ(childClient, CRect(0, 0, 98, 48));
  CRect childWindow;
  child.GetWindowRect(&childWindow);
  CPoint origin(0, 0);
  frame.ClientToScreen(&origin);
  EXPECT_EQ(childWindow.TopLeft(), CPoint(origin.x + 10, origin.y + 20));
  CPoint p(3, 4);
  child.ClientToScreen(&p);
  EXPECT_EQ(p, CPoint(origin.x + 11 + 3, origin.y + 21 + 4));
  frame.ScreenToClient(&p);
  EXPECT_EQ(p, CPoint(11 + 3, 21 + 4));

  child.MoveWindow(0, 0, 40, 30);
  child.GetClientRect(&childClient);
  EXPECT_EQ(childClient, CRect(0, 0, 38, 28));
}

class PlacementWnd : public BaseWnd {
public:
  int clampWidth{0};

protected:
  void OnWindowPosChanging(WINDOWPOS* pos) {
    if (clampWidth && pos->cx > clampWidth) pos->cx = clampWidth;
  }
  void OnGetMinMaxInfo(MINMAXINFO* info) { info->ptMaxSize.y = 500; }
  void OnMove(int x, int y) { Log(name + ":move " + std::to_string(x) + "," + std::to_string(y)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PlacementWnd, BaseWnd)
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_GETMINMAXINFO()
  ON_WM_MOVE()
END_MESSAGE_MAP()

TEST_F(WndTest, MovingAndSizingSendMoveAndSizeOnlyWhenTheyChange) {
  PlacementWnd wnd;
  wnd.name = "w";
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 10, 20, 100, 50, nullptr, nullptr));
  log.clear();
  wnd.MoveWindow(30, 20, 100, 50);
  EXPECT_EQ(log, (std::vector<std::string>{"w:move 30,20"}));
  log.clear();
  wnd.clampWidth = 80;
  wnd.SetWindowPos(nullptr, 0, 0, 200, 60, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(log, (std::vector<std::string>{"w:size 80x60"}));
  CRect r;
  wnd.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(30, 20, 110, 80));
}

TEST_F(WndTest, MaximizeFillsTheScreenWithinTheWindowsLimitsAndRestoreGoesBack) {
  PlacementWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr));
  wnd.ShowWindow(SW_SHOWMAXIMIZED);
  EXPECT_TRUE(wnd.IsZoomed());
  CRect r;
  wnd.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(0, 0, platform::GetScreenSize().cx, 500));
  wnd.ShowWindow(SW_RESTORE);
  EXPECT_FALSE(wnd.IsZoomed());
  wnd.GetWindowRect(&r);
  EXPECT_EQ(r, CRect(10, 20, 310, 220));
}

TEST_F(WndTest, ShowEnableAndStyleChanges) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &parent, 1));
  EXPECT_FALSE(child.IsWindowVisible());  // the parent is hidden
  parent.ShowWindow(SW_SHOW);
  EXPECT_TRUE(child.IsWindowVisible());
  EXPECT_TRUE(child.IsWindowEnabled());
  child.EnableWindow(FALSE);
  EXPECT_FALSE(child.IsWindowEnabled());
  EXPECT_TRUE(child.ModifyStyle(0, WS_BORDER));
  EXPECT_TRUE(child.GetStyle() & WS_BORDER);
  EXPECT_FALSE(child.ModifyStyle(0, WS_BORDER));
}

class FocusWnd : public CWnd {
public:
  HWND lostTo{nullptr};
  HWND gotFrom{nullptr};
  int sets{0};

protected:
  void OnSetFocus(CWnd* old) {
    ++sets;
    gotFrom = old ? old->m_hWnd : nullptr;
  }
  void OnKillFocus(CWnd* next) { lostTo = next ? next->m_hWnd : nullptr; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FocusWnd, CWnd)
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

TEST_F(WndTest, FocusMovesWithKillAndSetFocusMessages) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
  FocusWnd a;
  FocusWnd b;
  ASSERT_TRUE(a.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &parent, 1));
  ASSERT_TRUE(b.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(5, 0, 10, 5), &parent, 2));
  a.SetFocus();
  EXPECT_EQ(CWnd::GetFocus(), &a);
  b.SetFocus();
  EXPECT_EQ(a.lostTo, b.m_hWnd);
  EXPECT_EQ(b.gotFrom, a.m_hWnd);
  b.SetFocus();
  EXPECT_EQ(b.sets, 1);  // focusing the focus window again sends nothing
  b.DestroyWindow();
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WndTest, CaptureIsReleasedWithNotice) {
  BaseWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  wnd.SetCapture();
  EXPECT_EQ(GetCapture(), wnd.m_hWnd);
  ReleaseCapture();
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WndTest, ChildEnumerationInCreationOrder) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  CWnd a, b, c;
  ASSERT_TRUE(a.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &parent, 1));
  ASSERT_TRUE(b.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &parent, 2));
  ASSERT_TRUE(c.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &a, 3));
  EXPECT_EQ(parent.GetWindow(GW_CHILD), &a);
  EXPECT_EQ(a.GetWindow(GW_HWNDNEXT), &b);
  EXPECT_EQ(b.GetWindow(GW_HWNDNEXT), nullptr);
  EXPECT_EQ(c.GetTopLevelParent(), &parent);
  EXPECT_TRUE(parent.IsChild(&c));
  EXPECT_EQ(parent.GetDlgItem(3), nullptr);  // only direct children
  std::vector<HWND> seen;
  EnumChildWindows(parent.m_hWnd, [](HWND h, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&seen));
  EXPECT_EQ(seen, (std::vector<HWND>{a.m_hWnd, c.m_hWnd, b.m_hWnd}));
}

class PaintWnd : public CWnd {
public:
  int paints{0};
  RECT lastPaint{};

protected:
  void OnPaint() {
    ++paints;
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    lastPaint = ps.rcPaint;
    ::EndPaint(m_hWnd, &ps);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintWnd, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(WndTest, InvalidVisibleWindowsArePaintedWhenTheQueueIsEmpty) {
  PaintWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 60, 40, nullptr, nullptr));
  platform::PumpMessages();
  EXPECT_EQ(wnd.paints, 0);  // hidden windows are not painted
  wnd.ShowWindow(SW_SHOW);
  platform::PumpMessages();
  EXPECT_EQ(wnd.paints, 1);
  EXPECT_EQ(CRect(wnd.lastPaint), CRect(0, 0, 60, 40));
  platform::PumpMessages();
  EXPECT_EQ(wnd.paints, 1);
  CRect part(5, 5, 10, 10);
  wnd.InvalidateRect(&part);
  wnd.InvalidateRect(CRect(20, 20, 30, 25));
  wnd.UpdateWindow();
  EXPECT_EQ(wnd.paints, 2);
  EXPECT_EQ(CRect(wnd.lastPaint), CRect(5, 5, 30, 25));
}

class LazyPaintWnd : public CWnd {
public:
  int paints{0};
  bool invalidateOnce{false};

protected:
  void OnPaint() {
    ++paints;
    if (!invalidateOnce) return;  // paints nothing and validates nothing
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
    invalidateOnce = false;
    Invalidate();  // asks for another frame
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LazyPaintWnd, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(WndTest, APaintHandlerThatPaintsNothingIsNotAskedForever) {
  LazyPaintWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr));
  platform::PumpMessages();
  EXPECT_EQ(wnd.paints, 1);
  wnd.invalidateOnce = true;
  wnd.Invalidate();
  platform::PumpMessages();
  EXPECT_EQ(wnd.paints, 3);  // the invalidation made inside the handler is kept
}

TEST_F(WndTest, SetParentMovesAWindowBetweenParentsAndToTheTop) {
  CWnd a;
  CWnd b;
  ASSERT_TRUE(a.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  ASSERT_TRUE(b.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &a, 1));
  EXPECT_EQ(child.SetParent(&b), &a);
  EXPECT_EQ(child.GetParent(), &b);
  EXPECT_EQ(a.GetDlgItem(1), nullptr);
  EXPECT_EQ(b.GetDlgItem(1), &child);
  ::SetParent(a.m_hWnd, child.m_hWnd);
  EXPECT_TRUE(b.IsChild(&a));
  EXPECT_EQ(a.GetTopLevelParent(), &b);
  ::SetParent(b.m_hWnd, a.m_hWnd);  // a window cannot go under its own descendant
  EXPECT_EQ(b.GetParent(), nullptr);
  EXPECT_TRUE(child.IsChild(&a));
  b.DestroyWindow();
  EXPECT_TRUE(platform::AllWindows().empty());
}

TEST_F(WndTest, PaintTargetOfAChildIsClippedToItsParent) {
  CWnd frame;
  ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 10, 100, 80, nullptr, nullptr));
  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(60, 50, 160, 150), &frame, 1));
  platform::PaintTarget target = platform::GetPaintTarget(child.m_hWnd);
  ASSERT_NE(target.surface, nullptr);
  EXPECT_EQ(target.surface->width, 100);
  EXPECT_EQ(target.surface->height, 80);
  EXPECT_EQ(CPoint(target.origin), CPoint(61, 51));
  EXPECT_EQ(CRect(target.clip), CRect(61, 51, 99, 79));
  child.ShowWindow(SW_HIDE);
  EXPECT_EQ(platform::GetPaintTarget(child.m_hWnd).surface, nullptr);
  frame.MoveWindow(10, 10, 120, 90);
  EXPECT_EQ(platform::GetPaintTarget(frame.m_hWnd).surface->width, 120);
}

}  // namespace

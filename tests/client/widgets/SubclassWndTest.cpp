#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "client/widgets/SubclassWnd.h"
#include "client/widgets/WndHookMap.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

constexpr UINT kProbe = WM_USER + 7;

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

// The hooked window: notes what reaches its own procedure.
class TargetWnd : public CWnd {
protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kProbe) {
      Calls().push_back("window");
      return 100 + static_cast<LRESULT>(wParam);
    }
    if (message == WM_NCDESTROY) Calls().push_back("window:ncdestroy");
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A hook that notes each probe, may act during it, then passes it on.
class NamedHook : public CSubclassWnd {
public:
  explicit NamedHook(std::string name) : m_name(std::move(name)) {}
  std::function<void()> during;
  bool swallow{false};
  MSG seen{};
  MSG after{};  // the current message once what `during` did is over

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCDESTROY) Calls().push_back(m_name + ":ncdestroy");
    if (message != kProbe) return CSubclassWnd::WindowProc(message, wParam, lParam);
    Calls().push_back(m_name);
    if (const MSG* current = CWnd::GetCurrentMessage()) seen = *current;
    if (during) during();
    if (const MSG* current = CWnd::GetCurrentMessage()) after = *current;
    if (swallow) return 1;
    return Default();
  }

private:
  std::string m_name;
};

class SubclassWndTest : public ::testing::Test {
protected:
  void SetUp() override {
    Calls().clear();
    ASSERT_TRUE(window.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr));
    original = ::GetWindowLongPtr(window.m_hWnd, GWL_WNDPROC);
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  LRESULT Probe(WPARAM value = 0) {
    Calls().clear();
    return window.SendMessage(kProbe, value, 0);
  }
  CSubclassWnd* Newest() { return CWndHookMap::GetHookMap().FindHook(window.m_hWnd); }

  TargetWnd window;
  LONG_PTR original{0};
};

using Seq = std::vector<std::string>;

TEST_F(SubclassWndTest, NewestHookSeesFirstAndRemovalKeepsTheRestOfTheChain) {
  NamedHook older("older"), newer("newer");
  older.SetHookedWindow(&window);
  const LONG_PTR hooked = ::GetWindowLongPtr(window.m_hWnd, GWL_WNDPROC);
  EXPECT_EQ(hooked, reinterpret_cast<LONG_PTR>(&SubclassWndProc));
  newer.SetHookedWindow(&window);
  EXPECT_EQ(Newest(), &newer);
  EXPECT_EQ(Probe(5), 105);
  EXPECT_EQ(Calls(), (Seq{"newer", "older", "window"}));
  // Default hands the hook the message being processed.
  EXPECT_EQ(newer.seen.message, kProbe);
  EXPECT_EQ(newer.seen.wParam, 5u);
  EXPECT_EQ(newer.seen.hwnd, window.m_hWnd);

  // A message sent from inside a hook leaves the current message as it was.
  newer.during = [&] { window.SendMessage(WM_USER + 20, 9, 0); };
  EXPECT_EQ(Probe(6), 106);
  EXPECT_EQ(newer.after.message, kProbe);
  EXPECT_EQ(newer.after.wParam, 6u);
  newer.during = nullptr;

  // A swallowing hook ends the chain.
  newer.swallow = true;
  EXPECT_EQ(Probe(), 1);
  EXPECT_EQ(Calls(), (Seq{"newer"}));
  newer.swallow = false;

  // Newest off first: the older becomes the entry, the window keeps the shared procedure.
  newer.SetHookedWindow(nullptr);
  EXPECT_FALSE(newer.IsHooked());
  EXPECT_EQ(Newest(), &older);
  EXPECT_EQ(::GetWindowLongPtr(window.m_hWnd, GWL_WNDPROC), hooked);
  EXPECT_EQ(Probe(1), 101);
  EXPECT_EQ(Calls(), (Seq{"older", "window"}));
  // The last one off gives back exactly the procedure from before.
  older.SetHookedWindow(nullptr);
  EXPECT_EQ(Newest(), nullptr);
  EXPECT_EQ(::GetWindowLongPtr(window.m_hWnd, GWL_WNDPROC), original);
  EXPECT_EQ(Probe(2), 102);
  EXPECT_EQ(Calls(), (Seq{"window"}));
}

TEST_F(SubclassWndTest, RemovingFromTheMiddleOrTheTailLinksPastIt) {
  NamedHook a("a"), b("b"), c("c");
  a.SetHookedWindow(&window);
  b.SetHookedWindow(&window);
  c.SetHookedWindow(&window);
  b.SetHookedWindow(nullptr);  // the middle
  EXPECT_EQ(Probe(), 100);
  EXPECT_EQ(Calls(), (Seq{"c", "a", "window"}));
  a.SetHookedWindow(nullptr);  // the oldest, while a newer one stays
  EXPECT_EQ(Probe(), 100);
  EXPECT_EQ(Calls(), (Seq{"c", "window"}));
  EXPECT_NE(::GetWindowLongPtr(window.m_hWnd, GWL_WNDPROC), original);
  // Removing a hook that is no longer in the chain changes nothing.
  a.SetHookedWindow(nullptr);
  EXPECT_EQ(Probe(), 100);
  EXPECT_EQ(Calls(), (Seq{"c", "window"}));
  c.SetHookedWindow(nullptr);
  EXPECT_EQ(::GetWindowLongPtr(window.m_hWnd, GWL_WNDPROC), original);
}

TEST_F(SubclassWndTest, HooksTakenOffDuringACallStillPassTheMessageOn) {
  NamedHook a("a"), b("b"), c("c");
  a.SetHookedWindow(&window);
  b.SetHookedWindow(&window);
  c.SetHookedWindow(&window);
  // The newest removes the middle one while it handles the message: the message skips it.
  c.during = [&] { b.SetHookedWindow(nullptr); };
  EXPECT_EQ(Probe(), 100);
  EXPECT_EQ(Calls(), (Seq{"c", "a", "window"}));
  c.during = nullptr;
  // The newest removes itself: the message still reaches the rest, later ones skip it.
  c.during = [&] { c.SetHookedWindow(nullptr); };
  EXPECT_EQ(Probe(), 100);
  EXPECT_EQ(Calls(), (Seq{"c", "a", "window"}));
  EXPECT_EQ(Probe(), 100);
  EXPECT_EQ(Calls(), (Seq{"a", "window"}));
  // The only hook removes itself: the window's own procedure is back and still gets this message.
  a.during = [&] { a.SetHookedWindow(nullptr); };
  EXPECT_EQ(Probe(3), 103);
  EXPECT_EQ(Calls(), (Seq{"a", "window"}));
  EXPECT_EQ(::GetWindowLongPtr(window.m_hWnd, GWL_WNDPROC), original);
}

TEST_F(SubclassWndTest, DestroyingTheWindowUnhooksEveryHook) {
  NamedHook a("a"), b("b");
  a.SetHookedWindow(&window);
  b.SetHookedWindow(&window);
  const HWND hwnd = window.m_hWnd;
  Calls().clear();
  window.DestroyWindow();
  EXPECT_FALSE(a.IsHooked());
  EXPECT_FALSE(b.IsHooked());
  EXPECT_EQ(CWndHookMap::GetHookMap().FindHook(hwnd), nullptr);
  // The hooks do not see WM_NCDESTROY; the window does.
  EXPECT_EQ(Calls(), (Seq{"window:ncdestroy"}));
  // Hooks outlive their window and may hook another one.
  TargetWnd second;
  ASSERT_TRUE(second.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  a.SetHookedWindow(&second);
  Calls().clear();
  EXPECT_EQ(second.SendMessage(kProbe, 4, 0), 104);
  EXPECT_EQ(Calls(), (Seq{"a", "window"}));
  a.SetHookedWindow(nullptr);
}

}  // namespace

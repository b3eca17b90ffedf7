#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/time.h"
#include "platform/windows.h"

namespace {

constexpr UINT WM_PING = WM_APP + 1;

class QuittingWnd : public CWnd {
public:
  std::vector<WPARAM> pings;

protected:
  LRESULT OnPing(WPARAM w, LPARAM) {
    pings.push_back(w);
    if (w == 99) PostQuitMessage(7);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(QuittingWnd, CWnd)
  ON_MESSAGE(WM_PING, OnPing)
END_MESSAGE_MAP()

class MessageLoopTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr)); }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  QuittingWnd wnd;
};

TEST_F(MessageLoopTest, PostedMessagesAreHandledInOrder) {
  for (WPARAM i = 0; i < 5; ++i) EXPECT_TRUE(wnd.PostMessage(WM_PING, i));
  EXPECT_TRUE(wnd.pings.empty());
  EXPECT_EQ(platform::PumpMessages(), 5);
  EXPECT_EQ(wnd.pings, (std::vector<WPARAM>{0, 1, 2, 3, 4}));
}

TEST_F(MessageLoopTest, PostMessageFromAnotherThreadWakesRun) {
  HWND hwnd = wnd.m_hWnd;
  std::thread poster([hwnd] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PostMessage(hwnd, WM_PING, 1, 0);
    PostMessage(hwnd, WM_PING, 99, 0);
  });
  int code = platform::Run();
  poster.join();
  EXPECT_EQ(code, 7);
  EXPECT_EQ(wnd.pings, (std::vector<WPARAM>{1, 99}));
  EXPECT_FALSE(platform::QuitRequested());
}

TEST_F(MessageLoopTest, ManyPostersLoseNoMessage) {
  HWND hwnd = wnd.m_hWnd;
  std::vector<std::thread> posters;
  for (int t = 0; t < 4; ++t) {
    posters.emplace_back([hwnd] {
      for (int i = 0; i < 250; ++i) PostMessage(hwnd, WM_PING, 1, 0);
    });
  }
  EXPECT_TRUE(platform::RunUntil([&] { return wnd.pings.size() == 1000; }, 5000));
  for (auto& p : posters) p.join();
  platform::PumpMessages();
  EXPECT_EQ(wnd.pings.size(), 1000u);
}

TEST_F(MessageLoopTest, QuitWaitsForMessagesPostedBeforeIt) {
  wnd.PostMessage(WM_PING, 1);
  PostQuitMessage(3);
  wnd.PostMessage(WM_PING, 2);
  EXPECT_EQ(platform::Run(), 3);
  EXPECT_EQ(wnd.pings, (std::vector<WPARAM>{1, 2}));
}

TEST_F(MessageLoopTest, PumpLeavesAQuitRequestForRun) {
  PostQuitMessage(4);
  platform::PumpMessages();
  int code = 0;
  EXPECT_TRUE(platform::QuitRequested(&code));
  EXPECT_EQ(code, 4);
  EXPECT_EQ(platform::Run(), 4);
}

TEST_F(MessageLoopTest, PeekMessageFiltersByRangeAndCanLeaveTheMessage) {
  wnd.PostMessage(WM_PING, 1);
  wnd.PostMessage(WM_USER, 2);
  MSG msg{};
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 2u);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
  ASSERT_TRUE(PeekMessage(&msg, wnd.m_hWnd, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_PING);
}

struct Pipe {
  int fds[2]{-1, -1};
  Pipe() { EXPECT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0); }
  ~Pipe() {
    for (int fd : fds) {
      if (fd >= 0) close(fd);
    }
  }
};

TEST_F(MessageLoopTest, WatchedDescriptorsCallBackOnTheLoop) {
  Pipe p;
  std::vector<short> events;
  platform::WatchFd(p.fds[0], POLLIN, [&](int fd, short revents) {
    events.push_back(revents);
    char buffer[16];
    EXPECT_GT(read(fd, buffer, sizeof buffer), 0);
  });
  platform::PumpMessages();
  EXPECT_TRUE(events.empty());
  ASSERT_EQ(write(p.fds[1], "x", 1), 1);
  platform::PumpMessages();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(events[0] & POLLIN);

  platform::SetWatchEvents(p.fds[0], 0);
  ASSERT_EQ(write(p.fds[1], "y", 1), 1);
  platform::PumpMessages();
  EXPECT_EQ(events.size(), 1u);
  platform::SetWatchEvents(p.fds[0], POLLIN);
  platform::PumpMessages();
  EXPECT_EQ(events.size(), 2u);
  platform::UnwatchFd(p.fds[0]);
  EXPECT_FALSE(platform::IsFdWatched(p.fds[0]));
}

TEST_F(MessageLoopTest, ACallbackMayUnwatchAndCloseItsOwnAndAnotherDescriptor) {
  Pipe a;
  Pipe b;
  int calls = 0;
  auto closeBoth = [&](int, short) {
    ++calls;
    platform::UnwatchFd(a.fds[0]);
    platform::UnwatchFd(b.fds[0]);
    close(a.fds[0]);
    close(b.fds[0]);
    a.fds[0] = b.fds[0] = -1;
  };
  platform::WatchFd(a.fds[0], POLLIN, closeBoth);
  platform::WatchFd(b.fds[0], POLLIN, closeBoth);
  ASSERT_EQ(write(a.fds[1], "x", 1), 1);
  ASSERT_EQ(write(b.fds[1], "x", 1), 1);
  platform::PumpMessages();
  EXPECT_EQ(calls, 1);
}

TEST_F(MessageLoopTest, RunServesWatchedDescriptorsWhileWaiting) {
  Pipe p;
  platform::WatchFd(p.fds[0], POLLIN, [&](int fd, short) {
    char c;
    EXPECT_EQ(read(fd, &c, 1), 1);
    platform::UnwatchFd(fd);
    PostQuitMessage(c);
  });
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(write(p.fds[1], "\x05", 1), 1);
  });
  EXPECT_EQ(platform::Run(), 5);
  writer.join();
}

TEST_F(MessageLoopTest, RunUntilWaitsForARealTimer) {
  static int fired = 0;
  fired = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { ++fired; });
  EXPECT_TRUE(platform::RunUntil([] { return fired >= 2; }, 2000));
  KillTimer(nullptr, id);
  EXPECT_FALSE(platform::RunUntil([] { return false; }, 10));
}

class CountingPaintWnd : public CWnd {
public:
  int paints{0};

protected:
  void OnPaint() {
    CPaintDC dc(this);
    ++paints;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingPaintWnd, CWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

// Idle work that repaints a window (as a tool bar's command update did) must not start itself over
// through that paint, nor through a pointer reported again where it stands: the loop then waits for
// input between the timer's ticks, and a click still gets its idle turn after it.
TEST_F(MessageLoopTest, IdleWorkThatPaintsRunsOnceForEachMessageThatMayNeedIt) {
  CountingPaintWnd painted;
  ASSERT_TRUE(painted.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr));
  static int idleRuns = 0;
  static int ticks = 0;
  static HWND target = nullptr;
  idleRuns = 0;
  ticks = 0;
  target = painted.m_hWnd;
  platform::SetIdleHook([](long) {
    ++idleRuns;
    ::InvalidateRect(target, nullptr, FALSE);
    return FALSE;
  });
  UINT_PTR timer = SetTimer(nullptr, 0, 40, [](HWND, UINT, UINT_PTR, DWORD) {
    ++ticks;
    // The pointer resting on the window: the same move, reported again and again.
    for (int i = 0; i < 5; ++i) PostMessage(target, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    if (ticks == 3) PostMessage(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    if (ticks == 6) PostQuitMessage(3);
  });
  const int code = platform::Run();
  KillTimer(nullptr, timer);
  platform::SetIdleHook(nullptr);
  EXPECT_EQ(code, 3);
  // One idle turn at the start, then at most one after each tick (the first move to (5,5) and the
  // click come with ticks); a loop that restarted idle after each paint runs it thousands of times.
  EXPECT_GE(idleRuns, 6);
  EXPECT_LE(idleRuns, 9);
  EXPECT_LE(painted.paints, idleRuns + 1);
  EXPECT_GE(painted.paints, 5);
}

// X reports the pointer again where it rests (after a repaint under it, say): that report earns no
// idle turn, or idle work that repaints would bring on the next report and never let the loop wait.
TEST_F(MessageLoopTest, APointerReportedAgainWhereItRestsEarnsNoIdleTurn) {
  static int idleRuns = 0;
  static HWND target = nullptr;
  idleRuns = 0;
  target = wnd.m_hWnd;
  platform::SetIdleHook([](long) {
    if (++idleRuns < 50) ::PostMessage(target, WM_MOUSEMOVE, 0, MAKELPARAM(7, 7));
    return FALSE;
  });
  platform::PumpMessages();
  // The first report is a move; the next is the same place again.
  EXPECT_EQ(idleRuns, 2);
  // A move elsewhere earns its turn again.
  ::PostMessage(target, WM_MOUSEMOVE, 0, MAKELPARAM(8, 7));
  idleRuns = 48;
  platform::PumpMessages();
  EXPECT_EQ(idleRuns, 50);
  platform::SetIdleHook(nullptr);
}

// Each message a pump handles earns it another idle turn, so menu and tool-bar states follow what
// the message changed while a long pump goes on, not only when it ends.
TEST_F(MessageLoopTest, APumpGivesIdleWorkATurnAfterEachMessageItHandles) {
  static std::vector<std::size_t> pingsSeenByIdle;
  static QuittingWnd* target = nullptr;
  pingsSeenByIdle.clear();
  target = &wnd;
  platform::SetIdleHook([](long) {
    pingsSeenByIdle.push_back(target->pings.size());
    if (pingsSeenByIdle.size() <= 3) target->PostMessage(WM_PING, pingsSeenByIdle.size());
    return FALSE;
  });
  platform::PumpMessages();
  platform::SetIdleHook(nullptr);
  EXPECT_EQ(pingsSeenByIdle, (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(wnd.pings, (std::vector<WPARAM>{1, 2, 3}));
}

// Swallows the keys its children receive, as a dialog does with Enter.
class KeyEatingWnd : public CWnd {
public:
  int eaten{0};
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
      ++eaten;
      return TRUE;
    }
    return FALSE;
  }
};

class KeyWnd : public CWnd {
public:
  std::vector<UINT> keys;
  std::string chars;

protected:
  void OnKeyDown(UINT ch, UINT, UINT) { keys.push_back(ch); }
  void OnChar(UINT ch, UINT, UINT) { chars += static_cast<char>(ch); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(KeyWnd, CWnd)
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
END_MESSAGE_MAP()

TEST_F(MessageLoopTest, QueuedKeysPassThroughPreTranslateOfTheParentsAndAreTranslated) {
  KeyEatingWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr));
  KeyWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 1));
  child.PostMessage(WM_KEYDOWN, 'A', 1);
  child.PostMessage(WM_KEYDOWN, VK_RETURN, 1);
  platform::PumpMessages();
  EXPECT_EQ(child.keys, (std::vector<UINT>{'A'}));
  EXPECT_EQ(child.chars, "a");
  EXPECT_EQ(parent.eaten, 1);

  int hooked = 0;
  platform::SetPreTranslateHook([&](MSG*) {
    ++hooked;
    return FALSE;
  });
  child.PostMessage(WM_KEYDOWN, VK_RETURN, 1);
  platform::PumpMessages();
  platform::SetPreTranslateHook(nullptr);
  EXPECT_GE(hooked, 1);
  EXPECT_EQ(child.chars, "a\r");  // the application's hook replaces the windows' chain
}

}  // namespace

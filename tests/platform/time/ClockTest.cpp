#include <gtest/gtest.h>

#include <vector>

#include "platform/messageloop.h"
#include "platform/time.h"
#include "platform/windows.h"

namespace {

// Records every WM_TIMER with the tick count at which it arrived.
class TimerWnd : public CWnd {
public:
  struct Fired {
    UINT_PTR id;
    DWORD tick;
  };
  std::vector<Fired> fired;
  UINT_PTR killOnFire{0};   // a timer this window kills from inside its handler
  bool destroyOnFire{false};

protected:
  void OnTimer(UINT_PTR id) {
    fired.push_back({id, GetTickCount()});
    if (killOnFire) KillTimer(killOnFire);
    if (destroyOnFire) DestroyWindow();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TimerWnd, CWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

class ClockTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "timers", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    start = GetTickCount();
  }
  void TearDown() override {
    wnd.DestroyWindow();
    platform::PumpMessages();
  }

  platform::ManualClockScope manual{1700000000};
  TimerWnd wnd;
  DWORD start{0};
};

TEST_F(ClockTest, AdvanceFiresTimersInTimeOrderAtTheirDueTimes) {
  wnd.SetTimer(1, 300, nullptr);
  wnd.SetTimer(2, 100, nullptr);
  platform::Clock::Advance(350);

  ASSERT_EQ(wnd.fired.size(), 4u);
  EXPECT_EQ(wnd.fired[0].id, 2u);
  EXPECT_EQ(wnd.fired[0].tick - start, 100u);
  EXPECT_EQ(wnd.fired[1].id, 2u);
  EXPECT_EQ(wnd.fired[1].tick - start, 200u);
  // Both fall due at 300: the timer set first fires first.
  EXPECT_EQ(wnd.fired[2].id, 1u);
  EXPECT_EQ(wnd.fired[2].tick - start, 300u);
  EXPECT_EQ(wnd.fired[3].id, 2u);
  EXPECT_EQ(wnd.fired[3].tick - start, 300u);
  EXPECT_EQ(GetTickCount() - start, 350u);
}

TEST_F(ClockTest, KillTimerInsideAHandlerStopsAnotherTimerDueAtTheSameInstant) {
  wnd.SetTimer(1, 100, nullptr);
  wnd.SetTimer(2, 100, nullptr);
  wnd.killOnFire = 2;
  platform::Clock::Advance(1000);
  for (const auto& f : wnd.fired) EXPECT_EQ(f.id, 1u);
  EXPECT_EQ(wnd.fired.size(), 10u);
}

TEST_F(ClockTest, KillTimerOfItselfFiresOnce) {
  wnd.SetTimer(7, 50, nullptr);
  wnd.killOnFire = 7;
  platform::Clock::Advance(500);
  EXPECT_EQ(wnd.fired.size(), 1u);
}

TEST_F(ClockTest, SettingATimerAgainRestartsIt) {
  wnd.SetTimer(1, 100, nullptr);
  platform::Clock::Advance(90);
  wnd.SetTimer(1, 100, nullptr);
  platform::Clock::Advance(90);
  EXPECT_TRUE(wnd.fired.empty());
  platform::Clock::Advance(10);
  EXPECT_EQ(wnd.fired.size(), 1u);
}

TEST_F(ClockTest, TimersOfADestroyedWindowDieWithIt) {
  auto* other = new TimerWnd;
  ASSERT_TRUE(other->CreateEx(0, nullptr, "other", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr));
  other->SetTimer(1, 10, nullptr);
  other->destroyOnFire = true;
  platform::Clock::Advance(100);
  EXPECT_EQ(other->fired.size(), 1u);
  EXPECT_EQ(other->GetSafeHwnd(), nullptr);
  delete other;
}

TEST_F(ClockTest, ManualSleepMovesTheClockAndDueTimersFireOnTheNextPump) {
  wnd.SetTimer(1, 100, nullptr);
  Sleep(250);
  EXPECT_EQ(GetTickCount() - start, 250u);
  EXPECT_TRUE(wnd.fired.empty());
  platform::PumpMessages();
  EXPECT_EQ(wnd.fired.size(), 1u);  // a late timer fires once, not once per missed period
  platform::Clock::Advance(99);
  EXPECT_EQ(wnd.fired.size(), 1u);
  platform::Clock::Advance(1);
  EXPECT_EQ(wnd.fired.size(), 2u);
}

TEST_F(ClockTest, WallTimeFollowsTheManualClock) {
  EXPECT_EQ(platform::Clock::Now(), 1700000000);
  platform::Clock::Advance(61500);
  EXPECT_EQ(platform::Clock::Now(), 1700000061);
  EXPECT_EQ(CTime::GetCurrentTime().GetTime(), 1700000061);
}

TEST_F(ClockTest, ThreadTimerProcIsCalledWithoutAWindow) {
  static int calls = 0;
  calls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) { ++calls; });
  EXPECT_NE(id, 0u);
  platform::Clock::Advance(45);
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(KillTimer(nullptr, id));
  platform::Clock::Advance(100);
  EXPECT_EQ(calls, 2);
}

TEST(ClockModes, SwitchingModesNeverMovesTheTickCountBackwards) {
  DWORD before = GetTickCount();
  {
    platform::ManualClockScope manual;
    platform::Clock::Advance(5000);
    EXPECT_GE(GetTickCount() - before, 5000u);
  }
  EXPECT_GE(GetTickCount() - before, 5000u);
  EXPECT_FALSE(platform::Clock::IsManual());
}

TEST(CTimeTest, FieldsAndFormatInLocalTime) {
  CTime t(2024, 2, 29, 13, 5, 9);
  EXPECT_EQ(t.GetYear(), 2024);
  EXPECT_EQ(t.GetMonth(), 2);
  EXPECT_EQ(t.GetDay(), 29);
  EXPECT_EQ(t.GetHour(), 13);
  EXPECT_EQ(t.GetMinute(), 5);
  EXPECT_EQ(t.GetSecond(), 9);
  EXPECT_EQ(t.GetDayOfWeek(), 5);  // a Thursday
  EXPECT_STREQ(t.Format("%Y-%m-%d %H:%M:%S"), "2024-02-29 13:05:09");
  EXPECT_STREQ(t.Format(""), "");
}

TEST(CTimeTest, ImpossibleDateGivesTimeZero) {
  EXPECT_EQ(CTime(2024, 13, 1, 0, 0, 0).GetTime(), 0);
  EXPECT_EQ(CTime(2024, 1, 1, 25, 0, 0).GetTime(), 0);
}

TEST(CTimeTest, ArithmeticWithSpans) {
  CTime a(2024, 1, 31, 23, 0, 0);
  CTime b = a + CTimeSpan(0, 2, 0, 0);
  EXPECT_EQ(b.GetMonth(), 2);
  EXPECT_EQ(b.GetDay(), 1);
  EXPECT_EQ(b.GetHour(), 1);
  EXPECT_EQ((b - a).GetTotalSeconds(), 7200);
  EXPECT_LT(a, b);
  EXPECT_EQ(b - CTimeSpan(7200), a);
}

TEST(CTimeSpanTest, PartsAndFormat) {
  CTimeSpan span(1, 2, 3, 4);
  EXPECT_EQ(span.GetDays(), 1);
  EXPECT_EQ(span.GetHours(), 2);
  EXPECT_EQ(span.GetMinutes(), 3);
  EXPECT_EQ(span.GetSeconds(), 4);
  EXPECT_EQ(span.GetTotalSeconds(), 93784);
  EXPECT_EQ(span.GetTotalMinutes(), 1563);
  EXPECT_STREQ(span.Format("%D days %H:%M:%S %%"), "1 days 02:03:04 %");
  EXPECT_STREQ(span.Format("trailing %"), "trailing %");
}

}  // namespace

TEST(CTimeTest, SystemTimeRoundTripsInLocalTime) {
  SYSTEMTIME st{};
  st.wYear = 2020;
  st.wMonth = 3;
  st.wDay = 1;
  st.wHour = 17;
  st.wMinute = 5;
  st.wSecond = 9;
  st.wMilliseconds = 500;
  CTime t(st);
  EXPECT_EQ(t, CTime(2020, 3, 1, 17, 5, 9));
  SYSTEMTIME back{};
  ASSERT_TRUE(t.GetAsSystemTime(back));
  EXPECT_EQ(back.wYear, 2020);
  EXPECT_EQ(back.wMonth, 3);
  EXPECT_EQ(back.wDay, 1);
  EXPECT_EQ(back.wDayOfWeek, 0);  // a Sunday
  EXPECT_EQ(back.wHour, 17);
  EXPECT_EQ(back.wSecond, 9);
  EXPECT_EQ(back.wMilliseconds, 0);
  st.wMonth = 0;
  EXPECT_EQ(CTime(st).GetTime(), 0);
  EXPECT_FALSE(CTime(-1).GetAsSystemTime(back));
}

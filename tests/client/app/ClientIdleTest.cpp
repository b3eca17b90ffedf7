// An idle viewer sleeps: once every relayed move is on the board, no timer wakes it, and the next
// line from the relay, or a move the delay still holds, brings the view's timer back.
#include <gtest/gtest.h>

#include <string>

#include "ClientSessionSupport.h"
#include "platform/time.h"

namespace {

using clienttest::Session;

// True when the view's timer was running (and is stopped now).
bool TimerWasRunning(CClientView& view) { return view.KillTimer(CClientView::kTimerId) != FALSE; }

TEST(ClientIdleTest, AnIdleViewerSleepsUntilTheRelayOrTheDelayHasWork) {
  Session s;
  s.script.voice = true;  // the delay applies to voice commentary only
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(view.IsConnected());
  s.frame->ShowWindow(SW_SHOW);
  s.frame->UpdateWindow();
  ASSERT_TRUE(s.Relay("mu|rtsp://127.0.0.1/relay.rm\n"
                      "am|001|b|pd|1999999000|010000|005950\n"
                      "am|002|w|dp|1999999001|010000|005950\n"
                      "eh\n",
                      [&] { return view.IsHistoryComplete() && view.GetBoard().GetLastMove() == 2; }));

  // Every move is shown: after one tick the timer rests, and idle seconds pass without it.
  platform::Clock::Advance(1000);
  platform::PumpMessages();
  platform::Clock::Advance(3000);
  EXPECT_FALSE(TimerWasRunning(view));

  // The next move from the relay is shown at once, and the timer rests again after it.
  ASSERT_TRUE(s.Relay("ts|2000000000\nam|003|b|pp|2000000000|005940|005930\n",
                      [&] { return view.GetBoard().GetLastMove() == 3; }));
  platform::Clock::Advance(1000);
  EXPECT_FALSE(TimerWasRunning(view));

  // Thirty seconds of delay: the board goes back to what was shown thirty seconds ago (move 3
  // and the next move wait in the queue), and the timer wakes to release them when due.
  ASSERT_TRUE(view.GetDelayQueue().IsDelayActive());
  view.GetDelayQueue().SetDelay(30);
  ASSERT_TRUE(s.Relay("am|004|w|dd|2000000000|005930|005930\n",
                      [&] { return view.GetDelayQueue().GetMoveCount() == 4; }));
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  platform::Clock::Advance(29000);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  platform::Clock::Advance(2000);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 4);
  // Released, nothing waits: the timer rests once more.
  platform::Clock::Advance(1000);
  EXPECT_FALSE(TimerWasRunning(view));
}

}  // namespace

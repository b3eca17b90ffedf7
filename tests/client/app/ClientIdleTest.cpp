// An idle viewer sleeps: once every relayed move is on the board, no timer wakes it, and the next
// line from the relay, or a move the delay still holds, brings the view's timer back; so does a
// delay the person raises while nothing arrives, during the game or after its last line. Lines
// arriving faster than its period never put the timer off.
#include <gtest/gtest.h>

#include <string>

#include "ClientSessionSupport.h"
#include "platform/testinput.h"
#include "platform/time.h"

namespace {

using clienttest::Session;

// True when the view's timer was running (and is stopped now).
bool TimerWasRunning(CClientView& view) { return view.KillTimer(CClientView::kTimerId) != FALSE; }

// Clicks on the delay dialog's lower spin arrow as a person does; each click, let go, applies
// one second more of delay.
void RaiseDelayBySpin(CClientView& view, int seconds) {
  if (!view.IsDelayDialogOpen()) view.OnDelaySetup();
  ASSERT_TRUE(view.IsDelayDialogOpen());
  CWnd* spin = view.GetDelayDialog()->GetDlgItem(IDC_DELAY_SPIN);
  ASSERT_NE(spin, nullptr);
  CRect arrows;
  spin->GetClientRect(&arrows);
  for (int i = 0; i < seconds; ++i) platform::input::Click(spin->GetSafeHwnd(), CPoint(arrows.Width() / 2, arrows.Height() - 2));
}

TEST(ClientIdleTest, AnIdleViewerSleepsUntilTheRelayOrTheDelayHasWork) {
  Session s;
  s.script.voice = true;  // the delay applies to voice commentary only
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(view.IsConnected());
  s.frame->ShowWindow(SW_SHOW);
  s.frame->UpdateWindow();
  // Logged in, the viewer waits for the history with its timer at rest. The history comes a line
  // at a time, each sooner than the timer's period: the board shows it as it comes rather than
  // only after a pause or its end line.
  platform::Clock::Advance(1000);
  EXPECT_FALSE(TimerWasRunning(view));
  ASSERT_TRUE(s.Relay("mu|rtsp://127.0.0.1/relay.rm\nam|001|b|pd|1999999000|010000|005950\n",
                      [&] { return view.GetDelayQueue().GetMoveCount() == 1; }));
  platform::Clock::Advance(300);
  ASSERT_TRUE(s.Relay("am|002|w|dp|1999999001|010000|005950\n", [&] { return view.GetDelayQueue().GetMoveCount() == 2; }));
  platform::Clock::Advance(300);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  EXPECT_FALSE(view.IsHistoryComplete());
  ASSERT_TRUE(s.Relay("eh\n", [&] { return view.IsHistoryComplete() && view.GetBoard().GetLastMove() == 2; }));

  // Every move is shown: the timer rests, and idle seconds pass without it.
  platform::Clock::Advance(400);
  platform::PumpMessages();
  platform::Clock::Advance(3000);
  EXPECT_FALSE(TimerWasRunning(view));

  // The next move from the relay is shown at once, and the timer rests again after it.
  ASSERT_TRUE(s.Relay("ts|2000000000\nam|003|b|pp|2000000000|005940|005930\n",
                      [&] { return view.GetBoard().GetLastMove() == 3; }));
  platform::Clock::Advance(1000);
  EXPECT_FALSE(TimerWasRunning(view));

  // With nothing more arriving, the person raises the delay to ten seconds: the board goes back
  // to move 2, and move 3 returns ten seconds after it arrived, with no line to wake anything.
  RaiseDelayBySpin(view, 10);
  ASSERT_EQ(view.GetDelayQueue().GetDelay(), 10);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  platform::Clock::Advance(8500);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  platform::Clock::Advance(1000);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 3);
  EXPECT_EQ(std::string(s.Text(IDC_MOVE_EDIT)), "3");
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

// The whole game has been relayed and nothing will follow its end line: a delay raised now still
// replays the game on the moves' own rhythm, each move its delay after it arrived, and the viewer
// sleeps again once the last one is back.
TEST(ClientIdleTest, ADelayRaisedAfterTheGamesLastLineReplaysItOnTime) {
  Session s;
  s.script.voice = true;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay("mu|rtsp://127.0.0.1/relay.rm\neh\nts|2000000000\n"
                      "am|001|b|pd|2000000000|010000|005950\n",
                      [&] { return view.GetBoard().GetLastMove() == 1; }));
  platform::Clock::Advance(5000);
  ASSERT_TRUE(s.Relay("am|002|w|dp|2000000005|010000|005950\neg\n", [&] { return view.GetBoard().GetLastMove() == 2; }));
  platform::Clock::Advance(1000);
  EXPECT_FALSE(TimerWasRunning(view));

  // Twenty seconds of delay, one second after the end: the board is empty, move 1 comes back
  // 20 s after it arrived (14 s from now) and move 2 five seconds later.
  RaiseDelayBySpin(view, 20);
  ASSERT_EQ(view.GetDelayQueue().GetDelay(), 20);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 0);
  EXPECT_EQ(std::string(s.frame->GetStatusBar().GetProgressText()), "progress :   2");
  platform::Clock::Advance(13500);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 0);
  platform::Clock::Advance(1000);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 1);
  platform::Clock::Advance(4000);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 1);
  platform::Clock::Advance(1000);
  EXPECT_EQ(view.GetBoard().GetLastMove(), 2);
  EXPECT_TRUE(view.GetBoard().GetCell(4, 16).HasStone());
  platform::Clock::Advance(1000);
  EXPECT_FALSE(TimerWasRunning(view));
}

}  // namespace

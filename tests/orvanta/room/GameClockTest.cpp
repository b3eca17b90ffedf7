#include "orvanta/room/GameClock.h"

#include <gtest/gtest.h>

#include "GameRoomFixture.h"

TEST(GameClock, TextsOfThePanes) {
  EXPECT_STREQ("1 hr 0 min 0 sec", CGameClock::MainText(3600000));
  EXPECT_STREQ("0 hr 59 min 59 sec", CGameClock::MainText(3599999));
  EXPECT_STREQ("0 hr 0 min 1 sec", CGameClock::MainText(1000));
  EXPECT_STREQ("30s ", CGameClock::SecondsText(30));
  EXPECT_STREQ(" 3 **", CGameClock::PeriodsText(3));
}

namespace {

// The clock as the room's timer runs it: one tick of the game clock timer a second.
class GameClockInTheRoom : public GameRoomTest {};

}  // namespace

TEST_F(GameClockInTheRoom, MainTimeRunsIntoByoYomiThenPeriodsThenTimeUp) {
  StartMatch("0", "6.5", "2", "3", "2");  // 2 s main, 2 periods of 3 s; black (the user) to move
  const CGameClock& black = room.GetClock(2);
  Tick(1);
  EXPECT_EQ(1000, black.GetMainMs());
  EXPECT_EQ("0 hr 0 min 1 sec", Pane(CGameRoom::kBlackMain));
  // The tick that empties the main time already counts in byo-yomi.
  Tick(1);
  EXPECT_EQ(0, black.GetMainMs());
  EXPECT_EQ("0", Pane(CGameRoom::kBlackMain));
  EXPECT_EQ(2, black.GetSeconds());
  EXPECT_EQ("2s ", Pane(CGameRoom::kBlackSeconds));
  EXPECT_TRUE(host.timers.count(CGameRoom::kBlinkTimer));
  Tick(2);
  EXPECT_EQ(0, black.GetSeconds());
  Tick(1);  // the first period is used up
  EXPECT_EQ(1, black.GetPeriods());
  EXPECT_EQ(3, black.GetSeconds());
  EXPECT_EQ(" 1 **", Pane(CGameRoom::kBlackPeriods));
  // The last period: seconds fall to 0 while the clock runs, then time is up.
  for (LONG left = 2; left >= 0; --left) {
    Tick(1);
    EXPECT_EQ(left, black.GetSeconds());
    EXPECT_TRUE(room.IsClockRunning());
  }
  EXPECT_EQ(room.GetClock(4).GetMainMs(), 2000);  // white's clock never moved
  Tick(1);
  ASSERT_FALSE(host.sent.empty());
  EXPECT_EQ("clock:2", LastSent());
  EXPECT_EQ("0 sec", Pane(CGameRoom::kBlackSeconds));
  EXPECT_FALSE(room.IsClockRunning());
  EXPECT_FALSE(host.timers.count(CGameRoom::kBlinkTimer));
}

TEST_F(GameClockInTheRoom, AMoveWithMainTimeLeftEndsByoYomiUntilItRunsOutAgain) {
  StartMatch("0", "6.5", "2", "3", "2");  // 2 s main, 2 periods of 3 s
  const CGameClock& black = room.GetClock(2);
  Tick(3);
  ASSERT_TRUE(black.IsInByoYomi());
  // The server's time of black's move leaves 4 s of main time beyond the 6 s of the periods.
  Move(1, "B[pd]", "BL[10]");
  EXPECT_FALSE(black.IsInByoYomi());
  EXPECT_EQ("0 hr 0 min 4 sec", Pane(CGameRoom::kBlackMain));
  // White's move hands the clock back to black, whose main time runs out into byo-yomi again.
  Move(2, "W[dd]", "WL[8]");
  Tick(3);
  EXPECT_FALSE(black.IsInByoYomi());
  EXPECT_EQ("0 hr 0 min 1 sec", Pane(CGameRoom::kBlackMain));
  Tick(1);
  EXPECT_TRUE(black.IsInByoYomi());
  EXPECT_EQ("0", Pane(CGameRoom::kBlackMain));
}

TEST_F(GameClockInTheRoom, WithoutByoYomiTheEndOfMainTimeIsTheEnd) {
  StartMatch("0", "6.5", "1", "0", "0");
  Tick(1);
  ASSERT_FALSE(host.sent.empty());
  EXPECT_EQ("clock:2", LastSent());
  EXPECT_FALSE(room.IsClockRunning());
}

TEST(GameClock, ServerTimeWithoutByoYomiNeverDivides) {
  CGameClock clock;
  clock.Start(1, 0, 0);
  // The server's time of a move never divides by a zero period length.
  clock.ApplyServerTime(0);
  EXPECT_EQ(0, clock.GetPeriods());
  EXPECT_EQ(0, clock.GetMainMs());
  clock.ApplyServerTime(5);
  EXPECT_EQ(5000, clock.GetMainMs());
  // Periods given without seconds: still no division.
  clock.Start(0, 0, 3);
  clock.ApplyServerTime(0);
  EXPECT_EQ(0, clock.GetPeriods());
}

TEST(GameClock, ServerTimeAtTheByoYomiEdges) {
  CGameClock clock;
  clock.Start(600, 30, 3);
  clock.ApplyServerTime(90);  // exactly P × S: byo-yomi with every period
  EXPECT_EQ(0, clock.GetMainMs());
  EXPECT_EQ(3, clock.GetPeriods());
  EXPECT_EQ(30, clock.GetSeconds());
  clock.ApplyServerTime(91);
  EXPECT_EQ(1000, clock.GetMainMs());
  clock.ApplyServerTime(59);  // periods are whole periods left
  EXPECT_EQ(1, clock.GetPeriods());
  clock.ApplyServerTime(3000000);  // large times stay in range
  EXPECT_EQ(INT32_MAX, clock.GetMainMs());
}

TEST(GameClock, TimeSentWithALocalMove) {
  CGameClock clock;
  clock.Start(600, 30, 3);
  // In main time the byo-yomi is counted in full.
  EXPECT_EQ(690, clock.TimeForMove(false));
  // In the first period the seconds start afresh for the next move.
  clock.ApplyServerTime(90);
  clock.Advance();
  clock.Advance();
  EXPECT_EQ(28, clock.GetSeconds());
  EXPECT_EQ(90, clock.TimeForMove(false));
  // A pass in the first period keeps the seconds it has.
  clock.Advance();
  EXPECT_EQ(87, clock.TimeForMove(true));
  // In a later period the seconds are refilled whatever the move.
  clock.ApplyServerTime(40);
  clock.Advance();
  EXPECT_EQ(30, clock.TimeForMove(true));
}

TEST(GameClock, ElapsedTimeCountsMainTimeThenTheByoYomiGone) {
  struct Case {
    const char* what;
    short periodSeconds, periods;
    int ticks;                 // game clock ticks after the start
    LONG serverTime;           // time left reported with a move afterwards; -1 for none
    LONG elapsed;
  };
  // 60 s of main time; the tick that empties it already takes a byo-yomi second.
  const Case cases[] = {
      {"fresh clock", 10, 2, 0, -1, 0},
      {"in main time", 10, 2, 5, -1, 5},
      {"last main second", 10, 2, 59, -1, 59},
      {"into the first period", 10, 2, 65, -1, 66},
      {"into the last period", 10, 2, 75, -1, 75},
      {"server leaves one period", 10, 2, 3, 15, 70},
      {"server gives more than the main time", 10, 2, 0, 90, 0},
      {"no byo-yomi, main time gone", 0, 0, 61, -1, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CGameClock clock;
    clock.Start(60, c.periodSeconds, c.periods);
    for (int i = 0; i < c.ticks; ++i) clock.Tick();
    if (c.serverTime >= 0) clock.ApplyServerTime(c.serverTime);
    EXPECT_EQ(c.elapsed, clock.ElapsedSeconds(60));
  }
  // A main time given as negative counts as none.
  CGameClock none;
  EXPECT_EQ(0, none.ElapsedSeconds(-5));
}

#include "../../../platform/src/display/x11/ClickTracker.h"

#include <gtest/gtest.h>

namespace {

using platform::detail::ClickTracker;

TEST(ClickTracker, SecondPressSoonAndNearOnTheSameButtonAndWindowIsADoubleClick) {
  ClickTracker clicks;
  EXPECT_FALSE(clicks.Press(1, POINT{100, 100}, 1000, 7));
  EXPECT_TRUE(clicks.Press(1, POINT{102, 98}, 1000 + ClickTracker::kMaxIntervalMs, 7));
  // The press that completed a double click starts nothing: a third is a single click again.
  EXPECT_FALSE(clicks.Press(1, POINT{102, 98}, 1600, 7));
}

TEST(ClickTracker, TooLateTooFarOtherButtonOrWindowStartsAnew) {
  ClickTracker clicks;
  EXPECT_FALSE(clicks.Press(1, POINT{100, 100}, 1000, 7));
  EXPECT_FALSE(clicks.Press(1, POINT{100, 100}, 1000 + ClickTracker::kMaxIntervalMs + 1, 7));  // late
  EXPECT_FALSE(clicks.Press(1, POINT{103, 100}, 1600, 7));  // out of the box
  EXPECT_FALSE(clicks.Press(3, POINT{103, 100}, 1650, 7));  // other button
  EXPECT_FALSE(clicks.Press(3, POINT{103, 100}, 1700, 8));  // other window
  EXPECT_TRUE(clicks.Press(3, POINT{103, 100}, 1750, 8));
}

TEST(ClickTracker, ClockGoingBackAndResetBreakThePair) {
  ClickTracker clicks;
  EXPECT_FALSE(clicks.Press(1, POINT{0, 0}, 5000, 1));
  EXPECT_FALSE(clicks.Press(1, POINT{0, 0}, 4000, 1));  // server time wrapped or reset
  clicks.Reset();
  EXPECT_FALSE(clicks.Press(1, POINT{0, 0}, 4100, 1));
  EXPECT_TRUE(clicks.Press(1, POINT{0, 0}, 4200, 1));
}

}  // namespace

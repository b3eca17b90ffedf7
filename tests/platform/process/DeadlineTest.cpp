// Waits end on time on the platform clock, and still end when that clock is manual.

#include "../../../platform/src/process/Deadline.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/time.h"

namespace platform::process {
namespace {

TEST(DeadlineTest, ZeroTimeoutIsUpAtOnce) { EXPECT_EQ(Deadline(0).RemainingMs(), 0); }

TEST(DeadlineTest, RealClockWaitRunsDown) {
  Deadline deadline(100);
  EXPECT_GT(deadline.RemainingMs(), 50);
  ::usleep(120 * 1000);
  EXPECT_EQ(deadline.RemainingMs(), 0);
}

TEST(DeadlineTest, ManualClockWaitStillEndsInRealTime) {
  ManualClockScope manual;
  Deadline deadline(60);
  std::uint64_t before = Clock::NowMs();
  ::usleep(80 * 1000);
  EXPECT_EQ(deadline.RemainingMs(), 0);
  EXPECT_EQ(Clock::NowMs(), before);  // waiting moved nobody's clock
}

}  // namespace
}  // namespace platform::process

// Random walks through Orvanta against the game-server peer's demo world, which also sends moves,
// chat, invitations, memos, notices and cut records unasked and drops the connection
// (tests/walk/orvanta_walk.cc): a fixed set of seeds, one of them under a window manager, and
// the shortened walks that once failed.
#include <gtest/gtest.h>

#include "support/WalkRun.h"

namespace {

TEST(OrvantaWalkTest, SeededWalksHoldOnEveryStep) {
  for (const char* seed : {"11", "12"}) testsupport::ExpectWalkPasses(ORVANTA_WALK_PATH, {"--seed", seed, "--steps", "400"});
}

TEST(OrvantaWalkTest, SeededWalkUnderAWindowManagerHoldsOnEveryStep) {
  testsupport::ExpectWalkPasses(ORVANTA_WALK_PATH, {"--seed", "13", "--steps", "300", "--wm"});
}

}  // namespace

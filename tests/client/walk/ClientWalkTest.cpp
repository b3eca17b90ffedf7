// Random walks through the viewer against a relay that sends moves, commentary, photographs, odd
// time stamps and loses the connection (tests/walk/client_walk.cc): a fixed set of seeds, one of
// them under a window manager, and the shortened walks that once failed.
#include <gtest/gtest.h>

#include "support/WalkRun.h"

namespace {

TEST(ClientWalkTest, SeededWalksHoldOnEveryStep) {
  for (const char* seed : {"11", "12"}) testsupport::ExpectWalkPasses(CLIENT_WALK_PATH, {"--seed", seed, "--steps", "400"});
}

TEST(ClientWalkTest, SeededWalkUnderAWindowManagerHoldsOnEveryStep) {
  testsupport::ExpectWalkPasses(CLIENT_WALK_PATH, {"--seed", "13", "--steps", "300", "--wm"});
}

// Each of these once failed; the walk goes on past the step that failed.
TEST(ClientWalkTest, WalksThatOnceFailedHold) {
  const char* const found[] = {
      // The person ends the program with the sound player still running.
      "r-result:2527444928 fkey:6155599 menuline:4043177560 r-move:1846739983 r-move:2247721433 "
      "r-move:3624440362 letter:1889333094 board:1384200812 click:2652312369 click:2752629379 "
      "board:1961460608 point:155145422 key:2671806834",
  };
  for (const char* steps : found) testsupport::ExpectWalkPasses(CLIENT_WALK_PATH, {"--replay", steps});
}

}  // namespace

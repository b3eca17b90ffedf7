#pragma once
// A random walk program (tests/walk) run from a test: its seed's steps or a list of steps found
// by an earlier walk, on its own private X server. The walk passes when the program ends with 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <platform/files.h>

#include "support/ChildProcess.h"

namespace testsupport {

// Runs walk with args; fails the test with the walk's report unless the walk passed.
inline void ExpectWalkPasses(const std::string& walk, std::vector<std::string> args) {
  platform::TempDir folder;
  args.insert(args.begin(), walk);
  // A failing walk is shortened by a few replays only: the full shrinking is for runs by hand.
  args.insert(args.end(), {"--shrink-runs", "6"});
  ChildProcess run(args, {}, folder.Path(), folder.Path() + "/walk.txt");
  ASSERT_TRUE(run.Started());
  int status = 0;
  ASSERT_TRUE(ChildProcess::WaitUntil([&] { return run.Ended(&status); }, 900000)) << run.Output();
  ASSERT_TRUE(WIFEXITED(status)) << run.Output();
  if (WEXITSTATUS(status) == 2 && run.Output().find("no X server") != std::string::npos)
    GTEST_SKIP() << "no X server";
  EXPECT_EQ(WEXITSTATUS(status), 0) << run.Output();
}

}  // namespace testsupport

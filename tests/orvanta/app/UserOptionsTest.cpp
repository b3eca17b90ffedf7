#include "orvanta/app/UserOptions.h"

#include <gtest/gtest.h>

#include <platform/registry.h>

namespace {

class UserOptionsTest : public ::testing::Test {
protected:
  platform::ScopedPlatformHome home;
  platform::Profile profile{"Orvanta"};
  CUserOptions options{profile};
};

TEST_F(UserOptionsTest, NeverSetOptionsAreAllOn) {
  int manToMan = 0, invite = 0, alarm = 0, nego = 0;
  options.LoadOptions(manToMan, invite, alarm, nego);
  EXPECT_EQ(manToMan, 2);
  EXPECT_EQ(invite, 1);
  EXPECT_EQ(alarm, 4);
  EXPECT_EQ(nego, 8);
  EXPECT_EQ(options.GetOptionsPayload(), "|15|");
  options.SaveOptions(10, 10, 10, 10);
  EXPECT_EQ(options.GetOptionsPayload(), "|15|");
}

TEST_F(UserOptionsTest, SavedOptionsRoundTrip) {
  int manToMan = 0, invite = 0, alarm = 0, nego = 0;
  CUserOptions::FromChecks(FALSE, TRUE, FALSE, TRUE, manToMan, invite, alarm, nego);
  options.SaveOptions(manToMan, invite, alarm, nego);
  EXPECT_EQ(profile.GetProfileInt("USER", "Invite", -1), 1u);
  EXPECT_EQ(profile.GetProfileInt("USER", "ManToMan", -1), 0u);
  EXPECT_EQ(options.GetOptionsPayload(), "|9|");
  CUserOptions again(profile);
  again.LoadOptions(manToMan, invite, alarm, nego);
  EXPECT_EQ(manToMan + invite + alarm + nego, 9);
}

TEST_F(UserOptionsTest, AStrayStoredValueCannotAddForeignBits) {
  profile.WriteProfileInt("USER", "Alarm", 7);
  profile.WriteProfileInt("USER", "Nego", 0);
  int manToMan = 0, invite = 0, alarm = 0, nego = 0;
  options.LoadOptions(manToMan, invite, alarm, nego);
  EXPECT_EQ(alarm, 4);
  EXPECT_EQ(nego, 0);
  EXPECT_EQ(options.GetOptionsPayload(), "|7|");
}

}  // namespace

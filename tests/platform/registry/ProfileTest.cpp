#include "platform/profile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/files/FileTestSupport.h"
#include "platform/registry.h"

namespace {

// Makes the registry read its file again, as a new program instance would: point the store
// somewhere else for a moment and come back.
void ForceReread() { platform::ScopedPlatformHome elsewhere; }

class ProfileTest : public ::testing::Test {
protected:
  platform::ScopedPlatformHome m_home;
};

TEST_F(ProfileTest, ValuesRoundTripAndSurviveAReopen) {
  {
    platform::Profile profile("Orvanta");
    profile.SetRegistryKey("Local AppWizard-Generated Applications");
    EXPECT_TRUE(profile.WriteProfileString("USER", "ID", "alice"));
    EXPECT_TRUE(profile.WriteProfileString("USER", "PassWord", Cp949("비밀")));
    EXPECT_TRUE(profile.WriteProfileInt("USER", "Save", 1));
    EXPECT_TRUE(profile.WriteProfileInt("Settings", "Left", -20));
  }
  ForceReread();
  platform::Profile reopened("Orvanta");
  reopened.SetRegistryKey("Local AppWizard-Generated Applications");
  EXPECT_EQ(reopened.GetProfileString("USER", "ID"), "alice");
  EXPECT_EQ(reopened.GetProfileString("user", "password"), Cp949("비밀"));
  EXPECT_EQ(reopened.GetProfileInt("USER", "Save", 0), 1u);
  EXPECT_EQ(static_cast<int>(reopened.GetProfileInt("Settings", "Left", 0)), -20);

  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Local AppWizard-Generated Applications\\Orvanta\\USER", 0,
                         KEY_READ, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(ProfileTest, MissingEntriesGiveTheDefaults) {
  platform::Profile profile("App");
  profile.SetRegistryKey("Company");
  EXPECT_EQ(profile.GetProfileString("USER", "ID", "guest"), "guest");
  EXPECT_EQ(profile.GetProfileString("USER", "ID"), "");
  EXPECT_EQ(profile.GetProfileInt("USER", "Option", 10), 10u);
}

TEST_F(ProfileTest, AValueOfTheWrongTypeGivesTheDefault) {
  platform::Profile profile("App");
  profile.SetRegistryKey("Company");
  profile.WriteProfileString("S", "n", "12");
  profile.WriteProfileInt("S", "t", 5);
  EXPECT_EQ(profile.GetProfileInt("S", "n", 7), 7u);
  EXPECT_EQ(profile.GetProfileString("S", "t", "d"), "d");
}

TEST_F(ProfileTest, NullValueDeletesTheEntryAndNullEntryTheSection) {
  platform::Profile profile("App");
  profile.SetRegistryKey("Company");
  profile.WriteProfileString("S", "a", "1");
  profile.WriteProfileString("S", "b", "2");
  EXPECT_TRUE(profile.WriteProfileString("S", "a", nullptr));
  EXPECT_EQ(profile.GetProfileString("S", "a", "gone"), "gone");
  EXPECT_TRUE(profile.WriteProfileString("S", "a", nullptr));  // already absent
  EXPECT_TRUE(profile.WriteProfileString("S", nullptr, nullptr));
  EXPECT_EQ(profile.GetProfileString("S", "b", "gone"), "gone");
  EXPECT_FALSE(profile.WriteProfileString("S", nullptr, nullptr));  // no such section
}

TEST_F(ProfileTest, CompaniesAndApplicationsAreSeparate) {
  platform::Profile a("One");
  a.SetRegistryKey("Co");
  platform::Profile b("Two");
  b.SetRegistryKey("Co");
  platform::Profile plain("One");
  a.WriteProfileInt("S", "v", 1);
  b.WriteProfileInt("S", "v", 2);
  plain.WriteProfileInt("S", "v", 3);
  EXPECT_EQ(a.GetProfileInt("S", "v", 0), 1u);
  EXPECT_EQ(b.GetProfileInt("S", "v", 0), 2u);
  EXPECT_EQ(plain.GetProfileInt("S", "v", 0), 3u);
  EXPECT_EQ(plain.GetAppKeyPath(), "Software\\One");
  EXPECT_EQ(a.GetAppKeyPath(), "Software\\Co\\One");
}

TEST_F(ProfileTest, AWriteFailureIsReported) {
  platform::Profile profile("App");
  profile.SetRegistryKey("Co");
  ASSERT_TRUE(profile.WriteProfileInt("S", "v", 1));
  std::string blocker = platform::RegistryStorePath() + ".tmp." + std::to_string(::getpid());
  ASSERT_TRUE(CreateDirectory(blocker.c_str()));
  EXPECT_FALSE(profile.WriteProfileInt("S", "v", 2));
  EXPECT_FALSE(profile.WriteProfileString("New", "x", "y"));
  EXPECT_EQ(profile.GetProfileInt("S", "v", 0), 1u);
  RemoveDirectory(blocker.c_str());
}

}  // namespace

#include "orvanta/app/LoginProfile.h"

#include <gtest/gtest.h>

#include <platform/registry.h>

namespace {

class LoginProfileTest : public ::testing::Test {
protected:
  platform::ScopedPlatformHome home;
  platform::Profile profile{"Orvanta"};
  CLoginProfile login{profile};
};

TEST_F(LoginProfileTest, NothingSavedShowsEmptyEdits) {
  CString id = "x", password = "y";
  BOOL save = TRUE;
  login.Load(id, password, save);
  EXPECT_TRUE(id.IsEmpty());
  EXPECT_TRUE(password.IsEmpty());
  EXPECT_FALSE(save);
}

TEST_F(LoginProfileTest, PasswordIsKeptOnlyWithTheCheckBox) {
  login.Store("alice", "pw1", TRUE);
  CString id, password;
  BOOL save = FALSE;
  login.Load(id, password, save);
  EXPECT_EQ(id, "alice");
  EXPECT_EQ(password, "pw1");
  EXPECT_TRUE(save);
  EXPECT_EQ(profile.GetProfileString("USER", "Save"), "1");

  login.Store("bob", "secret", FALSE);
  EXPECT_EQ(profile.GetProfileString("USER", "PassWord"), CLoginProfile::kDefaultPassword);
  EXPECT_EQ(profile.GetProfileString("USER", "Save"), "0");
  login.Load(id, password, save);
  EXPECT_EQ(id, "bob");
  EXPECT_TRUE(password.IsEmpty());
  EXPECT_FALSE(save);
}

TEST_F(LoginProfileTest, TheGuestIdShowsAsEmpty) {
  login.Store(CLoginProfile::kDefaultId, "pw", TRUE);
  CString id, password;
  BOOL save = FALSE;
  login.Load(id, password, save);
  EXPECT_TRUE(id.IsEmpty());
  EXPECT_EQ(password, "pw");
}

TEST(LoginCheckTest, RefusalsInOrderWithTheEditToFocus) {
  UINT bad = 99;
  EXPECT_EQ(CLoginProfile::CheckEntries("", "", bad), "You did not enter ID.");
  EXPECT_EQ(bad, CLoginProfile::kIdEdit);
  const CString special = "You have entered a special character.\nSpecial characters are not available.";
  EXPECT_EQ(CLoginProfile::CheckEntries("a|b", "", bad), special);
  EXPECT_EQ(bad, CLoginProfile::kIdEdit);
  EXPECT_EQ(CLoginProfile::CheckEntries("a/b", "pw", bad), special);
  EXPECT_EQ(CLoginProfile::CheckEntries("alice", "", bad), "You did not enter PASSWORD.");
  EXPECT_EQ(bad, CLoginProfile::kPasswordEdit);
  EXPECT_EQ(CLoginProfile::CheckEntries("alice", "p|w", bad), special);
  EXPECT_EQ(bad, CLoginProfile::kPasswordEdit);
  EXPECT_EQ(CLoginProfile::CheckEntries("alice", "pw1", bad), "");
  EXPECT_EQ(bad, 0u);
}

}  // namespace

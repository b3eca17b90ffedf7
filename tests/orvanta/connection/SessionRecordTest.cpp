#include "orvanta/connection/SessionRecord.h"

#include <gtest/gtest.h>

#include "orvanta/app/ScreenFlags.h"
#include "orvanta/connection/SendCategory.h"

namespace {

TEST(SessionRecordTest, EntryAndClearing) {
  CSessionRecord record("alice", "pw1");
  EXPECT_EQ(record.m_strId, "alice");
  EXPECT_EQ(record.m_strRoomText3, CSessionRecord::NotAvailableText());
  EXPECT_EQ(record.m_strRoomText3, Cp949("불가능"));
  record.SetEntry("two", "one", "", "five");
  EXPECT_EQ(record.m_strRoomText1, "one");
  EXPECT_EQ(record.m_strRoomText2, "two");
  EXPECT_EQ(record.m_strRoomText3, CSessionRecord::NotAvailableText());
  EXPECT_EQ(record.m_strRoomText5, "five");
  record.SetEntry("two", "one", "three", "five");
  EXPECT_EQ(record.m_strRoomText3, "three");
  record.m_nRoomNumber = 12;
  record.m_strRoomText4 = "four";
  record.m_strRoomText6 = "six";
  record.m_strRoomText7 = "seven";
  record.ClearRoom();
  EXPECT_EQ(record.m_nRoomNumber, 0);
  EXPECT_TRUE(record.m_strRoomText1.IsEmpty());
  EXPECT_TRUE(record.m_strRoomText4.IsEmpty());
  EXPECT_EQ(record.m_strRoomText3, CSessionRecord::NotAvailableText());
  EXPECT_EQ(record.m_strRoomText6, "six");
  record.ClearRoomTexts();
  EXPECT_TRUE(record.m_strRoomText6.IsEmpty());
  EXPECT_TRUE(record.m_strRoomText7.IsEmpty());
  EXPECT_EQ(record.m_strId, "alice");
}

TEST(SessionRecordTest, ResetForgetsTheUserAndTheScreens) {
  CSessionRecord record("alice", "pw1");
  record.m_strRole = "3";
  SetScreenFlag(kScreenGameRoom);
  record.Reset();
  EXPECT_TRUE(record.m_strId.IsEmpty());
  EXPECT_TRUE(record.m_strPassword.IsEmpty());
  EXPECT_TRUE(record.m_strRole.IsEmpty());
  EXPECT_EQ(record.m_strRoomText3, CSessionRecord::NotAvailableText());
  EXPECT_EQ(GetScreenFlags(), 0);
}

TEST(SessionRecordTest, LoginReplyWithTwoFieldsTakesRoleAndNotice) {
  CSessionRecord record("alice", "pw1");
  EXPECT_FALSE(CSessionRecord::OffersResume("|3|Hello|"));
  EXPECT_EQ(record.TakeLoginReply("|3|Hel\tlo\x1b\nthere|", false), "Hello\nthere");
  EXPECT_EQ(record.m_strRole, "3");
  EXPECT_TRUE(record.m_strRoomText7.IsEmpty());
}

TEST(SessionRecordTest, ResumingLoginReplyFillsTheRoomTexts) {
  const CString payload = "|2|News|kind|17|four|one|";
  EXPECT_TRUE(CSessionRecord::OffersResume(payload));
  CSessionRecord declined("alice", "pw1");
  declined.TakeLoginReply(payload, false);
  EXPECT_TRUE(declined.m_strRoomText6.IsEmpty());
  CSessionRecord record("alice", "pw1");
  EXPECT_EQ(record.TakeLoginReply(payload, true), "News");
  EXPECT_EQ(record.m_strRole, "2");
  EXPECT_EQ(record.m_strRoomText7, "kind");
  EXPECT_EQ(record.m_strRoomText6, "17");
  EXPECT_EQ(record.m_strRoomText4, "four");
  EXPECT_EQ(record.m_strRoomText1, "one");
}

TEST(ScreenFlagsTest, SetClearAndViews) {
  SetScreenFlag(0);
  SetScreenFlag(ScreenFlagForView(101));
  SetScreenFlag(ScreenFlagForView(134));
  EXPECT_EQ(GetScreenFlags(), kScreenWaitingRoom | kScreenGameRoom);
  ClearScreenFlag(kScreenWaitingRoom);
  ClearScreenFlag(kScreenStart);  // not set: nothing changes
  EXPECT_EQ(GetScreenFlags(), kScreenGameRoom);
  EXPECT_EQ(ScreenFlagForView(5000), kScreenStart);
  EXPECT_EQ(ScreenFlagForView(5003), kScreenTeachingList);
  EXPECT_EQ(ScreenFlagForView(42), 0);
  FlagScreenForView(42);  // another view sets nothing and clears nothing
  EXPECT_EQ(GetScreenFlags(), kScreenGameRoom);
  FlagScreenForView(5000);
  EXPECT_EQ(GetScreenFlags(), kScreenGameRoom | kScreenStart);
  SetScreenFlag(0);
  EXPECT_EQ(GetScreenFlags(), 0);
}

TEST(SendCategoryTest, RoleAndSideChooseTheMajorCode) {
  EXPECT_EQ(GetSendCategory(0, "1"), 2);
  EXPECT_EQ(GetSendCategory(1, "1"), 4);
  for (const char* role : {"2", "3", "5"}) {
    EXPECT_EQ(GetSendCategory(0, role), 3) << role;
    EXPECT_EQ(GetSendCategory(1, role), 5) << role;
  }
  EXPECT_EQ(GetSendCategory(0, "4"), 0);
  EXPECT_EQ(GetSendCategory(0, ""), 0);
  EXPECT_EQ(GetSendCategory(1, "9"), 5);
  EXPECT_EQ(GetSendCategory(2, "1"), 0);
  EXPECT_EQ(GetSendCategory(-1, "3"), 0);
}

}  // namespace

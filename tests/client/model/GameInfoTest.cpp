#include "client/model/GameInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(GameInfoTest, DateTextUsesShortMonthNames) {
  CGameInfo info;
  info.m_year = 2001;
  info.m_month = 3;
  info.m_day = 5;
  info.m_hour = 14;
  info.m_minute = 30;
  CString text;
  info.GetDateText(text);
  EXPECT_STREQ(text, "Mar 05 14 : 30, 2001");
  info.m_month = 12;
  info.GetDateText(text);
  EXPECT_STREQ(text, "Dec 05 14 : 30, 2001");
  info.m_month = 1;
  info.GetDateText(text);
  EXPECT_STREQ(text, "Jan 05 14 : 30, 2001");
}

TEST(GameInfoTest, MonthsOutsideTheTableGiveNoName) {
  CGameInfo info;
  CString text;
  info.GetDateText(text);
  EXPECT_STREQ(text, " 00 00 : 00, 0000");
  for (int month : {13, -1, 0, 1000000, -2147483647 - 1}) {
    info.m_month = month;
    info.GetDateText(text);
    EXPECT_STREQ(text, " 00 00 : 00, 0000") << month;
  }
}

TEST(GameInfoTest, PlayerTextWritesRankWithDanSuffix) {
  CGameInfo info;
  info.m_blackName = Cp949("이창호");
  info.m_blackRank = 1;
  info.m_whiteName = "Kim";
  info.m_whiteRank = 5;
  CString text;
  info.GetPlayerText(text, 2);
  EXPECT_EQ(text, CString(Cp949("이창호 초단")));
  info.GetPlayerText(text, 1);
  EXPECT_EQ(text, CString(Cp949("Kim 5단")));
  info.GetPlayerText(text, 7);  // any colour but black is White
  EXPECT_EQ(text, CString(Cp949("Kim 5단")));
  info.m_whiteRank = 0;
  info.GetPlayerText(text, 1);
  EXPECT_EQ(text, CString(Cp949("Kim 0단")));
}

TEST(GameInfoTest, ResetClearsEveryField) {
  CGameInfo info;
  info.m_title = "t";
  info.m_blackNote = "n";
  info.m_komi = 6.5;
  info.m_whiteSeconds = 9;
  info.m_timeLimit = 180;
  info.Reset();
  EXPECT_TRUE(info.m_title.IsEmpty());
  EXPECT_TRUE(info.m_blackNote.IsEmpty());
  EXPECT_EQ(info.m_komi, 0.0);
  EXPECT_EQ(info.m_whiteSeconds, 0);
  EXPECT_EQ(info.m_timeLimit, 0);
}

}  // namespace

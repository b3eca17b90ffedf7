#include "orvanta/room/ResultText.h"

#include <gtest/gtest.h>

#include "orvanta/room/DeferredMoves.h"
#include "orvanta/room/GiboFileName.h"

TEST(ResultText, ResultsInWords) {
  EXPECT_STREQ("B won by 12.5", CResultText::FormatResult("RE[B+12.5]"));
  EXPECT_STREQ("W won by KO", CResultText::FormatResult("RE[W+R]"));
  EXPECT_STREQ("B won by time.", CResultText::FormatResult("RE[B+T]"));
  EXPECT_STREQ("Drawn Game", CResultText::FormatResult("RE[V]"));
  EXPECT_STREQ(" won by Game", CResultText::FormatResult(""));
}

TEST(ResultText, CountTexts) {
  EXPECT_STREQ("Black:60points + 3(stones) = 63.0 points\nWhite:50points + 2(stones) + 6.5(handy) = 58.5points\n"
               "B won by 4.5",
               CResultText::CountProposal(60, 3, 50, 2, 6.5, "RE[B+4.5]"));
  EXPECT_STREQ("*The Game Results:\r\nBlack:60points + 3(stones) = 63.0points\r\n"
               "White:50points + 2(stones) + 6.5(handy) = 58.5points\r\nResult:B won by 4.5\r\n\r\n",
               CResultText::CountChat(60, 3, 50, 2, 6.5, "RE[B+4.5]"));
}

TEST(ResultText, ConditionAtTheMatchStartAndForALateEntrant) {
  const struct {
    short handicap;
    const char* komi;
    const char* atStart;
    const char* late;
  } rows[] = {{0, "0", "One Stone", "One Stone"},   {0, "0.5", "Even(0.5)", "Even(0.5)"},
              {0, "", "One Stone", "Even"},          {9, "0", "9Stones", "9 Stones"},
              {10, "0", "10Stones", "10Stones"},     {11, "0", "11 Stones", "11Stones"},
              {2, "0.5", "2Stones", "2 Stones"}};
  for (const auto& row : rows) {
    EXPECT_STREQ(row.atStart, CResultText::MatchCondition(row.handicap, row.komi)) << row.handicap << row.komi;
    EXPECT_STREQ(row.late, CResultText::LateCondition(row.handicap, row.komi)) << row.handicap << row.komi;
  }
}

TEST(GiboFileName, NamesFromTheServerStayInsideTheFolder) {
  EXPECT_STREQ(".\\gibo\\kim_lee", CGiboFileName::Build("kim", "lee"));
  EXPECT_STREQ(".\\gibo\\______etc_lee", CGiboFileName::Build("..\\..\\etc", "lee"));
  EXPECT_STREQ("______etc", CGiboFileName::Safe("../../etc"));
  EXPECT_STREQ("a_b", CGiboFileName::Safe("a\nb"));
  EXPECT_STREQ("_", CGiboFileName::Safe(""));
  EXPECT_STREQ("k.im", CGiboFileName::Safe("k.im"));
}

TEST(DeferredMoves, EveryMoveComesOutInArrivalOrder) {
  CDeferredMoves moves;
  for (int i = 0; i < 40; ++i) {
    CString text;
    text.Format("|a|b|%d|", i);
    moves.Push(text);
  }
  EXPECT_EQ(40, moves.GetCount());
  CString text;
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(moves.Pop(text));
    CString expected;
    expected.Format("|a|b|%d|", i);
    EXPECT_STREQ(expected, text);
  }
  EXPECT_FALSE(moves.Pop(text));
}

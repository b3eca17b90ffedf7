#include <climits>

#include <gtest/gtest.h>

#include "orvanta/lobby/NegotiationTerms.h"

namespace {

TEST(NegotiationTermsTest, TimeTextsAndSeconds) {
  EXPECT_EQ(TimeLimitSeconds(Cp949("30분")), 1800);
  EXPECT_EQ(TimeLimitSeconds(Cp949("2시간")), 7200);
  EXPECT_EQ(TimeLimitSeconds("5 Min"), 300);
  EXPECT_EQ(TimeLimitSeconds("1 Hour"), 3600);
  EXPECT_EQ(FormatTimeLimit(1800), Cp949("30분"));
  EXPECT_EQ(FormatTimeLimit(7200), Cp949("2시간"));
  EXPECT_EQ(FormatTimeLimit(5400), Cp949("1시간"));  // whole hours, rounded down
  EXPECT_EQ(FormatTimeLimit(3600), Cp949("1시간"));  // exactly one hour is hours, not minutes
  EXPECT_EQ(FormatTimeLimit(3599), Cp949("59분"));
  // Numbers far beyond any clock stay at the ends of the range instead of overflowing.
  EXPECT_EQ(TimeLimitSeconds("999999999 Hour"), INT_MAX);
  CString proposal;
  for (int field = 0; field < 12; ++field) proposal += "x|";
  proposal += "1e20|30|3|1|";  // the time limit is field 12
  EXPECT_EQ(ReadIncomingProposal(proposal).timeLimitText, FormatTimeLimit(INT_MAX));
  EXPECT_EQ(ReadCounterProposal("|R|2|1|a||3K|2|b||1D|1|0|0|99999999999|30|3|0|T|1||").timeLimitText,
            FormatTimeLimit(INT_MAX));
}

TEST(NegotiationTermsTest, ConditionsPayloadHasFourteenCleanFields) {
  CNegotiationConditions c;
  c.room = "R1";
  c.answer = "2";
  c.opponentNumber = "3";
  c.opponentId = "bob";
  c.colourCode = "1";
  c.handicap = "0";
  c.komi = 6.5f;
  c.timeLimitText = Cp949("30분");
  c.intervalText = "30 Sec";
  c.countDownText = "3";
  c.applyRanking = TRUE;
  c.title = "Good|game/now";
  c.hint = FALSE;
  c.password = "p/w";
  EXPECT_EQ(c.BuildPayload(), "|R1|2|3|bob|1|0|6.5|1800|30|3|1|Goodgamenow|0|pw|");
  c.intervalText = Cp949("30초");
  c.timeLimitText = "2 Hour";
  c.komi = 0.0f;
  EXPECT_EQ(c.BuildPayload(), "|R1|2|3|bob|1|0|0.0|7200|30|3|1|Goodgamenow|0|pw|");
}

TEST(NegotiationTermsTest, FreshProposalAndItsPlayers) {
  const CString text = BuildFreshProposal("R1", {"2", "amy", "", "3K"}, {"4", "bob", "", "1D"});
  EXPECT_EQ(text, "|R1|3|2|amy||3K|4|bob||1D|");
  CNegotiationPlayer black, white;
  ReadProposalPlayers(text, black, white);
  EXPECT_EQ(black.id, "amy");
  EXPECT_EQ(white.number, "4");
  EXPECT_EQ(white.grade, "1D");
}

TEST(NegotiationTermsTest, CounterProposalsAndIncomingProposals) {
  const CNegotiationTerms handicap = ReadCounterProposal("|R|2|1|a||3K|2|b||1D|3|3|6.5|5400|30|5|1|T|1|pw|");
  EXPECT_EQ(handicap.condition, kConditionHandicap);
  EXPECT_EQ(handicap.handicap, "3");
  EXPECT_EQ(handicap.colourCode, "3");
  EXPECT_EQ(handicap.timeLimitText, Cp949("1시간"));
  EXPECT_EQ(handicap.intervalText, CString("30") + Cp949("초"));
  EXPECT_EQ(handicap.countDownText, "5");
  EXPECT_TRUE(handicap.applyRanking);
  EXPECT_EQ(handicap.title, "T");
  EXPECT_EQ(handicap.password, "pw");
  const CNegotiationTerms even = ReadCounterProposal("|R|2|1|a||3K|2|b||1D|1|0|6.5|1800|30|3|0|T|1||");
  EXPECT_EQ(even.condition, kConditionEven);
  EXPECT_FLOAT_EQ(even.komi, 6.5f);
  EXPECT_FALSE(even.applyRanking);
  EXPECT_EQ(ReadCounterProposal("|R|2|1|a||3K|2|b||1D|1|0|0|1800|30|3|0|T|1||").condition, kConditionBlack);

  const CNegotiationTerms incoming = ReadIncomingProposal("|x|y|1|amy|s|3K|2|bob|s|1D|3|6.5|7200|40|5|3|1|");
  EXPECT_EQ(incoming.condition, kConditionHandicap);
  EXPECT_EQ(incoming.handicap, "3");
  EXPECT_EQ(incoming.timeLimitText, Cp949("2시간"));
  EXPECT_EQ(incoming.colourCode, "3");  // anything but 1 or 2 is automatic
  EXPECT_EQ(ReadIncomingProposal("|x|y|1|amy|s|3K|2|bob|s|1D|0|0|1800|40|5|1|1|").condition, kConditionBlack);
  EXPECT_EQ(ReadIncomingProposal("|x|y|1|amy|s|3K|2|bob|s|1D|0|6.5|1800|40|5|2|1|").colourCode, "2");
}

TEST(NegotiationTermsTest, AutomaticTermsFromTheGradeNumbers) {
  const CAutomaticTerms equal = ChooseAutomaticTerms(20, 20);
  EXPECT_TRUE(equal.autoSelectColour);
  EXPECT_EQ(equal.condition, kConditionEven);
  EXPECT_FLOAT_EQ(equal.komi, 6.5f);
  const CAutomaticTerms oneApart = ChooseAutomaticTerms(15, 16);
  EXPECT_EQ(oneApart.condition, kConditionBlack);
  EXPECT_FALSE(oneApart.swapColours);
  const CAutomaticTerms stronger = ChooseAutomaticTerms(20, 15);
  EXPECT_EQ(stronger.condition, kConditionHandicap);
  EXPECT_EQ(stronger.handicap, "2");
  EXPECT_TRUE(stronger.swapColours);
  EXPECT_EQ(ChooseAutomaticTerms(5, 12).handicap, "7");
  EXPECT_EQ(ChooseAutomaticTerms(1, 26).handicap, "13");  // above 13 stays 13
}

}  // namespace

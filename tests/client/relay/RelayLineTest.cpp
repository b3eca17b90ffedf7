#include "client/relay/RelayLine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "client/model/GameInfo.h"

namespace {

int Len(const char* line) { return static_cast<int>(std::strlen(line)); }

TEST(RelayLineTest, TagsMatchCaseBlindInTheReceiversOrder) {
  const struct {
    const char* line;
    RelayTag tag;
  } cases[] = {
      {"am|001|b|pd|1000000000|000100|000100", RelayTag::Move},
      {"AM|001", RelayTag::Move},
      {"Te|3|x", RelayTag::MoveText},
      {"ar|1|1|b|pd|", RelayTag::TextDiagramMove},
      {"aa|1|1|b|pd|", RelayTag::VoiceDiagramMove},
      {"ea|1|1", RelayTag::VoiceDiagramEnd},
      {"UA|OK", RelayTag::Login},
      {"e1|x", RelayTag::Commentary},
      {"zz|x", RelayTag::None},
      {"a", RelayTag::None},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchRelayTag(c.line, Len(c.line)), c.tag) << c.line;
  EXPECT_EQ(MatchRelayTag(nullptr, 0), RelayTag::None);
}

TEST(RelayLineTest, NumbersFollowTheLeadingDigitsRuleWithoutOverflow) {
  EXPECT_EQ(ReadRelayNumber("042abc"), 42);
  EXPECT_EQ(ReadRelayNumber("abc"), 0);
  EXPECT_EQ(ReadRelayNumber("-7"), -7);
  EXPECT_EQ(ReadRelayNumber("1234567890"), 1234567890);
  EXPECT_GT(ReadRelayNumber("99999999999999999999999999"), 0);
  EXPECT_EQ(ReadRelayInt("99999999999999"), 2147483647);
}

TEST(RelayLineTest, MoveLinesAreLowerCasedAndChecked) {
  RelayMove move;
  ASSERT_TRUE(ParseRelayMove("AM|012|B|PD|1000000100|011500|010203", move));
  EXPECT_EQ(move.moveNumber, 12);
  EXPECT_EQ(move.colour, 2);
  EXPECT_EQ(move.x, 16);
  EXPECT_EQ(move.y, 4);
  EXPECT_EQ(move.time, 1000000100);
  ASSERT_TRUE(move.hasClocks);
  EXPECT_EQ(move.clocks.whiteHours, 1);
  EXPECT_EQ(move.clocks.whiteMinutes, 15);
  EXPECT_EQ(move.clocks.blackSeconds, 3);

  ASSERT_TRUE(ParseRelayMove("am|013|w|aa|1000000100|bad|010203", move));
  EXPECT_EQ(move.colour, 1);
  EXPECT_FALSE(move.hasClocks);  // one clock invalid: neither is shown

  EXPECT_FALSE(ParseRelayMove("am|013|w|tt|1|000000|000000", move));  // off the board
  EXPECT_FALSE(ParseRelayMove("am|013|w|a|1|000000|000000", move));   // one letter only
  EXPECT_FALSE(ParseRelayMove("am|013|w|aa|1|000000", move));         // six fields
}

TEST(RelayLineTest, UndoReadsFixedPlacesAndDropsShortLines) {
  int number = 0;
  std::int64_t time = 0;
  const char* line = "um|015|1000000200";
  ASSERT_TRUE(ParseRelayUndo(line, Len(line), number, time));
  EXPECT_EQ(number, 15);
  EXPECT_EQ(time, 1000000200);
  // A short line would be read past its end at the fixed places.
  EXPECT_FALSE(ParseRelayUndo("um|1|2", 6, number, time));
  EXPECT_FALSE(ParseRelayUndo("um|1|2", 7, number, time));
  const char* twoFields = "um|0151000000200";
  EXPECT_FALSE(ParseRelayUndo(twoFields, Len(twoFields), number, time));
}

TEST(RelayLineTest, DiagramStonesKnowFourStatesOnly) {
  RelayDiagramMove stone;
  const struct {
    const char* line;
    int state;
  } cases[] = {{"ar|10|1|B|cd|x", 2}, {"ar|10|1|w|cd|x", 1}, {"aa|10|1|k|cd|x", 16}, {"ar|10|1|e|cd|x", 32}};
  for (const auto& c : cases) {
    ASSERT_TRUE(ParseRelayDiagramMove(c.line, stone)) << c.line;
    EXPECT_EQ(stone.state, c.state);
    EXPECT_EQ(stone.moveNumber, 10);
    EXPECT_EQ(stone.x, 3);
    EXPECT_EQ(stone.y, 4);
  }
  EXPECT_FALSE(ParseRelayDiagramMove("ar|10|1|x|cd|x", stone));
  EXPECT_FALSE(ParseRelayDiagramMove("ar|10|1|b|cd", stone));
  int move = 0, diagram = 0;
  ASSERT_TRUE(ParseRelayDiagramEnd("ER|10|2", move, diagram));
  EXPECT_EQ(move, 10);
  EXPECT_EQ(diagram, 2);
}

TEST(RelayLineTest, GameInformationKeysSetTheirFields) {
  CGameInfo info;
  RelayInfoLabel label = RelayInfoLabel::None;
  ASSERT_TRUE(ApplyRelayGameInfo("gi|BN|Lee", info, label));
  EXPECT_EQ(info.m_blackName, "Lee");
  EXPECT_EQ(label, RelayInfoLabel::BlackName);
  ASSERT_TRUE(ApplyRelayGameInfo("gi|wg|9", info, label));
  EXPECT_EQ(info.m_whiteRank, 9);
  EXPECT_EQ(label, RelayInfoLabel::WhiteName);
  ASSERT_TRUE(ApplyRelayGameInfo("gi|gd|200103051430", info, label));
  EXPECT_EQ(info.m_year, 2001);
  EXPECT_EQ(info.m_month, 3);
  EXPECT_EQ(info.m_day, 5);
  EXPECT_EQ(info.m_hour, 14);
  EXPECT_EQ(info.m_minute, 30);
  EXPECT_FALSE(ApplyRelayGameInfo("gi|gd|2001030514", info, label));  // too short: nothing changes
  EXPECT_EQ(info.m_hour, 14);
  ASSERT_TRUE(ApplyRelayGameInfo("gi|ct|0230", info, label));
  EXPECT_EQ(info.m_timeLimit, 150);
  ASSERT_TRUE(ApplyRelayGameInfo("gi|cm|6.5", info, label));
  EXPECT_DOUBLE_EQ(info.m_komi, 6.5);
  EXPECT_FALSE(ApplyRelayGameInfo("gi|bn|", info, label));  // an empty value leaves 2 fields
  ASSERT_TRUE(ApplyRelayGameInfo("gi|xx|y", info, label));
  EXPECT_EQ(label, RelayInfoLabel::None);
}

TEST(RelayLineTest, ResultKeepsTimesOrZeros) {
  CGameInfo info;
  ASSERT_TRUE(ApplyRelayResult("gr|211|B+R|3|0|012345|bad", info));
  EXPECT_EQ(info.m_totalMoves, 211);
  EXPECT_EQ(info.m_result, "B+R");
  EXPECT_EQ(info.m_blackBD, 3);
  EXPECT_EQ(info.m_whiteHours, 1);
  EXPECT_EQ(info.m_whiteMinutes, 23);
  EXPECT_EQ(info.m_whiteSeconds, 45);
  EXPECT_EQ(info.m_blackHours, 0);
  EXPECT_FALSE(ApplyRelayResult("gr|211|B+R|3|0|012345", info));
}

TEST(RelayLineTest, TextsAreKeptAsTheyCame) {
  // A line is data: format characters stay what they are.
  CString text;
  ASSERT_TRUE(ParseRelayText("qc|%s%n%d answer", text));
  EXPECT_EQ(text, "%s%n%d answer");
  EXPECT_FALSE(ParseRelayText("qc", text));
  RelayMoveText comment;
  ASSERT_TRUE(ParseRelayMoveText("te|005|Good Move", comment));
  EXPECT_EQ(comment.moveNumber, 5);
  EXPECT_EQ(comment.text, "Good Move");
  RelayPhoto photo;
  ASSERT_TRUE(ParseRelayPhoto("BP|1234", photo));
  EXPECT_TRUE(photo.black);
  EXPECT_EQ(photo.count, 1234);
  ASSERT_TRUE(ParseRelayPhoto("wp|-5", photo));
  EXPECT_FALSE(photo.black);
  EXPECT_EQ(photo.count, -5);
}

}  // namespace

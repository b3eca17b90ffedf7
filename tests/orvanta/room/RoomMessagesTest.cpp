#include "orvanta/room/RoomMessages.h"

#include <gtest/gtest.h>

using Messages = CRoomMessages;

TEST(RoomMessages, EnterRoomSectionsFollowEachOther) {
  // Black seated, two observers, move number after the last observer.
  Messages::EnterRoom room =
      Messages::ReadEnterRoom("|POM|B|h1|kim|k1|5d|2|h2|lee|Lee|3k|h3|park|Park|1d|57|");
  ASSERT_TRUE(room.hasPlayers);
  EXPECT_STREQ("B", room.seats);
  ASSERT_EQ(1u, room.players.size());
  EXPECT_STREQ("kim", room.players[0].id);
  ASSERT_EQ(2u, room.observers.size());
  EXPECT_STREQ("park", room.observers[1].id);
  EXPECT_STREQ("1d", room.observers[1].fourth);
  EXPECT_STREQ("57", room.moveNumber);

  room = Messages::ReadEnterRoom("|POM|A|h1|kim|k|5d|h2|lee|l|6d|0|12|");
  EXPECT_EQ(2u, room.players.size());
  EXPECT_STREQ("lee", room.players[1].id);
  EXPECT_TRUE(room.observers.empty());
  EXPECT_STREQ("12", room.moveNumber);

  room = Messages::ReadEnterRoom("|POM|N|1|h|obs|Obs|9k|3|");
  EXPECT_TRUE(room.players.empty());
  ASSERT_EQ(1u, room.observers.size());
  EXPECT_STREQ("3", room.moveNumber);

  // Single sections read the same way; "M" alone is the move number.
  room = Messages::ReadEnterRoom("|M|44|");
  EXPECT_FALSE(room.hasPlayers);
  EXPECT_STREQ("44", room.moveNumber);
  room = Messages::ReadEnterRoom("|O|-1|h|x|X|2d|");  // a negative count is its absolute value
  ASSERT_EQ(1u, room.observers.size());
}

TEST(RoomMessages, CountsAreClampedToTheFieldsPresent) {
  Messages::EnterRoom room = Messages::ReadEnterRoom("|POM|B|h|kim|k|5d|99999|h2|lee|");
  EXPECT_TRUE(room.observers.empty());
  EXPECT_TRUE(room.moveNumber.IsEmpty());
  EXPECT_EQ(1u, Messages::ReadObserverList("|40|h|a|A|1d|h|b|").size());
  std::vector<int> points = Messages::ReadPointList("|a|b|1000|aa|ss|zz|tt|", 2);
  EXPECT_EQ((std::vector<int>{0, 360}), points);  // off-board points are dropped
  Messages::DeadStones dead = Messages::ReadDeadStones("|a|b|W|3|ab|");
  EXPECT_FALSE(dead.black);
  EXPECT_EQ((std::vector<int>{19}), dead.points);
  Messages::Count count = Messages::ReadCount(("|a|b|RE[B+2.5]|" + std::string(500, '1') + "|1|2|3|4|6.5|").c_str());
  EXPECT_EQ(361, count.owners.GetLength());
  EXPECT_DOUBLE_EQ(6.5, count.komi);
  EXPECT_TRUE(Messages::Split("").empty());
  EXPECT_TRUE(Messages::Split("|").empty());
}

TEST(RoomMessages, MovesOfTheBoardOnly) {
  Messages::Move move;
  ASSERT_TRUE(Messages::ReadMove("|a|b|12|B[pd]|BL[1795]|", move));
  EXPECT_EQ(2, move.colour);
  EXPECT_EQ(15, move.column);
  EXPECT_EQ(3, move.row);
  EXPECT_EQ(1795, move.secondsLeft);
  ASSERT_TRUE(Messages::ReadMove("|a|b|13|W[tt]|WL[0]|", move));
  EXPECT_TRUE(move.pass);
  EXPECT_EQ(20, move.row);
  for (const char* bad : {"|a|b|1|B[p|BL[1]|", "|a|b|1|X[pd]|BL[1]|", "|a|b|1|B[zd]|BL[1]|", "", "|a|b|1|B[pdd]|BL[1]|"}) {
    EXPECT_FALSE(Messages::ReadMove(bad, move)) << bad;
  }
  // A stone whose time does not read is still a stone, with no time left.
  for (const char* timeless : {"|a|b|1|B[pd]|BL[]|", "|a|b|1|B[pd]|BL[x]|", "|a|b|1|B[pd]|", "|a|b|1|B[pd]|BL[12|",
                               "|a|b|1|B[pd]|BL[1234567890]|"}) {
    move.secondsLeft = 99;
    ASSERT_TRUE(Messages::ReadMove(timeless, move)) << timeless;
    EXPECT_EQ(0, move.secondsLeft) << timeless;
    EXPECT_EQ(15, move.column) << timeless;
  }
}

TEST(RoomMessages, ConditionAndEntry) {
  Messages::Condition c = Messages::ReadCondition("|a|b|hb|kim|x|5d|hw|lee|y|6d|2|0.5|40000|30|3|");
  EXPECT_STREQ("hb", c.black.host);
  EXPECT_STREQ("6d", c.white.fourth);
  EXPECT_EQ(2, c.handicap);
  EXPECT_EQ(40000, c.mainSeconds);  // 32-bit: no wrap past 32767
  EXPECT_EQ(30, c.periodSeconds);
  EXPECT_EQ(3, c.periods);
  Messages::Entered e = Messages::ReadEntered("|12|host|id|Name|3k|1|4|1|");
  EXPECT_EQ(1, e.status);
  EXPECT_EQ(4, e.role);
  EXPECT_STREQ("id", e.observer.id);
  EXPECT_STREQ("1", e.owner);
}

#include "orvanta/room/GameRoomShared.h"

TEST(RoomMessages, BoardPointTextsInBothForms) {
  // The board control writes "|ed|fd|"; texts kept without bars are two letters a point.
  EXPECT_EQ((std::vector<int>{4 + 19 * 3, 5 + 19 * 3}), gameroom::PointsOf("|ed|fd|"));
  EXPECT_EQ((std::vector<int>{4 + 19 * 3, 5 + 19 * 3}), gameroom::PointsOf("edfd"));
  EXPECT_TRUE(gameroom::PointsOf("").empty());
  EXPECT_EQ((std::vector<int>{0}), gameroom::PointsOf("|zz|aa|t|"));
}

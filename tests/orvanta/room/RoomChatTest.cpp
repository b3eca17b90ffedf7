// The room's chat output, its observer list from the server's payloads and the list of the
// room's users for the review-play dialog.

#include <string>

#include <gtest/gtest.h>

#include "GameRoomFixture.h"
#include "orvanta/room/RoomChat.h"

namespace {

class RoomChatTest : public testing::Test {
protected:
  RoomChatTest() {
    board.room = &room;
    room.ResetRoom();
  }
  // Names of the observer rows, "host/id/name/grade" each.
  std::string Observers() const {
    std::string text;
    for (const CRoomMessages::Person& p : room.GetObservers())
      text += p.host.str() + "/" + p.id.str() + "/" + p.third.str() + "/" + p.fourth.str() + " ";
    return text;
  }

  ModelBoard board;
  ScriptedHost host;
  CGiboRecord record;
  CGameRoom room{board, host, record};
};

// n lines of exactly width characters each, "\r\n" included, numbered from 0.
std::string Lines(int n, int width) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    std::string line = "line " + std::to_string(i) + " ";
    line.resize(static_cast<std::size_t>(width - 2), '.');
    text += line + "\r\n";
  }
  return text;
}

TEST_F(RoomChatTest, TheChatOutputDropsWholeOldLinesToStayWithinItsLimit) {
  struct Case {
    const char* name;
    std::string kept;      // the output before
    std::string line;      // what arrives
    std::string expected;  // the output after
  };
  const std::string bigLine(40000, 'x');
  const Case cases[] = {
      {"fits: nothing dropped", Lines(10, 80), "hello\r\n", Lines(10, 80) + "hello\r\n"},
      {"an empty line changes nothing", Lines(3, 80), "", Lines(3, 80)},
      // 400 lines of 80 = 32000; 1000 more need 233 characters: three whole lines go.
      {"oldest whole lines go first", Lines(400, 80), std::string(998, 'n') + "\r\n",
       Lines(400, 80).substr(240) + std::string(998, 'n') + "\r\n"},
      {"text without a line feed goes at once", std::string(32000, 'k'), std::string(998, 'n') + "\r\n",
       std::string(998, 'n') + "\r\n"},
      {"exactly at the limit stays", std::string(32667, 'k'), std::string(100, 'n'),
       std::string(32667, 'k') + std::string(100, 'n')},
      {"a line longer than the limit keeps its end", Lines(3, 80), bigLine + "END",
       (bigLine + "END").substr(40003 - 32767)},
  };
  for (const Case& c : cases) {
    CGameRoom fresh{board, host, record};
    fresh.AppendChatLine(c.kept.c_str());
    ASSERT_EQ(c.kept.size(), static_cast<std::size_t>(fresh.GetChatText().GetLength())) << c.name;
    fresh.AppendChatLine(c.line.c_str());
    const std::string after = fresh.GetChatText().str();
    EXPECT_LE(after.size(), static_cast<std::size_t>(CGameRoom::kChatLimit)) << c.name;
    EXPECT_EQ(c.expected.size(), after.size()) << c.name;
    EXPECT_TRUE(c.expected == after) << c.name;
  }
}

TEST_F(RoomChatTest, TheObserverListFollowsTheServersPayloads) {
  // Entering: both seats, two observers (one grade padded), then the move number.
  room.OnRoomMessage(511, "|POM|A|hb|kim|Kim|5d|hw|lee|Lee|6d|2|h1|ann|Ann| 3k |h2|bob|Bob|1d|57|");
  EXPECT_EQ("h1/ann/Ann/3k h2/bob/Bob/1d ", Observers());
  EXPECT_EQ("57", room.GetPaneText(CGameRoom::kMoveNumber).str());
  EXPECT_TRUE(room.IsUserInRoom("hb", "kim"));
  EXPECT_FALSE(room.IsUserInRoom("h9", "kim"));

  // One joins; the same one again, and a player, are not listed twice.
  room.OnRoomMessage(53, "|12|h3|cid|Cid|2k |1|2|0|");
  room.OnRoomMessage(53, "|12|h3|cid|Cid|2k|1|2|0|");
  room.OnRoomMessage(53, "|12|hb|kim|Kim|5d|1|2|0|");
  room.OnRoomMessage(53, "|12|h7|");  // no ID: nobody to list
  EXPECT_EQ("h1/ann/Ann/3k h2/bob/Bob/1d h3/cid/Cid/2k ", Observers());

  // One leaves; a leaving name at another host is somebody else.
  room.OnPlayerLeft("|h2|bob|");
  room.OnPlayerLeft("|h9|ann|");
  EXPECT_EQ("h1/ann/Ann/3k h3/cid/Cid/2k ", Observers());

  // A whole new list replaces the old; a negative count counts as its size; a count beyond the
  // fields present takes only the entries there are.
  room.UpdateObserverList("|-1|h5|eve|Eve|9k|", 1);
  EXPECT_EQ("h5/eve/Eve/9k ", Observers());
  room.UpdateObserverList("|40|h6|fay|Fay|4k|", 1);
  EXPECT_EQ("h6/fay/Fay/4k ", Observers());
  room.UpdateObserverList("||", 1);
  EXPECT_EQ("", Observers());
}

TEST_F(RoomChatTest, TheRoomsUserListLeavesOutTheLoggedInUser) {
  const std::vector<CRoomMessages::Person> observers = {{"h1", "ann", "Ann", "3k"}, {"hs", "me", "Me", "2d"},
                                                        {"h2", "bob", "Bob", "1d"}};
  const CRoomChat::Player black{"kim", "5d", "hb"}, white{"lee", "6d", "hw"};
  struct Case {
    const char* name;
    CRoomChat::Player black;
    short colour;
    CString ownId, ownHost;
    const char* expected;
  };
  const Case cases[] = {
      {"an observer sees both players", black, 1, "me", "hs",
       "/|kim|5d|hb|/|lee|6d|hw|/|ann|3k|h1|/|bob|1d|h2|/"},
      {"the black player sees white", black, 2, "kim", "hb", "/|lee|6d|hw|/|ann|3k|h1|/|me|2d|hs|/|bob|1d|h2|/"},
      {"the white player sees black", black, 4, "lee", "hw", "/|kim|5d|hb|/|ann|3k|h1|/|me|2d|hs|/|bob|1d|h2|/"},
      {"no black player: nobody", CRoomChat::Player{}, 1, "me", "hs", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, CRoomChat::BuildRoomUserList(c.black, white, c.colour, observers, c.ownId, c.ownHost).str())
        << c.name;
  EXPECT_EQ("|k|12|hi there|", CRoomChat::Payload("|k|12|", "hi there").str());
  EXPECT_EQ("|k|12|a b c|", CRoomChat::Payload("|k|12|", "a| b/ c").str());
  EXPECT_EQ(0, CRoomChat::MacroIndexOfKey(113));
  EXPECT_EQ(7, CRoomChat::MacroIndexOfKey(120));
  EXPECT_EQ(-1, CRoomChat::MacroIndexOfKey(121));
}

}  // namespace

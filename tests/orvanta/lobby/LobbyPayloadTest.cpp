#include <gtest/gtest.h>

#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/RoomListPayload.h"
#include "orvanta/lobby/UserListPayload.h"
#include "orvanta/lobby/WaitingRoomTable.h"

namespace {

TEST(UserListPayloadTest, ReadsUsersAndClampsTheCountToTheUsersPresent) {
  const CUserListPayload full = CUserListPayload::Parse("|1|x|2||amy|Amy|3K|2|bob|Bob|1D|");
  EXPECT_TRUE(full.reset);
  ASSERT_EQ(full.users.size(), 2u);
  EXPECT_EQ(full.users[0].number, "1");  // an empty waiting room counts as 1
  EXPECT_EQ(full.users[0].id, "amy");
  EXPECT_EQ(full.users[1].grade, "1D");

  // A count larger than the users sent never wraps round to the leading fields.
  const CUserListPayload cut = CUserListPayload::Parse("|0|x|50|3|cid|Cid|5K|");
  EXPECT_FALSE(cut.reset);
  ASSERT_EQ(cut.users.size(), 1u);
  EXPECT_EQ(cut.users[0].id, "cid");

  EXPECT_FALSE(CUserListPayload::Parse("|1|x||").hasCount);
  const CUserListPayload none = CUserListPayload::Parse("|1|x|0|");
  EXPECT_TRUE(none.hasCount && none.reset && none.users.empty());
  EXPECT_TRUE(CUserListPayload::Parse("|1|x|-4|1|a|b|c|").users.empty());
}

TEST(UserListPayloadTest, OneUserChangeNeedsAnOperationAnIdAndFourFields) {
  using Kind = CUserChangePayload::Kind;
  const CUserChangePayload entered = CUserChangePayload::Parse("|1||dan|Dan|2K|");
  EXPECT_EQ(entered.kind, Kind::Entered);
  EXPECT_EQ(entered.user.number, "1");
  EXPECT_EQ(entered.user.grade, "2K");
  EXPECT_EQ(CUserChangePayload::Parse("|2|3|dan|Dan|").kind, Kind::Left);
  EXPECT_EQ(CUserChangePayload::Parse("|7|3|dan|Dan|").kind, Kind::Other);
  EXPECT_EQ(CUserChangePayload::Parse("|1|3|dan|").kind, Kind::Ignored);
  EXPECT_EQ(CUserChangePayload::Parse("|1|3||Dan|").kind, Kind::Ignored);
  EXPECT_EQ(CUserChangePayload::Parse("").kind, Kind::Ignored);
}

CString RoomRecord(const char* number, const char* black, const char* blackGrade, const char* white,
                   const char* status, const char* publicCode, const char* grade) {
  CString record;
  record.Format("|%s|Title %s|x|%s|x|%s|x|%s|x|%s|3|17|%s|%s|%s", number, number, black, blackGrade, white,
                "9D", status, publicCode, grade);
  return record;
}

TEST(RoomListPayloadTest, FormsTheColumnsOfEachRoom) {
  const CString payload =
      "|1|x|3" + RoomRecord("5", "amy", "3K", "bob", "1", "1", "3K") + RoomRecord("6", "cid", "1D", "", "", "2", "1D") +
      RoomRecord("7", "dan", "2D", "eve", "8", "", "*2D") + "|Key7|";
  const CRoomListPayload list = CRoomListPayload::Parse(payload);
  ASSERT_EQ(list.rooms.size(), 3u);
  const CRoomRow& first = list.rooms[0];
  EXPECT_EQ(first.columns[0], "Public");
  EXPECT_EQ(first.columns[1], "5");
  EXPECT_EQ(first.columns[2], "Play");
  EXPECT_EQ(first.columns[3], "3K");
  EXPECT_EQ(first.columns[4], "amy(3K)");
  EXPECT_EQ(first.columns[5], "bob(9D)");
  EXPECT_EQ(first.columns[6], "17");
  EXPECT_EQ(first.columns[7], "3");
  EXPECT_EQ(first.columns[8], "Title 5");
  EXPECT_EQ(first.image, 1);
  const CRoomRow& second = list.rooms[1];
  EXPECT_EQ(second.columns[0], "Private");
  EXPECT_EQ(second.image, 0);
  EXPECT_EQ(second.columns[2], "Wait");  // empty status
  EXPECT_EQ(second.columns[5], "");      // no white player: not "()"
  EXPECT_EQ(list.rooms[2].columns[2], "8");
  EXPECT_EQ(list.rooms[2].columns[0], "Public");
  EXPECT_EQ(list.keyLabel, "Key7 ");
}

TEST(RoomListPayloadTest, ClampsTheCountAndShowsZeroWithoutALabel) {
  const CRoomListPayload list = CRoomListPayload::Parse("|0|x|9" + RoomRecord("5", "a", "1K", "b", "6", "3", "1K") + "|");
  ASSERT_EQ(list.rooms.size(), 1u);
  EXPECT_EQ(list.rooms[0].columns[2], "Wait");
  EXPECT_EQ(list.rooms[0].columns[0], "3");
  EXPECT_EQ(list.rooms[0].image, 1);
  EXPECT_EQ(list.keyLabel, "0 ");
  EXPECT_FALSE(list.reset);
}

TEST(RoomListPayloadTest, OneRoomChange) {
  using Kind = CRoomChangePayload::Kind;
  const CRoomChangePayload opened = CRoomChangePayload::Parse("|1" + RoomRecord("8", "a", "1K", "b", "3", "1", "1K") + "|K|");
  EXPECT_EQ(opened.kind, Kind::Opened);
  EXPECT_EQ(opened.room.Number(), "8");
  EXPECT_EQ(opened.keyLabel, "K ");
  EXPECT_EQ(CRoomChangePayload::Parse("|3" + RoomRecord("8", "a", "1K", "b", "1", "1", "1K") + "|K|").kind, Kind::Changed);
  const CRoomChangePayload closed = CRoomChangePayload::Parse("|2|8|K2|");
  EXPECT_EQ(closed.kind, Kind::Closed);
  EXPECT_EQ(closed.room.Number(), "8");
  EXPECT_EQ(closed.keyLabel, "K2 ");
  EXPECT_EQ(CRoomChangePayload::Parse("|1|8|title|").kind, Kind::Ignored);
  EXPECT_EQ(CRoomChangePayload::Parse("").kind, Kind::Ignored);
}

TEST(WaitingRoomTableTest, LooksUpNamesAndNumbers) {
  CWaitingRoomTable table;
  table.Load("|3|1|Free|2|Dan|65538|Wrap|");
  EXPECT_EQ(table.LookupWaitingRoomName(2), "Dan");
  EXPECT_EQ(table.LookupWaitingRoomName(2 + 65536), "Dan");  // truncated to 16 bits
  EXPECT_EQ(table.LookupWaitingRoomName(9), "");
  EXPECT_EQ(table.LookupWaitingRoomNumber("Free"), 1);
  EXPECT_EQ(table.LookupWaitingRoomNumber("free"), -1);
  table.Load("|40|4|Four|");  // count clamped to the one pair present
  ASSERT_EQ(table.GetEntries().size(), 1u);
  EXPECT_EQ(table.LookupWaitingRoomName(1), "");
}

TEST(LobbyTextTest, ChatBoxKeepsItsNewestLinesUnderTheLimit) {
  const CString line = "[amy]hello\r\n";
  const CString exact(CString('a', kChatBoxLimit - 2) + "\r\n");
  EXPECT_EQ(AppendChatText(exact, line), exact + line);  // exactly at the limit: not cut
  const CString over = CString("old\r\n") + CString('b', kChatBoxLimit - 4) + "\r\n";
  ASSERT_EQ(over.GetLength(), kChatBoxLimit + 3);
  const CString kept = AppendChatText(over, line);
  EXPECT_LE(kept.GetLength(), kChatBoxLimit + 3);
  EXPECT_EQ(kept.Find("old"), -1);
  EXPECT_EQ(kept.Right(line.GetLength()), line);
  // One line longer than the box on its own goes whole.
  EXPECT_EQ(AppendChatText(CString('c', kChatBoxLimit + 1), line), line);
  EXPECT_EQ(FormatChatLine("|r|x|amy|y|z|hi there|"), "[amy]hi there\r\n");
  EXPECT_EQ(FormatChatLine(""), "");
  EXPECT_EQ(RemoveSeparators("a|b/c"), "abc");
}

// Texts cut to a byte bound keep whole Korean characters; numbers from the server never overflow.
TEST(LobbyTextTest, CutsKeepWholeCharactersAndNumbersStayInRange) {
  const std::string ga = Cp949("가");  // two bytes
  struct Cut {
    std::string text;
    int bound;
    std::string kept;
  };
  const Cut cuts[] = {
      {"abc", 127, "abc"},
      {"abc", 2, "ab"},
      {"a" + ga, 2, "a"},         // the second byte would be cut off: the character goes whole
      {"a" + ga, 3, "a" + ga},
      {ga + ga, 3, ga},
      {std::string(126, 'x') + ga, 127, std::string(126, 'x')},
      {std::string(125, 'x') + ga + "y", 127, std::string(125, 'x') + ga},
      {"ab", 0, ""},
  };
  for (const Cut& c : cuts) EXPECT_EQ(CutCp949(c.text.c_str(), c.bound).str(), c.kept) << c.text << " " << c.bound;

  struct Step {
    const char* text;
    int step;
    const char* result;
  };
  const Step steps[] = {
      {"25", -1, "24"},
      {"1", 1, "2"},
      {"", -1, "-1"},
      {"2147483647", 1, "2147483647"},
      {"-2147483648", -1, "-2147483648"},
      {"99999999999999999999", -1, "2147483646"},
      {"-99999999999999999999", 1, "-2147483647"},
  };
  for (const Step& s : steps) EXPECT_EQ(SteppedNumberText(s.text, s.step), s.result) << s.text;
  EXPECT_EQ(ClampedNumber("12abc"), 12);
}

}  // namespace

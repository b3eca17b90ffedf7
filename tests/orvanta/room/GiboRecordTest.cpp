#include "orvanta/room/GiboRecord.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <platform/files.h>

namespace {

struct Move {
  short color;
  short x;
  short y;
  LONG time;
  bool operator==(const Move&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Move& m) {
  return out << "{" << m.color << "," << m.x << "," << m.y << "," << m.time << "}";
}

// Every move GetMove hands out from the first node until it returns 0.
std::vector<Move> ReplayAll(CGiboRecord& record) {
  std::vector<Move> moves;
  record.MoveTo(CGiboRecord::kFirstNode);
  Move m{};
  while (record.GetMove(m.x, m.y, m.color, m.time)) moves.push_back(m);
  return moves;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string DataFile(const std::string& name) { return std::string(TEST_DATA_DIR) + "/gibo/" + name; }

CGiboRecord RecordWithNodes(int count) {
  CGiboRecord record;
  for (int i = 0; i < count; ++i) {
    char point[3] = {static_cast<char>('a' + i % 19), static_cast<char>('a' + (i * 7) % 19), 0};
    bool black = i % 2 == 0;
    record.AppendMove(CString(black ? "B[" : "W[") + point + "]", CString(black ? "BL[" : "WL[") + "100]");
  }
  return record;
}

// A finished handicap game as the game room builds it.
CGiboRecord HandicapGame() {
  CGiboRecord record;
  record.SetBlackPlayer("kim", "sky01", "5d", "1");
  record.SetWhitePlayer("lee", "sea77", "6d", "0");
  record.SetRootInfo("1800", "30:3", "2026-12-09", "0.5", "2");
  record.AddSetupStone("dp");
  record.AddSetupStone("pd");
  record.SetResult("RE[W+R]");
  record.AppendMove("W[qf]", "WL[1790]");
  record.AppendMove("B[dd]", "BL[1795]");
  record.AppendMove("W[cc]", "WL[1780]");
  record.AppendMove("B[dc]", "BL[1790]");
  record.AppendMove("W[tt]", "WL[1770]");
  record.AppendMove("B[ee]", "BL[1785]");
  return record;
}

constexpr char kHandicapGameText[] =
    "(;FF[4]GM[1]SZ[19]\n"
    "PB[kim:sky01:5d:1]\n"
    "PW[lee:sea77:6d:0]\n"
    "RE[W+R]\n"
    "TM[1800]OT[30:3]DT[2026-12-09]KM[0.5]HA[2]\n"
    "AB[dp][pd]\n"
    ";W[qf]WL[1790];B[dd]BL[1795];W[cc]WL[1780];B[dc]BL[1790]\n"
    ";W[tt]WL[1770];B[ee]BL[1785])";

}  // namespace

// ---- Layout of the written text ----

TEST(GiboRecordLayout, NewRecordIsHeaderFourEmptyLinesAndClose) {
  CGiboRecord record;
  EXPECT_STREQ("(;FF[4]GM[1]SZ[19]\n\n\n\n\n)", record.ToText());
  record.SetMoves("|B[aa]BL[1]");
  record.Reset();
  EXPECT_STREQ("(;FF[4]GM[1]SZ[19]\n\n\n\n\n)", record.ToText());
  EXPECT_EQ(0, record.GetTotalMoves());
}

TEST(GiboRecordLayout, FourNodesALineAndTheCloseAfterTheRest) {
  CGiboRecord record;
  record.SetMoves(";B[aa];W[bb];B[cc];W[dd];B[ee];W[ff];B[gg];W[hh]");
  EXPECT_STREQ("(;FF[4]GM[1]SZ[19]\n\n\n\n\n"
               ";B[aa];W[bb];B[cc];W[dd]\n"
               ";B[ee];W[ff];B[gg];W[hh]\n"
               ")",
               record.ToText());
  record.AppendMove("B[ii]", "BL[5]");
  EXPECT_STREQ("(;FF[4]GM[1]SZ[19]\n\n\n\n\n"
               ";B[aa];W[bb];B[cc];W[dd]\n"
               ";B[ee];W[ff];B[gg];W[hh]\n"
               ";B[ii]BL[5])",
               record.ToText());
}

TEST(GiboRecordLayout, HandicapGameOfSixNodesTakesEightLines) {
  CGiboRecord record = HandicapGame();
  EXPECT_STREQ(kHandicapGameText, record.ToText());
}

TEST(GiboRecordLayout, EmptySetupWritesAnEmptyLineAndNoMovesCloseAfterRoot) {
  CGiboRecord record;
  record.SetRootInfo("60", "10:1", "2026-01-02", "6.5", "0");
  EXPECT_STREQ("(;FF[4]GM[1]SZ[19]\n\n\n\nTM[60]OT[10:1]DT[2026-01-02]KM[6.5]HA[0]\n)", record.ToText());
  record.SetSetup("");
  EXPECT_STREQ("(;FF[4]GM[1]SZ[19]\n\n\n\nTM[60]OT[10:1]DT[2026-01-02]KM[6.5]HA[0]\n\n)", record.ToText());
}

TEST(GiboRecordLayout, FileHasCrLfLineEnds) {
  auto dir = platform::MakeTempDir();
  CGiboRecord record = HandicapGame();
  ASSERT_TRUE(record.WriteFile((dir / "game.sgf").c_str()));
  std::string expected = kHandicapGameText;
  for (std::size_t at = expected.find('\n'); at != std::string::npos; at = expected.find('\n', at + 2))
    expected.insert(at, "\r");
  EXPECT_EQ(expected, ReadBytes(dir / "game.sgf"));
}

TEST(GiboRecordLayout, WriteFailsWhereNoFileCanBeMade) {
  auto dir = platform::MakeTempDir();
  CGiboRecord record = HandicapGame();
  EXPECT_FALSE(record.WriteFile((dir / "missing/folder/game.sgf").c_str()));
  EXPECT_FALSE(record.WriteFile(dir.Path().c_str()));
}

// ---- Building and reading values ----

TEST(GiboRecordValues, PlayersSplitIntoTheirFourParts) {
  CGiboRecord record = HandicapGame();
  CString a, b, c, d;
  record.GetBlackPlayer(a, b, c, d);
  EXPECT_STREQ("kim", a);
  EXPECT_STREQ("sky01", b);
  EXPECT_STREQ("5d", c);
  EXPECT_STREQ("1", d);
  record.GetWhitePlayer(a, b, c, d);
  EXPECT_STREQ("lee", a);
  EXPECT_STREQ("sea77", b);

  CGiboRecord empty;
  CString keep = "kept";
  empty.GetBlackPlayer(keep, b, c, d);
  EXPECT_STREQ("kept", keep);

  // A player text with fewer parts gives empty parts, never the first part again.
  ASSERT_TRUE(empty.SetText("(;FF[4]GM[1]SZ[19]PB[solo]PW[a:b]RE[B+R]TM[1]OT[1:1]DT[x]KM[0]HA[0];B[aa])"));
  empty.GetBlackPlayer(a, b, c, d);
  EXPECT_STREQ("solo", a);
  EXPECT_STREQ("", b);
  EXPECT_STREQ("", d);
}

TEST(GiboRecordValues, RootValues) {
  CGiboRecord record = HandicapGame();
  EXPECT_EQ(1800, record.GetTimeLimit());
  short seconds = 0, periods = 0;
  record.GetOvertime(seconds, periods);
  EXPECT_EQ(30, seconds);
  EXPECT_EQ(3, periods);
  CString komi;
  record.GetKomi(komi);
  EXPECT_STREQ("0.5", komi);
  EXPECT_EQ(2, record.GetHandicap());
  EXPECT_STREQ("TM[1800]OT[30:3]DT[2026-12-09]KM[0.5]HA[2]", record.GetRoot());
  EXPECT_STREQ(";FF[4]GM[1]SZ[19]PB[kim:sky01:5d:1]PW[lee:sea77:6d:0]RE[W+R]"
               "TM[1800]OT[30:3]DT[2026-12-09]KM[0.5]HA[2]AB[dp][pd]"
               ";W[qf]WL[1790];B[dd]BL[1795];W[cc]WL[1780];B[dc]BL[1790];W[tt]WL[1770];B[ee]BL[1785]",
               record.GetRootText());
}

TEST(GiboRecordValues, AbsentRootValuesGiveDefaults) {
  CGiboRecord record;
  short seconds = 7, periods = 9;
  record.GetOvertime(seconds, periods);
  EXPECT_EQ(7, seconds);
  EXPECT_EQ(9, periods);
  CString komi = "x";
  record.GetKomi(komi);
  EXPECT_STREQ("", komi);
  EXPECT_EQ(0, record.GetTimeLimit());
  EXPECT_EQ(0, record.GetHandicap());
}

TEST(GiboRecordValues, UnclosedHandicapIsMinusOneAndHidesNoMove) {
  CGiboRecord record;
  // In a whole text an open value runs to the end: the property is dropped, nothing read past it.
  ASSERT_TRUE(record.SetText("(;FF[4]GM[1]SZ[19]TM[10]HA[2"));
  EXPECT_EQ(0, record.GetHandicap());
  EXPECT_STREQ("TM[10]", record.GetRoot());
  EXPECT_EQ(0, record.GetTotalMoves());
  CGiboRecord other;
  other.SetFromServerText("FF[4];GM[1];SZ[19];PB[a];PW[b];RE[?];TM[1];OT[1:1];DT[d];KM[0];HA[2");
  other.SetMoves("|B[aa]|W[bb]");
  EXPECT_EQ(-1, other.GetHandicap());
  EXPECT_EQ(2, other.GetTotalMoves());
}

TEST(GiboRecordValues, TotalMovesCountsHandicapStones) {
  CGiboRecord record = RecordWithNodes(100);
  record.SetRootInfo("600", "30:3", "2026-12-09", "0.5", "2");
  record.AddSetupStone("dp");
  record.AddSetupStone("pd");
  EXPECT_EQ(102, record.GetTotalMoves());
}

TEST(GiboRecordValues, LargeNumbersStayInRange) {
  CGiboRecord record;
  record.SetRootInfo("99999999999999999999", "70000:-99999999999", "d", "k", "99999999");
  EXPECT_EQ(2147483647, record.GetTimeLimit());
  EXPECT_EQ(32767, record.GetHandicap());
  record.AppendMove("B[aa]", "BL[-99999999999]");
  short x, y, color;
  LONG time = 0;
  ASSERT_TRUE(record.GetMove(x, y, color, time));
  EXPECT_EQ(-2147483647 - 1, time);
  short seconds = 0, periods = 0;
  record.GetOvertime(seconds, periods);
  EXPECT_EQ(32767, seconds);
  EXPECT_EQ(-32768, periods);
  // A full clock beyond 32 bits stays at the largest time.
  record.SetRootInfo("2147483647", "32767:32767", "d", "k", "0");
  record.SetMoves(";W[aa]");
  ASSERT_TRUE(record.GetMove(x, y, color, time));
  EXPECT_EQ(2147483647, time);
}

// ---- Taking moves back ----

TEST(GiboRecordRemoveLastMove, RemovesExactlyTheLastNode) {
  CGiboRecord record;
  record.AppendMove("W[dd]", "WL[1000]");
  record.AppendMove("B[pd]", "BL[999]");
  record.RemoveLastMove();
  EXPECT_STREQ(";W[dd]WL[1000]", record.GetMoves());
  record.RemoveLastMove();
  EXPECT_STREQ("", record.GetMoves());
  record.RemoveLastMove();
  EXPECT_STREQ("", record.GetMoves());
  EXPECT_EQ(0, record.GetTotalMoves());
}

TEST(GiboRecordRemoveLastMove, NodesOfDifferentLengthsGoOneByOne) {
  CGiboRecord record;
  record.AppendMove("B[aa]", "BL[1]");
  record.AppendMove("W[bb]", "WL[1000]");
  record.AppendMove("B[cc]", "BL[999]");
  record.RemoveLastMove();
  record.RemoveLastMove();
  EXPECT_STREQ(";B[aa]BL[1]", record.GetMoves());
  EXPECT_EQ(1, record.GetTotalMoves());
  record.AppendMove("W[tt]", "WL[3]");
  EXPECT_STREQ(";B[aa]BL[1];W[tt]WL[3]", record.GetMoves());
}

TEST(GiboRecordRemoveLastMove, WorksAfterSetMovesAndSetText) {
  CGiboRecord record;
  record.SetMoves("|B[aa]BL[30]|W[bb]WL[1234567]");
  record.RemoveLastMove();
  EXPECT_STREQ(";B[aa]BL[30]", record.GetMoves());

  ASSERT_TRUE(record.SetText(kHandicapGameText));
  record.RemoveLastMove();
  EXPECT_STREQ(";W[qf]WL[1790];B[dd]BL[1795];W[cc]WL[1780];B[dc]BL[1790];W[tt]WL[1770]", record.GetMoves());
  // A node appended after the cut is read as a move like any other.
  record.AppendMove("B[ss]", "BL[7]");
  record.MoveTo(CGiboRecord::kLastNode);
  short x, y, color;
  LONG time;
  ASSERT_TRUE(record.PeekMove(x, y, color, time));
  EXPECT_EQ((Move{2, 18, 18, 7}), (Move{color, x, y, time}));
}

TEST(GiboRecordRemoveLastMove, NodeWithOpenValueGoesWhole) {
  CGiboRecord record;
  record.SetMoves(";B[aa];W[bb");
  record.AppendMove("B[cc]", "BL[1]");  // swallowed by the open value before it
  EXPECT_EQ(1, record.GetTotalMoves());  // the open node names no point
  record.RemoveLastMove();
  EXPECT_STREQ(";B[aa]", record.GetMoves());
}

TEST(GiboRecordSetMoves, BarsBecomeSemicolonsAndTheCursorRewinds) {
  CGiboRecord record = RecordWithNodes(5);
  record.MoveTo(3);
  record.SetMoves("|B[pd]BL[300]|W[dp]WL[290]");
  EXPECT_STREQ(";B[pd]BL[300];W[dp]WL[290]", record.GetMoves());
  EXPECT_EQ((std::vector<Move>{{2, 15, 3, 300}, {4, 3, 15, 290}}), ReplayAll(record));
  // Line breaks between nodes (as dialogs build the list) are dropped.
  record.SetMoves("\r\n;B[aa]BL[1];W[bb]WL[2]\r\n;B[cc]BL[3]");
  EXPECT_STREQ(";B[aa]BL[1];W[bb]WL[2];B[cc]BL[3]", record.GetMoves());
}

// ---- Moves and cursors ----

TEST(GiboRecordMoves, GetMoveWalksTheNodesThenStartsOver) {
  CGiboRecord record = HandicapGame();
  std::vector<Move> expected = {{4, 16, 5, 1790}, {2, 3, 3, 1795}, {4, 2, 2, 1780},
                                {2, 3, 2, 1790},  {4, 20, 20, 1770}, {2, 4, 4, 1785}};
  EXPECT_EQ(expected, ReplayAll(record));
  // After the 0 that ended the walk, the next call starts again at the first node.
  Move m{};
  ASSERT_TRUE(record.GetMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(expected[0], m);
}

TEST(GiboRecordMoves, PassGivesTwentyFromGetAndPeek) {
  CGiboRecord record;
  record.SetMoves(";W[tt]WL[5]");
  Move m{};
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ((Move{4, 20, 20, 5}), m);
  ASSERT_TRUE(record.GetMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ((Move{4, 20, 20, 5}), m);
}

TEST(GiboRecordMoves, PeekNeitherMovesNorRewinds) {
  CGiboRecord record = RecordWithNodes(2);
  Move m{};
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(2, m.color);
  record.MoveTo(2);  // past the last node
  EXPECT_FALSE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_FALSE(record.PeekMove(m.x, m.y, m.color, m.time));
  record.PrevMove();
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(4, m.color);
}

TEST(GiboRecordMoves, UnreadableNodesGiveZeroAndHoldTheCursor) {
  CGiboRecord record;
  // An empty node, letters off the board, a short value, an open value: all refused.
  for (const char* bad : {";;B[cc]", ";B[zz];B[cc]", ";W[a];B[cc]", ";B[Pd];B[cc]", ";C[note];;B[cc]"}) {
    record.SetMoves(bad);
    Move m{7, 7, 7, 7};
    EXPECT_FALSE(record.GetMove(m.x, m.y, m.color, m.time)) << bad;
    EXPECT_FALSE(record.GetMove(m.x, m.y, m.color, m.time)) << bad;
    EXPECT_FALSE(record.PeekMove(m.x, m.y, m.color, m.time)) << bad;
    record.NextMove();
    EXPECT_TRUE(record.GetMove(m.x, m.y, m.color, m.time)) << bad;
    EXPECT_EQ((Move{2, 2, 2, 0}), m) << bad;
  }
  record.SetMoves(";B[p");
  Move m{};
  EXPECT_FALSE(record.GetMove(m.x, m.y, m.color, m.time));
}

TEST(GiboRecordMoves, CommentAndSetupNodesBetweenMovesAreSteppedOver) {
  // A file of another program: a comment node, an added-stone node and a named node between
  // moves, and a comment after the last move.
  const std::string path = testing::TempDir() + "/comments-between-moves.sgf";
  WriteBytes(path,
             "(;FF[4]GM[1]SZ[19]PB[kim]PW[lee]RE[B+R]TM[600]OT[30:3]KM[6.5]HA[0]\r\n"
             ";B[pd]BL[590];C[a fine opening]\r\n"
             ";W[dp]WL[580];AB[aa]AW[ss];N[middle game]\r\n"
             ";B[tt]BL[570];W[qq]WL[560];C[resigns])\r\n");
  CGiboRecord record;
  ASSERT_TRUE(record.ReadFile(path.c_str()));
  EXPECT_EQ(4, record.GetTotalMoves());
  const std::vector<Move> expected{{2, 15, 3, 590}, {4, 3, 15, 580}, {2, 20, 20, 570}, {4, 16, 16, 560}};
  EXPECT_EQ(expected, ReplayAll(record));
  // The replay started over after the trailing comment, and peeking sees through comments too.
  Move m{};
  ASSERT_TRUE(record.GetMove(m.x, m.y, m.color, m.time));
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ((Move{4, 3, 15, 580}), m);
  ASSERT_TRUE(record.GetMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ((Move{4, 3, 15, 580}), m);

  // Written out and read back, the record keeps the same moves.
  CGiboRecord again;
  ASSERT_TRUE(again.SetText(record.ToText()));
  EXPECT_EQ(expected, ReplayAll(again));
  EXPECT_EQ(4, again.GetTotalMoves());

  // Only moves are counted: a record of comments alone has none.
  record.SetMoves(";C[one];C[two]");
  EXPECT_EQ(0, record.GetTotalMoves());
  EXPECT_FALSE(record.GetMove(m.x, m.y, m.color, m.time));
}

TEST(GiboRecordMoves, ColourComesFromTheMoveNotFromOtherLetters) {
  CGiboRecord record;
  record.SetMoves(";W[dd]C[Black is better]WL[20];B[]BL[10]");
  EXPECT_EQ((std::vector<Move>{{4, 3, 3, 20}, {2, 20, 20, 10}}), ReplayAll(record));
}

TEST(GiboRecordMoves, MissingTimeFallsBackToLastTimeOfThatColourThenFullClock) {
  CGiboRecord record;
  record.SetRootInfo("600", "30:5", "d", "0", "0");
  record.SetMoves(";B[aa];W[bb]WL[500];B[cc]BL[450];W[dd];B[ee]");
  EXPECT_EQ((std::vector<Move>{{2, 0, 0, 750}, {4, 1, 1, 500}, {2, 2, 2, 450}, {4, 3, 3, 500}, {2, 4, 4, 450}}),
            ReplayAll(record));
  CGiboRecord bare;
  bare.SetMoves(";B[aa]");
  EXPECT_EQ((std::vector<Move>{{2, 0, 0, 0}}), ReplayAll(bare));
}

TEST(GiboRecordCursor, NextPrevAndMoveToStayOnTheNodes) {
  CGiboRecord record = RecordWithNodes(10);
  Move m{};
  record.MoveTo(CGiboRecord::kLastNode);
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ((Move{4, 9, (9 * 7) % 19, 100}), m);
  record.NextMove();
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(9, m.x);
  record.MoveTo(CGiboRecord::kFirstNode);
  record.PrevMove();
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(0, m.x);
  record.MoveTo(5);
  ASSERT_TRUE(record.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(5, m.x);
}

TEST(GiboRecordCursor, CursorOutsideTheNodesNeverReadsAndRewinds) {
  CGiboRecord record = RecordWithNodes(3);
  Move m{};
  for (short index : {short{-1}, short{3}, short{32767}, short{-32768}}) {
    record.SetCursor(index);
    EXPECT_FALSE(record.PeekMove(m.x, m.y, m.color, m.time)) << index;
    EXPECT_FALSE(record.GetMove(m.x, m.y, m.color, m.time)) << index;
    ASSERT_TRUE(record.GetMove(m.x, m.y, m.color, m.time)) << index;
    EXPECT_EQ(0, m.x);
  }
  CGiboRecord empty;
  empty.MoveTo(CGiboRecord::kLastNode);
  empty.NextMove();
  EXPECT_FALSE(empty.PeekMove(m.x, m.y, m.color, m.time));
  CString node = "x";
  empty.GetNextNode(node);
  EXPECT_STREQ("", node);
}

TEST(GiboRecordCursor, GetNextNodeGivesNodeTextsThenStartsOver) {
  CGiboRecord record;
  record.SetMoves(";B[aa]BL[1];;W[bb]WL[2]");
  CString node;
  record.GetNextNode(node);
  EXPECT_STREQ("B[aa]BL[1]", node);
  record.GetNextNode(node);
  EXPECT_STREQ("", node);  // the empty node holds the cursor
  record.NextMove();
  record.GetNextNode(node);
  EXPECT_STREQ("W[bb]WL[2]", node);
  record.GetNextNode(node);
  EXPECT_STREQ("", node);
  record.GetNextNode(node);
  EXPECT_STREQ("B[aa]BL[1]", node);
}

TEST(GiboRecordTimes, TimesLeftComeFromTheLastTwoNodes) {
  CGiboRecord record;
  LONG black = -1, white = -1;
  EXPECT_FALSE(record.GetTimesLeft(black, white));
  EXPECT_EQ(-1, black);
  record.SetMoves(";B[aa]BL[300];W[bb]WL[290];B[cc]BL[280]");
  ASSERT_TRUE(record.GetTimesLeft(black, white));
  EXPECT_EQ(280, black);
  EXPECT_EQ(290, white);
  record.RemoveLastMove();
  record.RemoveLastMove();
  black = white = -1;
  ASSERT_TRUE(record.GetTimesLeft(black, white));
  EXPECT_EQ(300, black);
  EXPECT_EQ(-1, white);
  record.SetMoves(";B[aa];W[bb]WL[290]");
  black = -1;
  ASSERT_TRUE(record.GetTimesLeft(black, white));
  EXPECT_EQ(-1, black);
  EXPECT_EQ(290, white);
}

TEST(GiboRecordSetup, StonesInOrderThenZeroAndStartOver) {
  CGiboRecord record;
  record.AddSetupStone("dp");
  record.AddSetupStone("tt");
  record.AddSetupStone("pd");
  std::vector<std::pair<short, short>> stones;
  short x, y;
  while (record.GetSetupStone(x, y)) stones.emplace_back(x, y);
  EXPECT_EQ((std::vector<std::pair<short, short>>{{3, 15}, {20, 20}, {15, 3}}), stones);
  ASSERT_TRUE(record.GetSetupStone(x, y));
  EXPECT_EQ(3, x);

  for (const char* bad : {"", "AB", "AB[]", "AB[d", "AB[dz]", "AB[zzz]"}) {
    record.SetSetup(bad);
    EXPECT_FALSE(record.GetSetupStone(x, y)) << bad;
  }
  record.SetSetup("AB[aa][b");
  ASSERT_TRUE(record.GetSetupStone(x, y));
  EXPECT_FALSE(record.GetSetupStone(x, y));
}

// ---- Copies ----

TEST(GiboRecordCopy, CopyKeepsCursorsAndTextsButNotTheHeader) {
  CGiboRecord record = HandicapGame();
  record.MoveTo(2);
  short x, y;
  record.GetSetupStone(x, y);
  CGiboRecord copy(record);
  EXPECT_STREQ("PB[", copy.GetRootText().Left(3));
  EXPECT_STREQ(record.GetRootText().Mid(17), copy.GetRootText());
  Move m{};
  ASSERT_TRUE(copy.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ((Move{4, 2, 2, 1780}), m);
  ASSERT_TRUE(copy.GetSetupStone(x, y));
  EXPECT_EQ(15, x);
}

TEST(GiboRecordCopy, AssignmentRewindsAndKeepsOwnHeader) {
  CGiboRecord source = HandicapGame();
  source.MoveTo(3);
  short x, y;
  source.GetSetupStone(x, y);
  CGiboRecord member;
  CGiboRecord returned = (member = source);
  EXPECT_STREQ(kHandicapGameText, member.ToText());
  Move m{};
  ASSERT_TRUE(member.PeekMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(16, m.x);
  ASSERT_TRUE(member.GetSetupStone(x, y));
  EXPECT_EQ(3, x);
  EXPECT_EQ(6, returned.GetTotalMoves() - 2);
  member = member;
  EXPECT_STREQ(kHandicapGameText, member.ToText());
}

// ---- The server's record form ----

TEST(GiboRecordServerText, FieldsGoToTheirPlaces) {
  CGiboRecord record;
  record.SetMoves("|B[aa]BL[1]");
  record.NextMove();
  record.SetFromServerText("FF[4];GM[1];SZ[19];PB[kim:sky01:5d:1];PW[lee:sea77:6d:0];RE[?];TM[600];OT[30:3];"
                           "DT[2026-12-09];KM[6.5];HA[0]");
  EXPECT_STREQ(";FF[4]GM[1]SZ[19]PB[kim:sky01:5d:1]PW[lee:sea77:6d:0]RE[?]TM[600]OT[30:3]DT[2026-12-09]KM[6.5]"
               "HA[0];B[aa]BL[1]",
               record.GetRootText());
  EXPECT_STREQ("", record.GetSetup());
  EXPECT_EQ(1, record.GetTotalMoves());

  record.SetFromServerText("FF[4];GM[1];SZ[19];PB[a:b:c:d];PW[e:f:g:h];RE[?];TM[600];OT[30:3];DT[x];KM[0.5];"
                           "HA[2];AB[dp][pd]");
  EXPECT_STREQ("AB[dp][pd]", record.GetSetup());
  EXPECT_EQ(3, record.GetTotalMoves());
  short x, y;
  ASSERT_TRUE(record.GetSetupStone(x, y));
  EXPECT_EQ(3, x);
}

TEST(GiboRecordServerText, LineBreaksAndShortTextsLeaveNoJunk) {
  CGiboRecord record;
  // The study board's form: line breaks after the white player and the result.
  record.SetFromServerText("FF[4];GM[1];SZ[19];PB[a:b:c: d];PW[e:f:g: h]\r\n;RE[B+R]\r\n;TM[60];OT[30:3];"
                           "DT[20261209120000];KM[6];HA[0]");
  CString a, b, c, d;
  record.GetWhitePlayer(a, b, c, d);
  EXPECT_STREQ(" h", d);
  EXPECT_STREQ("RE[B+R]", record.GetResult());
  // A text that ends early gives empty fields, never the first fields over again.
  record.SetFromServerText("FF[4];GM[1];SZ[19];PB[x]");
  EXPECT_STREQ("", record.GetRoot());
  EXPECT_STREQ("", record.GetResult());
  EXPECT_STREQ("", record.GetSetup());
  record.SetFromServerText("");
  EXPECT_STREQ(";", record.GetRootText());
}

// ---- Whole texts and files ----

TEST(GiboRecordReadBack, FullGameWrittenAndReadBackFieldByField) {
  auto dir = platform::MakeTempDir();
  CGiboRecord game;
  game.SetBlackPlayer(Cp949("김 하늘"), "sky01", "5d", "1");
  game.SetWhitePlayer("lee", "sea77", "6d", "0");
  game.SetRootInfo("1800", "30:3", "2026-12-09", "6.5", "0");
  game.SetResult("RE[B+12.5]");
  for (int i = 0; i < 250; ++i) {
    char point[3] = {static_cast<char>('a' + (i * 5) % 19), static_cast<char>('a' + (i * 11) % 19), 0};
    bool black = i % 2 == 0;
    CString time;
    time.Format("%s[%d]", black ? "BL" : "WL", 1800 - i);
    game.AppendMove(CString(black ? "B[" : "W[") + point + "]", time);
  }
  ASSERT_TRUE(game.WriteFile((dir / "game.sgf").c_str()));
  CGiboRecord read;
  ASSERT_TRUE(read.ReadFile((dir / "game.sgf").c_str()));

  CString a, b, c, d;
  read.GetBlackPlayer(a, b, c, d);
  EXPECT_STREQ(Cp949("김하늘"), a);  // spaces are lost on reading
  EXPECT_STREQ("sky01", b);
  EXPECT_STREQ("5d", c);
  EXPECT_STREQ("1", d);
  read.GetWhitePlayer(a, b, c, d);
  EXPECT_STREQ("sea77", b);
  EXPECT_STREQ(game.GetResult(), read.GetResult());
  EXPECT_STREQ(game.GetRoot(), read.GetRoot());
  EXPECT_STREQ(game.GetMoves(), read.GetMoves());
  EXPECT_EQ(250, read.GetTotalMoves());
  EXPECT_EQ(ReplayAll(game), ReplayAll(read));

  // The same through the text form.
  CGiboRecord fromText;
  ASSERT_TRUE(fromText.SetText(game.ToText()));
  EXPECT_STREQ(game.GetMoves(), fromText.GetMoves());
  EXPECT_STREQ(game.GetRoot(), fromText.GetRoot());
  EXPECT_STREQ(game.ToText().Mid(0, 20), fromText.ToText().Mid(0, 20));
}

TEST(GiboRecordReadBack, HandicapGameReadsBackWithItsStones) {
  auto dir = platform::MakeTempDir();
  CGiboRecord game = HandicapGame();
  ASSERT_TRUE(game.WriteFile((dir / "h.sgf").c_str()));
  CGiboRecord read;
  ASSERT_TRUE(read.ReadFile((dir / "h.sgf").c_str()));
  EXPECT_STREQ(kHandicapGameText, read.ToText());
  EXPECT_EQ(8, read.GetTotalMoves());
  short x, y;
  ASSERT_TRUE(read.GetSetupStone(x, y));
  EXPECT_EQ(3, x);
  EXPECT_EQ(15, y);

  // The hand-written file of the same layout (Korean names in code page 949).
  ASSERT_TRUE(read.ReadFile(DataFile("own-handicap.sgf").c_str()));
  CString a, b, c, d;
  read.GetBlackPlayer(a, b, c, d);
  EXPECT_STREQ(Cp949("김하늘"), a);
  EXPECT_STREQ(game.GetMoves(), read.GetMoves());
  EXPECT_STREQ("AB[dp][pd]", read.GetSetup());
}

TEST(GiboRecordReadBack, RecordSavedBeforeItsFirstMove) {
  auto dir = platform::MakeTempDir();
  CGiboRecord game;
  game.SetBlackPlayer("a", "b", "c", "d");
  game.SetRootInfo("60", "10:3", "2026-12-09", "0.5", "0");
  game.SetResult("?");
  ASSERT_TRUE(game.WriteFile((dir / "new.sgf").c_str()));
  CGiboRecord read = RecordWithNodes(3);
  ASSERT_TRUE(read.ReadFile((dir / "new.sgf").c_str()));
  EXPECT_STREQ("PB[a:b:c:d]", read.GetRootText().Mid(17, 11));
  EXPECT_STREQ("", read.GetResult());  // "?" is no result property
  EXPECT_STREQ(game.GetRoot(), read.GetRoot());
  EXPECT_EQ(0, read.GetTotalMoves());
}

TEST(GiboRecordReadBack, UnreadableFilesLeaveTheRecordAlone) {
  auto dir = platform::MakeTempDir();
  CGiboRecord record = HandicapGame();
  EXPECT_FALSE(record.ReadFile((dir / "absent.sgf").c_str()));
  WriteBytes(dir / "empty.sgf", "");
  EXPECT_FALSE(record.ReadFile((dir / "empty.sgf").c_str()));
  WriteBytes(dir / "words.sgf", "not a game record\n");
  EXPECT_FALSE(record.ReadFile((dir / "words.sgf").c_str()));
  EXPECT_FALSE(record.SetText(""));
  EXPECT_STREQ(kHandicapGameText, record.ToText());
}

TEST(GiboRecordReadBack, RootsOfOtherShapes) {
  CGiboRecord record;
  // No SZ, no players, no TM: the standard header, empty players, the values present.
  record.ParseNode(";GM[1]KM[6.5]HA[0]OT[30:3]");
  EXPECT_STREQ("(;FF[4]GM[1]SZ[19]\n\n\n\nOT[30:3]KM[6.5]HA[0]\n\n)", record.ToText());
  // Properties named inside a comment are not properties.
  record.ParseNode(";FF[4]SZ[19]C[PB[fake\\] RE[W+R\\]]PB[real:1:2:3]RE[B+T]");
  EXPECT_STREQ("RE[B+T]", record.GetResult());
  CString a, b, c, d;
  record.GetBlackPlayer(a, b, c, d);
  EXPECT_STREQ("real", a);
  // Handicap without stones: an empty setup, never text from elsewhere.
  record.ParseNode(";FF[4]SZ[19]TM[1]HA[2]");
  EXPECT_STREQ("", record.GetSetup());
  record.ParseNode(";SZ[19]HA[2]AB[aa] [bb]C[x]AB[cc]");
  EXPECT_STREQ("AB[aa][bb]", record.GetSetup());
}

// ---- Files written by other programs ----

namespace {

struct ExpectedMove {
  short color;
  short x;
  short y;
  bool operator==(const ExpectedMove&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ExpectedMove& m) {
  return out << "{" << m.color << "," << m.x << "," << m.y << "}";
}

// The moves listed beside a data file, one "B pd" a line; a pass is "B" alone or "B tt".
std::vector<ExpectedMove> ExpectedMoves(const std::string& name) {
  std::ifstream in(DataFile(name + ".moves"));
  std::vector<ExpectedMove> moves;
  std::string line;
  while (std::getline(in, line)) {
    short color = line[0] == 'B' ? 2 : 4;
    std::string point = line.size() > 2 ? line.substr(2) : "";
    if (point.empty() || point == "tt") {
      moves.push_back({color, 20, 20});
    } else {
      moves.push_back({color, static_cast<short>(point[0] - 'a'), static_cast<short>(point[1] - 'a')});
    }
  }
  return moves;
}

std::vector<ExpectedMove> Placed(CGiboRecord& record) {
  std::vector<ExpectedMove> placed;
  for (const Move& m : ReplayAll(record)) placed.push_back({m.color, m.x, m.y});
  return placed;
}

class GiboRecordOtherPrograms : public testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(GiboRecordOtherPrograms, FileAndTextGiveTheListedMoves) {
  std::string name = GetParam();
  std::vector<ExpectedMove> expected = ExpectedMoves(name);
  ASSERT_GT(expected.size(), 90u);

  CGiboRecord fromFile;
  ASSERT_TRUE(fromFile.ReadFile(DataFile(name + ".sgf").c_str()));
  EXPECT_EQ(expected, Placed(fromFile));

  CGiboRecord fromText;
  ASSERT_TRUE(fromText.SetText(CString(ReadBytes(DataFile(name + ".sgf")))));
  EXPECT_EQ(expected, Placed(fromText));
  EXPECT_EQ(fromFile.GetTotalMoves(), fromText.GetTotalMoves());

  // What we write of it reads back to the same moves.
  CGiboRecord again;
  ASSERT_TRUE(again.SetText(fromFile.ToText()));
  EXPECT_EQ(expected, Placed(again));
}

INSTANTIATE_TEST_SUITE_P(Files, GiboRecordOtherPrograms,
                         testing::Values("selfplay-5000", "selfplay-5001", "selfplay-5002", "selfplay-5003",
                                         "selfplay-5004", "selfplay-5005", "fox-even", "fox-handicap",
                                         "other-even", "other-handicap"));

TEST(GiboRecordOtherFiles, HandicapStonesInTheRootOrInTheirOwnNode) {
  CGiboRecord record;
  ASSERT_TRUE(record.ReadFile(DataFile("other-handicap.sgf").c_str()));
  EXPECT_EQ(3, record.GetHandicap());
  EXPECT_STREQ("AB[dd][pd][dp]", record.GetSetup());
  EXPECT_EQ(263, record.GetTotalMoves());
  EXPECT_EQ(1800, record.GetTimeLimit());
  CString komi, a, b, c, d;
  record.GetKomi(komi);
  EXPECT_STREQ("0.5", komi);
  record.GetBlackPlayer(a, b, c, d);
  EXPECT_STREQ("KimSora", a);
  EXPECT_STREQ("RE[W+2.5]", record.GetResult());
  Move m{};
  ASSERT_TRUE(record.GetMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(1792, m.time);

  ASSERT_TRUE(record.ReadFile(DataFile("fox-handicap.sgf").c_str()));
  EXPECT_STREQ("AB[pd][dp]", record.GetSetup());
  EXPECT_EQ(102, record.GetTotalMoves());
  short x, y;
  ASSERT_TRUE(record.GetSetupStone(x, y));
  EXPECT_EQ(15, x);
  EXPECT_EQ(3, y);
  EXPECT_STREQ("TM[60]DT[2020-08-27]KM[0]HA[2]", record.GetRoot());
}

TEST(GiboRecordOtherFiles, EvenGameRootValues) {
  CGiboRecord record;
  ASSERT_TRUE(record.ReadFile(DataFile("other-even.sgf").c_str()));
  EXPECT_STREQ(";FF[4]GM[1]SZ[19]", record.GetRootText().Left(17));
  EXPECT_STREQ("TM[600]OT[30:5]DT[2023-11-11]KM[6.5]", record.GetRoot());
  short seconds = 0, periods = 0;
  record.GetOvertime(seconds, periods);
  EXPECT_EQ(30, seconds);
  EXPECT_EQ(5, periods);
  EXPECT_EQ(0, record.GetHandicap());
  EXPECT_EQ(300, record.GetTotalMoves());
  // No times in the file: every move gets the full clock.
  Move m{};
  ASSERT_TRUE(record.GetMove(m.x, m.y, m.color, m.time));
  EXPECT_EQ(750, m.time);
}

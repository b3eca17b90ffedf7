#include "control/BoardMarking.h"

#include <gtest/gtest.h>

#include "RecordingSink.h"

namespace {

class BoardMarkingTest : public ::testing::Test {
protected:
  BoardMarkingTest() { board.SetGameMode(RANDOM); }

  // White stones ca, cb, cc, cd (a wall) and, inside Black's area below, white stones at fa and fc
  // joined by the empty point fb; Black stones ea, eb, ec, ed, ee around them.
  void SetUpCountingPosition() {
    for (const char* p : {"ca", "cb", "cc", "cd", "fa", "fc", "ha"})
      Play(board, p, WHITE);
    for (const char* p : {"ea", "eb", "ec", "ed", "ee", "ga", "gb", "gc", "gd", "fd"})
      Play(board, p, BLACK);
    board.SetGameMode(CHECK_STONE);
    board.SetUserColor(BLACK);
    sink.Clear();
  }

  void Click(const char* rowCol) { board.OnClick(At(rowCol)); }

  CRecordingSink sink;
  CStolvexBoard board{sink};
};

TEST_F(BoardMarkingTest, DeadClickMarksTheRegionReachableThroughEmptyPoints) {
  SetUpCountingPosition();
  Click("fa");
  EXPECT_EQ(sink.errors, std::vector<short>{MARK_TOGGLED});
  EXPECT_EQ(board.GetCell(At("fa")), WHITE | DIE);
  EXPECT_EQ(board.GetCell(At("fc")), WHITE | DIE);  // through the empty point fb
  EXPECT_EQ(board.GetCell(At("ha")), WHITE);        // beyond the black wall: another region
  EXPECT_EQ(board.GetCell(At("ca")), WHITE);        // the black wall bounds the region
  EXPECT_EQ(board.RecordAt(At("fc"))->State(), WHITE | DIE);
  EXPECT_EQ(board.GetCell(At("fb")), NONE);
  EXPECT_EQ(board.GetStone2(WHITE | DIE), "|af|cf|");

  sink.Clear();
  Click("fc");  // any stone of the region unmarks all of it
  EXPECT_EQ(sink.errors, std::vector<short>{MARK_TOGGLED});
  EXPECT_EQ(board.GetCell(At("fa")), WHITE);
  EXPECT_EQ(board.RecordAt(At("fa"))->State(), WHITE);
}

TEST_F(BoardMarkingTest, DeadClickRefusals) {
  SetUpCountingPosition();
  Click("ea");  // own stone
  Click("fb");  // empty point
  EXPECT_EQ(sink.errors, (std::vector<short>{INVALID_GAMEMODE, NO_PLACE}));
  board.SetUserColor(NONE);
  sink.Clear();
  Click("fa");
  EXPECT_EQ(sink.errors, std::vector<short>{INVALID_GAMEMODE});
  EXPECT_EQ(board.GetCell(At("fa")), WHITE);
}

TEST_F(BoardMarkingTest, StonesWithoutRecordsAreMarkedByTheirCells) {
  SetUpCountingPosition();
  board.SetStone(15, 15, WHITE);  // no record behind this stone
  board.SetStone(15, 16, WHITE);
  sink.Clear();
  board.OnClick(15 * 19 + 15);
  EXPECT_EQ(sink.errors, std::vector<short>{INVALID_GAMEMODE});

  // Inside a marked region such a stone is marked by its cell alone.
  board.SetStone(5, 1, WHITE);  // fb, between fa and fc
  sink.Clear();
  Click("fa");
  EXPECT_EQ(sink.errors, std::vector<short>{MARK_TOGGLED});
  EXPECT_EQ(board.GetCell(At("fb")), WHITE | DIE);
  EXPECT_EQ(board.GetCell(At("fc")), WHITE | DIE);
  board.RemoveStone(DIE);
  EXPECT_EQ(board.GetCell(At("fb")), NONE);
  EXPECT_EQ(board.GetCell(At("fa")), NONE);
}

TEST_F(BoardMarkingTest, RemoveAndUncheckDeadStones) {
  SetUpCountingPosition();
  Click("fa");
  const short prisoners = board.GetWhitePrisoners();
  board.UnCheckStone(DIE);
  EXPECT_EQ(board.GetCell(At("fa")), WHITE);
  EXPECT_EQ(board.RecordAt(At("fa"))->State(), WHITE);
  Click("fa");
  board.RemoveStone(DIE);
  EXPECT_EQ(board.GetCell(At("fa")), NONE);
  EXPECT_EQ(board.GetCell(At("fc")), NONE);
  EXPECT_EQ(board.RecordAt(At("fa"))->State(), NONE);
  EXPECT_EQ(board.GetWhitePrisoners(), prisoners);  // removal counts no prisoners
  EXPECT_EQ(board.StoneList().Count(), 17);

  // Un-checking with a mask that matches empty points leaves them empty.
  board.UnCheckStone(NONE);
  EXPECT_EQ(board.GetCell(At("fa")), NONE);
  EXPECT_EQ(board.GetCell(At("ca")), WHITE);
}

TEST_F(BoardMarkingTest, TerritoryClicksMarkAndUnmarkEmptyRegions) {
  SetUpCountingPosition();
  board.SetGameMode(MODE_TERRITORY);
  Click("fb");  // empty point whose neighbours are all stones: marked alone
  EXPECT_EQ(board.GetCell(At("fb")), NONE | CHECKED);
  EXPECT_TRUE(sink.errors.empty());

  Click("da");  // the row between the walls opens onto the rest of the empty board
  EXPECT_EQ(board.GetCell(At("da")), NONE | CHECKED);
  EXPECT_EQ(board.GetCell(At("ds")), NONE | CHECKED);
  EXPECT_EQ(board.GetCell(At("ss")), NONE | CHECKED);
  EXPECT_EQ(board.GetCell(At("aa")), NONE | CHECKED);
  EXPECT_EQ(board.GetCell(At("ca")), WHITE);

  sink.Clear();
  Click("ss");
  EXPECT_EQ(sink.errors, std::vector<short>{MARK_TOGGLED});
  EXPECT_EQ(board.GetCell(At("da")), NONE);
  EXPECT_EQ(board.GetCell(At("fb")), NONE | CHECKED);  // a separate region stays

  sink.Clear();
  Click("ea");  // a stone: an ordinary click follows, which is refused here
  EXPECT_EQ(sink.errors, std::vector<short>{STONE_EXIST});
  board.OnClick(-1);
  EXPECT_EQ(sink.errors.back(), NO_PLACE);
}

TEST_F(BoardMarkingTest, GetBigPosListsColumnThenRow) {
  board.SetGameMode(MODE_TERRITORY);
  board.SetBigPos(3 * 19 + 4, 0);
  board.SetBigPos(3 * 19 + 5, 0);
  EXPECT_EQ(board.GetBigPos(CHECKED), "|ed|fd|");
  EXPECT_EQ(board.GetBigPos(SELF), "");
  board.SetGameMode(PLAY);
  EXPECT_EQ(board.GetBigPos(CHECKED), "");
}

TEST_F(BoardMarkingTest, TerritoryMarksWhileRotatedStandWhereTheUserClicked) {
  // Black closes the corner point aa alone, White the corner point ss; the rest is one big region.
  for (const char* p : {"ab", "ba"})
    Play(board, p, BLACK);
  for (const char* p : {"rs", "sr"})
    Play(board, p, WHITE);
  board.SetGameMode(MODE_TERRITORY);
  board.SetRotate(1);

  board.OnClick(360);  // the bottom-right region shows point aa on the turned board
  EXPECT_EQ(board.GetCell(At("aa")), NONE | CHECKED);
  EXPECT_EQ(board.GetCell(At("ss")), NONE);
  EXPECT_EQ(board.GetBigPos(CHECKED), "|aa|");  // board points, as the other side sets them

  board.OnClick(At("sa"));  // shows point as: the big region, stones and closed corners excluded
  EXPECT_EQ(board.GetCell(At("as")), NONE | CHECKED);
  EXPECT_EQ(board.GetCell(At("jj")), NONE | CHECKED);
  EXPECT_EQ(board.GetCell(At("ss")), NONE);
  EXPECT_EQ(board.GetCell(At("ab")), BLACK);
  EXPECT_EQ(board.GetBigPos(CHECKED).Left(7), "|aa|ca|");

  sink.Clear();
  board.OnClick(At("ss"));  // region of point aa again: unmarks it alone
  EXPECT_EQ(sink.errors, std::vector<short>{MARK_TOGGLED});
  EXPECT_EQ(board.GetCell(At("aa")), NONE);
  EXPECT_EQ(board.GetCell(At("jj")), NONE | CHECKED);
}

TEST_F(BoardMarkingTest, SetBigPosFlags) {
  board.SetBigPos(10, 0);
  board.SetBigPos(11, -1);
  board.SetBigPos(12, 1);
  EXPECT_EQ(board.GetCell(10), NONE | CHECKED);
  EXPECT_EQ(board.GetCell(11), NONE | SELF);
  EXPECT_EQ(board.GetCell(12), NONE);
  board.SetBigPos(10, 1);
  board.SetBigPos(11, 1);
  EXPECT_EQ(board.GetCell(10), 1025);
  EXPECT_EQ(board.GetCell(11), 1025);
  board.SetBigPos(-1, 0);
  board.SetBigPos(361, 0);
  board.SetBigPos(32000, 1);
  board.UnCheckStone(PLAY);
  EXPECT_EQ(board.GetCell(10), NONE);
}

TEST_F(BoardMarkingTest, SetStoneWritesResultsCellsAndRecords) {
  Play(board, "dd", BLACK);
  board.SetStone(3, 3, BLACK | DIE);
  EXPECT_EQ(board.GetCell(At("dd")), BLACK | DIE);
  EXPECT_EQ(board.RecordAt(At("dd"))->State(), BLACK | DIE);
  board.SetBigPos(At("ee"), 0);
  board.SetStone(4, 4, DIE);
  EXPECT_EQ(board.GetCell(At("ee")), NONE | CHECKED | DIE);

  board.SetGameMode(RESULT);
  board.SetStone(5, 5, 4);
  EXPECT_EQ(board.GetResultAt(At("ff")), 4);
  EXPECT_EQ(board.GetCell(At("ff")), NONE);
  board.SetStone(19, 0, 4);  // off the board: ignored
  board.SetStone(0, -1, 4);
  EXPECT_EQ(board.GetResultAt(0), 1);
}

}  // namespace

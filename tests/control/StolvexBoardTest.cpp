#include "control/StolvexBoard.h"

#include <gtest/gtest.h>

#include "RecordingSink.h"

namespace {

class StolvexBoardTest : public ::testing::Test {
protected:
  StolvexBoardTest() { board.SetGameMode(RANDOM); }

  // Black ij, ji, kj and White jj, ik, kk, jl: Black at jk takes jj, White at jj would retake.
  void SetUpKoShape() {
    for (const char* p : {"ij", "ji", "kj"})
      Play(board, p, BLACK);
    for (const char* p : {"jj", "ik", "kk", "jl"})
      Play(board, p, WHITE);
  }

  void Click(const char* rowCol) { board.OnClick(At(rowCol)); }

  CRecordingSink sink;
  CStolvexBoard board{sink};
};

TEST_F(StolvexBoardTest, CaptureOfOneStoneLeavesKoMarkRecordAndPrisoner) {
  SetUpKoShape();
  sink.Clear();
  Play(board, "jk", BLACK);

  EXPECT_EQ(board.GetCell(At("jj")), INVALID);
  EXPECT_EQ(board.GetCell(At("jk")), BLACK);
  EXPECT_EQ(board.GetWhitePrisoners(), 1);
  EXPECT_EQ(board.GetBlackPrisoners(), 0);
  EXPECT_EQ(board.GetChangedCount(), 1);
  ASSERT_EQ(sink.eaten.size(), 1u);
  EXPECT_EQ(sink.eaten[0], std::make_pair(short{WHITE}, short{1}));

  const CStoneInfo* record = board.StoneList().At(8);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->NumOfChanged(), 2);
  EXPECT_EQ(record->ChangeAt(1).position, At("jj"));
  EXPECT_EQ(record->ChangeAt(1).afterValue, INVALID);
  EXPECT_EQ(record->ChangeAt(1).prevValue, WHITE);
  EXPECT_EQ(record->Character(), 8);
  EXPECT_EQ(record->PosOfDim(), "jk");
}

TEST_F(StolvexBoardTest, CapturesOfSeveralGroupsAndTwoSingleStones) {
  // Around ee: a white pair ef-eg, and single white stones at de and fe, all with ee as their
  // last liberty.
  for (const char* p : {"ef", "eg", "de", "fe"})
    Play(board, p, WHITE);
  for (const char* p : {"ff", "df", "eh", "fg", "dg", "dd", "ce", "fd", "ge"})
    Play(board, p, BLACK);
  ASSERT_EQ(board.GetWhitePrisoners(), 0);
  sink.Clear();
  Play(board, "ee", BLACK);

  EXPECT_EQ(board.GetWhitePrisoners(), 4);
  EXPECT_EQ(board.GetChangedCount(), 4);
  ASSERT_EQ(sink.eaten.size(), 1u);
  EXPECT_EQ(sink.eaten[0], std::make_pair(short{WHITE}, short{4}));
  EXPECT_EQ(board.GetCell(At("ef")), NONE);
  EXPECT_EQ(board.GetCell(At("eg")), NONE);
  // Each single stone taken leaves a ko mark; the pair leaves plain empty points.
  EXPECT_EQ(board.GetCell(At("de")), INVALID);
  EXPECT_EQ(board.GetCell(At("fe")), INVALID);
  const CStoneInfo* record = board.StoneList().At(board.StoneList().Count());
  EXPECT_EQ(record->NumOfChanged(), 5);
  // More than one stone taken: the record keeps no ko point.
  EXPECT_EQ(record->InvalidPos(), -1);

  // The next move clears both marks.
  Play(board, "ss", WHITE);
  EXPECT_EQ(board.GetCell(At("de")), NONE);
  EXPECT_EQ(board.GetCell(At("fe")), NONE);
}

TEST_F(StolvexBoardTest, KoRefusedOnClickUntilAnotherMoveIsPlayed) {
  SetUpKoShape();
  Play(board, "jk", BLACK);
  sink.Clear();
  Click("jj");
  EXPECT_EQ(sink.errors, std::vector<short>{NO_PLACE});
  EXPECT_TRUE(sink.positions.empty());
  EXPECT_EQ(board.GetCell(At("jj")), INVALID);

  Play(board, "aa", WHITE);
  Play(board, "ss", BLACK);
  sink.Clear();
  Click("jj");
  EXPECT_TRUE(sink.errors.empty());
  ASSERT_EQ(sink.positions.size(), 1u);
  EXPECT_EQ(sink.positions[0], (FiredPosition{9, 9, WHITE}));
}

TEST_F(StolvexBoardTest, SuicideRefusedOnClickAndInSetDrawStone) {
  for (const char* p : {"ab", "ba"})
    Play(board, p, BLACK);
  Play(board, "ss", BLACK);  // White to move next
  const auto before = Cells(board);
  sink.Clear();
  Click("aa");
  EXPECT_EQ(sink.errors, std::vector<short>{YOU_EATED});
  EXPECT_TRUE(sink.positions.empty());

  sink.Clear();
  Play(board, "aa", WHITE);
  EXPECT_EQ(sink.errors, std::vector<short>{YOU_EATED});
  EXPECT_EQ(Cells(board), before);
  EXPECT_EQ(board.GetLastColor(), BLACK);
  EXPECT_EQ(board.StoneList().Count(), 3);
}

TEST_F(StolvexBoardTest, SuicideOnKoPointIsRefusedAndKoMarksStay) {
  // White takes the black corner stone at aa; Black at aa again would capture nothing (both white
  // stones keep liberties) and have none of its own.
  Play(board, "aa", BLACK);
  Play(board, "ab", WHITE);
  Play(board, "ba", WHITE);
  ASSERT_EQ(board.GetCell(At("aa")), INVALID);
  sink.Clear();
  Click("aa");
  EXPECT_EQ(sink.errors, std::vector<short>{YOU_EATED});
  EXPECT_TRUE(sink.positions.empty());
  EXPECT_EQ(board.GetCell(At("aa")), INVALID);
}

TEST_F(StolvexBoardTest, ClickOnKoPointThatCapturesNothingClearsTheMarksAndFires) {
  Play(board, "jk", WHITE);
  board.SetStone(9, 9, INVALID);
  board.SetStone(2, 2, INVALID);
  sink.Clear();
  Click("jj");  // Black next to a white stone with liberties of its own
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_EQ(sink.positions, Fired({9, 9, BLACK}));
  EXPECT_EQ(board.GetCell(At("jj")), NONE);
  EXPECT_EQ(board.GetCell(At("cc")), NONE);
}

TEST_F(StolvexBoardTest, OnlyLibertyOnKoPointRefusedOnClickButAcceptedBySetDrawStone) {
  Play(board, "ab", WHITE);  // keeps liberties at ac and bb
  board.SetStone(1, 0, INVALID);
  sink.Clear();
  Click("aa");
  EXPECT_EQ(sink.errors, std::vector<short>{YOU_EATED});

  sink.Clear();
  Play(board, "aa", BLACK);  // the mark is cleared first, so ba is a liberty
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_EQ(board.GetCell(At("aa")), BLACK);
  EXPECT_EQ(board.GetCell(At("ba")), NONE);
}

TEST_F(StolvexBoardTest, CaptureLeavingTheCapturingStoneWithoutOtherLibertyIsLegal) {
  SetUpKoShape();
  sink.Clear();
  Play(board, "jk", BLACK);  // jk's only liberty afterwards is the ko point jj
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_EQ(board.GetCell(At("jk")), BLACK);
  EXPECT_EQ(board.GetLogicalPos(), 8);
}

TEST_F(StolvexBoardTest, SetDrawStoneRefusals) {
  Play(board, "ff", BLACK);
  sink.Clear();
  Play(board, "ff", WHITE);
  EXPECT_EQ(sink.errors, std::vector<short>{STONE_EXIST});

  sink.Clear();
  board.SetGameMode(SEQ);
  Play(board, "gg", WHITE);
  EXPECT_EQ(sink.errors, std::vector<short>{INVALID_GAMEMODE});
  board.SetGameMode(RANDOM);

  // Points off the board are refused and change nothing; both above 19 is a pass.
  const auto before = Cells(board);
  for (auto [row, col] : {std::pair{19, 0}, {0, 19}, {-1, 3}, {3, -1}, {20, 5}, {5, 25}, {20, 19}}) {
    sink.Clear();
    board.SetDrawStone(static_cast<short>(row), static_cast<short>(col), WHITE, 0);
    EXPECT_EQ(sink.errors, std::vector<short>{NO_PLACE}) << row << "," << col;
  }
  EXPECT_EQ(Cells(board), before);
  EXPECT_EQ(board.StoneList().Count(), 1);

  sink.Clear();
  Play(board, "gg", 1);  // not a stone colour
  EXPECT_EQ(sink.errors, std::vector<short>{NO_PLACE});
  EXPECT_EQ(board.GetCell(At("gg")), NONE);
}

TEST_F(StolvexBoardTest, MoveNumbersComeFromCountOrLogicalPos) {
  Play(board, "aa", BLACK, 7);
  Play(board, "bb", WHITE);
  EXPECT_EQ(board.GetSequence(At("aa")), 7);
  EXPECT_EQ(board.GetSequence(At("bb")), 1);
  EXPECT_EQ(board.StoneList().At(2)->Sequence(), 2);
}

TEST_F(StolvexBoardTest, PassesByBothColoursKeepTheMoverColour) {
  board.SetGameMode(PLAY);
  board.SetUserColor(BLACK);
  Play(board, "dd", BLACK);
  Pass(board, WHITE);
  Pass(board, BLACK);
  EXPECT_EQ(board.GetLastColor(), BLACK);
  EXPECT_EQ(board.GetMyTurn(), 0);
  EXPECT_EQ(board.StoneList().Count(), 3);
  const CStoneInfo* pass = board.StoneList().At(2);
  EXPECT_EQ(pass->PosOfDim(), "tt");
  EXPECT_EQ(pass->SelfPos(), -1);
  EXPECT_EQ(pass->SelfColor(), -1);
  EXPECT_EQ(board.GetStone2(-1), "|tt|tt|");
  // The pass mark stands on the last stone for both passes in a row.
  EXPECT_EQ(board.GetPassMarkPoint(), At("dd"));

  board.GoPrev(0);
  EXPECT_EQ(board.GetLastColor(), WHITE);
  EXPECT_EQ(board.GetMyTurn(), 1);
  board.GoPrev(0);
  EXPECT_EQ(board.GetLastColor(), BLACK);
  EXPECT_EQ(board.GetMyTurn(), 0);
  EXPECT_EQ(board.GetPassMarkPoint(), NO_POINT);
  board.GoNext(0);
  EXPECT_EQ(board.GetLastColor(), WHITE);
  EXPECT_EQ(board.GetMyTurn(), 1);
  board.GoNext(0);
  EXPECT_EQ(board.GetLastColor(), BLACK);
  EXPECT_EQ(board.GetMyTurn(), 0);

  board.TakeBackLastMove();
  EXPECT_EQ(board.GetLastColor(), WHITE);
  EXPECT_EQ(board.GetMyTurn(), 1);
  EXPECT_EQ(board.StoneList().Count(), 2);
}

TEST_F(StolvexBoardTest, FirstMovePassHasNoPointToMark) {
  Pass(board, BLACK);
  EXPECT_EQ(board.GetLogicalPos(), 1);
  EXPECT_EQ(board.GetPassMarkPoint(), NO_POINT);
  EXPECT_EQ(board.GetLastColor(), BLACK);
  board.TakeBackLastMove();
  EXPECT_EQ(board.GetLogicalPos(), 0);
  EXPECT_EQ(board.GetLastColor(), WHITE);
  for (int i = 0; i < 1000; ++i)  // no fixed table of passes
    Pass(board, i % 2 ? WHITE : BLACK);
  EXPECT_EQ(board.StoneList().Count(), 1000);
}

TEST_F(StolvexBoardTest, HistoryStopsAtTheLargestMoveNumber) {
  for (int k = 0; k < 32767; ++k)
    Pass(board, k % 2 ? WHITE : BLACK);
  EXPECT_EQ(board.GetLogicalPos(), 32767);
  sink.Clear();
  Pass(board, WHITE);
  Play(board, "aa", BLACK);
  EXPECT_EQ(sink.errors, (std::vector<short>{OBJECT_CREATION_FAILED, OBJECT_CREATION_FAILED}));
  EXPECT_EQ(board.GetLogicalPos(), 32767);
  EXPECT_EQ(board.GetCell(0), NONE);
  EXPECT_EQ(board.GetLastColor(), WHITE);
}

TEST_F(StolvexBoardTest, WalkingBackAndForthThroughCapturesRestoresBoardAndPrisoners) {
  SetUpKoShape();
  std::vector<std::vector<int>> seen{Cells(board)};
  Play(board, "jk", BLACK);  // takes jj
  seen.push_back(Cells(board));
  Play(board, "aa", WHITE);  // clears the ko mark
  seen.push_back(Cells(board));
  Play(board, "jj", WHITE);  // retakes at jj: takes jk
  seen.push_back(Cells(board));
  const short black = board.GetBlackPrisoners();
  const short white = board.GetWhitePrisoners();

  for (int k = 3; k >= 1; --k) {
    board.GoPrev(0);
    board.OnBoardPainted();
    EXPECT_EQ(Cells(board), seen[k - 1]) << "back to " << k - 1;
  }
  for (int k = 1; k <= 3; ++k) {
    board.GoNext(0);
    board.OnBoardPainted();
    EXPECT_EQ(Cells(board), seen[k]) << "forward to " << k;
  }
  EXPECT_EQ(board.GetBlackPrisoners(), black);
  EXPECT_EQ(board.GetWhitePrisoners(), white);
  EXPECT_EQ(board.GetLogicalPos(), 10);
}

TEST_F(StolvexBoardTest, RedoClearsTheKoMarkItsMoveCleared) {
  SetUpKoShape();
  Play(board, "jk", BLACK);  // jj is the ko point
  Play(board, "aa", WHITE);  // clears it
  board.GoPrev(0);
  EXPECT_EQ(board.GetCell(At("jj")), INVALID);
  board.GoNext(0);
  EXPECT_EQ(board.GetCell(At("jj")), NONE);
  Play(board, "ss", BLACK);
  sink.Clear();
  Click("jj");  // White retakes legally now
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_EQ(sink.positions.size(), 1u);
}

TEST_F(StolvexBoardTest, NewMoveAfterUndoDiscardsLaterRecordsOutsideReplay) {
  Play(board, "aa", BLACK);
  Play(board, "bb", WHITE);
  Play(board, "cc", BLACK);
  board.GoPrev(0);
  board.GoPrev(0);
  Play(board, "dd", WHITE);
  EXPECT_EQ(board.StoneList().Count(), 2);
  EXPECT_EQ(board.GetLogicalPos(), 2);
  EXPECT_EQ(board.GetMovedBackCount(), 0);
  EXPECT_EQ(board.StoneList().At(2)->PosOfDim(), "dd");
  EXPECT_EQ(board.GetCell(At("bb")), NONE);
  sink.Clear();
  board.GoNext(0);
  EXPECT_EQ(sink.errors, std::vector<short>{ERROR_GO_NEXT});
}

TEST_F(StolvexBoardTest, NewMoveAfterUndoKeepsLaterRecordsInReplay) {
  board.SetGameMode(RANDOM | REPLAY);
  Play(board, "aa", BLACK);
  Play(board, "bb", WHITE);
  Play(board, "cc", BLACK);
  board.GoPrev(0);
  board.GoPrev(0);
  Play(board, "dd", WHITE);
  EXPECT_EQ(board.StoneList().Count(), 4);
  EXPECT_EQ(board.GetLogicalPos(), 2);
}

TEST_F(StolvexBoardTest, RefusedMoveKeepsTheRedoRecords) {
  Play(board, "ab", BLACK);
  Play(board, "ba", BLACK);
  Play(board, "cc", WHITE);
  board.GoPrev(0);
  sink.Clear();
  Play(board, "aa", WHITE);  // suicide
  EXPECT_EQ(sink.errors, std::vector<short>{YOU_EATED});
  EXPECT_EQ(board.StoneList().Count(), 3);
  sink.Clear();
  board.GoNext(0);
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_EQ(board.GetCell(At("cc")), WHITE);
}

TEST_F(StolvexBoardTest, HistoryWalksRefuseMissingItems) {
  board.GoPrev(0);
  board.GoNext(0);
  EXPECT_EQ(sink.errors, (std::vector<short>{ERROR_GO_PREV, ERROR_GO_NEXT}));

  Play(board, "aa", BLACK);
  board.SetLogicalPos(1005);  // stores 5, beyond the one record
  EXPECT_EQ(board.GetLogicalPos(), 5);
  sink.Clear();
  board.GoPrev(0);
  EXPECT_EQ(sink.errors, std::vector<short>{ERROR_GO_PREV});
  board.SetLogicalPos(999);
  EXPECT_EQ(board.GetLogicalPos(), 999);
  board.SetLogicalPos(-3);
  EXPECT_EQ(board.GetLogicalPos(), 999);
  board.TakeBackLastMove();  // no record 999: nothing happens
  EXPECT_EQ(board.StoneList().Count(), 1);
  EXPECT_EQ(board.GetCell(At("aa")), BLACK);
}

TEST_F(StolvexBoardTest, AgainReturnsToTheBreakPointAndDropsTrialMoves) {
  board.SetGameMode(RANDOM | REPLAY);
  SetUpKoShape();
  const auto atBreak = Cells(board);
  board.SetBreakPoint(7);
  Play(board, "jk", BLACK);  // trial move with a capture
  Play(board, "aa", WHITE);
  board.Again();
  EXPECT_EQ(Cells(board), atBreak);
  EXPECT_EQ(board.StoneList().Count(), 7);
  EXPECT_EQ(board.GetLogicalPos(), 7);
  EXPECT_EQ(board.GetMovedBackCount(), 0);

  board.SetGameMode(RANDOM);
  sink.Clear();
  board.Again();
  EXPECT_EQ(sink.errors, std::vector<short>{INVALID_GAMEMODE});
}

TEST_F(StolvexBoardTest, AgainAfterTheListShrankDoesNotInventRedoMoves) {
  board.SetGameMode(RANDOM | REPLAY);
  Play(board, "aa", BLACK);
  Play(board, "bb", WHITE);
  board.SetBreakPoint(2);
  board.TakeBackLastMove();
  board.TakeBackLastMove();
  board.SetLogicalPos(2);
  board.Again();
  EXPECT_EQ(board.GetMovedBackCount(), 0);
  sink.Clear();
  board.GoNext(0);
  EXPECT_EQ(sink.errors, std::vector<short>{ERROR_GO_NEXT});
}

TEST_F(StolvexBoardTest, TakeBackAfterCaptureRestoresStonesAndDeletesRecord) {
  SetUpKoShape();
  const auto before = Cells(board);
  Play(board, "jk", BLACK);
  board.RemoveStone(-1);
  EXPECT_EQ(Cells(board), before);
  EXPECT_EQ(board.StoneList().Count(), 7);
  EXPECT_EQ(board.GetLogicalPos(), 7);
  EXPECT_EQ(board.GetLastColor(), WHITE);
  EXPECT_EQ(board.GetChangedCount(), 2);  // the change count of the record taken back
  Play(board, "jk", BLACK);  // the move can be made again
  EXPECT_EQ(board.GetCell(At("jj")), INVALID);
}

TEST_F(StolvexBoardTest, HandicapAdvantageHoldsTheTurn) {
  board.SetGameMode(PLAY);
  board.SetUserColor(WHITE);
  board.SetNumOfAdvatage(2);
  Play(board, "dd", BLACK);
  EXPECT_EQ(board.GetMyTurn(), 0);
  Play(board, "pp", BLACK);
  EXPECT_EQ(board.GetMyTurn(), 0);
  EXPECT_EQ(board.GetNumOfAdvatage(), 0);
  Play(board, "dp", BLACK);
  EXPECT_EQ(board.GetMyTurn(), 1);

  board.SetNumOfAdvatage(-1);
  Play(board, "pd", WHITE);
  EXPECT_EQ(board.GetMyTurn(), 1);
  EXPECT_EQ(board.GetNumOfAdvatage(), 0);
}

TEST_F(StolvexBoardTest, ClickRefusalsInOrder) {
  board.SetEnable(0);
  board.OnClick(-1);
  EXPECT_EQ(sink.errors, std::vector<short>{INPUT_DISABLED});
  board.SetEnable(1);
  board.SetGameMode(NONE | RANDOM);
  sink.Clear();
  Click("aa");
  EXPECT_EQ(sink.errors, std::vector<short>{INPUT_DISABLED});

  board.SetGameMode(MODE_SELF_PLAY);
  sink.Clear();
  board.OnClick(-1);
  EXPECT_EQ(sink.errors, std::vector<short>{NO_PLACE});
  EXPECT_TRUE(board.GetGameMode() & RANDOM);

  board.SetGameMode(PLAY);
  board.SetUserColor(WHITE);
  sink.Clear();
  Click("dd");
  EXPECT_EQ(sink.errors, std::vector<short>{NOT_PLAYER});
  board.SetUserColor(BLACK);
  sink.Clear();
  Click("dd");
  EXPECT_EQ(sink.positions, Fired({3, 3, BLACK}));
  EXPECT_EQ(board.GetCell(At("dd")), NONE);  // a click never places a stone

  Play(board, "dd", BLACK);
  board.SetMyTurn(1);
  sink.Clear();
  Click("dd");
  EXPECT_EQ(sink.errors, std::vector<short>{STONE_EXIST});

  board.SetGameMode(SEQ);
  sink.Clear();
  Click("ee");
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_TRUE(sink.positions.empty());
}

TEST_F(StolvexBoardTest, RotatedClickMapsTheRegion) {
  board.SetRotate(1);
  board.OnClick(0);
  EXPECT_EQ(sink.positions, Fired({18, 18, BLACK}));
}

TEST_F(StolvexBoardTest, PropertiesAndInit) {
  board.SetUserColor(WHITE);
  EXPECT_EQ(board.GetMyTurn(), 0);
  board.SetUserColor(BLACK);
  EXPECT_EQ(board.GetMyTurn(), 1);
  board.SetHandicap(3, 9);
  EXPECT_EQ(board.GetBlackPrisoners(), 0);
  EXPECT_EQ(board.GetWhitePrisoners(), 0);
  board.SetHandicap(WHITE, 9);
  EXPECT_EQ(board.GetBlackPrisoners(), 9);

  SetUpKoShape();
  Play(board, "jk", BLACK);
  board.SetEnable(0);
  board.Init();
  EXPECT_EQ(board.GetGameMode(), PLAY);
  EXPECT_EQ(board.GetUserColor(), NONE);
  EXPECT_EQ(board.GetLastColor(), WHITE);
  EXPECT_EQ(board.GetLogicalPos(), 0);
  EXPECT_EQ(board.StoneList().Count(), 0);
  EXPECT_EQ(board.GetEnable(), 0);
  EXPECT_EQ(board.GetWhitePrisoners(), 1);  // prisoners survive a new game
  EXPECT_EQ(board.GetCell(At("jk")), NONE);
}

TEST_F(StolvexBoardTest, StoneQueriesAndLabels) {
  Play(board, "dc", BLACK);
  Play(board, "qp", WHITE);
  Play(board, "ee", BLACK);
  EXPECT_EQ(board.GetStone2(BLACK), "|cd|ee|");
  EXPECT_EQ(board.GetStone2(DIE), "");
  EXPECT_EQ(board.GetStone(WHITE).size(), 1u);
  EXPECT_TRUE(board.GetStone(DIE).empty());

  board.SetDrawChar(3, 2, 42);
  EXPECT_EQ(board.RecordAt(At("dc"))->Character(), 42);
  board.SetDrawChar(19, 2, 43);  // off the board: ignored
  board.SetGameMode(SEQ);
  sink.Clear();
  board.SetDrawChar(3, 2, 44);
  EXPECT_EQ(sink.errors, std::vector<short>{INVALID_GAMEMODE});
  EXPECT_EQ(board.RecordAt(At("dc"))->Character(), 42);
}

TEST_F(StolvexBoardTest, SetStoneListCopiesRecordsWithoutTouchingTheBoard) {
  CRecordingSink otherSink;
  CStolvexBoard other{otherSink};
  other.SetGameMode(RANDOM);
  for (const char* p : {"ij", "ji", "kj", "jj", "ik", "kk", "jl"})
    Play(other, p, p[0] == 'j' && p[1] == 'j' ? WHITE : BLACK);
  Play(other, "jk", BLACK);
  Pass(other, WHITE);
  other.StoneList().At(1)->SetCharacter(77);

  board.SetStoneList(&other.StoneList());
  EXPECT_EQ(board.StoneList().Count(), 9);
  EXPECT_EQ(board.GetLogicalPos(), 0);
  EXPECT_EQ(board.GetCell(At("ij")), NONE);
  EXPECT_EQ(board.StoneList().At(9)->PosOfDim(), "tt");
  EXPECT_EQ(board.StoneList().At(1)->Character(), 0);
  EXPECT_EQ(board.StoneList().At(8)->NumOfChanged(), 2);
  EXPECT_EQ(board.StoneList().At(8)->InvalidPos(), -1);
}

TEST_F(StolvexBoardTest, ForeignListItemsAreSkippedByWalksAndCopies) {
  Play(board, "aa", BLACK);
  board.StoneList().Add(CComVariant(LONG{5}));  // an item the container added
  board.SetLogicalPos(2);
  board.TakeBackLastMove();  // nothing to take back from a foreign item
  EXPECT_EQ(board.StoneList().Count(), 2);
  board.SetLogicalPos(1);
  board.GoPrev(0);
  sink.Clear();
  board.GoNext(0);
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_EQ(board.GetStone2(BLACK), "|aa|");

  CRecordingSink otherSink;
  CStolvexBoard other{otherSink};
  other.SetStoneList(&board.StoneList());
  EXPECT_EQ(other.StoneList().Count(), 1);
  other.SetStoneList(nullptr);
  EXPECT_EQ(other.StoneList().Count(), 1);
}

TEST_F(StolvexBoardTest, RecordsAndListCountInTheModule) {
  CComModule module;
  {
    CRecordingSink moduleSink;
    CStolvexBoard counted{moduleSink, &module};
    counted.SetGameMode(RANDOM);
    Play(counted, "aa", BLACK);
    Pass(counted, WHITE);
    EXPECT_EQ(module.GetLockCount(), 3);  // the list and two records
    CComPtr<CStoneInfo> kept = counted.StoneList().At(1);
    counted.Init();
    EXPECT_EQ(module.GetLockCount(), 2);  // the new list and the record still held
  }
  EXPECT_EQ(module.GetLockCount(), 0);
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

TEST_F(StolvexBoardTest, PaintingTurnsRedrawIntoNone) {
  SetUpKoShape();
  Play(board, "jk", BLACK);
  Play(board, "aa", WHITE);
  Play(board, "ss", BLACK);
  board.GoPrev(0);
  board.GoPrev(0);
  board.GoPrev(0);
  board.GoNext(0);  // the capture again: jj gets its after value INVALID
  EXPECT_EQ(board.GetCell(At("jj")), INVALID);
  EXPECT_EQ(board.GetRedrawCount(), 2);
  board.OnPointPainted(At("jj"));
  EXPECT_EQ(board.RecordAt(At("jj"))->State(), NONE);
  EXPECT_EQ(board.GetCell(At("jj")), INVALID);
}

// Values that sit exactly on a boundary of a rule.
TEST_F(StolvexBoardTest, BoundaryValues) {
  // LogicalPos: 1000 and above lose 1000, below stays.
  for (auto [put, stored] : {std::pair<short, short>{1000, 0}, {1001, 1}, {999, 999}, {1005, 5}}) {
    board.SetLogicalPos(put);
    EXPECT_EQ(board.GetLogicalPos(), stored) << put;
  }
  board.SetLogicalPos(0);

  // A count of exactly 1 is the move number; 0 takes LogicalPos.
  Play(board, "aa", BLACK);
  Play(board, "ab", WHITE);
  Play(board, "ac", BLACK, 1);
  Play(board, "ad", WHITE, 0);
  EXPECT_EQ(board.GetSequence(At("ac")), 1);
  EXPECT_EQ(board.GetSequence(At("ad")), 3);

  // Pass, stone, pass: the second pass marks the stone between, not the stone before the first.
  Play(board, "dd", BLACK);
  Pass(board, WHITE);
  EXPECT_EQ(board.GetPassMarkPoint(), At("dd"));
  Play(board, "ee", BLACK);
  EXPECT_EQ(board.GetPassMarkPoint(), NO_POINT);
  Pass(board, WHITE);
  EXPECT_EQ(board.GetPassMarkPoint(), At("ee"));
  Pass(board, BLACK);  // directly after: the same point
  EXPECT_EQ(board.GetPassMarkPoint(), At("ee"));
}

}  // namespace

// Every engine-played game walked back to the start and forward again, without painting, compared
// point by point (cells with their ko marks, and move numbers) with the same moves played afresh.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "GameRecordReader.h"
#include "RecordingSink.h"

namespace {

using Position = std::pair<std::vector<int>, std::vector<int>>;  // cells, move numbers

Position Snapshot(const CStolvexBoard& board) {
  std::vector<int> numbers(POINT_COUNT);
  for (int i = 0; i < POINT_COUNT; ++i)
    numbers[i] = board.GetSequence(i);
  return {Cells(board), numbers};
}

class StolvexBoardWalkTest : public ::testing::TestWithParam<const char*> {};

TEST_P(StolvexBoardWalkTest, UndoAndRedoMatchFreshPlayAtEveryMove) {
  const std::string path = std::string(TEST_DATA_DIR) + "/gibo/" + GetParam();
  const std::vector<RecordedMove> moves = ReadGameMoves(path);
  ASSERT_GT(moves.size(), 100u);
  CRecordingSink sink;
  CStolvexBoard board{sink};
  board.SetGameMode(RANDOM);
  std::vector<Position> fresh{Snapshot(board)};
  int koMarks = 0;
  for (const RecordedMove& move : moves) {
    board.SetDrawStone(move.row, move.col, move.colour, 0);
    fresh.push_back(Snapshot(board));
    for (int cell : fresh.back().first)
      koMarks += cell == INVALID;
  }
  ASSERT_TRUE(sink.errors.empty());
  EXPECT_GT(koMarks, 0) << "the game should take single stones";

  const int total = static_cast<int>(moves.size());
  for (int k = total - 1; k >= 0; --k) {
    board.GoPrev(1);
    ASSERT_EQ(Snapshot(board), fresh[k]) << "back to move " << k;
  }
  for (int k = 1; k <= total; ++k) {
    board.GoNext(1);
    ASSERT_EQ(Snapshot(board), fresh[k]) << "forward to move " << k;
  }
  EXPECT_TRUE(sink.errors.empty());
  // The position after the walk takes the next move like the fresh one would.
  board.GoPrev(1);
  board.GoNext(1);
  EXPECT_EQ(Snapshot(board), fresh.back());
}

INSTANTIATE_TEST_SUITE_P(EngineGames, StolvexBoardWalkTest,
                         ::testing::Values("selfplay-5000.sgf", "selfplay-5001.sgf", "selfplay-5002.sgf",
                                           "selfplay-5003.sgf", "selfplay-5004.sgf", "selfplay-5005.sgf"));

TEST(StolvexBoardKoWalkTest, CaptureOfSeveralStonesKeepsTheKoMarkItClearedForUndoAndRedo) {
  CRecordingSink sink;
  CStolvexBoard board{sink};
  board.SetGameMode(RANDOM);
  // Black aa, ab in the corner, held by White ba, bb; the ko shape around jj.
  for (const char* p : {"aa", "ab", "ij", "ji", "kj"})
    Play(board, p, BLACK);
  for (const char* p : {"ba", "bb", "jj", "ik", "kk", "jl"})
    Play(board, p, WHITE);
  Play(board, "jk", BLACK);  // takes jj: ko mark
  const Position afterKo = Snapshot(board);
  ASSERT_EQ(board.GetCell(At("jj")), INVALID);
  Play(board, "ac", WHITE);  // takes aa and ab, and clears the ko mark
  const Position afterDouble = Snapshot(board);
  ASSERT_EQ(board.GetCell(At("jj")), NONE);
  ASSERT_EQ(board.GetCell(At("aa")), NONE);
  short reported = 0;
  board.StoneList().At(board.GetLogicalPos())->GetInvalidPos(&reported);
  EXPECT_EQ(reported, -1);  // a capture of two stones reports no ko point

  board.GoPrev(1);
  EXPECT_EQ(Snapshot(board), afterKo);
  board.GoNext(1);
  EXPECT_EQ(Snapshot(board), afterDouble);
  // Black may now play on both emptied points; nothing was left half-cleared.
  sink.Clear();
  Play(board, "aa", BLACK);
  Play(board, "jj", WHITE);
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_EQ(board.GetCell(At("aa")), BLACK);

  board.TakeBackLastMove();
  board.TakeBackLastMove();
  board.TakeBackLastMove();
  EXPECT_EQ(Snapshot(board), afterKo);
}

TEST(StolvexBoardKoWalkTest, TwoKoMarksClearedByOneMoveComeBackTogether) {
  CRecordingSink sink;
  CStolvexBoard board{sink};
  board.SetGameMode(RANDOM);
  // White stones at ab and ba with Black around them on all other sides; Black aa takes both.
  for (const char* p : {"ac", "bb", "ca"})
    Play(board, p, BLACK);
  for (const char* p : {"ab", "ba"})
    Play(board, p, WHITE);
  Play(board, "aa", BLACK);  // takes ab and ba: two ko marks
  ASSERT_EQ(board.GetCell(At("ab")), INVALID);
  ASSERT_EQ(board.GetCell(At("ba")), INVALID);
  const Position twoMarks = Snapshot(board);
  Play(board, "ss", WHITE);  // clears both
  const Position cleared = Snapshot(board);
  board.GoPrev(1);
  EXPECT_EQ(Snapshot(board), twoMarks);
  board.GoNext(1);
  EXPECT_EQ(Snapshot(board), cleared);
}

}  // namespace

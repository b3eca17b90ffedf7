// A whole game replayed through the board, forward and back.

#include <gtest/gtest.h>

#include "GameRecordReader.h"
#include "RecordingSink.h"

namespace {

const std::string kGame = std::string(TEST_DATA_DIR) + "/selfplay-5001.sgf";

class StolvexBoardReplayTest : public ::testing::Test {
protected:
  void SetUp() override {
    moves = ReadGameMoves(kGame);
    ASSERT_GT(moves.size(), 240u);
    board.SetGameMode(RANDOM);
    positions.push_back(Cells(board));
    for (const RecordedMove& move : moves) {
      board.SetDrawStone(move.row, move.col, move.colour, 0);
      positions.push_back(Cells(board));
    }
    ASSERT_TRUE(sink.errors.empty());
  }

  std::vector<RecordedMove> moves;
  std::vector<std::vector<int>> positions;  // board after k moves
  CRecordingSink sink;
  CStolvexBoard board{sink};
};

TEST_F(StolvexBoardReplayTest, FinalPositionAndPrisonersMatchTheRecord) {
  std::vector<int> expected(POINT_COUNT, NONE);
  for (int i : ReadFinalStones(kGame, "black"))
    expected[i] = BLACK;
  for (int i : ReadFinalStones(kGame, "white"))
    expected[i] = WHITE;
  std::vector<int> actual = Cells(board);
  for (int& cell : actual)
    cell = (cell == INVALID) ? NONE : cell;
  EXPECT_EQ(actual, expected);
  // The record counts stones taken by each side.
  EXPECT_EQ(board.GetWhitePrisoners(), 3);
  EXPECT_EQ(board.GetBlackPrisoners(), 10);
  EXPECT_EQ(board.StoneList().Count(), static_cast<long>(moves.size()));
}

TEST_F(StolvexBoardReplayTest, WalkingBackAndForthMatchesEveryPosition) {
  const int total = static_cast<int>(moves.size());
  for (int round = 0; round < 2; ++round) {
    for (int k = total - 1; k >= 0; --k) {
      board.GoPrev(0);
      board.OnBoardPainted();
      ASSERT_EQ(Cells(board), positions[k]) << "back to move " << k;
    }
    for (int k = 1; k <= total; ++k) {
      board.GoNext(0);
      board.OnBoardPainted();
      ASSERT_EQ(Cells(board), positions[k]) << "forward to move " << k;
    }
  }
  EXPECT_TRUE(sink.errors.empty());
  EXPECT_EQ(board.GetLastColor(), moves.back().colour);
}

TEST_F(StolvexBoardReplayTest, TakingBackEveryMoveEmptiesTheBoard) {
  for (int k = static_cast<int>(moves.size()) - 1; k >= 0; --k) {
    board.TakeBackLastMove();
    ASSERT_EQ(Cells(board), positions[k]) << "taken back to move " << k;
  }
  EXPECT_EQ(board.StoneList().Count(), 0);
}

}  // namespace

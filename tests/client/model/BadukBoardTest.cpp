#include "client/model/BadukBoard.h"

#include <gtest/gtest.h>

#include "BoardTestSupport.h"

namespace {

using boardtest::RecordingBoard;

constexpr int B = 2;
constexpr int W = 1;

TEST(BadukBoardTest, PlaceStoneChecksColourRangeAndOccupiedPoint) {
  RecordingBoard board;
  EXPECT_EQ(board.PlaceStone(0, 0, 3, 0, TRUE), CBadukBoard::kBadColour);
  EXPECT_EQ(board.PlaceStone(0, 5, B, 0, TRUE), CBadukBoard::kOutOfRange);
  EXPECT_EQ(board.PlaceStone(20, 5, W, 0, TRUE), CBadukBoard::kOutOfRange);
  EXPECT_EQ(board.PlaceStone(5, -1, W, 0, TRUE), CBadukBoard::kOutOfRange);
  EXPECT_EQ(board.GetPosition().GetLastIndex(), 0);
  EXPECT_TRUE(board.changes.empty());

  EXPECT_EQ(board.PlaceStone(4, 4, B, 77, TRUE), 0);
  EXPECT_EQ(board.GetColourToPlay(), W);
  ASSERT_EQ(board.placed.size(), 1u);
  EXPECT_EQ(board.placed[0], CStoneNode(4, 4, CStoneNode::kBlack | CStoneNode::kPresent, 1, 0));
  EXPECT_EQ(board.GetPosition().GetLastNode()->GetTime(), 77);
  ASSERT_EQ(board.changes.size(), 1u);
  EXPECT_EQ(board.changes[0], std::make_pair(WPARAM{0 | 1 << 16}, LPARAM{0}));
  EXPECT_EQ(board.PlaceStone(4, 4, W, 0, TRUE), CBadukBoard::kStoneExists);
  EXPECT_EQ(board.changes.size(), 1u);
  EXPECT_TRUE(board.refused.empty());
  EXPECT_EQ(board.PlaceStone(5, 5, W, 0, TRUE), 0);
  EXPECT_EQ(board.GetColourToPlay(), B);
}

TEST(BadukBoardTest, QueriesOutsideTheBoardAreSafe) {
  CBadukBoard board;
  EXPECT_FALSE(board.HasStoneAt(0, 0));
  EXPECT_FALSE(board.HasStoneAt(20, 1));
  EXPECT_FALSE(board.HasStoneAt(1, -3));
  ASSERT_EQ(board.PlaceStone(19, 19, B, 0, FALSE), 0);
  EXPECT_TRUE(board.HasStoneAt(19, 19));
  EXPECT_EQ(board.GetCaptures(B), 0);
  EXPECT_EQ(board.GetCaptures(7), 0);
}

}  // namespace

#include "control/GoBoard.h"

#include <gtest/gtest.h>

namespace {

int P(int row, int col) { return row * 19 + col; }

TEST(GoBoardTest, NeighboursStopAtTheEdgesInFixedOrder) {
  CGoBoard board;
  EXPECT_EQ(board.Neighbours(P(0, 0)), (std::array<short, 4>{1, NO_POINT, 19, NO_POINT}));
  EXPECT_EQ(board.Neighbours(P(0, 18)), (std::array<short, 4>{NO_POINT, 17, 37, NO_POINT}));
  EXPECT_EQ(board.Neighbours(P(18, 0)), (std::array<short, 4>{343, NO_POINT, NO_POINT, 323}));
  EXPECT_EQ(board.Neighbours(P(5, 5)), (std::array<short, 4>{101, 99, 119, 81}));
}

TEST(GoBoardTest, OnlyTheNoneBitIsALiberty) {
  CGoBoard board;
  board.Set(P(0, 0), BLACK);
  board.Set(P(0, 1), WHITE);
  board.Set(P(1, 0), INVALID);
  EXPECT_FALSE(board.FindLiberty(P(0, 0)));
  EXPECT_EQ(board.GroupSize(), 1);
  board.Set(P(1, 0), REDRAW);
  EXPECT_FALSE(board.FindLiberty(P(0, 0)));
  board.Set(P(1, 0), NONE | CHECKED);  // a territory mark still has the NONE bit
  EXPECT_TRUE(board.FindLiberty(P(0, 0)));
}

TEST(GoBoardTest, GroupsJoinThroughSharedBitsIncludingDeadMarks) {
  CGoBoard board;
  // A black chain along the top edge, one stone marked dead, closed by white.
  for (int col = 0; col < 4; ++col)
    board.Set(P(0, col), col == 2 ? (BLACK | DIE) : BLACK);
  for (int col = 0; col < 4; ++col)
    board.Set(P(1, col), WHITE);
  board.Set(P(0, 4), WHITE);
  EXPECT_FALSE(board.FindLiberty(P(0, 0)));
  EXPECT_EQ(board.GroupSize(), 4);
  board.Set(P(1, 3), NONE);
  EXPECT_TRUE(board.FindLiberty(P(0, 0)));
}

TEST(GoBoardTest, LegalityAndCaptureCounts) {
  CGoBoard board;
  // A white stone in the corner, Black at (0,1): Black at (1,0) takes it.
  board.Set(P(0, 0), WHITE);
  board.Set(P(0, 1), BLACK);
  // The tests look at the board as it stands: the stone must be in its cell.
  EXPECT_FALSE(board.WouldCapture(P(1, 0), BLACK));
  board.Set(P(1, 0), BLACK);
  EXPECT_TRUE(board.WouldCapture(P(1, 0), NONE));
  EXPECT_EQ(board.CountCaptures(P(1, 0), WHITE), 1);
  EXPECT_TRUE(board.CapturesOneStone(P(1, 0)));
  // White at (1,1) inside black stones: suicide; with the corner stone's capture gone, legal.
  board.Set(P(1, 0), NONE);
  board.Set(P(1, 2), BLACK);
  board.Set(P(2, 1), BLACK);
  board.Set(P(1, 0), BLACK);
  EXPECT_FALSE(board.IsLegalMove(P(1, 1), WHITE));
  EXPECT_EQ(board.At(P(1, 1)), NONE);  // the trial colour is taken out again
  EXPECT_TRUE(board.IsLegalMove(P(1, 1), BLACK));
  // A stone that captures is legal.
  board.Set(P(0, 0), NONE);
  board.Set(P(0, 0), BLACK);
  board.Set(P(0, 1), WHITE);
  board.Set(P(0, 2), BLACK);
  board.Set(P(1, 1), BLACK);
  board.Set(P(0, 0), NONE);
  EXPECT_TRUE(board.IsLegalMove(P(0, 0), BLACK));
}

TEST(GoBoardTest, AGroupTouchingTwoSidesCountsTwice) {
  CGoBoard board;
  // A three-stone white group touching the corner point from the right and from below.
  board.Set(P(0, 1), WHITE);
  board.Set(P(1, 1), WHITE);
  board.Set(P(1, 0), WHITE);
  for (int p : {P(0, 2), P(1, 2), P(2, 1), P(2, 0)})
    board.Set(p, BLACK);
  board.Set(P(0, 0), BLACK);
  EXPECT_EQ(board.CountCaptures(P(0, 0), WHITE), 6);
  EXPECT_FALSE(board.CapturesOneStone(P(0, 0)));
}

TEST(GoBoardTest, OpponentNeighbourOrEdge) {
  CGoBoard board;
  board.Set(P(5, 5), BLACK);
  EXPECT_FALSE(board.HasOpponentNeighbour(P(5, 5)));
  board.Set(P(5, 6), WHITE | DIE);  // not exactly the other colour
  EXPECT_FALSE(board.HasOpponentNeighbour(P(5, 5)));
  board.Set(P(4, 5), WHITE);
  EXPECT_TRUE(board.HasOpponentNeighbour(P(5, 5)));
  board.Set(P(0, 7), BLACK);
  EXPECT_TRUE(board.HasOpponentNeighbour(P(0, 7)));
}

}  // namespace

#include "client/model/GamePosition.h"

#include <gtest/gtest.h>

#include "BoardTestSupport.h"
#include "client/model/BadukBoard.h"

namespace {

using boardtest::Move;
using boardtest::Picture;
using boardtest::PlaceAll;
using boardtest::RecordingBoard;

constexpr int B = 2;
constexpr int W = 1;

// White stone at (3, 3) in atari at (3, 4), with White stones around (3, 4) so that Black's
// capture there leaves a single stone in atari: a ko.
const std::vector<Move> kKoShape = {{3, 3, W}, {2, 3, B}, {4, 3, B}, {3, 2, B},
                                    {2, 4, W}, {4, 4, W}, {3, 5, W}};

TEST(GamePositionTest, CornerCaptureMarksCellAndCounts) {
  RecordingBoard board;
  ASSERT_EQ(PlaceAll(board, {{1, 1, W}, {2, 1, B}}), -1);
  EXPECT_EQ(board.PlaceStone(1, 2, B, 0, TRUE), 0);
  const CStoneNode& captured = board.GetCell(1, 1);
  EXPECT_FALSE(captured.HasStone());
  EXPECT_EQ(captured.GetState(), CStoneNode::kWhite | CStoneNode::kPresent | CStoneNode::kCaptured);
  EXPECT_EQ(board.GetCaptures(W), 1);
  EXPECT_EQ(board.GetCaptures(B), 0);
  ASSERT_EQ(board.captures.size(), 1u);
  EXPECT_EQ(board.captures[0], std::make_pair(0, 1));
  const CNodeArray* list = board.GetPosition().GetCaptureHistory().GetList(3);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetSize(), 1);
  EXPECT_EQ(*list->GetNode(0), CStoneNode(1, 1, CStoneNode::kWhite | CStoneNode::kPresent, 1, 0));
  // A stone may be played again where one was captured.
  EXPECT_EQ(board.PlaceStone(1, 1, W, 0, TRUE), CBadukBoard::kSuicide);
  EXPECT_EQ(board.PlaceStone(1, 1, B, 0, TRUE), 0);
}

TEST(GamePositionTest, SuicideIsRefusedAndChangesNothing) {
  RecordingBoard board;
  ASSERT_EQ(PlaceAll(board, {{2, 1, B}, {1, 2, B}}), -1);
  const std::string before = Picture(board);
  EXPECT_EQ(board.PlaceStone(1, 1, W, 0, TRUE), CBadukBoard::kSuicide);
  EXPECT_EQ(board.GetCell(1, 1), CStoneNode());
  EXPECT_EQ(Picture(board), before);
  EXPECT_EQ(board.GetPosition().GetLastIndex(), 2);
  EXPECT_EQ(board.refused, std::vector<int>{CBadukBoard::kSuicide});
  // A chain filling its own last liberty is suicide too.
  ASSERT_EQ(PlaceAll(board, {{2, 2, W}, {3, 1, W}, {1, 3, W}}), -1);
  EXPECT_EQ(board.PlaceStone(1, 1, B, 0, TRUE), CBadukBoard::kSuicide);
}

TEST(GamePositionTest, KoIsRefusedUntilAnotherMoveIsPlayed) {
  RecordingBoard board;
  ASSERT_EQ(PlaceAll(board, kKoShape), -1);
  ASSERT_EQ(board.PlaceStone(3, 4, B, 0, TRUE), 0);
  int koX = 0, koY = 0;
  board.GetPosition().GetKoPoint(koX, koY);
  EXPECT_EQ(std::make_pair(koX, koY), std::make_pair(3, 3));
  const std::string before = Picture(board);
  EXPECT_EQ(board.PlaceStone(3, 3, W, 0, TRUE), CBadukBoard::kKo);
  EXPECT_EQ(Picture(board), before);
  EXPECT_EQ(board.GetPosition().GetLastIndex(), 8);
  EXPECT_EQ(board.refused, std::vector<int>{CBadukBoard::kKo});

  ASSERT_EQ(board.PlaceStone(10, 10, W, 0, TRUE), 0);
  board.GetPosition().GetKoPoint(koX, koY);
  EXPECT_EQ(std::make_pair(koX, koY), std::make_pair(0, 0));
  EXPECT_EQ(board.PlaceStone(3, 3, W, 0, TRUE), 0);
  EXPECT_FALSE(board.GetCell(3, 4).HasStone());
  EXPECT_EQ(board.GetCaptures(B), 1);
  EXPECT_EQ(board.GetCaptures(W), 1);
}

TEST(GamePositionTest, FillingTheKoPointWhileCapturingTwoIsLegal) {
  RecordingBoard board;
  // Black (3, 5) is cut off so that Black's capture at (3, 4) joins a two-stone chain whose
  // only liberty is the ko point.
  ASSERT_EQ(PlaceAll(board, {{3, 5, B}, {2, 5, W}, {4, 5, W}, {3, 6, W}, {2, 4, W}, {4, 4, W},
                             {3, 3, W}, {2, 3, B}, {4, 3, B}, {3, 2, B}}),
            -1);
  ASSERT_EQ(board.PlaceStone(3, 4, B, 0, TRUE), 0);
  EXPECT_EQ(board.PlaceStone(3, 3, W, 0, TRUE), 0);
  EXPECT_EQ(board.GetCaptures(B), 2);
  int koX = 0, koY = 0;
  board.GetPosition().GetKoPoint(koX, koY);
  EXPECT_EQ(std::make_pair(koX, koY), std::make_pair(0, 0));
}

TEST(GamePositionTest, ChainTouchedTwiceIsCapturedOnce) {
  RecordingBoard board;
  ASSERT_EQ(PlaceAll(board, {{1, 1, W}, {2, 1, W}, {2, 2, W}, {3, 1, B}, {3, 2, B}, {2, 3, B}}), -1);
  ASSERT_EQ(board.PlaceStone(1, 2, B, 0, TRUE), 0);
  EXPECT_EQ(board.GetCaptures(W), 3);
  EXPECT_EQ(board.GetPosition().GetCaptureHistory().GetList(7)->GetSize(), 3);
}

TEST(GamePositionTest, SteppingRestoresBoardsAndCaptureCounts) {
  RecordingBoard board;
  std::vector<Move> moves = kKoShape;
  moves.push_back({3, 4, B});   // captures (3, 3)
  moves.push_back({9, 9, W});
  moves.push_back({3, 3, W});   // retakes the ko: captures (3, 4)
  moves.push_back({1, 1, W});
  moves.push_back({2, 1, B});
  moves.push_back({1, 2, B});   // captures (1, 1)
  std::vector<std::string> pictures{Picture(board)};
  std::vector<std::pair<int, int>> counts{{0, 0}};
  for (const Move& move : moves) {
    ASSERT_EQ(board.PlaceStone(move.x, move.y, move.colour, 0, TRUE), 0);
    pictures.push_back(Picture(board));
    counts.emplace_back(board.GetCaptures(B), board.GetCaptures(W));
  }
  CGamePosition& position = board.GetPosition();
  const int last = position.GetLastIndex();
  for (int i = last; i > 0; --i) {
    ASSERT_EQ(position.GoPrevious(), 1);
    EXPECT_EQ(Picture(board), pictures[i - 1]) << "back to move " << i - 1;
    EXPECT_EQ(std::make_pair(board.GetCaptures(B), board.GetCaptures(W)), counts[i - 1]);
  }
  EXPECT_EQ(position.GoPrevious(), 0);
  for (int i = 1; i <= last; ++i) {
    ASSERT_EQ(position.GoNext(), 1);
    EXPECT_EQ(Picture(board), pictures[i]) << "forward to move " << i;
    EXPECT_EQ(std::make_pair(board.GetCaptures(B), board.GetCaptures(W)), counts[i]);
  }
  EXPECT_EQ(position.GoNext(), 0);
  EXPECT_EQ(position.GoTo(8), 8);
  EXPECT_EQ(Picture(board), pictures[8]);
  EXPECT_EQ(position.GoTo(last), last);
  EXPECT_EQ(Picture(board), pictures[last]);
}

TEST(GamePositionTest, GoToClampsAndNotifiesOnlyOnChange) {
  RecordingBoard board;
  ASSERT_EQ(PlaceAll(board, {{1, 1, B}, {2, 2, W}, {3, 3, B}, {4, 4, W}}), -1);
  CGamePosition& position = board.GetPosition();
  board.changes.clear();
  board.draws.clear();
  EXPECT_EQ(position.GoTo(-5), 0);
  ASSERT_EQ(board.changes.size(), 1u);
  EXPECT_EQ(board.changes[0], std::make_pair(WPARAM{0 | 4 << 16}, LPARAM{1}));
  // The last-move mark leaves move 4; no mark is drawn for the empty board.
  ASSERT_FALSE(board.draws.empty());
  EXPECT_EQ(board.draws.back().x, 4);
  EXPECT_FALSE(board.draws.back().mark);
  EXPECT_EQ(position.GoTo(0), 0);
  EXPECT_EQ(board.changes.size(), 1u);
  EXPECT_EQ(position.GoTo(14), 4);
  EXPECT_EQ(board.changes.back(), std::make_pair(WPARAM{4 | 0 << 16}, LPARAM{1}));
  EXPECT_TRUE(board.draws.back().mark);
  EXPECT_FALSE(position.IsBrowsing());
}

TEST(GamePositionTest, AddingWhileBrowsingBranchesTheGame) {
  RecordingBoard board;
  std::vector<Move> moves;
  for (int i = 0; i < 50; ++i) moves.push_back({i % 19 + 1, i / 19 * 2 + 1, i % 2 ? W : B});
  ASSERT_EQ(PlaceAll(board, moves), -1);
  CGamePosition& position = board.GetPosition();
  position.GoTo(10);
  EXPECT_TRUE(position.IsBrowsing());
  ASSERT_EQ(board.PlaceStone(10, 10, W, 0, TRUE), 0);
  EXPECT_EQ(position.GetLastIndex(), 11);
  EXPECT_EQ(position.GetCurrentIndex(), 11);
  EXPECT_EQ(position.GetSize(), 12);
  EXPECT_EQ(position.GetCaptureHistory().GetSize(), 12);
  EXPECT_EQ(position.GetLastNode()->GetSeq(), 11);
  // Moves after the branch point are gone from the board as well.
  EXPECT_FALSE(board.HasStoneAt(moves[20].x, moves[20].y));
}

TEST(GamePositionTest, KoWhileBrowsingIsJudgedAtTheShownMove) {
  RecordingBoard board;
  ASSERT_EQ(PlaceAll(board, kKoShape), -1);
  ASSERT_EQ(board.PlaceStone(3, 4, B, 0, TRUE), 0);  // move 8, ko at (3, 3)
  ASSERT_EQ(PlaceAll(board, {{15, 15, W}, {16, 16, B}}), -1);
  CGamePosition& position = board.GetPosition();
  position.GoTo(8);
  EXPECT_EQ(board.PlaceStone(3, 3, W, 0, TRUE), CBadukBoard::kKo);
  EXPECT_EQ(position.GetLastIndex(), 10);
  position.GoTo(10);
  // At the last move the ko has passed.
  EXPECT_EQ(board.PlaceStone(3, 3, W, 0, TRUE), 0);
  // The branch keeps the ko point of the move it was made on.
  position.GoTo(8);
  ASSERT_EQ(board.PlaceStone(15, 15, W, 0, TRUE), 0);
  EXPECT_EQ(position.GetLastIndex(), 9);
  int koX = 0, koY = 0;
  position.GetKoPoint(koX, koY);
  EXPECT_EQ(std::make_pair(koX, koY), std::make_pair(0, 0));
}

TEST(GamePositionTest, UndoLastWhileBrowsingLeavesTheBoard) {
  RecordingBoard board;
  ASSERT_EQ(PlaceAll(board, {{1, 1, W}, {2, 1, B}, {5, 5, W}, {1, 2, B}}), -1);  // move 4 captures
  CGamePosition& position = board.GetPosition();
  position.GoTo(2);
  const std::string shown = Picture(board);
  EXPECT_EQ(position.UndoLast(), 0);
  EXPECT_EQ(position.GetLastIndex(), 3);
  EXPECT_EQ(position.GetCurrentIndex(), 2);
  EXPECT_EQ(Picture(board), shown);
  EXPECT_EQ(position.GetCaptureHistory().GetSize(), 4);
}

TEST(GamePositionTest, UndoLastAtTheLastMoveRestoresCaptures) {
  RecordingBoard board;
  ASSERT_EQ(PlaceAll(board, {{1, 1, W}, {2, 1, B}, {5, 5, W}}), -1);
  const std::string before = Picture(board);
  ASSERT_EQ(board.PlaceStone(1, 2, B, 0, TRUE), 0);
  EXPECT_EQ(board.GetCaptures(W), 1);
  CGamePosition& position = board.GetPosition();
  EXPECT_EQ(position.UndoLast(), 0);
  EXPECT_EQ(Picture(board), before);
  EXPECT_EQ(board.GetCaptures(W), 0);
  EXPECT_EQ(position.GetLastIndex(), 3);
  EXPECT_FALSE(position.IsBrowsing());
  EXPECT_EQ(board.GetColourToPlay(), B);  // move 3 was white
  // The taken-back move can be played again, and replayed after stepping.
  ASSERT_EQ(board.PlaceStone(1, 2, B, 0, TRUE), 0);
  position.GoTo(0);
  position.GoTo(4);
  EXPECT_FALSE(board.HasStoneAt(1, 1));
  EXPECT_EQ(board.GetCaptures(W), 1);
  // Undoing everything leaves an empty game, and one more undo does nothing.
  for (int i = 0; i < 5; ++i) position.UndoLast();
  EXPECT_EQ(position.GetLastIndex(), 0);
  EXPECT_EQ(Picture(board), Picture(CBadukBoard()));
  EXPECT_EQ(board.GetColourToPlay(), B);
}

TEST(GamePositionTest, CopyMovesCopiesUpToTheShownMove) {
  RecordingBoard board;
  std::vector<Move> moves;
  for (int i = 0; i < 20; ++i) moves.push_back({i + 1 - (i >= 19 ? 19 : 0), i >= 19 ? 3 : 1, i % 2 ? W : B});
  ASSERT_EQ(PlaceAll(board, moves), -1);
  board.GetPosition().GoTo(7);
  CNodeArray out;
  out.Add(new CStoneNode);
  EXPECT_EQ(board.GetPosition().CopyMoves(&out), 1);
  ASSERT_EQ(out.GetSize(), 8);
  EXPECT_EQ(*out.GetNode(7), *board.GetPosition().GetNode(7));
  EXPECT_NE(out.GetNode(7), board.GetPosition().GetNode(7));
  out.DeleteAll();
}

TEST(GamePositionTest, NodeQueriesOutOfRangeGiveNull) {
  RecordingBoard board;
  ASSERT_EQ(board.PlaceStone(1, 1, B, 0, TRUE), 0);
  const CGamePosition& position = board.GetPosition();
  EXPECT_EQ(position.GetNode(0), nullptr);
  EXPECT_EQ(position.GetNode(2), nullptr);
  EXPECT_EQ(position.GetNode(-1), nullptr);
  int x = -1, y = -1;
  position.GetCaptureHistory().GetKo(99, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0));
  EXPECT_FALSE(position.GetCaptureHistory().IsKo(99, 0, 0));
}

// A real game with captures and ko fights, replayed through the rules and then shown at every
// move: each shown board must be the board obtained by playing that many moves afresh.
TEST(GamePositionTest, RealGameStepsMatchFreshReplays) {
  const std::vector<Move> moves = boardtest::LoadSgfMoves(std::string(TEST_DATA_DIR) + "/selfplay-5001.sgf");
  ASSERT_GE(moves.size(), 240u);
  RecordingBoard game;
  ASSERT_EQ(PlaceAll(game, moves), -1);
  EXPECT_EQ(game.GetCaptures(W), 3);   // white stones Black took, as the record says
  EXPECT_EQ(game.GetCaptures(B), 10);

  std::vector<std::string> fresh;
  std::vector<std::pair<int, int>> freshCounts;
  {
    CBadukBoard replay;
    fresh.push_back(Picture(replay));
    freshCounts.emplace_back(0, 0);
    for (const Move& move : moves) {
      replay.PlaceStone(move.x, move.y, move.colour, 0, FALSE);
      fresh.push_back(Picture(replay));
      freshCounts.emplace_back(replay.GetCaptures(B), replay.GetCaptures(W));
    }
  }
  CGamePosition& position = game.GetPosition();
  const int last = static_cast<int>(moves.size());
  for (int i = last; i >= 0; --i) {
    position.GoTo(i);
    ASSERT_EQ(Picture(game), fresh[i]) << "stepping back to move " << i;
    ASSERT_EQ(std::make_pair(game.GetCaptures(B), game.GetCaptures(W)), freshCounts[i]) << "counts at move " << i;
  }
  for (int i = 0; i <= last; ++i) {
    position.GoTo(i);
    ASSERT_EQ(Picture(game), fresh[i]) << "stepping forward to move " << i;
  }
  // Jumps in both directions.
  for (int i : {last / 2, 3, last - 1, 0, last}) {
    position.GoTo(i);
    ASSERT_EQ(Picture(game), fresh[i]) << "jump to move " << i;
  }
}

}  // namespace

#include "client/model/BadukCtrl.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "client/model/BoardTestSupport.h"
#include "client/model/BoardWindowSupport.h"
#include "client/model/NodeArray.h"
#include "platform/sound.h"
#include "platform/testinput.h"

namespace {

using boardtest::Message;
using boardtest::RecordingParent;

WPARAM Pair(int low, int high) { return static_cast<WPARAM>(low) | (static_cast<WPARAM>(high) << 16); }

class BadukCtrlTest : public ::testing::Test {
protected:
  // A 500 x 535 board filling its window at (10, 10) of the parent.
  void SetUp() override { ASSERT_TRUE(board.Create(CRect(10, 10, 510, 545), &parent)); }

  void ClickPoint(int x, int y) { platform::input::Click(board.GetSafeHwnd(), board.CellCentre(x, y)); }
  void Place(const std::vector<boardtest::Move>& moves) { ASSERT_EQ(boardtest::PlaceAll(board, moves), -1); }

  boardtest::ClientResources resources;
  RecordingParent parent;
  CBadukCtrl board;
};

TEST(BadukCtrlGeometryTest, BoardSizeFollowsTheWidthOrTheHeight) {
  struct Case {
    int width, height;
    int stone, cell, marginX, marginY;
    int boardWidth, boardHeight;
  };
  const Case cases[] = {
      {500, 0, 25, 26, 16, 17, 500, 535},
      {640, 0, 31, 32, 20, 21, 616, 659},   // cell 33 snaps down to stone 31
      {0, 536, 25, 26, 16, 17, 500, 535},   // by height: 536 * 42 / 45 gives width 500
      {100, 0, 9, 10, 3, 3, 186, 199},      // too narrow: still stones of 9, wider than the window
      {2000, 500, 71, 72, 63, 68, 1422, 1525},  // the largest stone; the height is not used
  };
  for (const Case& c : cases) {
    int stone = 0, cell = 0, marginX = 0, marginY = 0;
    const CSize size = CBadukCtrl::CalcBoardSize(c.width, c.height, &stone, &cell, &marginX, &marginY);
    EXPECT_EQ(stone, c.stone) << c.width << "x" << c.height;
    EXPECT_EQ(cell, c.cell) << c.width << "x" << c.height;
    EXPECT_EQ(marginX, c.marginX) << c.width << "x" << c.height;
    EXPECT_EQ(marginY, c.marginY) << c.width << "x" << c.height;
    EXPECT_EQ(size.cx, c.boardWidth) << c.width << "x" << c.height;
    EXPECT_EQ(size.cy, c.boardHeight) << c.width << "x" << c.height;
  }
  EXPECT_EQ(CBadukCtrl::CalcBoardSize(640, 0).cx, 616);  // the out-parameters may be absent
}

TEST(BadukCtrlGeometryTest, StoneSizesSnapDownToThePictureTable) {
  const std::map<int, int> snapped = {{-5, 9}, {0, 9}, {8, 9}, {9, 9}, {10, 9}, {11, 11}, {29, 29}, {30, 29},
                                      {32, 31}, {34, 31}, {35, 35}, {70, 67}, {71, 71}, {500, 71}};
  for (const auto& [size, expected] : snapped) EXPECT_EQ(CBadukCtrl::SnapStoneSize(size), expected) << size;
}

TEST_F(BadukCtrlTest, PointsAndHitAreasMeetAtCellEdges) {
  EXPECT_EQ(board.GetStoneSize(), 25);
  int left = 0, top = 0, right = 0, bottom = 0;
  board.GetBoardRect(left, top, right, bottom);
  EXPECT_EQ(CRect(left, top, right, bottom), CRect(0, 0, 500, 534));  // integer halves of 535
  EXPECT_EQ(board.CellCentre(1, 1), CPoint(16, 17));
  EXPECT_EQ(board.CellCentre(19, 19), CPoint(16 + 18 * 26, 518));  // rows are 26 * 45 / 42 apart
  // A point's area starts at the rectangle's edge: the line lies about 60% into it.
  const std::vector<std::pair<CPoint, CPoint>> hits = {
      {{0, 0}, {1, 1}},      {{25, 27}, {1, 1}},   {{26, 27}, {2, 1}},   {{25, 28}, {1, 2}},
      {{467, 501}, {18, 18}}, {{468, 502}, {19, 19}}, {{493, 529}, {19, 19}}, {{494, 10}, {20, 1}},
      {{10, 533}, {1, 20}},  {{-1, 10}, {0, 0}},   {{500, 10}, {0, 0}},  {{10, 534}, {0, 0}},
  };
  for (const auto& [pixel, point] : hits) EXPECT_EQ(board.HitTest(pixel), point) << pixel.x << "," << pixel.y;
  for (int n = 1; n <= 19; ++n) EXPECT_EQ(board.HitTest(board.CellCentre(n, n)), CPoint(n, n));
}

TEST_F(BadukCtrlTest, ClicksOutsideTheGridAreDropped) {
  platform::input::Click(board.GetSafeHwnd(), CPoint(10, 533));  // the strip below row 19
  platform::input::Click(board.GetSafeHwnd(), CPoint(497, 40));  // the strip right of column 19
  EXPECT_TRUE(parent.messages.empty());
  EXPECT_EQ(board.GetLastMove(), 0);
}

TEST_F(BadukCtrlTest, ClicksPlaceAlternatingStonesAndTellTheParentInOrder) {
  ClickPoint(4, 4);
  ClickPoint(16, 4);
  ClickPoint(16, 4);  // occupied: nothing happens, nothing is sent
  ASSERT_EQ(parent.Kinds(), (std::vector<UINT>{WM_BADUK_STONEPLACED, WM_BADUK_CHANGED, WM_BADUK_STONEPLACED,
                                               WM_BADUK_CHANGED}));
  EXPECT_EQ(parent.messages[0].node, CStoneNode(4, 4, 0x102, 1, 0));
  EXPECT_EQ(parent.messages[1], (Message{WM_BADUK_CHANGED, Pair(0, 1), 0, {}}));
  EXPECT_EQ(parent.messages[2].node, CStoneNode(16, 4, 0x101, 2, 0));
  EXPECT_EQ(parent.messages[3], (Message{WM_BADUK_CHANGED, Pair(1, 2), 0, {}}));
  EXPECT_EQ(board.GetColourToPlay(), 2);

  // White at 1-1 is captured by black's second stone next to it: the count comes first.
  parent.messages.clear();
  Place({{1, 1, 1}, {2, 1, 2}, {10, 10, 1}});
  parent.messages.clear();
  ClickPoint(1, 2);
  ASSERT_EQ(parent.Kinds(), (std::vector<UINT>{WM_BADUK_CAPTURES, WM_BADUK_STONEPLACED, WM_BADUK_CHANGED}));
  EXPECT_EQ(parent.messages[0], (Message{WM_BADUK_CAPTURES, 0, 1, {}}));
  EXPECT_EQ(parent.messages[2], (Message{WM_BADUK_CHANGED, Pair(5, 6), 0, {}}));

  // White may not play back into the corner: it would capture nothing and have no liberty.
  parent.messages.clear();
  ClickPoint(1, 1);
  EXPECT_EQ(parent.messages, (std::vector<Message>{{WM_BADUK_ERROR, 1103, 0, {}}}));
  EXPECT_FALSE(board.HasStoneAt(1, 1));

  // Going back puts the captured stone back before the position change is announced.
  parent.messages.clear();
  EXPECT_EQ(board.GoToPrevious(), 1);
  EXPECT_EQ(parent.messages, (std::vector<Message>{{WM_BADUK_CAPTURES, 0, 0, {}}, {WM_BADUK_CHANGED, Pair(5, 6), 1, {}}}));
  EXPECT_TRUE(board.HasStoneAt(1, 1));
  EXPECT_EQ(board.GetColourToPlay(), 2);  // move 5 was white
}

TEST_F(BadukCtrlTest, EditModesDecideWhatAClickDoes) {
  board.SetEditMode(CBadukCtrl::kModeBlack);
  ClickPoint(3, 3);
  ClickPoint(5, 5);
  EXPECT_EQ(board.GetCell(5, 5).GetColor(), 2);
  EXPECT_EQ(board.GetColourToPlay(), 2);
  board.SetEditMode(3);
  EXPECT_EQ(board.GetColourToPlay(), 1);  // the alternating colour still follows the last stone
  board.SetEditMode(CBadukCtrl::kModeWhite);
  ClickPoint(7, 7);
  EXPECT_EQ(board.GetCell(7, 7).GetColor(), 1);

  parent.messages.clear();
  board.SetEditMode(CBadukCtrl::kModeClick);
  ClickPoint(3, 17);
  EXPECT_EQ(parent.messages, (std::vector<Message>{{WM_BADUK_CLICK, 3, 17, {}}}));
  EXPECT_FALSE(board.HasStoneAt(3, 17));

  parent.messages.clear();
  board.SetEditMode(20);
  const CPoint at = board.CellCentre(6, 2);
  platform::input::Click(board.GetSafeHwnd(), at);
  ASSERT_EQ(parent.messages.size(), 1u);
  EXPECT_EQ(parent.messages[0].message, WM_BADUK_POINTCLICK);
  EXPECT_TRUE(parent.messages[0].wParam & MK_LBUTTON);
  EXPECT_EQ(parent.messages[0].lParam, static_cast<LPARAM>(at.x | (at.y << 16)));

  parent.messages.clear();
  board.SetEditMode(0);
  ClickPoint(8, 8);
  EXPECT_TRUE(parent.messages.empty());
  EXPECT_EQ(board.GetLastMove(), 3);
}

TEST_F(BadukCtrlTest, RightButtonAndContextMenuGoToTheParent) {
  platform::input::Click(board.GetSafeHwnd(), CPoint(30, 40), platform::input::Button::Right);
  ASSERT_EQ(parent.Kinds(), (std::vector<UINT>{WM_BADUK_RBUTTON, WM_BADUK_CONTEXTMENU}));
  EXPECT_EQ(parent.messages[0].lParam, 30 | (40 << 16));
  EXPECT_EQ(parent.messages[1].wParam, reinterpret_cast<WPARAM>(CWnd::FromHandle(board.GetSafeHwnd())));
  POINT screen{30, 40};
  ::ClientToScreen(board.GetSafeHwnd(), &screen);
  EXPECT_EQ(parent.messages[1].lParam, static_cast<LPARAM>(screen.x | (screen.y << 16)));
}

TEST_F(BadukCtrlTest, TheFirstChangeOfTheRunIsHeldBack) {
  CBadukCtrl::HoldFirstChange(TRUE);
  Place({{4, 4, 2}, {16, 16, 1}});
  ASSERT_EQ(parent.Of(WM_BADUK_CHANGED).size(), 1u);
  EXPECT_EQ(parent.Of(WM_BADUK_CHANGED)[0].wParam, Pair(1, 2));
  EXPECT_FALSE(CBadukCtrl::IsFirstChangeHeld());

  // A board without a parent clears the flag too.
  CBadukCtrl::HoldFirstChange(TRUE);
  CBadukCtrl loose;
  EXPECT_EQ(loose.PlaceStone(3, 3, 2, 0, TRUE), 0);
  EXPECT_FALSE(CBadukCtrl::IsFirstChangeHeld());
}

TEST_F(BadukCtrlTest, PlacedStonesSoundOnlyWhenAskedTo) {
  platform::ClearSoundCalls();
  ClickPoint(4, 4);
  EXPECT_TRUE(platform::SoundCalls().empty());
  board.SetSound(TRUE);
  ClickPoint(16, 4);
  ClickPoint(16, 4);  // occupied: no stone, no sound
  const std::vector<platform::SoundCall> calls = platform::SoundCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].sound, "#315");
  EXPECT_EQ(calls[0].flags & (SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT),
            SND_RESOURCE | SND_ASYNC | SND_NODEFAULT | SND_NOWAIT);
  EXPECT_TRUE(calls[0].played);
}

TEST_F(BadukCtrlTest, NavigationStopsAtTheNumberingBase) {
  Place({{4, 4, 2}, {16, 4, 1}, {4, 16, 2}, {16, 16, 1}, {10, 10, 2}, {3, 3, 1}});
  board.SetBaseMove(5);
  board.GoToMove(4);
  parent.messages.clear();
  EXPECT_EQ(board.GoToPrevious(), 0);  // move 4 is before the base
  EXPECT_EQ(board.GetCurrentMove(), 4);
  EXPECT_TRUE(parent.messages.empty());
  EXPECT_EQ(board.GoToNext(), 1);
  EXPECT_EQ(board.GoToPrevious(), 1);
  EXPECT_EQ(board.GoToLast(), 6);
  EXPECT_EQ(board.GoToFirst(), 4);
  EXPECT_EQ(board.GetColourToPlay(), 2);  // move 4 was white
  EXPECT_EQ(board.GoToMove(-5), 0);
  EXPECT_EQ(board.GoToMove(60), 6);
  EXPECT_FALSE(board.IsBrowsing());
  EXPECT_EQ(board.GoToNext(), 0);

  board.SetBaseMove(1);
  EXPECT_EQ(board.GoToFirst(), 0);
  EXPECT_EQ(board.GoToPrevious(), 0);
  // With base 0 move 0 is not below the base: the board stays at 0 and says it got there.
  board.SetBaseMove(0);
  EXPECT_EQ(board.GoToPrevious(), 1);
  EXPECT_EQ(board.GetCurrentMove(), 0);
}

TEST_F(BadukCtrlTest, ResetBoardEmptiesAGameWithCaptures) {
  std::vector<boardtest::Move> moves = boardtest::LoadSgfMoves(std::string(TEST_DATA_DIR) + "/selfplay-5001.sgf");
  Place(moves);
  board.SetBaseMove(7);
  ASSERT_GT(board.GetCaptures(1) + board.GetCaptures(2), 0);
  EXPECT_EQ(board.ResetBoard(), 0);
  EXPECT_EQ(board.GetLastMove(), 0);
  EXPECT_EQ(board.GetCurrentMove(), 0);
  EXPECT_EQ(board.GetBaseMove(), 1);
  EXPECT_EQ(board.GetCaptures(1), 0);
  EXPECT_EQ(board.GetCaptures(2), 0);
  EXPECT_EQ(board.GetColourToPlay(), 2);
  std::string empty;
  for (int row = 0; row < 19; ++row) empty += std::string(19, '.') + "\n";
  EXPECT_EQ(boardtest::Picture(board), empty);
}

TEST_F(BadukCtrlTest, QueriesCheckTheirRanges) {
  Place({{4, 4, 2}, {16, 4, 1}});
  CStoneNode node;
  EXPECT_EQ(board.GetNode(node, 16, 4), 0);
  EXPECT_EQ(node, CStoneNode(16, 4, 0x101, 2, 0));
  EXPECT_EQ(board.GetNode(node, 1, 0), 0);
  EXPECT_EQ(node, CStoneNode(4, 4, 0x102, 1, 0));
  EXPECT_EQ(board.GetNode(node, 3, 0), 1105);
  EXPECT_EQ(board.GetNode(node, 0, 0), 1105);
  EXPECT_EQ(board.GetNode(node, 20, 1), 1105);
  EXPECT_EQ(board.GetNode(node, -1, 5), 1105);
  int x = 0, y = 0;
  DWORD state = 0;
  EXPECT_EQ(board.GetMoveAt(2, x, y, state), 0);
  EXPECT_EQ(CPoint(x, y), CPoint(16, 4));
  EXPECT_EQ(state, 0x101u);
  EXPECT_EQ(board.GetMoveAt(3, x, y, state), 1105);
  EXPECT_EQ(board.GetMoveAt(0, x, y, state), 1105);
  // Off the board, with a bad colour, or on a stone: refused before the rules see it.
  EXPECT_EQ(board.PlaceStone(0, 5, 2, 0, TRUE), 1105);
  EXPECT_EQ(board.PlaceStone(20, 5, 2, 0, TRUE), 1105);
  EXPECT_EQ(board.PlaceStone(5, 5, 3, 0, TRUE), 1106);
  EXPECT_EQ(board.PlaceStone(4, 4, 1, 0, TRUE), 1102);
  EXPECT_EQ(board.GetLastMove(), 2);
  EXPECT_TRUE(parent.Of(WM_BADUK_ERROR).empty());

  CNodeArray copies;
  board.GoToMove(1);
  EXPECT_EQ(board.CopyMoves(&copies), 1);
  EXPECT_EQ(copies.GetSize(), 1);
  copies.DeleteAll();
  EXPECT_EQ(board.UndoMove(), 0);  // while browsing: the last move goes, the board stays
  EXPECT_EQ(board.GetLastMove(), 1);
  EXPECT_TRUE(board.HasStoneAt(4, 4));
}

// The engine's final stones and prisoner counts from the record's root comment.
struct FinalPosition {
  std::string picture;
  int capturesByBlack = 0;
  int capturesByWhite = 0;
};

FinalPosition ReadFinalPosition(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  const std::string comment = text.substr(text.find("GC[FINAL"));
  std::string picture(19 * 20, '.');
  for (int row = 0; row < 19; ++row) picture[row * 20 + 19] = '\n';
  auto mark = [&](const std::string& key, char stone) {
    std::size_t at = comment.find(key) + key.size();
    while (at + 1 < comment.size() && comment[at] >= 'a' && comment[at] <= 's') {
      const int x = comment[at] - 'a';
      const int y = comment[at + 1] - 'a';
      picture[y * 20 + x] = stone;
      at += 2;
      if (comment[at] != ',') break;
      ++at;
    }
  };
  mark("black=", 'X');
  mark("white=", 'O');
  FinalPosition final;
  final.picture = picture;
  final.capturesByBlack = std::stoi(comment.substr(comment.find("captures_black=") + 15));
  final.capturesByWhite = std::stoi(comment.substr(comment.find("captures_white=") + 15));
  return final;
}

TEST_F(BadukCtrlTest, EngineGamesSteppedToTheEndGiveTheRecordsFinalPositions) {
  for (int game = 5000; game <= 5005; ++game) {
    const std::string path = std::string(TEST_DATA_DIR) + "/selfplay-" + std::to_string(game) + ".sgf";
    const std::vector<boardtest::Move> moves = boardtest::LoadSgfMoves(path);
    ASSERT_GT(moves.size(), 100u) << path;
    board.ResetBoard();
    for (const boardtest::Move& move : moves)
      ASSERT_EQ(board.PlaceStone(move.x, move.y, move.colour, 0, TRUE), 0) << path;
    const int last = board.GetLastMove();
    EXPECT_EQ(board.GoToFirst(), 0);
    int steps = 0;
    while (board.GoToNext()) ++steps;
    EXPECT_EQ(steps, last) << path;

    const FinalPosition final = ReadFinalPosition(path);
    EXPECT_EQ(boardtest::Picture(board), final.picture) << path;
    EXPECT_EQ(board.GetCaptures(1), final.capturesByBlack) << path;  // white stones taken by Black
    EXPECT_EQ(board.GetCaptures(2), final.capturesByWhite) << path;
    const std::vector<Message> counts = parent.Of(WM_BADUK_CAPTURES);
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(counts.back(), (Message{WM_BADUK_CAPTURES, static_cast<WPARAM>(final.capturesByWhite),
                                      final.capturesByBlack, {}}));
    parent.messages.clear();
  }
}

}  // namespace

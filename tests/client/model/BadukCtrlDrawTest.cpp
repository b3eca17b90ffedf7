#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "client/model/BadukCtrl.h"
#include "client/model/BoardCoordinates.h"
#include "client/model/BoardTestSupport.h"
#include "client/model/BoardWindowSupport.h"
#include "platform/gdi.h"
#include "platform/testinput.h"
#include "support/SnapshotPath.h"

namespace {

// A grey window that holds a board with room for its coordinates, as the board dialogs do.
class CoordinateParent : public boardtest::RecordingParent {
public:
  CoordinateParent(int width, int height) : RecordingParent(width, height) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_PAINT) {
      CPaintDC dc(this);
      CRect client;
      GetClientRect(&client);
      dc.FillSolidRect(&client, RGB(132, 132, 132));
      if (board) DrawBoardCoordinates(&dc, this, board, RGB(255, 255, 255));
      return 0;
    }
    return RecordingParent::WindowProc(message, wParam, lParam);
  }
  CBadukCtrl* board{nullptr};
};

// The pixels of a bitmap.
platform::Surface Pixels(CBitmap* bitmap) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(bitmap);
  platform::Surface surface;
  platform::CopyDCPixels(&dc, surface);
  dc.SelectObject(old);
  return surface;
}

// The square of side around a point of the board picture.
std::vector<std::uint32_t> Square(const platform::Surface& picture, CPoint centre, int side) {
  std::vector<std::uint32_t> square;
  for (int y = centre.y - side / 2; y < centre.y - side / 2 + side; ++y)
    for (int x = centre.x - side / 2; x < centre.x - side / 2 + side; ++x) square.push_back(picture.Row(y)[x]);
  return square;
}

int Brightness(std::uint32_t pixel) { return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF); }

class BadukCtrlDrawTest : public ::testing::Test {
protected:
  std::vector<boardtest::Move> GameStart(std::size_t count) {
    std::vector<boardtest::Move> moves = boardtest::LoadSgfMoves(std::string(TEST_DATA_DIR) + "/selfplay-5000.sgf");
    moves.resize(count);
    return moves;
  }

  boardtest::ClientResources resources;
};

TEST_F(BadukCtrlDrawTest, BoardsWithStonesNumbersMarksAndCoordinatesAtTwoSizes) {
  struct Size {
    int width;
    const char* file;
  };
  for (const Size& size : {Size{420, "board-420.png"}, Size{640, "board-640.png"}}) {
    const CSize board = CBadukCtrl::CalcBoardSize(size.width, 0);
    CoordinateParent parent(board.cx + 30, board.cy + 30);
    CBadukCtrl ctrl;
    ASSERT_TRUE(ctrl.Create(CRect(5, 5, 5 + board.cx, 5 + board.cy), &parent));
    parent.board = &ctrl;
    ASSERT_EQ(boardtest::PlaceAll(ctrl, GameStart(150)), -1);
    ctrl.SetSequenceMode(TRUE);
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    ASSERT_TRUE(platform::SaveSurfacePng(parent.GetSafeHwnd(), testsupport::SnapshotPath(size.file).c_str()));

    // Stones show their colour and their number in the other colour.
    const platform::Surface picture = Pixels(ctrl.GetBoardPicture());
    const CStoneNode& first = ctrl.GetCell(8, 8);  // B[hh], move 1
    ASSERT_TRUE(first.HasStone() && first.IsBlack());
    const std::vector<std::uint32_t> square = Square(picture, ctrl.CellCentre(8, 8), ctrl.GetStoneSize() - 6);
    int dark = 0, light = 0;
    for (std::uint32_t pixel : square) (Brightness(pixel) < 200 ? dark : light)++;
    EXPECT_GT(dark, light) << size.width;
    EXPECT_GT(light, 0) << size.width;  // the number
    parent.board = nullptr;
  }
}

TEST_F(BadukCtrlDrawTest, TakingBackAMoveErasesItsSquareToTheCleanBoard) {
  boardtest::RecordingParent parent;
  CBadukCtrl ctrl;
  ASSERT_TRUE(ctrl.Create(CRect(0, 0, 500, 535), &parent));
  ASSERT_EQ(boardtest::PlaceAll(ctrl, GameStart(40)), -1);
  const platform::Surface before = Pixels(ctrl.GetBoardPicture());
  ASSERT_EQ(ctrl.PlaceStone(10, 1, ctrl.CBadukBoard::GetColourToPlay(), 0, TRUE), 0);
  EXPECT_NE(Pixels(ctrl.GetBoardPicture()).pixels, before.pixels);
  ctrl.UndoMove();
  EXPECT_EQ(Pixels(ctrl.GetBoardPicture()).pixels, before.pixels);  // grid lines under the stone included

  // A full rendering of the same position gives the same picture as the step-by-step one.
  ctrl.Redraw();
  EXPECT_EQ(Pixels(ctrl.GetBoardPicture()).pixels, before.pixels);
}

TEST_F(BadukCtrlDrawTest, NumbersCountFromTheNumberingBase) {
  boardtest::RecordingParent parent;
  CBadukCtrl ctrl;
  ASSERT_TRUE(ctrl.Create(CRect(0, 0, 640, 700), &parent));
  const std::vector<boardtest::Move> moves = GameStart(8);
  ASSERT_EQ(boardtest::PlaceAll(ctrl, moves), -1);
  const int side = ctrl.GetStoneSize();
  auto squareOf = [&](int move) {
    return Square(Pixels(ctrl.GetBoardPicture()), ctrl.CellCentre(moves[move - 1].x, moves[move - 1].y), side);
  };
  const auto plain3 = squareOf(3);
  const auto plain5 = squareOf(5);
  ctrl.SetBaseMove(5);
  ctrl.SetSequenceMode(TRUE);
  EXPECT_EQ(squareOf(3), plain3);  // before the base: no number
  EXPECT_NE(squareOf(5), plain5);  // the base move shows "1"
  ctrl.SetSequenceMode(FALSE);
  EXPECT_EQ(squareOf(5), plain5);
}


// A game with captures, then take-backs, navigation and more moves, on one board.
void PlayScenario(CBadukCtrl& ctrl, const std::vector<boardtest::Move>& moves, const std::function<void()>& afterEach) {
  for (std::size_t i = 0; i < 90; ++i) {
    ASSERT_EQ(ctrl.PlaceStone(moves[i].x, moves[i].y, moves[i].colour, 0, TRUE), 0) << i;
    afterEach();
  }
  const std::function<void()> steps[] = {
      [&] { ctrl.UndoMove(); },       [&] { ctrl.GoToMove(40); }, [&] { ctrl.GoToNext(); },
      [&] { ctrl.GoToPrevious(); },   [&] { ctrl.GoToMove(85); }, [&] { ctrl.GoToLast(); },
      [&] { ctrl.UndoMove(); },       [&] { ctrl.GoToFirst(); },  [&] { ctrl.GoToMove(60); },
      [&] { ctrl.Truncate(); },
  };
  for (const auto& step : steps) {
    step();
    afterEach();
  }
  for (std::size_t i = 60; i < 75; ++i) {
    ctrl.PlaceStone(moves[i].x, moves[i].y, moves[i].colour, 0, TRUE);
    afterEach();
  }
}

TEST_F(BadukCtrlDrawTest, PointsAreDrawnWhenPaintedAndTheResultDoesNotDependOnWhen) {
  // Numbers stay inside their stones from 420 up (below, a number wider than its stone leaves what
  // the square beside it last showed, which depends on the order of drawing).
  struct Row {
    int width;
    BOOL numbers;
  };
  const std::vector<boardtest::Move> moves = GameStart(90);
  for (const Row& row : {Row{420, TRUE}, Row{500, FALSE}, Row{500, TRUE}, Row{640, TRUE}}) {
    const CSize size = CBadukCtrl::CalcBoardSize(row.width, 0);
    boardtest::RecordingParent parent(2 * size.cx + 20, size.cy + 10);
    CBadukCtrl eager, late;
    ASSERT_TRUE(eager.Create(CRect(0, 0, size.cx, size.cy), &parent));
    ASSERT_TRUE(late.Create(CRect(size.cx + 10, 0, 2 * size.cx + 10, size.cy), &parent));
    eager.SetSequenceMode(row.numbers);
    late.SetSequenceMode(row.numbers);
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    // One board is drawn after every step, the other only once at the end, by its paint.
    PlayScenario(eager, moves, [&] { eager.GetBoardPicture(); });
    PlayScenario(late, moves, [] {});
    EXPECT_EQ(boardtest::Picture(late), boardtest::Picture(eager));
    CRect pending;
    EXPECT_TRUE(late.GetUpdateRect(&pending)) << row.width;  // the moves asked for a paint
    late.UpdateWindow();
    EXPECT_FALSE(late.GetUpdateRect(&pending)) << row.width;
    EXPECT_EQ(Pixels(late.GetBoardPicture()).pixels, Pixels(eager.GetBoardPicture()).pixels)
        << row.width << " numbers " << row.numbers;
    if (!row.numbers) {
      // Without numbers nothing reaches outside its square: the steps add up to a full rendering.
      const platform::Surface stepped = Pixels(late.GetBoardPicture());
      late.Redraw();
      EXPECT_EQ(Pixels(late.GetBoardPicture()).pixels, stepped.pixels) << row.width;
    }

    // Made smaller and larger again, with stones of sizes drawn before: what shows is what a board
    // drawn at that size at once shows.
    const CSize smaller = CBadukCtrl::CalcBoardSize(row.width - 80, 0);
    const CSize larger = CBadukCtrl::CalcBoardSize(row.width + 60, 0);
    CBadukCtrl fresh;
    ASSERT_TRUE(fresh.Create(CRect(0, 0, larger.cx, larger.cy), &parent));
    fresh.SetSequenceMode(row.numbers);
    ASSERT_EQ(boardtest::PlaceAll(fresh, std::vector<boardtest::Move>(moves.begin(), moves.begin() + 75)), -1);
    late.SetWindowPos(nullptr, 0, 0, smaller.cx, smaller.cy, SWP_NOMOVE | SWP_NOZORDER);
    late.GetBoardPicture();
    late.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Pixels(late.GetBoardPicture()).pixels, Pixels(eager.GetBoardPicture()).pixels) << row.width << " back at its size";
    late.SetWindowPos(nullptr, 0, 0, larger.cx, larger.cy, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Pixels(late.GetBoardPicture()).pixels, Pixels(fresh.GetBoardPicture()).pixels) << row.width << " larger";
    // A move on the board of the new size reaches its square.
    ASSERT_EQ(late.PlaceStone(moves[75].x, moves[75].y, moves[75].colour, 0, TRUE), 0);
    ASSERT_EQ(fresh.PlaceStone(moves[75].x, moves[75].y, moves[75].colour, 0, TRUE), 0);
    EXPECT_EQ(Pixels(late.GetBoardPicture()).pixels, Pixels(fresh.GetBoardPicture()).pixels) << row.width << " after a move";
  }
}

TEST_F(BadukCtrlDrawTest, HalfTurnedBoardShowsEachPointWhereItsOppositeWouldBe) {
  struct Row {
    int width;
    BOOL numbers;
  };
  std::vector<boardtest::Move> moves = GameStart(120);
  std::vector<boardtest::Move> opposite = moves;
  for (boardtest::Move& m : opposite) m = {20 - m.x, 20 - m.y, m.colour};
  for (const Row& row : {Row{420, TRUE}, Row{640, FALSE}}) {
    const CSize size = CBadukCtrl::CalcBoardSize(row.width, 0);
    CoordinateParent parent(size.cx + 30, size.cy + 30);
    CBadukCtrl turned, plain;
    ASSERT_TRUE(turned.Create(CRect(5, 5, 5 + size.cx, 5 + size.cy), &parent));
    ASSERT_TRUE(plain.Create(CRect(5, 5, 5 + size.cx, 5 + size.cy), &parent));
    plain.ShowWindow(SW_HIDE);
    parent.board = &turned;
    for (CBadukCtrl* ctrl : {&turned, &plain}) ctrl->SetSequenceMode(row.numbers);
    // Turned before some moves and after the others: the picture is the same either way.
    ASSERT_EQ(boardtest::PlaceAll(turned, std::vector<boardtest::Move>(moves.begin(), moves.begin() + 60)), -1);
    turned.SetHalfTurn(TRUE);
    EXPECT_TRUE(turned.GetHalfTurn());
    ASSERT_EQ(boardtest::PlaceAll(turned, std::vector<boardtest::Move>(moves.begin() + 60, moves.end())), -1);
    ASSERT_EQ(boardtest::PlaceAll(plain, opposite), -1);
    EXPECT_EQ(Pixels(turned.GetBoardPicture()).pixels, Pixels(plain.GetBoardPicture()).pixels) << row.width;
    parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    const std::string file = "board-turned-" + std::to_string(row.width) + ".png";
    ASSERT_TRUE(platform::SaveSurfacePng(parent.GetSafeHwnd(), testsupport::SnapshotPath(file.c_str()).c_str()));

    // Turning back gives the unturned picture of the same game.
    turned.SetHalfTurn(FALSE);
    plain.ResetBoard();
    ASSERT_EQ(boardtest::PlaceAll(plain, moves), -1);
    EXPECT_EQ(Pixels(turned.GetBoardPicture()).pixels, Pixels(plain.GetBoardPicture()).pixels) << row.width;
    parent.board = nullptr;
  }
}

TEST_F(BadukCtrlDrawTest, ClicksOnTheHalfTurnedBoardNameTheOppositePoint) {
  boardtest::RecordingParent parent;
  CBadukCtrl ctrl;
  ASSERT_TRUE(ctrl.Create(CRect(0, 0, 500, 535), &parent));  // cells 26 x 27.86, margins 16 and 17
  ctrl.SetEditMode(CBadukCtrl::kModeClick);
  struct Click {
    CPoint pixel;
    BOOL turned;
    CPoint sent;  // (0, 0): dropped
  };
  const Click clicks[] = {
      {{16, 17}, FALSE, {1, 1}},    {{16, 17}, TRUE, {19, 19}},   {{0, 0}, TRUE, {19, 19}},
      {{484, 518}, FALSE, {19, 19}}, {{484, 518}, TRUE, {1, 1}},   {{120, 17}, TRUE, {15, 19}},
      {{26, 28}, TRUE, {18, 18}},    {{25, 27}, TRUE, {19, 19}},  {{497, 40}, TRUE, {0, 0}},
      {{10, 533}, TRUE, {0, 0}},     {{497, 40}, FALSE, {0, 0}},  {{16, 17}, FALSE, {1, 1}},
  };
  for (const Click& click : clicks) {
    ctrl.SetHalfTurn(click.turned);
    parent.messages.clear();
    platform::input::Click(ctrl.GetSafeHwnd(), click.pixel);
    const std::vector<boardtest::Message> sent = parent.Of(WM_BADUK_CLICK);
    if (click.sent == CPoint(0, 0)) {
      EXPECT_TRUE(sent.empty()) << click.pixel.x << "," << click.pixel.y << " turned " << click.turned;
      continue;
    }
    ASSERT_EQ(sent.size(), 1u) << click.pixel.x << "," << click.pixel.y << " turned " << click.turned;
    EXPECT_EQ(CPoint(static_cast<int>(sent[0].wParam), static_cast<int>(sent[0].lParam)), click.sent)
        << click.pixel.x << "," << click.pixel.y << " turned " << click.turned;
    // The point clicked is the one drawn there.
    const CPoint centre = ctrl.CellCentre(click.sent.x, click.sent.y);
    EXPECT_EQ(ctrl.HitTest(centre), click.sent);
  }
}

}  // namespace

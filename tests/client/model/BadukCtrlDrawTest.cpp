#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/model/BadukCtrl.h"
#include "client/model/BoardCoordinates.h"
#include "client/model/BoardTestSupport.h"
#include "client/model/BoardWindowSupport.h"
#include "platform/gdi.h"
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

}  // namespace

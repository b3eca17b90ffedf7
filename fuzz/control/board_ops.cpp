// Drives the board model with arbitrary sequences of moves, clicks, history walks and marking
// calls, and checks that the board stays within its allowed values and that prisoners equal the
// stones reported captured.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "control/StolvexBoard.h"

namespace {

class CountingSink : public CBoardEventSink {
public:
  void FirePosition(short, short, short) override {}
  void FireErrorEvent(short) override {}
  void FireNumOfEat(short colour, short count) override { (colour == BLACK ? black : white) += count; }
  void InvalidateControl() override {}
  long black = 0;
  long white = 0;
};

// Reads the input one byte at a time; zero once it is used up.
class ByteReader {
public:
  ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool More() const { return m_at < m_size; }
  int Next() { return m_at < m_size ? m_data[m_at++] : 0; }

private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_at{0};
};

constexpr long kModes[] = {RANDOM, PLAY, RANDOM | REPLAY, PLAY | REPLAY, CHECK_STONE, MODE_TERRITORY,
                           MODE_SELF_PLAY, RESULT, NONE, RANDOM | SEQ};

void Check(bool ok) {
  if (!ok)
    std::abort();
}

// Between operations of plain play a cell is empty, a stone, a ko mark, or a point a redo emptied.
void CheckPlainCells(const CStolvexBoard& board) {
  for (int i = 0; i < POINT_COUNT; ++i) {
    const int cell = board.GetCell(i);
    Check(cell == NONE || cell == BLACK || cell == WHITE || cell == INVALID || cell == REDRAW);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CountingSink sink;
  CStolvexBoard board{sink};
  board.SetGameMode(RANDOM);
  ByteReader in(data, size);
  bool marked = false;  // marking calls may leave other cell values
  while (in.More()) {
    const int op = in.Next() % 20;
    switch (op) {
      case 0:
      case 1:
      case 2: {
        const int row = in.Next() % 24 - 2, col = in.Next() % 24 - 2;
        board.SetDrawStone(static_cast<short>(row), static_cast<short>(col), (in.Next() & 1) ? BLACK : WHITE,
                           static_cast<short>(in.Next() - 8));
        break;
      }
      case 3: board.OnClick(in.Next() * 2 % 363 - 1); break;
      case 4: board.GoPrev(static_cast<short>(in.Next() & 1)); break;
      case 5: board.GoNext(static_cast<short>(in.Next() & 1)); break;
      case 6: board.Again(); break;
      case 7: board.SetDrawStone(20, 20, (in.Next() & 1) ? BLACK : WHITE, 0); break;
      case 8: board.SetGameMode(kModes[in.Next() % std::size(kModes)]); break;
      case 9: board.RemoveStone(-1); break;
      case 10: board.SetBreakPoint(static_cast<short>(in.Next() - 16)); break;
      case 11: board.SetUserColor(static_cast<short>(in.Next() % 5)); break;
      case 12: board.SetNumOfAdvatage(static_cast<short>(in.Next() % 7 - 3)); break;
      case 13: board.OnBoardPainted(); break;
      case 14: board.SetLogicalPos(static_cast<short>(in.Next() * 5 - 16)); break;
      case 15: board.SetRotate(static_cast<short>(in.Next() & 1)); break;
      case 16:
        board.SetBigPos(static_cast<short>(in.Next() * 2 - 20), static_cast<short>(in.Next() % 3 - 1));
        marked = true;
        break;
      case 17: {
        const int which = in.Next() % 4;
        const short mask = static_cast<short>(in.Next() << 4 | in.Next() % 16);
        if (which == 0) board.UnCheckStone(mask);
        else if (which == 1) board.RemoveStone(mask == -1 ? DIE : mask);
        else board.SetStone(static_cast<short>(in.Next() % 22 - 1), static_cast<short>(in.Next() % 22 - 1), mask);
        marked = true;
        break;
      }
      case 18:
        (void)board.GetBigPos(static_cast<short>(in.Next() << 2));
        (void)board.GetStone2(static_cast<short>(in.Next() % 40));
        break;
      default:
        board.Init();
        board.SetGameMode(RANDOM);
        marked = false;
        break;
    }
    if (board.GetGameMode() & (CHECK_STONE | MODE_TERRITORY))
      marked = true;
    if (!marked)
      CheckPlainCells(board);
    Check(board.GetBlackPrisoners() == static_cast<short>(sink.black));
    Check(board.GetWhitePrisoners() == static_cast<short>(sink.white));
    Check(board.GetLogicalPos() >= 0 && board.GetMovedBackCount() >= 0);
  }
  return 0;
}

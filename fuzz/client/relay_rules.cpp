// Drives the relay board with arbitrary moves and navigation, then checks that the shown game
// equals the same moves played afresh on an empty board.

#include <cstdint>
#include <cstdlib>

#include "client/model/BadukBoard.h"

namespace {

class Input {
public:
  Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool Empty() const { return m_pos >= m_size; }
  int Next() { return m_pos < m_size ? m_data[m_pos++] : 0; }

private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos{0};
};

bool SameBoard(const CBadukBoard& a, const CBadukBoard& b) {
  for (int x = 1; x <= 19; ++x)
    for (int y = 1; y <= 19; ++y) {
      const CStoneNode& p = a.GetCell(x, y);
      const CStoneNode& q = b.GetCell(x, y);
      if (p.HasStone() != q.HasStone() || (p.HasStone() && p.IsBlack() != q.IsBlack())) return false;
    }
  return a.GetCaptures(1) == b.GetCaptures(1) && a.GetCaptures(2) == b.GetCaptures(2);
}

// Plays moves 1..count of position on a fresh board; every one of them must be legal there.
void CheckAgainstFreshReplay(const CBadukBoard& board, int count) {
  CBadukBoard fresh;
  const CGamePosition& position = board.GetPosition();
  for (int i = 1; i <= count; ++i) {
    const CStoneNode* move = position.GetNode(i);
    if (!move || fresh.PlaceStone(move->GetX(), move->GetY(), move->GetColor(), 0, FALSE) != 0) std::abort();
  }
  if (!SameBoard(board, fresh)) std::abort();
}

void Apply(CBadukBoard& board, Input& in) {
  CGamePosition& position = board.GetPosition();
  const int op = in.Next();
  switch (op % 8) {
    case 0:
    case 1:
    case 2:
    case 3: {
      const int x = in.Next() % 21;
      const int y = in.Next() % 21;
      const int before = position.GetLastIndex();
      const int result = board.PlaceStone(x, y, op / 8 % 3 + 1, 0, TRUE);
      if (result == 0 && position.GetLastIndex() != position.GetCurrentIndex()) std::abort();
      if (result != 0 && position.GetLastIndex() != before) std::abort();
      break;
    }
    case 4: position.GoNext(); break;
    case 5: position.GoPrevious(); break;
    case 6: position.GoTo(in.Next() - 20); break;
    default: op & 8 ? position.Truncate() : (void)position.UndoLast(); break;
  }
  if (position.GetCaptureHistory().GetSize() != position.GetSize()) std::abort();
  if (position.GetCurrentIndex() < 0 || position.GetCurrentIndex() > position.GetLastIndex()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  CBadukBoard board;
  while (!in.Empty()) Apply(board, in);
  CheckAgainstFreshReplay(board, board.GetPosition().GetCurrentIndex());
  const int last = board.GetPosition().GetLastIndex();
  board.GetPosition().GoTo(last);
  CheckAgainstFreshReplay(board, last);
  board.GetPosition().GoTo(last / 2);
  CheckAgainstFreshReplay(board, last / 2);
  return 0;
}

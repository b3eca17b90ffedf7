#include "client/model/BadukBoard.h"

CBadukBoard::CBadukBoard() : m_position(this) {}

int CBadukBoard::PlaceStone(int x, int y, int colour, int time, BOOL markLast) {
  const int previous = m_position.GetCurrentIndex();
  if (colour != 1 && colour != 2) return kBadColour;
  if (!IsOnBoard(x, y)) return kOutOfRange;
  if (!GetCell(x, y).IsEmpty()) return kStoneExists;
  const int refused = m_position.AddMove(x, y, colour == 2, time, markLast);
  if (refused != 0) {
    OnMoveRefused(refused);
    return refused;
  }
  UpdateColourToPlay();
  const CStoneNode& cell = GetCell(x, y);
  OnStonePlaced(CStoneNode(x, y, cell.GetState(), cell.GetSeq(), 0));
  OnPositionChanged(static_cast<WPARAM>(previous) | (static_cast<WPARAM>(cell.GetSeq()) << 16), 0);
  return 0;
}

BOOL CBadukBoard::HasStoneAt(int x, int y) const { return IsOnBoard(x, y) && GetCell(x, y).HasStone(); }

void CBadukBoard::UpdateCaptures(BOOL add, BOOL capturedAreBlack, int n) {
  int& count = capturedAreBlack ? m_capturedBlack : m_capturedWhite;
  count += add ? n : -n;
  OnCapturesChanged(m_capturedBlack, m_capturedWhite);
}

void CBadukBoard::UpdateColourToPlay() {
  const CStoneNode* shown = m_position.GetCurrentNode();
  m_colourToPlay = shown && shown->IsBlack() ? 1 : 2;
}

#include "orvanta/room/StonePrinter.h"

#include <algorithm>

namespace {

constexpr int kRepeatsPerRow = 5;
constexpr int kRepeatWidth = 170;
constexpr int kRepeatRowHeight = 56;

}  // namespace

void CStonePrinter::Fill(const std::vector<Move>& moves) {
  m_moves = moves;
  m_firsts.assign(361, -1);
  m_laters.assign(361, {});
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const int point = moves[i].point;
    // A pass, or a point off the board, has no place on the diagram.
    if (point < 0 || point >= 361) continue;
    const int number = static_cast<int>(i) + 1;
    if (m_firsts[point] < 0) {
      m_firsts[point] = number;
    } else {
      m_laters[point].push_back(number);
    }
  }
}

int CStonePrinter::FirstMove(int point) const { return point >= 0 && point < 361 ? m_firsts[point] : -1; }

const std::vector<int>& CStonePrinter::LaterMoves(int point) const {
  static const std::vector<int> none;
  return point >= 0 && point < 361 ? m_laters[point] : none;
}

std::vector<CStonePrinter::Repeat> CStonePrinter::Repeats() const {
  std::vector<Repeat> repeats;
  for (int point = 0; point < 361; ++point)
    for (int number : m_laters[point]) repeats.push_back({number, m_firsts[point]});
  return repeats;
}

int CStonePrinter::RepeatCapacity(int top, int bottom) {
  const int room = bottom - top - 2 * kStoneRadius;
  return room < 0 ? 0 : (room / kRepeatRowHeight + 1) * kRepeatsPerRow;
}

POINT CStonePrinter::PointCentre(int point) {
  return POINT{kGridLeft + (point % 19) * kGridStep, kGridTop + (point / 19) * kGridStep};
}

bool CStonePrinter::IsBlack(int number) const {
  return number >= 1 && number <= GetMoveCount() && (m_moves[static_cast<std::size_t>(number - 1)].colour & 2) != 0;
}

void CStonePrinter::DrawStone(CDC& dc, int x, int y, int number) const {
  const bool black = IsBlack(number);
  CBrush fill(black ? RGB(0, 0, 0) : RGB(255, 255, 255));
  CPen rim(PS_SOLID, 1, RGB(0, 0, 0));
  CBrush* oldBrush = dc.SelectObject(&fill);
  CPen* oldPen = dc.SelectObject(&rim);
  dc.Ellipse(x - kStoneRadius, y - kStoneRadius, x + kStoneRadius + 1, y + kStoneRadius + 1);
  dc.SelectObject(oldBrush);
  dc.SelectObject(oldPen);
  // The number in the colour of the other side reads on either stone.
  CString text;
  text.Format("%d", number);
  dc.SetTextColor(black ? RGB(255, 255, 255) : RGB(0, 0, 0));
  dc.TextOut(x - text.GetLength() * kFontWidth / 2, y - kFontHeight / 2, text);
}

void CStonePrinter::DrawDiagram(CDC& dc) const {
  for (int point = 0; point < 361; ++point) {
    if (m_firsts[point] < 0) continue;
    const POINT centre = PointCentre(point);
    DrawStone(dc, centre.x, centre.y, m_firsts[point]);
  }
  dc.SetTextColor(RGB(0, 0, 0));
}

int CStonePrinter::DrawRepeats(CDC& dc, int first, int top, int bottom) const {
  const std::vector<Repeat> repeats = Repeats();
  int index = std::max(first, 0);
  int y = top + kStoneRadius;
  for (; index < static_cast<int>(repeats.size()); ++index) {
    const int slot = (index - std::max(first, 0)) % kRepeatsPerRow;
    if (slot == 0 && index != std::max(first, 0)) y += kRepeatRowHeight;
    if (y + kStoneRadius > bottom) break;
    const int x = kGridLeft + slot * kRepeatWidth;
    DrawStone(dc, x, y, repeats[static_cast<std::size_t>(index)].number);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.TextOut(x + kStoneRadius + 8, y - kFontHeight / 2, "=");
    DrawStone(dc, x + kStoneRadius * 2 + 30, y, repeats[static_cast<std::size_t>(index)].firstNumber);
  }
  dc.SetTextColor(RGB(0, 0, 0));
  return index;
}

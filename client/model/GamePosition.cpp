#include "client/model/GamePosition.h"

#include <algorithm>

#include "client/model/BadukBoard.h"
#include "client/model/GroupFinder.h"

CGamePosition::CGamePosition(CBadukBoard* board) : m_board(board) { Add(nullptr); }

CGamePosition::~CGamePosition() { DeleteAll(); }

int CGamePosition::AddMove(int x, int y, BOOL isBlack, int time, BOOL markLast) {
  CGroupFinder finder(m_board);
  finder.CollectCaptures(x, y, isBlack);
  const int captured = finder.GetCount();
  if (captured == 1) {
    const bool onKo = IsBrowsing() ? m_captures.IsKo(m_current, x, y) : (x == m_koX && y == m_koY);
    if (onKo) return CBadukBoard::kKo;
  }
  if (captured == 0) {
    finder.Clear(TRUE);
    if (finder.FindGroup(x, y, isBlack) == 1) return CBadukBoard::kSuicide;
    finder.Clear(TRUE);  // the search leaves part of the stone's own chain behind
  }
  Truncate();
  int koX = 0, koY = 0;
  if (captured == 1) finder.GetPoint(0, koX, koY);
  m_koX = koX;
  m_koY = koY;

  if (const CStoneNode* shown = GetCurrentNode(); shown && shown->HasStone())
    m_board->DrawCell(shown->GetX(), shown->GetY(), FALSE);
  const int index = m_current + 1;
  CStoneNode& cell = m_board->GetCell(x, y);
  cell.Set(x, y, (isBlack ? CStoneNode::kBlack : CStoneNode::kWhite) | CStoneNode::kPresent, index,
           time);
  m_captures.AddCaptures(RemoveCaptured(finder));
  m_captures.SetKo(index, CCaptureHistory::PackPoint(m_koX, m_koY));
  Add(new CStoneNode(cell));
  m_current = m_last = index;
  if (captured > 0) m_board->UpdateCaptures(TRUE, !isBlack, captured);
  if (markLast) m_board->DrawCell(x, y, TRUE);
  return 0;
}

CNodeArray* CGamePosition::RemoveCaptured(const CGroupFinder& finder) {
  auto* list = new CNodeArray;
  for (int i = 0; i < finder.GetCount(); ++i) {
    int x = 0, y = 0;
    finder.GetPoint(i, x, y);
    CStoneNode& cell = m_board->GetCell(x, y);
    list->Add(new CStoneNode(cell));
    cell.SetState(cell.GetState() | CStoneNode::kCaptured);
    m_board->DrawCell(x, y, FALSE);
  }
  return list;
}

int CGamePosition::GoNext() {
  if (m_current >= m_last || m_current < 0) return 0;
  Step(m_current + 1, m_current);
  return 1;
}

int CGamePosition::GoPrevious() {
  if (m_current < 1) return 0;
  Step(m_current - 1, m_current);
  return 1;
}

int CGamePosition::GoTo(int index) {
  index = std::clamp(index, 0, m_last);
  if (index != m_current) Step(index, m_current);
  return m_current;
}

void CGamePosition::Step(int to, int from) {
  if (to > from) {
    for (int i = from + 1; i <= to; ++i) Replay(i);
  } else {
    for (int i = from; i > to; --i) TakeBack(i);
  }
  if (from != 0)
    if (const CStoneNode* node = GetNode(from)) m_board->DrawCell(node->GetX(), node->GetY(), FALSE);
  if (to != 0)
    if (const CStoneNode* node = GetNode(to)) m_board->DrawCell(node->GetX(), node->GetY(), TRUE);
  m_current = to;
  m_board->OnPositionChanged(static_cast<WPARAM>(to) | (static_cast<WPARAM>(from) << 16), 1);
}

void CGamePosition::TakeBack(int index) {
  const CStoneNode* move = GetNode(index);
  if (!move) return;
  CStoneNode& cell = m_board->GetCell(move->GetX(), move->GetY());
  cell.Copy(*move);
  cell.SetPresent(FALSE);
  m_board->DrawCell(move->GetX(), move->GetY(), FALSE);
  const CNodeArray* captured = m_captures.GetList(index);
  if (!captured || captured->GetSize() == 0) return;
  m_board->UpdateCaptures(FALSE, captured->GetNode(0)->IsBlack(), static_cast<int>(captured->GetSize()));
  for (INT_PTR i = 0; i < captured->GetSize(); ++i) {
    const CStoneNode* stone = captured->GetNode(i);
    m_board->GetCell(stone->GetX(), stone->GetY()).Copy(*stone);
    m_board->DrawCell(stone->GetX(), stone->GetY(), FALSE);
  }
}

void CGamePosition::Replay(int index) {
  const CStoneNode* move = GetNode(index);
  if (!move) return;
  m_board->GetCell(move->GetX(), move->GetY()).Copy(*move);
  m_board->DrawCell(move->GetX(), move->GetY(), FALSE);
  const CNodeArray* captured = m_captures.GetList(index);
  if (!captured || captured->GetSize() == 0) return;
  m_board->UpdateCaptures(TRUE, captured->GetNode(0)->IsBlack(), static_cast<int>(captured->GetSize()));
  for (INT_PTR i = 0; i < captured->GetSize(); ++i) {
    const CStoneNode* stone = captured->GetNode(i);
    CStoneNode& cell = m_board->GetCell(stone->GetX(), stone->GetY());
    cell.SetState(cell.GetState() | CStoneNode::kCaptured);
    m_board->DrawCell(stone->GetX(), stone->GetY(), FALSE);
  }
}

void CGamePosition::Truncate() {
  if (!IsBrowsing()) return;
  m_captures.GetKo(m_current, m_koX, m_koY);
  DropMovesAfter(m_current);
  m_board->UpdateColourToPlay();
}

void CGamePosition::DropMovesAfter(int index) {
  const int count = m_last - index;
  if (count <= 0) return;
  for (int i = index + 1; i <= m_last; ++i) delete GetNode(i);
  RemoveAt(index + 1, count);
  m_captures.RemoveRange(index + 1, count);
  m_last = index;
}

int CGamePosition::UndoLast() {
  if (IsBrowsing()) {
    DropMovesAfter(m_last - 1);
    m_captures.GetKo(m_last, m_koX, m_koY);
  } else {
    GoPrevious();
    Truncate();
  }
  return 0;
}

int CGamePosition::CopyMoves(CNodeArray* out) const {
  for (int i = 1; i <= m_current; ++i)
    if (const CStoneNode* move = GetNode(i)) out->Add(new CStoneNode(*move));
  return 1;
}

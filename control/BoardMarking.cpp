#include "control/BoardMarking.h"

#include "control/StolvexBoard.h"

namespace {

bool IsTerritoryBit(int mask) { return mask == CHECKED || mask == SELF || mask == PLAY; }

}  // namespace

CBoardMarking::CBoardMarking(CStolvexBoard& owner) : m_owner(owner) { Reset(); }

void CBoardMarking::Reset() {
  m_deadMark.fill(1);
  m_result.fill(1);
}

void CBoardMarking::ToggleDeadGroup(int index) {
  ClearDeadMarks();
  const int cell = m_owner.m_board.At(index);
  // Only a stone can be marked dead; empty points, ko points and marks are refused alike.
  if (!(cell & (BLACK | WHITE))) {
    m_owner.Fire(NO_PLACE);
    return;
  }
  CStoneInfo* record = m_owner.RecordAt(index);
  const int userColour = m_owner.m_userColor;
  const int stoneColour = (cell & BLACK) ? BLACK : WHITE;
  if (!record || !(userColour & (BLACK | WHITE)) || stoneColour == userColour) {
    m_owner.Fire(INVALID_GAMEMODE);
    return;
  }
  const int mark = (record->State() & DIE) ? stoneColour : (cell | DIE);
  MarkDeadGroup(index, mark);
  m_owner.Fire(MARK_TOGGLED);
  m_owner.m_sink.InvalidateControl();
}

void CBoardMarking::MarkDeadGroup(int index, int mark) {
  CGoBoard& board = m_owner.m_board;
  const int opponent = (m_owner.m_userColor & BLACK) ? WHITE : BLACK;
  int top = 0;
  m_stack[top++] = static_cast<short>(index);
  while (top > 0) {
    const int point = m_stack[--top];
    if (board.At(point) & NONE) {
      if (m_deadMark[point] == mark)
        continue;
      m_deadMark[point] = static_cast<short>(mark);
    } else {
      // A stone without a record (placed by SetStone) is visited by its cell alone.
      CStoneInfo* record = m_owner.RecordAt(point);
      if (record ? record->State() == mark : board.At(point) == mark)
        continue;
      if (record)
        record->SetState(static_cast<short>(mark));
      board.Set(point, static_cast<CGoBoard::Cell>(mark));
    }
    for (short n : board.Neighbours(point)) {
      if (n != NO_POINT && (board.At(n) & (opponent | NONE)))
        m_stack[top++] = n;
    }
  }
}

bool CBoardMarking::ToggleTerritory(int index) {
  const int cell = m_owner.m_board.At(index);
  if (IsExactlyEmpty(cell)) {
    if (!HasEmptyNeighbour(index))
      m_owner.m_board.Set(index, static_cast<CGoBoard::Cell>(cell | CHECKED));
    else
      MarkTerritory(index, CHECKED);
    m_owner.m_sink.InvalidateControl();
    return true;
  }
  if (cell & CHECKED) {
    UnmarkTerritory(index, CHECKED);
    m_owner.Fire(MARK_TOGGLED);  // after the unmarking: a handler may reset the board
    m_owner.m_sink.InvalidateControl();
    return true;
  }
  return false;
}

bool CBoardMarking::HasEmptyNeighbour(int index) const {
  for (short n : m_owner.m_board.Neighbours(index)) {
    if (n != NO_POINT && IsExactlyEmpty(m_owner.m_board.At(n)))
      return true;
  }
  return false;
}

void CBoardMarking::MarkTerritory(int index, int bit) {
  CGoBoard& board = m_owner.m_board;
  int top = 0;
  m_stack[top++] = static_cast<short>(index);
  while (top > 0) {
    const int point = m_stack[--top];
    if (board.At(point) & bit)
      continue;
    board.Set(point, static_cast<CGoBoard::Cell>(board.At(point) | bit));
    for (short n : board.Neighbours(point)) {
      if (n != NO_POINT && IsExactlyEmpty(board.At(n)))
        m_stack[top++] = n;
    }
  }
}

void CBoardMarking::UnmarkTerritory(int index, int bit) {
  CGoBoard& board = m_owner.m_board;
  int top = 0;
  m_stack[top++] = static_cast<short>(index);
  while (top > 0) {
    const int point = m_stack[--top];
    if (!(board.At(point) & bit))
      continue;
    board.Set(point, static_cast<CGoBoard::Cell>(board.At(point) & ~bit));
    for (short n : board.Neighbours(point)) {
      if (n != NO_POINT && (board.At(n) & bit))
        m_stack[top++] = n;
    }
  }
}

void CBoardMarking::SetStone(short row, short col, short mask) {
  if (!IsBoardRowCol(row, col))
    return;
  const int index = row * BOARD_LINES + col;
  if (m_owner.m_gameMode & RESULT) {
    m_result[index] = mask;
    return;
  }
  if (CStoneInfo* record = m_owner.RecordAt(index))
    record->SetState(mask);
  CGoBoard& board = m_owner.m_board;
  const auto value = static_cast<CGoBoard::Cell>(mask);
  if (board.At(index) & (CHECKED | SELF))
    board.Set(index, static_cast<CGoBoard::Cell>(board.At(index) | value));
  else
    board.Set(index, value);
}

void CBoardMarking::RemoveMarkedStones(short mask) {
  CGoBoard& board = m_owner.m_board;
  const auto bits = static_cast<CGoBoard::Cell>(mask);
  bool changed = false;
  for (int i = 0; i < POINT_COUNT; ++i) {
    if (!(board.At(i) & bits))
      continue;
    if (CStoneInfo* record = m_owner.RecordAt(i))
      record->SetState(NONE);
    board.Set(i, NONE);
    changed = true;
  }
  if (changed)
    m_owner.m_sink.InvalidateControl();
}

void CBoardMarking::UnCheckStone(short mask) {
  CGoBoard& board = m_owner.m_board;
  const auto bits = static_cast<CGoBoard::Cell>(mask);
  bool changed = false;
  for (int i = 0; i < POINT_COUNT; ++i) {
    const int cell = board.At(i);
    if (!(cell & bits))
      continue;
    if (IsTerritoryBit(mask)) {
      board.Set(i, static_cast<CGoBoard::Cell>(cell & ~bits));
      changed = true;
    } else if (cell & (BLACK | WHITE)) {
      // Only stones go back to their plain colour: an empty point must not become a stone.
      const short plain = (cell & BLACK) ? BLACK : WHITE;
      board.Set(i, plain);
      if (CStoneInfo* record = m_owner.RecordAt(i))
        record->SetState(plain);
      changed = true;
    }
  }
  if (changed)
    m_owner.m_sink.InvalidateControl();
}

CString CBoardMarking::GetBigPos(short mask) const {
  if (!(m_owner.m_gameMode & MODE_TERRITORY))
    return CString();
  const auto bits = static_cast<CGoBoard::Cell>(mask);
  std::string text = "|";
  for (int i = 0; i < POINT_COUNT; ++i) {
    if (m_owner.m_board.At(i) & bits) {
      text += PointLetter(i % BOARD_LINES);
      text += PointLetter(i / BOARD_LINES);
      text += '|';
    }
  }
  return text.size() > 1 ? CString(text) : CString();
}

void CBoardMarking::SetBigPos(short index, short flag) {
  if (!IsBoardPoint(index))
    return;
  CGoBoard& board = m_owner.m_board;
  const int cell = board.At(index);
  if (flag < 0) {
    if (cell == NONE)
      board.Set(index, NONE | SELF);
  } else if (flag == 0) {
    if (cell == NONE)
      board.Set(index, NONE | CHECKED);
  } else if (cell & CHECKED) {
    board.Set(index, static_cast<CGoBoard::Cell>((cell & ~CHECKED) | PLAY));
  } else if (cell & SELF) {
    board.Set(index, static_cast<CGoBoard::Cell>((cell & ~SELF) | PLAY));
  }
}

#include "control/StolvexBoard.h"

#include <algorithm>
#include <climits>
#include <new>

namespace {

bool IsStoneColour(int colour) { return colour == BLACK || colour == WHITE; }

}  // namespace

CStolvexBoard::CStolvexBoard(CBoardEventSink& sink, CComModule* module) : m_sink(sink), m_module(module) {
  m_list = new CStoneList(m_module);
  m_list->AddRef();
}

CStolvexBoard::~CStolvexBoard() { m_list->Release(); }

// ---- New game ------------------------------------------------------------------------------------

void CStolvexBoard::Init() {
  m_rotate = 0;
  m_numOfAdvantage = 0;
  m_movedBack = 0;
  m_logicalPos = 0;
  m_breakPoint = 0;
  m_savedCount = 0;
  m_gameMode = PLAY;
  m_userColor = NONE;
  m_lastColor = WHITE;
  m_myTurn = 0;
  m_lastMovePoint = NO_POINT;
  m_redrawCount = 0;
  m_board.Clear();
  m_marking.Reset();
  ResetHistory();
}

void CStolvexBoard::ResetHistory() {
  CStoneList* fresh = new CStoneList(m_module);
  fresh->AddRef();
  m_list->Release();
  m_list = fresh;
  m_passes.clear();
}

// ---- Properties ----------------------------------------------------------------------------------

void CStolvexBoard::SetUserColor(short colour) {
  m_userColor = colour;
  m_myTurn = (colour & BLACK) ? 1 : 0;
}

void CStolvexBoard::SetLogicalPos(short position) {
  if (position < 0)
    return;
  m_logicalPos = position >= 1000 ? static_cast<short>(position - 1000) : position;
}

void CStolvexBoard::SetBreakPoint(short position) {
  if (position < 0)
    return;
  m_breakPoint = position;
  m_savedCount = static_cast<short>(m_list->Count());
}

void CStolvexBoard::SetHandicap(short colour, short count) {
  if (colour == WHITE)
    m_blackPrisoners = count;
  else if (colour == BLACK)
    m_whitePrisoners = count;
}

// ---- Clicks --------------------------------------------------------------------------------------

int CStolvexBoard::RegionToPoint(int region) const { return m_rotate == 1 ? RotateIndex(region) : region; }

void CStolvexBoard::OnClick(int region) {
  if ((m_gameMode & NONE) || m_enable != 1) {
    Fire(INPUT_DISABLED);
    return;
  }
  if ((m_gameMode & MODE_TERRITORY) && HandleTerritoryClick(region))
    return;
  if (m_gameMode & MODE_SELF_PLAY)
    m_gameMode |= RANDOM;
  if (!IsBoardPoint(region)) {
    Fire(NO_PLACE);
    return;
  }
  const int index = RegionToPoint(region);
  if (m_gameMode & CHECK_STONE) {
    m_marking.ToggleDeadGroup(index);
    return;
  }
  if ((m_gameMode & PLAY) && (m_userColor == NONE || m_myTurn == 0)) {
    Fire(NOT_PLAYER);
    return;
  }
  const int cell = m_board.At(index);
  if (!(cell & (NONE | INVALID))) {
    if (cell & (BLACK | WHITE))
      Fire(STONE_EXIST);
    return;
  }
  if (!(m_gameMode & (PLAY | RANDOM)))
    return;
  if (cell & INVALID) {
    const KoOutcome ko = TestKoPoint(index);
    if (ko == KoOutcome::Refused)
      return;
    if (ko == KoOutcome::Allowed) {
      FirePosition(index);
      return;
    }
  }
  if (!m_board.IsLegalMove(index, OppositeColor(m_lastColor))) {
    Fire(YOU_EATED);
    return;
  }
  FirePosition(index);
}

bool CStolvexBoard::HandleTerritoryClick(int region) {
  if (!IsBoardPoint(region)) {
    Fire(NO_PLACE);
    return true;
  }
  return m_marking.ToggleTerritory(RegionToPoint(region));
}

CStolvexBoard::KoOutcome CStolvexBoard::TestKoPoint(int index) {
  const auto saved = m_board.At(index);
  const int candidate = (m_gameMode & RANDOM) ? OppositeColor(m_lastColor) : m_userColor;
  m_board.Set(index, static_cast<CGoBoard::Cell>(candidate));
  if (!m_board.HasOpponentNeighbour(index)) {
    m_board.Set(index, saved);
    return KoOutcome::NotKo;
  }
  if (m_board.CapturesOneStone(index)) {
    const bool retakesKo = m_board.CountCaptures(index, m_lastColor) == 1;
    m_board.Set(index, saved);
    if (retakesKo) {
      Fire(NO_PLACE);
      return KoOutcome::Refused;
    }
    return KoOutcome::Allowed;
  }
  m_board.Set(index, saved);
  // A move that captures nothing here must still keep a liberty: a suicide never reaches the
  // container, and the ko marks stay for the next click.
  if (!m_board.IsLegalMove(index, OppositeColor(m_lastColor))) {
    Fire(YOU_EATED);
    return KoOutcome::Refused;
  }
  ClearKoMarks();
  return KoOutcome::Allowed;
}

void CStolvexBoard::FirePosition(int index) {
  m_sink.FirePosition(static_cast<short>(index / BOARD_LINES), static_cast<short>(index % BOARD_LINES),
                      OppositeColor(m_lastColor));
}

void CStolvexBoard::ClearKoMarks() {
  for (int i = 0; i < POINT_COUNT; ++i) {
    if (m_board.At(i) & INVALID) {
      m_board.Set(i, NONE);
      m_board.SetSequence(i, 0);
    }
  }
}

// ---- Applying moves ------------------------------------------------------------------------------

void CStolvexBoard::SetDrawStone(short row, short col, short colour, short count) {
  if (!(m_gameMode & (PLAY | RANDOM))) {
    Fire(INVALID_GAMEMODE);
    return;
  }
  const bool pass = IsPassRowCol(row, col);
  if ((!pass && !IsBoardRowCol(row, col)) || !IsStoneColour(colour)) {
    Fire(NO_PLACE);
    return;
  }
  if (pass) {
    m_lastColor = colour;
    RecordPass(colour);
    return;
  }
  const int index = row * BOARD_LINES + col;
  const auto prevCell = m_board.At(index);
  const short prevSeq = m_board.Sequence(index);
  if (!(prevCell & (NONE | INVALID))) {
    if (prevCell & (BLACK | WHITE))
      Fire(STONE_EXIST);
    return;
  }
  const short clearedKo = ClearMoveMarks();
  m_board.SetSequence(index, count >= 1 ? count : m_logicalPos);
  m_board.Set(index, static_cast<CGoBoard::Cell>(colour));
  m_lastColor = colour;
  if (!m_board.IsLegalMove(index, NONE)) {
    Fire(YOU_EATED);
    UndoTrialStone(index, colour);
    return;
  }
  // Only a move that stands discards the moves undone before it.
  DiscardRedoRecords(colour);
  CStoneInfo* record = NewRecord();
  if (!record) {
    Fire(OBJECT_CREATION_FAILED);
    UndoTrialStone(index, colour);
    return;
  }
  ++m_logicalPos;
  record->Init(m_logicalPos, m_board.Sequence(index), prevSeq, static_cast<short>(index),
               static_cast<short>(m_board.At(index)), static_cast<short>(prevCell), clearedKo);
  record->SetMoverColor(colour);
  if (!m_clearedKo.empty())
    record->SetClearedKoPoints(m_clearedKo);
  m_list->Add(record);
  const int captured = m_board.HasOpponentNeighbour(index) ? RemoveCapturedStones(index, *record) : 0;
  record->SetCharacter(m_logicalPos);
  if (m_lastCaptureCount != 1)
    record->SetInvalidPos(NO_POINT);
  m_lastMovePoint = static_cast<short>(index);
  PassTurn();
  ClearRedrawCells();
  // The capture is reported once the move is complete: a handler may start a new game or take the
  // move back, which frees the record and resets the board.
  if (captured > 0)
    m_sink.FireNumOfEat(OppositeColor(colour), static_cast<short>(captured));
  m_sink.InvalidateControl();
}

short CStolvexBoard::ClearMoveMarks() {
  short clearedKo = NO_POINT;
  m_clearedKo.clear();
  if (!m_board.HasTransientMarks())
    return clearedKo;
  for (int i = 0; i < POINT_COUNT; ++i) {
    const auto cell = m_board.At(i);
    if (cell == INVALID) {
      m_board.Set(i, NONE);
      m_board.SetSequence(i, 0);
      clearedKo = static_cast<short>(i);
      m_clearedKo.push_back(clearedKo);
    } else if (cell == REDRAW) {
      m_board.Set(i, NONE);
    }
  }
  return clearedKo;
}

void CStolvexBoard::ClearRedrawCells() {
  if (!m_board.HasTransientMarks())
    return;
  for (int i = 0; i < POINT_COUNT; ++i) {
    if (m_board.At(i) == REDRAW)
      m_board.Set(i, NONE);
  }
}

void CStolvexBoard::UndoTrialStone(int index, short colour) {
  m_board.Set(index, NONE);
  m_board.SetSequence(index, 0);
  m_lastColor = OppositeColor(colour);
}

void CStolvexBoard::DiscardRedoRecords(short colour) {
  if (m_movedBack == 0 || (m_gameMode & REPLAY))
    return;
  m_list->TruncateTo(std::max<long>(m_logicalPos, 0));
  m_movedBack = 0;
  m_lastColor = colour;
}

void CStolvexBoard::RecordPass(short colour) {
  DiscardRedoRecords(colour);
  CStoneInfo* record = NewRecord();
  if (!record) {
    Fire(OBJECT_CREATION_FAILED);
    m_lastColor = OppositeColor(colour);
    return;
  }
  ++m_logicalPos;
  record->Init(m_logicalPos, -1, -1, NO_POINT, -1, -1, NO_POINT);
  record->SetMoverColor(colour);
  m_list->Add(record);
  record->SetCharacter(m_logicalPos);
  PassTurn();
  PassMark mark{m_logicalPos, m_lastMovePoint};
  if (!m_passes.empty() && m_logicalPos - m_passes.back().moveNumber == 1)
    mark.markPoint = m_passes.back().markPoint;
  m_passes.push_back(mark);
}

CStoneInfo* CStolvexBoard::NewRecord() {
  // Move numbers are 16-bit: a history that long takes no further move.
  if (m_logicalPos >= SHRT_MAX || m_list->Count() >= SHRT_MAX)
    return nullptr;
  return new (std::nothrow) CStoneInfo(m_module);
}

int CStolvexBoard::RemoveCapturedStones(int index, CStoneInfo& record) {
  const short captured = OppositeColor(m_board.At(index));
  int total = 0;
  for (short n : m_board.Neighbours(index)) {
    if (n == NO_POINT || !(m_board.At(n) & captured) || m_board.FindLiberty(n))
      continue;
    total += m_board.GroupSize();
    EmptyCapturedGroup(record);
  }
  if (total == 0)
    return 0;
  m_lastCaptureCount = static_cast<short>(total);
  AddPrisoners(captured, total);
  m_sink.InvalidateControl();
  return total;
}

void CStolvexBoard::EmptyCapturedGroup(CStoneInfo& record) {
  const int size = m_board.GroupSize();
  std::array<short, POINT_COUNT> stones;
  for (int k = 0; k < size; ++k)
    stones[k] = static_cast<short>(m_board.GroupStone(k));
  // Entries go in board order, whatever order the search met the stones in.
  std::sort(stones.begin(), stones.begin() + size);
  for (int k = 0; k < size; ++k) {
    const int j = stones[k];
    const auto prevCell = static_cast<short>(m_board.At(j));
    const short prevSeq = m_board.Sequence(j);
    m_board.Set(j, REDRAW);
    m_board.SetSequence(j, 0);
    record.AddChange(static_cast<short>(j), REDRAW, prevCell, prevSeq, 0);
    if (size == 1) {
      m_board.Set(j, INVALID);
      record.SetLastChange(static_cast<short>(j), INVALID, prevCell, 0, prevSeq);
    }
  }
}

void CStolvexBoard::AddPrisoners(short capturedColour, int count) {
  short& prisoners = (capturedColour == BLACK) ? m_blackPrisoners : m_whitePrisoners;
  prisoners = static_cast<short>(prisoners + count);
}

void CStolvexBoard::PassTurn() {
  if (m_numOfAdvantage == 0) {
    m_myTurn = m_myTurn ? 0 : 1;
  } else if (m_numOfAdvantage < 0) {
    m_myTurn = 1;
    ++m_numOfAdvantage;
  } else {
    m_myTurn = 0;
    --m_numOfAdvantage;
  }
}

// ---- History walks -------------------------------------------------------------------------------

short CStolvexBoard::MoverOf(const CStoneInfo& record) {
  return record.MoverColor() != 0 ? record.MoverColor() : record.SelfColor();
}

void CStolvexBoard::AddRedraw(int index) {
  if (m_redrawCount < static_cast<int>(m_redraw.size()))
    m_redraw[m_redrawCount++] = static_cast<short>(index);
}

void CStolvexBoard::ApplyPrevValues(const CStoneInfo& record, bool listRedraw) {
  for (int k = 0; k < record.NumOfChanged(); ++k) {
    const CStoneInfo::Change& change = record.ChangeAt(k);
    if (!IsBoardPoint(change.position))
      continue;
    m_board.Set(change.position, static_cast<CGoBoard::Cell>(change.prevValue));
    m_board.SetSequence(change.position, change.prevSeq);
    if (listRedraw)
      AddRedraw(change.position);
  }
}

void CStolvexBoard::ApplyAfterValues(const CStoneInfo& record) {
  for (int k = 0; k < record.NumOfChanged(); ++k) {
    const CStoneInfo::Change& change = record.ChangeAt(k);
    if (!IsBoardPoint(change.position))
      continue;
    if (change.afterValue == 0) {
      m_board.Set(change.position, NONE);
      m_board.SetSequence(change.position, -1);
    } else if (change.afterValue == REDRAW) {
      // A captured stone: the move itself left the point plain empty before it returned, and a
      // REDRAW cell would refuse the next stone there.
      m_board.Set(change.position, NONE);
      m_board.SetSequence(change.position, change.afterSeq);
    } else {
      m_board.Set(change.position, static_cast<CGoBoard::Cell>(change.afterValue));
      m_board.SetSequence(change.position, change.afterSeq);
    }
    AddRedraw(change.position);
  }
}

void CStolvexBoard::ClearRecordedKo(const CStoneInfo& record) {
  const auto clear = [this](int ko) {
    if (!IsBoardPoint(ko) || m_board.At(ko) != INVALID)
      return;
    m_board.Set(ko, NONE);
    m_board.SetSequence(ko, 0);
    AddRedraw(ko);
  };
  clear(record.InvalidPos());
  for (short ko : record.ClearedKoPoints())
    clear(ko);
}

void CStolvexBoard::RestoreRecordedKo(const CStoneInfo& record) {
  if (IsBoardPoint(record.InvalidPos()))
    m_board.Set(record.InvalidPos(), INVALID);
  for (short ko : record.ClearedKoPoints()) {
    if (IsBoardPoint(ko))
      m_board.Set(ko, INVALID);
  }
}

void CStolvexBoard::GoPrev(short flag) {
  CStoneInfo* record = m_logicalPos >= 1 ? m_list->At(m_logicalPos) : nullptr;
  if (!record) {
    Fire(ERROR_GO_PREV);
    return;
  }
  --m_logicalPos;
  m_redrawCount = 0;
  const short mover = MoverOf(*record);
  m_lastColor = OppositeColor(mover);
  if (!record->IsPass()) {
    m_lastMovePoint = record->SelfPos();
    ApplyPrevValues(*record, true);
    RestoreRecordedKo(*record);
  }
  m_myTurn = (m_userColor & mover) ? 1 : 0;
  ++m_movedBack;
  if (!(m_gameMode & REPLAY) && flag == 0)
    m_sink.InvalidateControl();
}

void CStolvexBoard::GoNext(short flag) {
  CStoneInfo* record = m_movedBack >= 1 ? m_list->At(m_logicalPos + 1) : nullptr;
  if (!record) {
    Fire(ERROR_GO_NEXT);
    return;
  }
  const short mover = MoverOf(*record);
  m_lastColor = mover;
  m_redrawCount = 0;
  if (!record->IsPass()) {
    m_lastMovePoint = record->SelfPos();
    ClearRecordedKo(*record);
    ApplyAfterValues(*record);
  }
  m_myTurn = (m_userColor & mover) ? 0 : 1;
  ++m_logicalPos;
  --m_movedBack;
  if (flag == 0)
    m_sink.InvalidateControl();
}

void CStolvexBoard::Again() {
  if (!(m_gameMode & REPLAY)) {
    Fire(INVALID_GAMEMODE);
    return;
  }
  if (m_logicalPos < m_breakPoint)
    return;
  for (int steps = m_logicalPos - m_breakPoint; steps > 0; --steps) {
    const short before = m_logicalPos;
    GoPrev(0);
    if (m_logicalPos == before)
      break;
  }
  const int added = static_cast<short>(m_list->Count() - m_savedCount);
  int removed = 0;
  for (; removed < added && m_savedCount < m_list->Count(); ++removed) {
    const CStoneInfo* record = m_list->At(m_savedCount + 1);
    if (record && IsBoardPoint(record->SelfPos()))
      m_board.Set(record->SelfPos(), NONE);
    m_list->RemoveAt(m_savedCount + 1);
  }
  m_movedBack = static_cast<short>(std::max(0, m_movedBack - removed));
  m_logicalPos = m_breakPoint;
  m_sink.InvalidateControl();
}

void CStolvexBoard::TakeBackLastMove() {
  CStoneInfo* record = m_list->At(m_logicalPos);
  if (!record)
    return;
  const short mover = MoverOf(*record);
  m_lastColor = OppositeColor(mover);
  if (!record->IsPass()) {
    if (IsBoardPoint(record->SelfPos()))
      m_board.Set(record->SelfPos(), NONE);
    const CStoneInfo* previous = m_list->Item(m_logicalPos - 1);
    if (previous && previous->SelfPos() != NO_POINT)
      m_lastMovePoint = previous->SelfPos();
    ApplyPrevValues(*record, false);
  }
  RestoreRecordedKo(*record);
  m_lastCaptureCount = record->NumOfChanged();
  m_myTurn = (m_userColor & mover) ? 1 : 0;
  record->SetState(NONE);
  m_list->RemoveAt(m_logicalPos);
  --m_logicalPos;
  m_sink.InvalidateControl();
}

void CStolvexBoard::RemoveStone(short mask) {
  if (mask == -1)
    TakeBackLastMove();
  else
    m_marking.RemoveMarkedStones(mask);
}

// ---- Record queries ------------------------------------------------------------------------------

CStoneInfo* CStolvexBoard::RecordAt(int index) const {
  return IsBoardPoint(index) ? m_list->FindBySelfPos(index) : nullptr;
}

std::vector<CStoneInfo*> CStolvexBoard::GetStone(short state) const {
  std::vector<CStoneInfo*> found;
  for (long k = 1; k <= m_list->Count(); ++k) {
    CStoneInfo* record = m_list->At(k);
    if (record && record->State() == state)
      found.push_back(record);
  }
  return found;
}

CString CStolvexBoard::GetStone2(short state) const {
  std::string text = "|";
  for (long k = 1; k <= m_list->Count(); ++k) {
    const CStoneInfo* record = m_list->At(k);
    if (!record || record->State() != state)
      continue;
    const CString dim = record->PosOfDim();
    text += dim.GetAt(1);
    text += dim.GetAt(0);
    text += '|';
  }
  return text.size() > 1 ? CString(text) : CString();
}

void CStolvexBoard::SetStoneList(IStoneList* source) {
  LONG count = 0;
  if (!source || FAILED(source->get_Count(&count)))
    return;
  std::vector<CStoneInfo::Change> entries;
  for (LONG k = 1; k <= count; ++k) {
    CComVariant item;
    CComPtr<IStoneInfo> from;
    if (FAILED(source->get_Item(k, &item)) || item.vt != VT_DISPATCH || !item.pdispVal ||
        FAILED(item.pdispVal->QueryInterface(IID_IStoneInfo, reinterpret_cast<void**>(&from))))
      continue;  // an item that is no move record has nothing to copy
    short sequence = 0;
    from->get_Sequence(&sequence);
    if (!ReadChanges(*from, entries))
      continue;  // a record without a place on the board is no move
    // Our own records know who made a pass; others give the stone's cell word.
    const CStoneInfo* ours = dynamic_cast<const CStoneInfo*>(from.p);
    const short mover = ours ? ours->MoverColor() : (entries.empty() ? 0 : entries[0].afterValue);
    if (!AppendCopiedRecord(sequence, mover, entries))
      return;
  }
}

bool CStolvexBoard::ReadChanges(IStoneInfo& from, std::vector<CStoneInfo::Change>& entries) {
  short count = 0;
  from.get_NumOfChanged(&count);
  const int n = count > 0 ? count : 0;
  std::vector<short> after(n), prev(n), pos(n), prevSeq(n), afterSeq(n);
  if (n > 0) {
    from.GetAfterValue(n, after.data());
    from.GetPrevValue(n, prev.data());
    from.GetChangedPos(n, pos.data());
    from.GetPrevSeq(n, prevSeq.data());
    from.GetAfterSeq(n, afterSeq.data());
  }
  entries.clear();
  for (int e = 0; e < n; ++e) {
    // Another list may name any position; only points of the board (and a pass's own point) are
    // kept, since painting and the history walks index the board with them.
    const bool passPoint = e == 0 && pos[e] == NO_POINT;
    if (!IsBoardPoint(pos[e]) && !passPoint) {
      if (e == 0)
        return false;
      continue;
    }
    entries.push_back(CStoneInfo::Change{pos[e], after[e], prev[e], prevSeq[e], afterSeq[e]});
  }
  return true;
}

bool CStolvexBoard::AppendCopiedRecord(short sequence, short moverColor,
                                       const std::vector<CStoneInfo::Change>& entries) {
  CStoneInfo* record = new (std::nothrow) CStoneInfo(m_module);
  if (!record) {
    Fire(OBJECT_CREATION_FAILED);
    return false;
  }
  const CStoneInfo::Change first = entries.empty() ? CStoneInfo::Change{} : entries.front();
  record->Init(sequence, first.afterSeq, first.prevSeq, first.position, first.afterValue, first.prevValue, NO_POINT);
  for (std::size_t e = 1; e < entries.size(); ++e) {
    const CStoneInfo::Change& c = entries[e];
    record->AddChange(c.position, c.afterValue, c.prevValue, c.prevSeq, c.afterSeq);
  }
  record->SetMoverColor(moverColor);
  m_list->Add(record);
  return true;
}

void CStolvexBoard::SetDrawChar(short row, short col, short character) {
  if (!(m_gameMode & (PLAY | RANDOM))) {
    Fire(INVALID_GAMEMODE);
    return;
  }
  if (!IsBoardRowCol(row, col))
    return;
  if (CStoneInfo* record = RecordAt(row * BOARD_LINES + col))
    record->SetCharacter(character);
  m_sink.InvalidateControl();
}

// ---- Painting ------------------------------------------------------------------------------------

void CStolvexBoard::OnPointPainted(int index) {
  if (!IsBoardPoint(index))
    return;
  const int cell = m_board.At(index);
  const bool stone = cell == BLACK || cell == WHITE;
  if (!stone && (cell & (CHECKED | SELF | PLAY)))
    return;  // drawn as a territory mark, nothing changes
  if (cell & REDRAW)
    m_board.Set(index, NONE);
  if (cell & (REDRAW | INVALID)) {
    if (CStoneInfo* record = RecordAt(index))
      record->SetState(NONE);
  }
}

void CStolvexBoard::OnBoardPainted() {
  constexpr int kDrawnBits = BLACK | WHITE | REDRAW | INVALID | DIE | CHECKED | SELF | PLAY;
  for (int i = 0; i < POINT_COUNT; ++i) {
    if (m_board.At(i) & kDrawnBits)
      OnPointPainted(i);
  }
}

short CStolvexBoard::GetPassMarkPoint() const {
  for (const PassMark& pass : m_passes) {
    if (pass.moveNumber == m_logicalPos)
      return IsBoardPoint(pass.markPoint) ? pass.markPoint : NO_POINT;
  }
  return NO_POINT;
}

#include "control/StoneInfo.h"

#include <algorithm>

#include "control/StolvexTypes.h"

namespace {

constexpr int kMaxChanges = 0x7FFF;  // the change count is a 16-bit signed number

}  // namespace

CStoneInfo::CStoneInfo(CComModule* module) : CDispatchObject(module) {}
CStoneInfo::~CStoneInfo() = default;

const CDispatchTable<CStoneInfo>& CStoneInfo::DispatchTable() {
  using T = CDispatchTable<CStoneInfo>;
  static const T table{
      T::Get("Sequence", 2, &IStoneInfo::get_Sequence),
      T::Get("NumOfChanged", 3, &IStoneInfo::get_NumOfChanged),
      T::Method("GetPrevValue", 4, &IStoneInfo::GetPrevValue),
      T::Method("GetAfterValue", 5, &IStoneInfo::GetAfterValue),
      T::Method("GetChangedPos", 6, &IStoneInfo::GetChangedPos),
      T::Method("GetSelfColor", 7, &IStoneInfo::GetSelfColor),
      T::Method("GetSelfPos", 8, &IStoneInfo::GetSelfPos),
      T::Get("PosOfDim", 9, &IStoneInfo::get_PosOfDim),
      T::Get("Character", 10, &IStoneInfo::get_Character),
      T::Put("Character", 10, &IStoneInfo::put_Character),
      T::Method("GetPrevSeq", 11, &IStoneInfo::GetPrevSeq),
      T::Method("GetAfterSeq", 12, &IStoneInfo::GetAfterSeq),
      T::Method("GetInvalidPos", 13, &IStoneInfo::GetInvalidPos),
      T::Method("SetInvalidPos", 14, &IStoneInfo::SetInvalidPos),
      T::Get("State", 1, &IStoneInfo::get_State),
      T::Put("State", 1, &IStoneInfo::put_State)};
  return table;
}

namespace {

// Stores value through out; E_POINTER for a null out.
HRESULT Answer(SHORT* out, short value) {
  if (!out)
    return E_POINTER;
  *out = value;
  return S_OK;
}

}  // namespace

HRESULT CStoneInfo::get_State(SHORT* state) { return Answer(state, m_state); }
HRESULT CStoneInfo::put_State(SHORT state) {
  m_state = state;
  return S_OK;
}
HRESULT CStoneInfo::get_Sequence(SHORT* sequence) { return Answer(sequence, m_sequence); }
HRESULT CStoneInfo::get_NumOfChanged(SHORT* count) { return Answer(count, NumOfChanged()); }
HRESULT CStoneInfo::GetPrevValue(LONG nSize, SHORT* out) { return out ? (CopyPrevValues(nSize, out), S_OK) : E_POINTER; }
HRESULT CStoneInfo::GetAfterValue(LONG nSize, SHORT* out) { return out ? (CopyAfterValues(nSize, out), S_OK) : E_POINTER; }
HRESULT CStoneInfo::GetChangedPos(LONG nSize, SHORT* out) { return out ? (CopyPositions(nSize, out), S_OK) : E_POINTER; }
HRESULT CStoneInfo::GetPrevSeq(LONG nSize, SHORT* out) { return out ? (CopyPrevSeqs(nSize, out), S_OK) : E_POINTER; }
HRESULT CStoneInfo::GetAfterSeq(LONG nSize, SHORT* out) { return out ? (CopyAfterSeqs(nSize, out), S_OK) : E_POINTER; }
HRESULT CStoneInfo::GetSelfColor(SHORT* colour) { return Answer(colour, SelfColor()); }
HRESULT CStoneInfo::GetSelfPos(SHORT* position) { return Answer(position, SelfPos()); }
HRESULT CStoneInfo::get_Character(SHORT* character) { return Answer(character, m_character); }
HRESULT CStoneInfo::put_Character(SHORT character) {
  m_character = character;
  return S_OK;
}
HRESULT CStoneInfo::GetInvalidPos(SHORT* koPoint) { return Answer(koPoint, m_koPoint); }
HRESULT CStoneInfo::SetInvalidPos(SHORT* koPoint) {
  if (!koPoint)
    return E_POINTER;
  m_koPoint = *koPoint;
  return S_OK;
}

HRESULT CStoneInfo::get_PosOfDim(BSTR* text) {
  if (!text)
    return E_POINTER;
  *text = Cp949ToBstr(PosOfDim().str());
  return *text ? S_OK : E_OUTOFMEMORY;
}

HRESULT CStoneInfo::InterfaceSupportsErrorInfo(REFIID riid) { return riid == IID_IStoneInfo ? S_OK : S_FALSE; }

void CStoneInfo::Init(short sequence, short afterSeq, short prevSeq, short position, short afterValue,
                      short prevValue, short koPoint) {
  m_changes.clear();
  m_changes.push_back(Change{position, afterValue, prevValue, prevSeq, afterSeq});
  m_sequence = sequence;
  m_state = afterValue;
  m_koPoint = koPoint;
}

void CStoneInfo::AddChange(short position, short afterValue, short prevValue, short prevSeq, short afterSeq) {
  if (static_cast<int>(m_changes.size()) < kMaxChanges)
    m_changes.push_back(Change{position, afterValue, prevValue, prevSeq, afterSeq});
}

void CStoneInfo::SetLastChange(short position, short afterValue, short prevValue, short afterSeq, short prevSeq) {
  if (m_changes.empty())
    m_changes.emplace_back();
  m_changes.back() = Change{position, afterValue, prevValue, prevSeq, afterSeq};
}

void CStoneInfo::AddChanges(int n, const short* afterValues, const short* prevValues, const short* positions,
                            const short* prevSeqs, const short* afterSeqs) {
  for (int k = 0; k < n; ++k)
    AddChange(positions[k], afterValues[k], prevValues[k], prevSeqs[k], afterSeqs[k]);
}

const CStoneInfo::Change& CStoneInfo::ChangeAt(int k) const {
  static const Change kEmpty{};
  if (k < 0 || k >= static_cast<int>(m_changes.size()))
    return kEmpty;
  return m_changes[k];
}

CString CStoneInfo::PosOfDim() const {
  const int position = SelfPos();
  if (!IsBoardPoint(position))
    return CString("tt");
  const char text[3] = {PointLetter(position / BOARD_LINES), PointLetter(position % BOARD_LINES), 0};
  return CString(text);
}

int CStoneInfo::CopyField(long nSize, short* out, short Change::*field) const {
  if (!out || nSize < 1)
    return 0;
  const int count = static_cast<int>(std::min<long>(nSize, static_cast<long>(m_changes.size())));
  for (int k = 0; k < count; ++k)
    out[k] = m_changes[k].*field;
  return count;
}

#pragma once
// The record of one move: every point the move changed, with cell words and move numbers before
// and after. An automation object (IStoneInfo): created with a count of 0, freed by the last
// Release, counted by the control's module while it lives.

#include <vector>

#include "control/StolvexInterfaces.h"
#include "platform/strings.h"
#include "platform/types.h"

class CStoneInfo : public CDispatchObject<CStoneInfo, IStoneInfo, ISupportErrorInfo> {
public:
  // One changed point. Entry 0 is the move's own point (-1 for a pass).
  struct Change {
    short position{0};
    short afterValue{0};
    short prevValue{0};
    short prevSeq{0};
    short afterSeq{0};
  };

  // module (may be null) counts the record while it lives.
  explicit CStoneInfo(CComModule* module = nullptr);

  static const CDispatchTable<CStoneInfo>& DispatchTable();

  // ---- IStoneInfo ----
  HRESULT STDMETHODCALLTYPE get_Sequence(SHORT* sequence) override;
  HRESULT STDMETHODCALLTYPE get_NumOfChanged(SHORT* count) override;
  HRESULT STDMETHODCALLTYPE GetPrevValue(LONG nSize, SHORT* prevValue) override;
  HRESULT STDMETHODCALLTYPE GetAfterValue(LONG nSize, SHORT* afterValue) override;
  HRESULT STDMETHODCALLTYPE GetChangedPos(LONG nSize, SHORT* changedPos) override;
  HRESULT STDMETHODCALLTYPE GetSelfColor(SHORT* colour) override;
  HRESULT STDMETHODCALLTYPE GetSelfPos(SHORT* position) override;
  HRESULT STDMETHODCALLTYPE get_PosOfDim(BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_Character(SHORT* character) override;
  HRESULT STDMETHODCALLTYPE put_Character(SHORT character) override;
  HRESULT STDMETHODCALLTYPE GetPrevSeq(LONG nSize, SHORT* prevSeq) override;
  HRESULT STDMETHODCALLTYPE GetAfterSeq(LONG nSize, SHORT* afterSeq) override;
  HRESULT STDMETHODCALLTYPE GetInvalidPos(SHORT* koPoint) override;
  HRESULT STDMETHODCALLTYPE SetInvalidPos(SHORT* koPoint) override;
  HRESULT STDMETHODCALLTYPE get_State(SHORT* state) override;
  HRESULT STDMETHODCALLTYPE put_State(SHORT state) override;

  // ---- ISupportErrorInfo ----
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

  // ---- The control's side ----

  // Makes entry 0 from the move's own point and takes the move number, state and cleared ko point.
  void Init(short sequence, short afterSeq, short prevSeq, short position, short afterValue,
            short prevValue, short koPoint);
  // Appends one entry.
  void AddChange(short position, short afterValue, short prevValue, short prevSeq, short afterSeq);
  // Overwrites the last entry (note the order of the two move numbers).
  void SetLastChange(short position, short afterValue, short prevValue, short afterSeq, short prevSeq);
  // Appends n entries from five parallel arrays; n below 1 appends nothing.
  void AddChanges(int n, const short* afterValues, const short* prevValues, const short* positions,
                  const short* prevSeqs, const short* afterSeqs);

  short Sequence() const { return m_sequence; }
  short NumOfChanged() const { return static_cast<short>(m_changes.size()); }
  // Entry k, 0 <= k < NumOfChanged(); a record without entries answers a zeroed entry 0.
  const Change& ChangeAt(int k) const;
  short SelfPos() const { return ChangeAt(0).position; }
  short SelfColor() const { return ChangeAt(0).afterValue; }
  bool IsPass() const { return SelfPos() == -1; }

  short State() const { return m_state; }
  void SetState(short state) { m_state = state; }
  short Character() const { return m_character; }
  void SetCharacter(short character) { m_character = character; }
  short InvalidPos() const { return m_koPoint; }
  void SetInvalidPos(short koPoint) { m_koPoint = koPoint; }
  // Every ko mark the move cleared, kept apart from InvalidPos (which a move that captures several
  // stones resets) so that undo and redo restore the exact position.
  const std::vector<short>& ClearedKoPoints() const { return m_clearedKo; }
  void SetClearedKoPoints(const std::vector<short>& points) { m_clearedKo = points; }
  // Row letter then column letter of the own point; "tt" without a point.
  CString PosOfDim() const;

  // Colour of the player who made the move; kept for passes, whose visible fields are all -1.
  short MoverColor() const { return m_moverColor; }
  void SetMoverColor(short colour) { m_moverColor = colour; }

  // Copy the first min(nSize, NumOfChanged()) values of one field into out; returns how many.
  int CopyPrevValues(long nSize, short* out) const { return CopyField(nSize, out, &Change::prevValue); }
  int CopyAfterValues(long nSize, short* out) const { return CopyField(nSize, out, &Change::afterValue); }
  int CopyPositions(long nSize, short* out) const { return CopyField(nSize, out, &Change::position); }
  int CopyPrevSeqs(long nSize, short* out) const { return CopyField(nSize, out, &Change::prevSeq); }
  int CopyAfterSeqs(long nSize, short* out) const { return CopyField(nSize, out, &Change::afterSeq); }

private:
  ~CStoneInfo() override;
  int CopyField(long nSize, short* out, short Change::*field) const;

  short m_sequence{0};
  short m_state{0};
  short m_character{0};
  short m_koPoint{0};
  short m_moverColor{0};
  std::vector<Change> m_changes;  // NumOfChanged entries
  std::vector<short> m_clearedKo;  // ko marks cleared by this move, in board order
};

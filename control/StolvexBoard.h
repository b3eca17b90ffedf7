#pragma once
// The board control's model without a window: board state and rules, the click test, applying
// moves, the move history and its walks, and the marking at the end of a game. The control feeds
// it hit-tested clicks and automation calls; it answers through a CBoardEventSink.

#include <array>
#include <cstdint>
#include <vector>

#include "control/BoardEventSink.h"
#include "control/BoardMarking.h"
#include "control/GoBoard.h"
#include "control/StoneList.h"
#include "control/StolvexTypes.h"
#include "platform/strings.h"

class CStolvexBoard {
public:
  // module (may be null) counts the history list and records while they live.
  explicit CStolvexBoard(CBoardEventSink& sink, CComModule* module = nullptr);
  ~CStolvexBoard();
  CStolvexBoard(const CStolvexBoard&) = delete;
  CStolvexBoard& operator=(const CStolvexBoard&) = delete;

  // ---- New game ----
  // Empty board and history, default modes; Enable, Test, prisoners and the last capture count stay.
  void Init();

  // ---- Properties ----
  LONG GetGameMode() const { return m_gameMode; }
  void SetGameMode(LONG mode) { m_gameMode = mode; }
  short GetUserColor() const { return m_userColor; }
  // Also gives the turn to the local player when the colour is Black.
  void SetUserColor(short colour);
  short GetNumOfAdvatage() const { return m_numOfAdvantage; }
  void SetNumOfAdvatage(short count) { m_numOfAdvantage = count; }
  short GetLogicalPos() const { return m_logicalPos; }
  // 1000 or more stores the value less 1000; a negative value is refused.
  void SetLogicalPos(short position);
  short GetBreakPoint() const { return m_breakPoint; }
  // Also remembers the present record count for Again; a negative value is refused.
  void SetBreakPoint(short position);
  short GetEnable() const { return m_enable; }
  void SetEnable(short enable) { m_enable = enable; }
  short GetRotate() const { return m_rotate; }
  void SetRotate(short rotate) { m_rotate = rotate; }
  short GetTest() const { return m_test; }
  void SetTest(short test) { m_test = test; }

  short GetLastColor() const { return m_lastColor; }
  LONG GetMyTurn() const { return m_myTurn; }
  // The turn goes to the local player for flag 1, away for anything else.
  void SetMyTurn(short flag) { m_myTurn = (flag == 1) ? 1 : 0; }
  // Stones removed by the most recent move that captured.
  short GetChangedCount() const { return m_lastCaptureCount; }
  short GetBlackPrisoners() const { return m_blackPrisoners; }
  short GetWhitePrisoners() const { return m_whitePrisoners; }
  // Colour 4 sets the black prisoners, colour 2 the white ones; other colours are ignored.
  void SetHandicap(short colour, short count);
  short GetLastMovePoint() const { return m_lastMovePoint; }
  short GetMovedBackCount() const { return m_movedBack; }

  // ---- Clicks and moves ----
  // A left click in hit region `region` (-1: outside every region). Fires Position for a click
  // that may become a move, ErrorEvent for a refusal; never places a stone.
  void OnClick(int region);
  // Applies a move with its captures and records it; row and col both above 19 record a pass.
  void SetDrawStone(short row, short col, short colour, short count);

  // ---- History ----
  // Undo one move; ErrorEvent 5 at the start. flag 0 asks for a repaint outside REPLAY.
  void GoPrev(short flag);
  // Redo one move; ErrorEvent 4 when there is none. flag 0 asks for a repaint.
  void GoNext(short flag);
  // Back to the break point, dropping the records added after it (REPLAY only, else ErrorEvent 7).
  void Again();
  // Takes back the current move and deletes its record; nothing without one.
  void TakeBackLastMove();
  CStoneList& StoneList() const { return *m_list; }
  // Records whose State equals state, in history order (no references taken).
  std::vector<CStoneInfo*> GetStone(short state) const;
  // "|" + column and row letters of each such record + "|"; empty when none matches.
  CString GetStone2(short state) const;
  // Appends a copy of every record of source (without labels, states and ko points); the board,
  // LogicalPos and the source stay as they are.
  void SetStoneList(IStoneList* source);
  // Appends a record built from a move number, the mover's colour and the change entries (entry 0
  // the own point). False, with ErrorEvent 6, when the record cannot be made.
  bool AppendCopiedRecord(short sequence, short moverColor, const std::vector<CStoneInfo::Change>& entries);
  // Sets the label of the record of a point (PLAY or RANDOM mode, else ErrorEvent 7).
  void SetDrawChar(short row, short col, short character);
  // The record of a point: the first in the history whose own point it is; null when none.
  CStoneInfo* RecordAt(int index) const;

  // ---- Marking at the end of a game ----
  void RemoveStone(short mask);
  void SetStone(short row, short col, short mask) { m_marking.SetStone(row, col, mask); }
  void UnCheckStone(short mask) { m_marking.UnCheckStone(mask); }
  CString GetBigPos(short mask) const { return m_marking.GetBigPos(mask); }
  void SetBigPos(short index, short flag) { m_marking.SetBigPos(index, flag); }
  short GetResultAt(int index) const { return m_marking.ResultAt(index); }
  short GetDeadMark(int index) const { return m_marking.DeadMark(index); }

  // ---- Board reading and painting ----
  std::uint16_t GetCell(int index) const { return m_board.At(index); }
  short GetSequence(int index) const { return m_board.Sequence(index); }
  // What painting one point changes: a REDRAW cell becomes NONE and the point's record State 1;
  // an INVALID cell keeps its value and its record's State becomes 1.
  void OnPointPainted(int index);
  // OnPointPainted for every point a paint draws.
  void OnBoardPainted();
  // Points changed by the last GoPrev or GoNext.
  int GetRedrawCount() const { return m_redrawCount; }
  short GetRedrawPoint(int k) const { return m_redraw[k]; }
  // The point whose last-move mark stands for the pass that is the current move; -1 when the
  // current move is not a recorded pass or there is no point to mark.
  short GetPassMarkPoint() const;

private:
  friend class CBoardMarking;

  // A recorded pass: its move number and the point to mark while it is current.
  struct PassMark {
    short moveNumber{0};
    short markPoint{NO_POINT};
  };
  enum class KoOutcome { NotKo, Allowed, Refused };

  void Fire(short code) { m_sink.FireErrorEvent(code); }
  int RegionToPoint(int region) const;
  bool HandleTerritoryClick(int region);
  KoOutcome TestKoPoint(int index);
  void FirePosition(int index);
  void ClearKoMarks();
  short ClearMoveMarks();
  void ClearRedrawCells();
  void UndoTrialStone(int index, short colour);
  void DiscardRedoRecords(short colour);
  void RecordPass(short colour);
  // A new record for the next move; null when memory ran out or the move number would overflow.
  CStoneInfo* NewRecord();
  // Empties the groups the stone at index captured; returns how many stones it took.
  int RemoveCapturedStones(int index, CStoneInfo& record);
  void EmptyCapturedGroup(CStoneInfo& record);
  void AddPrisoners(short capturedColour, int count);
  void PassTurn();
  static short MoverOf(const CStoneInfo& record);
  void ApplyPrevValues(const CStoneInfo& record, bool listRedraw);
  void ApplyAfterValues(const CStoneInfo& record);
  void ClearRecordedKo(const CStoneInfo& record);
  void RestoreRecordedKo(const CStoneInfo& record);
  void AddRedraw(int index);
  void ResetHistory();
  // Reads a foreign record's entries, leaving out positions off the board; false when the record's
  // own point is off the board (and not a pass).
  static bool ReadChanges(IStoneInfo& from, std::vector<CStoneInfo::Change>& entries);

  CBoardEventSink& m_sink;
  CComModule* m_module{nullptr};
  CGoBoard m_board;
  CBoardMarking m_marking{*this};
  CStoneList* m_list{nullptr};            // holds one reference
  std::vector<PassMark> m_passes;         // every pass recorded since Init
  std::array<short, POINT_COUNT + 1> m_redraw{};  // changed points of the last walk, own ko point included
  int m_redrawCount{0};
  std::vector<short> m_clearedKo;         // ko marks cleared by the move being applied

  LONG m_gameMode{PLAY};
  short m_userColor{NONE};
  short m_lastColor{WHITE};               // so that Black moves first
  LONG m_myTurn{0};
  short m_enable{1};
  short m_rotate{0};
  short m_test{0};
  short m_numOfAdvantage{0};
  short m_logicalPos{0};                  // moves applied: the 1-based index of the current record
  short m_movedBack{0};                   // moves undone by GoPrev since the last new move
  short m_breakPoint{0};
  short m_savedCount{0};                  // record count when the break point was put
  short m_blackPrisoners{0};              // black stones captured so far
  short m_whitePrisoners{0};              // white stones captured so far
  short m_lastCaptureCount{0};
  short m_lastMovePoint{NO_POINT};
};

#pragma once
// Marks made at the end of a game: dead groups toggled by clicks, territory marked by clicks or
// by the other side, and the result values written for display. Works on the board and records
// of its CStolvexBoard.

#include <array>

#include "control/StolvexTypes.h"
#include "platform/strings.h"

class CStolvexBoard;

class CBoardMarking {
public:
  explicit CBoardMarking(CStolvexBoard& owner);

  // Every dead mark and result value back to 1.
  void Reset();

  // A click on index in CHECK_STONE mode: marks or unmarks the dead region of the opponent's
  // stone there (ErrorEvent 8), or refuses with 3 or 7.
  void ToggleDeadGroup(int index);
  // True when a territory-mode click on index was handled here: an empty point is marked with
  // its empty region, a marked one unmarked with its region (ErrorEvent 8).
  bool ToggleTerritory(int index);

  // Writes a result value (RESULT mode) or a mark into the cell and the record of a point.
  void SetStone(short row, short col, short mask);
  // Removes every stone whose cell shares a bit with mask, without counting prisoners.
  void RemoveMarkedStones(short mask);
  // Clears the territory bit mask (256, 512 or 1024), or turns marked stones back to plain stones.
  void UnCheckStone(short mask);
  // "|" + column and row letters of every point sharing a bit with mask + "|"; empty when none
  // matches or territory mode is off.
  CString GetBigPos(short mask) const;
  // The other side's territory mark (flag < 0), a mark of this side (0), or a confirmation (> 0).
  void SetBigPos(short index, short flag);

  short ResultAt(int index) const { return IsBoardPoint(index) ? m_result[index] : 0; }
  short DeadMark(int index) const { return IsBoardPoint(index) ? m_deadMark[index] : 0; }

private:
  void ClearDeadMarks() { m_deadMark.fill(1); }
  void MarkDeadGroup(int index, int mark);
  bool HasEmptyNeighbour(int index) const;
  void MarkTerritory(int index, int bit);
  void UnmarkTerritory(int index, int bit);
  static bool IsExactlyEmpty(int cell) { return cell == NONE || cell == REDRAW || cell == INVALID; }

  CStolvexBoard& m_owner;
  std::array<short, POINT_COUNT> m_deadMark{};  // visited marks of the dead-region flood over empty points
  std::array<short, POINT_COUNT> m_result{};    // values written in RESULT mode
  std::array<short, 4 * POINT_COUNT + 1> m_stack{};  // work stack of the floods: a point may be queued once per neighbour
};

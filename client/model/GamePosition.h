#pragma once
// CGamePosition: the game a board shows: the moves played (this array; element 0 is a null
// placeholder, element i is move i), the move shown, the ko point and what every move captured.
// It applies the rules when a move is added and walks the board back and forth through the game.
// It is the only writer of its board's cells.

#include "client/model/CaptureHistory.h"
#include "client/model/NodeArray.h"

class CBadukBoard;
class CGroupFinder;

class CGamePosition : public CNodeArray {
public:
  explicit CGamePosition(CBadukBoard* board);
  ~CGamePosition() override;
  CGamePosition(const CGamePosition&) = delete;
  CGamePosition& operator=(const CGamePosition&) = delete;

  // Plays a stone at (x, y), an empty point 1..19, as move current + 1 (dropping the moves after
  // the shown one when browsing). 0, or 1103 (suicide) / 1104 (ko) with nothing changed.
  int AddMove(int x, int y, BOOL isBlack, int time, BOOL markLast);
  // One move forward or back; 1 when the board moved, else 0.
  int GoNext();
  int GoPrevious();
  // Shows the move index, clamped to 0..last; returns the new current index.
  int GoTo(int index);
  // The board shows an earlier position than the last move.
  BOOL IsBrowsing() const { return m_current != m_last; }
  // While browsing, drops the moves after the shown one; otherwise does nothing.
  void Truncate();
  // Removes the last move (taking it back from the board unless browsing); returns 0.
  int UndoLast();
  // Appends to out a new copy of each of the moves 1..current; returns 1.
  int CopyMoves(CNodeArray* out) const;

  // GetNode (index) of the array gives move index, or null for 0 and out of range.
  CStoneNode* GetCurrentNode() const { return GetNode(m_current); }
  CStoneNode* GetLastNode() const { return GetNode(m_last); }
  int GetCurrentIndex() const { return m_current; }
  int GetLastIndex() const { return m_last; }
  // The ko point in force for the next move: (0, 0) when none.
  void GetKoPoint(int& x, int& y) const { x = m_koX; y = m_koY; }
  const CCaptureHistory& GetCaptureHistory() const { return m_captures; }

private:
  // Walks the board from move from to move to, then shows to.
  void Step(int to, int from);
  void TakeBack(int index);
  void Replay(int index);
  // Copies the stones captured by the new move into a list and takes them off the board.
  CNodeArray* RemoveCaptured(const CGroupFinder& finder);
  void DropMovesAfter(int index);

  CBadukBoard* m_board;
  int m_last{0};
  int m_current{0};
  int m_koX{0};
  int m_koY{0};
  CCaptureHistory m_captures;
};

#pragma once
// CDelayBoard: what the delay queue needs of the board window it feeds.

class CDelayBoard {
public:
  virtual ~CDelayBoard() = default;

  // True while the user looks at a position other than the latest move.
  virtual bool IsBrowsing() const = 0;
  // Empties the board's game.
  virtual void ResetBoard() = 0;
  // Plays a stone; colour 1 white, 2 black; markLast 1 marks it as the last move.
  virtual void PlaceStone(int x, int y, int colour, int time, int markLast) = 0;
  // Takes the last move back.
  virtual void UndoMove(int flags) = 0;
};

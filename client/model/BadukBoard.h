#pragma once
// CBadukBoard: the board of a board window without the window: its 19 x 19 cells, the game it
// shows, the capture counts and the colour to play, and the placing of stones. The board window
// derives from it and turns the notification hooks into messages to its parent and redrawing.

#include "client/model/GamePosition.h"
#include "client/model/StoneNode.h"

class CBadukBoard {
public:
  // Error codes of placing stones and of queries.
  static constexpr int kStoneExists = 1102;  // ER_STONEEXIST: the point is occupied
  static constexpr int kSuicide = 1103;
  static constexpr int kKo = 1104;
  static constexpr int kOutOfRange = 1105;
  static constexpr int kBadColour = 1106;

  CBadukBoard();
  virtual ~CBadukBoard() = default;
  CBadukBoard(const CBadukBoard&) = delete;
  CBadukBoard& operator=(const CBadukBoard&) = delete;

  // Places a stone of colour (1 white, 2 black) at (x, y) as the next move; 0, 1102, 1103, 1104,
  // 1105 (point outside 1..19) or 1106 (colour). Nothing changes on a refusal; 1103 and 1104
  // are also reported through OnMoveRefused.
  int PlaceStone(int x, int y, int colour, int time, BOOL markLast);

  // The cell at (x, y); both must be 0..19 (the position reads and writes 1..19 only).
  CStoneNode& GetCell(int x, int y) { return m_cells[x][y]; }
  const CStoneNode& GetCell(int x, int y) const { return m_cells[x][y]; }
  // True when a stone stands at (x, y); false outside the board.
  BOOL HasStoneAt(int x, int y) const;
  // Captured black stones for colour 2, captured white stones otherwise.
  int GetCaptures(int colour) const { return colour == 2 ? m_capturedBlack : m_capturedWhite; }
  // Adds (add != 0) or subtracts n to or from the count of captured black (capturedAreBlack) or
  // white stones, then reports both counts through OnCapturesChanged.
  void UpdateCaptures(BOOL add, BOOL capturedAreBlack, int n);
  int GetColourToPlay() const { return m_colourToPlay; }
  void SetColourToPlay(int colour) { m_colourToPlay = colour; }
  // Colour to play from the shown move: white after a black stone, black otherwise.
  void UpdateColourToPlay();

  CGamePosition& GetPosition() { return m_position; }
  const CGamePosition& GetPosition() const { return m_position; }

  // Hooks for the window; they do nothing here.
  // Redraw one point, with the last-move mark when mark is nonzero.
  virtual void DrawCell(int x, int y, BOOL mark) { (void)x; (void)y; (void)mark; }
  // A capture count changed.
  virtual void OnCapturesChanged(int capturedBlack, int capturedWhite) {
    (void)capturedBlack;
    (void)capturedWhite;
  }
  // The shown position changed: wParam and lParam as the window's change message carries them.
  virtual void OnPositionChanged(WPARAM wParam, LPARAM lParam) { (void)wParam; (void)lParam; }
  // PlaceStone put node (point, State, Seq of the new stone) on the board.
  virtual void OnStonePlaced(const CStoneNode& node) { (void)node; }
  // The rules refused a stone with code (1103 or 1104).
  virtual void OnMoveRefused(int code) { (void)code; }

  static bool IsOnBoard(int x, int y) { return x >= 1 && x <= 19 && y >= 1 && y <= 19; }

private:
  CStoneNode m_cells[20][20];  // [x][y]; row and column 0 unused
  int m_capturedBlack{0};      // black stones captured at the shown position
  int m_capturedWhite{0};
  int m_colourToPlay{2};
  CGamePosition m_position;
};

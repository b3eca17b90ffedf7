#pragma once
// Cell words, game-mode bits, refusal codes and point arithmetic shared by the board control's classes.

#include <cstdint>

// Bits of a board cell; the same names serve as the bits of the 32-bit game-mode word.
enum tagSTATE : std::uint16_t {
  NONE = 1,             // empty point: the only bit that counts as a liberty
  BLACK = 2,
  WHITE = 4,
  REDRAW = 8,           // emptied by a capture, until painted or the next move
  INVALID = 16,         // ko point left by the last capture of one stone
  DIE = 32,             // stone marked dead
  EAT = 64,
  BORDER = 128,
  CHECKED = 256,        // territory mark made by this side
  SELF = 512,           // territory mark made by the other side
  PLAY = 1024,          // game mode: a game against another player
  RANDOM = 2048,        // game mode: free play, colours alternate
  SEQ = 4096,           // game mode: move numbers shown
  CHECK_STONE = 8192,   // game mode: clicks toggle dead groups
  REPLAY = 16384,       // game mode: replay of a record
  RESULT = 32768,       // game mode: result display
};

// Game-mode bits without a name of their own.
constexpr std::int32_t MODE_SELF_PLAY = 0x10000;  // the first click switches RANDOM on
constexpr std::int32_t MODE_TERRITORY = 0x20000;  // clicks toggle territory marks

// Reasons given with ErrorEvent.
enum tagErrorCode : short {
  STONE_EXIST = 0,
  NOT_PLAYER = 1,
  YOU_EATED = 2,
  NO_PLACE = 3,
  ERROR_GO_NEXT = 4,
  ERROR_GO_PREV = 5,
  OBJECT_CREATION_FAILED = 6,
  INVALID_GAMEMODE = 7,
  MARK_TOGGLED = 8,     // a dead-stone or territory mark was toggled
  INPUT_DISABLED = 10,  // a click while input is off
};

constexpr int BOARD_LINES = 19;
constexpr int POINT_COUNT = BOARD_LINES * BOARD_LINES;
constexpr int NO_POINT = -1;

// Letter of a row or column 0..18 in point texts ("dc", "|ed|").
constexpr char PointLetter(int line) { return "abcdefghijklmnopqrs"[line]; }

// The colour that moves against c: White for anything with the Black bit, else Black.
constexpr short OppositeColor(int c) { return (c & BLACK) ? WHITE : BLACK; }
constexpr bool IsBoardPoint(int index) { return index >= 0 && index < POINT_COUNT; }
// True for a row and column that both lie on the 19x19 grid.
constexpr bool IsBoardRowCol(int row, int col) {
  return row >= 0 && row < BOARD_LINES && col >= 0 && col < BOARD_LINES;
}
// Row and column both above 19 mean a pass.
constexpr bool IsPassRowCol(int row, int col) { return row > 19 && col > 19; }
// The point shown in the region of index while the board is turned.
constexpr int RotateIndex(int index) { return POINT_COUNT - 1 - index; }

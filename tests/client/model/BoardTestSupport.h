#pragma once
// Test and benchmark helpers for the relay board: a board that records what it reports, a text picture of
// the stones, and the moves of an SGF game record.

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "client/model/BadukBoard.h"

namespace boardtest {

struct Move {
  int x;
  int y;
  int colour;  // 2 black, 1 white
};

// A board that keeps the notifications it sends.
class RecordingBoard : public CBadukBoard {
public:
  void DrawCell(int x, int y, BOOL mark) override { draws.push_back({x, y, mark}); }
  void OnCapturesChanged(int black, int white) override { captures.emplace_back(black, white); }
  void OnPositionChanged(WPARAM wParam, LPARAM lParam) override { changes.emplace_back(wParam, lParam); }
  void OnStonePlaced(const CStoneNode& node) override { placed.push_back(node); }
  void OnMoveRefused(int code) override { refused.push_back(code); }

  struct Draw {
    int x;
    int y;
    BOOL mark;
  };
  std::vector<Draw> draws;
  std::vector<std::pair<int, int>> captures;
  std::vector<std::pair<WPARAM, LPARAM>> changes;
  std::vector<CStoneNode> placed;
  std::vector<int> refused;
};

// 19 rows of ".", "X" (black) and "O" (white), row 1 first.
inline std::string Picture(const CBadukBoard& board) {
  std::string text;
  for (int y = 1; y <= 19; ++y) {
    for (int x = 1; x <= 19; ++x) {
      const CStoneNode& cell = board.GetCell(x, y);
      text += !cell.HasStone() ? '.' : cell.IsBlack() ? 'X' : 'O';
    }
    text += '\n';
  }
  return text;
}

// Places moves in order; returns the index of the first refused one, or -1.
inline int PlaceAll(CBadukBoard& board, const std::vector<Move>& moves) {
  for (std::size_t i = 0; i < moves.size(); ++i)
    if (board.PlaceStone(moves[i].x, moves[i].y, moves[i].colour, 0, TRUE) != 0) return static_cast<int>(i);
  return -1;
}

// The B[..] and W[..] moves of an SGF text, passes (empty or "tt") left out.
inline std::vector<Move> ExtractSgfMoves(const std::string& text) {
  std::vector<Move> moves;
  for (std::size_t i = 0; i + 5 < text.size(); ++i) {
    if (text[i] != ';' || (text[i + 1] != 'B' && text[i + 1] != 'W')) continue;
    if (text[i + 2] != '[' || text[i + 5] != ']') continue;
    const int x = text[i + 3] - 'a' + 1;
    const int y = text[i + 4] - 'a' + 1;
    if (x < 1 || x > 19 || y < 1 || y > 19) continue;  // "tt" is a pass
    moves.push_back({x, y, text[i + 1] == 'B' ? 2 : 1});
  }
  return moves;
}

// The moves of the SGF file at path.
inline std::vector<Move> LoadSgfMoves(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return ExtractSgfMoves(text.str());
}

}  // namespace boardtest

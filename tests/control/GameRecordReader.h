#pragma once
// Reads the moves of a plain SGF game record for replay tests: colour, row and column of each
// move, a pass as row and column 20.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "control/StolvexTypes.h"

struct RecordedMove {
  short colour, row, col;
};

inline std::vector<RecordedMove> ReadGameMoves(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  const std::string sgf = text.str();
  std::vector<RecordedMove> moves;
  for (std::size_t at = sgf.find(';'); at != std::string::npos; at = sgf.find(';', at + 1)) {
    if (at + 2 >= sgf.size() || (sgf[at + 1] != 'B' && sgf[at + 1] != 'W') || sgf[at + 2] != '[')
      continue;
    const short colour = sgf[at + 1] == 'B' ? BLACK : WHITE;
    const std::size_t close = sgf.find(']', at);
    const std::string point = sgf.substr(at + 3, close - at - 3);
    if (point.size() != 2 || point == "tt")
      moves.push_back({colour, 20, 20});
    else
      moves.push_back({colour, static_cast<short>(point[1] - 'a'), static_cast<short>(point[0] - 'a')});
  }
  return moves;
}

// The points listed after "key=" in the game comment ("black=ea,oa,... "), as board indexes.
inline std::vector<int> ReadFinalStones(const std::string& path, const std::string& key) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  const std::string sgf = text.str();
  std::vector<int> points;
  std::size_t at = sgf.find(" " + key + "=");
  if (at == std::string::npos)
    return points;
  at += key.size() + 2;
  while (at + 1 < sgf.size() && sgf[at] >= 'a' && sgf[at] <= 's') {
    points.push_back((sgf[at + 1] - 'a') * 19 + (sgf[at] - 'a'));
    at += 2;
    if (sgf[at] != ',')
      break;
    ++at;
  }
  return points;
}

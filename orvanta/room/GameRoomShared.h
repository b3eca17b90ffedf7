#pragma once
// What the game room's sources share: colours, board masks and small readers of texts.

#include <string>
#include <vector>

#include <platform/strings.h>

#include "orvanta/room/RoomMessages.h"

namespace gameroom {

constexpr short kBlack = 2;
constexpr short kWhite = 4;
constexpr short kDieMask = 32;
constexpr short kBlackStalemate = 256;
constexpr short kOwnStalemate = 512;
constexpr int kBoardPoints = 361;

inline CString Number(long value) {
  CString text;
  text.Format("%ld", value);
  return text;
}

// The points of a board's point text: "|ed|fd|", or letters two a point one after the other.
inline std::vector<int> PointsOf(const CString& text) {
  std::vector<int> points;
  const std::string& letters = text.str();
  if (letters.find('|') != std::string::npos) {
    for (const CString& field : CRoomMessages::Split(letters.front() == '|' ? text : "|" + text)) {
      int index = CRoomMessages::PointIndex(field);
      if (index >= 0) points.push_back(index);
    }
    return points;
  }
  for (std::size_t i = 0; i + 1 < letters.size(); i += 2) {
    int index = CRoomMessages::PointIndex(text.Mid(static_cast<int>(i), 2));
    if (index >= 0) points.push_back(index);
  }
  return points;
}

inline CString Field(const std::vector<CString>& fields, std::size_t index) {
  return index < fields.size() ? fields[index] : CString();
}

}  // namespace gameroom

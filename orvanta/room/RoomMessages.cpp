#include "orvanta/room/RoomMessages.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kBoardSize = 19;
constexpr int kBoardPoints = kBoardSize * kBoardSize;
constexpr char kLetters[] = "abcdefghijklmnopqrs";

CString FieldAt(const std::vector<CString>& fields, int index) {
  return index >= 0 && index < static_cast<int>(fields.size()) ? fields[static_cast<std::size_t>(index)] : CString();
}

int Letter(char ch) { return ch >= 'a' && ch <= 's' ? ch - 'a' : -1; }

}  // namespace

std::vector<CString> CRoomMessages::Split(const CString& payload) {
  std::vector<CString> fields;
  const std::string& text = payload.str();
  if (text.empty()) return fields;
  // The first character is the separator in front of field 0.
  std::size_t start = 1;
  for (std::size_t at = text.find('|', 1); at != std::string::npos; at = text.find('|', at + 1)) {
    fields.emplace_back(text.substr(start, at - start).c_str());
    start = at + 1;
  }
  return fields;
}

int CRoomMessages::ClampedCount(const std::vector<CString>& fields, int countField, int width) {
  long count = std::labs(std::atol(FieldAt(fields, countField)));
  long present = std::max<long>(static_cast<long>(fields.size()) - countField - 1, 0) / width;
  return static_cast<int>(std::min(count, present));
}

CRoomMessages::Person CRoomMessages::PersonAt(const std::vector<CString>& fields, int first) {
  return {FieldAt(fields, first), FieldAt(fields, first + 1), FieldAt(fields, first + 2),
          FieldAt(fields, first + 3)};
}

std::vector<CRoomMessages::Person> CRoomMessages::ReadObserverList(const CString& text) {
  std::vector<CString> fields = Split(text);
  int count = ClampedCount(fields, 0, 4);
  std::vector<Person> observers;
  for (int i = 0; i < count; ++i) observers.push_back(PersonAt(fields, 1 + 4 * i));
  return observers;
}

CRoomMessages::EnterRoom CRoomMessages::ReadEnterRoom(const CString& payload) {
  std::vector<CString> fields = Split(payload);
  EnterRoom room;
  room.sections = FieldAt(fields, 0);
  // The sections follow one another in the order field 0 names them.
  int cursor = 1;
  for (char section : room.sections.str()) {
    if (section == 'P' && !room.hasPlayers) {
      room.hasPlayers = true;
      room.seats = FieldAt(fields, cursor++);
      int entries = room.seats == "A" ? 2 : (room.seats == "B" || room.seats == "W") ? 1 : 0;
      for (int i = 0; i < entries; ++i, cursor += 4) room.players.push_back(PersonAt(fields, cursor));
    } else if (section == 'O' && !room.hasObservers) {
      room.hasObservers = true;
      int count = ClampedCount(fields, cursor, 4);
      bool cut = std::labs(std::atol(FieldAt(fields, cursor))) > count;
      for (int i = 0; i < count; ++i) room.observers.push_back(PersonAt(fields, cursor + 1 + 4 * i));
      // A count larger than the fields present names every field that follows.
      cursor = cut ? static_cast<int>(fields.size()) : cursor + 1 + 4 * count;
    } else if (section == 'M' && !room.hasMoveNumber) {
      room.hasMoveNumber = true;
      room.moveNumber = FieldAt(fields, cursor++);
    }
  }
  return room;
}

CRoomMessages::Condition CRoomMessages::ReadCondition(const CString& payload) {
  std::vector<CString> fields = Split(payload);
  Condition condition;
  condition.black = PersonAt(fields, 2);
  condition.white = PersonAt(fields, 6);
  condition.handicapText = FieldAt(fields, 10);
  condition.handicap = static_cast<short>(std::atoi(condition.handicapText));
  condition.komi = FieldAt(fields, 11);
  condition.timeText = FieldAt(fields, 12);
  condition.mainSeconds = static_cast<LONG>(std::clamp<long>(std::atol(condition.timeText), 0, INT32_MAX));
  condition.periodSecondsText = FieldAt(fields, 13);
  condition.periodSeconds = static_cast<short>(std::clamp(std::atoi(condition.periodSecondsText), 0, 32767));
  condition.periodsText = FieldAt(fields, 14);
  condition.periods = static_cast<short>(std::clamp(std::atoi(condition.periodsText), 0, 32767));
  return condition;
}

BOOL CRoomMessages::ReadMove(const CString& payload, Move& move) {
  std::vector<CString> fields = Split(payload);
  Move read;
  read.number = FieldAt(fields, 2);
  read.node = FieldAt(fields, 3);
  read.time = FieldAt(fields, 4);
  const std::string& node = read.node.str();
  if (node.size() != 5 || (node[0] != 'B' && node[0] != 'W') || node[1] != '[' || node[4] != ']') return FALSE;
  read.colour = node[0] == 'B' ? 2 : 4;
  if (node.compare(2, 2, "tt") == 0) {
    read.pass = true;
    read.row = read.column = 20;
  } else {
    int column = Letter(node[2]);
    int row = Letter(node[3]);
    if (column < 0 || row < 0) return FALSE;
    read.column = static_cast<short>(column);
    read.row = static_cast<short>(row);
  }
  // The stone counts even when its time does not read: such a time is 0.
  const std::string& time = read.time.str();
  std::size_t open = time.find('[');
  std::size_t close = open == std::string::npos ? std::string::npos : time.find(']', open);
  std::string digits = close == std::string::npos ? std::string() : time.substr(open + 1, close - open - 1);
  const bool number = !digits.empty() && digits.size() <= 9 && std::all_of(digits.begin(), digits.end(), ::isdigit);
  read.secondsLeft = number ? std::atol(digits.c_str()) : 0;
  move = read;
  return TRUE;
}

CRoomMessages::Entered CRoomMessages::ReadEntered(const CString& payload) {
  std::vector<CString> fields = Split(payload);
  Entered entered;
  entered.observer = PersonAt(fields, 1);
  entered.status = std::atoi(FieldAt(fields, 5));
  entered.role = std::atoi(FieldAt(fields, 6));
  entered.owner = FieldAt(fields, 7);
  return entered;
}

CRoomMessages::DeadStones CRoomMessages::ReadDeadStones(const CString& payload) {
  std::vector<CString> fields = Split(payload);
  DeadStones stones;
  stones.black = FieldAt(fields, 2) == "B";
  stones.points = ReadPointList(payload, 3);
  return stones;
}

CRoomMessages::Count CRoomMessages::ReadCount(const CString& payload) {
  std::vector<CString> fields = Split(payload);
  Count count;
  count.result = FieldAt(fields, 2);
  count.owners = FieldAt(fields, 3).Left(kBoardPoints);
  count.blackPoints = std::atof(FieldAt(fields, 4));
  count.blackStones = std::atof(FieldAt(fields, 5));
  count.whitePoints = std::atof(FieldAt(fields, 6));
  count.whiteStones = std::atof(FieldAt(fields, 7));
  count.komi = std::atof(FieldAt(fields, 8));
  return count;
}

std::vector<int> CRoomMessages::ReadPointList(const CString& payload, int countField) {
  std::vector<CString> fields = Split(payload);
  int count = ClampedCount(fields, countField, 1);
  std::vector<int> points;
  for (int i = 0; i < count; ++i) {
    int index = PointIndex(FieldAt(fields, countField + 1 + i));
    if (index >= 0) points.push_back(index);
  }
  return points;
}

int CRoomMessages::PointIndex(const CString& point) {
  if (point.GetLength() != 2) return -1;
  int column = Letter(point[0]);
  int row = Letter(point[1]);
  return column < 0 || row < 0 ? -1 : column + kBoardSize * row;
}

CString CRoomMessages::PointText(int column, int row) {
  if (column < 0 || column >= kBoardSize || row < 0 || row >= kBoardSize) return "tt";
  char text[3] = {kLetters[column], kLetters[row], 0};
  return text;
}

#include "walk/OrvantaBoardModel.h"

#include <algorithm>
#include <cstdlib>

#include "peers/orvanta/PlaceModel.h"

namespace {

constexpr const char* kLetters = "abcdefghijklmnopqrs";

std::string At(const std::vector<std::string>& fields, std::size_t index) {
  return index < fields.size() ? fields[index] : std::string();
}

int Letter(char c) { return c >= 'a' && c <= 's' ? c - 'a' : -1; }

std::string PointOf(int index) { return {kLetters[index % 19], kLetters[index / 19]}; }

// The message code as the client reads a record's major and minor: majors 2 and 4 stand for 3 and 5.
int CodeOf(const std::string& major, const std::string& minor) {
  const std::string reading = major == "2" ? "3" : major == "4" ? "5" : major;
  return std::atoi((reading + minor).c_str());
}

// A move node as the room takes it ("B[pd]", "W[tt]"): its colour and point (-1 a pass).
bool ReadNode(const std::string& node, char& colour, int& index) {
  if (node.size() != 5 || (node[0] != 'B' && node[0] != 'W') || node[1] != '[' || node[4] != ']') return false;
  colour = node[0];
  if (node.compare(2, 2, "tt") == 0) {
    index = -1;
    return true;
  }
  const int column = Letter(node[2]), row = Letter(node[3]);
  index = row * 19 + column;
  return column >= 0 && row >= 0;
}

template <class Visit>
void Neighbours(int index, Visit visit) {
  const int column = index % 19;
  if (column != 18) visit(index + 1);
  if (column != 0) visit(index - 1);
  if (index + 19 < 361) visit(index + 19);
  if (index - 19 >= 0) visit(index - 19);
}

}  // namespace

bool OrvantaBoardModel::MayChangeBoard(const std::string& major, const std::string& minor) {
  const int code = CodeOf(major, minor);
  // The room's codes, less its chat, notices, room information, clock and countdown, and the
  // waiting room's list of rooms.
  const bool room = (code >= 51 && code <= 59) || (code >= 500 && code <= 599);
  return room && code != 55 && code != 56 && code != 57 && code != 533 && code != 551 && code != 555 && code != 599;
}

void OrvantaBoardModel::OnConnectionLost() {
  m_inRoom = m_running = false;
  m_connection = -1;
}

void OrvantaBoardModel::NewBoard() {
  m_stones.fill(0);
  m_history.clear();
  m_lastColour = 'W';
  m_shownNumber = m_handicap = 0;
}

void OrvantaBoardModel::OnWritten(const PeerRecord& record) {
  if (record.connection != m_connection) {
    OnConnectionLost();
    m_connection = record.connection;
  }
  if (std::atoi(record.flag.c_str()) != 1) return;  // a refusal changes no board
  const std::vector<std::string> f = PeerFields(record.payload);
  const bool agreed = At(f, 2) != "0";
  switch (CodeOf(record.major, record.minor)) {
    case 53:
      // A first entry shows the room's own empty board; one while in the room is a re-entry.
      if (m_inRoom) break;
      m_inRoom = m_known = true;
      m_running = false;
      NewBoard();
      break;
    case 54:
      if (At(f, 3) == m_userId) m_inRoom = m_running = false;
      break;
    case 512:
      if (!m_inRoom || !agreed) break;
      NewBoard();
      m_known = m_running = true;
      m_userColour = At(f, 4) == m_userId ? 'B' : At(f, 8) == m_userId ? 'W' : 0;
      m_handicap = m_shownNumber = std::max(0, std::atoi(At(f, 11).c_str()));
      break;
    case 514: {
      char colour = 0;
      int index = -1;
      if (!m_inRoom || !m_known || !ReadNode(At(f, 3), colour, index)) break;
      m_shownNumber = std::atoi(At(f, 2).c_str()) + m_handicap;
      if (Place(colour, index)) m_history.push_back(Move{colour, index});
      break;
    }
    case 515: {
      if (!m_inRoom || !m_known || !agreed) break;
      // The server's move number after the undo: the moves above it come off.
      const int next = std::clamp(std::atoi(At(f, 3).c_str()), 0, 32767) + m_handicap;
      const int count = std::clamp(m_shownNumber + 1 - next, 0, static_cast<int>(m_history.size()));
      m_shownNumber = next - 1;
      TakeBack(count);
      break;
    }
    case 525:
    case 541:
      if (!m_inRoom || !agreed || At(f, 3).rfind("(;", 0) != 0) break;
      Restore(At(f, 3));
      break;
    case 516:
    case 519:
    case 520:
    case 523:
    case 524:
    case 526:
    case 527:
    case 528:
    case 542:
      break;  // questions, and ends and pauses that leave the stones as they are
    case 538:
    case 543:
    case 556:
      m_running = false;
      break;
    case 510:
      if (!At(f, 0).empty()) m_known = false;  // a running game's moves, which the model does not read
      break;
    default:
      // Counting, dead stones and what else the model does not follow.
      if (MayChangeBoard(record.major, record.minor)) m_known = m_running = false;
      break;
  }
}

bool OrvantaBoardModel::HasLiberty(int index, std::array<bool, 361>& seen) const {
  if (seen[index]) return false;
  seen[index] = true;
  bool found = false;
  Neighbours(index, [&](int next) {
    if (found) return;
    if (m_stones[next] == 0) found = true;
    else if (m_stones[next] == m_stones[index]) found = HasLiberty(next, seen);
  });
  return found;
}

void OrvantaBoardModel::RemoveGroup(int index) {
  const char colour = m_stones[index];
  m_stones[index] = 0;
  Neighbours(index, [&](int next) {
    if (m_stones[next] == colour) RemoveGroup(next);
  });
}

bool OrvantaBoardModel::Place(char colour, int index) {
  if (index < 0) {
    m_lastColour = colour;
    return true;
  }
  if (m_stones[index] != 0) return false;
  m_stones[index] = colour;
  bool captures = false;
  Neighbours(index, [&](int next) {
    std::array<bool, 361> seen{};
    if (m_stones[next] != 0 && m_stones[next] != colour && !HasLiberty(next, seen)) {
      RemoveGroup(next);
      captures = true;
    }
  });
  std::array<bool, 361> seen{};
  if (!captures && !HasLiberty(index, seen)) {
    m_stones[index] = 0;
    m_lastColour = colour == 'B' ? 'W' : 'B';
    return false;
  }
  m_lastColour = colour;
  return true;
}

void OrvantaBoardModel::Rebuild() {
  const std::vector<Move> moves = m_history;
  m_stones.fill(0);
  for (const Move& move : moves) Place(move.colour, move.index);
}

void OrvantaBoardModel::TakeBack(int count) {
  if (count <= 0) return;
  const char taken = m_history[m_history.size() - static_cast<std::size_t>(count)].colour;
  m_history.resize(m_history.size() - static_cast<std::size_t>(count));
  Rebuild();
  m_lastColour = taken == 'B' ? 'W' : 'B';
}

void OrvantaBoardModel::Restore(const std::string& sgf) {
  NewBoard();
  m_known = m_running = true;
  // The players' texts are host:id:name:grade.
  const auto player = [&](const char* tag) {
    const std::size_t at = sgf.find(tag);
    const std::size_t from = at == std::string::npos ? at : sgf.find(':', at);
    const std::size_t to = from == std::string::npos ? from : sgf.find(':', from + 1);
    return to == std::string::npos ? std::string() : sgf.substr(from + 1, to - from - 1);
  };
  m_userColour = player("PB[") == m_userId ? 'B' : player("PW[") == m_userId ? 'W' : 0;
  const std::size_t handicap = sgf.find("HA[");
  m_handicap = handicap == std::string::npos ? 0 : std::max(0, std::atoi(sgf.c_str() + handicap + 3));
  // Handicap stones first, then the moves in order.
  const std::size_t setup = sgf.find("AB[");
  for (std::size_t at = setup == std::string::npos ? setup : setup + 2; at != std::string::npos && sgf[at] == '[';
       at += 4) {
    char colour = 0;
    int index = -1;
    if (ReadNode("B" + sgf.substr(at, 4), colour, index) && index >= 0 && Place('B', index))
      m_history.push_back(Move{'B', index});
  }
  for (std::size_t at = sgf.find(';'); at != std::string::npos; at = sgf.find(';', at + 1)) {
    char colour = 0;
    int index = -1;
    if (ReadNode(sgf.substr(at + 1, 5), colour, index) && Place(colour, index)) m_history.push_back(Move{colour, index});
  }
  m_shownNumber = static_cast<int>(m_history.size());
}

std::string OrvantaBoardModel::LegalPoint(char colour, std::uint32_t arg) const {
  for (int i = 0; i < 361; ++i) {
    const int index = static_cast<int>((arg + static_cast<std::uint32_t>(i) * 7) % 361);
    OrvantaBoardModel trial = *this;
    if (m_stones[index] == 0 && trial.Place(colour, index)) return PointOf(index);
  }
  return "";
}

std::vector<std::string> OrvantaBoardModel::Differences(const std::vector<short>& cells) const {
  if (cells.size() != 361) return {"the board gives " + std::to_string(cells.size()) + " points"};
  std::vector<std::string> differences;
  const auto name = [](char c) { return std::string(c == 'B' ? "black" : c == 'W' ? "white" : "no stone"); };
  for (int i = 0; i < 361; ++i) {
    const char shown = (cells[i] & 2) ? 'B' : (cells[i] & 4) ? 'W' : 0;
    if (shown != m_stones[i])
      differences.push_back(PointOf(i) + " shows " + name(shown) + " where the moves received put " + name(m_stones[i]));
  }
  return differences;
}

#include "peers/orvanta/PlaceModel.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace {

std::string At(const std::vector<std::string>& fields, std::size_t index) {
  return index < fields.size() ? fields[index] : std::string();
}

// Major 0 carries the waiting-room list and advert requests too; the tests' users have member roles.
bool IsWaitingMajor(const std::string& major) { return major == "2" || major == "3"; }
bool IsRoomMajor(const std::string& major) { return major == "4" || major == "5"; }

// Room requests whose payload does not start with the room prefix: the negotiation answer, the
// observer's move of a list row, the leave after a countdown, the room-information query.
bool IsUnprefixedRoomMinor(const std::string& minor) {
  return minor == "5" || minor == "7" || minor == "13" || minor == "56";
}

// The answers of a seated player to the opponent's requests: undo, designation, draw, finish,
// pause and continue, counting, stalemate area.
bool IsPlayersAnswer(const PeerRecord& record) {
  static const char* const kMinors[] = {"16", "18", "20", "22", "24", "26", "35", "42", "45", "47"};
  return record.flag == "2" &&
         std::any_of(std::begin(kMinors), std::end(kMinors), [&](const char* m) { return record.minor == m; });
}

char Other(char colour) { return colour == 'B' ? 'W' : 'B'; }

}  // namespace

std::vector<std::string> PeerFields(const std::string& payload) {
  std::vector<std::string> fields;
  std::size_t from = payload.empty() || payload[0] != '|' ? 0 : 1;
  while (from < payload.size()) {
    const std::size_t bar = payload.find('|', from);
    if (bar == std::string::npos) {
      fields.push_back(payload.substr(from));
      break;
    }
    fields.push_back(payload.substr(from, bar - from));
    from = bar + 1;
  }
  return fields;
}

void PlaceModel::Reset() { *this = PlaceModel(); }

std::string PlaceModel::Where() const {
  std::string where;
  switch (m_screen) {
    case Screen::kNone: where = "not logged in"; break;
    case Screen::kStart: where = "the start screen"; break;
    case Screen::kWaitingRoom: where = "waiting room " + m_waitKey; break;
    case Screen::kForum: where = "the forum list" + (m_forumId.empty() ? "" : " at forum " + m_forumId); break;
    case Screen::kBoard: where = "board " + m_boardCode + " of forum " + m_boardForum; break;
    case Screen::kGameRoom: where = "game room " + m_room; break;
    case Screen::kList: where = "a list screen"; break;
  }
  if (m_wait == Stay::kIn && m_screen != Screen::kWaitingRoom) where += ", inside waiting room " + m_waitKey;
  if (m_wait == Stay::kLeft) where += ", waiting room " + m_waitKey + " left";
  if (m_roomStay == Stay::kIn && m_screen != Screen::kGameRoom) where += ", seated in game room " + m_room;
  if (m_roomStay == Stay::kIn) where += " of waiting room " + m_roomKey;
  if (m_roomStay == Stay::kLeft) where += ", game room " + m_room + " of waiting room " + m_roomKey + " left";
  return where;
}

std::string PlaceModel::Fault(const PeerRecord& record, const std::string& expected) const {
  return "(" + record.major + "," + record.minor + ") flag " + record.flag + " " + record.payload + ": " + expected +
         "; the user is at " + Where();
}

void PlaceModel::OnServerRecord(const PeerRecord& record) {
  if (record.flag == "0")
    return;  // a refusal places nobody
  const std::vector<std::string> f = PeerFields(record.payload);
  const int major = std::atoi(record.major.c_str());
  const int minor = std::atoi(record.minor.c_str());
  const int code = major * (minor >= 10 ? 100 : 10) + minor;
  switch (code) {
    case 11:
      m_screen = Screen::kStart;
      m_role = At(f, 0);
      // An unfinished game named by the login reply: waiting-room key, room, title, class.
      if (!At(f, 3).empty()) {
        m_resumeKey = At(f, 2);
        m_resumeRoom = At(f, 3);
      }
      break;
    case 36: {
      // The start screen's buttons: kind, number (the room's key) and name after the count.
      const std::size_t count = static_cast<std::size_t>(std::max(0, std::atoi(At(f, 0).c_str())));
      for (std::size_t i = 0; i < count && 3 * i + 3 < f.size(); ++i) m_startRooms.insert(f[3 * i + 2]);
      m_screen = Screen::kStart;
      break;
    }
    case 31:
      m_screen = Screen::kWaitingRoom;
      m_waitKey = !m_pendingEnter.empty() ? m_pendingEnter : At(f, 0);
    m_waitByHand = false;
      m_wait = Stay::kIn;
      m_pendingEnter.clear();
      break;
    case 52:
      m_joinRoom = At(f, 0);
      // A room opened for a frame the test keeps out of any waiting room: the leave that follows
      // names what the test set.
      if (m_wait != Stay::kIn)
        m_wait = Stay::kNone;
      break;
    case 53:
      // The client takes every entry while it sits in a room as a re-entry of that room, whatever
      // room the record names: it stays where it is.
      if (m_roomStay == Stay::kIn)
        break;
      m_screen = Screen::kGameRoom;
      m_room = At(f, 0);
      m_roomKey = !m_joinKey.empty() ? m_joinKey : m_waitKey;
      // Joined by the test's own hand: the room's first request says which waiting room names it.
      m_roomKeyByHand = m_joinKey.empty() && (m_waitByHand || m_wait == Stay::kNone);
      m_roomStay = Stay::kIn;
      m_game = Game();
      m_game.observer = At(f, 6) == "2";
      m_game.colour = At(f, 6) == "3" ? 'B' : At(f, 6) == "4" ? 'W' : 0;
      break;
    case 54:
      if (At(f, 3) == m_id && m_roomStay != Stay::kNone) {
        m_roomStay = Stay::kLeft;
        m_returnKey = m_roomKey;
        m_game = Game();
      }
      break;
    case 512:
      OnMatchStart(f);
      break;
    case 514:
      if (At(f, 3).size() > 1 && (At(f, 3)[0] == 'B' || At(f, 3)[0] == 'W')) {
        m_game.started = true;
        m_game.toPlay = Other(At(f, 3)[0]);
      }
      break;
    case 551:
    case 59:
      m_game.started = true;
      break;
    case 510:
      if (!At(f, 0).empty())
        m_game.started = true;
      break;
    case 515:
    case 516:
      m_game.toPlay = 0;  // an undo takes moves back: the turn is known again at the next move
      break;
    case 525:
    case 541:
      if (At(f, 3).rfind("(;", 0) == 0)
        OnWholeGame(At(f, 3));
      else
        m_game.started = true;
      break;
    case 71:
      m_screen = Screen::kForum;
      break;
    case 72: {
      m_forumId = At(f, 0);
      // Entries of code, caption, kind, number and target after the id, name and count.
      const std::size_t count = static_cast<std::size_t>(std::max(0, std::atoi(At(f, 2).c_str())));
      for (std::size_t i = 0; i < count && 3 + 5 * i + 4 < f.size(); ++i) {
        const std::string& kind = f[3 + 5 * i + 2];
        const std::string& target = f[3 + 5 * i + 4];
        if (kind == "2")
          m_boardTargets.insert(target);
        else if (kind == "4")
          m_forumRooms.insert(target);
      }
      break;
    }
    case 710:
      m_screen = Screen::kBoard;
      m_boardForum = At(f, 0);
      m_boardCode = At(f, 1);
      break;
    case 61:
    case 101:
      if (At(f, 0) != "0")
        m_screen = Screen::kList;
      break;
    case 112:
      m_invitedRooms.insert(At(f, 1));
      break;
    default:
      break;
  }
}

void PlaceModel::OnMatchStart(const std::vector<std::string>& f) {
  // a, b, the answer, then the black player's host, id, name and grade, the white player's, the
  // handicap.
  if (At(f, 2) == "0")
    return;
  m_game.started = true;
  m_game.colour = At(f, 4) == m_id ? 'B' : At(f, 8) == m_id ? 'W' : 0;
  m_game.observer = m_game.colour == 0;
  m_game.toPlay = std::atoi(At(f, 11).c_str()) >= 2 ? 'W' : 'B';
}

void PlaceModel::OnWholeGame(const std::string& sgf) {
  m_game.started = true;
  auto player = [&](const char* tag) {
    const std::size_t at = sgf.find(tag);
    if (at == std::string::npos)
      return std::string();
    const std::size_t from = sgf.find(':', at);
    const std::size_t to = from == std::string::npos ? from : sgf.find(':', from + 1);
    return to == std::string::npos ? std::string() : sgf.substr(from + 1, to - from - 1);
  };
  m_game.colour = player("PB[") == m_id ? 'B' : player("PW[") == m_id ? 'W' : 0;
  m_game.observer = m_game.colour == 0;
  char last = 0;
  for (std::size_t at = sgf.find(';'); at != std::string::npos; at = sgf.find(';', at + 1))
    if (at + 2 < sgf.size() && (sgf[at + 1] == 'B' || sgf[at + 1] == 'W') && sgf[at + 2] == '[')
      last = sgf[at + 1];
  m_game.toPlay = last == 0 ? 'B' : Other(last);
}

std::optional<std::string> PlaceModel::OnClientRecord(const PeerRecord& record) {
  const std::vector<std::string> f = PeerFields(record.payload);
  if (record.Is(1, 1)) {
    m_id = At(f, 0);
    return std::nullopt;
  }
  if (record.Is(3, 6)) {
    m_screen = Screen::kStart;  // the start screen asks for its rooms whenever it is shown
    return std::nullopt;
  }
  // The member's waiting-room chat and the leave of a rejoined game room share (3,4).
  const bool roomLeave = record.Is(3, 4) && m_roomStay == Stay::kIn && At(f, 1) == m_room && m_wait != Stay::kIn;
  if (IsWaitingMajor(record.major) && !roomLeave)
    return CheckWaitingRoomRequest(record, f);
  if (IsRoomMajor(record.major) || roomLeave || record.Is(1, 12))
    return CheckRoomRequest(record, f);
  if (record.major == "7")
    return CheckForumRequest(record, f);
  return std::nullopt;
}

std::optional<std::string> PlaceModel::CheckWaitingRoomRequest(const PeerRecord& record,
                                                               const std::vector<std::string>& f) {
  const std::string key = At(f, 0);
  if (record.minor == "1")
    return CheckEnter(record, key);
  if (record.minor != "2" && record.minor != "3" && record.minor != "4")
    return std::nullopt;
  // The game room asks for its waiting room's users to invite one of them.
  if (record.minor == "3" && m_roomStay == Stay::kIn && m_wait != Stay::kIn) {
    if (key != m_roomKey)
      return Fault(record, "the invite list names waiting room " + m_roomKey + " of game room " + m_room);
    return std::nullopt;
  }
  // A frame put into its waiting room by the test itself, not by the peer, is taken at its word.
  if (m_wait == Stay::kNone || (m_wait == Stay::kEntering && key == m_pendingEnter)) {
    m_waitByHand = m_wait == Stay::kNone;
    m_waitKey = key;
    m_wait = Stay::kIn;
  }
  // A second leave while the join it came with is unanswered: the screen still shows the room.
  if (record.minor == "2" && m_wait == Stay::kLeft && key == m_waitKey)
    return std::nullopt;
  if (m_wait != Stay::kIn)
    return Fault(record, m_wait == Stay::kLeft ? "a waiting-room request after waiting room " + m_waitKey + " was left"
                                               : "a waiting-room request outside any waiting room");
  if (key != m_waitKey)
    return Fault(record, "expected waiting room " + m_waitKey);
  if (record.minor == "2")
    m_wait = Stay::kLeft;
  return std::nullopt;
}

std::optional<std::string> PlaceModel::CheckEnter(const PeerRecord& record, const std::string& key) {
  std::optional<std::string> fault;
  if (m_boardTargets.count(key) != 0)
    fault = Fault(record, "enters a forum's board as a waiting room");
  else if (!m_returnKey.empty() && key != m_returnKey && m_screen == Screen::kGameRoom)
    fault = Fault(record, "after leaving game room " + m_room + " expected waiting room " + m_returnKey);
  else if (m_screen == Screen::kStart && !m_startRooms.empty() && m_startRooms.count(key) == 0)
    fault = Fault(record, "the start screen offers no waiting room " + key);
  else if (m_screen == Screen::kForum && !m_forumRooms.empty() && m_forumRooms.count(key) == 0)
    fault = Fault(record, "the forum offers no waiting room " + key);
  else if (m_wait == Stay::kIn && key != m_waitKey)
    fault = Fault(record, "enters a waiting room while still in waiting room " + m_waitKey);
  m_returnKey.clear();
  m_pendingEnter = key;
  m_wait = Stay::kEntering;
  return fault;
}

std::optional<std::string> PlaceModel::CheckRoomRequest(const PeerRecord& record, const std::vector<std::string>& f) {
  const std::string& minor = record.minor;
  if (record.major != "1" && IsUnprefixedRoomMinor(minor))
    return std::nullopt;
  if (record.major != "1" && minor == "1") {
    // The game list of the waiting room shown, or of a teaching-room kind chosen on the start screen.
    const std::string key = At(f, 0);
    if (m_wait == Stay::kIn && key == m_waitKey)
      return std::nullopt;
    if (m_screen == Screen::kStart && (m_startRooms.empty() || m_startRooms.count(key) != 0)) {
      // The teaching rooms of a start-screen button, or a waiting room the test showed by hand:
      // a list its rooms are joined from under the key, though no entry was answered.
      m_waitKey = key;
      m_wait = Stay::kNone;
      m_waitByHand = true;
      return std::nullopt;
    }
    if (m_roomStay == Stay::kLeft && key == m_roomKey)
      return std::nullopt;
    return Fault(record, "a game list of another place than the waiting room");
  }
  if (record.major != "1" && minor == "2") {
    if (m_wait != Stay::kIn || At(f, 0) != m_waitKey)
      return Fault(record, "a room can be opened only in the waiting room it names");
    return std::nullopt;
  }
  if (record.major != "1" && minor == "3")
    return CheckJoin(record, f);
  if (record.major != "1" && minor == "14")
    return CheckMove(record, f);
  // An answer repeats the fields of the server's request; only a seated player gives one.
  if (record.flag == "2") {
    if (m_roomStay != Stay::kIn)
      return Fault(record, "an answer outside any game room");
    if (IsPlayersAnswer(record) && m_game.observer)
      return Fault(record, "an observer answers a player's request");
    return std::nullopt;
  }
  // Every other room request starts |W|R|: the waiting room the room was joined from and the room.
  const std::string key = At(f, 0);
  const std::string room = At(f, 1);
  AdoptRoom(key, room);
  if (m_roomKeyByHand) {
    m_room = room;
    m_roomKey = key;
    m_roomKeyByHand = false;
  }
  if (m_roomStay == Stay::kLeft && room == m_room)
    return Fault(record, "a room request after game room " + m_room + " was left");
  if (m_roomStay != Stay::kIn)
    return Fault(record, "a room request outside any game room");
  if (room != m_room || key != m_roomKey)
    return Fault(record, "expected game room " + m_room + " of waiting room " + m_roomKey);
  if (minor == "4" && record.major != "1") {
    m_roomStay = Stay::kLeft;
    m_returnKey = m_roomKey;
  }
  return std::nullopt;
}

void PlaceModel::AdoptRoom(const std::string& key, const std::string& room) {
  // A game room the test attached to the frame itself, with no join the peer saw: its first
  // request names it, and its game is not known.
  if (m_roomStay != Stay::kNone)
    return;
  m_room = room;
  m_roomKey = key;
  m_roomStay = Stay::kIn;
  m_game = Game();
  m_game.known = false;
}

std::optional<std::string> PlaceModel::CheckJoin(const PeerRecord& record, const std::vector<std::string>& f) {
  const std::string key = At(f, 0);
  const std::string room = At(f, 1);
  std::optional<std::string> fault;
  const bool fromWaitingRoom = m_wait != Stay::kNone && m_wait != Stay::kEntering && key == m_waitKey;
  const bool fromGameRoom = m_roomStay == Stay::kLeft && key == m_roomKey;
  const bool resumed = !m_resumeRoom.empty() && room == m_resumeRoom && key == m_resumeKey;
  const bool invited = m_invitedRooms.count(room) != 0 && !key.empty() && m_wait != Stay::kIn;
  const bool placedByHand = m_waitByHand || (m_wait == Stay::kNone && m_roomStay == Stay::kNone);
  if (!fromWaitingRoom && !fromGameRoom && !resumed && !invited && !placedByHand)
    fault = Fault(record, "a join names the waiting room it is made from (" +
                              (m_wait != Stay::kNone ? m_waitKey : m_roomKey) + ")");
  m_joinKey = key;
  m_joinRoom = room;
  m_returnKey.clear();
  return fault;
}

std::optional<std::string> PlaceModel::CheckMove(const PeerRecord& record, const std::vector<std::string>& f) {
  const std::string key = At(f, 0);
  const std::string room = At(f, 1);
  const std::string node = At(f, 2);
  AdoptRoom(key, room);
  if (m_roomStay != Stay::kIn)
    return Fault(record, "a move outside any game room");
  if (room != m_room || key != m_roomKey)
    return Fault(record, "a move of game room " + m_room + " of waiting room " + m_roomKey);
  if (!m_game.started && m_game.known)
    return Fault(record, "a move before the game of room " + m_room + " started");
  const char colour = node.empty() ? 0 : node[0];
  if (m_game.observer)
    return Fault(record, "a move by an observer");
  if (m_game.colour != 0 && colour != m_game.colour)
    return Fault(record, std::string("a move of the other colour; the user plays ") + m_game.colour);
  if (m_game.toPlay != 0 && colour != m_game.toPlay)
    return Fault(record, std::string("a move out of turn; ") + m_game.toPlay + " is to play");
  if (colour == 'B' || colour == 'W')
    m_game.toPlay = Other(colour);
  return std::nullopt;
}

std::optional<std::string> PlaceModel::CheckForumRequest(const PeerRecord& record, const std::vector<std::string>& f) {
  const std::string& minor = record.minor;
  if (minor == "2" || minor == "3" || minor == "4") {
    if (m_screen != Screen::kForum)
      return Fault(record, "a forum request outside the forum list");
    return std::nullopt;
  }
  if (minor == "10" && At(f, 2) == "-1" && m_screen == Screen::kForum) {
    if (!m_forumId.empty() && At(f, 0) != m_forumId)
      return Fault(record, "a board of forum " + m_forumId + ", whose menu is shown");
    return std::nullopt;
  }
  if (minor == "10" || minor == "11" || minor == "12" || minor == "13" || minor == "14") {
    if (m_screen != Screen::kBoard)
      return Fault(record, "a board request outside the board");
    if (At(f, 0) != m_boardForum || At(f, 1) != m_boardCode)
      return Fault(record, "expected board " + m_boardCode + " of forum " + m_boardForum);
  }
  return std::nullopt;
}

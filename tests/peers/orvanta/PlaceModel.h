#pragma once
// PlaceModel: where the game-server peer has put the user of one connection (the start screen, a
// waiting room, a game room, a forum, a board), learnt from the records the peer sent and the
// client's own leave requests, and the check of every client record against it. A request that
// names another place than the user's, a move outside a running game or out of turn, a room
// request after the room was left, or an answer an observer was never asked for, is a fault: the
// check returns a text naming the record and the place expected.

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "peers/orvanta/GameServerPeer.h"

// The fields of a payload: "|a|b|" gives a and b.
std::vector<std::string> PeerFields(const std::string& payload);

class PlaceModel {
public:
  // A new connection: nobody logged in, nowhere.
  void Reset();
  // A record the peer wrote to the client (sender 0).
  void OnServerRecord(const PeerRecord& record);
  // A record of the client; the fault it makes, if any.
  std::optional<std::string> OnClientRecord(const PeerRecord& record);

private:
  enum class Screen { kNone, kStart, kWaitingRoom, kForum, kBoard, kGameRoom, kList };
  enum class Stay { kNone, kEntering, kIn, kLeft };

  struct Game {
    bool known{true};  // false for a room the peer did not see joined
    bool started{false};
    bool observer{false};
    char colour{0};  // 'B' or 'W' for a seated player, 0 when not known
    char toPlay{0};  // 0 when not known (after an undo)
  };

  std::string Where() const;
  std::string Fault(const PeerRecord& record, const std::string& expected) const;
  std::optional<std::string> CheckWaitingRoomRequest(const PeerRecord& record, const std::vector<std::string>& f);
  std::optional<std::string> CheckEnter(const PeerRecord& record, const std::string& key);
  std::optional<std::string> CheckRoomRequest(const PeerRecord& record, const std::vector<std::string>& f);
  std::optional<std::string> CheckJoin(const PeerRecord& record, const std::vector<std::string>& f);
  std::optional<std::string> CheckMove(const PeerRecord& record, const std::vector<std::string>& f);
  std::optional<std::string> CheckForumRequest(const PeerRecord& record, const std::vector<std::string>& f);
  void AdoptRoom(const std::string& key, const std::string& room);
  void OnMatchStart(const std::vector<std::string>& f);
  void OnWholeGame(const std::string& sgf);

  std::string m_id;
  std::string m_role;
  Screen m_screen{Screen::kNone};
  // The waiting room: the one the user is in, or was last in.
  std::string m_waitKey;
  Stay m_wait{Stay::kNone};
  bool m_waitByHand{false};  // the test put the frame there itself: its joins name what the test set
  std::string m_pendingEnter;
  // The game room: the one the user sits in, is joining or last left, and the waiting room that
  // names it.
  std::string m_room;
  std::string m_roomKey;
  Stay m_roomStay{Stay::kNone};
  bool m_roomKeyByHand{false};
  std::string m_joinKey;
  std::string m_joinRoom;
  std::string m_returnKey;  // after the server's word that the user left, the waiting room to go back to
  Game m_game;
  // What the peer has offered: the start screen's waiting rooms, the forums' rooms and boards,
  // invitations and the unfinished game of the login.
  std::set<std::string> m_startRooms;
  std::set<std::string> m_forumRooms;
  std::set<std::string> m_boardTargets;
  std::set<std::string> m_invitedRooms;
  std::string m_resumeKey;
  std::string m_resumeRoom;
  std::string m_forumId;
  std::string m_boardForum;
  std::string m_boardCode;
};

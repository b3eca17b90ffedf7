#pragma once
// GameServerScript: the game-server peer's replies read from a text script, for trying Orvanta by
// hand. A line
//   on <major> <minor> send <major> <minor> <flag> <payload>
// answers every client record (major, minor) with one server record; several lines for the same
// record answer with several records, in order. A line
//   turn <k> <major> <minor> send <major> <minor> <flag> <payload>
// answers only the k-th such record of a connection, after the "on" lines of the pair. Either kind
// may start with "as <ID>": such lines answer only the connection logged in with that ID, and for
// it they stand in place of the pair's other lines. The payload
// is the rest of the line, in UTF-8 (sent in the client's code page), where
//   {id}  is the ID the client logged in with on the connection,
//   {n}, {2n}, {2n-1}, {2n+k}  count the client's records of the pair (1 for the first),
//   {0}, {1}, ...  are the fields of the client's payload ("|a|b|" has a as {0}).
// Empty lines and lines starting with # are ignored. Without lines for them, the hello (0,1) and
// the login (1,1) get the peer's standard answers.

#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "peers/orvanta/GameServerPeer.h"

class GameServerScript {
public:
  // Reads a script; false with a message naming the line when a line cannot be read.
  bool Load(std::istream& in, std::string& error);
  // Makes peer answer from the script.
  void Install(GameServerPeer& peer);
  // The payload template with its fields filled in for the ordinal-th record of its pair.
  static std::string Fill(const std::string& text, const PeerRecord& record, int ordinal, const std::string& id);

private:
  struct Line {
    std::string user;  // empty for every login
    int turn{0};  // 0 for every record
    int major{0};
    int minor{0};
    std::string flag;
    std::string payload;  // in the client's code page
  };
  using Key = std::pair<int, int>;

  std::map<Key, std::vector<Line>> m_lines;
  // The ID of the connection's login, shared by the replies (all made on the peer's thread).
  std::shared_ptr<std::string> m_loginId{std::make_shared<std::string>()};
};

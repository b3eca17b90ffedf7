#pragma once
// The board of Orvanta's game room as the game server's records make it: the walk reads every
// record the server wrote, in order, and keeps the stones the room's board must show. A room
// entered or a match started begins an empty board; each move record places its stone as the
// board control applies it (captures taken, an occupied point or a suicide refused), an agreed
// undo takes moves back and a restored game puts its moves on anew. Where the records leave the
// board to something the model does not follow (counting, the end of a game, a record the walk
// sent malformed on purpose), the board is not known until the next room or match.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct PeerRecord;

class OrvantaBoardModel {
public:
  explicit OrvantaBoardModel(std::string userId) : m_userId(std::move(userId)) {}

  // A record the server wrote to the client.
  void OnWritten(const PeerRecord& record);
  // The connection is gone: so is the room.
  void OnConnectionLost();
  // The next records may be read otherwise than the model reads them.
  void Forget() { m_known = false; }
  // Whether a record of (major, minor) may change the game room's board.
  static bool MayChangeBoard(const std::string& major, const std::string& minor);

  // The user is in a game room whose board the model knows.
  bool Knows() const { return m_inRoom && m_known; }
  // A game runs on a board the model knows.
  bool Playing() const { return m_inRoom && m_known && m_running; }
  // 'B' or 'W': the side the next move is for; the user's colour, 0 for an observer.
  char ToPlay() const { return m_lastColour == 'B' ? 'W' : 'B'; }
  char UserColour() const { return m_userColour; }
  // The move number the room shows; the moves on the board (passes too).
  int ShownNumber() const { return m_shownNumber; }
  std::size_t Moves() const { return m_history.size(); }
  // A point ("dd") where a stone of colour may go, found from arg; "" when there is none.
  std::string LegalPoint(char colour, std::uint32_t arg) const;
  // Each point where cells (the control's 361 cell words in index order) show another stone than
  // the model, as text; none when they agree.
  std::vector<std::string> Differences(const std::vector<short>& cells) const;

private:
  struct Move {
    char colour{0};
    int index{-1};  // -1 for a pass
  };

  void NewBoard();
  // Applies a stone as the control does; false when it refuses it.
  bool Place(char colour, int index);
  void Rebuild();
  void TakeBack(int count);
  void Restore(const std::string& sgf);
  bool HasLiberty(int index, std::array<bool, 361>& seen) const;
  void RemoveGroup(int index);

  std::string m_userId;
  std::array<char, 361> m_stones{};  // 0, 'B' or 'W' at row x 19 + column
  std::vector<Move> m_history;       // the moves the board took, in order
  char m_lastColour{'W'};
  char m_userColour{0};
  int m_connection{-1};
  int m_shownNumber{0};
  int m_handicap{0};
  bool m_inRoom{false};
  bool m_known{false};
  bool m_running{false};
};

#pragma once
// CGiboNodeList: the nodes of a game record's move text, each read once when the text changes,
// so that replaying a record never searches the text again. Nodes are the texts after each ";"
// that stands outside brackets; text in front of the first ";" is a node too when it is not blank.

#include <cstddef>
#include <string_view>
#include <vector>

#include <platform/types.h>

class CGiboNodeList {
public:
  struct Node {
    int start{0};  // where the node's ";" stands (its first character when it has none)
    int begin{0};  // first character of the node text
    int end{0};    // one past its last character
    bool empty{false};    // nothing but blanks between its ";" and the next
    bool hasMove{false};  // a "B" or "W" property holding a point of the board or a pass
    short x{0};
    short y{0};
    short color{0};  // 2 black, 4 white; 0 without a move property
    bool hasBlackTime{false};  // the node has "BL"
    bool hasWhiteTime{false};  // the node has "WL"
    LONG blackTime{0};
    LONG whiteTime{0};
    // The last "BL" and "WL" values up to and including this node.
    bool blackKnown{false};
    bool whiteKnown{false};
    LONG lastBlackTime{0};
    LONG lastWhiteTime{0};
  };

  // Reads every node of moves.
  void Assign(std::string_view moves);
  // Reads what was appended to moves; oldLength is the text's length before, and the appended
  // text begins with ";".
  void Append(std::string_view moves, std::size_t oldLength);
  // Drops the last node; returns the length the move text keeps without it, or -1 without nodes.
  int RemoveLast();
  void Clear();

  int GetCount() const { return static_cast<int>(m_nodes.size()); }
  // Nodes holding a readable move.
  int GetMoveCount() const { return m_moveCount; }
  // Precondition: 0 <= index < GetCount().
  const Node& operator[](int index) const { return m_nodes[static_cast<std::size_t>(index)]; }
  const Node& Last() const { return m_nodes.back(); }

  // Board index of a point letter, "a" = 0 to "s" = 18; -1 for any other character.
  static int PointIndex(char letter);

private:
  void ReadNodes(std::string_view moves, std::size_t from);
  void AddNode(std::string_view moves, std::size_t start, std::size_t end);
  // The node's move and times when it has the shape the record writes; false for any other.
  static bool ReadPlainNode(std::string_view text, Node& node);
  // The node's move and times, whatever else it holds.
  static void ReadAnyNode(std::string_view text, Node& node);
  static void ReadMove(std::string_view value, Node& node);

  std::vector<Node> m_nodes;
  int m_moveCount{0};
  bool m_endsInValue{false};  // the text ends inside an unclosed value: appends read it all again
};

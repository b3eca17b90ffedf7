#include "orvanta/room/GiboNodeList.h"

#include <algorithm>

#include "orvanta/room/SgfScanner.h"

namespace {

constexpr short kBlack = 2;
constexpr short kWhite = 4;
constexpr short kPassIndex = 20;

bool IsBlankText(std::string_view text) {
  for (char ch : text) {
    if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') return false;
  }
  return true;
}

}  // namespace

int CGiboNodeList::PointIndex(char letter) {
  return letter >= 'a' && letter <= 's' ? letter - 'a' : -1;
}

void CGiboNodeList::Assign(std::string_view moves) {
  m_nodes.clear();
  m_moveCount = 0;
  m_nodes.reserve(static_cast<std::size_t>(std::count(moves.begin(), moves.end(), ';')) + 1);
  ReadNodes(moves, 0);
}

void CGiboNodeList::Append(std::string_view moves, std::size_t oldLength) {
  if (m_endsInValue || oldLength >= moves.size() || moves[oldLength] != ';') {
    Assign(moves);
    return;
  }
  ReadNodes(moves, oldLength);
}

int CGiboNodeList::RemoveLast() {
  if (m_nodes.empty()) return -1;
  int keep = m_nodes.back().start;
  if (m_nodes.back().hasMove) --m_moveCount;
  m_nodes.pop_back();
  m_endsInValue = false;  // a node's ";" stands outside brackets, so the text before it is closed
  return keep;
}

void CGiboNodeList::Clear() {
  m_nodes.clear();
  m_moveCount = 0;
  m_endsInValue = false;
}

void CGiboNodeList::ReadNodes(std::string_view moves, std::size_t from) {
  std::size_t segment = from;
  bool closed = true;
  for (std::size_t i = from; i < moves.size();) {
    if (moves[i] == '[') {
      i = CSgfScanner::SkipValue(moves, i, &closed);
      continue;
    }
    if (moves[i] == ';' && i != segment) {
      AddNode(moves, segment, i);
      segment = i;
    }
    ++i;
  }
  AddNode(moves, segment, moves.size());
  m_endsInValue = !closed;
}

void CGiboNodeList::AddNode(std::string_view moves, std::size_t start, std::size_t end) {
  bool hasSemicolon = start < moves.size() && moves[start] == ';';
  std::size_t begin = hasSemicolon ? start + 1 : start;
  if (!hasSemicolon && IsBlankText(moves.substr(start, end - start))) return;

  Node node;
  node.start = static_cast<int>(start);
  node.begin = static_cast<int>(begin);
  node.end = static_cast<int>(end);
  std::string_view text = moves.substr(begin, end - begin);
  node.empty = IsBlankText(text);
  if (!ReadPlainNode(text, node)) ReadAnyNode(text, node);
  if (node.hasMove) ++m_moveCount;

  const Node* previous = m_nodes.empty() ? nullptr : &m_nodes.back();
  node.blackKnown = node.hasBlackTime || (previous && previous->blackKnown);
  node.lastBlackTime = node.hasBlackTime ? node.blackTime : (previous ? previous->lastBlackTime : 0);
  node.whiteKnown = node.hasWhiteTime || (previous && previous->whiteKnown);
  node.lastWhiteTime = node.hasWhiteTime ? node.whiteTime : (previous ? previous->lastWhiteTime : 0);
  m_nodes.push_back(node);
}

bool CGiboNodeList::ReadPlainNode(std::string_view text, Node& node) {
  // "B[pd]" or "B[pd]BL[123]" (white likewise), the shape of every node the record writes.
  bool shortNode = text.size() == 5;
  if (text.size() < 5 || (!shortNode && text.size() < 9)) return false;
  char mover = text[0];
  if ((mover != 'B' && mover != 'W') || text[1] != '[' || text[4] != ']') return false;
  if (!shortNode) {
    if (text[5] != mover || text[6] != 'L' || text[7] != '[' || text.back() != ']') return false;
    std::string_view digits = text.substr(8, text.size() - 9);
    if (digits.empty() || digits.size() > 9) return false;
    for (char ch : digits) {
      if (ch < '0' || ch > '9') return false;
    }
    LONG time = CSgfScanner::ParseLong(digits);
    (mover == 'B' ? node.hasBlackTime : node.hasWhiteTime) = true;
    (mover == 'B' ? node.blackTime : node.whiteTime) = time;
  }
  node.color = mover == 'B' ? kBlack : kWhite;
  ReadMove(text.substr(2, 2), node);
  return true;
}

void CGiboNodeList::ReadAnyNode(std::string_view text, Node& node) {
  CSgfScanner scanner(text);
  CSgfScanner::Property property;
  bool moveSeen = false;
  while (scanner.NextProperty(property)) {
    if (!moveSeen && (property.name == "B" || property.name == "W")) {
      moveSeen = true;
      node.color = property.name == "B" ? kBlack : kWhite;
      if (property.closed) ReadMove(property.value, node);
    } else if (property.name == "BL" && !node.hasBlackTime) {
      node.hasBlackTime = true;
      node.blackTime = CSgfScanner::ParseLong(property.value);
    } else if (property.name == "WL" && !node.hasWhiteTime) {
      node.hasWhiteTime = true;
      node.whiteTime = CSgfScanner::ParseLong(property.value);
    }
  }
}

void CGiboNodeList::ReadMove(std::string_view value, Node& node) {
  // An empty value is how most other programs write a pass; ours write "tt".
  if (value.empty() || value == "tt") {
    node.x = node.y = kPassIndex;
    node.hasMove = true;
    return;
  }
  if (value.size() != 2) return;
  int x = PointIndex(value[0]);
  int y = PointIndex(value[1]);
  if (x < 0 || y < 0) return;
  node.x = static_cast<short>(x);
  node.y = static_cast<short>(y);
  node.hasMove = true;
}

#include "orvanta/room/GiboRecord.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include <platform/files.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/room/SgfScanner.h"

namespace {

constexpr char kStandardHeader[] = ";FF[4]GM[1]SZ[19]";
constexpr char kEmptySetup[] = "AB";
constexpr short kFirstSetupPoint = 3;  // just after "AB["
constexpr int kNodesPerLine = 4;
constexpr int kServerFieldsWithoutSetup = 11;

std::string_view View(const CString& text) { return text.str(); }

CString FromView(std::string_view text) { return CString(text); }

short ToShort(std::int64_t value) { return static_cast<short>(std::clamp<std::int64_t>(value, -32768, 32767)); }

LONG ToLong(std::int64_t value) {
  return static_cast<LONG>(std::clamp<std::int64_t>(value, std::numeric_limits<LONG>::min(),
                                                    std::numeric_limits<LONG>::max()));
}

// The property text from its name to the "]" of its first value; empty when it is absent or its
// value is never closed.
CString FirstPropertyText(std::string_view text, std::string_view name) {
  CSgfScanner::Property property;
  if (!CSgfScanner::FindProperty(text, name, property)) return CString();
  if (property.value.data() + property.value.size() >= text.data() + text.size()) return CString();
  return FromView(property.first);
}

CString WithoutLineBreaks(const CString& text) {
  CString result(text);
  result.Remove('\r');
  result.Remove('\n');
  return result;
}

// A move list with the server's "|" between nodes made ";" and line breaks dropped. Neither byte
// can be the second byte of a double-byte character, so the text is walked byte by byte.
CString MoveListText(const CString& moves) {
  const std::string& from = moves.str();
  std::string text(from.size(), '\0');
  char* out = text.data();
  for (char ch : from) {
    *out = ch == '|' ? ';' : ch;
    out += ch != '\r' && ch != '\n';  // without a branch: this loop reads every move list
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return CString(text);
}

}  // namespace

CGiboRecord::CGiboRecord() = default;

CGiboRecord::CGiboRecord(const CGiboRecord& other)
    : CObject(), m_moveCursor(other.m_moveCursor), m_setupCursor(other.m_setupCursor), m_header() {
  CopyTexts(other);
}

CGiboRecord CGiboRecord::operator=(const CGiboRecord& other) {
  if (this != &other) CopyTexts(other);
  m_moveCursor = 0;
  m_setupCursor = kFirstSetupPoint;
  return *this;
}

void CGiboRecord::CopyTexts(const CGiboRecord& other) {
  m_moves = other.m_moves;
  m_setup = other.m_setup;
  m_root = other.m_root;
  m_result = other.m_result;
  m_whitePlayer = other.m_whitePlayer;
  m_blackPlayer = other.m_blackPlayer;
  m_nodes = other.m_nodes;
}

void CGiboRecord::Reset() {
  m_moveCursor = 0;
  m_setupCursor = kFirstSetupPoint;
  m_moves.Empty();
  m_setup = kEmptySetup;
  m_root.Empty();
  m_result.Empty();
  m_whitePlayer.Empty();
  m_blackPlayer.Empty();
  m_header = kStandardHeader;
  m_nodes.Clear();
}

// ---- Building a record ----

CString CGiboRecord::PlayerText(const char* name, const CString& a, const CString& b, const CString& c,
                                const CString& d) {
  return CString(name) + "[" + a + ":" + b + ":" + c + ":" + d + "]";
}

void CGiboRecord::SetBlackPlayer(const CString& a, const CString& b, const CString& c, const CString& d) {
  m_blackPlayer = PlayerText("PB", a, b, c, d);
}

void CGiboRecord::SetWhitePlayer(const CString& a, const CString& b, const CString& c, const CString& d) {
  m_whitePlayer = PlayerText("PW", a, b, c, d);
}

void CGiboRecord::SetResult(const CString& result) { m_result = result; }

void CGiboRecord::SetRootInfo(const CString& time, const CString& overtime, const CString& date,
                              const CString& komi, const CString& handicap) {
  m_root = "TM[" + time + "]OT[" + overtime + "]DT[" + date + "]KM[" + komi + "]HA[" + handicap + "]";
}

void CGiboRecord::AddSetupStone(const CString& xy) { m_setup += "[" + xy + "]"; }

void CGiboRecord::AppendMove(const CString& move, const CString& time) {
  std::size_t oldLength = static_cast<std::size_t>(m_moves.GetLength());
  m_moves += ";" + move + time;
  m_nodes.Append(View(m_moves), oldLength);
}

void CGiboRecord::RemoveLastMove() {
  // The cut is made at the last node's ";", so a node of any length (and one that came from
  // SetMoves or SetText) goes whole, and nothing before it.
  int keep = m_nodes.RemoveLast();
  if (keep >= 0) m_moves = m_moves.Left(keep);
}

void CGiboRecord::SetMoves(const CString& moves) {
  m_moveCursor = 0;
  m_moves = MoveListText(moves);
  m_nodes.Assign(View(m_moves));
}

void CGiboRecord::SetSetup(const CString& setup) { m_setup = setup; }

// ---- Whole texts ----

void CGiboRecord::SetFromServerText(const CString& text) {
  // Line breaks some senders put between fields are not part of any value. The tokenizer reads
  // past a leading separator, which the server's text does not have: field 0 is the text before
  // the first ";".
  CFieldTokenizer fields(";" + WithoutLineBreaks(text) + ";", ';');
  int count = fields.GetCount();
  // The tokenizer starts over past the last field; a short text must give empty fields instead.
  auto field = [&](int index) { return index < count ? fields.GetField(index) : CString(); };
  m_header = ";" + field(0) + field(1) + field(2);
  m_blackPlayer = field(3);
  m_whitePlayer = field(4);
  m_result = field(5);
  m_root = field(6) + field(7) + field(8) + field(9) + field(10);
  m_setupCursor = kFirstSetupPoint;
  m_setup = count > kServerFieldsWithoutSetup ? field(kServerFieldsWithoutSetup) : CString();
}

BOOL CGiboRecord::SetText(const CString& text) { return LoadWholeText(View(text)); }

BOOL CGiboRecord::LoadWholeText(std::string_view text) {
  std::size_t root = CSgfScanner::FindNodeStart(text, 0);
  if (root == std::string_view::npos) return FALSE;
  std::size_t firstMove = CSgfScanner::FindNodeStart(text, root + 1);

  // Whatever follows the closing ")" (a line break, blanks) is not part of the last node.
  std::size_t last = firstMove == std::string_view::npos ? text.size() : firstMove;
  std::size_t close = text.find_last_not_of(" \t\r\n");
  std::size_t end = text.size();
  if (close != std::string_view::npos && close >= root) end = text[close] == ')' ? close : close + 1;

  if (firstMove == std::string_view::npos) {
    // A record saved before its first move: the root alone.
    ParseNode(FromView(text.substr(root, end - root)));
    SetMoves(CString());
    return TRUE;
  }
  ParseNode(FromView(text.substr(root, last - root)));
  SetMoves(FromView(text.substr(firstMove, std::max(end, firstMove) - firstMove)));
  TakeSetupFromFirstNode();
  return TRUE;
}

void CGiboRecord::ParseNode(const CString& node) {
  std::string_view text = View(node);
  m_setupCursor = kFirstSetupPoint;
  m_setup.Empty();

  CSgfScanner::Property size;
  bool hasSize = CSgfScanner::FindProperty(text, "SZ", size) && size.closed;
  m_header = hasSize ? FromView(text.substr(0, size.first.data() + size.first.size() - text.data()))
                     : CString(kStandardHeader);
  m_blackPlayer = FirstPropertyText(text, "PB");
  m_whitePlayer = FirstPropertyText(text, "PW");
  m_result = FirstPropertyText(text, "RE");

  CSgfScanner::Property time, handicap;
  bool span = CSgfScanner::FindProperty(text, "TM", time) && CSgfScanner::FindProperty(text, "HA", handicap) &&
              handicap.closed && time.first.data() < handicap.first.data();
  if (span) {
    const char* from = time.first.data();
    m_root = FromView(std::string_view(from, handicap.first.data() + handicap.first.size() - from));
  } else {
    m_root = FirstPropertyText(text, "TM") + FirstPropertyText(text, "OT") + FirstPropertyText(text, "DT") +
             FirstPropertyText(text, "KM") + FirstPropertyText(text, "HA");
  }

  if (GetHandicap() != 0) m_setup = SetupStonesOf(text);
}

CString CGiboRecord::SetupStonesOf(std::string_view text) {
  CSgfScanner::Property stones;
  if (!CSgfScanner::FindProperty(text, "AB", stones)) return CString();
  CString setup(kEmptySetup);
  std::string_view values = stones.whole.substr(stones.name.size());
  for (std::size_t at = values.find('['); at != std::string_view::npos; at = values.find('[', at)) {
    bool closed = false;
    std::size_t next = CSgfScanner::SkipValue(values, at, &closed);
    if (!closed) break;
    setup += FromView(values.substr(at, next - at));
    at = next;
  }
  return setup;
}

void CGiboRecord::TakeSetupFromFirstNode() {
  // Some programs put the handicap stones in a node of their own after the root.
  if (GetHandicap() <= 0 || m_setup.GetLength() > 2 || m_nodes.GetCount() == 0) return;
  const CGiboNodeList::Node& first = m_nodes[0];
  if (first.color != 0) return;
  CString setup = SetupStonesOf(View(m_moves).substr(first.begin, first.end - first.begin));
  if (setup.IsEmpty()) return;
  m_setup = setup;
  m_moves = m_moves.Mid(first.end);
  m_nodes.Assign(View(m_moves));
}

// ---- Reading values ----

void CGiboRecord::SplitPlayer(const CString& player, CString& a, CString& b, CString& c, CString& d) {
  if (player.GetLength() < 3) return;
  // The value stands between "PB[" and the closing "]".
  CFieldTokenizer parts(":" + player.Mid(3, player.GetLength() - 4) + ":", ':');
  int count = parts.GetCount();
  CString* outputs[] = {&a, &b, &c, &d};
  for (int i = 0; i < 4; ++i) *outputs[i] = i < count ? parts.GetField(i) : CString();
}

void CGiboRecord::GetBlackPlayer(CString& a, CString& b, CString& c, CString& d) const {
  SplitPlayer(m_blackPlayer, a, b, c, d);
}

void CGiboRecord::GetWhitePlayer(CString& a, CString& b, CString& c, CString& d) const {
  SplitPlayer(m_whitePlayer, a, b, c, d);
}

LONG CGiboRecord::GetTimeLimit() const {
  CSgfScanner::Property time;
  return CSgfScanner::FindProperty(View(m_root), "TM", time) ? CSgfScanner::ParseLong(time.value) : 0;
}

void CGiboRecord::GetOvertime(short& seconds, short& periods) const {
  CSgfScanner::Property overtime;
  if (!CSgfScanner::FindProperty(View(m_root), "OT", overtime)) return;
  std::string_view value = overtime.value;
  std::size_t colon = value.find(':');
  seconds = ToShort(CSgfScanner::ParseLong(value.substr(0, colon)));
  periods = colon == std::string_view::npos ? 0 : ToShort(CSgfScanner::ParseLong(value.substr(colon + 1)));
}

void CGiboRecord::GetKomi(CString& komi) const {
  CSgfScanner::Property property;
  komi = CSgfScanner::FindProperty(View(m_root), "KM", property) ? FromView(property.value) : CString();
}

short CGiboRecord::GetHandicap() const {
  CSgfScanner::Property handicap;
  if (!CSgfScanner::FindProperty(View(m_root), "HA", handicap)) return 0;
  if (!handicap.closed) return -1;
  return ToShort(CSgfScanner::ParseLong(handicap.value));
}

int CGiboRecord::GetTotalMoves() const {
  // A malformed handicap (-1) must not hide a move node from the count.
  return m_nodes.GetMoveCount() + std::max<int>(GetHandicap(), 0);
}

CString CGiboRecord::GetRootText() const {
  return m_header + m_blackPlayer + m_whitePlayer + m_result + m_root + m_setup + m_moves;
}

// ---- Stones and moves ----

BOOL CGiboRecord::GetSetupStone(short& x, short& y) {
  std::string_view setup = View(m_setup);
  std::size_t at = static_cast<std::size_t>(std::max<short>(m_setupCursor, 0));
  bool pairHere = m_setupCursor >= 0 && at + 2 <= setup.size();
  int column = pairHere ? CGiboNodeList::PointIndex(setup[at]) : -1;
  int row = pairHere ? CGiboNodeList::PointIndex(setup[at + 1]) : -1;
  bool pass = pairHere && setup.substr(at, 2) == "tt";
  bool closedPair = pairHere && at + 2 < setup.size() && setup[at + 2] == ']';
  if (!closedPair || (!pass && (column < 0 || row < 0))) {
    m_setupCursor = kFirstSetupPoint;
    return FALSE;
  }
  x = pass ? 20 : static_cast<short>(column);
  y = pass ? 20 : static_cast<short>(row);
  std::size_t next = setup.find('[', at + 2);
  m_setupCursor = next == std::string_view::npos ? static_cast<short>(std::min<std::size_t>(setup.size(), 32767))
                                                 : static_cast<short>(std::min<std::size_t>(next + 1, 32767));
  return TRUE;
}

LONG CGiboRecord::FullAllowance() const {
  short seconds = 0, periods = 0;
  GetOvertime(seconds, periods);
  return ToLong(std::int64_t{GetTimeLimit()} + std::int64_t{seconds} * periods);
}

BOOL CGiboRecord::ReadMoveAt(int index, short& x, short& y, short& color, LONG& timeLeft) const {
  const CGiboNodeList::Node& node = m_nodes[index];
  if (!node.hasMove) return FALSE;
  x = node.x;
  y = node.y;
  color = node.color;
  bool black = node.color == 2;
  if (black ? node.hasBlackTime : node.hasWhiteTime) {
    timeLeft = black ? node.blackTime : node.whiteTime;
    return TRUE;
  }
  // No time with the move: the mover's last reported time, else a full clock.
  const CGiboNodeList::Node* before = index > 0 ? &m_nodes[index - 1] : nullptr;
  if (before && (black ? before->blackKnown : before->whiteKnown)) {
    timeLeft = black ? before->lastBlackTime : before->lastWhiteTime;
  } else {
    timeLeft = FullAllowance();
  }
  return TRUE;
}

int CGiboRecord::FindMoveNode(int from) const {
  // Comment and setup nodes of other programs stand between moves: step over them. Only an
  // empty node or a move that names no point stops a replay.
  int count = m_nodes.GetCount();
  int index = from;
  while (index < count && !m_nodes[index].empty && m_nodes[index].color == 0) ++index;
  return index;
}

BOOL CGiboRecord::GetMove(short& x, short& y, short& color, LONG& timeLeft) {
  int index = m_moveCursor < 0 ? m_nodes.GetCount() : FindMoveNode(m_moveCursor);
  if (index >= m_nodes.GetCount()) {
    m_moveCursor = 0;
    return FALSE;
  }
  m_moveCursor = static_cast<short>(std::min(index, 32767));
  if (!ReadMoveAt(index, x, y, color, timeLeft)) return FALSE;
  m_moveCursor = static_cast<short>(std::min(index + 1, 32767));
  return TRUE;
}

BOOL CGiboRecord::PeekMove(short& x, short& y, short& color, LONG& timeLeft) const {
  if (m_moveCursor < 0) return FALSE;
  int index = FindMoveNode(m_moveCursor);
  if (index >= m_nodes.GetCount()) return FALSE;
  return ReadMoveAt(index, x, y, color, timeLeft);
}

void CGiboRecord::GetNextNode(CString& node) {
  if (m_moveCursor < 0 || m_moveCursor >= m_nodes.GetCount()) {
    m_moveCursor = 0;
    node.Empty();
    return;
  }
  const CGiboNodeList::Node& current = m_nodes[m_moveCursor];
  node = FromView(View(m_moves).substr(current.begin, current.end - current.begin));
  if (!node.IsEmpty()) ++m_moveCursor;
}

BOOL CGiboRecord::GetTimesLeft(LONG& black, LONG& white) const {
  if (m_moves.GetLength() < 2) return FALSE;
  int count = m_nodes.GetCount();
  for (int i = std::max(count - 2, 0); i < count; ++i) {
    const CGiboNodeList::Node& node = m_nodes[i];
    if (node.hasBlackTime) {
      black = node.blackTime;
    } else if (node.hasWhiteTime) {
      white = node.whiteTime;
    }
  }
  return TRUE;
}

// ---- Move cursor ----

void CGiboRecord::NextMove() {
  int last = std::clamp(m_nodes.GetCount() - 1, 0, 32767);
  m_moveCursor = static_cast<short>(std::min(m_moveCursor + 1, last));
}

void CGiboRecord::PrevMove() { m_moveCursor = static_cast<short>(std::max(m_moveCursor - 1, 0)); }

void CGiboRecord::MoveTo(short where) {
  if (where == kFirstNode) {
    m_moveCursor = 0;
  } else if (where == kLastNode) {
    m_moveCursor = static_cast<short>(std::clamp(m_nodes.GetCount() - 1, 0, 32767));
  } else {
    m_moveCursor = where;
  }
}

// ---- Files ----

void CGiboRecord::AppendNodeLines(std::string& text, std::string_view lineEnd) const {
  std::string_view moves = View(m_moves);
  int count = m_nodes.GetCount();
  for (int i = 0; i < count; ++i) {
    const CGiboNodeList::Node& node = m_nodes[i];
    text += ';';
    text += moves.substr(node.begin, node.end - node.begin);
    // Full lines of four nodes end with a line break; the rest stays open for the ")".
    if ((i + 1) % kNodesPerLine == 0) text += lineEnd;
  }
}

CString CGiboRecord::BuildText(std::string_view lineEnd) const {
  const CString* lines[] = {&m_header, &m_blackPlayer, &m_whitePlayer, &m_result, &m_root};
  std::size_t size = m_setup.str().size() + m_moves.str().size() * 2 + 32;
  for (const CString* line : lines) size += line->str().size();
  std::string text;
  text.reserve(size);
  text += '(';
  for (const CString* line : lines) {
    text += line->str();
    text += lineEnd;
  }
  if (m_setup != kEmptySetup) {
    text += m_setup.str();
    text += lineEnd;
  }
  AppendNodeLines(text, lineEnd);
  text += ')';
  return CString(text);
}

CString CGiboRecord::ToText() const { return BuildText("\n"); }

CString CGiboRecord::ToFileText() const { return BuildText("\r\n"); }

BOOL CGiboRecord::WriteFile(LPCTSTR path) const {
  return platform::ReplaceFileContents(path, BuildText("\r\n").str());
}

BOOL CGiboRecord::ReadFile(LPCTSTR path) {
  CStdioFile file;
  if (!file.Open(path, CFile::modeRead | CFile::typeText)) return FALSE;
  CString buffer;
  try {
    CString line;
    while (file.ReadString(line)) {
      line.Remove(' ');
      line.Remove('\r');
      buffer += line;
    }
    file.Close();
  } catch (CFileException* error) {
    error->Delete();
    file.Abort();
    return FALSE;
  }
  return LoadWholeText(View(buffer));
}

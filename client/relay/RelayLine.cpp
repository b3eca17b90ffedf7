#include "client/relay/RelayLine.h"

#include <cctype>
#include <cstring>
#include <limits>

#include "client/relay/FieldSplitter.h"
#include "client/widgets/TextUtilities.h"
#include "client/model/GameInfo.h"

namespace {

struct TagName {
  const char* text;
  RelayTag tag;
};

constexpr TagName kTags[] = {
    {"am", RelayTag::Move},           {"sr", RelayTag::Clocks},          {"te", RelayTag::MoveText},
    {"ng", RelayTag::NewGame},        {"eg", RelayTag::GameEnd},         {"qc", RelayTag::Answer},
    {"ar", RelayTag::TextDiagramMove}, {"re", RelayTag::TextDiagramText}, {"er", RelayTag::TextDiagramEnd},
    {"aa", RelayTag::VoiceDiagramMove}, {"ae", RelayTag::VoiceDiagramText}, {"ea", RelayTag::VoiceDiagramEnd},
    {"um", RelayTag::Undo},           {"gi", RelayTag::GameInfo},        {"ac", RelayTag::Accept},
    {"bp", RelayTag::BlackPhoto},     {"wp", RelayTag::WhitePhoto},      {"eh", RelayTag::HistoryEnd},
    {"ts", RelayTag::ServerTime},     {"ua", RelayTag::Login},           {"mu", RelayTag::MediaAddress},
    {"gr", RelayTag::Result},         {"e1", RelayTag::Commentary},
};

// Splits line at "|"; true when it gives exactly count fields.
bool SplitExactly(CFieldSplitter& fields, const char* line, int count) {
  return line != nullptr && fields.Split(line, '|') == count;
}

CString Lowered(const char* line) {
  CString copy(line);
  copy.MakeLower();
  return copy;
}

// A board letter "a".."s" as 1..19; anything else as the letter's offset, which callers check.
int BoardLetter(char letter) { return static_cast<unsigned char>(letter) - 0x60; }

bool OnBoard(int x, int y) { return x >= 1 && x <= 19 && y >= 1 && y <= 19; }

}  // namespace

RelayTag MatchRelayTag(const char* line, int length) {
  if (line == nullptr || length < 2) return RelayTag::None;
  const char tag[2] = {static_cast<char>(std::tolower(static_cast<unsigned char>(line[0]))),
                       static_cast<char>(std::tolower(static_cast<unsigned char>(line[1])))};
  for (const TagName& name : kTags) {
    if (tag[0] == name.text[0] && tag[1] == name.text[1]) return name.tag;
  }
  return RelayTag::None;
}

std::int64_t ReadRelayNumber(const char* text) {
  if (text == nullptr) return 0;
  while (*text == ' ' || *text == '\t') ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    const int digit = *text - '0';
    if (value > (kMax - digit) / 10) return negative ? -kMax : kMax;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

int ReadRelayInt(const char* text) {
  const std::int64_t value = ReadRelayNumber(text);
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < -std::numeric_limits<int>::max()) return -std::numeric_limits<int>::max();
  return static_cast<int>(value);
}

bool ReadRelayClocks(const char* white, const char* black, RelayClocks& clocks) {
  RelayClocks read;
  if (!ParseHhmmss(white, &read.whiteHours, &read.whiteMinutes, &read.whiteSeconds)) return false;
  if (!ParseHhmmss(black, &read.blackHours, &read.blackMinutes, &read.blackSeconds)) return false;
  clocks = read;
  return true;
}

bool ParseRelayMove(const char* line, RelayMove& move) {
  CFieldSplitter fields;
  const CString lower = Lowered(line);
  if (!SplitExactly(fields, lower, 7)) return false;
  const char* point = fields.GetField(3);
  if (std::strlen(point) < 2) return false;
  RelayMove read;
  read.moveNumber = ReadRelayInt(fields.GetField(1));
  read.colour = std::strcmp(fields.GetField(2), "b") == 0 ? 2 : 1;
  read.x = BoardLetter(point[0]);
  read.y = BoardLetter(point[1]);
  if (!OnBoard(read.x, read.y)) return false;
  read.time = ReadRelayNumber(fields.GetField(4));
  read.hasClocks = ReadRelayClocks(fields.GetField(5), fields.GetField(6), read.clocks);
  move = read;
  return true;
}

bool ParseRelayClocks(const char* line, RelayClocks& clocks) {
  CFieldSplitter fields;
  return SplitExactly(fields, line, 3) && ReadRelayClocks(fields.GetField(1), fields.GetField(2), clocks);
}

bool ParseRelayMoveText(const char* line, RelayMoveText& out) {
  CFieldSplitter fields;
  if (!SplitExactly(fields, line, 3)) return false;
  out.moveNumber = ReadRelayInt(fields.GetField(1));
  out.text = fields.GetField(2);
  return true;
}

bool ParseRelayText(const char* line, CString& text) {
  CFieldSplitter fields;
  if (!SplitExactly(fields, line, 2)) return false;
  text = fields.GetField(1);
  return true;
}

bool ParseRelayDiagramMove(const char* line, RelayDiagramMove& out) {
  CFieldSplitter fields;
  const CString lower = Lowered(line);
  if (!SplitExactly(fields, lower, 6)) return false;
  const char* point = fields.GetField(4);
  if (std::strlen(point) < 2) return false;
  switch (fields.GetField(3)[0]) {
    case 'b': out.state = 2; break;
    case 'w': out.state = 1; break;
    case 'k': out.state = 16; break;
    case 'e': out.state = 32; break;
    default: return false;
  }
  out.moveNumber = ReadRelayInt(fields.GetField(1));
  out.diagram = ReadRelayInt(fields.GetField(2));
  out.x = BoardLetter(point[0]);
  out.y = BoardLetter(point[1]);
  return true;
}

bool ParseRelayDiagramEnd(const char* line, int& moveNumber, int& diagram) {
  CFieldSplitter fields;
  const CString lower = Lowered(line);
  if (!SplitExactly(fields, lower, 3)) return false;
  moveNumber = ReadRelayInt(fields.GetField(1));
  diagram = ReadRelayInt(fields.GetField(2));
  return true;
}

bool ParseRelayUndo(const char* line, int length, int& moveNumber, std::int64_t& time) {
  // The fields sit at fixed places; a line too short to reach the stamp would be read past its end.
  constexpr int kStampOffset = 7;
  CFieldSplitter fields;
  if (length < kStampOffset + 1 || !SplitExactly(fields, line, 3)) return false;
  moveNumber = ReadRelayInt(line + 3);
  time = ReadRelayNumber(line + kStampOffset);
  return true;
}

bool ApplyRelayGameInfo(const char* line, CGameInfo& info, RelayInfoLabel& label) {
  CFieldSplitter fields;
  if (!SplitExactly(fields, line, 3)) return false;
  const CString key = Lowered(fields.GetField(1));
  const char* value = fields.GetField(2);
  label = RelayInfoLabel::None;
  if (key == "gn") {
    info.m_title = value;
  } else if (key == "gd") {
    if (std::strlen(value) < 12) return false;
    const CString date(value);
    info.m_year = ReadRelayInt(date.Left(4));
    info.m_month = ReadRelayInt(date.Mid(4, 2));
    info.m_day = ReadRelayInt(date.Mid(6, 2));
    info.m_hour = ReadRelayInt(date.Mid(8, 2));
    info.m_minute = ReadRelayInt(date.Mid(10, 2));
  } else if (key == "gs") {
    info.m_place = value;
  } else if (key == "bn" || key == "bg") {
    if (key == "bn") info.m_blackName = value; else info.m_blackRank = ReadRelayInt(value);
    label = RelayInfoLabel::BlackName;
  } else if (key == "bc") {
    info.m_blackAffiliation = value;
    label = RelayInfoLabel::BlackAffiliation;
  } else if (key == "wn" || key == "wg") {
    if (key == "wn") info.m_whiteName = value; else info.m_whiteRank = ReadRelayInt(value);
    label = RelayInfoLabel::WhiteName;
  } else if (key == "wc") {
    info.m_whiteAffiliation = value;
    label = RelayInfoLabel::WhiteAffiliation;
  } else if (key == "cm") {
    info.m_komi = std::strtod(value, nullptr);
  } else if (key == "ct") {
    const CString limit(value);
    info.m_timeLimit = ReadRelayInt(limit.Left(2)) * 60 + ReadRelayInt(limit.Mid(2, 2));
  }
  return true;
}

bool ApplyRelayResult(const char* line, CGameInfo& info) {
  CFieldSplitter fields;
  if (!SplitExactly(fields, line, 7)) return false;
  info.m_totalMoves = ReadRelayInt(fields.GetField(1));
  info.m_result = fields.GetField(2);
  info.m_blackBD = ReadRelayInt(fields.GetField(3));
  info.m_whiteWD = ReadRelayInt(fields.GetField(4));
  // An invalid time leaves zeros, as a game without that clock has.
  int h = 0, m = 0, s = 0;
  if (!ParseHhmmss(fields.GetField(5), &h, &m, &s)) h = m = s = 0;
  info.m_whiteHours = h;
  info.m_whiteMinutes = m;
  info.m_whiteSeconds = s;
  if (!ParseHhmmss(fields.GetField(6), &h, &m, &s)) h = m = s = 0;
  info.m_blackHours = h;
  info.m_blackMinutes = m;
  info.m_blackSeconds = s;
  return true;
}

bool ParseRelayPhoto(const char* line, RelayPhoto& out) {
  CFieldSplitter fields;
  if (!SplitExactly(fields, line, 2)) return false;
  out.black = std::tolower(static_cast<unsigned char>(fields.GetField(0)[0])) == 'b';
  out.count = ReadRelayNumber(fields.GetField(1));
  return true;
}

bool ParseRelayServerTime(const char* line, std::int64_t& time) {
  CFieldSplitter fields;
  if (!SplitExactly(fields, line, 2)) return false;
  time = ReadRelayNumber(fields.GetField(1));
  return true;
}

bool ParseRelayMediaAddress(const char* line, CString& address) { return ParseRelayText(line, address); }

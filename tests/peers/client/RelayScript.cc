#include "peers/client/RelayScript.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "client/model/GameRecordFile.h"
#include "client/model/StoneNode.h"

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[4096];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

std::string Point(int x, int y) { return {static_cast<char>(x + 0x60), static_cast<char>(y + 0x60)}; }

std::string Clock(int seconds) {
  if (seconds < 0) seconds = 0;
  return Format("%02d%02d%02d", seconds / 3600, (seconds % 3600) / 60, seconds % 60);
}

// Relay texts hold no "|" and no line break; the breaks that end a record's texts are dropped.
std::string Clean(const CString& text) {
  std::string out(static_cast<const char*>(text));
  for (char& ch : out) {
    if (ch == '|' || ch == '\n' || ch == '\r') ch = ' ';
  }
  out.erase(out.find_last_not_of(' ') + 1);
  return out;
}

const char* StoneLetter(const CStoneNode& stone) {
  const DWORD state = stone.GetState();
  if (state & CStoneNode::kMarkK) return "k";
  if (state & CStoneNode::kMarkE) return "e";
  return stone.GetColor() == 2 ? "b" : "w";
}

}  // namespace

RelayScript::RelayScript(bool voice) : m_voice(voice) {}

RelayScript::~RelayScript() { m_moves.DeleteAll(); }

bool RelayScript::Read(const char* path) {
  CGameRecordFile record;
  const bool read = record.Read(path, &m_moves, &m_comments, &m_diagrams, &m_info) != FALSE;
  m_error = record.GetErrorCode();
  m_clocks[1] = m_clocks[2] = TimeLimitSeconds();
  return read;
}

int RelayScript::TimeLimitSeconds() const { return (m_info.m_timeLimit ? m_info.m_timeLimit : 60) * 60; }

std::string RelayScript::InfoLines() const {
  const CGameInfo& info = m_info;
  std::string lines;
  const auto add = [&](const char* key, const std::string& value) {
    // A key with an empty value would be a line of two fields, which a viewer drops.
    if (!value.empty()) lines += Format("gi|%s|%s\n", key, value.c_str());
  };
  add("gn", Clean(info.m_title));
  if (info.m_year > 0)
    add("gd", Format("%04d%02d%02d%02d%02d", info.m_year, info.m_month, info.m_day, info.m_hour, info.m_minute));
  add("gs", Clean(info.m_place));
  add("bn", Clean(info.m_blackName));
  add("bg", info.m_blackRank > 0 ? std::to_string(info.m_blackRank) : "");
  add("bc", Clean(info.m_blackAffiliation));
  add("wn", Clean(info.m_whiteName));
  add("wg", info.m_whiteRank > 0 ? std::to_string(info.m_whiteRank) : "");
  add("wc", Clean(info.m_whiteAffiliation));
  add("cm", Format("%.1f", info.m_komi));
  const int limit = TimeLimitSeconds() / 60;
  add("ct", Format("%02d%02d", limit / 60, limit % 60));
  lines += m_voice ? "mu|rtsp://127.0.0.1/relay.rm\n" : "mu|null\n";
  lines += "e1|" + (info.m_title.IsEmpty() ? std::string("Relay") : Clean(info.m_title)) + "\n";
  return lines;
}

std::string RelayScript::PhotoLines(const std::string& path, bool black) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return "";
  return Format("%s|%zu\n", black ? "bp" : "wp", bytes.size()) + bytes;
}

std::string RelayScript::MoveLines(int k, std::time_t stamp) {
  const CStoneNode* node = k >= 1 ? m_moves.GetNode(k - 1) : nullptr;
  if (node == nullptr) return "";
  const bool black = node->GetColor() == 2;
  m_clocks[black ? 2 : 1] -= 10 + (k * 7) % 50;
  std::string lines = Format("am|%03d|%s|%s|%lld|%s|%s\n", k, black ? "b" : "w", Point(node->GetX(), node->GetY()).c_str(),
                             static_cast<long long>(stamp), Clock(m_clocks[1]).c_str(), Clock(m_clocks[2]).c_str());
  for (int i = 0; i < m_comments.GetCount(k); ++i) {
    CString text;
    m_comments.GetAt(text, k, i);
    lines += Format("te|%d|%s\n", k, Clean(text).c_str());
    ++m_commentsSent;
  }
  for (int d = 0; d < m_diagrams.GetDiagramCount(k); ++d) {
    const CNodeArray* stones = m_diagrams.GetDiagramMoves(k, d);
    for (INT_PTR i = 0; stones && i < stones->GetSize(); ++i) {
      const CStoneNode* stone = stones->GetNode(i);
      // The second number is the stone's number within its diagram. The last field is not read
      // by a viewer but must be there (an empty one would be no field at all): the number again.
      lines += Format("%s|%d|%d|%s|%s|%d\n", m_voice ? "aa" : "ar", k, stone->GetSeq(), StoneLetter(*stone),
                      Point(stone->GetX(), stone->GetY()).c_str(), stone->GetSeq());
      ++m_stonesSent;
    }
    CString text;
    m_diagrams.GetDiagramText(k, d, text);
    if (!text.IsEmpty()) lines += Format("%s|%d|%s\n", m_voice ? "ae" : "re", k, Clean(text).c_str());
    // The closing line names the move the diagram branches off at (a record file's PT).
    lines += Format("%s|%d|%d\n", m_voice ? "ea" : "er", k, m_diagrams.GetDiagramBase(k, d));
    ++m_diagramsSent;
  }
  return lines;
}

std::string RelayScript::ResultLine() const {
  const int limit = TimeLimitSeconds();
  return Format("gr|%03d|%s|0|0|%s|%s\n", MoveCount(), Clean(m_info.m_result).c_str(), Clock(limit - m_clocks[1]).c_str(),
                Clock(limit - m_clocks[2]).c_str());
}

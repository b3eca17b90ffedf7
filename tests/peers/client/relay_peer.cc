// The relay peer as a program: relays a record file to a viewer move by move, with the game's
// information, clocks, comments and reference diagrams, so that the viewer can be tried on one
// machine.
//
//   relay_peer [--port N] [--interval MS] [--history N] [--voice] [--black-photo F] [--white-photo F] FILE
//
// The viewer connects with "client ip=127.0.0.1" and "client port=N" in its client.cfg. The
// first N moves (--history) arrive at once as the stored history; the rest follow one every MS
// milliseconds. Ends with Ctrl-C.
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <exception>
#include <memory>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "client/model/CommentMap.h"
#include "client/model/GameInfo.h"
#include "client/model/GameRecordFile.h"
#include "client/model/NodeArray.h"
#include "client/model/RefDiagramMap.h"
#include "peers/client/RelayPeer.h"

namespace {

struct Options {
  unsigned short port{7001};
  int intervalMs{3000};
  int history{0};
  bool voice{false};
  std::string blackPhoto;
  std::string whitePhoto;
  std::string file;
};

// The game as the record file holds it.
struct Game {
  CNodeArray moves;
  CCommentMap comments;
  CRefDiagramMap diagrams;
  CGameInfo info;
  ~Game() { moves.DeleteAll(); }
};

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

// Relay texts hold no "|" and end at no line break.
std::string Clean(const CString& text) {
  std::string out(static_cast<const char*>(text));
  for (char& ch : out) {
    if (ch == '|' || ch == '\n' || ch == '\r') ch = ' ';
  }
  return out;
}

std::string InfoLines(const Game& game, bool voice) {
  const CGameInfo& info = game.info;
  std::string lines;
  const auto add = [&](const char* key, const std::string& value) {
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
  add("ct", Format("%02d%02d", (info.m_timeLimit ? info.m_timeLimit : 60) / 60, (info.m_timeLimit ? info.m_timeLimit : 60) % 60));
  lines += voice ? "mu|rtsp://127.0.0.1/relay.rm\n" : "mu|null\n";
  lines += "e1|" + (info.m_title.IsEmpty() ? std::string("Relay") : Clean(info.m_title)) + "\n";
  return lines;
}

// Move k (1-based) with its clocks, its comments and its reference diagrams.
std::string MoveLines(const Game& game, int k, bool voice, std::time_t stamp, int clocks[3]) {
  const CStoneNode* node = game.moves.GetNode(k - 1);
  if (node == nullptr) return "";
  const bool black = node->GetColor() == 2;
  clocks[black ? 2 : 1] -= 10 + (k * 7) % 50;
  std::string lines = Format("am|%03d|%s|%s|%lld|%s|%s\n", k, black ? "b" : "w", Point(node->GetX(), node->GetY()).c_str(),
                             static_cast<long long>(stamp), Clock(clocks[1]).c_str(), Clock(clocks[2]).c_str());
  for (int i = 0; i < game.comments.GetCount(k); ++i) {
    CString text;
    game.comments.GetAt(text, k, i);
    lines += Format("te|%d|%s\n", k, Clean(text).c_str());
  }
  for (int d = 0; d < game.diagrams.GetDiagramCount(k); ++d) {
    const CNodeArray* stones = game.diagrams.GetDiagramMoves(k, d);
    for (INT_PTR i = 0; stones && i < stones->GetSize(); ++i) {
      const CStoneNode* stone = stones->GetNode(i);
      const DWORD state = stone->GetState();
      const char* letter = (state & CStoneNode::kMarkK) ? "k" : (state & CStoneNode::kMarkE) ? "e" : stone->GetColor() == 2 ? "b" : "w";
      lines += Format("%s|%d|%d|%s|%s|\n", voice ? "aa" : "ar", k, d + 1, letter, Point(stone->GetX(), stone->GetY()).c_str());
    }
    CString text;
    game.diagrams.GetDiagramText(k, d, text);
    if (!text.IsEmpty()) lines += Format("%s|%d|%s\n", voice ? "ae" : "re", k, Clean(text).c_str());
    lines += Format("%s|%d|%d\n", voice ? "ea" : "er", k, d + 1);
  }
  return lines;
}

std::string Photo(const std::string& path, bool black) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return "";
  return Format("%s|%zu\n", black ? "bp" : "wp", bytes.size()) + bytes;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--port" && hasValue) options.port = static_cast<unsigned short>(std::atoi(argv[++i]));
    else if (arg == "--interval" && hasValue) options.intervalMs = std::atoi(argv[++i]);
    else if (arg == "--history" && hasValue) options.history = std::atoi(argv[++i]);
    else if (arg == "--black-photo" && hasValue) options.blackPhoto = argv[++i];
    else if (arg == "--white-photo" && hasValue) options.whitePhoto = argv[++i];
    else if (arg == "--voice") options.voice = true;
    else if (!arg.empty() && arg[0] != '-') options.file = arg;
    else return false;
  }
  return !options.file.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: relay_peer [--port N] [--interval MS] [--history N] [--voice] "
                         "[--black-photo F] [--white-photo F] FILE\n");
    return 2;
  }
  Game game;
  CGameRecordFile record;
  if (!record.Read(options.file.c_str(), &game.moves, &game.comments, &game.diagrams, &game.info)) {
    std::fprintf(stderr, "relay_peer: cannot read %s (error %d)\n", options.file.c_str(), record.GetErrorCode());
    return 1;
  }
  std::unique_ptr<RelayPeer> listening;
  try {
    listening = std::make_unique<RelayPeer>(options.port);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  RelayPeer& peer = *listening;
  const int total = static_cast<int>(game.moves.GetSize());
  std::printf("relay_peer: %d moves of %s on 127.0.0.1:%u; waiting for a viewer\n", total, options.file.c_str(), peer.Port());
  std::fflush(stdout);
  while (!peer.WaitForLines(1, 1000)) {
  }
  const int limit = (game.info.m_timeLimit ? game.info.m_timeLimit : 60) * 60;
  int clocks[3] = {0, limit, limit};
  std::string start = InfoLines(game, options.voice);
  if (!options.blackPhoto.empty()) start += Photo(options.blackPhoto, true);
  if (!options.whitePhoto.empty()) start += Photo(options.whitePhoto, false);
  const int history = std::min(options.history, total);
  for (int k = 1; k <= history; ++k) start += MoveLines(game, k, options.voice, std::time(nullptr), clocks);
  start += "eh\n";
  peer.Send(start);
  for (int k = history + 1; k <= total; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(options.intervalMs));
    const std::time_t now = std::time(nullptr);
    peer.Send(Format("ts|%lld\n", static_cast<long long>(now)) + MoveLines(game, k, options.voice, now, clocks));
  }
  peer.Send(Format("gr|%03d|%s|0|0|%s|%s\n", total, Clean(game.info.m_result).c_str(), Clock(limit - clocks[1]).c_str(),
                   Clock(limit - clocks[2]).c_str()));
  std::printf("relay_peer: the whole game was relayed\n");
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(60));
}

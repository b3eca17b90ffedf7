// The game-server peer as a program, for trying Orvanta on one machine:
//   orvanta_peer <script> [port]
// It listens on 127.0.0.1:<port> (default 12121), prints every record a client sends, and answers
// from the script. A script line
//   on <major> <minor> send <major> <minor> <flag> <payload>
// answers each client record (major, minor) with one server record; several lines for the same
// record answer with several records, in order. The payload is the rest of the line, in UTF-8
// (sent in the client's code page). Empty lines and lines starting with # are ignored. Without an
// "on" line for them, the hello (0,1) and the login (1,1) get the peer's standard answers.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include <platform/strings.h>

#include "peers/orvanta/GameServerPeer.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

// Loads the script into peer; false (with a message) on a line it cannot read.
bool LoadScript(const char* path, GameServerPeer& peer) {
  std::ifstream file(path);
  if (!file) {
    std::cerr << "orvanta_peer: cannot read " << path << "\n";
    return false;
  }
  std::set<std::pair<int, int>> replaced;
  std::string line;
  int number = 0;
  while (std::getline(file, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || line[0] == '#')
      continue;
    std::istringstream words(line);
    std::string on;
    std::string send;
    int major = 0;
    int minor = 0;
    int replyMajor = 0;
    int replyMinor = 0;
    std::string flag;
    if (!(words >> on >> major >> minor >> send >> replyMajor >> replyMinor >> flag) || on != "on" || send != "send") {
      std::cerr << "orvanta_peer: " << path << ":" << number << ": expected 'on M m send M m flag payload'\n";
      return false;
    }
    std::string payload;
    std::getline(words >> std::ws, payload);
    if (replaced.insert({major, minor}).second)
      peer.NoReply(major, minor);
    const std::string wire = Utf8ToCp949(payload).str();
    peer.AddToReply(major, minor, {{GameServerPeer::Record(replyMajor, replyMinor, wire, flag), 0}});
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: orvanta_peer <script> [port]\n";
    return 2;
  }
  const int port = argc > 2 ? std::atoi(argv[2]) : 12121;
  if (port <= 0 || port > 65535) {
    std::cerr << "orvanta_peer: bad port " << argv[2] << "\n";
    return 2;
  }
  try {
    GameServerPeer peer(static_cast<unsigned short>(port));
    if (!LoadScript(argv[1], peer))
      return 2;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << "orvanta_peer: listening on " << peer.Address() << std::endl;
    std::size_t shown = 0;
    while (!g_stop) {
      const std::vector<PeerRecord> records = peer.Records();
      for (; shown < records.size(); ++shown) {
        const PeerRecord& r = records[shown];
        std::cout << "connection " << r.connection << ": (" << r.major << "," << r.minor << ") flag " << r.flag
                  << " payload " << Cp949ToUtf8(r.payload) << std::endl;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  } catch (const std::exception& error) {
    std::cerr << "orvanta_peer: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

// The game-server peer as a program, for trying Orvanta on one machine:
//   orvanta_peer <script> [port]
// It listens on 127.0.0.1:<port> (default 12121), prints every record a client sends, and answers
// from the script (see GameServerScript.h for its lines).

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

#include <platform/strings.h>

#include "peers/orvanta/GameServerPeer.h"
#include "peers/orvanta/GameServerScript.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

// Loads the script into peer; false (with a message) when it cannot be read.
bool LoadScript(const char* path, GameServerPeer& peer) {
  std::ifstream file(path);
  if (!file) {
    std::cerr << "orvanta_peer: cannot read " << path << "\n";
    return false;
  }
  GameServerScript script;
  std::string error;
  if (!script.Load(file, error)) {
    std::cerr << "orvanta_peer: " << path << ": " << error << "\n";
    return false;
  }
  script.Install(peer);
  return true;
}

}  // namespace

// A record for another place than the user's is printed among the records, where a person trying
// the program or a test reading the output sees it.
void ReportPlaceFault(const std::string& fault) {
  std::cout << "orvanta_peer: wrong place: " << Cp949ToUtf8(fault) << std::endl;
}

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

// The relay peer as a program: relays a record file to a viewer move by move, with the game's
// information, clocks, comments and reference diagrams, so that the viewer can be tried on one
// machine.
//
//   relay_peer [--port N] [--interval MS] [--history N] [--voice] [--black-photo F] [--white-photo F] FILE
//
// The viewer connects with "client ip=127.0.0.1" and "client port=N" in its client.cfg. The
// first N moves (--history) arrive at once as the stored history; the rest follow one every MS
// milliseconds. --port 0 takes any free loopback port. It prints the port it listens on, the
// viewer's login line and, once everything has been handed to the viewer's connection, a line
// counting the moves, comments, diagrams and diagram stones sent. Ends with Ctrl-C.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <memory>
#include <string>
#include <thread>

#include "peers/client/RelayPeer.h"
#include "peers/client/RelayScript.h"

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
  RelayScript script(options.voice);
  if (!script.Read(options.file.c_str())) {
    std::fprintf(stderr, "relay_peer: cannot read %s (error %d)\n", options.file.c_str(), script.GetErrorCode());
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
  const int total = script.MoveCount();
  std::printf("relay_peer: %d moves of %s on 127.0.0.1:%u; waiting for a viewer\n", total, options.file.c_str(), peer.Port());
  std::fflush(stdout);
  while (!peer.WaitForLines(1, 1000)) {
  }
  std::printf("relay_peer: a viewer logged in: %s\n", peer.Received()[0].c_str());
  std::fflush(stdout);
  std::string start = script.InfoLines();
  if (!options.blackPhoto.empty()) start += RelayScript::PhotoLines(options.blackPhoto, true);
  if (!options.whitePhoto.empty()) start += RelayScript::PhotoLines(options.whitePhoto, false);
  const int history = std::min(options.history, total);
  for (int k = 1; k <= history; ++k) start += script.MoveLines(k, std::time(nullptr));
  start += "eh\n";
  peer.Send(start);
  for (int k = history + 1; k <= total; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(options.intervalMs));
    const std::time_t now = std::time(nullptr);
    peer.Send("ts|" + std::to_string(static_cast<long long>(now)) + "\n" + script.MoveLines(k, now));
  }
  peer.Send(script.ResultLine());
  // Only what reached the viewer's connection counts as relayed.
  while (!peer.WaitUntilSent(1000)) {
  }
  std::printf("relay_peer: the whole game was relayed: %d moves, %d comments, %d diagrams with %d stones\n", total,
              script.CommentsSent(), script.DiagramsSent(), script.DiagramStonesSent());
  std::fflush(stdout);
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(60));
}

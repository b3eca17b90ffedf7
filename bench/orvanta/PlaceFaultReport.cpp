// A benchmark only says what the game-server peer's place check found.

#include <cstdio>

#include "peers/orvanta/GameServerPeer.h"

void ReportPlaceFault(const std::string& fault) { std::fprintf(stderr, "server peer: wrong place: %s\n", fault.c_str()); }

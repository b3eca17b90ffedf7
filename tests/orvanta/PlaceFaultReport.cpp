// The game-server peer's place check fails the test that runs the peer.

#include <gtest/gtest.h>

#include "peers/orvanta/GameServerPeer.h"

void ReportPlaceFault(const std::string& fault) { ADD_FAILURE() << "the server peer got a record for another place: " << fault; }

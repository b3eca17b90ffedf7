// The loopback server of the Orvanta test peers, echoing, is the far end of the link benchmarks;
// it is compiled into this program from its one source.
#include "../../tests/peers/orvanta/LoopbackServer.cpp"

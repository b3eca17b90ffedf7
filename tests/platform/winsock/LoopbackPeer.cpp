// The one-connection loopback server of the Orvanta peers also drives the socket layer's own tests;
// it is compiled into this test program from its one source.
#include "peers/orvanta/LoopbackServer.cpp"

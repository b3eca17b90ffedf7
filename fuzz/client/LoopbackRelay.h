#pragma once
// The relay's side of the view fuzz target, on real loopback sockets (kept apart from the
// platform's socket names) and served by one thread for the whole run.

#include <string>

// Listens on 127.0.0.1 and starts the serving thread; the port in port. False on failure.
bool StartLoopbackRelay(unsigned short& port);
// The next viewer that connects gets its login answered with "ua|ok", then bytes, then the end
// of the connection.
void QueueRelaySession(std::string bytes);
// Waits until that session is over (the viewer closed its side, or no viewer came within 5 s).
void WaitRelaySession();

#pragma once
// The listening socket every test peer starts with.

// Listens on an ephemeral port of 127.0.0.1 and returns the socket, with its port in port.
// Throws std::runtime_error naming who when the socket cannot be made.
int ListenOnLoopback(unsigned short& port, const char* who);

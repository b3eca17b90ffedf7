#pragma once
// Translation of the host's errno values into WinSock error numbers.

namespace platform::winsock {

// WinSock number for errno; 0 stays 0, values with no closer match give WSAEINVAL.
int WinSockErrorFromErrno(int errnoValue);

}  // namespace platform::winsock

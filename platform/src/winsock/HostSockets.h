#pragma once
// The host's BSD socket calls behind a narrow interface of plain integers, so that the WinSock
// layer never sees the host's socket headers (their names clash with WinSock's). Functions report
// failure as an errno value; ErrorMap.h turns it into a WinSock number.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform::host {

// Poll bits, as the host's poll() reports them.
extern const short kPollIn;
extern const short kPollOut;
extern const short kPollErr;
extern const short kPollHup;

// A new IPv4 stream socket, blocking, close-on-exec; -1 and error (errno) set on failure.
int OpenStreamSocket(int& error);
// Starts connecting fd to an address and port given in network byte order; 0 when connected at
// once, else errno (EINPROGRESS while a non-blocking connect is under way).
int Connect(int fd, std::uint32_t addressNet, std::uint16_t portNet);
// Bytes sent or -1 with error; never raises SIGPIPE.
long Send(int fd, const char* data, std::size_t length, int& error);
// Bytes received, 0 at the peer's end of stream, or -1 with error.
long Receive(int fd, char* data, std::size_t length, int& error);
// Discards unread input (so the close is graceful rather than a reset), then closes fd.
int CloseGracefully(int fd);
// Closes fd with a reset (linger on, timeout 0).
int CloseAbortively(int fd);
int SetNonBlocking(int fd, bool nonBlocking);
// Bytes one Receive would return now (0 also at end of stream).
int BytesAvailable(int fd, int& count);
int SetBufferSize(int fd, bool sendBuffer, int bytes);
// Longest wait of a blocking send in milliseconds; 0 waits forever.
int SetSendTimeout(int fd, int milliseconds);
int SetLinger(int fd, bool on, int seconds);
// The pending error of fd (the outcome of a connect) as errno; 0 for none.
int PendingError(int fd);
// Poll bits of fd right now, without waiting.
short PollNow(int fd, short events);
// True when the peer has ended its stream and no unread byte remains.
bool AtEndOfStream(int fd);

// Dotted IPv4 text (also the shorter and hexadecimal forms BSD accepts) to a network-order address.
bool ParseIPv4(const char* text, std::uint32_t& addressNet);

// A looked-up host: its canonical name and IPv4 addresses in network byte order.
struct ResolvedHost {
  std::string name;
  std::vector<std::uint32_t> addresses;
};
enum class LookupResult { kFound, kNotFound, kNoAddress, kTryAgain };
// Blocking IPv4 lookup of a name or dotted address.
LookupResult ResolveIPv4(const std::string& name, ResolvedHost& host);

}  // namespace platform::host

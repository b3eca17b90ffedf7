#include "HostSockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

namespace platform::host {

const short kPollIn = POLLIN;
const short kPollOut = POLLOUT;
const short kPollErr = POLLERR;
const short kPollHup = POLLHUP;

namespace {

int ErrnoOf(int result) { return result < 0 ? errno : 0; }

}  // namespace

int OpenStreamSocket(int& error) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  error = fd < 0 ? errno : 0;
  if (fd >= 0) {
    // Records are small and the link batches them itself: waiting to coalesce only adds delay.
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  return fd;
}

int Connect(int fd, std::uint32_t addressNet, std::uint16_t portNet) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = portNet;
  address.sin_addr.s_addr = addressNet;
  int result = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  // An interrupted connect goes on in the background, exactly like a non-blocking one.
  if (result < 0 && errno == EINTR)
    return EINPROGRESS;
  return ErrnoOf(result);
}

long Send(int fd, const char* data, std::size_t length, int& error) {
  long sent;
  do {
    sent = ::send(fd, data, length, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  error = sent < 0 ? errno : 0;
  return sent;
}

long Receive(int fd, char* data, std::size_t length, int& error) {
  long received;
  do {
    received = ::recv(fd, data, length, 0);
  } while (received < 0 && errno == EINTR);
  error = received < 0 ? errno : 0;
  return received;
}

int CloseGracefully(int fd) {
  // Linux answers a close with unread input by a reset, which may destroy bytes still in flight
  // to the peer; reading the input away first keeps the close an orderly end of stream.
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0 && (flags & O_NONBLOCK) == 0)
    ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  char discard[4096];
  while (::recv(fd, discard, sizeof discard, 0) > 0) {
  }
  return ErrnoOf(::close(fd));
}

int CloseAbortively(int fd) {
  SetLinger(fd, true, 0);
  return ErrnoOf(::close(fd));
}

int SetNonBlocking(int fd, bool nonBlocking) {
  int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0)
    return errno;
  flags = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return ErrnoOf(::fcntl(fd, F_SETFL, flags));
}

int BytesAvailable(int fd, int& count) {
  count = 0;
  return ErrnoOf(::ioctl(fd, FIONREAD, &count));
}

int SetBufferSize(int fd, bool sendBuffer, int bytes) {
  return ErrnoOf(::setsockopt(fd, SOL_SOCKET, sendBuffer ? SO_SNDBUF : SO_RCVBUF, &bytes, sizeof bytes));
}

int SetSendTimeout(int fd, int milliseconds) {
  timeval timeout{};
  timeout.tv_sec = milliseconds / 1000;
  timeout.tv_usec = (milliseconds % 1000) * 1000;
  return ErrnoOf(::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout));
}

int SetLinger(int fd, bool on, int seconds) {
  ::linger value{};
  value.l_onoff = on ? 1 : 0;
  value.l_linger = seconds;
  return ErrnoOf(::setsockopt(fd, SOL_SOCKET, SO_LINGER, &value, sizeof value));
}

int PendingError(int fd) {
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0)
    return errno;
  return error;
}

short PollNow(int fd, short events) {
  pollfd entry{fd, events, 0};
  int ready;
  do {
    ready = ::poll(&entry, 1, 0);
  } while (ready < 0 && errno == EINTR);
  return ready > 0 ? entry.revents : 0;
}

bool AtEndOfStream(int fd) {
  char probe;
  long peeked;
  do {
    peeked = ::recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
  } while (peeked < 0 && errno == EINTR);
  return peeked == 0;
}

bool ParseIPv4(const char* text, std::uint32_t& addressNet) {
  in_addr address{};
  if (::inet_aton(text, &address) == 0)
    return false;
  addressNet = address.s_addr;
  return true;
}

LookupResult ResolveIPv4(const std::string& name, ResolvedHost& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* list = nullptr;
  int status = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
  if (status != 0) {
    if (status == EAI_AGAIN)
      return LookupResult::kTryAgain;
    if (status == EAI_NODATA || status == EAI_ADDRFAMILY)
      return LookupResult::kNoAddress;
    return LookupResult::kNotFound;
  }
  host.name = list->ai_canonname ? list->ai_canonname : name;
  host.addresses.clear();
  for (addrinfo* entry = list; entry; entry = entry->ai_next) {
    auto address = reinterpret_cast<sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr;
    if (std::find(host.addresses.begin(), host.addresses.end(), address) == host.addresses.end())
      host.addresses.push_back(address);
  }
  ::freeaddrinfo(list);
  return host.addresses.empty() ? LookupResult::kNoAddress : LookupResult::kFound;
}

}  // namespace platform::host

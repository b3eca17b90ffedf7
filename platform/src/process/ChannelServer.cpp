#include "ChannelServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>

#include "ChannelFolder.h"
#include "platform/messageloop.h"

namespace platform::process {
namespace {

// Writes the whole reply; a reader that vanished meanwhile simply misses it.
void SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd waiting{fd, POLLOUT, 0};
      if (::poll(&waiting, 1, 1000) > 0) continue;
    }
    return;
  }
}

}  // namespace

ChannelServer::~ChannelServer() { Close(); }

bool ChannelServer::Listen(const std::string& socketPath) {
  Close();
  sockaddr_un address;
  if (!MakeSocketAddress(socketPath, address)) return false;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  ::unlink(socketPath.c_str());
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0) {
    ::close(fd);
    return false;
  }
  m_listenFd = fd;
  WatchFd(fd, POLLIN, [this](int ready, short revents) { OnReady(ready, revents); });
  return true;
}

void ChannelServer::Close() {
  while (!m_connections.empty()) Drop(m_connections.begin()->first);
  if (m_listenFd < 0) return;
  UnwatchFd(m_listenFd);
  ::close(m_listenFd);
  m_listenFd = -1;
}

std::vector<int> ChannelServer::Descriptors() const {
  std::vector<int> fds;
  if (m_listenFd >= 0) fds.push_back(m_listenFd);
  for (const auto& [fd, reader] : m_connections) fds.push_back(fd);
  return fds;
}

void ChannelServer::OnReady(int fd, short revents) {
  if (fd == m_listenFd) {
    Accept();
    return;
  }
  if (!m_connections.count(fd)) return;
  if (revents & (POLLIN | POLLHUP | POLLERR)) Read(fd);
}

void ChannelServer::Accept() {
  for (;;) {
    int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    if (m_connections.size() >= kMaxConnections) {
      ::close(fd);
      continue;
    }
    m_connections[fd] = std::make_unique<RequestReader>();
    WatchFd(fd, POLLIN, [this](int ready, short revents) { OnReady(ready, revents); });
  }
}

void ChannelServer::Read(int fd) {
  RequestReader& reader = *m_connections[fd];
  char buffer[65536];
  for (;;) {
    ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return;
    if (n <= 0) {  // the peer left (a liveness probe) or failed before its request was whole
      Drop(fd);
      return;
    }
    RequestReader::State state = reader.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
    if (state == RequestReader::State::Invalid) {
      Drop(fd);
      return;
    }
    if (state == RequestReader::State::Complete) {
      Request request = reader.GetRequest();
      Answer(fd, request);
      return;
    }
  }
}

void ChannelServer::Answer(int fd, const Request& request) {
  // The connection leaves the table before the handler runs: the handler may pump messages,
  // and this descriptor must not be served twice meanwhile.
  UnwatchFd(fd);
  m_connections.erase(fd);
  std::int64_t result = m_handler(request);
  SendAll(fd, EncodeReply(result));
  ::close(fd);
}

void ChannelServer::Drop(int fd) {
  UnwatchFd(fd);
  ::close(fd);
  m_connections.erase(fd);
}

}  // namespace platform::process

#include "ChannelClient.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "ChannelServer.h"
#include "Deadline.h"

namespace platform::process {
namespace {

// Lets requests that reached this process meanwhile be answered (fds[0] is the client's own).
void ServeReady(ChannelServer& server, const std::vector<pollfd>& fds) {
  for (std::size_t at = 1; at < fds.size(); ++at) {
    if (fds[at].revents) server.OnReady(fds[at].fd, fds[at].revents);
  }
}

}  // namespace

std::optional<std::int64_t> ChannelClient::Exchange(const ChannelFolder& folder, pid_t pid, const Request& request,
                                                    UINT timeoutMs, ChannelServer* server) {
  Deadline deadline(timeoutMs);
  int fd = folder.Connect(pid);
  if (fd < 0) return std::nullopt;
  ChannelClient client(fd, EncodeRequest(request));
  while (!client.HasReply()) {
    int remaining = deadline.RemainingMs();
    if (remaining == 0) return std::nullopt;
    std::vector<pollfd> fds{{client.m_fd, client.WantedEvents(), 0}};
    if (server) {
      for (int other : server->Descriptors()) fds.push_back({other, POLLIN, 0});
    }
    int ready = ::poll(fds.data(), fds.size(), std::min(remaining, 50));
    if (ready < 0 && errno != EINTR) return std::nullopt;
    if (ready <= 0) continue;
    if (!client.Step(fds[0].revents)) return std::nullopt;
    if (server) ServeReady(*server, fds);
  }
  return client.Reply();
}

ChannelClient::~ChannelClient() { ::close(m_fd); }

bool ChannelClient::Step(short revents) {
  if (m_sent < m_out.size()) {
    if (revents & (POLLERR | POLLHUP)) return false;
    return (revents & POLLOUT) ? Write() : true;
  }
  return (revents & (POLLIN | POLLHUP | POLLERR)) ? Read() : true;
}

bool ChannelClient::Write() {
  for (;;) {
    ssize_t n = ::send(m_fd, m_out.data() + m_sent, m_out.size() - m_sent, MSG_NOSIGNAL);
    if (n > 0) {
      m_sent += static_cast<std::size_t>(n);
      if (m_sent == m_out.size()) return true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && errno == EAGAIN;
  }
}

bool ChannelClient::Read() {
  char buffer[kReplySize];
  for (;;) {
    ssize_t n = ::recv(m_fd, buffer, kReplySize - m_in.size(), 0);
    if (n > 0) {
      m_in.append(buffer, static_cast<std::size_t>(n));
      if (HasReply()) return true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && errno == EAGAIN;  // an early end means the peer dropped the request
  }
}

std::optional<std::int64_t> ChannelClient::Reply() const {
  std::int64_t result = 0;
  if (!DecodeReply(m_in, result)) return std::nullopt;
  return result;
}

}  // namespace platform::process

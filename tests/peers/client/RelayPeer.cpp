#include "peers/client/RelayPeer.h"

#include "peers/LoopbackListener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <string>

namespace {

int ListenOnPort(unsigned short port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("relay peer: socket failed");
  const int yes = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || ::listen(fd, 4) < 0) {
    ::close(fd);
    throw std::runtime_error("relay peer: cannot listen on port " + std::to_string(port));
  }
  return fd;
}

}  // namespace

RelayPeer::RelayPeer() {
  m_listenFd = ListenOnLoopback(m_port, "relay peer");
  Start();
}

RelayPeer::RelayPeer(unsigned short port) {
  if (port == 0) {
    m_listenFd = ListenOnLoopback(m_port, "relay peer");
  } else {
    m_listenFd = ListenOnPort(port);
    m_port = port;
  }
  Start();
}

void RelayPeer::Start() {
  if (::pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    ::close(m_listenFd);
    throw std::runtime_error("relay peer: cannot make its wake pipe");
  }
  m_thread = std::thread([this] { Run(); });
}

RelayPeer::~RelayPeer() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  Wake();
  if (m_clientFd >= 0) ::shutdown(m_clientFd, SHUT_RDWR);  // frees a send that blocks
  m_thread.join();
  DropClient();
  ::close(m_listenFd);
  ::close(m_wakePipe[0]);
  ::close(m_wakePipe[1]);
}

void RelayPeer::SetLoginReply(const std::string& bytes) {
  std::lock_guard lock(m_mutex);
  m_loginReply = bytes;
}

void RelayPeer::SetBeforeReply(const std::string& bytes) {
  std::lock_guard lock(m_mutex);
  m_beforeReply = bytes;
}

void RelayPeer::Send(const std::string& bytes) {
  {
    std::lock_guard lock(m_mutex);
    m_outgoing.push_back(bytes);
  }
  Wake();
}

void RelayPeer::SkipLogin() {
  std::lock_guard lock(m_mutex);
  m_skipLogin = true;
}

void RelayPeer::CloseClient(bool reset) {
  {
    std::lock_guard lock(m_mutex);
    m_closeRequested = true;
    m_resetRequested = reset;
  }
  Wake();
}

std::vector<std::string> RelayPeer::Received() {
  std::lock_guard lock(m_mutex);
  return m_lines;
}

bool RelayPeer::WaitForLines(std::size_t count, int timeoutMs) {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_lines.size() >= count; });
}

bool RelayPeer::WaitUntilSent(int timeoutMs) {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_outgoing.empty(); });
}

bool RelayPeer::WaitUntilClosed(int timeoutMs) {
  std::unique_lock lock(m_mutex);
  return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                            [&] { return m_outgoing.empty() && !m_closeRequested; });
}

void RelayPeer::Wake() {
  const char byte = 1;
  (void)!::write(m_wakePipe[1], &byte, 1);
}

void RelayPeer::Run() {
  for (;;) {
    {
      std::lock_guard lock(m_mutex);
      if (m_stop) return;
    }
    pollfd fds[2] = {{m_wakePipe[0], POLLIN, 0}, {m_clientFd >= 0 ? m_clientFd.load() : m_listenFd, POLLIN, 0}};
    if (::poll(fds, 2, 200) < 0 && errno != EINTR) return;
    if (fds[0].revents & POLLIN) {
      char drain[64];
      while (::read(m_wakePipe[0], drain, sizeof drain) > 0) {
      }
    }
    if (m_clientFd < 0) {
      if (fds[1].revents & POLLIN) AcceptClient();
      continue;
    }
    if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) && !ReadClient()) {
      DropClient();
      continue;
    }
    SendPending();
  }
}

void RelayPeer::AcceptClient() {
  m_clientFd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  std::lock_guard lock(m_mutex);
  m_loggedIn = m_skipLogin;
  m_partial.clear();
  m_closeRequested = false;
}

bool RelayPeer::ReadClient() {
  char buffer[4096];
  const ssize_t got = ::recv(m_clientFd, buffer, sizeof buffer, MSG_DONTWAIT);
  if (got == 0) return false;
  if (got < 0) return errno == EAGAIN || errno == EINTR;
  std::string reply;
  {
    std::lock_guard lock(m_mutex);
    m_partial.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = m_partial.find('\n')) != std::string::npos;) {
      m_lines.push_back(m_partial.substr(0, end));
      m_partial.erase(0, end + 1);
      if (!m_loggedIn) {
        m_loggedIn = true;
        reply = m_beforeReply + m_loginReply;
      }
    }
  }
  m_changed.notify_all();
  if (!reply.empty()) ::send(m_clientFd, reply.data(), reply.size(), MSG_NOSIGNAL);
  return true;
}

void RelayPeer::SendPending() {
  for (;;) {
    std::string next;
    {
      std::lock_guard lock(m_mutex);
      if (!m_loggedIn) return;
      if (m_outgoing.empty()) {
        if (m_closeRequested && m_resetRequested) {
          const linger abort{1, 0};
          ::setsockopt(m_clientFd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
          DropClient();
        } else if (m_closeRequested) {
          ::shutdown(m_clientFd, SHUT_WR);
        }
        m_closeRequested = m_resetRequested = false;
        m_changed.notify_all();
        return;
      }
      next = m_outgoing.front();
    }
    std::size_t sent = 0;
    while (sent < next.size()) {
      const ssize_t n = ::send(m_clientFd, next.data() + sent, next.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) {
        if (n < 0 && errno == EINTR) continue;
        return;
      }
      sent += static_cast<std::size_t>(n);
    }
    {
      std::lock_guard lock(m_mutex);
      m_outgoing.pop_front();
    }
  }
}

void RelayPeer::DropClient() {
  if (m_clientFd >= 0) ::close(m_clientFd);
  m_clientFd = -1;
}

#include "LoopbackServer.h"

#include "peers/LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

LoopbackServer::LoopbackServer() { m_listenFd = ListenOnLoopback(m_port, "loopback server"); }

LoopbackServer::~LoopbackServer() {
  StopThreads();
  if (m_clientFd >= 0)
    ::close(m_clientFd);
  ::close(m_listenFd);
}

bool LoopbackServer::Accept(int timeoutMs) {
  pollfd entry{m_listenFd, POLLIN, 0};
  if (::poll(&entry, 1, timeoutMs) <= 0)
    return false;
  m_clientFd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (m_clientFd < 0)
    return false;
  int one = 1;
  ::setsockopt(m_clientFd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  m_reader = std::thread([this] { ReadLoop(); });
  m_writer = std::thread([this] { WriteLoop(); });
  return true;
}

void LoopbackServer::Send(std::string bytes) {
  std::lock_guard lock(m_mutex);
  m_outgoing.push_back(std::move(bytes));
  m_wake.notify_all();
}

void LoopbackServer::CloseAfterSending() {
  std::lock_guard lock(m_mutex);
  m_closeRequested = true;
  m_wake.notify_all();
}

void LoopbackServer::Reset() {
  StopThreads();
  if (m_clientFd < 0)
    return;
  linger abortive{1, 0};
  ::setsockopt(m_clientFd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  ::close(m_clientFd);
  m_clientFd = -1;
}

bool LoopbackServer::AllSent() const {
  std::lock_guard lock(m_mutex);
  return m_outgoing.empty() && m_writing == 0;
}

std::string LoopbackServer::Received() const {
  std::lock_guard lock(m_mutex);
  return m_received;
}

std::size_t LoopbackServer::ReceivedSize() const {
  std::lock_guard lock(m_mutex);
  return m_received.size();
}

bool LoopbackServer::PeerClosed() const {
  std::lock_guard lock(m_mutex);
  return m_peerClosed;
}

unsigned short LoopbackServer::UnusedPort() {
  unsigned short port = 0;
  int fd = ListenOnLoopback(port, "loopback server");
  ::close(fd);
  return port;
}

void LoopbackServer::PauseReading(bool paused) {
  std::lock_guard lock(m_mutex);
  m_readingPaused = paused;
  m_wake.notify_all();
}

void LoopbackServer::EchoReceived(bool echo) {
  std::lock_guard lock(m_mutex);
  m_echo = echo;
}

void LoopbackServer::ReadLoop() {
  char buffer[65536];
  for (;;) {
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || !m_readingPaused; });
      if (m_stopping)
        return;
    }
    long received = ::recv(m_clientFd, buffer, sizeof buffer, 0);
    bool echo = false;
    {
      std::lock_guard lock(m_mutex);
      if (received <= 0 || m_stopping) {
        if (!m_stopping)
          m_peerClosed = received == 0;
        return;
      }
      echo = m_echo;
      if (!echo)
        m_received.append(buffer, static_cast<std::size_t>(received));
    }
    if (echo)
      WritePiece(std::string(buffer, static_cast<std::size_t>(received)));
  }
}

void LoopbackServer::WriteLoop() {
  for (;;) {
    std::string piece;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || !m_outgoing.empty() || m_closeRequested; });
      if (m_stopping)
        return;
      if (m_outgoing.empty()) {
        ::shutdown(m_clientFd, SHUT_WR);
        return;
      }
      piece = std::move(m_outgoing.front());
      m_outgoing.pop_front();
      ++m_writing;
    }
    WritePiece(piece);
    std::lock_guard lock(m_mutex);
    --m_writing;
  }
}

void LoopbackServer::WritePiece(const std::string& piece) {
  std::size_t done = 0;
  while (done < piece.size()) {
    long sent = ::send(m_clientFd, piece.data() + done, piece.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent > 0) {
      done += static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && errno != EAGAIN && errno != EINTR)
      return;
    // The client is not reading yet: wait a little, but give up when the server is stopped.
    pollfd entry{m_clientFd, POLLOUT, 0};
    ::poll(&entry, 1, 20);
    std::lock_guard lock(m_mutex);
    if (m_stopping)
      return;
  }
}

void LoopbackServer::StopThreads() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    m_wake.notify_all();
  }
  // Wakes a reader blocked in recv and a writer blocked in send without ending the stream.
  if (m_clientFd >= 0)
    ::shutdown(m_clientFd, SHUT_RD);
  if (m_writer.joinable())
    m_writer.join();
  if (m_reader.joinable())
    m_reader.join();
}

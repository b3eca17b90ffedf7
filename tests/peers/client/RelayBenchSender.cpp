#include "peers/client/RelayBenchSender.h"

#include "peers/LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

RelayBenchSender::RelayBenchSender(std::string chunk) : m_chunk(std::move(chunk)) {
  m_listenFd = ListenOnLoopback(m_port, "relay bench sender");
  m_thread = std::thread([this] { Run(); });
}

RelayBenchSender::~RelayBenchSender() {
  m_stop = true;
  ::shutdown(m_listenFd, SHUT_RDWR);
  if (m_clientFd >= 0) ::shutdown(m_clientFd, SHUT_RDWR);
  m_thread.join();
  if (m_clientFd >= 0) ::close(m_clientFd);
  ::close(m_listenFd);
}

void RelayBenchSender::Run() {
  pollfd listening{m_listenFd, POLLIN, 0};
  while (!m_stop && ::poll(&listening, 1, 100) == 0) {
  }
  if (m_stop) return;
  m_clientFd = ::accept(m_listenFd, nullptr, nullptr);
  if (m_clientFd < 0) return;
  char byte = 0;
  while (::recv(m_clientFd, &byte, 1, 0) == 1 && byte != '\n') {
  }
  const char reply[] = "ua|ok\n";
  ::send(m_clientFd, reply, sizeof reply - 1, MSG_NOSIGNAL);
  while (!m_stop && ::send(m_clientFd, m_chunk.data(), m_chunk.size(), MSG_NOSIGNAL) > 0) {
  }
}

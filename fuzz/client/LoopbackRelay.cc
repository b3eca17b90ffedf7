#include "LoopbackRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace {

// Never destroyed: the serving thread still waits on them when the process exits.
std::mutex& g_mutex = *new std::mutex;
std::condition_variable& g_changed = *new std::condition_variable;
std::optional<std::string> g_pending;  // the session waiting for its viewer
bool g_busy = false;
int g_listenFd = -1;

void Serve(const std::string& bytes) {
  // A viewer that never comes (its connect failed) must not hold the fuzzer up.
  pollfd waiting{g_listenFd, POLLIN, 0};
  if (::poll(&waiting, 1, 5000) != 1) return;
  const int client = ::accept4(g_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return;
  char ch = 0;
  while (::recv(client, &ch, 1, 0) == 1 && ch != '\n') {
  }
  const std::string reply = "ua|ok\n" + bytes;
  for (std::size_t sent = 0; sent < reply.size();) {
    const ssize_t n = ::send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  ::shutdown(client, SHUT_WR);
  char drain[4096];
  while (::recv(client, drain, sizeof drain, 0) > 0) {
  }
  ::close(client);
}

void Run() {
  for (;;) {
    std::string bytes;
    {
      std::unique_lock lock(g_mutex);
      g_changed.wait(lock, [] { return g_pending.has_value(); });
      bytes = std::move(*g_pending);
      g_pending.reset();
    }
    Serve(bytes);
    {
      std::lock_guard lock(g_mutex);
      g_busy = false;
    }
    g_changed.notify_all();
  }
}

}  // namespace

bool StartLoopbackRelay(unsigned short& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || ::listen(fd, 4) < 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0)
    return false;
  port = ntohs(address.sin_port);
  g_listenFd = fd;
  std::thread(Run).detach();
  return true;
}

void QueueRelaySession(std::string bytes) {
  {
    std::lock_guard lock(g_mutex);
    g_pending = std::move(bytes);
    g_busy = true;
  }
  g_changed.notify_all();
}

void WaitRelaySession() {
  std::unique_lock lock(g_mutex);
  g_changed.wait(lock, [] { return !g_busy; });
}

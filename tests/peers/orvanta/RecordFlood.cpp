#include "RecordFlood.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <random>

RecordFlood::RecordFlood(int fd, Maker make, unsigned seed)
    : m_fd(fd), m_make(std::move(make)), m_thread([this, seed] { Run(seed); }) {}

RecordFlood::~RecordFlood() {
  m_stop = true;
  // A writer blocked on a reader that went away is woken by the shutdown.
  ::shutdown(m_fd, SHUT_RDWR);
  m_thread.join();
  ::close(m_fd);
}

void RecordFlood::Run(unsigned seed) {
  struct Done {
    std::atomic<bool>& flag;
    ~Done() { flag = true; }
  } done{m_finished};
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::size_t> cut(1, 4000);
  std::string pending;
  const auto write = [&](std::size_t length) {
    const ssize_t sent = ::send(m_fd, pending.data(), length, MSG_NOSIGNAL);
    if (sent <= 0)
      return false;
    pending.erase(0, static_cast<std::size_t>(sent));
    return true;
  };
  while (!m_stop) {
    while (pending.size() < 8192)
      pending += m_make(++m_records);
    if (!write(std::min(pending.size(), cut(random))))
      return;
  }
  // The stream ends on a record's end, so that every record made can be read whole.
  while (!pending.empty())
    if (!write(pending.size()))
      return;
}

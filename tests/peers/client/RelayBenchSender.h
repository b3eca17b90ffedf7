#pragma once
// A loopback sender for the relay socket benchmark: accepts one connection, reads its login line,
// answers "ua|ok" and then writes the given bytes over and over until stopped.

#include <atomic>
#include <string>
#include <thread>

class RelayBenchSender {
public:
  explicit RelayBenchSender(std::string chunk);
  ~RelayBenchSender();
  RelayBenchSender(const RelayBenchSender&) = delete;
  RelayBenchSender& operator=(const RelayBenchSender&) = delete;

  unsigned short Port() const { return m_port; }

private:
  void Run();

  std::string m_chunk;
  int m_listenFd{-1};
  std::atomic<int> m_clientFd{-1};
  unsigned short m_port{0};
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

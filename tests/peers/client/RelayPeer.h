#pragma once
// RelayPeer: a relay server on a loopback port for tests. It takes one viewer at a time, reads
// its login line, answers it as told ("ua|ok" unless told otherwise, or not at all), then sends
// whatever the test queues (lines and raw blocks alike) and records every line the viewer sends.
// It runs on its own thread, so the viewer may block on it.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class RelayPeer {
public:
  RelayPeer();
  // Listens on the given loopback port (0: any free one), for a peer that people start by hand.
  explicit RelayPeer(unsigned short port);
  ~RelayPeer();
  RelayPeer(const RelayPeer&) = delete;
  RelayPeer& operator=(const RelayPeer&) = delete;

  unsigned short Port() const { return m_port; }

  // Bytes sent once the login line has arrived (default "ua|ok\n"); empty sends nothing.
  void SetLoginReply(const std::string& bytes);
  // Bytes sent before the login reply (lines that come ahead of it).
  void SetBeforeReply(const std::string& bytes);
  // Queues bytes for the viewer; sent once the viewer is connected and has logged in (or at once
  // when the login is not awaited, see SkipLogin).
  void Send(const std::string& bytes);
  // The viewer sends no login line: queued bytes go out as soon as it connects.
  void SkipLogin();
  // Closes the viewer's connection after what is queued has been sent; reset: with a reset, as
  // a server that crashed, rather than an orderly end.
  void CloseClient(bool reset = false);

  // Every line the viewer sent, without its LF; the login line first.
  std::vector<std::string> Received();
  // Waits (real time) until count lines have arrived; false on time-out.
  bool WaitForLines(std::size_t count, int timeoutMs);
  // Waits until everything queued has been handed to the kernel.
  bool WaitUntilSent(int timeoutMs);
  // Waits until the close CloseClient asked for is done: the viewer's next read finds all that was
  // sent and then the end, with no pause between them.
  bool WaitUntilClosed(int timeoutMs);

private:
  void Start();
  void Run();
  void Wake();
  void AcceptClient();
  // Reads what the viewer sent; false when it closed.
  bool ReadClient();
  void SendPending();
  void DropClient();

  int m_listenFd{-1};
  std::atomic<int> m_clientFd{-1};
  int m_wakePipe[2]{-1, -1};
  unsigned short m_port{0};
  std::thread m_thread;

  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_stop{false};
  bool m_loggedIn{false};
  bool m_skipLogin{false};
  bool m_closeRequested{false};
  bool m_resetRequested{false};
  std::string m_loginReply{"ua|ok\n"};
  std::string m_beforeReply;
  std::deque<std::string> m_outgoing;
  std::string m_partial;  // bytes of a line not yet ended
  std::vector<std::string> m_lines;
};

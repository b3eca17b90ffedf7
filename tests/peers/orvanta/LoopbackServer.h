#pragma once
// A one-connection TCP server on 127.0.0.1 for socket tests. It accepts one client, records every
// byte the client sends (reader thread), writes what the test queues (writer thread, one send per
// queued piece, so pieces leave as separate segments), and ends the connection gracefully or with
// a reset. Its interface uses no socket types, so tests of the WinSock-style layer can include it.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

class LoopbackServer {
public:
  // Listens on an ephemeral port of 127.0.0.1.
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  unsigned short Port() const { return m_port; }
  // Waits up to timeoutMs for the client; true once it is accepted.
  bool Accept(int timeoutMs = 3000);
  // Queues bytes to be written with one send call.
  void Send(std::string bytes);
  // Ends the server's stream once everything queued has been written.
  void CloseAfterSending();
  // Ends the connection at once with a reset.
  void Reset();
  // Stops or resumes taking bytes from the client, so that its sends can fill the buffers.
  void PauseReading(bool paused);
  // Sends every byte received straight back instead of keeping it (for throughput measurements).
  void EchoReceived(bool echo);

  // Everything queued has been written.
  bool AllSent() const;
  std::string Received() const;
  std::size_t ReceivedSize() const;
  // The client has ended its stream.
  bool PeerClosed() const;

  // A loopback port where nothing listens: connecting there is refused.
  static unsigned short UnusedPort();

private:
  void ReadLoop();
  void WriteLoop();
  void WritePiece(const std::string& piece);
  void StopThreads();

  int m_listenFd{-1};
  int m_clientFd{-1};
  unsigned short m_port{0};
  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::string> m_outgoing;
  bool m_closeRequested{false};
  bool m_stopping{false};
  std::size_t m_writing{0};  // pieces taken by the writer but not yet written
  std::string m_received;
  bool m_peerClosed{false};
  bool m_readingPaused{false};
  bool m_echo{false};
  std::thread m_reader;
  std::thread m_writer;
};

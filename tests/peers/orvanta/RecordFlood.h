#pragma once
// A server's writer at full speed: writes the records a maker gives, one after another, to a
// connected socket as fast as it takes them, every write ending at a random place, until told
// to stop; then writes on to the end of the last record. Its interface uses no socket types.

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class RecordFlood {
public:
  // The bytes of record number n (1, 2, ...).
  using Maker = std::function<std::string(long n)>;
  // Starts writing to fd, which it shuts and closes when it goes.
  RecordFlood(int fd, Maker make, unsigned seed);
  ~RecordFlood();
  RecordFlood(const RecordFlood&) = delete;
  RecordFlood& operator=(const RecordFlood&) = delete;

  // Asks the writer to stop after the record being written; the reader must go on reading
  // until Finished.
  void Stop() { m_stop = true; }
  // The last record made has been written whole (or the connection failed).
  bool Finished() const { return m_finished; }
  // Records made so far (all of them written once Finished).
  long Records() const { return m_records; }

private:
  void Run(unsigned seed);

  int m_fd;
  Maker m_make;
  std::atomic<bool> m_stop{false};
  std::atomic<long> m_records{0};
  std::atomic<bool> m_finished{false};
  std::thread m_thread;
};

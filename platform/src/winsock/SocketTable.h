#pragma once
// The sockets the library has open, by handle. Handles are numbers of their own, never the host's
// descriptors, and are not reused: a message still queued for a closed socket can never be
// taken for a newer one. Also keeps the WSAStartup count.

#include <map>
#include <memory>
#include <mutex>

#include "SocketState.h"

namespace platform::winsock {

class SocketTable {
public:
  static SocketTable& Instance();

  // WSAStartup / WSACleanup bookkeeping; the last cleanup closes every socket still open.
  void Start();
  // False when not started.
  bool Stop();
  bool IsStarted() const;

  // Registers an open descriptor and gives its new handle.
  SOCKET Add(int fd);
  // The socket of a handle, or null.
  std::shared_ptr<SocketState> Find(SOCKET handle) const;
  // Takes the socket out of the table; null when the handle is unknown.
  std::shared_ptr<SocketState> Remove(SOCKET handle);
  // Poll callback of a socket's descriptor.
  void OnReady(SOCKET handle, short revents);

private:
  SocketTable() = default;
  void CloseAll();

  mutable std::mutex m_mutex;
  std::map<SOCKET, std::shared_ptr<SocketState>> m_sockets;
  SOCKET m_nextHandle{0x100};
  int m_startCount{0};
};

}  // namespace platform::winsock

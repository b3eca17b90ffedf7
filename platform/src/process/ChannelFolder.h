#pragma once
// The folder of the window channel: each process's list of published windows and its socket.

#include <sys/types.h>
#include <sys/un.h>

#include <string>
#include <vector>

#include "WindowList.h"

namespace platform::process {

class ChannelFolder {
public:
  // The folder "windows" of the current PLATFORM_HOME.
  static ChannelFolder Current();
  explicit ChannelFolder(std::string path) : m_path(std::move(path)) {}

  const std::string& Path() const { return m_path; }
  std::string SocketPath(pid_t pid) const;
  std::string ListPath(pid_t pid) const;

  // Makes the folder (and missing parents), readable by its owner only; false on failure.
  bool Create() const;
  // Processes that publish windows here, in ascending order, except self.
  std::vector<pid_t> Publishers(pid_t self) const;
  // What pid published; empty (instance 0) when its list is missing or unreadable.
  WindowList ReadList(pid_t pid) const;
  // Replaces pid's list in one step, so readers never see half of it.
  bool WriteList(pid_t pid, const WindowList& list) const;
  // A connected, non-blocking socket to pid's channel, or -1 (errno tells why).
  int Connect(pid_t pid) const;
  // Whether pid still serves its socket; a process found dead has its files removed.
  bool IsAlive(pid_t pid) const;
  // Removes pid's list and socket.
  void Remove(pid_t pid) const;

private:
  std::string m_path;
};

// Fills a local socket address; false when the path is too long for one.
bool MakeSocketAddress(const std::string& path, sockaddr_un& address);

}  // namespace platform::process

#include "ChannelFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace platform::process {
namespace {

constexpr char kListSuffix[] = ".list";

std::string HomeFolder() {
  if (const char* home = std::getenv("PLATFORM_HOME"); home && *home) return home;
  const char* user = std::getenv("HOME");
  return std::string(user && *user ? user : "/tmp") + "/.local/share/pellomar";
}

// The process id a list file is named after, or 0.
pid_t PidOfListName(const char* name) {
  std::string_view text(name);
  std::string_view suffix(kListSuffix);
  if (text.size() <= suffix.size() || !text.ends_with(suffix)) return 0;
  text.remove_suffix(suffix.size());
  long value = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9' || value > 0x3FFFFFFF) return 0;
    value = value * 10 + (ch - '0');
  }
  return static_cast<pid_t>(value);
}

}  // namespace

bool MakeSocketAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

ChannelFolder ChannelFolder::Current() { return ChannelFolder(HomeFolder() + "/windows"); }

std::string ChannelFolder::SocketPath(pid_t pid) const { return m_path + "/" + std::to_string(pid) + ".sock"; }

std::string ChannelFolder::ListPath(pid_t pid) const { return m_path + "/" + std::to_string(pid) + kListSuffix; }

bool ChannelFolder::Create() const {
  for (std::size_t at = 1; at <= m_path.size(); ++at) {
    if (at != m_path.size() && m_path[at] != '/') continue;
    std::string part = m_path.substr(0, at);
    bool last = at == m_path.size();
    if (::mkdir(part.c_str(), last ? 0700 : 0777) != 0 && errno != EEXIST) return false;
  }
  struct stat info {};
  return ::stat(m_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<pid_t> ChannelFolder::Publishers(pid_t self) const {
  std::vector<pid_t> pids;
  DIR* folder = ::opendir(m_path.c_str());
  if (!folder) return pids;
  while (dirent* entry = ::readdir(folder)) {
    pid_t pid = PidOfListName(entry->d_name);
    if (pid > 0 && pid != self) pids.push_back(pid);
  }
  ::closedir(folder);
  std::sort(pids.begin(), pids.end());
  return pids;
}

WindowList ChannelFolder::ReadList(pid_t pid) const {
  std::ifstream in(ListPath(pid), std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return ParseWindowList(text.str());
}

bool ChannelFolder::WriteList(pid_t pid, const WindowList& list) const {
  std::string finalPath = ListPath(pid);
  std::string temporary = finalPath + ".tmp";
  std::string text = FormatWindowList(list);
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  written = ::close(fd) == 0 && written;
  if (written && ::rename(temporary.c_str(), finalPath.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

int ChannelFolder::Connect(pid_t pid) const {
  sockaddr_un address;
  if (!MakeSocketAddress(SocketPath(pid), address)) {
    errno = ENAMETOOLONG;
    return -1;
  }
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
  int error = errno;
  ::close(fd);
  errno = error;
  return -1;
}

bool ChannelFolder::IsAlive(pid_t pid) const {
  int fd = Connect(pid);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  // A full backlog means a live listener that is busy; only a missing listener means death.
  if (errno == EAGAIN || errno == EINTR) return true;
  if (errno == ECONNREFUSED || errno == ENOENT) Remove(pid);
  return false;
}

void ChannelFolder::Remove(pid_t pid) const {
  ::unlink(ListPath(pid).c_str());
  ::unlink(SocketPath(pid).c_str());
}

}  // namespace platform::process

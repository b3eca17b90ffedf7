// Named mutexes over lock files: each handle is an open description of the file
// "<PLATFORM_HOME>/mutexes/<name>" holding a shared lock. The first opener can take the lock
// exclusively for a moment (nobody else holds it) and then shares it; later openers cannot, and
// so learn that the mutex exists. Locks go with their descriptions, so the mutex is gone once the
// last handle is closed or the last holder ends.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace {

// Handles count up from here, far from the process handles of the shell area.
constexpr std::uintptr_t kFirstMutexHandle = 0x6D000000;

struct MutexTable {
  std::mutex lock;
  std::map<std::uintptr_t, int> descriptors;  // handle -> lock file (-1 for an unnamed mutex)
  std::uintptr_t next{kFirstMutexHandle};
};

MutexTable& Table() {
  static MutexTable table;
  return table;
}

std::string MutexFolder() {
  std::string home;
  if (const char* value = std::getenv("PLATFORM_HOME"); value && *value) {
    home = value;
  } else {
    const char* user = std::getenv("HOME");
    home = std::string(user && *user ? user : "/tmp") + "/.local/share/pellomar";
  }
  return home + "/mutexes";
}

// Makes folder and its missing parents, for the owner only.
bool MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); ; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

// A file name for any mutex name: letters, digits, '-' and '.' stay, every other byte is %XX.
std::string FileNameOf(const char* name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string file = "m_";
  for (const unsigned char ch : std::string(name)) {
    if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-' || ch == '.') {
      file += static_cast<char>(ch);
    } else {
      file += '%';
      file += kHex[ch >> 4];
      file += kHex[ch & 15];
    }
  }
  return file;
}

HANDLE Remember(int descriptor) {
  MutexTable& table = Table();
  std::lock_guard guard(table.lock);
  const std::uintptr_t handle = table.next++;
  table.descriptors[handle] = descriptor;
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

HANDLE CreateMutex(void*, BOOL, LPCTSTR name) {
  if (name == nullptr) {
    SetLastError(0);
    return Remember(-1);
  }
  const std::string folder = MutexFolder();
  if (!MakeFolders(folder)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  const std::string path = folder + "/" + FileNameOf(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  const bool first = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
  // Shared from now on, so that every handle keeps the mutex alive and the next opener sees it.
  (void)::flock(fd, first ? LOCK_SH : LOCK_SH | LOCK_NB);
  SetLastError(first ? 0 : ERROR_ALREADY_EXISTS);
  return Remember(fd);
}

bool platform::CloseMutexHandle(HANDLE handle) {
  MutexTable& table = Table();
  std::lock_guard guard(table.lock);
  const auto it = table.descriptors.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == table.descriptors.end()) return false;
  if (it->second >= 0) ::close(it->second);
  table.descriptors.erase(it);
  return true;
}

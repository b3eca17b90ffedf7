#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "platform/files.h"

namespace platform {

TempDir::TempDir() {
  char base[MAX_PATH];
  if (GetTempPath(sizeof base, base) >= sizeof base) throw std::runtime_error("temporary folder path too long");
  std::string pattern = NativePath(base) + "pellomar-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!::mkdtemp(name.data())) throw std::runtime_error("cannot create a temporary folder");
  m_path = name.data();
}

TempDir::~TempDir() { RemoveTree(m_path); }

TempDir MakeTempDir() { return TempDir(); }

BOOL RemoveTree(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return TRUE;
  if (!S_ISDIR(info.st_mode)) return ::unlink(path.c_str()) == 0 ? TRUE : FALSE;
  BOOL removed = TRUE;
  if (DIR* dir = ::opendir(path.c_str())) {
    std::vector<std::string> names;
    while (dirent* item = ::readdir(dir)) {
      std::string name = item->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : names) {
      if (!RemoveTree(path + "/" + name)) removed = FALSE;
    }
  }
  if (::rmdir(path.c_str()) != 0) removed = FALSE;
  return removed;
}

}  // namespace platform

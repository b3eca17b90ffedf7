#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "platform/files.h"

namespace platform {

namespace {

// Keeps the temporary's name within a folder entry's length whatever the target's name is.
constexpr std::size_t kNameBytesKept = 64;

// The folder of a native path, "." when it names none.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save replaces: a symbolic link is followed so that the link itself survives.
std::string ReplacedPath(const std::string& native) {
  struct stat link{};
  if (::lstat(native.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return native;
  char* resolved = ::realpath(native.c_str(), nullptr);
  if (!resolved) return native;  // a dangling link is replaced by the file itself
  std::string target = resolved;
  std::free(resolved);
  return target;
}

// A new, empty, hidden file beside target; -1 with errno set when none can be made.
int CreateTemporary(const std::string& target, std::string& temporary) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, kNameBytesKept);
  std::random_device random;
  for (int attempt = 0; attempt < 16; ++attempt) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(random()));
    temporary = folder + "." + name + "." + tag + ".part";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t put = ::write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

// A device or pipe cannot be replaced, only written to.
bool WriteInPlace(const std::string& target, std::string_view bytes) {
  const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool done = WriteAll(fd, bytes.data(), bytes.size());
  const int error = errno;
  done = ::close(fd) == 0 && done;
  if (!done && error) errno = error;
  return done;
}

// Makes the rename itself last; a folder that cannot be synced is no reason to call the save failed.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool IsWriteFailure(int error) { return error == ENOSPC || error == EFBIG || error == EIO || error == EDQUOT; }

BOOL ReplaceFileContents(const char* path, std::string_view bytes) {
  if (!path || !*path) {
    errno = ENOENT;
    return FALSE;
  }
  const std::string target = ReplacedPath(NativePath(path));
  struct stat old{};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) {
    errno = EISDIR;
    return FALSE;
  }
  if (exists && ::access(target.c_str(), W_OK) != 0) return FALSE;
  if (exists && !S_ISREG(old.st_mode)) return WriteInPlace(target, bytes) ? TRUE : FALSE;
  std::string temporary;
  const int fd = CreateTemporary(target, temporary);
  if (fd < 0) return FALSE;
  bool done = WriteAll(fd, bytes.data(), bytes.size()) && (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) &&
              ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && done) {
    done = false;
    error = errno;
  }
  if (done && ::rename(temporary.c_str(), target.c_str()) != 0) {
    done = false;
    error = errno;
  }
  if (!done) {
    ::unlink(temporary.c_str());
    errno = error;
    return FALSE;
  }
  SyncFolder(FolderOf(target));
  return TRUE;
}

}  // namespace platform

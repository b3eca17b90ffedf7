#include "client/app/PhotoFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform/files.h"

namespace {

constexpr int kAttempts = 16;

// 16 random hexadecimal digits from the kernel; false when it gives none.
bool RandomName(char (&out)[17]) {
  unsigned char bytes[8];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    got += static_cast<std::size_t>(n);
  }
  for (int i = 0; i < 8; ++i) std::snprintf(out + 2 * i, 3, "%02x", bytes[i]);
  return true;
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool CPhotoFile::Write(const char* folder, const void* bytes, std::size_t size) {
  Remove();
  CString base(folder);
  if (!base.IsEmpty() && base[base.GetLength() - 1] != '/') base += "/";
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    char name[17];
    if (!RandomName(name)) return false;
    const CString path = base + "$$Od" + name + ".jpg";
    const std::string native = platform::NativePath(path);
    // Exclusive creation never follows a link and never reuses a file someone else made.
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    const bool written = WriteAll(fd, static_cast<const char*>(bytes), size);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
      ::unlink(native.c_str());
      return false;
    }
    m_path = path;
    return true;
  }
  return false;
}

void CPhotoFile::Remove() {
  if (m_path.IsEmpty()) return;
  ::unlink(platform::NativePath(m_path).c_str());
  m_path.Empty();
}

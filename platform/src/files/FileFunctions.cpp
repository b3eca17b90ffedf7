#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/files.h"

namespace {

std::string Native(const char* path) { return platform::NativePath(path ? path : ""); }

// Copies text into buffer when it fits (with its terminator): returns the length; otherwise the
// size needed, terminator included, as the Win32 functions report it.
DWORD GiveText(const std::string& text, char* buffer, DWORD bufferSize) {
  if (!buffer || bufferSize <= text.size()) return static_cast<DWORD>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<DWORD>(text.size());
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool CopyBytes(int from, int to) {
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    ssize_t got = ::read(from, chunk.data(), chunk.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = ::write(to, chunk.data() + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return false;
      done += put;
    }
  }
}

}  // namespace

namespace platform {

std::string NativePath(const char* path) {
  // A CP949 trail byte is never '\\' or '/', so separators are found byte by byte.
  std::string native = path ? path : "";
  for (char& ch : native) {
    if (ch == '\\') ch = '/';
  }
  return Cp949ToUtf8(native);
}

CString ProgramPath(std::string_view native) { return Utf8ToCp949(native); }

CString FileNameOf(const CString& path) {
  int slash = path.ReverseFind('/');
  return slash < 0 ? path : path.Mid(slash + 1);
}

CString FileTitleOf(const CString& name) {
  int dot = name.ReverseFind('.');
  return dot <= 0 ? name : name.Left(dot);
}

}  // namespace platform

BOOL CreateDirectory(const char* path, void* security) {
  (void)security;
  return ::mkdir(Native(path).c_str(), 0777) == 0 ? TRUE : FALSE;
}

BOOL RemoveDirectory(const char* path) { return ::rmdir(Native(path).c_str()) == 0 ? TRUE : FALSE; }

BOOL DeleteFile(const char* path) {
  std::string native = Native(path);
  struct stat info {};
  if (::lstat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return FALSE;
  return ::unlink(native.c_str()) == 0 ? TRUE : FALSE;
}

BOOL CopyFile(const char* from, const char* to, BOOL failIfExists) {
  int source = platform::OpenDescriptor(Native(from), CFile::modeRead);
  if (source < 0) return FALSE;
  int flags = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | (failIfExists ? O_EXCL : 0);
  int target = ::open(Native(to).c_str(), flags, 0666);
  bool copied = target >= 0 && CopyBytes(source, target);
  ::close(source);
  if (target >= 0 && ::close(target) != 0) copied = false;
  return copied ? TRUE : FALSE;
}

BOOL MoveFile(const char* from, const char* to) {
  std::string target = Native(to);
  if (Exists(target)) return FALSE;  // Win32 never replaces here
  return ::rename(Native(from).c_str(), target.c_str()) == 0 ? TRUE : FALSE;
}

DWORD GetFileAttributes(const char* path) {
  std::string native = Native(path);
  struct stat info {};
  if (native.empty() || ::stat(native.c_str(), &info) != 0) return INVALID_FILE_ATTRIBUTES;
  DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
  if (::access(native.c_str(), W_OK) != 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

DWORD GetCurrentDirectory(DWORD bufferSize, char* buffer) {
  char* cwd = ::getcwd(nullptr, 0);
  if (!cwd) return 0;
  std::string text = platform::ProgramPath(cwd).GetString();
  std::free(cwd);
  return GiveText(text, buffer, bufferSize);
}

BOOL SetCurrentDirectory(const char* path) { return ::chdir(Native(path).c_str()) == 0 ? TRUE : FALSE; }

DWORD GetTempPath(DWORD bufferSize, char* buffer) {
  const char* tmp = std::getenv("TMPDIR");
  std::string text = platform::ProgramPath(tmp && *tmp ? tmp : "/tmp").GetString();
  if (text.back() != '/') text += '/';
  return GiveText(text, buffer, bufferSize);
}

UINT GetTempFileName(const char* path, const char* prefix, UINT unique, char* tempFileName) {
  if (!tempFileName) return 0;
  // The name is made and given back in the program's text; only the file system sees UTF-8.
  std::string folder = path ? path : "";
  std::replace(folder.begin(), folder.end(), '\\', '/');
  if (!folder.empty() && folder.back() != '/') folder += '/';
  std::string lead = std::string(prefix ? prefix : "").substr(0, 3);
  auto nameFor = [&](UINT number) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", number & 0xFFFF);
    return folder + lead + hex + ".tmp";
  };
  auto give = [&](const std::string& name, UINT number) -> UINT {
    if (name.size() >= static_cast<std::size_t>(MAX_PATH)) return 0;
    std::memcpy(tempFileName, name.c_str(), name.size() + 1);
    return number;
  };
  if (unique != 0) return give(nameFor(unique), unique & 0xFFFF);
  UINT start = static_cast<UINT>(::getpid());
  for (UINT step = 0; step < 0xFFFF; ++step) {
    UINT number = ((start + step) % 0xFFFF) + 1;
    std::string name = nameFor(number);
    if (name.size() >= static_cast<std::size_t>(MAX_PATH)) return 0;
    int fd = ::open(Native(name.c_str()).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return give(name, number);
    }
    if (errno != EEXIST) return 0;
  }
  return 0;
}

DWORD GetModuleFileName(HMODULE module, char* buffer, DWORD bufferSize) {
  if (module || !buffer || bufferSize == 0) return 0;
  std::vector<char> path(4096);
  ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return 0;
  std::string text(path.data(), static_cast<std::size_t>(length));
  if (text.size() >= bufferSize) {
    // Win32 truncates here and reports the whole buffer used.
    std::memcpy(buffer, text.data(), bufferSize - 1);
    buffer[bufferSize - 1] = '\0';
    return bufferSize;
  }
  return GiveText(text, buffer, bufferSize);
}

int _access(const char* path, int mode) {
  int wanted = F_OK;
  if (mode & 2) wanted |= W_OK;
  if (mode & 4) wanted |= R_OK;
  return ::access(Native(path).c_str(), wanted) == 0 ? 0 : -1;
}

HFILE OpenFile(const char* path, OFSTRUCT* info, UINT style) {
  std::string native = Native(path);
  UINT flags = style & 3;
  if (style & OF_CREATE) flags |= CFile::modeCreate;
  int fd = platform::OpenDescriptor(native, flags);
  if (info) {
    *info = OFSTRUCT{};
    info->cBytes = sizeof(OFSTRUCT);
    info->nErrCode = fd < 0 ? static_cast<WORD>(errno) : 0;
    std::snprintf(info->szPathName, sizeof info->szPathName, "%s", native.c_str());
  }
  return fd < 0 ? HFILE_ERROR : fd;
}

UINT _lread(HFILE file, void* buffer, UINT count) {
  UINT total = 0;
  while (total < count) {
    ssize_t got = ::read(file, static_cast<char*>(buffer) + total, count - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return static_cast<UINT>(HFILE_ERROR);
    if (got == 0) break;
    total += static_cast<UINT>(got);
  }
  return total;
}

UINT _lwrite(HFILE file, const void* buffer, UINT count) {
  UINT total = 0;
  while (total < count) {
    ssize_t put = ::write(file, static_cast<const char*>(buffer) + total, count - total);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return static_cast<UINT>(HFILE_ERROR);
    total += static_cast<UINT>(put);
  }
  return total;
}

LONG _llseek(HFILE file, LONG offset, int from) {
  int whence = from == 1 ? SEEK_CUR : (from == 2 ? SEEK_END : SEEK_SET);
  off_t at = ::lseek(file, offset, whence);
  return at < 0 || at > 0x7FFFFFFF ? HFILE_ERROR : static_cast<LONG>(at);
}

HFILE _lclose(HFILE file) { return ::close(file) == 0 ? 0 : HFILE_ERROR; }

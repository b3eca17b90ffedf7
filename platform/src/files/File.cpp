#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files.h"

namespace {

int ToOpenFlags(UINT openFlags) {
  int flags = O_CLOEXEC;
  switch (openFlags & 3) {
    case CFile::modeWrite:
      flags |= O_WRONLY;
      break;
    case CFile::modeReadWrite:
      flags |= O_RDWR;
      break;
    default:
      flags |= O_RDONLY;
      break;
  }
  if (openFlags & CFile::modeCreate) {
    flags |= O_CREAT;
    if (!(openFlags & CFile::modeNoTruncate)) flags |= O_TRUNC;
  }
  return flags;
}

BOOL StatusOf(const struct stat& info, const CString& path, CFileStatus& status) {
  status.m_size = info.st_size;
  status.m_ctime = CTime(info.st_ctime);
  status.m_mtime = CTime(info.st_mtime);
  status.m_atime = CTime(info.st_atime);
  status.m_attribute = S_ISDIR(info.st_mode) ? CFile::directory : CFile::normal;
  if (access(path, W_OK) != 0) status.m_attribute |= CFile::readOnly;
  status.m_szFullName = path;
  return TRUE;
}

}  // namespace

namespace platform {

int OpenDescriptor(const std::string& path, UINT openFlags) {
  if (path.empty()) {
    errno = ENOENT;
    return -1;
  }
  int fd = ::open(path.c_str(), ToOpenFlags(openFlags), 0666);
  struct stat info {};
  if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    errno = EISDIR;  // a folder cannot be read or written as a file
    return -1;
  }
  return fd;
}

}  // namespace platform

CFile::CFile(const char* fileName, UINT openFlags) {
  CFileException error;
  if (!Open(fileName, openFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile() {
  if (IsOpen()) Abort();
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error) {
  if (IsOpen()) Abort();
  std::string path = platform::NativePath(fileName ? fileName : "");
  int fd = platform::OpenDescriptor(path, openFlags);
  if (fd < 0) {
    if (error) error->SetFromErrno(errno, path.c_str());
    return FALSE;
  }
  m_hFile = fd;
  m_openFlags = openFlags;
  m_strFileName = path.c_str();
  return TRUE;
}

void CFile::Close() {
  if (!IsOpen()) return;
  int fd = m_hFile;
  m_hFile = hFileNull;
  if (::close(fd) != 0) AfxThrowFileException(CFileException::ErrnoToCause(errno), errno, m_strFileName);
}

void CFile::Abort() {
  if (!IsOpen()) return;
  ::close(m_hFile);
  m_hFile = hFileNull;
}

void CFile::Flush() {
  RequireOpen();
  if (::fsync(m_hFile) != 0 && errno != EINVAL && errno != EROFS) ThrowLastError();
}

UINT CFile::Read(void* buffer, UINT count) {
  RequireOpen();
  UINT total = 0;
  while (total < count) {
    ssize_t got = ::read(m_hFile, static_cast<char*>(buffer) + total, count - total);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ThrowLastError();
    if (got == 0) break;
    total += static_cast<UINT>(got);
  }
  return total;
}

void CFile::Write(const void* buffer, UINT count) {
  RequireOpen();
  UINT total = 0;
  while (total < count) {
    ssize_t put = ::write(m_hFile, static_cast<const char*>(buffer) + total, count - total);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) ThrowLastError();
    total += static_cast<UINT>(put);
  }
}

std::uint64_t CFile::Seek(std::int64_t offset, UINT from) {
  RequireOpen();
  int whence = from == current ? SEEK_CUR : (from == end ? SEEK_END : SEEK_SET);
  off_t at = ::lseek(m_hFile, static_cast<off_t>(offset), whence);
  if (at < 0) AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
  return static_cast<std::uint64_t>(at);
}

std::uint64_t CFile::GetPosition() const {
  RequireOpen();
  off_t at = ::lseek(m_hFile, 0, SEEK_CUR);
  if (at < 0) ThrowLastError();
  return static_cast<std::uint64_t>(at);
}

std::uint64_t CFile::GetLength() const {
  RequireOpen();
  struct stat info {};
  if (::fstat(m_hFile, &info) != 0) ThrowLastError();
  return static_cast<std::uint64_t>(info.st_size);
}

void CFile::SetLength(std::uint64_t newLength) {
  RequireOpen();
  if (::ftruncate(m_hFile, static_cast<off_t>(newLength)) != 0) ThrowLastError();
}

CString CFile::GetFileName() const { return platform::FileNameOf(m_strFileName); }

CString CFile::GetFileTitle() const { return platform::FileTitleOf(GetFileName()); }

BOOL CFile::GetStatus(CFileStatus& status) const {
  struct stat info {};
  if (!IsOpen() || ::fstat(m_hFile, &info) != 0) return FALSE;
  return StatusOf(info, m_strFileName, status);
}

BOOL CFile::GetStatus(const char* fileName, CFileStatus& status) {
  std::string path = platform::NativePath(fileName ? fileName : "");
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return FALSE;
  return StatusOf(info, CString(path.c_str()), status);
}

void CFile::Remove(const char* fileName) {
  std::string path = platform::NativePath(fileName ? fileName : "");
  if (::unlink(path.c_str()) != 0) AfxThrowFileException(CFileException::ErrnoToCause(errno), errno, path.c_str());
}

void CFile::Rename(const char* oldName, const char* newName) {
  std::string from = platform::NativePath(oldName ? oldName : "");
  std::string to = platform::NativePath(newName ? newName : "");
  if (::rename(from.c_str(), to.c_str()) != 0)
    AfxThrowFileException(CFileException::ErrnoToCause(errno), errno, from.c_str());
}

void CFile::ThrowLastError() const {
  int code = errno;
  AfxThrowFileException(CFileException::ErrnoToCause(code), code, m_strFileName);
}

void CFile::RequireOpen() const {
  if (!IsOpen()) AfxThrowFileException(CFileException::invalidFile, -1, m_strFileName);
}

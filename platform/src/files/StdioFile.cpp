#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files.h"

namespace {

const char* StreamMode(UINT openFlags) {
  switch (openFlags & 3) {
    case CFile::modeWrite:
      return "w";  // fdopen never truncates: the descriptor decided that
    case CFile::modeReadWrite:
      return "r+";
    default:
      return "r";
  }
}

}  // namespace

CStdioFile::CStdioFile(FILE* stream) : m_pStream(stream), m_ownsStream(false) {
  if (stream) m_hFile = ::fileno(stream);
}

CStdioFile::CStdioFile(const char* fileName, UINT openFlags) {
  CFileException error;
  if (!Open(fileName, openFlags, &error)) AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CStdioFile::~CStdioFile() {
  if (IsOpen()) CloseStream(false);
}

BOOL CStdioFile::Open(const char* fileName, UINT openFlags, CFileException* error) {
  if (IsOpen()) CloseStream(false);
  std::string path = platform::NativePath(fileName ? fileName : "");
  int fd = platform::OpenDescriptor(path, openFlags);
  FILE* stream = fd < 0 ? nullptr : ::fdopen(fd, StreamMode(openFlags));
  if (!stream) {
    int code = errno;
    if (fd >= 0) ::close(fd);
    if (error) error->SetFromErrno(code, path.c_str());
    return FALSE;
  }
  m_pStream = stream;
  m_ownsStream = true;
  m_hFile = fd;
  m_openFlags = openFlags;
  m_strFileName = path.c_str();
  return TRUE;
}

void CStdioFile::Close() { CloseStream(true); }

void CStdioFile::Abort() { CloseStream(false); }

void CStdioFile::CloseStream(bool reportErrors) {
  if (!m_pStream) return;
  FILE* stream = m_pStream;
  m_pStream = nullptr;
  m_hFile = hFileNull;
  int result = m_ownsStream ? ::fclose(stream) : ::fflush(stream);
  if (result != 0 && reportErrors) ThrowLastError();
}

void CStdioFile::Flush() {
  RequireOpen();
  if (::fflush(m_pStream) != 0) ThrowLastError();
}

UINT CStdioFile::Read(void* buffer, UINT count) {
  RequireOpen();
  std::size_t got = ::fread(buffer, 1, count, m_pStream);
  if (got < count && ::ferror(m_pStream)) ThrowLastError();
  return static_cast<UINT>(got);
}

void CStdioFile::Write(const void* buffer, UINT count) {
  RequireOpen();
  if (::fwrite(buffer, 1, count, m_pStream) != count) ThrowLastError();
}

std::uint64_t CStdioFile::Seek(std::int64_t offset, UINT from) {
  RequireOpen();
  int whence = from == current ? SEEK_CUR : (from == end ? SEEK_END : SEEK_SET);
  if (::fseeko(m_pStream, static_cast<off_t>(offset), whence) != 0)
    AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
  return GetPosition();
}

std::uint64_t CStdioFile::GetPosition() const {
  RequireOpen();
  off_t at = ::ftello(m_pStream);
  if (at < 0) ThrowLastError();
  return static_cast<std::uint64_t>(at);
}

std::uint64_t CStdioFile::GetLength() const {
  RequireOpen();
  if (::fflush(m_pStream) != 0) ThrowLastError();  // buffered bytes count too
  return CFile::GetLength();
}

void CStdioFile::SetLength(std::uint64_t newLength) {
  RequireOpen();
  if (::fflush(m_pStream) != 0) ThrowLastError();
  CFile::SetLength(newLength);
}

BOOL CStdioFile::ReadString(CString& line) {
  RequireOpen();
  std::string text;
  int ch = 0;
  bool any = false;
  while ((ch = ::getc(m_pStream)) != EOF) {
    any = true;
    if (ch == '\n') break;
    text += static_cast<char>(ch);
  }
  if (::ferror(m_pStream)) ThrowLastError();
  if (ch == '\n' && TextMode() && !text.empty() && text.back() == '\r') text.pop_back();
  line = CString(text);
  return any ? TRUE : FALSE;
}

char* CStdioFile::ReadString(char* buffer, UINT maxChars) {
  RequireOpen();
  if (!buffer || maxChars == 0) return nullptr;
  UINT length = 0;
  bool any = false;
  while (length + 1 < maxChars) {
    int ch = ::getc(m_pStream);
    if (ch == EOF) break;
    any = true;
    if (ch == '\r' && TextMode()) {
      int next = ::getc(m_pStream);
      if (next == '\n')
        ch = '\n';
      else if (next != EOF)
        ::ungetc(next, m_pStream);
    }
    buffer[length++] = static_cast<char>(ch);
    if (ch == '\n') break;
  }
  if (::ferror(m_pStream)) ThrowLastError();
  buffer[length] = '\0';
  return any ? buffer : nullptr;
}

void CStdioFile::WriteString(const char* text) {
  if (!text) return;
  Write(text, static_cast<UINT>(std::strlen(text)));
}

#include "client/images/FileImageImpl.h"

#include "platform/files.h"

void CFileImageImpl::TakeFileName(const char* fileName) {
  if (fileName != nullptr && fileName[0] != '\0') m_fileName = fileName;
}

BOOL CFileImageImpl::ReadStoredFile(const std::function<BOOL(std::FILE*)>& decode) {
  std::FILE* file = std::fopen(platform::NativePath(m_fileName).c_str(), "rb");
  if (file == nullptr) return FALSE;
  const BOOL read = ReplaceOnSuccess([&] { return decode(file); });
  std::fclose(file);
  return read;
}

BOOL CFileImageImpl::WriteStoredFile(const std::function<BOOL(std::FILE*)>& encode) {
  std::FILE* file = std::fopen(platform::NativePath(m_fileName).c_str(), "wb");
  if (file == nullptr) return FALSE;
  BOOL written = encode(file);
  if (std::fclose(file) != 0) written = FALSE;
  if (!written) std::remove(platform::NativePath(m_fileName).c_str());
  return written;
}

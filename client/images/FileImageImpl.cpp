#include "client/images/FileImageImpl.h"

#include <cstdlib>
#include <string_view>

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
  // Encoded in memory first, so that a failure leaves the stored file as it was.
  char* bytes = nullptr;
  std::size_t size = 0;
  std::FILE* memory = ::open_memstream(&bytes, &size);
  if (memory == nullptr) return FALSE;
  BOOL written = encode(memory);
  if (std::fclose(memory) != 0) written = FALSE;
  if (written) written = platform::ReplaceFileContents(m_fileName, std::string_view(bytes, size));
  std::free(bytes);
  return written;
}

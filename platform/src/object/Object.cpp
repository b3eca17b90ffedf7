#include "platform/object.h"

#include <cstring>

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  if (buffer && maxChars > 0) buffer[0] = '\0';
  return FALSE;
}

BOOL CMemoryException::GetErrorMessage(char* buffer, UINT maxChars, UINT* helpContext) const {
  if (helpContext) *helpContext = 0;
  return platform::CopyToBuffer("Out of memory.", buffer, maxChars);
}

void AfxThrowMemoryException() { throw new CMemoryException(); }

namespace platform {

BOOL CopyToBuffer(const char* text, char* buffer, UINT maxChars) {
  if (!buffer || maxChars == 0) return FALSE;
  std::size_t length = std::strlen(text);
  if (length >= maxChars) length = maxChars - 1;
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  return TRUE;
}

}  // namespace platform

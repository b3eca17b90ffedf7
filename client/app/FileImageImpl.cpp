#include "client/app/FileImageImpl.h"

void CFileImageImpl::TakeFileName(const char* fileName) {
  if (fileName != nullptr && fileName[0] != '\0') m_fileName = fileName;
}

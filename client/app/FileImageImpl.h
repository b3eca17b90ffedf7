#pragma once
// An image implementation that belongs to a file.

#include "client/app/ImageImpl.h"
#include "platform/strings.h"

class CFileImageImpl : public CImageImpl {
public:
  explicit CFileImageImpl(const char* fileName = "") : m_fileName(fileName) {}

  const CString& GetFileName() const { return m_fileName; }

protected:
  // A non-empty name replaces the stored one.
  void TakeFileName(const char* fileName);

  CString m_fileName;
};

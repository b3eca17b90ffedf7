#pragma once
// An image implementation that belongs to a file.

#include <cstdio>
#include <functional>

#include "client/images/ImageImpl.h"
#include "platform/strings.h"

class CFileImageImpl : public CImageImpl {
public:
  explicit CFileImageImpl(const char* fileName = "") : m_fileName(fileName) {}

  const CString& GetFileName() const { return m_fileName; }

protected:
  // A non-empty name replaces the stored one.
  void TakeFileName(const char* fileName);
  // Runs decode on the stored file opened for reading; the picture is replaced only on success.
  BOOL ReadStoredFile(const std::function<BOOL(std::FILE*)>& decode);
  // Runs encode on a stream whose bytes then replace the stored file whole; on a failure the
  // stored file stays as it was.
  BOOL WriteStoredFile(const std::function<BOOL(std::FILE*)>& encode);

  CString m_fileName;
};

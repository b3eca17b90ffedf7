#pragma once
// BMP files through the DIB block functions.

#include "client/images/FileImageImpl.h"

class CBmpImage : public CFileImageImpl {
public:
  using CFileImageImpl::CFileImageImpl;

  BOOL Read(const char* fileName) override;
  // Writes the DIB with its colour table in colour form; the table is back in index form after.
  BOOL Write(const char* fileName) override;
};

#pragma once
// PNG files through libpng. Transparency is blended over a fixed background colour; 16-bit
// samples are stripped to 8 and 2-bit pixels unpacked to bytes.

#include <cstdio>

#include "client/images/FileImageImpl.h"

class CPngImage : public CFileImageImpl {
public:
  using CFileImageImpl::CFileImageImpl;

  BOOL Read(const char* fileName) override;
  // Depths 1, 2, 4 and 8 are written grey or paletted, 24 as RGB; a failed write leaves no file.
  BOOL Write(const char* fileName) override;

private:
  BOOL Decode(std::FILE* file);
  BOOL Encode(std::FILE* file);
};

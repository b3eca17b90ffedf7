#pragma once
// JPEG files through libjpeg: read as 8-bit paletted images (colour quantised to 128 colours,
// greyscale with a 256-level grey palette), written as RGB.

#include <csetjmp>
#include <cstdio>

#include "client/images/FileImageImpl.h"

// Jumps back to the recovery point with the value 1, as the readers' library errors do.
[[noreturn]] void JumpToRecoveryPoint(std::jmp_buf& recovery);

class CJpegImage : public CFileImageImpl {
public:
  using CFileImageImpl::CFileImageImpl;

  BOOL Read(const char* fileName) override;
  // A failed write leaves no partial file behind.
  BOOL Write(const char* fileName) override;

  int GetQuality() const { return m_quality; }
  void SetQuality(int quality) { m_quality = quality; }

private:
  BOOL Decode(std::FILE* file);
  BOOL Encode(std::FILE* file);

  int m_quality{30};
};

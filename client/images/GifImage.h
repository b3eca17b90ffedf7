#pragma once
// GIF files with an LZW decoder and a GIF87a encoder of their own.

#include <cstdio>
#include <vector>

#include "client/images/FileImageImpl.h"

class CGifImage : public CFileImageImpl {
public:
  using CFileImageImpl::CFileImageImpl;

  // The last image of the file as an 8-bit paletted picture, its transparent colour from a
  // graphic control extension. Corrupt code streams keep the rows decoded before the fault.
  BOOL Read(const char* fileName) override;
  // Up to 8 bits per pixel; always a 256-entry table, entries beyond the palette black and a grey
  // ramp for an image without palette.
  BOOL Write(const char* fileName) override;

  // The same reading from bytes in memory.
  BOOL ReadBytes(const BYTE* data, size_t size);

private:
  BOOL Parse(const BYTE* data, size_t size);
  std::vector<BYTE> Encode() const;
};

// BMP bytes (with or without the file header) read into a DIB block; a block handed out must be
// addressable at both ends of its pixel area.
#include <cstddef>
#include <cstdint>

#include "client/images/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LPBITMAPINFOHEADER dib = ReadDibBytes(data, size);
  if (dib == nullptr) return 0;
  const size_t imageSize = DibRowBytes(dib->biWidth, dib->biBitCount) * static_cast<size_t>(dib->biHeight);
  volatile BYTE sum = 0;
  const BYTE* bits = GetDibBits(dib);
  // The first row and the last byte: touching every page of a huge blank picture is only slow.
  for (size_t i = 0; i < imageSize && i < 4096; ++i) sum = static_cast<BYTE>(sum + bits[i]);
  if (imageSize > 0) sum = static_cast<BYTE>(sum + bits[imageSize - 1]);
  FreeDib(dib);
  return 0;
}

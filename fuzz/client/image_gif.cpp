// GIF bytes decoded into an image; sampled pixels of a decoded image must be readable.
#include <cstddef>
#include <cstdint>

#include "client/images/GifImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CGifImage image;
  if (!image.ReadBytes(data, size)) return 0;
  volatile int sum = 0;
  for (int y = 0; y < image.GetHeight(); y += 61)
    for (int x = 0; x < image.GetWidth(); x += 61) sum = sum + image.GetIndex(x, y);
  return 0;
}

// PNG bytes read through a file into an image; sampled pixels of a read image must be readable.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "client/app/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/fuzz-image-png-" + std::to_string(getpid());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  CPngImage image;
  if (image.Read(path.c_str())) {
    volatile int sum = 0;
    for (int y = 0; y < image.GetHeight(); y += 61)
      for (int x = 0; x < image.GetWidth(); x += 61) {
        BYTE r, g, b;
        if (image.GetRGB(x, y, &r, &g, &b)) sum = sum + r + g + b;
      }
  }
  return 0;
}

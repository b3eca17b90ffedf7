#pragma once
// Shared by the fuzz targets of images that are read only through a file: the bytes are written to a
// file of this process, read into the image, and sampled pixels of a read image must be readable.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/types.h"

template <typename Image>
int FuzzFileImage(const std::uint8_t* data, std::size_t size, const char* format) {
  static const std::string path = std::string("/tmp/fuzz-image-") + format + "-" + std::to_string(getpid());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  Image image;
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

// JPEG bytes read through a file into an image.
#include "FileImageFuzzing.h"
#include "client/images/JpegImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzFileImage<CJpegImage>(data, size, "jpeg");
}

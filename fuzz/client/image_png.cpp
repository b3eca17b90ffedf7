// PNG bytes read through a file into an image.
#include "FileImageFuzzing.h"
#include "client/images/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzFileImage<CPngImage>(data, size, "png");
}

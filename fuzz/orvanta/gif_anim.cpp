// Arbitrary files through the banner control's GIF reader: the file is loaded and its first
// frames composed on the canvas (positions, transparency, disposal), as the animation thread does.
#include <cstddef>
#include <cstdint>

#include "orvanta/widgets/GifAnimCtrl.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CGifAnimCtrl banner;
  if (!banner.LoadBytes(data, size))
    return 0;
  const int width = banner.GetScreenWidth();
  const int height = banner.GetScreenHeight();
  for (int frame = 0; frame < 8; ++frame) {
    const int delay = banner.ComposeNextFrame();
    if (delay == 0 || delay < -1)
      __builtin_trap();  // a frame always stays a while
  }
  if (banner.CopyCanvas().size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    __builtin_trap();
  banner.Rewind();
  return 0;
}

#include "platform/surface.h"

#include <algorithm>

namespace platform {

void Surface::Resize(int w, int h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  std::vector<std::uint32_t> next(static_cast<std::size_t>(w) * h, 0xFFFFFF);
  int keepW = std::min(w, width);
  int keepH = std::min(h, height);
  for (int y = 0; y < keepH; ++y) {
    std::copy_n(Row(y), keepW, next.data() + static_cast<std::size_t>(y) * w);
  }
  width = w;
  height = h;
  pixels.swap(next);
}

}  // namespace platform

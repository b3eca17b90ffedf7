#include "WaveImage.h"

#include <cstring>

namespace platform::sound {

bool IsWaveHead(const std::uint8_t* head) {
  return std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

std::size_t WaveImageSize(const std::uint8_t* head) {
  std::uint32_t riffLength = static_cast<std::uint32_t>(head[4]) | static_cast<std::uint32_t>(head[5]) << 8 |
                             static_cast<std::uint32_t>(head[6]) << 16 | static_cast<std::uint32_t>(head[7]) << 24;
  return static_cast<std::size_t>(riffLength) + 8;
}

}  // namespace platform::sound

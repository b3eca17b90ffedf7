#pragma once
// Recognising a wave image: a RIFF file whose form type is WAVE.
#include <cstddef>
#include <cstdint>

namespace platform::sound {

// Bytes in the 12-byte head that names a RIFF wave file.
inline constexpr std::size_t kWaveHeadSize = 12;

// Whether head (at least kWaveHeadSize bytes) starts a wave image.
bool IsWaveHead(const std::uint8_t* head);
// The whole size of the wave image that starts at head, from its RIFF length.
std::size_t WaveImageSize(const std::uint8_t* head);

}  // namespace platform::sound

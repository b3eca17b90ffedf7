#include "client/resources/ClientSounds.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "client/resources/ClientIds.h"
#include "platform/sound.h"

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// A wooden click: a short, quickly fading mix of two tones, 8-bit mono at 22050 Hz.
std::vector<std::uint8_t> StoneClick() {
  constexpr std::uint32_t kRate = 22050;
  constexpr std::uint32_t kSamples = kRate / 20;
  std::vector<std::uint8_t> wave;
  PutTag(wave, "RIFF");
  Put(wave, 36 + kSamples, 4);
  PutTag(wave, "WAVE");
  PutTag(wave, "fmt ");
  Put(wave, 16, 4);
  Put(wave, 1, 2);  // PCM
  Put(wave, 1, 2);  // mono
  Put(wave, kRate, 4);
  Put(wave, kRate, 4);
  Put(wave, 1, 2);
  Put(wave, 8, 2);
  PutTag(wave, "data");
  Put(wave, kSamples, 4);
  for (std::uint32_t i = 0; i < kSamples; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double level = std::exp(-t * 90.0) * (0.6 * std::sin(2 * M_PI * 1800 * t) + 0.4 * std::sin(2 * M_PI * 3100 * t));
    wave.push_back(static_cast<std::uint8_t>(128 + 110 * level));
  }
  return wave;
}

}  // namespace

void RegisterClientSounds(platform::ResourceModule& module) {
  platform::AddWaveResource(module, IDR_STONE_WAVE, StoneClick());
}

#include "client/resources/StoneSound.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "platform/sound.h"

namespace {

constexpr unsigned kStoneSound = 315;
constexpr int kRate = 22050;

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, unsigned v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// 16-bit mono samples of a click: a fast-decaying knock of two wood resonances.
std::vector<std::int16_t> Click() {
  const int count = kRate * 70 / 1000;
  std::vector<std::int16_t> samples(static_cast<size_t>(count));
  std::uint32_t noise = 12345;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kRate;
    noise = noise * 1664525u + 1013904223u;
    const double grain = (static_cast<double>(noise >> 8) / (1u << 24) - 0.5) * std::exp(-t * 400.0);
    const double body = 0.6 * std::sin(2 * std::numbers::pi * 1850.0 * t) * std::exp(-t * 90.0) +
                        0.3 * std::sin(2 * std::numbers::pi * 720.0 * t) * std::exp(-t * 60.0);
    samples[static_cast<size_t>(i)] = static_cast<std::int16_t>(std::lround((body + grain) * 12000.0));
  }
  return samples;
}

}  // namespace

void RegisterStoneSound(platform::ResourceModule& module) {
  const std::vector<std::int16_t> samples = Click();
  const unsigned dataBytes = static_cast<unsigned>(samples.size() * 2);
  std::vector<std::uint8_t> wave;
  PutTag(wave, "RIFF");
  Put32(wave, 36 + dataBytes);
  PutTag(wave, "WAVE");
  PutTag(wave, "fmt ");
  Put32(wave, 16);
  Put16(wave, 1);  // PCM
  Put16(wave, 1);  // mono
  Put32(wave, kRate);
  Put32(wave, kRate * 2);
  Put16(wave, 2);
  Put16(wave, 16);
  PutTag(wave, "data");
  Put32(wave, dataBytes);
  for (std::int16_t sample : samples) Put16(wave, static_cast<std::uint16_t>(sample));
  platform::AddWaveResource(module, kStoneSound, std::move(wave));
}

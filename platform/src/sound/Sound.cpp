// sndPlaySound and PlaySound: find the wave, record the call, hand the wave to the player.
#include "platform/sound.h"

#include <fstream>
#include <iterator>
#include <mutex>

#include "SoundPlayer.h"
#include "WaveImage.h"
#include "platform/files.h"
#include "platform/resources.h"

namespace {

// A WAVE resource as stored: the bytes of a wave file.
struct WaveResource {
  std::vector<std::uint8_t> bytes;
};

// The wave device of the process: what was asked of it and the sound it plays.
struct SoundDevice {
  std::mutex lock;
  std::vector<platform::SoundCall> calls;
  platform::sound::SoundPlayer player;
};

SoundDevice& TheDevice() {
  static SoundDevice device;
  return device;
}

bool IsWaveImage(const std::vector<std::uint8_t>& bytes) {
  return bytes.size() >= platform::sound::kWaveHeadSize && platform::sound::IsWaveHead(bytes.data());
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Whether path names a readable wave file.
bool IsWaveFile(const std::string& path) {
  if (GetFileAttributes(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) return false;
  std::ifstream in(path, std::ios::binary);
  std::uint8_t head[platform::sound::kWaveHeadSize]{};
  return in.read(reinterpret_cast<char*>(head), sizeof head) && platform::sound::IsWaveHead(head);
}

const WaveResource* FindWave(HMODULE module, LPCSTR name) {
  platform::ResourceModule* m = module ? platform::FindResourceModule(module) : platform::CurrentResourceModule();
  return m ? m->Find<WaveResource>(name) : nullptr;
}

std::string NameOf(LPCSTR sound, DWORD flags) {
  if (!sound) return std::string();
  if ((flags & SND_RESOURCE) == SND_RESOURCE) return platform::ResourceModule::KeyOf(sound);
  if (flags & SND_MEMORY) return "(memory)";
  return sound;
}

// Plays what the call names; the call's result. The device lock is held.
bool Play(SoundDevice& device, LPCSTR sound, HMODULE module, DWORD flags) {
  bool wait = !(flags & SND_ASYNC);
  if (!sound || (flags & SND_PURGE)) {
    device.player.Stop();
    return true;
  }
  if ((flags & SND_NOSTOP) && device.player.Busy()) return false;
  // Each branch refuses a missing wave before anything is stopped, as the system does.
  if ((flags & SND_RESOURCE) == SND_RESOURCE) {
    const WaveResource* wave = FindWave(module, sound);
    if (!wave) return false;
    if (!platform::sound::SoundPlayer::Configured()) return true;
    return device.player.PlayBytes(wave->bytes.data(), wave->bytes.size(), wait);
  }
  if (flags & SND_MEMORY) {
    const auto* head = reinterpret_cast<const std::uint8_t*>(sound);
    if (!platform::sound::IsWaveHead(head)) return false;
    if (!platform::sound::SoundPlayer::Configured()) return true;
    return device.player.PlayBytes(head, platform::sound::WaveImageSize(head), wait);
  }
  std::string path = platform::NativePath(sound);
  if (!IsWaveFile(path)) return false;
  if (!platform::sound::SoundPlayer::Configured()) return true;
  return device.player.PlayFile(path, wait);
}

}  // namespace

BOOL PlaySound(LPCSTR sound, HMODULE module, DWORD flags) {
  SoundDevice& device = TheDevice();
  std::lock_guard guard(device.lock);
  bool played = Play(device, sound, module, flags);
  device.calls.push_back(platform::SoundCall{NameOf(sound, flags), flags, played});
  return played ? TRUE : FALSE;
}

// sndPlaySound knows files and memory images only: the resource bit (apart from SND_MEMORY's) is not its.
BOOL sndPlaySound(LPCSTR sound, UINT flags) {
  return PlaySound(sound, nullptr, flags & ~(SND_RESOURCE & ~SND_MEMORY));
}

std::vector<platform::SoundCall> platform::SoundCalls() {
  SoundDevice& device = TheDevice();
  std::lock_guard guard(device.lock);
  return device.calls;
}

void platform::ClearSoundCalls() {
  SoundDevice& device = TheDevice();
  std::lock_guard guard(device.lock);
  device.calls.clear();
}

bool platform::AddWaveResource(ResourceModule& module, UINT id, std::vector<std::uint8_t> bytes) {
  if (!IsWaveImage(bytes)) return false;
  module.Add<WaveResource>(id, WaveResource{std::move(bytes)});
  return true;
}

bool platform::AddWaveResourceFile(ResourceModule& module, UINT id, const char* path) {
  std::vector<std::uint8_t> bytes;
  return ReadFile(platform::NativePath(path), bytes) && AddWaveResource(module, id, std::move(bytes));
}

#pragma once
// The outside program that makes sounds heard, when PLATFORM_SOUND_PLAYER names one. At most one
// sound plays at a time, as with the system's wave device.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform::sound {

class SoundPlayer {
public:
  SoundPlayer() = default;
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  // Whether a player command line is configured.
  static bool Configured();
  // Whether the last sound started is still playing.
  bool Busy();
  // Stops the sound that is playing, if any.
  void Stop();
  // Plays a wave file, or wave bytes through a temporary file; wait: until it has ended. False when
  // no player is configured or it cannot be started.
  bool PlayFile(const std::string& path, bool wait);
  bool PlayBytes(const std::uint8_t* bytes, std::size_t size, bool wait);

private:
  void RemoveTemporary();

  HANDLE m_child{nullptr};  // the player run for the last sound
  std::string m_temporary;  // the file written for the last sound from bytes
  unsigned m_serial{0};     // numbers the temporary files
};

}  // namespace platform::sound

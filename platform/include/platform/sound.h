#pragma once
// Sound effects: sndPlaySound and PlaySound over wave files, WAVE resources of a module and wave
// images in memory. Every call is recorded so tests can read what was played. Nothing is heard
// unless PLATFORM_SOUND_PLAYER names a player command line (for example "aplay -q"): the platform
// then runs it, never through a shell, with the path of the wave file as its last argument.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {
class ResourceModule;
}

// Flags of sndPlaySound and PlaySound (same values as the Windows ones).
inline constexpr DWORD SND_SYNC = 0x0000;        // return when the sound has ended
inline constexpr DWORD SND_ASYNC = 0x0001;       // return at once
inline constexpr DWORD SND_NODEFAULT = 0x0002;   // no default sound when the named one is missing
inline constexpr DWORD SND_MEMORY = 0x0004;      // the name points at a wave image in memory
inline constexpr DWORD SND_LOOP = 0x0008;        // repeat (with SND_ASYNC); the player plays it once
inline constexpr DWORD SND_NOSTOP = 0x0010;      // fail rather than stop a sound that is playing
inline constexpr DWORD SND_PURGE = 0x0040;       // stop what is playing
inline constexpr DWORD SND_NOWAIT = 0x00002000;  // fail rather than wait for a busy device
inline constexpr DWORD SND_FILENAME = 0x00020000;  // the name is a file path
inline constexpr DWORD SND_RESOURCE = 0x00040004;  // the name is a WAVE resource of the module

// Plays a wave file (sound null: stops what is playing). FALSE when the file does not exist or
// is no wave file, or when SND_NOSTOP finds a sound playing.
BOOL sndPlaySound(LPCSTR sound, UINT flags);
// As sndPlaySound, and with SND_RESOURCE a WAVE resource of module (null: the current resource
// module); FALSE when the module has no such resource.
BOOL PlaySound(LPCSTR sound, HMODULE module, DWORD flags);

namespace platform {

// One sndPlaySound or PlaySound call as made, and what it returned.
struct SoundCall {
  // The file name as given, "#<id>" or the name of a resource, "(memory)" for a wave image in
  // memory, "" for a stop.
  std::string sound;
  DWORD flags{0};
  bool played{false};  // the call's result
};

// Every call since the start or the last ClearSoundCalls, oldest first.
std::vector<SoundCall> SoundCalls();
void ClearSoundCalls();

// Stores the bytes of a wave file as WAVE resource id of module; false when they are no wave image.
bool AddWaveResource(ResourceModule& module, UINT id, std::vector<std::uint8_t> bytes);
// The same from a wave file; false when it cannot be read or is no wave image.
bool AddWaveResourceFile(ResourceModule& module, UINT id, const char* path);

}  // namespace platform

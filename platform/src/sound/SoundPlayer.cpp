#include "SoundPlayer.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "../shell/CommandLine.h"
#include "../shell/ProcessTable.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace platform::sound {

namespace {

std::vector<std::string> PlayerCommand() {
  const char* line = std::getenv("PLATFORM_SOUND_PLAYER");
  return line ? shell::SplitCommandLine(line) : std::vector<std::string>{};
}

}  // namespace

SoundPlayer::~SoundPlayer() {
  Stop();
  RemoveTemporary();
}

bool SoundPlayer::Configured() { return !PlayerCommand().empty(); }

bool SoundPlayer::Busy() {
  if (!m_child) return false;
  std::optional<DWORD> code = shell::ExitCodeOf(m_child);
  if (code && *code == STILL_ACTIVE) return true;
  shell::Close(m_child);
  m_child = nullptr;
  return false;
}

void SoundPlayer::Stop() {
  if (!m_child) return;
  if (Busy()) shell::Terminate(m_child, 1);
  if (m_child) shell::Close(m_child);
  m_child = nullptr;
}

bool SoundPlayer::PlayFile(const std::string& path, bool wait) {
  Stop();
  std::vector<std::string> args = PlayerCommand();
  if (args.empty()) return false;
  std::optional<std::string> program = shell::ResolveProgram(args.front());
  if (!program) return false;
  args.push_back(path);
  std::optional<pid_t> pid = shell::Spawn(*program, args, std::string());
  if (!pid) return false;
  m_child = shell::OpenHandle(*pid);
  // A synchronous sound lasts as long as the player; there is no device to wait on here.
  while (wait && Busy()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return true;
}

bool SoundPlayer::PlayBytes(const std::uint8_t* bytes, std::size_t size, bool wait) {
  Stop();
  RemoveTemporary();
  char folder[MAX_PATH]{};
  GetTempPath(sizeof folder, folder);
  std::string path = platform::NativePath(folder) + "platform-sound-" + std::to_string(getpid()) + "-" +
                     std::to_string(++m_serial) + ".wav";
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool written = std::fwrite(bytes, 1, size, out) == size;
  written = std::fclose(out) == 0 && written;
  m_temporary = path;
  return written && PlayFile(path, wait);
}

void SoundPlayer::RemoveTemporary() {
  if (m_temporary.empty()) return;
  std::remove(m_temporary.c_str());
  m_temporary.clear();
}

}  // namespace platform::sound

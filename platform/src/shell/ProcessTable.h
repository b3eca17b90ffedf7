#pragma once
// The children this process started, by handle, so their exit codes can be read and none is
// left as a zombie.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform::shell {

// Starts program with args (args[0] is the name the child sees) in folder (empty: ours); the
// child's pid, or nothing when it cannot be started.
std::optional<pid_t> Spawn(const std::string& program, const std::vector<std::string>& args,
                           const std::string& folder);

// Remembers a started child without a handle: it is reaped when it ends.
void Adopt(pid_t pid);
// A handle for a started child.
HANDLE OpenHandle(pid_t pid);
// The child's id behind a handle, or nothing.
std::optional<pid_t> PidOf(HANDLE handle);
// STILL_ACTIVE while running, then the exit code; nothing for an unknown handle.
std::optional<DWORD> ExitCodeOf(HANDLE handle);
// Kills the child and records exitCode as its exit code; false for an unknown handle.
bool Terminate(HANDLE handle, DWORD exitCode);
// Forgets the handle; a child still running is reaped when it ends.
bool Close(HANDLE handle);

}  // namespace platform::shell

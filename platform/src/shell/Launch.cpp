// Starting programs from command lines.
#include <cstring>

#include "CommandLine.h"
#include "ProcessTable.h"
#include "platform/process.h"
#include "platform/shell.h"

namespace {

thread_local DWORD lastError = 0;

struct Started {
  pid_t pid{0};
  DWORD error{0};
};

// Starts the program named by `program` (or, when empty, by the line's first word).
Started Start(const std::string& program, const std::string& line, const std::string& folder) {
  std::vector<std::string> args = platform::shell::SplitCommandLine(line);
  std::string name = program.empty() ? (args.empty() ? std::string() : args.front()) : program;
  if (name.empty()) return Started{0, ERROR_BAD_FORMAT};
  if (args.empty()) args.push_back(name);
  std::optional<std::string> path = platform::shell::ResolveProgram(name);
  if (!path) return Started{0, ERROR_FILE_NOT_FOUND};
  std::optional<pid_t> pid = platform::shell::Spawn(*path, args, folder);
  if (!pid) return Started{0, ERROR_FILE_NOT_FOUND};
  return Started{*pid, 0};
}

}  // namespace

UINT WinExec(LPCSTR commandLine, UINT) {
  Started started = Start(std::string(), commandLine ? commandLine : "", std::string());
  if (started.error != 0) return started.error;
  platform::shell::Adopt(started.pid);
  return 33;
}

BOOL CreateProcess(LPCSTR applicationName, LPSTR commandLine, void*, void*, BOOL, DWORD, void*,
                   LPCSTR currentDirectory, LPSTARTUPINFO, LPPROCESS_INFORMATION info) {
  std::string program = applicationName ? applicationName : "";
  std::string line = commandLine ? commandLine : "";
  Started started = Start(program, line, currentDirectory ? currentDirectory : "");
  if (started.error != 0) {
    lastError = started.error;
    return FALSE;
  }
  HANDLE handle = platform::shell::OpenHandle(started.pid);
  if (info) {
    info->hProcess = handle;
    info->hThread = nullptr;
    info->dwProcessId = static_cast<DWORD>(started.pid);
    info->dwThreadId = static_cast<DWORD>(started.pid);
  } else {
    platform::shell::Close(handle);
  }
  lastError = 0;
  return TRUE;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
  return platform::shell::Terminate(process, exitCode) ? TRUE : FALSE;
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
  std::optional<DWORD> code = platform::shell::ExitCodeOf(process);
  if (!code) return FALSE;
  if (exitCode) *exitCode = *code;
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  if (platform::CloseMutexHandle(handle)) return TRUE;
  return platform::shell::Close(handle) ? TRUE : FALSE;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }

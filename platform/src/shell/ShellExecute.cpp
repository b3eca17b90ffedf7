// Opening documents and addresses through the desktop's opener.
#include <strings.h>

#include <cstdlib>

#include "CommandLine.h"
#include "ProcessTable.h"
#include "platform/shell.h"

namespace {

constexpr UINT_PTR kOpened = 42;

bool IsKnownVerb(LPCSTR verb) { return !verb || !*verb || strcasecmp(verb, "open") == 0; }

std::string OpenerProgram() {
  const char* chosen = std::getenv("PLATFORM_OPENER");
  return chosen && *chosen ? chosen : "xdg-open";
}

// Starts the opener on file; its pid, or nothing with the failure code in *error.
std::optional<pid_t> StartOpener(LPCSTR verb, LPCSTR file, LPCSTR directory, UINT_PTR* error) {
  if (!IsKnownVerb(verb)) {
    *error = SE_ERR_NOASSOC;
    return std::nullopt;
  }
  if (!file || !*file) {
    *error = ERROR_FILE_NOT_FOUND;
    return std::nullopt;
  }
  std::string opener = OpenerProgram();
  std::optional<std::string> path = platform::shell::ResolveProgram(opener);
  if (!path) {
    *error = SE_ERR_NOASSOC;
    return std::nullopt;
  }
  std::optional<pid_t> pid =
      platform::shell::Spawn(*path, {opener, file}, directory ? directory : "");
  if (!pid) *error = SE_ERR_NOASSOC;
  return pid;
}

}  // namespace

HINSTANCE ShellExecute(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR directory, int) {
  UINT_PTR error = 0;
  std::optional<pid_t> pid = StartOpener(verb, file, directory, &error);
  if (!pid) return reinterpret_cast<HINSTANCE>(error);
  platform::shell::Adopt(*pid);
  return reinterpret_cast<HINSTANCE>(kOpened);
}

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info) {
  if (!info) return FALSE;
  UINT_PTR error = 0;
  std::optional<pid_t> pid = StartOpener(info->lpVerb, info->lpFile, info->lpDirectory, &error);
  info->hProcess = nullptr;
  if (!pid) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(error);
    return FALSE;
  }
  info->hInstApp = reinterpret_cast<HINSTANCE>(kOpened);
  if (info->fMask & SEE_MASK_NOCLOSEPROCESS) info->hProcess = platform::shell::OpenHandle(*pid);
  else platform::shell::Adopt(*pid);
  return TRUE;
}

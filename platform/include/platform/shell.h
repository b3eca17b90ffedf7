#pragma once
// Starting other programs and opening documents. Nothing goes through a shell: a command line is
// split into arguments by the Windows rules (quotes group, backslashes escape only quotes) and the
// program is started with posix_spawn.
//
// The program named first on a command line is looked up as given ('\' read as '/'); when it is not
// found and its name ends in ".exe", the name without that ending is tried. A name without a
// folder is looked up in the current folder first, then along PATH.
//
// ShellExecute and ShellExecuteEx hand the file or address to the desktop's opener: the program
// named by the environment variable PLATFORM_OPENER when set, else "xdg-open". Only the verbs
// "open" (any case) and none (the default action) are known.

#include "platform/registry.h"
#include "platform/windows.h"
#include "platform/types.h"

// ERROR_FILE_NOT_FOUND (2) comes from registry.h.
constexpr LONG ERROR_BAD_FORMAT = 11;
constexpr UINT SE_ERR_NOASSOC = 31;

// Start-up record of CreateProcess; only its size field is read.
struct STARTUPINFO {
  DWORD cb{0};
  LPSTR lpReserved{nullptr};
  LPSTR lpDesktop{nullptr};
  LPSTR lpTitle{nullptr};
  DWORD dwX{0}, dwY{0}, dwXSize{0}, dwYSize{0};
  DWORD dwXCountChars{0}, dwYCountChars{0}, dwFillAttribute{0}, dwFlags{0};
  WORD wShowWindow{0};
  WORD cbReserved2{0};
  BYTE* lpReserved2{nullptr};
  HANDLE hStdInput{nullptr}, hStdOutput{nullptr}, hStdError{nullptr};
};
using LPSTARTUPINFO = STARTUPINFO*;

// What CreateProcess hands back: the process handle (closed with CloseHandle) and its id.
struct PROCESS_INFORMATION {
  HANDLE hProcess{nullptr};
  HANDLE hThread{nullptr};
  DWORD dwProcessId{0};
  DWORD dwThreadId{0};
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr ULONG SEE_MASK_INVOKEIDLIST = 0x0000000C;

// ShellExecuteEx's request; hInstApp answers > 32 on success, hProcess is set when asked for.
struct SHELLEXECUTEINFO {
  DWORD cbSize{0};
  ULONG fMask{0};
  HWND hwnd{nullptr};
  LPCSTR lpVerb{nullptr};
  LPCSTR lpFile{nullptr};
  LPCSTR lpParameters{nullptr};
  LPCSTR lpDirectory{nullptr};
  int nShow{0};
  HINSTANCE hInstApp{nullptr};
  void* lpIDList{nullptr};
  LPCSTR lpClass{nullptr};
  void* hkeyClass{nullptr};
  DWORD dwHotKey{0};
  HANDLE hIcon{nullptr};
  HANDLE hProcess{nullptr};
};
using LPSHELLEXECUTEINFO = SHELLEXECUTEINFO*;

constexpr DWORD STILL_ACTIVE = 259;

// Starts the program of commandLine; > 31 on success, else 2 (not found) or 11 (empty line).
UINT WinExec(LPCSTR commandLine, UINT showCommand);
// Starts the program of commandLine (applicationName, when given, names the program instead of the
// line's first word; currentDirectory, when given, is the child's folder). TRUE with *info filled;
// FALSE with *info left as it was and GetLastError() telling why.
BOOL CreateProcess(LPCSTR applicationName, LPSTR commandLine, void* processAttributes,
                   void* threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                   void* environment, LPCSTR currentDirectory, LPSTARTUPINFO startupInfo,
                   LPPROCESS_INFORMATION info);
// Ends the process with exitCode as seen by GetExitCodeProcess; FALSE for an unknown handle.
BOOL TerminateProcess(HANDLE process, UINT exitCode);
// STILL_ACTIVE while the process runs, then its exit code (a signal N reads as 128 + N).
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);
// Releases a process handle; the process itself keeps running. FALSE for an unknown handle.
BOOL CloseHandle(HANDLE handle);
// The reason of the last failed CreateProcess on this thread.
DWORD GetLastError();
// Sets what GetLastError gives on this thread.
void SetLastError(DWORD error);

// Opens file (a path or an address) with the desktop's opener; > 32 on success.
HINSTANCE ShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                       int showCommand);
// As ShellExecute; with SEE_MASK_NOCLOSEPROCESS the opener's process handle comes back in hProcess.
BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info);

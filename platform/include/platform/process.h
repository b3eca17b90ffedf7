#pragma once
// Windows of other programs of the suite: FindWindow across processes and WM_COPYDATA sent from
// one program to a window of another.
//
// The window channel. A process that opens it publishes its visible top-level windows (handle,
// class name, title) in the folder "windows" of PLATFORM_HOME (default ~/.local/share/pellomar),
// as the file "<pid>.list", and listens on the local socket "<pid>.sock" beside it; the message
// loop serves that socket. The channel opens by itself with the first top-level window when the
// programs run on a real display (DISPLAY set and PLATFORM_HEADLESS not "1"); headless programs
// see only their own windows unless they open it themselves. Entries of processes that died are
// ignored and removed by whoever finds them.
//
// Handles of foreign windows. FindWindow gives a foreign window as a handle of this process that
// stands for it: an odd number from 0x40000001 up, while the process's own windows have even
// numbers, so the two can never be confused. The handle names the window together with the
// process's id and a number the process drew when it opened its channel, so a later process that
// gets the same id is never reached through it. A bare number (for example one given on the
// command line) that is not one of this process's own handles, live or dead, is looked up among
// the windows other processes publish; when several processes publish it, the one that started
// this process wins, and without it the number is refused as ambiguous.
//
// Only WM_COPYDATA crosses to another process, through SendMessage (PostMessage refuses it, as the
// block could not outlive the call). The receiver's loop hands it to the window synchronously and
// its answer returns (wParam there is a handle standing for the sender's window, or null when the
// sender named none of its own windows); a receiver that is gone, refuses the request or does not answer within
// kForeignSendTimeoutMs gives 0. Every other message to a foreign window gives 0.

#include <cstddef>
#include <string>

#include "platform/messages.h"
#include "platform/types.h"

// SendMessageTimeout flags (the timeout always applies; the flags change nothing here).
constexpr UINT SMTO_NORMAL = 0x0000;
constexpr UINT SMTO_BLOCK = 0x0001;
constexpr UINT SMTO_ABORTIFHUNG = 0x0002;

// The first top-level window, own windows before those of other processes, whose class name
// and title match, ignoring the case of ASCII letters; a null className or title matches any.
// Own windows are found hidden or shown; other processes' windows only while shown.
HWND FindWindow(LPCTSTR className, LPCTSTR title);
// SendMessage that gives up after timeoutMs on the platform clock for a window of another
// process: FALSE then (and *result 0); TRUE with the answer in *result otherwise. Own windows
// are served at once as SendMessage does.
LRESULT SendMessageTimeout(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                           UINT timeoutMs, DWORD_PTR* result);

// Named mutexes. CreateMutex with a name opens the one mutex of that name shared by the
// processes of the same user (those with the same PLATFORM_HOME); GetLastError() is then
// ERROR_ALREADY_EXISTS when another handle to it was open, 0 when this is the first. The mutex
// lives while any handle to it is open (a process that ends closes its own); CloseHandle closes
// one. Only existence is offered: the mutex is never waited on or owned.
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
// Null (GetLastError telling why) when the mutex cannot be opened. security and initialOwner are
// ignored; a null name gives a handle of this process alone.
HANDLE CreateMutex(void* security, BOOL initialOwner, LPCTSTR name);

namespace platform {

// Closes handle when it is a mutex handle; false otherwise (CloseHandle then tries the others).
bool CloseMutexHandle(HANDLE handle);

// The most bytes a WM_COPYDATA may carry to another process; larger blocks are refused.
constexpr std::size_t kMaxCopyDataBytes = 1 << 20;
// How long SendMessage waits for another process's answer (platform clock).
constexpr UINT kForeignSendTimeoutMs = 5000;

// Opens the window channel (see above) in the folder of the current PLATFORM_HOME; true when
// open. Opening an open channel does nothing.
bool OpenWindowChannel();
// Withdraws this process's windows and closes its socket; other processes no longer find it.
void CloseWindowChannel();
bool IsWindowChannelOpen();
// The folder where processes publish their windows (for the current PLATFORM_HOME).
std::string WindowChannelFolder();

}  // namespace platform

#pragma once
// The message loop of the UI thread: the queue of posted messages, timers, paint requests and
// watched file descriptors (sockets), all waited for in one poll.

#include <functional>

#include "platform/messages.h"
#include "platform/types.h"

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

// Waits for the next message (filtered by window and message range, 0/0 for all); FALSE for
// WM_QUIT. Watched descriptors are served while waiting.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
// Like GetMessage without waiting; FALSE when there is nothing.
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Posts WM_CHAR for a WM_KEYDOWN of a key that types a character.
BOOL TranslateMessage(const MSG* msg);
// Delivers msg to its window (or its timer procedure); 0 for a dead window.
LRESULT DispatchMessage(const MSG* msg);
// Asks the loop to end with exitCode once the messages already posted are handled.
void PostQuitMessage(int exitCode);

namespace platform {

// Runs the loop until WM_QUIT; returns its exit code. Each message goes through the pre-translate
// filter, TranslateMessage and DispatchMessage. Idle work runs when the queue empties after a
// message that may change what it shows: a paint, a system timer or a mouse move to the same place
// do not bring it back.
int Run();
// Handles everything that is ready now (posted messages, due timers, ready descriptors, paints)
// without waiting; for tests. Returns the number of messages and callbacks handled.
int PumpMessages();
// Pumps, waiting in poll with the real clock, until predicate holds or timeoutMs passes;
// returns the predicate's last value.
bool RunUntil(const std::function<bool()>& predicate, int timeoutMs);
// A nested loop (modal dialogs, message boxes, pop-up menus): handles messages, timers and
// descriptors as Run does, waiting when there is nothing, until done() holds (true) or a WM_QUIT
// arrives (false; it stays queued for the outer loop). filter, when given, sees each message
// first and returns true for those it has handled itself.
bool RunModalLoop(const std::function<bool()>& done, const std::function<bool(MSG&)>& filter = {});
// True (and the code) when a WM_QUIT is waiting; Run consumes it.
bool QuitRequested(int* exitCode = nullptr);
// Forgets a waiting WM_QUIT and every queued message (between tests).
void ResetMessageQueue();

// Calls callback(fd, revents) on the UI thread whenever poll reports one of pollEvents on fd.
// The callback may unwatch or close its own descriptor or others. Watching again replaces.
void WatchFd(int fd, short pollEvents, std::function<void(int fd, short revents)> callback);
void UnwatchFd(int fd);
// Changes the events watched on fd (0 keeps the watch but asks for nothing).
void SetWatchEvents(int fd, short pollEvents);
bool IsFdWatched(int fd);

// The application's filter for each message before dispatch (CWinApp::PreTranslateMessage);
// TRUE means handled. Without one, the windows' own PreTranslateMessage chain is walked.
void SetPreTranslateHook(std::function<BOOL(MSG*)> hook);
// Idle processing: called with 0, 1, 2, ... while it returns TRUE, when the queue empties after a
// message that may need it (see Run).
void SetIdleHook(std::function<BOOL(long count)> hook);

// True while a posted message with exactly these values waits in the queue (any thread).
bool IsPosted(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Wakes a waiting loop (any thread).
void WakeLoop();
// True on the thread that runs the loop.
bool IsUiThread();

}  // namespace platform

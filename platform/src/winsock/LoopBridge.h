#pragma once
// What the sockets need from the message loop: watching descriptors in its poll, and posting
// window messages from any thread.

#include <functional>

#include "platform/types.h"

namespace platform::winsock {

// Calls onReady(fd, revents) on the loop's thread whenever poll reports one of events on fd
// (errors and hang-ups are always reported while fd is watched).
void WatchDescriptor(int fd, short events, std::function<void(int, short)> onReady);
void ChangeWatchedEvents(int fd, short events);
void StopWatching(int fd);
// Queues a message for window; safe from any thread.
void PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// True while such a message waits in the queue, not yet handled.
bool IsPostedToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::winsock

#include "LoopBridge.h"

#include "platform/messageloop.h"
#include "platform/windows.h"

namespace platform::winsock {

void WatchDescriptor(int fd, short events, std::function<void(int, short)> onReady) {
  platform::WatchFd(fd, events, std::move(onReady));
}

void ChangeWatchedEvents(int fd, short events) { platform::SetWatchEvents(fd, events); }

void StopWatching(int fd) { platform::UnwatchFd(fd); }

void PostToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ::PostMessage(window, message, wParam, lParam);
}

bool IsPostedToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::IsPosted(window, message, wParam, lParam);
}

}  // namespace platform::winsock

#pragma once
// The handles that stand, in this process, for windows of other processes. Each foreign window
// gets one odd number from 0x40000001 up, kept for the life of the process, so the same window
// always has the same handle and own windows (even numbers) are never mistaken for one.

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/types.h"

class CWnd;

namespace platform::process {

struct ForeignWindow {
  pid_t pid{0};
  std::uint64_t instance{0};  // what the process published with its windows (see WindowList.h)
  std::uint64_t handle{0};    // the window's number in its own process

  auto operator<=>(const ForeignWindow&) const = default;
};

class ForeignWindows {
public:
  static constexpr std::uintptr_t kFirstHandle = 0x40000001;

  static ForeignWindows& Instance();

  // The handle that stands for window (the same one each time).
  HWND HandleFor(const ForeignWindow& window);
  // The window a handle of this table stands for; nothing for any other handle.
  std::optional<ForeignWindow> Lookup(HWND hwnd) const;
  // Whether the number is in the range of this table's handles (taken or not).
  static bool IsForeignNumber(HWND hwnd);
  // A CWnd whose m_hWnd is the handle, for code that wraps handles in objects; null for handles
  // not in the table.
  CWnd* ObjectFor(HWND hwnd);

private:
  ForeignWindows() = default;

  std::map<ForeignWindow, std::uintptr_t> m_handles;
  std::map<std::uintptr_t, ForeignWindow> m_windows;
  std::map<std::uintptr_t, std::unique_ptr<CWnd>> m_objects;
  std::uintptr_t m_nextHandle{kFirstHandle};
};

}  // namespace platform::process

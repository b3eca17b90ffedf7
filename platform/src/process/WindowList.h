#pragma once
// The published windows of one process: the text of its "<pid>.list" file.
// The first line is "instance <number>": a number the process drew when it opened its channel,
// so that a later process with the same id is never taken for it. Then one window a line: the
// handle in decimal, a tab, the class name, a tab, the title. Bytes below 0x20 and '%' in names
// are written as %HH so that names of any bytes survive a round trip.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::process {

struct PublishedWindow {
  std::uint64_t handle{0};
  std::string className;
  std::string title;

  bool operator==(const PublishedWindow&) const = default;
};

struct WindowList {
  std::uint64_t instance{0};  // 0: no valid list
  std::vector<PublishedWindow> windows;
};

std::string FormatWindowList(const WindowList& list);
// Reads what FormatWindowList wrote; malformed window lines are skipped, never trusted, and a
// text without its instance line gives an empty list of instance 0.
WindowList ParseWindowList(std::string_view text);

// Whether name matches pattern ignoring the case of ASCII letters; a null pattern matches any.
bool NameMatches(const char* pattern, std::string_view name);

}  // namespace platform::process

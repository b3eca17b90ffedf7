#pragma once
// The X server display tests run on: the one named by DISPLAY when it can be opened, else a
// private Xvfb started on a free display number (stopped when the tests end), else none. The
// private server does not reset when its last client leaves, so tests may come and go.

#include <string>
#include <sys/types.h>
#include <vector>

namespace platform::testing {

// An Xvfb of a test's own, started with extra arguments (e.g. "-extension", "MIT-SHM" for a
// server without shared memory); stopped when the object goes. Name() is empty when none starts.
class PrivateXvfb {
public:
  explicit PrivateXvfb(const std::vector<std::string>& extraArgs = {});
  ~PrivateXvfb();
  PrivateXvfb(const PrivateXvfb&) = delete;
  PrivateXvfb& operator=(const PrivateXvfb&) = delete;
  const std::string& Name() const { return m_name; }

private:
  pid_t m_pid{-1};
  std::string m_name;
};

// The display name to open; empty when no X server can be had (the tests skip).
const std::string& TestDisplayName();

}  // namespace platform::testing

#pragma once
// The time left of a wait, on the platform clock. A manual clock does not move while the thread
// waits, so a wait started in manual mode counts real time instead: it still ends.

#include <cstdint>

#include "platform/types.h"

namespace platform::process {

class Deadline {
public:
  explicit Deadline(UINT timeoutMs);
  // Milliseconds left; 0 once the time is up.
  int RemainingMs() const;

private:
  std::uint64_t ElapsedMs() const;

  std::uint64_t m_timeoutMs{0};
  std::uint64_t m_start{0};
  bool m_manual{false};
};

}  // namespace platform::process

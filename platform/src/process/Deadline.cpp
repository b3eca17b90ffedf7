#include "Deadline.h"

#include <algorithm>
#include <chrono>

#include "platform/time.h"

namespace platform::process {
namespace {

std::uint64_t SteadyMs() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

Deadline::Deadline(UINT timeoutMs) : m_timeoutMs(timeoutMs), m_manual(Clock::IsManual()) {
  m_start = m_manual ? SteadyMs() : Clock::NowMs();
}

int Deadline::RemainingMs() const {
  std::uint64_t elapsed = ElapsedMs();
  if (elapsed >= m_timeoutMs) return 0;
  return static_cast<int>(std::min<std::uint64_t>(m_timeoutMs - elapsed, 1u << 30));
}

std::uint64_t Deadline::ElapsedMs() const {
  std::uint64_t now = m_manual ? SteadyMs() : Clock::NowMs();
  return now >= m_start ? now - m_start : 0;
}

}  // namespace platform::process

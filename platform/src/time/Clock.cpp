#include "platform/time.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "../loop/Timers.h"

namespace platform {
namespace {

// The clock's state; the millisecond count is shared by both modes so switching never jumps back.
struct ClockState {
  std::mutex mutex;
  std::chrono::steady_clock::time_point start{std::chrono::steady_clock::now()};
  std::int64_t realOffsetMs{0};      // added to the steady elapsed time in real mode
  std::atomic<bool> manual{false};
  std::atomic<std::uint64_t> manualNowMs{0};
  std::time_t wallBase{0};           // manual mode: wall time at wallBaseMs
  std::uint64_t wallBaseMs{0};
};

ClockState& State() {
  static ClockState state;
  return state;
}

std::uint64_t RealNowMs(ClockState& s) {
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - s.start);
  return static_cast<std::uint64_t>(elapsed.count() + s.realOffsetMs);
}

}  // namespace

std::uint64_t Clock::NowMs() {
  ClockState& s = State();
  if (s.manual.load()) return s.manualNowMs.load();
  std::lock_guard lock(s.mutex);
  return RealNowMs(s);
}

std::time_t Clock::Now() {
  ClockState& s = State();
  if (!s.manual.load()) {
    return std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  }
  std::lock_guard lock(s.mutex);
  return s.wallBase + static_cast<std::time_t>((s.manualNowMs.load() - s.wallBaseMs) / 1000);
}

void Clock::SetManual(bool manual) {
  ClockState& s = State();
  std::lock_guard lock(s.mutex);
  if (manual == s.manual.load()) return;
  if (manual) {
    std::uint64_t now = RealNowMs(s);
    s.manualNowMs = now;
    s.wallBase = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    s.wallBaseMs = now;
    s.manual = true;
  } else {
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - s.start);
    s.realOffsetMs = static_cast<std::int64_t>(s.manualNowMs.load()) - elapsed.count();
    s.manual = false;
  }
}

bool Clock::IsManual() { return State().manual.load(); }

void Clock::Advance(std::uint64_t ms) {
  ClockState& s = State();
  if (!s.manual.load()) return;
  std::uint64_t target = s.manualNowMs.load() + ms;
  detail::FireTimersUntil(target, [&s](std::uint64_t due) {
    if (due > s.manualNowMs.load()) s.manualNowMs = due;
  });
  if (target > s.manualNowMs.load()) s.manualNowMs = target;
}

void Clock::SetWallTime(std::time_t wallTime) {
  ClockState& s = State();
  std::lock_guard lock(s.mutex);
  s.wallBase = wallTime;
  s.wallBaseMs = s.manualNowMs.load();
}

ManualClockScope::ManualClockScope(std::time_t wallTime) : m_wasManual(Clock::IsManual()) {
  Clock::SetManual(true);
  if (wallTime != 0) Clock::SetWallTime(wallTime);
}

ManualClockScope::~ManualClockScope() { Clock::SetManual(m_wasManual); }

}  // namespace platform

DWORD GetTickCount() { return static_cast<DWORD>(platform::Clock::NowMs()); }

void Sleep(DWORD ms) {
  if (!platform::Clock::IsManual()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  // Moving the manual clock without firing: timers that fell due fire on the next pump.
  platform::State().manualNowMs += ms;
  // A wait for bytes from a peer, in pauses of a tenth of a second, would otherwise run out on the
  // manual clock before the peer, on another thread or process, had a chance to send them.
  if (ms >= 100)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  else
    std::this_thread::yield();
}

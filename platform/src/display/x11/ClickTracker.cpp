#include "ClickTracker.h"

#include <cstdlib>

namespace platform::detail {

bool ClickTracker::Press(int button, POINT screen, std::uint64_t timeMs, unsigned long window) {
  bool second = m_pending && button == m_button && window == m_window && timeMs >= m_timeMs &&
                timeMs - m_timeMs <= kMaxIntervalMs && std::abs(screen.x - m_point.x) <= kBoxSize / 2 &&
                std::abs(screen.y - m_point.y) <= kBoxSize / 2;
  if (second) {
    m_pending = false;
    return true;
  }
  m_pending = true;
  m_button = button;
  m_point = screen;
  m_timeMs = timeMs;
  m_window = window;
  return false;
}

}  // namespace platform::detail

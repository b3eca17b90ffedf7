#pragma once
// Tells double clicks from single ones by the time and distance between two presses of the same
// button on the same window.

#include <cstdint>

#include "platform/geometry.h"
#include "platform/types.h"

namespace platform::detail {

class ClickTracker {
public:
  // Most milliseconds between the presses, and the size of the box (centred on the first press)
  // the second must fall in.
  static constexpr std::uint64_t kMaxIntervalMs = 500;
  static constexpr int kBoxSize = 4;

  // Records a press of button (1-3) at a screen point at timeMs on a native window; true when it
  // completes a double click. A press that completes one does not start the next.
  bool Press(int button, POINT screen, std::uint64_t timeMs, unsigned long window);
  // Forgets the last press (the pointer left, a key was pressed, ...).
  void Reset() { m_pending = false; }

private:
  bool m_pending{false};       // a first press waits for its second
  int m_button{0};
  POINT m_point{0, 0};
  std::uint64_t m_timeMs{0};
  unsigned long m_window{0};
};

}  // namespace platform::detail

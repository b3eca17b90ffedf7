#include "orvanta/room/StepKeys.h"

StepKey StepKeyOf(WPARAM key) {
  switch (key) {
    case VK_LEFT:
    case VK_DOWN:
      return StepKey::kPrevious;
    case VK_RIGHT:
    case VK_UP:
      return StepKey::kNext;
    case VK_HOME:
      return StepKey::kFirst;
    case VK_END:
      return StepKey::kLast;
    default:
      return StepKey::kNone;
  }
}

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

BOOL RouteStepKey(const MSG& msg, const std::function<void(StepKey)>& step, bool swallowLastPress,
                  const StepButtonOf& buttonOf) {
  if (msg.message != WM_KEYUP && msg.message != WM_KEYDOWN)
    return FALSE;
  const StepKey key = StepKeyOf(msg.wParam);
  if (key == StepKey::kNone)
    return FALSE;
  CWnd* button = buttonOf ? buttonOf(key) : nullptr;
  if (button && button->m_hWnd) button->SendMessage(BM_SETSTATE, msg.message == WM_KEYDOWN ? TRUE : FALSE);
  if (msg.message == WM_KEYUP) {
    step(key);
    return TRUE;
  }
  return key != StepKey::kLast || swallowLastPress;
}

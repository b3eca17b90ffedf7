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

StepButtonOf StepButtonsOf(CWnd& dialog, StepButtonIds ids) {
  return [&dialog, ids](StepKey key) -> CWnd* {
    UINT id = 0;
    switch (key) {
      case StepKey::kPrevious: id = ids.previous; break;
      case StepKey::kNext: id = ids.next; break;
      case StepKey::kFirst: id = ids.first; break;
      case StepKey::kLast: id = ids.last; break;
      default: break;
    }
    return id ? dialog.GetDlgItem(id) : nullptr;
  };
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

#pragma once
// Keyboard messages in the queue (internal): posted without a window and given to the window
// that has the keys (InputRouting's KeyTarget) when they are taken from the queue, so a key
// typed after Tab reaches the field Tab moved to even when both arrived together.

#include "platform/types.h"

namespace platform::detail {

// Queues a keyboard message for whichever window has the keys when it is taken; one that finds
// no such window then is dropped.
void PostToKeyTarget(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::detail

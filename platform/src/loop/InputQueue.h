#pragma once
// A person's input in the queue (internal). Each message remembers where it was routed and
// whether that window took input then; one whose window has since been disabled, hidden or
// destroyed (or lies in a window that has) is dropped when taken, in every loop, as input never
// reaches a window that does not take it: the second click of a double click that opened a
// modal dialog must not reach the dialog's disabled owner.

#include "platform/types.h"

namespace platform::detail {

// Queues a mouse message routed to target.
void PostInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a keyboard message for whichever window has the keys when it is taken, so a key typed
// after Tab reaches the field Tab moved to even when both arrived together. It is dropped when
// no window has the keys then, or when the top-level window that had them at routing no longer
// takes input.
void PostToKeyTarget(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace platform::detail

#pragma once
// What the windows area asks of the process area (internal).

#include "platform/types.h"

class CWnd;

namespace platform::detail {

// A top-level window was shown, hidden, retitled, reparented or destroyed: the published list
// follows when the window channel is open (and a real display may open the channel).
void TopLevelWindowsChanged();
// For a handle that is not a live window of this process: whether it names a live window of
// another process of the suite.
bool IsForeignWindow(HWND hwnd);
// SendMessage to a handle that is not a live window of this process: WM_COPYDATA travels to the
// other process and its answer comes back; 0 for every other message and unknown handles.
LRESULT SendToForeignWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The object that wraps a foreign window's handle; null for other handles.
CWnd* ForeignWindowObject(HWND hwnd);

}  // namespace platform::detail

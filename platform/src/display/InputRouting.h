#pragma once
// Input routing (internal): one path for every source of input, real (the display backend) or
// synthesised (the test helpers). Messages are posted to the queue, not pumped, so the caller
// decides when they are handled.

#include "platform/geometry.h"
#include "platform/testinput.h"
#include "platform/types.h"

namespace platform::detail {

// A mouse message at hwnd's client point: WM_SETCURSOR and the message go to the window under
// the point, or the capture window. Returns the window it went to (null: nobody).
HWND RouteMouse(HWND hwnd, POINT point, UINT message, WPARAM extra = 0);
// A button going down or up; the second down of a double click becomes WM_xBUTTONDBLCLK when
// the receiving window's class has CS_DBLCLKS.
void RouteButton(HWND hwnd, POINT point, input::Button button, bool down, bool doubleClick = false);
// A wheel turn at point; delta in multiples of 120 per notch.
void RouteWheel(HWND hwnd, POINT point, int delta);
// WM_KEYDOWN or WM_KEYUP to the focus window (or the active one); keyData is the lParam
// (repeat count, scan code, flags).
void RouteKey(UINT virtualKey, bool down, LPARAM keyData);
// Each byte of text (code page 949) as one WM_CHAR to the focus window.
void RouteText(const char* text);

}  // namespace platform::detail

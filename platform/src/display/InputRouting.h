#pragma once
// Input routing (internal): one path for every source of input, real (the display backend) or
// synthesised (the test helpers). Messages are posted to the queue, not pumped, so the caller
// decides when they are handled.

#include <string_view>

#include "platform/geometry.h"
#include "platform/testinput.h"
#include "platform/types.h"

namespace platform::detail {

// The window keys go to: the focus, else the active window; null when neither.
HWND KeyTarget();
// A mouse message at hwnd's client point: WM_SETCURSOR and the message go to the window under
// the point, or the capture window. Returns the window it went to (null: nobody).
HWND RouteMouse(HWND hwnd, POINT point, UINT message, WPARAM extra = 0);
// A button going down or up; the second down of a double click becomes WM_xBUTTONDBLCLK when
// the receiving window's class has CS_DBLCLKS.
void RouteButton(HWND hwnd, POINT point, input::Button button, bool down, bool doubleClick = false);
// A wheel turn at point; delta in multiples of 120 per notch.
void RouteWheel(HWND hwnd, POINT point, int delta);
// The key data bit saying Alt was held when the key went down or up.
constexpr LPARAM kAltContext = LPARAM{1} << 29;

// WM_KEYDOWN or WM_KEYUP to the key target as it is when the message is taken from the queue; keyData is the lParam
// (repeat count, scan code, flags). With Alt held (Ctrl not), for the Alt key itself and for F10
// the messages are WM_SYSKEYDOWN and WM_SYSKEYUP, and kAltContext is set while Alt is held.
void RouteKey(UINT virtualKey, bool down, LPARAM keyData);
// Each byte of text (code page 949) as one WM_CHAR to the key target (when taken, as keys).
void RouteText(const char* text);
// Text an input method composed (UTF-8) to the key target (when taken), character by character: ASCII as
// WM_CHAR, a double-byte character of code page 949 as one WM_IME_CHAR (lead byte high), which
// the default window procedure turns into WM_CHAR lead byte then trail byte. A character code
// page 949 cannot hold is dropped with a log line.
void RouteComposedText(std::string_view utf8);

}  // namespace platform::detail

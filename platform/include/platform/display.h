#pragma once
// The display: where top-level windows are shown. Headless (nothing shown; modal questions go to
// the UI script) unless DISPLAY is set and PLATFORM_HEADLESS is not "1", then X11 (each top-level
// window is an X window showing its surface, and people answer modal questions themselves).
// A window's changed areas reach its X window each on its own; on a local server that offers
// shared memory the surface's pixels live in memory the server reads, unless PLATFORM_X11_SHM
// is "0" (then, as on a remote server, the pixels go through the connection).

#include "platform/types.h"

namespace platform::display {

enum class Backend { Headless, X11 };

// The backend in use; the first call chooses it from the environment.
Backend CurrentBackend();
// True when a person sees the windows: modal dialogs, message boxes and pop-up menus wait for
// their input in a nested message loop instead of asking the UI script.
bool IsInteractive();
// Shows windows on the named X display (null: $DISPLAY) from now on, whatever the environment
// says; windows already showing appear there. False (and headless kept) when it cannot be opened.
bool UseX11Display(const char* displayName);
// Goes back to headless: the X windows and the connection are closed, the windows stay.
void UseHeadless();
// The X window that shows a top-level window; 0 headless or when it is not shown.
unsigned long NativeWindowOf(HWND top);
// Puts what was painted on the display and handles the events it has sent so far (waits for
// the server once, so events caused by earlier requests have arrived).
void Sync();

}  // namespace platform::display

#pragma once
// Where a top-level window's X window lies on the screen. The X window shows the menu bar and the
// client area under it, so points of the program's windows are turned into points of the X window
// by this origin, not by the client area's.
#include <X11/Xlib.h>

#include "platform/display.h"
#include "platform/geometry.h"

namespace testsupport {

// The screen position of top's X window (0,0 when it has none).
inline POINT NativeWindowOrigin(Display* observer, HWND top) {
  int x = 0, y = 0;
  Window child = 0;
  const Window native = static_cast<Window>(platform::display::NativeWindowOf(top));
  if (native) XTranslateCoordinates(observer, native, DefaultRootWindow(observer), 0, 0, &x, &y, &child);
  return POINT{x, y};
}

}  // namespace testsupport

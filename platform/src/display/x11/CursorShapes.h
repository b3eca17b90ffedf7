#pragma once
// Which X font cursor shows a program's cursor.

#include "platform/types.h"

namespace platform::detail {

// The X cursor font glyph (XC_*) for a cursor handle: the matching shape for the system
// cursors (IDC_*), a pointing hand for cursors a program defines (they mark something to click
// or play on), the arrow for an unknown or null handle.
unsigned int CursorShapeOf(HCURSOR cursor);

}  // namespace platform::detail

#pragma once
// The pictures a message box shows beside its text, drawn by code.

#include "platform/gdi.h"

namespace platform::detail {

// Side of the square a message box icon takes.
constexpr int kMessageBoxIconSize = 32;

// Draws the icon of an MB_ICON* kind (type & MB_ICONMASK) with its top-left at (x, y); false,
// drawing nothing, for a box without an icon.
bool DrawMessageBoxIcon(CDC& dc, UINT iconKind, int x, int y);

}  // namespace platform::detail

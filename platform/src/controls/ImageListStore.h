#pragma once
// The images behind HIMAGELIST handles, shared by CImageList and the controls that draw images.

#include "platform/controls_defs.h"
#include "platform/gdi.h"

namespace platform::detail {

// Draws image index of list at x, y with ILD_* style; false for a bad list or index.
bool DrawImage(HIMAGELIST list, int index, CDC& dc, int x, int y, UINT style);
// Draws image index as a disabled button shows it: its shape engraved in the face's shadow and
// highlight colours; false for a bad list or index.
bool DrawDisabledImage(HIMAGELIST list, int index, CDC& dc, int x, int y);
// Size of one image; 0,0 for a bad list.
SIZE ImageSize(HIMAGELIST list);

}  // namespace platform::detail

#include "CursorShapes.h"

#include <X11/cursorfont.h>

#include "platform/resources.h"

namespace platform::detail {
namespace {

unsigned int SystemShape(UINT id) {
  switch (id) {
    case 32513: return XC_xterm;               // IDC_IBEAM
    case 32514: return XC_watch;               // IDC_WAIT
    case 32515: return XC_crosshair;           // IDC_CROSS
    case 32516: return XC_sb_up_arrow;         // IDC_UPARROW
    case 32642: return XC_bottom_right_corner; // IDC_SIZENWSE
    case 32643: return XC_bottom_left_corner;  // IDC_SIZENESW
    case 32644: return XC_sb_h_double_arrow;   // IDC_SIZEWE
    case 32645: return XC_sb_v_double_arrow;   // IDC_SIZENS
    case 32646: return XC_fleur;               // IDC_SIZEALL
    case 32648: return XC_X_cursor;            // IDC_NO
    case 32649: return XC_hand2;               // IDC_HAND
    case 32650: return XC_watch;               // IDC_APPSTARTING
    default: return XC_left_ptr;               // IDC_ARROW and the rest
  }
}

}  // namespace

unsigned int CursorShapeOf(HCURSOR cursor) {
  CursorInfo info;
  if (!cursor || !DescribeCursor(cursor, &info)) return XC_left_ptr;
  if (!info.module) return SystemShape(info.id);
  return XC_hand2;
}

}  // namespace platform::detail

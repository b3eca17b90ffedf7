#pragma once
// Drawing helpers shared by the viewer's windows, the board and printing: fonts sized in points
// on screen and printer alike, transparent blits and bitmap resources with a palette.

#include "platform/gdi.h"

// Style flags of CreateDeviceFont.
constexpr int kFontBold = 1;
constexpr int kFontItalic = 2;
constexpr int kFontUnderline = 4;
constexpr int kFontStrikeOut = 8;

// A font of height (and width, 0 = natural) in tenths of a point for dc: logicalPixels uses the
// context's logical dots per inch (screens), otherwise its physical resolution (printers). The
// caller owns the font. The context's state is left as it was.
HFONT CreateDeviceFont(CDC* dc, const char* faceName, int height, int width, int style, bool logicalPixels);

// Draws the width x height area of bitmap at (srcX, srcY) onto dc at (x, y), leaving the pixels of
// the transparent colour unpainted. palette (may be null) is used on palette devices.
void DrawTransparentBitmap(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int srcX, int srcY,
                           COLORREF transparent, CPalette* palette);

// Loads a bitmap resource of the current resource module as a DIB section into bitmap, with a
// palette of its colours (a halftone palette above 256 colours). 1 loaded, 0 not found.
int LoadSysColorBitmap(UINT id, CBitmap& bitmap, CPalette& palette);

// Width and height of a bitmap resource: 1, or 0 with (0, 0) when it does not exist.
int GetBitmapResourceSize(UINT id, SIZE* size);

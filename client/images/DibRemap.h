#pragma once
// Pixel-byte helpers for DIB rows and RLE8 data: remapping colour indices through a table,
// copying a byte range from its end, and clearing the system palette.

#include <cstddef>

#include "platform/types.h"

// Replaces each of the count pixel bytes of an 8-bit row by its entry of map.
void RemapRow8(BYTE* row, size_t count, const BYTE (&map)[256]);
// Replaces both 4-bit pixels of each of the count bytes of a 4-bit row by their entries of map
// (only the low four bits of an entry are used).
void RemapRow4(BYTE* row, size_t count, const BYTE (&map)[16]);
// Replaces the pixel values of RLE8 data in place, leaving run lengths, escapes, deltas and pad
// bytes as they are. Stops at the end-of-bitmap escape or at size bytes; FALSE when the data ends
// inside a run, an escape or a delta (what lay before is remapped).
BOOL RemapRle8(BYTE* data, size_t size, const BYTE (&map)[256]);
// Copies count bytes from source to destination starting with the last byte, so that a range
// moved towards higher addresses over itself arrives whole.
void CopyBytesBackwards(BYTE* destination, const BYTE* source, size_t count);
// Fills the system palette with black by realising a 256-entry black palette in the screen's
// context; FALSE when the palette or the context cannot be had.
BOOL ClearSystemPalette();

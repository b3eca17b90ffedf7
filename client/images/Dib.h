#pragma once
// DIB blocks: one allocation holding a BITMAPINFOHEADER, its colour table and the pixel rows
// (bottom-up, each padded to 4 bytes); BMP files; palettes to and from the colour table.
//
// A block is owned by whoever receives it and released with FreeDib. Every size is checked:
// images are 1..kMaxDibSide pixels on each side and kMaxDibPixels pixels at most, so that a
// small file that declares a huge picture is refused before anything large is allocated.

#include <cstddef>

#include "platform/gdi.h"

constexpr int kMaxDibSide = 16384;
// 16 Mi pixels (48 MiB at 24 bits): far above a photograph or board texture of the viewer.
constexpr long long kMaxDibPixels = 16LL * 1024 * 1024;

// True when a picture of width x height pixels is within the bounds above.
bool IsDibSizeAllowed(long long width, long long height);

// Bytes per pixel row of a DIB: ((width x depth + 31) / 32) x 4; 0 when outside the bounds.
size_t DibRowBytes(int width, int depth);
// A zero-filled block of the depth (1, 4, 8, 16, 24 or 32) and size, 16-colour standard table for
// paletted depths; null on bad arguments or exhausted memory.
LPBITMAPINFOHEADER CreateDib(int depth, int width, int height);
// Releases a block from CreateDib or ReadDibFile; null is ignored.
void FreeDib(LPBITMAPINFOHEADER dib);
// Entries of the block's colour table: used colours, or 2^depth for depth 8 or less when 0.
UINT GetDibColorCount(const BITMAPINFOHEADER* dib);
// Bytes of the colour table in the file layout: 3 per entry after a 12-byte header, else 4.
UINT GetDibPaletteSize(const BITMAPINFOHEADER* dib);
// First pixel byte of the block: behind the header and the colour table (or the three masks).
BYTE* GetDibBits(LPBITMAPINFOHEADER dib);

// Reads a BMP file (with or without the 14-byte file header) into a new block; null on error.
// 16- and 32-bit files become 24-bit blocks; top-down files become bottom-up; RLE8 and RLE4 files
// are expanded to plain rows.
LPBITMAPINFOHEADER ReadDibFile(const char* fileName);
// The same from bytes in memory.
LPBITMAPINFOHEADER ReadDibBytes(const BYTE* data, size_t size);
// Writes the block as a BMP file; FALSE without a block or when the file cannot be written whole.
BOOL SaveDibFile(const char* fileName, const BITMAPINFOHEADER* dib);

// A logical palette from the colour table, entries with the given flags; null without a table.
HPALETTE CreateDibPalette(const BITMAPINFOHEADER* dib, BYTE flags);
// Fills the colour table from palette (the system's default palette when null): as the 16-bit
// indices 0..n-1 when asIndices, else as the palette's colours. FALSE without a block.
BOOL SetDibColorTable(LPBITMAPINFOHEADER dib, const CPalette* palette, BOOL asIndices);

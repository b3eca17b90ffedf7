#pragma once
// The Windows logical palette of an image.

#include "platform/gdi.h"

class CImagePalette : public CPalette {
public:
  CImagePalette() = default;
  // A palette of count entries (at most 256) from the three colour arrays.
  CImagePalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue);
  // A copy of another palette: same number of entries, same colours.
  explicit CImagePalette(const CImagePalette& other);

  // Fails when this object already holds a palette or count is outside 1..256.
  BOOL Create(int count, const BYTE* red, const BYTE* green, const BYTE* blue);
  // Index of the entry nearest to the colour.
  int GetNearestIndex(BYTE red, BYTE green, BYTE blue) const;
  // The entry's colour; FALSE for indexes outside 0..255 or beyond the palette.
  BOOL GetEntry(int index, BYTE* red, BYTE* green, BYTE* blue) const;
  int GetEntryCount() const { return CPalette::GetEntryCount(); }
};

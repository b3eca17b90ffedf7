#include "client/images/ImagePalette.h"

#include <vector>

CImagePalette::CImagePalette(int count, const BYTE* red, const BYTE* green, const BYTE* blue) {
  Create(count, red, green, blue);
}

CImagePalette::CImagePalette(const CImagePalette& other) : CPalette() {
  const int count = other.GetEntryCount();
  BYTE red[256] = {}, green[256] = {}, blue[256] = {};
  for (int i = 0; i < count && i < 256; ++i) other.GetEntry(i, &red[i], &green[i], &blue[i]);
  Create(count, red, green, blue);
}

BOOL CImagePalette::Create(int count, const BYTE* red, const BYTE* green, const BYTE* blue) {
  if (GetSafeHandle() != nullptr || count < 1 || count > 256 || red == nullptr) return FALSE;
  if (green == nullptr) green = red;
  if (blue == nullptr) blue = green;
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(count);
  for (int i = 0; i < count; ++i) logical->palPalEntry[i] = PALETTEENTRY{red[i], green[i], blue[i], 0};
  return CreatePalette(logical);
}

int CImagePalette::GetNearestIndex(BYTE red, BYTE green, BYTE blue) const {
  return static_cast<int>(GetNearestPaletteIndex(RGB(red, green, blue)));
}

BOOL CImagePalette::GetEntry(int index, BYTE* red, BYTE* green, BYTE* blue) const {
  if (index < 0 || index > 255) return FALSE;
  PALETTEENTRY entry{};
  if (GetPaletteEntries(static_cast<UINT>(index), 1, &entry) != 1) return FALSE;
  *red = entry.peRed;
  *green = entry.peGreen;
  *blue = entry.peBlue;
  return TRUE;
}

#include "client/images/DibRemap.h"

#include <vector>

#include "platform/gdi.h"
#include "platform/windows.h"

namespace {

// A palette entry that takes a system-palette entry of its own even when a colour matches.
constexpr BYTE kNoCollapse = 0x04;

}  // namespace

void RemapRow8(BYTE* row, size_t count, const BYTE (&map)[256]) {
  for (size_t i = 0; i < count; ++i) row[i] = map[row[i]];
}

void RemapRow4(BYTE* row, size_t count, const BYTE (&map)[16]) {
  for (size_t i = 0; i < count; ++i) {
    const BYTE high = map[row[i] >> 4] & 0x0F;
    const BYTE low = map[row[i] & 0x0F] & 0x0F;
    row[i] = static_cast<BYTE>(high << 4 | low);
  }
}

BOOL RemapRle8(BYTE* data, size_t size, const BYTE (&map)[256]) {
  size_t at = 0;
  while (at < size) {
    const BYTE count = data[at];
    if (count != 0) {  // an encoded run: the count, then the value
      if (size - at < 2) return FALSE;
      data[at + 1] = map[data[at + 1]];
      at += 2;
      continue;
    }
    if (size - at < 2) return FALSE;
    const BYTE escape = data[at + 1];
    at += 2;
    if (escape == 0) continue;       // end of line
    if (escape == 1) return TRUE;    // end of bitmap
    if (escape == 2) {               // delta: two offset bytes, not pixels
      if (size - at < 2) return FALSE;
      at += 2;
      continue;
    }
    // An absolute run of escape pixels, padded to a whole word.
    const size_t run = escape;
    if (size - at < run) {
      RemapRow8(data + at, size - at, map);
      return FALSE;
    }
    RemapRow8(data + at, run, map);
    at += run + (run & 1);
  }
  return at == size ? TRUE : FALSE;
}

void CopyBytesBackwards(BYTE* destination, const BYTE* source, size_t count) {
  while (count > 0) {
    --count;
    destination[count] = source[count];
  }
}

BOOL ClearSystemPalette() {
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 256;
  for (int i = 0; i < 256; ++i) logical->palPalEntry[i] = PALETTEENTRY{0, 0, 0, kNoCollapse};
  const HPALETTE black = ::CreatePalette(logical);
  if (black == nullptr) return FALSE;
  // A context of the screen's kind: realising a palette there maps it into the system palette.
  const HDC screen = ::CreateCompatibleDC(nullptr);
  if (screen == nullptr) {
    ::DeleteObject(reinterpret_cast<HGDIOBJ>(black));
    return FALSE;
  }
  const HPALETTE old = ::SelectPalette(screen, black, FALSE);
  ::RealizePalette(screen);
  // The palette goes back out of the context before it is deleted: a context never holds a
  // deleted object.
  ::SelectPalette(screen, old != nullptr ? old : reinterpret_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), FALSE);
  ::DeleteDC(screen);
  ::DeleteObject(reinterpret_cast<HGDIOBJ>(black));
  return TRUE;
}

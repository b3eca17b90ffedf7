#include "client/widgets/DrawUtilities.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/resources.h"

namespace {

// Dots per inch of dc, horizontally and vertically.
void GetResolution(CDC* dc, bool logicalPixels, double* dpiX, double* dpiY) {
  if (logicalPixels) {
    *dpiX = dc->GetDeviceCaps(LOGPIXELSX);
    *dpiY = dc->GetDeviceCaps(LOGPIXELSY);
    return;
  }
  const int sizeX = dc->GetDeviceCaps(HORZSIZE);
  const int sizeY = dc->GetDeviceCaps(VERTSIZE);
  *dpiX = sizeX > 0 ? dc->GetDeviceCaps(HORZRES) * 25.4 / sizeX : 0.0;
  *dpiY = sizeY > 0 ? dc->GetDeviceCaps(VERTRES) * 25.4 / sizeY : 0.0;
}

LOGFONT DescribeFont(const char* faceName, int pointY, int style) {
  LOGFONT font{};
  font.lfHeight = -static_cast<LONG>(std::abs(pointY) / 10.0 + 0.5);
  font.lfWeight = (style & kFontBold) ? 700 : 0;
  font.lfItalic = (style & kFontItalic) ? 1 : 0;
  font.lfUnderline = (style & kFontUnderline) ? 1 : 0;
  font.lfStrikeOut = (style & kFontStrikeOut) ? 1 : 0;
  if (faceName != nullptr) std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
  return font;
}

LONG AverageCharWidth(CDC* dc, HFONT font) {
  HGDIOBJ old = ::SelectObject(dc->GetSafeHdc(), reinterpret_cast<HGDIOBJ>(font));
  TEXTMETRIC metrics{};
  dc->GetTextMetrics(&metrics);
  ::SelectObject(dc->GetSafeHdc(), old);
  return metrics.tmAveCharWidth;
}

void ResetMapping(CDC* dc) {
  dc->SetGraphicsMode(GM_ADVANCED);
  dc->ModifyWorldTransform(nullptr, MWT_IDENTITY);
  dc->SetViewportOrg(0, 0);
  dc->SetWindowOrg(0, 0);
}

int ColourCount(const DIBSECTION& section) {
  if (section.dsBmih.biClrUsed != 0) return static_cast<int>(section.dsBmih.biClrUsed);
  return section.dsBmih.biBitCount <= 8 ? 1 << section.dsBmih.biBitCount : 1 << 24;
}

BOOL BuildColourPalette(CBitmap& bitmap, int colours, CPalette& palette) {
  std::vector<RGBQUAD> table(static_cast<size_t>(colours));
  CDC memory;
  memory.CreateCompatibleDC(nullptr);
  CBitmap* old = memory.SelectObject(&bitmap);
  const UINT read = ::GetDIBColorTable(memory.GetSafeHdc(), 0, static_cast<UINT>(colours), table.data());
  memory.SelectObject(old);
  std::vector<BYTE> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(colours));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(colours);
  for (UINT i = 0; i < static_cast<UINT>(colours); ++i) {
    const RGBQUAD colour = i < read ? table[i] : RGBQUAD{};
    logical->palPalEntry[i] = {colour.rgbRed, colour.rgbGreen, colour.rgbBlue, 0};
  }
  palette.DeleteObject();
  return palette.CreatePalette(logical);
}

}  // namespace

HFONT CreateDeviceFont(CDC* dc, const char* faceName, int height, int width, int style, bool logicalPixels) {
  const int saved = dc->SaveDC();
  ResetMapping(dc);
  double dpiX = 0.0;
  double dpiY = 0.0;
  GetResolution(dc, logicalPixels, &dpiX, &dpiY);
  POINT point{static_cast<LONG>(width * dpiX / 72), static_cast<LONG>(height * dpiY / 72)};
  dc->DPtoLP(&point);

  LOGFONT description = DescribeFont(faceName, point.y, style);
  HFONT font = ::CreateFontIndirect(&description);
  if (width != 0 && font != nullptr && point.y != 0) {
    const LONG average = AverageCharWidth(dc, font);
    ::DeleteObject(reinterpret_cast<HGDIOBJ>(font));
    description.lfWidth = static_cast<LONG>(std::abs(point.x) * static_cast<double>(average) / std::abs(point.y) + 0.5);
    font = ::CreateFontIndirect(&description);
  }
  dc->RestoreDC(saved);
  return font;
}

void DrawTransparentBitmap(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int srcX, int srcY,
                           COLORREF transparent, CPalette* palette) {
  CDC source;
  CDC work;
  CDC mask;
  source.CreateCompatibleDC(dc);
  work.CreateCompatibleDC(dc);
  mask.CreateCompatibleDC(dc);
  const bool usePalette = palette != nullptr && (dc->GetDeviceCaps(RASTERCAPS) & RC_PALETTE) != 0;
  CPalette* oldTargetPalette = nullptr;
  CPalette* oldWorkPalette = nullptr;
  if (usePalette) {
    oldTargetPalette = dc->SelectPalette(palette, FALSE);
    dc->RealizePalette();
    oldWorkPalette = work.SelectPalette(palette, FALSE);
    work.RealizePalette();
  }

  CBitmap workBitmap;
  CBitmap maskBitmap;
  workBitmap.CreateCompatibleBitmap(dc, width, height);
  maskBitmap.CreateBitmap(width, height, 1, 1, nullptr);
  CBitmap* oldSource = source.SelectObject(bitmap);
  CBitmap* oldWork = work.SelectObject(&workBitmap);
  CBitmap* oldMask = mask.SelectObject(&maskBitmap);

  work.BitBlt(0, 0, width, height, &source, srcX, srcY, SRCCOPY);
  // The mask is white where the transparent colour was.
  work.SetBkColor(transparent);
  mask.BitBlt(0, 0, width, height, &work, 0, 0, SRCCOPY);
  // Transparent pixels of the copy become black, so ORing it changes nothing there.
  work.SetBkColor(RGB(0, 0, 0));
  work.SetTextColor(RGB(255, 255, 255));
  work.BitBlt(0, 0, width, height, &mask, 0, 0, SRCAND);
  const COLORREF oldBack = dc->SetBkColor(RGB(255, 255, 255));
  const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
  dc->BitBlt(x, y, width, height, &mask, 0, 0, SRCAND);
  dc->BitBlt(x, y, width, height, &work, 0, 0, SRCPAINT);
  dc->SetBkColor(oldBack);
  dc->SetTextColor(oldText);

  source.SelectObject(oldSource);
  work.SelectObject(oldWork);
  mask.SelectObject(oldMask);
  if (usePalette) {
    dc->SelectPalette(oldTargetPalette, FALSE);
    work.SelectPalette(oldWorkPalette, FALSE);
  }
}

int LoadSysColorBitmap(UINT id, CBitmap& bitmap, CPalette& palette) {
  HANDLE image = ::LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (image == nullptr) return 0;
  bitmap.DeleteObject();
  bitmap.Attach(static_cast<HGDIOBJ>(image));
  DIBSECTION section{};
  bitmap.GetObject(sizeof section, &section);
  const int colours = ColourCount(section);
  if (colours <= 256) {
    BuildColourPalette(bitmap, colours, palette);
  } else {
    CDC screen;
    screen.CreateCompatibleDC(nullptr);
    palette.DeleteObject();
    palette.CreateHalftonePalette(&screen);
  }
  return 1;
}

int GetBitmapResourceSize(UINT id, SIZE* size) {
  *size = SIZE{0, 0};
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(id)) return 0;
  BITMAP description{};
  bitmap.GetBitmap(&description);
  *size = SIZE{description.bmWidth, description.bmHeight};
  return 1;
}

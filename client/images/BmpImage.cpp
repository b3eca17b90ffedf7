#include "client/images/BmpImage.h"

#include "client/images/Dib.h"

BOOL CBmpImage::Read(const char* fileName) {
  TakeFileName(fileName);
  return ReplaceOnSuccess([this] {
    LPBITMAPINFOHEADER dib = ReadDibFile(m_fileName);
    if (dib == nullptr) return FALSE;
    AttachDib(dib);
    const HPALETTE handle = CreateDibPalette(dib, 0);
    if (handle != nullptr) {
      auto* palette = new CImagePalette;
      palette->Attach(reinterpret_cast<HGDIOBJ>(handle));
      SetPalette(palette);
    }
    return TRUE;
  });
}

BOOL CBmpImage::Write(const char* fileName) {
  TakeFileName(fileName);
  if (!IsValid()) return FALSE;
  // Without a palette object the table already holds colours.
  if (GetPalette() != nullptr) SetDibColorTable(GetDib(), GetPalette(), FALSE);
  const BOOL saved = SaveDibFile(m_fileName, GetDib());
  if (GetPalette() != nullptr) SetDibColorTable(GetDib(), GetPalette(), TRUE);
  return saved;
}

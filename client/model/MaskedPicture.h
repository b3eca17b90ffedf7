#pragma once
// CMaskedPicture: a bitmap resource prepared once for fast transparent drawing: a copy in the
// screen's format with the transparent colour turned black, and a mask that is white where the
// picture is transparent. Drawing is then two block transfers.

#include "platform/gdi.h"

class CMaskedPicture {
public:
  CMaskedPicture() = default;
  ~CMaskedPicture() { Unload(); }
  CMaskedPicture(const CMaskedPicture&) = delete;
  CMaskedPicture& operator=(const CMaskedPicture&) = delete;

  // Loads resource id (its palette into palette) with transparent as the see-through colour;
  // FALSE when there is no such bitmap.
  BOOL Load(UINT id, COLORREF transparent, CPalette& palette);
  void Unload();
  BOOL IsLoaded() const { return m_image.GetSafeHandle() != nullptr; }
  CSize GetSize() const { return m_size; }
  // Draws the whole picture with its top-left at (x, y), leaving transparent pixels unpainted.
  void Draw(CDC* dc, int x, int y);

private:
  CBitmap m_image;  // transparent pixels black
  CBitmap m_mask;   // white where transparent, black elsewhere, in the screen's format
  CDC m_imageDC;    // hold the two bitmaps selected while loaded
  CDC m_maskDC;
  CBitmap* m_oldImage{nullptr};
  CBitmap* m_oldMask{nullptr};
  CSize m_size;
};

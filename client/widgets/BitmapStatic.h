#pragma once
// CBitmapStatic: a static control that paints a bitmap resource with a transparent background,
// through a mask that is white where the parent shows through.

#include "platform/controls.h"
#include "platform/gdi.h"

class CBitmapStatic : public CStatic {
public:
  CBitmapStatic() = default;
  ~CBitmapStatic() override = default;

  // Loads the picture and its mask and prepares the picture for masked drawing; FALSE as soon as
  // one cannot be loaded (a picture loaded before stays, and nothing is drawn without a mask).
  BOOL SetBitmaps(UINT imageId, UINT maskId);
  // Resizes the window to the picture without moving it.
  void SizeToBitmap();

protected:
  void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  CBitmap m_image;
  CBitmap m_mask;
};

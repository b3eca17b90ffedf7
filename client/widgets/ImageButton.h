#pragma once
// CImageButton: a push button with a standard frame, a picture and an optional caption, for the
// small navigation buttons of the viewer's dialogs. It shows an embossed copy of its picture
// while disabled.

#include "platform/controls.h"
#include "platform/gdi.h"

class CImageButton : public CButton {
public:
  CImageButton() = default;
  // Deletes the two bitmaps.
  ~CImageButton() override;

  // Makes the normal and disabled images from bitmap resource id at width x height; FALSE when
  // either cannot be made.
  BOOL LoadBitmaps(UINT id, int width, int height);
  void DrawItem(LPDRAWITEMSTRUCT item) override;

  CSize GetImageSize() const { return m_imageSize; }

private:
  // The caption's left edge: centred in what the picture leaves, or in the whole button.
  int CaptionLeft(const CRect& client, int textWidth, bool withImage) const;
  void FreeBitmaps();

  int m_margin{4};
  int m_gap{8};
  HBITMAP m_normal{nullptr};
  HBITMAP m_disabled{nullptr};
  CSize m_imageSize{0, 0};
  UINT m_lastAction{0};
  UINT m_lastState{0};
};

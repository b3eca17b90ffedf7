#pragma once
// CPaneStatic: a static control that paints a picture of the image library, centred and cut at
// its edges (the players' photographs). It does not own the picture.

#include "platform/controls.h"

class CImage;

class CPaneStatic : public CStatic {
public:
  CPaneStatic() = default;
  ~CPaneStatic() override = default;

  // The caller repaints.
  void SetImage(CImage* image) { m_image = image; }
  CImage* GetImage() const { return m_image; }

protected:
  void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  CImage* m_image{nullptr};
};

#pragma once
// A memory context with its own bitmap, for drawing tests.

#include "platform/gdi.h"

class MemoryCanvas {
public:
  MemoryCanvas(int width, int height, bool mono = false, COLORREF fill = RGB(255, 255, 255)) {
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
    old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width, height, fill);
    dc.SetBkColor(RGB(255, 255, 255));
  }
  ~MemoryCanvas() { dc.SelectObject(old); }
  COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }

  CDC dc;
  CBitmap bitmap;
  CBitmap* old{nullptr};
};

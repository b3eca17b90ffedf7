#pragma once
// Pen and brush drawing in device coordinates, shared by the shape, edge and control calls.

#include <vector>

#include "DeviceContext.h"
#include "Raster.h"

namespace platform::gdi {

// Device width of the selected pen (at least 1); 0 for a null pen.
int PenWidth(const DeviceContext& dc);
// Paints device rectangles with a pattern and raster code under one lock.
void PaintRects(DeviceContext& dc, const std::vector<RECT>& rects, const Pattern& pattern, std::uint8_t code);
// Draws a line with the selected pen from a to b (device), b excluded unless includeEnd.
void DrawPenLine(DeviceContext& dc, POINT a, POINT b, bool includeEnd);
// Paints a device region with the selected brush under the mix mode (nothing for a null brush).
void FillWithBrush(DeviceContext& dc, Region deviceRegion);
// Paints a device region with the selected pen's colour under the mix mode.
void FillWithPen(DeviceContext& dc, Region deviceRegion);
// Fills a device rectangle with a solid colour (PATCOPY).
void FillSolid(DeviceContext& dc, const RECT& deviceRect, COLORREF color);
// The region of the pixels of image (placed at device x, y) for which ink(pixel) holds.
template <class Ink>
Region InkRegion(const Surface& image, int x, int y, int width, int height, Ink ink) {
  std::vector<std::vector<Span>> rows(static_cast<std::size_t>(std::max(height, 0)));
  for (int j = 0; j < height && j < image.height; ++j) {
    const std::uint32_t* row = image.Row(j);
    for (int i = 0; i < width && i < image.width;) {
      if (!ink(row[i])) {
        ++i;
        continue;
      }
      int start = i;
      while (i < width && i < image.width && ink(row[i])) ++i;
      rows[static_cast<std::size_t>(j)].push_back(Span{x + start, x + i});
    }
  }
  return Region::FromRows(y, std::move(rows));
}

}  // namespace platform::gdi

#include "orvanta/resources/LobbyBitmaps.h"

#include <platform/gdi.h>

#include "orvanta/lobby/SortState.h"
#include "orvanta/resources/OrvantaBitmaps.h"

namespace {

constexpr COLORREF kInk = RGB(0x40, 0x40, 0x40);

// A filled polygon of colour.
void Shape(CDC& dc, const POINT* points, int count, COLORREF colour) {
  CBrush brush;
  brush.CreateSolidBrush(colour);
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, colour);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CPen* oldPen = dc.SelectObject(&pen);
  dc.Polygon(points, count);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

// A filled circle of colour with an outline of ink inside box.
void Disc(CDC& dc, const CRect& box, COLORREF colour, COLORREF ink) {
  CBrush brush;
  brush.CreateSolidBrush(colour);
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, ink);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CPen* oldPen = dc.SelectObject(&pen);
  dc.Ellipse(&box);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
}

// A private room is locked: a padlock. A public one is open: a green disc.
void PaintRoomMarks(CDC& dc) {
  const int w = kRoomImageWidth;
  dc.FillSolidRect(0, 0, 2 * w, kRowHeight, kWhiteImageMask);
  const COLORREF lockBody = RGB(0xB0, 0x80, 0x10);
  const COLORREF lockInk = RGB(0x50, 0x38, 0x00);
  // The shackle: three sides of a square above the body.
  dc.FillSolidRect(4, 2, 7, 2, lockInk);
  dc.FillSolidRect(4, 2, 2, 5, lockInk);
  dc.FillSolidRect(9, 2, 2, 5, lockInk);
  dc.FillSolidRect(2, 7, 11, 7, lockBody);
  dc.Draw3dRect(2, 7, 11, 7, lockInk, lockInk);
  dc.FillSolidRect(7, 9, 1, 3, lockInk);
  Disc(dc, CRect(w + 2, 2, w + 13, 13), RGB(0x30, 0xB0, 0x40), RGB(0x10, 0x60, 0x20));
}

void PaintSortArrows(CDC& dc) {
  const int side = kSortImageWidth;
  dc.FillSolidRect(0, 0, 3 * side, side, kSortImageMask);
  const int down = CSortState::kDescendingMark * side;
  const POINT downArrow[] = {{down + 2, 4}, {down + 10, 4}, {down + 6, 9}};
  Shape(dc, downArrow, 3, kInk);
  const int up = CSortState::kAscendingMark * side;
  const POINT upArrow[] = {{up + 2, 9}, {up + 10, 9}, {up + 6, 4}};
  Shape(dc, upArrow, 3, kInk);
}

// A stone per waiting room, the colour telling the room: free, dan, kyu, the fourth, professional.
void PaintUserMarks(CDC& dc) {
  const int w = kUserImageWidth;
  dc.FillSolidRect(0, 0, kUserImages * w, kRowHeight, RGB(0xFF, 0xFF, 0xFF));
  const COLORREF colours[kUserImages] = {RGB(0x70, 0x70, 0x70), RGB(0x20, 0x50, 0xB0), RGB(0x30, 0x90, 0x40),
                                         RGB(0x90, 0x50, 0xA0), RGB(0xC0, 0x30, 0x30)};
  for (int i = 0; i < kUserImages; ++i)
    Disc(dc, CRect(i * w + 6, 1, i * w + 19, 14), colours[i], kInk);
}

}  // namespace

void RegisterLobbyBitmaps(platform::ResourceModule& module) {
  AddPaintedBitmap(module, kRoomImagesBitmap, 2 * kRoomImageWidth, kRowHeight, PaintRoomMarks);
  AddPaintedBitmap(module, kRowHeightBitmap, 1, kRowHeight,
                   [](CDC& dc) { dc.FillSolidRect(0, 0, 1, kRowHeight, RGB(0xFF, 0xFF, 0xFF)); });
  AddPaintedBitmap(module, kSortImagesBitmap, 3 * kSortImageWidth, kSortImageWidth, PaintSortArrows);
  AddPaintedBitmap(module, kUserImagesBitmap, kUserImages * kUserImageWidth, kRowHeight, PaintUserMarks);
}

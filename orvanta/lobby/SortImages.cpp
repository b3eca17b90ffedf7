#include "orvanta/lobby/SortImages.h"

#include <platform/gdi.h>

#include "orvanta/lobby/SortState.h"

namespace {

constexpr int kSide = 13;
constexpr COLORREF kMaskColour = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kArrowColour = RGB(0x40, 0x40, 0x40);

BOOL DrawArrows(CImageList& images) {
  if (!images.Create(kSide, kSide, ILC_COLOR24 | ILC_MASK, 3, 0))
    return FALSE;
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap strip;
  strip.CreateBitmap(3 * kSide, kSide, 1, 32, nullptr);
  CBitmap* old = dc.SelectObject(&strip);
  dc.FillSolidRect(0, 0, 3 * kSide, kSide, kMaskColour);
  CBrush brush;
  brush.CreateSolidBrush(kArrowColour);
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, kArrowColour);
  CBrush* oldBrush = dc.SelectObject(&brush);
  CPen* oldPen = dc.SelectObject(&pen);
  const int down = CSortState::kDescendingMark * kSide;
  const POINT downArrow[] = {{down + 2, 4}, {down + 10, 4}, {down + 6, 9}};
  dc.Polygon(downArrow, 3);
  const int up = CSortState::kAscendingMark * kSide;
  const POINT upArrow[] = {{up + 2, 9}, {up + 10, 9}, {up + 6, 4}};
  dc.Polygon(upArrow, 3);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
  dc.SelectObject(old);
  return images.Add(&strip, kMaskColour) >= 0;
}

}  // namespace

void AttachSortImages(CListCtrl& list, CImageList& images) {
  CHeaderCtrl* header = list.GetHeaderCtrl();
  if (!header)
    return;
  if (!images.GetSafeHandle() && !DrawArrows(images))
    return;
  header->SetImageList(images.GetSafeHandle());
  for (int column = 0; column < header->GetItemCount(); ++column) {
    HDITEM item{};
    item.mask = HDI_FORMAT;
    header->GetItem(column, &item);
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt |= HDF_IMAGE;
    item.iImage = CSortState::kNoMark;
    header->SetItem(column, &item);
  }
}

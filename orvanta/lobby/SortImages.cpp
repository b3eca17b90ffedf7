#include "orvanta/lobby/SortImages.h"

#include "orvanta/lobby/SortState.h"
#include "orvanta/resources/LobbyBitmaps.h"

void AttachSortImages(CListCtrl& list, CImageList& images) {
  CHeaderCtrl* header = list.GetHeaderCtrl();
  if (!header)
    return;
  if (!images.GetSafeHandle() && !images.Create(kSortImagesBitmap, kSortImageWidth, 0, kSortImageMask))
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

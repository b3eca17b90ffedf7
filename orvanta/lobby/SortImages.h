#pragma once
// The sort arrows of the lobby's list headers: a header image list of three 13-pixel images,
// 0 blank, 1 an arrow pointing down (descending), 2 an arrow pointing up (ascending), as the
// marks of CSortState number them.

#include <platform/controls.h>

// Fills images with the three arrows (once) and gives them to list's header, every heading
// showing image 0; nothing without a header.
void AttachSortImages(CListCtrl& list, CImageList& images);

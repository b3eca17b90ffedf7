#pragma once
// The sort arrows of the lobby's list headers: the header image list of the lobby's heading
// pictures, 0 blank, 1 an arrow pointing down (descending), 2 an arrow pointing up (ascending), as
// the marks of CSortState number them.

#include <platform/controls.h>

// Loads the arrows into images (once) and gives them to list's header, every heading showing
// image 0; nothing without a header or without the pictures.
void AttachSortImages(CListCtrl& list, CImageList& images);

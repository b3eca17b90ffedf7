#pragma once
// Image lists: same-size images, each with an optional mask, drawn normally, transparently or
// blended with the highlight colour.

#include "platform/controls_defs.h"
#include "platform/gdi.h"

// A list of cx x cy images; flags ILC_MASK keeps a mask per image. Null for a bad size.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Adds the images of a strip (its width a multiple of cx); mask: monochrome, white = transparent.
// Returns the index of the first image added, -1 on failure.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add, with pixels of colour maskColor transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// Removes image index (-1: all).
BOOL ImageList_Remove(HIMAGELIST list, int index);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
// style: ILD_NORMAL (background colour under masked pixels when one is set), ILD_TRANSPARENT,
// ILD_BLEND50 / ILD_SELECTED (half highlight colour), ILD_MASK (the mask in black and white).
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);

class CImageList {
public:
  CImageList() = default;
  ~CImageList();
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  // From bitmap resource id, split into images cx wide; maskColor marks transparent pixels.
  BOOL Create(UINT bitmapId, int cx, int grow, COLORREF maskColor);
  BOOL DeleteImageList();
  BOOL Attach(HIMAGELIST list);
  HIMAGELIST Detach();
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  operator HIMAGELIST() const { return m_hImageList; }
  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  int Add(CBitmap* image, CBitmap* mask);
  int Add(CBitmap* image, COLORREF maskColor);
  BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
  COLORREF SetBkColor(COLORREF color) { return ImageList_SetBkColor(m_hImageList, color); }
  BOOL Draw(CDC* dc, int index, POINT point, UINT style);

  HIMAGELIST m_hImageList{nullptr};
};

#pragma once
// The board window's stone pictures, loaded for a stone size when first drawn at it and kept: a
// board resized back and forth between sizes loads each once. There is at most one set for each
// size of the pictures' table, a few kilobytes each.

#include <map>
#include <memory>

#include "client/model/MaskedPicture.h"
#include "platform/gdi.h"

class CStonePictureCache {
public:
  // The black and white pictures of one stone size, each with the palette it came with.
  struct Set {
    CMaskedPicture black;
    CMaskedPicture white;
    CPalette blackPalette;
    CPalette whitePalette;
  };

  // The pictures of stone size size (transparent: their see-through colour); null when the
  // table has no pictures of that size.
  Set* Get(int size, COLORREF transparent);

private:
  std::map<int, std::unique_ptr<Set>> m_sets;
};

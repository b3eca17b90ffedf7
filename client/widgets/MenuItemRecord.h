#pragma once
// CMenuItemRecord: what the owner-drawn menu manager keeps in the data word of an item it
// converted: its text, its type flags and the command's image.

#include <cstdint>

#include "platform/strings.h"
#include "platform/types.h"

struct CMenuItemRecord {
  static constexpr std::uint32_t kMagic = 0x3064696D;  // "mid0" in memory order

  std::uint32_t magic{kMagic};
  CString text;
  UINT type{0};
  int imageIndex{-1};  // -1: the command has no image
};

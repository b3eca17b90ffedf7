#pragma once
// A 32-bit raster surface: every top-level window owns one and its child windows paint into it.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/damage.h"
#include "platform/geometry.h"
#include "platform/pixel_store.h"

namespace platform {

using PixelVector = std::vector<std::uint32_t, PixelAllocator<std::uint32_t>>;

struct Surface {
  int width = 0;
  int height = 0;
  PixelVector pixels;  // row-major, 0x00RRGGBB, width * height entries
  // What drawing changed in a top-level window's surface since the display last put it on
  // the screen (surface coordinates); other surfaces keep none.
  Damage damage;

  Surface() = default;
  Surface(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0xFFFFFF) {}
  // Resizes, keeping the overlapping pixels and filling new ones with white. Growing takes room
  // for half as much again, so a window dragged larger allocates a few times, not at each step;
  // new room that far ahead is made resident at once, so using it takes no page faults.
  void Resize(int w, int h);
  // Keeps the pixels in store's memory from now on (null: ordinary memory), with room for at
  // least room pixels, of which half as many again as there are pixels is made resident.
  void MoveToStore(std::shared_ptr<PixelStore> store, std::size_t room = 0);
  std::uint32_t* Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * width; }
  const std::uint32_t* Row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * width; }
};

// Where a window paints: its top-level window's surface, the window's client origin in that
// surface, and the part of the surface the window may touch (its visible client area).
struct PaintTarget {
  Surface* surface = nullptr;
  POINT origin{0, 0};
  RECT clip{0, 0, 0, 0};
};

// Paint target of a window's client area (or whole window when nonClient); surface is null for
// an unknown or hidden window.
PaintTarget GetPaintTarget(HWND window, bool nonClient = false);

}  // namespace platform

#pragma once
// A 32-bit raster surface: every top-level window owns one and its child windows paint into it.

#include <cstdint>
#include <vector>

#include "platform/geometry.h"

namespace platform {

struct Surface {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // row-major, 0x00RRGGBB, width * height entries

  Surface() = default;
  Surface(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0xFFFFFF) {}
  // Resizes, keeping the overlapping pixels and filling new ones with white.
  void Resize(int w, int h);
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

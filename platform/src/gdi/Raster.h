#pragma once
// Pixel work shared by every drawing call: clipping to spans, patterns, the 256 ternary raster
// operations, and copying (and stretching) images between colour and monochrome surfaces.

#include <cstdint>
#include <optional>

#include "DeviceContext.h"
#include "Region.h"

namespace platform::gdi {

// A clip area in surface coordinates: a rectangle, optionally narrowed by a region.
class ClipArea {
public:
  ClipArea(const RECT& box, std::optional<Region> region);
  bool IsEmpty() const;
  // Whether surface pixel (x, y) lies inside the area.
  bool Contains(int x, int y) const;
  // Whether the area is its bounding rectangle (no region narrows it).
  bool IsRectangle() const { return !m_region; }
  // Bounding rectangle of the area.
  const RECT& Box() const { return m_box; }
  // Calls fn(y, x0, x1) for each row piece of r inside the area.
  template <class F>
  void ForEachSpan(const RECT& r, F&& fn) const {
    int top = std::max(r.top, m_box.top), bottom = std::min(r.bottom, m_box.bottom);
    int left = std::max(r.left, m_box.left), right = std::min(r.right, m_box.right);
    if (left >= right) return;
    for (int y = top; y < bottom; ++y) {
      if (!m_region) {
        fn(y, left, right);
        continue;
      }
      for (const Span& s : m_region->Row(y)) {
        int x0 = std::max(s.x0, left), x1 = std::min(s.x1, right);
        if (x0 < x1) fn(y, x0, x1);
      }
    }
  }

private:
  RECT m_box;
  std::optional<Region> m_region;
};

// The clip of a context's current target, in surface coordinates, narrowed to extra (surface
// coordinates) when given.
ClipArea ClipOf(const DeviceContext& dc, const Target& t, const RECT* extra = nullptr);

// What a brush paints, resolved for one destination.
struct Pattern {
  std::uint32_t solid{0};
  const Surface* tile{nullptr};  // null: solid
  bool monoTile{false};
  std::uint32_t fore{0};  // monochrome tile: colour of 0 bits
  std::uint32_t back{0};  // monochrome tile: colour of 1 bits
  POINT origin{0, 0};     // surface position of the tile's (0, 0)
  bool monoTarget{false};
  // Fills out[0..n) with the pattern of row y from column x.
  void Row(int y, int x, int n, std::uint32_t* out) const;
};

// The pattern of the context's selected brush (or of brush when given) on target t.
Pattern BrushPattern(const DeviceContext& dc, const Target& t, const BrushData* brush = nullptr);
// A solid pattern of colour c on target t.
Pattern SolidPattern(const DeviceContext& dc, const Target& t, COLORREF c);

// Index of a three-operand raster operation (bits 16..23 of the DWORD code).
inline std::uint8_t RopIndex(DWORD rop) { return static_cast<std::uint8_t>((rop >> 16) & 0xFF); }
// The three-operand code that does what a SetROP2 mix does with the pen as pattern.
std::uint8_t Rop2ToRop3(int rop2);
bool RopUsesPattern(std::uint8_t code);
bool RopUsesSource(std::uint8_t code);
// Result of the raster operation code on pattern, source and destination bits.
std::uint32_t ApplyRop(std::uint8_t code, std::uint32_t p, std::uint32_t s, std::uint32_t d);
// d[i] = rop(p[i], s[i], d[i]) for a row; p or s may be null when the code does not use them.
void ApplyRopRow(std::uint8_t code, const std::uint32_t* p, const std::uint32_t* s, std::uint32_t* d, int n);

// Paints region (surface coordinates) of the context's target with pattern and code.
void PaintRegion(DeviceContext& dc, const Region& surfaceRegion, const Pattern& pattern, std::uint8_t code);
// Paints surface pixels [x0, x1) of row y of t with a solid colour (already a pixel of t) and code;
// the caller has clipped them.
void PaintSolidSpan(const Target& t, int y, int x0, int x1, std::uint32_t color, std::uint8_t code);
// Paints a device rectangle with pattern and code (PatBlt and fills).
void PaintRect(DeviceContext& dc, const RECT& deviceRect, const Pattern& pattern, std::uint8_t code);

// An image used as the source of a blit.
struct SourceImage {
  const Surface* surface{nullptr};
  bool mono{false};
  std::uint32_t background{0xFFFFFF};  // the source context's background colour (colour to monochrome)
};

// Copies (stretching when the sizes differ; negative sizes mirror) source rectangle
// (sx, sy, sw, sh) in source pixels to device rectangle (dx, dy, dw, dh) of dc with code.
void Blit(DeviceContext& dc, int dx, int dy, int dw, int dh, const SourceImage& src, int sx, int sy, int sw, int sh,
          std::uint8_t code);

// Locks a context's current target for one drawing call: DIB section pixels are read before and
// written back after.
class TargetLock {
public:
  // Whether the holder draws into the target or only reads it (a blit's source).
  enum class Access { Write, Read };
  explicit TargetLock(DeviceContext& dc, Access access = Access::Write);
  ~TargetLock();
  TargetLock(const TargetLock&) = delete;
  TargetLock& operator=(const TargetLock&) = delete;
  const Target& target() const { return m_target; }
  explicit operator bool() const { return m_target.surface != nullptr; }
  // The holder changed this area (surface coordinates, may be empty) and no other: a window's
  // surface notes it as damage. Without a call the whole clip box counts as changed.
  void Changed(const RECT& surfaceArea);
  // Whether changes are noted (a window's surface): worth finding what really changed.
  bool NotesChanges() const { return m_notes; }

private:
  DeviceContext& m_dc;
  Target m_target;
  bool m_notes{false};
  bool m_reported{false};
  RECT m_reach{0, 0, 0, 0};  // the clip box: what the holder can change
};

}  // namespace platform::gdi

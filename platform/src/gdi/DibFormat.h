#pragma once
// The layout of a device-independent bitmap read from its BITMAPINFO: rows, strides, colour table,
// and the conversion of rows to and from 0x00RRGGBB pixels.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi_defs.h"

namespace platform::gdi {

struct PaletteData;

class DibFormat {
public:
  // Validates info (sizes, bit counts 1/4/8/16/24/32, BI_RGB or BI_BITFIELDS) and resolves its colour
  // table; DIB_PAL_COLORS entries index palette (black without one). Nothing when info is unusable.
  static std::optional<DibFormat> Parse(const BITMAPINFO* info, UINT usage, const PaletteData* palette);
  // Bytes in one row of a DIB of this width and bit count (rows are padded to 4 bytes).
  static std::size_t Stride(int width, int bitCount);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  bool TopDown() const { return m_topDown; }
  int BitCount() const { return m_bitCount; }
  std::size_t Stride() const { return Stride(m_width, m_bitCount); }
  std::size_t ImageSize() const { return Stride() * static_cast<std::size_t>(m_height); }
  // Index in memory (0 = first stored row) of picture row y (0 = top).
  int StoredRow(int y) const { return m_topDown ? y : m_height - 1 - y; }
  const std::vector<std::uint32_t>& Colors() const { return m_colors; }
  // Converts one stored row to Width() pixels.
  void ReadRow(const std::uint8_t* row, std::uint32_t* out) const;
  // Converts Width() pixels to one stored row; indexed formats take the nearest table colour.
  void WriteRow(const std::uint32_t* in, std::uint8_t* row) const;

private:
  int NearestIndex(std::uint32_t rgb) const;

  int m_width{0};
  int m_height{0};
  bool m_topDown{false};
  int m_bitCount{0};
  DWORD m_masks[3]{0, 0, 0};            // red, green, blue masks for 16 and 32 bits
  std::vector<std::uint32_t> m_colors;  // colour table as 0x00RRGGBB
};

}  // namespace platform::gdi

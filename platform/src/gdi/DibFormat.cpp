#include "DibFormat.h"

#include <bit>
#include <limits>

#include "GdiObjects.h"

namespace platform::gdi {
namespace {

constexpr int kMaxDimension = 32768;
constexpr long long kMaxPixels = 1LL << 25;  // 128 MB of 32-bit pixels

std::uint32_t FromMask(DWORD value, DWORD mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  DWORD max = mask >> shift;
  return static_cast<std::uint32_t>(((value & mask) >> shift) * 255 / max);
}

DWORD ToMask(std::uint32_t channel, DWORD mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  DWORD max = mask >> shift;
  return ((channel * max + 127) / 255) << shift;
}

}  // namespace

std::size_t DibFormat::Stride(int width, int bitCount) {
  return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32) * 4;
}

std::optional<DibFormat> DibFormat::Parse(const BITMAPINFO* info, UINT usage, const PaletteData* palette) {
  if (!info) return std::nullopt;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biHeight == std::numeric_limits<LONG>::min()) return std::nullopt;
  DibFormat f;
  f.m_width = h.biWidth;
  f.m_height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
  f.m_topDown = h.biHeight < 0;
  f.m_bitCount = h.biBitCount;
  if (f.m_width <= 0 || f.m_height <= 0 || f.m_width > kMaxDimension || f.m_height > kMaxDimension ||
      static_cast<long long>(f.m_width) * f.m_height > kMaxPixels) {
    return std::nullopt;
  }
  int bc = f.m_bitCount;
  if (bc != 1 && bc != 4 && bc != 8 && bc != 16 && bc != 24 && bc != 32) return std::nullopt;
  if (h.biCompression == BI_BITFIELDS && (bc == 16 || bc == 32)) {
    const DWORD* masks = reinterpret_cast<const DWORD*>(info->bmiColors);
    f.m_masks[0] = masks[0];
    f.m_masks[1] = masks[1];
    f.m_masks[2] = masks[2];
  } else if (h.biCompression == BI_RGB) {
    if (bc == 16) {
      f.m_masks[0] = 0x7C00;
      f.m_masks[1] = 0x03E0;
      f.m_masks[2] = 0x001F;
    }
    if (bc == 32) {
      f.m_masks[0] = 0xFF0000;
      f.m_masks[1] = 0x00FF00;
      f.m_masks[2] = 0x0000FF;
    }
  } else {
    return std::nullopt;
  }
  if (bc <= 8) {
    std::size_t count = h.biClrUsed ? h.biClrUsed : (std::size_t{1} << bc);
    if (count > (std::size_t{1} << bc)) count = std::size_t{1} << bc;
    f.m_colors.resize(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
      if (usage == DIB_PAL_COLORS) {
        WORD index = reinterpret_cast<const WORD*>(info->bmiColors)[i];
        if (palette && index < palette->entries.size()) {
          const PALETTEENTRY& e = palette->entries[index];
          f.m_colors[i] = (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
        }
      } else {
        const RGBQUAD& q = info->bmiColors[i];
        f.m_colors[i] = (std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
      }
    }
  }
  return f;
}

void DibFormat::ReadRow(const std::uint8_t* row, std::uint32_t* out) const {
  auto color = [this](unsigned index) { return index < m_colors.size() ? m_colors[index] : 0u; };
  for (int x = 0; x < m_width; ++x) {
    switch (m_bitCount) {
      case 1: out[x] = color((row[x >> 3] >> (7 - (x & 7))) & 1); break;
      case 4: out[x] = color((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF); break;
      case 8: out[x] = color(row[x]); break;
      case 16: {
        DWORD v = row[2 * x] | (row[2 * x + 1] << 8);
        out[x] = (FromMask(v, m_masks[0]) << 16) | (FromMask(v, m_masks[1]) << 8) | FromMask(v, m_masks[2]);
        break;
      }
      case 24: out[x] = (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x]; break;
      default: {
        const std::uint8_t* p = row + 4 * x;
        DWORD v = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
        out[x] = (FromMask(v, m_masks[0]) << 16) | (FromMask(v, m_masks[1]) << 8) | FromMask(v, m_masks[2]);
        break;
      }
    }
  }
}

void DibFormat::WriteRow(const std::uint32_t* in, std::uint8_t* row) const {
  for (int x = 0; x < m_width; ++x) {
    std::uint32_t c = in[x] & 0xFFFFFF;
    switch (m_bitCount) {
      case 1: {
        std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
        if (NearestIndex(c))
          row[x >> 3] |= bit;
        else
          row[x >> 3] &= static_cast<std::uint8_t>(~bit);
        break;
      }
      case 4: {
        int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & ~(0xF << shift)) | (NearestIndex(c) << shift));
        break;
      }
      case 8: row[x] = static_cast<std::uint8_t>(NearestIndex(c)); break;
      case 16: {
        DWORD v = ToMask(c >> 16, m_masks[0]) | ToMask((c >> 8) & 0xFF, m_masks[1]) | ToMask(c & 0xFF, m_masks[2]);
        row[2 * x] = static_cast<std::uint8_t>(v);
        row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
        break;
      }
      case 24:
        row[3 * x] = static_cast<std::uint8_t>(c);
        row[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
        row[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        break;
      default: {
        DWORD v = ToMask(c >> 16, m_masks[0]) | ToMask((c >> 8) & 0xFF, m_masks[1]) | ToMask(c & 0xFF, m_masks[2]);
        for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<std::uint8_t>(v >> (8 * i));
        break;
      }
    }
  }
}

int DibFormat::NearestIndex(std::uint32_t rgb) const {
  int best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < m_colors.size(); ++i) {
    std::uint32_t c = m_colors[i];
    long dr = static_cast<long>(c >> 16) - static_cast<long>(rgb >> 16);
    long dg = static_cast<long>((c >> 8) & 0xFF) - static_cast<long>((rgb >> 8) & 0xFF);
    long db = static_cast<long>(c & 0xFF) - static_cast<long>(rgb & 0xFF);
    long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      bestDistance = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return best;
}

}  // namespace platform::gdi

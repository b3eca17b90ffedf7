#pragma once
// A bitmap file held in memory as one block: the 40-byte info header, the colour table and the
// pixel rows. The control keeps the image named by its ImagePath and paints it in place of the wood.

#include <cstdint>
#include <vector>

class CDibImage {
public:
  // Reads a "BM" file with a 40- or 12-byte header; false (and no block) on any failure,
  // including sizes beyond 16384 pixels, unusual bit counts and files shorter than they say.
  bool LoadFile(const char* path);
  // Entries of the colour table.
  int DIBNumColors() const;
  // Bytes of the colour table as the file stores it (3 per entry for a 12-byte header).
  int PaletteSize() const;

  bool HasImage() const { return !m_block.empty(); }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  int BitCount() const { return m_bitCount; }
  int Stride() const { return m_stride; }
  const std::vector<std::uint8_t>& Block() const { return m_block; }

private:
  void Clear();

  std::vector<std::uint8_t> m_block;  // header, colour table (4 bytes an entry), pixel rows
  int m_width{0};
  int m_height{0};
  int m_bitCount{0};
  int m_stride{0};
  bool m_coreHeader{false};  // the file had a 12-byte header
  int m_usedColours{0};
};

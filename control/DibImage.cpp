#include "control/DibImage.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kMaxSide = 16384;

std::uint32_t Read32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24); }
std::uint16_t Read16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
void Write32(std::uint8_t* p, std::uint32_t v) {
  for (int k = 0; k < 4; ++k)
    p[k] = static_cast<std::uint8_t>(v >> (8 * k));
}
void Write16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void CDibImage::Clear() {
  m_block.clear();
  m_width = m_height = m_bitCount = m_stride = 0;
  m_coreHeader = false;
  m_usedColours = 0;
}

int CDibImage::DIBNumColors() const {
  if (!m_coreHeader && m_usedColours != 0)
    return m_usedColours;
  switch (m_bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
  }
}

int CDibImage::PaletteSize() const { return DIBNumColors() * (m_coreHeader ? 3 : 4); }

bool CDibImage::LoadFile(const char* path) {
  Clear();
  std::unique_ptr<std::FILE, FileCloser> file(path ? std::fopen(path, "rb") : nullptr);
  if (!file)
    return false;
  std::fseek(file.get(), 0, SEEK_END);
  const long fileSize = std::ftell(file.get());
  std::fseek(file.get(), 0, SEEK_SET);
  std::uint8_t fileHeader[14];
  if (fileSize < 14 || std::fread(fileHeader, 1, 14, file.get()) != 14 || Read16(fileHeader) != 0x4D42)
    return false;
  const long pixelOffset = static_cast<long>(Read32(fileHeader + 10));
  std::uint8_t info[40] = {};
  if (std::fread(info, 1, 4, file.get()) != 4)
    return false;
  const std::uint32_t headerSize = Read32(info);
  long width = 0, height = 0;
  int planes = 0, bitCount = 0;
  if (headerSize == 40) {
    if (std::fread(info + 4, 1, 36, file.get()) != 36)
      return false;
    width = static_cast<std::int32_t>(Read32(info + 4));
    height = static_cast<std::int32_t>(Read32(info + 8));
    planes = Read16(info + 12);
    bitCount = Read16(info + 14);
  } else if (headerSize == 12) {
    std::uint8_t core[8];
    if (std::fread(core, 1, 8, file.get()) != 8)
      return false;
    width = static_cast<std::int16_t>(Read16(core));
    height = static_cast<std::int16_t>(Read16(core + 2));
    planes = Read16(core + 4);
    bitCount = Read16(core + 6);
    std::memset(info, 0, sizeof info);
    Write32(info, 40);
    Write32(info + 4, static_cast<std::uint32_t>(width));
    Write32(info + 8, static_cast<std::uint32_t>(height));
    Write16(info + 12, static_cast<std::uint16_t>(planes));
    Write16(info + 14, static_cast<std::uint16_t>(bitCount));
  } else {
    return false;
  }
  const long absHeight = height < 0 ? -height : height;
  if (width <= 0 || width > kMaxSide || absHeight == 0 || absHeight > kMaxSide)
    return false;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    return false;
  m_coreHeader = headerSize == 12;
  m_bitCount = bitCount;
  m_usedColours = m_coreHeader ? 0 : static_cast<int>(Read32(info + 32));
  if (m_usedColours < 0 || m_usedColours > 256)
    return false;
  const long stride = (static_cast<long>(bitCount) * width + 31) / 32 * 4;
  long imageSize = m_coreHeader ? 0 : static_cast<long>(Read32(info + 20));
  if (imageSize == 0)
    imageSize = stride * absHeight;
  const int colours = DIBNumColors();
  const long tableBytesInFile = static_cast<long>(colours) * (m_coreHeader ? 3 : 4);
  const long afterHeader = 14 + static_cast<long>(headerSize);
  if (m_coreHeader)
    imageSize = fileSize - pixelOffset;
  if (imageSize <= 0 || imageSize > fileSize || afterHeader + tableBytesInFile + (m_coreHeader ? 0 : imageSize) > fileSize ||
      (m_coreHeader && afterHeader + tableBytesInFile > fileSize)) {
    Clear();
    return false;
  }
  std::vector<std::uint8_t> block(40 + static_cast<std::size_t>(colours) * 4 + static_cast<std::size_t>(imageSize), 0);
  std::memcpy(block.data(), info, 40);
  bool ok = true;
  if (m_coreHeader) {
    for (int k = 0; k < colours && ok; ++k)
      ok = std::fread(block.data() + 40 + k * 4, 1, 3, file.get()) == 3;
    ok = ok && std::fseek(file.get(), pixelOffset, SEEK_SET) == 0 &&
         std::fread(block.data() + 40 + colours * 4, 1, static_cast<std::size_t>(imageSize), file.get()) ==
             static_cast<std::size_t>(imageSize);
  } else {
    const std::size_t rest = static_cast<std::size_t>(tableBytesInFile + imageSize);
    ok = std::fread(block.data() + 40, 1, rest, file.get()) == rest;
  }
  if (!ok) {
    Clear();
    return false;
  }
  m_block = std::move(block);
  m_width = static_cast<int>(width);
  m_height = static_cast<int>(height);
  m_stride = static_cast<int>(stride);
  return true;
}

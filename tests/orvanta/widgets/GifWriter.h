#pragma once
// Writes GIF files for the tests, the benchmarks and the fuzz seeds: a logical screen with a
// global colour table and any number of images, each with an optional graphic control block,
// interlaced or not, compressed with a real LZW encoder (growing code sizes; with clearEvery 0 the
// table is allowed to fill up to 4096 entries and coding goes on at 12 bits without a clear).

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace giftest {

struct Image {
  int left{0};
  int top{0};
  int width{0};
  int height{0};
  std::vector<std::uint8_t> pixels;  // width x height indices, rows top-down in display order
  bool interlaced{false};
  bool control{false};  // write a graphic control block before the image
  int delay{0};
  int disposalMethod{0};
  bool transparent{false};
  int transparentIndex{0};
  std::vector<std::uint32_t> localPalette;  // 0xRRGGBB; empty: the global table
};

inline void Word(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

inline int TableBits(std::size_t entries) {
  int bits = 1;
  while ((std::size_t{1} << bits) < entries)
    ++bits;
  return bits;
}

inline void Palette(std::string& out, std::vector<std::uint32_t> colours, int bits) {
  colours.resize(std::size_t{1} << bits, 0);
  for (std::uint32_t c : colours) {
    out += static_cast<char>((c >> 16) & 0xFF);
    out += static_cast<char>((c >> 8) & 0xFF);
    out += static_cast<char>(c & 0xFF);
  }
}

// LZW data of indices (sub-blocks included, terminator included).
inline std::string Compress(const std::vector<std::uint8_t>& indices, int minimumCodeSize, int clearEvery = 4000) {
  std::string bytes;
  std::uint32_t buffer = 0;
  int count = 0;
  int codeSize = minimumCodeSize + 1;
  const int clear = 1 << minimumCodeSize;
  auto emit = [&](int code) {
    buffer |= static_cast<std::uint32_t>(code) << count;
    count += codeSize;
    while (count >= 8) {
      bytes += static_cast<char>(buffer & 0xFF);
      buffer >>= 8;
      count -= 8;
    }
  };
  std::map<std::pair<int, int>, int> table;
  int next = clear + 2;
  emit(clear);
  int current = -1;
  for (std::uint8_t index : indices) {
    if (current < 0) {
      current = index;
      continue;
    }
    const auto found = table.find({current, index});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    emit(current);
    if (next < 4096) {
      table[{current, index}] = next++;
      // The decoder grows one code later than the encoder adds.
      if (next - 1 == (1 << codeSize) && codeSize < 12)
        ++codeSize;
    }
    if (clearEvery > 0 && next >= clearEvery) {
      emit(clear);
      table.clear();
      next = clear + 2;
      codeSize = minimumCodeSize + 1;
    }
    current = index;
  }
  if (current >= 0) {
    emit(current);
    // The decoder adds its lagging entry on reading this code and may grow before the end code.
    if (next < 4096 && next == (1 << codeSize) && codeSize < 12)
      ++codeSize;
  }
  emit(clear + 1);
  if (count > 0)
    bytes += static_cast<char>(buffer & 0xFF);
  std::string out;
  out += static_cast<char>(minimumCodeSize);
  for (std::size_t at = 0; at < bytes.size(); at += 255) {
    const std::size_t length = std::min<std::size_t>(255, bytes.size() - at);
    out += static_cast<char>(length);
    out.append(bytes, at, length);
  }
  out += '\0';
  return out;
}

// The rows of image in file order: interlaced images store rows 0, 8, ..., 4, ..., 2, ..., 1, ...
inline std::vector<std::uint8_t> StoredOrder(const Image& image) {
  if (!image.interlaced)
    return image.pixels;
  std::vector<std::uint8_t> stored;
  const int starts[] = {0, 4, 2, 1};
  const int steps[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int row = starts[pass]; row < image.height; row += steps[pass])
      stored.insert(stored.end(), image.pixels.begin() + row * image.width,
                    image.pixels.begin() + (row + 1) * image.width);
  return stored;
}

inline std::string Write(int width, int height, const std::vector<std::uint32_t>& palette,
                         const std::vector<Image>& images, bool gif89 = true, int clearEvery = 4000) {
  std::string out = gif89 ? "GIF89a" : "GIF87a";
  Word(out, width);
  Word(out, height);
  const int bits = TableBits(palette.size());
  out += static_cast<char>(0x80 | ((bits - 1) << 4) | (bits - 1));
  out += '\0';
  out += '\0';
  Palette(out, palette, bits);
  for (const Image& image : images) {
    if (image.control) {
      out += "\x21\xF9\x04";
      out += static_cast<char>((image.disposalMethod << 2) | (image.transparent ? 1 : 0));
      Word(out, image.delay);
      out += static_cast<char>(image.transparentIndex);
      out += '\0';
    }
    out += ',';
    Word(out, image.left);
    Word(out, image.top);
    Word(out, image.width);
    Word(out, image.height);
    int codeBits = bits;
    std::uint8_t packed = image.interlaced ? 0x40 : 0;
    if (!image.localPalette.empty()) {
      codeBits = TableBits(image.localPalette.size());
      packed |= static_cast<std::uint8_t>(0x80 | (codeBits - 1));
    }
    out += static_cast<char>(packed);
    if (!image.localPalette.empty())
      Palette(out, image.localPalette, codeBits);
    out += Compress(StoredOrder(image), std::max(2, codeBits), clearEvery);
  }
  out += ';';
  return out;
}

}  // namespace giftest

#include "orvanta/widgets/GifDecoder.h"

#include <cstring>

namespace {

constexpr std::size_t kHeaderSize = 13;

// Reads LZW codes least significant bit first across data sub-blocks. Past the end of the data,
// or after an early zero-length block, it supplies 0xFF bytes without advancing.
class CodeReader {
public:
  CodeReader(const std::vector<std::uint8_t>& data, std::size_t& position) : m_data(data), m_position(position) {}

  int Read(int bits) {
    while (m_bitCount < bits) {
      m_bitBuffer |= static_cast<std::uint32_t>(NextByte()) << m_bitCount;
      m_bitCount += 8;
    }
    const int code = static_cast<int>(m_bitBuffer & ((1u << bits) - 1));
    m_bitBuffer >>= bits;
    m_bitCount -= bits;
    return code;
  }
  bool Exhausted() const { return m_exhausted; }
  // Skips the rest of the current sub-block and those after it, up to the terminator.
  void SkipRest() {
    m_position = std::min(m_position + m_left, m_data.size());
    m_left = 0;
    while (m_position < m_data.size()) {
      const std::size_t length = m_data[m_position++];
      if (length == 0)
        return;
      m_position = std::min(m_position + length, m_data.size());
    }
  }

private:
  std::uint8_t NextByte() {
    if (m_left == 0) {
      if (m_exhausted || m_position >= m_data.size()) {
        m_exhausted = true;
        return 0xFF;
      }
      const std::size_t length = m_data[m_position];
      if (length == 0 || m_position + 1 + length > m_data.size()) {
        m_exhausted = true;
        return 0xFF;
      }
      ++m_position;
      m_left = length;
    }
    --m_left;
    return m_data[m_position++];
  }

  const std::vector<std::uint8_t>& m_data;
  std::size_t& m_position;
  std::size_t m_left{0};
  std::uint32_t m_bitBuffer{0};
  int m_bitCount{0};
  bool m_exhausted{false};
};

// Where decoded pixels go: row by row at stride, interlaced rows in the four passes of GIF89a.
class PixelSink {
public:
  PixelSink(CGifDecoder::Frame& frame, bool interlaced) : m_frame(frame), m_interlaced(interlaced) {}

  void Put(std::uint8_t index) {
    if (m_row < m_frame.height && m_column < m_frame.width)
      m_frame.pixels[static_cast<std::size_t>(m_row) * static_cast<std::size_t>(m_frame.stride) +
                     static_cast<std::size_t>(m_column)] = index;
    if (++m_column < m_frame.width)
      return;
    m_column = 0;
    if (!m_interlaced) {
      ++m_row;
      return;
    }
    static const int kStep[] = {8, 8, 4, 2};
    static const int kStart[] = {0, 4, 2, 1};
    m_row += kStep[m_pass];
    while (m_row >= m_frame.height && m_pass < 3) {
      ++m_pass;
      m_row = kStart[m_pass];
    }
  }

private:
  CGifDecoder::Frame& m_frame;
  bool m_interlaced;
  int m_row{0};
  int m_column{0};
  int m_pass{0};
};

std::uint32_t PackColour(const std::uint8_t* rgb) {
  return (static_cast<std::uint32_t>(rgb[0]) << 16) | (static_cast<std::uint32_t>(rgb[1]) << 8) | rgb[2];
}

}  // namespace

void CGifDecoder::Clear() {
  m_blocks.clear();
  m_globalTable.clear();
  m_position = 0;
  m_screenWidth = 0;
  m_screenHeight = 0;
  m_bTransparent = false;
  m_nTransparentIndex = 0;
  m_nDelay = 0;
  m_nDisposal = 0;
}

bool CGifDecoder::Load(const std::uint8_t* data, std::size_t size) {
  Clear();
  if (data == nullptr || size < kHeaderSize)
    return false;
  if (std::memcmp(data, "GIF87a", 6) != 0 && std::memcmp(data, "GIF89a", 6) != 0)
    return false;
  const int width = data[6] | (data[7] << 8);
  const int height = data[8] | (data[9] << 8);
  if (width > kMaxSide || height > kMaxSide)
    return false;
  const std::uint8_t packed = data[10];
  std::size_t offset = kHeaderSize;
  if (packed & 0x80) {
    const std::size_t entries = std::size_t{1} << ((packed & 7) + 1);
    if (size - offset < entries * 3)
      return false;
    for (std::size_t i = 0; i < entries; ++i)
      m_globalTable.push_back(PackColour(data + offset + 3 * i));
    offset += entries * 3;
  }
  m_screenWidth = width;
  m_screenHeight = height;
  m_blocks.assign(data + offset, data + size);
  if (m_blocks.empty()) {
    Clear();
    return false;
  }
  return true;
}

bool CGifDecoder::ReadByte(std::uint8_t& byte) {
  if (m_position >= m_blocks.size())
    return false;
  byte = m_blocks[m_position++];
  return true;
}

bool CGifDecoder::ReadWord(int& value) {
  std::uint8_t low = 0;
  std::uint8_t high = 0;
  if (!ReadByte(low) || !ReadByte(high))
    return false;
  value = low | (high << 8);
  return true;
}

bool CGifDecoder::SkipSubBlocks() {
  std::uint8_t length = 0;
  while (ReadByte(length)) {
    if (length == 0)
      return true;
    if (m_blocks.size() - m_position < length)
      return false;
    m_position += length;
  }
  return false;
}

bool CGifDecoder::ReadGraphicControl() {
  std::uint8_t size = 0;
  std::uint8_t packed = 0;
  std::uint8_t index = 0;
  int delay = 0;
  if (!ReadByte(size) || !ReadByte(packed) || !ReadWord(delay) || !ReadByte(index))
    return false;
  m_nDisposal = packed & 0x1C;
  m_bTransparent = (packed & 1) != 0;
  m_nDelay = delay;
  m_nTransparentIndex = index;
  // A block longer than the usual four bytes keeps the rest with the terminator.
  if (size > 4 && m_blocks.size() - m_position >= static_cast<std::size_t>(size - 4))
    m_position += static_cast<std::size_t>(size - 4);
  return SkipSubBlocks();
}

bool CGifDecoder::NextFrame(Frame& frame) {
  // Each trailer goes back to the start once; a second trailer without an image between means
  // the stream holds no image at all, and the walk ends instead of looping for ever.
  bool rewound = false;
  // Unlike the delay and transparency, a disposal belongs to the one image after its control.
  m_nDisposal = 0;
  while (m_position < m_blocks.size()) {
    const std::uint8_t introducer = m_blocks[m_position++];
    if (introducer == 0x00 || introducer == 0x3B) {
      if (rewound)
        return false;
      rewound = true;
      m_position = 0;
      continue;
    }
    if (introducer == 0x21) {
      std::uint8_t label = 0;
      if (!ReadByte(label))
        return false;
      bool ok = true;
      switch (label) {
        case 0xF9:
          ok = ReadGraphicControl();
          break;
        case 0x01:
        case 0xFE:
        case 0xFF:
          ok = SkipSubBlocks();
          break;
        default:
          return false;
      }
      if (!ok)
        return false;
      continue;
    }
    if (introducer == 0x2C)
      return DecodeImage(frame);
    return false;
  }
  if (!rewound && !m_blocks.empty()) {
    // Data that ends without a trailer also loops.
    m_position = 0;
  }
  return false;
}

bool CGifDecoder::DecodeImage(Frame& frame) {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::uint8_t packed = 0;
  if (!ReadWord(left) || !ReadWord(top) || !ReadWord(width) || !ReadWord(height) || !ReadByte(packed))
    return false;
  std::vector<std::uint32_t> localTable;
  if (packed & 0x80) {
    const std::size_t entries = std::size_t{1} << ((packed & 7) + 1);
    if (m_blocks.size() - m_position < entries * 3) {
      m_position = m_blocks.size();
      return false;
    }
    for (std::size_t i = 0; i < entries; ++i)
      localTable.push_back(PackColour(&m_blocks[m_position + 3 * i]));
    m_position += entries * 3;
  }
  std::uint8_t minimumCodeSize = 0;
  if (!ReadByte(minimumCodeSize))
    return false;
  // A size refused here still has its data skipped, so the walk goes on after it.
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || minimumCodeSize < 1 ||
      minimumCodeSize > 11) {
    SkipSubBlocks();
    return false;
  }
  frame = Frame{};
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.stride = ((width - 1) | 3) + 1;
  frame.pixels.assign(static_cast<std::size_t>(frame.stride) * static_cast<std::size_t>(height), 0);
  const std::vector<std::uint32_t>& table = (packed & 0x80) ? localTable : m_globalTable;
  for (std::size_t i = 0; i < table.size() && i < frame.palette.size(); ++i)
    frame.palette[i] = table[i];
  frame.transparent = m_bTransparent;
  frame.transparentIndex = m_nTransparentIndex;
  frame.delay = m_nDelay;
  frame.disposal = m_nDisposal;
  return DecodeLzw(frame, minimumCodeSize, (packed & 0x40) != 0);
}

bool CGifDecoder::DecodeLzw(Frame& frame, int minimumCodeSize, bool interlaced) {
  const int clearCode = 1 << minimumCodeSize;
  const int endCode = clearCode + 1;
  int codeSize = minimumCodeSize + 1;
  int freeCode = clearCode + 2;
  std::vector<std::uint16_t> prefix(kTableSize, 0);
  std::vector<std::uint8_t> suffix(kTableSize, 0);
  std::vector<std::uint8_t> stack(kTableSize + 1, 0);
  for (int i = 0; i < clearCode; ++i)
    suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  CodeReader reader(m_blocks, m_position);
  PixelSink sink(frame, interlaced);
  const std::size_t pixelCount = static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
  std::size_t written = 0;
  int previous = -1;
  std::uint8_t first = 0;
  // Each code yields at least one pixel; the bound stops a stream of clear codes from spinning.
  const std::size_t codeLimit = pixelCount * 2 + kTableSize * 2;
  for (std::size_t step = 0; step < codeLimit; ++step) {
    if (reader.Exhausted())
      break;
    const int code = reader.Read(codeSize);
    if (code == endCode)
      break;
    if (code == clearCode) {
      codeSize = minimumCodeSize + 1;
      freeCode = clearCode + 2;
      previous = -1;
      continue;
    }
    if (previous < 0) {
      if (code >= clearCode)
        return false;  // the first code after a clear must be a root
      first = static_cast<std::uint8_t>(code);
      sink.Put(first);
      ++written;
      previous = code;
      continue;
    }
    int walk = code;
    std::size_t depth = 0;
    if (code >= freeCode) {
      if (code > freeCode)
        return false;  // a code not yet defined can only be the next one
      stack[depth++] = first;
      walk = previous;
    }
    while (walk >= clearCode) {
      if (depth >= kTableSize || prefix[static_cast<std::size_t>(walk)] >= walk)
        return false;  // a chain that does not shrink is corrupt
      stack[depth++] = suffix[static_cast<std::size_t>(walk)];
      walk = prefix[static_cast<std::size_t>(walk)];
    }
    first = static_cast<std::uint8_t>(walk);
    stack[depth++] = first;
    while (depth > 0) {
      sink.Put(stack[--depth]);
      ++written;
    }
    if (freeCode < kTableSize) {
      prefix[static_cast<std::size_t>(freeCode)] = static_cast<std::uint16_t>(previous);
      suffix[static_cast<std::size_t>(freeCode)] = first;
      ++freeCode;
      if (freeCode == (1 << codeSize) && codeSize < 12)
        ++codeSize;
    }
    previous = code;
  }
  reader.SkipRest();
  return written > 0;
}

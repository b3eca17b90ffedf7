#include "client/images/GifImage.h"

#include <array>
#include <cerrno>
#include <string_view>
#include <cstring>

#include "client/images/Dib.h"
#include "platform/files.h"
#include "platform/msgbox.h"

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;
constexpr BYTE kExtensionIntroducer = 0x21;
constexpr BYTE kImageSeparator = 0x2C;
constexpr BYTE kTrailer = 0x3B;
constexpr BYTE kGraphicControlLabel = 0xF9;

// Every read is checked against the end of the data.
struct GifInput {
  const BYTE* data;
  size_t size;
  size_t pos{0};
  int Byte() { return pos < size ? data[pos++] : -1; }
  bool Read(BYTE* out, size_t count) {
    if (count > size - pos) return false;
    std::memcpy(out, data + pos, count);
    pos += count;
    return true;
  }
  int Word() {
    const int low = Byte(), high = Byte();
    return low < 0 || high < 0 ? -1 : low | high << 8;
  }
  // Skips data sub-blocks up to and including the empty one; false at the end of the data.
  bool SkipSubBlocks() {
    for (int length = Byte(); length != 0; length = Byte()) {
      if (length < 0 || static_cast<size_t>(length) > size - pos) return false;
      pos += static_cast<size_t>(length);
    }
    return true;
  }
};

struct ColorTable {
  std::array<BYTE, 768> rgb{};
  int count{0};
  bool Read(GifInput& in, int flags) {
    count = 2 << (flags & 7);
    return in.Read(rgb.data(), 3 * static_cast<size_t>(count));
  }
};

// Where decoded lines go: picture rows in file order, or the four interlace passes.
class LineSink {
public:
  LineSink(CImageImpl& image, bool interlaced) : m_image(image), m_interlaced(interlaced) {}

  // Stores one line of pixels; false when every row of the picture is done.
  bool Store(const BYTE* pixels, int count) {
    BYTE* row = m_image.GetRow(m_image.GetHeight() - 1 - m_y);
    if (row == nullptr) return false;
    std::memcpy(row, pixels, static_cast<size_t>(count));
    Advance();
    return true;
  }

private:
  void Advance() {
    if (!m_interlaced) {
      ++m_y;
      return;
    }
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    m_y += kStep[m_pass];
    while (m_y >= m_image.GetHeight() && m_pass < 3) m_y = kStart[++m_pass];
  }

  CImageImpl& m_image;
  bool m_interlaced;
  int m_pass{0};
  int m_y{0};
};

// The variable-width LZW code stream of one image, read least significant bit first.
class CodeReader {
public:
  explicit CodeReader(GifInput& in) : m_in(in) {}

  // The next code of width bits; -1 at the end of the data or of the sub-blocks.
  int Next(int width) {
    while (m_bitCount < width) {
      const int byte = NextByte();
      if (byte < 0) return -1;
      m_bits |= static_cast<unsigned>(byte) << m_bitCount;
      m_bitCount += 8;
    }
    const int code = static_cast<int>(m_bits & ((1u << width) - 1));
    m_bits >>= width;
    m_bitCount -= width;
    return code;
  }

  // Leaves the input behind the image's terminating sub-block.
  void Finish() {
    if (m_ended) return;
    m_in.pos += std::min(static_cast<size_t>(m_blockLeft), m_in.size - m_in.pos);
    m_in.SkipSubBlocks();
  }

private:
  int NextByte() {
    if (m_blockLeft == 0) {
      const int length = m_in.Byte();
      if (length <= 0) {
        m_ended = true;
        return -1;
      }
      m_blockLeft = length;
    }
    --m_blockLeft;
    return m_in.Byte();
  }

  GifInput& m_in;
  unsigned m_bits{0};
  int m_bitCount{0};
  int m_blockLeft{0};
  bool m_ended{false};
};

// Decodes an image's LZW data into lines. Returns false for an unusable minimum code size.
bool DecodeImage(GifInput& in, int lineWidth, LineSink& sink) {
  const int minimumSize = in.Byte();
  if (minimumSize < 2 || minimumSize > 9) return false;
  const int clearCode = 1 << minimumSize;
  const int endCode = clearCode + 1;
  const int firstFree = endCode + 1;
  int width = minimumSize + 1;
  int nextSlot = firstFree;
  int topSlot = 1 << width;
  int oldCode = -1;
  BYTE firstChar = 0;
  std::array<BYTE, kMaxCodes> suffix{};
  std::array<uint16_t, kMaxCodes> prefix{};
  std::array<BYTE, kMaxCodes + 1> stack{};
  std::vector<BYTE> line(static_cast<size_t>(lineWidth));
  int filled = 0;
  CodeReader codes(in);
  bool rowsLeft = true;
  const auto emit = [&](const BYTE* pixels, int count) {
    for (int i = count - 1; i >= 0 && rowsLeft; --i) {
      line[static_cast<size_t>(filled++)] = pixels[i];
      if (filled == lineWidth) {
        rowsLeft = sink.Store(line.data(), filled);
        filled = 0;
      }
    }
  };
  for (int code = codes.Next(width); code >= 0 && code != endCode && rowsLeft; code = codes.Next(width)) {
    if (code == clearCode) {
      width = minimumSize + 1;
      nextSlot = firstFree;
      topSlot = 1 << width;
      oldCode = -1;
      continue;
    }
    if (oldCode < 0) {
      if (code >= clearCode) break;  // nothing to extend: corrupt
      firstChar = static_cast<BYTE>(code);
      emit(&firstChar, 1);
      oldCode = code;
      continue;
    }
    if (code > nextSlot || (code == nextSlot && nextSlot >= kMaxCodes)) break;  // beyond the table: corrupt
    int depth = 0;
    int walk = code;
    if (code == nextSlot) {
      stack[static_cast<size_t>(depth++)] = firstChar;
      walk = oldCode;
    }
    while (walk >= firstFree && depth < kMaxCodes) {
      stack[static_cast<size_t>(depth++)] = suffix[static_cast<size_t>(walk)];
      walk = prefix[static_cast<size_t>(walk)];
    }
    if (walk >= firstFree) break;
    firstChar = static_cast<BYTE>(walk);
    stack[static_cast<size_t>(depth++)] = firstChar;
    if (nextSlot < topSlot) {
      suffix[static_cast<size_t>(nextSlot)] = firstChar;
      prefix[static_cast<size_t>(nextSlot)] = static_cast<uint16_t>(oldCode);
      ++nextSlot;
    }
    if (nextSlot >= topSlot && width < kMaxCodeWidth) {
      topSlot <<= 1;
      ++width;
    }
    oldCode = code;
    emit(stack.data(), depth);
  }
  if (filled > 0 && rowsLeft) sink.Store(line.data(), filled);
  codes.Finish();
  return true;
}

// The transparent entry turns black; a white entry is made sure of so that masks can be drawn.
int BuildPalette(const ColorTable& table, int transparent, BYTE (&rgb)[768]) {
  std::memcpy(rgb, table.rgb.data(), 768);
  int count = table.count;
  if (transparent < 0) return count;
  if (transparent < 256) std::memset(rgb + 3 * transparent, 0, 3);
  if (count < 256) std::memset(rgb + 3 * count, 255, static_cast<size_t>(3 * (256 - count)));
  bool white = false;
  for (int i = 0; i < count && !white; ++i) white = rgb[3 * i] == 255 && rgb[3 * i + 1] == 255 && rgb[3 * i + 2] == 255;
  if (!white) {
    std::memset(rgb + 3 * 255, 255, 3);
    count = 256;
  }
  return count;
}

// LZW compression of 8-bit pixels into GIF sub-blocks, with an open-addressing hash table.
class LzwEncoder {
public:
  explicit LzwEncoder(std::vector<BYTE>& out) : m_out(out) { m_keys.fill(-1); }

  void Compress(const std::vector<BYTE>& pixels) {
    Output(kClear);
    if (pixels.empty()) {
      Output(kEnd);
      return;
    }
    int prefix = pixels[0];
    for (size_t n = 1; n < pixels.size(); ++n) {
      const int c = pixels[n];
      const long key = (static_cast<long>(c) << 12) + prefix;
      int slot = (c << kHashShift) ^ prefix;
      if (Find(key, slot)) {
        prefix = m_codes[static_cast<size_t>(slot)];
        continue;
      }
      Output(prefix);
      prefix = c;
      if (m_freeCode < kMaxCodes) {
        m_codes[static_cast<size_t>(slot)] = m_freeCode++;
        m_keys[static_cast<size_t>(slot)] = key;
      } else {
        ClearBlock();
      }
    }
    Output(prefix);
    Output(kEnd);
  }

private:
  static constexpr int kHashSize = 5003;
  static constexpr int kHashShift = 4;
  static constexpr int kClear = 256;
  static constexpr int kEnd = 257;
  static constexpr int kPacketSize = 254;

  // True when key is stored; slot is then its place, else the free place for it.
  bool Find(long key, int& slot) const {
    if (m_keys[static_cast<size_t>(slot)] == key) return true;
    const int step = slot == 0 ? 1 : kHashSize - slot;
    while (m_keys[static_cast<size_t>(slot)] >= 0) {
      slot -= step;
      if (slot < 0) slot += kHashSize;
      if (m_keys[static_cast<size_t>(slot)] == key) return true;
    }
    return false;
  }

  void ClearBlock() {
    m_keys.fill(-1);
    m_freeCode = kEnd + 1;
    m_clearPending = true;
    Output(kClear);
  }

  void Output(int code) {
    m_accumulator |= static_cast<unsigned long>(code) << m_bitCount;
    m_bitCount += m_width;
    while (m_bitCount >= 8) {
      PutByte(static_cast<BYTE>(m_accumulator & 0xFF));
      m_accumulator >>= 8;
      m_bitCount -= 8;
    }
    if (m_clearPending) {
      m_width = 9;
      m_clearPending = false;
    } else if (m_freeCode > (1 << m_width) - 1 && m_width < kMaxCodeWidth) {
      ++m_width;
    }
    if (code == kEnd) Flush();
  }

  void Flush() {
    if (m_bitCount > 0) PutByte(static_cast<BYTE>(m_accumulator & 0xFF));
    m_accumulator = 0;
    m_bitCount = 0;
    FlushPacket();
  }

  void PutByte(BYTE byte) {
    m_packet[static_cast<size_t>(m_packetLength++)] = byte;
    if (m_packetLength >= kPacketSize) FlushPacket();
  }

  void FlushPacket() {
    if (m_packetLength == 0) return;
    m_out.push_back(static_cast<BYTE>(m_packetLength));
    m_out.insert(m_out.end(), m_packet.begin(), m_packet.begin() + m_packetLength);
    m_packetLength = 0;
  }

  std::vector<BYTE>& m_out;
  std::array<long, kHashSize> m_keys{};
  std::array<int, kHashSize> m_codes{};
  int m_freeCode{kEnd + 1};
  int m_width{9};
  bool m_clearPending{false};
  unsigned long m_accumulator{0};
  int m_bitCount{0};
  std::array<BYTE, kPacketSize> m_packet{};
  int m_packetLength{0};
};

void PutWord(std::vector<BYTE>& out, int value) {
  out.push_back(static_cast<BYTE>(value & 0xFF));
  out.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}

}  // namespace

BOOL CGifImage::Read(const char* fileName) {
  TakeFileName(fileName);
  std::FILE* file = std::fopen(platform::NativePath(m_fileName).c_str(), "rb");
  if (file == nullptr) return FALSE;
  std::vector<BYTE> bytes;
  BYTE chunk[16384];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return ReadBytes(bytes.data(), bytes.size());
}

BOOL CGifImage::ReadBytes(const BYTE* data, size_t size) {
  return ReplaceOnSuccess([&] { return Parse(data, size); });
}

BOOL CGifImage::Parse(const BYTE* data, size_t size) {
  GifInput in{data, size};
  BYTE header[13];
  if (!in.Read(header, sizeof header) || std::memcmp(header, "GIF8", 4) != 0) return FALSE;
  ColorTable global;
  if ((header[10] & 0x80) != 0 && !global.Read(in, header[10])) return FALSE;
  int transparent = -1;
  for (int block = in.Byte(); block >= 0; block = in.Byte()) {
    if (block == kExtensionIntroducer) {
      const int label = in.Byte();
      if (label == kGraphicControlLabel) {
        BYTE control[4];
        if (in.Byte() != 4 || !in.Read(control, sizeof control)) break;
        if ((control[0] & 1) != 0) transparent = control[3];
      }
      if (label < 0 || !in.SkipSubBlocks()) break;
    } else if (block == kImageSeparator) {
      BYTE descriptor[9];
      if (!in.Read(descriptor, sizeof descriptor)) break;
      const int width = descriptor[4] | descriptor[5] << 8;
      const int height = descriptor[6] | descriptor[7] << 8;
      ColorTable local;
      if ((descriptor[8] & 0x80) != 0 && !local.Read(in, descriptor[8])) break;
      const ColorTable& table = local.count > 0 ? local : global;
      if (!Create(width, height, 8, -1)) return FALSE;
      SetTransparentIndex(transparent);
      if (table.count > 0) {
        BYTE rgb[768];
        const int count = BuildPalette(table, transparent, rgb);
        SetPalette(count, rgb);
      }
      LineSink sink(*this, (descriptor[8] & 0x40) != 0);
      if (!DecodeImage(in, width, sink)) return FALSE;
    } else {
      break;
    }
  }
  return IsValid();
}

BOOL CGifImage::Write(const char* fileName) {
  TakeFileName(fileName);
  if (!IsValid()) return FALSE;
  if (GetDepth() > 8) {
    AfxMessageBox("GIF Images must be 8 bit or less");
    return FALSE;
  }
  const std::vector<BYTE> bytes = Encode();
  errno = 0;
  if (platform::ReplaceFileContents(m_fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
    return TRUE;
  // Which of the two messages depends on whether the disk refused the bytes or the file itself.
  AfxMessageBox(platform::IsWriteFailure(errno) ? "Write Error in GIF file" : "Can't open GIF for writing");
  return FALSE;
}

std::vector<BYTE> CGifImage::Encode() const {
  std::vector<BYTE> out = {'G', 'I', 'F', '8', '7', 'a'};
  PutWord(out, GetWidth());
  PutWord(out, GetHeight());
  out.insert(out.end(), {0xE7, 0, 0});
  const int greyLevels = 1 << GetDepth();
  for (int i = 0; i < 256; ++i) {
    BYTE rgb[3] = {0, 0, 0};
    if (GetPalette() != nullptr) GetPalette()->GetEntry(i, &rgb[0], &rgb[1], &rgb[2]);
    else if (i < greyLevels) rgb[0] = rgb[1] = rgb[2] = static_cast<BYTE>(255 * i / (greyLevels - 1));
    out.insert(out.end(), rgb, rgb + 3);
  }
  out.push_back(kImageSeparator);
  PutWord(out, 0);
  PutWord(out, 0);
  PutWord(out, GetWidth());
  PutWord(out, GetHeight());
  out.push_back(0);
  out.push_back(8);
  std::vector<BYTE> pixels;
  pixels.reserve(static_cast<size_t>(GetWidth()) * static_cast<size_t>(GetHeight()));
  for (int y = GetHeight() - 1; y >= 0; --y)
    for (int x = 0; x < GetWidth(); ++x) pixels.push_back(static_cast<BYTE>(GetIndex(x, y)));
  LzwEncoder(out).Compress(pixels);
  out.push_back(0);
  out.push_back(kTrailer);
  return out;
}

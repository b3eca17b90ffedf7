#pragma once
// CGifDecoder: the banner control's reader of GIF87a/GIF89a files. It keeps the file's blocks in
// memory and walks them one image at a time (looping at the trailer), decoding each image with its
// own LZW decoder into 8-bit rows with the image's palette. Every read is bounds-checked: a
// damaged file yields fewer or no frames, never a read outside the data.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CGifDecoder {
public:
  // Largest logical screen and image side accepted; larger files are refused.
  static constexpr int kMaxSide = 2048;
  static constexpr int kTableSize = 4096;
  static constexpr int kDefaultDelayMs = 50;

  // One decoded image with what the graphic control in force said about it.
  struct Frame {
    int left{0};
    int top{0};
    int width{0};
    int height{0};
    int stride{0};                         // width rounded up to a multiple of 4
    std::vector<std::uint8_t> pixels;      // stride x height palette indices, rows top-down
    std::array<std::uint32_t, 256> palette{};  // 0x00RRGGBB, entries past the table black
    bool transparent{false};
    int transparentIndex{0};
    int delay{0};     // hundredths of a second as the file gives it
    int disposal{0};  // graphic-control packed byte & 0x1C
    // How long the frame stays: delay x 10 ms, or the default for a delay of 0.
    int DelayMs() const { return delay > 0 ? delay * 10 : kDefaultDelayMs; }
  };

  // Takes a whole file; FALSE (and empty) for a wrong signature, a short header or global table,
  // or a screen larger than kMaxSide.
  bool Load(const std::uint8_t* data, std::size_t size);
  void Clear();
  bool IsLoaded() const { return !m_blocks.empty(); }

  // Back to the first block.
  void Rewind() { m_position = 0; }
  // The next image of the walk into frame; false when the walk finds no image (an unknown block,
  // a stream with no image in it, or an image that does not decode). The walk goes on after the
  // failed block on the next call.
  bool NextFrame(Frame& frame);

  int GetScreenWidth() const { return m_screenWidth; }
  int GetScreenHeight() const { return m_screenHeight; }
  std::size_t GetPosition() const { return m_position; }

private:
  // Reads one byte; false past the end.
  bool ReadByte(std::uint8_t& byte);
  bool ReadWord(int& value);
  // Skips data sub-blocks up to and including the terminator; false past the end.
  bool SkipSubBlocks();
  bool ReadGraphicControl();
  bool DecodeImage(Frame& frame);
  // Decodes the LZW data that follows into frame's pixels; false on a corrupt code.
  bool DecodeLzw(Frame& frame, int minimumCodeSize, bool interlaced);

  std::vector<std::uint8_t> m_blocks;  // the file from the first block after the global table
  std::vector<std::uint32_t> m_globalTable;
  std::size_t m_position{0};
  int m_screenWidth{0};
  int m_screenHeight{0};
  // The graphic control in force.
  bool m_bTransparent{false};
  int m_nTransparentIndex{0};
  int m_nDelay{0};
  int m_nDisposal{0};
};

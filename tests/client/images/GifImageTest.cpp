#include "client/images/GifImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "ImageTestFiles.h"

using namespace imagetest;

namespace {

// A 256-colour picture with runs and noise, so that the code table fills and clears.
void Paint(CGifImage& image, int width, int height) {
  ASSERT_TRUE(image.Create(width, height, 8, -1));
  BYTE red[256], green[256], blue[256];
  for (int i = 0; i < 256; ++i) {
    red[i] = static_cast<BYTE>(i);
    green[i] = static_cast<BYTE>(i ^ 0x5A);
    blue[i] = static_cast<BYTE>(255 - i);
  }
  ASSERT_TRUE(image.SetPalette(256, red, green, blue));
  unsigned seed = 7;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      seed = seed * 1103515245 + 12345;
      image.SetIndex(x, y, x < width / 2 ? (x / 4 + y) % 256 : static_cast<int>((seed >> 16) % 256));
    }
}

void ExpectSameIndices(const CImageImpl& a, const CImageImpl& b) {
  ASSERT_EQ(a.GetWidth(), b.GetWidth());
  ASSERT_EQ(a.GetHeight(), b.GetHeight());
  for (int y = 0; y < a.GetHeight(); ++y)
    for (int x = 0; x < a.GetWidth(); ++x) ASSERT_EQ(a.GetIndex(x, y), b.GetIndex(x, y)) << x << "," << y;
}

// Re-encodes the LZW data of a written single-image GIF as interlaced, by moving whole rows.
Bytes InterlacedTwin(const CGifImage& source, const std::string& path) {
  CGifImage shuffled;
  shuffled.Create(source.GetWidth(), source.GetHeight(), 8, -1);
  const int height = source.GetHeight();
  int fileRow = 0;
  for (int pass = 0; pass < 4; ++pass) {
    static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int y = kStart[pass]; y < height; y += kStep[pass], ++fileRow)
      for (int x = 0; x < source.GetWidth(); ++x) shuffled.SetIndex(x, height - 1 - fileRow, source.GetIndex(x, height - 1 - y));
  }
  EXPECT_TRUE(shuffled.Write(path.c_str()));
  Bytes bytes = ReadBytes(path);
  bytes[13 + 768 + 9] |= 0x40;  // descriptor flags
  return bytes;
}

// A GIF of pixels (file order, width per line) whose LZW data never clears its code table: once
// 4096 entries exist, the codes stay 12 bits wide and no entry is added.
Bytes GifWithoutClears(const std::vector<BYTE>& pixels, int width, int height, bool interlaced, int* tableFullAt) {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
  PutLE(gif, static_cast<unsigned>(width), 2);
  PutLE(gif, static_cast<unsigned>(height), 2);
  gif.insert(gif.end(), {0xF7, 0, 0});
  for (int i = 0; i < 256; ++i) gif.insert(gif.end(), {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i / 2)});
  gif.push_back(0x2C);
  PutLE(gif, 0, 4);
  PutLE(gif, static_cast<unsigned>(width), 2);
  PutLE(gif, static_cast<unsigned>(height), 2);
  gif.push_back(interlaced ? 0x40 : 0);
  gif.push_back(8);
  Bytes data;
  unsigned long accumulator = 0;
  int bits = 0;
  int codeWidth = 9;
  const auto output = [&](int code) {
    accumulator |= static_cast<unsigned long>(code) << bits;
    for (bits += codeWidth; bits >= 8; bits -= 8, accumulator >>= 8) data.push_back(static_cast<BYTE>(accumulator));
  };
  std::map<std::pair<int, int>, int> table;
  int freeCode = 258;
  output(256);
  int prefix = pixels[0];
  *tableFullAt = -1;
  for (size_t n = 1; n < pixels.size(); ++n) {
    const auto found = table.find({prefix, pixels[n]});
    if (found != table.end()) {
      prefix = found->second;
      continue;
    }
    output(prefix);
    if (freeCode > (1 << codeWidth) - 1 && codeWidth < 12) ++codeWidth;
    if (freeCode < 4096) {
      table[{prefix, pixels[n]}] = freeCode++;
      if (freeCode == 4096) *tableFullAt = static_cast<int>(n);
    }
    prefix = pixels[n];
  }
  output(prefix);
  if (freeCode > (1 << codeWidth) - 1 && codeWidth < 12) ++codeWidth;
  output(257);
  if (bits > 0) data.push_back(static_cast<BYTE>(accumulator));
  for (size_t at = 0; at < data.size(); at += 255) {
    const size_t length = std::min<size_t>(255, data.size() - at);
    gif.push_back(static_cast<BYTE>(length));
    gif.insert(gif.end(), data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at + length));
  }
  gif.insert(gif.end(), {0, 0x3B});
  return gif;
}

}  // namespace

TEST(GifImageTest, FullCodeTableWithoutClearKeepsDecodingAtTwelveBits) {
  const int width = 97, height = 83;
  // Noise fills the table early; the repeating stripes behind it reuse long table strings.
  std::vector<BYTE> picture(static_cast<size_t>(width * height));
  unsigned seed = 11;
  for (size_t i = 0; i < picture.size(); ++i) {
    seed = seed * 1103515245 + 12345;
    picture[i] = i < picture.size() * 3 / 4 ? static_cast<BYTE>(seed >> 16) : static_cast<BYTE>((i % width) / 3);
  }
  for (const bool interlaced : {false, true}) {
    // The file holds the rows in pass order when interlaced.
    std::vector<BYTE> fileOrder;
    static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass)
      for (int y = interlaced ? kStart[pass] : 0; y < height; y += interlaced ? kStep[pass] : 1)
        fileOrder.insert(fileOrder.end(), picture.begin() + y * width, picture.begin() + (y + 1) * width);
    int tableFullAt = -1;
    const Bytes gif = GifWithoutClears(fileOrder, width, height, interlaced, &tableFullAt);
    ASSERT_GT(tableFullAt, 0);
    ASSERT_LT(tableFullAt, width * height * 3 / 4) << "the table must fill well before the end";
    CGifImage image;
    ASSERT_TRUE(image.ReadBytes(gif.data(), gif.size()));
    ASSERT_EQ(image.GetWidth(), width);
    ASSERT_EQ(image.GetHeight(), height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        ASSERT_EQ(image.GetIndex(x, height - 1 - y), picture[static_cast<size_t>(y * width + x)])
            << x << "," << y << (interlaced ? " interlaced" : " plain");
  }
}

TEST(GifImageTest, TwoByTwoWrittenAsGif87a) {
  CGifImage image;
  ASSERT_TRUE(image.Create(2, 2, 8, -1));
  const BYTE rgb[] = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
  ASSERT_TRUE(image.SetPalette(4, rgb));
  image.SetIndex(0, 0, 1);
  image.SetIndex(1, 0, 2);
  image.SetIndex(0, 1, 3);
  image.SetIndex(1, 1, 0);
  const std::string path = TempPath("two.gif");
  ASSERT_TRUE(image.Write(path.c_str()));
  const Bytes bytes = ReadBytes(path);
  ASSERT_GT(bytes.size(), 13u + 768u);
  EXPECT_EQ(std::memcmp(bytes.data(), "GIF87a", 6), 0);
  const Bytes screen(bytes.begin() + 6, bytes.begin() + 13);
  EXPECT_EQ(screen, (Bytes{2, 0, 2, 0, 0xE7, 0, 0}));
  EXPECT_EQ(bytes[13 + 3], 255);            // entry 1 red
  EXPECT_EQ(bytes[13 + 3 * 200 + 1], 0);    // beyond the palette: black
  EXPECT_EQ(bytes.back(), 0x3B);
  CGifImage back;
  ASSERT_TRUE(back.Read(path.c_str()));
  ExpectSameIndices(image, back);
  std::remove(path.c_str());
}

TEST(GifImageTest, LargePictureRoundTripsThroughTableClears) {
  CGifImage image;
  Paint(image, 173, 61);
  const std::string path = TempPath("large.gif");
  ASSERT_TRUE(image.Write(path.c_str()));
  CGifImage back;
  ASSERT_TRUE(back.Read(path.c_str()));
  EXPECT_EQ(back.GetDepth(), 8);
  ExpectSameIndices(image, back);
  BYTE r, g, b;
  ASSERT_TRUE(back.GetRGB(3, 3, &r, &g, &b));
  EXPECT_EQ(g, r ^ 0x5A);
  std::remove(path.c_str());
}

TEST(GifImageTest, InterlacedAndPlainDecodeEqual) {
  CGifImage image;
  Paint(image, 21, 19);
  const std::string path = TempPath("interlaced.gif");
  WriteBytes(path, InterlacedTwin(image, path));
  CGifImage back;
  ASSERT_TRUE(back.Read(path.c_str()));
  ExpectSameIndices(image, back);
  std::remove(path.c_str());
}

TEST(GifImageTest, FourBitImageWrittenAtItsBitPositions) {
  CGifImage image;
  ASSERT_TRUE(image.Create(5, 3, 4, -1));
  for (int x = 0; x < 5; ++x) image.SetIndex(x, 1, x + 9);
  const std::string path = TempPath("four.gif");
  ASSERT_TRUE(image.Write(path.c_str()));
  CGifImage back;
  ASSERT_TRUE(back.Read(path.c_str()));
  for (int x = 0; x < 5; ++x) EXPECT_EQ(back.GetIndex(x, 1), x + 9);
  BYTE r, g, b;
  ASSERT_TRUE(back.GetRGB(4, 1, &r, &g, &b));  // grey ramp of 16 levels: index 13
  EXPECT_EQ(r, 255 * 13 / 15);
  std::remove(path.c_str());
}

TEST(GifImageTest, GraphicControlSetsTransparentIndex) {
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x82, 0, 0};  // 8-entry table
  for (int i = 0; i < 8; ++i) gif.insert(gif.end(), {static_cast<BYTE>(10 * i), 255, 255});
  gif.insert(gif.end(), {0x21, 0xF9, 4, 1, 0, 0, 5, 0});
  gif.insert(gif.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 3, 2, 0x58, 0x09, 0, 0x3B});  // clear, 5, end
  CGifImage image;
  ASSERT_TRUE(image.ReadBytes(gif.data(), gif.size()));
  EXPECT_EQ(image.GetTransparentIndex(), 5);
  BYTE r, g, b;
  ASSERT_TRUE(image.GetRGB(0, 0, &r, &g, &b));
  EXPECT_EQ(image.GetIndex(0, 0), 5);
  EXPECT_EQ(r + g + b, 0);  // the transparent entry is black
  ASSERT_TRUE(image.GetPalette()->GetEntry(255, &r, &g, &b));
  EXPECT_EQ(r & g & b, 255);
}

TEST(GifImageTest, RefusesBadSignatureAndEmptySizes) {
  Bytes gif = {'G', 'I', 'F', '7', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
  CGifImage image;
  EXPECT_FALSE(image.ReadBytes(gif.data(), gif.size()));
  gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 0, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B};
  EXPECT_FALSE(image.ReadBytes(gif.data(), gif.size()));  // width 0
  gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
  EXPECT_FALSE(image.ReadBytes(gif.data(), gif.size()));  // no image at all
}

TEST(GifImageTest, CodeBeyondTableEndsFrameKeepingRows) {
  // 2 x 2, minimum size 2: codes (3 bits) clear, 1, 7 (beyond the next free code 6).
  const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0,
                     0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 2, 0xCC, 0x01, 0, 0x3B};
  CGifImage image;
  ASSERT_TRUE(image.ReadBytes(gif.data(), gif.size()));
  EXPECT_EQ(image.GetIndex(0, 1), 1);
  EXPECT_EQ(image.GetIndex(1, 1), 0);
}

TEST(GifImageTest, DamagedFilesFailCleanly) {
  CGifImage image;
  Paint(image, 40, 30);
  const std::string path = TempPath("damaged.gif");
  ASSERT_TRUE(image.Write(path.c_str()));
  const Bytes good = ReadBytes(path);
  ReadDamagedCopies(good, path, [](const std::string& p) {
    CGifImage reader;
    if (reader.Read(p.c_str())) {
      EXPECT_TRUE(reader.IsValid());
    }
  });
}

TEST(GifImageTest, RefusesToWriteTwentyFourBits) {
  CGifImage image;
  ASSERT_TRUE(image.Create(3, 3, 24, -1));
  const std::string path = TempPath("deep.gif");
  EXPECT_FALSE(image.Write(path.c_str()));
  EXPECT_FALSE(std::filesystem::exists(path));
}

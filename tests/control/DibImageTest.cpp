#include "control/DibImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void Put16(std::vector<std::uint8_t>& b, int v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& b, long v) {
  for (int k = 0; k < 4; ++k)
    b.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

// A bitmap file: 14-byte file header, an info header of headerSize (40 or 12), colours and rows.
std::vector<std::uint8_t> BitmapFile(int headerSize, long width, long height, int bits, int colours,
                                     std::size_t pixelBytes) {
  std::vector<std::uint8_t> b{'B', 'M'};
  const int entry = headerSize == 12 ? 3 : 4;
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, 14 + headerSize + colours * entry);
  if (headerSize == 40) {
    Put32(b, 40);
    Put32(b, width);
    Put32(b, height);
    Put16(b, 1);
    Put16(b, bits);
    for (int k = 0; k < 6; ++k)
      Put32(b, 0);
  } else {
    Put32(b, 12);
    Put16(b, static_cast<int>(width));
    Put16(b, static_cast<int>(height));
    Put16(b, 1);
    Put16(b, bits);
  }
  b.insert(b.end(), static_cast<std::size_t>(colours * entry), 0x7F);
  b.insert(b.end(), pixelBytes, 0x55);
  return b;
}

std::string Write(const std::vector<std::uint8_t>& bytes, const char* name) {
  const std::string path = ::testing::TempDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return path;
}

TEST(DibImageTest, ReadsBothHeadersAndRefusesWhatCannotBeRight) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> file;
    bool loads;
    int colours;
    int stride;
  };
  std::vector<std::uint8_t> notBm = BitmapFile(40, 2, 2, 24, 0, 16);
  notBm[0] = 'X';
  const Case cases[] = {
      {"info8.bmp", BitmapFile(40, 5, 3, 8, 256, 8 * 3), true, 256, 8},
      {"info24.bmp", BitmapFile(40, 5, 2, 24, 0, 16 * 2), true, 0, 16},
      {"core4.bmp", BitmapFile(12, 7, 2, 4, 16, 4 * 2), true, 16, 4},
      {"short.bmp", BitmapFile(40, 5, 3, 8, 256, 10), false, 0, 0},       // rows cut off
      {"huge.bmp", BitmapFile(40, 20000, 1, 24, 0, 16), false, 0, 0},     // wider than any board
      {"bits.bmp", BitmapFile(40, 2, 2, 3, 0, 16), false, 0, 0},          // no such bit count
      {"zero.bmp", BitmapFile(40, 0, 2, 24, 0, 16), false, 0, 0},
      {"notbm.bmp", notBm, false, 0, 0},
      {"tiny.bmp", std::vector<std::uint8_t>{'B', 'M', 0}, false, 0, 0},
  };
  for (const Case& c : cases) {
    CDibImage image;
    EXPECT_EQ(image.LoadFile(Write(c.file, c.name).c_str()), c.loads) << c.name;
    EXPECT_EQ(image.HasImage(), c.loads) << c.name;
    if (!c.loads)
      continue;
    EXPECT_EQ(image.DIBNumColors(), c.colours) << c.name;
    EXPECT_EQ(image.Stride(), c.stride) << c.name;
    // The block always holds a 40-byte header and 4-byte colour entries.
    EXPECT_EQ(image.Block()[0], 40) << c.name;
    EXPECT_EQ(image.Block()[40 + 3], c.colours ? (c.name[0] == 'c' ? 0 : 0x7F) : 0x55) << c.name;
  }
  CDibImage image;
  EXPECT_FALSE(image.LoadFile("/no/such/file.bmp"));
  ASSERT_TRUE(image.LoadFile(Write(cases[0].file, "again.bmp").c_str()));
  EXPECT_FALSE(image.LoadFile("/no/such/file.bmp"));
  EXPECT_FALSE(image.HasImage());  // a failed load leaves no earlier image behind
}

}  // namespace

#include "client/images/DibRemap.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <numeric>
#include <vector>

#include "client/images/JpegImage.h"
#include "platform/gdi.h"

namespace {

using Bytes = std::vector<BYTE>;

struct Maps {
  Maps() {
    for (int i = 0; i < 256; ++i) eight[i] = static_cast<BYTE>(255 - i);
    for (int i = 0; i < 16; ++i) four[i] = static_cast<BYTE>(0xF0 | (i + 3) % 16);  // high bits ignored
  }
  BYTE eight[256];
  BYTE four[16];
};

TEST(DibRemapTest, RowsRemapEveryPixelAndNothingBeyond) {
  const Maps maps;
  Bytes row = {0, 1, 128, 255, 77};
  RemapRow8(row.data(), 4, maps.eight);
  EXPECT_EQ(row, (Bytes{255, 254, 127, 0, 77}));
  Bytes packed = {0x01, 0xEF, 0x5A, 0x99};
  RemapRow4(packed.data(), 3, maps.four);
  EXPECT_EQ(packed, (Bytes{0x34, 0x12, 0x8D, 0x99}));
  RemapRow8(nullptr, 0, maps.eight);
}

TEST(DibRemapTest, Rle8RemapsOnlyPixelValues) {
  const Maps maps;
  // Runs, an end of line, a delta, an odd absolute run with its pad, an even one, the end of the
  // bitmap, and bytes behind it that are not data.
  Bytes data = {3, 10, 1, 0,        0, 0,          0, 2, 5, 1,
                0, 3, 1, 2, 3, 0xEE, 0, 4, 4, 5, 6, 7, 2, 200, 0, 1, 9, 9};
  const Bytes expected = {3, 245, 1, 255,     0, 0,          0, 2, 5, 1,
                          0, 3, 254, 253, 252, 0xEE, 0, 4, 251, 250, 249, 248, 2, 55, 0, 1, 9, 9};
  EXPECT_TRUE(RemapRle8(data.data(), data.size(), maps.eight));
  EXPECT_EQ(data, expected);

  // Data that ends inside a run, a delta or an absolute run: what came before is remapped.
  Bytes cutRun = {2, 0, 7};
  EXPECT_FALSE(RemapRle8(cutRun.data(), cutRun.size(), maps.eight));
  EXPECT_EQ(cutRun, (Bytes{2, 255, 7}));
  Bytes cutDelta = {0, 2, 1};
  EXPECT_FALSE(RemapRle8(cutDelta.data(), cutDelta.size(), maps.eight));
  EXPECT_EQ(cutDelta, (Bytes{0, 2, 1}));
  Bytes cutAbsolute = {0, 5, 1, 2};
  EXPECT_FALSE(RemapRle8(cutAbsolute.data(), cutAbsolute.size(), maps.eight));
  EXPECT_EQ(cutAbsolute, (Bytes{0, 5, 254, 253}));
  // Without an end-of-bitmap escape the data ends with its last whole item.
  Bytes noEnd = {1, 1, 0, 0};
  EXPECT_TRUE(RemapRle8(noEnd.data(), noEnd.size(), maps.eight));
  EXPECT_EQ(noEnd, (Bytes{1, 254, 0, 0}));
}

TEST(DibRemapTest, BackwardsCopyMovesAnOverlappingRangeUpWhole) {
  Bytes bytes(12);
  std::iota(bytes.begin(), bytes.end(), 1);
  CopyBytesBackwards(bytes.data() + 3, bytes.data(), 8);
  EXPECT_EQ(bytes, (Bytes{1, 2, 3, 1, 2, 3, 4, 5, 6, 7, 8, 12}));
  Bytes target(3, 0);
  const Bytes source = {7, 8, 9};
  CopyBytesBackwards(target.data(), source.data(), 3);
  EXPECT_EQ(target, source);
  CopyBytesBackwards(target.data(), source.data(), 0);
}

TEST(DibRemapTest, SystemPaletteClearCanBeRepeated) {
  // Each clear makes, realises and deletes its own palette.
  EXPECT_TRUE(ClearSystemPalette());
  EXPECT_TRUE(ClearSystemPalette());
}

TEST(DibRemapTest, JumpBackHelperReturnsOneAtTheRecoveryPoint) {
  static std::jmp_buf recovery;
  static int jumps = 0;
  const int value = setjmp(recovery);
  if (value == 0) {
    JumpToRecoveryPoint(recovery);
  }
  jumps = jumps + 1;
  EXPECT_EQ(value, 1);
  EXPECT_EQ(jumps, 1);
}

}  // namespace

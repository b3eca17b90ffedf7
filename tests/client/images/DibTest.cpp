#include "client/images/Dib.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ImageTestFiles.h"
#include "client/images/BmpImage.h"

using namespace imagetest;

namespace {

// A BMP file of a 2 x 2 24-bit picture (bottom row first, rows padded to 8 bytes).
Bytes Bmp24(bool withFileHeader, int height, unsigned imageSize) {
  Bytes b;
  if (withFileHeader) {
    b = {'B', 'M'};
    PutLE(b, 14 + 40 + 16, 4);
    PutLE(b, 0, 4);
    PutLE(b, 54, 4);
  }
  PutLE(b, 40, 4);
  PutLE(b, 2, 4);
  PutLE(b, static_cast<unsigned>(height), 4);
  PutLE(b, 1, 2);
  PutLE(b, 24, 2);
  PutLE(b, 0, 4);
  PutLE(b, imageSize, 4);
  for (int i = 0; i < 4; ++i) PutLE(b, 0, 4);
  const BYTE rows[16] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  b.insert(b.end(), rows, rows + 16);
  return b;
}

Bytes Os2Bmp4() {
  Bytes b = {'B', 'M'};
  PutLE(b, 14 + 12 + 48 + 4, 4);
  PutLE(b, 0, 4);
  PutLE(b, 14 + 12 + 48, 4);
  PutLE(b, 12, 4);
  PutLE(b, 2, 2);
  PutLE(b, 1, 2);
  PutLE(b, 1, 2);
  PutLE(b, 4, 2);
  for (int i = 0; i < 16; ++i) {
    b.push_back(static_cast<BYTE>(i));       // blue
    b.push_back(static_cast<BYTE>(i * 2));   // green
    b.push_back(static_cast<BYTE>(i * 10));  // red
  }
  b.push_back(0x3A);  // pixels 3 and 10
  b.insert(b.end(), 3, 0);
  return b;
}

LPBITMAPINFOHEADER Read(const Bytes& bytes) { return ReadDibBytes(bytes.data(), bytes.size()); }

// A run-length BMP of the depth (8: RLE8, 4: RLE4) with a 16-entry colour table.
Bytes RleBmp(int depth, int width, int height, const Bytes& data) {
  Bytes b = {'B', 'M'};
  const unsigned offset = 14 + 40 + 64;
  PutLE(b, offset + static_cast<unsigned>(data.size()), 4);
  PutLE(b, 0, 4);
  PutLE(b, offset, 4);
  PutLE(b, 40, 4);
  PutLE(b, static_cast<unsigned>(width), 4);
  PutLE(b, static_cast<unsigned>(height), 4);
  PutLE(b, 1, 2);
  PutLE(b, static_cast<unsigned>(depth), 2);
  PutLE(b, depth == 8 ? 1 : 2, 4);
  PutLE(b, static_cast<unsigned>(data.size()), 4);
  PutLE(b, 0, 4);
  PutLE(b, 0, 4);
  PutLE(b, 16, 4);
  PutLE(b, 0, 4);
  for (unsigned i = 0; i < 16; ++i) PutLE(b, i * 0x010203u, 4);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// The pixel indices of a block, top picture row first.
std::vector<Bytes> Pixels(LPBITMAPINFOHEADER dib) {
  std::vector<Bytes> rows;
  const size_t rowBytes = DibRowBytes(dib->biWidth, dib->biBitCount);
  for (int y = dib->biHeight - 1; y >= 0; --y) {
    const BYTE* row = GetDibBits(dib) + rowBytes * static_cast<size_t>(y);
    Bytes pixels;
    for (int x = 0; x < dib->biWidth; ++x)
      pixels.push_back(dib->biBitCount == 8 ? row[x] : static_cast<BYTE>(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F));
    rows.push_back(pixels);
  }
  return rows;
}

}  // namespace

TEST(DibTest, CreateDibBoundsSizesAndRowPadding) {
  EXPECT_EQ(DibRowBytes(1, 1), 4u);
  EXPECT_EQ(DibRowBytes(33, 1), 8u);
  EXPECT_EQ(DibRowBytes(3, 4), 4u);
  EXPECT_EQ(DibRowBytes(9, 4), 8u);
  EXPECT_EQ(DibRowBytes(5, 24), 16u);
  EXPECT_EQ(CreateDib(8, 0, 5), nullptr);
  EXPECT_EQ(CreateDib(8, 5, -1), nullptr);
  EXPECT_EQ(CreateDib(8, kMaxDibSide + 1, 1), nullptr);
  EXPECT_EQ(CreateDib(7, 5, 5), nullptr);
  LPBITMAPINFOHEADER dib = CreateDib(4, 9, 3);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->biSizeImage, 24u);
  EXPECT_EQ(dib->biClrUsed, 16u);
  const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + 40);
  EXPECT_EQ(table[1].rgbRed, 0x80);
  EXPECT_EQ(table[15].rgbBlue, 0xFF);
  EXPECT_EQ(GetDibBits(dib), reinterpret_cast<BYTE*>(dib) + 40 + 64);
  FreeDib(dib);
}

TEST(DibTest, ReadsWithAndWithoutFileHeaderAndZeroImageSize) {
  for (bool fileHeader : {true, false}) {
    LPBITMAPINFOHEADER dib = Read(Bmp24(fileHeader, 2, 0));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->biBitCount, 24);
    EXPECT_EQ(dib->biSizeImage, 16u);
    EXPECT_EQ(GetDibBits(dib)[0], 1);
    EXPECT_EQ(GetDibBits(dib)[12], 11);
    FreeDib(dib);
  }
}

TEST(DibTest, TopDownFileBecomesBottomUp) {
  LPBITMAPINFOHEADER dib = Read(Bmp24(true, static_cast<unsigned>(-2), 16));
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->biHeight, 2);
  EXPECT_EQ(GetDibBits(dib)[0], 7);  // the file's first row is the top row
  EXPECT_EQ(GetDibBits(dib)[8], 1);
  FreeDib(dib);
}

TEST(DibTest, Os2HeaderWithThreeByteColours) {
  CBmpImage image;
  const std::string path = TempPath("os2.bmp");
  WriteBytes(path, Os2Bmp4());
  ASSERT_TRUE(image.Read(path.c_str()));
  EXPECT_EQ(image.GetDepth(), 4);
  EXPECT_EQ(image.GetIndex(0, 0), 3);
  EXPECT_EQ(image.GetIndex(1, 0), 10);
  BYTE r, g, b;
  ASSERT_TRUE(image.GetRGB(1, 0, &r, &g, &b));
  EXPECT_EQ(r, 100);
  EXPECT_EQ(g, 20);
  EXPECT_EQ(b, 10);
  std::remove(path.c_str());
}

TEST(DibTest, BitFieldFilesConvertToTwentyFourBits) {
  Bytes b = {'B', 'M'};
  PutLE(b, 0, 4);
  PutLE(b, 0, 4);
  PutLE(b, 14 + 40 + 12, 4);
  PutLE(b, 40, 4);
  PutLE(b, 1, 4);
  PutLE(b, 1, 4);
  PutLE(b, 1, 2);
  PutLE(b, 16, 2);
  PutLE(b, BI_BITFIELDS, 4);
  for (int i = 0; i < 5; ++i) PutLE(b, 0, 4);
  PutLE(b, 0xF800, 4);  // 565
  PutLE(b, 0x07E0, 4);
  PutLE(b, 0x001F, 4);
  PutLE(b, 0xF800, 2);  // pure red
  PutLE(b, 0, 2);
  LPBITMAPINFOHEADER dib = Read(b);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->biBitCount, 24);
  EXPECT_EQ(dib->biCompression, BI_RGB);
  EXPECT_EQ(GetDibBits(dib)[2], 255);
  EXPECT_EQ(GetDibBits(dib)[1], 0);
  FreeDib(dib);
  b[14 + 40 + 4] = 0x55;  // green mask 0x0755: not contiguous
  EXPECT_EQ(Read(b), nullptr);
}

TEST(DibTest, RefusesHostileHeaders) {
  Bytes tooManyColours = Bmp24(true, 2, 0);
  tooManyColours[14 + 14] = 8;
  tooManyColours[14 + 32] = 0;
  tooManyColours[14 + 33] = 1;  // 256 + 0 -> 256 is fine, so make it 257
  tooManyColours[14 + 32] = 1;
  EXPECT_EQ(Read(tooManyColours), nullptr);
  Bytes zeroWidth = Bmp24(true, 2, 0);
  zeroWidth[14 + 4] = 0;
  EXPECT_EQ(Read(zeroWidth), nullptr);
  Bytes huge = Bmp24(true, 2, 0);
  PutLE(huge, 0, 0);
  huge[14 + 8 + 2] = 0x01;  // height 65538
  EXPECT_EQ(Read(huge), nullptr);
  Bytes rle = Bmp24(true, 2, 0);
  rle[14 + 16] = 1;
  EXPECT_EQ(Read(rle), nullptr);
  EXPECT_EQ(Read(Bytes{'B', 'M', 1}), nullptr);
}

TEST(DibTest, RunLengthFilesExpandToPlainRows) {
  // RLE8: runs, an end of line, an absolute run with its pad byte, a delta, the end.
  LPBITMAPINFOHEADER dib = Read(RleBmp(8, 4, 3, {3, 5, 1, 7, 0, 0, 0, 3, 1, 2, 3, 0, 1, 9, 0, 0, 0, 2, 2, 0, 2, 4, 0, 1}));
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->biCompression, BI_RGB);
  EXPECT_EQ(dib->biBitCount, 8);
  EXPECT_EQ(Pixels(dib), (std::vector<Bytes>{{0, 0, 4, 4}, {1, 2, 3, 9}, {5, 5, 5, 7}}));
  FreeDib(dib);
  // RLE4: alternating nibbles in runs, an absolute run of three pixels.
  dib = Read(RleBmp(4, 5, 2, {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 2, 0x66, 0, 1}));
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(Pixels(dib), (std::vector<Bytes>{{3, 4, 5, 6, 6}, {1, 2, 1, 2, 1}}));
  FreeDib(dib);
  // The seeds of the fuzz corpus are the same pictures.
  CBmpImage image;
  ASSERT_TRUE(image.Read(TEST_DATA_DIR "/images/rle8-4x3.bmp"));
  EXPECT_EQ(image.GetIndex(3, 1), 9);
  ASSERT_TRUE(image.Read(TEST_DATA_DIR "/images/rle4-5x2.bmp"));
  EXPECT_EQ(image.GetIndex(2, 1), 5);
}

TEST(DibTest, PixelsMissingFromAShortPalettedFileAreZero) {
  Bytes b = RleBmp(8, 4, 3, {});
  b[14 + 16] = 0;  // no compression, no pixel bytes at all
  LPBITMAPINFOHEADER dib = Read(b);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(dib->biClrUsed, 16u);
  EXPECT_EQ(Pixels(dib), (std::vector<Bytes>(3, Bytes(4, 0))));
  FreeDib(dib);
}

TEST(DibTest, RunLengthDataIsClippedToThePicture) {
  const struct {
    const char* what;
    Bytes data;
    std::vector<Bytes> pixels;
  } cases[] = {
      {"run past the row end", {9, 3, 0, 0, 1, 4, 0, 1}, {{4, 0, 0}, {3, 3, 3}}},
      {"absolute run past the row end", {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}, {{0, 0, 0}, {1, 2, 3}}},
      {"delta beyond the picture", {1, 6, 0, 2, 200, 200, 1, 7, 0, 1}, {{0, 0, 0}, {6, 0, 0}}},
      {"too many lines", {0, 0, 0, 0, 0, 0, 1, 8}, {{0, 0, 0}, {0, 0, 0}}},
      {"cut inside an absolute run", {1, 2, 0, 0, 0, 9, 1}, {{0, 0, 0}, {2, 0, 0}}},
      {"cut inside a delta", {1, 2, 0, 2, 1}, {{0, 0, 0}, {2, 0, 0}}},
      {"no data", {}, {{0, 0, 0}, {0, 0, 0}}},
  };
  for (const auto& c : cases) {
    LPBITMAPINFOHEADER dib = Read(RleBmp(8, 3, 2, c.data));
    ASSERT_NE(dib, nullptr) << c.what;
    EXPECT_EQ(Pixels(dib), c.pixels) << c.what;
    FreeDib(dib);
  }
  Bytes topDown = RleBmp(8, 3, 2, {1, 1, 0, 1});
  topDown[14 + 8 + 3] = 0xFF;
  topDown[14 + 8] = 0xFE;
  topDown[14 + 8 + 1] = topDown[14 + 8 + 2] = 0xFF;  // height -2
  EXPECT_EQ(Read(topDown), nullptr);
}

TEST(DibTest, PicturesAreBoundedByTheirPixelCount) {
  const struct {
    long long width, height;
    bool allowed;
  } cases[] = {{1, 1, true},          {16384, 1024, true},  {4096, 4096, true}, {16384, 1025, false},
               {4097, 4096, false},   {16385, 1, false},    {1, 16385, false},  {0, 5, false},
               {15360, 5160, false},  {-1, -1, false}};
  for (const auto& c : cases) EXPECT_EQ(IsDibSizeAllowed(c.width, c.height), c.allowed) << c.width << "x" << c.height;
  LPBITMAPINFOHEADER dib = CreateDib(1, 16384, 1024);
  EXPECT_NE(dib, nullptr);
  FreeDib(dib);
  EXPECT_EQ(CreateDib(1, 16384, 1025), nullptr);
  // A 62-byte file that declares 16384 x 16384 one-bit pixels is refused before any allocation.
  CBmpImage image;
  EXPECT_FALSE(image.Read(TEST_DATA_DIR "/images/declares-16384x16384.bmp"));
  EXPECT_FALSE(image.IsValid());
}

TEST(DibTest, LargerHeaderIsSkippedToTheColourTable) {
  Bytes b;
  PutLE(b, 108, 4);
  PutLE(b, 1, 4);
  PutLE(b, 1, 4);
  PutLE(b, 1, 2);
  PutLE(b, 8, 2);
  PutLE(b, 0, 4);
  PutLE(b, 0, 4);
  PutLE(b, 0, 4);
  PutLE(b, 0, 4);
  PutLE(b, 2, 4);  // two colours
  PutLE(b, 0, 4);
  b.resize(108, 0);
  PutLE(b, 0x000000, 4);
  PutLE(b, 0x00FF8040, 4);
  b.push_back(1);
  b.insert(b.end(), 3, 0);
  LPBITMAPINFOHEADER dib = Read(b);
  ASSERT_NE(dib, nullptr);
  const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + 40);
  EXPECT_EQ(table[1].rgbRed, 0xFF);
  EXPECT_EQ(table[1].rgbBlue, 0x40);
  EXPECT_EQ(GetDibBits(dib)[0], 1);
  FreeDib(dib);
}

TEST(DibTest, ShortPixelDataIsZeroFilled) {
  Bytes b = Bmp24(true, 2, 0);
  b.erase(b.end() - 10, b.end());
  LPBITMAPINFOHEADER dib = Read(b);
  ASSERT_NE(dib, nullptr);
  EXPECT_EQ(GetDibBits(dib)[5], 6);
  EXPECT_EQ(GetDibBits(dib)[8], 0);
  FreeDib(dib);
}

class BmpRoundTripTest : public ::testing::TestWithParam<int> {};

TEST_P(BmpRoundTripTest, WrittenAndReadBackEqual) {
  const int depth = GetParam();
  CBmpImage image;
  ASSERT_TRUE(image.Create(13, 5, depth, -1));
  if (depth <= 8) {
    BYTE red[256], green[256], blue[256];
    for (int i = 0; i < 256; ++i) {
      red[i] = static_cast<BYTE>(i * 7);
      green[i] = static_cast<BYTE>(255 - i);
      blue[i] = static_cast<BYTE>(i * 3);
    }
    ASSERT_TRUE(image.SetPalette(1 << depth, red, green, blue));
  }
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 13; ++x) {
      if (depth <= 8) image.SetIndex(x, y, (x * 5 + y * 3) % (1 << depth));
      else image.SetRGB(x, y, static_cast<BYTE>(x * 19), static_cast<BYTE>(y * 40), static_cast<BYTE>(x + y));
    }
  const std::string path = TempPath("roundtrip.bmp");
  ASSERT_TRUE(image.Write(path.c_str()));
  if (depth <= 8) {  // the table is in index form again
    const BYTE* table = reinterpret_cast<BYTE*>(image.GetDib()) + 40;
    EXPECT_EQ(table[2], 1);
    EXPECT_EQ(table[3], 0);
  }
  CBmpImage back;
  ASSERT_TRUE(back.Read(path.c_str()));
  EXPECT_EQ(back.GetDepth(), depth);
  EXPECT_EQ(back.GetPalette() != nullptr, depth <= 8);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 13; ++x) {
      BYTE r1, g1, b1, r2, g2, b2;
      ASSERT_TRUE(image.GetRGB(x, y, &r1, &g1, &b1));
      ASSERT_TRUE(back.GetRGB(x, y, &r2, &g2, &b2));
      EXPECT_EQ(image.GetIndex(x, y), back.GetIndex(x, y));
      EXPECT_EQ((r1 << 16) | (g1 << 8) | b1, (r2 << 16) | (g2 << 8) | b2) << x << "," << y;
    }
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTripTest, ::testing::Values(1, 4, 8, 24));

TEST(DibTest, FailedSecondReadKeepsThePicture) {
  CBmpImage image;
  const std::string path = TempPath("keep.bmp");
  WriteBytes(path, Bmp24(true, 2, 0));
  ASSERT_TRUE(image.Read(path.c_str()));
  EXPECT_FALSE(image.Read(TempPath("missing.bmp").c_str()));
  EXPECT_TRUE(image.IsValid());
  EXPECT_EQ(image.GetWidth(), 2);
  std::remove(path.c_str());
}

TEST(DibTest, DamagedFilesFailCleanly) {
  CBmpImage image;
  ASSERT_TRUE(image.Create(9, 7, 8, -1));
  BYTE grey[256];
  for (int i = 0; i < 256; ++i) grey[i] = static_cast<BYTE>(i);
  image.SetPalette(256, grey, grey, grey);
  const std::string path = TempPath("damaged.bmp");
  ASSERT_TRUE(image.Write(path.c_str()));
  const Bytes good = ReadBytes(path);
  ReadDamagedCopies(good, path, [](const std::string& p) {
    CBmpImage reader;
    if (reader.Read(p.c_str())) {
      EXPECT_TRUE(reader.IsValid());
      EXPECT_LE(reader.GetWidth(), kMaxDibSide);
    }
  });
}

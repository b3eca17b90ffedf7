#include "client/images/PngImage.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <memory>

#include "ImageTestFiles.h"

using namespace imagetest;

namespace {

struct PngSpec {
  int width{5};
  int height{9};
  int bitDepth{8};
  int colorType{PNG_COLOR_TYPE_RGB};
  bool interlaced{false};
};

int Channels(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    default: return 1;
  }
}

// Sample s of pixel (x, y), within the bit depth.
unsigned Sample(const PngSpec& spec, int x, int y, int s) {
  const unsigned most = (1u << spec.bitDepth) - 1;
  return (static_cast<unsigned>(x * 37 + y * 11 + s * 5)) % (most + 1);
}

// Writes a PNG with libpng itself; palette files get a palette of 2^depth entries.
void WritePng(const std::string& path, const PngSpec& spec) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(spec.width), static_cast<png_uint_32>(spec.height), spec.bitDepth,
               spec.colorType, spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color palette[256];
  if (spec.colorType == PNG_COLOR_TYPE_PALETTE) {
    for (int i = 0; i < (1 << spec.bitDepth); ++i)
      palette[i] = png_color{static_cast<png_byte>(i * 3), static_cast<png_byte>(255 - i), static_cast<png_byte>(i)};
    png_set_PLTE(png, info, palette, 1 << spec.bitDepth);
  }
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  const int channels = Channels(spec.colorType);
  std::vector<BYTE> row(static_cast<size_t>(spec.width * channels * 2 + 8));
  for (int pass = 0; pass < passes; ++pass)
    for (int y = 0; y < spec.height; ++y) {
      std::fill(row.begin(), row.end(), 0);
      for (int x = 0; x < spec.width; ++x)
        for (int s = 0; s < channels; ++s) {
          const unsigned v = Sample(spec, x, y, s);
          const int index = x * channels + s;
          if (spec.bitDepth == 16) {
            row[2 * index] = static_cast<BYTE>(v >> 8);
            row[2 * index + 1] = static_cast<BYTE>(v);
          } else if (spec.bitDepth == 8) {
            row[index] = static_cast<BYTE>(v);
          } else {
            const int bit = index * spec.bitDepth;
            row[bit / 8] |= static_cast<BYTE>(v << (8 - spec.bitDepth - bit % 8));
          }
        }
      png_write_row(png, row.data());
    }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

std::unique_ptr<CPngImage> ReadSpec(const PngSpec& spec, const char* name) {
  const std::string path = TempPath(name);
  WritePng(path, spec);
  auto image = std::make_unique<CPngImage>();
  EXPECT_TRUE(image->Read(path.c_str()));
  std::remove(path.c_str());
  return image;
}

}  // namespace

TEST(PngImageTest, PaletteFilesKeepIndicesAndColours) {
  for (int depth : {1, 2, 4, 8}) {
    const PngSpec spec{7, 3, depth, PNG_COLOR_TYPE_PALETTE, false};
    const auto imageHolder = ReadSpec(spec, "palette.png");
  CPngImage& image = *imageHolder;
    ASSERT_TRUE(image.IsValid()) << depth;
    EXPECT_EQ(image.GetDepth(), depth == 2 ? 8 : depth);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x) {
        const int index = static_cast<int>(Sample(spec, x, y, 0));
        ASSERT_EQ(image.GetIndex(x, image.GetHeight() - 1 - y), index) << depth;
        BYTE r, g, b;
        ASSERT_TRUE(image.GetRGB(x, image.GetHeight() - 1 - y, &r, &g, &b));
        EXPECT_EQ(r, static_cast<BYTE>(index * 3));
        EXPECT_EQ(g, static_cast<BYTE>(255 - index));
      }
  }
}

TEST(PngImageTest, GreyFilesGetAGreyRamp) {
  const PngSpec spec{6, 4, 8, PNG_COLOR_TYPE_GRAY, false};
  const auto imageHolder = ReadSpec(spec, "grey.png");
  CPngImage& image = *imageHolder;
  EXPECT_EQ(image.GetDepth(), 8);
  BYTE r, g, b;
  ASSERT_TRUE(image.GetRGB(2, 3, &r, &g, &b));
  EXPECT_EQ(r, Sample(spec, 2, 0, 0));
  EXPECT_EQ(b, r);
  const PngSpec oneBit{9, 2, 1, PNG_COLOR_TYPE_GRAY, false};
  const auto monoHolder = ReadSpec(oneBit, "mono.png");
  CPngImage& mono = *monoHolder;
  EXPECT_EQ(mono.GetDepth(), 1);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(mono.GetIndex(x, 1), static_cast<int>(Sample(oneBit, x, 0, 0)));
  ASSERT_TRUE(mono.GetPalette()->GetEntry(1, &r, &g, &b));
  EXPECT_EQ(r, 255);
  const PngSpec twoBit{5, 2, 2, PNG_COLOR_TYPE_GRAY, false};
  const auto fourLevelsHolder = ReadSpec(twoBit, "two.png");
  CPngImage& fourLevels = *fourLevelsHolder;
  EXPECT_EQ(fourLevels.GetDepth(), 8);
  for (int x = 0; x < 5; ++x) {
    ASSERT_TRUE(fourLevels.GetRGB(x, 1, &r, &g, &b));
    EXPECT_EQ(r, 255 * Sample(twoBit, x, 0, 0) / 3);
  }
}

TEST(PngImageTest, SixteenBitRgbStrippedToEight) {
  const PngSpec spec{4, 4, 16, PNG_COLOR_TYPE_RGB, false};
  const auto imageHolder = ReadSpec(spec, "sixteen.png");
  CPngImage& image = *imageHolder;
  EXPECT_EQ(image.GetDepth(), 24);
  BYTE r, g, b;
  ASSERT_TRUE(image.GetRGB(3, 3, &r, &g, &b));
  EXPECT_EQ(r, Sample(spec, 3, 0, 0) >> 8);
  EXPECT_EQ(b, Sample(spec, 3, 0, 2) >> 8);
}

TEST(PngImageTest, AlphaBlendsTowardsTheBackground) {
  PngSpec spec{1, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA, false};
  const std::string path = TempPath("alpha.png");
  // Sample(0,0,3) = 15: almost transparent, so the pixel is near the background colour.
  WritePng(path, spec);
  CPngImage image;
  ASSERT_TRUE(image.Read(path.c_str()));
  EXPECT_EQ(image.GetDepth(), 24);
  BYTE r, g, b;
  ASSERT_TRUE(image.GetRGB(0, 0, &r, &g, &b));
  EXPECT_NEAR(r, 31 * 240 / 255, 2);
  EXPECT_NEAR(g, (127 * 240 + 5 * 15) / 255, 2);
  EXPECT_NEAR(b, (255 * 240 + 10 * 15) / 255, 2);
  spec.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
  WritePng(path, spec);
  ASSERT_TRUE(image.Read(path.c_str()));
  EXPECT_EQ(image.GetDepth(), 8);
  std::remove(path.c_str());
}

TEST(PngImageTest, InterlacedEqualsPlain) {
  PngSpec spec{13, 11, 8, PNG_COLOR_TYPE_RGB, false};
  const auto plainHolder = ReadSpec(spec, "plain.png");
  CPngImage& plain = *plainHolder;
  spec.interlaced = true;
  const auto interlacedHolder = ReadSpec(spec, "adam7.png");
  CPngImage& interlaced = *interlacedHolder;
  ASSERT_EQ(plain.GetEffWidth(), interlaced.GetEffWidth());
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 13; ++x) {
      BYTE r1, g1, b1, r2, g2, b2;
      plain.GetRGB(x, y, &r1, &g1, &b1);
      interlaced.GetRGB(x, y, &r2, &g2, &b2);
      ASSERT_EQ((r1 << 16) | (g1 << 8) | b1, (r2 << 16) | (g2 << 8) | b2);
    }
}

TEST(PngImageTest, TwentyFourBitRoundTrip) {
  CPngImage image;
  ASSERT_TRUE(image.Create(7, 5, 24, -1));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) image.SetRGB(x, y, static_cast<BYTE>(x * 30), static_cast<BYTE>(y * 50), 200);
  const std::string path = TempPath("round.png");
  ASSERT_TRUE(image.Write(path.c_str()));
  CPngImage back;
  ASSERT_TRUE(back.Read(path.c_str()));
  ASSERT_EQ(back.GetDepth(), 24);
  EXPECT_EQ(std::memcmp(image.GetBits(), back.GetBits(), static_cast<size_t>(image.GetEffWidth() * 5)), 0);
  std::remove(path.c_str());
}

TEST(PngImageTest, DamagedFilesFailCleanly) {
  const std::string path = TempPath("damaged.png");
  WritePng(path, PngSpec{17, 13, 8, PNG_COLOR_TYPE_PALETTE, true});
  const Bytes good = ReadBytes(path);
  ReadDamagedCopies(good, path, [](const std::string& p) {
    CPngImage reader;
    if (reader.Read(p.c_str())) {
      EXPECT_TRUE(reader.IsValid());
    }
  });
}

#include "client/images/JpegImage.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>

#include "ImageTestFiles.h"

extern "C" {
#include <jpeglib.h>
}

using namespace imagetest;

namespace {

// Four flat colour quarters with a soft gradient, as RGB.
void QuarterColour(int x, int y, JSAMPLE* rgb) {
  static const JSAMPLE kColours[4][3] = {{220, 30, 30}, {30, 200, 40}, {40, 60, 210}, {230, 220, 50}};
  const JSAMPLE* c = kColours[(x >= 24 ? 1 : 0) + (y >= 16 ? 2 : 0)];
  for (int i = 0; i < 3; ++i) rgb[i] = static_cast<JSAMPLE>(c[i] - (x % 24) / 4);
}

// Writes a 48 x 32 JPEG with libjpeg itself, colour or greyscale, at high quality.
void WriteJpeg(const std::string& path, bool grey) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  jpeg_stdio_dest(&info, file);
  info.image_width = 48;
  info.image_height = 32;
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  JSAMPLE row[48 * 3];
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) {
      if (grey) row[x] = static_cast<JSAMPLE>(x * 5 + y);
      else QuarterColour(x, y, row + 3 * x);
    }
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

}  // namespace

TEST(JpegImageTest, ColourJpegReadsAsAtMost128ColoursNearTheOriginal) {
  const std::string path = TempPath("colour.jpg");
  WriteJpeg(path, false);
  CJpegImage image;
  ASSERT_TRUE(image.Read(path.c_str()));
  EXPECT_EQ(image.GetDepth(), 8);
  ASSERT_NE(image.GetPalette(), nullptr);
  EXPECT_LE(image.GetPalette()->GetEntryCount(), 128);
  long error = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x) {
      JSAMPLE want[3];
      QuarterColour(x, y, want);
      BYTE got[3];
      ASSERT_TRUE(image.GetRGB(x, 31 - y, &got[0], &got[1], &got[2]));
      for (int i = 0; i < 3; ++i) error += std::abs(got[i] - want[i]);
    }
  EXPECT_LE(error / (48 * 32 * 3), 12);  // dithering moves single pixels further
  std::remove(path.c_str());
}

TEST(JpegImageTest, GreyJpegGetsTheFullGreyRamp) {
  const std::string path = TempPath("grey.jpg");
  WriteJpeg(path, true);
  CJpegImage image;
  ASSERT_TRUE(image.Read(path.c_str()));
  EXPECT_EQ(image.GetPalette()->GetEntryCount(), 256);
  BYTE r, g, b;
  ASSERT_TRUE(image.GetRGB(40, 31, &r, &g, &b));
  EXPECT_NEAR(r, 200, 6);
  EXPECT_EQ(r, b);
  std::remove(path.c_str());
}

TEST(JpegImageTest, WrittenRedStaysRed) {
  CJpegImage image;
  ASSERT_TRUE(image.Create(16, 16, 24, -1));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) image.SetRGB(x, y, 255, 0, 0);
  const std::string path = TempPath("red.jpg");
  ASSERT_TRUE(image.Write(path.c_str()));
  CJpegImage back;
  ASSERT_TRUE(back.Read(path.c_str()));
  BYTE r, g, b;
  ASSERT_TRUE(back.GetRGB(8, 8, &r, &g, &b));
  EXPECT_GT(r, 200);
  EXPECT_LT(g, 60);
  EXPECT_LT(b, 60);
  std::remove(path.c_str());
}

TEST(JpegImageTest, FailedWriteLeavesNoFile) {
  CJpegImage empty;
  const std::string path = TempPath("none.jpg");
  EXPECT_FALSE(empty.Write(path.c_str()));
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(JpegImageTest, DamagedFilesFailCleanly) {
  const std::string path = TempPath("damaged.jpg");
  WriteJpeg(path, false);
  const Bytes good = ReadBytes(path);
  ReadDamagedCopies(good, path, [](const std::string& p) {
    CJpegImage reader;
    if (reader.Read(p.c_str())) {
      EXPECT_TRUE(reader.IsValid());
    }
  });
}

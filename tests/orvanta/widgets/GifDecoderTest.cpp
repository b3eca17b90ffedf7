// The banner control's GIF reader on valid, interlaced, animated and damaged files: decoded
// pixels are compared with the pixels written, damage yields fewer frames but never a read outside
// the data or a walk that does not end.

#include <gtest/gtest.h>

#include <random>

#include "orvanta/widgets/GifDecoder.h"
#include "tests/orvanta/widgets/GifWriter.h"

namespace {

const std::vector<std::uint32_t> kPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                                             0xFFFFFF, 0x808080, 0xFFFF00, 0x00FFFF};

giftest::Image Noise(int width, int height, unsigned seed, int colours = 8) {
  giftest::Image image;
  image.width = width;
  image.height = height;
  std::mt19937 random(seed);
  for (int i = 0; i < width * height; ++i)
    image.pixels.push_back(static_cast<std::uint8_t>(random() % static_cast<unsigned>(colours)));
  return image;
}

bool Load(CGifDecoder& decoder, const std::string& file) {
  return decoder.Load(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
}

// The frame's pixels without the stride padding.
std::vector<std::uint8_t> Unpadded(const CGifDecoder::Frame& frame) {
  std::vector<std::uint8_t> pixels;
  for (int row = 0; row < frame.height; ++row)
    for (int column = 0; column < frame.width; ++column)
      pixels.push_back(frame.pixels[static_cast<std::size_t>(row * frame.stride + column)]);
  return pixels;
}

TEST(GifDecoderTest, PlainInterlacedAndFullTableImagesDecodePixelExact) {
  struct Case {
    const char* name;
    int width;
    int height;
    bool interlaced;
    int clearEvery;
    int colours;
  };
  const Case cases[] = {
      {"odd width (stride padding)", 13, 7, false, 4000, 8},
      {"interlaced", 21, 10, true, 4000, 8},
      {"interlaced, one row", 5, 1, true, 4000, 8},
      {"table filled to 4096 without a clear", 200, 150, false, 0, 8},
      {"interlaced, table filled without a clear", 200, 150, true, 0, 8},
      {"two colours", 40, 3, false, 4000, 2},
  };
  for (const Case& c : cases) {
    const giftest::Image image = Noise(c.width, c.height, static_cast<unsigned>(c.width * 31 + c.height), c.colours);
    const std::vector<std::uint32_t> palette(kPalette.begin(), kPalette.begin() + c.colours);
    CGifDecoder decoder;
    ASSERT_TRUE(Load(decoder, giftest::Write(c.width, c.height, palette, {image}, true, c.clearEvery))) << c.name;
    CGifDecoder::Frame frame;
    ASSERT_TRUE(decoder.NextFrame(frame)) << c.name;
    EXPECT_EQ(frame.stride % 4, 0) << c.name;
    EXPECT_GE(frame.stride, frame.width) << c.name;
    EXPECT_EQ(Unpadded(frame), image.pixels) << c.name;
    EXPECT_EQ(frame.palette[1], c.colours > 1 ? palette[1] : 0u) << c.name;
    EXPECT_EQ(frame.palette[200], 0u) << c.name;  // past the table: black
  }
}

TEST(GifDecoderTest, AnInterlacedImageFillsItsRowsInThePassOrder) {
  // Each stored row is one colour: stored row k is painted k, so the display row shows which
  // stored row landed on it.
  giftest::Image image;
  image.width = 4;
  image.height = 10;
  image.interlaced = true;
  const int displayOrder[] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
  image.pixels.assign(40, 0);
  for (int stored = 0; stored < 10; ++stored)
    for (int x = 0; x < 4; ++x)
      image.pixels[static_cast<std::size_t>(displayOrder[stored] * 4 + x)] = static_cast<std::uint8_t>(stored);
  std::vector<std::uint32_t> palette(16);
  CGifDecoder decoder;
  ASSERT_TRUE(Load(decoder, giftest::Write(4, 10, palette, {image})));
  CGifDecoder::Frame frame;
  ASSERT_TRUE(decoder.NextFrame(frame));
  for (int stored = 0; stored < 10; ++stored)
    EXPECT_EQ(frame.pixels[static_cast<std::size_t>(displayOrder[stored] * frame.stride)], stored) << stored;
}

TEST(GifDecoderTest, AnimationKeepsDelaysTransparencyAndLoopsAtTheTrailer) {
  giftest::Image first = Noise(8, 8, 1);
  first.control = true;
  first.delay = 25;
  first.transparent = true;
  first.transparentIndex = 3;
  first.disposalMethod = 2;
  giftest::Image second = Noise(4, 4, 2);
  second.left = 2;
  second.top = 3;
  giftest::Image third = Noise(8, 8, 3);
  third.control = true;
  third.delay = 0;
  CGifDecoder decoder;
  ASSERT_TRUE(Load(decoder, giftest::Write(8, 8, kPalette, {first, second, third})));
  CGifDecoder::Frame frame;
  ASSERT_TRUE(decoder.NextFrame(frame));
  EXPECT_EQ(frame.DelayMs(), 250);
  EXPECT_TRUE(frame.transparent);
  EXPECT_EQ(frame.transparentIndex, 3);
  EXPECT_EQ(frame.disposal, 8);
  // The graphic control's delay and transparency stay in force for the next image without one; its
  // disposal does not: that image stays on the canvas.
  ASSERT_TRUE(decoder.NextFrame(frame));
  EXPECT_EQ(frame.left, 2);
  EXPECT_EQ(frame.top, 3);
  EXPECT_EQ(frame.DelayMs(), 250);
  EXPECT_TRUE(frame.transparent);
  EXPECT_EQ(frame.disposal, 0);
  EXPECT_EQ(Unpadded(frame), second.pixels);
  ASSERT_TRUE(decoder.NextFrame(frame));
  EXPECT_EQ(frame.DelayMs(), 50);  // a delay of 0 shows the default
  // The trailer starts again from the first image.
  ASSERT_TRUE(decoder.NextFrame(frame));
  EXPECT_EQ(Unpadded(frame), first.pixels);
}

TEST(GifDecoderTest, AGif87WithoutGraphicControlAnimatesAtTheDefaultDelay) {
  CGifDecoder decoder;
  ASSERT_TRUE(Load(decoder, giftest::Write(6, 6, kPalette, {Noise(6, 6, 4), Noise(6, 6, 5)}, false)));
  CGifDecoder::Frame frame;
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(decoder.NextFrame(frame));
    EXPECT_EQ(frame.DelayMs(), CGifDecoder::kDefaultDelayMs);
    EXPECT_FALSE(frame.transparent);
  }
}

TEST(GifDecoderTest, DamagedFilesYieldNoFrameAndNeverLoopForEver) {
  const std::string good = giftest::Write(16, 16, kPalette, {Noise(16, 16, 6)});
  CGifDecoder decoder;
  CGifDecoder::Frame frame;
  // Files refused whole.
  EXPECT_FALSE(Load(decoder, "GIF88a" + good.substr(6)));
  EXPECT_FALSE(Load(decoder, good.substr(0, 12)));
  EXPECT_FALSE(Load(decoder, good.substr(0, 20)));  // the global table is cut short
  std::string huge = good;
  huge[6] = '\xFF';
  huge[7] = '\xFF';
  EXPECT_FALSE(Load(decoder, huge));
  EXPECT_FALSE(decoder.IsLoaded());

  // A stream with no image block: the walk ends after one pass.
  std::string noImage = good.substr(0, 13 + 24) + "\x21\xFE\x03" "abc" + std::string(1, '\0') + ";";
  ASSERT_TRUE(Load(decoder, noImage));
  EXPECT_FALSE(decoder.NextFrame(frame));
  EXPECT_FALSE(decoder.NextFrame(frame));

  // An unknown extension label ends the walk with no frame.
  std::string unknown = good;
  unknown.insert(13 + 24, "\x21\x77\x00");
  ASSERT_TRUE(Load(decoder, unknown));
  EXPECT_FALSE(decoder.NextFrame(frame));

  // An image larger than the limit is skipped.
  giftest::Image wide = Noise(4, 4, 7);
  std::string tooWide = giftest::Write(16, 16, kPalette, {wide});
  const std::size_t descriptor = tooWide.find(',', 13 + 24);
  tooWide[descriptor + 5] = '\x00';
  tooWide[descriptor + 6] = '\x7F';
  ASSERT_TRUE(Load(decoder, tooWide));
  EXPECT_FALSE(decoder.NextFrame(frame));

  // Every truncation and every single-byte change of a good file: decoding ends (ASan checks the
  // reads).
  for (std::size_t cut = 13; cut < good.size(); ++cut) {
    if (!Load(decoder, good.substr(0, cut)))
      continue;
    for (int step = 0; step < 4; ++step)
      decoder.NextFrame(frame);
  }
  std::mt19937 random(99);
  for (int trial = 0; trial < 400; ++trial) {
    std::string damaged = good;
    damaged[13 + random() % (damaged.size() - 13)] = static_cast<char>(random());
    if (!Load(decoder, damaged))
      continue;
    for (int step = 0; step < 4; ++step)
      decoder.NextFrame(frame);
  }
}

TEST(GifDecoderTest, ACodeNotYetDefinedEndsTheImage) {
  // Minimum size 2: clear (4), then code 7 while only 6 is next: corrupt.
  std::string file = giftest::Write(2, 2, kPalette, {Noise(2, 2, 8)});
  const std::size_t data = file.find(',', 13 + 24) + 10;
  ASSERT_EQ(file[data], '\x03');  // minimum code size of the 8-colour table
  // Codes of 4 bits: clear (8), then 11 (undefined, the next free is 10).
  file.replace(data + 1, std::string::npos, std::string("\x02\xB8\x00", 3) + std::string("\x00;", 2));
  CGifDecoder decoder;
  ASSERT_TRUE(Load(decoder, file));
  CGifDecoder::Frame frame;
  EXPECT_FALSE(decoder.NextFrame(frame));
}

}  // namespace

// The banner control composing an animation on its canvas (position, transparency, disposal) and
// its animation thread, which stops promptly even in the middle of a long delay.

#include <chrono>

#include "orvanta/widgets/GifAnimCtrl.h"
#include "tests/orvanta/widgets/GifWriter.h"
#include "tests/orvanta/widgets/WidgetHost.h"

namespace {

using namespace widgets_test;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

giftest::Image Fill(int left, int top, int width, int height, std::uint8_t index) {
  giftest::Image image;
  image.left = left;
  image.top = top;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width * height), index);
  return image;
}

class GifAnimCtrlTest : public WidgetTest {
protected:
  void SetUp() override {
    WidgetTest::SetUp();
    ASSERT_TRUE(banner.Create("", WS_CHILD | WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 8, 8), &host, 1461));
  }
  void TearDown() override {
    banner.Stop();
    WidgetTest::TearDown();
  }
  BOOL Load(const std::string& file) {
    return banner.LoadBytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  }
  std::uint32_t At(int x, int y) { return banner.CopyCanvas()[static_cast<std::size_t>(y * 8 + x)]; }

  CGifAnimCtrl banner;
};

TEST_F(GifAnimCtrlTest, FramesComposeWithTransparencyAndDisposal) {
  const std::vector<std::uint32_t> palette = {kBlack, kRed, kGreen, kBlue};
  giftest::Image background = Fill(0, 0, 8, 8, 1);  // red everywhere
  background.control = true;
  background.delay = 25;
  giftest::Image patch = Fill(2, 2, 4, 4, 2);        // green square, restored afterwards
  patch.pixels[0] = 3;                               // its corner is the transparent index
  patch.control = true;
  patch.transparent = true;
  patch.transparentIndex = 3;
  patch.disposalMethod = 2;
  giftest::Image mark = Fill(0, 7, 1, 1, 2);         // green mark without a control of its own, kept
  giftest::Image dot = Fill(7, 7, 1, 1, 3);          // blue dot, kept
  dot.control = true;
  ASSERT_TRUE(Load(giftest::Write(8, 8, palette, {background, patch, mark, dot})));
  EXPECT_EQ(banner.GetScreenWidth(), 8);

  EXPECT_EQ(banner.ComposeNextFrame(), 250);
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(banner.ComposeNextFrame(), 50);
  EXPECT_EQ(At(3, 3), kGreen);
  EXPECT_EQ(At(2, 2), kRed);  // transparent: what was there shows through
  EXPECT_EQ(At(6, 6), kRed);
  // The square goes with the next frame; the mark, whose image came after the square's control,
  // stays, as does the dot after it.
  EXPECT_EQ(banner.ComposeNextFrame(), 50);
  EXPECT_EQ(At(3, 3), kRed);
  EXPECT_EQ(At(0, 7), kGreen);
  EXPECT_EQ(banner.ComposeNextFrame(), 50);
  EXPECT_EQ(At(0, 7), kGreen);
  EXPECT_EQ(At(7, 7), kBlue);
  // The trailer starts over with the first image, which covers the dot.
  EXPECT_EQ(banner.ComposeNextFrame(), 250);
  EXPECT_EQ(At(7, 7), kRed);
  banner.ComposeNextFrame();
  EXPECT_TRUE(banner.Rewind());
  EXPECT_EQ(At(3, 3), kRed);
}

TEST_F(GifAnimCtrlTest, AFileWithoutImagesOrNotAGifLeavesTheControlEmpty) {
  EXPECT_FALSE(Load("not a gif"));
  EXPECT_EQ(banner.ComposeNextFrame(), -1);
  banner.Play();
  EXPECT_EQ(banner.GetState(), CGifAnimCtrl::kIdle);
  std::string noImage = giftest::Write(4, 4, {kBlack, kRed}, {});
  ASSERT_TRUE(Load(noImage));
  EXPECT_EQ(banner.ComposeNextFrame(), -1);
  EXPECT_FALSE(banner.Load("/nonexistent/banner.gif"));
}

TEST_F(GifAnimCtrlTest, TheThreadAnimatesAndStopsPromptlyDuringALongDelay) {
  giftest::Image first = Fill(0, 0, 8, 8, 1);
  first.control = true;
  first.delay = 1000;  // ten seconds
  giftest::Image second = Fill(0, 0, 8, 8, 2);
  ASSERT_TRUE(Load(giftest::Write(8, 8, {kBlack, kRed, kGreen}, {first, second})));
  banner.Play();
  EXPECT_EQ(banner.GetState(), CGifAnimCtrl::kRunning);
  ASSERT_TRUE(platform::RunUntil([&] { return !banner.CopyCanvas().empty() && At(0, 0) == kRed; }, 2000));
  const auto begun = std::chrono::steady_clock::now();
  banner.Stop();
  const auto waited = std::chrono::steady_clock::now() - begun;
  EXPECT_EQ(banner.GetState(), CGifAnimCtrl::kStopped);
  EXPECT_LT(waited, std::chrono::seconds(2));
  EXPECT_EQ(At(0, 0), kRed);  // the second frame never came
  // Playing again starts from the first frame; loading another file stops the thread first.
  banner.Play();
  ASSERT_TRUE(Load(giftest::Write(8, 8, {kBlack, kBlue}, {Fill(0, 0, 8, 8, 1)})));
  EXPECT_NE(banner.GetState(), CGifAnimCtrl::kRunning);
}

}  // namespace

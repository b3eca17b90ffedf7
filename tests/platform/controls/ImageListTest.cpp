#include "platform/controls.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);

// A canvas to draw on and a strip of two 8x8 images: red with a magenta hole, then blue.
class ImageListTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(canvas.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(canvasBitmap.CreateBitmap(32, 16, 1, 32, nullptr));
    oldCanvas = canvas.SelectObject(&canvasBitmap);
    canvas.FillSolidRect(0, 0, 32, 16, kGreen);

    CDC painter;
    ASSERT_TRUE(painter.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(strip.CreateBitmap(16, 8, 1, 32, nullptr));
    CBitmap* old = painter.SelectObject(&strip);
    painter.FillSolidRect(0, 0, 8, 8, kRed);
    painter.FillSolidRect(2, 2, 4, 4, kMagenta);
    painter.FillSolidRect(8, 0, 8, 8, kBlue);
    painter.SelectObject(old);
  }
  void TearDown() override { canvas.SelectObject(oldCanvas); }

  CDC canvas;
  CBitmap canvasBitmap;
  CBitmap* oldCanvas{nullptr};
  CBitmap strip;
};

TEST_F(ImageListTest, MaskedImagesLeaveTheBackgroundShowing) {
  CImageList images;
  ASSERT_TRUE(images.Create(8, 8, ILC_COLOR32 | ILC_MASK, 2, 2));
  EXPECT_EQ(images.Add(&strip, kMagenta), 0);
  EXPECT_EQ(images.GetImageCount(), 2);
  ASSERT_TRUE(images.Draw(&canvas, 0, CPoint(0, 0), ILD_TRANSPARENT));
  EXPECT_EQ(canvas.GetPixel(0, 0), kRed);
  EXPECT_EQ(canvas.GetPixel(3, 3), kGreen);  // the hole
  ASSERT_TRUE(images.Draw(&canvas, 1, CPoint(10, 0), ILD_NORMAL));
  EXPECT_EQ(canvas.GetPixel(12, 3), kBlue);
  EXPECT_FALSE(images.Draw(&canvas, 2, CPoint(0, 0), ILD_NORMAL));
  EXPECT_FALSE(images.Draw(&canvas, -1, CPoint(0, 0), ILD_NORMAL));
}

TEST_F(ImageListTest, Blend50MixesWithTheHighlightAndMaskDrawsTheMask) {
  CImageList images;
  ASSERT_TRUE(images.Create(8, 8, ILC_COLOR32 | ILC_MASK, 2, 2));
  images.Add(&strip, kMagenta);
  ASSERT_TRUE(images.Draw(&canvas, 1, CPoint(0, 8), ILD_BLEND50));
  COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  COLORREF blended = canvas.GetPixel(1, 9);
  EXPECT_NE(blended, kBlue);
  EXPECT_EQ(GetRValue(blended), (GetRValue(kBlue) + GetRValue(highlight)) / 2);
  ASSERT_TRUE(images.Draw(&canvas, 0, CPoint(16, 0), ILD_MASK));
  EXPECT_EQ(canvas.GetPixel(16, 0), RGB(0, 0, 0));
  EXPECT_EQ(canvas.GetPixel(19, 3), RGB(255, 255, 255));
}

TEST_F(ImageListTest, WithoutMaskEveryPixelIsDrawnAndBadHandlesAreRefused) {
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 1, 1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_AddMasked(list, strip, kMagenta), 0);
  ASSERT_TRUE(ImageList_Draw(list, 0, canvas, 0, 0, ILD_TRANSPARENT));
  EXPECT_EQ(canvas.GetPixel(3, 3), kMagenta);
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_Add(list, strip, nullptr), -1);
  EXPECT_EQ(ImageList_Create(0, 8, ILC_MASK, 1, 1), nullptr);
}

}  // namespace

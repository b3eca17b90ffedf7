#include "client/images/Image.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ImageTestFiles.h"
#include "client/images/BmpImage.h"
#include "client/images/GifImage.h"
#include "platform/files.h"
#include "platform/strings.h"

using namespace imagetest;

namespace {

void MakeGreyBmp(const std::string& path, int width, int height, int shade) {
  CImage image;
  ASSERT_TRUE(image.Create(width, height, 24, -1));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetRGB(x, y, static_cast<BYTE>(shade), static_cast<BYTE>(shade), 9);
  ASSERT_TRUE(image.SaveFile(path.c_str()));
}

}  // namespace

TEST(ImageTest, TypeFromExtension) {
  EXPECT_EQ(CImage::GetTypeFromExtension("a.jpg"), kImageJpeg);
  EXPECT_EQ(CImage::GetTypeFromExtension("dir.x/A.JPG"), kImageJpeg);
  EXPECT_EQ(CImage::GetTypeFromExtension("a.Bmp"), kImageBmp);
  EXPECT_EQ(CImage::GetTypeFromExtension("a.gif"), kImageGif);
  EXPECT_EQ(CImage::GetTypeFromExtension("a.png"), kImagePng);
  EXPECT_EQ(CImage::GetTypeFromExtension("a.xpm"), kImageXpm);
  EXPECT_EQ(CImage::GetTypeFromExtension("a.jpeg"), kImageUnknown);
  EXPECT_EQ(CImage::GetTypeFromExtension("a."), kImageUnknown);
  EXPECT_EQ(CImage::GetTypeFromExtension("noext"), kImageUnknown);
  EXPECT_EQ(CImage::GetTypeFromExtension("a.pngx"), kImageUnknown);
}

TEST(ImageTest, UnsupportedTypesHaveNoImplementation) {
  CImage image;
  EXPECT_FALSE(image.ReadFile("photo.xpm"));
  EXPECT_FALSE(image.ReadFile("photo.jpeg"));
  EXPECT_EQ(image.GetImplementation(), nullptr);
  EXPECT_EQ(image.GetWidth(), 0);
  EXPECT_EQ(image.GetIndex(0, 0), -1);
  EXPECT_FALSE(image.SaveFile("x.bmp"));
}

TEST(ImageTest, SecondReadOfSameTypeReplacesPicture) {
  const std::string first = TempPath("first.bmp"), second = TempPath("second.bmp");
  MakeGreyBmp(first, 3, 2, 10);
  MakeGreyBmp(second, 5, 4, 200);
  CImage image;
  ASSERT_TRUE(image.ReadFile(first.c_str()));
  const CImageImpl* implementation = image.GetImplementation();
  ASSERT_TRUE(image.ReadFile(second.c_str()));
  EXPECT_EQ(image.GetImplementation(), implementation);
  EXPECT_EQ(image.GetWidth(), 5);
  BYTE r, g, b;
  ASSERT_TRUE(image.GetRGB(4, 3, &r, &g, &b));
  EXPECT_EQ(r, 200);
  EXPECT_EQ(image.GetIndex(1, 1), -1);  // 24 bits
  EXPECT_EQ(image.GetIndex(5, 0), -1);
  std::remove(first.c_str());
  std::remove(second.c_str());
}

TEST(ImageTest, SaveFileConvertsBetweenFormats) {
  CImage image;
  ASSERT_TRUE(image.Create(4, 3, 8, -1));
  BYTE grey[256];
  for (int i = 0; i < 256; ++i) grey[i] = static_cast<BYTE>(i);
  ASSERT_TRUE(image.SetPalette(256, grey, grey, grey));
  image.SetIndex(2, 1, 77);
  const std::string path = TempPath("converted.gif");
  ASSERT_TRUE(image.SaveFile(path.c_str()));
  EXPECT_EQ(image.GetType(), kImageGif);
  EXPECT_NE(dynamic_cast<CGifImage*>(image.GetImplementation()), nullptr);
  EXPECT_EQ(image.GetIndex(2, 1), 77);
  CImage back;
  ASSERT_TRUE(back.ReadFile(path.c_str()));
  EXPECT_EQ(back.GetIndex(2, 1), 77);
  EXPECT_FALSE(image.SaveFile("x.xpm"));
  EXPECT_EQ(image.GetIndex(2, 1), 77);  // the old implementation is kept
  std::remove(path.c_str());
}

TEST(ImageTest, PackedPixelsAddressedAtTheirBits) {
  CImage image;
  ASSERT_TRUE(image.Create(10, 2, 1, -1));
  image.SetIndex(9, 0, 1);
  image.SetIndex(3, 0, 1);
  EXPECT_EQ(image.GetIndex(9, 0), 1);
  EXPECT_EQ(image.GetIndex(8, 0), 0);
  EXPECT_EQ(image.GetIndex(3, 0), 1);
  EXPECT_EQ(image.GetBits()[0], 0x10);
  EXPECT_EQ(image.GetBits()[1], 0x40);
  EXPECT_EQ(image.GetEffWidth(), 4);
}

TEST(ImageTest, TransparentIndexLeavesBackgroundVisible) {
  CImage image;
  ASSERT_TRUE(image.Create(2, 1, 8, -1));
  const BYTE rgb[] = {255, 255, 255, 0, 0, 0, 200, 10, 10};
  ASSERT_TRUE(image.SetPalette(3, rgb));
  image.SetIndex(0, 0, 2);
  image.SetIndex(1, 0, 1);
  image.GetImplementation()->SetTransparentIndex(1);
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  CBitmap target;
  ASSERT_TRUE(target.CreateBitmap(2, 1, 1, 32, nullptr));
  CBitmap* old = dc.SelectObject(&target);
  dc.FillSolidRect(0, 0, 2, 1, RGB(0, 128, 255));
  dc.SelectPalette(image.GetPalette(), FALSE);
  ASSERT_TRUE(image.Stretch(&dc, 0, 0));
  EXPECT_EQ(dc.GetPixel(1, 0), RGB(0, 128, 255));
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(200, 10, 10));
  dc.SelectObject(old);
}

TEST(ImageTest, MakeBitmapGivesTheImageSize) {
  CImage image;
  EXPECT_EQ(image.MakeBitmap(), nullptr);
  ASSERT_TRUE(image.Create(6, 4, 24, -1));
  std::unique_ptr<CBitmap> bitmap(image.MakeBitmap());
  ASSERT_NE(bitmap, nullptr);
  BITMAP description{};
  bitmap->GetBitmap(&description);
  EXPECT_EQ(description.bmWidth, 6);
  EXPECT_EQ(description.bmHeight, 4);
}

namespace {

// A memory context over a width x height true-colour bitmap filled with a marker colour.
class DrawTarget {
public:
  static constexpr COLORREF kMarker = RGB(1, 2, 3);
  DrawTarget(int width, int height) {
    EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
    EXPECT_TRUE(bitmap.CreateBitmap(width, height, 1, 32, nullptr));
    old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, width, height, kMarker);
  }
  ~DrawTarget() { dc.SelectObject(old); }

  CDC dc;
  CBitmap bitmap;
  CBitmap* old{nullptr};
};

// The program names files in its own text (code page 949); every format writes and reads them
// under their UTF-8 names on disk.
TEST(ImageTest, FilesWithKoreanNamesAreWrittenAndReadUnderTheirOwnNames) {
  platform::TempDir dir;
  for (const char* ext : {"bmp", "gif", "jpg", "png"}) {
    SCOPED_TRACE(ext);
    const CString name = CString(dir.Path().c_str()) + Cp949("/기보 사진.") + ext;
    CImage image;
    ASSERT_TRUE(image.Create(6, 5, 8, -1));
    BYTE grey[256];
    for (int i = 0; i < 256; ++i) grey[i] = static_cast<BYTE>(i);
    ASSERT_TRUE(image.SetPalette(256, grey, grey, grey));
    ASSERT_TRUE(image.SaveFile(name));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() + "/기보 사진." + ext));
    CImage back;
    ASSERT_TRUE(back.ReadFile(name));
    EXPECT_EQ(back.GetWidth(), 6);
    EXPECT_EQ(back.GetHeight(), 5);
  }
}

}  // namespace

// Pictures land on the context the right way up, at the given place, in their own colours, as
// the photograph pane draws them; partial draws take the source rectangle from the bottom row.
TEST(ImageTest, DrawPutsPicturesUprightAtTheirPlaceInTheirColours) {
  constexpr int kWidth = 3, kHeight = 2;
  // Picture rows top first: red green blue / white black grey.
  const COLORREF picture[kHeight][kWidth] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                             {RGB(255, 255, 255), RGB(0, 0, 0), RGB(128, 128, 128)}};
  CImage colour;
  ASSERT_TRUE(colour.Create(kWidth, kHeight, 24, -1));
  CImage paletted;
  ASSERT_TRUE(paletted.Create(kWidth, kHeight, 8, -1));
  BYTE rgb[3 * kWidth * kHeight];
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const COLORREF c = picture[y][x];
      // Entries in reverse order: an index drawn as a colour would show.
      BYTE* entry = rgb + 3 * (kWidth * kHeight - 1 - (y * kWidth + x));
      entry[0] = GetRValue(c);
      entry[1] = GetGValue(c);
      entry[2] = GetBValue(c);
      ASSERT_TRUE(colour.SetRGB(x, kHeight - 1 - y, GetRValue(c), GetGValue(c), GetBValue(c)));
    }
  ASSERT_TRUE(paletted.SetPalette(kWidth * kHeight, rgb));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) ASSERT_TRUE(paletted.SetIndex(x, kHeight - 1 - y, kWidth * kHeight - 1 - (y * kWidth + x)));

  for (CImage* image : {&colour, &paletted}) {
    SCOPED_TRACE(image->GetDepth());
    DrawTarget target(8, 6);
    if (image->GetPalette() != nullptr) target.dc.SelectPalette(image->GetPalette(), FALSE);
    ASSERT_TRUE(image->Draw(&target.dc, 4, 3));
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        const bool inside = x >= 4 && x < 4 + kWidth && y >= 3 && y < 3 + kHeight;
        EXPECT_EQ(target.dc.GetPixel(x, y), inside ? picture[y - 3][x - 4] : DrawTarget::kMarker) << x << "," << y;
      }
    // Two columns of the bottom picture row, from its second column on.
    DrawTarget part(4, 3);
    if (image->GetPalette() != nullptr) part.dc.SelectPalette(image->GetPalette(), FALSE);
    ASSERT_TRUE(image->Draw(&part.dc, 1, 1, 2, 1, 1, 0));
    EXPECT_EQ(part.dc.GetPixel(1, 1), picture[1][1]);
    EXPECT_EQ(part.dc.GetPixel(2, 1), picture[1][2]);
    EXPECT_EQ(part.dc.GetPixel(3, 1), DrawTarget::kMarker);
    EXPECT_EQ(part.dc.GetPixel(1, 0), DrawTarget::kMarker);
    EXPECT_EQ(part.dc.GetPixel(1, 2), DrawTarget::kMarker);
  }
  CImage empty;
  DrawTarget target(2, 2);
  EXPECT_FALSE(empty.Draw(&target.dc, 0, 0));
}

// Small files that declare huge pictures are refused in every format before the picture is
// allocated; the files are also seeds of the fuzz corpora.
TEST(ImageTest, SmallFilesDeclaringHugePicturesAreRefused) {
  for (const char* name : {"declares-16384x16384.bmp", "declares-8192x8192.gif", "declares-8192x8192.png",
                           "declares-15360x5160-progressive.jpg", "declares-4096x4096-progressive-colour.jpg"}) {
    CImage image;
    EXPECT_FALSE(image.ReadFile((std::string(TEST_DATA_DIR "/images/") + name).c_str())) << name;
    EXPECT_FALSE(image.IsValid()) << name;
  }
}


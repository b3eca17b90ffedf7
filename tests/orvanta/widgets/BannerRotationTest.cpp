// Which banner the main menu pane loads: in order, back to the first at the count, never past
// the slots whatever count it is given.

#include <gtest/gtest.h>

#include "orvanta/widgets/BannerRotation.h"

namespace {

TEST(BannerRotationTest, BannersComeInOrderAndWrapAtTheCount) {
  CBannerRotation rotation;
  EXPECT_EQ(rotation.Advance(), -1);
  EXPECT_EQ(rotation.Shown(), -1);
  rotation.Reset(3);
  EXPECT_EQ(rotation.Shown(), -1);
  std::vector<int> loaded;
  std::vector<int> shown;
  for (int i = 0; i < 7; ++i) {
    loaded.push_back(rotation.Advance());
    shown.push_back(rotation.Shown());
  }
  EXPECT_EQ(loaded, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
  EXPECT_EQ(shown, loaded);
  for (int count : {-4, 0, 1, 6, 7, 1000}) {
    rotation.Reset(count);
    for (int i = 0; i < 20; ++i) {
      const int index = rotation.Advance();
      EXPECT_LT(index, CBannerRotation::kMaxBanners) << count;
      EXPECT_LT(index, std::max(1, rotation.GetCount())) << count;
    }
  }
}

}  // namespace

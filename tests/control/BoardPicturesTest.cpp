// The control's own pictures: each mark at the size it is blitted at (centred marks must not
// grow with the board), and the stone picture chosen for every region width, class edges included.
#include "control/BoardPictures.h"

#include <gtest/gtest.h>

#include <string>

#include "control/StolvexIds.h"

namespace {

TEST(BoardPicturesTest, MarksHaveTheirFixedSizes) {
  struct Expected {
    unsigned id;
    int width;
    int height;
  };
  const Expected pictures[] = {
      {IDB_TERRITORY, 16, 16},        {IDB_DEAD_ON_BLACK, 12, 12},   {IDB_DEAD_ON_WHITE, 12, 12},
      {IDB_LAST_MOVE_SMALL, 10, 10},  {IDB_LAST_MOVE_MEDIUM, 14, 14}, {IDB_LAST_MOVE_LARGE, 22, 22},
  };
  for (const Expected& e : pictures) {
    SCOPED_TRACE(e.id);
    const platform::Surface picture = DrawBoardPicture(e.id);
    EXPECT_EQ(picture.width, e.width);
    EXPECT_EQ(picture.height, e.height);
  }
  EXPECT_GT(DrawBoardPicture(IDB_BOARD).width, 0);
  EXPECT_GT(DrawBoardPicture(IDB_STAR_POINT).width, 0);
  EXPECT_EQ(DrawBoardPicture(9999).width, 0);  // an id the control does not use
}

TEST(BoardPicturesTest, EachRegionWidthTakesTheStoneOfItsClass) {
  // The first width of each class and the last one before the next class starts.
  struct Class {
    int below;  // widths under this value (and at least the previous class's) use the pair
    unsigned black;
    unsigned white;
  };
  const Class classes[] = {{15, 242, 244}, {17, 241, 243}, {19, 231, 236}, {21, 232, 237}, {23, 217, 216},
                           {25, 233, 238}, {27, 234, 239}, {29, 235, 240}, {31, 290, 293}, {33, 291, 294},
                           {35, 292, 295}, {37, 296, 297}, {39, 298, 301}, {41, 299, 302}, {43, 300, 303},
                           {45, 320, 318}, {47, 315, 314}};
  int first = 0;
  for (const Class& c : classes) {
    for (int w : {first, c.below - 1}) {
      SCOPED_TRACE("width " + std::to_string(w));
      const StoneImageIds ids = StoneImagesForWidth(w);
      EXPECT_EQ(ids.black, c.black);
      EXPECT_EQ(ids.white, c.white);
    }
    first = c.below;
  }
  for (int w : {47, 48, 200}) {
    SCOPED_TRACE("width " + std::to_string(w));
    EXPECT_EQ(StoneImagesForWidth(w).black, 321u);
    EXPECT_EQ(StoneImagesForWidth(w).white, 312u);
  }
  // A stone picture fills the region it was drawn for: never smaller than the widest it serves.
  EXPECT_GE(DrawBoardPicture(321).width, 47);
  EXPECT_EQ(DrawBoardPicture(242).width, 14);
}

}  // namespace

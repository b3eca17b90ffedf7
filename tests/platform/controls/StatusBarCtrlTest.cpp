#include "platform/controls.h"

#include "ControlHost.h"

namespace {

using controls_test::ControlTest;

class StatusBarCtrlTest : public ControlTest {};

TEST_F(StatusBarCtrlTest, PanesTextsAndRectangles) {
  CStatusBarCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 270, 400, 290), &host, 100));
  int rights[3] = {100, 250, -1};
  ASSERT_TRUE(bar.SetParts(3, rights));
  int back[3] = {};
  EXPECT_EQ(bar.GetParts(3, back), 3);
  EXPECT_EQ(back[1], 250);
  EXPECT_TRUE(bar.SetText("Ready", 0, 0));
  EXPECT_TRUE(bar.SetText("3 users", 2, SBT_NOBORDERS));
  EXPECT_FALSE(bar.SetText("nowhere", 3, 0));
  int type = -1;
  EXPECT_EQ(bar.GetText(2, &type), "3 users");
  EXPECT_EQ(type, static_cast<int>(SBT_NOBORDERS));
  EXPECT_EQ(bar.GetText(9), "");
  RECT r{};
  ASSERT_TRUE(bar.GetRect(2, &r));
  EXPECT_EQ(r.right, 400);
  EXPECT_GT(r.left, 250);
  EXPECT_FALSE(bar.GetRect(3, &r));
  int backwards[2] = {200, 100};
  EXPECT_FALSE(bar.SetParts(2, backwards));
  EXPECT_EQ(bar.GetParts(0, nullptr), 3);
}

}  // namespace

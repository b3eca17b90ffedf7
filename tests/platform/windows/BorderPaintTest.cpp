#include <gtest/gtest.h>

#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

class BorderPaintTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  CWnd parent;
};

TEST_F(BorderPaintTest, ChildWithBorderGetsABlackFrameAroundItsClient) {
  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 60, 40), &parent, 1));
  CRect client;
  child.GetClientRect(&client);
  EXPECT_EQ(client, CRect(0, 0, 48, 28));
  parent.UpdateWindow();
  child.UpdateWindow();
  CWindowDC dc(&child);
  const COLORREF black = RGB(0, 0, 0);
  EXPECT_EQ(dc.GetPixel(0, 0), black);
  EXPECT_EQ(dc.GetPixel(49, 0), black);
  EXPECT_EQ(dc.GetPixel(0, 29), black);
  EXPECT_EQ(dc.GetPixel(49, 29), black);
  EXPECT_EQ(dc.GetPixel(25, 29), black);
  EXPECT_NE(dc.GetPixel(1, 1), black);  // the client is the window's own
  EXPECT_NE(dc.GetPixel(25, 15), black);
  CClientDC parentDc(&parent);
  EXPECT_NE(parentDc.GetPixel(9, 9), black);  // nothing outside the window
}

TEST_F(BorderPaintTest, ChildWithoutBorderAndTopLevelWindowsGetNoFrame) {
  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 40), &parent, 1));
  parent.UpdateWindow();
  child.UpdateWindow();
  CWindowDC dc(&child);
  EXPECT_NE(dc.GetPixel(0, 0), RGB(0, 0, 0));
}

}  // namespace

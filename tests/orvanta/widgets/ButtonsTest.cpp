// The skin button's three images cut from one strip and its state changes by mouse, focus and
// enabling; the text button's captions by kind and its press that sends a command only when
// released over it.

#include <optional>

#include <platform/testinput.h>

#include "orvanta/widgets/SkinButton.h"
#include "orvanta/widgets/TextButton.h"
#include "tests/orvanta/widgets/WidgetHost.h"

namespace {

using namespace widgets_test;

constexpr UINT kStrip47 = 9047;
constexpr UINT kStrip152 = 9152;

// A strip whose every row is coloured by its number, so each image shows where it was cut.
void AddNumberedStrip(platform::ResourceModule& module, UINT id, int height) {
  platform::Surface strip(20, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 20; ++x)
      strip.pixels[static_cast<std::size_t>(y * 20 + x)] = static_cast<std::uint32_t>(y) << 16;  // red = row
  platform::AddBitmapResource(module, id, strip);
}

class ButtonsTest : public WidgetTest {
protected:
  void SetUp() override {
    WidgetTest::SetUp();
    AddNumberedStrip(*m_module, kStrip47, 47);
    AddNumberedStrip(*m_module, kStrip152, 152);
  }
  // The row of the strip a button in state shows at its top-left pixel.
  int ShownRow(CSkinButton& button) {
    const COLORREF colour = PixelAt(button, 0, 0);
    return GetRValue(colour);
  }
};

TEST_F(ButtonsTest, TheStripIsCutIntoThreeImagesTheLastTwoRowsLower) {
  EXPECT_EQ(CSkinButton::SourceRow(0, 15), 0);
  EXPECT_EQ(CSkinButton::SourceRow(1, 15), 15);
  EXPECT_EQ(CSkinButton::SourceRow(2, 15), 32);
  for (const auto& [id, height, rows] :
       {std::tuple{kStrip47, 15, std::array{0, 15, 32}}, std::tuple{kStrip152, 50, std::array{0, 50, 102}}}) {
    CSkinButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 40, 40), &host, 100));
    ASSERT_TRUE(button.LoadBitmaps(id));
    button.SizeToBitmap();
    EXPECT_EQ(button.GetImageHeight(), height);
    CRect rect;
    button.GetClientRect(&rect);
    EXPECT_EQ(rect.Height(), height);
    EXPECT_EQ(ShownRow(button), rows[0]);
    platform::input::MouseMove(button.m_hWnd, CPoint(2, 2));
    EXPECT_EQ(button.GetState(), CSkinButton::kHover);
    EXPECT_EQ(ShownRow(button), rows[1]);
    button.EnableWindow(FALSE);
    EXPECT_EQ(ShownRow(button), rows[2]);
    button.DestroyWindow();
  }
  CSkinButton missing;
  EXPECT_FALSE(missing.LoadBitmaps(4242));
  EXPECT_EQ(missing.GetImageWidth(), 0);
}

TEST_F(ButtonsTest, HoverDisableEnableLeaveAndFocusLossMoveBetweenTheStates) {
  CSkinButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 30, 25), &host, 100));
  ASSERT_TRUE(button.LoadBitmaps(kStrip47));
  button.SizeToBitmap();
  platform::input::MouseMove(button.m_hWnd, CPoint(3, 3));
  EXPECT_EQ(button.GetState(), CSkinButton::kHover);
  // Disabled while hovered: the disabled image at once, and it stays while the mouse moves.
  button.EnableWindow(FALSE);
  EXPECT_EQ(button.GetState(), CSkinButton::kDisabled);
  platform::input::MouseMove(button.m_hWnd, CPoint(4, 4));
  EXPECT_EQ(button.GetState(), CSkinButton::kDisabled);
  // Enabled again: normal even though the pointer is over it, until it moves.
  button.EnableWindow(TRUE);
  EXPECT_EQ(button.GetState(), CSkinButton::kNormal);
  platform::input::MouseMove(button.m_hWnd, CPoint(5, 5));
  EXPECT_EQ(button.GetState(), CSkinButton::kHover);
  // Out of the button: normal without a click, and the capture is given back.
  platform::input::MouseMove(button.m_hWnd, CPoint(60, 60));
  EXPECT_EQ(button.GetState(), CSkinButton::kNormal);
  EXPECT_NE(CWnd::GetCapture(), &button);
  // A click makes the command; losing the focus afterwards is normal again.
  platform::input::Click(button.m_hWnd, CPoint(5, 5));
  EXPECT_EQ(host.Count(WM_COMMAND, BN_CLICKED), 1);
  host.SetFocus();
  EXPECT_EQ(button.GetState(), CSkinButton::kNormal);
}

TEST_F(ButtonsTest, TextButtonCaptionsFollowTheKind) {
  EXPECT_EQ(CTextButton::CaptionForKind("3"), "TEACHING  GAME");
  EXPECT_EQ(CTextButton::CaptionForKind("2"), "ORVANTA GAME");
  EXPECT_EQ(CTextButton::CaptionForKind("1"), "NO TOUCH ... CAUTION");
  EXPECT_EQ(CTextButton::CaptionForKind("4"), "NO TOUCH ... CAUTION");
  EXPECT_EQ(CTextButton::CaptionForKind(""), "NO TOUCH ... CAUTION");
}

TEST_F(ButtonsTest, ATextButtonSendsItsCommandOnlyWhenReleasedWithoutLeaving) {
  CTextButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 181, 28), &host, 5003));
  button.LoadBitmap(434);
  button.SetText("Room");
  button.SetValue("3");
  button.SetKind("1");
  // The released face is the upper half, the pressed one the lower (darker at the top edge).
  const COLORREF released = PixelAt(button, 100, 2);
  platform::input::MouseDown(button.m_hWnd, CPoint(100, 14));
  EXPECT_TRUE(button.IsPressed());
  EXPECT_NE(PixelAt(button, 100, 2), released);
  platform::input::MouseUp(button.m_hWnd, CPoint(100, 14));
  EXPECT_FALSE(button.IsPressed());
  ASSERT_EQ(host.heard.size(), 1u);
  EXPECT_EQ(host.heard[0].id, 5003);

  // Pressed, dragged out, back in and released: nothing.
  platform::input::MouseDown(button.m_hWnd, CPoint(100, 14));
  platform::input::MouseMove(button.m_hWnd, CPoint(300, 14));
  EXPECT_FALSE(button.IsPressed());
  platform::input::MouseMove(button.m_hWnd, CPoint(100, 14));
  platform::input::MouseUp(button.m_hWnd, CPoint(100, 14));
  EXPECT_EQ(host.heard.size(), 1u);
  EXPECT_EQ(button.GetValue(), "3");
}

}  // namespace

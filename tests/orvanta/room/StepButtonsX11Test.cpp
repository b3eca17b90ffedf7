// The review dialog's step buttons on an X server as a person sees them: each shows its picture,
// and the button of a step key held down looks pressed until the key comes up and the step is made.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include <platform/display.h>
#include <platform/time.h>

#include "ReviewBoardFixture.h"
#include "orvanta/room/GameReviewDlg.h"
#include "orvanta/room/StepSkinButton.h"
#include "platform/display/XvfbServer.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace {

using namespace reviewtest;
using D = CGameReviewDlg;
using platform::testing::XPointerKeys;

bool Near(std::uint32_t shown, COLORREF c) {
  const int want[] = {GetBValue(c), GetGValue(c), GetRValue(c)};
  for (int i = 0; i < 3; ++i)
    if (std::abs(static_cast<int>((shown >> (8 * i)) & 0xFF) - want[i]) > 8) return false;
  return true;
}

class StepButtonsX11Test : public ReviewBoardTest {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    ReviewBoardTest::SetUp();
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    m_input = std::make_unique<XPointerKeys>(name);
    ASSERT_TRUE(m_input->Ready());
    // The person's steps run from a timer while the dialog's loop runs: the clock runs for real.
    platform::Clock::SetManual(false);
  }
  void TearDown() override {
    ReviewBoardTest::TearDown();
    platform::display::UseHeadless();
    m_input.reset();
  }
  // The X server's pixel at a client point of window; all ones while it shows none.
  std::uint32_t Shown(HWND window, POINT at) {
    ::UpdateWindow(window);
    const platform::Surface shot = m_input->Shown(window);
    if (at.x >= shot.width || at.y >= shot.height) return 0xFFFFFFFFu;
    return shot.Row(at.y)[at.x];
  }

  std::unique_ptr<XPointerKeys> m_input;
};

}  // namespace

TEST_F(StepButtonsX11Test, AHeldStepKeyShowsItsButtonPressedUntilItsStep) {
  CGiboRecord record;
  ASSERT_TRUE(record.ReadFile(DataFile("selfplay-5001.sgf").c_str()));
  D review(record, nullptr);
  auto previous = [&] { return review.m_hWnd ? ::GetDlgItem(review.m_hWnd, static_cast<int>(D::kPrev)) : HWND{}; };
  auto centre = [&] {
    CRect client;
    ::GetClientRect(previous(), &client);
    return POINT(client.CenterPoint());
  };
  const POINT corner{0, 0};
  const COLORREF ink = RGB(0x1A, 0x2A, 0x44);  // the arrow's
  auto pressedLook = [&] { return Near(Shown(previous(), corner), CStepSkinButton::kPressedShadow); };
  int before = -1;
  bool arrowWhilePressed = false;
  int positionWhilePressed = -1;
  // The person's steps, taken while the dialog's own loop runs.
  platform::testing::TimedSteps steps(
      {// Released: the arrow's ink in the middle of its picture, no sunken frame.
       {[&] { return previous() && ::IsWindowVisible(review.m_hWnd) && Near(Shown(previous(), centre()), ink) && !pressedLook(); },
        [&] {
          platform::SaveSurfacePng(m_input->Shown(review.m_hWnd), testsupport::SnapshotPath("x11-review-buttons.png").c_str());
          ::SetFocus(previous());
          before = review.GetBoard().GetLogicalPos();
          m_input->KeyHalf(review.m_hWnd, XK_Left, true);
        }},
       // Held: the sunken frame round the picture, one pixel further in; no step yet.
       {pressedLook,
        [&] {
          platform::SaveSurfacePng(m_input->Shown(previous()), testsupport::SnapshotPath("x11-review-button-pressed.png").c_str());
          arrowWhilePressed = Near(Shown(previous(), centre()), ink);
          positionWhilePressed = review.GetBoard().GetLogicalPos();
          m_input->KeyHalf(review.m_hWnd, XK_Left, false);
        }},
       // Up: one move back, and the button as before.
       {[&] { return review.GetBoard().GetLogicalPos() == before - 1 && !pressedLook(); },
        [&] { review.EndDialog(IDOK); }}},
      [&] { review.EndDialog(IDCANCEL); });
  review.DoModal();
  EXPECT_TRUE(steps.Done()) << "steps done: " << steps.StepsDone();
  EXPECT_TRUE(arrowWhilePressed);
  EXPECT_EQ(before, positionWhilePressed);
}

// What an edit draws, and when: its scroll bar only in a paint, after the change that moved it;
// its caret's blinking only while the caret is shown, so an idle program with a hidden caret
// sleeps.
#include <gtest/gtest.h>

#include <string>

#include "ControlHost.h"
#include "platform/controls.h"
#include "platform/messageloop.h"
#include "platform/surface.h"
#include "platform/time.h"

namespace {

// A host that counts the paints of its edits (each asks it for the edit's colours).
class CountingHost : public controls_test::ControlHost {
public:
  int editPaints{0};
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) ++editPaints;
    return ControlHost::WindowProc(message, wParam, lParam);
  }
};

class EditIdlePaintTest : public controls_test::HostedTest<CountingHost> {
protected:
  // Paints of the edits over seconds of idle time, the loop running between timer ticks.
  int PaintsOver(int seconds) {
    platform::PumpMessages();
    host.editPaints = 0;
    for (int step = 0; step < seconds * 10; ++step) {
      platform::Clock::Advance(100);
      platform::PumpMessages();
    }
    return host.editPaints;
  }

  platform::ManualClockScope clock;
};

std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TEST_F(EditIdlePaintTest, TheScrollBarIsDrawnInThePaintThatFollowsTheChange) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, CRect(10, 10, 210, 110),
                          &host, 70));
  edit.SetWindowText(Lines(3).c_str());
  edit.UpdateWindow();
  platform::PumpMessages();
  const platform::PaintTarget target = platform::GetPaintTarget(edit.m_hWnd, true);
  ASSERT_NE(target.surface, nullptr);
  CRect window;
  edit.GetWindowRect(&window);
  const int barX = target.origin.x + window.Width() - 5;  // inside the vertical bar
  const auto barColumn = [&] {
    std::string column;
    for (int y = target.origin.y; y < target.origin.y + window.Height(); ++y)
      column += std::to_string(target.surface->Row(y)[barX]) + ",";
    return column;
  };
  // A mark no bar draws, laid over the bar's column.
  for (int y = target.origin.y; y < target.origin.y + window.Height(); ++y) target.surface->Row(y)[barX] = 0x123456;
  const std::string marked = barColumn();

  // Many more lines: the bar's range and thumb change, and nothing is drawn until the paint.
  edit.SetWindowText(Lines(60).c_str());
  EXPECT_EQ(barColumn(), marked);
  platform::PumpMessages();
  const std::string painted = barColumn();
  EXPECT_NE(painted, marked);
  EXPECT_EQ(painted.find("1193046,"), std::string::npos) << "the whole bar is drawn again";

  // The next step a person takes: scrolling down moves the thumb, drawn in the next paint.
  edit.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(barColumn(), painted);
  platform::PumpMessages();
  EXPECT_NE(barColumn(), painted);
}

TEST_F(EditIdlePaintTest, AHiddenCaretNeverWakesTheProgramAndAShownOneBlinks) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 210, 34), &host, 71));
  edit.SetFocus();
  // Shown, the caret blinks about twice a second: each blink paints the edit.
  const int blinking = PaintsOver(3);
  EXPECT_GE(blinking, 4);
  EXPECT_LE(blinking, 7);
  // Hidden, nothing blinks: three idle seconds pass without a paint.
  edit.HideCaret();
  EXPECT_EQ(PaintsOver(3), 0);
  // Shown again, it blinks again.
  edit.ShowCaret();
  EXPECT_GE(PaintsOver(3), 4);
  // Hidden and the focus gone and back: a new caret, blinking.
  edit.HideCaret();
  host.SetFocus();
  edit.SetFocus();
  EXPECT_GE(PaintsOver(3), 4);
}

}  // namespace

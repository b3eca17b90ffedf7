#include "platform/controls.h"

#include <vector>

#include "ControlHost.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

// Records the scroll codes a slider sends.
class ScrollHost : public controls_test::ControlHost {
public:
  std::vector<std::pair<UINT, int>> scrolls;  // code, position read at that moment
  CSliderCtrl* slider{nullptr};
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_HSCROLL && slider && reinterpret_cast<HWND>(lParam) == slider->m_hWnd) {
      scrolls.emplace_back(LOWORD(wParam), slider->GetPos());
      return 0;
    }
    return ControlHost::WindowProc(message, wParam, lParam);
  }
};

class RangeControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(host.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr));
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  ScrollHost host;
};

TEST_F(RangeControlsTest, SliderDragEndsWithEndTrackAtTheFinalPosition) {
  CSliderCtrl slider;
  ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ, CRect(0, 0, 210, 30), &host, 80));
  host.slider = &slider;
  slider.SetRange(0, 20);
  slider.SetPos(5);
  EXPECT_TRUE(host.scrolls.empty());  // programmatic moves are silent
  input::Drag(host.m_hWnd, CPoint(5, 15), CPoint(205, 15));
  ASSERT_GE(host.scrolls.size(), 2u);
  EXPECT_EQ(host.scrolls.back(), std::make_pair(TB_ENDTRACK, 20));
  EXPECT_EQ(slider.GetPos(), 20);
  host.scrolls.clear();
  slider.SetFocus();
  input::PressKey(VK_LEFT);
  ASSERT_EQ(host.scrolls.size(), 2u);
  EXPECT_EQ(host.scrolls[0], std::make_pair(TB_LINEUP, 19));
  EXPECT_EQ(host.scrolls[1].first, TB_ENDTRACK);
  slider.SetPos(99);
  EXPECT_EQ(slider.GetPos(), 20);
}

TEST_F(RangeControlsTest, ProgressKeepsItsPositionInRangeAndWrapsOnStep) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 40, 200, 60), &host, 81));
  progress.SetRange32(0, 50);
  EXPECT_EQ(progress.SetPos(70), 0);
  EXPECT_EQ(progress.GetPos(), 50);
  progress.SetPos(45);
  progress.SetStep(10);
  progress.StepIt();
  EXPECT_EQ(progress.GetPos(), 5);
  progress.OffsetPos(-20);
  EXPECT_EQ(progress.GetPos(), 0);
  int lower = -1, upper = -1;
  progress.GetRange(lower, upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 50);
}

}  // namespace

// The caret of a focused edit as the X server shows it when the program hides it and shows it
// again. The clock stands still, so the caret stays in its lit phase unless it is hidden.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ControlHost.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/time.h"
#include "support/SnapshotPath.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace {

using platform::testing::XPointerKeys;

bool Near(std::uint32_t shown, COLORREF c) {
  const int want[] = {GetBValue(c), GetGValue(c), GetRValue(c)};
  for (int i = 0; i < 3; ++i)
    if (std::abs(static_cast<int>((shown >> (8 * i)) & 0xFF) - want[i]) > 6) return false;
  return true;
}

class EditCaretX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    m_input = std::make_unique<XPointerKeys>(name);
    ASSERT_TRUE(m_input->Ready());
    ASSERT_TRUE(m_host.CreateEx(0, nullptr, "Caret", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 120, nullptr,
                                nullptr));
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
    platform::ResetMessageQueue();
    m_input.reset();
  }
  // Pixels of the caret's column (the empty edit's text start) in the text colour.
  int CaretPixels(CEdit& edit) {
    ::UpdateWindow(edit.m_hWnd);
    const platform::Surface shot = m_input->Shown(edit.m_hWnd);
    int n = 0;
    for (int y = 5; y < std::min(19, shot.height); ++y) n += shot.width > 4 && Near(shot.Row(y)[4], ::GetSysColor(COLOR_WINDOWTEXT));
    return n;
  }
  bool CaretShows(CEdit& edit) {
    return XPointerKeys::WaitFor([&] { return CaretPixels(edit) >= 10; });
  }
  bool CaretGone(CEdit& edit) {
    return XPointerKeys::WaitFor([&] { return CaretPixels(edit) == 0; });
  }

  platform::ManualClockScope m_clock;
  controls_test::ControlHost m_host;
  std::unique_ptr<XPointerKeys> m_input;
};

}  // namespace

TEST_F(EditCaretX11Test, HiddenCaretsStayHiddenUntilShownAsOftenOrTheFocusReturns) {
  CEdit edit;
  ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 10, 250, 36),
                            &m_host, 60));
  edit.SetFocus();
  ASSERT_TRUE(CaretShows(edit));

  // Hidden twice, shown once: still hidden.
  EXPECT_TRUE(::HideCaret(edit.m_hWnd));
  edit.HideCaret();
  EXPECT_TRUE(::ShowCaret(edit.m_hWnd));
  EXPECT_TRUE(CaretGone(edit));
  EXPECT_EQ(TRUE, ::GetFocus() == edit.m_hWnd);
  platform::SaveSurfacePng(m_input->Shown(edit.m_hWnd), testsupport::SnapshotPath("x11_edit_caret_hidden.png").c_str());
  // The second show brings it back; one more has nothing to undo.
  edit.ShowCaret();
  EXPECT_TRUE(CaretShows(edit));
  EXPECT_FALSE(::ShowCaret(edit.m_hWnd));

  // A caret hidden when the focus left is a new, visible one when it comes back.
  edit.HideCaret();
  ASSERT_TRUE(CaretGone(edit));
  m_host.SetFocus();
  edit.SetFocus();
  EXPECT_TRUE(CaretShows(edit));
  // Windows without a caret of their own take no part.
  EXPECT_FALSE(::HideCaret(m_host.m_hWnd));
}

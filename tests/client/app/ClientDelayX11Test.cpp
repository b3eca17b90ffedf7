// The delay dialog on an X server, as a person uses it: clicks on the spin's arrows move the
// slider and show the delay; a click on the slider and letting go sets the delay of the board.
#include <gtest/gtest.h>

#include <string>

#include "ClientSessionSupport.h"
#include "platform/controls_range.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"

#include <X11/Xlib.h>

#include "support/XServerBasics.h"

namespace {

using clienttest::Session;

std::string Str(const CString& text) { return std::string(static_cast<const char*>(text)); }

// A second connection to the server that clicks into the program's windows as the server would.
class Clicker {
public:
  explicit Clicker(const std::string& name) : m_display(XOpenDisplay(name.c_str())) {}
  ~Clicker() {
    if (m_display) XCloseDisplay(m_display);
  }
  bool Open() const { return m_display != nullptr; }

  // Clicks point (in control's client coordinates) of control inside top-level window top.
  void Click(HWND top, HWND control, POINT point) {
    const Window window = static_cast<Window>(platform::display::NativeWindowOf(top));
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_display, window, &attributes);
    RECT outer{};
    ::GetWindowRect(top, &outer);
    // The window manager's frame lies outside the X window: alike on the sides and the bottom.
    const int side = (outer.right - outer.left - attributes.width) / 2;
    const int topInset = outer.bottom - outer.top - attributes.height - side;
    ::ClientToScreen(control, &point);
    const int x = point.x - outer.left - side, y = point.y - outer.top - topInset;
    m_time += 2000;  // each click on its own, never read as the second of a double click
    for (const bool press : {true, false}) {
      testsupport::SendXButton(m_display, window, x, y, x, y, m_time, press);
      XSync(m_display, False);
    }
  }

private:
  Display* m_display;
  Time m_time{1000};
};

bool WaitFor(const std::function<bool()>& done) {
  return platform::RunUntil([&] {
    platform::display::Sync();
    return done();
  }, 12000);
}

TEST(ClientDelayX11Test, SpinClicksMoveTheSliderAndASliderClickSetsTheDelay) {
  const std::string& display = platform::testing::TestDisplayName();
  if (display.empty()) GTEST_SKIP() << "no X server";
  Session s;
  s.script.voice = true;
  s.Start();
  ASSERT_NE(s.view, nullptr);
  CClientView& view = *s.view;
  ASSERT_TRUE(s.Relay("mu|rtsp://127.0.0.1/relay.rm\neh\n", [&] { return view.IsHistoryComplete(); }));
  ASSERT_TRUE(platform::display::UseX11Display(display.c_str()));
  struct Headless {
    ~Headless() { platform::display::UseHeadless(); }
  } restore;
  s.frame->ShowWindow(SW_SHOW);
  view.OnDelaySetup();
  ASSERT_TRUE(view.IsDelayDialogOpen());
  CDialog* dialog = view.GetDelayDialog();
  HWND top = dialog->GetSafeHwnd();
  ASSERT_TRUE(WaitFor([&] { return platform::display::NativeWindowOf(top) != 0 && ::IsWindowVisible(top); }));
  Clicker clicker(display);
  ASSERT_TRUE(clicker.Open());
  HWND spin = ::GetDlgItem(top, IDC_DELAY_SPIN);
  HWND slider = ::GetDlgItem(top, IDC_DELAY_SLIDER);
  RECT spinRect{}, sliderRect{};
  ::GetClientRect(spin, &spinRect);
  ::GetClientRect(slider, &sliderRect);
  const auto shown = [&] {
    CString text;
    dialog->GetDlgItemText(IDC_DELAY_VALUE, text);
    return Str(text);
  };

  // Three clicks on the lower arrow: three seconds of delay shown, the slider following.
  for (int i = 1; i <= 3; ++i) {
    clicker.Click(top, spin, POINT{spinRect.right / 2, spinRect.bottom - 3});
    ASSERT_TRUE(WaitFor([&] { return ::SendMessage(slider, TBM_GETPOS, 0, 0) == 600 - i; })) << i;
  }
  EXPECT_EQ(shown(), "00 : 00 : 03");
  // The clicks reach the queue: the board lags by what the dialog shows.
  ASSERT_TRUE(WaitFor([&] { return view.GetDelayQueue().GetDelay() == 3; })) << view.GetDelayQueue().GetDelay();
  // The upper arrow takes one back, on the queue too.
  clicker.Click(top, spin, POINT{spinRect.right / 2, 2});
  ASSERT_TRUE(WaitFor([&] { return ::SendMessage(slider, TBM_GETPOS, 0, 0) == 598; }));
  EXPECT_EQ(shown(), "00 : 00 : 02");
  ASSERT_TRUE(WaitFor([&] { return view.GetDelayQueue().GetDelay() == 2; })) << view.GetDelayQueue().GetDelay();

  // A click in the slider's middle and letting go: the board lags by what the slider shows.
  clicker.Click(top, slider, POINT{sliderRect.right / 2, sliderRect.bottom / 2});
  ASSERT_TRUE(WaitFor([&] { return view.GetDelayQueue().GetDelay() > 60; }));
  const int position = static_cast<int>(::SendMessage(slider, TBM_GETPOS, 0, 0));
  EXPECT_EQ(view.GetDelayQueue().GetDelay(), 600 - position);
  EXPECT_EQ(::SendMessage(spin, UDM_GETPOS32, 0, 0), position);
}

}  // namespace

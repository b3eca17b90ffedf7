#pragma once
// A fixture for controls shown on the tests' X server: a visible host window at a fixed place,
// and a person's pointer and keys through the server. Skips when there is no X server.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "ControlHost.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/messageloop.h"
#include "platform/time.h"
#include "platform/windows.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace controls_test {

class ControlsOnX11 : public ::testing::Test {
protected:
  // The host window is hostHeight pixels high, frame included.
  explicit ControlsOnX11(int hostHeight) : m_hostHeight(hostHeight) {}

  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
    if (!platform::display::UseX11Display(name.c_str())) GTEST_SKIP() << "cannot open " << name;
    platform::Clock::SetManual(false);
    m_input = std::make_unique<platform::testing::XPointerKeys>(name);
    ASSERT_TRUE(m_input->Ready());
    ASSERT_TRUE(m_host.CreateEx(0, nullptr, "Controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 460, m_hostHeight,
                                nullptr, nullptr));
    m_host.SetFocus();
    Settle();
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
    platform::ResetMessageQueue();
    m_input.reset();
  }
  // Lets the server and the program catch up with each other.
  void Settle() {
    for (int i = 0; i < 3; ++i) {
      platform::display::Sync();
      platform::PumpMessages();
    }
  }
  // Runs the program until pred holds; false past the deadline.
  bool WaitFor(const std::function<bool()>& pred) { return platform::testing::XPointerKeys::WaitFor(pred); }
  static CString TextOf(CWnd& wnd) {
    CString text;
    wnd.GetWindowText(text);
    return text;
  }

  ControlHost m_host;
  std::unique_ptr<platform::testing::XPointerKeys> m_input;

private:
  int m_hostHeight;
};

}  // namespace controls_test

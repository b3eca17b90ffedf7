#include "../../../platform/src/display/DisplayBackend.h"

#include <gtest/gtest.h>

#include <X11/cursorfont.h>

#include "../../../platform/src/display/x11/CursorShapes.h"
#include "platform/display.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/windows.h"

namespace {

using platform::detail::EnvironmentWantsX11;

TEST(DisplayChoice, X11OnlyWithADisplayAndNotForcedHeadless) {
  EXPECT_TRUE(EnvironmentWantsX11(":0", nullptr));
  EXPECT_TRUE(EnvironmentWantsX11(":0", "0"));
  EXPECT_TRUE(EnvironmentWantsX11("host:1.0", ""));
  EXPECT_FALSE(EnvironmentWantsX11(":0", "1"));
  EXPECT_FALSE(EnvironmentWantsX11(nullptr, nullptr));
  EXPECT_FALSE(EnvironmentWantsX11("", nullptr));
}

TEST(DisplayChoice, HeadlessShowsNothingAndAsksTheScript) {
  platform::display::UseHeadless();
  EXPECT_EQ(platform::display::CurrentBackend(), platform::display::Backend::Headless);
  EXPECT_FALSE(platform::display::IsInteractive());
  HWND frame = ::CreateWindowEx(0, "AfxWnd", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(frame, nullptr);
  platform::PumpMessages();
  EXPECT_EQ(platform::display::NativeWindowOf(frame), 0u);
  platform::display::Sync();  // nothing to talk to: does nothing
  ::DestroyWindow(frame);
}

TEST(DisplayChoice, UnreachableDisplayKeepsHeadless) {
  platform::display::UseHeadless();
  EXPECT_FALSE(platform::display::UseX11Display(":987654"));
  EXPECT_EQ(platform::display::CurrentBackend(), platform::display::Backend::Headless);
}

TEST(CursorShapes, SystemCursorsGetTheirShapesProgramOnesAHand) {
  using platform::detail::CursorShapeOf;
  EXPECT_EQ(CursorShapeOf(nullptr), static_cast<unsigned>(XC_left_ptr));
  EXPECT_EQ(CursorShapeOf(::LoadCursor(nullptr, IDC_ARROW)), static_cast<unsigned>(XC_left_ptr));
  EXPECT_EQ(CursorShapeOf(::LoadCursor(nullptr, IDC_WAIT)), static_cast<unsigned>(XC_watch));
  EXPECT_EQ(CursorShapeOf(::LoadCursor(nullptr, IDC_IBEAM)), static_cast<unsigned>(XC_xterm));
  EXPECT_EQ(CursorShapeOf(::LoadCursor(nullptr, IDC_SIZEWE)), static_cast<unsigned>(XC_sb_h_double_arrow));
  EXPECT_EQ(CursorShapeOf(::LoadCursor(nullptr, IDC_HAND)), static_cast<unsigned>(XC_hand2));
  platform::ResourceModule& module = platform::CreateResourceModule("cursor-shape-tests");
  platform::AddCursorResource(module, 207);
  EXPECT_EQ(CursorShapeOf(::LoadCursor(module.Handle(), MAKEINTRESOURCE(207))), static_cast<unsigned>(XC_hand2));
  EXPECT_EQ(CursorShapeOf(reinterpret_cast<HCURSOR>(0x7)), static_cast<unsigned>(XC_left_ptr));  // unknown handle
}

}  // namespace

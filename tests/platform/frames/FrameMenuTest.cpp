#include <gtest/gtest.h>

#include <algorithm>

#include "FrameTestSupport.h"
#include "platform/testinput.h"

namespace frametest {
namespace {

class FrameMenuTest : public FrameFixture {
protected:
  CTestFrame* Start() {
    EXPECT_TRUE(m_app.InitInstance());
    return MainFrame();
  }
  static bool Logged(const char* entry) {
    return std::find(Log().begin(), Log().end(), entry) != Log().end();
  }
  CTestApp m_app;
};

TEST_F(FrameMenuTest, LoadFrameAttachesTheMenuOfItsResourceId) {
  CTestFrame* frame = Start();
  ASSERT_NE(frame, nullptr);
  CMenu* bar = frame->GetMenu();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->GetMenuItemCount(), 1u);
  CMenu* popup = bar->GetSubMenu(0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->GetMenuItemID(0), ID_FRAME_ONLY);

  EXPECT_TRUE(frame->SetMenu(nullptr));
  EXPECT_EQ(frame->GetMenu(), nullptr);
}

TEST_F(FrameMenuTest, FrameWithoutMenuResourceHasNoMenu) {
  auto* frame = new CFrameWnd;
  ASSERT_TRUE(frame->LoadFrame(4242));
  EXPECT_EQ(frame->GetMenu(), nullptr);
  frame->DestroyWindow();
}

TEST_F(FrameMenuTest, OpeningAPopupGraysCommandsNobodyHandles) {
  CTestFrame* frame = Start();
  CMenu* popup = frame->GetMenu()->GetSubMenu(0);
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), 0);
  EXPECT_EQ(popup->GetMenuState(ID_FRAME_ONLY, MF_BYCOMMAND) & MF_GRAYED, 0u);
  EXPECT_NE(popup->GetMenuState(ID_NOBODY, MF_BYCOMMAND) & MF_GRAYED, 0u);

  // Without automatic enabling an unhandled item keeps the state it was given.
  frame->m_bAutoMenuEnable = FALSE;
  popup->EnableMenuItem(ID_NOBODY, MF_BYCOMMAND | MF_ENABLED);
  frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), 0);
  EXPECT_EQ(popup->GetMenuState(ID_NOBODY, MF_BYCOMMAND) & MF_GRAYED, 0u);
}

TEST_F(FrameMenuTest, AcceleratorKeyBecomesTheFrameCommand) {
  CTestFrame* frame = Start();
  frame->GetActiveView()->SetFocus();
  platform::input::PressKey('F');
  EXPECT_FALSE(Logged("frame only"));
  platform::input::SetModifier(VK_CONTROL, true);
  platform::input::PressKey('F');
  platform::input::SetModifier(VK_CONTROL, false);
  EXPECT_TRUE(Logged("frame only"));
}

}  // namespace
}  // namespace frametest

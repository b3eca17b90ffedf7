// A picture of the invitation dialog under X11, for people to look at.

#include <gtest/gtest.h>

#include <platform/controls.h>
#include <platform/display.h>
#include <platform/gdi.h>
#include <platform/messageloop.h>
#include <platform/resources.h>
#include <platform/time.h>

#include "orvanta/lobby/InvitationDlg.h"
#include "orvanta/resources/OrvantaResources.h"
#include "platform/display/XvfbServer.h"
#include "ShownPixels.h"
#include "support/SnapshotPath.h"

namespace {

TEST(InvitationScreenshotTest, TheInvitationWithItsMessageAndTheRunningBar) {
  const std::string& display = platform::testing::TestDisplayName();
  if (display.empty())
    GTEST_SKIP() << "no X server";
  if (!platform::display::UseX11Display(display.c_str()))
    GTEST_SKIP() << "cannot open " << display;
  {
    platform::ResourceModule& module = platform::CreateResourceModule("orvanta-invitation-picture");
    RegisterOrvantaResources(module.Handle());
    platform::ResourceScope resources(module.Handle());
    const std::string path = testsupport::SnapshotPath("orvanta-invitation.png");
    // Shown without a modal loop of its own, so that the picture is taken while it waits.
    CInvitationDlg dialog("kim(Kim:3D)", "Would you like a game of even strength? Room 7 is waiting for you.");
    ASSERT_TRUE(dialog.Create(CInvitationDlg::kTemplateId, nullptr));
    dialog.ShowWindow(SW_SHOW);
    // Four seconds gone, as the bar shows it.
    dialog.SendDlgItemMessage(CInvitationDlg::kProgress, PBM_SETPOS, 40);
    // The inviter and the message in the dialog, and the bar four tenths full: its left part
    // differs from its right.
    EXPECT_GE(lobbytest::WaitForText(dialog.m_hWnd, path, 300), 300);
    const platform::Surface bar =
        lobbytest::ShownPixels(dialog.GetDlgItem(CInvitationDlg::kProgress)->m_hWnd, testsupport::SnapshotPath("orvanta-invitation-bar.png"));
    ASSERT_GT(bar.width, 10);
    EXPECT_NE(bar.Row(bar.height / 2)[bar.width / 5], bar.Row(bar.height / 2)[bar.width * 4 / 5]);
    dialog.DestroyWindow();
    platform::PumpMessages();
  }
  platform::display::UseHeadless();
  platform::ResetMessageQueue();
}

}  // namespace

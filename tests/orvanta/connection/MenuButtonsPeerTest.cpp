// The main menu pane's buttons through a session with the game server: laid out for the start
// screen, enabled by the login and the server's notice, changed by the pane's own waiting-room
// button, and disabled when the server goes away.

#include "orvanta/connection/MainFrameFixture.h"
#include "orvanta/connection/MenuButtonLayout.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

using namespace MenuButton;

class MenuButtonsPeerTest : public MainFrameTest {
protected:
  BOOL Enabled(UINT id) { return frame->GetMainMenu()->GetButton(id)->IsWindowEnabled(); }
  CRect Place(UINT id) { return frame->GetMainMenu()->GetButtonRect(id); }
};

TEST_F(MenuButtonsPeerTest, ASessionEnablesAndDisablesTheScreenButtons) {
  CMainMenu* menu = frame->GetMainMenu();
  ASSERT_NE(menu, nullptr);
  // The start screen's first row starts at the template's margin, one button after another.
  const CMenuRows& rows = menu->GetRows();
  EXPECT_GT(rows.secondTop, rows.firstTop);
  EXPECT_EQ(Place(kWaitingRoomList).TopLeft(), CPoint(rows.left, rows.firstTop));
  EXPECT_EQ(Place(kRecordView).left, Place(kWaitingRoomList).right + CMenuButtonLayout::kGap);
  EXPECT_EQ(Place(kLeave).top, rows.secondTop);  // the start screen's leave ends row 2

  peer.ReplyAlways(1, 1, {{GameServerPeer::LoginAccepted("3"), 0}});
  LogIn();
  ASSERT_TRUE(PumpUntil([&] { return Enabled(kRecordView) && Enabled(kRankView); }));
  EXPECT_TRUE(Enabled(kLeave));

  // The login's other answers (the room list) come first; then the server's notice.
  ASSERT_TRUE(PumpUntil([&] { return peer.AllSent() && Enabled(kWaitingRoomList); }));
  peer.Send({{GameServerPeer::Record(3, 6, "|1|1|10|Dan room|"), 0}});
  ASSERT_TRUE(PumpUntil([&] { return !Enabled(kWaitingRoomList); }));
  EXPECT_TRUE(Enabled(kGameRoom));

  // The pane's own waiting-room button: back to the room list, the game room off.
  menu->SendMessage(WM_COMMAND, kWaitingRoomList);
  EXPECT_TRUE(Enabled(kWaitingRoomList));
  EXPECT_FALSE(Enabled(kGameRoom));

  // A face swap keeps the button usable and sized to its new face.
  menu->SetButtonFace(kAskEnd, kCountingDoneFace);
  EXPECT_EQ(menu->GetButtonDrawState(kAskEnd), CSkinButton::kNormal);
  EXPECT_EQ(Place(kAskEnd).Width(), menu->GetButton(kAskEnd)->GetImageWidth());

  // The tool bar's connect button is the frame's connect/disconnect command.
  frame->SendMessage(WM_COMMAND, CMainFrame::kToolBarCommand);
  frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
  EXPECT_NE(frame->GetToolBar().GetStyle() & WS_VISIBLE, 0u);
  EXPECT_EQ(frame->GetToolBar().GetConnectImage(), CMainFrame::kConnectedImage);
  CToolBarCtrl& buttons = frame->GetToolBar().GetToolBar().GetToolBarCtrl();
  CRect connect;
  ASSERT_TRUE(buttons.GetItemRect(2, &connect));
  script.answers["Do you wish to disconnect?"] = IDNO;
  const LPARAM at = MAKELPARAM(connect.CenterPoint().x, connect.CenterPoint().y);
  buttons.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
  buttons.SendMessage(WM_LBUTTONUP, 0, at);
  EXPECT_TRUE(Shown("Do you wish to disconnect?"));
  EXPECT_TRUE(frame->IsConnected());

  // The server goes away: every screen button and leave are off until the next login.
  peer.CloseConnection();
  ASSERT_TRUE(PumpUntil([&] { return Shown(kDisconnectedMessage); }));
  for (UINT id : {kWaitingRoomList, kRecordView, kRankView, kGameRoom, kLeave})
    EXPECT_FALSE(Enabled(id)) << id;
}

}  // namespace

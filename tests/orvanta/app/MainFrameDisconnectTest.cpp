// The main frame losing its connection: the server closing it, the user's disconnect command,
// the server's logout answer, a network error, and records that arrive for screens not shown.

#include "orvanta/app/MainFrameFixture.h"

#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/TirvoDListView.h"

namespace {

using MainFrameDisconnectTest = MainFrameTest;

TEST_F(MainFrameDisconnectTest, TheServerClosingShowsTheDisconnectionAndRunsTheLoginAgain) {
  LogIn();
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  // The login pass runs inside the closed link's own notification: the link must still exist.
  int retiredDuringPass = -1;
  script.onDialog = [&] { retiredDuringPass = frame->GetRetiredLinkCount(); };
  peer.CloseConnection();
  ASSERT_TRUE(PumpUntil([&] { return Shown(kDisconnectedMessage); }));
  EXPECT_EQ(script.shown, std::vector<std::string>{kDisconnectedMessage});
  // The second login pass connects anew and logs in on the peer's next connection.
  ASSERT_TRUE(PumpUntil([&] { return Pairs(1).size() >= 6 && frame->IsConnected(); }));
  EXPECT_EQ(Pairs(1), (std::vector<std::string>{"0,1", "1,1", "1,11", "0,3", "0,2", "3,6"}));
  EXPECT_EQ(script.dialogs.size(), 2u);
  EXPECT_EQ(retiredDuringPass, 1);
  EXPECT_EQ(frame->GetRetiredLinkCount(), 0);
}

TEST_F(MainFrameDisconnectTest, AfterTheDisconnectionTheFrameIsBackOnTheStartScreen) {
  LogIn();
  frame->SwitchView(CMainFrame::kWaitingRoomView);
  ASSERT_NE(GetScreenFlags() & kScreenWaitingRoom, 0);
  frame->GetLoginRecord()->m_strRoomText6 = "key";
  peer.CloseConnection();
  ASSERT_TRUE(PumpUntil([&] { return Shown(kDisconnectedMessage); }));
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kStartView);
  EXPECT_EQ(GetScreenFlags() & kScreenWaitingRoom, 0);
  EXPECT_EQ(frame->GetLoginRecord()->m_strRoomText6, "");
  EXPECT_FALSE(frame->IsConnected());
  EXPECT_FALSE(frame->IsConnecting());
  EXPECT_EQ(frame->GetStatusText(), "");
  // Cancelled login pass: no link is left behind once the loop has run.
  PumpFor(20);
  EXPECT_EQ(frame->GetServerLink(), nullptr);
  EXPECT_EQ(frame->GetRetiredLinkCount(), 0);
}

TEST_F(MainFrameDisconnectTest, TheDisconnectCommandSendsTheLogoutBeforeTheSocketCloses) {
  LogIn();
  script.answers["Do you wish to disconnect?"] = IDYES;
  frame->SendMessage(WM_COMMAND, CMainFrame::kConnectCommand);
  ASSERT_TRUE(PumpUntil([&] { return peer.ClientClosed(); }));
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 7; }));
  EXPECT_EQ(Pairs().back(), "1,2");
  EXPECT_EQ(peer.Records().back().raw, "\x1b\t" + senderNumber() + "/0/1/2/1/\x1b\n");
  EXPECT_EQ(script.shown, (std::vector<std::string>{"Do you wish to disconnect?", kDisconnectedMessage}));
  EXPECT_EQ(script.dialogs.size(), 2u);
  EXPECT_FALSE(frame->IsConnected());
}

TEST_F(MainFrameDisconnectTest, AnsweringNoToTheDisconnectQuestionKeepsTheConnection) {
  LogIn();
  script.answers["Do you wish to disconnect?"] = IDNO;
  frame->SendMessage(WM_COMMAND, CMainFrame::kConnectMenuCommand);
  PumpFor(100);
  EXPECT_TRUE(frame->IsConnected());
  EXPECT_EQ(peer.RecordCount(), 6u);
  EXPECT_FALSE(peer.ClientClosed());
}

TEST_F(MainFrameDisconnectTest, TheConnectCommandWhileConnectingOnlySaysSo) {
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  frame->RunLoginPass();
  ASSERT_TRUE(frame->IsConnecting());
  frame->SendMessage(WM_COMMAND, CMainFrame::kConnectCommand);
  EXPECT_EQ(script.shown, std::vector<std::string>{"Connection is in progress."});
  EXPECT_EQ(script.dialogs.size(), 1u);
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 6; }));
  EXPECT_EQ(peer.ConnectionCount(), 1);
}

TEST_F(MainFrameDisconnectTest, TheConnectCommandWhileOfflineRunsTheLoginDialog) {
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  frame->SendMessage(WM_COMMAND, CMainFrame::kConnectCommand);
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 6; }));
  EXPECT_EQ(script.dialogs.size(), 1u);
}

TEST_F(MainFrameDisconnectTest, TheLogoutAnswerEndsTheSessionWithoutTheDisconnectionMessage) {
  LogIn();
  peer.Send({{GameServerPeer::Record(1, 2, ""), 0}});
  ASSERT_TRUE(PumpUntil([&] { return frame->GetLoginRecord() == nullptr; }));
  peer.CloseConnection();
  PumpFor(100);
  EXPECT_EQ(frame->GetServerLink(), nullptr);
  EXPECT_FALSE(frame->IsConnected());
  EXPECT_FALSE(frame->IsLogoutReceived());
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kStartView);
  EXPECT_EQ(GetScreenFlags(), 0);
  EXPECT_TRUE(script.shown.empty());
  EXPECT_EQ(script.dialogs.size(), 1u);
  EXPECT_EQ(frame->GetRetiredLinkCount(), 0);
}

TEST_F(MainFrameDisconnectTest, TheLogoutAnswerWhileClosingFinishesClosingTheFrame) {
  LogIn();
  script.answers["Do you close this program?"] = IDYES;
  frame->SetClosing(TRUE);
  const HWND handle = frameHandle();
  peer.Send({{GameServerPeer::Record(1, 2, "") + GameServerPeer::Record(3, 4, "|1|a|b|c|late|"), 0}});
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(handle); }));
  frame = nullptr;  // the closed frame deleted itself
  EXPECT_EQ(script.shown, std::vector<std::string>{"Do you close this program?"});
}

TEST_F(MainFrameDisconnectTest, ARefusedConnectionIsANetworkErrorFollowedByTheLoginPass) {
  unsigned short closedPort = 0;
  {
    GameServerPeer gone;
    closedPort = gone.Port();
  }
  CServerAddress address;
  address.m_strHost = "127.0.0.1";
  address.m_nPort = closedPort;
  CTestMainFrame* offline = new CTestMainFrame(address);
  ASSERT_TRUE(offline->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
  script.logins.push_back({"carol", "pw9", 0, IDOK});
  offline->RunLoginPass();
  ASSERT_TRUE(PumpUntil([&] { return Shown(kDisconnectedMessage); }));
  EXPECT_EQ(script.shown, (std::vector<std::string>{"Network error.\nPlease reconnect.", kDisconnectedMessage}));
  EXPECT_EQ(script.dialogs.size(), 2u);
  EXPECT_EQ(offline->GetStatusText(), "Press 'F1' for Help.");
  EXPECT_FALSE(offline->IsConnecting());
  offline->DestroyWindow();
}

// A request that cannot even be issued (0.0.0.0 is refused at once) is answered by the retry
// question alone: no network error, no disconnection, no login dialog inside the attempt. Each
// Yes runs one more pass; the third pass is cancelled.
TEST_F(MainFrameDisconnectTest, AConnectThatFailsAtOnceOnlyAsksToTryAgain) {
  // Addresses a connect refuses before any packet leaves: no disconnection, no nested login.
  const std::pair<const char*, UINT> addresses[] = {{"0.0.0.0", 12121}, {"127.0.0.1", 0}};
  for (const auto& [host, port] : addresses) {
    SCOPED_TRACE(std::string(host) + ":" + std::to_string(port));
    CServerAddress address;
    address.m_strHost = host;
    address.m_nPort = port;
    CTestMainFrame* offline = new CTestMainFrame(address);
    ASSERT_TRUE(offline->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    const std::string question = "Unable to connect.\n\t Do you wish to try again?";
    script.shown.clear();
    script.dialogs.clear();
    script.answers[question] = IDYES;
    script.logins.push_back({"carol", "pw9", 0, IDOK});
    script.logins.push_back({"carol", "pw9", 0, IDOK});
    offline->RunLoginPass();
    EXPECT_EQ(script.shown, (std::vector<std::string>{question, question}));
    EXPECT_EQ(script.dialogs.size(), 3u);
    EXPECT_EQ(offline->GetServerLink(), nullptr);
    EXPECT_FALSE(offline->IsConnecting());
    EXPECT_FALSE(offline->IsConnected());
    PumpFor(20);
    EXPECT_EQ(offline->GetRetiredLinkCount(), 0);
    offline->DestroyWindow();
    script.logins.clear();
  }
}

TEST_F(MainFrameDisconnectTest, RecordsForAScreenThatIsNotShownAreDropped) {
  LogIn();
  const std::string chat = GameServerPeer::Record(3, 4, "|1|k|alice|x|y|hello|");
  const std::string roomChat = GameServerPeer::Record(5, 6, "|1|alice|hi|");
  peer.Send({{chat + roomChat, 0}});
  PumpFor(100);
  EXPECT_EQ(frame->GetWaitingRoomView(), nullptr);
  EXPECT_FALSE(HasPending("CDagukRoomView::OnChatMessage:|1|alice|hi|"));

  frame->SwitchView(CMainFrame::kWaitingRoomView);
  ASSERT_NE(frame->GetWaitingRoomView(), nullptr);
  peer.Send({{chat + roomChat, 0}});
  CString box;
  ASSERT_TRUE(PumpUntil([&] {
    frame->GetWaitingRoomView()->GetDlgItemText(static_cast<int>(CTirvoDListView::kChatBox), box);
    return !box.IsEmpty();
  }));
  EXPECT_EQ(box, "[alice]hello\r\n");
  PumpFor(50);
  EXPECT_FALSE(HasPending("CDagukRoomView::OnChatMessage:|1|alice|hi|"));
}

TEST_F(MainFrameDisconnectTest, ARefusalForAClosedGameRoomOnlyClearsTheFrameFlags) {
  LogIn();
  peer.Send({{GameServerPeer::Record(5, 15, "|a|b|0|"), 0}});
  PumpFor(100);
  for (const CString& call : frame->GetPendingCalls())
    EXPECT_LT(call.Find("CDagukRoomView"), 0) << call.str();
}

TEST_F(MainFrameDisconnectTest, ReturningToTheStartScreenWhileConnectedAsksForTheNoticeAgain) {
  LogIn();
  frame->SwitchView(CMainFrame::kWaitingRoomView);
  EXPECT_EQ(frame->GetStatusText(), "Select 'game room' in the game room list to enter.");
  auto* bar = dynamic_cast<CStatusBar*>(CWnd::FromHandlePermanent(frame->GetControlBar(AFX_IDW_STATUS_BAR)->m_hWnd));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetPaneText(0), "Select 'game room' in the game room list to enter.");
  EXPECT_FALSE(bar->IsWindowVisible());
  frame->SwitchView(CMainFrame::kStartView);
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= 7; }));
  EXPECT_EQ(Pairs().back(), "3,6");
  EXPECT_EQ(frame->GetStatusText(), "Select waiting room from list.");
  // Switching to the screen already shown changes nothing.
  frame->SwitchView(CMainFrame::kStartView);
  PumpFor(50);
  EXPECT_EQ(peer.RecordCount(), 7u);
}

TEST_F(MainFrameDisconnectTest, TheRecordOfPendingCallsStaysBounded) {
  // A screen the program does not have is noted each time it is asked for.
  for (std::size_t i = 0; i < CMainFrame::kPendingCallLimit + 10; ++i)
    frame->SwitchView(9998);
  frame->SwitchView(9999);
  EXPECT_EQ(frame->GetPendingCalls().size(), CMainFrame::kPendingCallLimit);
  EXPECT_EQ(frame->GetPendingCalls().back(), "MissingView:9999");
}

}  // namespace

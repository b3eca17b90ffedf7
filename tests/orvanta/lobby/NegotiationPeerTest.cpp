// Play negotiation end to end: two frames, each against its own game-server peer, with the test
// carrying each side's request to the other as the server would. The proposing side is carol in
// the waiting room, the answering side bob.

#include "LobbyPeerFixture.h"

#include <platform/messageloop.h>

#include "orvanta/app/StandInView.h"
#include "orvanta/lobby/NegotiationReplyDlg.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

std::string Record(int major, int minor, const std::string& payload) { return GameServerPeer::Record(major, minor, payload); }

class NegotiationPeerTest : public LobbyPeerTest {
protected:
  void SetUp() override {
    CServerAddress address;
    address.m_strHost = "127.0.0.1";
    address.m_nPort = peerB.Port();
    address.m_bFound = TRUE;
    frameB = new CTestMainFrame(address);
    ASSERT_TRUE(frameB->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    frameBHandle = frameB->m_hWnd;
    frameB->RegisterView(CMainFrame::kGameRoomView, RUNTIME_CLASS(CStandInView));
    script.logins.push_back({"bob", "pw7", 0, IDOK});
    frameB->RunLoginPass();
    ASSERT_TRUE(PumpUntil([&] { return peerB.RecordCount() >= 6 && frameB->IsConnected(); }));
    frameB->RememberWaitingRoom(2, "R2", "Dan room");
    frameB->SwitchView(CMainFrame::kWaitingRoomView);
    EnterWaitingRoom();
    Serve(Record(3, 3, "|1|x|2|3|bob|Bob|1D|3|carol|Carol|5K|"), [&] { return view->GetUserList().GetItemCount() == 2; });
  }
  void TearDown() override {
    if (::IsWindow(frameBHandle))
      frameB->DestroyWindow();
  }
  // carol asks bob and the server answers that bob negotiates: the proposal dialog opens.
  void AskBob() {
    Select(view->GetUserList(), "bob");
    view->OnNegoPlay();
    const std::optional<PeerRecord> ask = NextRecord(1, 19);
    ASSERT_TRUE(ask);
    EXPECT_EQ(ask->payload, "|3|bob|");
    EXPECT_TRUE(view->IsNegotiationPending());
    Serve(Record(1, 19, "|3|bob|1D|8|5K|"), [&] { return view->GetNegotiationDialog() != nullptr; });
  }
  void Press(CWnd* dialog, UINT id) { dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  // The next record (major, minor) bob's frame sends.
  std::optional<PeerRecord> NextOfBob(int major, int minor) {
    std::optional<PeerRecord> found;
    PumpUntil([&] {
      const std::vector<PeerRecord> records = peerB.Records();
      for (std::size_t i = takenB; i < records.size(); ++i)
        if (records[i].Is(major, minor)) {
          found = records[i];
          takenB = i + 1;
          return true;
        }
      return false;
    });
    return found;
  }

  GameServerPeer peerB;
  CTestMainFrame* frameB{nullptr};
  HWND frameBHandle{nullptr};
  std::size_t takenB{0};
};

// The proposal as the server hands it to bob (message 513).
const char kProposalToBob[] = "|R2|3|3|carol||5K|3|bob||1D|5|0|1800|30|3|1|1|";

TEST_F(NegotiationPeerTest, ProposeCounterProposeAgreeAndBothEnterTheRoom) {
  AskBob();
  CNegotiationAskDlg* dialog = view->GetNegotiationDialog();
  CString caption;
  dialog->GetWindowText(caption);
  EXPECT_EQ(caption, "Play Nego(Please, set play condition and click OK.)");
  // carol (5K) is weaker: she takes black, with five handicap stones against 1D.
  EXPECT_EQ(dialog->m_strOwnColour, Cp949("흑"));
  EXPECT_EQ(dialog->m_nCondition, kConditionHandicap);
  EXPECT_EQ(dialog->m_strHandicap, "5");
  EXPECT_EQ(dialog->GetTimerId(), 0u);  // a fresh proposal waits for nobody

  Press(dialog, CNegotiationAskDlg::kOkButton);
  std::optional<PeerRecord> conditions = NextRecord(3, 8);
  ASSERT_TRUE(conditions);
  EXPECT_EQ(conditions->payload, "|R2|2|3|bob|1|5|0.0|1800|30|3|1||1||");
  EXPECT_EQ(conditions->sender, senderNumber());
  dialog->GetWindowText(caption);
  EXPECT_EQ(caption, "Play Nego(in asking your opponent's agrement now.)");
  EXPECT_FALSE(dialog->GetDlgItem(CNegotiationAskDlg::kOkButton)->IsWindowEnabled());

  // bob's frame shows the proposal and sends other conditions back: an even game.
  lobby.answers[408] = [](CWnd* reply, CDialog*) {
    CString opponent;
    reply->GetDlgItemText(CNegotiationReplyDlg::kOpponentIdEdit, opponent);
    EXPECT_EQ(opponent, "carol");
    reply->SendMessage(WM_COMMAND, MAKEWPARAM(CNegotiationReplyDlg::kEvenRadio, BN_CLICKED), 0);
    return static_cast<INT_PTR>(CNegotiationReplyDlg::kRenegoButton);
  };
  peerB.Send({{Record(5, 13, kProposalToBob), 0}});
  std::optional<PeerRecord> counter = NextOfBob(5, 13);  // role 3: room requests are major 5
  ASSERT_TRUE(counter);
  EXPECT_EQ(counter->payload, "|R2|3|2|0|6.500000|1800|30|3|1|2|");
  EXPECT_EQ(counter->flag, "1");

  // The counter-proposal reaches carol, who accepts it.
  Serve(Record(3, 9, "|R2|2|3|carol||5K|3|bob||1D|3|0|6.5|1800|30|3|1|Even game|1||"),
        [&] { return !dialog->IsSendPending(); });
  dialog->GetWindowText(caption);
  EXPECT_EQ(caption, "Play Nego(Please, click OK or set play conditions and click Renego.)");
  EXPECT_EQ(dialog->m_nCondition, kConditionEven);
  EXPECT_FLOAT_EQ(dialog->m_fKomi, 6.5f);
  EXPECT_EQ(dialog->m_nAutoColour, 1);
  EXPECT_EQ(dialog->GetTickCount(), CNegotiationAskDlg::kCounterStartTick);
  EXPECT_TRUE(dialog->GetDlgItem(CNegotiationAskDlg::kRenegoButton)->IsWindowVisible());
  Press(dialog, CNegotiationAskDlg::kOkButton);
  conditions = NextRecord(3, 8);
  ASSERT_TRUE(conditions);
  EXPECT_EQ(conditions->payload, "|R2|1|3|bob|3|0|6.5|1800|30|3|1|Even game|1||");
  EXPECT_EQ(view->GetNegotiationDialog(), nullptr);
  EXPECT_TRUE(view->IsNegotiationPending());  // until the room is entered

  // The server names the agreed room to both; each leaves the waiting room and joins it.
  const std::string agreed = Record(3, 10, "|R2|77|carol|bob|x|y|pw|");
  EXPECT_TRUE(frame->GetMainMenu()->GetButton(MenuButton::kLeave)->IsWindowEnabled());
  peerB.Send({{agreed, 0}});
  Serve(agreed, [&] { return frame->GetActiveViewId() == CMainFrame::kGameRoomView; });
  ASSERT_TRUE(PumpUntil([&] { return frameB->GetActiveViewId() == CMainFrame::kGameRoomView; }));
  for (CTestMainFrame* side : {frame, frameB}) {
    CSessionRecord* record = side->GetLobbySession();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->m_nRoomNumber, 77);
    EXPECT_EQ(record->m_strRoomText1, "pw");
    EXPECT_EQ(record->m_strRoomText3, "2");  // a password makes it private
    EXPECT_EQ(side->GetRoomState(), 2);
    EXPECT_EQ(side->GetWaitingRoomView(), nullptr);
    // The game's buttons are on the main menu; the room cannot be left while it starts.
    CMainMenu* menu = side->GetMainMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->GetButton(MenuButton::kAskDraw)->IsWindowEnabled());
    EXPECT_TRUE(menu->GetButton(MenuButton::kPause)->IsWindowEnabled());
    EXPECT_FALSE(menu->GetButton(MenuButton::kLeave)->IsWindowEnabled());
    EXPECT_EQ(menu->GetButton(MenuButton::kPause)->GetBitmapId(), MenuButton::kPauseFace);
  }
  // Each side leaves its waiting room (role 3: major 3), then joins the agreed room with its
  // password from there (waiting room 2: major 5).
  for (const bool bob : {false, true}) {
    const auto next = [&](int major, int minor) { return bob ? NextOfBob(major, minor) : NextRecord(major, minor); };
    const std::optional<PeerRecord> leave = next(3, 2);
    ASSERT_TRUE(leave);
    EXPECT_EQ(leave->payload, "|R2|");
    const std::optional<PeerRecord> join = next(5, 3);
    ASSERT_TRUE(join);
    EXPECT_EQ(join->payload, "|R2|77|pw|");
  }
  ReleaseCapture();
}

TEST_F(NegotiationPeerTest, RefusalsOnBothSides) {
  AskBob();
  Press(view->GetNegotiationDialog(), CNegotiationAskDlg::kOkButton);
  ASSERT_TRUE(NextRecord(3, 8));
  Serve(Record(3, 9, "|R2|0|"), [&] { return view->GetNegotiationDialog() == nullptr; });
  EXPECT_EQ(lobby.shown.back(), "Match negotiation have been rejected.");
  EXPECT_FALSE(view->IsNegotiationPending());
  EXPECT_TRUE(view->IsNegotiationAllowed());

  // bob rejects a proposal.
  peerB.Send({{Record(5, 13, kProposalToBob), 0}});
  const std::optional<PeerRecord> refusal = NextOfBob(5, 13);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->payload, "|R2|3|0|");
  EXPECT_EQ(refusal->flag, "2");

  // A user who does not negotiate gets no dialog.
  Select(view->GetUserList(), "bob");
  view->OnNegoPlay();
  ASSERT_TRUE(NextRecord(1, 19));
  Serve(Record(1, 19, "|3|bob|1D|0|5K|"), [&] { return !lobby.shown.empty() && lobby.shown.back() != "Match negotiation have been rejected."; });
  EXPECT_EQ(lobby.shown.back(), "You can not negotiate with bob.");
  EXPECT_EQ(view->GetNegotiationDialog(), nullptr);
  EXPECT_FALSE(view->IsNegotiationPending());
}

TEST_F(NegotiationPeerTest, TimeOutsOnTheManualClock) {
  platform::ManualClockScope manual;
  const auto tick = [](int seconds) {
    for (int i = 0; i < seconds; ++i) {
      platform::Clock::Advance(1000);
      platform::PumpMessages();
    }
  };
  // Cancel before anything was sent: closed without a word to the server.
  AskBob();
  view->GetNegotiationDialog()->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(view->GetNegotiationDialog(), nullptr);
  EXPECT_TRUE(NoRecord(3, 8));

  // No answer 30 seconds after OK: the refusal goes out by itself.
  AskBob();
  Press(view->GetNegotiationDialog(), CNegotiationAskDlg::kOkButton);
  ASSERT_TRUE(NextRecord(3, 8));
  tick(29);
  EXPECT_NE(view->GetNegotiationDialog(), nullptr);
  EXPECT_TRUE(NoRecord(3, 8));
  tick(2);
  std::optional<PeerRecord> refusal = NextRecord(3, 8);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->payload, "|R2|0|3|bob|1|5|0.0|1800|30|3|1||1||");
  EXPECT_EQ(view->GetNegotiationDialog(), nullptr);
  EXPECT_FALSE(view->IsNegotiationPending());

  // A counter-proposal left alone for 25 seconds is refused.
  AskBob();
  Press(view->GetNegotiationDialog(), CNegotiationAskDlg::kOkButton);
  ASSERT_TRUE(NextRecord(3, 8));
  Serve(Record(3, 9, "|R2|2|3|carol||5K|3|bob||1D|1|0|0|3600|30|3|1|T|1||"),
        [&] { return view->GetNegotiationDialog() && view->GetNegotiationDialog()->IsSendPending() == FALSE; });
  tick(24);
  EXPECT_TRUE(NoRecord(3, 8));
  tick(2);
  refusal = NextRecord(3, 8);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->payload, "|R2|0|3|bob|1|0|0.0|3600|30|3|1|T|1||");

  // bob does not answer a proposal: his dialog rejects it after 30 ticks.
  lobby.answers[408] = [&](CWnd*, CDialog*) {
    tick(31);
    return IDOK;
  };
  peerB.Send({{Record(5, 13, kProposalToBob), 0}});
  const std::optional<PeerRecord> bobRefusal = NextOfBob(5, 13);
  ASSERT_TRUE(bobRefusal);
  EXPECT_EQ(bobRefusal->payload, "|R2|3|0|");
}

}  // namespace

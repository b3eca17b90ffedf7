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
  // carol asks bob and the server answers that bob (of grade bobGrade) negotiates: the proposal
  // dialog opens.
  void AskBob(const char* bobGrade = "1D") {
    Select(view->GetUserList(), "bob");
    view->OnNegoPlay();
    const std::optional<PeerRecord> ask = NextRecord(1, 19);
    ASSERT_TRUE(ask);
    EXPECT_EQ(ask->payload, "|3|bob|");
    EXPECT_TRUE(view->IsNegotiationPending());
    Serve(Record(1, 19, std::string("|3|bob|") + bobGrade + "|8|5K|"),
          [&] { return view->GetNegotiationDialog() != nullptr; });
  }
  void Press(CWnd* dialog, UINT id) { dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  // A click as a person makes it: only on a control that is shown and enabled.
  static void Click(CWnd* dialog, UINT id) {
    CWnd* control = dialog->GetDlgItem(static_cast<int>(id));
    ASSERT_NE(control, nullptr) << id;
    ASSERT_TRUE(control->IsWindowVisible() && control->IsWindowEnabled()) << "control " << id << " cannot be clicked";
    control->SendMessage(BM_CLICK);
  }
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

// The dialog's own buttons between the proposal and the answer: each row is what carol does, the
// (3,8) request that goes out and the state the dialog is left in.
TEST_F(NegotiationPeerTest, ColourChoicesRenegoAndCancelSendTheirConditions) {
  platform::ManualClockScope manual;
  const auto tick = [](int seconds) {
    for (int i = 0; i < seconds; ++i) {
      platform::Clock::Advance(1000);
      platform::PumpMessages();
    }
  };
  using D = CNegotiationAskDlg;
  // The counter-proposal bob's side sends back: black without komi, an hour, titled "T".
  const std::string counter = Record(3, 9, "|R2|2|3|carol||5K|3|bob||1D|1|0|0|3600|30|3|1|T|1||");
  struct Row {
    const char* what;
    const char* bobGrade;
    enum { kFresh, kSent, kCountered } before;  // the proposal as it stands: untouched, sent, countered
    std::function<void(D*)> act;
    const char* sent;  // the (3,8) payload
    bool open;         // the dialog still waits for bob
    const std::string* countered{nullptr};  // bob's counter-proposal, when not the usual one
  };
  // bob counters between equal grades with the colours chosen automatically.
  const std::string automatic = Record(3, 9, "|R2|2|3|carol||5K|3|bob||5K|3|0|6.5|1800|30|3|1|T|1||");
  const Row rows[] = {
      {"Change Color on a handicap proposal: carol takes white", "1D", Row::kFresh,
       [](D* d) {
         Click(d, D::kChangeColourButton);
         EXPECT_EQ(d->m_strOwnColour, Cp949("백"));
         EXPECT_EQ(d->m_strOpponentColour, Cp949("흑"));
         Click(d, D::kOkButton);
       },
       "|R2|2|3|bob|2|5|0.0|1800|30|3|1||1||", true},
      {"equal grades: Auto Select is on and sent as 3", "5K", Row::kFresh,
       [](D* d) {
         EXPECT_TRUE(d->GetDlgItem(D::kAutoColourCheck)->IsWindowVisible());
         EXPECT_EQ(d->IsDlgButtonChecked(D::kAutoColourCheck), BST_CHECKED);
         EXPECT_FALSE(d->GetDlgItem(D::kChangeColourButton)->IsWindowEnabled());
         Click(d, D::kOkButton);
       },
       "|R2|2|3|bob|3|0|6.5|1800|30|3|1||1||", true},
      {"equal grades: Auto Select off frees Change Color, on again locks it", "5K", Row::kFresh,
       [](D* d) {
         EXPECT_EQ(d->m_strOwnColour, Cp949("흑"));  // equal kyu: the user is black
         Click(d, D::kAutoColourCheck);
         Click(d, D::kChangeColourButton);
         Click(d, D::kAutoColourCheck);
         EXPECT_FALSE(d->GetDlgItem(D::kChangeColourButton)->IsWindowEnabled());
         Click(d, D::kAutoColourCheck);
         Click(d, D::kOkButton);
       },
       "|R2|2|3|bob|2|0|6.5|1800|30|3|1||1||", true},
      {"Renego from a counter-proposal sends the edited terms", "1D", Row::kCountered,
       [](D* d) {
         Click(d, D::kEvenRadio);
         Click(d, D::kRenegoButton);
       },
       "|R2|2|3|bob|1|0|6.5|3600|30|3|1|T|1||", true},
      {"Auto Select unticked on an automatic counter-proposal: carol's colour on screen is sent", "5K",
       Row::kCountered,
       [](D* d) {
         EXPECT_EQ(d->IsDlgButtonChecked(D::kAutoColourCheck), BST_CHECKED);
         Click(d, D::kAutoColourCheck);
         Click(d, D::kRenegoButton);
       },
       "|R2|2|3|bob|1|0|6.5|1800|30|3|1|T|1||", true, &automatic},
      {"Cancel after OK refuses", "1D", Row::kSent, [](D* d) { Click(d, IDCANCEL); },
       "|R2|0|3|bob|1|5|0.0|1800|30|3|1||1||", false},
      {"Cancel on a counter-proposal refuses it", "1D", Row::kCountered, [](D* d) { Click(d, IDCANCEL); },
       "|R2|0|3|bob|1|0|0.0|3600|30|3|1|T|1||", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    AskBob(row.bobGrade);
    D* dialog = view->GetNegotiationDialog();
    ASSERT_NE(dialog, nullptr);
    if (row.before != Row::kFresh) {
      Click(dialog, D::kOkButton);
      ASSERT_TRUE(NextRecord(3, 8));
    }
    if (row.before == Row::kCountered) {
      Serve(row.countered ? *row.countered : counter, [&] { return !dialog->IsSendPending(); });
      ASSERT_TRUE(dialog->GetDlgItem(D::kRenegoButton)->IsWindowVisible());
      tick(3);  // part of the counter-proposal's 25 seconds goes by
    }
    row.act(dialog);
    const std::optional<PeerRecord> sent = NextRecord(3, 8);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->payload, row.sent);
    EXPECT_EQ(sent->flag, "1");
    if (!row.open) {
      EXPECT_EQ(view->GetNegotiationDialog(), nullptr);
      EXPECT_FALSE(view->IsNegotiationPending());
      continue;
    }
    // Waiting for bob: nothing to edit, and a fresh 30 seconds before the refusal goes out alone.
    ASSERT_EQ(view->GetNegotiationDialog(), dialog);
    EXPECT_TRUE(view->IsNegotiationPending());
    CString caption;
    dialog->GetWindowText(caption);
    EXPECT_EQ(caption, "Play Nego(in asking your opponent's agrement now.)");
    EXPECT_FALSE(dialog->GetDlgItem(D::kOkButton)->IsWindowEnabled());
    EXPECT_FALSE(dialog->GetDlgItem(D::kRenegoButton)->IsWindowVisible());
    EXPECT_FALSE(dialog->GetDlgItem(D::kTitleEdit)->IsWindowEnabled());
    CString status;
    dialog->GetDlgItemText(D::kStatusText, status);
    EXPECT_EQ(status, "If you don't answer in 30 seconds, automatic cancelled.");
    tick(29);
    EXPECT_TRUE(NoRecord(3, 8));
    tick(2);
    const std::optional<PeerRecord> refusal = NextRecord(3, 8);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->payload, "|R2|0" + std::string(row.sent).substr(5));
    EXPECT_EQ(view->GetNegotiationDialog(), nullptr);
    EXPECT_FALSE(view->IsNegotiationPending());
  }
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

  // A counter-proposal left alone for 25 seconds is refused, with the largest komi typed meanwhile.
  AskBob();
  Press(view->GetNegotiationDialog(), CNegotiationAskDlg::kOkButton);
  ASSERT_TRUE(NextRecord(3, 8));
  Serve(Record(3, 9, "|R2|2|3|carol||5K|3|bob||1D|1|0|0|3600|30|3|1|T|1||"),
        [&] { return view->GetNegotiationDialog() && view->GetNegotiationDialog()->IsSendPending() == FALSE; });
  view->GetNegotiationDialog()->SetDlgItemText(CNegotiationAskDlg::kKomiEdit, "15.5");
  tick(24);
  EXPECT_TRUE(NoRecord(3, 8));
  tick(2);
  refusal = NextRecord(3, 8);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->payload, "|R2|0|3|bob|1|0|15.5|3600|30|3|1|T|1||");

  // A komi refused under the counter-proposal's clock: the clock waits while it is explained, so
  // neither a second explanation nor a refusal follows; the value typed again goes out.
  AskBob();
  Press(view->GetNegotiationDialog(), CNegotiationAskDlg::kOkButton);
  ASSERT_TRUE(NextRecord(3, 8));
  Serve(Record(3, 9, "|R2|2|3|carol||5K|3|bob||1D|1|0|0|3600|30|3|1|T|1||"),
        [&] { return view->GetNegotiationDialog() && view->GetNegotiationDialog()->IsSendPending() == FALSE; });
  CNegotiationAskDlg* ask = view->GetNegotiationDialog();
  tick(10);
  ask->SetDlgItemText(CNegotiationAskDlg::kKomiEdit, "20");
  int boxes = 0;
  lobby.whileBoxShown = [&] {
    ++boxes;
    tick(40);
  };
  const std::size_t explained = lobby.shown.size();
  Click(ask, CNegotiationAskDlg::kRenegoButton);
  lobby.whileBoxShown = nullptr;
  EXPECT_EQ(boxes, 1);
  ASSERT_EQ(lobby.shown.size(), explained + 1);
  EXPECT_EQ(lobby.shown.back(), "Please enter a number between 0 and 15.5.");
  EXPECT_TRUE(NoRecord(3, 8));
  ASSERT_EQ(view->GetNegotiationDialog(), ask);
  EXPECT_EQ(ask->GetTickCount(), CNegotiationAskDlg::kCounterStartTick + 10);
  tick(5);
  ask->SetDlgItemText(CNegotiationAskDlg::kKomiEdit, "7.5");
  Click(ask, CNegotiationAskDlg::kRenegoButton);
  std::optional<PeerRecord> renego = NextRecord(3, 8);
  ASSERT_TRUE(renego);
  EXPECT_EQ(renego->payload, "|R2|2|3|bob|1|0|7.5|3600|30|3|1|T|1||");
  // The opponent's answer is waited for on a fresh clock, and a refused komi left in the box at the
  // time-out is not explained after the time ran out: the refusal carries the komi last taken.
  tick(10);
  ask->SetDlgItemText(CNegotiationAskDlg::kKomiEdit, "99");
  tick(21);
  refusal = NextRecord(3, 8);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->payload, "|R2|0|3|bob|1|0|7.5|3600|30|3|1|T|1||");
  EXPECT_EQ(lobby.shown.size(), explained + 1);
  EXPECT_EQ(view->GetNegotiationDialog(), nullptr);

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

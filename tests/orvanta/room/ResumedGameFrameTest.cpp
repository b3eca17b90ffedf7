// A game goes on after every interruption: restored from its whole record (resumed or continued)
// or restarted after the end was cancelled, the seated player clicks, the move goes to the server
// and its echo lands on the board. The frame, its link to the game-server peer, the room and the
// board model are the real ones.

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FrameRoomFixture.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/MemoBoxDlg.h"

namespace {

// carol is black in this record: two moves, black to play.
constexpr const char* kStoredGame =
    "(;FF[4]GM[1]SZ[19]PB[hc:carol:c3:3k]PW[hl:lee:l3:4k]TM[60]OT[10:2]DT[2026-12-09]KM[6.5]HA[0]"
    ";B[pd]BL[80];W[dd]WL[78])";
constexpr const char* kEvenStart = "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|";

// How the game was interrupted and given back.
enum class Way { Resumed541, Continued525WithRecord, Restarted534 };

class ResumedGameFrameTest : public FrameRoomTest, public testing::WithParamInterface<Way> {
protected:
  void Enter(const std::string& role) {
    Server(52, "|12|");
    Server(53, "|12|hc|carol|Carol|3k|1|" + role + "|1|");
    ASSERT_EQ(&*m_room, frame->GetGameRoom());
  }
  std::string Pane(int pane) { return room().GetPaneText(pane).str(); }
  // The two moves of the stored game, played through the server: carol's click, then lee's move.
  void PlayTheFirstTwoMoves() {
    board.Click(3, 15);
    ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == 1; }));
    EXPECT_EQ("|k|12|B[pd]|BL[80]|", Payloads(14)[0]);
    Server(514, "|a|b|1|B[pd]|BL[80]|");
    Server(514, "|a|b|2|W[dd]|WL[78]|");
    ASSERT_EQ(2, room().GetMoveCounter());
  }
  void Interrupt(Way way) {
    switch (way) {
      case Way::Resumed541:
        // The game was in counting and a dead stone agreed before the stored game came back.
        Server(521, "|a|b|1|");
        Server(517, "|a|b|1|W|1|dd|");
        ASSERT_EQ("1", Pane(CGameRoom::kWhiteCaptured));
        Server(541, std::string("|a|b|1|") + kStoredGame + "|");
        ASSERT_TRUE(PumpUntil([&] { return Pane(CGameRoom::kMessage) == "Play is started."; }));
        break;
      case Way::Continued525WithRecord:
        Server(525, std::string("|a|b|1|") + kStoredGame + "|");
        ASSERT_TRUE(PumpUntil([&] { return Pane(CGameRoom::kMessage) == "Game is processing again."; }));
        break;
      case Way::Restarted534:
        Server(521, "|a|b|1|");
        ASSERT_EQ(CRoomState::kModeCheckStone, board.GetGameMode());
        Server(534, "|a|b|1|");
        ASSERT_TRUE(PumpUntil([&] { return Pane(CGameRoom::kMessage) == "Restarting match."; }));
        break;
    }
  }
};

}  // namespace

TEST_P(ResumedGameFrameTest, TheSeatedPlayerMovesOnAndTheServersEchoIsPlaced) {
  Enter("3");
  Server(510, "||");
  Server(512, kEvenStart);
  PlayTheFirstTwoMoves();
  Interrupt(GetParam());

  // The same two stones, carol still black, and it is her turn.
  EXPECT_EQ(2, board.Cell(3, 15));
  EXPECT_EQ(4, board.Cell(3, 3));
  EXPECT_EQ(2, room().GetMoveCounter());
  EXPECT_EQ(2, board.GetUserColor());
  EXPECT_EQ(CRoomState::kModePlay, board.GetGameMode());
  EXPECT_EQ("0", Pane(CGameRoom::kBlackCaptured));
  EXPECT_EQ("0", Pane(CGameRoom::kWhiteCaptured));
  EXPECT_EQ("In Playing", Pane(CGameRoom::kStatus));

  // Her click goes to the server as her move; the server's echo puts the stone down.
  board.errors.clear();
  board.Click(15, 15);
  ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == 2; }));
  EXPECT_TRUE(board.errors.empty());
  EXPECT_EQ(0u, Payloads(14)[1].find("|k|12|B[pp]|BL[")) << Payloads(14)[1];
  Server(514, "|a|b|3|B[pp]|BL[70]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 3; }));
  EXPECT_EQ(2, board.Cell(15, 15));
  // Now it is lee's turn: a second click is refused and sends nothing.
  board.Click(15, 3);
  EXPECT_EQ(std::vector<short>{1}, board.errors);
  PumpFor(40);
  EXPECT_EQ(2u, Payloads(14).size());
  // lee answers and carol plays again.
  Server(514, "|a|b|4|W[dp]|WL[70]|");
  board.Click(16, 16);
  ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == 3; }));
  EXPECT_EQ(0u, Payloads(14)[2].find("|k|12|B[qq]|BL[")) << Payloads(14)[2];
}

INSTANTIATE_TEST_SUITE_P(EachWayBack, ResumedGameFrameTest,
                         testing::Values(Way::Resumed541, Way::Continued525WithRecord, Way::Restarted534),
                         [](const testing::TestParamInfo<Way>& info) {
                           switch (info.param) {
                             case Way::Resumed541: return std::string("Resumed541");
                             case Way::Continued525WithRecord: return std::string("Continued525WithRecord");
                             default: return std::string("Restarted534");
                           }
                         });

// An observer of a restored game still cannot move: the board refuses his click.
TEST_F(FrameRoomTest, AnObserverOfARestoredGameStillCannotMove) {
  Server(52, "|12|");
  Server(53, "|12|hc|carol|Carol|3k|1|2|1|");
  ASSERT_EQ(0x102, room().GetRoomState());
  Server(511, "|POM|A|hc|kim|k3|5d|hw|lee|l3|6d|1|hc|carol|Carol|3k|3|");
  Server(541, std::string("|a|b|1|") +
                  "(;FF[4]GM[1]SZ[19]PB[hb:kim:k3:5d]PW[hw:lee:l3:6d]TM[60]OT[10:2]KM[6.5]HA[0];B[pd]BL[80];W[dd]WL[78])|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 2; }));
  EXPECT_EQ(1, board.GetUserColor());
  board.Click(15, 15);
  EXPECT_EQ(std::vector<short>{1}, board.errors);
  PumpFor(40);
  EXPECT_TRUE(Payloads(14).empty());
  EXPECT_EQ(0, board.Cell(15, 15));

  // The players' requests to each other reach the observer too: he is asked nothing and answers
  // nothing, and the game goes on with the next move.
  const std::size_t questions = script.shown.size();
  for (int code : {516, 518, 520, 522, 524, 526, 535, 542, 544, 547}) Server(code, "|a|b|");
  for (const PeerRecord& r : peer.Records()) EXPECT_NE("2", r.flag) << r.major << "," << r.minor << " " << r.payload;
  EXPECT_EQ(questions, script.shown.size()) << script.shown.back();
  Server(514, "|a|b|3|B[pp]|BL[70]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 3; }));
}

namespace {

constexpr const char* kResumeQuestion = "Match was concluded improperly\nDo you wish to move directly to the game room?";

// A login whose reply offers the unfinished game back, answered Yes: the room is rejoined by the
// reply's texts (waiting-room key "5", room "77", the room's class text "2", which makes the
// room requests' category 5).
class ResumeLoginTest : public FrameRoomTest {
protected:
  void SetUp() override {
    peer.ReplyOnce(1, 1, {{GameServerPeer::Record(1, 1, "|2||5|77|12|2|"), 0}});
    script.answers[kResumeQuestion] = IDYES;
    FrameRoomTest::SetUp();
  }
  // Every record of major.minor, oldest first.
  std::vector<std::string> Sent(const std::string& major, int minor) {
    std::vector<std::string> payloads;
    for (const PeerRecord& r : peer.Records())
      if (r.major == major && r.minor == std::to_string(minor)) payloads.push_back(r.payload);
    return payloads;
  }
};

}  // namespace

TEST_F(ResumeLoginTest, TheRejoinedRoomsRequestsAndMovesNameTheRoomUntilItIsLeft) {
  // The post-login notice sends the join; the server puts the user into the room as black.
  peer.Send({{GameServerPeer::Record(3, 6, "|0|"), 0}});
  ASSERT_TRUE(PumpUntil([&] { return Sent("5", 3).size() == 1; }));
  EXPECT_EQ("|5|77|12|", Sent("5", 3)[0]);
  Server(53, "|77|hc|carol|Carol|3k|1|3|1|");
  ASSERT_TRUE(PumpUntil([&] { return Sent("5", 10).size() == 1; }));
  EXPECT_EQ(std::vector<std::string>{"|5|77|POM|"}, Sent("5", 11));
  EXPECT_EQ(std::vector<std::string>{"|5|77|"}, Sent("5", 9));
  EXPECT_EQ(std::vector<std::string>{"|5|77|"}, Sent("5", 10));

  // The game comes back whole; carol's move carries the room too.
  Server(525, std::string("|a|b|1|") + kStoredGame + "|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 2; }));
  board.Click(15, 15);
  ASSERT_TRUE(PumpUntil([&] { return Sent("5", 14).size() == 1; }));
  EXPECT_EQ(0u, Sent("5", 14)[0].find("|5|77|B[pp]|BL[")) << Sent("5", 14)[0];
  Server(514, "|a|b|3|B[pp]|BL[70]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 3; }));

  // The start screen lists no waiting room of the login's key: the leave goes out on category 3,
  // still naming the room as its requests did, and the user goes back to the start screen.
  script.answers["Do you wish to leave the game room?"] = IDYES;
  frame->LeaveRoom();
  ASSERT_TRUE(PumpUntil([&] { return !Sent("3", 4).empty(); }));
  EXPECT_EQ("|5|77|", Sent("3", 4)[0]);
  const std::size_t asked = Sent("3", 6).size();
  Server(54, "|a|b|2|carol|x|y|");
  EXPECT_FALSE(frame->IsInRoom());
  EXPECT_EQ("", frame->GetLoginRecord()->m_strRoomText5.str());
  EXPECT_EQ(CMainFrame::kStartView, frame->GetActiveViewId());
  ASSERT_TRUE(PumpUntil([&] { return Sent("3", 6).size() == asked + 1; }));
  EXPECT_TRUE(Sent("3", 1).empty());
}

// The review board hidden: the frame leaves the room (no waiting room to go back to: the fixed
// category, under the room's own key), forgets the room's number, and the room's blink stops through
// the room, which starts it again with its next byo-yomi second.
TEST_F(FrameRoomTest, StoppingAReplayLeavesTheRoomAndStopsTheBlinkThroughTheRoom) {
  Server(52, "|12|");
  Server(53, "|12|hc|carol|Carol|3k|1|3|1|");
  Server(510, "||");
  Server(512, "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|1|10|2|");
  // Black's one second of main time runs out: his seconds pane blinks.
  room().OnTimer(CGameRoom::kGameClockTimer);
  room().OnTimer(CGameRoom::kGameClockTimer);
  for (int i = 0; i < 3 && !room().IsPaneBlinking(2); ++i) room().OnTimer(CGameRoom::kBlinkTimer);
  ASSERT_TRUE(room().IsPaneBlinking(2));
  ASSERT_EQ("12", frame->GetLoginRecord()->m_strRoomText5.str());

  frame->StopReplay();
  ASSERT_TRUE(PumpUntil([&] {
    for (const PeerRecord& r : peer.Records())
      if (r.Is(3, 4)) return true;
    return false;
  }));
  for (const PeerRecord& r : peer.Records()) {
    if (r.Is(3, 4)) {
      EXPECT_EQ("|k|12|", r.payload);
    }
  }
  EXPECT_EQ("", frame->GetLoginRecord()->m_strRoomText5.str());
  EXPECT_FALSE(frame->IsInRoom());
  EXPECT_FALSE(room().IsPaneBlinking(2));
  EXPECT_FALSE(room().GetBlinkPhase());
  // The next second of black's period blinks again.
  room().OnTimer(CGameRoom::kGameClockTimer);
  for (int i = 0; i < 3 && !room().IsPaneBlinking(2); ++i) room().OnTimer(CGameRoom::kBlinkTimer);
  EXPECT_TRUE(room().IsPaneBlinking(2));
}

// A stored game comes back whole (its continuation agreed) while lee, white in it, is not in the
// room: carol entered on her seat, or without one. The room shows the stored game with its
// players and lee's seat empty, and carol, black in it, plays on: her click goes out, the
// server's echo is placed, and lee's move after his return lands and gives her the turn.
TEST_F(FrameRoomTest, AStoredGameRestoredWithAPlayerAwayIsPlayedOnByTheSeatedOne) {
  struct Case {
    const char* name;
    std::string role;   // of carol's entry
    std::string seats;  // the room's seats when she is in
  };
  const Case cases[] = {{"carol on her seat", "3", "|P|B|hc|carol|c3|3k|"}, {"carol without a seat", "1", "|P|N|"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Server(52, "|12|");
    Server(53, "|12|hc|carol|Carol|3k|1|" + c.role + "|1|");
    Server(510, "||");
    Server(511, c.seats);
    Server(541, std::string("|a|b|1|") + kStoredGame + "|");
    ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 2; }));
    EXPECT_EQ("carol", room().GetPaneText(CGameRoom::kBlackName).str());
    EXPECT_EQ("lee", room().GetPaneText(CGameRoom::kWhiteName).str());
    EXPECT_EQ("In Playing", room().GetPaneText(CGameRoom::kStatus).str());
    EXPECT_FALSE(room().IsSeatTaken(4));
    EXPECT_EQ(0x42, room().GetRoomState());
    EXPECT_EQ(2, board.GetUserColor());

    const std::size_t moves = Payloads(14).size();
    board.errors.clear();
    board.Click(15, 15);
    ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == moves + 1; }));
    EXPECT_TRUE(board.errors.empty());
    EXPECT_EQ(0u, Payloads(14).back().find("|k|12|B[pp]|BL[")) << Payloads(14).back();
    Server(514, "|a|b|3|B[pp]|BL[70]|");
    EXPECT_EQ(2, board.Cell(15, 15));
    // lee is back and answers; carol's turn.
    Server(514, "|a|b|4|W[dp]|WL[70]|");
    EXPECT_EQ(4, board.Cell(15, 3));
    EXPECT_EQ("It is your turn.", room().GetPaneText(CGameRoom::kMessage).str());
    board.Click(16, 16);
    ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == moves + 2; }));
    // lee resigns; carol leaves for the next case.
    Server(543, "|a|b|x|lee|");
    Server(54, "|a|b|3|carol|x|y|");
    ASSERT_FALSE(frame->IsInRoom());
  }
}

// A stored game restored for its white player goes by white, resumed or continued: her turn
// texts, her own clock's time-out told to the server, and the end of the game on her time.
TEST_F(FrameRoomTest, AStoredGameRestoredForItsWhitePlayerGoesByWhite) {
  // carol is white here; lee has played once and it is her turn.
  const std::string stored = "(;FF[4]GM[1]SZ[19]PB[hl:lee:l3:4k]PW[hc:carol:c3:3k]TM[60]OT[10:2]DT[2026-12-09]"
                             "KM[6.5]HA[0];B[pd]BL[80])";
  auto pane = [&](int which) { return room().GetPaneText(which).str(); };
  for (const int way : {541, 525}) {
    SCOPED_TRACE(way);
    Server(52, "|12|");
    Server(53, "|12|hc|carol|Carol|3k|1|3|1|");
    Server(510, "||");
    Server(way, "|a|b|1|" + stored + "|");
    ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 1; }));
    EXPECT_EQ("lee", pane(CGameRoom::kBlackName));
    EXPECT_EQ("carol", pane(CGameRoom::kWhiteName));
    EXPECT_EQ(4, board.GetUserColor());

    const std::size_t moves = Payloads(14).size();
    board.errors.clear();
    board.Click(15, 15);
    ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == moves + 1; }));
    EXPECT_TRUE(board.errors.empty());
    EXPECT_EQ(0u, Payloads(14).back().find("|k|12|W[pp]|WL[")) << Payloads(14).back();
    Server(514, "|a|b|2|W[pp]|WL[70]|");
    EXPECT_EQ(4, board.Cell(15, 15));
    EXPECT_EQ("It is opponent's turn.", pane(CGameRoom::kMessage));
    Server(514, "|a|b|3|B[dp]|BL[70]|");
    EXPECT_EQ("It is your turn.", pane(CGameRoom::kMessage));

    // Her clock runs out: the room stops it and tells the server that white's time is up.
    const std::size_t clocks = Payloads(38).size();
    for (int second = 0; second < 200 && room().IsClockRunning(); ++second)
      room().OnTimer(CGameRoom::kGameClockTimer);
    EXPECT_FALSE(room().IsClockRunning());
    EXPECT_EQ("0 sec", pane(CGameRoom::kWhiteSeconds));
    ASSERT_TRUE(PumpUntil([&] { return Payloads(38).size() == clocks + 1; }));
    EXPECT_EQ("|k|12|2|", Payloads(38).back());
    // The server ends the game on her time: black has won, and the record says so.
    Server(538, "|a|b|x|hc|carol|");
    EXPECT_EQ("B won by time", pane(CGameRoom::kStatus));
    EXPECT_STREQ("RE[B+T]", record.GetResult());
    Server(54, "|a|b|3|carol|x|y|");
    ASSERT_FALSE(frame->IsInRoom());
  }
}

namespace {

constexpr const char* kMemoQuestion = "You have 2 memos. \n\tDo you wish to check?";

}  // namespace

// A server that answers the memo request at once: its answer comes in one read with the
// post-login notice.
TEST_F(ResumeLoginTest, AnEagerServersMemoAnswerInTheNoticesReadLosesNothingAndTheGameGoesOn) {
  script.answers[kMemoQuestion] = IDYES;
  peer.Send({{GameServerPeer::Record(1, 13, "|2|d1|kim|Kim|hello|d2|lee|Lee|again|") +
                  GameServerPeer::Record(3, 6, "|0|"),
              0}});
  // Logging in sent the memo request once; the memo question and the resume join follow the
  // person's answers, in the order the server's records came.
  ASSERT_TRUE(PumpUntil([&] { return Sent("5", 3).size() == 1; })) << "the resume join was not sent";
  EXPECT_EQ("|5|77|12|", Sent("5", 3)[0]);
  EXPECT_EQ(1u, Sent("1", 13).size()) << "the memo list is asked for once";
  const auto question = [&](const char* text) {
    return std::find(script.shown.begin(), script.shown.end(), text) - script.shown.begin();
  };
  EXPECT_LT(question(kResumeQuestion), question(kMemoQuestion));
  EXPECT_LT(question(kMemoQuestion), static_cast<std::ptrdiff_t>(script.shown.size()));
  ASSERT_NE(frame->GetMemoBox(), nullptr);
  EXPECT_TRUE(frame->GetMemoBox()->IsWindowVisible());

  // The room is entered and the game comes back; carol plays on and the server's echo lands.
  Server(53, "|77|hc|carol|Carol|3k|1|3|1|");
  ASSERT_TRUE(PumpUntil([&] { return Sent("5", 10).size() == 1; }));
  Server(525, std::string("|a|b|1|") + kStoredGame + "|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 2; }));
  board.Click(15, 15);
  ASSERT_TRUE(PumpUntil([&] { return Sent("5", 14).size() == 1; }));
  EXPECT_EQ(0u, Sent("5", 14)[0].find("|5|77|B[pp]|BL[")) << Sent("5", 14)[0];
  Server(514, "|a|b|3|B[pp]|BL[70]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 3; }));
}

// While a record's question is open, what the server sends meanwhile waits behind the records
// already received: the notice read with the memo count is handled before a memo notice sent
// while the person reads the question.
TEST_F(ResumeLoginTest, RecordsSentWhileAQuestionIsOpenComeAfterTheRestOfTheirRead) {
  CSlowReader reader(script);
  platform::ScopedUiScript slow(&reader);
  reader.whileOpen = [&](const std::string& text) {
    if (text != kMemoQuestion) return;
    peer.Send({{GameServerPeer::Record(1, 15, "|1|"), 0}});
    PumpFor(150);
  };
  script.answers[kMemoQuestion] = IDNO;
  peer.Send({{GameServerPeer::Record(1, 13, "|2|d1|kim|Kim|hello|d2|lee|Lee|again|") +
                  GameServerPeer::Record(3, 6, "|0|"),
              0}});
  ASSERT_TRUE(PumpUntil([&] { return Sent("1", 13).size() == 2; }));
  std::vector<std::string> order;
  for (const PeerRecord& r : peer.Records())
    if (r.Is(1, 13) || (r.major == "5" && r.minor == "3")) order.push_back(r.major + "," + r.minor);
  EXPECT_EQ(order, (std::vector<std::string>{"1,13", "5,3", "1,13"}));
}

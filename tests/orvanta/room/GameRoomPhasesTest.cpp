// The game room's phases after the opening moves, played against the game-server peer: finishing
// and restarting, a refused finish, resuming, the stalemate area and a win without counting, as
// the room-state word, the game clock and the main menu pane's buttons show them; and the leave
// command on the other screens.

#include <utility>
#include <vector>

#include "FrameRoomFixture.h"
#include "orvanta/room/RoomState.h"
#include "orvanta/widgets/MainMenu.h"

namespace {

using namespace MenuButton;

constexpr const char* kEvenStart = "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|";
// The stored game a resume brings back: two moves of carol (black) against lee.
constexpr const char* kStoredGame =
    "(;FF[4]GM[1]SZ[19]\nPB[hc:carol:c3:3k]\nPW[hl:lee:l3:4k]\nTM[60]OT[10:2]DT[2026-12-09]KM[6.5]HA[0]\n"
    ";B[pd]BL[80];W[dd]WL[77])";

class GameRoomPhasesTest : public FrameRoomTest {
protected:
  void StartGame() {
    Server(52, "|12|");
    Server(53, "|12|hc|carol|Carol|3k|1|3|1|");
    ASSERT_EQ(&*m_room, frame->GetGameRoom());
    Server(510, "||");
    Server(512, kEvenStart);
    ASSERT_EQ(0x42, room().GetRoomState());
  }
  CSkinButton& Button(UINT id) { return *frame->GetMainMenu()->GetButton(id); }
  // Room records (major 4) with minor and flag, in arrival order.
  std::vector<std::string> Sent(int minor, const std::string& flag) {
    std::vector<std::string> payloads;
    for (const PeerRecord& r : peer.Records())
      if (r.major == "4" && r.minor == std::to_string(minor) && r.flag == flag) payloads.push_back(r.payload);
    return payloads;
  }
};

// One server message of the game and what the room, the clock and the buttons look like after it.
struct Phase {
  int code;
  std::string payload;
  const char* question;  // asked of the user, answered with answer
  int answer;
  WORD state;
  bool clock;
  const char* message;  // the room's message pane
  std::vector<std::pair<UINT, bool>> enabled;
  std::vector<std::pair<UINT, UINT>> faces;
  int answerMinor;  // the answer sent back (flag 2), 0 for none
  const char* answerPayload;
};

}  // namespace

TEST_F(GameRoomPhasesTest, TheRoomStateClockAndButtonsFollowEachPhaseOfTheGame) {
  StartGame();
  const std::vector<Phase> phases = {
      // Both agreed to end: dead stones are designated, the clock stops.
      {521, "|a|b|1|", nullptr, 0, 0x44, false, "Send after designating your opponent's captured stones.",
       {{kSendStones, true}, {kStalemate, true}, {kAskCounting, true}, {kAskDraw, false}, {kGiveUpMove, false}},
       {{kAskEnd, kCountingDoneFace}}, 0, nullptr},
      // The end is cancelled: back to playing, the faces of the game come back.
      {534, "|a|b|1|", nullptr, 0, 0x42, true, "Restarting match.",
       {{kAskDraw, true}, {kSendStones, false}, {kStalemate, false}, {kReceiveAgain, true}},
       {{kAskEnd, kAskEndFace}, {kPause, kPauseFace}, {kStalemate, kStalemateFace}, {kAskCounting, kAskCountingFace}},
       0, nullptr},
      // The opponent asks to end and the user refuses: the clock runs again and ask end is usable.
      {522, "|a|b|", "Opponent requests designating captured stones.\nDo you agree?", IDNO, 0x42, true,
       "Restarting match.", {{kAskEnd, true}}, {}, 22, "|a|b|0|"},
      // The opponent asks to go on with the stored game and the user agrees.
      {542, "|a|b|", "Opponent requests to continue the game.\nDo you agree?", IDYES, 0x42, true,
       "Restarting match.", {}, {}, 42, "|a|b|1|"},
      {521, "|a|b|1|", nullptr, 0, 0x44, false, "Send after designating your opponent's captured stones.",
       {{kStalemate, true}}, {{kAskEnd, kCountingDoneFace}}, 0, nullptr},
      // An area the opponent proposed is agreed: the board stops taking area marks.
      {546, "|a|b|1|1|aa|", nullptr, 0, 0x44, false, "Stalemate area is designated.", {},
       {{kStalemate, kStalemateFace}}, 0, nullptr},
      // The stored game is resumed: it is played again from its record.
      {541, std::string("|a|b|1|") + kStoredGame + "|", nullptr, 0, 0x42, true, "Play is started.",
       {{kAskDraw, true}, {kPause, true}, {kSendStones, false}}, {}, 0, nullptr},
      // The opponent walked out: the game ends without counting and the timers are left alone.
      {556, "|a|b|x|carol|", nullptr, 0, 0x10, true, "Play is started.", {}, {}, 0, nullptr},
  };
  for (const Phase& phase : phases) {
    SCOPED_TRACE(phase.code);
    if (phase.question) script.answers[phase.question] = phase.answer;
    if (phase.code == 534) {
      // The stalemate button was pressed in the counting: it shows the face that sends the area.
      frame->OnMenuButton(kStalemate);
      EXPECT_EQ(kStalemateSendFace, Button(kStalemate).GetBitmapId());
    }
    if (phase.code == 522) {
      // What the refusal must undo: the clock stopped for the question and ask end disabled.
      room().StopClock();
      frame->GetMainMenu()->EnableButton(kAskEnd, FALSE);
    }
    const std::size_t answers = phase.answerMinor ? Sent(phase.answerMinor, "2").size() : 0;
    Server(phase.code, phase.payload);
    EXPECT_EQ(phase.state, room().GetRoomState());
    EXPECT_EQ(phase.clock, room().IsClockRunning() != FALSE);
    EXPECT_EQ(phase.message, room().GetPaneText(CGameRoom::kMessage).str());
    for (const auto& [id, enabled] : phase.enabled) EXPECT_EQ(enabled, Button(id).IsWindowEnabled() != FALSE) << id;
    for (const auto& [id, face] : phase.faces) EXPECT_EQ(face, Button(id).GetBitmapId()) << id;
    if (phase.answerMinor) {
      ASSERT_TRUE(PumpUntil([&] { return Sent(phase.answerMinor, "2").size() == answers + 1; }));
      EXPECT_EQ(phase.answerPayload, Sent(phase.answerMinor, "2").back());
    }
  }
  EXPECT_EQ(CRoomState::kGameEnded, room().GetSubStatus());
  EXPECT_TRUE(Shown("carol won without counting."));
  EXPECT_EQ(2, room().GetMoveCounter());
}

TEST_F(GameRoomPhasesTest, AStalemateAreaIsDesignatedSentAndAgreed) {
  StartGame();
  Server(521, "|a|b|1|");
  ASSERT_EQ(CRoomState::kModeCheckStone, room().GetBoard().GetGameMode());
  // The first press lets the board take the area's marks; nothing goes to the server yet.
  frame->OnMenuButton(kStalemate);
  EXPECT_EQ(CRoomState::kModeCheckStone + CRoomState::kModeTerritory, room().GetBoard().GetGameMode());
  EXPECT_EQ(kStalemateSendFace, Button(kStalemate).GetBitmapId());
  // Pressed again with nothing marked: the user is told, nothing is sent.
  frame->OnMenuButton(kStalemate);
  EXPECT_TRUE(Shown("You did not designate a stalemate area."));
  EXPECT_TRUE(Sent(46, "1").empty());
  EXPECT_FALSE(frame->HasOwnStalemateArea());

  // Two points marked as the territory clicks mark them; the room menu's command sends them.
  room().GetBoard().SetBigPos(4 + 19 * 3, 0);
  room().GetBoard().SetBigPos(5 + 19 * 3, 0);
  const std::size_t before = peer.RecordCount();
  frame->SendStalemateArea();
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
  const PeerRecord sent = peer.Records()[before];
  EXPECT_EQ("4", sent.major);
  EXPECT_EQ("46", sent.minor);
  EXPECT_EQ("1", sent.flag);
  EXPECT_EQ(senderNumber(), sent.sender);
  EXPECT_EQ("|k|12|2|ed|fd|", sent.payload);
  EXPECT_EQ("|k|12|2|ed|fd|\x1b\n", sent.raw.substr(sent.raw.size() - 16));
  EXPECT_TRUE(frame->HasOwnStalemateArea());
  EXPECT_EQ("|ed|fd|", frame->GetStalemateText().str());

  // The opponent agrees: marking ends, the button designates again, the own area stays known.
  Server(546, "|a|b|1|2|ed|fd|");
  EXPECT_EQ("Stalemate area is designated.", room().GetPaneText(CGameRoom::kMessage).str());
  EXPECT_EQ(CRoomState::kModeCheckStone, room().GetBoard().GetGameMode());
  EXPECT_EQ(kStalemateFace, Button(kStalemate).GetBitmapId());
  EXPECT_TRUE(frame->HasOwnStalemateArea());
  EXPECT_EQ("|ed|fd|", frame->GetStalemateText().str());

  // A new match forgets the area.
  Server(512, kEvenStart);
  EXPECT_FALSE(frame->HasOwnStalemateArea());
  EXPECT_EQ("", frame->GetStalemateText().str());
}

TEST_F(GameRoomPhasesTest, LeaveOnTheOtherScreensAndFromAFullScreenRoom) {
  // The pairs the client sent after the first count records.
  auto since = [&](std::size_t count) {
    PumpUntil([&] { return peer.RecordCount() > count; }, 500);
    const std::vector<std::string> pairs = Pairs();
    return std::vector<std::string>(pairs.begin() + static_cast<std::ptrdiff_t>(count), pairs.end());
  };
  // The rank view goes back to the start screen, which asks for its room buttons again.
  frame->SwitchView(CMainFrame::kRankView);
  ASSERT_EQ(CMainFrame::kRankView, frame->GetActiveViewId());
  std::size_t before = peer.RecordCount();
  frame->OnMenuButton(kLeave);
  EXPECT_EQ(CMainFrame::kStartView, frame->GetActiveViewId());
  EXPECT_EQ(std::vector<std::string>({"3,6"}), since(before));

  // The waiting room is left on the server first.
  frame->EnterRoomFromStartView("1", "1", "Dan room");
  frame->SwitchView(CMainFrame::kWaitingRoomView);
  ASSERT_EQ(CMainFrame::kWaitingRoomView, frame->GetActiveViewId());
  ASSERT_TRUE(PumpUntil([&] { return Pairs().back() == "3,1"; }));
  before = peer.RecordCount();
  frame->OnMenuButton(kLeave);
  EXPECT_EQ(CMainFrame::kStartView, frame->GetActiveViewId());
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= before + 2; }));
  const std::vector<PeerRecord> records = peer.Records();
  EXPECT_EQ("|1|", records[before].payload);
  EXPECT_EQ("2", records[before].minor);
  EXPECT_TRUE(records[before + 1].Is(3, 6));

  // The bulletin board asks for the forum list, which brings the forum back.
  frame->SwitchView(CMainFrame::kBulletinBoardView);
  before = peer.RecordCount();
  frame->OnMenuButton(kLeave);
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
  EXPECT_TRUE(peer.Records()[before].Is(7, 1));

  // On the start screen leave closes the program, after its question.
  frame->SwitchView(CMainFrame::kStartView);
  script.answers["Do you close this program?"] = IDNO;
  frame->OnMenuButton(kLeave);
  EXPECT_TRUE(frame->IsClosingByLeave());
  ASSERT_TRUE(PumpUntil([&] { return Shown("Do you close this program?"); }));
  ASSERT_TRUE(::IsWindow(frameHandle()));

  // The game room in full screen: leaving ends the full screen with the game.
  StartGame();
  CRect window;
  frame->GetWindowRect(&window);
  frame->ToggleFullScreen();
  ASSERT_TRUE(frame->IsFullScreen());
  script.answers["Do you wish to leave the game room?"] = IDYES;
  frame->OnMenuButton(kLeave);
  ASSERT_TRUE(PumpUntil([&] { return !Sent(4, "1").empty(); }));
  EXPECT_EQ("|1|12|", Sent(4, "1").back());
  EXPECT_FALSE(frame->IsFullScreen());
  EXPECT_FALSE(room().IsClockRunning());
  CRect after;
  frame->GetWindowRect(&after);
  EXPECT_EQ(window, after);
}

// A game that begins while the person is asked whether to close (an invitation taken up inside
// the question's loop) is not ended by the Yes given to the program without one: the frame
// stays, and the person plays on.
TEST_F(GameRoomPhasesTest, AGameBegunWhileTheCloseQuestionIsOpenKeepsTheProgram) {
  script.answers["Do you close this program?"] = IDYES;
  script.onMessageBox = [&](const std::string& text) {
    if (text == "Do you close this program?") StartGame();
  };
  frame->SendMessage(WM_CLOSE);
  script.onMessageBox = nullptr;
  ASSERT_TRUE(::IsWindow(frameHandle()));
  EXPECT_EQ(0x42, room().GetRoomState());
  const std::size_t moves = Payloads(14).size();
  board.Click(15, 15);
  ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == moves + 1; }));
  EXPECT_EQ(0u, Payloads(14).back().find("|k|12|B[pp]|")) << Payloads(14).back();
  // Once the game is over the same close closes.
  Server(543, "|a|b|x|lee|");
  frame->SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(frameHandle()));
}

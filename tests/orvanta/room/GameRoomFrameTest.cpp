// The game room played end to end: the game-server peer on loopback, the main frame's link and
// dispatcher, the frame's room actions, the room and a real board model. The game clock moves
// only with the manual clock.

#include <fstream>
#include <functional>
#include <sstream>

#include <platform/sound.h>
#include <platform/time.h>

#include "FrameRoomFixture.h"

namespace {

// ModelBoard is the board; the frame is the room's host.
class GameRoomFrameTest : public FrameRoomTest {
protected:

  // Waits for a record (major 4 = room requests here) with minor and returns its payload.
  std::string WaitFor(int minor, const std::string& flag = "1") {
    std::string found;
    PumpUntil([&] {
      for (const PeerRecord& r : peer.Records())
        if (r.minor == std::to_string(minor) && r.flag == flag && r.major == "4") found = r.payload;
      return !found.empty();
    });
    return found;
  }
  void Enter(const std::string& role) {
    Server(52, "|12|");
    Server(53, "|12|hc|carol|Carol|3k|1|" + role + "|1|");
    // The frame's own room view (its board control is not registered here) must not take over.
    ASSERT_EQ(&*m_room, frame->GetGameRoom());
    ASSERT_EQ("|k|12|POM|", WaitFor(11));
  }
  void Clock(int seconds) { platform::Clock::Advance(static_cast<std::uint64_t>(seconds) * 1000); }
  std::string Pane(int pane) { return room().GetPaneText(pane).str(); }
  std::string Saved(const std::string& name) const {
    std::ifstream in(m_folder.Path() + "/gibo/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

};

constexpr const char* kEvenStart = "|a|b|1|hc|carol|c3|3k|hl|lee|l3|4k|0|6.5|60|10|2|";

}  // namespace

TEST_F(GameRoomFrameTest, AWholeEvenGameThroughTheServer) {
  Enter("3");
  EXPECT_EQ(CMainFrame::kGameRoomView, frame->GetActiveViewId());
  EXPECT_EQ(0x42, room().GetRoomState());
  Server(510, "||");
  EXPECT_FALSE(frame->IsDeferringMoves());

  Server(512, kEvenStart);
  EXPECT_EQ("Even(6.5)", Pane(CGameRoom::kCondition));
  EXPECT_EQ("The match has started.", Pane(CGameRoom::kMessage));
  EXPECT_EQ("|k|12|O|", WaitFor(11));
  EXPECT_EQ(0x42, room().GetRoomState());

  // The user's click goes to the server as the move record; the server's echo places it.
  room().OnBoardPosition(3, 15);
  EXPECT_EQ("|k|12|B[pd]|BL[80]|", WaitFor(14));
  Server(514, "|a|b|1|B[pd]|BL[80]|");
  Server(514, "|a|b|2|W[aa]|WL[78]|");
  Server(514, "|a|b|3|B[ba]|BL[79]|");
  Server(514, "|a|b|4|W[dd]|WL[77]|");
  Server(514, "|a|b|5|B[ab]|BL[75]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 5; }));
  EXPECT_EQ(2, board.Cell(3, 15));
  EXPECT_EQ(0, board.Cell(0, 0));
  EXPECT_EQ("1", Pane(CGameRoom::kWhiteCaptured));
  EXPECT_EQ("am.wav", platform::SoundCalls().back().sound);

  // White's clock runs through its main time into the periods.
  Clock(57);
  EXPECT_EQ("0", Pane(CGameRoom::kWhiteMain));
  EXPECT_EQ("9s ", Pane(CGameRoom::kWhiteSeconds));
  Clock(10);
  EXPECT_EQ(" 1 **", Pane(CGameRoom::kWhitePeriods));
  Server(514, "|a|b|6|W[tt]|WL[7]|");
  room().SendPass();
  ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == 2; }));
  EXPECT_EQ("|k|12|B[tt]|BL[75]|", Payloads(14)[1]);
  Server(514, "|a|b|7|B[tt]|BL[75]|");

  std::string owners(361, '0');
  Server(545, "|a|b|1|RE[B+4.5]|" + owners + "|60|3|50|2|6.5|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetRoomState() == 0x50; }));
  EXPECT_TRUE(Shown("Counting is completed.\n"));
  EXPECT_NE(std::string::npos, room().GetChatText().str().find("Result:B won by 4.5\r\n"));
  // The finished game's file, byte for byte: its lines end with CR LF.
  EXPECT_EQ("(;FF[4]GM[1]SZ[19]\r\n"
            "PB[hc:carol:c3:3k]\r\n"
            "PW[hl:lee:l3:4k]\r\n"
            "RE[B+4.5]\r\n"
            "TM[60]OT[10:2]DT[2026-12-09]KM[6.5]HA[0]\r\n"
            ";B[pd]BL[80];W[aa]WL[78];B[ba]BL[79];W[dd]WL[77]\r\n"
            ";B[ab]BL[75];W[tt]WL[7];B[tt]BL[75])",
            Saved("carol_lee"));

  // A second game against lee in the same room: its record gets a name of its own, and the first
  // stays whole beside it.
  const std::string first = Saved("carol_lee");
  Server(510, "||");
  Server(512, kEvenStart);
  Server(514, "|a|b|1|B[qq]|BL[80]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 1; }));
  script.answers["Do you wish to resign without counting?"] = IDYES;
  frame->AskResign();
  EXPECT_EQ("|k|12|", WaitFor(43));
  Server(543, "|a|b|x|carol|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetRoomState() == 0x50; }));
  EXPECT_EQ(first, Saved("carol_lee"));
  CGiboRecord second;
  ASSERT_TRUE(second.SetText(Saved("carol_lee(2)").c_str()));
  EXPECT_STREQ("RE[W+R]", second.GetResult());
  EXPECT_STREQ(";B[qq]BL[80]", second.GetMoves());
}

TEST_F(GameRoomFrameTest, UndoRefusedAndAccepted) {
  Enter("3");
  Server(510, "||");
  Server(512, kEvenStart);
  Server(514, "|a|b|1|B[pd]|BL[80]|");
  Server(514, "|a|b|2|W[dd]|WL[80]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 2; }));

  // The opponent asks; the user says no.
  script.answers["Opponent requests undo(retraction).\nDo you agree?"] = IDNO;
  Server(516, "|a|b|");
  EXPECT_EQ("|a|b|0|", WaitFor(16, "2"));
  EXPECT_TRUE(room().IsClockRunning());

  // The user asks; the server refuses, then agrees to take the white move back.
  script.answers["Do you wish to request undoing your last move?"] = IDYES;
  frame->AskUndo();
  EXPECT_EQ("|k|12|", WaitFor(15));
  EXPECT_FALSE(room().IsClockRunning());
  Server(515, "|a|b|0|");
  EXPECT_EQ("Request for retraction has been rejected.", Pane(CGameRoom::kMessage));
  EXPECT_TRUE(room().IsClockRunning());
  EXPECT_FALSE(frame->IsUndoPending());
  frame->AskUndo();
  Server(515, "|a|b|1|2|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 1; }));
  EXPECT_EQ(0, board.Cell(3, 3));
  EXPECT_EQ(";B[pd]BL[80]", std::string(record.GetMoves()));
}

TEST_F(GameRoomFrameTest, PauseContinueAndResignation) {
  Enter("3");
  Server(510, "||");
  Server(512, kEvenStart);
  script.answers["Opponent requests a pause game.\nDo you agree?"] = IDYES;
  Server(524, "|a|b|");
  EXPECT_EQ("|a|b|1|", WaitFor(24, "2"));
  Server(523, "|a|b|1|");
  EXPECT_TRUE(frame->IsPaused());
  EXPECT_EQ("In Recess", Pane(CGameRoom::kStatus));
  EXPECT_FALSE(room().IsClockRunning());

  script.answers["Do you wish to continue the game?"] = IDYES;
  frame->AskPauseOrContinue();
  EXPECT_EQ("|k|12||0|", WaitFor(25));
  Server(525, "|a|b|1|");
  EXPECT_FALSE(frame->IsPaused());
  EXPECT_EQ(0x42, room().GetRoomState());
  EXPECT_TRUE(room().IsClockRunning());

  script.answers["Do you wish to resign without counting?"] = IDYES;
  frame->AskResign();
  EXPECT_EQ("|k|12|", WaitFor(43));
  Server(543, "|a|b|x|carol|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetRoomState() == 0x50; }));
  EXPECT_EQ("W won by KO.", Pane(CGameRoom::kStatus));
  EXPECT_TRUE(Shown("lee won without counting."));
  CGiboRecord back;
  ASSERT_TRUE(back.SetText(Saved("carol_lee").c_str()));
  EXPECT_STREQ("RE[W+R]", back.GetResult());
}

TEST_F(GameRoomFrameTest, AnObserverGetsTheMovesSoFarAndMovesThatArriveWhileLoading) {
  Enter("2");
  EXPECT_EQ(0x102, room().GetRoomState());
  EXPECT_TRUE(frame->IsDeferringMoves());
  Server(511, "|POM|A|hb|kim|k3|5d|hw|lee|l3|6d|1|hc|carol|Carol|3k|3|");
  EXPECT_EQ("kim", Pane(CGameRoom::kBlackName));

  // Twenty moves arrive before the room's data: none is lost, and they play in order after it.
  const char* points[] = {"qq", "cc", "qc", "cq", "jj", "dj", "pj", "jd", "jp", "fc",
                          "nc", "cf", "cn", "fq", "nq", "qf", "qn", "kk", "hh", "hk"};
  for (int i = 0; i < 20; ++i) {
    std::string colour = i % 2 == 0 ? "W" : "B";
    Server(514, "|a|b|" + std::to_string(i + 4) + "|" + colour + "[" + points[i] + "]|" + colour + "L[60]|");
  }
  ASSERT_TRUE(PumpUntil([&] { return frame->GetDeferredMoveCount() == 20; }));
  EXPECT_EQ(0, room().GetMoveCounter());

  Server(59, "|FF[4];GM[1];SZ[19];PB[hb:kim:k3:5d];PW[hw:lee:l3:6d];RE[?];TM[60];OT[10:2];DT[2026-12-09];"
             "KM[6.5];HA[0]|");
  Server(510, "|;B[pd]BL[80];W[dd]WL[70];B[pp]BL[75]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 3; }));
  EXPECT_EQ(2, board.Cell(15, 15));
  EXPECT_FALSE(frame->IsDeferringMoves());
  Clock(1);  // the deferred-move timer
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 23; }));
  EXPECT_EQ(4, board.Cell(16, 16));   // the first queued move
  EXPECT_EQ(2, board.Cell(10, 7));    // the last queued move
  EXPECT_EQ(23, record.GetTotalMoves());
  EXPECT_EQ("", Pane(CGameRoom::kMessage));  // observers get no turn texts
}

TEST_F(GameRoomFrameTest, FullScreenInTheGameRoomOnlyMaximisesElsewhere) {
  EXPECT_EQ(768, CMainFrame::FullScreenHeight(1024));
  EXPECT_EQ(600, CMainFrame::FullScreenHeight(800));
  // Outside the game room F11 maximises and restores.
  frame->ToggleFullScreen();
  EXPECT_TRUE(::IsZoomed(frameHandle()));
  frame->ToggleFullScreen();
  EXPECT_FALSE(::IsZoomed(frameHandle()));
  EXPECT_FALSE(frame->IsFullScreen());

  Enter("3");
  CRect before;
  frame->GetWindowRect(&before);
  // The frame's menu bar goes with the caption and comes back with it.
  const HMENU menu = ::GetMenu(frameHandle());
  ASSERT_NE(nullptr, menu);
  const int items = ::GetMenuItemCount(menu);
  frame->ToggleFullScreen();
  EXPECT_TRUE(frame->IsFullScreen());
  EXPECT_EQ(0u, frame->GetStyle() & WS_CAPTION);
  EXPECT_EQ(nullptr, ::GetMenu(frameHandle()));
  CRect full;
  frame->GetWindowRect(&full);
  int width = ::GetSystemMetrics(SM_CXFULLSCREEN);
  EXPECT_EQ(CRect(0, 0, width, CMainFrame::FullScreenHeight(width)), full);
  // No border is left around the room: the client area is the whole screen.
  CRect client;
  frame->GetClientRect(&client);
  EXPECT_EQ(full.Size(), client.Size());
  // Ended in Big Screen, the program starts again at the size it goes back to.
  EXPECT_EQ(CSettingFiles::FormatFrameSize(FALSE, before.Width(), before.Height()), frame->GetPresentSizeSetting());
  frame->ToggleFullScreen();
  CRect after;
  frame->GetWindowRect(&after);
  EXPECT_EQ(before, after);
  EXPECT_NE(0u, frame->GetStyle() & WS_CAPTION);
  EXPECT_NE(0u, frame->GetStyle() & WS_THICKFRAME);
  EXPECT_EQ(menu, ::GetMenu(frameHandle()));
  EXPECT_EQ(items, ::GetMenuItemCount(menu));
}

TEST_F(GameRoomFrameTest, DrawAndPassFromTheMenuButtons) {
  Enter("3");
  Server(510, "||");
  Server(512, kEvenStart);
  // The invite button asks for the users of the waiting room the room was joined from.
  frame->OnMenuButton(1201);
  ASSERT_TRUE(PumpUntil([&] {
    for (const PeerRecord& r : peer.Records())
      if (r.Is(3, 3)) return true;
    return false;
  }));
  EXPECT_EQ("|k|5|", peer.Records().back().payload);
  // The pass button sends the pass node with the time left.
  frame->OnMenuButton(1245);
  frame->OnMenuButton(1245);  // pressed twice before the echo: one pass goes out
  EXPECT_EQ("|k|12|B[tt]|BL[80]|", WaitFor(14));
  // Its echo passes the turn: a second press while white is to play sends nothing, and once
  // white has moved the button passes again.
  Server(514, "|a|b|1|B[tt]|BL[80]|");
  frame->OnMenuButton(1245);
  EXPECT_EQ("It is not your turn.", Pane(CGameRoom::kMessage));
  Server(514, "|a|b|2|W[dd]|WL[80]|");
  frame->OnMenuButton(1245);
  ASSERT_TRUE(PumpUntil([&] { return Payloads(14).size() == 2; }));
  EXPECT_EQ("|k|12|B[tt]|BL[80]|", Payloads(14)[1]);
  // The opponent asks for a draw: refused, the clock runs on.
  script.answers["Opponent asks a drawn game.\nDo you agree?"] = IDNO;
  Server(520, "|a|b|");
  EXPECT_EQ("|a|b|0|", WaitFor(20, "2"));
  EXPECT_TRUE(room().IsClockRunning());
  // The user asks through the draw button; the clock stops until the answer.
  script.answers["Do you wish to ask a drawn play?"] = IDYES;
  frame->OnMenuButton(1035);
  EXPECT_EQ("|k|12|", WaitFor(19));
  EXPECT_FALSE(room().IsClockRunning());
  Server(519, "|a|b|1|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetRoomState() == 0x50; }));
  EXPECT_EQ("Drawn Game", Pane(CGameRoom::kStatus));
  EXPECT_TRUE(Shown("The match is drawn."));
  EXPECT_NE(std::string::npos, Saved("carol_lee").find("RE[V]"));
}

// The room's questions are put while the server goes on: a room the user is taken out of while
// one is open takes the question with it, and nothing goes out for the answer. Back in a room,
// the same command asks and sends again.
TEST_F(GameRoomFrameTest, ARoomLeftWhileItsQuestionIsOpenGetsNoRequest) {
  CSlowReader reader(script);
  platform::ScopedUiScript slow(&reader);
  const struct {
    const char* question;
    std::function<void()> ask;
  } commands[] = {
      {"Do you wish to ask a drawn play?", [&] { frame->AskDraw(); }},
      {"Do you wish to resign without counting?", [&] { frame->AskResign(); }},
      {"Do you wish to request undoing your last move?", [&] { frame->AskUndo(); }},
      {"Do you wish to designate captured stones?", [&] { frame->AskEnd(); }},
      {"Do you wish to request a pause play?", [&] { frame->AskPauseOrContinue(); }},
      {"Do you want counting?", [&] { frame->AskCounting(); }},
      {"Do you wish to leave the game room?", [&] { frame->LeaveRoom(); }},
  };
  int number = 20;
  const auto enter = [&] {
    const std::string room = std::to_string(++number);
    Server(52, "|" + room + "|");
    Server(53, "|" + room + "|hc|carol|Carol|3k|1|3|1|");
    Server(510, "||");
    Server(512, kEvenStart);
    return PumpUntil([&] { return frame->IsInRoom(); });
  };
  for (const auto& command : commands) {
    SCOPED_TRACE(command.question);
    script.answers[command.question] = IDYES;
    ASSERT_TRUE(enter());
    const std::size_t before = peer.RecordCount();
    reader.whileOpen = [&](const std::string& text) {
      if (text != command.question) return;
      peer.Send({{GameServerPeer::Record(5, 4, "|" + std::to_string(number) + "||3|carol|"), 0}});
      PumpUntil([&] { return !frame->IsInRoom(); });
    };
    command.ask();
    reader.whileOpen = nullptr;
    // The user is on his way back to the waiting room; nothing went to the room he left, nor
    // does an invitation from the room's window that is still open.
    ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
    frame->SendInvite("5", "cy", "a game?", "");
    frame->FlushRequests();
    PumpFor(100);
    for (const PeerRecord& r : peer.RecordsSince(before)) EXPECT_EQ("3", r.major) << r.minor << " " << r.payload;
    // In the next room the command's request (beside the entry's own) names that room.
    ASSERT_TRUE(enter());
    const std::string prefix = "|k|" + std::to_string(number) + "|";
    const std::size_t again = peer.RecordCount();
    command.ask();
    EXPECT_TRUE(PumpUntil([&] {
      for (const PeerRecord& r : peer.RecordsSince(again))
        if (r.payload.rfind(prefix, 0) == 0 && r.minor != "9" && r.minor != "10" && r.minor != "11") return true;
      return false;
    }));
    if (std::string(command.question) == "Do you wish to leave the game room?") {
      // On the way out, before the server's word, the room's chat and its invite button go
      // nowhere.
      frame->SendChatLine((prefix + "bye|").c_str());
      frame->OnMenuButton(1201);
      frame->FlushRequests();
      PumpFor(100);
      for (const PeerRecord& r : peer.RecordsSince(again)) EXPECT_TRUE(r.minor != "6" && r.minor != "3") << r.payload;
    }
    Server(54, prefix + "3|carol|");
    ASSERT_TRUE(PumpUntil([&] { return !frame->IsInRoom(); }));
  }
}

TEST_F(GameRoomFrameTest, TheRoomClockMessageAndTheSoundCommand) {
  Enter("3");
  Server(510, "||");
  Server(512, kEvenStart);
  ::SendMessage(frameHandle(), CMainFrame::kRoomClockMessage, 0, 0);
  EXPECT_EQ("0 hr 0 min 59 sec", Pane(CGameRoom::kBlackMain));
  // The room's sound command silences the stones; the menu's "Sound" item leaves the room alone.
  ::SendMessage(frameHandle(), WM_COMMAND, CMainFrame::kRoomSoundCommand, 0);
  EXPECT_FALSE(room().IsSoundOn());
  platform::ClearSoundCalls();
  Server(514, "|a|b|1|B[pd]|BL[80]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 1; }));
  EXPECT_TRUE(platform::SoundCalls().empty());
  // The menu's "Sound" item shows the setting: unchecked while the stones are silent.
  EXPECT_EQ(0, platform::QueryCommandState(frame, CMainFrame::kSoundCommand).check);
  ::SendMessage(frameHandle(), WM_COMMAND, CMainFrame::kSoundCommand, 0);
  EXPECT_TRUE(frame->IsSoundOn());
  EXPECT_FALSE(room().IsSoundOn());
  EXPECT_EQ(1, platform::QueryCommandState(frame, CMainFrame::kSoundCommand).check);
}

TEST_F(GameRoomFrameTest, AHandicapGameLostOnTime) {
  Enter("4");
  EXPECT_EQ(0x82, room().GetRoomState());
  Server(510, "||");
  Server(512, "|a|b|1|hl|lee|l3|4k|hc|carol|c3|3k|2|0.5|2|2|1|");
  EXPECT_EQ("2Stones", Pane(CGameRoom::kCondition));
  Server(514, "|a|b|0|B[pd]|BL[0]|");
  Server(514, "|a|b|0|B[dp]|BL[0]|");
  Server(514, "|a|b|1|W[qf]|WL[4]|");
  Server(514, "|a|b|2|B[dd]|BL[4]|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 4; }));
  // White's two seconds of main time and two of its only period run out: the client says so.
  Clock(4);
  EXPECT_TRUE(Payloads(38).empty());
  Clock(1);
  EXPECT_EQ("|k|12|2|", WaitFor(38));
  EXPECT_FALSE(room().IsClockRunning());
  Server(538, "|a|b|x|hc|carol|");
  ASSERT_TRUE(PumpUntil([&] { return room().GetRoomState() == 0x90; }));
  EXPECT_EQ("B won by time", Pane(CGameRoom::kStatus));
  CGiboRecord back;
  ASSERT_TRUE(back.SetText(Saved("lee_carol").c_str()));
  EXPECT_STREQ("RE[B+T]", back.GetResult());
  EXPECT_STREQ("AB[pd][dp]", back.GetSetup());
  EXPECT_EQ(4, back.GetTotalMoves());
}

TEST_F(GameRoomFrameTest, APlayerLeavesAndTheUserComesBackIntoTheRecess) {
  Enter("3");
  Server(510, "||");
  Server(512, kEvenStart);
  Server(511, "|O|1|hx|xu|Xu|5k|");
  EXPECT_EQ(1u, room().GetObservers().size());
  // White leaves: the game goes into recess and the clock stops.
  Server(54, "|a|b|hl|lee|x|y|");
  EXPECT_EQ(0x4A, room().GetRoomState());
  EXPECT_FALSE(room().IsSeatTaken(4));
  EXPECT_FALSE(room().IsClockRunning());
  // The observer leaves the list only.
  Server(54, "|a|b|hx|xu|x|y|");
  EXPECT_TRUE(room().GetObservers().empty());
  EXPECT_EQ(0x4A, room().GetRoomState());
  // The user's own entry message again: a re-entry into a game in recess continues it.
  Server(53, "|12|hc|carol|Carol|3k|1|3|1|");
  EXPECT_EQ(0x42, room().GetRoomState());
  EXPECT_TRUE(room().IsClockRunning());
  // The buttons follow the room's phase afterwards, and the status line says so.
  EXPECT_EQ("Playing", Pane(CGameRoom::kMessage));
  EXPECT_TRUE(frame->IsInRoom());
  // The user's own leave message resets the room.
  Server(54, "|a|b|3|carol|x|y|");
  EXPECT_EQ(1, room().GetRoomState());
  EXPECT_FALSE(frame->IsInRoom());
  EXPECT_EQ("", Pane(CGameRoom::kBlackName));
}

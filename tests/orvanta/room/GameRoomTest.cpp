#include "orvanta/room/GameRoom.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <platform/files.h>
#include <platform/time.h>

#include "GameRoomFixture.h"


TEST_F(GameRoomTest, AWholeEvenGameFromMatchStartToTheSavedRecord) {
  StartMatch("0", "6.5", "60", "10", "2");
  EXPECT_EQ("Even(6.5)", Pane(CGameRoom::kCondition));
  EXPECT_EQ("0 hr 1 min 0 sec", Pane(CGameRoom::kBlackMain));
  EXPECT_EQ(" 2 **", Pane(CGameRoom::kWhitePeriods));
  EXPECT_EQ("10s ", Pane(CGameRoom::kWhiteSeconds));
  EXPECT_EQ(0x42, room.GetRoomState());
  EXPECT_EQ("The match has started.", Pane(CGameRoom::kMessage));
  EXPECT_EQ("In Playing", Pane(CGameRoom::kStatus));
  EXPECT_TRUE(host.timers.count(CGameRoom::kGameClockTimer));

  // The local click goes out as the move record with the time left, main time plus byo-yomi.
  room.OnBoardPosition(3, 15);
  room.OnBoardPosition(3, 15);  // the second click of a double click: one move a turn
  ASSERT_EQ(1u, host.sent.size());
  EXPECT_EQ("1:14:B[pd]|BL[80]|", host.sent[0]);
  EXPECT_EQ(0, board.Cell(3, 15));  // nothing is placed before the server's echo

  Move(1, "B[pd]", "BL[80]");
  EXPECT_EQ(2, board.Cell(3, 15));
  EXPECT_EQ("It is opponent's turn.", Pane(CGameRoom::kMessage));
  EXPECT_EQ("am.wav", host.sounds.back());
  Move(2, "W[aa]", "WL[78]");
  EXPECT_EQ("It is your turn.", Pane(CGameRoom::kMessage));
  Move(3, "B[ba]", "BL[79]");
  Move(4, "W[dd]", "WL[77]");
  Move(5, "B[ab]", "BL[75]");  // takes the white corner stone
  EXPECT_EQ(0, board.Cell(0, 0));
  EXPECT_EQ(1, room.GetCaptured(4));
  EXPECT_EQ("1", Pane(CGameRoom::kWhiteCaptured));
  EXPECT_EQ("5", Pane(CGameRoom::kMoveNumber));
  // White is to play: a pass of black's now is refused and nothing goes out.
  room.SendPass();
  EXPECT_EQ("It is not your turn.", Pane(CGameRoom::kMessage));
  EXPECT_EQ("1:14:B[pd]|BL[80]|", LastSent());

  // White's clock: 57 s of main time, then the first period of 10 s, then the last one.
  EXPECT_EQ("0 hr 0 min 57 sec", Pane(CGameRoom::kWhiteMain));
  Tick(56);
  EXPECT_EQ("0 hr 0 min 1 sec", Pane(CGameRoom::kWhiteMain));
  Tick(1);
  EXPECT_EQ("0", Pane(CGameRoom::kWhiteMain));
  EXPECT_EQ("9s ", Pane(CGameRoom::kWhiteSeconds));
  EXPECT_TRUE(host.timers.count(CGameRoom::kBlinkTimer));
  Tick(10);
  EXPECT_EQ(" 1 **", Pane(CGameRoom::kWhitePeriods));
  EXPECT_EQ("10s ", Pane(CGameRoom::kWhiteSeconds));
  EXPECT_EQ(0, std::count(host.sounds.begin(), host.sounds.end(), "Notify.wav"));  // not the user's clock
  Move(6, "W[tt]", "WL[7]");  // a pass at 7 s of the last period
  EXPECT_EQ(" 0 **", Pane(CGameRoom::kWhitePeriods));
  EXPECT_EQ("6", Pane(CGameRoom::kMoveNumber));

  // Black's clock now runs; black passes too.
  Tick(3);
  EXPECT_EQ("0 hr 0 min 52 sec", Pane(CGameRoom::kBlackMain));
  room.SendPass();
  EXPECT_EQ("1:14:B[tt]|BL[72]|", LastSent());
  Move(7, "B[tt]", "BL[72]");

  // The count ends the game; the record is saved in the gibo folder.
  std::string owners(361, '0');
  owners[0] = '1';
  room.OnCountResult(545, ("|a|b|RE[B+4.5]|" + owners + "|60|3|50|2|6.5|").c_str());
  EXPECT_EQ("Counting is finished.", Pane(CGameRoom::kMessage));
  EXPECT_NE(std::string::npos,
            room.GetChatText().str().find("*The Game Results:\r\nBlack:60points + 3(stones) = 63.0points\r\n"
                                          "White:50points + 2(stones) + 6.5(handy) = 58.5points\r\n"
                                          "Result:B won by 4.5\r\n\r\n"));
  EXPECT_EQ(0x50, room.GetRoomState());
  EXPECT_EQ("B won by 4.5", Pane(CGameRoom::kStatus));
  EXPECT_EQ("(;FF[4]GM[1]SZ[19]\r\n"
            "PB[hb:kim:k3:5d]\r\n"
            "PW[hw:lee:l3:6d]\r\n"
            "RE[B+4.5]\r\n"
            "TM[60]OT[10:2]DT[2026-12-09]KM[6.5]HA[0]\r\n"
            ";B[pd]BL[80];W[aa]WL[78];B[ba]BL[79];W[dd]WL[77]\r\n"
            ";B[ab]BL[75];W[tt]WL[7];B[tt]BL[72])",
            Saved("kim_lee"));
}

TEST_F(GameRoomTest, AHandicapGameLostOnTime) {
  host.userId = "lee";
  StartMatch("2", "0.5", "2", "2", "1");
  EXPECT_EQ("2Stones", Pane(CGameRoom::kCondition));
  EXPECT_EQ(0x82, room.GetRoomState());
  Move(0, "B[pd]", "BL[0]");  // handicap stones leave the clocks alone
  Move(0, "B[dp]", "BL[0]");
  EXPECT_EQ("0 hr 0 min 2 sec", Pane(CGameRoom::kBlackMain));
  EXPECT_EQ(2, board.Cell(15, 3));
  Move(1, "W[qf]", "WL[4]");
  EXPECT_EQ("3", Pane(CGameRoom::kMoveNumber));
  Move(2, "B[dd]", "BL[4]");
  host.sounds.clear();
  Tick(2);  // white's main time runs out; the last period counts down with a warning a tick
  EXPECT_EQ("1s ", Pane(CGameRoom::kWhiteSeconds));
  Tick(1);
  EXPECT_EQ("0s ", Pane(CGameRoom::kWhiteSeconds));
  EXPECT_EQ(2u, host.sounds.size());
  Tick(1);  // time is up: the client says so and stops its clock
  EXPECT_EQ("clock:4", LastSent());
  EXPECT_FALSE(room.IsClockRunning());
  EXPECT_EQ("0 sec", Pane(CGameRoom::kWhiteSeconds));

  room.OnTimeOver("|a|b|x|hw|lee|");
  EXPECT_EQ("B won by time", Pane(CGameRoom::kStatus));
  EXPECT_EQ(0x90, room.GetRoomState());
  std::string saved = Saved("kim_lee");
  EXPECT_NE(std::string::npos, saved.find("RE[B+T]\r\nTM[2]OT[2:1]DT[2026-12-09]KM[0.5]HA[2]\r\nAB[pd][dp]\r\n"));
  CGiboRecord back;
  ASSERT_TRUE(back.SetText(saved.c_str()));
  EXPECT_EQ(4, back.GetTotalMoves());
}

TEST_F(GameRoomTest, UndoAcceptedRestoresCapturesAndRefusedKeepsTheGame) {
  StartMatch("0", "6.5", "600", "30", "3");
  Move(1, "B[ba]", "BL[690]");
  Move(2, "W[aa]", "WL[690]");
  Move(3, "B[ab]", "BL[690]");  // captures
  EXPECT_EQ(1, room.GetCaptured(4));

  host.answers = {false};
  room.OnUndoRequest(516, "|a|b|");
  EXPECT_EQ("2:16:|a|b|0|", LastSent());
  EXPECT_EQ("Opponent requests undo(retraction).\nDo you agree?", host.asked.back());
  EXPECT_TRUE(room.IsClockRunning());

  host.answers = {true};
  room.OnUndoRequest(516, "|a|b|");
  EXPECT_EQ("2:16:|a|b|1|", LastSent());
  room.OnUndoRequest(515, "|a|b|3|");  // the move numbered 3 comes off
  EXPECT_EQ(0, room.GetCaptured(4));
  EXPECT_EQ(4, board.Cell(0, 0));
  EXPECT_EQ(0, board.Cell(1, 0));
  EXPECT_EQ("2", Pane(CGameRoom::kMoveNumber));
  EXPECT_EQ(";B[ba]BL[690];W[aa]WL[690]", std::string(record.GetMoves()));
  EXPECT_EQ("It's your turn.", Pane(CGameRoom::kMessage));
  EXPECT_FALSE(host.undoPending);
  // A number from the server that would take back more than was played is held to the game.
  room.OnUndoRequest(515, "|a|b|-50|");
  EXPECT_EQ(0, room.GetMoveCounter());
}

TEST_F(GameRoomTest, PauseAndContinueKeepTheColour) {
  StartMatch("0", "6.5", "600", "30", "3");
  host.answers = {true};
  room.OnPauseMessage(524, "|a|b|");
  EXPECT_EQ("2:24:|a|b|1|", LastSent());
  EXPECT_FALSE(room.IsClockRunning());
  room.OnPauseMessage(523, "|a|b|");
  EXPECT_EQ("In Recess", Pane(CGameRoom::kStatus));
  EXPECT_EQ(CRoomState::kModeNone, board.GetGameMode());
  host.answers = {true};
  room.OnContinueMessage(526, "|a|b|");
  EXPECT_EQ("2:26:|a|b|1|", LastSent());
  room.OnContinueMessage(525, "|a|b|");
  EXPECT_EQ(0x42, room.GetRoomState());
  EXPECT_TRUE(room.IsClockRunning());
  EXPECT_EQ(CRoomState::kModePlay, board.GetGameMode());
  EXPECT_EQ("Game is processing again.", Pane(CGameRoom::kMessage));
  // A refused pause starts the clock again.
  host.answers = {false};
  room.OnPauseMessage(524, "|a|b|");
  EXPECT_TRUE(room.IsClockRunning());
}

TEST_F(GameRoomTest, ResignationIsInTheSavedRecord) {
  StartMatch("0", "6.5", "600", "30", "3");
  Move(1, "B[pd]", "BL[690]");
  room.OnResignResult("|a|b|x|kim|");
  EXPECT_EQ("W won by KO.", Pane(CGameRoom::kStatus));
  EXPECT_EQ("lee won by KO.", Pane(CGameRoom::kMessage));
  EXPECT_EQ("lee won without counting.", host.asked.back());
  EXPECT_EQ(0x50, room.GetRoomState());
  CGiboRecord back;
  ASSERT_TRUE(back.SetText(Saved("kim_lee").c_str()));
  EXPECT_STREQ("RE[W+R]", back.GetResult());
}

TEST_F(GameRoomTest, AnObserverEntersARunningGame) {
  host.userId = "park";
  host.role = "hp";
  room.ResetRoom();
  room.SetRoomStatus(1);
  room.SetRole(256);
  room.OnRoomMessage(511, "|POM|A|hb|kim|k3|5d|hw|lee|l3|6d|2|hp|park|Park|1d|ho|choi|Choi|2k|3|");
  EXPECT_EQ("kim", Pane(CGameRoom::kBlackName));
  EXPECT_EQ(2u, room.GetObservers().size());
  EXPECT_EQ("3", Pane(CGameRoom::kMoveNumber));
  EXPECT_EQ(0x102, room.GetRoomState());

  record.SetFromServerText("FF[4];GM[1];SZ[19];PB[hb:kim:k3:5d];PW[hw:lee:l3:6d];RE[?];TM[60];OT[10:2];"
                           "DT[2026-12-09];KM[6.5];HA[0]");
  room.OnGameInProgress("|x|");
  EXPECT_EQ("Even(6.5)", Pane(CGameRoom::kCondition));
  // The link blocks until the game's moves are on the board, so the acknowledgement goes out whole.
  EXPECT_TRUE(host.linkBlocking);
  room.SetAcknowledge(TRUE);
  record.SetMoves(";B[pd]BL[80];W[dd]WL[15];B[pp]BL[75]");
  room.ReplayMovesOnBoard("|x|");
  EXPECT_FALSE(host.linkBlocking);
  EXPECT_EQ("1:40:", LastSent());
  EXPECT_EQ(1, host.flushesWhileBlocking);
  EXPECT_EQ(2, board.Cell(3, 15));
  EXPECT_EQ(4, board.Cell(3, 3));
  EXPECT_EQ(2, board.Cell(15, 15));
  EXPECT_EQ("3", Pane(CGameRoom::kMoveNumber));
  EXPECT_EQ("0 hr 0 min 55 sec", Pane(CGameRoom::kBlackMain));
  EXPECT_EQ(" 2 **", Pane(CGameRoom::kWhitePeriods));  // a period begun counts as left
  EXPECT_TRUE(room.IsClockRunning());
  EXPECT_EQ(1, host.roomWaitsEnded);
  // Observers get no turn texts, and the next move goes on the board.
  room.SetPaneListener(nullptr, nullptr);
  Move(4, "W[qq]", "WL[15]");
  EXPECT_EQ(4, board.Cell(16, 16));
  EXPECT_EQ("", Pane(CGameRoom::kMessage));
}

TEST_F(GameRoomTest, ResetKeepsTheConditionOnlyWhenAsked) {
  StartMatch("0", "6.5", "600", "30", "3");
  room.SetKeepCondition(TRUE);
  room.ResetRoom();
  EXPECT_EQ("0 hr 10 min 0 sec", Pane(CGameRoom::kBlackMain));
  EXPECT_EQ(1, room.GetRoomState());
  room.ResetRoom();
  EXPECT_EQ("", Pane(CGameRoom::kBlackMain));
  EXPECT_EQ("In waiting", Pane(CGameRoom::kStatus));
  EXPECT_FALSE(room.IsClockRunning());
  // The match start without a working timer leaves the game as it was.
  host.timerWorks = FALSE;
  StartMatch("0", "6.5", "600", "30", "3");
  EXPECT_EQ("System timer stops now.\nYou cannot start properly.", host.asked.back());
  EXPECT_EQ(1, room.GetRoomState());
}

TEST_F(GameRoomTest, PlayerLeavingPutsTheGameInRecess) {
  StartMatch("0", "6.5", "600", "30", "3");
  room.OnPlayerLeft("|hw|lee|x|y|");
  EXPECT_EQ(0x4A, room.GetRoomState());
  EXPECT_EQ("In recess", Pane(CGameRoom::kStatus));
  EXPECT_FALSE(room.IsSeatTaken(4));
  EXPECT_FALSE(room.IsClockRunning());
  EXPECT_EQ("98:lee", host.buttons.back());
}

TEST_F(GameRoomTest, TheLastPeriodWarnsOnlyInItsLastTenSeconds) {
  StartMatch("0", "6.5", "1", "12", "1");
  Tick(1);  // main time gone: 11 s of the only period left, no warning yet
  EXPECT_EQ("11s ", Pane(CGameRoom::kBlackSeconds));
  EXPECT_TRUE(host.sounds.empty());
  Tick(11);  // leaves 10, 9, ... 0
  EXPECT_EQ(11u, host.sounds.size());
  EXPECT_EQ("Notify.wav", host.sounds.back());
  EXPECT_TRUE(room.IsClockRunning());
  Tick(1);
  EXPECT_EQ("clock:2", LastSent());
  EXPECT_FALSE(room.IsClockRunning());
  // Sound off: no warnings at all.
  host.sounds.clear();
  room.SetSoundOn(FALSE);
  StartMatch("0", "6.5", "0", "5", "2");
  Tick(3);
  EXPECT_TRUE(host.sounds.empty());
}

TEST_F(GameRoomTest, CountingProposalStalemateAreaAndDeadStones) {
  StartMatch("0", "6.5", "600", "30", "3");
  Move(1, "B[dd]", "BL[690]");
  Move(2, "W[pp]", "WL[690]");
  // Dead stones proposed by the opponent, refused: the marks go again.
  host.answers = {false};
  room.OnDesignationMessage(518, "|a|b|W|1|pp|");
  EXPECT_EQ("2:18:|a|b|0|", LastSent());
  EXPECT_EQ("Ask for designating captured stones is rejected.", Pane(CGameRoom::kMessage));
  // Proposed again and agreed: the white stone comes off and counts as captured.
  host.answers = {true};
  room.OnDesignationMessage(518, "|a|b|W|1|pp|");
  EXPECT_EQ("You agree to designating captured stones.", Pane(CGameRoom::kMessage));
  room.OnDesignationMessage(517, "|a|b|W|1|pp|");
  EXPECT_EQ(0, board.Cell(15, 15));
  EXPECT_EQ(1, room.GetCaptured(4));
  EXPECT_EQ(CRoomState::kDeadAgreed, room.GetSubStatus());
  // A stalemate area is asked about and the yes goes out at once.
  host.answers = {true};
  int flushes = host.flushes;
  room.OnStalemateArea("|a|b|2|aa|ss|");
  EXPECT_EQ("2:47:|a|b|1|", LastSent());
  EXPECT_EQ(flushes + 1, host.flushes);
  // A count proposal refused.
  host.answers = {false};
  std::string owners(361, '1');
  room.OnCountResult(544, ("|a|b|RE[B+12.5]|" + owners + "|100|1|80|0|6.5|").c_str());
  EXPECT_EQ("2:45:|a|b|0|", LastSent());
  EXPECT_EQ("In Couting", Pane(CGameRoom::kStatus));
  EXPECT_NE(std::string::npos, host.asked.back().find("B won by 12.5\nDo you agree?"));
}

TEST_F(GameRoomTest, TheLeaveCountdownEndsAfterItsLimit) {
  StartMatch("0", "6.5", "600", "30", "3");
  room.StartLeaveCountdown("|a|b|0|");  // limit 0 ends on the first tick
  room.OnTimer(CGameRoom::kCountdownTimer);
  EXPECT_EQ("leave:title:pw", LastSent());
  EXPECT_FALSE(room.IsClockRunning());
  room.StartLeaveCountdown("|a|b|2|");
  std::size_t sent = host.sent.size();
  room.OnTimer(CGameRoom::kCountdownTimer);
  room.OnTimer(CGameRoom::kCountdownTimer);
  EXPECT_EQ(sent, host.sent.size());
  room.OnTimer(CGameRoom::kCountdownTimer);
  EXPECT_EQ("leave:title:pw", LastSent());
}

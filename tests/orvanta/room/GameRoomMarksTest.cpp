// The game room keeps every stone and every phase right through counting, restored games, server
// moves with odd times, clocks that blink, undo numbers and the room's texts.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "GameRoomFixture.h"
#include "orvanta/room/CapturedStoneList.h"
#include "support/SaveFaults.h"

namespace {

class GameRoomMarksTest : public GameRoomTest {
protected:
  int Cell(int row, int column) const { return board.model.GetCell(row * 19 + column); }
  // Four stones, one of each colour in two corners each, and the counting begun.
  void PlayToCounting() {
    StartMatch("0", "6.5", "600", "30", "3");
    Move(1, "B[dd]", "BL[690]");
    Move(2, "W[pp]", "WL[690]");
    Move(3, "B[dp]", "BL[690]");
    Move(4, "W[pd]", "WL[690]");
    room.OnFinishMessage(521, "|a|b|1|");
  }
};

}  // namespace

TEST_F(GameRoomMarksTest, CountingKeepsEachSidesOwnDesignation) {
  PlayToCounting();
  // kim (black) marks lee's stone at pp dead himself.
  board.SetStone(15, 15, 4 | 32);
  // lee proposes kim's stone at dd dead; kim refuses: dd is plain again and kim's own mark stays,
  // ready to be sent.
  host.answers = {false};
  room.OnDesignationMessage(518, "|a|b|B|1|dd|");
  EXPECT_EQ("2:18:|a|b|0|", LastSent());
  EXPECT_EQ(2, Cell(3, 3));
  EXPECT_EQ(4 | 32, Cell(15, 15));
  CCapturedStoneList own = CCapturedStoneList::Read(board);
  EXPECT_EQ(1, own.count);
  EXPECT_EQ("|pp|", own.list.str());

  // Proposed again and agreed: only the agreed stone leaves the board.
  host.answers = {true};
  room.OnDesignationMessage(518, "|a|b|B|1|dd|");
  room.OnDesignationMessage(517, "|a|b|B|1|dd|");
  EXPECT_EQ(1, Cell(3, 3));
  EXPECT_EQ(4 | 32, Cell(15, 15));
  EXPECT_EQ(1, room.GetCaptured(2));
  EXPECT_EQ(0, room.GetCaptured(4));
  EXPECT_EQ("1", Pane(CGameRoom::kBlackCaptured));

  // lee refuses kim's proposal: the stone is unmarked, never lost.
  room.LeaveDesignationMode();
  EXPECT_EQ(4, Cell(15, 15));
  // kim marks it again and lee agrees this time.
  board.SetStone(15, 15, 4 | 32);
  room.OnDesignationMessage(517, "|a|b|W|1|pp|");
  EXPECT_EQ(1, Cell(15, 15));
  EXPECT_EQ(1, room.GetCaptured(4));
  // The stones nobody named stand where they were.
  EXPECT_EQ(2, Cell(15, 3));
  EXPECT_EQ(4, Cell(3, 15));
  EXPECT_EQ(CRoomState::kDeadAgreed, room.GetSubStatus());
}

TEST_F(GameRoomMarksTest, TheServersCountShowsOnlyTerritory) {
  PlayToCounting();
  // An even game: no point belongs to anyone but one black and one white point.
  std::string owners(361, '0');
  owners[3 * 19 + 4] = '1';    // column 3, row 4
  owners[15 * 19 + 14] = '2';  // column 15, row 14
  host.answers = {true};
  room.OnCountResult(544, ("|a|b|RE[B+0.5]|" + owners + "|1|2|1|2|6.5|").c_str());
  EXPECT_EQ(CRoomState::kModeNone | CRoomState::kModeResult, board.GetGameMode());
  EXPECT_EQ(2, board.model.GetResultAt(4 * 19 + 3));
  EXPECT_EQ(4, board.model.GetResultAt(14 * 19 + 15));
  // Neither side's points, and points a short text leaves out, read as nobody's.
  EXPECT_EQ(0, board.model.GetResultAt(9 * 19 + 9));
  room.OnCountResult(544, "|a|b|RE[B+0.5]|12|1|2|1|2|6.5|");
  EXPECT_EQ(0, board.model.GetResultAt(360));
  EXPECT_EQ(2, board.model.GetResultAt(0 * 19 + 0));
}

TEST_F(GameRoomMarksTest, ARestoredGameStartsFromAnEmptyBoard) {
  StartMatch("0", "6.5", "600", "30", "3");
  Move(1, "B[ba]", "BL[690]");
  Move(2, "W[aa]", "WL[690]");
  Move(3, "B[ab]", "BL[690]");  // takes aa
  Move(4, "W[dd]", "WL[690]");
  ASSERT_EQ(1, room.GetCaptured(4));
  room.OnResumeRequest(541,
                       "|a|b|(;FF[4]GM[1]SZ[19]\nPB[hb:kim:k3:5d]\nPW[hw:lee:l3:6d]\nTM[600]OT[30:3]DT[2026-12-09]"
                       "KM[6.5]HA[0]\n;B[pp]BL[600];W[dd]WL[590])|");
  EXPECT_EQ(1, Cell(0, 1));  // ba and ab are no longer on the board
  EXPECT_EQ(1, Cell(1, 0));
  EXPECT_EQ(2, Cell(15, 15));
  EXPECT_EQ(4, Cell(3, 3));
  EXPECT_EQ(2, room.GetMoveCounter());
  EXPECT_EQ(0, room.GetCaptured(4));
  EXPECT_EQ("0", Pane(CGameRoom::kWhiteCaptured));
  EXPECT_EQ("Play is started.", Pane(CGameRoom::kMessage));
  EXPECT_FALSE(host.linkBlocking);
  // A room left while a game loads, before its moves came, leaves the link non-blocking.
  room.OnGameInProgress(CString());
  ASSERT_TRUE(host.linkBlocking);
  room.ResetRoom();
  EXPECT_FALSE(host.linkBlocking);
}

TEST_F(GameRoomMarksTest, AServerMoveIsPlacedWhateverItsTimeField) {
  StartMatch("0", "6.5", "60", "10", "2");
  // Below the allowance on the first move: main time is what is left beyond the periods.
  Move(1, "B[pd]", "BL[70]");
  EXPECT_EQ("0 hr 0 min 50 sec", Pane(CGameRoom::kBlackMain));
  const std::vector<std::string> times = {"WL[]", "WL[x]", "", "WL[12"};
  const std::vector<std::string> nodes = {"W[dd]", "B[dp]", "W[pp]", "B[qq]"};
  for (std::size_t i = 0; i < times.size(); ++i) {
    SCOPED_TRACE(times[i]);
    Move(static_cast<int>(i) + 2, nodes[i], times[i]);
    EXPECT_EQ(static_cast<short>(i + 2), room.GetMoveCounter());
  }
  EXPECT_EQ(4, Cell(3, 3));
  EXPECT_EQ(4, Cell(15, 15));
  EXPECT_EQ(2, Cell(16, 16));
  EXPECT_EQ("5", Pane(CGameRoom::kMoveNumber));
  // A time that does not read leaves no main time: white is in its periods.
  EXPECT_EQ("0", Pane(CGameRoom::kWhiteMain));
}

TEST_F(GameRoomMarksTest, TheByoYomiPaneBlinksWhileItsClockRuns) {
  StartMatch("0", "6.5", "1", "10", "2");
  Tick(2);  // black's one second of main time, then into the periods
  ASSERT_TRUE(host.timers.count(CGameRoom::kBlinkTimer));
  std::vector<bool> looks;
  for (int i = 0; i < 4; ++i) {
    room.OnTimer(CGameRoom::kBlinkTimer);
    looks.push_back(room.IsPaneBlinking(2) != FALSE);
    EXPECT_FALSE(room.IsPaneBlinking(4));  // not white's turn
  }
  EXPECT_EQ((std::vector<bool>{false, true, false, true}), looks);
  // The blink timer stopped by someone else comes back with the next period tick.
  host.StopTimer(CGameRoom::kBlinkTimer);
  Tick(1);
  EXPECT_TRUE(host.timers.count(CGameRoom::kBlinkTimer));
  // A stopped clock ends the blink at its next tick.
  room.StopClock();
  room.OnTimer(CGameRoom::kBlinkTimer);
  EXPECT_FALSE(host.timers.count(CGameRoom::kBlinkTimer));
  EXPECT_FALSE(room.IsPaneBlinking(2));
}

TEST_F(GameRoomMarksTest, ResettingTheCapturedDisplayCountsTheCapturesOnce) {
  StartMatch("0", "6.5", "600", "30", "3");
  Move(1, "B[ba]", "BL[690]");
  Move(2, "W[aa]", "WL[690]");
  Move(3, "B[ab]", "BL[690]");
  for (int mode : {1, 0, 1}) {
    SCOPED_TRACE(mode);
    room.ResetCapturedDisplay(mode);
    EXPECT_EQ(1, room.GetCaptured(4));
    EXPECT_EQ("1", Pane(CGameRoom::kWhiteCaptured));
    EXPECT_EQ(mode == 1 ? CRoomState::kModeCheckStone : CRoomState::kModeNone, board.GetGameMode());
  }
}

TEST_F(GameRoomMarksTest, UndoOfMovesThatCapturedOnBothSides) {
  StartMatch("0", "6.5", "600", "30", "3");
  Move(1, "B[ba]", "BL[690]");
  Move(2, "W[aa]", "WL[690]");
  Move(3, "B[ab]", "BL[690]");  // black takes aa
  Move(4, "W[sr]", "WL[690]");
  Move(5, "B[ss]", "BL[690]");
  Move(6, "W[rs]", "WL[690]");  // white takes ss
  ASSERT_EQ(1, room.GetCaptured(2));
  ASSERT_EQ(1, room.GetCaptured(4));
  room.OnUndoRequest(515, "|a|b|6|");  // white's capture comes off
  EXPECT_EQ(0, room.GetCaptured(2));
  EXPECT_EQ(1, room.GetCaptured(4));
  EXPECT_EQ(2, Cell(18, 18));
  EXPECT_EQ("5", Pane(CGameRoom::kMoveNumber));
  room.OnUndoRequest(515, "|a|b|3|");  // then back past black's
  EXPECT_EQ(0, room.GetCaptured(4));
  EXPECT_EQ(4, Cell(0, 0));
  EXPECT_EQ("2", Pane(CGameRoom::kMoveNumber));
  // Numbers out of any game's range are held to it.
  for (const char* number : {"-2147483648", "2147483647", "x"}) {
    SCOPED_TRACE(number);
    room.OnUndoRequest(515, (std::string("|a|b|") + number + "|").c_str());
    const int shown = std::atoi(Pane(CGameRoom::kMoveNumber).c_str());
    EXPECT_GE(shown, -1);
    EXPECT_LE(shown, 32767);
  }
  EXPECT_EQ(0, room.GetMoveCounter());
}

TEST_F(GameRoomMarksTest, TheRoomsTextsForEachEvent) {
  StartMatch("0", "6.5", "600", "30", "3");
  record.SetResult("RE[B+12.5]");
  struct Status {
    int status;
    const char* text;
    bool endRequested;
  };
  for (const Status& row : std::vector<Status>{{1, "In Playing", false},
                                               {2, "In Recess", false},
                                               {3, "In Waiting", false},
                                               {4, "In Counting", true},
                                               {5, "B won by 12.5", false},
                                               {6, "In waiting", false},
                                               {7, "B won by 12.5", false}}) {
    SCOPED_TRACE(row.status);
    host.endRequested = FALSE;
    room.SetRoomStatus(row.status);
    EXPECT_EQ(row.text, Pane(CGameRoom::kStatus));
    EXPECT_EQ(row.endRequested, host.endRequested != FALSE);
  }
  const char* const errors[] = {"A stone is already in that place.",
                                "It is not your turn.",
                                "Your stone(s) will be captured if you play here.",
                                "It is a wrong place",
                                "It is last.",
                                "It is first.",
                                "System error.\nPlease close program and restart.",
                                "It is a wrong placement"};
  for (short code = 0; code < 8; ++code) {
    room.OnBoardError(code);
    EXPECT_EQ(errors[code], Pane(CGameRoom::kMessage)) << code;
  }
  // Code 8 is a designation made; an unknown code rebuilds the frame's board text.
  room.OnBoardError(8);
  EXPECT_TRUE(host.designated);
  const int texts = host.boardTexts;
  room.OnBoardError(9);
  EXPECT_EQ(texts + 1, host.boardTexts);

  // Chat bans, on and off.
  room.OnChatBan("|a|b|x|choi|1|");
  room.OnChatBan("|a|b|x|choi|0|");
  EXPECT_NE(std::string::npos, room.GetChatText().str().find(std::string("*---choi") + Cp949("님 쳇팅금지---*\r\n")));
  EXPECT_NE(std::string::npos, room.GetChatText().str().find(std::string("*---choi") + Cp949("님 쳇팅금지 해제---*\r\n")));

  // An observer whose entry lacks its grade is listed all the same.
  room.OnRoomMessage(53, "|12|h3|cid|Cid|");
  ASSERT_EQ(1u, room.GetObservers().size());
  EXPECT_EQ("Cid", room.GetObservers()[0].third.str());
  EXPECT_EQ("", room.GetObservers()[0].fourth.str());

  // The opponent takes back his wish to end: the user is asked and answers.
  host.answers = {true};
  room.OnFinishMessage(535, "|a|b|");
  ASSERT_FALSE(host.asked.empty());
  EXPECT_EQ("Opponent cancels finishing game.\nDo you agree?", host.asked.back());
  EXPECT_EQ("2:35:|a|b|1|", LastSent());

  // The server's pause stands by itself, asked for or not.
  ASSERT_TRUE(room.IsClockRunning());
  room.OnPauseMessage(523, "|a|b|");
  EXPECT_FALSE(room.IsClockRunning());
  EXPECT_EQ("In Recess", Pane(CGameRoom::kStatus));
  EXPECT_EQ(CRoomState::kInRecess, room.GetSubStatus());
  EXPECT_EQ(CRoomState::kModeNone, board.GetGameMode());
}

TEST_F(GameRoomMarksTest, TheEndsOfAGameOnTheClock) {
  StartMatch("0", "6.5", "600", "30", "3");
  Move(1, "B[pd]", "BL[690]");
  room.OnTimeOver("|a|b|x|hb|kim|");
  EXPECT_EQ("W won by time", Pane(CGameRoom::kStatus));
  EXPECT_EQ("0 sec", Pane(CGameRoom::kBlackSeconds));
  EXPECT_EQ("0 **", Pane(CGameRoom::kBlackPeriods));
  EXPECT_EQ("30s ", Pane(CGameRoom::kWhiteSeconds));
  EXPECT_STREQ("RE[W+T]", record.GetResult());
  EXPECT_FALSE(room.IsClockRunning());

  // A room whose game cannot be written says so.
  StartMatch("0", "6.5", "600", "30", "3");
  std::filesystem::rename(m_folder.Path() + "/gibo", m_folder.Path() + "/gibo.before");
  std::ofstream(m_folder.Path() + "/gibo") << "";  // a file where the folder would go
  room.OnTimeOver("|a|b|x|hw|lee|");
  EXPECT_EQ("B won by time", Pane(CGameRoom::kStatus));
  ASSERT_FALSE(host.asked.empty());
  EXPECT_EQ("File can not be made.", host.asked.back());
  {
    // A full disk, then a kill halfway through the write, leave the earlier record whole and no
    // cut one beside it; with room again the game's record is written.
    testsupport::SmallDisk disk;
    ::SetCurrentDirectory(disk.Path().c_str());
    ::CreateDirectory("gibo");
    const std::string earlier = "(;PB[kim]PW[lee];B[pd])";
    testsupport::PutFileBytes(disk / "gibo/kim_lee", earlier);
    StartMatch("0", "6.5", "600", "30", "3");
    host.asked.clear();
    disk.WhileFull([&] {
      room.OnTimeOver("|a|b|x|hw|lee|");
      return true;
    });
    EXPECT_EQ(std::vector<std::string>{"File can not be made."}, host.asked);
    EXPECT_EQ(earlier, testsupport::FileBytes(disk / "gibo/kim_lee"));
    EXPECT_EQ(std::vector<std::string>{"kim_lee"}, testsupport::FolderNames(disk / "gibo"));
    StartMatch("0", "6.5", "600", "30", "3");
    EXPECT_TRUE(testsupport::KilledWhileSaving(
        [&] {
          room.OnTimeOver("|a|b|x|hw|lee|");
          return true;
        },
        64));
    EXPECT_EQ(earlier, testsupport::FileBytes(disk / "gibo/kim_lee"));
    room.OnTimeOver("|a|b|x|hw|lee|");
    const std::string written = record.ToFileText().str();
    bool found = false;
    for (const std::string& name : testsupport::FolderNames(disk / "gibo"))
      found = found || testsupport::FileBytes(disk / ("gibo/" + name)) == written;
    EXPECT_TRUE(found);
    ::SetCurrentDirectory(m_folder.Path().c_str());
  }
  // With the setting off nothing is written and nothing is said.
  StartMatch("0", "6.5", "600", "30", "3");
  host.saveRecord = FALSE;
  host.asked.clear();
  room.OnTimeOver("|a|b|x|hw|lee|");
  EXPECT_TRUE(host.asked.empty());
}

TEST_F(GameRoomMarksTest, AReturningPlayerTakesUpHisColourAgain) {
  struct Return {
    const char* user;
    const char* role;
    WORD state;
  };
  for (const Return& r : std::vector<Return>{{"kim", "hb", 0x42}, {"lee", "hw", 0x82}, {"park", "hp", 0x102}}) {
    SCOPED_TRACE(r.user);
    StartMatch("0", "6.5", "600", "30", "3");
    room.StopClock();
    room.SetRoomStateWord(1);
    host.userId = r.user;
    host.role = r.role;
    host.reconnecting = TRUE;
    room.StartGameClock("|a|b|");
    EXPECT_EQ(r.state, room.GetRoomState());
    EXPECT_TRUE(room.IsClockRunning());
    EXPECT_FALSE(host.reconnecting);
    EXPECT_EQ(CRoomState::kInPlay, room.GetSubStatus());
  }
}

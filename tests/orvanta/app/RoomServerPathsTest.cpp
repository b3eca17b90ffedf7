// The frame in and between game rooms against the game-server peer: moves that arrive together
// while a room loads, the record an observer keeps, the buttons of a first entry, and the join of
// a found user's room straight from the game room.

#include <fstream>
#include <sstream>

#include "../room/FrameRoomFixture.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/UserInfoListDlg.h"
#include "orvanta/widgets/MainMenu.h"
#include "orvanta/widgets/MenuButtonBank.h"

namespace {

class RoomServerPathsTest : public FrameRoomTest {
protected:
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void Clock(int seconds) { platform::Clock::Advance(static_cast<std::uint64_t>(seconds) * 1000); }
  bool Enabled(UINT id) { return frame->GetMainMenu()->GetButton(id)->IsWindowEnabled() != FALSE; }
  // The client's records after the first count, as "major,minor payload".
  std::vector<std::string> SentSince(std::size_t count) {
    std::vector<std::string> sent;
    const auto records = peer.Records();
    for (std::size_t i = count; i < records.size(); ++i)
      sent.push_back(records[i].major + "," + records[i].minor + " " + records[i].payload);
    return sent;
  }
};

TEST_F(RoomServerPathsTest, AnObserverKeepsEveryMoveOfOneReadAndTheServersWholeRecord) {
  Server(53, "|12|hc|carol|Carol|3k|1|2|0|");
  ASSERT_TRUE(frame->IsDeferringMoves());

  // Two moves in one write while the room's data is still asked for: both wait, in order.
  peer.Send({{GameServerPeer::Record(5, 14, "|a|b|4|W[qq]|WL[60]|") +
                  GameServerPeer::Record(5, 14, "|a|b|5|B[cc]|BL[60]|") + GameServerPeer::Record(5, 6, "|a|b|c|kim|e|f|hello|"),
              0}});
  ASSERT_TRUE(PumpUntil([&] { return frame->GetDeferredMoveCount() == 2; }));
  // The record behind them in the same read is not lost either.
  ASSERT_TRUE(PumpUntil([&] { return room().GetChatText().Find("[kim]hello") >= 0; }));

  // The server's record has no separator in front of its first property.
  Server(59, "|FF[4];GM[1];SZ[19];PB[hb:kim:k3:5d];PW[hw:lee:l3:6d];RE[?];TM[60];OT[10:2];DT[2026-12-09];"
             "KM[6.5];HA[0]|");
  Server(510, "|;B[pd]BL[80];W[dd]WL[70];B[pp]BL[75]|");
  // A move that comes after the room's data still waits behind the two.
  Server(514, "|a|b|6|W[jj]|WL[59]|");
  EXPECT_EQ(3, frame->GetDeferredMoveCount());
  Clock(1);
  ASSERT_TRUE(PumpUntil([&] { return room().GetMoveCounter() == 6; }));
  EXPECT_EQ(4, board.Cell(16, 16));
  EXPECT_EQ(2, board.Cell(2, 2));
  EXPECT_EQ(4, board.Cell(9, 9));

  const std::string path = m_folder.Path() + "/observed.sgf";
  ASSERT_TRUE(record.WriteFile(path.c_str()));
  EXPECT_EQ(Read(path).substr(0, 38), "(;FF[4]GM[1]SZ[19]\r\nPB[hb:kim:k3:5d]\r\n");
}

TEST_F(RoomServerPathsTest, JoiningAFoundUsersRoomFromTheGameRoomEndsInThatRoom) {
  Server(52, "|12|");
  Server(53, "|12|hc|carol|Carol|3k|1|2|0|");
  Server(510, "||");
  ASSERT_TRUE(frame->IsInRoom());

  // The search finds kim in room 30 of the same waiting room; the user joins.
  script.answerDialog = [](UINT templateId, CWnd* dialog) -> INT_PTR {
    if (templateId == CUserInfoListDlg::kTemplateId)
      dialog->SendMessage(WM_COMMAND, MAKEWPARAM(CUserInfoListDlg::kJoinButton, BN_CLICKED), 0);
    return IDCANCEL;
  };
  const std::size_t before = peer.RecordCount();
  Server(14, "|a|b|c|1|kim|Kim|3D|k|30|1|1|Free|");
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= before + 2; }));
  // This frame came to the room without a waiting-room record: its leave goes out on the fixed
  // category under the no-room key.
  EXPECT_EQ(SentSince(before), (std::vector<std::string>{"3,4 ||12|", "4,3 |k|30||"}));
  EXPECT_FALSE(frame->IsInRoom());

  // The server confirms the leave, then the entry; no waiting-room entry goes out between.
  Server(54, "|x|y|3|carol|");
  Server(53, "|30|hk|kim|Kim|3d|3|3|0|");
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= before + 5; }));
  EXPECT_EQ(SentSince(before + 2), (std::vector<std::string>{"4,11 |k|30|POM|", "4,9 |k|30|", "4,10 |k|30|"}));
  EXPECT_TRUE(frame->IsInRoom());
  EXPECT_EQ(CMainFrame::kGameRoomView, frame->GetActiveViewId());
  CString title;
  frame->GetWindowText(title);
  EXPECT_EQ("Orvanta 1.5(30 Room)", title);

  // A first entry into a room whose game has not started gets the fresh room's buttons.
  EXPECT_FALSE(Enabled(MenuButton::kAskDraw));
  EXPECT_FALSE(Enabled(MenuButton::kResign));
  EXPECT_FALSE(Enabled(MenuButton::kAskUndo));
  EXPECT_TRUE(Enabled(MenuButton::kLeave));

  // Leaving this room later goes back to the waiting room as usual.
  Server(54, "|x|y|3|carol|");
  ASSERT_TRUE(PumpUntil([&] { return Pairs().back() == "3,1"; }));
  EXPECT_FALSE(frame->IsInRoom());
}

}  // namespace

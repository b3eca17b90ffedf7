// The frame in and between game rooms against the game-server peer: moves that arrive together
// while a room loads, the record an observer keeps, the buttons of a first entry, and the join of
// a found user's room straight from the game room; rooms reached from the start screen's
// waiting rooms (a hall, a teaching room, a forum), and the way back into a room from another
// waiting room.

#include <fstream>
#include <functional>
#include <sstream>

#include <platform/testinput.h>

#include "../room/FrameRoomFixture.h"
#include "orvanta/app/CommandStates.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/TirvoDListView.h"
#include "orvanta/lobby/TirvoMListView.h"
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
  // category, naming the room as its requests do.
  EXPECT_EQ(SentSince(before), (std::vector<std::string>{"3,4 |k|12|", "4,3 |k|30||"}));
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

  // Leaving this room later goes back to the start screen: no known waiting room leads to it,
  // and a waiting room without a name is never entered.
  Server(54, "|x|y|3|carol|");
  ASSERT_TRUE(PumpUntil([&] { return Pairs().back() == "3,6"; }));
  EXPECT_FALSE(frame->IsInRoom());
  EXPECT_EQ(CMainFrame::kStartView, frame->GetActiveViewId());
}

// ---------------------------------------------------------------------------------------------
// Rooms joined from the start screen's waiting rooms: a hall (kind 1, number 2), a teaching room
// (kind 3, number 5) and the forum button (number 3).

class StartScreenRoomsTest : public RoomServerPathsTest {
protected:
  void SetUp() override {
    frame->ShowWindow(SW_SHOW);
    peer.ReplyAlways(3, 6, {{GameServerPeer::Record(3, 6, "|2|1|2|Hall|3|5|Study|"), 0}});
    RoomServerPathsTest::SetUp();
    frame->RegisterView(CMainFrame::kTeachingListView, RUNTIME_CLASS(CTirvoMListView));
    frame->RegisterView(CMainFrame::kForumView, RUNTIME_CLASS(CAssociationView));
    ASSERT_TRUE(PumpUntil([&] { return frame->GetStartView() && frame->GetStartView()->GetRoomButtonCount() == 3; }));
    ASSERT_TRUE(PumpUntil([&] { return Pairs().back() == "1,13"; }));
  }
  // A click on a window's point as a person makes it, with the wait cursor's capture off.
  void ClickAt(CWnd* wnd, CPoint at) {
    ASSERT_NE(nullptr, wnd);
    frame->EndWaitCapture();
    platform::input::Click(wnd->m_hWnd, at);
    PumpFor(40);
  }
  void ClickRoomButton(int index) { ClickAt(frame->GetStartView()->GetRoomButton(index), CPoint(90, 14)); }
  void ClickMenuButton(UINT id) { ClickAt(frame->GetMainMenu()->GetButton(id), CPoint(5, 5)); }
  // Row 0 of a list chosen by a double click on it.
  void DoubleClickFirstRow(CListCtrl& list) {
    CRect row;
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    frame->EndWaitCapture();
    platform::input::DoubleClick(list.m_hWnd, CPoint(row.left + 10, row.CenterPoint().y));
    PumpFor(40);
  }
  std::string Title() {
    CString title;
    frame->GetWindowText(title);
    return title.str();
  }
  // A room the waiting room lists: room 30, carol and lee playing in it.
  static std::string RoomList() {
    return "|1|x|1|30|Room 30|x|carol|x|3k|x|lee|x|4k|2|12|1|1|3k|W|";
  }
};

}  // namespace

// A player's room keeps its players in step with the server (request 8 after the room's moves)
// only when it belongs to a teaching waiting room or to a forum; the moves that follow are played
// at once, and the user's own move goes out under the same room prefix.
TEST_F(StartScreenRoomsTest, APlayersRoomAsksForTheSyncOnlyInTeachingAndForumRooms) {
  struct Case {
    const char* name;
    std::function<void()> reachRoom30;  // from the start screen to the join of room 30
    std::string major;                   // of the room's requests
    std::string prefix;                  // |W|R|
    bool sync;
    std::string back;                    // the request that leads back after the room is left
  };
  const Case cases[] = {
      {"hall",
       [&] {
         ClickRoomButton(0);
         Server(31, "|2|");
         Server(51, RoomList());
         ASSERT_EQ(1, frame->GetWaitingRoomView()->GetRoomList().GetItemCount());
         frame->GetWaitingRoomView()->GetRoomList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
         ClickMenuButton(MenuButton::kJoinRoom);
       },
       "4", "|2|30|", false, "3,1 |2|"},
      {"teaching room",
       [&] {
         ClickRoomButton(1);
         Server(51, "|1|0|1|30|Lesson|x|carol|3k|KR|y|lee|4k|KR|12|z|1|1|w|");
         ASSERT_NE(nullptr, frame->GetProRoomListView());
         DoubleClickFirstRow(frame->GetProRoomListView()->GetList());
       },
       "5", "|5|30|", true, "5,1 |5|50|"},
      {"forum room",
       [&] {
         ClickRoomButton(2);
         Server(71, "|1|10|Seoul Go|1|");
         CAssociationView* forum = frame->GetForumView();
         ASSERT_NE(nullptr, forum);
         forum->GetList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
         forum->SelectForum();
         Server(72, "|10|Seoul Go|1|3|Room|4|0|K10|");
         ASSERT_EQ(1u, forum->GetButtonCount());
         ClickAt(forum->GetButton(0), CPoint(5, 5));
         Server(31, "|K10|");
         Server(51, RoomList());
         ASSERT_NE(nullptr, frame->GetWaitingRoomView());
         frame->GetWaitingRoomView()->GetRoomList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
         ClickMenuButton(MenuButton::kJoinRoom);
       },
       "5", "|K10|30|", true, "3,1 |K10|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(CMainFrame::kStartView, frame->GetActiveViewId());
    c.reachRoom30();
    ASSERT_TRUE(PumpUntil([&] { return !SentSince(0).empty() && SentSince(0).back() == c.major + ",3 " + c.prefix + "|"; }))
        << SentSince(0).back();
    std::size_t before = peer.RecordCount();
    // carol enters as black of the game being played there.
    Server(53, "|30|hc|carol|Carol|3k|1|3|1|");
    ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() >= before + 3; }));
    EXPECT_EQ(SentSince(before), (std::vector<std::string>{c.major + ",11 " + c.prefix + "POM|", c.major + ",9 " + c.prefix,
                                                       c.major + ",10 " + c.prefix}));
    EXPECT_EQ("Orvanta 1.5(30 Room)", Title());
    before = peer.RecordCount();
    Server(510, "|;B[pd]BL[80];W[dd]WL[78]|");
    ASSERT_EQ(2, room().GetMoveCounter());
    if (c.sync) {
      ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
      EXPECT_EQ(SentSince(before), std::vector<std::string>{c.major + ",8 " + c.prefix});
    } else {
      PumpFor(60);
      EXPECT_EQ(SentSince(before), std::vector<std::string>{});
    }
    EXPECT_FALSE(frame->IsDeferringMoves());

    // carol plays; the echo and lee's answer are placed as they come.
    before = peer.RecordCount();
    board.Click(15, 15);
    ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
    EXPECT_EQ(0u, SentSince(before)[0].find(c.major + ",14 " + c.prefix + "B[pp]|BL[")) << SentSince(before)[0];
    Server(514, "|a|b|3|B[pp]|BL[70]|");
    Server(514, "|a|b|4|W[dp]|WL[70]|");
    EXPECT_EQ(4, room().GetMoveCounter());
    EXPECT_EQ(4, board.Cell(15, 3));

    // lee resigns; she leaves: the room goes, and the way back is that of the room she came from.
    Server(543, "|a|b|x|lee|");
    ASSERT_EQ(0x50, room().GetRoomState());
    script.answers["Do you wish to leave the game room?"] = IDYES;
    before = peer.RecordCount();
    ClickMenuButton(MenuButton::kLeave);
    ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
    EXPECT_EQ(SentSince(before), std::vector<std::string>{c.major + ",4 " + c.prefix});
    before = peer.RecordCount();
    Server(54, "|x|y|3|carol|");
    ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
    EXPECT_EQ(SentSince(before), std::vector<std::string>{c.back});
    EXPECT_FALSE(frame->IsInRoom());
    // Back to the start screen for the next case; it lists the rooms again.
    frame->ReturnToStartView();
    frame->EndWaitCapture();
    ASSERT_TRUE(PumpUntil([&] { return frame->GetStartView() && frame->GetStartView()->GetRoomButtonCount() == 3; }));
    PumpFor(100);
  }
}

// The command pane's "대기실목록" (1192) takes the user out of a teaching room's game to the start
// screen and into a hall; its "대국실" (1195) brings him back. (The pane shows neither button over
// the game room or the waiting room, so this runs their handlers as the pane does.) The hall is
// left, the title names the game room again, and the room's requests, the sync after its moves and
// the way back after it are still those of the teaching room.
TEST_F(StartScreenRoomsTest, BackFromAnotherWaitingRoomTheGameRoomIsTheOneLeft) {
  ClickRoomButton(1);
  Server(51, "|1|0|1|30|Lesson|x|carol|3k|KR|y|lee|4k|KR|12|z|1|1|w|");
  ASSERT_NE(nullptr, frame->GetProRoomListView());
  DoubleClickFirstRow(frame->GetProRoomListView()->GetList());
  Server(53, "|30|hc|carol|Carol|3k|1|3|1|");
  Server(510, "|;B[pd]BL[80];W[dd]WL[78]|");
  ASSERT_TRUE(PumpUntil([&] { return SentSince(0).back() == "5,8 |5|30|"; }));

  frame->OnMenuButton(MenuButton::kWaitingRoomList);
  ASSERT_EQ(CMainFrame::kStartView, frame->GetActiveViewId());
  ASSERT_TRUE(PumpUntil([&] { return frame->GetStartView()->GetRoomButtonCount() == 3; }));
  PumpFor(100);
  ClickRoomButton(0);
  Server(31, "|2|");
  ASSERT_EQ(CMainFrame::kWaitingRoomView, frame->GetActiveViewId());
  EXPECT_EQ("Orvanta 1.5(Hall)", Title());

  PumpFor(100);
  std::size_t before = peer.RecordCount();
  frame->OnMenuButton(MenuButton::kGameRoom);
  ASSERT_EQ(CMainFrame::kGameRoomView, frame->GetActiveViewId());
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
  EXPECT_EQ(SentSince(before), std::vector<std::string>{"3,2 |2|"});
  EXPECT_EQ(5, frame->GetCurrentWaitRoom());
  EXPECT_EQ("Orvanta 1.5(30 Room)", Title());

  // The game goes on in the same room.
  before = peer.RecordCount();
  board.Click(15, 15);
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
  EXPECT_EQ(0u, SentSince(before)[0].find("5,14 |5|30|B[pp]|BL[")) << SentSince(before)[0];
  Server(514, "|a|b|3|B[pp]|BL[70]|");
  Server(514, "|a|b|4|W[dp]|WL[70]|");
  EXPECT_EQ(4, room().GetMoveCounter());
  // Loaded again (the server's answer to a re-request), the room asks for the sync again.
  before = peer.RecordCount();
  Server(510, "|;B[pd]BL[80];W[dd]WL[78];B[pp]BL[70];W[dp]WL[70]|");
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
  EXPECT_EQ(SentSince(before), std::vector<std::string>{"5,8 |5|30|"});

  // Once the game is over the room is left, and it leads back to the teaching rooms' list.
  Server(543, "|a|b|x|lee|");
  script.answers["Do you wish to leave the game room?"] = IDYES;
  ClickMenuButton(MenuButton::kLeave);
  ASSERT_TRUE(PumpUntil([&] { return SentSince(0).back() == "5,4 |5|30|"; }));
  before = peer.RecordCount();
  Server(54, "|x|y|3|carol|");
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
  EXPECT_EQ(SentSince(before), std::vector<std::string>{"5,1 |5|50|"});
}

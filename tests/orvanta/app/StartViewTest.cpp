// The start view: one button per waiting room of the server's list (and the forum button), the
// request a room button sends by the room's kind, and the buttons going with the connection.

#include <platform/olehost.h>
#include <platform/testinput.h>

#include "orvanta/app/MainFrameFixture.h"
#include "orvanta/app/OrvantaView.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/room/SelfPlayDlg.h"
#include "support/StolvexModuleHome.h"

namespace {

TEST(StartViewRoomsTest, TheRoomCountIsClampedToTheRoomsPresent) {
  struct Case {
    const char* payload;
    std::size_t rooms;
  };
  const Case cases[] = {{"|0|", 0}, {"|x|", 0}, {"|-2|1|1|A|", 0}, {"|5|1|1|A|", 1},
                        {"|2|1|1|A|3|2|B|", 2}, {"|2|1|1|A|3|2|", 1}, {"", 0}};
  for (const Case& c : cases)
    EXPECT_EQ(COrvantaView::ParseRoomList(c.payload).size(), c.rooms) << c.payload;
  const auto rooms = COrvantaView::ParseRoomList("|2|1|7|Hall|3|8|Study|");
  EXPECT_EQ(rooms[1].kind, "3");
  EXPECT_EQ(rooms[1].number, "8");
  EXPECT_EQ(rooms[1].name, "Study");
  EXPECT_EQ(COrvantaView::FaceForKind("1"), 434u);
  EXPECT_EQ(COrvantaView::FaceForKind("3"), 433u);
  EXPECT_EQ(COrvantaView::FaceForKind("4"), 436u);
  EXPECT_EQ(COrvantaView::FaceForKind("9"), 432u);
  EXPECT_EQ(COrvantaView::RoomButtonRect(0).top, 54);
  EXPECT_EQ(COrvantaView::RoomButtonRect(1).top, 87);
  EXPECT_EQ(COrvantaView::RoomButtonRect(0).Width(), 181);
}

class StartViewTest : public MainFrameTest {
protected:
  void SetUp() override {
    frame->ShowWindow(SW_SHOW);
    // Triples of kind, room number and name.
    peer.ReplyAlways(3, 6, {{GameServerPeer::Record(3, 6, RoomList()), 0}});
    LogIn();
    ASSERT_TRUE(PumpUntil([&] { return view() && view()->GetRoomButtonCount() == 4; }));
    // The login notice is shown once, then the memo list is asked for.
    ASSERT_TRUE(PumpUntil([&] { return Pairs().back() == "1,13"; }));
  }
  virtual std::string RoomList() const { return "|3|1|2|Hall|3|5|Study|9|7|Other|"; }
  COrvantaView* view() const { return frame->GetStartView(); }
  // Clicks room button index and waits for one more record at the peer.
  void ClickRoom(int index) {
    const std::size_t before = peer.RecordCount();
    frame->EndWaitCapture();
    CTextButton* button = view()->GetRoomButton(index);
    ASSERT_NE(button, nullptr);
    platform::input::Click(button->m_hWnd, CPoint(90, 14));
    PumpUntil([&] { return peer.RecordCount() > before; }, 1000);
  }
};

TEST_F(StartViewTest, RoomButtonsFollowTheListAndSendTheirKindsRequest) {
  const char* names[] = {"Hall", "Study", "Other", "FORUM"};
  const char* kinds[] = {"1", "3", "9", "5"};
  for (int i = 0; i < 4; ++i) {
    CTextButton* button = view()->GetRoomButton(i);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetText(), names[i]);
    EXPECT_EQ(button->GetKind(), kinds[i]);
    EXPECT_EQ(button->GetDlgCtrlID(), 5000 + i);
    CRect rect;
    button->GetWindowRect(&rect);
    view()->ScreenToClient(&rect);
    EXPECT_EQ(rect, COrvantaView::RoomButtonRect(i));
  }
  EXPECT_EQ(view()->GetRoomButton(3)->GetValue(), "4");

  // An ordinary room: the waiting-room entry names the room by its number, flushed; the wait
  // cursor holds the mouse.
  ClickRoom(0);
  ASSERT_EQ(peer.Records().back().major + "," + peer.Records().back().minor, "3,1");
  EXPECT_EQ(peer.Records().back().payload, "|2|");
  EXPECT_EQ(frame->GetCurrentWaitRoom(), 2);
  EXPECT_EQ(frame->GetLoginRecord()->m_strWaitRoomTitle, "Hall");
  EXPECT_EQ(frame->GetLoginRecord()->m_strWaitRoomKind, "1");
  EXPECT_EQ(CWnd::GetCapture(), frame);
  // A teaching room: the game-room list (role 3 sends major 5).
  ClickRoom(1);
  EXPECT_EQ(peer.Records().back().major + "," + peer.Records().back().minor, "5,1");
  EXPECT_EQ(peer.Records().back().payload, "|5|50|");
  EXPECT_EQ(peer.Records().back().raw, "\x1b\t" + senderNumber() + "/6/5/1/1/|5|50|\x1b\n");
  // A forum room asks for the forum list.
  ClickRoom(3);
  ASSERT_TRUE(PumpUntil([&] { return peer.Records().back().major + "," + peer.Records().back().minor == "7,1"; }));
  EXPECT_EQ(peer.Records().back().payload, "");
}

TEST_F(StartViewTest, TheWaitingRoomEnteredIsNamedByItsNumberInEveryRequest) {
  peer.ReplyOnce(3, 1, {{GameServerPeer::Record(3, 1, "|1|"), 0}});
  ClickRoom(0);
  ASSERT_TRUE(PumpUntil([&] { return Pairs().back() == "5,1"; }));
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kWaitingRoomView);
  CString title;
  frame->GetWindowText(title);
  EXPECT_EQ(title, "Orvanta 1.5(Hall)");
  const auto records = peer.Records();
  const std::vector<std::string> sent = {records[records.size() - 3].payload, records[records.size() - 2].payload,
                                         records.back().payload};
  EXPECT_EQ(sent, (std::vector<std::string>{"|2|", "|2|5|", "|2|50|"}));
  // Leaving names it the same way.
  const std::size_t before = peer.RecordCount();
  frame->ShowWaitingRoomList();
  ASSERT_TRUE(PumpUntil([&] { return peer.RecordCount() > before; }));
  EXPECT_EQ(peer.Records()[before].major + "," + peer.Records()[before].minor + " " + peer.Records()[before].payload,
            "3,2 |2|");
}

TEST_F(StartViewTest, TheMoviesCommandWordsStartTheirActions) {
  ::setenv("PLATFORM_OPENER", "true", 1);
  const std::size_t sent = peer.RecordCount();
  frame->OnMovieCommand("Dance");
  PumpFor(50);
  EXPECT_TRUE(frame->opened.empty());
  EXPECT_TRUE(script.shown.empty());
  EXPECT_EQ(peer.RecordCount(), sent);
  frame->OnMovieCommand("NewCustomer");
  ASSERT_FALSE(frame->opened.empty());
  EXPECT_EQ(frame->opened.back(), "http://www.pellomar.example/help/ds/intro.htm");
  frame->OnMovieCommand("HomePage");
  EXPECT_EQ(frame->opened.back(), "http://www.pellomar.example/index.htm");
  // Connect/disconnect while connected asks first; No keeps the connection.
  script.answers["Do you wish to disconnect?"] = IDNO;
  frame->OnMovieCommand("Con_DisCon");
  EXPECT_TRUE(Shown("Do you wish to disconnect?"));
  EXPECT_TRUE(frame->IsConnected());
  ::unsetenv("PLATFORM_OPENER");
}

// The movie's words "Alone", "ToMgr" and "Pellomar" as the movie raises them (its FSCommand event
// to the start view): a free board to play both colours on, a mail to the service's manager, the
// service's site. None of them talks to the server, and the start screen is used as before after
// each: its room button enters the room.
TEST_F(StartViewTest, TheMoviesWordsOpenTheirBoardMailAndSiteAndTheStartScreenGoesOn) {
  testsupport::StolvexModuleHome control;
  ASSERT_TRUE(control.Registered());
  ::setenv("PLATFORM_OPENER", "true", 1);
  std::vector<int> placed;  // the colour of the free board's last stone after each of the person's clicks
  script.answerDialog = [&](UINT templateId, CWnd* dialog) -> INT_PTR {
    if (templateId != CSelfPlayDlg::kTemplateId)
      return IDCANCEL;
    auto* board = static_cast<CSelfPlayDlg*>(dialog);
    CString title;
    board->GetWindowText(title);
    EXPECT_EQ(title, Cp949("놓아보기"));
    RECT r{};
    ::GetClientRect(board->GetBoard().m_hWnd, &r);
    const int px = r.right / 19, py = r.bottom / 19;
    // Two clicks: a black stone, then a white one.
    for (int point : {3 * 19 + 3, 15 * 19 + 15}) {
      const POINT at{(point % 19) * px + px / 2 + (r.right % 19) / 2, (point / 19) * py + py / 2 + (r.bottom % 19) / 2};
      platform::input::Click(board->GetBoard().m_hWnd, at);
      placed.push_back(board->GetBoard().GetLastColor());
    }
    return CSelfPlayDlg::kClose;
  };
  struct Case {
    const char* word;
    std::string opened;  // what the desktop was asked to open ("" none)
    std::vector<int> stones;
  };
  const Case cases[] = {
      {"Alone", "", {2, 4}},
      {"ToMgr", "mailto:manager@pellomar.example", {}},
      {"Pellomar", "http://www.pellomar.example", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    frame->opened.clear();
    placed.clear();
    script.dialogs.clear();
    const std::size_t sent = peer.RecordCount();
    CComVariant arguments[2] = {CComVariant(""), CComVariant(c.word)};  // last first
    DISPPARAMS params{arguments, nullptr, 2, 0};
    EXPECT_TRUE(platform::DispatchControlEvent(view(), COrvantaView::kFlashId, CShockwaveFlash::kFSCommandEvent, &params));
    PumpFor(40);
    EXPECT_EQ(frame->opened, c.opened.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.opened});
    EXPECT_EQ(placed, c.stones);
    EXPECT_EQ(script.dialogs.size(), c.stones.empty() ? 0u : 1u);
    EXPECT_EQ(peer.RecordCount(), sent);
    EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kStartView);
    // The start screen goes on: the hall's button enters the hall.
    ClickRoom(0);
    ASSERT_EQ(peer.RecordCount(), sent + 1);
    EXPECT_EQ(peer.Records().back().major + "," + peer.Records().back().minor + " " + peer.Records().back().payload,
              "3,1 |2|");
  }
  ::unsetenv("PLATFORM_OPENER");
}

TEST_F(StartViewTest, TheButtonsGoWhenTheServerCloses) {
  script.logins.push_back({"carol", "pw9", 0, IDCANCEL});
  peer.CloseConnection();
  ASSERT_TRUE(PumpUntil([&] { return Shown(kDisconnectedMessage); }));
  EXPECT_EQ(view()->GetRoomButtonCount(), 0);
  EXPECT_EQ(view()->GetRoomButton(0), nullptr);
}

}  // namespace

namespace {

// Room numbers no room can have: below 0, and past the 16 bits the rooms are kept under.
class StartViewBadNumbersTest : public StartViewTest {
protected:
  std::string RoomList() const override { return "|3|1|2|Hall|1|-1|Minus room|1|70002|Wrapped|"; }
};

TEST_F(StartViewBadNumbersTest, AButtonWithANumberNoRoomCanHaveSendsNothingAndTheNextButtonWorks) {
  const int currentRoom = frame->GetCurrentWaitRoom();
  for (int button : {1, 2}) {
    const std::size_t before = peer.RecordCount();
    ClickRoom(button);
    EXPECT_TRUE(::IsWindow(frameHandle()));
    EXPECT_EQ(peer.RecordCount(), before) << "button " << button;
    EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kStartView);
    EXPECT_EQ(frame->GetCurrentWaitRoom(), currentRoom) << "button " << button;
  }
  // The wrapped number made no record in place of room 2's (70002 is 2 in 16 bits).
  ClickRoom(0);
  ASSERT_EQ(Pairs().back(), "3,1");
  EXPECT_EQ(peer.Records().back().payload, "|2|");
  EXPECT_EQ(frame->GetLoginRecord()->m_strWaitRoomTitle, "Hall");
}

}  // namespace

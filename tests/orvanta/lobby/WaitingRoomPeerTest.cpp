// The waiting room against the game-server peer: lists, changes, chat both ways, sorting and
// entering a room, with the records on the wire.

#include "LobbyPeerFixture.h"
#include "orvanta/lobby/SendMemoDlg.h"

namespace {

std::string Room(const std::string& number, const std::string& black, const std::string& blackGrade,
                 const std::string& white, const std::string& status, const std::string& publicCode,
                 const std::string& grade, const std::string& moves = "12") {
  return number + "|Room " + number + "|x|" + black + "|x|" + blackGrade + "|x|" + white + "|x|1D|2|" + moves + "|" +
         status + "|" + publicCode + "|" + grade;
}

std::string Record(int major, int minor, const std::string& payload) { return GameServerPeer::Record(major, minor, payload); }

class WaitingRoomPeerTest : public LobbyPeerTest {
protected:
  void FillLists() {
    Serve(Record(3, 3, "|1|x|4|1|amy|Amy|3K|3|bob|Bob|1D|3|am|Am|10K|5|dan|Dan|" + std::string(Cp949("아마2단")) + "|"),
          [&] { return view->GetUserList().GetItemCount() == 4; });
    Serve(Record(5, 1,
                 "|1|x|3|" + Room("11", "amy", "3K", "bob", "1", "1", "3K") + "|" +
                     Room("12", "cid", "1D", "", "3", "2", "1D", "0") + "|" + Room("13", "eve", "Pro1D", "fay", "2", "1", "Pro1D", "150") +
                     "|R3key|"),
          [&] { return view->GetRoomList().GetItemCount() == 3; });
  }
};

TEST_F(WaitingRoomPeerTest, ListsFillAndFollowUsersAndRoomsComingAndGoing) {
  EnterWaitingRoom();
  FillLists();
  EXPECT_EQ(Column(view->GetUserList(), 0), (std::vector<std::string>{"amy", "bob", "am", "dan"}));
  EXPECT_EQ(Column(view->GetUserList(), 3), (std::vector<std::string>{"Free", "Kyu room", "Kyu room", "Pro"}));
  EXPECT_EQ(Label(CTirvoDListView::kUserCountLabel), "4 Persons");
  // Rooms stand strongest first, whatever order they came in.
  EXPECT_EQ(Column(view->GetRoomList(), 1), (std::vector<std::string>{"13", "12", "11"}));
  EXPECT_EQ(Column(view->GetRoomList(), 0), (std::vector<std::string>{"Public", "Private", "Public"}));
  EXPECT_EQ(Column(view->GetRoomList(), 2), (std::vector<std::string>{"Pause", "Wait", "Play"}));
  EXPECT_EQ(Column(view->GetRoomList(), 5), (std::vector<std::string>{"fay(1D)", "", "bob(1D)"}));
  EXPECT_EQ(Label(CTirvoDListView::kRoomKeyLabel), "R3key ");
  EXPECT_EQ(Label(CTirvoDListView::kRoomCountLabel), "3 Rooms");

  // One user comes, then "am" leaves: "amy", whose ID begins with it and stands first, stays.
  Serve(Record(3, 99, "|1|1|gus|Gus|2K|") + Record(3, 99, "|2|3|am|Am|10K|"),
        [&] { return Label(CTirvoDListView::kUserCountLabel) == "4 Persons" && view->GetUserList().GetItemCount() == 4 &&
                     Column(view->GetUserList(), 0).back() == "gus"; });
  EXPECT_EQ(Column(view->GetUserList(), 0), (std::vector<std::string>{"amy", "bob", "dan", "gus"}));
  // A leave for nobody and a change cut short change nothing.
  Serve(Record(3, 99, "|2|3|zed|Zed|1K|") + Record(3, 99, "|1|3|hal|") + Record(0, 0, ""), [&] { return true; });
  PumpFor(100);
  EXPECT_EQ(view->GetUserList().GetItemCount(), 4);

  // A room opens at its grade's place, one changes, one closes.
  Serve(Record(5, 99, "|1|" + Room("14", "hal", "2D", "ian", "3", "1", "2D") + "|K2|"),
        [&] { return view->GetRoomList().GetItemCount() == 4; });
  EXPECT_EQ(Column(view->GetRoomList(), 1), (std::vector<std::string>{"13", "14", "12", "11"}));
  EXPECT_EQ(Label(CTirvoDListView::kRoomCountLabel), "4 Rooms");
  Serve(Record(5, 99, "|3|" + Room("12", "cid", "1D", "jon", "1", "2", "1D", "33") + "|K3|"),
        [&] { return view->GetRoomList().GetItemText(2, 6) == "33"; });
  EXPECT_EQ(view->GetRoomList().GetItemText(2, 5), "jon(1D)");
  EXPECT_EQ(view->GetRoomList().GetItemText(2, 0), "Private");  // column 0 keeps its old value
  Serve(Record(5, 99, "|2|11|K4|"), [&] { return view->GetRoomList().GetItemCount() == 3; });
  EXPECT_EQ(Column(view->GetRoomList(), 1), (std::vector<std::string>{"13", "14", "12"}));
  EXPECT_EQ(Label(CTirvoDListView::kRoomKeyLabel), "K4 ");
  EXPECT_EQ(Label(CTirvoDListView::kRoomCountLabel), "3 Rooms");

  // With the room switch off, changes are dropped; on again asks for the list once.
  taken = peer.RecordCount();
  view->SendMessage(WM_COMMAND, MAKEWPARAM(CTirvoDListView::kRoomAutoUpdate, BN_CLICKED), 0);
  EXPECT_FALSE(view->IsRoomAutoUpdate());
  Serve(Record(5, 99, "|2|13|K5|"), [&] { return true; });
  PumpFor(100);
  EXPECT_EQ(view->GetRoomList().GetItemCount(), 3);
  EXPECT_TRUE(NoRecord(5, 1));
  view->SendMessage(WM_COMMAND, MAKEWPARAM(CTirvoDListView::kRoomAutoUpdate, BN_CLICKED), 0);
  EXPECT_TRUE(NextRecord(5, 1));  // role 3: the room list is asked with major 5
  EXPECT_TRUE(view->IsRoomAutoUpdate());

  // The user switch likewise: off drops user changes, on asks for the users again.
  view->SendMessage(WM_COMMAND, MAKEWPARAM(CTirvoDListView::kUserAutoUpdate, BN_CLICKED), 0);
  EXPECT_FALSE(view->IsUserAutoUpdate());
  EXPECT_TRUE(NoRecord(3, 3));
  Serve(Record(3, 99, "|1|1|kim|Kim|2K|"), [&] { return true; });
  PumpFor(100);
  EXPECT_EQ(view->GetUserList().GetItemCount(), 4);
  view->SendMessage(WM_COMMAND, MAKEWPARAM(CTirvoDListView::kUserAutoUpdate, BN_CLICKED), 0);
  EXPECT_TRUE(view->IsUserAutoUpdate());
  const std::optional<PeerRecord> users = NextRecord(3, 3);
  ASSERT_TRUE(users);
  EXPECT_EQ(users->payload, "|R2|5|");
}

TEST_F(WaitingRoomPeerTest, ChatGoesBothWaysWithExactRecords) {
  EnterWaitingRoom();
  Serve(Record(3, 4, "|R2|x|amy|a|b|hello all|"), [&] { return !ChatBox().IsEmpty(); });
  EXPECT_EQ(ChatBox(), "[amy]hello all\r\n");

  taken = peer.RecordCount();
  view->SendChat("good|game/s");
  std::optional<PeerRecord> line = NextRecord(3, 4);  // role 3: waiting-room requests are major 3
  ASSERT_TRUE(line);
  EXPECT_EQ(line->payload, "|R2|goodgames|");
  EXPECT_EQ(line->sender, senderNumber());
  EXPECT_EQ(line->flag, "1");
  view->SendChat("   ");
  EXPECT_TRUE(NoRecord(3, 4));

  // A phrase key sends its phrase.
  EXPECT_FALSE(view->PreTranslateMessage(nullptr));
  MSG key{view->m_hWnd, WM_KEYDOWN, VK_F2, 0, 0, {0, 0}};
  view->PreTranslateMessage(&key);
  line = NextRecord(3, 4);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->payload, "|R2|" + std::string(Cp949("안녕하세요.")) + "|");

  // Enter in the chat input sends what was typed and empties it.
  CWnd* input = view->GetDlgItem(CTirvoDListView::kChatInput);
  ASSERT_NE(input, nullptr);
  input->SetWindowText("hi there");
  MSG enter{input->m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
  EXPECT_TRUE(view->PreTranslateMessage(&enter));
  line = NextRecord(3, 4);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->payload, "|R2|hi there|");
  CString left;
  input->GetWindowText(left);
  EXPECT_EQ(left, "");

  // A phrase chosen from the drop-down goes out when the list closes, cut to 127 bytes without
  // half a Korean character, and the choice is cleared.
  const std::string ga = Cp949("가");
  std::string longPhrase(126, 'x');
  longPhrase += ga + ga;
  const LRESULT index = input->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longPhrase.c_str()));
  ASSERT_GE(index, 0);
  input->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
  view->SendMessage(WM_COMMAND, MAKEWPARAM(CTirvoDListView::kChatInput, CBN_CLOSEUP),
                    reinterpret_cast<LPARAM>(input->m_hWnd));
  line = NextRecord(3, 4);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->payload, "|R2|" + std::string(126, 'x') + "|");
  EXPECT_EQ(input->SendMessage(CB_GETCURSEL), CB_ERR);
}

TEST_F(WaitingRoomPeerTest, SortsEveryColumnKindWithKoreanGradesInOrder) {
  EnterWaitingRoom();
  FillLists();
  // A waiting room of Korean grades: the grade column orders them by the Korean words.
  const std::string k15 = Cp949("15급"), k5 = Cp949("5급"), a1 = Cp949("아마1단"), a2 = Cp949("아마2단"),
                    p3 = Cp949("프로3단");
  Serve(Record(3, 3, "|1|x|6|1|amy|Amy|" + k5 + "|3|bob|Bob|" + p3 + "|3|am|Am|" + a2 + "|5|dan|Dan|" + k15 +
                         "|1|kim|Kim|" + a1 + "|1|lee|Lee|*" + k5 + "|"),
        [&] { return view->GetUserList().GetItemText(0, 1).str() == k5; });
  view->SortUserList(1);
  EXPECT_EQ(Column(view->GetUserList(), 1), (std::vector<std::string>{k15, k5, "*" + k5, a1, a2, p3}));
  EXPECT_EQ(view->GetUserSortMark(1), 2);  // ascending
  view->SortUserList(1);
  EXPECT_EQ(Column(view->GetUserList(), 1), (std::vector<std::string>{p3, a2, a1, "*" + k5, k5, k15}));
  EXPECT_EQ(view->GetUserSortMark(1), 1);  // descending
  view->SortUserList(0);
  EXPECT_EQ(Column(view->GetUserList(), 0), (std::vector<std::string>{"am", "amy", "bob", "dan", "kim", "lee"}));
  EXPECT_EQ(view->GetUserSortMark(1), 0);  // the previous column lost its mark
  EXPECT_EQ(view->GetLastSortedUserColumn(), 0);

  view->SortRoomList(1);  // whole numbers
  EXPECT_EQ(Column(view->GetRoomList(), 1), (std::vector<std::string>{"11", "12", "13"}));
  view->SortRoomList(6);
  EXPECT_EQ(Column(view->GetRoomList(), 6), (std::vector<std::string>{"0", "12", "150"}));
  view->SortRoomList(2);  // room states
  EXPECT_EQ(Column(view->GetRoomList(), 2), (std::vector<std::string>{"Wait", "Play", "Pause"}));
  view->SortRoomList(3);  // grades
  EXPECT_EQ(Column(view->GetRoomList(), 3), (std::vector<std::string>{"3K", "1D", "Pro1D"}));
  view->SortRoomList(3);
  EXPECT_EQ(Column(view->GetRoomList(), 3), (std::vector<std::string>{"Pro1D", "1D", "3K"}));
  view->SortRoomList(4);  // text
  EXPECT_EQ(Column(view->GetRoomList(), 4), (std::vector<std::string>{"amy(3K)", "cid(1D)", "eve(Pro1D)"}));
  // A column keeps its own direction while others are sorted: its second click sorts descending,
  // and only the column sorted last shows an arrow in the header.
  view->SortRoomList(1);
  EXPECT_EQ(Column(view->GetRoomList(), 1), (std::vector<std::string>{"13", "12", "11"}));
  EXPECT_EQ(view->GetRoomSortMark(1), CSortState::kDescendingMark);
  EXPECT_EQ(view->GetRoomSortMark(4), CSortState::kNoMark);
  const auto headerImage = [&](int column) {
    HDITEM item{};
    item.mask = HDI_IMAGE;
    view->GetRoomList().GetHeaderCtrl()->GetItem(column, &item);
    return item.iImage;
  };
  EXPECT_EQ(headerImage(1), CSortState::kDescendingMark);
  EXPECT_EQ(headerImage(4), CSortState::kNoMark);
  // Rooms keep telling public from private after any sort.
  const int privateRow = 1;
  EXPECT_EQ(view->GetRoomList().GetItemText(privateRow, 0), "Private");
  EXPECT_EQ(view->GetRoomList().GetItemState(privateRow, LVIS_STATEIMAGEMASK) >> 12, 0u);
}

TEST_F(WaitingRoomPeerTest, EnteringRoomsAndUserCommands) {
  EnterWaitingRoom();
  FillLists();
  CSessionRecord* record = frame->GetLobbySession();
  ASSERT_NE(record, nullptr);

  // No selection: a message and nothing sent.
  view->EnterSelectedRoom();
  EXPECT_EQ(lobby.shown, (std::vector<std::string>{"Select game room you wish to enter."}));

  // A private room asks its password; Cancel sends nothing.
  Select(view->GetRoomList(), "12", 1);
  view->EnterSelectedRoom();
  EXPECT_EQ(lobby.dialogs, (std::vector<UINT>{275}));
  taken = peer.RecordCount();
  EXPECT_TRUE(NoRecord(5, 3));
  lobby.answers[275] = [](CWnd* dialog, CDialog*) {
    dialog->SetDlgItemText(1126, "se|cr/et");
    return IDOK;
  };
  view->EnterSelectedRoom();
  // Role 3 leaves with major 3; the join's major follows waiting room 2 (5); the key names it.
  std::optional<PeerRecord> leave = NextRecord(3, 2);
  ASSERT_TRUE(leave);
  EXPECT_EQ(leave->payload, "|R2|");
  std::optional<PeerRecord> join = NextRecord(5, 3);
  ASSERT_TRUE(join);
  EXPECT_EQ(join->payload, "|R2|12|secret|");
  EXPECT_EQ(join->flag, "1");
  EXPECT_EQ(frame->GetHomeWaitRoom(), 2);
  EXPECT_EQ(frame->GetRoomPrefix(), "|R2|12|");  // the room's own requests name the room joined
  EXPECT_EQ(record->m_nRoomNumber, 12);
  EXPECT_EQ(record->m_strRoomText1, "secret");  // separators never reach the payload
  EXPECT_EQ(record->m_strRoomText2, "Room 12");
  EXPECT_EQ(record->m_strRoomText3, "2");
  EXPECT_EQ(frame->GetRoomEntryMode(), 0);
  // The frame waits for the room with the capture until the reply ends it.
  EXPECT_EQ(::GetCapture(), frame->m_hWnd);
  frame->EndWaitCapture();
  EXPECT_EQ(::GetCapture(), nullptr);

  Select(view->GetRoomList(), "11", 1);
  view->EnterSelectedRoom();
  EXPECT_EQ(record->m_nRoomNumber, 11);
  EXPECT_EQ(record->m_strRoomText3, "1");
  EXPECT_EQ(record->m_strRoomText2, "Room 11");
  join = NextRecord(5, 3);
  ASSERT_TRUE(join);
  EXPECT_EQ(join->payload, "|R2|11||");  // a public room has no password
  EXPECT_EQ(frame->GetRoomPrefix(), "|R2|11|");
  EXPECT_EQ(frame->GetRoomEntryMode(), 2);
  EXPECT_EQ(::GetCapture(), frame->m_hWnd);
  frame->EndWaitCapture();

  // Room information, user information, mail, and the refusals about oneself.
  taken = peer.RecordCount();
  view->OnRoomInform();
  std::optional<PeerRecord> request = NextRecord(5, 7);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->payload, "|R2|11|");
  Select(view->GetUserList(), "bob");
  view->OnUserInfo();
  request = NextRecord(10, 3);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->payload, "|3|bob|");
  view->OnSendMail();
  request = NextRecord(1, 9);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->payload, "|3|bob|");
  // A memo leaves at once, not with whatever is sent next.
  lobby.answers[CSendMemoDlg::kTemplateId] = [](CWnd* dialog, CDialog*) {
    dialog->SetDlgItemText(CSendMemoDlg::kMessageEdit, "good game");
    return IDOK;
  };
  view->SendMessage(WM_COMMAND, CTirvoDListView::kSendMemoCommand);
  request = NextRecord(1, 5);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->payload, "|3|bob|good game|");
  Serve(Record(3, 99, "|1|3|carol|Carol|4K|"), [&] { return view->GetUserList().GetItemCount() == 5; });
  Select(view->GetUserList(), "carol");
  view->OnSendMail();
  view->OnNegoPlay();
  EXPECT_TRUE(NoRecord(1, 9));
  EXPECT_TRUE(NoRecord(1, 19));
  EXPECT_EQ(lobby.shown.back(), "You cannot nego to play with yourself.");
  EXPECT_EQ(lobby.shown[lobby.shown.size() - 2], "You cannot send mail to yourself.");
  // A command without a selected user does nothing.
  Select(view->GetUserList(), "nobody");
  const std::size_t before = lobby.shown.size();
  view->OnSendMail();
  view->OnNegoPlay();
  EXPECT_TRUE(NoRecord(1, 9));
  EXPECT_EQ(lobby.shown.size(), before);
}

TEST_F(WaitingRoomPeerTest, ContextMenusOfferEachListsCommandsWhereTheyAreAsked) {
  EnterWaitingRoom();
  FillLists();
  const auto menuAt = [&](CWnd& list, int dx, int dy) {
    CRect rect;
    list.GetWindowRect(&rect);
    view->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), MAKELPARAM(rect.left + dx, rect.top + dy));
  };
  using V = CTirvoDListView;
  menuAt(view->GetUserList(), 5, 30);
  menuAt(view->GetRoomList(), 5, 30);
  menuAt(view->GetUserList(), -3, -3);  // beside both lists: no menu
  ASSERT_EQ(lobby.menus.size(), 2u);
  EXPECT_EQ(lobby.menus[0], (std::vector<UINT>{V::kNegoPlayCommand, V::kUserInfoCommand, V::kSendMemoCommand,
                                               V::kSendMailCommand}));
  EXPECT_EQ(lobby.menus[1], (std::vector<UINT>{V::kJoinRoomCommand, V::kRoomInformCommand}));
  // The command chosen reaches the waiting room.
  Select(view->GetUserList(), "bob");
  lobby.menuChoice = V::kUserInfoCommand;
  taken = peer.RecordCount();
  menuAt(view->GetUserList(), 5, 30);
  const std::optional<PeerRecord> info = NextRecord(10, 3);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->payload, "|3|bob|");
}

TEST_F(WaitingRoomPeerTest, TheStartScreensRoomButtonLeadsIntoTheWaitingRoom) {
  LogIn();
  peer.ReplyOnce(3, 1, {{Record(3, 1, "|ok|"), 0}});
  taken = peer.RecordCount();
  frame->EnterRoomFromStartView("1", "2", "Dan room");
  const std::optional<PeerRecord> enter = NextRecord(3, 1);
  ASSERT_TRUE(enter);
  EXPECT_EQ(enter->payload, "|2|");
  ASSERT_TRUE(PumpUntil([&] { return frame->GetWaitingRoomView() != nullptr; }));
  view = frame->GetWaitingRoomView();
  CString title;
  frame->GetWindowText(title);
  EXPECT_EQ(title, "Orvanta 1.5(Dan room)");
  Serve(Record(3, 3, "|1|x|1|2|amy|Amy|3K|"), [&] { return view->GetUserList().GetItemCount() == 1; });
  taken = peer.RecordCount();
  view->SendChat("hi");
  const std::optional<PeerRecord> line = NextRecord(3, 4);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->payload, "|2|hi|");
}

}  // namespace

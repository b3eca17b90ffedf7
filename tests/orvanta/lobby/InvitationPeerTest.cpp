// Invitations, the user search, the options and continuing a paused game, against the game-server
// peer: what the frame shows and the exact records it sends.

#include <platform/controls.h>
#include <platform/time.h>

#include "LobbyPeerFixture.h"
#include "orvanta/lobby/ContinuePlayDlg.h"
#include "orvanta/lobby/InvitationDlg.h"
#include "orvanta/lobby/InviteDlg.h"
#include "orvanta/lobby/OptionsDlg.h"
#include "orvanta/lobby/PasswordDlg.h"
#include "orvanta/lobby/RankSelectDlg.h"
#include "orvanta/lobby/SearchGiboDlg.h"
#include "orvanta/lobby/TirvoGiboView.h"
#include "orvanta/lobby/TirvoRankView.h"
#include "orvanta/lobby/SearchRoomDlg.h"
#include "orvanta/lobby/SearchUserDlg.h"
#include "orvanta/lobby/UserInfoListDlg.h"

namespace {

void Press(CWnd* wnd, UINT id) {
  wnd->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(wnd->GetDlgItem(static_cast<int>(id))->m_hWnd));
}

// Picks text in the drop-down list id of dialog wnd, as a click in the list would.
void Choose(CWnd* wnd, UINT id, const char* text) {
  const LRESULT index = wnd->SendDlgItemMessage(static_cast<int>(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(text));
  wnd->SendDlgItemMessage(static_cast<int>(id), CB_SETCURSEL, static_cast<WPARAM>(index));
}

CString Text(CWnd* wnd, UINT id) {
  CString text;
  wnd->GetDlgItemText(static_cast<int>(id), text);
  return text;
}

class InvitationPeerTest : public LobbyPeerTest {
protected:
  // An invitation from kim (waiting room 5) into room 7 of waiting room 2, password "pw".
  std::string Invitation() const { return GameServerPeer::Record(1, 12, "|2|7|pw|5|kim|Kim|3D|come\tplay|x|"); }
  std::size_t Count(UINT templateId) const {
    return static_cast<std::size_t>(std::count(lobby.dialogs.begin(), lobby.dialogs.end(), templateId));
  }
  bool ShownText(const std::string& text) const {
    return std::find(lobby.shown.begin(), lobby.shown.end(), text) != lobby.shown.end();
  }
};

TEST_F(InvitationPeerTest, AnInvitationIsDeclinedByHandOrAfterTenSecondsAndAcceptedIntoTheRoom) {
  platform::ManualClockScope manual;
  EnterWaitingRoom();
  CSessionRecord* session = frame->GetLoginRecord();
  ASSERT_NE(session, nullptr);

  // Declined by hand: the refusal names the inviter.
  CString inviter;
  CString message;
  lobby.answers[CInvitationDlg::kTemplateId] = [&](CWnd* wnd, CDialog*) -> INT_PTR {
    inviter = Text(wnd, CInvitationDlg::kInviterLabel);
    message = Text(wnd, CInvitationDlg::kMessageEdit);
    return IDCANCEL;
  };
  Serve(Invitation(), [&] { return Count(CInvitationDlg::kTemplateId) == 1; });
  EXPECT_EQ(inviter, "kim(Kim:3D)");
  EXPECT_EQ(message, "comeplay");
  auto refusal = NextRecord(1, 18);
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->payload, "|5|kim|1|");

  // Nine seconds leave the question open; the tenth declines with the bar full.
  std::vector<int> positions;
  bool openAfterNine = false;
  lobby.answers[CInvitationDlg::kTemplateId] = [&](CWnd* wnd, CDialog* dialog) -> INT_PTR {
    CWnd* progress = wnd->GetDlgItem(static_cast<int>(CInvitationDlg::kProgress));
    for (int second = 1; second <= 10; ++second) {
      platform::Clock::Advance(CInvitationDlg::kTickMs);
      platform::PumpMessages();
      positions.push_back(static_cast<int>(progress->SendMessage(PBM_GETPOS)));
      if (second == 9)
        openAfterNine = ::IsWindow(wnd->m_hWnd) && static_cast<CInvitationDlg*>(dialog)->GetTimerId() != 0;
    }
    return IDOK;  // too late: the dialog has ended by itself
  };
  Serve(Invitation(), [&] { return Count(CInvitationDlg::kTemplateId) == 2; });
  EXPECT_TRUE(openAfterNine);
  ASSERT_EQ(positions.size(), 10u);
  EXPECT_EQ(positions[8], 90);
  EXPECT_EQ(positions[9], 100);
  refusal = NextRecord(1, 18);
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->payload, "|5|kim|1|");

  // Accepted while the room is no longer listed: nothing is joined.
  lobby.answers[CInvitationDlg::kTemplateId] = [](CWnd*, CDialog*) -> INT_PTR { return IDOK; };
  Serve(Invitation(), [&] { return ShownText("The game room is already closed."); });
  EXPECT_EQ(session->m_nRoomNumber, 0);

  // Listed with kim at a seat: the user joins room 7 with the invitation's password.
  CListCtrl& rooms = view->GetRoomList();
  const int row = rooms.InsertItem(0, "kim(3D)");
  rooms.SetItemText(row, 1, "7");
  lobby.shown.clear();
  Serve(Invitation(), [&] { return session->m_nRoomNumber == 7; });
  EXPECT_TRUE(lobby.shown.empty());
  EXPECT_EQ(session->m_strRoomText2, CString("7") + Cp949("번방"));
  EXPECT_EQ(session->m_strRoomText1, "pw");
  EXPECT_TRUE(frame->IsRoomTransition());
  EXPECT_TRUE(NoRecord(1, 18));

  // While that entry runs, a further invitation asks nothing.
  const std::size_t asked = Count(CInvitationDlg::kTemplateId);
  Serve(Invitation(), [&] { return peer.Records().size() > 0; });
  PumpFor(100);
  EXPECT_EQ(Count(CInvitationDlg::kTemplateId), asked);

  // The other direction: an invitation the user sent was refused.
  Serve(GameServerPeer::Record(1, 18, "|5|lee|x|Lee|"), [&] { return !lobby.shown.empty(); });
  EXPECT_EQ(lobby.shown.back(), Cp949("lee(Lee)님이 초대를 거절 했습니다."));
}

TEST_F(InvitationPeerTest, AUserSearchListsTheFoundUsersAndJoinsOrInvitesThem) {
  EnterWaitingRoom();
  // The search: an empty entry is refused inside the dialog, then a name is searched for.
  std::size_t refusedBeforeEntry = 0;
  lobby.answers[CSearchUserDlg::kTemplateId] = [&](CWnd* wnd, CDialog*) -> INT_PTR {
    Press(wnd, IDOK);
    refusedBeforeEntry = lobby.shown.size();
    Choose(wnd, CSearchUserDlg::kKindCombo, "User Name");
    wnd->SetDlgItemText(CSearchUserDlg::kTextEdit, "kim");
    return IDOK;
  };
  frame->SendMessage(WM_COMMAND, CMainFrame::kSearchUserCommand);
  EXPECT_EQ(refusedBeforeEntry, 1u);
  EXPECT_EQ(lobby.shown.front(), "You must enter User ID.");
  const auto search = NextRecord(1, 4);
  ASSERT_TRUE(search.has_value());
  EXPECT_EQ(search->payload, "|User name|kim|");

  // Three users (and seven stray fields): one in room 12, one waiting, one in a forum.
  const std::string found = "|a|b|c|3|kim|Kim|3D|R2|12|1|1|Dan room|lee|Lee|1K|R2|-1|1|1|Dan room|"
                            "amy|Amy|2D|R9|-1|1|5|Go forum|x|x|x|x|x|x|x|";
  std::vector<std::string> locations;
  std::vector<std::string> refusals;
  lobby.shown.clear();
  lobby.answers[CUserInfoListDlg::kTemplateId] = [&](CWnd* wnd, CDialog* dialog) -> INT_PTR {
    locations = Column(static_cast<CUserInfoListDlg*>(dialog)->GetList(), 3);
    Press(wnd, CUserInfoListDlg::kInviteButton);  // not from the waiting room
    refusals = lobby.shown;
    Press(wnd, CUserInfoListDlg::kJoinButton);  // nobody clicked: the first user, kim in room 12
    return IDCANCEL;
  };
  Serve(GameServerPeer::Record(1, 4, found), [&] { return frame->GetLoginRecord()->m_nRoomNumber == 12; });
  EXPECT_EQ(locations, (std::vector<std::string>{"12 Room", "Dan room", "Go forum"}));
  EXPECT_EQ(refusals, std::vector<std::string>{"You can invite only in a game room."});
  EXPECT_EQ(frame->GetLoginRecord()->m_strRoomText2, Cp949("친구방"));

  // From the game room the waiting user lee is invited into the own room.
  frame->SwitchView(CMainFrame::kGameRoomView);
  frame->SetWaitingRoomKey("2", "R2");
  frame->GetLoginRecord()->SetEntry("room", "pw", "1", "12");
  lobby.answers[CUserInfoListDlg::kTemplateId] = [&](CWnd* wnd, CDialog* dialog) -> INT_PTR {
    CListCtrl& list = static_cast<CUserInfoListDlg*>(dialog)->GetList();
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    NMHDR click{list.m_hWnd, CUserInfoListDlg::kUserList, NM_CLICK};
    wnd->SendMessage(WM_NOTIFY, CUserInfoListDlg::kUserList, reinterpret_cast<LPARAM>(&click));
    Press(wnd, CUserInfoListDlg::kInviteButton);
    return IDCANCEL;
  };
  Serve(GameServerPeer::Record(1, 4, found), [&] { return Count(CUserInfoListDlg::kTemplateId) == 2; });
  const auto invite = NextRecord(1, 12);
  ASSERT_TRUE(invite.has_value());
  EXPECT_EQ(invite->payload, "|R2|12|pw|R2|lee||");

  // Nobody found.
  lobby.shown.clear();
  Serve(GameServerPeer::Record(1, 4, "|a|b|c|0|"), [&] { return !lobby.shown.empty(); });
  EXPECT_EQ(lobby.shown.back(), "The searching user is not found.");
  EXPECT_EQ(Count(CUserInfoListDlg::kTemplateId), 2u);
}

TEST_F(InvitationPeerTest, TheOptionsDialogShowsTheStoredSwitchesAndSendsTheirSum) {
  EnterWaitingRoom();
  ASSERT_TRUE(NextRecord(1, 11).has_value());  // the login's
  std::vector<int> shownChecks;
  lobby.answers[COptionsDlg::kTemplateId] = [&](CWnd* wnd, CDialog*) -> INT_PTR {
    for (UINT id : {COptionsDlg::kInviteCheck, COptionsDlg::kManToManCheck, COptionsDlg::kAlarmCheck,
                    COptionsDlg::kNegoCheck})
      shownChecks.push_back(static_cast<int>(wnd->SendDlgItemMessage(static_cast<int>(id), BM_GETCHECK)));
    wnd->SendDlgItemMessage(COptionsDlg::kManToManCheck, BM_SETCHECK, BST_UNCHECKED);
    wnd->SendDlgItemMessage(COptionsDlg::kNegoCheck, BM_SETCHECK, BST_UNCHECKED);
    return IDOK;
  };
  frame->SendMessage(WM_COMMAND, CMainFrame::kEnvironmentCommand);
  EXPECT_EQ(shownChecks, (std::vector<int>{1, 1, 1, 1}));  // never set: all on
  auto options = NextRecord(1, 11);
  ASSERT_TRUE(options.has_value());
  EXPECT_EQ(options->payload, "|5|");  // Invite 1 + Message Alarm 4

  // Shown again as stored; Cancel changes and sends nothing.
  shownChecks.clear();
  lobby.answers[COptionsDlg::kTemplateId] = [&](CWnd* wnd, CDialog*) -> INT_PTR {
    for (UINT id : {COptionsDlg::kInviteCheck, COptionsDlg::kManToManCheck, COptionsDlg::kAlarmCheck,
                    COptionsDlg::kNegoCheck})
      shownChecks.push_back(static_cast<int>(wnd->SendDlgItemMessage(static_cast<int>(id), BM_GETCHECK)));
    return IDCANCEL;
  };
  frame->SendMessage(WM_COMMAND, CMainFrame::kEnvironmentCommand);
  EXPECT_EQ(shownChecks, (std::vector<int>{1, 0, 1, 0}));
  EXPECT_TRUE(NoRecord(1, 11));
}

TEST_F(InvitationPeerTest, ContinuingAPausedGameNeedsTheOpponentInTheRoom) {
  EnterWaitingRoom();
  int initialChoice = -2;
  lobby.answers[CContinuePlayDlg::kTemplateId] = [&](CWnd* wnd, CDialog* dialog) -> INT_PTR {
    initialChoice = static_cast<CContinuePlayDlg*>(dialog)->m_nChoice;
    wnd->CheckDlgButton(CContinuePlayDlg::kPlayRecordRadio, BST_CHECKED);
    wnd->CheckDlgButton(CContinuePlayDlg::kSavedFileRadio, BST_UNCHECKED);
    return IDOK;
  };
  frame->OnContinuePausedPlay();
  EXPECT_EQ(initialChoice, CContinuePlayDlg::kFromSavedFile);
  EXPECT_EQ(lobby.shown, std::vector<std::string>{"Your opponent is not in the game room."});
  EXPECT_TRUE(NoRecord(6, 2));
  // The saved file, chosen as the dialog opens, is refused the same way.
  lobby.answers[CContinuePlayDlg::kTemplateId] = [](CWnd*, CDialog*) -> INT_PTR { return IDOK; };
  frame->OnContinuePausedPlay();
  EXPECT_EQ(lobby.shown.size(), 2u);
  EXPECT_FALSE(HasPending("OnOpenLocalRecord"));
}

}  // namespace

namespace {

TEST_F(InvitationPeerTest, TheInviteDialogInvitesAUserPickedFromTheWaitingList) {
  EnterWaitingRoom();
  frame->SetWaitingRoomKey("2", "R2");
  frame->GetLoginRecord()->SetEntry("room", "pw", "1", "12");
  CInviteDlg dialog(frame);
  dialog.SetHost(frame, [this](const CString& number, const CString& id, const CString& message,
                               const CString& roomField) { frame->SendInvite(number, id, message, roomField); });
  ASSERT_TRUE(dialog.Create(frame));
  dialog.ShowWindow(SW_SHOW);
  EXPECT_FALSE(dialog.GetDlgItem(CInviteDlg::kWaitingListButton)->IsWindowVisible());
  // "1" replaces the list, anything else adds to it; the count never reaches past the users sent.
  dialog.FillWaitingList("|1|x|2|3|amy|Amy|5K|9|bo|Bo|1D|");
  dialog.FillWaitingList("|0|x|4|5|cy|Cy|2K|");
  EXPECT_EQ(Column(dialog.GetList(), 0), (std::vector<std::string>{"amy", "bo", "cy"}));
  EXPECT_EQ(Column(dialog.GetList(), 3), (std::vector<std::string>{"Kyu room", "", "Pro"}));
  dialog.FillWaitingList("|1|x|2|3|amy|Amy|5K|5|cy|Cy|2K|");
  EXPECT_EQ(Column(dialog.GetList(), 0), (std::vector<std::string>{"amy", "cy"}));

  // By name nobody is looked up.
  dialog.CheckDlgButton(CInviteDlg::kIdRadio, BST_UNCHECKED);
  dialog.CheckDlgButton(CInviteDlg::kNameRadio, BST_CHECKED);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CInviteDlg::kNameRadio, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dialog.GetDlgItem(CInviteDlg::kNameRadio)->m_hWnd));
  EXPECT_TRUE(dialog.GetDlgItem(CInviteDlg::kNameEdit)->IsWindowEnabled());
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(lobby.shown.back(), "Please select a user.");
  EXPECT_TRUE(NoRecord(1, 12));

  // Picked by a double-click with a message: sent, emptied and hidden.
  dialog.CheckDlgButton(CInviteDlg::kNameRadio, BST_UNCHECKED);
  dialog.CheckDlgButton(CInviteDlg::kIdRadio, BST_CHECKED);
  dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CInviteDlg::kIdRadio, BN_CLICKED),
                     reinterpret_cast<LPARAM>(dialog.GetDlgItem(CInviteDlg::kIdRadio)->m_hWnd));
  dialog.SetDlgItemText(CInviteDlg::kMessageEdit, "a game?");
  dialog.GetList().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  NMHDR click{dialog.GetList().m_hWnd, CInviteDlg::kUserList, NM_DBLCLK};
  dialog.SendMessage(WM_NOTIFY, CInviteDlg::kUserList, reinterpret_cast<LPARAM>(&click));
  const auto invite = NextRecord(1, 12);
  ASSERT_TRUE(invite.has_value());
  EXPECT_EQ(invite->payload, "|R2|12|pw|5|cy|a game?|");
  EXPECT_FALSE(dialog.IsWindowVisible());
  EXPECT_EQ(Text(&dialog, CInviteDlg::kMessageEdit), "");
  EXPECT_EQ(Text(&dialog, CInviteDlg::kIdEdit), "");

  // Without a selection the context commands only tell what to do; with one they ask.
  dialog.GetList().SetItemState(-1, 0, LVIS_SELECTED);
  dialog.SendMessage(WM_COMMAND, CInviteDlg::kUserInfoCommand);
  EXPECT_EQ(lobby.shown.back(), "You can send message after selecting a user.");
  dialog.GetList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  dialog.SendMessage(WM_COMMAND, CInviteDlg::kUserInfoCommand);
  const auto info = NextRecord(10, 3);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->payload, "|3|amy|");
  dialog.DestroyWindow();
}

}  // namespace

namespace {

TEST_F(InvitationPeerTest, TheRoomSearchFindsRoomsOfTheWaitingRoomAndEntersAPrivateOneWithItsPassword) {
  EnterWaitingRoom();
  // Nothing listed: the answer comes at once.
  lobby.answers[CSearchRoomDlg::kTemplateId] = [](CWnd* wnd, CDialog*) -> INT_PTR {
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(CSearchRoomDlg::kSearchButton, BN_CLICKED), 0);
    return IDCANCEL;
  };
  frame->OnMenuButton(1197);
  EXPECT_EQ(lobby.shown, std::vector<std::string>{"No information found."});

  CListCtrl& rooms = view->GetRoomList();
  // Room 3 public and played by kim and lee; room 5 private, amy waits in it.
  const char* rows[2][9] = {{"", "3", "Play", "3D", "kim(3D)", "lee(2D)", "40", "4", "Friendly"},
                            {"", "5", "Wait", "1D", "amy(1D)", "", "0", "1", "Kim's lesson"}};
  for (int r = 0; r < 2; ++r) {
    rooms.InsertItem(LVIF_TEXT | LVIF_STATE, r, rows[r][0], INDEXTOSTATEIMAGEMASK(r + 1), LVIS_STATEIMAGEMASK, 0, 0);
    for (int c = 1; c < 9; ++c) rooms.SetItemText(r, c, rows[r][c]);
  }
  struct Search {
    int kind;
    UINT edit;
    const char* text;
    std::vector<std::string> found;  // room number and public word of each result
  };
  const Search searches[] = {
      {CSearchRoomDlg::kByUserId, CSearchRoomDlg::kIdEdit, "kim", {"3 Public"}},
      {CSearchRoomDlg::kByUserName, CSearchRoomDlg::kNameEdit, "(2D)", {"3 Public"}},
      {CSearchRoomDlg::kByTitle, CSearchRoomDlg::kTitleEdit, "Kim", {"5 Private"}},
      {CSearchRoomDlg::kByStatus, CSearchRoomDlg::kStatusCombo, "Wait", {"5 Private"}},
      {CSearchRoomDlg::kByUserId, CSearchRoomDlg::kIdEdit, "zed", {}},
  };
  for (const Search& s : searches) {
    std::vector<std::string> found;
    lobby.shown.clear();
    lobby.answers[CSearchRoomDlg::kTemplateId] = [&](CWnd* wnd, CDialog* dialog) -> INT_PTR {
      for (int i = 0; i < 4; ++i)
        wnd->CheckDlgButton(CSearchRoomDlg::kKindRadios[i], i == s.kind ? BST_CHECKED : BST_UNCHECKED);
      Press(wnd, CSearchRoomDlg::kKindRadios[s.kind]);
      if (s.edit == CSearchRoomDlg::kStatusCombo) {
        Choose(wnd, s.edit, s.text);
      } else {
        wnd->SetDlgItemText(s.edit, s.text);
      }
      Press(wnd, CSearchRoomDlg::kSearchButton);
      CListCtrl& results = static_cast<CSearchRoomDlg*>(dialog)->GetResults();
      for (int i = 0; i < results.GetItemCount(); ++i)
        found.push_back(results.GetItemText(i, 0).str() + " " + results.GetItemText(i, 5).str());
      return IDCANCEL;
    };
    frame->OnSearchRoom();
    EXPECT_EQ(found, s.found) << s.text;
    EXPECT_EQ(lobby.shown.size(), s.found.empty() ? 1u : 0u) << s.text;
  }

  // A double-click on the private room asks, takes its password and joins it.
  lobby.answers[CPasswordDlg::kTemplateId] = [](CWnd* wnd, CDialog*) -> INT_PTR {
    wnd->SetDlgItemText(CPasswordDlg::kPasswordEdit, "se|cret");
    return IDOK;
  };
  lobby.answers[CSearchRoomDlg::kTemplateId] = [&](CWnd* wnd, CDialog* dialog) -> INT_PTR {
    wnd->CheckDlgButton(CSearchRoomDlg::kKindRadios[0], BST_UNCHECKED);
    wnd->CheckDlgButton(CSearchRoomDlg::kKindRadios[2], BST_CHECKED);
    wnd->SetDlgItemText(CSearchRoomDlg::kTitleEdit, "lesson");
    Press(wnd, CSearchRoomDlg::kSearchButton);
    CListCtrl& results = static_cast<CSearchRoomDlg*>(dialog)->GetResults();
    results.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    NMHDR click{results.m_hWnd, CSearchRoomDlg::kResultList, NM_DBLCLK};
    wnd->SendMessage(WM_NOTIFY, CSearchRoomDlg::kResultList, reinterpret_cast<LPARAM>(&click));
    return IDCANCEL;
  };
  lobby.shown.clear();
  frame->OnSearchRoom();
  EXPECT_EQ(lobby.shown, std::vector<std::string>{"Would you like to enter the game room?"});
  const CSessionRecord* session = frame->GetLoginRecord();
  EXPECT_EQ(session->m_nRoomNumber, 5);
  EXPECT_EQ(session->m_strRoomText1, "secret");
  EXPECT_EQ(session->m_strRoomText2, "Kim's lesson");
  EXPECT_EQ(session->m_strRoomText3, "2");
  EXPECT_EQ(frame->GetRoomState(), 0);
  // On the wire: the join names the room found and the password typed, without its separator.
  ASSERT_TRUE(PumpUntil([&] {
    for (const PeerRecord& record : peer.Records())
      if (record.minor == "3" && record.payload.ends_with("|5|secret|")) return true;
    return false;
  }));
}

}  // namespace

namespace {

TEST_F(InvitationPeerTest, TheRankAndRecordSearchDialogsShapeTheRequestsTheFrameSends) {
  EnterWaitingRoom();
  frame->RegisterView(CMainFrame::kRecordListView, RUNTIME_CLASS(CTirvoGiboView));
  frame->RegisterView(CMainFrame::kRankView, RUNTIME_CLASS(CTirvoRankView));
  // The grade list of all members, professional 9 dan.
  lobby.answers[CRankSelectDlg::kTemplateId] = [](CWnd* wnd, CDialog*) -> INT_PTR {
    for (int i = 0; i < 8; ++i)
      wnd->CheckDlgButton(CRankSelectDlg::kKindRadios[i], i == CRankSelectDlg::kGradeTotal ? BST_CHECKED : BST_UNCHECKED);
    Choose(wnd, CRankSelectDlg::kTotalGradeCombo, "Pro9D");
    return IDOK;
  };
  frame->OnMenuButton(1194);
  auto rank = NextRecord(10, 1);
  ASSERT_TRUE(rank.has_value());
  EXPECT_EQ(rank->payload, "|-1|50|2|11|");
  // The list of the most winning players carries no grade.
  lobby.answers[CRankSelectDlg::kTemplateId] = [](CWnd* wnd, CDialog*) -> INT_PTR {
    for (int i = 0; i < 8; ++i)
      wnd->CheckDlgButton(CRankSelectDlg::kKindRadios[i], i == CRankSelectDlg::kMaxWinner ? BST_CHECKED : BST_UNCHECKED);
    return IDOK;
  };
  frame->OnMenuButton(1194);
  rank = NextRecord(10, 1);
  ASSERT_TRUE(rank.has_value());
  EXPECT_EQ(rank->payload, "|-1|50|2|100|");

  // The record search works on the record list only: a grade search from 1 dan to 5 kyu.
  frame->SwitchView(CMainFrame::kRecordListView);
  lobby.answers[CSearchGiboDlg::kTemplateId] = [](CWnd* wnd, CDialog*) -> INT_PTR {
    for (int i = 0; i < 5; ++i)
      wnd->CheckDlgButton(CSearchGiboDlg::kKindRadios[i], i == CSearchGiboDlg::kByGrade ? BST_CHECKED : BST_UNCHECKED);
    Choose(wnd, CSearchGiboDlg::kFirstGradeCombo, "1D");
    Choose(wnd, CSearchGiboDlg::kSecondGradeCombo, "5K");
    return IDOK;
  };
  frame->OnMenuButton(1216);
  const auto records = NextRecord(6, 2);
  ASSERT_TRUE(records.has_value());
  EXPECT_EQ(records->payload, "|-1|50|LK|A|37|55|");
}

}  // namespace

// The search, user-list and rank dialogs run modally headless with the test answering them: the
// join and invite decisions, the server grade numbers and the queries built from them.

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include <platform/controls.h>
#include <platform/messageloop.h>
#include <platform/resources.h>
#include <platform/uiscript.h>

#include "orvanta/lobby/NegotiationDlg.h"
#include "orvanta/lobby/RankSelectDlg.h"
#include "orvanta/lobby/SearchGiboDlg.h"
#include "orvanta/lobby/SearchUserDlg.h"
#include "orvanta/lobby/ServerGrade.h"
#include "orvanta/lobby/UserInfoListDlg.h"
#include "orvanta/resources/OrvantaResources.h"

#include "support/AnsweringScript.h"

namespace {

using Script = AnsweringScript;

class SearchDialogsTest : public ::testing::Test {
protected:
  SearchDialogsTest() {
    static platform::ResourceModule& module = platform::CreateResourceModule("orvanta-search-dialog-tests");
    RegisterOrvantaResources(module.Handle());
    m_resources.emplace(module.Handle());
  }
  ~SearchDialogsTest() override { platform::ResetMessageQueue(); }
  static void Press(CWnd* wnd, UINT id) {
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(wnd->GetDlgItem(static_cast<int>(id))->m_hWnd));
  }

  Script script;
  platform::ScopedUiScript scoped{&script};
  std::optional<platform::ResourceScope> m_resources;
};

using Place = CUserInfoListDlg::Place;

TEST_F(SearchDialogsTest, JoinAndInviteDecideByWhereBothUsersAre) {
  // ID, key, room, public code, place kind: the found user (the other fields do not decide).
  struct Case {
    const char* what;
    const char* user;  // id|key|room|public|kind
    Place place;
    UINT button;
    const char* outcome;  // a message, or "100" / "200"
  };
  const Place waiting{"me", "R2", "0", FALSE, FALSE, FALSE, TRUE, "", ""};
  Place opener = waiting;
  opener.gameRoomShown = opener.roomOpener = TRUE;
  Place playing = waiting;
  playing.gameRoomShown = playing.playing = TRUE;
  playing.blackId = "me";
  playing.whiteId = "bo";
  Place watchingGame = playing;
  watchingGame.blackId = "cy";
  // In a game room with no game: the board's user colour decides, an observer may go on.
  Place observer = waiting;
  observer.gameRoomShown = TRUE;
  observer.currentRoom = "12";
  Place seated = observer;
  seated.noColour = FALSE;
  Place anyKey = waiting;
  anyKey.currentKey = "";
  const Case cases[] = {
      {"no room", "kim|R2|-1|1|1", waiting, CUserInfoListDlg::kJoinButton, "The selected user is not in the game room."},
      {"private", "kim|R2|12|2|1", waiting, CUserInfoListDlg::kJoinButton,
       "The game room is private, you can not go there directly."},
      {"other waiting room", "kim|R9|12|1|1", waiting, CUserInfoListDlg::kJoinButton,
       "You can not go to another waiting room."},
      {"no current key", "kim|R9|12|1|1", anyKey, CUserInfoListDlg::kJoinButton, "100"},
      {"oneself", "me|R2|12|1|1", waiting, CUserInfoListDlg::kJoinButton, "You are in the game room."},
      {"from the waiting room", "kim|R2|12|1|1", waiting, CUserInfoListDlg::kJoinButton, "100"},
      {"room opener", "kim|R2|12|1|1", opener, CUserInfoListDlg::kJoinButton,
       "Game room opener can not go there directly."},
      {"a player of a game", "kim|R2|12|1|1", playing, CUserInfoListDlg::kJoinButton,
       "The player can not go there directly."},
      {"watching a game", "kim|R2|12|1|1", watchingGame, CUserInfoListDlg::kJoinButton, "100"},
      {"seated with a colour", "kim|R2|14|1|1", seated, CUserInfoListDlg::kJoinButton,
       "The player can not go there directly."},
      {"observer, the same room", "kim|R2|12|1|1", observer, CUserInfoListDlg::kJoinButton,
       "You are in the game room."},
      {"observer, another room", "kim|R2|14|1|1", observer, CUserInfoListDlg::kJoinButton, "100"},
      {"invite from the waiting room", "kim|R2|-1|1|1", waiting, CUserInfoListDlg::kInviteButton,
       "You can invite only in a game room."},
      {"invite into a forum", "kim|R2|-1|1|5", observer, CUserInfoListDlg::kInviteButton,
       "You can not invite a user who is in forum."},
      {"invite from a room", "kim|R2|3|1|1", observer, CUserInfoListDlg::kInviteButton,
       "You can not invite a user who is in game room."},
      {"invite oneself", "me|R2|-1|1|1", observer, CUserInfoListDlg::kInviteButton, "You can not invite yourself."},
      {"invite a waiting user", "kim|R2|-1|1|1", observer, CUserInfoListDlg::kInviteButton, "200"},
  };
  for (const Case& c : cases) {
    CString fields[5];
    CString user = c.user;
    for (int i = 0, start = 0; i < 5; ++i) {
      const int bar = user.Find('|', start);
      fields[i] = bar < 0 ? user.Mid(start) : user.Mid(start, bar - start);
      start = bar + 1;
    }
    CUserInfoListDlg dialog;
    dialog.SetResultText("|" + fields[0] + "|Name|3D|" + fields[1] + "|" + fields[2] + "|" + fields[3] + "|" +
                         fields[4] + "|Dan room|");
    dialog.SetPlace(c.place);
    script.shown.clear();
    script.answer = [&](CWnd* wnd, CDialog*) -> INT_PTR {
      Press(wnd, c.button);
      return IDCANCEL;  // stands when the button refused
    };
    const INT_PTR result = dialog.DoModal();
    const std::string outcome = script.shown.empty() ? std::to_string(result) : script.shown.front();
    EXPECT_EQ(outcome, c.outcome) << c.what;
    EXPECT_LE(script.shown.size(), 1u) << c.what;
  }
  // An empty list refuses both buttons alike.
  CUserInfoListDlg empty;
  script.shown.clear();
  script.answer = [&](CWnd* wnd, CDialog*) -> INT_PTR {
    Press(wnd, CUserInfoListDlg::kJoinButton);
    Press(wnd, CUserInfoListDlg::kInviteButton);
    return IDCANCEL;
  };
  EXPECT_EQ(empty.DoModal(), IDCANCEL);
  EXPECT_EQ(script.shown, (std::vector<std::string>{"Please select a user.", "Please select a user."}));
}

TEST_F(SearchDialogsTest, GradesBecomeServerNumbersInQueriesAndRankSelections) {
  const std::pair<const char*, int> grades[] = {{"18K", 68}, {"15K", 65}, {"1K", 51}, {"1D", 37},
                                                {"7D", 31},  {"Pro1D", 19}, {"Pro9D", 11}};
  for (const auto& [grade, number] : grades) EXPECT_EQ(ServerGradeNumber(grade), number) << grade;

  const CTime may1(2026, 5, 1, 0, 0, 0);
  const CTime dec9(2026, 12, 9, 0, 0, 0);
  using D = CSearchGiboDlg;
  struct Query {
    int kind;
    const char* first;
    const char* second;
    BOOL both;
    CTime from;
    CTime to;
    const char* query;
  };
  const Query queries[] = {
      {D::kTotal, "15K", "15K", TRUE, may1, dec9, ""},
      {D::kById, "15K", "15K", TRUE, may1, dec9, "|LI|kim|"},
      {D::kByName, "15K", "15K", TRUE, may1, dec9, "|LN|Kim Lee|"},
      {D::kByGrade, "1D", "5K", TRUE, may1, dec9, "|LK|A|37|55|"},
      {D::kByGrade, "5K", "1D", FALSE, may1, dec9, "|LK|O|37|55|"},
      {D::kByGrade, "3D", "3D", TRUE, may1, dec9, "|LK|A|35|35|"},
      {D::kByDate, "15K", "15K", TRUE, dec9, may1, "|LD|20260501|20261209|"},
      {D::kNoKind, "15K", "15K", TRUE, may1, dec9, "|LI|before|"},
  };
  for (const Query& q : queries)
    EXPECT_EQ(D::BuildQuery(q.kind, "kim", "Kim Lee", q.first, q.second, q.both, q.from, q.to, "|LI|before|"), q.query)
        << q.kind;
  // Typed or pasted, separators never split a query's fields.
  EXPECT_EQ(D::BuildQuery(D::kById, "x|LN|y", "", "15K", "15K", TRUE, may1, dec9, ""), "|LI|xLNy|");
  EXPECT_EQ(D::BuildQuery(D::kByName, "", "a/b|c", "15K", "15K", TRUE, may1, dec9, ""), "|LN|abc|");

  // The rank selection: only the two grade lists carry a grade, each from its own list.
  struct Rank {
    int kind;
    const char* grade;
    const char* number;
  };
  const Rank ranks[] = {{CRankSelectDlg::kGradeTotal, "Pro9D", "11"},
                        {CRankSelectDlg::kGradeKiwon, "18K", "68"},
                        {CRankSelectDlg::kMaxWinner, "1D", ""}};
  for (const Rank& r : ranks) {
    CRankSelectDlg dialog;
    bool enabledAsChosen = false;
    script.answer = [&](CWnd* wnd, CDialog*) -> INT_PTR {
      for (int i = 0; i < 8; ++i)
        wnd->CheckDlgButton(CRankSelectDlg::kKindRadios[i], i == r.kind ? BST_CHECKED : BST_UNCHECKED);
      Press(wnd, CRankSelectDlg::kKindRadios[r.kind]);
      const UINT combo = r.kind == CRankSelectDlg::kGradeKiwon ? CRankSelectDlg::kKiwonGradeCombo
                                                                : CRankSelectDlg::kTotalGradeCombo;
      enabledAsChosen = wnd->GetDlgItem(static_cast<int>(combo))->IsWindowEnabled() == (r.kind != CRankSelectDlg::kMaxWinner);
      const LRESULT index = wnd->SendDlgItemMessage(static_cast<int>(combo), CB_FINDSTRINGEXACT,
                                                    static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(r.grade));
      wnd->SendDlgItemMessage(static_cast<int>(combo), CB_SETCURSEL, static_cast<WPARAM>(index));
      Press(wnd, IDOK);
      return IDCANCEL;
    };
    EXPECT_EQ(dialog.DoModal(), IDOK) << r.grade;
    EXPECT_EQ(dialog.m_strGradeNumber, r.number) << r.grade;
    EXPECT_TRUE(enabledAsChosen) << r.grade;
  }
}

TEST_F(SearchDialogsTest, TheUserSearchUnderAnotherCaptionAsksForAnIdBesideItsLabel) {
  CSearchUserDlg dialog("User Information");
  CRect label;
  CRect edit;
  BOOL comboShown = TRUE;
  CString title;
  script.answer = [&](CWnd* wnd, CDialog*) -> INT_PTR {
    wnd->GetDlgItem(CSearchUserDlg::kKindLabel)->GetWindowRect(&label);
    wnd->GetDlgItem(CSearchUserDlg::kTextEdit)->GetWindowRect(&edit);
    comboShown = wnd->GetDlgItem(CSearchUserDlg::kKindCombo)->IsWindowVisible();
    wnd->GetWindowText(title);
    wnd->SetDlgItemText(CSearchUserDlg::kTextEdit, "kim");
    return IDOK;
  };
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(edit.left - label.right, 5);
  EXPECT_FALSE(comboShown);
  EXPECT_EQ(title, "User Information");
  EXPECT_EQ(dialog.m_strText, "kim");
  EXPECT_EQ(dialog.m_strKind, "User name");
}

TEST_F(SearchDialogsTest, TheGameRoomNegotiationPicksTheOtherSeatOrAnObserverAndMendsOddTimes) {
  using N = CNegotiationDlg;
  const N::Seat kim{"kim", "3D", "3", TRUE};
  const N::Seat me{"me", "1D", "2", TRUE};
  const std::vector<N::ObserverRow> observers = {{"me-1D", "2", "me", "1D", ""}, {"amy-5K", "4", "amy", "5K", ""}};
  struct Case {
    const char* what;
    N::Seat first;
    N::Seat second;
    std::vector<N::ObserverRow> observers;
    int select;               // row to select, -1 for none
    const char* countDown;    // held when the dialog opens
    const char* interval;
    std::vector<std::string> rows;
    const char* chosen;       // "" when the dialog must stay open
    const char* keptCountDown;
    const char* keptInterval;
  };
  const Case cases[] = {
      {"nobody to choose", {}, {}, {}, -1, "3", "30초", {}, "", "3", "30초"},
      {"one row needs no selection", {}, {}, observers, -1, "7", "60초", {"amy-5K"}, "amy@4", "3", "60초"},
      {"seated second: the first seat leads", kim, me, observers, 0, "5", "25초", {"kim-3D", "amy-5K"}, "kim@3",
       "5", "60초"},
      {"two rows, none selected", kim, me, observers, -1, "2", "120초", {"kim-3D", "amy-5K"}, "", "2", "120초"},
  };
  for (const Case& c : cases) {
    N dialog;
    dialog.SetRoom(c.first, c.second, c.observers, "me");
    dialog.m_strCountDown = c.countDown;
    dialog.m_strInterval = Cp949(c.interval);
    std::vector<std::string> rows;
    bool open = false;
    float komi = -1;
    script.shown.clear();
    script.answer = [&](CWnd* wnd, CDialog*) -> INT_PTR {
      komi = dialog.m_fKomi;
      for (int i = 0; i < dialog.GetList().GetItemCount(); ++i) rows.push_back(dialog.GetList().GetItemText(i, 0).str());
      if (c.select >= 0)
        dialog.GetList().SetItemState(c.select, LVIS_SELECTED, LVIS_SELECTED);
      wnd->SetDlgItemText(N::kCountDownCombo, "9");  // typing is undone at once
      Press(wnd, IDOK);
      open = ::IsWindow(wnd->m_hWnd) && !script.shown.empty();
      return IDCANCEL;
    };
    const INT_PTR result = dialog.DoModal();
    EXPECT_EQ(rows, c.rows) << c.what;
    EXPECT_FLOAT_EQ(komi, 6.5f) << c.what;  // opens on an even game
    EXPECT_EQ(dialog.m_strCountDown.str(), c.keptCountDown) << c.what;
    EXPECT_EQ(dialog.m_strInterval.str(), Cp949(c.keptInterval)) << c.what;
    if (*c.chosen) {
      EXPECT_EQ(result, IDOK) << c.what;
      EXPECT_EQ(dialog.m_strOpponentId.str() + "@" + dialog.m_strOpponentNumber.str(), c.chosen) << c.what;
    } else {
      EXPECT_TRUE(open) << c.what;
      EXPECT_EQ(script.shown, std::vector<std::string>{"Please, select a user."}) << c.what;
    }
  }
}

}  // namespace

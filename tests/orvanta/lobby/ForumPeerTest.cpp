// The forum screen against the game-server peer: the forum list, a forum's menu, join and
// secede through the dialog, and a member's board.

#include <platform/gdi.h>

#include "LobbyPeerFixture.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/ForumPayload.h"
#include "orvanta/lobby/JoinSecedeDlg.h"

namespace {

class ForumPeerTest : public LobbyPeerTest {
protected:
  void ShowForums() {
    EnterWaitingRoom();
    frame->RegisterView(CMainFrame::kForumView, RUNTIME_CLASS(CAssociationView));
    Serve(GameServerPeer::Record(7, 1, "|3|10|Seoul Go|1|11|Kids|2|12|Pros|0|"),
          [&] { return frame->GetForumView() && frame->GetForumView()->GetList().GetItemCount() == 3; });
    forum = frame->GetForumView();
  }
  void Select(int row) {
    for (int i = 0; i < forum->GetList().GetItemCount(); ++i)
      forum->GetList().SetItemState(i, i == row ? LVIS_SELECTED : 0, LVIS_SELECTED);
    forum->SelectForum();
  }
  std::vector<int> ButtonLefts() {
    std::vector<int> lefts;
    for (std::size_t i = 0; i < forum->GetButtonCount(); ++i) {
      CRect rect;
      forum->GetButton(i)->GetWindowRect(&rect);
      forum->ScreenToClient(&rect);
      lefts.push_back(rect.left - forum->GetMenuOrigin());
    }
    return lefts;
  }

  CAssociationView* forum{nullptr};
};

TEST_F(ForumPeerTest, ForumsListTheirMembershipAndSelectingOneAsksForItsMenu) {
  ShowForums();
  const std::optional<PeerRecord> leave = NextRecord(3, 2);  // the waiting room is left first
  ASSERT_TRUE(leave);
  EXPECT_EQ(leave->payload, "|R2|");
  EXPECT_EQ(Column(forum->GetList(), 0),
            (std::vector<std::string>{Cp949("회원"), Cp949("비회원"), Cp949("비회원")}));  // "2" is not joined
  Select(1);
  const auto menu = NextRecord(7, 2);
  ASSERT_TRUE(menu.has_value());
  EXPECT_EQ(menu->payload, "|11|");
  Select(1);  // already current
  EXPECT_TRUE(NoRecord(7, 2));
  Serve(GameServerPeer::Record(7, 2, "|11|Kids|3|1|Join/Secede|1|0||2|Board|2|0|B11|3|Room|4|0|K11|"),
        [&] { return forum->GetButtonCount() == 3; });
  EXPECT_EQ(ButtonLefts(), (std::vector<int>{0, 20, 0}));
  CString caption;
  frame->GetWindowText(caption);
  EXPECT_EQ(caption, "Orvanta 1.5(Kids)");

  // Not a member: the board is refused with a message.
  forum->RunMenuEntry(1);
  EXPECT_EQ(lobby.shown.back(), "If you join a forum, you can use this menu.");
  EXPECT_TRUE(NoRecord(7, 10));
  // Join: the dialog offers Join, the question is answered Yes.
  lobby.answers[CJoinSecedeDlg::kTemplateId] = [](CWnd* wnd, CDialog*) {
    EXPECT_EQ(wnd->IsDlgButtonChecked(CJoinSecedeDlg::kJoinRadio), static_cast<UINT>(BST_CHECKED));
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(CJoinSecedeDlg::kOkButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(wnd->GetDlgItem(CJoinSecedeDlg::kOkButton)->m_hWnd));
    return IDCANCEL;  // only when OK did not end it
  };
  forum->RunMenuEntry(0);
  const auto join = NextRecord(7, 3);
  ASSERT_TRUE(join.has_value());
  EXPECT_EQ(join->payload, "|11|1|");
  Serve(GameServerPeer::Record(7, 3, "|11|x|Kids|"), [&] { return lobby.shown.back() == "You join Kids."; });
  EXPECT_EQ(forum->GetList().GetItemText(1, 0), Cp949("회원"));

  // A member opens the board and the forum's waiting room.
  forum->RunMenuEntry(1);
  const auto board = NextRecord(7, 10);
  ASSERT_TRUE(board.has_value());
  EXPECT_EQ(board->payload, "|11|2|-1|10|LS|||");
  EXPECT_TRUE(frame->IsForumBoardOpen());
  forum->RunMenuEntry(2);
  const auto enter = NextRecord(3, 1);
  ASSERT_TRUE(enter.has_value());
  EXPECT_EQ(enter->payload, "|K11|");

  // Secede: the dialog now offers Secede.
  lobby.answers[CJoinSecedeDlg::kTemplateId] = [](CWnd* wnd, CDialog*) {
    EXPECT_EQ(wnd->IsDlgButtonChecked(CJoinSecedeDlg::kSecedeRadio), static_cast<UINT>(BST_CHECKED));
    wnd->SendMessage(WM_COMMAND, MAKEWPARAM(CJoinSecedeDlg::kOkButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(wnd->GetDlgItem(CJoinSecedeDlg::kOkButton)->m_hWnd));
    return IDCANCEL;
  };
  forum->RunMenuEntry(0);
  const auto secede = NextRecord(7, 4);
  ASSERT_TRUE(secede.has_value());
  Serve(GameServerPeer::Record(7, 4, "|11|x|Kids|"), [&] { return lobby.shown.back() == "You secede from Kids."; });
  EXPECT_EQ(forum->GetList().GetItemText(1, 0), Cp949("비회원"));
  // A reply for an unknown forum changes nothing.
  Serve(GameServerPeer::Record(7, 3, "|99|x|Nowhere|"), [&] { return true; });
  PumpFor(50);
  EXPECT_EQ(lobby.shown.back(), "You secede from Kids.");
}

TEST_F(ForumPeerTest, ButtonColumnsBendOutAndBack) {
  ShowForums();
  Select(0);
  std::string entries;
  for (int i = 0; i < 4; ++i) entries += std::to_string(i) + "|B" + std::to_string(i) + "|3|0||";
  Serve(GameServerPeer::Record(7, 2, "|10|Seoul Go|4|" + entries), [&] { return forum->GetButtonCount() == 4; });
  EXPECT_EQ(ButtonLefts(), (std::vector<int>{0, 20, 20, 0}));
  Serve(GameServerPeer::Record(7, 2, "|10|Seoul Go|1|0|Only|3|0||"), [&] { return forum->GetButtonCount() == 1; });
  EXPECT_EQ(ButtonLefts(), std::vector<int>{0});
  Serve(GameServerPeer::Record(7, 2, "|10|Seoul Go|0|"), [&] { return forum->GetButtonCount() == 0; });
  // A caption too long for the buttons widens the whole column, so none is cut.
  const std::string longCaption = "Enter the forum's waiting room now";
  Serve(GameServerPeer::Record(7, 2, "|10|Seoul Go|2|0|Short|3|0||1|" + longCaption + "|4|0|K10|"),
        [&] { return forum->GetButtonCount() == 2; });
  CClientDC dc(forum->GetButton(1));
  CFont* old = dc.SelectObject(CFont::FromHandle(reinterpret_cast<HFONT>(forum->GetButton(1)->SendMessage(WM_GETFONT))));
  const int needed = dc.GetTextExtent(longCaption.c_str(), static_cast<int>(longCaption.size())).cx;
  dc.SelectObject(old);
  for (std::size_t i = 0; i < 2; ++i) {
    CRect rect;
    forum->GetButton(i)->GetWindowRect(&rect);
    EXPECT_GT(rect.Width(), needed) << i;
  }
  EXPECT_GT(forum->GetButtonWidth(), CAssociationView::kButtonWidth);
  // Each button's tool tip tells its caption.
  EXPECT_EQ(forum->GetButtonTip(0), "Short");
  EXPECT_EQ(forum->GetButtonTip(1), longCaption.c_str());
}

TEST_F(ForumPeerTest, HeadingClicksSortTheForumsAsTextEachColumnInItsOwnDirection) {
  ShowForums();
  const auto click = [&](int column) {
    NMLISTVIEW notify{};
    notify.hdr.hwndFrom = forum->GetList().m_hWnd;
    notify.hdr.idFrom = CAssociationView::kForumList;
    notify.hdr.code = LVN_COLUMNCLICK;
    notify.iSubItem = column;
    forum->SendMessage(WM_NOTIFY, CAssociationView::kForumList, reinterpret_cast<LPARAM>(&notify));
    return Column(forum->GetList(), 1);
  };
  EXPECT_EQ(click(1), (std::vector<std::string>{"Kids", "Pros", "Seoul Go"}));
  EXPECT_EQ(click(1), (std::vector<std::string>{"Seoul Go", "Pros", "Kids"}));
  click(0);
  EXPECT_EQ(Column(forum->GetList(), 0)[0], Cp949("비회원"));  // first click: ascending
  EXPECT_EQ(click(1), (std::vector<std::string>{"Kids", "Pros", "Seoul Go"}));  // its own third click
  EXPECT_EQ(forum->GetSortedColumn(), 1);
  // Rows still select their forum by name after sorting.
  Select(0);
  const auto menu = NextRecord(7, 2);
  ASSERT_TRUE(menu.has_value());
  EXPECT_EQ(menu->payload, "|11|");
}

TEST(ForumPayloadTest, CountsAreClampedToTheEntriesSent) {
  EXPECT_EQ(ParseForumList("|9|1|a|1|").size(), 1u);
  EXPECT_TRUE(ParseForumList("|-1|").empty());
  const CForumMenu menu = ParseForumMenu("|4|F|7|1|c|2|0|t|");
  EXPECT_EQ(menu.forumName, "F");
  ASSERT_EQ(menu.entries.size(), 1u);
  EXPECT_EQ(menu.entries[0].kind, 2);
  EXPECT_EQ(menu.entries[0].target, "t");
}

}  // namespace

// A forum's bulletin board against the game-server peer: paging, reading, writing, modifying,
// deleting and searching posts.

#include "LobbyPeerFixture.h"
#include "orvanta/lobby/SearchBulletinDlg.h"
#include "orvanta/lobby/PlacardView.h"

namespace {

// count posts numbered down from first; carol wrote the even ones.
std::string Posts(int first, int count, const std::string& start = "-1") {
  std::string payload = "|4|2|" + start + "|" + std::to_string(count) + "|";
  for (int n = first; n > first - count; --n)
    payload += std::to_string(n) + "|" + (n % 2 ? "amy" : "carol") + "|202612091" + std::to_string(n % 10) + "30|" +
               std::to_string(n * 2) + "|Post " + std::to_string(n) + "|";
  return GameServerPeer::Record(7, 10, payload);
}

class BulletinBoardPeerTest : public LobbyPeerTest {
protected:
  void ShowBoard() {
    LogIn();
    lobbyScope.emplace(&lobby);
    frame->RegisterView(CMainFrame::kBulletinBoardView, RUNTIME_CLASS(CPlacardView));
    Serve(Posts(25, 10), [&] { return frame->GetBoardView() && frame->GetBoardView()->GetList().GetItemCount() == 10; });
    board = frame->GetBoardView();
  }
  void Click(UINT id) {
    board->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(board->GetDlgItem(id)->m_hWnd));
  }
  BOOL Enabled(UINT id) { return board->GetDlgItem(id)->IsWindowEnabled(); }

  CPlacardView* board{nullptr};
};

TEST_F(BulletinBoardPeerTest, PagesAppendUntilTheOldestPostAndReadCountsUpdate) {
  ShowBoard();
  EXPECT_EQ(board->GetList().GetItemText(0, 2), CString("2026") + Cp949("년 ") + "12" + Cp949("월 ") + "09" +
                                                    Cp949("일 ") + "15:30");
  Click(CPlacardView::kNextPageButton);
  const auto next = NextRecord(7, 10);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->payload, "|4|2|15|10|LS|||");
  Serve(Posts(15, 10, "15"), [&] { return board->GetList().GetItemCount() == 20; });
  Click(CPlacardView::kNextPageButton);
  ASSERT_TRUE(NextRecord(7, 10).has_value());
  Serve(Posts(5, 5, "5"), [&] { return board->GetList().GetItemCount() == 25; });
  EXPECT_EQ(board->GetNextKey(), "1");
  Click(CPlacardView::kNextPageButton);  // the oldest post is shown
  EXPECT_TRUE(NoRecord(7, 10));
  EXPECT_FALSE(board->IsRequestPending());
  Serve(GameServerPeer::Record(7, 14, "|4|2|24|x|x|99|Post 24 (edited)|"),
        [&] { return board->GetList().GetItemText(1, 3) == "99"; });
  EXPECT_EQ(board->GetList().GetItemText(1, 4), "Post 24 (edited)");
}

TEST_F(BulletinBoardPeerTest, ReadWriteModifyDeleteAndSearch) {
  ShowBoard();
  // Reading someone else's post: only writing is offered.
  board->GetList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  board->OpenSelectedPost();
  const auto open = NextRecord(7, 11);
  ASSERT_TRUE(open.has_value());
  EXPECT_EQ(open->payload, "|4|2|25|");
  Serve(GameServerPeer::Record(7, 11, "|4|2|25|amy|202612091530|50|Post 25|Hello board|"),
        [&] { return board->m_strContents == "Hello board"; });
  EXPECT_TRUE(Enabled(CPlacardView::kWriteButton));
  EXPECT_FALSE(Enabled(CPlacardView::kModifyButton));
  EXPECT_FALSE(Enabled(CPlacardView::kDeleteButton));

  // Writing: empty fields are refused, then the post goes out after the question.
  Click(CPlacardView::kWriteButton);
  EXPECT_EQ(board->m_strAuthor, "carol");
  Click(CPlacardView::kSendButton);
  EXPECT_EQ(lobby.shown.back(), "Title is empty.\nYou must enter title.");
  board->SetDlgItemText(CPlacardView::kTitleEdit, "Meeting");
  Click(CPlacardView::kSendButton);
  EXPECT_EQ(lobby.shown.back(), "Contents is empty.\nYou must enter contents.");
  board->SetDlgItemText(CPlacardView::kContentsEdit, "Saturday at 3");
  Click(CPlacardView::kSendButton);
  const auto post = NextRecord(7, 12);
  ASSERT_TRUE(post.has_value());
  EXPECT_EQ(post->payload, "|4|2|Meeting|Saturday at 3|");
  Serve(GameServerPeer::Record(7, 12, "|ok|"), [&] { return NextRecord(7, 10).has_value(); });

  // One's own post: modify and delete.
  Serve(GameServerPeer::Record(7, 11, "|4|2|24|carol|202612091430|48|Post 24|Mine|"),
        [&] { return board->m_strContents == "Mine"; });
  EXPECT_TRUE(Enabled(CPlacardView::kModifyButton));
  Click(CPlacardView::kModifyButton);
  EXPECT_EQ(board->GetEditMode(), CPlacardView::kModifyPost);
  board->SetDlgItemText(CPlacardView::kContentsEdit, "Mine, edited");
  Click(CPlacardView::kSendButton);
  const auto modified = NextRecord(7, 14);
  ASSERT_TRUE(modified.has_value());
  EXPECT_EQ(modified->payload, "|4|2|24|Post 24|Mine, edited|");
  Serve(GameServerPeer::Record(7, 11, "|4|2|24|carol|202612091430|48|Post 24|Mine, edited|"),
        [&] { return board->m_strContents == "Mine, edited"; });
  Click(CPlacardView::kDeleteButton);
  const auto removed = NextRecord(7, 13);
  ASSERT_TRUE(removed.has_value());
  EXPECT_EQ(removed->payload, "|4|2|24|");
  Serve(GameServerPeer::Record(7, 13, "|ok|"), [&] { return NextRecord(7, 10).has_value(); });

  // A search by title, and its next page repeats it.
  board->Search("LT", "Meeting|");
  const auto search = NextRecord(7, 10);
  ASSERT_TRUE(search.has_value());
  EXPECT_EQ(search->payload, "|4|2|-1|10|LT|Meeting||");
  Serve(Posts(30, 10), [&] { return board->GetList().GetItemText(0, 0) == "30"; });
  Click(CPlacardView::kNextPageButton);
  const auto more = NextRecord(7, 10);
  ASSERT_TRUE(more.has_value());
  EXPECT_EQ(more->payload, "|4|2|20|10|LT|Meeting||");
}

TEST_F(BulletinBoardPeerTest, TheSearchButtonAsksByKindAndAnEmptyTextKeepsTheDialogOpen) {
  ShowBoard();
  struct Case {
    int kind;
    std::vector<std::pair<UINT, const char*>> texts;
    const char* payloadEnd;
  };
  using S = CSearchBulletinDlg;
  const Case cases[] = {
      {S::kTotal, {}, "|-1|10|LS|||"},
      {S::kByTitle, {{S::kTitleEdit, "Meeting"}}, "|-1|10|LT|Meeting||"},
      {S::kById, {{S::kIdEdit, "amy"}}, "|-1|10|LI|amy||"},
      {S::kByDate,
       {{S::kFirstYear, "2026"}, {S::kFirstMonth, "11"}, {S::kFirstDay, "01"}, {S::kSecondYear, "2026"},
        {S::kSecondMonth, "12"}, {S::kSecondDay, "09"}},
       "|-1|10|LD|20261101|20261209|"},
  };
  for (const Case& c : cases) {
    bool stayedOpenWhileEmpty = true;
    lobby.answers[S::kTemplateId] = [&](CWnd* wnd, CDialog*) -> INT_PTR {
      for (int i = 0; i < 4; ++i) wnd->CheckDlgButton(S::kKindRadios[i], i == c.kind ? BST_CHECKED : BST_UNCHECKED);
      wnd->SendMessage(WM_COMMAND, MAKEWPARAM(S::kKindRadios[c.kind], BN_CLICKED),
                       reinterpret_cast<LPARAM>(wnd->GetDlgItem(S::kKindRadios[c.kind])->m_hWnd));
      if (c.kind != S::kTotal) {
        wnd->SetDlgItemText(c.texts.front().first, "");
        wnd->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        stayedOpenWhileEmpty = ::IsWindow(wnd->m_hWnd) && ::IsWindowVisible(wnd->m_hWnd);
      }
      for (const auto& [id, text] : c.texts) wnd->SetDlgItemText(id, text);
      return IDOK;
    };
    Click(CPlacardView::kSearchButton);
    const auto search = NextRecord(7, 10);
    ASSERT_TRUE(search.has_value()) << c.kind;
    EXPECT_EQ(search->payload, std::string("|4|2") + c.payloadEnd) << c.kind;
    EXPECT_TRUE(stayedOpenWhileEmpty) << c.kind;
  }
  // Cancel searches nothing.
  lobby.answers.erase(S::kTemplateId);
  Click(CPlacardView::kSearchButton);
  EXPECT_TRUE(NoRecord(7, 10));
}

}  // namespace

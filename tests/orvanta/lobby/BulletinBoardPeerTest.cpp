// A forum's bulletin board against the game-server peer: paging, reading, writing, modifying,
// deleting and searching posts.

#include "LobbyPeerFixture.h"
#include "orvanta/lobby/SearchBulletinDlg.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/widgets/MenuButtonBank.h"

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
  std::string BoxText(UINT id) {
    CString shown;
    board->GetDlgItemText(static_cast<int>(id), shown);
    return shown.str();
  }
  // A list notice (a double click, Enter) as the list sends it to the board.
  void ListNotice(UINT code) {
    NMHDR header{board->GetList().m_hWnd, CPlacardView::kPostList, code};
    board->SendMessage(WM_NOTIFY, CPlacardView::kPostList, reinterpret_cast<LPARAM>(&header));
  }
  // bytes from the server, then a read count for post 16 that shows once everything before it was taken.
  void ServeThenMark(const std::string& bytes, const std::string& mark) {
    Serve(bytes + GameServerPeer::Record(7, 14, "|4|2|16|x|x|" + mark + "|Post 16|"),
          [&] { return board->GetList().GetItemText(9, 3) == mark.c_str(); });
  }

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

  // Pasted text reaches the boxes without the keyboard filter: the separators go before sending.
  Click(CPlacardView::kWriteButton);
  board->SetDlgItemText(CPlacardView::kTitleEdit, "a|b");
  board->SetDlgItemText(CPlacardView::kContentsEdit, "x/y");
  Click(CPlacardView::kSendButton);
  const auto pasted = NextRecord(7, 12);
  ASSERT_TRUE(pasted.has_value());
  EXPECT_EQ(pasted->payload, "|4|2|ab|xy|");

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
      {S::kById, {{S::kIdEdit, "a|m/y"}}, "|-1|10|LI|amy||"},  // pasted separators never split the query
      {S::kByTitle, {{S::kTitleEdit, "x|LS|"}}, "|-1|10|LT|xLS||"},
      {S::kByDate,
       {{S::kFirstYear, "2026"}, {S::kFirstMonth, "11"}, {S::kFirstDay, "01"}, {S::kSecondYear, "2026"},
        {S::kSecondMonth, "12"}, {S::kSecondDay, "09"}},
       "|-1|10|LD|20261101|20261209|"},
  };
  for (const Case& c : cases) {
    bool stayedOpenWhileEmpty = true;
    lobby.answers[S::kTemplateId] = [&](CWnd* wnd, CDialog* dialog) -> INT_PTR {
      for (int i = 0; i < 4; ++i) wnd->CheckDlgButton(S::kKindRadios[i], i == c.kind ? BST_CHECKED : BST_UNCHECKED);
      wnd->SendMessage(WM_COMMAND, MAKEWPARAM(S::kKindRadios[c.kind], BN_CLICKED),
                       reinterpret_cast<LPARAM>(wnd->GetDlgItem(S::kKindRadios[c.kind])->m_hWnd));
      if (c.kind != S::kTotal) {
        wnd->SetDlgItemText(c.texts.front().first, "");
        wnd->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        stayedOpenWhileEmpty = !static_cast<S*>(dialog)->IsAccepted();
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

TEST_F(BulletinBoardPeerTest, ScrollingPastTheLastPostAsksForTheNextPageOnce) {
  ShowBoard();
  CListCtrl& list = board->GetList();
  // The scroll bar's line-down arrow with the last post in sight asks for the next page.
  list.EnsureVisible(list.GetItemCount() - 1, FALSE);
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  const auto next = NextRecord(7, 10);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->payload, "|4|2|15|10|LS|||");
  EXPECT_TRUE(board->IsRequestPending());
  // While the page is on its way, scrolling asks nothing more.
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10));
  EXPECT_TRUE(NoRecord(7, 10));
  Serve(Posts(15, 10, "15"), [&] { return list.GetItemCount() == 20; });
  ::ReleaseCapture();
  // The thumb dropped where rows remain below asks nothing; dropped at the end it asks.
  const int page = list.GetCountPerPage();
  ASSERT_LT(page, 20) << "the list must show fewer rows than it holds";
  list.EnsureVisible(0, FALSE);
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0));
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0));
  EXPECT_TRUE(NoRecord(7, 10));
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20 - page));
  const auto thumb = NextRecord(7, 10);
  ASSERT_TRUE(thumb.has_value());
  EXPECT_EQ(thumb->payload, "|4|2|5|10|LS|||");
}

// A post being written survives every way of paging: the next-page button is not offered, and
// scrolling or Down past the last post waits. Once the post is sent the board reads again and
// pages with the frame's wait capture; a post being read is cleared with its buttons.
TEST_F(BulletinBoardPeerTest, PagingSparesAPostBeingWrittenAndThenWaitsWithTheCapture) {
  ShowBoard();
  CListCtrl& list = board->GetList();
  const auto text = [&](UINT id) {
    CString shown;
    board->GetDlgItemText(static_cast<int>(id), shown);
    return std::string(shown.str());
  };
  const auto keyUp = [&](UINT key) {
    MSG msg{list.m_hWnd, WM_KEYUP, key, 0, 0, {0, 0}};
    return board->PreTranslateMessage(&msg);
  };
  Click(CPlacardView::kWriteButton);
  EXPECT_FALSE(Enabled(CPlacardView::kNextPageButton));
  board->SetDlgItemText(CPlacardView::kTitleEdit, "My long post title");
  board->SetDlgItemText(CPlacardView::kContentsEdit, "Some contents");
  Click(CPlacardView::kNextPageButton);  // a click that reaches the view all the same
  list.EnsureVisible(list.GetItemCount() - 1, FALSE);
  for (int i = 0; i < 4; ++i) list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, list.GetItemCount() - list.GetCountPerPage()));
  Select(list, "16");
  keyUp(VK_DOWN);
  EXPECT_TRUE(NoRecord(7, 10));
  EXPECT_EQ(text(CPlacardView::kTitleEdit), "My long post title");
  EXPECT_EQ(text(CPlacardView::kContentsEdit), "Some contents");
  EXPECT_TRUE(board->IsEditing());
  EXPECT_EQ(board->GetEditMode(), CPlacardView::kNewPost);
  ::ReleaseCapture();

  // Still writing: a typed key reaches the title, and the post goes out whole.
  MSG typed{board->GetDlgItem(CPlacardView::kTitleEdit)->m_hWnd, WM_CHAR, '!', 0, 0, {0, 0}};
  EXPECT_FALSE(board->PreTranslateMessage(&typed));
  board->SetDlgItemText(CPlacardView::kTitleEdit, "My long post title!");
  Click(CPlacardView::kSendButton);
  const auto post = NextRecord(7, 12);
  ASSERT_TRUE(post.has_value());
  EXPECT_EQ(post->payload, "|4|2|My long post title!|Some contents|");
  EXPECT_TRUE(Enabled(CPlacardView::kNextPageButton));

  // Reading one's own post, the next page clears it and offers only Write and paging again.
  Serve(GameServerPeer::Record(7, 11, "|4|2|24|carol|202612091430|48|Post 24|Mine|"),
        [&] { return board->m_strContents == "Mine"; });
  EXPECT_TRUE(Enabled(CPlacardView::kModifyButton));
  Click(CPlacardView::kNextPageButton);
  const auto next = NextRecord(7, 10);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->payload, "|4|2|15|10|LS|||");
  EXPECT_EQ(::GetCapture(), frame->m_hWnd);  // the frame waits for the page
  EXPECT_EQ(text(CPlacardView::kContentsEdit), "");
  EXPECT_TRUE(Enabled(CPlacardView::kWriteButton));
  EXPECT_FALSE(Enabled(CPlacardView::kModifyButton) || Enabled(CPlacardView::kDeleteButton) ||
               Enabled(CPlacardView::kSendButton) || Enabled(CPlacardView::kCancelButton));
  Serve(Posts(15, 10, "15"), [&] { return list.GetItemCount() == 20; });
  EXPECT_EQ(::GetCapture(), nullptr);
  // And the person writes again: the title takes keys.
  Click(CPlacardView::kWriteButton);
  EXPECT_FALSE(board->PreTranslateMessage(&typed));
}

// Nothing but Cancel or Send ends a post being written: other posts, searching, writing anew, the
// server's pages, the forum list and a lost connection all leave it, and it goes out whole.
TEST_F(BulletinBoardPeerTest, APostBeingWrittenOutlivesEveryOtherWayOutAndGoesOutWhole) {
  ShowBoard();
  Select(board->GetList(), "24");
  board->OpenSelectedPost();
  ASSERT_TRUE(NextRecord(7, 11));  // its answer is still on the way when writing starts
  Click(CPlacardView::kWriteButton);
  EXPECT_FALSE(Enabled(CPlacardView::kSearchButton));
  board->SetDlgItemText(CPlacardView::kTitleEdit, "Spring meeting");
  board->SetDlgItemText(CPlacardView::kContentsEdit, "Saturday at 3, bring boards");
  const auto stillWriting = [&](const char* step) {
    EXPECT_EQ(BoxText(CPlacardView::kTitleEdit), "Spring meeting") << step;
    EXPECT_EQ(BoxText(CPlacardView::kContentsEdit), "Saturday at 3, bring boards") << step;
    EXPECT_TRUE(board->IsEditing()) << step;
    EXPECT_TRUE(Enabled(CPlacardView::kSendButton)) << step;
  };
  ServeThenMark(GameServerPeer::Record(7, 11, "|4|2|24|carol|202612091430|48|Post 24|Mine|"), "61");
  stillWriting("the post asked for before");
  Select(board->GetList(), "20");
  ListNotice(NM_DBLCLK);
  ListNotice(NM_RETURN);
  board->OpenSelectedPost();
  EXPECT_TRUE(NoRecord(7, 11));
  stillWriting("opening another post");
  lobby.answers[CSearchBulletinDlg::kTemplateId] = [](CWnd*, CDialog*) -> INT_PTR { return IDOK; };
  Click(CPlacardView::kSearchButton);  // a click that reaches the view all the same
  board->Search("LT", "x|");
  EXPECT_TRUE(NoRecord(7, 10));
  EXPECT_TRUE(std::find(lobby.dialogs.begin(), lobby.dialogs.end(), CSearchBulletinDlg::kTemplateId) ==
              lobby.dialogs.end());
  stillWriting("searching");
  for (UINT button : {CPlacardView::kWriteButton, CPlacardView::kModifyButton, CPlacardView::kDeleteButton})
    Click(button);
  EXPECT_TRUE(NoRecord(7, 13));
  stillWriting("Write, Modify and Delete");
  ServeThenMark(Posts(25, 10), "62");
  stillWriting("the server's page");

  // The forum list takes the board away; the board, shown again, is writing the same post.
  Serve(GameServerPeer::Record(7, 1, "|1|4|Seoul Go|1|"),
        [&] { return frame->GetActiveViewId() == CMainFrame::kForumView; });
  // Closing the program meanwhile names the post kept for its board, then nothing goes.
  const std::string unsent = "A post you were writing has not been sent.\nDo you close this program?";
  lobby.boxAnswers[unsent] = IDNO;
  frame->SendMessage(WM_CLOSE);
  ASSERT_TRUE(::IsWindow(frameHandle()));
  EXPECT_EQ(lobby.shown.back(), unsent);
  Serve(Posts(25, 10), [&] { return frame->GetBoardView() && frame->GetBoardView()->GetList().GetItemCount() == 10; });
  board = frame->GetBoardView();
  stillWriting("the forum list and back");
  // So does closing it with the board shown.
  frame->SendMessage(WM_CLOSE);
  ASSERT_TRUE(::IsWindow(frameHandle()));
  EXPECT_EQ(lobby.shown.back(), unsent);

  // A lost connection: logged in again, the board comes back with the post.
  lobby.answers[179] = [](CWnd* login, CDialog*) -> INT_PTR {
    login->SetDlgItemText(static_cast<int>(CLoginProfile::kIdEdit), "carol");
    login->SetDlgItemText(static_cast<int>(CLoginProfile::kPasswordEdit), "pw9");
    return IDOK;
  };
  peer.CloseConnection();
  ASSERT_TRUE(PumpUntil([&] { return Pairs(1).size() >= 6 && frame->IsConnected(); }));
  EXPECT_EQ(frame->GetBoardView(), nullptr);
  Serve(Posts(25, 10), [&] { return frame->GetBoardView() && frame->GetBoardView()->GetList().GetItemCount() == 10; });
  board = frame->GetBoardView();
  stillWriting("a lost connection");

  // Sent at last, the post is what was typed; Cancel then ends a second one.
  Click(CPlacardView::kSendButton);
  const auto post = NextRecord(7, 12);
  ASSERT_TRUE(post.has_value());
  EXPECT_EQ(post->payload, "|4|2|Spring meeting|Saturday at 3, bring boards|");
  EXPECT_FALSE(board->IsEditing());
  EXPECT_TRUE(Enabled(CPlacardView::kSearchButton));
  Click(CPlacardView::kWriteButton);
  board->SetDlgItemText(CPlacardView::kTitleEdit, "Dropped");
  Click(CPlacardView::kCancelButton);
  EXPECT_EQ(BoxText(CPlacardView::kTitleEdit), "");
  Serve(GameServerPeer::Record(7, 1, "|1|4|Seoul Go|1|"),
        [&] { return frame->GetActiveViewId() == CMainFrame::kForumView; });
  Serve(Posts(25, 10), [&] { return frame->GetBoardView() && frame->GetBoardView()->GetList().GetItemCount() == 10; });
  EXPECT_FALSE(frame->GetBoardView()->IsEditing());
}

// Down released on an empty board asks for nothing: there is no last post to page past.
TEST_F(BulletinBoardPeerTest, DownOnAnEmptyBoardAsksForNoPage) {
  ShowBoard();
  Serve(GameServerPeer::Record(7, 10, "|4|2|-1|0|"), [&] { return board->GetList().GetItemCount() == 0; });
  MSG msg{board->GetList().m_hWnd, WM_KEYUP, VK_DOWN, 0, 0, {0, 0}};
  board->PreTranslateMessage(&msg);
  EXPECT_TRUE(NoRecord(7, 10));
  EXPECT_FALSE(board->IsRequestPending());
  // A page that then arrives is paged on from its last post.
  Serve(Posts(20, 10), [&] { return board->GetList().GetItemCount() == 10; });
  Select(board->GetList(), "11");
  board->PreTranslateMessage(&msg);
  const auto next = NextRecord(7, 10);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->payload, "|4|2|10|10|LS|||");
}

TEST_F(BulletinBoardPeerTest, HeadingClicksSortEachColumnByItsKind) {
  ShowBoard();  // posts 25 down to 16; post n was read 2n times at hour 1(n % 10)
  CListCtrl& list = board->GetList();
  const auto click = [&](int column) {
    NMLISTVIEW notify{};
    notify.hdr.hwndFrom = list.m_hWnd;
    notify.hdr.idFrom = CPlacardView::kPostList;
    notify.hdr.code = LVN_COLUMNCLICK;
    notify.iSubItem = column;
    board->SendMessage(WM_NOTIFY, CPlacardView::kPostList, reinterpret_cast<LPARAM>(&notify));
  };
  struct Step {
    int column;
    std::vector<std::string> shown;  // the clicked column's texts after the click, or column 0's
  };
  const Step steps[] = {
      {3, {"16", "17", "18", "19", "20", "21", "22", "23", "24", "25"}},  // read counts as numbers
      {0, {"16", "17", "18", "19", "20", "21", "22", "23", "24", "25"}},
      {3, {"25", "24", "23", "22", "21", "20", "19", "18", "17", "16"}},  // its own second click: descending
      {2, {"20", "21", "22", "23", "24", "25", "16", "17", "18", "19"}},  // the shown Korean dates in order
      {1, {"amy", "amy", "amy", "amy", "amy", "carol", "carol", "carol", "carol", "carol"}},  // authors as text
  };
  for (const Step& step : steps) {
    click(step.column);
    EXPECT_EQ(Column(list, step.column == 1 ? 1 : 0), step.shown) << step.column;
    EXPECT_EQ(board->GetSortedColumn(), step.column);
  }
}

// The board lays itself out on every size: the list across the top, the post below it, and the
// row of buttons along the bottom, all inside the view.
TEST_F(BulletinBoardPeerTest, TheLayoutKeepsEveryButtonInsideTheView) {
  ShowBoard();
  const UINT buttons[] = {CPlacardView::kWriteButton,    CPlacardView::kSendButton,   CPlacardView::kModifyButton,
                          CPlacardView::kDeleteButton,   CPlacardView::kSearchButton, CPlacardView::kNextPageButton,
                          CPlacardView::kCancelButton};
  const auto rectOf = [&](UINT id) {
    CRect rect;
    board->GetDlgItem(id)->GetWindowRect(&rect);
    board->ScreenToClient(&rect);
    return rect;
  };
  for (const CSize size : {CSize(780, 330), CSize(620, 420), CSize(1000, 700)}) {
    board->MoveWindow(0, 0, size.cx, size.cy);
    CRect client;
    board->GetClientRect(&client);
    const CRect list = rectOf(CPlacardView::kPostList);
    EXPECT_EQ(list.left, 10) << size.cx;
    EXPECT_EQ(list.Width(), client.Width() - 20) << size.cx;
    const CRect contents = rectOf(CPlacardView::kContentsEdit);
    EXPECT_GT(contents.top, list.bottom) << size.cx;
    EXPECT_GT(contents.Height(), 0) << size.cx;
    int right = 0;
    for (UINT id : buttons) {
      const CRect button = rectOf(id);
      EXPECT_TRUE(client.PtInRect(button.TopLeft()) && button.right <= client.right && button.bottom <= client.bottom)
          << id << " at " << size.cx << "x" << size.cy;
      EXPECT_GE(button.top, contents.bottom) << id;
      EXPECT_GT(button.left, right - 1) << id;  // one row, left to right
      right = button.right;
    }
  }
}

}  // namespace

namespace {

// Every way off a forum's board leaves no forum behind: the next waiting room is named by its own
// key, never by the board's target.
TEST_F(BulletinBoardPeerTest, EveryWayOffTheBoardForgetsTheForum) {
  ShowBoard();
  struct Way {
    const char* name;
    std::string reply;  // what the server sends; empty for the waiting-room list button
    UINT view;          // the screen it shows
  };
  const Way ways[] = {
      {"the forum list", GameServerPeer::Record(7, 1, "|1|4|Club|1|"), CMainFrame::kForumView},
      {"the record list", GameServerPeer::Record(6, 1, "|1|200|2026-12-01|x|b200|B|1D|y|w200|W|1K|100|B+R|"),
       CMainFrame::kRecordListView},
      {"the ranking", GameServerPeer::Record(10, 1, "|1|1|1|K1|u1|5D|A|900|1|0|1|"), CMainFrame::kRankView},
      {"the waiting-room list", "", CMainFrame::kStartView},
  };
  frame->KeepRoomRecord(1, "1", "1", "Free");
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    Serve(Posts(25, 10), [&] { return frame->GetBoardView() != nullptr; });
    frame->OpenForumBoard("4", "2", "B4", "Club", TRUE);
    frame->SetCurrentWaitRoom(1);
    if (way.reply.empty())
      frame->OnMenuButton(MenuButton::kWaitingRoomList);
    else
      Serve(way.reply, [&] { return frame->GetActiveViewId() == way.view; });
    EXPECT_EQ(frame->GetActiveViewId(), way.view);
    EXPECT_FALSE(frame->IsForumBoardOpen());
    EXPECT_EQ(frame->GetWaitingRoomKey(), "1");
  }
}

}  // namespace

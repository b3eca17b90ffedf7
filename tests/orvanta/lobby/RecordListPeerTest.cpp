// The game-record list against the game-server peer: pages, searches, the paging lock after an
// empty page, and a received record opened for review from a freshly reset record.

#include "LobbyPeerFixture.h"
#include "orvanta/room/GameReviewDlg.h"
#include "support/StolvexModuleHome.h"
#include "orvanta/lobby/RecordListPayload.h"
#include "orvanta/lobby/TirvoGiboView.h"

namespace {

// A page of count records numbered down from first.
std::string RecordPage(int first, int count, int code = 1) {
  std::string payload = "|" + std::to_string(count) + "|";
  for (int n = first; n > first - count; --n) {
    const std::string number = std::to_string(n);
    payload += number + "|2026-12-0" + std::to_string(n % 9 + 1) + "|x|b" + number + "|Black " + number + "|" +
               std::to_string(n % 9 + 1) + "D|y|w" + number + "|White " + number + "|1K|" + std::to_string(100 + n) +
               "|B+R|";
  }
  return GameServerPeer::Record(6, code, payload);
}

class RecordListPeerTest : public LobbyPeerTest {
protected:
  void ShowRecordList() {
    LogIn();
    lobbyScope.emplace(&lobby);
    frame->RegisterView(CMainFrame::kRecordListView, RUNTIME_CLASS(CTirvoGiboView));
    frame->SearchRecords("");
    list = frame->GetRecordListView();
    ASSERT_NE(list, nullptr);
  }
  void KeyUp(UINT key) {
    MSG msg{list->GetList().m_hWnd, WM_KEYUP, key, 0, 0, {0, 0}};
    list->PreTranslateMessage(&msg);
  }
  void SelectLast() {
    const int last = list->GetList().GetItemCount() - 1;
    for (int i = 0; i <= last; ++i) list->GetList().SetItemState(i, i == last ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }

  CTirvoGiboView* list{nullptr};
};

TEST_F(RecordListPeerTest, PagesFollowEachOtherAndAnEmptyPageUnlocksPaging) {
  ShowRecordList();
  const auto first = NextRecord(6, 1);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->payload, "|-1|50|");
  Serve(RecordPage(200, 50), [&] { return list->GetList().GetItemCount() == 50; });
  EXPECT_EQ(list->GetNextKey(), "150");
  EXPECT_EQ(list->GetList().GetItemText(0, 2), "b200");
  EXPECT_EQ(list->GetList().GetItemText(49, 9), "B+R");
  // Down on the last row asks for the next page, once, until the page is shown.
  KeyUp(VK_DOWN);
  EXPECT_TRUE(NoRecord(6, 1));  // nothing selected yet
  SelectLast();
  KeyUp(VK_DOWN);
  const auto next = NextRecord(6, 1);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->payload, "|150|50|");
  KeyUp(VK_NEXT);
  EXPECT_TRUE(NoRecord(6, 1));
  Serve(RecordPage(150, 50), [&] { return list->GetList().GetItemCount() == 100; });
  EXPECT_FALSE(list->IsRequestPending());
  // The server has no more: "It is last.", the list stays, and paging may be tried again.
  SelectLast();
  KeyUp(VK_NEXT);
  ASSERT_TRUE(NextRecord(6, 1).has_value());
  frame->SetWindowText("Orvanta 1.5");
  Serve(GameServerPeer::Record(6, 1, "|0|"), [&] { return !lobby.shown.empty(); });
  EXPECT_EQ(lobby.shown.back(), "It is last.");
  CString caption;
  frame->GetWindowText(caption);
  EXPECT_EQ(caption, "record review room");  // the screen is named even when the page is empty
  EXPECT_EQ(list->GetList().GetItemCount(), 100);
  EXPECT_FALSE(list->IsRequestPending());
  KeyUp(VK_DOWN);
  EXPECT_TRUE(NextRecord(6, 1).has_value());
}

TEST_F(RecordListPeerTest, ScrollingPastTheLastRowPagesOnAndTheArrowKeepsTheCapture) {
  ShowRecordList();
  ASSERT_TRUE(NextRecord(6, 1).has_value());
  Serve(RecordPage(200, 50), [&] { return list->GetList().GetItemCount() == 50; });
  CListCtrl& rows = list->GetList();
  const int page = rows.GetCountPerPage();
  ASSERT_LT(page, 50);
  // Rows still below: neither the arrow nor the thumb asks.
  rows.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  rows.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 49 - page));
  EXPECT_TRUE(NoRecord(6, 1));
  // The arrow with the last row in sight asks once and holds the capture through the fill.
  rows.EnsureVisible(49, FALSE);
  rows.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  const auto next = NextRecord(6, 1);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->payload, "|150|50|");
  EXPECT_TRUE(list->IsRequestPending());
  rows.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  rows.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 50 - page));
  EXPECT_TRUE(NoRecord(6, 1));
  Serve(RecordPage(150, 50), [&] { return rows.GetItemCount() == 100; });
  EXPECT_EQ(::GetCapture(), rows.m_hWnd);
  rows.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // the button released: the capture goes
  EXPECT_NE(::GetCapture(), rows.m_hWnd);
  // The thumb dropped at the end asks too, and leaves the capture alone after the fill.
  rows.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100 - page));
  const auto thumb = NextRecord(6, 1);
  ASSERT_TRUE(thumb.has_value());
  EXPECT_EQ(thumb->payload, "|100|50|");
  Serve(RecordPage(100, 50), [&] { return rows.GetItemCount() == 150; });
  EXPECT_NE(::GetCapture(), rows.m_hWnd);
}

TEST_F(RecordListPeerTest, HeadingClicksSortWhiteGradesByGradeAndWhiteNamesAsText) {
  ShowRecordList();
  ASSERT_TRUE(NextRecord(6, 1).has_value());
  // Three records whose white players differ: (name, grade).
  std::string payload = "|3|";
  const std::pair<const char*, const char*> whites[] = {{"Cy", "5K"}, {"amy", "1D"}, {"Bo", "10K"}};
  int number = 3;
  for (const auto& [name, grade] : whites) {
    const std::string n = std::to_string(number--);
    payload += n + "|2026-12-01|x|b" + n + "|Black|3D|y|w" + n + "|" + name + "|" + grade + "|" + n + "0|W+R|";
  }
  Serve(GameServerPeer::Record(6, 1, payload), [&] { return list->GetList().GetItemCount() == 3; });
  const auto click = [&](int column) {
    NMLISTVIEW notify{};
    notify.hdr.hwndFrom = list->GetList().m_hWnd;
    notify.hdr.idFrom = CTirvoGiboView::kListId;
    notify.hdr.code = LVN_COLUMNCLICK;
    notify.iSubItem = column;
    list->SendMessage(WM_NOTIFY, CTirvoGiboView::kListId, reinterpret_cast<LPARAM>(&notify));
  };
  // A column's first click sorts descending, its next ascending.
  click(7);
  EXPECT_EQ(Column(list->GetList(), 7), (std::vector<std::string>{"1D", "5K", "10K"}));
  click(6);
  EXPECT_EQ(Column(list->GetList(), 6), (std::vector<std::string>{"Cy", "Bo", "amy"}));
  click(7);
  EXPECT_EQ(Column(list->GetList(), 7), (std::vector<std::string>{"10K", "5K", "1D"}));
  click(8);  // moves as numbers: 10, 20, 30
  EXPECT_EQ(Column(list->GetList(), 8), (std::vector<std::string>{"30", "20", "10"}));
}

TEST_F(RecordListPeerTest, ASearchReplacesTheListItsNextPageAppendsAndNoResultRestoresBrowsing) {
  ShowRecordList();
  Serve(RecordPage(200, 50), [&] { return list->GetList().GetItemCount() == 50; });
  list->StartSearch("|LI|amy|");
  const auto search = NextRecord(6, 2);
  ASSERT_TRUE(search.has_value());
  EXPECT_EQ(search->payload, "|-1|50|LI|amy|");
  Serve(RecordPage(90, 50, 2), [&] { return list->GetList().GetItemText(0, 0) == "90"; });
  EXPECT_EQ(list->GetList().GetItemCount(), 50);
  EXPECT_EQ(list->GetMode(), CTirvoGiboView::kSearchMode);
  SelectLast();
  KeyUp(VK_DOWN);
  const auto more = NextRecord(6, 2);
  ASSERT_TRUE(more.has_value());
  EXPECT_EQ(more->payload, "|40|50|LI|amy|");
  Serve(RecordPage(40, 3, 2), [&] { return list->GetList().GetItemCount() == 53; });

  // A search from browsing that finds nothing: the message and browsing as it was.
  list->StartSearch("");
  Serve(RecordPage(200, 2), [&] { return list->GetList().GetItemCount() == 2; });
  list->StartSearch("|LI|nobody|");
  Serve(GameServerPeer::Record(6, 2, "|0|"), [&] { return !lobby.shown.empty(); });
  EXPECT_EQ(lobby.shown.back(), "No game records found.");
  EXPECT_EQ(list->GetMode(), CTirvoGiboView::kBrowseMode);
  EXPECT_EQ(list->GetNextKey(), "198");
  EXPECT_EQ(list->GetQuery(), "");
  EXPECT_FALSE(list->IsRequestPending());
}

TEST_F(RecordListPeerTest, AReceivedRecordIsLoadedIntoAFreshRecordAndOpenedForReview) {
  testsupport::StolvexModuleHome boardControl;  // the review dialog shows the record on it
  ASSERT_TRUE(boardControl.Registered());
  ShowRecordList();
  Serve(RecordPage(12, 2), [&] { return list->GetList().GetItemCount() == 2; });
  // Nothing selected: no request.
  list->OpenSelectedRecord();
  EXPECT_TRUE(NoRecord(6, 3));
  list->GetList().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  NMHDR click{list->GetList().m_hWnd, CTirvoGiboView::kListId, NM_DBLCLK};
  list->SendMessage(WM_NOTIFY, CTirvoGiboView::kListId, reinterpret_cast<LPARAM>(&click));
  const auto request = NextRecord(6, 3);
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->payload, "|11|");
  // The record opens in the review dialog: players and moves as the server sent them.
  std::vector<std::string> reviewed;
  lobby.answers[CGameReviewDlg::kTemplateId] = [&](CWnd*, CDialog* dialog) -> INT_PTR {
    const CGiboRecord& record = static_cast<CGameReviewDlg*>(dialog)->GetRecord();
    CString black[4];
    CString white[4];
    record.GetBlackPlayer(black[0], black[1], black[2], black[3]);
    record.GetWhitePlayer(white[0], white[1], white[2], white[3]);
    reviewed.push_back(black[0].str() + ":" + white[0].str() + ":" + std::to_string(record.GetTotalMoves()));
    return CGameReviewDlg::kClose;
  };
  Serve(GameServerPeer::Record(6, 3, "|11|(;FF[4]GM[1]SZ[19]PB[kim]PW[lee];B[pd];W[dp])|"),
        [&] { return reviewed.size() == 1; });
  EXPECT_EQ(reviewed.back(), "kim:lee:2");
  // A record without players must not show those of the one before.
  Serve(GameServerPeer::Record(6, 3, "|12|(;FF[4]GM[1]SZ[19];B[aa])|"), [&] { return reviewed.size() == 2; });
  EXPECT_EQ(reviewed.back(), "::1");
}

TEST(RecordListPayloadTest, TheCountNeverReachesPastTheRecordsSent) {
  EXPECT_TRUE(CRecordListPayload::Parse("").rows.empty());
  EXPECT_TRUE(CRecordListPayload::Parse("|-3|").rows.empty());
  const CRecordListPayload two = CRecordListPayload::Parse("|9|1|2|3|4|5|6|7|8|9|10|11|12|a|b|c|d|e|f|g|h|i|j|k|l|m|");
  EXPECT_EQ(two.count, 9);
  ASSERT_EQ(two.rows.size(), 2u);
  EXPECT_EQ(two.rows[1].fields[11], "l");
}

}  // namespace

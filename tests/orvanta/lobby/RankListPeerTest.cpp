// The ranking and the pro-room list against the game-server peer.

#include "LobbyPeerFixture.h"
#include "orvanta/lobby/RankListPayload.h"
#include "orvanta/lobby/TirvoMListView.h"
#include "orvanta/lobby/TirvoRankView.h"

namespace {

// count ranking rows from rank first: user u<rank>, wins = rank, no draws, one loss.
std::string RankRows(int major, int minor, int first, int count) {
  std::string payload = "|" + std::to_string(count) + "|";
  for (int rank = first; rank < first + count; ++rank) {
    const std::string r = std::to_string(rank);
    payload += r + "|" + r + "|K" + r + "|u" + r + "|5D|A|" + std::to_string(1000 - rank) + "|" + r + "|0|1|";
  }
  return GameServerPeer::Record(major, minor, payload);
}

class RankListPeerTest : public LobbyPeerTest {
protected:
  void KeyUp(CListCtrl& list, CView* view, UINT key) {
    MSG msg{list.m_hWnd, WM_KEYUP, key, 0, 0, {0, 0}};
    view->PreTranslateMessage(&msg);
  }
  static void SelectOnly(CListCtrl& list, int row) {
    for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, i == row ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
};

TEST_F(RankListPeerTest, BothKindsOfRankingPageAndAskForUserInformation) {
  EnterWaitingRoom();
  frame->RegisterView(CMainFrame::kRankView, RUNTIME_CLASS(CTirvoRankView));
  Serve(GameServerPeer::Record(10, 1, "|0|"), [&] { return !lobby.shown.empty(); });
  EXPECT_EQ(lobby.shown.back(), "No information found.");
  EXPECT_EQ(frame->GetActiveViewId(), CMainFrame::kWaitingRoomView);

  Serve(RankRows(10, 1, 1, 50), [&] { return frame->GetRankView() && frame->GetRankView()->GetList().GetItemCount() == 50; });
  const std::optional<PeerRecord> leave = NextRecord(3, 2);  // the waiting room is left first
  ASSERT_TRUE(leave);
  EXPECT_EQ(leave->payload, "|R2|");
  CTirvoRankView* rank = frame->GetRankView();
  CListCtrl& list = rank->GetList();
  EXPECT_EQ(list.GetItemText(2, 2), "u3(5D-A)");
  EXPECT_EQ(list.GetItemText(2, 4), "3 wins,  0 drawns, 1 loses");
  EXPECT_EQ(list.GetItemText(2, 5), "75.0");
  EXPECT_EQ(list.GetItemText(2, 6), "K3");
  EXPECT_EQ(rank->GetNextKey(), "51");

  // Down on the last row asks for the next page with the rank filter.
  frame->SetRankFilter("|LV|3|");
  SelectOnly(list, 49);
  KeyUp(list, rank, VK_DOWN);
  const auto next = NextRecord(10, 1);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->payload, "|51|50|LV|3|");
  Serve(RankRows(10, 1, 51, 2), [&] { return list.GetItemCount() == 52; });

  // A next page that comes back empty still ends the wait: Down on the last row asks again.
  SelectOnly(list, 51);
  KeyUp(list, rank, VK_DOWN);
  const auto beyond = NextRecord(10, 1);
  ASSERT_TRUE(beyond.has_value());
  EXPECT_EQ(beyond->payload, "|53|50|LV|3|");
  ASSERT_TRUE(rank->IsRequestPending());
  const std::size_t shownBefore = lobby.shown.size();
  Serve(GameServerPeer::Record(10, 1, "|0|"), [&] { return lobby.shown.size() > shownBefore; });
  EXPECT_EQ(lobby.shown.back(), "No information found.");
  EXPECT_EQ(frame->GetRankView(), rank);
  EXPECT_EQ(list.GetItemCount(), 52);
  EXPECT_FALSE(rank->IsRequestPending());
  KeyUp(list, rank, VK_DOWN);
  const auto again = NextRecord(10, 1);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->payload, "|53|50|LV|3|");
  Serve(RankRows(10, 1, 53, 1), [&] { return list.GetItemCount() == 53; });

  // The scroll bar pages as the keys do: the arrow with the last row in sight asks once and holds
  // the capture through the fill.
  ASSERT_LT(list.GetCountPerPage(), 53);
  list.EnsureVisible(52, FALSE);
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  const auto scrolled = NextRecord(10, 1);
  ASSERT_TRUE(scrolled.has_value());
  EXPECT_EQ(scrolled->payload, "|54|50|LV|3|");
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
  EXPECT_TRUE(NoRecord(10, 1));
  Serve(RankRows(10, 1, 54, 1), [&] { return list.GetItemCount() == 54; });
  EXPECT_EQ(::GetCapture(), list.m_hWnd);
  ::ReleaseCapture();

  // Kind 2 replaces kind 1 and then appends.
  Serve(RankRows(10, 2, 1, 3), [&] { return rank->GetListKind() == 2 && list.GetItemCount() == 3; });
  Serve(RankRows(10, 4, 4, 2), [&] { return list.GetItemCount() == 5; });

  SelectOnly(list, 1);
  NMHDR click{list.m_hWnd, CTirvoRankView::kListId, NM_DBLCLK};
  rank->SendMessage(WM_NOTIFY, CTirvoRankView::kListId, reinterpret_cast<LPARAM>(&click));
  const auto info = NextRecord(10, 3);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->payload, "|K2|u2|");
}

TEST_F(RankListPeerTest, ProRoomsOfATeachingWaitingRoomListAndJoin) {
  LogIn();
  lobbyScope.emplace(&lobby);
  frame->RegisterView(CMainFrame::kTeachingListView, RUNTIME_CLASS(CTirvoMListView));
  frame->RememberWaitingRoom(3, "R3", "Pro");
  const std::string room7 = "7|Lesson|x|kim|5D|KR|y|lee|9P|KR|12|z|1|2|w|";
  const std::string room8 = "8|Open game|x||||y|park|3P|KR|4|z|6|1|w|";
  Serve(GameServerPeer::Record(5, 1, "|1|0|2|" + room7 + room8),
        [&] { return frame->GetProRoomListView() && frame->GetProRoomListView()->GetList().GetItemCount() == 2; });
  CTirvoMListView* rooms = frame->GetProRoomListView();
  CListCtrl& list = rooms->GetList();
  EXPECT_EQ(list.GetItemText(0, 2), "kim(5D,KR)");
  EXPECT_EQ(list.GetItemText(0, 3), "lee(9P,KR)");
  EXPECT_EQ(list.GetItemText(0, 4), "Play");
  EXPECT_EQ(list.GetItemText(0, 5), "Private");
  EXPECT_EQ(list.GetItemText(1, 2), "");
  EXPECT_EQ(list.GetItemText(1, 4), "6");  // an unknown status as received
  EXPECT_EQ(list.GetItemText(1, 6), "Open game");
  // A page that is not the first appends.
  Serve(GameServerPeer::Record(5, 1, "|0|0|1|" + room7), [&] { return list.GetItemCount() == 3; });

  rooms->JoinSelectedRoom();
  EXPECT_EQ(lobby.shown.back(), "Select game room you wish to enter.");
  SelectOnly(list, 1);
  rooms->JoinSelectedRoom();
  EXPECT_EQ(frame->GetLoginRecord()->m_nRoomNumber, 8);
  EXPECT_EQ(frame->GetLoginRecord()->m_strRoomText2, "Open game");
  EXPECT_EQ(frame->GetLoginRecord()->m_strRoomText1, "");  // the room password, never the public word
  EXPECT_EQ(frame->GetLoginRecord()->m_strRoomText3, "6");
  EXPECT_EQ(frame->GetJoining(), 1);
  const auto join = NextRecord(5, 3);  // waiting room "3": major 5; teaching rooms need no password
  ASSERT_TRUE(join.has_value());
  EXPECT_EQ(join->payload, "|R3|8||");
}

TEST(RankListPayloadTest, RatesAndClampedCounts) {
  EXPECT_DOUBLE_EQ(WinRate("0", "0"), 0.0);
  EXPECT_DOUBLE_EQ(WinRate("3", "1"), 75.0);
  EXPECT_TRUE(CRankListPayload::Parse("|5|1|2|").rows.empty());
  EXPECT_TRUE(CProRoomListPayload::Parse("|1|").rows.empty());
  EXPECT_TRUE(CProRoomListPayload::Parse("|1|").firstPage);
}

}  // namespace

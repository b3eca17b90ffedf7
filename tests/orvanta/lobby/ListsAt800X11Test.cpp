// The ranking, the forum list and the bulletin board at the program's own 800x600 under X11: every
// column shows its heading and its rows' texts whole, the forum list stays on its left edge, and
// the pictures are left for people to look at.

#include <gtest/gtest.h>

#include <string>

#include "FrameOnScreen.h"
#include "ShownPixels.h"
#include "orvanta/lobby/AssociationView.h"
#include "orvanta/lobby/PlacardView.h"
#include "orvanta/lobby/TirvoRankView.h"
#include "support/SnapshotPath.h"

namespace {

using lobbytest::WithFrame;

// The columns of list that would have to grow to show their heading and every row's text whole.
std::vector<int> CutColumns(CListCtrl& list) {
  std::vector<int> cut;
  for (int column = 0; column < list.GetHeaderCtrl()->GetItemCount(); ++column) {
    const int width = list.GetColumnWidth(column);
    if (width == 0)
      continue;  // a hidden key column
    list.SetColumnWidth(column, LVSCW_AUTOSIZE_USEHEADER);
    if (list.GetColumnWidth(column) > width)
      cut.push_back(column);
    list.SetColumnWidth(column, width);
  }
  return cut;
}

TEST(ListsAt800X11Test, TheRankingShowsEveryColumnWhole) {
  WithFrame("orvanta-ranking-800", [](CMainFrame* frame) {
    // An earlier run's first save wrote every list's own widths into "setting.ini".
    ASSERT_TRUE(frame->WriteSetting(0, "|800|600|"));
    ASSERT_EQ(frame->ReadSetting(3), "|40|40|200|40|100|70|0|");
    frame->SwitchView(CMainFrame::kRankView);
    CTirvoRankView* rank = frame->GetRankView();
    ASSERT_NE(rank, nullptr);
    CString payload = "|4|";
    payload += "1|1|K1|champion|9D|Seoul|2450|100|0|0|";
    payload += "2|2|K2|runnerup|8D|Busan|2310|87|12|31|";
    payload += "3|3|K3|amy|7D|Incheon|1999|1234|56|789|";
    payload += "4|10|K4|bo|1K|Daegu|1500|0|0|0|";
    rank->AddRankRowsKind1(payload);
    CListCtrl& list = rank->GetList();
    EXPECT_EQ(list.GetItemText(0, 4), "100 wins,  0 drawns, 0 loses");
    EXPECT_EQ(CutColumns(list), std::vector<int>{});
    EXPECT_GE(lobbytest::WaitForRows(list, "part.png", 300), 300);
    const std::string path = testsupport::SnapshotPath("orvanta-ranking-800.png");
    EXPECT_FALSE(lobbytest::ShownPixels(frame->m_hWnd, path).pixels.empty()) << path;
    // Leaving the ranking keeps no fitted widths as if they had been chosen; a person's own are kept.
    frame->SwitchView(CMainFrame::kStartView);
    frame->SwitchView(CMainFrame::kRankView);
    rank = frame->GetRankView();
    rank->SaveColumnWidths();
    EXPECT_EQ(frame->ReadSetting(3), "|40|40|200|40|100|70|0|");
    rank->GetList().SetColumnWidth(2, 150);
    rank->SaveColumnWidths();
    EXPECT_EQ(frame->ReadSetting(3), "|40|40|150|40|100|70|0|");
  }, CSize(800, 600));
}

TEST(ListsAt800X11Test, TheForumListStaysOnItsEdgeWithBothHeadingsWhole) {
  WithFrame("orvanta-forum-800", [](CMainFrame* frame) {
    frame->SwitchView(CMainFrame::kForumView);
    CAssociationView* forum = frame->GetForumView();
    ASSERT_NE(forum, nullptr);
    forum->OnForumList("|4|10|Seoul Go|1|11|Kids|0|12|" + CString(Cp949("바둑사랑")) + "|0|14|Weekend|1|");
    forum->BuildForumMenu("|10|Seoul Go|2|1|Join/Secede|1|0||2|Board|2|0|B10|");
    CListCtrl& list = forum->GetList();
    CRect shown;
    list.GetWindowRect(&shown);
    forum->ScreenToClient(&shown);
    EXPECT_LE(shown.right, 180) << "the list reaches past the left edge";
    EXPECT_EQ(CutColumns(list), std::vector<int>{});
    CRect inside;
    list.GetClientRect(&inside);
    EXPECT_LE(list.GetColumnWidth(0) + list.GetColumnWidth(1), inside.Width()) << "the columns need a horizontal bar";
    EXPECT_GE(lobbytest::WaitForRows(list, "part.png", 100), 100);
    const std::string path = testsupport::SnapshotPath("orvanta-forum-800.png");
    EXPECT_FALSE(lobbytest::ShownPixels(frame->m_hWnd, path).pixels.empty()) << path;
  }, CSize(800, 600));
}

TEST(ListsAt800X11Test, TheBulletinBoardShowsEveryColumnWhole) {
  WithFrame("orvanta-board-800", [](CMainFrame* frame) {
    // The forum view comes first, as it does for a person, and leaves its dark strip on the screen.
    frame->SwitchView(CMainFrame::kForumView);
    frame->GetForumView()->OnForumList("|1|10|Seoul Go|1|");
    lobbytest::ShownPixels(frame->m_hWnd, testsupport::SnapshotPath("orvanta-board-before-800.png"));
    frame->SwitchView(CMainFrame::kBulletinBoardView);
    CPlacardView* board = frame->GetBoardView();
    ASSERT_NE(board, nullptr);
    board->OnPostList("|4|2|-1|3|1024|longname01|202612091530|12345|A title long enough to read|"
                      "1023|bo|202612081030|2|Welcome|1022|amy|202612071200|0|Rules|");
    board->OnPostText("|4|2|1024|longname01|202612091530|12345|A title long enough to read|Contents.|");
    CListCtrl& list = board->GetList();
    EXPECT_EQ(CutColumns(list), std::vector<int>{});
    EXPECT_GE(lobbytest::WaitForRows(list, "part.png", 200), 200);
    const std::string path = testsupport::SnapshotPath("orvanta-board-800.png");
    EXPECT_FALSE(lobbytest::ShownPixels(frame->m_hWnd, path).pixels.empty()) << path;
    // The margin left of the board's fields is the board's own ground from top to bottom.
    const platform::Surface ground = lobbytest::ShownPixels(board->m_hWnd, testsupport::SnapshotPath("part.png"));
    ASSERT_GT(ground.height, 100);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const std::uint32_t faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    int foreign = 0;
    for (int y = 0; y < ground.height; ++y)
      foreign += (ground.Row(y)[4] & 0xFFFFFF) != faceRgb;
    EXPECT_EQ(foreign, 0) << "rows of the margin still show another view";
  }, CSize(800, 600));
}

}  // namespace

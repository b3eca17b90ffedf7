#include "platform/controls.h"

#include <algorithm>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class ListCtrlTest : public ControlTest {
protected:
  void Make(DWORD style = 0) {
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | style, CRect(0, 0, 300, 200), &host, 60));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Rank", LVCFMT_RIGHT, 60);
  }
  void Fill(const std::vector<std::pair<const char*, LPARAM>>& rows) {
    for (const auto& [name, data] : rows) {
      int index = list.InsertItem(list.GetItemCount(), name);
      list.SetItemText(index, 1, (std::string(name) + "-rank").c_str());
      list.SetItemData(index, static_cast<DWORD_PTR>(data));
    }
    host.Forget();
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (int i = 0; i < list.GetItemCount(); ++i) names.push_back(list.GetItemText(i, 0).GetString());
    return names;
  }
  POINT RowPoint(int index) {
    RECT r{};
    EXPECT_TRUE(list.GetItemRect(index, &r, LVIR_LABEL));
    return CPoint(r.left + 5, (r.top + r.bottom) / 2);
  }
  CListCtrl list;
};

int ByData(LPARAM a, LPARAM b, LPARAM descending) {
  int c = a < b ? -1 : a > b ? 1 : 0;
  return descending ? -c : c;
}

// Answers at random-looking but fixed values: neither consistent nor transitive.
int Inconsistent(LPARAM a, LPARAM b, LPARAM) { return static_cast<int>((a * 7 + b * 13) % 5) - 2; }

TEST_F(ListCtrlTest, InsertSortSelectAndStateImageRoundTrip) {
  Make();
  Fill({{"kim", 3}, {"lee", 1}, {"park", 2}, {"choi", 1}});
  EXPECT_EQ(list.GetItemCount(), 4);
  EXPECT_EQ(list.GetItemText(2, 1), "park-rank");

  list.SetItemState(0, LVIS_SELECTED | INDEXTOSTATEIMAGEMASK(3), LVIS_SELECTED | LVIS_STATEIMAGEMASK);
  ASSERT_TRUE(list.SortItems(&ByData, FALSE));
  // Stable: equal keys keep their order; sub-items, data and state travel with their rows.
  EXPECT_EQ(Names(), (std::vector<std::string>{"lee", "choi", "park", "kim"}));
  EXPECT_EQ(list.GetItemText(3, 1), "kim-rank");
  EXPECT_EQ(list.GetItemData(3), 3u);
  EXPECT_EQ(list.GetItemState(3, LVIS_SELECTED | LVIS_STATEIMAGEMASK), LVIS_SELECTED | INDEXTOSTATEIMAGEMASK(3));
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 3);

  LVITEM item{};
  item.mask = LVIF_STATE | LVIF_PARAM;
  item.iItem = 3;
  item.stateMask = LVIS_STATEIMAGEMASK;
  ASSERT_TRUE(list.GetItem(&item));
  EXPECT_EQ(item.state >> 12, 3u);
  EXPECT_EQ(item.lParam, 3);
}

TEST_F(ListCtrlTest, SortWithAnInconsistentComparisonKeepsEveryRow) {
  Make();
  std::vector<std::pair<const char*, LPARAM>> rows;
  static const char* const kNames[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m"};
  for (int i = 0; i < 13; ++i) rows.emplace_back(kNames[i], i);
  Fill(rows);
  ASSERT_TRUE(list.SortItems(&Inconsistent, 0));
  std::vector<bool> seen(13, false);
  for (int i = 0; i < list.GetItemCount(); ++i) {
    auto data = static_cast<std::size_t>(list.GetItemData(i));
    ASSERT_LT(data, seen.size());
    EXPECT_FALSE(seen[data]);
    seen[data] = true;
    EXPECT_EQ(list.GetItemText(i, 0), kNames[data]);
  }
  EXPECT_EQ(list.GetItemCount(), 13);
  EXPECT_FALSE(list.SortItems(nullptr, 0));
}

TEST_F(ListCtrlTest, ClickSelectsWithItemChangedAndSingleSelectionHolds) {
  Make(LVS_SINGLESEL);
  Fill({{"kim", 1}, {"lee", 2}});
  std::vector<std::pair<int, UINT>> changes;
  host.onNotify = [&](NMHDR* hdr) {
    if (hdr->code == LVN_ITEMCHANGED) {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
      changes.emplace_back(nm->iItem, nm->uNewState);
      EXPECT_EQ(nm->uChanged, LVIF_STATE);
    }
  };
  input::Click(host.m_hWnd, RowPoint(1));
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), std::make_pair(1, LVIS_SELECTED | LVIS_FOCUSED));
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(list.GetSelectedCount(), 1);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
  EXPECT_EQ(host.Count(WM_NOTIFY, NM_CLICK), 1);
}

TEST_F(ListCtrlTest, ParentCanRefuseAStateChange) {
  Make();
  Fill({{"kim", 1}});
  host.onNotify = [&](NMHDR* hdr) { host.notifyAnswer = hdr->code == LVN_ITEMCHANGING ? TRUE : FALSE; };
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(list.GetItemState(0, LVIS_SELECTED), 0u);
  EXPECT_EQ(host.Count(WM_NOTIFY, LVN_ITEMCHANGED), 0);
}

TEST_F(ListCtrlTest, DoubleClickReturnAndColumnClickReachTheParent) {
  Make();
  Fill({{"kim", 1}, {"lee", 2}});
  int activated = -2;
  host.onNotify = [&](NMHDR* hdr) {
    if (hdr->code == NM_DBLCLK) activated = reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem;
  };
  input::DoubleClick(host.m_hWnd, RowPoint(1));
  EXPECT_EQ(activated, 1);
  input::PressKey(VK_RETURN);
  EXPECT_EQ(host.Count(WM_NOTIFY, NM_RETURN), 1);
  input::PressKey(VK_UP);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 0);

  int column = -1;
  host.onNotify = [&](NMHDR* hdr) {
    if (hdr->code == LVN_COLUMNCLICK) column = reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem;
  };
  input::Click(host.m_hWnd, CPoint(130, 5));
  EXPECT_EQ(column, 1);
  // With its header hidden, a press on the header's band lies on the list itself: nothing takes
  // it, and the header shown again takes its clicks again.
  column = -1;
  list.GetHeaderCtrl()->ShowWindow(SW_HIDE);
  input::Click(host.m_hWnd, CPoint(130, 5));
  EXPECT_EQ(column, -1);
  list.GetHeaderCtrl()->ShowWindow(SW_SHOW);
  input::Click(host.m_hWnd, CPoint(30, 5));
  EXPECT_EQ(column, 0);
}

TEST_F(ListCtrlTest, CheckBoxesToggleByClickOnTheStateIcon) {
  Make();
  list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  Fill({{"kim", 1}});
  EXPECT_FALSE(list.GetCheck(0));
  RECT bounds{};
  ASSERT_TRUE(list.GetItemRect(0, &bounds, LVIR_BOUNDS));
  input::Click(host.m_hWnd, CPoint(bounds.left + 5, bounds.top + 5));
  EXPECT_TRUE(list.GetCheck(0));
  list.SetCheck(0, FALSE);
  EXPECT_FALSE(list.GetCheck(0));
  EXPECT_EQ(list.GetExtendedStyle(), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
}

TEST_F(ListCtrlTest, RectanglesHitTestAndBadIndexes) {
  Make();
  Fill({{"kim", 1}, {"lee", 2}});
  RECT first{}, second{};
  ASSERT_TRUE(list.GetItemRect(0, &first, LVIR_BOUNDS));
  ASSERT_TRUE(list.GetItemRect(1, &second, LVIR_BOUNDS));
  EXPECT_EQ(second.top, first.bottom);
  EXPECT_GT(first.top, 0);  // below the header
  CRect cell;
  ASSERT_TRUE(list.GetSubItemRect(1, 1, LVIR_BOUNDS, cell));
  EXPECT_EQ(cell.left, 100);
  EXPECT_EQ(cell.right, 160);
  UINT flags = 0;
  EXPECT_EQ(list.HitTest(CPoint(120, (second.top + second.bottom) / 2), &flags), 1);
  EXPECT_NE(flags & LVHT_ONITEM, 0u);
  EXPECT_EQ(list.HitTest(CPoint(120, 190), &flags), -1);
  EXPECT_FALSE(list.GetItemRect(5, &first, LVIR_BOUNDS));
  EXPECT_EQ(list.GetItemText(9, 0), "");
  EXPECT_FALSE(list.SetItemText(9, 0, "x"));
  EXPECT_FALSE(list.SetItemText(0, 5, "x"));
  EXPECT_FALSE(list.DeleteItem(2));
  EXPECT_EQ(list.GetItemState(-3, LVIS_SELECTED), 0u);
}

TEST_F(ListCtrlTest, LongTextComesBackWhole) {
  Make();
  std::string longText(1000, 'x');
  list.InsertItem(0, longText.c_str());
  EXPECT_EQ(std::string(list.GetItemText(0, 0).GetString()), longText);
  char small[4] = {};
  EXPECT_EQ(list.GetItemText(0, 0, small, sizeof small), 3);
  EXPECT_STREQ(small, "xxx");
}

TEST_F(ListCtrlTest, DeleteAllTellsTheParentAndSelectedPositionsWalk) {
  Make();
  Fill({{"a", 1}, {"b", 2}, {"c", 3}});
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
  std::vector<int> selected;
  for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;) selected.push_back(list.GetNextSelectedItem(pos));
  EXPECT_EQ(selected, (std::vector<int>{0, 2}));
  host.Forget();
  ASSERT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(host.Count(WM_NOTIFY, LVN_DELETEALLITEMS), 1);
  EXPECT_EQ(host.Count(WM_NOTIFY, LVN_DELETEITEM), 3);
}

TEST_F(ListCtrlTest, OwnerDrawnRowsGoToTheParent) {
  Make(LVS_OWNERDRAWFIXED);
  Fill({{"a", 11}, {"b", 22}});
  list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
  list.UpdateWindow();
  ASSERT_EQ(host.drawItems.size(), 2u);
  EXPECT_EQ(host.drawItems[1].CtlType, ODT_LISTVIEW);
  EXPECT_EQ(host.drawItems[1].itemID, 1u);
  EXPECT_EQ(host.drawItems[1].itemData, 22u);
  EXPECT_NE(host.drawItems[1].itemState & ODS_SELECTED, 0u);
}

// The list's own scrolling is what the window's scroll-bar functions answer.
class ListCtrlScrollTest : public ListCtrlTest {
protected:
  void FillRows(int count) {
    std::vector<std::pair<const char*, LPARAM>> rows;
    for (int i = 0; i < count; ++i) rows.emplace_back("row", i);
    Fill(rows);
  }
  SCROLLINFO Bar(int bar) {
    SCROLLINFO si{};
    EXPECT_TRUE(list.GetScrollInfo(bar, &si, SIF_ALL));
    return si;
  }
  bool Shows(DWORD bit) { return (list.GetStyle() & bit) != 0; }
};

TEST_F(ListCtrlScrollTest, VerticalBarFollowsRowsPageAndTopRow) {
  Make();
  FillRows(3);
  EXPECT_FALSE(Shows(WS_VSCROLL));  // everything fits
  FillRows(37);
  ASSERT_TRUE(Shows(WS_VSCROLL));
  int page = list.GetCountPerPage();
  ASSERT_GT(page, 2);
  ASSERT_LT(page, 40);
  SCROLLINFO si = Bar(SB_VERT);
  EXPECT_EQ(si.nMin, 0);
  EXPECT_EQ(si.nMax, 39);
  EXPECT_EQ(si.nPage, static_cast<UINT>(page));
  EXPECT_EQ(si.nPos, 0);

  ASSERT_TRUE(list.EnsureVisible(39, FALSE));
  EXPECT_EQ(list.GetTopIndex(), 40 - page);
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 40 - page);
  list.SendMessage(WM_VSCROLL, SB_LINEUP);
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 39 - page);
  list.SendMessage(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 39 - 2 * page);
  list.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5));
  EXPECT_EQ(list.GetTopIndex(), 5);
  list.SendMessage(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 40 - page);  // never past the last full page
  list.SendMessage(WM_VSCROLL, SB_TOP);
  EXPECT_EQ(list.GetTopIndex(), 0);

  // Scroll takes pixels and moves the nearest whole rows; a row's rectangle moves with the view.
  RECT before{}, after{};
  ASSERT_TRUE(list.GetItemRect(10, &before, LVIR_BOUNDS));
  int rowHeight = before.bottom - before.top;
  ASSERT_TRUE(list.Scroll(CSize(0, rowHeight / 2 - 1)));
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 0);
  ASSERT_TRUE(list.Scroll(CSize(0, 2 * rowHeight + (rowHeight + 1) / 2)));
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 3);
  ASSERT_TRUE(list.GetItemRect(10, &after, LVIR_BOUNDS));
  EXPECT_EQ(after.top, before.top - 3 * rowHeight);
  UINT flags = 0;
  EXPECT_EQ(list.HitTest(CPoint(20, (after.top + after.bottom) / 2), &flags), 10);
}

TEST_F(ListCtrlScrollTest, KeyboardAndDeletionMoveTheBar) {
  Make();
  FillRows(40);
  int page = list.GetCountPerPage();
  list.SetFocus();
  input::PressKey(VK_END);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 39);
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 40 - page);
  input::PressKey(VK_HOME);
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 0);
  input::PressKey(VK_NEXT);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), page);
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 1);

  // Deleting rows from the end pulls the view back; once all fit, the bar goes.
  list.SendMessage(WM_VSCROLL, SB_BOTTOM);
  while (list.GetItemCount() > page + 1) list.DeleteItem(list.GetItemCount() - 1);
  EXPECT_EQ(list.GetTopIndex(), 1);
  EXPECT_EQ(Bar(SB_VERT).nMax, page);
  list.DeleteItem(0);
  EXPECT_EQ(list.GetTopIndex(), 0);
  EXPECT_FALSE(Shows(WS_VSCROLL));
  EXPECT_EQ(list.GetScrollPos(SB_VERT), 0);
}

TEST_F(ListCtrlScrollTest, HorizontalBarFollowsColumnsAndMovesTheHeader) {
  Make();
  FillRows(2);
  EXPECT_FALSE(Shows(WS_HSCROLL));
  list.InsertColumn(2, "Note", LVCFMT_LEFT, 340);  // 500 pixels of columns in a 300-pixel list
  ASSERT_TRUE(Shows(WS_HSCROLL));
  CRect client;
  list.GetClientRect(&client);
  SCROLLINFO si = Bar(SB_HORZ);
  EXPECT_EQ(si.nMax, 499);
  EXPECT_EQ(si.nPage, static_cast<UINT>(client.Width()));

  CRect before, after;
  ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, before));
  list.SendMessage(WM_HSCROLL, SB_LINERIGHT);
  int step = list.GetScrollPos(SB_HORZ);
  EXPECT_GT(step, 0);
  ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, after));
  EXPECT_EQ(after.left, before.left - step);
  CRect header;
  list.GetHeaderCtrl()->GetWindowRect(&header);
  list.ScreenToClient(&header);
  EXPECT_EQ(header.left, -step);
  LVHITTESTINFO hit{};
  hit.pt = CPoint(after.left + 2, (after.top + after.bottom) / 2);
  EXPECT_EQ(list.HitTest(&hit), 0);
  EXPECT_EQ(hit.iSubItem, 1);

  list.SendMessage(WM_HSCROLL, SB_RIGHT);
  EXPECT_EQ(list.GetScrollPos(SB_HORZ), 500 - client.Width());
  list.Scroll(CSize(-30, 0));
  EXPECT_EQ(list.GetScrollPos(SB_HORZ), 470 - client.Width());
  // Narrowing the columns until they fit takes the bar and the offset away.
  list.SetColumnWidth(2, 40);
  EXPECT_FALSE(Shows(WS_HSCROLL));
  EXPECT_EQ(list.GetScrollPos(SB_HORZ), 0);
  ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, after));
  EXPECT_EQ(after.left, 100);
}

TEST_F(ListCtrlScrollTest, AVerticalBarNarrowsTheHorizontalPage) {
  Make();
  list.InsertColumn(2, "Note", LVCFMT_LEFT, 200);  // 360 pixels of columns
  FillRows(40);
  ASSERT_TRUE(Shows(WS_VSCROLL));
  ASSERT_TRUE(Shows(WS_HSCROLL));
  CRect client;
  list.GetClientRect(&client);
  EXPECT_EQ(client.Width(), 300 - 16);
  EXPECT_EQ(Bar(SB_HORZ).nPage, static_cast<UINT>(client.Width()));
  // The horizontal bar's height is taken from the rows' page too.
  RECT row{};
  ASSERT_TRUE(list.GetItemRect(0, &row, LVIR_BOUNDS));
  EXPECT_EQ(list.GetCountPerPage(), (client.Height() - row.top) / (row.bottom - row.top));
  EXPECT_EQ(Bar(SB_VERT).nPage, static_cast<UINT>(list.GetCountPerPage()));
}

}  // namespace

namespace {

// A right-aligned column ends its text at its right edge and a centred one leaves equal room on
// both sides: in every row, after the left-aligned first column.
TEST_F(ListCtrlTest, ColumnsDrawTheirTextWhereTheirAlignmentSays) {
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 200), &host, 62));
  const int width = 120;
  list.InsertColumn(0, "Left", LVCFMT_LEFT, width);
  list.InsertColumn(1, "Right", LVCFMT_RIGHT, width);
  list.InsertColumn(2, "Centre", LVCFMT_CENTER, width);
  for (const char* text : {"ab", "abcdef"}) {
    const int row = list.InsertItem(list.GetItemCount(), text);
    list.SetItemText(row, 1, text);
    list.SetItemText(row, 2, text);
  }
  list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CClientDC dc(&list);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  for (int row = 0; row < 2; ++row) {
    RECT bounds{};
    ASSERT_TRUE(list.GetItemRect(row, &bounds, LVIR_BOUNDS));
    for (int column = 0; column < 3; ++column) {
      SCOPED_TRACE(testing::Message() << "row " << row << " column " << column);
      const int start = column * width, end = start + width;
      int first = end, last = start - 1;
      for (int y = bounds.top; y < bounds.bottom; ++y)
        for (int x = start; x < end; ++x)
          if (dc.GetPixel(x, y) != window) first = std::min(first, x), last = std::max(last, x);
      ASSERT_LE(first, last) << "no text drawn";
      const int roomLeft = first - start, roomRight = end - 1 - last;
      if (column == 2) {
        EXPECT_NEAR(roomLeft, roomRight, 3);
      } else {
        EXPECT_LE(column == 0 ? roomLeft : roomRight, 10);
        EXPECT_GT(column == 0 ? roomRight : roomLeft, 30);
      }
    }
  }
}

// A hidden column (width 0) keeps its texts but shows nothing: no ellipsis on any row.
TEST_F(ListCtrlTest, ZeroWidthColumnsDrawNothing) {
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &host, 61));
  list.InsertColumn(0, "Key", LVCFMT_LEFT, 0);
  list.InsertColumn(1, "Blank", LVCFMT_LEFT, 120);
  for (const char* key : {"first-key", "second-key", "third-key"}) list.InsertItem(list.GetItemCount(), key);
  EXPECT_EQ(list.GetItemText(1, 0), "second-key");
  list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CClientDC dc(&list);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  for (int row = 0; row < 3; ++row) {
    SCOPED_TRACE(row);
    RECT bounds{};
    ASSERT_TRUE(list.GetItemRect(row, &bounds, LVIR_BOUNDS));
    int marked = 0;
    for (int y = bounds.top; y < bounds.bottom; ++y)
      for (int x = 0; x < 120; ++x) marked += dc.GetPixel(x, y) != window;
    EXPECT_EQ(marked, 0);
  }
}

}  // namespace

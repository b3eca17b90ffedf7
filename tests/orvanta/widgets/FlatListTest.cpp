// The flat header's column records, width limits, sort states and column drag and drop, and the
// flat list's row and cell colours, inside a real report list.

#include <platform/testinput.h>

#include "orvanta/widgets/FHDragWnd.h"
#include "orvanta/widgets/FHDropWnd.h"
#include "orvanta/widgets/FlatListCtrl.h"
#include "tests/orvanta/widgets/WidgetHost.h"

namespace {

using namespace widgets_test;

class FlatListTest : public WidgetTest {
protected:
  void SetUp() override {
    WidgetTest::SetUp();
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS,
                            CRect(0, 0, 500, 250), &host, 200));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Rank", LVCFMT_CENTER, 80);
    list.InsertColumn(2, "State", LVCFMT_LEFT, 120);
    list.InitColumns();
    header().ModifyStyle(0, HDS_DRAGDROP);
    list.SetExtendedStyle(LVS_EX_HEADERDRAGDROP);
  }
  CFlatHeaderCtrl& header() { return list.GetFlatHeader(); }
  // The middle of the heading at display position order.
  CPoint HeadingMiddle(int order) {
    CRect rect;
    header().GetItemRect(header().OrderToIndex(order), &rect);
    return rect.CenterPoint();
  }
  std::vector<int> Order() {
    std::vector<int> order(static_cast<std::size_t>(header().GetItemCount()));
    header().GetOrderArray(order.data(), static_cast<int>(order.size()));
    return order;
  }

  CFlatListCtrl list;
};

TEST_F(FlatListTest, RecordsFollowTheColumnsAndLimitTheirWidths) {
  ASSERT_TRUE(header().GetSafeHwnd());
  EXPECT_EQ(header().GetRecordCount(), 3);
  // Inserted past the end: appended with the defaults; the last deleted: the last record goes.
  list.InsertColumn(10, "Extra", LVCFMT_LEFT, 60);
  EXPECT_EQ(header().GetRecordCount(), 4);
  HDITEMEX record;
  ASSERT_TRUE(header().GetItemEx(3, record));
  EXPECT_EQ(record.nStyle, 0);
  EXPECT_EQ(record.iMaxWidth, -1);
  record.iMinWidth = 77;
  EXPECT_TRUE(header().SetItemEx(3, record));
  list.DeleteColumn(3);
  EXPECT_EQ(header().GetRecordCount(), 3);
  EXPECT_FALSE(header().GetItemEx(3, record));
  EXPECT_FALSE(header().SetItemEx(3, record));
  // A column added after InitColumns draws in black rather than reading past the colours.
  EXPECT_EQ(list.GetColumnColour(7), 0u);

  // Limits clamp the width; with minimum above maximum the content width is taken as it is.
  HDITEMEX limited{0, 130, 150};
  ASSERT_TRUE(header().SetItemEx(0, limited));
  EXPECT_EQ(list.GetColumnWidth(0), 130);
  HDITEMEX fit{HDITEMEX::kFitContent, 50, 40};
  ASSERT_TRUE(header().SetItemEx(1, fit));
  EXPECT_EQ(list.GetColumnWidth(1), header().ContentWidth(1, fit));
  EXPECT_LT(list.GetColumnWidth(1), 50);
}

TEST_F(FlatListTest, AFixedColumnCannotBeResizedByItsDivider) {
  ASSERT_TRUE(header().SetItemEx(0, HDITEMEX{HDITEMEX::kFixed, 0, -1}));
  CRect rect;
  header().GetItemRect(0, &rect);
  const CPoint divider(rect.right - 1, rect.CenterPoint().y);
  platform::input::Drag(header().m_hWnd, divider, CPoint(divider.x + 60, divider.y));
  EXPECT_EQ(list.GetColumnWidth(0), 100);
  platform::input::DoubleClick(header().m_hWnd, divider);
  EXPECT_EQ(list.GetColumnWidth(0), 100);
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
}

TEST_F(FlatListTest, ResizingHoldsTheCursorWithinTheColumnsLimits) {
  ASSERT_TRUE(header().SetItemEx(1, HDITEMEX{0, 60, 120}));
  CRect rect;
  header().GetItemRect(1, &rect);
  const CPoint divider(rect.right - 1, rect.CenterPoint().y);
  CRect screen;
  ::GetClipCursor(&screen);
  struct Case {
    int dx;
    int width;
  };
  // Past either limit the cursor stops where the width reaches it.
  for (const Case c : {Case{200, 120}, Case{-200, 60}, Case{15, 95}}) {
    SCOPED_TRACE(c.dx);
    platform::input::MouseDown(header().m_hWnd, divider);
    CRect clip;
    ::GetClipCursor(&clip);
    CPoint lowest(rect.left + 60 - 1, 0);
    header().ClientToScreen(&lowest);
    EXPECT_EQ(clip.left, lowest.x);
    EXPECT_EQ(clip.Width(), 61);
    EXPECT_EQ(clip.top, screen.top);  // the vertical hold stays as it was
    platform::input::MouseMove(header().m_hWnd, CPoint(divider.x + c.dx, divider.y));
    platform::input::MouseUp(header().m_hWnd, CPoint(divider.x + c.dx, divider.y));
    EXPECT_EQ(list.GetColumnWidth(1), c.width);
    ::GetClipCursor(&clip);
    EXPECT_EQ(clip, screen);  // released with the button
    list.SetColumnWidth(1, 80);
  }
  // A column without limits is sized freely and holds nothing.
  header().GetItemRect(2, &rect);
  platform::input::MouseDown(header().m_hWnd, CPoint(rect.right - 1, rect.CenterPoint().y));
  CRect clip;
  ::GetClipCursor(&clip);
  EXPECT_EQ(clip, screen);
  platform::input::MouseUp(header().m_hWnd, CPoint(rect.right - 1, rect.CenterPoint().y));
}

TEST_F(FlatListTest, PressingAHeadingFlipsItsSortStateAndDraggingMovesTheColumn) {
  header().InitColumnStates(3);
  EXPECT_EQ(header().GetColumnState(1), -1);
  std::vector<int> states;
  for (int press = 0; press < 3; ++press) {
    platform::input::Click(header().m_hWnd, HeadingMiddle(1));
    states.push_back(header().GetColumnState(1));
  }
  EXPECT_EQ(states, (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(header().GetColumnState(0), -1);
  EXPECT_EQ(header().GetColumnState(9), -1);

  // Dropped on itself or just right of itself: nothing moves.
  platform::input::Drag(header().m_hWnd, HeadingMiddle(0), CPoint(HeadingMiddle(0).x + 30, HeadingMiddle(0).y));
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
  EXPECT_FALSE(header().IsDragging());
  // Column 0 dropped right of the last heading's middle goes last.
  CRect last;
  header().GetItemRect(2, &last);
  platform::input::Drag(header().m_hWnd, HeadingMiddle(0), CPoint(last.right - 5, last.CenterPoint().y), 8);
  EXPECT_EQ(Order(), (std::vector<int>{1, 2, 0}));
  // While a drag runs, a copy of the heading follows the mouse and the indicator stands at the
  // divider the column would land on; both go with the release.
  platform::input::MouseDown(header().m_hWnd, HeadingMiddle(0));
  platform::input::MouseMove(header().m_hWnd, CPoint(HeadingMiddle(0).x + 20, HeadingMiddle(0).y));
  platform::input::MouseMove(header().m_hWnd, CPoint(last.right - 5, last.CenterPoint().y));
  ASSERT_TRUE(header().IsDragging());
  ASSERT_NE(header().GetDragImage(), nullptr);
  ASSERT_NE(header().GetDropIndicator(), nullptr);
  EXPECT_EQ(header().GetDropIndex(), 3);
  CRect indicator;
  header().GetDropIndicator()->GetWindowRect(&indicator);
  CRect headerRect;
  header().GetWindowRect(&headerRect);
  EXPECT_EQ(indicator.Height(), headerRect.Height() + 2 * CFHDropWnd::kOverhang);
  EXPECT_EQ(indicator.CenterPoint().x, headerRect.left + last.right);
  platform::input::MouseMove(header().m_hWnd, CPoint(HeadingMiddle(2).x, 200));  // off the headings
  EXPECT_EQ(header().GetDropIndex(), -1);
  EXPECT_EQ(header().GetDropIndicator(), nullptr);
  platform::input::MouseUp(header().m_hWnd, CPoint(HeadingMiddle(2).x, 200));
  EXPECT_EQ(header().GetDragImage(), nullptr);
  EXPECT_EQ(Order(), (std::vector<int>{1, 2, 0}));
  // The hot-divider message places the same indicator; an index out of range removes it.
  EXPECT_EQ(header().SetHotDivider(1), 1);
  EXPECT_NE(header().GetDropIndicator(), nullptr);
  EXPECT_EQ(header().SetHotDivider(4), 4);
  EXPECT_EQ(header().GetDropIndicator(), nullptr);
  // And column 2 (now in the middle) dropped before the first heading goes first.
  CRect first;
  header().GetItemRect(1, &first);
  platform::input::Drag(header().m_hWnd, HeadingMiddle(1), CPoint(first.left + 5, first.CenterPoint().y), 8);
  EXPECT_EQ(Order(), (std::vector<int>{2, 1, 0}));

  EXPECT_EQ(CFlatHeaderCtrl::EffectiveDropIndex(3, 2), -1);
  EXPECT_EQ(CFlatHeaderCtrl::EffectiveDropIndex(2, 2), -1);
  EXPECT_EQ(CFlatHeaderCtrl::EffectiveDropIndex(1, 2), 1);
  EXPECT_EQ(CFlatHeaderCtrl::MoveInOrder({0, 1, 2, 3}, 3, 0), (std::vector<int>{3, 0, 1, 2}));
  EXPECT_EQ(CFlatHeaderCtrl::MoveInOrder({0, 1, 2, 3}, 0, 4), (std::vector<int>{1, 2, 3, 0}));
  EXPECT_EQ(CFlatHeaderCtrl::MoveInOrder({0, 1}, 5, 0), (std::vector<int>{0, 1}));
}

TEST_F(FlatListTest, RowsAndCellsTakeTheirColours) {
  list.SetStatusColumn(2);
  list.SetKeyColumn(0);
  EXPECT_EQ(list.RowBackground(3, FALSE), 0xF1F1F1u);
  EXPECT_EQ(list.RowBackground(4, FALSE), 0xFDFDFDu);
  EXPECT_EQ(list.RowBackground(3, TRUE), 0x50E4FFu);
  EXPECT_EQ(list.RowBackground(4, TRUE), 0x50E4FFu);
  list.SetBackColor(0xF7F7F7);
  EXPECT_EQ(list.RowBackground(1, FALSE), 0xF7F7F7u);
  list.SetShading(FALSE);
  EXPECT_EQ(list.RowBackground(1, FALSE), 0xFDFDFDu);
  list.SetShading(TRUE);

  struct Cell {
    int column;
    const char* text;
    COLORREF colour;
  };
  const Cell cells[] = {
      {2, "Waiting", 0x008000}, {2, "Playing", 0x545AAD}, {2, "Pause", 0x545AAD}, {2, "Counting", 0x545AAD},
      {2, "Review", 0},         {2, "End", 0},            {0, "kim*", 0x804000},  {0, "Waiting", 0},
      {1, "Wait", 0},
  };
  for (const Cell& cell : cells)
    EXPECT_EQ(list.CellColour(cell.column, cell.text), cell.colour) << cell.column << " " << cell.text;
  // The key column only takes a column that exists.
  list.SetKeyColumn(3);
  EXPECT_EQ(list.GetKeyColumn(), 0);
  list.SetKeyColumn(2);
  EXPECT_EQ(list.GetKeyColumn(), 2);

  // Painted rows show the colours.
  list.SetKeyColumn(0);
  for (int row = 0; row < 3; ++row) {
    list.InsertItem(row, "player");
    list.SetItemText(row, 2, row == 1 ? "Playing" : "Waiting");
  }
  list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
  CRect second;
  list.GetItemRect(1, &second, LVIR_BOUNDS);
  CRect third;
  list.GetItemRect(2, &third, LVIR_BOUNDS);
  EXPECT_EQ(PixelAt(list, 295, second.top + 1), 0xF7F7F7u);
  EXPECT_EQ(PixelAt(list, 295, third.top + 1), 0x50E4FFu);
}

}  // namespace

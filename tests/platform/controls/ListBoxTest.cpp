#include "platform/controls.h"

#include "ControlHost.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class ListBoxTest : public ControlTest {
protected:
  CListBox list;
};

TEST_F(ListBoxTest, ClickSelectsAndNotifiesWithNotifyStyle) {
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(0, 0, 100, 100), &host, 40));
  list.AddString("a");
  list.AddString("b");
  list.SetItemHeight(0, 10);
  input::Click(host.m_hWnd, CPoint(5, 15));
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(host.Count(WM_COMMAND, LBN_SELCHANGE), 1);
  input::Click(host.m_hWnd, CPoint(5, 95));  // below the items
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(host.Count(WM_COMMAND, LBN_SELCHANGE), 1);
  RECT r{};
  EXPECT_EQ(list.GetItemRect(1, &r), LB_OKAY);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(list.GetItemRect(2, &r), LB_ERR);
}

TEST_F(ListBoxTest, SortedInsertAndMultipleSelection) {
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_MULTIPLESEL, CRect(0, 0, 100, 100), &host, 40));
  EXPECT_EQ(list.AddString("pear"), 0);
  EXPECT_EQ(list.AddString("Apple"), 0);
  EXPECT_EQ(list.AddString("zebra"), 2);
  EXPECT_EQ(list.SetCurSel(0), LB_ERR);  // not for multiple selection
  list.SetSel(-1, TRUE);
  EXPECT_EQ(list.GetSelCount(), 3);
  list.SetSel(1, FALSE);
  EXPECT_EQ(list.GetSelCount(), 2);
  CString text;
  list.GetText(2, text);
  EXPECT_EQ(text, "zebra");
  list.GetText(7, text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(list.DeleteString(5), LB_ERR);
  EXPECT_EQ(list.DeleteString(0), 2);
}

}  // namespace

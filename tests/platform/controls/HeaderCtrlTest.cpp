#include "platform/controls.h"

#include <vector>

#include "ControlHost.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class HeaderCtrlTest : public ControlTest {
protected:
  void Make(DWORD style) {
    ASSERT_TRUE(header.Create(WS_CHILD | WS_VISIBLE | HDS_BUTTONS | style, CRect(0, 0, 300, 20), &host, 50));
    for (const char* name : {"Name", "Rank", "Wins"}) Append(name, 100);
    host.Forget();
  }
  void Append(const char* text, int width) {
    HDITEM item{};
    item.mask = HDI_TEXT | HDI_WIDTH;
    item.pszText = const_cast<char*>(text);
    item.cxy = width;
    header.InsertItem(header.GetItemCount(), &item);
  }
  std::vector<int> Order() {
    std::vector<int> order(static_cast<std::size_t>(header.GetItemCount()));
    EXPECT_TRUE(header.GetOrderArray(order.data(), static_cast<int>(order.size())));
    return order;
  }
  CHeaderCtrl header;
};

TEST_F(HeaderCtrlTest, DragMovesTheColumnInTheOrderArray) {
  Make(HDS_DRAGDROP);
  int beginDrags = 0;
  int endOrder = -1;
  host.onNotify = [&](NMHDR* hdr) {
    auto* nm = reinterpret_cast<NMHEADER*>(hdr);
    if (hdr->code == HDN_BEGINDRAG) ++beginDrags;
    if (hdr->code == HDN_ENDDRAG) endOrder = nm->pitem->iOrder;
  };
  // "Name" dragged to the right half of "Wins": it becomes last.
  input::Drag(host.m_hWnd, CPoint(50, 10), CPoint(260, 10));
  EXPECT_EQ(beginDrags, 1);
  EXPECT_EQ(endOrder, 2);
  EXPECT_EQ(Order(), (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(header.OrderToIndex(0), 1);
  RECT r{};
  header.GetItemRect(0, &r);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(host.Count(WM_NOTIFY, HDN_ITEMCLICK), 0);
}

TEST_F(HeaderCtrlTest, ParentCanRefuseTheDrop) {
  Make(HDS_DRAGDROP);
  host.onNotify = [&](NMHDR* hdr) { host.notifyAnswer = hdr->code == HDN_ENDDRAG ? TRUE : FALSE; };
  input::Drag(host.m_hWnd, CPoint(50, 10), CPoint(260, 10));
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
}

TEST_F(HeaderCtrlTest, ClickWithoutMovingIsAnItemClick) {
  Make(HDS_DRAGDROP);
  input::Click(host.m_hWnd, CPoint(150, 10));
  ASSERT_EQ(host.Count(WM_NOTIFY, HDN_ITEMCLICK), 1);
  EXPECT_EQ(host.Count(WM_NOTIFY, HDN_BEGINDRAG), 0);
}

TEST_F(HeaderCtrlTest, DividerDragResizesTheItem) {
  Make(0);
  input::Drag(host.m_hWnd, CPoint(100, 10), CPoint(130, 10));
  HDITEM item{};
  item.mask = HDI_WIDTH;
  ASSERT_TRUE(header.GetItem(0, &item));
  EXPECT_EQ(item.cxy, 130);
  EXPECT_EQ(host.Count(WM_NOTIFY, HDN_BEGINTRACK), 1);
  EXPECT_EQ(host.Count(WM_NOTIFY, HDN_ENDTRACK), 1);
}

TEST_F(HeaderCtrlTest, HitTestFindsItemsAndDividers) {
  Make(0);
  HDHITTESTINFO info{};
  info.pt = CPoint(150, 5);
  EXPECT_EQ(header.HitTest(&info), 1);
  EXPECT_EQ(info.flags, HHT_ONHEADER);
  info.pt = CPoint(201, 5);
  EXPECT_EQ(header.HitTest(&info), 1);
  EXPECT_EQ(info.flags, HHT_ONDIVIDER);
  info.pt = CPoint(150, 40);
  EXPECT_EQ(header.HitTest(&info), -1);
  EXPECT_NE(info.flags & HHT_BELOW, 0u);
}

TEST_F(HeaderCtrlTest, OrderArrayRejectsWhatIsNotAPermutation) {
  Make(0);
  int repeated[3] = {0, 0, 1};
  EXPECT_FALSE(header.SetOrderArray(3, repeated));
  int outOfRange[3] = {0, 1, 7};
  EXPECT_FALSE(header.SetOrderArray(3, outOfRange));
  int tooShort[2] = {1, 0};
  EXPECT_FALSE(header.SetOrderArray(2, tooShort));
  int good[3] = {2, 0, 1};
  EXPECT_TRUE(header.SetOrderArray(3, good));
  EXPECT_EQ(Order(), (std::vector<int>{2, 0, 1}));
  // Deleting an item keeps the others in their relative order.
  EXPECT_TRUE(header.DeleteItem(2));
  EXPECT_EQ(Order(), (std::vector<int>{0, 1}));
}

TEST_F(HeaderCtrlTest, ItemFieldsRoundTripWithATruncatedText) {
  Make(0);
  HDITEM set{};
  set.mask = HDI_FORMAT | HDI_LPARAM | HDI_IMAGE | HDI_ORDER;
  set.fmt = HDF_IMAGE | HDF_BITMAP_ON_RIGHT | HDF_STRING;
  set.lParam = 99;
  set.iImage = 3;
  set.iOrder = 0;
  ASSERT_TRUE(header.SetItem(2, &set));
  char text[3] = {};
  HDITEM get{};
  get.mask = HDI_FORMAT | HDI_LPARAM | HDI_IMAGE | HDI_ORDER | HDI_TEXT;
  get.pszText = text;
  get.cchTextMax = sizeof text;
  ASSERT_TRUE(header.GetItem(2, &get));
  EXPECT_EQ(get.fmt, set.fmt);
  EXPECT_EQ(get.lParam, 99);
  EXPECT_EQ(get.iImage, 3);
  EXPECT_EQ(get.iOrder, 0);
  EXPECT_STREQ(text, "Wi");
  EXPECT_FALSE(header.GetItem(3, &get));
}

TEST_F(HeaderCtrlTest, HotDividerAndLayout) {
  Make(0);
  EXPECT_EQ(header.SetHotDivider(2), 2);
  EXPECT_EQ(header.SetHotDivider(9), -1);
  EXPECT_EQ(header.SetHotDivider(CPoint(195, 5)), 2);
  RECT area{0, 0, 300, 200};
  WINDOWPOS pos{};
  HDLAYOUT layout{&area, &pos};
  ASSERT_TRUE(header.Layout(&layout));
  EXPECT_GT(pos.cy, 0);
  EXPECT_EQ(area.top, pos.cy);
  EXPECT_EQ(pos.cx, 300);
}

}  // namespace

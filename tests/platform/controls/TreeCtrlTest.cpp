#include "platform/controls.h"

#include "ControlHost.h"

namespace {

using controls_test::ControlTest;

class TreeCtrlTest : public ControlTest {
protected:
  void SetUp() override {
    ControlTest::SetUp();
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASLINES, CRect(0, 0, 200, 200), &host, 70));
  }
  CTreeCtrl tree;
};

TEST_F(TreeCtrlTest, SelectFiresSelChangedBeforeReturning) {
  HTREEITEM games = tree.InsertItem("Games");
  HTREEITEM live = tree.InsertItem("Live", games);
  tree.SetItemData(live, 42);
  HTREEITEM seenNew = nullptr;
  LPARAM seenData = 0;
  HTREEITEM selectedDuringNotify = nullptr;
  host.onNotify = [&](NMHDR* hdr) {
    if (hdr->code != TVN_SELCHANGED) return;
    auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
    seenNew = nm->itemNew.hItem;
    seenData = nm->itemNew.lParam;
    selectedDuringNotify = tree.GetSelectedItem();
  };
  ASSERT_TRUE(tree.SelectItem(live));
  EXPECT_EQ(seenNew, live);
  EXPECT_EQ(seenData, 42);
  EXPECT_EQ(selectedDuringNotify, live);
  EXPECT_EQ(host.Count(WM_NOTIFY, TVN_SELCHANGING), 1);
  EXPECT_EQ(host.Count(WM_NOTIFY, TVN_SELCHANGED), 1);
  tree.SelectItem(live);  // no change: no notification
  EXPECT_EQ(host.Count(WM_NOTIFY, TVN_SELCHANGED), 1);
}

TEST_F(TreeCtrlTest, ParentCanRefuseASelection) {
  HTREEITEM a = tree.InsertItem("a");
  host.onNotify = [&](NMHDR* hdr) { host.notifyAnswer = hdr->code == TVN_SELCHANGING ? TRUE : FALSE; };
  EXPECT_FALSE(tree.SelectItem(a));
  EXPECT_EQ(tree.GetSelectedItem(), nullptr);
}

TEST_F(TreeCtrlTest, ChildrenSiblingsAndDeleteAll) {
  HTREEITEM root = tree.InsertItem("root");
  HTREEITEM b = tree.InsertItem("b", root);
  HTREEITEM a = tree.InsertItem("a", root, TVI_FIRST);
  HTREEITEM c = tree.InsertItem("c", root, b);
  EXPECT_EQ(tree.GetRootItem(), root);
  EXPECT_EQ(tree.GetChildItem(root), a);
  EXPECT_EQ(tree.GetNextSiblingItem(a), b);
  EXPECT_EQ(tree.GetNextSiblingItem(b), c);
  EXPECT_EQ(tree.GetPrevSiblingItem(a), nullptr);
  EXPECT_EQ(tree.GetParentItem(c), root);
  EXPECT_EQ(tree.GetParentItem(root), nullptr);
  EXPECT_TRUE(tree.ItemHasChildren(root));
  EXPECT_EQ(tree.GetItemText(c), "c");
  EXPECT_EQ(tree.GetCount(), 4u);
  tree.SelectItem(b);
  ASSERT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(tree.GetCount(), 0u);
  EXPECT_EQ(tree.GetSelectedItem(), nullptr);
  // Stale handles are refused, not followed.
  EXPECT_FALSE(tree.SelectItem(b));
  EXPECT_EQ(tree.GetItemText(b), "");
  EXPECT_EQ(tree.InsertItem("x", c), nullptr);
  EXPECT_EQ(host.Count(WM_NOTIFY, TVN_DELETEITEM), 4);
}

}  // namespace

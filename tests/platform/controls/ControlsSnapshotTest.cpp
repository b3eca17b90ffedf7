#include <cstdlib>
#include <string>

#include "ControlHost.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "support/SnapshotPath.h"

namespace {

using controls_test::ControlTest;

class ControlsSnapshotTest : public ControlTest {};

// Paints a window full of controls and writes it as a PNG (see SnapshotPath.h)
// so that the drawing can be looked at; checks a few pixels that must be there.
TEST_F(ControlsSnapshotTest, WindowWithSeveralControlsPaints) {
  host.MoveWindow(0, 0, 420, 300);
  CButton push, check, radio, group;
  ASSERT_TRUE(group.Create("Options", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, CRect(10, 5, 200, 95), &host, 1));
  ASSERT_TRUE(push.Create("OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, CRect(20, 25, 100, 50), &host, 2));
  ASSERT_TRUE(check.Create("Sound", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(20, 55, 100, 72), &host, 3));
  ASSERT_TRUE(radio.Create("Black", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(110, 55, 190, 72), &host, 4));
  check.SetCheck(BST_CHECKED);
  radio.SetCheck(BST_CHECKED);
  CStatic label;
  ASSERT_TRUE(label.Create("Name:", WS_CHILD | WS_VISIBLE, CRect(210, 10, 260, 28), &host, 5));
  CEdit edit;
  ASSERT_TRUE(edit.CreateEx(WS_EX_CLIENTEDGE, "Edit", "player", WS_CHILD | WS_VISIBLE, CRect(260, 8, 410, 30), &host, 6));
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(210, 40, 410, 62), &host, 7));
  combo.AddString("9 x 9");
  combo.AddString("19 x 19");
  combo.SetCurSel(1);
  CListBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(210, 70, 410, 120), &host, 8));
  box.AddString("first");
  box.AddString("second");
  box.SetCurSel(0);
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(10, 130, 260, 290), &host, 9));
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES);
  list.InsertColumn(0, "Player", LVCFMT_LEFT, 120);
  list.InsertColumn(1, "Rank", LVCFMT_LEFT, 80);
  list.InsertItem(0, "kim");
  list.SetItemText(0, 1, "3d");
  list.InsertItem(1, "lee");
  list.SetItemText(1, 1, "5k");
  list.SetCheck(1, TRUE);
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(270, 130, 410, 290), &host, 10));
  HTREEITEM rooms = tree.InsertItem("Rooms");
  tree.InsertItem("Room 1", rooms);
  tree.Expand(rooms, TVE_EXPAND);
  tree.SelectItem(rooms);

  host.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);

  std::string path = testsupport::SnapshotPath("controls_snapshot.png");
  ASSERT_TRUE(platform::SaveSurfacePng(host.m_hWnd, path.c_str()));

  platform::Surface shot;
  ASSERT_TRUE(platform::LoadPng(path.c_str(), shot));
  auto pixel = [&](int x, int y) { return shot.Row(y)[x]; };
  auto rgb = [](COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); };
  EXPECT_EQ(pixel(60, 28), static_cast<std::uint32_t>(rgb(::GetSysColor(COLOR_BTNFACE))));  // the push button face
  CRect row;
  ASSERT_TRUE(list.GetItemRect(0, &row, LVIR_BOUNDS));
  list.ClientToScreen(&row);
  host.ScreenToClient(&row);
  EXPECT_EQ(pixel(row.right - 3, row.top + 4), static_cast<std::uint32_t>(rgb(::GetSysColor(COLOR_BTNFACE))))
      << "selected row of an unfocused list shows in the face colour";
}

}  // namespace

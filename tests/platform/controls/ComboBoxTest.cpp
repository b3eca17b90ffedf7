#include "platform/controls.h"

#include "ControlHost.h"
#include "platform/testinput.h"

namespace {

using controls_test::ControlTest;
namespace input = platform::input;

class ComboBoxTest : public ControlTest {
protected:
  void Make(DWORD style) {
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | style, CRect(10, 10, 200, 34), &host, 30));
    combo.AddString("Korea");
    combo.AddString("Japan");
    combo.AddString("China");
    host.Forget();
  }
  CComboBox combo;
};

TEST_F(ComboBoxTest, DropDownHasAnEditChildWhoseChangesBecomeEditChange) {
  Make(CBS_DROPDOWN);
  CWnd* edit = combo.GetDlgItem(kComboEditId);
  ASSERT_NE(edit, nullptr);
  edit->SetFocus();
  input::TypeText("K");
  EXPECT_EQ(host.Count(WM_COMMAND, CBN_EDITCHANGE), 1);
  EXPECT_EQ(host.heard.back().id, 30);
  CString text;
  combo.GetWindowText(text);
  EXPECT_EQ(text, "K");
  // A selection shows in the edit without counting as an edit.
  combo.SetCurSel(1);
  combo.GetWindowText(text);
  EXPECT_EQ(text, "Japan");
  EXPECT_EQ(host.Count(WM_COMMAND, CBN_EDITCHANGE), 1);
}

TEST_F(ComboBoxTest, DropListHasNoEditAndSelectsByKeyWithSelChange) {
  Make(CBS_DROPDOWNLIST);
  EXPECT_EQ(combo.GetDlgItem(kComboEditId), nullptr);
  combo.SetCurSel(0);
  EXPECT_EQ(host.Count(WM_COMMAND, CBN_SELCHANGE), 0);  // programmatic: silent
  combo.SetFocus();
  input::PressKey(VK_DOWN);
  EXPECT_EQ(combo.GetCurSel(), 1);
  EXPECT_EQ(host.Count(WM_COMMAND, CBN_SELCHANGE), 1);
  input::PressKey(VK_DOWN);
  input::PressKey(VK_DOWN);  // already last: nothing changes
  EXPECT_EQ(combo.GetCurSel(), 2);
  EXPECT_EQ(host.Count(WM_COMMAND, CBN_SELCHANGE), 2);
  CString text;
  combo.GetWindowText(text);
  EXPECT_EQ(text, "China");
}

TEST_F(ComboBoxTest, ExtendedUiOpensWithTheArrowAndClosesWithSelEndOk) {
  Make(CBS_DROPDOWNLIST);
  combo.SetExtendedUI(TRUE);
  EXPECT_TRUE(combo.GetExtendedUI());
  combo.SetFocus();
  input::PressKey(VK_DOWN);
  EXPECT_TRUE(combo.GetDroppedState());
  EXPECT_EQ(host.Count(WM_COMMAND, CBN_DROPDOWN), 1);
  EXPECT_EQ(combo.GetCurSel(), -1);
  input::PressKey(VK_DOWN);
  input::PressKey(VK_RETURN);
  EXPECT_FALSE(combo.GetDroppedState());
  EXPECT_EQ(combo.GetCurSel(), 0);
  EXPECT_EQ(host.Count(WM_COMMAND, CBN_SELENDOK), 1);
  EXPECT_EQ(host.Count(WM_COMMAND, CBN_CLOSEUP), 1);
}

TEST_F(ComboBoxTest, ItemsDataAndBadIndexes) {
  Make(CBS_DROPDOWNLIST | CBS_SORT);
  CString text;
  combo.GetLBText(0, text);
  EXPECT_EQ(text, "China");
  EXPECT_EQ(combo.SetItemData(2, 77), CB_OKAY);
  EXPECT_EQ(combo.GetItemData(2), 77u);
  EXPECT_EQ(combo.SetItemData(3, 1), CB_ERR);
  EXPECT_EQ(combo.GetLBTextLen(-1), CB_ERR);
  char buffer[8] = {};
  EXPECT_EQ(combo.GetLBText(9, buffer), CB_ERR);
  EXPECT_EQ(combo.FindStringExact(-1, "japan"), 1);
  EXPECT_EQ(combo.FindString(1, "K"), 2);
  EXPECT_EQ(combo.SetCurSel(5), CB_ERR);
  EXPECT_EQ(combo.GetCurSel(), -1);
  combo.SetCurSel(2);
  combo.DeleteString(0);
  EXPECT_EQ(combo.GetCurSel(), 1);  // still Korea
  combo.ResetContent();
  EXPECT_EQ(combo.GetCount(), 0);
  EXPECT_EQ(combo.GetCurSel(), -1);
}

}  // namespace

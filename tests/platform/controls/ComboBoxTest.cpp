#include "platform/controls.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/testinput.h"
#include "support/SnapshotPath.h"

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

TEST_F(ComboBoxTest, ALongDroppedListShowsTheSelectionAndPicksFromWhereItIsScrolled) {
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 200, 100), &host, 30));
  for (int i = 0; i < 10; ++i) combo.AddString(("line " + std::to_string(i)).c_str());
  combo.SetCurSel(9);
  CRect field;
  combo.GetWindowRect(&field);
  EXPECT_LT(field.Height(), 90);
  combo.ShowDropDown(TRUE);
  HWND list = ::WindowFromPoint(CPoint(field.left + 5, field.bottom + 3));
  ASSERT_NE(list, combo.m_hWnd);
  CRect listRect;
  ::GetWindowRect(list, &listRect);
  int rows = (listRect.Height() - 2) / combo.GetItemHeight(0);
  ASSERT_LT(rows, 10);
  // The first row shown is the one that puts the selection on the last row.
  platform::input::Click(list, CPoint(5, 3));
  EXPECT_EQ(combo.GetCurSel(), 10 - rows);
  EXPECT_FALSE(combo.GetDroppedState());
}

constexpr UINT kComboDialogId = 300;
constexpr int kSize = 50, kBelow = 51;

// A dialog whose template gives the combo box its dropped height, with a button inside that height.
platform::DialogTemplate ComboTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION;
  t.cx = 160;
  t.cy = 100;
  platform::DialogItemTemplate combo;
  combo.className = "ComboBox";
  combo.id = kSize;
  combo.x = 10;
  combo.y = 10;
  combo.cx = 100;
  combo.cy = 80;
  combo.style = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE;
  platform::DialogItemTemplate button;
  button.className = "Button";
  button.id = kBelow;
  button.x = 10;
  button.y = 30;
  button.cx = 60;
  button.cy = 14;
  button.style = BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE;
  button.text = "Below";
  t.items = {combo, button};
  return t;
}

class ComboDialog : public CDialog {
public:
  ComboDialog() : CDialog(kComboDialogId) {}
  std::vector<std::pair<int, int>> commands;  // id, code

protected:
  BOOL OnInitDialog() override {
    for (const char* size : {"9 x 9", "13 x 13", "19 x 19"}) SendDlgItemMessage(kSize, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
    return CDialog::OnInitDialog();
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CDialog::OnCommand(wParam, lParam);
  }
};

class ComboBoxTemplateTest : public ::testing::Test {
protected:
  void SetUp() override {
    static platform::ResourceModule& module = platform::CreateResourceModule("combo-tests");
    platform::AddDialogTemplate(module, kComboDialogId, ComboTemplate());
    scope = std::make_unique<platform::ResourceScope>(module.Handle());
    ASSERT_TRUE(dialog.Create(kComboDialogId));
    dialog.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    dialog.DestroyWindow();
    scope.reset();
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  CRect RectOf(int id) {
    CRect r;
    dialog.GetDlgItem(id)->GetWindowRect(&r);
    dialog.ScreenToClient(&r);
    return r;
  }
  int Count(int id, int code) {
    int n = 0;
    for (const auto& c : dialog.commands) n += c == std::make_pair(id, code) ? 1 : 0;
    return n;
  }
  std::unique_ptr<platform::ResourceScope> scope;
  ComboDialog dialog;
};

TEST_F(ComboBoxTemplateTest, ClosedComboCoversOnlyItsFieldSoTheButtonBelowShowsAndClicks) {
  CRect combo = RectOf(kSize), button = RectOf(kBelow);
  ASSERT_LT(combo.bottom, button.top) << "the closed combo box is only its field";
  CRect dropped;
  dialog.GetDlgItem(kSize)->SendMessage(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  dialog.ScreenToClient(&dropped);
  EXPECT_EQ(dropped.TopLeft(), combo.TopLeft());
  EXPECT_GT(dropped.bottom, button.bottom) << "the template height is the dropped height";

  dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
  std::string path = testsupport::SnapshotPath("combo_template.png");
  ASSERT_TRUE(platform::SaveSurfacePng(dialog.m_hWnd, path.c_str()));
  platform::Surface shot;
  ASSERT_TRUE(platform::LoadPng(path.c_str(), shot));
  CRect client;
  dialog.GetClientRect(&client);
  CPoint origin(0, 0);
  dialog.ClientToScreen(&origin);
  CRect window;
  dialog.GetWindowRect(&window);
  CSize offset = origin - window.TopLeft();  // the surface holds the whole window
  auto pixel = [&](int x, int y) { return shot.Row(y + offset.cy)[x + offset.cx] & 0xFFFFFF; };
  auto rgb = [](COLORREF c) { return static_cast<std::uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)); };
  EXPECT_EQ(pixel(button.left + 4, button.top + button.Height() / 2), rgb(::GetSysColor(COLOR_BTNFACE)));
  EXPECT_NE(pixel(button.right - 1, button.bottom - 1), rgb(::GetSysColor(COLOR_WINDOW)));  // the button's frame

  platform::input::Click(dialog.m_hWnd, button.CenterPoint());
  EXPECT_EQ(Count(kBelow, BN_CLICKED), 1);
}

TEST_F(ComboBoxTemplateTest, DroppedListIsItsOwnPopUpAndAPickClosesIt) {
  HWND box = dialog.GetDlgItem(kSize)->m_hWnd;
  auto send = [&](UINT message, WPARAM wParam = 0) { return static_cast<int>(::SendMessage(box, message, wParam, 0)); };
  CRect field;
  ::GetWindowRect(box, &field);
  CPoint underField(field.left + 10, field.bottom + 5);
  EXPECT_NE(::WindowFromPoint(underField), box);

  send(CB_SHOWDROPDOWN, TRUE);
  EXPECT_EQ(Count(kSize, CBN_DROPDOWN), 1);
  HWND list = ::WindowFromPoint(underField);
  ASSERT_NE(list, nullptr);
  char name[32] = {};
  ::GetClassName(list, name, sizeof name);
  EXPECT_STREQ(name, "ComboLBox");
  CRect listRect;
  ::GetWindowRect(list, &listRect);
  int rowHeight = send(CB_GETITEMHEIGHT);
  EXPECT_EQ(listRect.left, field.left);
  EXPECT_EQ(listRect.top, field.bottom);
  EXPECT_EQ(listRect.Width(), field.Width());
  EXPECT_EQ(listRect.Height(), 3 * rowHeight + 2);  // three rows fit in the dropped height

  // A click on the second row picks it and closes the list.
  platform::input::Click(list, CPoint(5, 1 + rowHeight + 3));
  EXPECT_EQ(send(CB_GETCURSEL), 1);
  EXPECT_FALSE(send(CB_GETDROPPEDSTATE));
  EXPECT_FALSE(::IsWindowVisible(list));
  EXPECT_EQ(Count(kSize, CBN_SELCHANGE), 1);
  EXPECT_EQ(Count(kSize, CBN_CLOSEUP), 1);
  EXPECT_NE(::WindowFromPoint(underField), list);

  // Dropped again, the list follows the keys; the field keeps its own height throughout.
  send(CB_SHOWDROPDOWN, TRUE);
  EXPECT_TRUE(::IsWindowVisible(list));
  send(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(send(CB_GETCURSEL), 2);
  send(CB_SHOWDROPDOWN, FALSE);
  CRect after;
  ::GetWindowRect(box, &after);
  EXPECT_EQ(after, field);
  // Moving it to a new height changes the dropped height, not the field's.
  ::MoveWindow(box, 10, 10, 120, 40, TRUE);
  ::GetWindowRect(box, &after);
  EXPECT_EQ(after.Height(), field.Height());
  EXPECT_EQ(after.Width(), 120);
}

}  // namespace

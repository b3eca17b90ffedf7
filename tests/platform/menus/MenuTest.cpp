#include <gtest/gtest.h>

#include <string>

#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/testinput.h"
#include "platform/uiscript.h"

namespace {

constexpr UINT kCopy = 32771, kPaste = 32772, kBold = 32773, kGone = 32774;

class MenuTest : public ::testing::Test {
protected:
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
};

TEST_F(MenuTest, ItemsCanBeBuiltChangedAndRemoved) {
  CMenu bar;
  ASSERT_TRUE(bar.CreateMenu());
  CMenu edit;
  ASSERT_TRUE(edit.CreatePopupMenu());
  edit.AppendMenu(MF_STRING, kCopy, "&Copy");
  edit.AppendMenu(MF_SEPARATOR);
  edit.AppendMenu(MF_STRING | MF_GRAYED, kPaste, "&Paste");
  edit.InsertMenu(0, MF_BYPOSITION | MF_STRING | MF_CHECKED, kBold, "Bold");
  ASSERT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(edit.Detach()), "&Edit"));

  CMenu* sub = bar.GetSubMenu(0);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetMenuItemCount(), 4u);
  EXPECT_EQ(sub->GetMenuItemID(0), kBold);
  EXPECT_EQ(sub->GetMenuItemID(2), 0u);  // separator
  EXPECT_EQ(bar.GetMenuItemID(0), static_cast<UINT>(-1));  // pop-up
  EXPECT_EQ(bar.GetMenuState(0, MF_BYPOSITION), MF_POPUP | (4u << 8));
  // By command, the search reaches into pop-ups.
  EXPECT_EQ(bar.GetMenuState(kPaste, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(bar.CheckMenuItem(kBold, MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(bar.GetMenuState(kBold, MF_BYCOMMAND) & MF_CHECKED, 0u);
  bar.EnableMenuItem(kPaste, MF_ENABLED);
  EXPECT_EQ(bar.GetMenuState(kPaste, MF_BYCOMMAND) & MF_GRAYED, 0u);

  CString text;
  sub->GetMenuString(kCopy, text, MF_BYCOMMAND);
  EXPECT_EQ(text, "&Copy");
  char small[4];
  EXPECT_EQ(::GetMenuString(bar, kCopy, small, sizeof small, MF_BYCOMMAND), 3);
  EXPECT_STREQ(small, "&Co");
  EXPECT_TRUE(sub->ModifyMenu(kCopy, MF_BYCOMMAND | MF_STRING, kCopy, "Copy all"));
  sub->GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_EQ(text, "Copy all");

  EXPECT_TRUE(sub->RemoveMenu(kBold, MF_BYCOMMAND));
  EXPECT_FALSE(sub->RemoveMenu(kGone, MF_BYCOMMAND));
  EXPECT_FALSE(sub->DeleteMenu(9, MF_BYPOSITION));
  EXPECT_EQ(sub->GetMenuItemCount(), 3u);
  EXPECT_EQ(sub->CheckMenuItem(kGone, MF_CHECKED), static_cast<UINT>(-1));

  HMENU popup = bar.GetSubMenu(0)->m_hMenu;
  EXPECT_TRUE(bar.DeleteMenu(0, MF_BYPOSITION));
  EXPECT_FALSE(::IsMenu(popup));  // deleted with its item
  EXPECT_TRUE(bar.DestroyMenu());
  EXPECT_FALSE(bar.DestroyMenu());
}

TEST_F(MenuTest, OwnerDrawDataRoundTripsThroughItemInfo) {
  CMenu menu;
  menu.CreatePopupMenu();
  static int payload = 7;
  menu.AppendMenu(MF_OWNERDRAW, kCopy, reinterpret_cast<LPCTSTR>(&payload));
  MENUITEMINFO info;
  info.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_ID;
  ASSERT_TRUE(menu.GetMenuItemInfo(kCopy, &info));
  EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(&payload));
  EXPECT_EQ(info.fType & MFT_OWNERDRAW, MFT_OWNERDRAW);
  EXPECT_EQ(info.wID, kCopy);

  MENUITEMINFO change;
  change.fMask = MIIM_DATA | MIIM_STRING | MIIM_FTYPE;  // becomes a text item, data kept
  change.fType = MFT_STRING;
  change.dwItemData = 42;
  change.dwTypeData = const_cast<char*>("text kept aside");
  ASSERT_TRUE(menu.SetMenuItemInfo(0, &change, TRUE));
  char buffer[5];
  MENUITEMINFO read;
  read.fMask = MIIM_DATA | MIIM_STRING;
  read.dwTypeData = buffer;
  read.cch = sizeof buffer;
  ASSERT_TRUE(menu.GetMenuItemInfo(0, &read, TRUE));
  EXPECT_EQ(read.dwItemData, 42u);
  EXPECT_EQ(read.cch, 4u);
  EXPECT_STREQ(buffer, "text");
  // Asking for the length only.
  MENUITEMINFO length;
  length.fMask = MIIM_STRING;
  ASSERT_TRUE(menu.GetMenuItemInfo(0, &length, TRUE));
  EXPECT_EQ(length.cch, 15u);
  EXPECT_FALSE(menu.GetMenuItemInfo(5, &length, TRUE));
  MENUITEMINFO badSub;
  badSub.fMask = MIIM_SUBMENU;
  badSub.hSubMenu = reinterpret_cast<HMENU>(0x1);
  EXPECT_FALSE(menu.SetMenuItemInfo(0, &badSub, TRUE));
}

TEST_F(MenuTest, MenuResourcesLoadFromTheCurrentModule) {
  platform::ResourceModule& module = platform::CreateResourceModule("menu-tests");
  platform::MenuTemplate tmpl;
  tmpl.items = {{"&Edit", 0, 0, {{"&Copy", kCopy, 0, {}}, {"", 0, 0, {}}, {"&Paste", kPaste, MF_GRAYED, {}}}}};
  platform::AddMenuResource(module, 119, tmpl);
  platform::ResourceScope scope(module.Handle());
  CMenu menu;
  ASSERT_TRUE(menu.LoadMenu(119));
  CMenu* popup = menu.GetSubMenu(0);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->GetMenuItemCount(), 3u);
  EXPECT_EQ(popup->GetMenuItemID(2), kPaste);
  EXPECT_TRUE(popup->GetMenuState(2, MF_BYPOSITION) & MF_GRAYED);
  CMenu other;
  EXPECT_FALSE(other.LoadMenu(120));
}

// A window with a command handler and an update handler, as a frame would route them.
class CommandWnd : public CWnd {
public:
  int copies{0};
  int pastes{0};
  bool canPaste{false};
  std::vector<UINT> selected;

protected:
  void OnCopy() { ++copies; }
  void OnPaste() { ++pastes; }
  void OnUpdatePaste(CCmdUI* ui) { ui->Enable(canPaste); }
  void OnUpdateBold(CCmdUI* ui) {
    ui->SetCheck(1);
    ui->SetText("Bold!");
  }
  void OnInitMenuPopup(CMenu* popup, UINT, BOOL) { platform::UpdateMenuCommands(popup, this, TRUE); }
  void OnMenuSelect(UINT item, UINT, HMENU) { selected.push_back(item); }
  LRESULT OnMenuChar(UINT ch, UINT, CMenu* menu) {
    // 'b' picks the item at position 2 of the menu it was typed in.
    return ch == 'b' && menu ? MAKELRESULT(2, MNC_EXECUTE) : MAKELRESULT(0, MNC_IGNORE);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandWnd, CWnd)
  ON_COMMAND(kCopy, OnCopy)
  ON_COMMAND(kPaste, OnPaste)
  ON_UPDATE_COMMAND_UI(kPaste, OnUpdatePaste)
  ON_UPDATE_COMMAND_UI(kBold, OnUpdateBold)
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_MENUCHAR()
END_MESSAGE_MAP()

class PickScript : public platform::UiScript {
public:
  std::optional<UINT> pick;
  HMENU seen{nullptr};
  std::optional<UINT> OnPopupMenu(HMENU menu, POINT, HWND) override {
    seen = menu;
    return pick;
  }
};

TEST_F(MenuTest, PopupCommandReachesItsHandlerWithItsUpdateState) {
  CommandWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, kCopy, "Copy");
  menu.AppendMenu(MF_STRING, kPaste, "Paste");
  menu.AppendMenu(MF_STRING, kBold, "Bold");
  menu.AppendMenu(MF_STRING, kGone, "No handler");
  PickScript script;
  platform::ScopedUiScript use(&script);

  script.pick = kCopy;
  EXPECT_TRUE(menu.TrackPopupMenu(TPM_LEFTALIGN, 10, 10, &wnd));
  EXPECT_EQ(script.seen, menu.m_hMenu);
  EXPECT_EQ(wnd.copies, 0);  // posted
  platform::PumpMessages();
  EXPECT_EQ(wnd.copies, 1);
  // The update handlers ran before the pick.
  EXPECT_TRUE(menu.GetMenuState(kPaste, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(menu.GetMenuState(kGone, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(menu.GetMenuState(kBold, MF_BYCOMMAND) & MF_CHECKED);
  CString text;
  menu.GetMenuString(kBold, text, MF_BYCOMMAND);
  EXPECT_EQ(text, "Bold!");
  ASSERT_FALSE(wnd.selected.empty());
  EXPECT_EQ(wnd.selected.front(), kCopy);
  EXPECT_EQ(wnd.selected.back(), 0u);  // menu closed

  // A grayed item cannot be picked.
  script.pick = kPaste;
  testing::internal::CaptureStderr();
  EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &wnd), 0);
  testing::internal::GetCapturedStderr();
  wnd.canPaste = true;
  EXPECT_EQ(static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &wnd)), kPaste);
  platform::PumpMessages();
  EXPECT_EQ(wnd.pastes, 0);  // returned, not posted

  // Nobody answers: no command, and the question is logged.
  script.pick.reset();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(menu.TrackPopupMenu(0, 3, 4, &wnd));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("menu"), std::string::npos);

  // Typed characters reach the owner with the menu they were typed in.
  LRESULT answer = wnd.SendMessage(WM_MENUCHAR, MAKEWPARAM('b', MF_POPUP), reinterpret_cast<LPARAM>(menu.m_hMenu));
  EXPECT_EQ(HIWORD(answer), MNC_EXECUTE);
  EXPECT_EQ(LOWORD(answer), 2u);
  EXPECT_EQ(HIWORD(wnd.SendMessage(WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP), 0)), MNC_IGNORE);

  // A menu command disabled by its update handler meanwhile is dropped by the routing.
  wnd.canPaste = false;
  wnd.SendMessage(WM_COMMAND, kPaste, 0);
  EXPECT_EQ(wnd.pastes, 0);
}

TEST_F(MenuTest, AcceleratorsTranslateKeysAndCopyOut) {
  CommandWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
  wnd.SetFocus();
  ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'C', static_cast<WORD>(kCopy)},
                     {FVIRTKEY, VK_F5, static_cast<WORD>(kCopy)},
                     {0, 'v', static_cast<WORD>(kPaste)}};
  HACCEL table = ::CreateAcceleratorTable(entries, 3);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(::CopyAcceleratorTable(table, nullptr, 0), 3);
  ACCEL copy[2];
  EXPECT_EQ(::CopyAcceleratorTable(table, copy, 2), 2);
  EXPECT_EQ(copy[1].key, VK_F5);
  EXPECT_EQ(::CopyAcceleratorTable(nullptr, copy, 2), 0);

  MSG plainC{wnd.m_hWnd, WM_KEYDOWN, 'C', 0, 0, {0, 0}};
  EXPECT_FALSE(::TranslateAccelerator(wnd.m_hWnd, table, &plainC));  // Ctrl not held
  platform::input::SetModifier(VK_CONTROL, true);
  EXPECT_TRUE(::TranslateAccelerator(wnd.m_hWnd, table, &plainC));
  platform::input::SetModifier(VK_CONTROL, false);
  EXPECT_EQ(wnd.copies, 1);
  MSG f5{wnd.m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
  EXPECT_TRUE(::TranslateAccelerator(wnd.m_hWnd, table, &f5));
  EXPECT_EQ(wnd.copies, 2);
  wnd.canPaste = true;
  MSG v{wnd.m_hWnd, WM_CHAR, 'v', 0, 0, {0, 0}};
  EXPECT_TRUE(::TranslateAccelerator(wnd.m_hWnd, table, &v));
  EXPECT_EQ(wnd.pastes, 1);
  EXPECT_TRUE(::DestroyAcceleratorTable(table));
  EXPECT_FALSE(::TranslateAccelerator(wnd.m_hWnd, table, &f5));
}

TEST_F(MenuTest, KeyNamesFromScanCodes) {
  auto name = [](UINT vk, bool extended) {
    char buffer[64];
    LONG lParam = static_cast<LONG>((::MapVirtualKey(vk, MAPVK_VK_TO_VSC) << 16) | (extended ? 1u << 24 : 0u));
    ::GetKeyNameText(lParam, buffer, sizeof buffer);
    return std::string(buffer);
  };
  EXPECT_EQ(name(VK_F2, false), "F2");
  EXPECT_EQ(name(VK_F12, false), "F12");
  EXPECT_EQ(name('S', false), "S");
  EXPECT_EQ(name('7', false), "7");
  EXPECT_EQ(name(VK_DELETE, true), "Delete");
  EXPECT_EQ(name(VK_RETURN, false), "Enter");
  char tiny[3];
  EXPECT_EQ(::GetKeyNameText(static_cast<LONG>(0x3B << 16 | 0), tiny, 3), 2);  // F1 fits in "F1"
  EXPECT_EQ(::GetKeyNameText(static_cast<LONG>(0x0F << 16), tiny, 3), 2);      // "Tab" cut to "Ta"
  EXPECT_STREQ(tiny, "Ta");
  EXPECT_EQ(::GetKeyNameText(static_cast<LONG>(0x7F << 16), tiny, 3), 0);      // no such key
}

}  // namespace

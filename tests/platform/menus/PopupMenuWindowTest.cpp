#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/testinput.h"
#include "support/SnapshotPath.h"

namespace {

constexpr UINT kOpen = 100, kSave = 101, kGrid = 102, kBlack = 103, kWhite = 104, kQuit = 105;

// Owner of the menus: answers owner-drawn items' measurements and records what it is told.
class MenuOwner : public CWnd {
public:
  std::vector<MEASUREITEMSTRUCT> measured;
  std::vector<DRAWITEMSTRUCT> drawn;
  std::vector<std::pair<UINT, UINT>> selected;  // item, flags of WM_MENUSELECT
  UINT answerWidth{80};
  UINT answerHeight{30};

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_MEASUREITEM) {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      measured.push_back(*m);
      m->itemWidth = answerWidth;
      m->itemHeight = answerHeight;
      return TRUE;
    }
    if (message == WM_DRAWITEM) {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      drawn.push_back(*d);
      // Paint something recognisable where the item is.
      CDC* dc = CDC::FromHandle(d->hDC);
      dc->FillSolidRect(&d->rcItem, (d->itemState & ODS_SELECTED) ? RGB(200, 0, 0) : RGB(0, 160, 0));
      return TRUE;
    }
    if (message == WM_MENUSELECT) selected.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

class PopupMenuWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(menu.CreatePopupMenu());
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  void BuildTextMenu() {
    CMenu stones;
    ASSERT_TRUE(stones.CreatePopupMenu());
    stones.AppendMenu(MF_STRING, kBlack, "&Black");
    stones.AppendMenu(MF_STRING, kWhite, "&White");
    menu.AppendMenu(MF_STRING, kOpen, "&Open...\tCtrl+O");
    menu.AppendMenu(MF_STRING | MF_GRAYED, kSave, "&Save\tCtrl+S");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_CHECKED, kGrid, "Show &grid");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(stones.Detach()), "S&tones");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, kQuit, "E&xit");
  }
  HWND Open(POINT at = {40, 30}, UINT flags = 0) {
    HWND popup = platform::CreatePopupMenuWindow(menu, owner.m_hWnd, at, flags);
    EXPECT_NE(popup, nullptr);
    if (popup) ::ShowWindow(popup, SW_SHOWNOACTIVATE);
    return popup;
  }
  CRect ItemRect(HWND popup, int position) {
    CRect r;
    EXPECT_TRUE(platform::GetPopupMenuItemRect(popup, position, &r));
    return r;
  }
  // Paints the window and reads it back from a PNG (in $PLATFORM_SNAPSHOT_DIR when set).
  bool Shot(HWND popup, const char* name, platform::Surface& shot) {
    ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    std::string path = testsupport::SnapshotPath(name);
    return platform::SaveSurfacePng(popup, path.c_str()) && platform::LoadPng(path.c_str(), shot);
  }
  MenuOwner owner;
  CMenu menu;
};

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TEST_F(PopupMenuWindowTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheOwner) {
  static int record = 7;
  menu.AppendMenu(MF_OWNERDRAW, kOpen, reinterpret_cast<LPCTSTR>(&record));
  menu.AppendMenu(MF_OWNERDRAW | MF_GRAYED | MF_CHECKED, kSave, reinterpret_cast<LPCTSTR>(std::uintptr_t{42}));
  HWND popup = Open();

  ASSERT_EQ(owner.measured.size(), 2u);
  EXPECT_EQ(owner.measured[0].CtlType, ODT_MENU);
  EXPECT_EQ(owner.measured[0].itemID, kOpen);
  EXPECT_EQ(owner.measured[0].itemData, reinterpret_cast<ULONG_PTR>(&record));
  EXPECT_EQ(owner.measured[1].itemData, 42u);
  // Sizes follow the answer: the height as given, the width plus the check-mark column.
  CRect first = ItemRect(popup, 0), second = ItemRect(popup, 1);
  EXPECT_EQ(first.Height(), 30);
  EXPECT_EQ(second.top, first.bottom);
  // The system adds the check-mark width, less one, to what the owner measured.
  EXPECT_EQ(first.Width(), 80 + ::GetSystemMetrics(SM_CXMENUCHECK) - 1);
  CRect window;
  ::GetWindowRect(popup, &window);
  EXPECT_EQ(window.Height(), 60 + 6);
  EXPECT_EQ(window.TopLeft(), CPoint(40, 30));

  ASSERT_TRUE(platform::SetPopupMenuHighlight(popup, 0));
  owner.drawn.clear();
  ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_EQ(owner.drawn.size(), 2u);
  const DRAWITEMSTRUCT& open = owner.drawn[0];
  EXPECT_EQ(open.CtlType, ODT_MENU);
  EXPECT_EQ(open.itemID, kOpen);
  EXPECT_EQ(open.itemData, reinterpret_cast<ULONG_PTR>(&record));
  EXPECT_EQ(open.hwndItem, reinterpret_cast<HWND>(menu.GetSafeHmenu()));
  EXPECT_EQ(open.itemState, ODS_SELECTED);
  EXPECT_EQ(CRect(open.rcItem), first);
  const DRAWITEMSTRUCT& save = owner.drawn[1];
  EXPECT_NE(save.itemState & ODS_GRAYED, 0u);
  EXPECT_NE(save.itemState & ODS_CHECKED, 0u);
  EXPECT_EQ(save.itemState & ODS_SELECTED, 0u);
  EXPECT_EQ(save.itemData, 42u);

  // The owner's drawing is what the window shows.
  platform::Surface shot;
  ASSERT_TRUE(Shot(popup, "popup_menu_owner_drawn.png", shot));
  EXPECT_EQ(shot.Row(first.top + 5)[first.left + 5] & 0xFFFFFF, Rgb(RGB(200, 0, 0)));
  EXPECT_EQ(shot.Row(second.top + 5)[second.left + 5] & 0xFFFFFF, Rgb(RGB(0, 160, 0)));
}

TEST_F(PopupMenuWindowTest, HitTestHighlightAndChoice) {
  BuildTextMenu();
  HWND popup = Open();
  ASSERT_EQ(platform::GetPopupMenuWindowMenu(popup), menu.GetSafeHmenu());
  CRect open = ItemRect(popup, 0), separator = ItemRect(popup, 2), quit = ItemRect(popup, 6);
  EXPECT_LT(separator.Height(), open.Height());
  EXPECT_EQ(platform::PopupMenuItemFromPoint(popup, open.CenterPoint()), 0);
  EXPECT_EQ(platform::PopupMenuItemFromPoint(popup, quit.CenterPoint()), 6);
  EXPECT_EQ(platform::PopupMenuItemFromPoint(popup, CPoint(1, 1)), -1);  // the frame
  EXPECT_EQ(platform::PopupMenuItemFromPoint(popup, CPoint(open.left, quit.bottom + 50)), -1);

  // Separators take no highlight; grayed items and pop-ups do, but give no command.
  EXPECT_FALSE(platform::SetPopupMenuHighlight(popup, 2));
  EXPECT_EQ(platform::GetPopupMenuHighlight(popup), -1);
  EXPECT_FALSE(platform::SetPopupMenuHighlight(popup, 99));
  ASSERT_TRUE(platform::SetPopupMenuHighlight(popup, 1));
  EXPECT_EQ(platform::GetPopupMenuCommand(popup), 0u);
  ASSERT_TRUE(platform::SetPopupMenuHighlight(popup, 4));
  EXPECT_EQ(platform::GetPopupMenuCommand(popup), 0u);
  ASSERT_FALSE(owner.selected.empty());
  EXPECT_EQ(owner.selected.back().first, 4u);  // a pop-up item is named by position
  EXPECT_NE(owner.selected.back().second & MF_POPUP, 0u);
  ASSERT_TRUE(platform::SetPopupMenuHighlight(popup, 3));
  EXPECT_EQ(platform::GetPopupMenuCommand(popup), kGrid);
  EXPECT_EQ(owner.selected.back(), std::make_pair(kGrid, MF_CHECKED | MF_HILITE));

  // The mouse: moving highlights, a release on a grayed item does nothing, on a command ends.
  namespace input = platform::input;
  input::MouseMove(popup, ItemRect(popup, 0).CenterPoint());
  EXPECT_EQ(platform::GetPopupMenuHighlight(popup), 0);
  UINT chosen = 99;
  input::Click(popup, ItemRect(popup, 1).CenterPoint());
  EXPECT_FALSE(platform::IsPopupMenuEnded(popup, &chosen));
  input::Click(popup, quit.CenterPoint());
  ASSERT_TRUE(platform::IsPopupMenuEnded(popup, &chosen));
  EXPECT_EQ(chosen, kQuit);
}

TEST_F(PopupMenuWindowTest, KeysWalkPastSeparatorsAndEscapeChoosesNothing) {
  BuildTextMenu();
  HWND popup = Open();
  auto key = [&](UINT vk) { ::SendMessage(popup, WM_KEYDOWN, vk, 0); };
  key(VK_DOWN);
  EXPECT_EQ(platform::GetPopupMenuHighlight(popup), 0);
  key(VK_DOWN);
  key(VK_DOWN);
  EXPECT_EQ(platform::GetPopupMenuHighlight(popup), 3);  // past the separator
  key(VK_UP);
  key(VK_UP);
  key(VK_UP);
  EXPECT_EQ(platform::GetPopupMenuHighlight(popup), 6);  // wraps to the last
  key(VK_RETURN);
  UINT chosen = 0;
  ASSERT_TRUE(platform::IsPopupMenuEnded(popup, &chosen));
  EXPECT_EQ(chosen, kQuit);

  HWND second = Open();
  ::SendMessage(second, WM_KEYDOWN, VK_ESCAPE, 0);
  chosen = 99;
  ASSERT_TRUE(platform::IsPopupMenuEnded(second, &chosen));
  EXPECT_EQ(chosen, 0u);
}

TEST_F(PopupMenuWindowTest, PlacementStaysOnTheScreenAndBadArgumentsAreRefused) {
  BuildTextMenu();
  EXPECT_EQ(platform::CreatePopupMenuWindow(nullptr, owner.m_hWnd, POINT{0, 0}), nullptr);
  EXPECT_EQ(platform::CreatePopupMenuWindow(menu, nullptr, POINT{0, 0}), nullptr);
  EXPECT_EQ(platform::GetPopupMenuWindowMenu(owner.m_hWnd), nullptr);
  EXPECT_EQ(platform::PopupMenuItemFromPoint(owner.m_hWnd, POINT{5, 5}), -1);

  HWND right = Open(POINT{200, 150}, TPM_RIGHTALIGN | TPM_BOTTOMALIGN);
  CRect r;
  ::GetWindowRect(right, &r);
  EXPECT_EQ(r.BottomRight(), CPoint(200, 150));
  int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  HWND edge = Open(POINT{screenWidth - 5, 10});
  ::GetWindowRect(edge, &r);
  EXPECT_EQ(r.right, screenWidth);
  // Wide enough for the widest text and its key text.
  CDC* dc = owner.GetDC();
  EXPECT_GT(ItemRect(edge, 0).Width(), dc->GetTextExtent("Open...Ctrl+O").cx);
  owner.ReleaseDC(dc);
}

// A text menu with every kind of item, as a PNG to look at; the pixels that tell the kinds apart.
TEST_F(PopupMenuWindowTest, PaintedMenuShowsItsItems) {
  BuildTextMenu();
  HWND popup = Open();
  platform::SetPopupMenuHighlight(popup, 0);
  platform::Surface shot;
  ASSERT_TRUE(Shot(popup, "popup_menu.png", shot));
  auto pixel = [&](POINT p) { return shot.Row(p.y)[p.x] & 0xFFFFFF; };

  CRect open = ItemRect(popup, 0), save = ItemRect(popup, 1), grid = ItemRect(popup, 3), stones = ItemRect(popup, 4);
  EXPECT_EQ(pixel(CPoint(open.right - 2, open.top + 1)), Rgb(::GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(pixel(CPoint(save.right - 2, save.top + 1)), Rgb(::GetSysColor(COLOR_MENU)));
  auto countColor = [&](const CRect& r, COLORREF color) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += pixel(CPoint(x, y)) == Rgb(color) ? 1 : 0;
    }
    return n;
  };
  // Text on the highlight, gray text on the grayed item, a check mark and an arrow.
  EXPECT_GT(countColor(open, ::GetSysColor(COLOR_HIGHLIGHTTEXT)), 10);
  CRect saveText(save.left + 19, save.top, save.right, save.bottom);
  EXPECT_GT(countColor(saveText, ::GetSysColor(COLOR_GRAYTEXT)), 3);
  EXPECT_EQ(countColor(saveText, ::GetSysColor(COLOR_MENUTEXT)), 0);
  EXPECT_GT(countColor(CRect(grid.left, grid.top, grid.left + 19, grid.bottom), ::GetSysColor(COLOR_MENUTEXT)), 6);
  EXPECT_GT(countColor(CRect(stones.right - 16, stones.top, stones.right, stones.bottom), ::GetSysColor(COLOR_MENUTEXT)), 6);
  // The key text sits at the right end of the item, after the widest label.
  // (Counted as the pixels the text changed: how many come out fully opaque depends on the face.)
  CRect keyText(open.right - 40, open.top, open.right - 16, open.bottom);
  EXPECT_LT(countColor(keyText, ::GetSysColor(COLOR_HIGHLIGHT)), keyText.Width() * keyText.Height() - 20);
}

}  // namespace

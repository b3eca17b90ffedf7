// Pictures of the viewer's own menus opened: images of the tool bar beside the commands, check
// frames, grey disabled commands and the key names at the right.
#include <gtest/gtest.h>

#include <string>

#include "ClientSessionSupport.h"
#include "client/app/MenuItemRecord.h"
#include "platform/gdi.h"
#include "platform/menus.h"
#include "support/SnapshotPath.h"

namespace {

using clienttest::Session;

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Pixels in rect that differ from colour.
int CountOther(const platform::Surface& shot, const CRect& rect, COLORREF colour) {
  int count = 0;
  for (int y = std::max(0L, static_cast<long>(rect.top)); y < rect.bottom && y < shot.height; ++y) {
    for (int x = std::max(0L, static_cast<long>(rect.left)); x < rect.right && x < shot.width; ++x) {
      if ((shot.Row(y)[x] & 0xFFFFFF) != Rgb(colour)) ++count;
    }
  }
  return count;
}

TEST(ClientMenuPictureTest, MenusShowTheToolbarImagesChecksAndKeyNames) {
  Session s;
  s.Start();
  ASSERT_NE(s.frame, nullptr);
  CMainFrame& frame = *s.frame;
  HMENU bar = ::GetMenu(frame.m_hWnd);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(frame.GetMenuManager().GetImageSize(), CSize(16, 15));
  EXPECT_GE(frame.GetMenuManager().FindImageIndex(ID_FILE_OPEN), 0);

  struct Shot {
    int index;
    const char* file;
    int highlight;
    int imageItem;  // an item that has a tool bar image, -1 for none
  };
  const Shot shots[] = {
      {0, "client_menu_file.png", 0, 0},
      {1, "client_menu_view.png", 4, -1},
      {2, "client_menu_etc.png", 9, -1},
      {3, "client_menu_move.png", 2, 1},
  };
  for (const Shot& shot : shots) {
    SCOPED_TRACE(shot.file);
    HMENU popup = ::GetSubMenu(bar, shot.index);
    ASSERT_NE(popup, nullptr);
    frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), shot.index);
    ASSERT_EQ(frame.GetMenuManager().GetConvertedMenus().size(), 1u);
    HWND window = platform::CreatePopupMenuWindow(popup, frame.m_hWnd, POINT{20, 20});
    ASSERT_NE(window, nullptr);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    platform::SetPopupMenuHighlight(window, shot.highlight);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    const std::string path = testsupport::SnapshotPath(shot.file);
    ASSERT_TRUE(platform::SaveSurfacePng(window, path.c_str()));
    platform::Surface picture;
    ASSERT_TRUE(platform::LoadPng(path.c_str(), picture));
    if (shot.imageItem >= 0) {
      CRect item;
      ASSERT_TRUE(platform::GetPopupMenuItemRect(window, shot.imageItem, &item));
      CRect box(item.left, item.top, item.left + 20, item.bottom);
      CPoint origin(0, 0);
      ::ClientToScreen(window, &origin);
      CRect frameRect;
      ::GetWindowRect(window, &frameRect);
      box.OffsetRect(origin.x - frameRect.left, origin.y - frameRect.top);
      // The image box holds the button's glyph, not only the menu colour.
      EXPECT_GT(CountOther(picture, box, static_cast<COLORREF>(::GetSysColor(COLOR_MENU))), 10);
    }
    ::DestroyWindow(window);
    frame.SendMessage(WM_MENUSELECT, MAKELONG(0, 0xFFFF), 0);
    EXPECT_TRUE(frame.GetMenuManager().GetConvertedMenus().empty());
    CString text;
    ::GetMenuString(popup, 0, text.GetBuffer(256), 256, MF_BYPOSITION);
    text.ReleaseBuffer();
    EXPECT_FALSE(text.IsEmpty());
  }
  CString open;
  ::GetMenuString(::GetSubMenu(bar, 0), 0, open.GetBuffer(256), 256, MF_BYPOSITION);
  open.ReleaseBuffer();
  EXPECT_EQ(std::string(static_cast<const char*>(open)), "&Open...\tCtrl-O");
}

}  // namespace

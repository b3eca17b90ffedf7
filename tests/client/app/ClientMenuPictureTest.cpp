// Pictures of the viewer's own menus opened: images of the tool bar beside the commands, check
// frames, grey disabled commands and the key names at the right.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ClientSessionSupport.h"
#include "client/widgets/MenuItemRecord.h"
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

// The tool bar's pictures (shared by the menus) show what each command does: a folder to open, a
// diskette to save, a printer, and arrows pointing the way each move command goes.
TEST(ClientMenuPictureTest, ToolBarPicturesShowWhatTheirCommandsDo) {
  Session s;
  s.script.login = false;
  s.Start();
  CBitmap strip;
  ASSERT_TRUE(strip.LoadBitmap(IDR_MAINFRAME));
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap* old = memory.SelectObject(&strip);
  platform::Surface pixels;
  ASSERT_TRUE(platform::CopyDCPixels(&memory, pixels));
  memory.SelectObject(old);
  ::ReleaseDC(nullptr, screen.Detach());
  ASSERT_EQ(pixels.width, 16 * 8);

  const auto count = [&](int picture, const std::function<bool(std::uint32_t)>& is, int fromX = 0, int toX = 16) {
    int n = 0;
    for (int y = 0; y < pixels.height; ++y)
      for (int x = fromX; x < toX; ++x) n += is(pixels.Row(y)[picture * 16 + x] & 0xFFFFFF) ? 1 : 0;
    return n;
  };
  const auto navy = [](std::uint32_t c) { return c == 0x000080; };
  const auto yellow = [](std::uint32_t c) { return c == 0xFFFF00; };
  const auto white = [](std::uint32_t c) { return c == 0xFFFFFF; };
  const auto bluish = [](std::uint32_t c) {  // the letters' smoothed edges included
    const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return b > r + 40 && b > g + 40;
  };
  // Navy pixels of one column, for telling which way an arrow points.
  const auto column = [&](int picture, int x) { return count(picture, navy, x, x + 1); };
  const auto firstColumn = [&](int picture) {
    for (int x = 0; x < 16; ++x) if (column(picture, x) > 0) return column(picture, x);
    return 0;
  };
  const auto lastColumn = [&](int picture) {
    for (int x = 15; x >= 0; --x) if (column(picture, x) > 0) return column(picture, x);
    return 0;
  };
  enum { kOpen, kSave, kPrint, kFirst, kPrevious, kNext, kLast, kHelp };
  EXPECT_GT(count(kOpen, yellow), 15);                       // the folder
  EXPECT_GT(count(kSave, navy), 100);                        // the diskette
  EXPECT_GT(count(kSave, white), 20);                        // its label
  EXPECT_GT(count(kPrint, white), 20);                       // the paper
  EXPECT_GT(count(kHelp, yellow), 40);                       // the balloon
  EXPECT_GT(count(kHelp, bluish), 5);                        // its question mark
  EXPECT_LT(firstColumn(kPrevious), lastColumn(kPrevious));  // tip on the left
  EXPECT_GT(firstColumn(kNext), lastColumn(kNext));          // tip on the right
  EXPECT_GE(firstColumn(kFirst), 8);                         // the bar at the start
  EXPECT_GE(lastColumn(kLast), 8);                           // the bar at the end
}

}  // namespace

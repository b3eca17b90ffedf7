#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/widgets/CoolMenuManager.h"
#include "client/widgets/MenuItemRecord.h"
#include "platform/controlbars.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/windows.h"

namespace {

constexpr UINT kBarA = 501, kBarB = 502, kBarWide = 503, kBarNoBitmap = 504;
constexpr UINT kOpen = 9001, kSave = 9002, kPrint = 9003, kPlain = 9004, kMarked = 9005;

// count images of width x height: a dark square on the button face in each.
platform::Surface Bar(int count, int width, int height) {
  platform::Surface pixels(count * width, height);
  const COLORREF face = static_cast<COLORREF>(::GetSysColor(COLOR_3DFACE));
  const std::uint32_t faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < count * width; ++x) {
      const int inX = x % width;
      pixels.Row(y)[x] = inX >= 4 && inX < width - 4 && y >= 4 && y < height - 4 ? 0x000080 : faceRgb;
    }
  }
  return pixels;
}

platform::ResourceModule& Module() {
  static platform::ResourceModule& module = [] () -> platform::ResourceModule& {
    platform::ResourceModule& m = platform::CreateResourceModule("cool-menu-tests");
    platform::AddBitmapResource(m, kBarA, Bar(2, 16, 15));
    platform::AddToolBarResource(m, kBarA, platform::ToolBarTemplate{16, 15, {kOpen, ID_SEPARATOR, kSave}});
    // kSave again, then kPrint: the first image of kSave stays, kPrint follows it.
    platform::AddBitmapResource(m, kBarB, Bar(2, 16, 15));
    platform::AddToolBarResource(m, kBarB, platform::ToolBarTemplate{16, 15, {kSave, kPrint}});
    platform::AddBitmapResource(m, kBarWide, Bar(1, 24, 24));
    platform::AddToolBarResource(m, kBarWide, platform::ToolBarTemplate{24, 24, {kPlain}});
    platform::AddToolBarResource(m, kBarNoBitmap, platform::ToolBarTemplate{16, 15, {kPlain}});
    return m;
  }();
  return module;
}

// A frame whose accelerator table the test sets.
class TestFrame : public CFrameWnd {
public:
  using CFrameWnd::m_hAccelTable;
};

class CoolMenuManagerTest : public ::testing::Test {
protected:
  void SetUp() override {
    scope = std::make_unique<platform::ResourceScope>(Module().Handle());
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr));
    manager.AttachToFrame(&frame);
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, kOpen, "&Open");
    popup.AppendMenu(MF_SEPARATOR, 0, nullptr);
    popup.AppendMenu(MF_STRING | MF_GRAYED, kSave, "&Save\tCtrl+S");
    popup.AppendMenu(MF_STRING | MF_CHECKED, kPlain, "&Plain");
    popup.AppendMenu(MF_STRING, kMarked, "Pri&nt");
    popup.AppendMenu(MF_STRING, 0xF060, "Close");
  }
  void TearDown() override {
    popup.DestroyMenu();
    platform::DestroyAllWindows();  // unhooks the manager as the frame goes
    platform::ResetMessageQueue();
  }
  CMenuItemRecord* Record(int position) {
    MENUITEMINFO info{};
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    ::GetMenuItemInfo(popup, static_cast<UINT>(position), TRUE, &info);
    return manager.RecordOf(info.dwItemData);
  }
  void Open() { frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), 0); }
  void Close() { frame.SendMessage(WM_MENUSELECT, MAKELONG(0, 0xFFFF), 0); }

  std::unique_ptr<platform::ResourceScope> scope;
  TestFrame& frame{*new TestFrame};  // frames delete themselves when their window goes
  CCoolMenuManager manager;
  CMenu popup;
};

TEST_F(CoolMenuManagerTest, ToolbarImagesKeepTheFirstImageAndOneSize) {
  ASSERT_TRUE(manager.AddToolbarImages(kBarA));
  ASSERT_TRUE(manager.AddToolbarImages(kBarB));
  EXPECT_EQ(manager.GetImageSize(), CSize(16, 15));
  EXPECT_EQ(manager.FindImageIndex(kOpen), 0);
  EXPECT_EQ(manager.FindImageIndex(kSave), 1);   // from the first tool bar
  EXPECT_EQ(manager.FindImageIndex(kPrint), 2);  // the ignored button did not take an index
  EXPECT_EQ(manager.FindImageIndex(kPlain), -1);
  // Another image size, or a tool bar without its bitmap, is refused and changes nothing.
  EXPECT_FALSE(manager.AddToolbarImages(kBarWide));
  EXPECT_FALSE(manager.AddToolbarImages(kBarNoBitmap));
  EXPECT_FALSE(manager.AddToolbarImages(4242));
  EXPECT_EQ(manager.FindImageIndex(kPlain), -1);
  EXPECT_EQ(manager.GetImageCount(), 4);
  // A colour change reloads the same images.
  frame.SendMessage(WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(manager.FindImageIndex(kSave), 1);
  EXPECT_EQ(manager.FindImageIndex(kPrint), 2);
  EXPECT_EQ(manager.GetImageCount(), 4);
}

TEST_F(CoolMenuManagerTest, PopupsAreOwnerDrawnWhileShownAndPlainAfterwards) {
  manager.AddToolbarImages(kBarA);
  // Someone else's owner-drawn item is never touched.
  popup.AppendMenu(MF_OWNERDRAW, 9100, reinterpret_cast<LPCTSTR>(std::uintptr_t{77}));
  Open();
  ASSERT_EQ(manager.GetConvertedMenus().size(), 1u);
  CMenuItemRecord* open = Record(0);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(std::string(open->text), "&Open");
  EXPECT_EQ(open->imageIndex, 0);
  EXPECT_TRUE(open->type & MFT_OWNERDRAW);
  ASSERT_NE(Record(1), nullptr);
  EXPECT_TRUE(Record(1)->type & MFT_SEPARATOR);
  EXPECT_EQ(std::string(Record(2)->text), "&Save\tCtrl+S");
  EXPECT_EQ(Record(3)->imageIndex, -1);
  EXPECT_NE(Record(5), nullptr);  // a high command of an ordinary pop-up is converted too
  MENUITEMINFO foreign{};
  foreign.fMask = MIIM_DATA;
  ::GetMenuItemInfo(popup, 6, TRUE, &foreign);
  EXPECT_EQ(foreign.dwItemData, 77u);

  // Measuring answers only for our records.
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_MENU;
  measure.itemData = reinterpret_cast<ULONG_PTR>(open);
  EXPECT_EQ(frame.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
  EXPECT_GE(static_cast<int>(measure.itemHeight), ::GetSystemMetrics(SM_CYMENU));
  EXPECT_GT(measure.itemWidth, 20u);
  MEASUREITEMSTRUCT separator{};
  separator.CtlType = ODT_MENU;
  separator.itemData = reinterpret_cast<ULONG_PTR>(Record(1));
  frame.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&separator));
  EXPECT_EQ(static_cast<int>(separator.itemHeight), ::GetSystemMetrics(SM_CYMENU) / 2);

  Close();
  EXPECT_TRUE(manager.GetConvertedMenus().empty());
  for (int position = 0; position < 6; ++position) {
    MENUITEMINFO info{};
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    ASSERT_TRUE(::GetMenuItemInfo(popup, static_cast<UINT>(position), TRUE, &info));
    EXPECT_EQ(info.dwItemData, 0u) << position;
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW) << position;
  }
  CString text;
  popup.GetMenuString(2, text, MF_BYPOSITION);
  EXPECT_EQ(std::string(text), "&Save\tCtrl+S");
}

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// Pixels of colour within rect of a picture.
int Count(const platform::Surface& shot, const CRect& rect, COLORREF colour) {
  int count = 0;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) count += (shot.Row(y)[x] & 0xFFFFFF) == Rgb(colour) ? 1 : 0;
  }
  return count;
}

TEST_F(CoolMenuManagerTest, ItemsAreDrawnWithImageCheckFrameGreyTextAndKeyColumn) {
  manager.AddToolbarImages(kBarA);
  Open();
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, 160, 24);
  CBitmap* old = memory.SelectObject(&bitmap);
  const COLORREF menu = static_cast<COLORREF>(::GetSysColor(COLOR_MENU));
  auto draw = [&](int position, UINT state) {
    memory.FillSolidRect(0, 0, 160, 24, menu);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hDC = memory.GetSafeHdc();
    item.rcItem = CRect(0, 0, 160, 24);
    item.itemData = reinterpret_cast<ULONG_PTR>(Record(position));
    EXPECT_EQ(frame.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
    platform::Surface shot;
    EXPECT_TRUE(platform::CopyDCPixels(&memory, shot));
    return shot;
  };
  const CRect box(0, 2, 20, 21);
  const CRect left(22, 0, 80, 24), right(100, 0, 140, 24);
  const COLORREF text = static_cast<COLORREF>(::GetSysColor(COLOR_MENUTEXT));
  const COLORREF grey = static_cast<COLORREF>(::GetSysColor(COLOR_GRAYTEXT));
  const COLORREF light = static_cast<COLORREF>(::GetSysColor(COLOR_3DHILIGHT));
  const COLORREF shadow = static_cast<COLORREF>(::GetSysColor(COLOR_3DSHADOW));

  // Enabled with an image: the image itself in the box, the text in menu text colour.
  platform::Surface open = draw(0, 0);
  EXPECT_GT(Count(open, box, RGB(0, 0, 128)), 20);
  EXPECT_GT(Count(open, left, text), 5);
  // Disabled with an image: embossed (shadow and highlight, no image colour), grey text with
  // its white offset copy, and the key name in the right-hand column.
  platform::Surface save = draw(2, ODS_GRAYED);
  EXPECT_EQ(Count(save, box, RGB(0, 0, 128)), 0);
  EXPECT_GT(Count(save, box, shadow), 20);
  EXPECT_GT(Count(save, box, light), 5);
  EXPECT_GT(Count(save, left, grey), 5);
  EXPECT_GT(Count(save, left, light), 5);
  EXPECT_LT(Count(save, right, menu), right.Width() * right.Height() - 20);
  // Checked without an image: a check frame with its sunken edge.
  platform::Surface plain = draw(3, ODS_CHECKED);
  EXPECT_GT(Count(plain, box, shadow), 4);
  EXPECT_GT(Count(plain, box, text), 4);
  // Selected: the highlight fills the item right of the box, the text turns highlight text.
  platform::Surface selected = draw(4, ODS_SELECTED);
  const COLORREF highlight = static_cast<COLORREF>(::GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_GT(Count(selected, CRect(30, 0, 160, 24), highlight), 1500);
  EXPECT_GT(Count(selected, left, static_cast<COLORREF>(::GetSysColor(COLOR_HIGHLIGHTTEXT))), 5);
  // A record that is not ours is left to its owner.
  DRAWITEMSTRUCT foreign{};
  foreign.CtlType = ODT_MENU;
  foreign.itemData = 77;
  foreign.hDC = memory.GetSafeHdc();
  EXPECT_FALSE(manager.OnDrawItem(&foreign));
  memory.SelectObject(old);
  ::ReleaseDC(nullptr, screen.Detach());
  Close();
}

// Items without an image show their own check bitmaps (checked or not); a checked radio item
// without one shows the dot.
TEST_F(CoolMenuManagerTest, ItemsShowTheirOwnCheckBitmapsAndRadioItemsTheDot) {
  manager.AddToolbarImages(kBarA);  // the image size sets the box's
  constexpr UINT kRadio = 9200;
  popup.AppendMenu(MF_STRING | MF_CHECKED, kRadio, "&Radio");
  MENUITEMINFO radio{};
  radio.fMask = MIIM_FTYPE;
  ::GetMenuItemInfo(popup, kRadio, FALSE, &radio);
  radio.fType |= MFT_RADIOCHECK;
  ::SetMenuItemInfo(popup, kRadio, FALSE, &radio);
  const int side = ::GetSystemMetrics(SM_CXMENUCHECK);
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CBitmap red, green;
  auto paint = [&](CBitmap& bitmap, COLORREF colour) {
    bitmap.CreateCompatibleBitmap(&screen, side, side);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, side, side, colour);
    dc.SelectObject(old);
  };
  paint(red, RGB(255, 0, 0));
  paint(green, RGB(0, 255, 0));
  for (UINT id : {kPlain, kMarked}) {
    MENUITEMINFO marks{};
    marks.fMask = MIIM_CHECKMARKS;
    marks.hbmpChecked = static_cast<HBITMAP>(red);
    marks.hbmpUnchecked = static_cast<HBITMAP>(green);
    ::SetMenuItemInfo(popup, id, FALSE, &marks);
  }
  Open();
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&screen, 160, 24);
  CBitmap* old = memory.SelectObject(&bitmap);
  auto draw = [&](int position, UINT id, UINT state) {
    memory.FillSolidRect(0, 0, 160, 24, static_cast<COLORREF>(::GetSysColor(COLOR_MENU)));
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = id;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = reinterpret_cast<HWND>(popup.m_hMenu);
    item.hDC = memory.GetSafeHdc();
    item.rcItem = CRect(0, 0, 160, 24);
    item.itemData = reinterpret_cast<ULONG_PTR>(Record(position));
    EXPECT_EQ(frame.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
    platform::Surface shot;
    EXPECT_TRUE(platform::CopyDCPixels(&memory, shot));
    return shot;
  };
  const CRect box(0, 0, 20, 24);
  const int whole = side * side;
  EXPECT_EQ(Count(draw(3, kPlain, ODS_CHECKED), box, RGB(255, 0, 0)), whole);
  EXPECT_EQ(Count(draw(4, kMarked, 0), box, RGB(0, 255, 0)), whole);
  // The radio dot: a small round dot in the menu text's colour on the box's light face, not the tick.
  const platform::Surface dot = draw(6, kRadio, ODS_CHECKED);
  const int black = Count(dot, box, RGB(0, 0, 0));
  EXPECT_GE(black, 4);
  EXPECT_LE(black, 30);
  EXPECT_GT(Count(dot, box, static_cast<COLORREF>(::GetSysColor(COLOR_3DLIGHT))), whole - 30);
  // Unchecked, the radio item shows nothing in its box.
  EXPECT_EQ(Count(draw(6, kRadio, 0), box, RGB(0, 0, 0)), 0);
  memory.SelectObject(old);
  ::ReleaseDC(nullptr, screen.Detach());
  Close();
}

TEST_F(CoolMenuManagerTest, AManagerGoingWhileAMenuIsOpenLeavesPlainItems) {
  CMenu other;
  other.CreatePopupMenu();
  other.AppendMenu(MF_STRING, kOpen, "&Open");
  {
    CCoolMenuManager second;
    second.SetMenuOwnerDraw(popup, FALSE, TRUE);
    second.SetMenuOwnerDraw(other, FALSE, TRUE);
    other.DestroyMenu();  // its record can only be freed by the manager now
  }
  MENUITEMINFO info{};
  info.fMask = MIIM_DATA | MIIM_FTYPE;
  ASSERT_TRUE(::GetMenuItemInfo(popup, 0, TRUE, &info));
  EXPECT_EQ(info.dwItemData, 0u);
  EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

TEST_F(CoolMenuManagerTest, SystemMenuCommandsKeepTheirOwnDrawing) {
  frame.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup.m_hMenu), MAKELONG(0, 1));
  EXPECT_NE(Record(0), nullptr);
  EXPECT_EQ(Record(5), nullptr);
  Close();
}

TEST_F(CoolMenuManagerTest, MnemonicsExecuteOneMatchAndCycleThroughSeveral) {
  popup.AppendMenu(MF_STRING, 9200, "&Pause");
  Open();
  auto menuChar = [&](char c) {
    return frame.SendMessage(WM_MENUCHAR, MAKELONG(static_cast<BYTE>(c), MF_POPUP), reinterpret_cast<LPARAM>(popup.m_hMenu));
  };
  EXPECT_EQ(menuChar('o'), MAKELRESULT(0, MNC_EXECUTE));
  EXPECT_EQ(menuChar('N'), MAKELRESULT(4, MNC_EXECUTE));
  EXPECT_EQ(menuChar('p'), MAKELRESULT(3, MNC_SELECT));  // nothing highlighted: the first
  MENUITEMINFO hilite{};
  hilite.fMask = MIIM_STATE;
  hilite.fState = MFS_HILITE | MFS_CHECKED;
  ::SetMenuItemInfo(popup, 3, TRUE, &hilite);
  EXPECT_EQ(menuChar('P'), MAKELRESULT(6, MNC_SELECT));  // the next after the highlighted one
  EXPECT_EQ(menuChar('z'), 0);
  Close();
}

TEST_F(CoolMenuManagerTest, AcceleratorTextsComeFromTheFramesTable) {
  const ACCEL keys[] = {
      {FVIRTKEY | FCONTROL, 'O', static_cast<WORD>(kOpen)},
      {FVIRTKEY | FCONTROL | FSHIFT, 'S', static_cast<WORD>(kSave)},
      {FVIRTKEY, VK_F12, static_cast<WORD>(kOpen)},
  };
  frame.m_hAccelTable = ::CreateAcceleratorTable(keys, 3);
  Open();
  // The last entry first, then back along the table; an older key text after a tab is replaced.
  EXPECT_EQ(std::string(Record(0)->text), "&Open\tF12, Ctrl+O");
  EXPECT_EQ(std::string(Record(2)->text), "&Save\tCtrl+Shift+S");
  EXPECT_EQ(std::string(Record(3)->text), "&Plain");
  Close();
  CString text;
  popup.GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_EQ(std::string(text), "&Open\tF12, Ctrl+O");
  // Switched off, the menus keep their own texts.
  manager.m_bAccelText = FALSE;
  popup.ModifyMenu(0, MF_BYPOSITION | MF_STRING, kOpen, "&Open");
  Open();
  EXPECT_EQ(std::string(Record(0)->text), "&Open");
  Close();
  ::DestroyAcceleratorTable(frame.m_hAccelTable);
  frame.m_hAccelTable = nullptr;
}

}  // namespace

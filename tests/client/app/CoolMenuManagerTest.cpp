#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/app/CoolMenuManager.h"
#include "client/app/MenuItemRecord.h"
#include "platform/controlbars.h"
#include "platform/gdi.h"
#include "platform/messageloop.h"
#include "platform/resources.h"
#include "platform/windows.h"

namespace {

constexpr UINT kBarA = 501, kBarB = 502, kBarWide = 503, kBarNoBitmap = 504;
constexpr UINT kOpen = 9001, kSave = 9002, kPrint = 9003, kPlain = 9004, kMarked = 9005;

platform::ResourceModule& Module() {
  static platform::ResourceModule& module = [] () -> platform::ResourceModule& {
    platform::ResourceModule& m = platform::CreateResourceModule("cool-menu-tests");
    platform::AddBitmapResource(m, kBarA, platform::Surface(16 * 2, 15));
    platform::AddToolBarResource(m, kBarA, platform::ToolBarTemplate{16, 15, {kOpen, ID_SEPARATOR, kSave}});
    // kSave again, then kPrint: the first image of kSave stays, kPrint follows it.
    platform::AddBitmapResource(m, kBarB, platform::Surface(16 * 2, 15));
    platform::AddToolBarResource(m, kBarB, platform::ToolBarTemplate{16, 15, {kSave, kPrint}});
    platform::AddBitmapResource(m, kBarWide, platform::Surface(24, 24));
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

#include <gtest/gtest.h>

#include <set>

#include "platform/messageloop.h"
#include "platform/windows.h"

namespace {

// Every window-message entry, each falling back on the base handler: the map must compile with the
// class library's handler signatures and route each message to the entry of its own number.
class AllEntriesWnd : public CWnd {
public:
  std::set<UINT> seen;

protected:
  LRESULT Note(UINT message) {
    seen.insert(message);
    return 0;
  }
  BOOL OnEraseBkgnd(CDC*) { return Note(WM_ERASEBKGND) == 0; }
  void OnMove(int, int) { Note(WM_MOVE); }
  BOOL OnSetCursor(CWnd*, UINT hitTest, UINT message) {
    Note(WM_SETCURSOR);
    return hitTest == HTCLIENT && message == WM_MOUSEMOVE;
  }
  void OnGetMinMaxInfo(MINMAXINFO* info) {
    Note(WM_GETMINMAXINFO);
    info->ptMaxSize.x = 640;
  }
  void OnContextMenu(CWnd*, CPoint point) { seen.insert(WM_CONTEXTMENU + static_cast<UINT>(point.x)); }
  HBRUSH OnCtlColor(CDC*, CWnd*, UINT ctlColor) {
    seen.insert(WM_CTLCOLORMSGBOX + ctlColor);
    return reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(0x55));
  }
  BOOL OnCopyData(CWnd*, COPYDATASTRUCT* data) {
    Note(WM_COPYDATA);
    return data->cbData == 3;
  }
  BOOL OnMouseWheel(UINT, short delta, CPoint) {
    Note(WM_MOUSEWHEEL);
    return delta == -120;
  }
  void OnHScroll(UINT code, UINT pos, CScrollBar*) { seen.insert(WM_HSCROLL + code + pos); }
  void OnDrawItem(int id, LPDRAWITEMSTRUCT) { seen.insert(WM_DRAWITEM + static_cast<UINT>(id)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(AllEntriesWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_NCDESTROY()
  ON_WM_PAINT()
  ON_WM_NCPAINT()
  ON_WM_ERASEBKGND()
  ON_WM_TIMER()
  ON_WM_SIZE()
  ON_WM_SIZING()
  ON_WM_MOVE()
  ON_WM_CLOSE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONUP()
  ON_WM_RBUTTONDBLCLK()
  ON_WM_MBUTTONDOWN()
  ON_WM_MBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSEWHEEL()
  ON_WM_SETCURSOR()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_CHAR()
  ON_WM_SYSKEYDOWN()
  ON_WM_SYSKEYUP()
  ON_WM_SYSCOMMAND()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_SHOWWINDOW()
  ON_WM_GETMINMAXINFO()
  ON_WM_CONTEXTMENU()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_CTLCOLOR()
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_COPYDATA()
  ON_WM_DROPFILES()
  ON_WM_ACTIVATE()
  ON_WM_ACTIVATEAPP()
  ON_WM_ENABLE()
  ON_WM_CAPTURECHANGED()
  ON_WM_MOUSEACTIVATE()
  ON_WM_GETDLGCODE()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_INITMENUPOPUP()
  ON_WM_MENUSELECT()
  ON_WM_CANCELMODE()
  ON_WM_SETTINGCHANGE()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_PALETTECHANGED()
  ON_WM_QUERYNEWPALETTE()
  ON_WM_NCACTIVATE()
  ON_WM_NCHITTEST()
  ON_WM_QUERYENDSESSION()
  ON_WM_ENDSESSION()
END_MESSAGE_MAP()

// A control drawing and colouring itself through reflection.
class OwnerDrawControl : public CWnd {
public:
  int drawn{0};
  int measured{0};
  UINT coloured{0xFFFF};
  UINT scrolled{0};

protected:
  HBRUSH CtlColor(CDC*, UINT ctlColor) {
    coloured = ctlColor;
    return reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(0x77));
  }
  void DrawItem(LPDRAWITEMSTRUCT) { ++drawn; }
  void MeasureItem(LPMEASUREITEMSTRUCT item) {
    ++measured;
    item->itemHeight = 21;
  }
  void HScroll(UINT code, UINT) { scrolled = code; }
  void VScroll(UINT, UINT) {}
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnerDrawControl, CWnd)
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_DRAWITEM_REFLECT()
  ON_WM_MEASUREITEM_REFLECT()
  ON_WM_HSCROLL_REFLECT()
  ON_WM_VSCROLL_REFLECT()
END_MESSAGE_MAP()

class MessageMapEntriesTest : public ::testing::Test {
protected:
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
};

TEST_F(MessageMapEntriesTest, CrackedArgumentsReachTheHandlers) {
  AllEntriesWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  EXPECT_TRUE(wnd.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  MINMAXINFO info{};
  wnd.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMaxSize.x, 640);
  wnd.SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(4, 9));
  EXPECT_EQ(wnd.SendMessage(WM_CTLCOLORSTATIC, 0, 0), 0x55);
  EXPECT_TRUE(wnd.seen.count(WM_CTLCOLORMSGBOX + CTLCOLOR_STATIC));
  char bytes[3] = {1, 2, 3};
  COPYDATASTRUCT data{1, 3, bytes};
  EXPECT_EQ(wnd.SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), TRUE);
  EXPECT_EQ(wnd.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0), TRUE);
  wnd.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
  EXPECT_TRUE(wnd.seen.count(WM_HSCROLL + SB_THUMBPOSITION + 10));
  EXPECT_TRUE(wnd.seen.count(WM_CONTEXTMENU + 4));
  EXPECT_TRUE(wnd.seen.count(WM_MOVE));  // sent at creation
  // Entries that fall back on the base handlers still behave as the default procedure does.
  wnd.SetWindowText("still works");
  EXPECT_EQ(wnd.GetWindowTextLength(), 11);
  wnd.SendMessage(WM_CLOSE);
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST_F(MessageMapEntriesTest, UnhandledControlMessagesAreReflectedToTheControl) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  OwnerDrawControl control;
  ASSERT_TRUE(control.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &parent, 12));
  EXPECT_EQ(parent.SendMessage(WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(control.m_hWnd)), 0x77);
  EXPECT_EQ(control.coloured, CTLCOLOR_BTN);
  DRAWITEMSTRUCT draw{ODT_BUTTON, 12, 0, ODA_DRAWENTIRE, 0, control.m_hWnd, nullptr, {0, 0, 10, 10}, 0};
  EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 12, reinterpret_cast<LPARAM>(&draw)), TRUE);
  EXPECT_EQ(control.drawn, 1);

  // A parent that handles the message itself keeps it.
  AllEntriesWnd mapped;
  ASSERT_TRUE(mapped.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  control.SetParent(&mapped);
  EXPECT_EQ(mapped.SendMessage(WM_CTLCOLOREDIT, 0, reinterpret_cast<LPARAM>(control.m_hWnd)), 0x55);
}

// The parent's default handlers (no override) reflect to the control.
class DefaultParent : public CWnd {
protected:
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DefaultParent, CWnd)
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_WM_HSCROLL()
END_MESSAGE_MAP()

TEST_F(MessageMapEntriesTest, DefaultOwnerDrawHandlersReflectToTheControl) {
  DefaultParent parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
  OwnerDrawControl control;
  ASSERT_TRUE(control.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &parent, 12));
  DRAWITEMSTRUCT draw{ODT_BUTTON, 12, 0, ODA_DRAWENTIRE, 0, control.m_hWnd, nullptr, {0, 0, 10, 10}, 0};
  EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 12, reinterpret_cast<LPARAM>(&draw)), TRUE);
  EXPECT_EQ(control.drawn, 1);
  MEASUREITEMSTRUCT measure{ODT_BUTTON, 12, 0, 0, 0, 0};
  parent.SendMessage(WM_MEASUREITEM, 12, reinterpret_cast<LPARAM>(&measure));
  EXPECT_EQ(control.measured, 1);
  EXPECT_EQ(measure.itemHeight, 21u);
  parent.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(control.m_hWnd));
  EXPECT_EQ(control.scrolled, SB_LINERIGHT);
}

}  // namespace

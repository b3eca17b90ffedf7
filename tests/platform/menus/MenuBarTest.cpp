#include "../../../platform/src/menus/MenuBar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/frames.h"
#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/surface.h"
#include "platform/testinput.h"
#include "platform/uiscript.h"
#include "support/SnapshotPath.h"

namespace {

constexpr UINT kOpen = 40001, kPass = 40002, kResign = 40003, kAbout = 40004, kNet = 40005;

// A frame with a four-item bar: two pop-ups, a command on the bar itself and a grayed pop-up.
class CBarFrame : public CFrameWnd {
public:
  std::vector<std::string> log;
  std::vector<HMENU> initMenus;  // WM_INITMENU, in order
  int passUpdates{0};
  int resignUpdates{0};

  BOOL Build() {
    if (!Create(nullptr, "Bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 20, 410, 320))) return FALSE;
    CMenu file, game, net;
    file.CreatePopupMenu();
    file.AppendMenu(MF_STRING, kOpen, "&Open");
    game.CreatePopupMenu();
    game.AppendMenu(MF_STRING, kPass, "&Pass");
    game.AppendMenu(MF_STRING, kResign, "&Resign");
    net.CreatePopupMenu();
    net.AppendMenu(MF_STRING, kNet, "&Connect");
    m_bar.CreateMenu();
    m_bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(file.Detach()), "&File");
    m_bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(game.Detach()), "&Game");
    m_bar.AppendMenu(MF_STRING, kAbout, "&About");
    m_bar.AppendMenu(MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(net.Detach()), "&Net");
    return SetMenu(&m_bar);
  }
  bool Logged(const char* entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_INITMENU) initMenus.push_back(reinterpret_cast<HMENU>(wParam));
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  CMenu m_bar;

protected:
  void OnOpen() { log.push_back("open"); }
  void OnPass() { log.push_back("pass"); }
  void OnResign() { log.push_back("resign"); }
  void OnAbout() { log.push_back("about"); }
  void OnUpdatePass(CCmdUI* ui) { ++passUpdates, ui->Enable(TRUE); }
  void OnUpdateResign(CCmdUI* ui) { ++resignUpdates, ui->Enable(FALSE); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
  ON_COMMAND(kOpen, OnOpen)
  ON_COMMAND(kPass, OnPass)
  ON_COMMAND(kResign, OnResign)
  ON_COMMAND(kAbout, OnAbout)
  ON_UPDATE_COMMAND_UI(kPass, OnUpdatePass)
  ON_UPDATE_COMMAND_UI(kResign, OnUpdateResign)
END_MESSAGE_MAP()

// Answers every pop-up with one command and records what it was shown.
class PickScript : public platform::UiScript {
public:
  UINT answer{0};
  std::vector<HMENU> menus;
  std::vector<POINT> points;
  std::function<void()> whileOpen;  // runs while the pop-up is shown
  std::optional<UINT> OnPopupMenu(HMENU menu, POINT screenPoint, HWND) override {
    if (whileOpen) whileOpen();
    menus.push_back(menu);
    points.push_back(screenPoint);
    return answer;
  }
};

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

class MenuBarTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_frame = new CBarFrame;
    ASSERT_TRUE(m_frame->Build());
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::ResetMessageQueue();
  }
  HWND Frame() const { return m_frame->GetSafeHwnd(); }
  // Item index of the bar in window coordinates.
  RECT ItemRect(int index) const { return platform::detail::MenuBar(Frame()).ItemRect(index); }
  // The centre of item index in the frame's client coordinates (above the client area).
  POINT ClientPointOf(int index) const {
    RECT item = ItemRect(index), window{};
    ::GetWindowRect(Frame(), &window);
    POINT at{window.left + (item.left + item.right) / 2, window.top + (item.top + item.bottom) / 2};
    ::ScreenToClient(Frame(), &at);
    return at;
  }
  // Pixels inside r of shot that pass test (text is smoothed, so ink is counted, not one colour).
  template <typename Test>
  static int Count(const platform::Surface& shot, const RECT& r, Test test) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += test(shot.Row(y)[x] & 0xFFFFFF) ? 1 : 0;
    }
    return n;
  }
  static bool Dark(std::uint32_t p) { return ((p >> 16) & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 && (p & 0xFF) < 0x60; }
  static bool Ink(std::uint32_t p) { return p != Rgb(::GetSysColor(COLOR_MENU)); }
  CBarFrame* m_frame{nullptr};  // destroys itself with its window
  PickScript m_script;
  platform::ScopedUiScript m_scoped{&m_script};
};

TEST_F(MenuBarTest, ItemsAreLaidOutLeftToRightInTheBand) {
  platform::detail::MenuBar bar(Frame());
  ASSERT_TRUE(bar.Shown());
  ASSERT_EQ(bar.ItemCount(), 4);
  RECT client{};
  ::GetClientRect(Frame(), &client);
  POINT origin{0, 0};
  ::ClientToScreen(Frame(), &origin);
  RECT window{};
  ::GetWindowRect(Frame(), &window);
  // The band ends where the client area starts.
  EXPECT_EQ(bar.Band().bottom, origin.y - window.top);
  EXPECT_EQ(bar.Band().bottom - bar.Band().top, 19);
  for (int i = 0; i < 4; ++i) {
    RECT r = bar.ItemRect(i);
    EXPECT_GT(r.right - r.left, 12) << i;
    EXPECT_EQ(r.top, bar.Band().top);
    if (i > 0) {
      EXPECT_EQ(r.left, bar.ItemRect(i - 1).right);
    }
    EXPECT_EQ(bar.ItemAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), i);
  }
  EXPECT_EQ(bar.ItemAt(POINT{bar.ItemRect(3).right + 5, bar.Band().top + 5}), -1);  // beside the items
  EXPECT_EQ(bar.ItemAt(POINT{bar.ItemRect(0).left + 2, bar.Band().bottom + 2}), -1);  // below the band
}

TEST_F(MenuBarTest, MnemonicsIgnoreCaseAndDoubledAmpersands) {
  m_frame->m_bar.ModifyMenu(2, MF_BYPOSITION | MF_STRING, kAbout, "Q&&A &Help");
  platform::detail::MenuBar bar(Frame());
  EXPECT_EQ(bar.ItemWithMnemonic('g'), 1);
  EXPECT_EQ(bar.ItemWithMnemonic('G'), 1);
  EXPECT_EQ(bar.ItemWithMnemonic('h'), 2);
  EXPECT_EQ(bar.ItemWithMnemonic('A'), -1);  // "&&A" is a literal ampersand
  EXPECT_EQ(bar.ItemWithMnemonic('z'), -1);
}

TEST_F(MenuBarTest, PaintsItemTextsInTheBand) {
  ::RedrawWindow(Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_FRAME);
  std::string path = testsupport::SnapshotPath("menu_bar.png");
  ASSERT_TRUE(platform::SaveSurfacePng(Frame(), path.c_str()));
  platform::Surface shot;
  ASSERT_TRUE(platform::LoadPng(path.c_str(), shot));
  platform::detail::MenuBar bar(Frame());
  ASSERT_GE(shot.height, bar.Band().bottom);
  for (int i = 0; i < 3; ++i) EXPECT_GT(Count(shot, bar.ItemRect(i), Dark), 20) << i;
  // The grayed item is written in light ink only.
  RECT net = bar.ItemRect(3);
  EXPECT_EQ(Count(shot, net, Dark), 0);
  EXPECT_GT(Count(shot, net, Ink), 20);
  // Past the items the band is plain menu colour.
  RECT rest{net.right + 2, bar.Band().top, bar.Band().right, bar.Band().bottom};
  EXPECT_EQ(Count(shot, rest, Ink), 0);
  // The mnemonic's underline: a dark run under the "F" of "&File", in the lower part of the item.
  RECT file = bar.ItemRect(0);
  RECT underline{file.left, (file.top + file.bottom) / 2 + 4, file.left + (file.right - file.left) / 2, file.bottom};
  bool run = false;
  for (int y = underline.top; y < underline.bottom && !run; ++y) {
    RECT row{underline.left, y, underline.right, y + 1};
    run = Count(shot, row, Dark) >= 4;
  }
  EXPECT_TRUE(run);
}

TEST_F(MenuBarTest, BandAnswersHtMenu) {
  RECT window{};
  ::GetWindowRect(Frame(), &window);
  RECT item = ItemRect(1);
  LPARAM onBar = MAKELPARAM(static_cast<WORD>(window.left + item.left + 3), static_cast<WORD>(window.top + item.top + 3));
  EXPECT_EQ(::SendMessage(Frame(), WM_NCHITTEST, 0, onBar), HTMENU);
  POINT inside{5, 5};
  ::ClientToScreen(Frame(), &inside);
  EXPECT_EQ(::SendMessage(Frame(), WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(inside.x), static_cast<WORD>(inside.y))),
            HTCLIENT);
  // The public rectangle of an item is where the band answers for it, in screen coordinates.
  RECT shown{};
  ASSERT_TRUE(::GetMenuItemRect(Frame(), m_frame->m_bar, 1, &shown));
  EXPECT_EQ(shown.left, window.left + item.left);
  EXPECT_EQ(shown.bottom, window.top + item.bottom);
  EXPECT_EQ(::SendMessage(Frame(), WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(shown.right - 2), static_cast<WORD>(shown.bottom - 2))),
            HTMENU);
  EXPECT_FALSE(::GetMenuItemRect(Frame(), m_frame->m_bar, 4, &shown));  // past the last item
  EXPECT_FALSE(::GetMenuItemRect(Frame(), ::GetSubMenu(m_frame->m_bar, 0), 0, &shown));  // not the bar shown
}

TEST_F(MenuBarTest, ClickOnAnItemOpensItsPopupAndRunsTheChosenCommand) {
  m_script.answer = kPass;
  platform::input::Click(Frame(), ClientPointOf(1));
  ASSERT_EQ(m_script.menus.size(), 1u);
  EXPECT_EQ(m_script.menus[0], ::GetSubMenu(m_frame->m_bar, 1));
  RECT window{}, item = ItemRect(1);
  ::GetWindowRect(Frame(), &window);
  EXPECT_EQ(m_script.points[0].x, window.left + item.left);
  EXPECT_EQ(m_script.points[0].y, window.top + item.bottom);
  ASSERT_FALSE(m_frame->initMenus.empty());
  EXPECT_EQ(m_frame->initMenus.front(), m_frame->m_bar.GetSafeHmenu());
  EXPECT_GT(m_frame->passUpdates, 0);
  EXPECT_GT(m_frame->resignUpdates, 0);
  EXPECT_TRUE(m_frame->Logged("pass"));
}

TEST_F(MenuBarTest, OpenItemIsDrawnPressedUntilItsPopupCloses) {
  RECT item = ItemRect(1);
  auto cornerColour = [&] {
    CWindowDC dc(m_frame);
    return dc.GetPixel(item.left, item.top);
  };
  COLORREF whileOpen = CLR_INVALID;
  m_script.whileOpen = [&] { whileOpen = cornerColour(); };
  platform::input::Click(Frame(), ClientPointOf(1));
  ASSERT_EQ(m_script.menus.size(), 1u);
  EXPECT_EQ(whileOpen, ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(cornerColour(), ::GetSysColor(COLOR_MENU));
}

TEST_F(MenuBarTest, GrayedCommandCannotBePicked) {
  m_script.answer = kResign;
  platform::input::Click(Frame(), ClientPointOf(1));
  ASSERT_EQ(m_script.menus.size(), 1u);
  EXPECT_GT(m_frame->resignUpdates, 0);
  EXPECT_FALSE(m_frame->Logged("resign"));
  EXPECT_TRUE(m_frame->log.empty());
}

TEST_F(MenuBarTest, CommandOnTheBarIsSentAtOnce) {
  m_script.answer = kOpen;
  platform::input::Click(Frame(), ClientPointOf(2));
  EXPECT_TRUE(m_script.menus.empty());
  EXPECT_EQ(m_frame->log, std::vector<std::string>{"about"});
}

TEST_F(MenuBarTest, GrayedItemAndEmptyBandOpenNothing) {
  m_script.answer = kNet;
  platform::input::Click(Frame(), ClientPointOf(3));
  POINT beside = ClientPointOf(3);
  beside.x += 150;
  platform::input::Click(Frame(), beside);
  EXPECT_TRUE(m_script.menus.empty());
  EXPECT_TRUE(m_frame->log.empty());
}

TEST_F(MenuBarTest, RemovingTheMenuRemovesTheBand) {
  RECT before{}, after{};
  ::GetClientRect(Frame(), &before);
  POINT onBar = ClientPointOf(0);
  ASSERT_TRUE(m_frame->SetMenu(nullptr));
  ::GetClientRect(Frame(), &after);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top + 19);
  EXPECT_FALSE(platform::detail::MenuBar(Frame()).Shown());
  // Where the bar was is the client area now.
  ::ClientToScreen(Frame(), &onBar);
  EXPECT_NE(::SendMessage(Frame(), WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(onBar.x), static_cast<WORD>(onBar.y))),
            HTMENU);
  EXPECT_TRUE(::DrawMenuBar(Frame()));
  // Clicking there no longer opens anything.
  m_script.answer = kOpen;
  platform::input::Click(Frame(), POINT{5, 2});
  EXPECT_TRUE(m_script.menus.empty());
}

}  // namespace

namespace {

TEST_F(MenuBarTest, AltLetterAndF10OpenPopupsFromAChild) {
  m_script.answer = kPass;
  CWnd child;
  ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), m_frame, 7));
  child.SendMessage(WM_SYSCHAR, 'g', 0);
  ASSERT_EQ(m_script.menus.size(), 1u);
  EXPECT_EQ(m_script.menus[0], ::GetSubMenu(m_frame->m_bar, 1));
  platform::PumpMessages();
  EXPECT_TRUE(m_frame->Logged("pass"));

  child.SendMessage(WM_SYSCHAR, 'x', 0);  // no such mnemonic
  EXPECT_EQ(m_script.menus.size(), 1u);
  child.SendMessage(WM_SYSKEYDOWN, VK_F10, 0);
  ASSERT_EQ(m_script.menus.size(), 2u);
  EXPECT_EQ(m_script.menus[1], ::GetSubMenu(m_frame->m_bar, 0));
}

}  // namespace

// Windows under a person's hands, through the X server: children repainted wherever their parent
// repaints, both arrows of a spin control and the notifications of a click on each, and the
// letters of an open menu, owner-drawn ones included.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../display/X11Session.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace {

constexpr COLORREF kBoardColour = RGB(0, 0, 255);
constexpr COLORREF kIconColour = RGB(0, 160, 0);
constexpr UINT kNew = 301, kNotes = 302, kNext = 303, kBlack = 311, kWhite = 312;

long Rgb(COLORREF c) { return static_cast<long>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c)); }

// A window that fills itself with one colour.
class Filled : public CWnd {
public:
  explicit Filled(COLORREF colour) : m_colour(colour) {}
  int paints{0};

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_PAINT) return CWnd::WindowProc(message, wParam, lParam);
    PAINTSTRUCT ps{};
    CDC* dc = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, m_colour);
    ::EndPaint(m_hWnd, &ps);
    ++paints;
    return 0;
  }

private:
  COLORREF m_colour;
};

// The frame of these tests: records scroll notifications and menu commands, answers the letters
// of its owner-drawn menu, and on F5 marks two areas of its board invalid as a burst of new lines
// does, one on each side of the icon between them.
class TestFrame : public CWnd {
public:
  std::vector<std::pair<UINT, int>> scrolls;  // message, code
  std::vector<int> positions;                 // the position each SB_THUMBPOSITION carried
  std::vector<UINT> commands;
  std::vector<char> menuChars;
  HWND board{nullptr};

protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_VSCROLL:
      case WM_HSCROLL:
        scrolls.emplace_back(message, LOWORD(wParam));
        if (LOWORD(wParam) == SB_THUMBPOSITION) positions.push_back(static_cast<SHORT>(HIWORD(wParam)));
        return 0;
      case WM_COMMAND:
        if (!lParam) commands.push_back(LOWORD(wParam));
        return 0;
      case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measure->itemWidth = 80;
        measure->itemHeight = 20;
        return TRUE;
      }
      case WM_DRAWITEM: return TRUE;
      case WM_MENUCHAR: {
        // The owner-drawn items are "Black" and "White": their letters are b and w.
        char ch = static_cast<char>(LOWORD(wParam));
        menuChars.push_back(ch);
        if (ch == 'w') return MAKELRESULT(1, MNC_EXECUTE);
        if (ch == 'b') return MAKELRESULT(0, MNC_EXECUTE);
        return MAKELRESULT(0, MNC_IGNORE);
      }
      case WM_KEYDOWN:
        if (wParam == VK_F5 && board) {
          RECT left{10, 10, 100, 190}, right{300, 10, 390, 190};
          ::InvalidateRect(board, &left, TRUE);
          ::InvalidateRect(board, &right, TRUE);
          return 0;
        }
        if (wParam == VK_F2) {
          HMENU menu = ::CreatePopupMenu();
          ::AppendMenu(menu, MF_OWNERDRAW, kBlack, nullptr);
          ::AppendMenu(menu, MF_OWNERDRAW, kWhite, nullptr);
          POINT at{40, 40};
          ClientToScreen(&at);
          ::TrackPopupMenu(menu, TPM_LEFTALIGN, at.x, at.y, 0, m_hWnd, nullptr);
          ::DestroyMenu(menu);
          return 0;
        }
        break;
      default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

using platform::testing::MenuOpen;

class X11WindowsTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!m_x.Open()) GTEST_SKIP() << "no X server";
    m_menu = ::CreateMenu();
    HMENU game = ::CreatePopupMenu();
    ::AppendMenu(game, MF_STRING, kNew, "&New");
    ::AppendMenu(game, MF_STRING, kNotes, "&Notes");
    ::AppendMenu(game, MF_STRING, kNext, "Ne&xt");
    ::AppendMenu(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(game), "&Game");
    ASSERT_TRUE(m_frame.CreateEx(0, nullptr, "Relay", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 60, 560, 420, nullptr,
                                 m_menu));
    m_frame.SetFocus();
    m_x.Settle();
  }

  platform::testing::X11Session m_x;
  TestFrame m_frame;
  HMENU m_menu{nullptr};
};

TEST_F(X11WindowsTest, AChildBetweenTwoInvalidAreasIsRepaintedWithItsParent) {
  Filled board(kBoardColour), icon(kIconColour);
  ASSERT_TRUE(board.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 410, 210), &m_frame, 10));
  ASSERT_TRUE(icon.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(180, 80, 220, 120), &board, 11));
  m_frame.board = board.m_hWnd;
  POINT middle{20, 20};
  ASSERT_TRUE(m_x.WaitFor([&] { return m_x.PixelAt(icon.m_hWnd, middle) == Rgb(kIconColour); }));
  for (int burst = 0; burst < 3; ++burst) {
    SCOPED_TRACE(burst);
    int before = board.paints;
    m_x.Keys(m_frame.m_hWnd, {XK_F5});
    ASSERT_TRUE(m_x.WaitFor([&] { return board.paints > before && !::GetUpdateRect(icon.m_hWnd, nullptr, FALSE); }));
    m_x.Settle();
    EXPECT_EQ(m_x.PixelAt(icon.m_hWnd, middle), Rgb(kIconColour));
    EXPECT_EQ(m_x.PixelAt(board.m_hWnd, POINT{50, 100}), Rgb(kBoardColour));
  }
}

TEST_F(X11WindowsTest, SpinControlsDrawBothArrowsAndNotifyEachClickInTheirOrientation) {
  struct Case {
    DWORD style;
    UINT message;
    CRect rect;
  };
  for (Case c : {Case{0, WM_VSCROLL, CRect(210, 20, 230, 60)}, Case{UDS_HORZ, WM_HSCROLL, CRect(210, 80, 260, 100)}}) {
    SCOPED_TRACE(c.message);
    CEdit buddy;
    CSpinButtonCtrl spin;
    ASSERT_TRUE(buddy.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(100, c.rect.top, 200, c.rect.top + 24), &m_frame, 20));
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | c.style, c.rect, &m_frame, 21));
    spin.SetBuddy(&buddy);
    spin.SetRange32(0, 10);
    spin.SetPos(5);
    bool horizontal = c.style & UDS_HORZ;
    int w = c.rect.Width(), h = c.rect.Height();
    // The half that raises the value (up, or right) and the one that lowers it.
    POINT raise = horizontal ? POINT{w * 3 / 4, h / 2} : POINT{w / 2, h / 4};
    POINT lower = horizontal ? POINT{w / 4, h / 2} : POINT{w / 2, h * 3 / 4};
    // Each half shows its arrow in the button text colour at its middle.
    long arrow = Rgb(::GetSysColor(COLOR_BTNTEXT));
    EXPECT_TRUE(m_x.WaitFor([&] { return m_x.PixelAt(spin.m_hWnd, raise) == arrow; }));
    EXPECT_EQ(m_x.PixelAt(spin.m_hWnd, lower), arrow);

    m_frame.scrolls.clear();
    m_frame.positions.clear();
    m_x.Click(spin.m_hWnd, raise);
    m_x.Click(spin.m_hWnd, raise);
    m_x.Click(spin.m_hWnd, lower);
    ASSERT_TRUE(m_x.WaitFor([&] { return m_frame.scrolls.size() >= 6; }));
    std::vector<std::pair<UINT, int>> expected;
    for (int i = 0; i < 3; ++i) {
      expected.emplace_back(c.message, SB_THUMBPOSITION);
      expected.emplace_back(c.message, SB_ENDSCROLL);
    }
    EXPECT_EQ(m_frame.scrolls, expected);
    EXPECT_EQ(m_frame.positions, (std::vector<int>{6, 7, 6}));
    CString shown;
    buddy.GetWindowText(shown);
    EXPECT_EQ(shown, "6");
    spin.DestroyWindow();
    buddy.DestroyWindow();
  }
}

TEST_F(X11WindowsTest, LettersInAnOpenMenuChooseItsItems) {
  struct Case {
    const char* name;
    unsigned long open;   // F2: the owner-drawn pop-up; otherwise Alt with this letter opens the bar's
    std::vector<unsigned long> letters;
    UINT command;
  };
  const std::vector<Case> cases = {
      {"the only item with the letter", XK_g, {XK_x}, kNext},
      // Two items share n: Alt+G opened the menu at the first, so n moves on to the next, a
      // second n goes round to the first again, and Return takes the one highlighted.
      {"items sharing a letter", XK_g, {XK_n, XK_Return}, kNotes},
      {"items sharing a letter, round again", XK_g, {XK_n, XK_n, XK_Return}, kNew},
      {"owner-drawn", XK_F2, {XK_w}, kWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_frame.commands.clear();
    platform::testing::ActWhen choose(MenuOpen, [&] {
      for (unsigned long key : c.letters) m_x.Keys(m_frame.m_hWnd, {key});
    }, [] { ::ReleaseCapture(); });  // a menu left open is closed, and the test fails
    if (c.open == XK_F2) {
      m_x.Keys(m_frame.m_hWnd, {XK_F2});
    } else {
      m_x.Keys(m_frame.m_hWnd, {c.open}, Mod1Mask);
    }
    EXPECT_TRUE(m_x.WaitFor([&] { return choose.Acted() && !MenuOpen() && !m_frame.commands.empty(); }));
    EXPECT_EQ(m_frame.commands, std::vector<UINT>{c.command});
  }
  EXPECT_EQ(m_frame.menuChars, std::vector<char>{'w'});
}

}  // namespace

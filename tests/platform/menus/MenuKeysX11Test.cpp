// A menu bar worked from the keyboard under X: Alt+letter opens a pop-up with its first enabled
// item highlighted, so Return chooses at once; a letter several items share moves the highlight
// from one to the next, also where the owner draws the items and answers WM_MENUCHAR itself
// from the item the menu marks as highlighted.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "../display/X11Session.h"
#include "platform/display.h"
#include "platform/menus.h"
#include "platform/messageloop.h"
#include "platform/windows.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace {

constexpr UINT kUndo = 601, kSequence = 602, kDisconnect = 603, kAbout = 604;
const char* const kTexts[] = {"&Undo", "&Sequence", "", "Di&sconnect"};

using platform::testing::MenuOpen;

// A frame whose Etc menu is drawn by the frame itself when ownerDrawn, and which answers letters
// as a program's menu manager does: the next item with the letter after the highlighted one.
class CEtcFrame : public CWnd {
public:
  std::vector<UINT> chosen;
  bool ownerDrawn{false};

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND: chosen.push_back(LOWORD(wParam)); return 0;
      case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measure->itemWidth = 120;
        measure->itemHeight = 20;
        return TRUE;
      }
      case WM_DRAWITEM: return TRUE;
      case WM_MENUCHAR: return MenuChar(static_cast<char>(LOBYTE(LOWORD(wParam))), reinterpret_cast<HMENU>(lParam));
      default: return CWnd::WindowProc(message, wParam, lParam);
    }
  }

private:
  static LRESULT MenuChar(char typed, HMENU menu) {
    std::vector<int> matches;
    int highlighted = -1;
    for (int position = 0; position < ::GetMenuItemCount(menu); ++position) {
      MENUITEMINFO info{};
      info.fMask = MIIM_STATE | MIIM_DATA;
      ::GetMenuItemInfo(menu, static_cast<UINT>(position), TRUE, &info);
      if (info.fState & MFS_HILITE) highlighted = position;
      const std::string text = kTexts[info.dwItemData];
      const auto amp = text.find('&');
      if (amp != std::string::npos && std::tolower(static_cast<unsigned char>(text[amp + 1])) == typed)
        matches.push_back(position);
    }
    if (matches.empty()) return 0;
    if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
    for (int position : matches) {
      if (position > highlighted) return MAKELRESULT(position, MNC_SELECT);
    }
    return MAKELRESULT(matches.front(), MNC_SELECT);
  }
};

class MenuKeysX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    if (!m_x.Open()) GTEST_SKIP() << "no X server (DISPLAY unset and no Xvfb)";
  }
  void TearDown() override {
    platform::DestroyAllWindows();
    platform::display::UseHeadless();
    platform::ResetMessageQueue();
  }

  // A frame with File (About) and Etc (Undo greyed, Sequence, a line, Disconnect).
  std::unique_ptr<CEtcFrame> MakeFrame(bool ownerDrawn) {
    auto frame = std::make_unique<CEtcFrame>();
    frame->ownerDrawn = ownerDrawn;
    EXPECT_TRUE(frame->CreateEx(0, nullptr, "Viewer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                                nullptr));
    HMENU bar = ::CreateMenu(), file = ::CreatePopupMenu(), etc = ::CreatePopupMenu();
    ::AppendMenu(file, MF_STRING, kAbout, "&About");
    const UINT ids[] = {kUndo, kSequence, 0, kDisconnect};
    for (int i = 0; i < 4; ++i) {
      if (!ids[i]) {
        ::AppendMenu(etc, MF_SEPARATOR, 0, nullptr);
        continue;
      }
      ::AppendMenu(etc, MF_STRING | (ids[i] == kUndo ? MF_GRAYED : 0), ids[i], kTexts[i]);
      MENUITEMINFO info{};
      info.fMask = MIIM_DATA | (ownerDrawn ? MIIM_FTYPE : 0);
      info.fType = MFT_OWNERDRAW;
      info.dwItemData = static_cast<ULONG_PTR>(i);
      ::SetMenuItemInfo(etc, static_cast<UINT>(i), TRUE, &info);
    }
    ::AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    ::AppendMenu(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(etc), "&Etc");
    ::SetMenu(frame->m_hWnd, bar);
    frame->SetFocus();
    m_x.Settle();
    return frame;
  }

  platform::testing::X11Session m_x;
};

TEST_F(MenuKeysX11Test, AltLetterHighlightsTheFirstEnabledItemAndSharedLettersMoveOn) {
  struct Case {
    const char* what;
    bool ownerDrawn;
    std::vector<unsigned long> letters;  // typed once the pop-up is open, before Return
    UINT command;
  };
  const std::vector<Case> cases = {
      {"Return at once", false, {}, kSequence},
      {"Return at once, owner-drawn", true, {}, kSequence},
      {"shared letter once", false, {XK_s}, kDisconnect},
      {"shared letter once, owner-drawn", true, {XK_s}, kDisconnect},
      {"shared letter twice, owner-drawn", true, {XK_s, XK_s}, kSequence},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::unique_ptr<CEtcFrame> frame = MakeFrame(c.ownerDrawn);
    platform::testing::ActWhen keys(MenuOpen, [&] {
      std::vector<unsigned long> typed = c.letters;
      typed.push_back(XK_Return);
      for (unsigned long key : typed) m_x.Keys(frame->m_hWnd, {key});
    }, [] { ::ReleaseCapture(); });  // a menu left open is closed, and the test fails
    m_x.Keys(frame->m_hWnd, {XK_e}, Mod1Mask);
    EXPECT_TRUE(m_x.WaitFor([&] { return keys.Acted() && !MenuOpen() && !frame->chosen.empty(); }));
    EXPECT_EQ(frame->chosen, std::vector<UINT>{c.command});
    // The next Alt+F works the same way: the program goes on.
    platform::testing::ActWhen about(MenuOpen, [&] { m_x.Keys(frame->m_hWnd, {XK_Return}); },
                                     [] { ::ReleaseCapture(); });
    m_x.Keys(frame->m_hWnd, {XK_f}, Mod1Mask);
    EXPECT_TRUE(m_x.WaitFor([&] { return about.Acted() && !MenuOpen() && frame->chosen.size() == 2; }));
    EXPECT_EQ(frame->chosen.back(), kAbout);
    frame->DestroyWindow();
  }
}

}  // namespace

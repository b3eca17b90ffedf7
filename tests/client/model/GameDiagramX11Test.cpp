// The Game Diagram list on an X server: a person opens a move by double-clicking it in the tree,
// then double-clicks one of its diagrams, which the dialog's board shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "client/relay/DelayEvent.h"
#include "client/relay/DelayQueue.h"
#include "client/model/BadukCtrl.h"
#include "client/model/BoardTestSupport.h"
#include "client/model/BoardWindowSupport.h"
#include "client/model/GameDiagramDlg.h"
#include "client/model/RefDiagramMap.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/display/XvfbServer.h"
#include "platform/gdi.h"
#include "platform/time.h"
#include "support/SnapshotPath.h"
#include "platform/display/XPointerKeys.h"  // last: Xlib's macros

namespace {

using platform::testing::XPointerKeys;

// Whether item shows its children.
bool Expanded(CTreeCtrl& tree, HTREEITEM item) {
  TVITEM state{};
  state.mask = TVIF_HANDLE | TVIF_STATE;
  state.hItem = item;
  state.stateMask = TVIS_EXPANDED;
  return tree.GetItem(&state) && (state.state & TVIS_EXPANDED) != 0;
}

// The positions of the dark pixels of surface inside [left, top, right, bottom), as (x, y) pairs.
std::vector<std::pair<int, int>> DarkPixels(const platform::Surface& surface, RECT area) {
  std::vector<std::pair<int, int>> dark;
  for (int y = std::max(0, static_cast<int>(area.top)); y < std::min(surface.height, static_cast<int>(area.bottom)); ++y)
    for (int x = std::max(0, static_cast<int>(area.left)); x < std::min(surface.width, static_cast<int>(area.right)); ++x)
      if ((surface.Row(y)[x] & 0xFFFFFF) == 0x202020) dark.emplace_back(x, y);
  return dark;
}

// The dark pixels of bitmap resource id, moved by (dx, dy).
std::vector<std::pair<int, int>> DarkPixelsOfBitmap(UINT id, int dx, int dy, CSize& size) {
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(id)) return {};
  BITMAP info{};
  bitmap.GetBitmap(&info);
  size = CSize(info.bmWidth, info.bmHeight);
  CDC screen;
  screen.Attach(::GetDC(nullptr));
  CDC memory;
  memory.CreateCompatibleDC(&screen);
  CBitmap* old = memory.SelectObject(&bitmap);
  std::vector<std::pair<int, int>> dark;
  for (int y = 0; y < info.bmHeight; ++y)
    for (int x = 0; x < info.bmWidth; ++x)
      if ((memory.GetPixel(x, y) & 0xFFFFFF) == RGB(0x20, 0x20, 0x20)) dark.emplace_back(x + dx, y + dy);
  memory.SelectObject(old);
  ::ReleaseDC(nullptr, screen.Detach());
  return dark;
}

class GameDiagramX11Test : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string& name = platform::testing::TestDisplayName();
    if (name.empty()) GTEST_SKIP() << "no X server";
    platform::Clock::SetManual(false);
    ASSERT_TRUE(platform::display::UseX11Display(name.c_str()));
    m_input = std::make_unique<XPointerKeys>(name);
    ASSERT_TRUE(m_input->Ready());
    m_resources = std::make_unique<boardtest::ClientResources>();
    m_view = std::make_unique<boardtest::RecordingParent>(900, 760);
    ASSERT_TRUE(m_board.Create(CRect(0, 0, 500, 535), m_view.get()));
    const std::vector<boardtest::Move> all = boardtest::LoadSgfMoves(std::string(TEST_DATA_DIR) + "/selfplay-5001.sgf");
    ASSERT_GE(all.size(), 60u);
    for (int i = 0; i < 60; ++i) {
      ASSERT_EQ(m_board.PlaceStone(all[i].x, all[i].y, all[i].colour, 0, TRUE), 0);
      m_queue.AddEvent(CDelayEvent::kMove, i + 1, 1000 + i, all[i].x, all[i].y, all[i].colour);
    }
    // Move 30 has one diagram, move 45 two.
    File(30, 31, {all[30], all[31]}, "the game went on");
    File(45, 46, {all[45], all[46], all[47]}, "the long way");
    File(45, 46, {all[45]}, "the short way");
    m_board.GoToMove(30);
  }
  void TearDown() override {
    m_resources.reset();  // destroys the windows
    platform::display::UseHeadless();
    m_input.reset();
  }
  void File(int move, int base, const std::vector<boardtest::Move>& stones, const char* text) {
    int seq = 1;
    for (const boardtest::Move& stone : stones)
      m_diagrams.AddDiagramMove(move, stone.x, stone.y, static_cast<DWORD>(stone.colour), seq++);
    m_diagrams.AddDiagramText(move, text);
    m_diagrams.CloseDiagram(move, base);
  }

  std::unique_ptr<XPointerKeys> m_input;
  std::unique_ptr<boardtest::ClientResources> m_resources;
  std::unique_ptr<boardtest::RecordingParent> m_view;
  CBadukCtrl m_board;
  CDelayQueue m_queue;
  CRefDiagramMap m_diagrams;
};

TEST_F(GameDiagramX11Test, ADiagramOpensFromTheTreeByDoubleClicks) {
  auto* dialog = new CGameDiagramDlg(m_view.get(), &m_board, &m_diagrams, &m_queue);
  ASSERT_TRUE(dialog->CreateModeless(m_view.get()));
  HWND tree = ::GetDlgItem(dialog->GetSafeHwnd(), CGameDiagramDlg::kTree);
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(dialog->GetShownMove(), 30);
  // Rows of 17 pixels: "No 30" open with its diagram, then "No 45" closed. Labels start one indent
  // in (lines at the root), children two.
  auto row = [](int index, int level) { return CPoint(3 + level * 19 + 12, index * 17 + 8); };
  m_input->DoubleClick(tree, row(2, 1));
  auto* ctrl = dynamic_cast<CTreeCtrl*>(CWnd::FromHandlePermanent(tree));
  ASSERT_NE(ctrl, nullptr);
  HTREEITEM move45 = ctrl->GetNextSiblingItem(ctrl->GetRootItem());
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return Expanded(*ctrl, move45); }));
  EXPECT_EQ(dialog->GetShownMove(), 30);  // a move's own item shows nothing new

  // Its second diagram, on row 4.
  m_input->DoubleClick(tree, row(4, 2));
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return dialog->GetShownMove() == 45; }));
  EXPECT_EQ(dialog->GetShownIndex(), 1);
  CString text;
  dialog->GetDlgItemText(CGameDiagramDlg::kText, text);
  EXPECT_EQ(text, "the short way\r\n");
  ::UpdateWindow(dialog->GetSafeHwnd());
  platform::SaveSurfacePng(m_input->Shown(dialog->GetSafeHwnd()), testsupport::SnapshotPath("x11_game_diagram.png").c_str());
  dialog->DestroyWindow();
}

// The picture buttons as a person uses them: each shows its picture centred on the button face,
// one pixel down and right while the mouse holds it, and a focus rectangle while it has the
// keyboard, which goes when another button takes it; a disabled button shows its picture
// embossed and takes no clicks.
TEST_F(GameDiagramX11Test, ThePictureButtonsShowNormalPressedFocusedAndDisabled) {
  auto* dialog = new CGameDiagramDlg(m_view.get(), &m_board, &m_diagrams, &m_queue);
  ASSERT_TRUE(dialog->CreateModeless(m_view.get()));
  HWND next = ::GetDlgItem(dialog->GetSafeHwnd(), CGameDiagramDlg::kNext);
  HWND previous = ::GetDlgItem(dialog->GetSafeHwnd(), CGameDiagramDlg::kPrevious);
  HWND first = ::GetDlgItem(dialog->GetSafeHwnd(), CGameDiagramDlg::kFirst);
  ASSERT_TRUE(next && previous && first);
  CBadukCtrl& board = dialog->GetBoard();
  RECT client{};
  ::GetClientRect(next, &client);
  const CPoint middle(client.right / 2, client.bottom / 2);
  CSize image;
  const std::vector<std::pair<int, int>> glyph = DarkPixelsOfBitmap(322, 0, 0, image);
  ASSERT_FALSE(glyph.empty());
  const int left = (client.right - image.cx) / 2;
  const int top = (client.bottom - image.cy) / 2;
  auto at = [&](int dx, int dy) {
    std::vector<std::pair<int, int>> moved;
    for (auto [x, y] : glyph) moved.emplace_back(x + left + dx, y + top + dy);
    return moved;
  };
  auto dark = [&] { return DarkPixels(m_input->Shown(next), client); };

  // Normal: the picture centred, nothing else dark on the face.
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return dark() == at(0, 0); }));
  const platform::Surface normal = m_input->Shown(next);

  // The person starts from the first move, then holds the mouse on "next".
  m_input->Click(first, middle);
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return ::GetFocus() == first; }));
  const int start = board.GetCurrentMove();
  m_input->Button(next, middle, true);
  EXPECT_TRUE(XPointerKeys::WaitFor([&] { return dark() == at(1, 1); })) << "pressed: the picture moves by one pixel";
  m_input->Button(next, middle, false, Button1Mask);
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return board.GetCurrentMove() == start + 1; }));

  // Focused: the picture back in place, and a focus rectangle inside the frame.
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return ::GetFocus() == next && dark() == at(0, 0); }));
  const int d = std::min(3, static_cast<int>(std::min(client.right, client.bottom) / 4));
  auto focusDrawn = [&](const platform::Surface& shown) {
    int changedOnRect = 0, changedElsewhere = 0;
    for (int y = 0; y < shown.height; ++y)
      for (int x = 0; x < shown.width; ++x) {
        if (shown.Row(y)[x] == normal.Row(y)[x]) continue;
        const bool onRect = ((y == d || y == client.bottom - d - 1) && x >= d && x < client.right - d) ||
                            ((x == d || x == client.right - d - 1) && y >= d && y < client.bottom - d);
        (onRect ? changedOnRect : changedElsewhere) += 1;
      }
    return changedOnRect > 0 && changedElsewhere == 0;
  };
  EXPECT_TRUE(XPointerKeys::WaitFor([&] { return focusDrawn(m_input->Shown(next)); }));

  // The person clicks "previous": the board steps back and "next" loses its focus rectangle.
  m_input->Click(previous, middle);
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return board.GetCurrentMove() == start && ::GetFocus() == previous; }));
  EXPECT_TRUE(XPointerKeys::WaitFor([&] { return m_input->Shown(next).pixels == normal.pixels; }))
      << "the button that lost the focus still shows a focus rectangle";

  // Disabled: the picture embossed, in the shadow colour with a highlight below and right, and
  // clicks do nothing.
  ::EnableWindow(next, FALSE);
  auto embossed = [&] {
    const platform::Surface shown = m_input->Shown(next);
    if (!DarkPixels(shown, client).empty()) return false;
    for (auto [x, y] : at(0, 0))
      if ((shown.Row(y)[x] & 0xFFFFFF) != (::GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF)) return false;
    return true;
  };
  EXPECT_TRUE(XPointerKeys::WaitFor(embossed));
  m_input->Click(next, middle);
  m_input->Click(first, middle);  // a click that does arrive, to know the one before was read
  ASSERT_TRUE(XPointerKeys::WaitFor([&] { return ::GetFocus() == first; }));
  EXPECT_EQ(board.GetCurrentMove(), start);
  EXPECT_TRUE(embossed());

  // Enabled again, it is the normal button once more and steps forward.
  ::EnableWindow(next, TRUE);
  EXPECT_TRUE(XPointerKeys::WaitFor([&] { return m_input->Shown(next).pixels == normal.pixels; }));
  m_input->Click(next, middle);
  EXPECT_TRUE(XPointerKeys::WaitFor([&] { return board.GetCurrentMove() == start + 1; }));
  dialog->DestroyWindow();
}

}  // namespace

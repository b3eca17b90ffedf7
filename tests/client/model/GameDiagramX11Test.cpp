// The Game Diagram list on an X server: a person opens a move by double-clicking it in the tree,
// then double-clicks one of its diagrams, which the dialog's board shows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
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

}  // namespace

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "client/relay/DelayEvent.h"
#include "client/relay/DelayQueue.h"
#include "client/model/BadukCtrl.h"
#include "client/model/BoardTestSupport.h"
#include "client/model/BoardWindowSupport.h"
#include "client/images/Image.h"
#include "client/model/GameDiagramDlg.h"
#include "client/model/GameInfo.h"
#include "client/model/GameInfoDlg.h"
#include "client/model/RefDiagramMap.h"
#include "client/model/UserMoveDlg.h"
#include "client/model/ViewMessages.h"
#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/testinput.h"
#include "platform/uiscript.h"
#include "support/SnapshotPath.h"

namespace {

CString Text(HWND window) {
  CString text;
  CWnd::FromHandle(window)->GetWindowText(text);
  return text;
}

// The script file's answer to the information dialog, keeping what the dialog showed.
class CInfoScript : public platform::FileUiScript {
public:
  CInfoScript() : FileUiScript(platform::ParseUiScript("dialog 136 end OK\n", nullptr)) {}
  std::optional<INT_PTR> OnModalDialog(UINT templateId, CDialog* dialog, HWND dialogWnd) override {
    seen = templateId;
    caption = Text(dialogWnd);
    for (UINT id : {1014u, 1015u, 1016u, 1017u, 1019u, 1021u, 1023u, 1024u, 1057u, 1058u, 1059u, 1060u})
      texts[id] = Text(::GetDlgItem(dialogWnd, static_cast<int>(id)));
    ::RedrawWindow(dialogWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
    for (UINT id : {1018u, 1022u, 1026u}) {
      CWnd* control = CWnd::FromHandle(::GetDlgItem(dialogWnd, static_cast<int>(id)));
      CRect client;
      control->GetClientRect(&client);
      CClientDC dc(control);
      centres[id] = dc.GetPixel(client.Width() / 2, client.Height() / 2);
    }
    platform::SaveSurfacePng(dialogWnd, testsupport::SnapshotPath("game-info-dialog.png").c_str());
    return FileUiScript::OnModalDialog(templateId, dialog, dialogWnd);
  }
  UINT seen{0};
  CString caption;
  std::map<UINT, CString> texts;
  std::map<UINT, COLORREF> centres;  // the middle pixel of each picture control
};

TEST(GameInfoDlgTest, ShowsTheGameInformationAsTheScriptSeesIt) {
  boardtest::ClientResources resources;
  CGameInfo info;
  info.m_title = Cp949("제5기 명인전");
  info.m_year = 2001;
  info.m_month = 3;
  info.m_day = 5;
  info.m_hour = 14;
  info.m_minute = 30;
  info.m_place = "Seoul";
  info.m_komi = 6.5;
  info.m_timeLimit = 150;
  info.m_blackName = "Lee";
  info.m_blackRank = 9;
  info.m_blackAffiliation = "Korea";
  info.m_whiteRank = 3;  // no name: the rank still follows a blank
  // Black's photograph as the view holds it: read from a file; White has none.
  const std::string photoPath = testsupport::SnapshotPath("game-info-photo.jpg");
  CImage made;
  made.Create(60, 70, 24, -1);
  for (int y = 0; y < 70; ++y)
    for (int x = 0; x < 60; ++x) made.SetRGB(x, y, 200, 40, 40);
  ASSERT_TRUE(made.SaveFile(photoPath.c_str(), kImageJpeg));
  CImage photo;
  ASSERT_TRUE(photo.ReadFile(photoPath.c_str(), kImageJpeg));
  CImage none;
  CInfoScript script;
  platform::ScopedUiScript scoped(&script);
  CGameInfoDlg dialog;
  dialog.SetGameInfo(info);
  dialog.GetBlackPicture().SetImage(&photo);
  dialog.GetWhitePicture().SetImage(&none);
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(script.seen, CGameInfoDlg::kTemplateId);
  EXPECT_TRUE(script.Remaining().empty());
  EXPECT_EQ(script.caption, "Game Information");
  EXPECT_EQ(script.texts[1014], info.m_title);
  EXPECT_EQ(script.texts[1015], "Mar 05 14 : 30, 2001");
  EXPECT_EQ(script.texts[1016], "Seoul");
  EXPECT_EQ(script.texts[1017], "Dum 6.5, Limit Time 02 : 30");
  EXPECT_EQ(script.texts[1019], "Lee 9 dan");
  EXPECT_EQ(script.texts[1024], "Korea");
  EXPECT_EQ(script.texts[1021], " 3 dan");
  EXPECT_EQ(script.texts[1057], "Title");
  EXPECT_EQ(script.texts[1058], "Date");
  EXPECT_EQ(script.texts[1060], "Place");
  EXPECT_EQ(script.texts[1059], "Condition");
  const COLORREF blackPhoto = script.centres[1018];
  EXPECT_GT(GetRValue(blackPhoto), 170);
  EXPECT_LT(GetGValue(blackPhoto), 80);
  EXPECT_EQ(script.centres[1022], ::GetSysColor(COLOR_BTNFACE));  // no photograph: the dialog's face
  const COLORREF stone = script.centres[1026];
  EXPECT_LT(GetRValue(stone) + GetGValue(stone) + GetBValue(stone), 200);  // the black stone
}

// The view that owns the modeless dialogs: it keeps what they post to it.
class CViewStandIn : public boardtest::RecordingParent {
public:
  CViewStandIn() : RecordingParent(900, 760) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DIALOG_CLOSED) closed.push_back(static_cast<UINT>(wParam));
    return RecordingParent::WindowProc(message, wParam, lParam);
  }
  std::vector<UINT> closed;
};

void TypeMove(HWND dialog, int edit, const char* number) {
  ::SetDlgItemText(dialog, edit, number);
  ::SetFocus(::GetDlgItem(dialog, edit));
  platform::input::PressKey(VK_RETURN);
}

void Click(HWND dialog, int id) { ::SendMessage(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

class BoardDialogsTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(mainBoard.Create(CRect(0, 0, 500, 535), &view));
    game = boardtest::LoadSgfMoves(std::string(TEST_DATA_DIR) + "/selfplay-5001.sgf");
    game.resize(60);
    ASSERT_EQ(boardtest::PlaceAll(mainBoard, game), -1);
  }

  boardtest::ClientResources resources;
  CViewStandIn view;
  CBadukCtrl mainBoard;
  std::vector<boardtest::Move> game;
};

TEST_F(BoardDialogsTest, UserMovesStartFromTheShownPositionAndCountFromOne) {
  mainBoard.GoToMove(40);
  auto* dialog = new CUserMoveDlg;
  mainBoard.CopyMoves(&dialog->GetHeldMoves());
  dialog->SetButtonMask(2);
  ASSERT_TRUE(dialog->CreateModeless(&view));
  const HWND hwnd = dialog->GetSafeHwnd();
  CBadukCtrl& board = dialog->GetBoard();
  EXPECT_EQ(Text(hwnd), "UserMove");
  EXPECT_EQ(board.GetLastMove(), 40);
  EXPECT_EQ(board.GetBaseMove(), 41);
  EXPECT_EQ(dialog->GetHeldMoves().GetSize(), 0);
  EXPECT_EQ(board.GetEditMode(), 3);
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hwnd, CUserMoveDlg::kSpare)));
  EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(hwnd, CUserMoveDlg::kNumbers)));
  CRect mine, owner;
  dialog->GetWindowRect(&mine);
  view.GetWindowRect(&owner);
  EXPECT_EQ(mine.right, owner.right);
  EXPECT_EQ(mine.top, owner.top);
  for (int x = 1; x <= 19; ++x)
    for (int y = 1; y <= 19; ++y) ASSERT_EQ(board.HasStoneAt(x, y), mainBoard.HasStoneAt(x, y)) << x << "," << y;

  // Move 40 was White's: the viewer's first stone is black.
  CPoint empty;
  for (int x = 1; x <= 19 && empty.x == 0; ++x)
    for (int y = 1; y <= 19 && empty.x == 0; ++y)
      if (!board.HasStoneAt(x, y) && x > 2 && y > 2) empty = CPoint(x, y);
  platform::input::Click(board.GetSafeHwnd(), board.CellCentre(empty.x, empty.y));
  ASSERT_EQ(board.GetLastMove(), 41);
  EXPECT_TRUE(board.GetCell(empty.x, empty.y).IsBlack());
  Click(hwnd, CUserMoveDlg::kNumbers);
  EXPECT_TRUE(board.GetSequenceMode());
  EXPECT_EQ(mainBoard.GetLastMove(), 60);  // the main board is untouched

  view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  dialog->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
  platform::SaveSurfacePng(hwnd, testsupport::SnapshotPath("user-move-dialog.png").c_str());

  // Typed numbers count the viewer's own moves: 0 is the start position.
  TypeMove(hwnd, CUserMoveDlg::kMoveEdit, "0");
  EXPECT_EQ(board.GetCurrentMove(), 40);
  EXPECT_EQ(Text(::GetDlgItem(hwnd, CUserMoveDlg::kMoveEdit)), "0");
  TypeMove(hwnd, CUserMoveDlg::kMoveEdit, "500");
  EXPECT_EQ(board.GetCurrentMove(), 41);
  EXPECT_EQ(Text(::GetDlgItem(hwnd, CUserMoveDlg::kMoveEdit)), "1");
  Click(hwnd, CUserMoveDlg::kFirst);
  EXPECT_EQ(board.GetCurrentMove(), 40);
  Click(hwnd, CUserMoveDlg::kPrevious);
  EXPECT_EQ(board.GetCurrentMove(), 40);  // never before the start position
  Click(hwnd, CUserMoveDlg::kLast);
  EXPECT_EQ(board.GetCurrentMove(), 41);

  // Enter elsewhere keeps the dialog; Escape asks the view to close it.
  ::SetFocus(::GetDlgItem(hwnd, CUserMoveDlg::kNext));
  platform::input::PressKey(VK_RETURN);
  platform::PumpMessages();
  EXPECT_TRUE(::IsWindow(hwnd));
  EXPECT_TRUE(view.closed.empty());
  platform::input::PressKey(VK_ESCAPE);
  platform::PumpMessages();
  EXPECT_EQ(view.closed, std::vector<UINT>{CUserMoveDlg::kTemplateId});
  EXPECT_TRUE(::IsWindow(hwnd));
  dialog->Close();
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(BoardDialogsTest, HeldDiagramMarksAreNotPlaced) {
  auto* dialog = new CUserMoveDlg;
  dialog->GetHeldMoves().Add(new CStoneNode(4, 4, 0x102, 1, 0));
  dialog->GetHeldMoves().Add(new CStoneNode(5, 5, CStoneNode::kMarkE, 2, 0));
  ASSERT_TRUE(dialog->CreateModeless(nullptr));
  EXPECT_EQ(dialog->GetBoard().GetLastMove(), 1);
  EXPECT_FALSE(dialog->GetBoard().HasStoneAt(5, 5));
  dialog->Close();
}

// The game's first moves as the relay delivered them, and diagrams filed for some of them.
class GameDiagramDlgTest : public BoardDialogsTest {
protected:
  void SetUp() override {
    BoardDialogsTest::SetUp();
    const std::vector<boardtest::Move> all = boardtest::LoadSgfMoves(std::string(TEST_DATA_DIR) + "/selfplay-5001.sgf");
    for (int i = 0; i < 60; ++i) queue.AddEvent(CDelayEvent::kMove, i + 1, 1000 + i, all[i].x, all[i].y, all[i].colour);
    // Move 30: the game's own continuation, and a shorter one; move 45: two stones; move 70 is
    // not received yet.
    File(30, 31, {all[30], all[31], all[32], all[33]}, "the game went on like this");
    File(30, 31, {all[30], all[31]}, "or simply");
    File(45, 46, {all[45], all[46]}, "");
    File(70, 71, {all[70]}, "later");
    mainBoard.GoToMove(30);
    game = all;
  }
  void File(int move, int base, const std::vector<boardtest::Move>& stones, const char* text) {
    int seq = 1;
    for (const boardtest::Move& stone : stones)
      diagrams.AddDiagramMove(move, stone.x, stone.y, static_cast<DWORD>(stone.colour), seq++);
    if (*text) diagrams.AddDiagramText(move, text);
    diagrams.CloseDiagram(move, base);
  }
  std::vector<CString> TreeTexts(CTreeCtrl& tree) {
    std::vector<CString> texts;
    for (HTREEITEM move = tree.GetRootItem(); move; move = tree.GetNextSiblingItem(move)) {
      texts.push_back(tree.GetItemText(move));
      for (HTREEITEM item = tree.GetChildItem(move); item; item = tree.GetNextSiblingItem(item))
        texts.push_back("  " + tree.GetItemText(item));
    }
    return texts;
  }
  HTREEITEM Find(CTreeCtrl& tree, const char* root, int child) {
    for (HTREEITEM move = tree.GetRootItem(); move; move = tree.GetNextSiblingItem(move)) {
      if (tree.GetItemText(move) != root) continue;
      if (child < 0) return move;
      HTREEITEM item = tree.GetChildItem(move);
      for (int i = 0; item && i < child; ++i) item = tree.GetNextSiblingItem(item);
      return item;
    }
    return nullptr;
  }

  CDelayQueue queue;
  CRefDiagramMap diagrams;
};

TEST_F(GameDiagramDlgTest, TreeListsReceivedMovesAndShowsTheChosenDiagram) {
  auto* dialog = new CGameDiagramDlg(&view, &mainBoard, &diagrams, &queue);
  ASSERT_TRUE(dialog->CreateModeless(&view));
  const HWND hwnd = dialog->GetSafeHwnd();
  EXPECT_EQ(Text(hwnd), "Game Diagram");
  auto& tree = *static_cast<CTreeCtrl*>(CWnd::FromHandlePermanent(::GetDlgItem(hwnd, CGameDiagramDlg::kTree)));
  EXPECT_EQ(TreeTexts(tree), (std::vector<CString>{"No 30", "  1 Game Diagram", "  2 Game Diagram", "No 45",
                                                   "  1 Game Diagram"}));
  // The main board shows move 30: its first diagram is chosen and shown.
  CBadukCtrl& board = dialog->GetBoard();
  EXPECT_EQ(tree.GetItemText(tree.GetSelectedItem()), "1 Game Diagram");
  EXPECT_EQ(dialog->GetShownMove(), 30);
  EXPECT_EQ(board.GetLastMove(), 34);
  EXPECT_EQ(board.GetBaseMove(), 31);
  EXPECT_EQ(board.GetEditMode(), CBadukCtrl::kModeClick);
  EXPECT_EQ(Text(::GetDlgItem(hwnd, CGameDiagramDlg::kText)), "the game went on like this\r\n");
  for (int i = 30; i < 34; ++i) EXPECT_TRUE(board.HasStoneAt(game[i].x, game[i].y));

  Click(hwnd, CGameDiagramDlg::kNumbers);
  EXPECT_TRUE(board.GetSequenceMode());
  view.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  dialog->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE);
  platform::SaveSurfacePng(hwnd, testsupport::SnapshotPath("game-diagram-dialog.png").c_str());

  // A move item changes nothing; a diagram item shows its diagram.
  tree.SelectItem(Find(tree, "No 45", -1));
  EXPECT_EQ(dialog->GetShownMove(), 30);
  tree.SelectItem(Find(tree, "No 30", 1));
  EXPECT_EQ(dialog->GetShownIndex(), 1);
  EXPECT_EQ(board.GetLastMove(), 32);
  EXPECT_EQ(Text(::GetDlgItem(hwnd, CGameDiagramDlg::kText)), "or simply\r\n");

  // The navigation buttons and the jump edit count within the diagram.
  Click(hwnd, CGameDiagramDlg::kFirst);
  EXPECT_EQ(board.GetCurrentMove(), 30);
  Click(hwnd, CGameDiagramDlg::kNext);
  EXPECT_EQ(board.GetCurrentMove(), 31);
  Click(hwnd, CGameDiagramDlg::kLast);
  EXPECT_EQ(board.GetCurrentMove(), 32);
  Click(hwnd, CGameDiagramDlg::kPrevious);
  EXPECT_EQ(board.GetCurrentMove(), 31);
  TypeMove(hwnd, CGameDiagramDlg::kMoveEdit, "-4");
  EXPECT_EQ(board.GetCurrentMove(), 30);
  EXPECT_EQ(Text(::GetDlgItem(hwnd, CGameDiagramDlg::kMoveEdit)), "0");
  TypeMove(hwnd, CGameDiagramDlg::kMoveEdit, "2");
  EXPECT_EQ(board.GetCurrentMove(), 32);

  // The shown diagram is not rebuilt when chosen again, nor after the tree is filled again.
  Click(hwnd, CGameDiagramDlg::kFirst);
  EXPECT_EQ(dialog->ShowDiagram(30, 1), 1);
  EXPECT_EQ(board.GetCurrentMove(), 30);
  File(45, 46, {game[45]}, "another");
  ::SendMessage(hwnd, WM_DIAGRAM_FILED, 0, 0);
  EXPECT_EQ(TreeTexts(tree).size(), 6u);
  EXPECT_EQ(tree.GetItemText(tree.GetSelectedItem()), "2 Game Diagram");
  EXPECT_EQ(board.GetCurrentMove(), 30);
  EXPECT_EQ(dialog->ShowDiagram(70, 0), 0);  // not received yet
  EXPECT_EQ(dialog->ShowDiagram(45, 5), 0);
  EXPECT_EQ(dialog->GetShownMove(), 30);

  // Escape and the close button ask the view to close the dialog.
  Click(hwnd, CGameDiagramDlg::kClose);
  ::SetFocus(::GetDlgItem(hwnd, CGameDiagramDlg::kText));
  platform::input::PressKey(VK_ESCAPE);
  platform::PumpMessages();
  EXPECT_EQ(view.closed, (std::vector<UINT>{CGameDiagramDlg::kTemplateId, CGameDiagramDlg::kTemplateId}));
  dialog->Close();
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(GameDiagramDlgTest, MainLineMovesArePlacedOnlyAsFarAsReceived) {
  // A diagram whose base lies beyond the moves received so far.
  File(58, 65, {game[60], game[61]}, "");
  mainBoard.GoToMove(0);
  auto* dialog = new CGameDiagramDlg(&view, &mainBoard, &diagrams, &queue);
  ASSERT_TRUE(dialog->CreateModeless(nullptr));
  EXPECT_EQ(dialog->GetShownMove(), 0);  // the main board shows no move with diagrams
  EXPECT_EQ(dialog->GetBoard().GetLastMove(), 0);
  EXPECT_EQ(dialog->ShowDiagram(58, 0), 1);
  EXPECT_EQ(dialog->GetBoard().GetLastMove(), 62);
  EXPECT_EQ(dialog->GetBoard().GetBaseMove(), 65);
  dialog->Close();
}

}  // namespace

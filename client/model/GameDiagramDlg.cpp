#include "client/model/GameDiagramDlg.h"

#include <algorithm>

#include "client/model/ReceivedMoves.h"
#include "client/widgets/TextUtilities.h"
#include "client/model/BoardCoordinates.h"
#include "client/model/RefDiagramMap.h"
#include "client/model/ViewMessages.h"
#include "platform/ddx.h"

namespace {

constexpr DWORD_PTR ItemData(int move, int index) { return static_cast<DWORD_PTR>(move) * 65536 + index; }

}  // namespace

BEGIN_MESSAGE_MAP(CGameDiagramDlg, CBoardDialog)
  ON_NOTIFY(TVN_SELCHANGED, CGameDiagramDlg::kTree, OnTreeSelChanged)
  ON_MESSAGE(WM_DIAGRAM_FILED, OnDiagramsChanged)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CGameDiagramDlg::CGameDiagramDlg(CWnd* parentView, CBadukCtrl* mainBoard, CRefDiagramMap* diagrams, CReceivedMoves* moves)
    : CBoardDialog(kTemplateId, parentView, kNumbers, kClose), m_mainBoard(mainBoard), m_diagrams(diagrams),
      m_moves(moves) {}

void CGameDiagramDlg::DoDataExchange(CDataExchange* dx) {
  CBoardDialog::DoDataExchange(dx);
  DDX_Text(dx, kText, m_diagramText);
}

CTreeCtrl* CGameDiagramDlg::Tree() { return m_tree.GetSafeHwnd() ? &m_tree : nullptr; }

BOOL CGameDiagramDlg::OnInitDialog() {
  CBoardDialog::OnInitDialog();
  if (CWnd* tree = GetDlgItem(kTree)) m_tree.SubclassWindow(tree->GetSafeHwnd());
  m_board.Create(CRect(0, 0, 0, 0), this);
  Layout();
  CRect board;
  m_board.GetWindowRect(&board);
  ScreenToClient(&board);
  CRect window;
  CRect client;
  GetWindowRect(&window);
  GetClientRect(&client);
  m_minTrackWidth = board.right + (window.Width() - client.Width());
  m_minTrackHeight = window.Height();
  m_board.SetEditMode(CBadukCtrl::kModeClick);

  const int shown = m_mainBoard ? m_mainBoard->GetCurrentMove() : 0;
  if (m_diagrams && m_diagrams->HasDiagrams(shown)) {
    m_shownMove = shown;
    m_shownIndex = 0;
  } else {
    m_shownMove = 0;
    m_shownIndex = 0;
  }
  FillTree();

  CString caption;
  LoadUiText("Game Diagram", caption);
  SetWindowText(caption);
  LoadButtonBitmaps();
  m_initialised = TRUE;
  return TRUE;
}

void CGameDiagramDlg::FillTree() {
  CTreeCtrl* tree = Tree();
  if (tree == nullptr) return;
  tree->DeleteAllItems();
  HTREEITEM remembered = nullptr;
  const int received = m_moves ? m_moves->GetMoveCount() : 0;
  for (int m = 1; m <= received && m_diagrams; ++m) {
    const int count = m_diagrams->GetDiagramCount(m);
    if (count == 0) continue;
    CString text;
    text.Format("No %d", m);
    HTREEITEM moveItem = tree->InsertItem(text);
    tree->SetItemData(moveItem, ItemData(m, 0));
    for (int i = 0; i < count; ++i) {
      text.Format("%d Game Diagram", i + 1);
      HTREEITEM diagramItem = tree->InsertItem(text, moveItem);
      tree->SetItemData(diagramItem, ItemData(m, i));
      if (m == m_shownMove && i == m_shownIndex) remembered = diagramItem;
    }
  }
  if (remembered) {
    tree->Expand(tree->GetParentItem(remembered), TVE_EXPAND);
    tree->SelectItem(remembered);
  }
}

LRESULT CGameDiagramDlg::OnDiagramsChanged(WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  FillTree();
  return 0;
}

void CGameDiagramDlg::OnTreeSelChanged(NMHDR* header, LRESULT* result) {
  *result = 0;
  CTreeCtrl* tree = Tree();
  const auto* change = reinterpret_cast<const NMTREEVIEW*>(header);
  HTREEITEM item = change->itemNew.hItem;
  if (tree == nullptr || item == nullptr || tree->ItemHasChildren(item)) return;
  const DWORD_PTR data = tree->GetItemData(item);
  const int move = static_cast<int>(data / 65536);
  const int index = static_cast<int>(data % 65536);
  if (move > 0) ShowDiagram(move, index);
}

int CGameDiagramDlg::ShowDiagram(int move, int index) {
  const int received = m_moves ? m_moves->GetMoveCount() : 0;
  if (m_diagrams == nullptr || move > received || index < 0 || index >= m_diagrams->GetDiagramCount(move)) return 0;
  if (!m_needsRefresh && move == m_shownMove && index == m_shownIndex) return 1;
  m_needsRefresh = FALSE;
  m_shownMove = move;
  m_shownIndex = index;

  const int base = m_diagrams->GetDiagramBase(move, index);
  m_board.ResetBoard();
  m_board.SetBaseMove(base);
  // A base beyond the moves received so far places only the moves there are.
  const int mainLine = std::min(base - 1, received);
  for (int i = 0; i < mainLine; ++i) {
    CStoneNode node;
    if (m_moves->GetNodeAt(node, i)) m_board.PlaceStone(node.GetX(), node.GetY(), node.GetColor(), 0, TRUE);
  }
  const CNodeArray* stones = m_diagrams->GetDiagramMoves(move, index);
  if (stones == nullptr) return 0;
  for (INT_PTR i = 0; i < stones->GetSize(); ++i) {
    const CStoneNode* stone = stones->GetNode(i);
    if (stone) m_board.PlaceStone(stone->GetX(), stone->GetY(), stone->GetColor(), 0, TRUE);
  }
  UpdateData(TRUE);
  m_diagrams->GetDiagramText(move, index, m_diagramText);
  UpdateData(FALSE);
  m_board.SetEditMode(CBadukCtrl::kModeClick);
  return 1;
}

void CGameDiagramDlg::Layout() {
  CWnd* first = GetDlgItem(kFirst);
  CTreeCtrl* tree = Tree();
  CWnd* text = GetDlgItem(kText);
  if (first == nullptr || tree == nullptr || text == nullptr || !m_board.GetSafeHwnd()) return;
  const int mx = m_showCoordinates ? 10 : 0;
  const int my = m_showCoordinates ? 10 : 0;
  CRect client;
  GetClientRect(&client);
  CRect button;
  first->GetWindowRect(&button);
  const int bw = button.Width();
  const int bh = button.Height();
  CRect treeRect;
  tree->GetWindowRect(&treeRect);
  const int treeWidth = treeRect.Width();

  CSize board = CBadukCtrl::CalcBoardSize(0, client.Height() - 14 - bh - my);
  // Sized by the height alone, the board would push the tree out of a window that is not wide.
  const int widthForBoard = client.Width() - mx - treeWidth - 20;
  if (board.cx > widthForBoard) board = CBadukCtrl::CalcBoardSize(widthForBoard, 0);
  const int used = board.cx + mx + treeWidth + 10;
  const int left = used < client.Width() ? (client.Width() - used) / 2 : 5;
  const int free = client.Height() - board.cy - my - 10 - bh;
  const int top = free >= 1 ? free / 2 : 2;
  m_board.MoveWindow(left, top, board.cx, board.cy);

  const int row = top + board.cy + my + 10;
  int x = left;
  for (UINT id : {kFirst, kPrevious, kMoveEdit, kNext, kLast, kNumbers, kClose}) {
    if (CWnd* control = GetDlgItem(static_cast<int>(id))) control->MoveWindow(x, row, bw, bh);
    x += bw + 5;
  }
  const int rowBottom = row + bh;
  const int treeLeft = std::max(left + board.cx + mx + 5, static_cast<int>(client.right) - 5 - treeWidth);
  const int treeHeight = (rowBottom - top) / 2;
  tree->MoveWindow(treeLeft, top, treeWidth, treeHeight);
  text->MoveWindow(treeLeft, top + treeHeight + 10, treeWidth, rowBottom - (top + treeHeight + 10));
}

void CGameDiagramDlg::OnSize(UINT type, int cx, int cy) {
  CBoardDialog::OnSize(type, cx, cy);
  if (!m_initialised) return;
  Layout();
  Invalidate();
}

void CGameDiagramDlg::OnPaint() {
  CPaintDC dc(this);
  if (m_showCoordinates) DrawBoardCoordinates(&dc, this, &m_board, RGB(0, 0, 0));
}

void CGameDiagramDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  if (m_minTrackWidth >= 1 && m_minTrackHeight >= 1) info->ptMinTrackSize = CPoint(m_minTrackWidth, m_minTrackHeight);
}

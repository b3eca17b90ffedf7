#pragma once
// CGameDiagramDlg: the modeless browser of the reference diagrams of the relayed game. A tree lists
// the moves that have diagrams and their diagrams; choosing one shows it on the dialog's own board
// (the main line up to the diagram's base move, then its stones) with its texts beside it.

#include "client/model/BoardDialog.h"
#include "platform/controls.h"
#include "platform/dialogs.h"

class CReceivedMoves;
class CRefDiagramMap;

class CGameDiagramDlg : public CBoardDialog {
public:
  static constexpr UINT kTemplateId = 139;
  // Controls of its own; the stepping buttons and the move edit are the board dialog's.
  static constexpr UINT kNumbers = 1046;
  static constexpr UINT kTree = 1047;
  static constexpr UINT kText = 1048;
  static constexpr UINT kClose = 1049;

  // The view's board window, diagram map and delay queue stay the view's.
  CGameDiagramDlg(CWnd* parentView, CBadukCtrl* mainBoard, CRefDiagramMap* diagrams, CReceivedMoves* moves);

  // A diagram was filed: the tree is filled again, the selection kept.
  LRESULT OnDiagramsChanged(WPARAM wParam, LPARAM lParam);
  // Shows diagram index of move; 0 when there is no such diagram among the moves received.
  int ShowDiagram(int move, int index);

  int GetShownMove() const { return m_shownMove; }
  int GetShownIndex() const { return m_shownIndex; }

  BOOL OnInitDialog() override;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnTreeSelChanged(NMHDR* header, LRESULT* result);
  void OnSize(UINT type, int cx, int cy);
  void OnPaint();
  void OnGetMinMaxInfo(MINMAXINFO* info);
  DECLARE_MESSAGE_MAP()

private:
  void FillTree();
  void Layout();
  CTreeCtrl* Tree();

  CBadukCtrl* m_mainBoard;
  CRefDiagramMap* m_diagrams;
  CReceivedMoves* m_moves;
  int m_minTrackWidth{0};
  int m_minTrackHeight{0};
  BOOL m_initialised{FALSE};
  BOOL m_needsRefresh{TRUE};  // the next ShowDiagram rebuilds the board even for the shown diagram
  BOOL m_showCoordinates{TRUE};
  int m_shownMove{0};
  int m_shownIndex{0};
  CTreeCtrl m_tree;
  CString m_diagramText;  // edit 1048
};

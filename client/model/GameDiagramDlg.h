#pragma once
// CGameDiagramDlg: the modeless browser of the reference diagrams of the relayed game. A tree lists
// the moves that have diagrams and their diagrams; choosing one shows it on the dialog's own board
// (the main line up to the diagram's base move, then its stones) with its texts beside it.

#include "client/model/BadukCtrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"

class CDelayQueue;
class CRefDiagramMap;

class CGameDiagramDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 139;
  // Controls; the buttons' bitmaps are in the source.
  static constexpr UINT kFirst = 1001;
  static constexpr UINT kPrevious = 1002;
  static constexpr UINT kNext = 1003;
  static constexpr UINT kLast = 1005;
  static constexpr UINT kMoveEdit = 1006;  // move number to jump to, counted within the diagram
  static constexpr UINT kNumbers = 1046;
  static constexpr UINT kTree = 1047;
  static constexpr UINT kText = 1048;
  static constexpr UINT kClose = 1049;

  // The view's board window, diagram map and delay queue stay the view's.
  CGameDiagramDlg(CWnd* parentView, CBadukCtrl* mainBoard, CRefDiagramMap* diagrams, CDelayQueue* moves);

  // Creates and shows the window, its right edge and top at those of the parent's window.
  BOOL CreateModeless(CWnd* parentView);
  // Destroys the window; the object deletes itself after it.
  void Close();
  // A diagram was filed: the tree is filled again, the selection kept.
  LRESULT OnDiagramsChanged(WPARAM wParam, LPARAM lParam);
  // Shows diagram index of move; 0 when there is no such diagram among the moves received.
  int ShowDiagram(int move, int index);

  CBadukCtrl& GetBoard() { return m_board; }
  int GetShownMove() const { return m_shownMove; }
  int GetShownIndex() const { return m_shownIndex; }

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnOK() override;
  void OnCancel() override;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void PostNcDestroy() override;
  void OnFirst();
  void OnPrevious();
  void OnNext();
  void OnLast();
  void OnNumbers();
  void OnCloseButton();
  void OnTreeSelChanged(NMHDR* header, LRESULT* result);
  void OnSize(UINT type, int cx, int cy);
  void OnPaint();
  void OnGetMinMaxInfo(MINMAXINFO* info);
  DECLARE_MESSAGE_MAP()

private:
  void FillTree();
  void Layout();
  void LoadButtonBitmaps();
  void JumpToTypedMove();
  CTreeCtrl* Tree();

  CBadukCtrl* m_mainBoard;
  CRefDiagramMap* m_diagrams;
  CDelayQueue* m_moves;
  int m_minTrackWidth{0};
  int m_minTrackHeight{0};
  CWnd* m_parentView{nullptr};
  BOOL m_initialised{FALSE};
  BOOL m_needsRefresh{TRUE};  // the next ShowDiagram rebuilds the board even for the shown diagram
  BOOL m_showCoordinates{TRUE};
  int m_shownMove{0};
  int m_shownIndex{0};
  CBadukCtrl m_board;
  CButton m_buttons[6];  // 1049, 1046, 1002, 1003, 1005, 1001
  CBitmap m_buttonBitmaps[6];
  CTreeCtrl m_tree;
  CString m_diagramText;  // edit 1048
  int m_jumpNumber{0};    // edit 1006
};

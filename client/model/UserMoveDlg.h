#pragma once
// CUserMoveDlg: a modeless window where the viewer tries moves of their own on a board of the
// dialog's own that starts from a copy of the main board's moves. The relay view opens and closes
// it; the dialog asks to be closed with WM_DIALOG_CLOSED (138).

#include "client/model/BoardDialog.h"
#include "client/model/NodeArray.h"

class CUserMoveDlg : public CBoardDialog {
public:
  static constexpr UINT kTemplateId = 138;
  // Buttons of its own; the stepping buttons and the move edit are the board dialog's.
  static constexpr UINT kNumbers = 1013;   // move numbers on or off
  static constexpr UINT kSpare = 1014;     // no action
  static constexpr UINT kClose = 1015;

  CUserMoveDlg();
  ~CUserMoveDlg() override;

  // The moves to start from; the dialog owns them until start-up consumes them.
  CNodeArray& GetHeldMoves() { return m_heldMoves; }
  // Bit 1 hides button 1013, bit 2 hides button 1014.
  void SetButtonMask(int bits);

  int GetStartMove() const { return m_startMove; }

  BOOL OnInitDialog() override;

protected:
  void OnSize(UINT type, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* dc);
  void OnPaint();
  void OnGetMinMaxInfo(MINMAXINFO* info);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  DECLARE_MESSAGE_MAP()

private:
  void ReplayHeldMoves();
  void ApplyButtonMask();
  void Layout();

  CNodeArray m_heldMoves;
  BOOL m_showCoordinates{TRUE};
  BOOL m_initialised{FALSE};
  int m_startMove{0};  // index of the viewer's first own move
  int m_buttonMask{0};
  int m_boardMode{3};
  CSize m_minimumSize{0, 0};
};

#pragma once
// CUserMoveDlg: a modeless window where the viewer tries moves of their own on a board of the
// dialog's own that starts from a copy of the main board's moves. The relay view opens and closes
// it; the dialog asks to be closed with WM_DIALOG_CLOSED (138).

#include "client/model/BadukCtrl.h"
#include "client/model/NodeArray.h"
#include "platform/controls.h"
#include "platform/dialogs.h"

class CUserMoveDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 138;
  // Controls and the bitmaps of the buttons.
  static constexpr UINT kFirst = 1001;     // back to the start position (320)
  static constexpr UINT kPrevious = 1002;  // (323)
  static constexpr UINT kNext = 1003;      // (322)
  static constexpr UINT kLast = 1005;      // (321)
  static constexpr UINT kMoveEdit = 1006;  // move number to jump to, counted from the first own move
  static constexpr UINT kNumbers = 1013;   // move numbers on or off (319)
  static constexpr UINT kSpare = 1014;     // no action
  static constexpr UINT kClose = 1015;     // (324)

  CUserMoveDlg();
  ~CUserMoveDlg() override;

  // The moves to start from; the dialog owns them until start-up consumes them.
  CNodeArray& GetHeldMoves() { return m_heldMoves; }
  // Bit 1 hides button 1013, bit 2 hides button 1014.
  void SetButtonMask(int bits);
  // Creates and shows the window, its right edge and top at those of the view's window.
  BOOL CreateModeless(CWnd* ownerView);
  // Destroys the window; the object deletes itself after it.
  void Close();

  CBadukCtrl& GetBoard() { return m_board; }
  int GetStartMove() const { return m_startMove; }

  BOOL OnInitDialog() override;
  // Enter in the move edit jumps; elsewhere it does nothing.
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnOK() override;
  // Escape and the close box ask the view to close the dialog.
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
  void OnSize(UINT type, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* dc);
  void OnPaint();
  void OnGetMinMaxInfo(MINMAXINFO* info);
  HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  DECLARE_MESSAGE_MAP()

private:
  void ReplayHeldMoves();
  void LoadButtonBitmaps();
  void ApplyButtonMask();
  void Layout();
  // Goes to the typed move and shows the move reached.
  void JumpToTypedMove();

  CNodeArray m_heldMoves;
  CButton m_buttons[6];  // 1002, 1003, 1005, 1001, 1013, 1015
  CBitmap m_buttonBitmaps[6];
  CBadukCtrl m_board;
  int m_typedMove{0};  // edit 1006
  BOOL m_showCoordinates{TRUE};
  BOOL m_initialised{FALSE};
  int m_startMove{0};  // index of the viewer's first own move
  int m_buttonMask{0};
  int m_boardMode{3};
  CSize m_minimumSize{0, 0};
  CWnd* m_ownerView{nullptr};
};

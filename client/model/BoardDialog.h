#pragma once
// CBoardDialog: what the viewer's two modeless board dialogs (user move, game diagram) share: the
// dialog's own board window, the row of picture buttons that step through it, the move number
// typed into edit 1006, placement beside the owner view and the request to be closed.

#include "client/widgets/ImageButton.h"
#include "client/model/BadukCtrl.h"
#include "platform/controls.h"
#include "platform/dialogs.h"

class CBoardDialog : public CDialog {
public:
  static constexpr UINT kFirst = 1001;     // back to the start position
  static constexpr UINT kPrevious = 1002;
  static constexpr UINT kNext = 1003;
  static constexpr UINT kLast = 1005;
  static constexpr UINT kMoveEdit = 1006;  // move number to jump to, counted from the board's base move

  // numbersId and closeId are the dialog's buttons that toggle move numbers and close it.
  CBoardDialog(UINT templateId, CWnd* ownerView, UINT numbersId, UINT closeId);

  // Creates and shows the window, its right edge and top at those of the owner view's window.
  BOOL CreateModeless(CWnd* ownerView);
  // Destroys the window; the object deletes itself after it.
  void Close();

  CBadukCtrl& GetBoard() { return m_board; }

  // Enter in the move edit jumps; elsewhere the dialog's usual keys.
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnOK() override;
  // Escape and the close box ask the owner view to close the dialog.
  void OnCancel() override;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void PostNcDestroy() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // Gives each picture button its bitmap at the bitmap's own size.
  void LoadButtonBitmaps();
  // Goes to the typed move and shows the move reached, both counted from the base move.
  void JumpToTypedMove();
  // Posts WM_DIALOG_CLOSED with the template number to the owner view.
  void RequestClose();

  CBadukCtrl m_board;
  CWnd* m_ownerView{nullptr};

private:
  UINT m_templateId;
  UINT m_numbersId;
  UINT m_closeId;
  CImageButton m_buttons[6];  // first, previous, next, last, numbers, close
  int m_typedMove{0};         // edit 1006
};

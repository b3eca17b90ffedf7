#pragma once
// CGotoMoveDlg: asks for the move number the replay dialogs jump to (template 196). Only digits
// and Backspace may be typed; OK takes a number from 0 to kMaxMove.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CGotoMoveDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 196;
  static constexpr UINT kNumberEdit = 61480;
  static constexpr int kMaxMove = 600;

  explicit CGotoMoveDlg(CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();

  // Whether a typed character is let through: digits and Backspace, and only into an edit.
  static bool AcceptsChar(bool focusInEdit, UINT ch);
  // Why the number text cannot be taken (a message for the user), or null when number holds it.
  static const char* CheckNumber(const CString& text, int& number);

  // Characters that reach the dialog pass through the filter before the edit sees them.
  BOOL PreTranslateMessage(MSG* msg) override;

  CString m_strNumber;  // the number text, read by the caller after IDOK
  int m_nNumber{0};     // the number itself after IDOK

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnChar(UINT ch, UINT repeat, UINT flags);
  DECLARE_MESSAGE_MAP()

private:
  // FALSE (after telling the user) when ch is dropped.
  BOOL FilterChar(UINT ch);
};

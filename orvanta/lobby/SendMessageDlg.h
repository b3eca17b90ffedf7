#pragma once
// CSendMessageDlg: a memo to a user id (template 406). The caller may preset the receiver and
// sends the text itself after OK.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CSendMessageDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 406;
  static constexpr UINT kReceiverEdit = 1127;
  static constexpr UINT kTextEdit = 1007;

  explicit CSendMessageDlg(CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();
  BOOL PreTranslateMessage(MSG* msg) override;
  // With the receiver preset (a reply), the message box takes the focus: what is typed is the
  // message, never a replacement of the receiver.
  BOOL OnInitDialog() override;

  CString m_strReceiver;
  CString m_strText;

protected:
  void DoDataExchange(CDataExchange* dx) override;
};

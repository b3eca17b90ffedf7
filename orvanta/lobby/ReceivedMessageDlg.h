#pragma once
// CReceivedMessageDlg: a message another user sent (template 377) and the answer to it. F2
// anywhere in the dialog sends as "Send(F2)" does; a blank answer is only sent after a question.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CReceivedMessageDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 377;
  static constexpr UINT kReceivedEdit = 1246;
  static constexpr UINT kAnswerEdit = 1247;

  CReceivedMessageDlg(CWnd* parent, const CString& caption, const CString& received);
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  CString m_strCaption;
  CString m_strReceived;
  CString m_strAnswer;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
};

#pragma once
// CNoticeDlg: a notice from the service's operator (template 317), read-only; "GoTo" ends it with
// 100 when the notice has somewhere to go.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CNoticeDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 317;
  static constexpr UINT kTextEdit = 1224;
  static constexpr UINT kGoToButton = 1432;
  static constexpr UINT kHiddenDefaultButton = 1192;
  static constexpr int kGoToResult = 100;

  CNoticeDlg(CWnd* parent, const CString& text, const CString& caption, int goTo);
  static platform::DialogTemplate BuildTemplate();

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  int m_nGoTo{0};
  CString m_strNotice;
  CString m_strCaption;
  CString m_strText;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnGoTo();
  DECLARE_MESSAGE_MAP()
};

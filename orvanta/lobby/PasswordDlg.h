#pragma once
// CPasswordDlg: the password of a private room (template 275); at most 10 characters, never a
// "|" or "/".

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CPasswordDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 275;
  static constexpr UINT kPasswordEdit = 1126;
  static constexpr int kMaxLength = 10;

  explicit CPasswordDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  CString m_strPassword;

protected:
  void DoDataExchange(CDataExchange* dx) override;
};

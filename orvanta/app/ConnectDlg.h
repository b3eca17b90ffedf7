#pragma once
// CConnectDlg: the login dialog (template 179). It refuses an empty ID or password and any "/" or
// "|" in them (they separate the record's fields) before anything is sent; Enter in the ID edit
// moves on to the password, Enter in the password edit runs OK.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/app/LoginProfile.h"

class CConnectDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 179;

  explicit CConnectDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}

  // The template the program registers under kTemplateId.
  static platform::DialogTemplate BuildTemplate();
  // One login dialog pass: shows what the profile remembers; on OK stores the entries in the
  // profile and gives the typed ID and password. FALSE on Cancel (nothing stored).
  static BOOL RunLoginPass(CWnd* parent, CLoginProfile& profile, CString& id, CString& password);

  BOOL OnInitDialog() override;
  void OnOK() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  CString m_strId;
  CString m_strPassword;
  int m_nSavePassword{1};

protected:
  void DoDataExchange(CDataExchange* dx) override;

private:
  // Focuses an edit with its whole text selected.
  void FocusEdit(UINT id);
};

#pragma once
// CSearchUserDlg: asks for a user (template 144). Captioned "Search User" the user picks whether
// the text is an ID or a name; under any other caption only an ID is asked for. After OK the
// entered text and its kind ("User ID" or "User name") are read.

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CSearchUserDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 144;
  static constexpr UINT kKindLabel = 1445;
  static constexpr UINT kKindCombo = 1444;
  static constexpr UINT kTextEdit = 1087;
  static constexpr int kMaxLength = 30;
  // The caption under which the kind can be chosen.
  static constexpr const char* kSearchCaption = "Search User";

  CSearchUserDlg(const CString& caption, CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;

  CString m_strKind{"User ID"};
  CString m_strText;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;

private:
  CComboBox m_kindCombo;
  CString m_strCaption;
};

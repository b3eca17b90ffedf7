#pragma once
// CViewModeDlg: the automatic replay interval (template 228), read by the caller after OK.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CViewModeDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 228;
  static constexpr UINT kIntervalCombo = 1152;

  explicit CViewModeDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();

  BOOL OnInitDialog() override;

  CString m_strInterval{"1sec"};

protected:
  void DoDataExchange(CDataExchange* dx) override;
};

#pragma once
// CContinuePlayDlg: how a paused game goes on (template 363): from the server's play record (0)
// or from a saved file (1, chosen at the start).

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CContinuePlayDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 363;
  static constexpr UINT kFrame = 1298;
  static constexpr UINT kPlayRecordRadio = 1231;
  static constexpr UINT kSavedFileRadio = 1232;
  static constexpr int kFromPlayRecord = 0;
  static constexpr int kFromSavedFile = 1;

  explicit CContinuePlayDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;

  int m_nChoice{-1};

protected:
  void DoDataExchange(CDataExchange* dx) override;
};

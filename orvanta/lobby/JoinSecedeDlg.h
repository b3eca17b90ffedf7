#pragma once
// CJoinSecedeDlg: join a forum or secede from it (template 459). Ends with 100 (join) or 200
// (secede) after the user confirms.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CJoinSecedeDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 459;
  static constexpr UINT kJoinRadio = 1404;
  static constexpr UINT kSecedeRadio = 1405;
  static constexpr UINT kOkButton = 1151;
  static constexpr UINT kCancelButton = 1388;
  static constexpr int kJoinResult = 100;
  static constexpr int kSecedeResult = 200;

  explicit CJoinSecedeDlg(CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();
  // A member is offered Secede, a non-member Join.
  void SetMember(BOOL joined) { m_nChoice = joined ? 1 : 0; }
  BOOL OnInitDialog() override;

  int m_nChoice{1};  // 0 join, 1 secede

protected:
  void OnConfirm();
  void OnCancelButton();
  DECLARE_MESSAGE_MAP()
};

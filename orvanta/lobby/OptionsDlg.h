#pragma once
// COptionsDlg: the user's availability switches (template 407). The caller sets the four values
// before DoModal and reads them back after OK; any value of 1 or more shows as checked.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class COptionsDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 407;
  static constexpr UINT kSelectFrame = 1302;
  static constexpr UINT kInviteCheck = 1274;
  static constexpr UINT kManToManCheck = 1273;
  static constexpr UINT kAlarmCheck = 1275;
  static constexpr UINT kNegoCheck = 1347;

  explicit COptionsDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;

  int m_nInvite{0};
  int m_nManToMan{0};  // "1:1 Chatting"
  int m_nAlarm{0};     // "Message Alarm"
  int m_nNego{0};      // "Nego in waiting room"

protected:
  void DoDataExchange(CDataExchange* dx) override;
};

#pragma once
// CAutoViewTimeDlg: chooses the step of the automatic replay, 1 to 10 seconds.

#include "platform/controls.h"
#include "platform/dialogs.h"

class CAutoViewTimeDlg : public CDialog {
public:
  explicit CAutoViewTimeDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;

  int m_nInterval{3};  // seconds

protected:
  void OnSelChange();
  CComboBox m_list;
  DECLARE_MESSAGE_MAP()
};

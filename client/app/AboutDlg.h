#pragma once
// CAboutDlg: the program's name and version.

#include "platform/dialogs.h"

class CAboutDlg : public CDialog {
public:
  explicit CAboutDlg(CWnd* parent = nullptr);
  BOOL OnInitDialog() override;
};

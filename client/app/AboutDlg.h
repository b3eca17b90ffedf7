#pragma once
// CAboutDlg: the program's picture, name and version.

#include "platform/dialogs.h"

class CAboutDlg : public CDialog {
public:
  explicit CAboutDlg(CWnd* parent = nullptr);
  ~CAboutDlg() override;
  BOOL OnInitDialog() override;

private:
  HICON m_icon{nullptr};  // made from the program's picture while the box is open
};

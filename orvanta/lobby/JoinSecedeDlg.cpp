#include "orvanta/lobby/JoinSecedeDlg.h"

#include <platform/controls.h>
#include <platform/msgbox.h>

BEGIN_MESSAGE_MAP(CJoinSecedeDlg, CDialog)
  ON_BN_CLICKED(CJoinSecedeDlg::kOkButton, OnConfirm)
  ON_BN_CLICKED(CJoinSecedeDlg::kCancelButton, OnCancelButton)
END_MESSAGE_MAP()

CJoinSecedeDlg::CJoinSecedeDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

platform::DialogTemplate CJoinSecedeDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 140;
  t.cy = 70;
  t.caption = "Join or Secede";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Button", kJoinRadio, 20, 10, 60, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Join"),
      platform::VisibleItem("Button", kSecedeRadio, 20, 24, 60, 10, BS_AUTORADIOBUTTON, "Secede"),
      platform::VisibleItem("Button", kOkButton, 14, 48, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", kCancelButton, 76, 48, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CJoinSecedeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CheckDlgButton(static_cast<int>(kJoinRadio), m_nChoice == 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(static_cast<int>(kSecedeRadio), m_nChoice == 0 ? BST_UNCHECKED : BST_CHECKED);
  return TRUE;
}

void CJoinSecedeDlg::OnConfirm() {
  m_nChoice = IsDlgButtonChecked(static_cast<int>(kJoinRadio)) ? 0 : 1;
  const char* question = m_nChoice == 0 ? "Do you wish to join?" : "Do you wish to secede?";
  if (::MessageBox(m_hWnd, question, "Confirm", MB_YESNO) != IDYES)
    return;
  EndDialog(m_nChoice == 0 ? kJoinResult : kSecedeResult);
}

void CJoinSecedeDlg::OnCancelButton() { EndDialog(IDCANCEL); }

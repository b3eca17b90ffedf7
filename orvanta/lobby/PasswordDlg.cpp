#include "orvanta/lobby/PasswordDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

#include "orvanta/lobby/SeparatorFilter.h"

platform::DialogTemplate CPasswordDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 150;
  t.cy = 62;
  t.caption = "Password";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Static", 0xFFFF, 10, 12, 40, 8, SS_LEFT, "Password"),
      platform::VisibleItem("Edit", kPasswordEdit, 52, 10, 88, 12, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Button", IDOK, 20, 38, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 80, 38, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CPasswordDlg::OnInitDialog() {
  if (CWnd* edit = GetDlgItem(static_cast<int>(kPasswordEdit)))
    edit->SendMessage(EM_LIMITTEXT, kMaxLength);
  return CDialog::OnInitDialog();
}

BOOL CPasswordDlg::PreTranslateMessage(MSG* msg) {
  if (IsSeparatorKeyForEdit(msg))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

void CPasswordDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, static_cast<int>(kPasswordEdit), m_strPassword);
  DDV_MaxChars(dx, m_strPassword, kMaxLength);
}

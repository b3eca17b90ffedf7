#include "orvanta/lobby/OpenRoomDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

#include "orvanta/lobby/SeparatorFilter.h"

BEGIN_MESSAGE_MAP(COpenRoomDlg, CDialog)
  ON_BN_CLICKED(COpenRoomDlg::kPublicRadio, OnPublic)
  ON_BN_CLICKED(COpenRoomDlg::kPrivateRadio, OnPrivate)
END_MESSAGE_MAP()

platform::DialogTemplate COpenRoomDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 220;
  t.cy = 118;
  t.caption = "Open Play Room";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Button", 1297, 6, 4, 208, 32, BS_GROUPBOX, "Title"),
      platform::VisibleItem("Edit", kTitleEdit, 14, 16, 192, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Button", 1296, 6, 40, 208, 52, BS_GROUPBOX, "Option"),
      platform::VisibleItem("Button", kPublicRadio, 14, 52, 50, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "Public"),
      platform::VisibleItem("Button", kPrivateRadio, 70, 52, 50, 10, BS_AUTORADIOBUTTON, "Private"),
      platform::VisibleItem("Edit", kPasswordEdit, 124, 50, 82, 12,
                            ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER | WS_DISABLED),
      platform::VisibleItem("Button", kHintCheck, 14, 72, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, "Hint Moves"),
      platform::VisibleItem("Button", IDOK, 54, 98, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 116, 98, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL COpenRoomDlg::OnInitDialog() {
  m_nVisibility = 0;
  m_nHint = 1;
  if (CWnd* edit = GetDlgItem(static_cast<int>(kPasswordEdit)))
    edit->SendMessage(EM_LIMITTEXT, kMaxPassword);
  if (CWnd* edit = GetDlgItem(static_cast<int>(kTitleEdit)))
    edit->SendMessage(EM_LIMITTEXT, kMaxTitle);
  return CDialog::OnInitDialog();
}

void COpenRoomDlg::OnPublic() {
  if (CWnd* edit = GetDlgItem(static_cast<int>(kPasswordEdit))) {
    edit->SetWindowText("");
    edit->EnableWindow(FALSE);
  }
}

void COpenRoomDlg::OnPrivate() {
  CWnd* edit = GetDlgItem(static_cast<int>(kPasswordEdit));
  if (!edit)
    return;
  edit->EnableWindow(TRUE);
  edit->SetFocus();
  edit->SendMessage(EM_SETSEL, 0, -1);
  edit->SendMessage(EM_SCROLLCARET);
}

void COpenRoomDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  if (m_strTitle.IsEmpty())
    m_strTitle = "Good Play!!";
  GetDlgItemText(static_cast<int>(kPasswordEdit), m_strPassword);
  EndDialog(IDOK);
}

BOOL COpenRoomDlg::PreTranslateMessage(MSG* msg) {
  // The title and the password go into the open request's payload.
  if (IsSeparatorKeyForEdit(msg))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

void COpenRoomDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Radio(dx, static_cast<int>(kPublicRadio), m_nVisibility);
  DDX_Text(dx, static_cast<int>(kTitleEdit), m_strTitle);
  DDV_MaxChars(dx, m_strTitle, kMaxTitle);
  DDX_Check(dx, static_cast<int>(kHintCheck), m_nHint);
}

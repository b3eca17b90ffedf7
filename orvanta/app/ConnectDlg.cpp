#include "orvanta/app/ConnectDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>
#include <platform/msgbox.h>

namespace {

constexpr UINT kLabelId = 0xFFFF;

}  // namespace

platform::DialogTemplate CConnectDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 186;
  t.cy = 82;
  t.caption = "Connect: Pellomar";
  t.items = {
      platform::VisibleItem("Static", kLabelId, 10, 12, 50, 8, SS_LEFT, "User ID"),
      platform::VisibleItem("Edit", CLoginProfile::kIdEdit, 64, 10, 110, 12, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Static", kLabelId, 10, 30, 50, 8, SS_LEFT, "Password"),
      platform::VisibleItem("Edit", CLoginProfile::kPasswordEdit, 64, 28, 110, 12,
           ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER),
      platform::VisibleItem("Button", CLoginProfile::kSaveCheck, 64, 44, 110, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Save Password"),
      platform::VisibleItem("Button", IDOK, 40, 60, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 96, 60, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CConnectDlg::RunLoginPass(CWnd* parent, CLoginProfile& profile, CString& id, CString& password) {
  CConnectDlg dialog(parent);
  BOOL save = FALSE;
  profile.Load(dialog.m_strId, dialog.m_strPassword, save);
  dialog.m_nSavePassword = save ? 1 : 0;
  if (dialog.DoModal() != IDOK)
    return FALSE;
  profile.Store(dialog.m_strId, dialog.m_strPassword, dialog.m_nSavePassword != 0);
  id = dialog.m_strId;
  password = dialog.m_strPassword;
  return TRUE;
}

BOOL CConnectDlg::OnInitDialog() {
  for (UINT id : {CLoginProfile::kIdEdit, CLoginProfile::kPasswordEdit})
    if (CWnd* edit = GetDlgItem(static_cast<int>(id)))
      edit->SendMessage(EM_LIMITTEXT, CLoginProfile::kMaxLength);
  return CDialog::OnInitDialog();
}

void CConnectDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Text(dx, CLoginProfile::kIdEdit, m_strId);
  DDX_Text(dx, CLoginProfile::kPasswordEdit, m_strPassword);
  DDX_Check(dx, CLoginProfile::kSaveCheck, m_nSavePassword);
}

void CConnectDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  UINT badControl = 0;
  const CString refusal = CLoginProfile::CheckEntries(m_strId, m_strPassword, badControl);
  if (!refusal.IsEmpty()) {
    AfxMessageBox(refusal);
    FocusEdit(badControl);
    return;
  }
  EndDialog(IDOK);
}

BOOL CConnectDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    const CWnd* idEdit = GetDlgItem(static_cast<int>(CLoginProfile::kIdEdit));
    if (idEdit && ::GetFocus() == idEdit->GetSafeHwnd()) {
      FocusEdit(CLoginProfile::kPasswordEdit);
      return TRUE;
    }
  }
  return CDialog::PreTranslateMessage(msg);
}

void CConnectDlg::FocusEdit(UINT id) {
  CWnd* edit = GetDlgItem(static_cast<int>(id));
  if (!edit)
    return;
  edit->SetFocus();
  edit->SendMessage(EM_SETSEL, 0, -1);
}

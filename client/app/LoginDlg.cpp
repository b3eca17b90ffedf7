#include "client/app/LoginDlg.h"

#include "client/widgets/TextUtilities.h"
#include "client/resources/ClientIds.h"
#include "platform/controls.h"
#include "platform/ddx.h"

namespace {

void SetItemText(CWnd& dialog, int id, const char* literal) {
  CString text;
  LoadUiText(literal, text);
  dialog.SetDlgItemText(id, text);
}

}  // namespace

CLoginDlg::CLoginDlg(CWnd* parent) : CDialog(IDD_LOGIN, parent) {}

BOOL CLoginDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CString caption;
  LoadUiText("Server connection", caption);
  SetWindowText(caption);
  SetItemText(*this, IDC_LOGIN_GROUP, "Explain");
  SetItemText(*this, IDC_LOGIN_TEXT, "Text");
  SetItemText(*this, IDC_LOGIN_VOICE, "Voice");
  SetItemText(*this, IDC_LOGIN_USER_LABEL, "User name");
  SetItemText(*this, IDC_LOGIN_PASSWORD_LABEL, "Password");
  // The edits take no more than the server accepts.
  for (int id : {IDC_LOGIN_USER, IDC_LOGIN_PASSWORD}) {
    ::SendMessage(::GetDlgItem(m_hWnd, id), EM_LIMITTEXT, kMaxChars, 0);
  }
  return TRUE;
}

void CLoginDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Text(dx, IDC_LOGIN_USER, m_strUserName);
  DDV_MaxChars(dx, m_strUserName, kMaxChars);
  DDX_Text(dx, IDC_LOGIN_PASSWORD, m_strPassword);
  DDV_MaxChars(dx, m_strPassword, kMaxChars);
  const HWND text = ::GetDlgItem(m_hWnd, IDC_LOGIN_TEXT);
  const HWND voice = ::GetDlgItem(m_hWnd, IDC_LOGIN_VOICE);
  if (text == nullptr || voice == nullptr) return;
  if (dx->m_bSaveAndValidate) {
    if (::SendMessage(text, BM_GETCHECK, 0, 0) == BST_CHECKED) {
      m_nExplainMode = kTextExplanation;
    } else if (::SendMessage(voice, BM_GETCHECK, 0, 0) == BST_CHECKED) {
      m_nExplainMode = kVoiceExplanation;
    }
  } else {
    ::SendMessage(text, BM_SETCHECK, (m_nExplainMode & 2) ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessage(voice, BM_SETCHECK, (m_nExplainMode & 1) ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void CLoginDlg::OnOK() {
  CString user, password;
  GetDlgItemText(IDC_LOGIN_USER, user);
  GetDlgItemText(IDC_LOGIN_PASSWORD, password);
  if (user.IsEmpty() && password.IsEmpty()) {
    ShowMessage("Enter user id and password.");
  } else if (user.IsEmpty()) {
    ShowMessage("Enter user id.");
  } else if (password.IsEmpty()) {
    ShowMessage("Enter user password.");
  } else {
    CDialog::OnOK();
  }
}

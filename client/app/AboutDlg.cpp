#include "client/app/AboutDlg.h"

#include "client/app/TextUtilities.h"
#include "client/resources/ClientIds.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CString text;
  LoadUiText("Ondrivo Client Information", text);
  SetWindowText(text);
  LoadUiText("Ondrivo Client Version 1.0", text);
  SetDlgItemText(IDC_ABOUT_VERSION, text);
  return TRUE;
}

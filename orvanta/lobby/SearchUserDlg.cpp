#include "orvanta/lobby/SearchUserDlg.h"

#include <platform/ddx.h>
#include <platform/msgbox.h>

namespace {

using platform::VisibleItem;

constexpr int kGap = 5;

}  // namespace

CSearchUserDlg::CSearchUserDlg(const CString& caption, CWnd* parent)
    : CDialog(kTemplateId, parent), m_strCaption(caption) {}

platform::DialogTemplate CSearchUserDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 190;
  t.cy = 58;
  t.caption = kSearchCaption;
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Static", kKindLabel, 8, 12, 34, 9, SS_LEFT, "User ID"),
      VisibleItem("ComboBox", kKindCombo, 8, 10, 56, 60, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
      VisibleItem("Edit", kTextEdit, 70, 10, 112, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", IDOK, 36, 36, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      VisibleItem("Button", IDCANCEL, 104, 36, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CSearchUserDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CWnd* label = GetDlgItem(static_cast<int>(kKindLabel));
  CWnd* edit = GetDlgItem(static_cast<int>(kTextEdit));
  if (m_strCaption == kSearchCaption) {
    if (label)
      label->ShowWindow(SW_HIDE);
    m_kindCombo.ShowWindow(SW_SHOW);
    m_kindCombo.AddString("User ID");
    m_kindCombo.AddString("User Name");
    m_kindCombo.SetCurSel(0);
  } else {
    if (label)
      label->ShowWindow(SW_SHOW);
    m_kindCombo.ShowWindow(SW_HIDE);
    // The edit takes the room the hidden list leaves, from just right of the label.
    if (label && edit) {
      CRect labelRect;
      CRect editRect;
      label->GetWindowRect(&labelRect);
      edit->GetWindowRect(&editRect);
      ScreenToClient(&labelRect);
      ScreenToClient(&editRect);
      const int left = labelRect.right + kGap;
      edit->MoveWindow(left, editRect.top, editRect.right - left, editRect.Height());
    }
  }
  SetWindowText(m_strCaption);
  if (edit)
    edit->SendMessage(EM_LIMITTEXT, kMaxLength);
  UpdateData(FALSE);
  // The ID (or name) is what a person types first; the kind list keeps its default.
  if (edit) {
    edit->SetFocus();
    return FALSE;
  }
  return TRUE;
}

void CSearchUserDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kKindCombo), m_kindCombo);
  DDX_Text(dx, static_cast<int>(kTextEdit), m_strText);
  DDV_MaxChars(dx, m_strText, kMaxLength);
}

void CSearchUserDlg::OnOK() {
  if (!UpdateData(TRUE))
    return;
  if (m_strText.IsEmpty()) {
    AfxMessageBox("You must enter User ID.");
    if (CWnd* edit = GetDlgItem(static_cast<int>(kTextEdit)))
      edit->SetFocus();
    return;
  }
  m_strKind = m_kindCombo.GetCurSel() == 0 ? "User ID" : "User name";
  EndDialog(IDOK);
}

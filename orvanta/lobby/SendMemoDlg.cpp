#include "orvanta/lobby/SendMemoDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

#include "orvanta/lobby/SeparatorFilter.h"

CSendMemoDlg::CSendMemoDlg(const CString& number, const CString& userId, CWnd* parent, BOOL, const CString& further)
    : CDialog(kTemplateId, parent),
      m_strNumber(number),
      m_strUserId(userId),
      m_strFurther(further),
      m_bNumberGiven(!number.IsEmpty()) {}

platform::DialogTemplate CSendMemoDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 220;
  t.cy = 150;
  t.caption = "Send Memo";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Static", 0xFFFF, 8, 10, 40, 8, SS_LEFT, "  UserID:"),
      platform::VisibleItem("Edit", kUserIdEdit, 50, 8, 90, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Static", kWaitingRoomLabel, 8, 28, 40, 8, SS_LEFT, "    Host:"),
      platform::VisibleItem("ComboBox", kWaitingRoomCombo, 50, 26, 90, 80, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP),
      platform::VisibleItem("Button", kMessageFrame, 6, 44, 208, 78, BS_GROUPBOX),
      platform::VisibleItem("Edit", kMessageEdit, 12, 54, 196, 62,
                            ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP),
      platform::VisibleItem("Button", IDOK, 50, 130, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "Send(F2)"),
      platform::VisibleItem("Button", IDCANCEL, 120, 130, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

void CSendMemoDlg::SetWaitingRooms(const CWaitingRoomTable* table, int ownNumber) {
  m_pTable = table;
  m_nOwnNumber = ownNumber;
}

BOOL CSendMemoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CComboBox* combo = m_combo.m_hWnd ? &m_combo : nullptr;
  if (m_bNumberGiven) {
    if (combo)
      combo->ShowWindow(SW_HIDE);
    if (CWnd* label = GetDlgItem(static_cast<int>(kWaitingRoomLabel)))
      label->ShowWindow(SW_HIDE);
    for (UINT id : {kMessageFrame, kMessageEdit}) {
      CWnd* control = GetDlgItem(static_cast<int>(id));
      if (!control)
        continue;
      CRect rect;
      control->GetWindowRect(&rect);
      ScreenToClient(&rect);
      control->MoveWindow(rect.left, rect.top - kRaisePixels, rect.Width(), rect.Height());
    }
  } else if (combo && m_pTable) {
    for (const CWaitingRoomTable::Entry& entry : m_pTable->GetEntries()) combo->AddString(entry.name);
    const CString own = m_pTable->LookupWaitingRoomName(m_nOwnNumber);
    if (!own.IsEmpty())
      combo->SelectString(-1, own);
  }
  if (CWnd* message = GetDlgItem(static_cast<int>(kMessageEdit)))
    message->SetFocus();
  return FALSE;
}

BOOL CSendMemoDlg::PreTranslateMessage(MSG* msg) {
  if (IsSeparatorKeyForEdit(msg))
    return TRUE;
  if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_F2)
    OnOK();
  return CDialog::PreTranslateMessage(msg);
}

void CSendMemoDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kWaitingRoomCombo), m_combo);
  DDX_Text(dx, static_cast<int>(kUserIdEdit), m_strUserId);
  DDX_Text(dx, static_cast<int>(kMessageEdit), m_strMessage);
}

void CSendMemoDlg::OnOK() {
  if (!m_hWnd || !UpdateData(TRUE))
    return;
  if (m_strUserId.IsEmpty()) {
    ::MessageBox(m_hWnd, "You have not entered your ID.\nPlease enter ID.", "", MB_OK);
    return;
  }
  if (m_strMessage.IsEmpty()) {
    ::MessageBox(m_hWnd, "Your message is blank. \n Input message.", "", MB_OK);
    return;
  }
  if (!m_bNumberGiven) {
    m_strNumber.Empty();
    CComboBox* combo = m_combo.m_hWnd ? &m_combo : nullptr;
    const int selected = combo ? combo->GetCurSel() : -1;
    CString name;
    if (selected >= 0)
      combo->GetLBText(selected, name);
    name = name.Left(256);
    const int number = m_pTable ? m_pTable->LookupWaitingRoomNumber(name) : -1;
    if (number >= 0)
      m_strNumber.Format("%d", number);
  }
  EndDialog(IDOK);
}

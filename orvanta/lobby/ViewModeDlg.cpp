#include "orvanta/lobby/ViewModeDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

platform::DialogTemplate CViewModeDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 160;
  t.cy = 70;
  t.caption = "Set View Mode";
  t.fontName = Cp949("돋움체");
  t.fontSize = 9;
  t.items = {
      platform::VisibleItem("Button", 1298, 6, 4, 148, 36, BS_GROUPBOX, "Select Interval"),
      platform::VisibleItem("Static", 0xFFFF, 14, 20, 40, 8, SS_LEFT, "Interval:"),
      platform::VisibleItem("ComboBox", kIntervalCombo, 56, 18, 90, 60, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP),
      platform::VisibleItem("Button", IDOK, 24, 50, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK"),
      platform::VisibleItem("Button", IDCANCEL, 86, 50, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL CViewModeDlg::OnInitDialog() {
  if (CWnd* combo = GetDlgItem(static_cast<int>(kIntervalCombo)))
    for (const char* item : {"1초", "3초", "5초", "10초"})
      combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp949(item)));
  return CDialog::OnInitDialog();
}

void CViewModeDlg::DoDataExchange(CDataExchange* dx) { DDX_CBString(dx, static_cast<int>(kIntervalCombo), m_strInterval); }

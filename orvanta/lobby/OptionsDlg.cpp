#include "orvanta/lobby/OptionsDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>

namespace {

using platform::VisibleItem;

// A check box takes 0 or 1; a stored bit value (2, 4, 8) still means "on".
int AsCheck(int value) { return value >= 1 ? 1 : 0; }

}  // namespace

platform::DialogTemplate COptionsDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 150;
  t.cy = 112;
  t.caption = "Options";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Button", kSelectFrame, 6, 4, 138, 78, BS_GROUPBOX, "Select Item"),
      VisibleItem("Button", kInviteCheck, 16, 18, 120, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Invite"),
      VisibleItem("Button", kManToManCheck, 16, 33, 120, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "1:1 Chatting"),
      VisibleItem("Button", kAlarmCheck, 16, 48, 120, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Message Alarm"),
      VisibleItem("Button", kNegoCheck, 16, 63, 120, 10, BS_AUTOCHECKBOX | WS_TABSTOP, "Nego in waiting room"),
      VisibleItem("Button", IDOK, 20, 90, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "OK"),
      VisibleItem("Button", IDCANCEL, 80, 90, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

BOOL COptionsDlg::OnInitDialog() {
  m_nInvite = AsCheck(m_nInvite);
  m_nManToMan = AsCheck(m_nManToMan);
  m_nAlarm = AsCheck(m_nAlarm);
  m_nNego = AsCheck(m_nNego);
  return CDialog::OnInitDialog();
}

void COptionsDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Check(dx, static_cast<int>(kInviteCheck), m_nInvite);
  DDX_Check(dx, static_cast<int>(kManToManCheck), m_nManToMan);
  DDX_Check(dx, static_cast<int>(kAlarmCheck), m_nAlarm);
  DDX_Check(dx, static_cast<int>(kNegoCheck), m_nNego);
}

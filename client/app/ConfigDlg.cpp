#include "client/app/ConfigDlg.h"

#include "client/relay/ClientConfig.h"
#include "client/widgets/TextUtilities.h"
#include "platform/ddx.h"
#include "platform/winsock.h"

BOOL CConfigDlg::RunConfigSetup(CWnd* parent, CClientConfig& config) {
  CConfigDlg dialog(parent);
  const char* address = config.GetClientIp();
  dialog.m_strAddress = address != nullptr ? address : "";
  dialog.m_nPort = config.GetClientPort();
  dialog.m_bSound = config.IsSoundOn() ? TRUE : FALSE;
  if (dialog.DoModal() != IDOK) return FALSE;
  config.SetClientIp(dialog.m_strAddress);
  config.SetClientPort(dialog.m_nPort);
  config.SetSound(dialog.m_bSound != FALSE);
  config.Save();
  return TRUE;
}

// The broadcast address 255.255.255.255 reads as INADDR_NONE and is refused with the rest: it is
// never a relay server.
BOOL CConfigDlg::ParseAddress(const char* text, BYTE fields[4]) {
  if (text == nullptr || *text == '\0') return FALSE;
  const u_long network = inet_addr(text);
  if (network == INADDR_NONE) return FALSE;
  const u_long host = ntohl(network);
  for (int i = 0; i < 4; ++i) fields[i] = static_cast<BYTE>(host >> (24 - 8 * i));
  return TRUE;
}

CString CConfigDlg::FormatAddress(const BYTE fields[4]) {
  CString text;
  text.Format("%d.%d.%d.%d", fields[0], fields[1], fields[2], fields[3]);
  return text;
}

BOOL CConfigDlg::OnInitDialog() {
  const BOOL result = CDialog::OnInitDialog();
  SetTexts();
  return result;
}

void CConfigDlg::SetTexts() {
  CString text;
  LoadUiText("Configuration", text);
  SetWindowText(text);
  LoadUiText("Server IP", text);
  SetDlgItemText(kAddressLabel, text);
  LoadUiText("Server Port", text);
  SetDlgItemText(kPortLabel, text);
  LoadUiText("Sound", text);
  SetDlgItemText(kSoundCheck, text);
}

void CConfigDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, kAddressCtrl, m_ipAddress);
  if (dx->m_bSaveAndValidate) {
    SaveAddress(dx);
  } else {
    ShowAddress();
  }
  DDX_Text(dx, kPortEdit, m_nPort);
  // A port beyond 16 bits would be cut down to another port when connecting.
  DDV_MinMaxInt(dx, m_nPort, 0, kMaxPort);
  DDX_Check(dx, kSoundCheck, m_bSound);
}

// A blank control gives no address rather than "0.0.0.0", so that connecting reports the missing
// server instead of trying a meaningless one. A control with some fields blank is refused: taken
// as no address, it would throw the stored one away without a word.
void CConfigDlg::SaveAddress(CDataExchange* dx) {
  if (m_ipAddress.m_hWnd == nullptr) return;
  BYTE fields[4] = {0, 0, 0, 0};
  const int given = m_ipAddress.GetAddress(fields[0], fields[1], fields[2], fields[3]);
  if (given != 0 && given != 4) {
    dx->PrepareCtrl(kAddressCtrl);
    AfxMessageBox("Please enter all four numbers of the server's address.", MB_ICONEXCLAMATION);
    dx->Fail();
  }
  dx->Stage(m_strAddress, given == 4 ? FormatAddress(fields) : CString());
}

void CConfigDlg::ShowAddress() {
  if (m_ipAddress.m_hWnd == nullptr) return;
  BYTE fields[4] = {0, 0, 0, 0};
  if (ParseAddress(m_strAddress, fields)) {
    m_ipAddress.SetAddress(fields[0], fields[1], fields[2], fields[3]);
  } else {
    m_ipAddress.ClearAddress();
  }
}

#pragma once
// CConfigDlg: the configuration dialog (template 318) that edits the relay server's address and
// port and the sound setting; RunConfigSetup writes an accepted dialog back to the configuration.

#include "platform/controls_spin.h"
#include "platform/dialogs.h"
#include "platform/strings.h"

class CClientConfig;

class CConfigDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 318;
  static constexpr int kPortEdit = 1045;
  static constexpr int kSoundCheck = 1067;
  static constexpr int kAddressLabel = 1068;
  static constexpr int kPortLabel = 1069;
  static constexpr int kAddressCtrl = 1070;
  // Ports the relay connection can use; 0 is kept as "no server configured".
  static constexpr int kMaxPort = 65535;

  explicit CConfigDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}

  // The Config Setup command: shows config's address, port and sound; on OK stores the dialog's
  // values in config and saves it (a failed save is not reported). FALSE on Cancel, nothing
  // changed.
  static BOOL RunConfigSetup(CWnd* parent, CClientConfig& config);

  // Reads dotted text as inet_addr does ("a.b.c.d", also the short and octal or hex forms) into
  // the four numbers of the address, first one first. FALSE when it is not such an address, or
  // is 255.255.255.255 (which inet_addr cannot tell from a failure).
  static BOOL ParseAddress(const char* text, BYTE fields[4]);
  // "%d.%d.%d.%d" of the four numbers.
  static CString FormatAddress(const BYTE fields[4]);

  BOOL OnInitDialog() override;

  CString m_strAddress;  // "a.b.c.d", or empty when the address control is blank
  CIPAddressCtrl m_ipAddress;
  int m_nPort{0};
  BOOL m_bSound{TRUE};

protected:
  void DoDataExchange(CDataExchange* dx) override;

private:
  // Saving: the control's numbers become the address text (staged with the other values).
  void SaveAddress(CDataExchange* dx);
  // Filling: the address text into the control; text that is no address leaves it blank.
  void ShowAddress();
  // The title and labels, set at run time as every caption of the viewer is.
  void SetTexts();
};

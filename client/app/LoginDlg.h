#pragma once
// CLoginDlg: asks for the user name, the password and the kind of commentary (text or voice)
// before the viewer connects to the relay.

#include "platform/dialogs.h"
#include "platform/strings.h"

class CLoginDlg : public CDialog {
public:
  static constexpr int kTextExplanation = 2;
  static constexpr int kVoiceExplanation = 1;
  static constexpr int kMaxChars = 16;

  explicit CLoginDlg(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  // Refuses empty entries with a message and keeps the dialog open.
  void OnOK() override;

  int m_nExplainMode{kTextExplanation};  // 2 text, 1 voice
  CString m_strUserName;
  CString m_strPassword;

protected:
  void DoDataExchange(CDataExchange* dx) override;
};

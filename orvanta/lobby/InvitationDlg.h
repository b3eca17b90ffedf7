#pragma once
// CInvitationDlg: another player invites the user into his game room (template 496). The user
// agrees (IDOK) or declines (IDCANCEL); ten ticks of one second without an answer decline.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CInvitationDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 496;
  static constexpr UINT kMessageEdit = 1007;
  static constexpr UINT kInviterLabel = 1428;
  static constexpr UINT kProgress = 1426;
  static constexpr UINT kTimerId = 100;
  static constexpr UINT kTickMs = 1000;
  static constexpr int kTickLimit = 10;

  CInvitationDlg(const CString& inviter, const CString& message, CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;

  int GetTickCount() const { return m_nTickCount; }
  UINT_PTR GetTimerId() const { return m_nTimerId; }

protected:
  void OnOK() override;
  void OnCancel() override;
  void OnTimer(UINT_PTR id);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

private:
  void StopTimer();

  UINT_PTR m_nTimerId{0};  // 0 while no timer runs
  int m_nTickCount{0};
  CString m_strInviter;
  CString m_strMessage;
};

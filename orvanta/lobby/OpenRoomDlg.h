#pragma once
// COpenRoomDlg: the form for opening a game room (template 178): title, public or private with a
// password, and the hint option. An empty title becomes "Good Play!!".

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class COpenRoomDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 178;
  static constexpr UINT kTitleEdit = 1122;
  static constexpr UINT kHintCheck = 1123;
  static constexpr UINT kPublicRadio = 1124;
  static constexpr UINT kPrivateRadio = 1125;
  static constexpr UINT kPasswordEdit = 1126;
  static constexpr int kMaxPassword = 10;
  static constexpr int kMaxTitle = 35;

  explicit COpenRoomDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();

  BOOL OnInitDialog() override;
  void OnOK() override;
  BOOL PreTranslateMessage(MSG* msg) override;

  CString m_strPassword;
  int m_nVisibility{-1};  // 0 public, 1 private
  CString m_strTitle;
  int m_nHint{0};

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnPublic();
  void OnPrivate();
  DECLARE_MESSAGE_MAP()
};

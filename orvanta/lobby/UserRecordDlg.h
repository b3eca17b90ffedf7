#pragma once
// CUserRecordDlg: one user's ranking and game statistics (template 258), from message 103. Ends
// with 100 for "View Play Records" and IDOK for Close.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CUserRecordDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 258;
  static constexpr UINT kUserId = 1127;
  static constexpr UINT kGrade = 1136;
  static constexpr UINT kLastConnect = 1171;
  static constexpr UINT kRanking = 1176;
  static constexpr UINT kSameGrade = 1172;
  static constexpr UINT kHighGrade = 1175;
  static constexpr UINT kLowGrade = 1174;
  static constexpr UINT kPresentGrade = 1173;
  static constexpr UINT kTotalRecord = 1265;
  static constexpr UINT kPausedPlays = 1264;
  static constexpr UINT kScore = 1266;
  static constexpr UINT kRecordsButton = 1325;
  static constexpr int kRecordsResult = 100;

  CUserRecordDlg(const CString& payload, CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();
  // 0 hides "View Play Records".
  void ShowRecordsButton(int show) { m_nShowRecords = show; }
  BOOL OnInitDialog() override;
  // The text each control shows for payload.
  static CString FieldText(const CString& payload, UINT control);

protected:
  void OnRecords();
  DECLARE_MESSAGE_MAP()

private:
  CString m_strPayload;
  int m_nShowRecords{1};
};

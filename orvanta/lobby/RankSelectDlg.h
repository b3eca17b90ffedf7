#pragma once
// CRankSelectDlg: which ranking list to show (template 245) and, for the two grade lists, which
// grade. After OK the list kind and the grade's server number ("" for the other lists) are read.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CRankSelectDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 245;
  static constexpr UINT kOptionsFrame = 1298;
  static constexpr UINT kTotalGradeCombo = 1162;
  static constexpr UINT kKiwonGradeCombo = 1163;
  // The list kinds, in the order of their radio buttons.
  static constexpr UINT kKindRadios[8] = {1156, 1157, 1158, 1159, 1411, 1412, 1413, 1414};
  enum Kind { kRankTotal, kGradeTotal, kRankKiwon, kGradeKiwon, kMaxPlayer, kMaxWinner, kMaxLoser, kWinRate };

  explicit CRankSelectDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;

  CString m_strGradeNumber;  // "%d" of the chosen grade's server number, or empty
  int m_nKind{kRankKiwon};
  CString m_strKiwonGrade{"15K"};
  CString m_strTotalGrade{"15K"};

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnKind(UINT id);
  void OnComboEdit();
  DECLARE_MESSAGE_MAP()

private:
  void EnableCombos();
  BOOL m_bReloading{FALSE};  // the controls are being loaded from the values
};

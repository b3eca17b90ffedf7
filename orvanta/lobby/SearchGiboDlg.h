#pragma once
// CSearchGiboDlg: searches the stored game records (template 210). After OK its query text is
// what the record search sends: empty for all records, else an ID, name, grade or date query.

#include <platform/controls.h>
#include <platform/controls_datetime.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>
#include <platform/time.h>

class CSearchGiboDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 210;
  static constexpr UINT kOptionsFrame = 1298;
  static constexpr UINT kFirstGradeCombo = 1142;
  static constexpr UINT kSecondGradeCombo = 1143;
  static constexpr UINT kNameEdit = 1139;
  static constexpr UINT kIdEdit = 1138;
  static constexpr UINT kBothCombo = 1144;
  static constexpr UINT kFirstDate = 1141;
  static constexpr UINT kSecondDate = 1140;
  // The search kinds, in the order of their radio buttons.
  static constexpr UINT kKindRadios[5] = {1239, 1087, 1135, 1136, 1137};
  enum Kind { kNoKind = -1, kTotal, kById, kByName, kByGrade, kByDate };

  explicit CSearchGiboDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;
  // The query of a kind from the dialog's values; both: "Both" is chosen (else "One"). The
  // stronger grade and the earlier date go first. kNoKind gives previous unchanged.
  static CString BuildQuery(int kind, const CString& id, const CString& name, const CString& firstGrade,
                            const CString& secondGrade, BOOL both, const CTime& firstDate, const CTime& secondDate,
                            const CString& previous);

  CString m_strQuery;
  CString m_strId;
  CString m_strName;
  CString m_strFirstGrade{"15K"};
  CString m_strSecondGrade{"15K"};
  int m_nKind{kNoKind};

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnKind(UINT id);
  void OnComboEdit();
  DECLARE_MESSAGE_MAP()

private:
  void EnableInputs();

  CComboBox m_bothCombo;
  CDateTimeCtrl m_firstDate;
  CDateTimeCtrl m_secondDate;
  BOOL m_bReloading{FALSE};  // the controls are being loaded from the values
};

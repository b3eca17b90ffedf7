#pragma once
// CSearchBulletinDlg: searches the bulletin board (template 460) in all posts, by title, by
// writer ID or between two dates. After OK the board reads the kind and the texts.

#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CSearchBulletinDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 460;
  static constexpr UINT kTitleEdit = 1122;
  static constexpr UINT kIdEdit = 1127;
  static constexpr UINT kFirstYear = 1395, kFirstMonth = 1396, kFirstDay = 1397;
  static constexpr UINT kSecondYear = 1398, kSecondMonth = 1399, kSecondDay = 1400;
  // The kinds, in the order of their radio buttons.
  static constexpr UINT kKindRadios[4] = {1389, 1392, 1390, 1391};
  enum Kind { kTotal, kByTitle, kById, kByDate };

  explicit CSearchBulletinDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;
  // The board's search key ("LS", "LT", "LI", "LD") and text for the chosen kind.
  void GetSearch(CString& key, CString& text) const;
  // OK found every text its kind needs and ended the dialog.
  BOOL IsAccepted() const { return m_bAccepted; }

  int m_nKind{kTotal};
  CString m_strFirstDay;
  CString m_strFirstMonth;
  CString m_strFirstYear;
  CString m_strId;
  CString m_strSecondDay;
  CString m_strSecondMonth;
  CString m_strSecondYear;
  CString m_strTitle;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnKind(UINT id);
  DECLARE_MESSAGE_MAP()

private:
  void EnableInputs();
  BOOL m_bAccepted{FALSE};
};

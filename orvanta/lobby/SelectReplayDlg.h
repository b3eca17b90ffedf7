#pragma once
// CSelectReplayDlg: picks one player of a list (template 385). The list text is "/" records of
// "|"-separated fields (person, grade, host); after OK the chosen row's person and host are read.

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CSelectReplayDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 385;
  static constexpr UINT kPlayerList = 1012;

  CSelectReplayDlg(const CString& listText, CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();
  BOOL OnInitDialog() override;
  CListCtrl& GetList() { return m_list; }

  CString m_strPerson;  // column 0 of the chosen row
  CString m_strHost;    // column 2 of the chosen row

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnListDblClk(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

private:
  CString m_strListText;
  CListCtrl m_list;
};

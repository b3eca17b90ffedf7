#pragma once
// CPlayRecordListDlg: the user's stored unfinished games (template 231), one row per game the
// server lists as paused; "Continue to play" hands back the chosen game's number.

#include <array>
#include <vector>

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

class CPlayRecordListDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 231;
  static constexpr UINT kRecordList = 1153;
  static constexpr int kColumns = 6;
  using Row = std::array<CString, kColumns>;

  // owner: the user the list belongs to (kept, not shown); payload: the server's record list.
  CPlayRecordListDlg(const CString& owner, const CString& payload, CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();

  // The rows of a payload: count, then twelve fields a record; only paused games are listed.
  // lastNumber becomes the number of the last record read, less one.
  static std::vector<Row> RowsOf(const CString& payload, CString& lastNumber);

  CListCtrl& GetList() { return m_list; }
  const CString& GetOwner() const { return m_strOwner; }
  const CString& GetLastNumber() const { return m_strLastNumber; }

  CString m_strSelection{"-1"};  // the "No" text of the chosen row after IDOK

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnDblClkList(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

private:
  void FillRows();
  // The "No" of the first selected row, or "-1".
  CString SelectedNumber() const;

  CString m_strOwner;
  CString m_strPayload;
  CString m_strLastNumber;  // number of the last record listed, less one
  CListCtrl m_list;
};

#pragma once
// CMemoBoxDlg: the memo box (template 112), a modeless dialog the main frame keeps hidden until
// the user opens it. It lists the memos the server delivered and those kept in "./Message.dat",
// shows the selected one and replies to, deletes or keeps memos; rows whose check box is set are
// written back to the file when the frame replaces the box.

#include <functional>

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/lobby/MemoFile.h"

class CMemoBoxDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 112;
  static constexpr UINT kMemoList = 1001;
  static constexpr UINT kContentsEdit = 1007;
  static constexpr UINT kTipLine = 1270;
  static constexpr UINT kOkButton = 1004;
  static constexpr UINT kReplyCommand = 32807;
  static constexpr UINT kDeleteCommand = 32805;
  static constexpr UINT kDeleteAllCommand = 32808;
  static constexpr UINT_PTR kTipTimer = 100;
  static constexpr UINT kTipPeriodMs = 5000;
  static constexpr int kColumns = 5;
  // Sends a memo (receiver, text); the main frame's SendMemo.
  using MemoSender = std::function<void(const CString&, const CString&)>;

  explicit CMemoBoxDlg(CWnd* parent = nullptr, const CString& path = CMemoFile::kDefaultPath);
  static platform::DialogTemplate BuildTemplate();

  // Creates the window hidden (modeless).
  BOOL CreateHidden(CWnd* parent);
  // A row at the end with the four texts in columns 1 to 4.
  void AddMemo(const CString& date, const CString& id, const CString& name, const CString& contents);
  // Selects the last row, shows its contents and gives the list the focus.
  void SelectNewest();
  // Writes the checked rows to the memo file; an empty list writes nothing.
  void SaveMemos();
  // Fills the list from the memo file, every row checked.
  void LoadMemos();
  void SetMemoSender(MemoSender sender) { m_sendMemo = std::move(sender); }
  CListCtrl& GetList() { return m_list; }
  const CString& GetContents() const { return m_strContents; }
  const CString& GetTip() const { return m_strTip; }
  UINT_PTR GetTipTimerId() const { return m_nTipTimer; }
  const CString& GetFilePath() const { return m_strPath; }

  BOOL OnInitDialog() override;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnCancel() override;
  void OnHide();
  void OnTimer(UINT_PTR id);
  void OnContextMenu(CWnd* wnd, CPoint point);
  void OnListClick(NMHDR* header, LRESULT* result);
  // However a memo becomes selected (click, right-click, keys), its contents are the ones shown.
  void OnSelectionChanged(NMHDR* header, LRESULT* result);
  void OnListDblClk(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  void OnReply();
  void OnDelete();
  void OnDeleteAll();
  DECLARE_MESSAGE_MAP()

private:
  int FirstSelected() const;
  // Shows the contents of row; none for -1.
  void ShowContents(int row);
  void SetTip(const CString& tip);

  CListCtrl m_list;
  CString m_strContents;
  CString m_strTip;
  CString m_strPath;
  MemoSender m_sendMemo;
  UINT_PTR m_nTipTimer{0};
  int m_sortFlags[kColumns]{};
};

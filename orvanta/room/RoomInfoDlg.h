#pragma once
// CRoomInfoDlg: the room-information dialog (template 441) the main frame shows when the server
// answers a room-information request: status, condition, both players, counts and the observers,
// sortable by column.

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/widgets/FlatListCtrl.h"

class CRoomInfoDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 441;
  static constexpr UINT kObserverList = 1012;
  static constexpr UINT kPlayStatus = 1336, kCondition = 1343, kBlackId = 1337, kBlackName = 1339,
                        kBlackGrade = 1338, kWhiteId = 1340, kWhiteName = 1341, kWhiteGrade = 1342,
                        kBlackPresence = 1345, kWhitePresence = 1346, kTotalMoves = 1333, kObserverCount = 1334;

  explicit CRoomInfoDlg(CWnd* parent = nullptr);
  static platform::DialogTemplate BuildTemplate();

  // The server's room-information payload; set before the dialog runs.
  void SetInfoText(const CString& payload) { m_strInfo = payload; }
  CFlatListCtrl& GetObserverList() { return m_list; }
  int GetSortedColumn() const { return m_nSortedColumn; }

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  void OnColumnClickObservers(NMHDR* header, LRESULT* result);
  void OnPaint();
  DECLARE_MESSAGE_MAP()

private:
  void InitObserverList();
  void FillRoomInfo();

  CString m_strInfo;
  CFlatListCtrl m_list;
  CImageList m_rowImages;   // one pixel wide: it only sets the rows' height
  CImageList m_sortImages;  // the header's sort arrows
  int m_nSortedColumn{-1};  // the column last sorted
};

#pragma once
// CSearchRoomDlg: looks through the waiting room's own room list (template 136) by a player's ID
// or name, the room title or the room status, and enters a found room on a double-click.

#include <platform/controls_imagelist.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/lobby/SortState.h"
#include "orvanta/widgets/FlatListCtrl.h"

class CLobbyHost;

class CSearchRoomDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 136;
  static constexpr UINT kOptionsFrame = 1298;
  static constexpr UINT kNameEdit = 1051;
  static constexpr UINT kIdEdit = 1050;
  static constexpr UINT kTitleEdit = 1052;
  static constexpr UINT kStatusCombo = 1083;
  static constexpr UINT kResultList = 1084;
  static constexpr UINT kSearchButton = 1085;
  // The kinds, in the order of their radio buttons.
  static constexpr UINT kKindRadios[4] = {1000, 1045, 1046, 1047};
  enum Kind { kByUserId, kByUserName, kByTitle, kByStatus };

  explicit CSearchRoomDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();
  // The waiting room's room list (null without one) and the frame that sends the join. The list
  // may go while the dialog is open (the connection is lost and the start view replaces the
  // waiting room): the dialog then searches nothing.
  void SetWaitingRoom(CListCtrl* rooms, CLobbyHost* host);
  BOOL OnInitDialog() override;
  CFlatListCtrl& GetResults() { return m_results; }

  int m_nKind{kByUserId};
  CString m_strStatus{"Play"};
  CString m_strTitle;
  CString m_strUserId;
  CString m_strUserName;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnKind(UINT id);
  void OnStatusEdit();
  void OnSearch();
  void OnResultDblClk(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  DECLARE_MESSAGE_MAP()

private:
  BOOL EnableInputs();
  // Whether room row of the waiting room's list matches the search.
  BOOL Matches(const CListCtrl& rooms, int row) const;
  void EnterRoom(int row);
  // The waiting room's room list while it is still shown; null once it has gone.
  CListCtrl* Rooms() const;

  HWND m_rooms{nullptr};
  CLobbyHost* m_pHost{nullptr};
  CFlatListCtrl m_results;
  CSortState m_sort{7};
  CImageList m_sortImages;  // the header's sort arrows
  BOOL m_bReloading{FALSE};  // the controls are being loaded from the values
};

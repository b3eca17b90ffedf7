#pragma once
// CSendMemoDlg: a message to a user of a waiting room (template 259). Given a waiting-room
// number, the waiting-room list is hidden; otherwise the user picks the waiting room by name and
// its number becomes the dialog's waiting-room number.

#include <platform/controls.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/lobby/WaitingRoomTable.h"

class CSendMemoDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 259;
  static constexpr UINT kUserIdEdit = 1127;
  static constexpr UINT kWaitingRoomCombo = 1249;
  static constexpr UINT kWaitingRoomLabel = 1250;
  static constexpr UINT kMessageEdit = 1170;
  static constexpr UINT kMessageFrame = 1324;
  // How far the message moves up when the waiting-room list is hidden.
  static constexpr int kRaisePixels = 30;

  CSendMemoDlg(const CString& number, const CString& userId, CWnd* parent = nullptr, BOOL flag = FALSE,
               const CString& further = CString());
  static platform::DialogTemplate BuildTemplate();
  // The waiting rooms to choose from and the number of the user's own one.
  void SetWaitingRooms(const CWaitingRoomTable* table, int ownNumber);
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  CComboBox& GetWaitingRoomCombo() { return m_combo; }

  CString m_strNumber;   // the waiting room's number, decimal text
  CString m_strUserId;
  CString m_strMessage;
  CString m_strFurther;  // kept for the caller

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;

private:
  CComboBox m_combo;
  const CWaitingRoomTable* m_pTable{nullptr};
  int m_nOwnNumber{-1};
  BOOL m_bNumberGiven{FALSE};
};

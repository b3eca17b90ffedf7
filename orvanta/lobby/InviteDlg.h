#pragma once
// CInviteDlg: the game room's modeless dialog (template 147) that lists the waiting room's users
// and invites one of them, picked from the list, with a message. After an invitation it hides
// and stays created for the next one.

#include <functional>

#include <platform/controls_imagelist.h>
#include <platform/dialog_template.h>
#include <platform/dialogs.h>

#include "orvanta/lobby/SortState.h"
#include "orvanta/widgets/FlatListCtrl.h"

class CLobbyHost;

class CInviteDlg : public CDialog {
public:
  static constexpr UINT kTemplateId = 147;
  static constexpr UINT kSearchFrame = 1298;
  static constexpr UINT kMessageEdit = 1109;
  static constexpr UINT kNameEdit = 1045;
  static constexpr UINT kIdEdit = 1000;
  static constexpr UINT kUserList = 1065;
  static constexpr UINT kIdRadio = 1099;
  static constexpr UINT kNameRadio = 1100;
  static constexpr UINT kWaitingListButton = 1106;
  static constexpr int kMaxLength = 20;
  // Context menu commands.
  static constexpr UINT kUserInfoCommand = 32830;
  static constexpr UINT kSendMessageCommand = 32831;
  static constexpr UINT kSendMailCommand = 32832;
  // The invitation: the invitee's waiting room, ID, the message and the room field.
  using InviteSender = std::function<void(const CString&, const CString&, const CString&, const CString&)>;

  explicit CInviteDlg(CWnd* parent = nullptr) : CDialog(kTemplateId, parent) {}
  static platform::DialogTemplate BuildTemplate();
  using CDialog::Create;
  // Creates the dialog from its template.
  BOOL Create(CWnd* parent) { return CDialog::Create(kTemplateId, parent); }
  // The frame's services and the sender of the invitation.
  void SetHost(CLobbyHost* host, InviteSender sender);
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  // Code 33: "|" first "|" x "|" count "|", then waiting room, ID, name and grade of each user;
  // first "1" empties the list before.
  void FillWaitingList(const CString& payload);
  CFlatListCtrl& GetList() { return m_list; }

  CString m_strPayload;      // filled in when the dialog starts, when not empty
  CString m_strInviteeRoom;  // the invitee's waiting-room number
  int m_nSearchOption{0};    // 0 by ID, 1 by name
  CString m_strUserId;
  CString m_strUserName;
  CString m_strMessage;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  void OnOK() override;
  void OnCancel() override;
  void OnIdRadio();
  void OnNameRadio();
  void OnListClick(NMHDR* header, LRESULT* result);
  void OnListDblClk(NMHDR* header, LRESULT* result);
  void OnColumnClick(NMHDR* header, LRESULT* result);
  void OnContextMenu(CWnd* wnd, CPoint point);
  void OnUserInfo();
  void OnSendMessage();
  DECLARE_MESSAGE_MAP()

private:
  // The first selected row into the fields; FALSE without one.
  BOOL TakeSelection();
  // The selected user's waiting room and ID; FALSE (after a message) without a selection.
  BOOL SelectedUser(CString& number, CString& id);

  CLobbyHost* m_pHost{nullptr};
  InviteSender m_sendInvite;
  CFlatListCtrl m_list;
  CSortState m_sort{5};
  CImageList m_sortImages;  // the header's sort arrows
};

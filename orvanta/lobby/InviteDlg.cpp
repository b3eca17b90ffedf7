#include "orvanta/lobby/InviteDlg.h"

#include <algorithm>
#include <cstdlib>

#include <platform/ddx.h>
#include <platform/menus.h>
#include <platform/msgbox.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/LobbyHost.h"
#include "orvanta/lobby/SortImages.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/SeparatorFilter.h"
#include "orvanta/lobby/WaitingRoomTable.h"

namespace {

using platform::VisibleItem;

constexpr int kIdColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kGradeColumn = 2;
constexpr int kRoomColumn = 4;
const char kSelectFirst[] = "You can send message after selecting a user.";

}  // namespace

BEGIN_MESSAGE_MAP(CInviteDlg, CDialog)
  ON_BN_CLICKED(CInviteDlg::kIdRadio, OnIdRadio)
  ON_BN_CLICKED(CInviteDlg::kNameRadio, OnNameRadio)
  ON_NOTIFY(NM_CLICK, CInviteDlg::kUserList, OnListClick)
  ON_NOTIFY(NM_DBLCLK, CInviteDlg::kUserList, OnListDblClk)
  ON_NOTIFY(LVN_COLUMNCLICK, CInviteDlg::kUserList, OnColumnClick)
  ON_WM_CONTEXTMENU()
  ON_COMMAND(CInviteDlg::kUserInfoCommand, OnUserInfo)
  ON_COMMAND(CInviteDlg::kSendMessageCommand, OnSendMessage)
END_MESSAGE_MAP()

platform::DialogTemplate CInviteDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 240;
  t.cy = 226;
  t.caption = " Invite an Opponent";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("Static", 0xFFFF, 6, 4, 120, 9, SS_LEFT, "Waiting Persons"),
      VisibleItem("SysListView32", kUserList, 6, 14, 228, 96,
                  LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", kSearchFrame, 6, 114, 228, 46, BS_GROUPBOX, "Search Option"),
      VisibleItem("Button", kIdRadio, 14, 128, 50, 10, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "User ID"),
      VisibleItem("Edit", kIdEdit, 70, 126, 90, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", kNameRadio, 14, 144, 54, 10, BS_AUTORADIOBUTTON, "User Name"),
      VisibleItem("Edit", kNameEdit, 70, 142, 90, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_DISABLED),
      VisibleItem("Static", 0xFFFF, 6, 166, 60, 9, SS_LEFT, "Message"),
      VisibleItem("Edit", kMessageEdit, 6, 176, 228, 24, ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", IDOK, 40, 206, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, "Invite"),
      VisibleItem("Button", IDCANCEL, 100, 206, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
      {"Button", kWaitingListButton, 160, 206, 60, 14, BS_PUSHBUTTON | WS_TABSTOP, 0, "Waiting List"},  // hidden
  };
  return t;
}

void CInviteDlg::SetHost(CLobbyHost* host, InviteSender sender) {
  m_pHost = host;
  m_sendInvite = std::move(sender);
}

BOOL CInviteDlg::OnInitDialog() {
  if (m_pHost && m_pHost->GetLobbySession())
    m_strInviteeRoom = m_pHost->GetLobbySession()->m_strRole;
  CDialog::OnInitDialog();
  m_list.InsertColumn(0, "ID", LVCFMT_LEFT, 70);
  m_list.InsertColumn(1, "Name", LVCFMT_LEFT, 60);
  m_list.InsertColumn(2, "Grade", LVCFMT_RIGHT, 65);
  m_list.InsertColumn(3, "Kiwon Name", LVCFMT_LEFT, 90);
  m_list.InsertColumn(4, "Host No", LVCFMT_LEFT, 0);
  m_list.InitColumns();
  AttachSortImages(m_list, m_sortImages);
  m_list.GetFlatHeader().SetItemEx(1, HDITEMEX{0, 0, 400});
  m_list.SetKeyColumn(0);
  m_list.SetDrawFlag(2);
  m_list.SetBackColor(0xF7F7F7);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  if (!m_strPayload.IsEmpty())
    FillWaitingList(m_strPayload);
  // A person picks from the list or types the ID: the ID box takes the first keys.
  if (CWnd* id = GetDlgItem(static_cast<int>(kIdEdit))) {
    id->SetFocus();
    return FALSE;
  }
  return TRUE;
}

void CInviteDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kUserList), m_list);
  DDX_Radio(dx, static_cast<int>(kIdRadio), m_nSearchOption);
  DDX_Text(dx, static_cast<int>(kIdEdit), m_strUserId);
  DDV_MaxChars(dx, m_strUserId, kMaxLength);
  DDX_Text(dx, static_cast<int>(kNameEdit), m_strUserName);
  DDV_MaxChars(dx, m_strUserName, kMaxLength);
  DDX_Text(dx, static_cast<int>(kMessageEdit), m_strMessage);
}

BOOL CInviteDlg::PreTranslateMessage(MSG* msg) {
  if (IsSeparatorKeyForEdit(msg))
    return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

void CInviteDlg::FillWaitingList(const CString& payload) {
  if (!m_list.m_hWnd)
    return;
  CFieldTokenizer fields(payload);
  const CString first = fields.NextField();
  fields.NextField();
  // The count never reaches past the users the payload holds.
  const int present = (fields.GetCount() - 3) / 4;
  const int count = std::min(std::atoi(fields.NextField()), present);
  if (first == "1" && m_list.GetItemCount() > 0)
    m_list.DeleteAllItems();
  const CWaitingRoomTable* table = m_pHost ? &m_pHost->GetWaitingRoomTable() : nullptr;
  for (int i = 0; i < count; ++i) {
    const CString number = fields.NextField();
    const CString id = fields.NextField();
    const CString name = fields.NextField();
    const CString grade = fields.NextField();
    const int row = m_list.InsertItem(LVIF_TEXT | LVIF_STATE, m_list.GetItemCount(), id, INDEXTOSTATEIMAGEMASK(1),
                                      LVIS_STATEIMAGEMASK, 0, 0);
    m_list.SetItemText(row, kNameColumn, name);
    m_list.SetItemText(row, kGradeColumn, grade);
    m_list.SetItemText(row, 3, table ? table->LookupWaitingRoomName(std::atoi(number)) : CString());
    m_list.SetItemText(row, kRoomColumn, number);
  }
}

BOOL CInviteDlg::TakeSelection() {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0)
    return FALSE;
  // A field refused asks the user, and the dialog goes with its room when a connection lost
  // meanwhile takes the room away.
  const HWND self = m_hWnd;
  UpdateData(TRUE);
  if (!::IsWindow(self))
    return FALSE;
  m_strInviteeRoom = m_list.GetItemText(row, kRoomColumn);
  m_strUserId = m_list.GetItemText(row, kIdColumn);
  m_strUserName = m_list.GetItemText(row, kNameColumn);
  UpdateData(FALSE);
  return TRUE;
}

void CInviteDlg::OnListClick(NMHDR*, LRESULT* result) {
  TakeSelection();
  *result = 0;
}

void CInviteDlg::OnListDblClk(NMHDR*, LRESULT* result) {
  *result = 0;
  if (TakeSelection())
    OnOK();
}

void CInviteDlg::OnIdRadio() {
  const HWND self = m_hWnd;
  UpdateData(TRUE);
  if (!::IsWindow(self))
    return;
  if (CWnd* id = GetDlgItem(static_cast<int>(kIdEdit)))
    id->EnableWindow(TRUE);
  if (CWnd* name = GetDlgItem(static_cast<int>(kNameEdit)))
    name->EnableWindow(FALSE);
}

void CInviteDlg::OnNameRadio() {
  const HWND self = m_hWnd;
  UpdateData(TRUE);
  if (!::IsWindow(self))
    return;
  if (CWnd* id = GetDlgItem(static_cast<int>(kIdEdit)))
    id->EnableWindow(FALSE);
  if (CWnd* name = GetDlgItem(static_cast<int>(kNameEdit)))
    name->EnableWindow(TRUE);
}

void CInviteDlg::OnOK() {
  const HWND self = m_hWnd;
  if (!UpdateData(TRUE) || !::IsWindow(self))
    return;
  if (m_nSearchOption == 0) {
    TakeSelection();
    if (!::IsWindow(self))
      return;
    if (m_strUserId.IsEmpty()) {
      AfxMessageBox("Please select a user.");
      return;
    }
    const CString roomField = m_pHost && m_pHost->GetLobbySession() ? m_pHost->GetLobbySession()->m_strRoomText1
                                                                     : CString();
    if (m_sendInvite)
      m_sendInvite(m_strInviteeRoom, m_strUserId, m_strMessage, roomField);
    if (m_pHost)
      m_pHost->FlushRequests();
    m_strUserId.Empty();
    m_strMessage.Empty();
    UpdateData(FALSE);
    ShowWindow(SW_HIDE);
    return;
  }
  // A typed name is never looked up: only a user picked from the list can be invited.
  AfxMessageBox(m_list.GetItemCount() > 0 ? "Please select a user." : "User you wish to invite is not in the waiting room.");
  // The dialog goes with its room, which a connection lost meanwhile takes away.
  if (!::IsWindow(self))
    return;
  m_strUserId.Empty();
  UpdateData(FALSE);
}

// The dialog stays created for the next invitation.
void CInviteDlg::OnCancel() { ShowWindow(SW_HIDE); }

void CInviteDlg::OnColumnClick(NMHDR* header, LRESULT* result) {
  *result = 0;
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  if (column < 0 || column >= 5 || m_list.GetItemCount() == 0)
    return;
  const bool ascending = m_sort.Click(column);
  {
    CListSorter sorter(m_list, column);
    sorter.Sort(ascending ? TRUE : FALSE, column == kGradeColumn ? CListSorter::kGrade : CListSorter::kText);
  }
  m_sort.ShowMarks(m_list);
}

BOOL CInviteDlg::SelectedUser(CString& number, CString& id) {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) {
    AfxMessageBox(kSelectFirst);
    return FALSE;
  }
  number = m_list.GetItemText(row, kRoomColumn);
  id = m_list.GetItemText(row, kIdColumn);
  return TRUE;
}

void CInviteDlg::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    CRect rect;
    m_list.GetWindowRect(&rect);
    point = CPoint(rect.left + 5, rect.top + 5);
  }
  CMenu menu;
  if (!menu.CreatePopupMenu())
    return;
  menu.AppendMenu(MF_STRING, kUserInfoCommand, "User Information");
  menu.AppendMenu(MF_STRING, kSendMessageCommand, "Send Message");
  menu.AppendMenu(MF_STRING, kSendMailCommand, "Send Mail");
  CWnd* owner = this;
  while (owner->GetParent() && (owner->GetStyle() & WS_CHILD)) owner = owner->GetParent();
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, owner);
}

void CInviteDlg::OnUserInfo() {
  CString number;
  CString id;
  if (!m_pHost || !SelectedUser(number, id))
    return;
  m_pHost->RequestUserInfo(number, id);
  m_pHost->FlushRequests();
}

void CInviteDlg::OnSendMessage() {
  CString number;
  CString id;
  if (!m_pHost || !SelectedUser(number, id))
    return;
  CString recipient;
  CString text;
  if (!m_pHost->RunSendMemoDialog(number, id, recipient, text))
    return;
  m_pHost->SendUserMessage(number, RemoveSeparators(recipient), RemoveSeparators(text));
  m_pHost->FlushRequests();
}

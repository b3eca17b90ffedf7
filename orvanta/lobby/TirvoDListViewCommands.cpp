// The waiting room's chat and commands: everything the user does there goes out as one request
// through the host.

#include "orvanta/lobby/TirvoDListView.h"

#include <cstdlib>

#include <platform/menus.h>
#include <platform/msgbox.h>

#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/LobbyHost.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/PasswordDlg.h"
#include "orvanta/lobby/WaitingRoomTable.h"
#include "orvanta/widgets/LogEdit.h"

namespace {

constexpr UINT kUserMenu = 139;
constexpr UINT kRoomMenu = 108;
constexpr int kMacroBuffer = 128;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Chat

void CTirvoDListView::AddChatLine(const CString& payload) {
  const CString line = FormatChatLine(payload);
  if (line.IsEmpty() || !m_chatBox.m_hWnd)
    return;
  CString current;
  m_chatBox.GetWindowText(current);
  const CString text = AppendChatText(current, line);
  ShowLogText(m_chatBox, current, text);
  // The newest line shows at the bottom of the box: the caret goes to the end and into view.
  m_chatBox.SetSel(text.GetLength(), text.GetLength());
  m_chatBox.SendMessage(EM_SCROLLCARET);
}

void CTirvoDListView::SendChat(const CString& text) {
  if (!m_pHost)
    return;
  m_pHost->SendChatLine("|" + m_pHost->GetWaitingRoomKey() + "|" + RemoveSeparators(text) + "|");
  m_pHost->FlushRequests();
}

void CTirvoDListView::SendChatInput() {
  CString text;
  m_chatInput.GetWindowText(text);
  if (text.IsEmpty())
    return;
  m_chatInput.SetWindowText("");
  SendChat(text);
}

void CTirvoDListView::RefreshChatMacros() {
  if (!m_chatInput.m_hWnd)
    return;
  m_chatInput.ResetContent();
  if (!m_pHost)
    return;
  for (const CString& phrase : m_pHost->GetChatPhrases())
    if (!phrase.IsEmpty())
      m_chatInput.AddString(phrase);
  RecalcLayout();
}

void CTirvoDListView::OnChatCloseUp() {
  const int selected = m_chatInput.GetCurSel();
  if (selected < 0)
    return;
  CString text;
  m_chatInput.GetLBText(selected, text);
  // The phrase is read as into a 128-byte buffer: a longer phrase goes out cut, never overrun,
  // and never with half a Korean character at its end.
  SendChat(CutCp949(text, kMacroBuffer - 1));
  m_chatInput.SetCurSel(-1);
}

BOOL CTirvoDListView::PreTranslateMessage(MSG* msg) {
  if (msg && m_toolTip.GetSafeHwnd())
    m_toolTip.RelayEvent(msg);
  if (msg && msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_RETURN) {
      if (msg->hwnd == m_userList.m_hWnd) {
        OnUserInfo();
        if (m_pHost)
          m_pHost->FlushRequests();
        return TRUE;
      }
      if (msg->hwnd == m_roomList.m_hWnd) {
        EnterSelectedRoom();
        return TRUE;
      }
      if (msg->hwnd == m_hWnd)
        return TRUE;
      SendChatInput();
      return TRUE;
    }
    if (msg->wParam >= VK_F2 && msg->wParam <= VK_F9 && m_pHost) {
      const CString phrase = m_pHost->GetChatPhrases()[static_cast<std::size_t>(msg->wParam - VK_F2)];
      if (!phrase.IsEmpty())
        SendChat(phrase);
    }
  }
  return CFormView::PreTranslateMessage(msg);
}

// ---------------------------------------------------------------------------------------------
// Selection and identity

int CTirvoDListView::SelectedRow(const CListCtrl& list) {
  if (!list.m_hWnd)
    return -1;
  return list.GetNextItem(-1, LVNI_SELECTED);
}

BOOL CTirvoDListView::GetSelectedUser(CString& number, CString& id) const {
  const int row = SelectedRow(m_userList);
  if (row < 0 || !m_pHost)
    return FALSE;
  number.Format("%d", m_pHost->GetWaitingRoomTable().LookupWaitingRoomNumber(m_userList.GetItemText(row, 3)));
  id = m_userList.GetItemText(row, 0);
  return TRUE;
}

CString CTirvoDListView::OwnNumber() {
  CSessionRecord* record = m_pHost ? m_pHost->GetLobbySession() : nullptr;
  return record ? record->m_strRole : CString();
}

CString CTirvoDListView::OwnId() {
  CSessionRecord* record = m_pHost ? m_pHost->GetLobbySession() : nullptr;
  return record ? record->m_strId : CString();
}

BOOL CTirvoDListView::IsOwnUser(const CString& number, const CString& id) {
  return number == OwnNumber() && id == OwnId();
}

// ---------------------------------------------------------------------------------------------
// User commands

void CTirvoDListView::OnUserInfo() {
  if (!m_pHost)
    return;
  CString number;
  CString id;
  if (GetSelectedUser(number, id)) {
    m_pHost->RequestUserInfo(number, id);
    m_pHost->FlushRequests();
    return;
  }
  CString typed;
  if (m_pHost->RunSearchUserDialog(Cp949("사용자 정보"), typed)) {
    m_pHost->RequestUserInfo(OwnNumber(), RemoveSeparators(typed));
    m_pHost->FlushRequests();
  }
}

void CTirvoDListView::OnNegoPlay() {
  if (!m_pHost || !m_bNegoAllowed || m_bNegoPending)
    return;
  CString number;
  CString id;
  if (!GetSelectedUser(number, id))
    return;
  if (IsOwnUser(number, id)) {
    AfxMessageBox("You cannot nego to play with yourself.");
    return;
  }
  m_pHost->SendWaitingRoomRequest119(number, id);
  m_bAsking = TRUE;
  m_bNegoAllowed = FALSE;
  m_bNegoPending = TRUE;
}

void CTirvoDListView::OnUserDblClk(NMHDR*, LRESULT* result) {
  OnNegoPlay();
  *result = 0;
}

void CTirvoDListView::OnSendMemo() {
  if (!m_pHost)
    return;
  CString number;
  CString id;
  if (!GetSelectedUser(number, id))
    return;
  if (IsOwnUser(number, id)) {
    AfxMessageBox("You can not send memo to yourself.");
    return;
  }
  CString recipient;
  CString text;
  if (m_pHost->RunSendMemoDialog(number, id, recipient, text)) {
    m_pHost->SendUserMessage(number, RemoveSeparators(recipient), RemoveSeparators(text));
    m_pHost->FlushRequests();
  }
}

void CTirvoDListView::OnSendMail() {
  if (!m_pHost)
    return;
  CString number;
  CString id;
  if (!GetSelectedUser(number, id))
    return;
  if (IsOwnUser(number, id)) {
    AfxMessageBox("You cannot send mail to yourself.");
    return;
  }
  m_pHost->SendMail(number, id);
}

// ---------------------------------------------------------------------------------------------
// Room commands

void CTirvoDListView::EnterSelectedRoom() {
  if (!m_pHost || m_roomList.GetItemCount() == 0)
    return;
  const int row = SelectedRow(m_roomList);
  if (row < 0) {
    ::MessageBox(m_hWnd, "Select game room you wish to enter.", "Inform", MB_ICONEXCLAMATION);
    return;
  }
  CSessionRecord* record = m_pHost->GetLobbySession();
  if (!record)
    return;
  const bool isPublic = (m_roomList.GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 1;
  if (!isPublic) {
    CPasswordDlg dialog(this);
    if (dialog.DoModal() != IDOK)
      return;
    if (m_pHost->IsGameRoomActive())
      return;
    record->m_strRoomText1 = RemoveSeparators(dialog.m_strPassword);
  } else {
    // A private room's password is never sent along with the join of another room.
    record->m_strRoomText1.Empty();
  }
  const CString publicWord = isPublic ? "1" : "2";
  m_pHost->SendWaitRoomLeave();
  m_pHost->FlushRequests();
  const CString status = m_roomList.GetItemText(row, 2);
  const CString room = m_roomList.GetItemText(row, 1);
  record->m_nRoomNumber = std::atoi(room);
  record->SetEntry(m_roomList.GetItemText(row, 8), record->m_strRoomText1, publicWord, status);
  m_pHost->SendJoinRoom(room, record->m_strRoomText1);
  m_pHost->FlushRequests();
  m_pHost->SetRoomEntryMode(status == "Play" ? 2 : 0);
  m_pHost->BeginWaitCapture();
}

void CTirvoDListView::OnRoomDblClk(NMHDR*, LRESULT* result) {
  EnterSelectedRoom();
  *result = 0;
}

void CTirvoDListView::OnRoomInform() {
  if (!m_pHost)
    return;
  const int row = SelectedRow(m_roomList);
  if (row < 0)
    return;
  m_pHost->SendWaitingRoomRequest57("|" + m_pHost->GetWaitingRoomKey() + "|" + m_roomList.GetItemText(row, 1) + "|");
}

void CTirvoDListView::OnRoomAutoUpdate() {
  if (!m_bRoomAutoUpdate && m_pHost) {
    m_pHost->SendGameListRequest();
    m_pHost->FlushRequests();
  }
  m_bRoomAutoUpdate = !m_bRoomAutoUpdate;
}

void CTirvoDListView::OnUserAutoUpdate() {
  if (!m_bUserAutoUpdate && m_pHost)
    m_pHost->SendWaitRoomQuery("5");
  m_bUserAutoUpdate = !m_bUserAutoUpdate;
}

void CTirvoDListView::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    point = CPoint(client.left + 5, client.top + 5);
  }
  const auto inside = [&](const CWnd& list) {
    CRect rect;
    list.GetWindowRect(&rect);
    return rect.PtInRect(point) != FALSE;
  };
  UINT menuId = 0;
  if (inside(m_userList))
    menuId = kUserMenu;
  else if (inside(m_roomList))
    menuId = kRoomMenu;
  if (menuId == 0)
    return;
  CMenu menu;
  if (!menu.CreatePopupMenu())
    return;
  if (menuId == kUserMenu) {
    menu.AppendMenu(MF_STRING, kNegoPlayCommand, "Nego Play");
    menu.AppendMenu(MF_STRING, kUserInfoCommand, "User Information");
    menu.AppendMenu(MF_STRING, kSendMemoCommand, "Send Memo");
    menu.AppendMenu(MF_STRING, kSendMailCommand, "Semd Mail");
  } else {
    menu.AppendMenu(MF_STRING, kJoinRoomCommand, "Join Play Room");
    menu.AppendMenu(MF_STRING, kRoomInformCommand, "Play Room Inform");
  }
  CWnd* owner = this;
  while (owner->GetParent() && (owner->GetStyle() & WS_CHILD)) owner = owner->GetParent();
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, owner);
}

// ---------------------------------------------------------------------------------------------
// Sorting

void CTirvoDListView::SortList(CListCtrl& list, int column, int kind, CSortState& state) {
  if (list.GetItemCount() == 0)
    return;
  const bool ascending = state.Click(column);
  list.SetRedraw(FALSE);
  {
    CListSorter sorter(list, column);
    sorter.Sort(ascending ? TRUE : FALSE, kind);
  }
  list.SetRedraw(TRUE);
  state.ShowMarks(list);
}

void CTirvoDListView::SortUserList(int column) {
  if (column < 0 || column >= kUserColumns)
    return;
  SortList(m_userList, column, column == 1 ? CListSorter::kGrade : CListSorter::kText, m_userSort);
}

void CTirvoDListView::SortRoomList(int column) {
  if (column < 0 || column >= kRoomColumns)
    return;
  int kind = CListSorter::kText;
  if (column == 3)
    kind = CListSorter::kGrade;
  else if (column == 2)
    kind = CListSorter::kRoomState;
  else if (column == 1 || column == 6 || column == 7)
    kind = CListSorter::kWholeNumber;
  SortList(m_roomList, column, kind, m_roomSort);
}

void CTirvoDListView::OnUserColumnClick(NMHDR* header, LRESULT* result) {
  SortUserList(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
  *result = 0;
}

void CTirvoDListView::OnRoomColumnClick(NMHDR* header, LRESULT* result) {
  SortRoomList(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
  *result = 0;
}

#include "orvanta/lobby/UserInfoListDlg.h"

#include <platform/controls.h>
#include <platform/ddx.h>
#include <platform/msgbox.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/SortImages.h"
#include "orvanta/resources/LobbyBitmaps.h"

namespace {

using platform::VisibleItem;

constexpr int kFieldsPerUser = 8;

}  // namespace

BEGIN_MESSAGE_MAP(CUserInfoListDlg, CDialog)
  ON_NOTIFY(NM_CLICK, CUserInfoListDlg::kUserList, OnListClick)
  ON_BN_CLICKED(CUserInfoListDlg::kJoinButton, OnJoin)
  ON_BN_CLICKED(CUserInfoListDlg::kInviteButton, OnInvite)
END_MESSAGE_MAP()

platform::DialogTemplate CUserInfoListDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 230;
  t.cy = 150;
  t.caption = "User Information";
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("SysListView32", kUserList, 6, 6, 218, 116,
                  LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | WS_BORDER | WS_TABSTOP),
      VisibleItem("Button", kJoinButton, 20, 130, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Join"),
      VisibleItem("Button", kInviteButton, 90, 130, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Invite"),
      VisibleItem("Button", IDCANCEL, 160, 130, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, "Cancel"),
  };
  return t;
}

std::vector<CUserInfoListDlg::UserSearchRecord> CUserInfoListDlg::ParseRecords(const CString& payload) {
  CFieldTokenizer fields(payload);
  const int count = fields.GetCount() / kFieldsPerUser;
  std::vector<UserSearchRecord> records;
  records.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    UserSearchRecord record;
    record.id = fields.NextField();
    record.name = fields.NextField();
    record.grade = fields.NextField();
    record.key = fields.NextField();
    record.room = fields.NextField();
    record.publicCode = fields.NextField();
    record.placeKind = fields.NextField();
    record.placeName = fields.NextField();
    record.privateFlag = record.publicCode == "1" ? 0 : 1;
    records.push_back(record);
  }
  return records;
}

CString CUserInfoListDlg::LocationText(const UserSearchRecord& record) {
  return record.room != "-1" ? record.room + " Room" : record.placeName;
}

int CUserInfoListDlg::FindUser(const CString& id) const {
  for (std::size_t i = 0; i < m_records.size(); ++i)
    if (m_records[i].id == id)
      return static_cast<int>(i);
  return -1;
}

BOOL CUserInfoListDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_nSelected = -1;
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  if (m_rowImages.Create(kRowHeightBitmap, 1, 0, kWhiteImageMask))
    m_list.SetImageList(&m_rowImages, LVSIL_SMALL);
  m_list.InsertColumn(0, "User ID", LVCFMT_LEFT, 75);
  m_list.InsertColumn(1, "User name", LVCFMT_LEFT, 90);
  m_list.InsertColumn(2, "Grade", LVCFMT_CENTER, 60);
  m_list.InsertColumn(3, "Loaction", LVCFMT_CENTER, 100);
  m_list.InitColumns();
  AttachSortImages(m_list, m_sortImages);
  m_list.GetFlatHeader().SetItemEx(1, HDITEMEX{0, 0, 400});
  m_list.SetKeyColumn(2);
  m_list.SetBackColor(0xF7F7F7);
  m_list.SetDrawFlag(0);
  FillList();
  return TRUE;
}

void CUserInfoListDlg::FillList() {
  m_records = ParseRecords(m_strPayload);
  for (const UserSearchRecord& record : m_records) {
    const int row = m_list.InsertItem(m_list.GetItemCount(), record.id);
    m_list.SetItemText(row, 1, record.name);
    m_list.SetItemText(row, 2, record.grade);
    m_list.SetItemText(row, 3, LocationText(record));
  }
}

void CUserInfoListDlg::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, static_cast<int>(kUserList), m_list); }

void CUserInfoListDlg::OnListClick(NMHDR*, LRESULT* result) {
  *result = 0;
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0)
    return;
  const int index = FindUser(m_list.GetItemText(row, 0));
  if (index < 0)
    return;
  m_nSelected = index;
  m_selected = m_records[static_cast<std::size_t>(index)];
}

BOOL CUserInfoListDlg::TakeSelection() {
  if (m_nSelected >= 0)
    return TRUE;
  if (m_records.empty()) {
    AfxMessageBox("Please select a user.");
    return FALSE;
  }
  m_nSelected = 0;
  m_selected = m_records.front();
  return TRUE;
}

void CUserInfoListDlg::OnJoin() {
  if (!TakeSelection())
    return;
  const UserSearchRecord& user = m_selected;
  const char* refusal = nullptr;
  if (user.room == "-1")
    refusal = "The selected user is not in the game room.";
  else if (user.privateFlag)
    refusal = "The game room is private, you can not go there directly.";
  else if (user.key != m_place.currentKey && !m_place.currentKey.IsEmpty())
    refusal = "You can not go to another waiting room.";
  else if (user.id == m_place.ownId)
    refusal = "You are in the game room.";
  else if (m_place.gameRoomShown) {
    if (m_place.roomOpener) {
      refusal = "Game room opener can not go there directly.";
    } else if (m_place.playing) {
      if (m_place.ownId == m_place.blackId || m_place.ownId == m_place.whiteId)
        refusal = "The player can not go there directly.";
    } else if (!m_place.noColour) {
      // A seated player keeps the seat until the game is over.
      refusal = "The player can not go there directly.";
    } else if (user.key == m_place.currentKey && user.room == m_place.currentRoom) {
      refusal = "You are in the game room.";
    }
  }
  if (refusal) {
    AfxMessageBox(refusal);
    return;
  }
  EndDialog(kJoinResult);
}

void CUserInfoListDlg::OnInvite() {
  if (!TakeSelection())
    return;
  const UserSearchRecord& user = m_selected;
  const char* refusal = nullptr;
  if (!m_place.gameRoomShown)
    refusal = "You can invite only in a game room.";
  else if (user.placeKind == "5")
    refusal = "You can not invite a user who is in forum.";
  else if (user.room != "-1")
    refusal = "You can not invite a user who is in game room.";
  else if (user.id == m_place.ownId)
    refusal = "You can not invite yourself.";
  if (refusal) {
    AfxMessageBox(refusal);
    return;
  }
  EndDialog(kInviteResult);
}

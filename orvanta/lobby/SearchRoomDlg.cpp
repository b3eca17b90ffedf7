#include "orvanta/lobby/SearchRoomDlg.h"

#include <cstdlib>

#include <platform/ddx.h>
#include <platform/msgbox.h>

#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/LobbyHost.h"
#include "orvanta/lobby/SortImages.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/PasswordDlg.h"

namespace {

using platform::VisibleItem;

// Columns of the waiting room's room list.
constexpr int kRoomNumber = 1;
constexpr int kRoomStatus = 2;
constexpr int kBlack = 4;
constexpr int kWhite = 5;
constexpr int kJoiners = 7;
constexpr int kTitle = 8;
// Columns of the results.
constexpr int kResultStatus = 4;
constexpr int kResultPrivate = 5;

const char* const kKindLabels[4] = {"User ID", "User Name", "Room Title", "Room Status"};
const char kNothing[] = "No information found.";

}  // namespace

BEGIN_MESSAGE_MAP(CSearchRoomDlg, CDialog)
  ON_CONTROL_RANGE(BN_CLICKED, 1045, 1047, OnKind)
  ON_CONTROL_RANGE(BN_CLICKED, 1000, 1000, OnKind)
  ON_CBN_EDITCHANGE(CSearchRoomDlg::kStatusCombo, OnStatusEdit)
  ON_BN_CLICKED(CSearchRoomDlg::kSearchButton, OnSearch)
  ON_NOTIFY(NM_DBLCLK, CSearchRoomDlg::kResultList, OnResultDblClk)
  ON_NOTIFY(LVN_COLUMNCLICK, CSearchRoomDlg::kResultList, OnColumnClick)
END_MESSAGE_MAP()

platform::DialogTemplate CSearchRoomDlg::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 320;
  t.cy = 220;
  t.caption = "Search Play Room";
  t.fontName = "Arial";
  t.fontSize = 9;
  const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP;
  t.items.push_back(VisibleItem("Button", kOptionsFrame, 6, 4, 240, 82, BS_GROUPBOX, "Search Option"));
  for (int i = 0; i < 4; ++i)
    t.items.push_back(VisibleItem("Button", kKindRadios[i], 14, 16 + i * 17, 60, 10,
                                  BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0), kKindLabels[i]));
  t.items.push_back(VisibleItem("Edit", kIdEdit, 80, 15, 90, 12, edit));
  t.items.push_back(VisibleItem("Edit", kNameEdit, 80, 32, 90, 12, edit));
  t.items.push_back(VisibleItem("Edit", kTitleEdit, 80, 49, 158, 12, edit));
  t.items.push_back(VisibleItem("ComboBox", kStatusCombo, 80, 66, 60, 80, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP | WS_GROUP));
  t.items.push_back(VisibleItem("Button", kSearchButton, 256, 10, 56, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "Search"));
  t.items.push_back(VisibleItem("Button", IDCANCEL, 256, 30, 56, 14, BS_PUSHBUTTON | WS_TABSTOP, "Close"));
  t.items.push_back(VisibleItem("SysListView32", kResultList, 6, 92, 308, 122,
                                LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | WS_BORDER | WS_TABSTOP));
  return t;
}

void CSearchRoomDlg::SetWaitingRoom(CListCtrl* rooms, CLobbyHost* host) {
  m_rooms = rooms ? rooms->GetSafeHwnd() : nullptr;
  m_pHost = host;
}

CListCtrl* CSearchRoomDlg::Rooms() const {
  return m_rooms && ::IsWindow(m_rooms) ? dynamic_cast<CListCtrl*>(CWnd::FromHandlePermanent(m_rooms)) : nullptr;
}

BOOL CSearchRoomDlg::OnInitDialog() {
  if (CWnd* combo = GetDlgItem(static_cast<int>(kStatusCombo)))
    for (const char* status : {"Play", "Wait", "Pause", "End", "Count"})
      combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(status));
  CDialog::OnInitDialog();
  static const char* const kHeadings[7] = {"Room No", "Persons", "Black Player", "White Player", "Status", "Private?", "Title"};
  static const int kWidths[7] = {48, 65, 130, 130, 90, 90, 300};
  for (int i = 0; i < 7; ++i) m_results.InsertColumn(i, kHeadings[i], LVCFMT_LEFT, kWidths[i]);
  m_results.InitColumns();
  AttachSortImages(m_results, m_sortImages);
  m_results.GetFlatHeader().SetItemEx(1, HDITEMEX{0, 0, 400});
  m_results.GetFlatHeader().WidenToContent();
  m_results.SetKeyStyle(4);
  m_results.SetBackColor(0xF7F7F7);
  m_results.SetDrawFlag(0);
  m_results.SetExtendedStyle(m_results.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  // The box of the chosen kind has the keyboard; the dialog must not move it to its first stop.
  return EnableInputs() ? FALSE : TRUE;
}

void CSearchRoomDlg::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kResultList), m_results);
  DDX_Radio(dx, static_cast<int>(kKindRadios[0]), m_nKind);
  DDX_CBString(dx, static_cast<int>(kStatusCombo), m_strStatus);
  DDX_Text(dx, static_cast<int>(kTitleEdit), m_strTitle);
  DDV_MaxChars(dx, m_strTitle, 40);
  DDX_Text(dx, static_cast<int>(kIdEdit), m_strUserId);
  DDV_MaxChars(dx, m_strUserId, 10);
  DDX_Text(dx, static_cast<int>(kNameEdit), m_strUserName);
  DDV_MaxChars(dx, m_strUserName, 20);
}

BOOL CSearchRoomDlg::EnableInputs() {
  const UINT edits[3] = {kIdEdit, kNameEdit, kTitleEdit};
  for (int i = 0; i < 3; ++i)
    if (CWnd* edit = GetDlgItem(static_cast<int>(edits[i])))
      edit->EnableWindow(m_nKind == i);
  if (CWnd* combo = GetDlgItem(static_cast<int>(kStatusCombo)))
    combo->EnableWindow(m_nKind == kByStatus);
  if (m_nKind < kByStatus)
    if (CWnd* edit = GetDlgItem(static_cast<int>(edits[m_nKind]))) {
      edit->SetFocus();
      edit->SendMessage(EM_SETSEL, 0, -1);
      return TRUE;
    }
  return FALSE;
}

void CSearchRoomDlg::OnKind(UINT) {
  UpdateData(TRUE);
  EnableInputs();
}

// Only a status chosen from the list counts: typing is undone at once.
void CSearchRoomDlg::OnStatusEdit() {
  // Loading the controls changes the list's text again; that change is not the user's.
  if (m_bReloading)
    return;
  m_bReloading = TRUE;
  UpdateData(FALSE);
  m_bReloading = FALSE;
}

BOOL CSearchRoomDlg::Matches(const CListCtrl& rooms, int row) const {
  const auto has = [&](int column, const CString& text) { return rooms.GetItemText(row, column).Find(text) >= 0; };
  switch (m_nKind) {
    case kByUserId: return has(kBlack, m_strUserId) || has(kWhite, m_strUserId);
    case kByUserName: return has(kBlack, m_strUserName) || has(kWhite, m_strUserName);
    case kByTitle: return has(kTitle, m_strTitle);
    default: return has(kRoomStatus, m_strStatus);
  }
}

void CSearchRoomDlg::OnSearch() {
  if (!UpdateData(TRUE))
    return;
  CListCtrl* rooms = Rooms();
  if (!rooms || rooms->GetItemCount() == 0) {
    AfxMessageBox(kNothing);
    return;
  }
  m_results.DeleteAllItems();
  for (int row = 0; row < rooms->GetItemCount(); ++row) {
    if (!Matches(*rooms, row))
      continue;
    const BOOL isPublic = (rooms->GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 1;
    const int result = m_results.InsertItem(m_results.GetItemCount(), rooms->GetItemText(row, kRoomNumber));
    m_results.SetItemText(result, 1, rooms->GetItemText(row, kJoiners));
    m_results.SetItemText(result, 2, rooms->GetItemText(row, kBlack));
    m_results.SetItemText(result, 3, rooms->GetItemText(row, kWhite));
    m_results.SetItemText(result, kResultStatus, rooms->GetItemText(row, kRoomStatus));
    m_results.SetItemText(result, kResultPrivate, isPublic ? "Public" : "Private");
    m_results.SetItemText(result, 6, rooms->GetItemText(row, kTitle));
  }
  if (m_results.GetItemCount() == 0)
    AfxMessageBox(kNothing);
}

void CSearchRoomDlg::OnResultDblClk(NMHDR*, LRESULT* result) {
  *result = 0;
  const int row = m_results.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0 || !m_pHost)
    return;
  if (MessageBox("Would you like to enter the game room?", "Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  EnterRoom(row);
}

void CSearchRoomDlg::EnterRoom(int row) {
  CSessionRecord* session = m_pHost->GetLobbySession();
  if (!session)
    return;
  const BOOL isPrivate = m_results.GetItemText(row, kResultPrivate) == "Private";
  if (isPrivate) {
    CPasswordDlg password(this);
    if (password.DoModal() != IDOK)
      return;
    session->m_strRoomText1 = RemoveSeparators(password.m_strPassword);
  }
  m_pHost->SendWaitRoomLeave();
  m_pHost->FlushRequests();
  // A public room is joined without the password typed for an earlier private one.
  const CString password = isPrivate ? session->m_strRoomText1 : CString();
  const CString room = m_results.GetItemText(row, 0);
  session->m_nRoomNumber = std::atoi(room);
  session->SetEntry(m_results.GetItemText(row, 6), password, isPrivate ? "2" : "1", m_results.GetItemText(row, 2));
  m_pHost->SendJoinRoom(room, password);
  m_pHost->FlushRequests();
  m_pHost->SetRoomState(m_results.GetItemText(row, kResultStatus) == "Play" ? 2 : 0);
  EndDialog(IDOK);
}

void CSearchRoomDlg::OnColumnClick(NMHDR* header, LRESULT* result) {
  *result = 0;
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  if (column < 0 || column >= 7 || m_results.GetItemCount() == 0)
    return;
  const bool ascending = m_sort.Click(column);
  const int kind = column <= 1 ? CListSorter::kWholeNumber : column == kResultStatus ? CListSorter::kRoomState
                                                                                     : CListSorter::kText;
  {
    CListSorter sorter(m_results, column);
    sorter.Sort(ascending ? TRUE : FALSE, kind);
  }
  m_sort.ShowMarks(m_results);
}

#include "orvanta/lobby/TirvoMListView.h"

#include <cstdlib>

#include <platform/frames.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/CommunityHost.h"
#include "orvanta/connection/SessionRecord.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/ReportColumns.h"
#include "orvanta/lobby/RankListPayload.h"

namespace {

constexpr CReportColumn kColumnTable[CTirvoMListView::kColumns] = {
    {"Room No", LVCFMT_RIGHT, 55},
    {"Joiners ", LVCFMT_RIGHT, 65},
    {"         Black Player", LVCFMT_LEFT, 180},
    {"           Pro Player", LVCFMT_LEFT, 180},
    {"Status", LVCFMT_CENTER, 70},
    {"Public?", LVCFMT_CENTER, 60},
    {"                             Title", LVCFMT_LEFT, 300},
};

constexpr int kWidthSetting = 4;

}  // namespace

IMPLEMENT_DYNCREATE(CTirvoMListView, CView)

BEGIN_MESSAGE_MAP(CTirvoMListView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_NOTIFY(NM_DBLCLK, CTirvoMListView::kListId, OnListDblClk)
  ON_NOTIFY(LVN_COLUMNCLICK, CTirvoMListView::kListId, OnColumnClick)
END_MESSAGE_MAP()

int CTirvoMListView::OnCreate(LPCREATESTRUCT cs) {
  if (CView::OnCreate(cs) == -1)
    return -1;
  CRect client;
  GetClientRect(&client);
  return m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, client,
                       this, kListId)
             ? 0
             : -1;
}

void CTirvoMListView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  if (m_list.m_hWnd)
    m_list.MoveWindow(0, 0, cx, cy);
}

CCommunityHost* CTirvoMListView::GetFrame() const { return dynamic_cast<CCommunityHost*>(GetParentFrame()); }

void CTirvoMListView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  CCommunityHost* frame = GetFrame();
  InsertReportColumns(m_list, kColumnTable, frame ? frame->ReadSetting(kWidthSetting) : CString(), StoredWidthRule::NotEmpty);
}

void CTirvoMListView::SaveColumnWidths() {
  if (CCommunityHost* frame = GetFrame())
    frame->WriteSetting(kWidthSetting, FormatReportWidths(m_list, kColumns));
}

void CTirvoMListView::OnRoomList(const CString& payload) {
  const CProRoomListPayload list = CProRoomListPayload::Parse(payload);
  if (list.firstPage) {
    m_list.DeleteAllItems();
    m_nAdded = 0;
  }
  for (const CProRoomRow& room : list.rows) {
    AppendReportRow(m_list, room.Columns());
    ++m_nAdded;
  }
}

void CTirvoMListView::JoinSelectedRoom() {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) {
    ::MessageBox(m_hWnd, "Select game room you wish to enter.", "Inform", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CCommunityHost* frame = GetFrame();
  if (!frame)
    return;
  const CString room = m_list.GetItemText(row, 0);
  if (CSessionRecord* session = frame->GetLoginRecord()) {
    session->m_nRoomNumber = std::atoi(room);
    // Title, no password, the status word (an empty one is stored as "not available") and the
    // public word.
    session->SetEntry(m_list.GetItemText(row, 6), CString(), m_list.GetItemText(row, 4), m_list.GetItemText(row, 5));
  }
  // Teaching rooms are public: they are joined without a password.
  frame->SendJoinRoom(room, CString());
  frame->FlushRequests();
  frame->SetJoining(1);
}

void CTirvoMListView::OnListDblClk(NMHDR*, LRESULT* result) {
  JoinSelectedRoom();
  *result = 0;
}

void CTirvoMListView::OnColumnClick(NMHDR* header, LRESULT* result) {
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  *result = 0;
  if (column < 0 || column >= kColumns)
    return;
  const BOOL ascending = m_sortFlags[column] != 0;
  m_sortFlags[column] = !m_sortFlags[column];
  const bool numeric = column == 1 || column == 3 || column == 4;
  CListSorter sorter(m_list, column);
  sorter.Sort(ascending, numeric ? CListSorter::kWholeNumber : CListSorter::kText);
}

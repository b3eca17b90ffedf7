#include "orvanta/lobby/TirvoGiboView.h"

#include <array>
#include <cstdlib>

#include <platform/frames.h>
#include <platform/msgbox.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/CommunityHost.h"
#include "orvanta/room/ViewRecords.h"
#include "orvanta/widgets/MainMenuHost.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/ListPaging.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/ReportColumns.h"

namespace {

constexpr CReportColumn kColumnTable[CTirvoGiboView::kColumns] = {
    {" No", LVCFMT_RIGHT, 50, 0},     {"Play Date", LVCFMT_CENTER, 80, 1}, {"BlackID", LVCFMT_LEFT, 90, 3},
    {"Name", LVCFMT_LEFT, 80, 4},     {"Grade", LVCFMT_LEFT, 80, 5},       {"WhiteID", LVCFMT_LEFT, 90, 7},
    {"Name", LVCFMT_LEFT, 80, 8},     {"Grade", LVCFMT_LEFT, 80, 9},       {"Moves", LVCFMT_RIGHT, 70, 10},
    {"Game Result", LVCFMT_LEFT, 180, 11},
};

constexpr int kWidthSetting = 2;

}  // namespace

IMPLEMENT_DYNCREATE(CTirvoGiboView, CView)

BEGIN_MESSAGE_MAP(CTirvoGiboView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_NOTIFY(NM_DBLCLK, CTirvoGiboView::kListId, OnListDblClk)
  ON_NOTIFY(NM_RETURN, CTirvoGiboView::kListId, OnListDblClk)
  ON_NOTIFY(LVN_COLUMNCLICK, CTirvoGiboView::kListId, OnColumnClick)
  ON_MESSAGE(CFlatListCtrl::kScrollNotice, OnListScroll)
END_MESSAGE_MAP()

int CTirvoGiboView::OnCreate(LPCREATESTRUCT cs) {
  if (CView::OnCreate(cs) == -1)
    return -1;
  CRect client;
  GetClientRect(&client);
  if (!m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, client, this, kListId))
    return -1;
  return 0;
}

void CTirvoGiboView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  if (m_list.m_hWnd)
    m_list.MoveWindow(0, 0, cx, cy);
}

CCommunityHost* CTirvoGiboView::GetFrame() const { return dynamic_cast<CCommunityHost*>(GetParentFrame()); }

void CTirvoGiboView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  CCommunityHost* frame = GetFrame();
  InsertReportColumns(m_list, kColumnTable, frame ? frame->ReadSetting(kWidthSetting) : CString(),
                      StoredWidthRule::ExactCount);
  for (int& flag : m_sortFlags) flag = 0;
  m_strNextKey = "0";
}

void CTirvoGiboView::SaveColumnWidths() {
  if (CCommunityHost* frame = GetFrame())
    frame->WriteSetting(kWidthSetting, FormatReportWidths(m_list, kColumns));
}

void CTirvoGiboView::FillPage(const CRecordListPayload& page) {
  for (const CRecordRow& row : page.rows) {
    m_strNextKey = SteppedNumberText(row.fields[0], -1);
    std::array<CString, kColumns> texts;
    for (int column = 0; column < kColumns; ++column)
      texts[static_cast<std::size_t>(column)] = row.fields[static_cast<std::size_t>(kColumnTable[column].field)];
    AppendReportRow(m_list, texts);
  }
  if (CCommunityHost* frame = GetFrame())
    frame->EndWaitCapture();
  RetakeCaptureAfterFill(m_list, m_bCaptureAfterFill);
  m_bRequestPending = FALSE;
}

void CTirvoGiboView::OnRecordListPage(const CString& payload) {
  if (m_nMode == kSearchMode || m_strNextKey == "0")
    m_list.DeleteAllItems();
  FillPage(CRecordListPayload::Parse(payload));
}

void CTirvoGiboView::OnRecordSearchResult(const CString& payload) {
  const CRecordListPayload page = CRecordListPayload::Parse(payload);
  if (page.count != 0) {
    if (m_strLastQuery != m_strQuery)
      m_list.DeleteAllItems();
    m_nMode = kSearchMode;
    FillPage(page);
    return;
  }
  m_nMode = kBrowseMode;
  if (m_strLastQuery.IsEmpty()) {
    m_strNextKey = m_strSavedKey;
    m_strQuery = m_strLastQuery;
  }
  // Paging must be able to start again after an empty page.
  m_bRequestPending = FALSE;
  AfxMessageBox("No game records found.");
}

CGiboRecord& CTirvoGiboView::GetListRecord() {
  if (auto* records = dynamic_cast<CViewRecords*>(GetDocument()))
    if (CGiboRecord* kept = records->GetRecordForView(CMainMenuHost::kRecordListView))
      return *kept;
  return m_record;
}

void CTirvoGiboView::OpenReceivedRecord(const CString& payload) {
  CFieldTokenizer fields(payload);
  const CString text = fields.GetField(1);
  // The record is loaded into one that was just reset, so nothing of an earlier record (its
  // moves, its players) survives into the one shown.
  CGiboRecord& record = GetListRecord();
  record.Reset();
  record.SetText(text);
  if (CCommunityHost* frame = GetFrame())
    frame->ShowRecordForReview(record);
}

void CTirvoGiboView::StartSearch(const CString& query) {
  m_strLastQuery = m_strQuery;
  m_strSavedKey = m_strNextKey;
  m_strNextKey = "0";
  m_strQuery = query;
  m_nMode = query.IsEmpty() ? kBrowseMode : kSearchMode;
  if (CCommunityHost* frame = GetFrame())
    frame->RequestRecordList("-1", m_strQuery);
}

void CTirvoGiboView::RequestNextPage() {
  CCommunityHost* frame = GetFrame();
  if (!frame)
    return;
  m_strLastQuery = m_strQuery;
  frame->RequestRecordList(m_strNextKey, m_strQuery);
  m_bRequestPending = TRUE;
}

void CTirvoGiboView::OpenSelectedRecord() {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0)
    return;
  if (CCommunityHost* frame = GetFrame())
    frame->RequestRecordPage(m_list.GetItemText(row, 0));
}

BOOL CTirvoGiboView::PreTranslateMessage(MSG* msg) {
  if (msg && msg->hwnd == m_list.m_hWnd) {
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
      OpenSelectedRecord();
      return TRUE;
    }
    if (msg->message == WM_KEYUP && (msg->wParam == VK_DOWN || msg->wParam == VK_NEXT)) {
      const int count = m_list.GetItemCount();
      if (count >= kPageRows && !m_bRequestPending && m_list.GetNextItem(-1, LVNI_SELECTED) == count - 1) {
        RequestNextPage();
        return TRUE;
      }
    }
  }
  return CView::PreTranslateMessage(msg);
}

LRESULT CTirvoGiboView::OnListScroll(WPARAM code, LPARAM position) {
  PageOnScroll(m_list, static_cast<UINT>(code), static_cast<int>(position), m_bRequestPending, m_bCaptureAfterFill,
               [this] { RequestNextPage(); });
  return 0;
}

void CTirvoGiboView::OnListDblClk(NMHDR*, LRESULT* result) {
  OpenSelectedRecord();
  *result = 0;
}

void CTirvoGiboView::OnColumnClick(NMHDR* header, LRESULT* result) {
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  *result = 0;
  if (column < 0 || column >= kColumns)
    return;
  const BOOL ascending = m_sortFlags[column] != 0;
  m_sortFlags[column] = !m_sortFlags[column];
  int kind = CListSorter::kText;
  if (column == 0 || column == 8)
    kind = CListSorter::kWholeNumber;
  else if (column == 4 || column == 7)
    kind = CListSorter::kGrade;
  CListSorter sorter(m_list, column);
  sorter.Sort(ascending, kind);
}

#include "orvanta/lobby/TirvoRankView.h"

#include <cstdlib>

#include <platform/frames.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/CommunityHost.h"
#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/ListPaging.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/RankListPayload.h"
#include "orvanta/lobby/ReportColumns.h"

namespace {

constexpr CReportColumn kColumnTable[CTirvoRankView::kColumns] = {
    {"No", LVCFMT_RIGHT, 40},     {"Rank", LVCFMT_RIGHT, 40},    {"Name", LVCFMT_LEFT, 200}, {"Points", LVCFMT_RIGHT, 40},
    {"Results", LVCFMT_RIGHT, 100}, {"Win %", LVCFMT_RIGHT, 70}, {"", LVCFMT_RIGHT, 0},
};

constexpr int kWidthSetting = 3;

}  // namespace

IMPLEMENT_DYNCREATE(CTirvoRankView, CView)

BEGIN_MESSAGE_MAP(CTirvoRankView, CView)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_CONTEXTMENU()
  ON_NOTIFY(NM_DBLCLK, CTirvoRankView::kListId, OnListDblClk)
  ON_NOTIFY(NM_RETURN, CTirvoRankView::kListId, OnListReturn)
  ON_NOTIFY(LVN_COLUMNCLICK, CTirvoRankView::kListId, OnColumnClick)
  ON_MESSAGE(CFlatListCtrl::kScrollNotice, OnListScroll)
END_MESSAGE_MAP()

int CTirvoRankView::OnCreate(LPCREATESTRUCT cs) {
  if (CView::OnCreate(cs) == -1)
    return -1;
  CRect client;
  GetClientRect(&client);
  return m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, client,
                       this, kListId)
             ? 0
             : -1;
}

void CTirvoRankView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  if (m_list.m_hWnd)
    m_list.MoveWindow(0, 0, cx, cy);
}

CCommunityHost* CTirvoRankView::GetFrame() const { return dynamic_cast<CCommunityHost*>(GetParentFrame()); }

void CTirvoRankView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  CCommunityHost* frame = GetFrame();
  // Without widths a person chose, the columns grow to what they show.
  m_bFitColumns = !InsertReportColumns(m_list, kColumnTable, frame ? frame->ReadSetting(kWidthSetting) : CString(),
                                       StoredWidthRule::ExactCount);
}

void CTirvoRankView::SaveColumnWidths() {
  const CString widths = FormatReportWidths(m_list, kColumns, kColumns - 1);
  // Widths the view fitted to one session's rows are not kept as if a person had chosen them.
  if (m_bFitColumns && widths == m_strFittedWidths)
    return;
  if (CCommunityHost* frame = GetFrame())
    frame->WriteSetting(kWidthSetting, widths);
}

void CTirvoRankView::AddRankRowsKind1(const CString& payload) {
  if (m_nListKind == 2) {
    m_list.DeleteAllItems();
    m_nListKind = 1;
  }
  AddRows(payload);
}

void CTirvoRankView::AddRankRowsKind2(const CString& payload) {
  if (m_nListKind == 1) {
    m_list.DeleteAllItems();
    m_nListKind = 2;
  }
  AddRows(payload);
}

void CTirvoRankView::AddRows(const CString& payload) {
  for (const CRankRow& row : CRankListPayload::Parse(payload).rows) {
    m_strNextKey = SteppedNumberText(row.fields[0], 1);
    AppendReportRow(m_list, row.Columns());
  }
  if (m_bFitColumns) {
    WidenReportColumns(m_list, kColumns);
    m_strFittedWidths = FormatReportWidths(m_list, kColumns, kColumns - 1);
  }
  m_bRequestPending = FALSE;
  if (CCommunityHost* frame = GetFrame())
    frame->EndWaitCapture();
  RetakeCaptureAfterFill(m_list, m_bCaptureAfterFill);
}

void CTirvoRankView::RequestSelectedUserInfo() {
  const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0)
    return;
  CString id = m_list.GetItemText(row, 2);
  if (id.Find('(') >= 0)
    id = id.Left(id.Find('('));
  if (CCommunityHost* frame = GetFrame()) {
    frame->RequestUserInfo(m_list.GetItemText(row, 6), id);
    frame->FlushRequests();
  }
}

void CTirvoRankView::RequestNextPage() {
  CCommunityHost* frame = GetFrame();
  if (!frame)
    return;
  frame->RequestRankPage(m_strNextKey, m_strQuery);
  m_bRequestPending = TRUE;
}

BOOL CTirvoRankView::PreTranslateMessage(MSG* msg) {
  if (msg && msg->hwnd == m_list.m_hWnd && msg->message == WM_KEYUP &&
      (msg->wParam == VK_DOWN || msg->wParam == VK_NEXT)) {
    const int count = m_list.GetItemCount();
    CCommunityHost* frame = GetFrame();
    if (frame && count >= kPageRows && !m_bRequestPending && m_list.GetNextItem(-1, LVNI_SELECTED) == count - 1) {
      RequestNextPage();
      return TRUE;
    }
  }
  return CView::PreTranslateMessage(msg);
}

LRESULT CTirvoRankView::OnListScroll(WPARAM code, LPARAM position) {
  PageOnScroll(m_list, static_cast<UINT>(code), static_cast<int>(position), m_bRequestPending, m_bCaptureAfterFill,
               [this] { RequestNextPage(); });
  return 0;
}

void CTirvoRankView::OnListDblClk(NMHDR*, LRESULT* result) {
  RequestSelectedUserInfo();
  *result = 0;
}

void CTirvoRankView::OnListReturn(NMHDR*, LRESULT* result) {
  // Enter holds the wait cursor and the capture for as long as the request takes to go out.
  CCommunityHost* frame = GetFrame();
  if (frame)
    frame->BeginWaitCapture();
  RequestSelectedUserInfo();
  if (frame)
    frame->EndWaitCapture();
  *result = 0;
}

void CTirvoRankView::OnContextMenu(CWnd*, CPoint) {}

void CTirvoRankView::OnColumnClick(NMHDR* header, LRESULT* result) {
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  *result = 0;
  if (column < 0 || column >= kColumns)
    return;
  const BOOL ascending = m_sortFlags[column] != 0;
  m_sortFlags[column] = !m_sortFlags[column];
  CListSorter sorter(m_list, column);
  sorter.Sort(ascending, column == 2 ? CListSorter::kText : CListSorter::kWholeNumber);
}

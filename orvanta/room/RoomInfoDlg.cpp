#include "orvanta/room/RoomInfoDlg.h"

#include <platform/ddx.h>

#include "orvanta/lobby/ListSorter.h"
#include "orvanta/lobby/SortImages.h"
#include "orvanta/resources/LobbyBitmaps.h"
#include "orvanta/room/RoomInfoText.h"

BEGIN_MESSAGE_MAP(CRoomInfoDlg, CDialog)
  ON_NOTIFY(LVN_COLUMNCLICK, CRoomInfoDlg::kObserverList, OnColumnClickObservers)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CRoomInfoDlg::CRoomInfoDlg(CWnd* parent) : CDialog(kTemplateId, parent) {}

platform::DialogTemplate CRoomInfoDlg::BuildTemplate() {
  using platform::VisibleItem;
  constexpr DWORD kValue = SS_LEFT | SS_SUNKEN | SS_NOPREFIX;
  constexpr UINT kLabel = static_cast<UINT>(-1);
  platform::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
  t.cx = 262;
  t.cy = 214;
  t.caption = "Play Room Information";
  t.fontName = Cp949("굴림");
  t.fontSize = 9;
  t.items = {
      VisibleItem("Static", kLabel, 8, 9, 50, 10, SS_LEFT, "Play Status:"),
      VisibleItem("Static", kPlayStatus, 62, 7, 56, 12, kValue),
      VisibleItem("Static", kLabel, 126, 9, 64, 10, SS_LEFT, "PLay Condition:"),
      VisibleItem("Static", kCondition, 192, 7, 62, 12, kValue),
      VisibleItem("Static", kLabel, 62, 26, 50, 10, SS_CENTER, "ID"),
      VisibleItem("Static", kLabel, 114, 26, 60, 10, SS_CENTER, "Name"),
      VisibleItem("Static", kLabel, 176, 26, 40, 10, SS_CENTER, "Grade"),
      VisibleItem("Static", kLabel, 218, 26, 36, 10, SS_CENTER, "Status"),
      VisibleItem("Static", kLabel, 8, 40, 50, 10, SS_LEFT, "Player(B):"),
      VisibleItem("Static", kBlackId, 62, 38, 50, 12, kValue),
      VisibleItem("Static", kBlackName, 114, 38, 60, 12, kValue),
      VisibleItem("Static", kBlackGrade, 176, 38, 40, 12, kValue),
      VisibleItem("Static", kBlackPresence, 218, 38, 36, 12, kValue | SS_CENTER),
      VisibleItem("Static", kLabel, 8, 56, 50, 10, SS_LEFT, "Player(W):"),
      VisibleItem("Static", kWhiteId, 62, 54, 50, 12, kValue),
      VisibleItem("Static", kWhiteName, 114, 54, 60, 12, kValue),
      VisibleItem("Static", kWhiteGrade, 176, 54, 40, 12, kValue),
      VisibleItem("Static", kWhitePresence, 218, 54, 36, 12, kValue | SS_CENTER),
      VisibleItem("Static", kLabel, 8, 76, 50, 10, SS_LEFT, "Total Moves:"),
      VisibleItem("Static", kTotalMoves, 62, 74, 50, 12, kValue),
      VisibleItem("Static", kLabel, 126, 76, 50, 10, SS_LEFT, "Observers:"),
      VisibleItem("Static", kObserverCount, 176, 74, 40, 12, kValue),
      VisibleItem("Static", kLabel, 8, 94, 80, 10, SS_LEFT, "Observer List"),
      VisibleItem("SysListView32", kObserverList, 8, 106, 246, 100,
                  LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP),
  };
  return t;
}

BOOL CRoomInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  InitObserverList();
  FillRoomInfo();
  return TRUE;
}

void CRoomInfoDlg::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, static_cast<int>(kObserverList), m_list); }

void CRoomInfoDlg::InitObserverList() {
  m_list.InsertColumn(0, "ID", LVCFMT_LEFT, 100);
  m_list.InsertColumn(1, "Name", LVCFMT_LEFT, 100);
  m_list.InsertColumn(2, "Grade", LVCFMT_RIGHT, 120);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  if (m_rowImages.Create(kRowHeightBitmap, 1, 0, kWhiteImageMask))
    m_list.SetImageList(&m_rowImages, LVSIL_SMALL);
  m_list.InitColumns();
  AttachSortImages(m_list, m_sortImages);
  m_list.GetFlatHeader().InitColumnStates(3);
  m_list.SetKeyColumn(2);
  m_list.SetBackColor(0xF7F7F7);
}

void CRoomInfoDlg::FillRoomInfo() {
  const CRoomInfoText info = CRoomInfoText::Parse(m_strInfo);
  SetWindowText(info.title);
  SetDlgItemText(kPlayStatus, info.status);
  SetDlgItemText(kBlackId, info.black.id);
  SetDlgItemText(kBlackName, info.black.name);
  SetDlgItemText(kBlackGrade, info.black.grade);
  SetDlgItemText(kBlackPresence, info.black.presence);
  SetDlgItemText(kWhiteId, info.white.id);
  SetDlgItemText(kWhiteName, info.white.name);
  SetDlgItemText(kWhiteGrade, info.white.grade);
  SetDlgItemText(kWhitePresence, info.white.presence);
  if (!info.condition.IsEmpty())
    SetDlgItemText(kCondition, info.condition);
  SetDlgItemText(kTotalMoves, info.totalMoves);
  SetDlgItemText(kObserverCount, info.observerCount);
  for (const CRoomInfoText::Observer& observer : info.observers) {
    const int row = m_list.InsertItem(m_list.GetItemCount(), observer.id);
    m_list.SetItemText(row, 1, observer.name);
    m_list.SetItemText(row, 2, observer.grade);
  }
}

void CRoomInfoDlg::OnColumnClickObservers(NMHDR* header, LRESULT* result) {
  *result = 0;
  const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
  if (m_list.GetItemCount() == 0 || column < 0 || column > 2)
    return;
  m_nSortedColumn = column;
  // The header flips the column's state on the press that led here: 1 sorts descending.
  const BOOL ascending = m_list.GetFlatHeader().GetColumnState(column) != 1;
  CListSorter sorter(m_list, column);
  sorter.Sort(ascending, column == 2 ? CListSorter::kGrade : CListSorter::kText);
}

void CRoomInfoDlg::OnPaint() {
  Default();
  if (m_list.GetSafeHwnd())
    m_list.Invalidate();
}

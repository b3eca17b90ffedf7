#include "orvanta/room/DagukRoomView.h"

#include <platform/ddx.h>

#include "orvanta/connection/MainFrame.h"
#include "orvanta/connection/OrvantaDoc.h"

namespace {

// A pane of the side panel: its control and where it sits, in pixels from the panel's top left.
struct PanePlace {
  UINT id;
  const char* className;
  DWORD style;
  int x, y, cx, cy;
};

constexpr DWORD kLabel = SS_LEFT | WS_BORDER;
const PanePlace kPanel[] = {
    {CGameRoom::kWhiteName, "Static", SS_NOTIFY | kLabel, 5, 4, 135, 20},
    {CGameRoom::kBlackName, "Static", SS_NOTIFY | kLabel, 150, 4, 120, 20},
    {CGameRoom::kWhiteSecond, "Static", kLabel, 5, 26, 135, 18},
    {CGameRoom::kBlackSecond, "Static", kLabel, 150, 26, 120, 18},
    {CGameRoom::kCondition, "Static", kLabel, 5, 48, 135, 18},
    {CGameRoom::kMoveNumber, "Static", kLabel, 150, 48, 120, 18},
    {CGameRoom::kStatus, "Static", kLabel, 5, 70, 265, 18},
    {CGameRoom::kWhiteCaptured, "Static", kLabel, 88, 95, 30, 25},
    {CGameRoom::kBlackCaptured, "Static", kLabel, 209, 95, 30, 25},
    {CGameRoom::kWhiteMain, "Static", kLabel, 36, 138, 100, 20},
    {CGameRoom::kBlackMain, "Static", kLabel, 160, 138, 100, 20},
    {CGameRoom::kWhiteSeconds, "Static", kLabel, 36, 160, 48, 20},
    {CGameRoom::kWhitePeriods, "Static", kLabel, 88, 160, 48, 20},
    {CGameRoom::kBlackSeconds, "Static", kLabel, 160, 160, 48, 20},
    {CGameRoom::kBlackPeriods, "Static", kLabel, 212, 160, 48, 20},
    {CGameRoom::kMessage, "Static", kLabel, 5, 184, 265, 20},
    {CGameRoom::kObserverList, "SysListView32", LVS_REPORT | WS_BORDER, 5, 208, 265, 110},
};
constexpr int kChatTop = 322;
constexpr int kChatInputHeight = 22;

}  // namespace

IMPLEMENT_DYNCREATE(CDagukRoomView, CFormView)

BEGIN_MESSAGE_MAP(CDagukRoomView, CFormView)
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CDagukRoomView, CFormView)
  ON_EVENT(CDagukRoomView, CDagukRoomView::kBoardId, STOLVEX_EVENT_POSITION, OnBoardPosition,
           VTS_I2 VTS_I2 VTS_I2 VTS_I4)
  ON_EVENT(CDagukRoomView, CDagukRoomView::kBoardId, STOLVEX_EVENT_ERROR, OnBoardError, VTS_I2 VTS_I4)
  ON_EVENT(CDagukRoomView, CDagukRoomView::kBoardId, STOLVEX_EVENT_NUMOFEAT, OnBoardNumOfEat, VTS_I2 VTS_I2 VTS_I4)
END_EVENTSINK_MAP()

CDagukRoomView::CDagukRoomView() : CFormView(kTemplateId) {}

CDagukRoomView::~CDagukRoomView() = default;

platform::DialogTemplate CDagukRoomView::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_CHILD;
  t.cx = 500;
  t.cy = 330;
  t.items.push_back(platform::VisibleItem(GuidToString(CLSID_StolvexControl), kBoardId, 0, 0, 320, 320, 0));
  // The panel's controls are placed by the view's layout; the template only makes them.
  for (const PanePlace& pane : kPanel)
    t.items.push_back(platform::VisibleItem(pane.className, pane.id, 330, 0, 60, 10, pane.style));
  t.items.push_back(platform::VisibleItem("Edit", CGameRoom::kChatOutput, 330, 200, 160, 60,
                                          ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER));
  t.items.push_back(platform::VisibleItem("ComboBox", kChatInputId, 330, 300, 160, 80,
                                          CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_TABSTOP));
  return t;
}

void CDagukRoomView::DoDataExchange(CDataExchange* dx) {
  CFormView::DoDataExchange(dx);
  DDX_Control(dx, kBoardId, m_board);
  DDX_Control(dx, CGameRoom::kObserverList, m_observerList);
}

void CDagukRoomView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  if (m_room) return;
  auto* frame = dynamic_cast<CMainFrame*>(GetParentFrame());
  if (!frame) return;
  // The document's record is the room's; a view without the program's document keeps its own.
  CGiboRecord* record = &m_record;
  if (auto* document = dynamic_cast<COrvantaDoc*>(GetDocument())) {
    if (CGiboRecord* roomRecord = document->GetRecordForView(kTemplateId)) record = roomRecord;
  }
  m_room.emplace(*this, *frame, *record);
  m_room->SetPaneListener(&CDagukRoomView::OnPaneChanged, this);
  if (m_observerList.m_hWnd) {
    const char* columns[] = {"Observers", "Host", "ID", "Name", "Grade"};
    const int widths[] = {90, 0, 60, 60, 50};
    for (int i = 0; i < 5; ++i) m_observerList.InsertColumn(i, columns[i], LVCFMT_LEFT, widths[i]);
  }
  m_room->ResetRoom();
  frame->AttachGameRoom(&*m_room);
  CRect client;
  GetClientRect(&client);
  LayOut(client.Width(), client.Height());
}

void CDagukRoomView::OnDestroy() {
  if (auto* frame = dynamic_cast<CMainFrame*>(GetParentFrame()); frame && m_room && frame->GetGameRoom() == &*m_room)
    frame->AttachGameRoom(nullptr);
  CFormView::OnDestroy();
}

void CDagukRoomView::OnPaneChanged(void* context, int pane) { static_cast<CDagukRoomView*>(context)->ShowPane(pane); }

void CDagukRoomView::ShowPane(int pane) {
  if (!m_hWnd || !m_room) return;
  if (pane == CGameRoom::kObserverList) {
    FillObserverList();
  } else if (pane == CGameRoom::kChatOutput) {
    SetDlgItemText(CGameRoom::kChatOutput, m_room->GetChatText());
  } else if (GetDlgItem(pane)) {
    SetDlgItemText(pane, m_room->GetPaneText(pane));
  }
}

void CDagukRoomView::FillObserverList() {
  if (!m_observerList.m_hWnd) return;
  CListCtrl* list = &m_observerList;
  list->DeleteAllItems();
  int row = 0;
  for (const CRoomMessages::Person& person : m_room->GetObservers()) {
    list->InsertItem(row, person.id + "-" + person.fourth);
    list->SetItemText(row, 1, person.host);
    list->SetItemText(row, 2, person.id);
    list->SetItemText(row, 3, person.third);
    list->SetItemText(row, 4, person.fourth);
    ++row;
  }
}

void CDagukRoomView::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  LayOut(cx, cy);
}

void CDagukRoomView::LayOut(int cx, int cy) {
  if (!m_board.m_hWnd) return;
  int panel = std::max(cx - kPanelWidth, 0);
  m_board.MoveWindow(0, 0, panel, cy);
  for (const PanePlace& pane : kPanel) {
    if (CWnd* control = GetDlgItem(pane.id)) control->MoveWindow(panel + pane.x, pane.y, pane.cx, pane.cy);
  }
  int chatHeight = std::max(cy - kChatTop - kChatInputHeight - 8, 20);
  if (CWnd* chat = GetDlgItem(CGameRoom::kChatOutput)) chat->MoveWindow(panel + 5, kChatTop, 265, chatHeight);
  if (CWnd* input = GetDlgItem(kChatInputId)) input->MoveWindow(panel + 5, kChatTop + chatHeight + 4, 265, 120);
}

void CDagukRoomView::OnBoardPosition(SHORT row, SHORT col, SHORT, LONG) {
  if (m_room) m_room->OnBoardPosition(row, col);
  if (CWnd* input = GetDlgItem(kChatInputId)) input->SetFocus();
}

void CDagukRoomView::OnBoardError(SHORT code, LONG) {
  if (m_room) m_room->OnBoardError(code);
  if (CWnd* input = GetDlgItem(kChatInputId)) input->SetFocus();
}

void CDagukRoomView::OnBoardNumOfEat(SHORT colour, SHORT count, LONG) {
  if (m_room) m_room->OnBoardNumOfEat(colour, count);
}

#include "orvanta/room/DagukRoomView.h"

#include <platform/app.h>
#include <platform/ddx.h>
#include <platform/frames.h>

#include "orvanta/room/RoomViewHost.h"
#include "orvanta/room/ViewRecords.h"
#include "orvanta/lobby/InviteDlg.h"
#include "orvanta/widgets/LogEdit.h"

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
    {CGameRoom::kBlackName, "Static", SS_NOTIFY | kLabel, 150, 4, 130, 20},
    {CGameRoom::kWhiteSecond, "Static", kLabel, 20, 27, 105, 16},
    {CGameRoom::kBlackSecond, "Static", kLabel, 150, 27, 130, 16},
    // The captured counts take the mouse too, for their tips.
    {CGameRoom::kBlackCaptured, "Static", SS_NOTIFY | kLabel, 88, 95, 30, 25},
    {CGameRoom::kWhiteCaptured, "Static", SS_NOTIFY | kLabel, 209, 95, 30, 25},
    {CGameRoom::kWhiteMain, "Static", kLabel, 36, 138, 100, 20},
    {CGameRoom::kBlackMain, "Static", kLabel, 156, 138, 100, 20},
    {CGameRoom::kWhiteSeconds, "Static", kLabel, 60, 161, 30, 25},
    {CGameRoom::kBlackSeconds, "Static", kLabel, 185, 161, 30, 25},
    {CGameRoom::kWhitePeriods, "Static", kLabel, 95, 161, 40, 25},
    {CGameRoom::kBlackPeriods, "Static", kLabel, 215, 161, 40, 25},
    {CGameRoom::kCondition, "Static", kLabel, 68, 207, 70, 20},
    {CGameRoom::kMoveNumber, "Static", kLabel, 68, 233, 45, 20},
    {CGameRoom::kStatus, "Static", kLabel, 68, 266, 87, 20},
    // The list reaches the panel's right margin, so that its first three columns show whole.
    {CGameRoom::kObserverList, "SysListView32", LVS_REPORT | WS_BORDER, 143, 201, 137, 79},
    // The message line is one line: the whole greeting fits it.
    {CGameRoom::kMessage, "Static", SS_LEFTNOWORDWRAP | WS_BORDER, 10, 291, 270, 20},
};
// Chat output and input: from the panel's left, the output below the status line down to the
// input, which sits on the bottom edge.
constexpr int kChatLeft = 24;
constexpr int kChatTop = 318;
constexpr int kChatWidth = 240;

}  // namespace

IMPLEMENT_DYNCREATE(CDagukRoomView, CFormView)

BEGIN_MESSAGE_MAP(CDagukRoomView, CFormView)
  ON_WM_SIZE()
  ON_WM_DESTROY()
  ON_WM_CONTEXTMENU()
  ON_WM_PAINT()
  ON_WM_LBUTTONUP()
  ON_WM_SETFOCUS()
  ON_WM_CTLCOLOR()
  ON_CBN_DROPDOWN(CDagukRoomView::kChatInputId, OnChatListOpen)
  ON_CBN_CLOSEUP(CDagukRoomView::kChatInputId, OnChatListClosed)
  ON_EN_SETFOCUS(CDagukRoomView::kChatOutputId, OnChatOutputFocus)
  ON_NOTIFY(NM_RCLICK, CDagukRoomView::kObserverListId, OnObserverRightClick)
  ON_NOTIFY(NM_DBLCLK, CDagukRoomView::kObserverListId, OnObserverDoubleClick)
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
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
  // Fits the program's own 800x600 with its tool bar: the layout follows the view's size.
  t.cx = 500;
  t.cy = 250;
  t.items.push_back(platform::VisibleItem(GuidToString(CLSID_StolvexControl), kBoardId, 0, 0, 320, 320, 0));
  // The panel's controls are placed by the view's layout; the template only makes them.
  for (const PanePlace& pane : kPanel)
    t.items.push_back(platform::VisibleItem(pane.className, pane.id, 330, 0, 60, 10, pane.style));
  t.items.push_back(platform::VisibleItem("Edit", kChatOutputId, 330, 200, 160, 60,
                                          ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER));
  t.items.push_back(platform::VisibleItem("ComboBox", kChatInputId, 330, 300, 160, 80,
                                          CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_TABSTOP | WS_VSCROLL));
  return t;
}

void CDagukRoomView::DoDataExchange(CDataExchange* dx) {
  CFormView::DoDataExchange(dx);
  DDX_Control(dx, kBoardId, m_board);
  DDX_Control(dx, CGameRoom::kObserverList, m_observerList);
  DDX_Control(dx, kChatInputId, m_chatInput);
  DDX_Control(dx, kChatOutputId, m_chatOutput);
}

void CDagukRoomView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  if (m_room) return;
  auto* frame = dynamic_cast<CRoomViewHost*>(GetParentFrame());
  if (!frame) return;
  // The document's record is the room's; a view without the program's document keeps its own.
  CGiboRecord* record = &m_record;
  if (auto* document = dynamic_cast<CViewRecords*>(GetDocument())) {
    if (CGiboRecord* roomRecord = document->GetRecordForView(kTemplateId)) record = roomRecord;
  }
  m_room.emplace(*this, *frame, *record);
  m_room->SetPaneListener(&CDagukRoomView::OnPaneChanged, this);
  if (m_observerList.m_hWnd) {
    const char* columns[] = {"Observers", "Host", "ID", "Name", "Grade"};
    // The host key is a short text: its column is narrower, so that ID shows beside it.
    const int widths[] = {50, 30, 50, 40, 40};
    for (int i = 0; i < 5; ++i) m_observerList.InsertColumn(i, columns[i], LVCFMT_CENTER, widths[i]);
    m_observerList.SetExtendedStyle(LVS_EX_FULLROWSELECT);
  }
  m_room->SetSoundOn(frame->IsSoundOn());
  CreateLooks();
  FillChatMacroCombo();
  m_room->ResetRoom();
  m_room->ShowNotice(kGreeting);
  frame->AttachGameRoom(&*m_room);
  RecalcLayout();
}

void CDagukRoomView::OnDestroy() {
  if (auto* frame = dynamic_cast<CRoomViewHost*>(GetParentFrame()); frame && m_room && frame->GetGameRoom() == &*m_room)
    frame->AttachGameRoom(nullptr);
  // The invitation window goes with the room.
  ClosePopups();
  CFormView::OnDestroy();
}

void CDagukRoomView::ClosePopups() {
  if (m_pInviteDlg && m_pInviteDlg->m_hWnd) m_pInviteDlg->DestroyWindow();
  m_pInviteDlg.reset();
  if (m_toolTip.m_hWnd) m_toolTip.Pop();
}

void CDagukRoomView::OnPaneChanged(void* context, int pane) { static_cast<CDagukRoomView*>(context)->ShowPane(pane); }

void CDagukRoomView::ShowPane(int pane) {
  if (!m_hWnd || !m_room) return;
  // Every change may follow a move, the clock's start or its stop: the lamps keep up with it.
  RefreshClockLamps();
  if (pane == CGameRoom::kClockSide) return;
  if (pane == CGameRoom::kObserverList) {
    FillObserverList();
  } else if (pane == CGameRoom::kChatOutput) {
    // The newest line is always in sight.
    if (m_chatOutput.m_hWnd) {
      CString shown;
      m_chatOutput.GetWindowText(shown);
      ShowLogText(m_chatOutput, shown, m_room->GetChatText());
      const int end = m_room->GetChatText().GetLength();
      m_chatOutput.SetSel(end, end);
      m_chatOutput.SendMessage(EM_SCROLLCARET);
      m_chatOutput.LineScroll(m_chatOutput.GetLineCount());
    } else {
      SetDlgItemText(CGameRoom::kChatOutput, m_room->GetChatText());
    }
  } else if (CWnd* control = GetDlgItem(pane)) {
    SetDlgItemText(pane, m_room->GetPaneText(pane));
    // A blink changes the look, not the text: the pane is drawn again either way.
    if (pane == CGameRoom::kBlackSeconds || pane == CGameRoom::kWhiteSeconds) control->Invalidate();
    if (pane == CGameRoom::kMessage) RepaintStatusBackground();
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
  RecalcLayout();
  // The desk and the panel's backdrop follow the right edge: all of the view is painted again.
  if (m_hWnd) Invalidate();
}

void CDagukRoomView::RecalcLayout() {
  if (!m_board.m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  const int w = client.Width(), h = client.Height();
  const int panel = w - kPanelWidth;
  m_nPanelLeft = panel;
  // The board is the largest square left of the panel's backdrop, centred in its space.
  const int room = std::max(w - kBoardMargin, 0);
  const int side = std::max(std::min(room, h), 0);
  m_board.MoveWindow((room - side) / 2, (h - side) / 2, side, side);
  for (const PanePlace& pane : kPanel) {
    if (CWnd* control = GetDlgItem(pane.id)) control->MoveWindow(panel + pane.x, pane.y, pane.cx, pane.cy);
  }
  if (CWnd* chat = GetDlgItem(kChatOutputId)) chat->MoveWindow(panel + kChatLeft, kChatTop, kChatWidth, std::max(h - 341, 0));
  if (CWnd* input = GetDlgItem(kChatInputId)) input->MoveWindow(panel + kChatLeft, h - 22, kChatWidth, 100);
  // Captions are repainted over these areas; the name and grade areas reach past their panes.
  auto paneRect = [&](UINT id) {
    for (const PanePlace& pane : kPanel)
      if (pane.id == id) return CRect(panel + pane.x, pane.y, panel + pane.x + pane.cx, pane.y + pane.cy);
    return CRect();
  };
  m_captionAreas[1] = CRect(panel + 148, 4, panel + 295, 24);
  m_captionAreas[2] = CRect(panel + 4, 4, panel + 135, 24);
  m_captionAreas[3] = CRect(panel + 148, 27, panel + 295, 43);
  m_captionAreas[4] = CRect(panel + 20, 27, panel + 125, 43);
  m_captionAreas[5] = paneRect(CGameRoom::kBlackPeriods);
  m_captionAreas[6] = paneRect(CGameRoom::kWhitePeriods);
  m_captionAreas[7] = paneRect(CGameRoom::kBlackMain);
  m_captionAreas[8] = paneRect(CGameRoom::kWhiteMain);
  m_captionAreas[9] = paneRect(CGameRoom::kMoveNumber);
  m_captionAreas[10] = paneRect(CGameRoom::kMessage);
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

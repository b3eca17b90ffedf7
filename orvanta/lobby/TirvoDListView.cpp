#include "orvanta/lobby/TirvoDListView.h"

#include <algorithm>
#include <cstdlib>

#include <platform/ddx.h>
#include <platform/frames.h>
#include <platform/gdi_dc.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/lobby/GradeOrder.h"
#include "orvanta/lobby/LobbyHost.h"
#include "orvanta/lobby/ReportColumns.h"
#include "orvanta/lobby/SortImages.h"
#include "orvanta/lobby/WaitingRoomTable.h"
#include "orvanta/resources/LobbyBitmaps.h"

namespace {

using platform::VisibleItem;

constexpr COLORREF kCreamColour = 0xC8EDF7;
constexpr COLORREF kLabelTextColour = 0x7F0700;
constexpr COLORREF kRowBackColour = 0xF7F7F7;
constexpr int kSettingField = 1;
constexpr int kDefaultRoomWidths[CTirvoDListView::kRoomColumns] = {20, 60, 70, 59, 110, 110, 56, 56, 90};
constexpr int kDefaultUserWidths[CTirvoDListView::kUserColumns] = {80, 85, 77, 88};
constexpr DWORD kListStyle =
    LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED | WS_BORDER | WS_TABSTOP;

}  // namespace

IMPLEMENT_DYNCREATE(CTirvoDListView, CFormView)

BEGIN_MESSAGE_MAP(CTirvoDListView, CFormView)
  ON_WM_SIZE()
  ON_WM_CONTEXTMENU()
  ON_WM_SETFOCUS()
  ON_WM_LBUTTONDOWN()
  ON_WM_CTLCOLOR()
  ON_WM_PAINT()
  ON_CBN_CLOSEUP(CTirvoDListView::kChatInput, OnChatCloseUp)
  ON_EN_SETFOCUS(CTirvoDListView::kChatBox, OnChatBoxFocus)
  ON_BN_CLICKED(CTirvoDListView::kRoomAutoUpdate, OnRoomAutoUpdate)
  ON_BN_CLICKED(CTirvoDListView::kUserAutoUpdate, OnUserAutoUpdate)
  ON_NOTIFY(NM_DBLCLK, CTirvoDListView::kUserList, OnUserDblClk)
  ON_NOTIFY(NM_DBLCLK, CTirvoDListView::kRoomList, OnRoomDblClk)
  ON_NOTIFY(LVN_COLUMNCLICK, CTirvoDListView::kUserList, OnUserColumnClick)
  ON_NOTIFY(LVN_COLUMNCLICK, CTirvoDListView::kRoomList, OnRoomColumnClick)
  ON_NOTIFY(NM_KILLFOCUS, CTirvoDListView::kUserList, OnUserListKillFocus)
  ON_COMMAND(CTirvoDListView::kUserInfoCommand, OnUserInfo)
  ON_COMMAND(CTirvoDListView::kNegoPlayCommand, OnNegoPlay)
  ON_COMMAND(CTirvoDListView::kSendMemoCommand, OnSendMemo)
  ON_COMMAND(CTirvoDListView::kSendMailCommand, OnSendMail)
  ON_COMMAND(CTirvoDListView::kJoinRoomCommand, EnterSelectedRoom)
  ON_COMMAND(CTirvoDListView::kRoomInformCommand, OnRoomInform)
  ON_MESSAGE(CNegotiationAskDlg::kNotifyMessage, OnNegoDlgNotify)
  ON_MESSAGE(CTirvoDListView::kDeleteNegotiationMessage, OnDeleteNegotiation)
END_MESSAGE_MAP()

CTirvoDListView::CTirvoDListView() : CFormView(kTemplateId) {}

CTirvoDListView::~CTirvoDListView() = default;

platform::DialogTemplate CTirvoDListView::BuildTemplate() {
  platform::DialogTemplate t;
  t.style = WS_CHILD | DS_CONTROL;
  // Fits the program's own 800x600 with its tool bar: the layout follows the view's size.
  t.cx = 440;
  t.cy = 230;
  t.fontName = "Arial";
  t.fontSize = 9;
  t.items = {
      VisibleItem("SysListView32", kRoomList, 7, 16, 340, 318, kListStyle),
      VisibleItem("SysListView32", kUserList, 357, 16, 166, 200, kListStyle),
      VisibleItem("Edit", kChatBox, 357, 222, 166, 92, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER),
      VisibleItem("ComboBox", kChatInput, 357, 318, 166, 60, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP),
      VisibleItem("Static", kRoomKeyLabel, 200, 5, 34, 9, SS_LEFT, ""),
      VisibleItem("Static", kRoomCountLabel, 240, 5, 60, 9, SS_LEFT, "Play Room: 0"),
      VisibleItem("Static", kUserCountLabel, 440, 5, 60, 9, SS_LEFT, "Waiting Persons:  0 "),
      VisibleItem("Button", kRoomAutoUpdate, 336, 7, 8, 8, BS_AUTOCHECKBOX),
      VisibleItem("Button", kUserAutoUpdate, 515, 7, 8, 8, BS_AUTOCHECKBOX),
  };
  return t;
}

void CTirvoDListView::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, static_cast<int>(kRoomList), m_roomList);
  DDX_Control(dx, static_cast<int>(kUserList), m_userList);
  DDX_Control(dx, static_cast<int>(kChatBox), m_chatBox);
  DDX_Control(dx, static_cast<int>(kChatInput), m_chatInput);
  DDX_Control(dx, static_cast<int>(kRoomAutoUpdate), m_roomAutoUpdate);
  DDX_Control(dx, static_cast<int>(kUserAutoUpdate), m_userAutoUpdate);
}

// ---------------------------------------------------------------------------------------------
// Life and layout

void CTirvoDListView::OnInitialUpdate() {
  // Made by the frame's view switch, the view finds its host in the frame that holds it.
  if (!m_pHost)
    m_pHost = dynamic_cast<CLobbyHost*>(GetParentFrame());
  CFormView::OnInitialUpdate();
  ModifyStyle(0, WS_CLIPCHILDREN);
  m_whiteBrush.CreateSolidBrush(RGB(255, 255, 255));
  m_creamBrush.CreateSolidBrush(kCreamColour);
  InitUserColumns();
  InitRoomColumns();
  AttachSortImages(m_userList, m_sortImages);
  AttachSortImages(m_roomList, m_sortImages);
  m_roomAutoUpdate.SetCheck(BST_CHECKED);
  m_userAutoUpdate.SetCheck(BST_CHECKED);
  if (m_toolTip.Create(this)) {
    m_toolTip.AddTool(&m_roomAutoUpdate, "Auto_update stop/start");
    m_toolTip.AddTool(&m_userAutoUpdate, "Auto_update stop/start");
  }
  m_chatInput.SetExtendedUI(TRUE);
  RecalcLayout();
  RefreshChatMacros();
}

void CTirvoDListView::LoadColumnWidths(int roomWidths[kRoomColumns], int userWidths[kUserColumns]) const {
  const CString field = m_pHost ? m_pHost->ReadSetting(kSettingField) : CString();
  if (field.IsEmpty()) {
    std::copy(std::begin(kDefaultRoomWidths), std::end(kDefaultRoomWidths), roomWidths);
    std::copy(std::begin(kDefaultUserWidths), std::end(kDefaultUserWidths), userWidths);
    return;
  }
  CFieldTokenizer widths(field);
  const int present = widths.GetCount();
  for (int i = 0; i < kRoomColumns + kUserColumns; ++i) {
    const int width = i < present ? StoredColumnWidth(widths.NextField()) : 0;
    if (i < kRoomColumns)
      roomWidths[i] = width;
    else
      userWidths[i - kRoomColumns] = width;
  }
}

void CTirvoDListView::InitUserColumns() {
  int roomWidths[kRoomColumns];
  int userWidths[kUserColumns];
  LoadColumnWidths(roomWidths, userWidths);
  m_userList.SetExtendedStyle(m_userList.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  m_userList.SetBkColor(kRowBackColour);
  static const char* const kHeadings[kUserColumns] = {"ID", "GRADE", "NAME", "KIWON"};
  static const int kFormats[kUserColumns] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_LEFT, LVCFMT_LEFT};
  for (int i = 0; i < kUserColumns; ++i) m_userList.InsertColumn(i, kHeadings[i], kFormats[i], userWidths[i]);
  // Owner-drawn: a starred grade stands out; the rows' images are the users' waiting rooms, of
  // which the spacer list draws none.
  if (m_userImages.Create(kRowHeightBitmap, 1, 0, kWhiteImageMask))
    m_userList.SetImageList(&m_userImages, LVSIL_SMALL);
  m_userList.SetDrawFlag(0);
  m_userList.InitColumns();
  m_userList.SetKeyColumn(1);
  m_userList.GetFlatHeader().SetItemEx(1, HDITEMEX{0, 21, 400});
}

void CTirvoDListView::InitRoomColumns() {
  int roomWidths[kRoomColumns];
  int userWidths[kUserColumns];
  LoadColumnWidths(roomWidths, userWidths);
  m_roomList.SetExtendedStyle(m_roomList.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  m_roomList.SetBkColor(kRowBackColour);
  static const char* const kHeadings[kRoomColumns] = {" ",     "NO",           "STATUS", "GRADE", "BLACK PLAYER",
                                                      "WHITE PLAYER", "MOVES", "JOIN",   "ROOM TITLE"};
  static const int kFormats[kRoomColumns] = {LVCFMT_LEFT,  LVCFMT_RIGHT, LVCFMT_CENTER, LVCFMT_RIGHT, LVCFMT_LEFT,
                                             LVCFMT_LEFT,  LVCFMT_RIGHT, LVCFMT_RIGHT,  LVCFMT_LEFT};
  for (int i = 0; i < kRoomColumns; ++i) m_roomList.InsertColumn(i, kHeadings[i], kFormats[i], roomWidths[i]);
  // Owner-drawn: a starred grade stands out and the status words show in their colours; column 0
  // shows the room's mark in place of its public word.
  if (m_roomImages.Create(kRoomImagesBitmap, kRoomImageWidth, 0, kWhiteImageMask))
    m_roomList.SetImageList(&m_roomImages, LVSIL_SMALL);
  m_roomList.InitColumns();
  m_roomList.GetFlatHeader().SetItemEx(1, HDITEMEX{0, 21, 400});
  m_roomList.SetKeyColumn(3);
  m_roomList.SetKeyStyle(2);
}

void CTirvoDListView::SaveColumnWidths() {
  if (!m_pHost || !m_roomList.m_hWnd || !m_userList.m_hWnd)
    return;
  CString text = "|";
  for (int i = 0; i < kRoomColumns; ++i) text.AppendFormat("%d|", m_roomList.GetColumnWidth(i));
  for (int i = 0; i < kUserColumns; ++i) text.AppendFormat("%d|", m_userList.GetColumnWidth(i));
  m_pHost->WriteSetting(kSettingField, text);
}

void CTirvoDListView::RecalcLayout() {
  if (!m_roomList.m_hWnd)
    return;
  CRect client;
  GetClientRect(&client);
  const int left = client.left;
  const int top = client.top;
  const int right = client.right;
  const int bottom = client.bottom;
  const int width = right - left;
  const int height = bottom - top;
  const int s = GetScrollPos(SB_VERT);
  const int x = GetScrollPos(SB_HORZ);
  const int twoThirdsW = 2 * width / 3;
  const int twoThirdsH = 2 * height / 3;
  const int columnX = left + twoThirdsW + 15;
  const int columnW = right - twoThirdsW - left - 25;
  const auto placeRight = [&] {
    m_userList.MoveWindow(columnX, 25 - s, columnW, twoThirdsH);
    m_chatBox.MoveWindow(columnX, 10 - s + twoThirdsH + 35, columnW, bottom - twoThirdsH - top - (10 - s) - 65);
    m_chatInput.MoveWindow(columnX, bottom - 25, columnW, ChatInputHeight());
    GetDlgItem(static_cast<int>(kUserCountLabel))->MoveWindow(right - 120, 8 - s, 90, 15);
    m_userAutoUpdate.MoveWindow(right - 20, 13 - s, 10, 10);
    GetDlgItem(static_cast<int>(kRoomKeyLabel))->MoveWindow(left + twoThirdsW - 180, 8 - s, 50, 15);
    GetDlgItem(static_cast<int>(kRoomCountLabel))->MoveWindow(left + twoThirdsW - 120, 8 - s, 90, 15);
    m_roomAutoUpdate.MoveWindow(left + twoThirdsW - 10, 13 - s, 10, 10);
  };
  const auto placeRooms = [&] {
    m_roomList.ShowWindow(SW_HIDE);
    m_roomList.MoveWindow(left - x + 10, 25 - s, twoThirdsW - 10, height - 25);
    m_roomList.ShowWindow(SW_SHOW);
  };
  // Growing taller: the right column moves first so the lists never overlap on the way.
  if (height > m_nLastHeight) {
    placeRight();
    placeRooms();
  } else {
    placeRooms();
    placeRight();
  }
  m_stripRects[0] = CRect(left + twoThirdsW - 180, 8 - s, left + twoThirdsW - 130, 23 - s);
  m_stripRects[1] = CRect(left + twoThirdsW - 120, 8 - s, left + twoThirdsW - 30, 23 - s);
  m_stripRects[2] = CRect(right - 120, 8 - s, right - 20, 23 - s);
}

int CTirvoDListView::ChatInputHeight() const {
  // The open list shows every phrase whole, the last one included.
  const int phrases = std::max(1, m_chatInput.GetCount());
  return std::max(100, m_chatInput.GetItemHeight(-1) + phrases * m_chatInput.GetItemHeight(0) + 8);
}

void CTirvoDListView::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  RecalcLayout();
  m_nLastHeight = cy;
  // Every control shows again at its new place, the chat box and input included.
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CTirvoDListView::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  // The ground never covers the controls: a control painted before the view (the chat box and
  // the chat input on a view that replaced a game room) would otherwise stay blank.
  for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetNextWindow()) {
    if (!child->IsWindowVisible())
      continue;
    CRect rect;
    child->GetWindowRect(&rect);
    ScreenToClient(&rect);
    dc.ExcludeClipRect(&rect);
  }
  dc.FillRect(&client, &m_whiteBrush);
  for (int n = 1; n <= 3; ++n) dc.FillRect(&m_stripRects[n - 1], &m_creamBrush);
}

void CTirvoDListView::PaintLabelStrip(int n) {
  if (n < 1 || n > 3 || !m_hWnd)
    return;
  CClientDC dc(this);
  dc.FillRect(&m_stripRects[n - 1], &m_creamBrush);
}

HBRUSH CTirvoDListView::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  const int id = wnd ? wnd->GetDlgCtrlID() : 0;
  if (id == static_cast<int>(kChatBox)) {
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkColor(RGB(255, 255, 255));
    return static_cast<HBRUSH>(m_whiteBrush);
  }
  if (id == static_cast<int>(kRoomKeyLabel) || id == static_cast<int>(kRoomCountLabel) ||
      id == static_cast<int>(kUserCountLabel)) {
    dc->SetTextColor(kLabelTextColour);
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_creamBrush);
  }
  return CFormView::OnCtlColor(dc, wnd, ctlColor);
}

// ---------------------------------------------------------------------------------------------
// Focus

void CTirvoDListView::FocusChatInput() {
  if (m_chatInput.m_hWnd)
    m_chatInput.SetFocus();
}

void CTirvoDListView::OnSetFocus(CWnd*) { FocusChatInput(); }

void CTirvoDListView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) {
  CFormView::OnActivateView(activate, activateView, deactiveView);
  if (activate)
    FocusChatInput();
}

void CTirvoDListView::OnLButtonDown(UINT, CPoint) { FocusChatInput(); }

void CTirvoDListView::OnChatBoxFocus() {
  FocusChatInput();
}

void CTirvoDListView::OnUserListKillFocus(NMHDR*, LRESULT* result) {
  const int row = SelectedRow(m_userList);
  if (row >= 0)
    m_userList.SetItemState(row, 0, LVIS_SELECTED);
  *result = 0;
}

// ---------------------------------------------------------------------------------------------
// User list

void CTirvoDListView::OnUserList(const CString& payload) {
  m_bUserListIdle = FALSE;
  const CUserListPayload list = CUserListPayload::Parse(payload);
  if (list.reset) {
    m_userList.DeleteAllItems();
    m_nUserCount = 0;
  }
  if (list.hasCount) {
    // One repaint for the whole list, not one per row.
    m_userList.SetRedraw(FALSE);
    for (const CUserEntry& user : list.users) {
      ++m_nUserCount;
      AppendUser(user);
    }
    m_userList.SetRedraw(TRUE);
    ShowUserCount();
    m_userList.RedrawItems(0, static_cast<int>(list.users.size()));
  }
  m_bUserListIdle = TRUE;
}

void CTirvoDListView::AppendUser(const CUserEntry& user) {
  const int row = m_userList.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_STATE, m_userList.GetItemCount(), user.id,
                                        INDEXTOSTATEIMAGEMASK(1), LVIS_STATEIMAGEMASK, std::atoi(user.number), 0);
  if (row < 0)
    return;
  m_userList.SetItemText(row, 1, user.grade);
  m_userList.SetItemText(row, 2, user.name);
  const CString room = m_pHost ? m_pHost->GetWaitingRoomTable().LookupWaitingRoomName(std::atoi(user.number)) : CString();
  m_userList.SetItemText(row, 3, room);
}

void CTirvoDListView::OnUserChange(const CString& payload) {
  if (!m_bUserAutoUpdate || payload.IsEmpty())
    return;
  m_bUserListIdle = FALSE;
  const CUserChangePayload change = CUserChangePayload::Parse(payload);
  using Kind = CUserChangePayload::Kind;
  if (change.kind == Kind::Left) {
    // Only the user who left: an ID that merely begins with theirs is somebody else.
    int row = -1;
    for (int i = 0; i < m_userList.GetItemCount() && row < 0; ++i)
      if (m_userList.GetItemText(i, 0) == change.user.id)
        row = i;
    if (row < 0) {
      m_bUserListIdle = TRUE;
      return;
    }
    m_userList.DeleteItem(row);
    --m_nUserCount;
  } else if (change.kind == Kind::Entered) {
    AppendUser(change.user);
    ++m_nUserCount;
  } else if (change.kind == Kind::Ignored) {
    m_bUserListIdle = TRUE;
    return;
  }
  ShowUserCount();
  m_userList.RedrawItems(0, m_userList.GetItemCount());
  m_bUserListIdle = TRUE;
}

void CTirvoDListView::ShowUserCount() {
  PaintLabelStrip(3);
  CString text;
  text.Format("%d Persons", m_nUserCount);
  SetDlgItemText(static_cast<int>(kUserCountLabel), text);
}

// ---------------------------------------------------------------------------------------------
// Room list

void CTirvoDListView::OnRoomList(const CString& payload) {
  m_bRoomListIdle = FALSE;
  const CRoomListPayload list = CRoomListPayload::Parse(payload);
  if (list.reset) {
    m_roomList.DeleteAllItems();
    m_nRoomCount = 0;
  }
  if (list.hasCount) {
    m_roomList.SetRedraw(FALSE);
    for (const CRoomRow& room : list.rooms) {
      ++m_nRoomCount;
      InsertRoom(room);
    }
    m_roomList.SetRedraw(TRUE);
    ShowRoomKey(list.keyLabel);
    ShowRoomCount();
  }
  m_bRoomListIdle = TRUE;
}

void CTirvoDListView::OnRoomChange(const CString& payload) {
  if (!m_bRoomAutoUpdate || payload.IsEmpty())
    return;
  m_bRoomListIdle = FALSE;
  const CRoomChangePayload change = CRoomChangePayload::Parse(payload);
  using Kind = CRoomChangePayload::Kind;
  switch (change.kind) {
    case Kind::Closed: {
      const int row = m_roomList.GetItemCount() > 0 ? FindRoomRow(change.room.Number()) : -1;
      if (row >= 0) {
        m_roomList.DeleteItem(row);
        RepaintRoomHeader();
        m_roomList.Invalidate();
        --m_nRoomCount;
        ShowRoomKey(change.keyLabel);
        ShowRoomCount();
      }
      break;
    }
    case Kind::Opened:
      ShowRoomKey(change.keyLabel);
      InsertRoom(change.room);
      ++m_nRoomCount;
      ShowRoomCount();
      RepaintRoomHeader();
      break;
    case Kind::Changed: {
      ShowRoomKey(change.keyLabel);
      const int row = FindRoomRow(change.room.Number());
      if (row >= 0) {
        SetRoomColumns(row, change.room);
        m_roomList.RedrawItems(row, row);
        RepaintRoomHeader();
      }
      break;
    }
    case Kind::Other:
      ShowRoomKey(change.keyLabel);
      break;
    case Kind::Ignored:
      break;
  }
  m_bRoomListIdle = TRUE;
}

void CTirvoDListView::RepaintRoomHeader() {
  // The header's sort arrow belongs to rows that have just moved.
  if (CHeaderCtrl* header = m_roomList.GetHeaderCtrl())
    header->Invalidate();
}

void CTirvoDListView::InsertRoom(const CRoomRow& room) {
  const int at = FindRoomInsertIndex(room.Grade());
  const int row = m_roomList.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_STATE, at, room.columns[0],
                                        INDEXTOSTATEIMAGEMASK(static_cast<UINT>(room.image) & 0xF), LVIS_STATEIMAGEMASK,
                                        room.image, 0);
  if (row >= 0)
    SetRoomColumns(row, room);
}

void CTirvoDListView::SetRoomColumns(int row, const CRoomRow& room) {
  for (int column = 1; column < CRoomRow::kColumns; ++column)
    m_roomList.SetItemText(row, column, room.columns[static_cast<std::size_t>(column)]);
}

int CTirvoDListView::FindRoomRow(const CString& number) const {
  for (int i = 0; i < m_roomList.GetItemCount(); ++i)
    if (m_roomList.GetItemText(i, 1) == number)
      return i;
  return -1;
}

int CTirvoDListView::FindRoomInsertIndex(const CString& grade) const {
  struct Grades {
    const CListCtrl& list;
    struct Iterator {
      const CListCtrl* list;
      int row;
      CString operator*() const { return list->GetItemText(row, 3); }
      Iterator& operator++() {
        ++row;
        return *this;
      }
      bool operator!=(const Iterator& other) const { return row != other.row; }
    };
    Iterator begin() const { return {&list, 0}; }
    Iterator end() const { return {&list, list.GetItemCount()}; }
  };
  return ::FindRoomInsertIndex(Grades{m_roomList}, grade);
}

void CTirvoDListView::ShowRoomKey(const CString& text) {
  PaintLabelStrip(1);
  SetDlgItemText(static_cast<int>(kRoomKeyLabel), text);
}

void CTirvoDListView::ShowRoomCount() {
  PaintLabelStrip(2);
  CString text;
  text.Format("%d Rooms", m_nRoomCount);
  SetDlgItemText(static_cast<int>(kRoomCountLabel), text);
}

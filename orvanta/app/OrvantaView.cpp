#include "orvanta/app/OrvantaView.h"

#include "orvanta/room/SelfPlayDlg.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include <platform/app.h>
#include <platform/gdi.h>

#include "orvanta/connection/FieldTokenizer.h"
#include "orvanta/app/MainFrame.h"

IMPLEMENT_DYNCREATE(COrvantaView, CFormView)

BEGIN_MESSAGE_MAP(COrvantaView, CFormView)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_COMMAND_RANGE(COrvantaView::kFirstRoomId, COrvantaView::kLastRoomCommand, OnMenuCommand)
  // Printing prints what the view draws, through the framework's own steps.
  ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(COrvantaView, CFormView)
  ON_EVENT(COrvantaView, COrvantaView::kFlashId, CShockwaveFlash::kFSCommandEvent, OnFSCommand, VTS_BSTR VTS_BSTR)
END_EVENTSINK_MAP()

COrvantaView::COrvantaView() : CFormView(kTemplateId) {}

COrvantaView::~COrvantaView() = default;

std::vector<COrvantaView::Room> COrvantaView::ParseRoomList(const CString& payload) {
  std::vector<Room> rooms;
  CFieldTokenizer fields(payload);
  const int declared = std::atoi(fields.GetField(0));
  // A list that claims more rooms than it carries (or a negative count) must not make buttons
  // for rooms that are not there.
  const int present = std::max(0, (fields.GetCount() - 1) / 3);
  const int count = std::clamp(declared, 0, present);
  for (int i = 0; i < count; ++i)
    rooms.push_back({fields.GetField(3 * i + 1), fields.GetField(3 * i + 2), fields.GetField(3 * i + 3)});
  return rooms;
}

UINT COrvantaView::FaceForKind(const CString& kind) {
  if (kind == "1")
    return 434;
  if (kind == "3")
    return 433;
  if (kind == "4")
    return 436;
  return 432;
}

CRect COrvantaView::RoomButtonRect(int index) {
  const int top = kColumnTopHeight + 5 + index * (kButtonHeight + 5);
  return CRect(0, top, kColumnWidth, top + kButtonHeight);
}

CMainFrame* COrvantaView::GetMainFrame() const { return dynamic_cast<CMainFrame*>(GetParentFrame()); }

void COrvantaView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  ModifyStyle(0, WS_CLIPCHILDREN);
  DestroyRoomButtons();
  if (!m_toolTip.GetSafeHwnd())
    m_toolTip.Create(this);
  if (!m_flash.GetSafeHwnd() && CShockwaveFlash::IsInstalled()) {
    CRect client;
    GetClientRect(&client);
    m_flash.CreateControl(CShockwaveFlash::kClassId, nullptr, WS_CHILD | WS_VISIBLE,
                          CRect(kColumnWidth, 0, std::max<LONG>(kColumnWidth + 1, client.right), client.bottom), this,
                          kFlashId);
  }
  if (m_flash.GetSafeHwnd()) {
    char folder[128] = "";
    if (::getcwd(folder, sizeof folder) == nullptr)
      folder[0] = '\0';
    const CString path = CString(folder) + "\\mainscr.swf";
    m_flash.SetMovie(path);
    m_flash.SetBackgroundColor(kMovieBackground);
    m_flash.Play();
  }
  PlaceFlash();
}

void COrvantaView::PlaceFlash() {
  if (!m_flash.GetSafeHwnd())
    return;
  CRect client;
  GetClientRect(&client);
  m_flash.SetWindowPos(nullptr, kColumnWidth, 0, client.Width() - kColumnWidth, client.Height(), SWP_NOZORDER);
}

void COrvantaView::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  PlaceFlash();
}

BOOL COrvantaView::PreTranslateMessage(MSG* msg) {
  if (m_toolTip.GetSafeHwnd())
    m_toolTip.RelayEvent(msg);
  return CFormView::PreTranslateMessage(msg);
}

void COrvantaView::BuildRoomButtons(const CString& payload) {
  CMainFrame* frame = GetMainFrame();
  // A new list replaces the waiting-room records of the last one.
  if (frame && frame->AreRoomRecordsLoaded()) {
    frame->ClearRoomRecords();
    frame->SetRoomRecordsLoaded(FALSE);
  }
  if (payload.IsEmpty())
    return;
  DestroyRoomButtons();
  std::vector<Room> rooms = ParseRoomList(payload);
  CString forumNumber;
  forumNumber.Format("%d", static_cast<int>(rooms.size()) + 1);
  rooms.push_back({"5", forumNumber, "FORUM"});
  m_nRoomButtons = static_cast<int>(rooms.size());
  m_pRoomButtons = std::make_unique<CTextButton[]>(rooms.size());
  for (int i = 0; i < m_nRoomButtons; ++i) {
    CTextButton& button = m_pRoomButtons[static_cast<std::size_t>(i)];
    const Room& room = rooms[static_cast<std::size_t>(i)];
    button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, RoomButtonRect(i), this, kFirstRoomId + static_cast<UINT>(i));
    button.SetText(room.name);
    button.SetValue(room.number);
    button.SetKind(room.kind);
    button.LoadBitmap(i + 1 == m_nRoomButtons ? 432 : FaceForKind(room.kind));
    if (m_toolTip.GetSafeHwnd())
      m_toolTip.AddTool(&button, room.name);
    // The record names the room to the server by its number: kind, key (the number) and name.
    if (frame)
      frame->KeepRoomRecord(std::atoi(room.number), room.kind, room.number, room.name);
  }
  if (frame)
    frame->SetRoomRecordsLoaded(TRUE);
  Invalidate(FALSE);
}

void COrvantaView::DestroyRoomButtons() {
  for (int i = 0; i < m_nRoomButtons; ++i)
    m_pRoomButtons[static_cast<std::size_t>(i)].DestroyWindow();
  m_pRoomButtons.reset();
  m_nRoomButtons = 0;
  PlaceFlash();
  if (m_hWnd)
    Invalidate(FALSE);
}

CTextButton* COrvantaView::GetRoomButton(int index) const {
  if (index < 0 || index >= m_nRoomButtons)
    return nullptr;
  return &m_pRoomButtons[static_cast<std::size_t>(index)];
}

void COrvantaView::OnMenuCommand(UINT id) {
  CTextButton* button = GetRoomButton(static_cast<int>(id - kFirstRoomId));
  CMainFrame* frame = GetMainFrame();
  if (!button || !frame)
    return;
  const CString number = button->GetValue();
  if (number.IsEmpty())
    return;
  frame->EnterRoomFromStartView(button->GetKind(), number, button->GetText());
}

void COrvantaView::RunSelfPlay() {
  CSelfPlayDlg dialog(CGiboRecord(), Cp949("놓아보기"), 2, FALSE, GetParentFrame(), -1);
  dialog.DoModal();
}

void COrvantaView::OnFSCommand(LPCTSTR command, LPCTSTR) {
  CMainFrame* frame = GetMainFrame();
  if (frame && command)
    frame->OnMovieCommand(command);
}

BOOL COrvantaView::OnEraseBkgnd(CDC*) { return TRUE; }

void COrvantaView::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

void COrvantaView::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap column;
  column.CreateCompatibleBitmap(dc, kColumnWidth, std::max(1, static_cast<int>(client.Height())));
  CBitmap* old = memory.SelectObject(&column);
  DrawColumn(&memory, client.Height());
  dc->BitBlt(0, 0, kColumnWidth, client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
  // Without a player the movie's place shows the movie's background.
  if (!m_flash.GetSafeHwnd() && client.Width() > kColumnWidth)
    dc->FillSolidRect(kColumnWidth, 0, client.Width() - kColumnWidth, client.Height(),
                      RGB((kMovieBackground >> 16) & 0xFF, (kMovieBackground >> 8) & 0xFF, kMovieBackground & 0xFF));
}

void COrvantaView::DrawColumn(CDC* dc, int height) {
  CDC piece;
  piece.CreateCompatibleDC(dc);
  CBitmap top;
  CBitmap row;
  CBitmap bottom;
  top.LoadBitmap(kColumnTopBitmap);
  row.LoadBitmap(kColumnRowBitmap);
  bottom.LoadBitmap(kColumnBottomBitmap);
  CBitmap* old = piece.SelectObject(&top);
  dc->BitBlt(0, 0, kColumnWidth, kColumnTopHeight, &piece, 0, 0, SRCCOPY);
  piece.SelectObject(&row);
  for (int y = kColumnTopHeight; y < height - kColumnBottomHeight; y += kColumnBottomHeight)
    dc->BitBlt(0, y, kColumnWidth, kColumnBottomHeight, &piece, 0, 0, SRCCOPY);
  piece.SelectObject(&bottom);
  dc->BitBlt(0, height - kColumnBottomHeight, kColumnWidth, kColumnBottomHeight, &piece, 0, 0, SRCCOPY);
  piece.SelectObject(old);
}

// The game room view's chat with its macros, the observer list's actions, the room's pop-up
// commands and the panel's painting.

#include <platform/frames.h>
#include <platform/gdi.h>
#include <platform/menus.h>
#include <platform/msgbox.h>

#include "orvanta/room/RoomViewHost.h"
#include "orvanta/lobby/InviteDlg.h"
#include "orvanta/lobby/LobbyHost.h"
#include "orvanta/lobby/LobbyText.h"
#include "orvanta/lobby/SendMemoDlg.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/PaneHit.h"
#include "orvanta/room/RoomChat.h"

namespace {

constexpr const char* kInform = "Inform";

CRoomViewHost* FrameOf(const CDagukRoomView& view) { return dynamic_cast<CRoomViewHost*>(view.GetParentFrame()); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Chat

void CDagukRoomView::AppendChatLine(const CString& text) {
  if (m_room) m_room->AppendChatLine(text);
}

void CDagukRoomView::FillChatMacroCombo() {
  CRoomViewHost* frame = FrameOf(*this);
  if (!m_chatInput.m_hWnd || !frame) return;
  m_chatInput.ResetContent();
  // The macro list opens with the Down key, not with the arrows' stepping through it.
  m_chatInput.SetExtendedUI(TRUE);
  for (const CString& macro : frame->GetChatMacros())
    if (!macro.IsEmpty()) m_chatInput.AddString(macro);
}

void CDagukRoomView::SendChatLine(const CString& text) {
  CRoomViewHost* frame = FrameOf(*this);
  if (!frame || text.IsEmpty()) return;
  frame->SendChatLine(CRoomChat::Payload(frame->GetRoomPrefix(), text));
  frame->Flush();
}

BOOL CDagukRoomView::PreTranslateMessage(MSG* msg) {
  if (msg && m_toolTip.m_hWnd) m_toolTip.RelayEvent(msg);
  if (msg && msg->message == WM_LBUTTONDBLCLK && OnNameDoubleClick(*msg)) return TRUE;
  if (msg && msg->message == WM_KEYDOWN) {
    CWnd* input = GetDlgItem(kChatInputId);
    const bool inInput = input && (msg->hwnd == input->m_hWnd || ::IsChild(input->m_hWnd, msg->hwnd));
    if (msg->wParam == VK_RETURN && inInput) {
      // Enter picks from the open list; only a closed list sends the typed line.
      if (m_bChatListOpen) return CFormView::PreTranslateMessage(msg);
      CString line;
      input->GetWindowText(line);
      if (!line.IsEmpty()) {
        SendChatLine(line);
        input->SetWindowText("");
      }
      return TRUE;
    }
    if (SendChatMacro(static_cast<UINT>(msg->wParam))) return TRUE;
  }
  return CFormView::PreTranslateMessage(msg);
}

BOOL CDagukRoomView::SendChatMacro(UINT key) {
  const int macro = CRoomChat::MacroIndexOfKey(key);
  if (macro < 0) return FALSE;
  if (CRoomViewHost* frame = FrameOf(*this)) SendChatLine(frame->GetChatMacros()[static_cast<std::size_t>(macro)]);
  return TRUE;
}

BOOL CDagukRoomView::OnNameDoubleClick(const MSG& msg) {
  const UINT id = PaneUnderMouse(*this, msg, {CGameRoom::kBlackName, CGameRoom::kWhiteName});
  CRoomViewHost* frame = FrameOf(*this);
  if (id == 0 || !frame || !m_room) return FALSE;
  const CString name = m_room->GetPaneText(static_cast<int>(id));
  if (name.IsEmpty()) return TRUE;
  frame->RequestUserInfo(m_room->GetPlayerHost(id == CGameRoom::kBlackName ? 2 : 4), name);
  frame->Flush();
  return TRUE;
}

void CDagukRoomView::OnChatListOpen() { m_bChatListOpen = TRUE; }

void CDagukRoomView::OnChatListClosed() {
  m_bChatListOpen = FALSE;
  if (!m_chatInput.m_hWnd) return;
  const int chosen = m_chatInput.GetCurSel();
  if (chosen < 0) return;
  // The entry is read whole, however long the macro is.
  CString text;
  m_chatInput.GetLBText(chosen, text);
  SendChatLine(text);
  m_chatInput.SetCurSel(-1);
}

void CDagukRoomView::OnChatOutputFocus() {
  // The output is read, never typed into: no caret blinks there, and typing goes to the input.
  if (m_chatOutput.m_hWnd) m_chatOutput.HideCaret();
  if (CWnd* input = GetDlgItem(kChatInputId)) input->SetFocus();
}

void CDagukRoomView::OnSetFocus(CWnd* previous) {
  CFormView::OnSetFocus(previous);
  if (m_chatInput.m_hWnd) m_chatInput.SetFocus();
}

void CDagukRoomView::OnLButtonUp(UINT flags, CPoint point) {
  CFormView::OnLButtonUp(flags, point);
  if (CWnd* input = GetDlgItem(kChatInputId)) input->SetFocus();
}

// ---------------------------------------------------------------------------------------------
// Observers and the room's users

BOOL CDagukRoomView::IsUserInRoom(const CString& id, const CString& host) const {
  return m_room && m_room->IsUserInRoom(host, id);
}

CString CDagukRoomView::BuildRoomUserList() {
  CRoomViewHost* frame = FrameOf(*this);
  if (!m_room || !frame) return CString();
  return CRoomChat::BuildRoomUserList(*m_room, m_board.m_hWnd ? m_board.GetUserColor() : m_room->GetMyColour(),
                                      frame->GetOwnId(), frame->GetLoginRole());
}

void CDagukRoomView::ShowInviteDlg(const CString& payload) {
  CRoomViewHost* frame = FrameOf(*this);
  // The invitation lists the waiting room's users, which the frame keeps as the lobby's host.
  auto* lobby = dynamic_cast<CLobbyHost*>(GetParentFrame());
  if (!frame || !lobby) return;
  if (!m_pInviteDlg) {
    auto dialog = std::make_unique<CInviteDlg>(this);
    dialog->SetHost(lobby, [frame](const CString& number, const CString& id, const CString& message,
                                   const CString& roomField) { frame->SendInvite(number, id, message, roomField); });
    if (!dialog->Create(this)) return;
    m_pInviteDlg = std::move(dialog);
  }
  m_pInviteDlg->ShowWindow(SW_SHOW);
  m_pInviteDlg->CenterWindow();
  m_pInviteDlg->FillWaitingList(payload);
}

int CDagukRoomView::SelectedObserver() const {
  if (!m_observerList.m_hWnd) return -1;
  return m_observerList.GetNextItem(-1, LVNI_SELECTED);
}

void CDagukRoomView::ShowUserInfo() {
  CRoomViewHost* frame = FrameOf(*this);
  if (!frame) return;
  const int row = SelectedObserver();
  if (row >= 0) {
    frame->RequestUserInfo(m_observerList.GetItemText(row, 1), m_observerList.GetItemText(row, 2));
    return;
  }
  // Nobody chosen in the list: the user names whom he means. The ID goes into a payload, so the
  // record's separators cannot be part of it.
  CString typed;
  if (frame->RunSearchUserDialog(Cp949("사용자 정보"), typed))
    frame->RequestUserInfo(frame->GetLoginRole(), RemoveSeparators(typed));
}

void CDagukRoomView::SendMemoToSelected() {
  CRoomViewHost* frame = FrameOf(*this);
  const int row = SelectedObserver();
  if (!frame || row < 0) return;
  const CString host = m_observerList.GetItemText(row, 1), id = m_observerList.GetItemText(row, 2);
  CSendMemoDlg dialog(host, id, this);
  if (dialog.DoModal() != IDOK) return;
  frame->SendUserMessage(host, id, dialog.m_strMessage);
  frame->Flush();
}

void CDagukRoomView::OnSendMail() {
  CRoomViewHost* frame = FrameOf(*this);
  const int row = SelectedObserver();
  if (!frame || row < 0) return;
  const CString host = m_observerList.GetItemText(row, 1), id = m_observerList.GetItemText(row, 2);
  if (id == frame->GetOwnId() && host == frame->GetLoginRole()) {
    frame->AskUser("You cannot send mail to yourself.", kInform, MB_OK | MB_ICONINFORMATION);
    return;
  }
  frame->SendMail(host, id);
}

void CDagukRoomView::OnCommand9923() {
  CRoomViewHost* frame = FrameOf(*this);
  const int row = SelectedObserver();
  if (!frame || row < 0 || !(CommandSituation().userColour & 6)) return;
  frame->SendRoomCode5(frame->GetLoginRole(), frame->GetSessionRoomText(), m_observerList.GetItemText(row, 1),
                       m_observerList.GetItemText(row, 2));
}

void CDagukRoomView::OnObserverRightClick(NMHDR*, LRESULT* result) {
  ShowObserverMenu();
  if (result) *result = 0;
}

void CDagukRoomView::OnObserverDoubleClick(NMHDR*, LRESULT* result) {
  ShowUserInfo();
  if (CRoomViewHost* frame = FrameOf(*this)) frame->Flush();
  if (result) *result = 0;
}

// ---------------------------------------------------------------------------------------------
// The room's commands

CRoomCommands::Situation CDagukRoomView::CommandSituation() {
  CRoomCommands::Situation s;
  if (m_board.m_hWnd) {
    s.userColour = m_board.GetUserColor();
    s.gameMode = m_board.GetGameMode();
  }
  if (m_room) {
    s.subStatus = m_room->GetSubStatus();
    s.roomState = m_room->GetRoomState();
    s.blackSeated = m_room->IsSeatTaken(2);
    s.whiteSeated = m_room->IsSeatTaken(4);
  }
  if (CRoomViewHost* frame = FrameOf(*this)) {
    s.fullScreen = frame->IsFullScreen();
    s.soundOn = frame->IsSoundOn();
    s.adviceOn = frame->IsObserverAdviceOn();
  }
  return s;
}

void CDagukRoomView::RunRoomCommand(UINT id) {
  CRoomViewHost* frame = FrameOf(*this);
  const CRoomCommands::Situation s = CommandSituation();
  if (!frame || !CRoomCommands::Of(id, s).enabled) return;
  const bool observer = (s.userColour & 1) != 0;
  const bool play = (s.gameMode & CRoomCommands::kModePlay) != 0 && !observer;
  const bool checkStone = (s.gameMode & CRoomCommands::kModeCheckStone) != 0 && !observer;
  switch (id) {
    case CRoomCommands::kBigScreen: frame->ToggleFullScreen(); break;
    case CRoomCommands::kSound: frame->ToggleRoomSound(); break;
    case CRoomCommands::kHint:
      if (!observer) frame->ToggleObserverAdvice();
      break;
    case CRoomCommands::kSequence:
      if (m_room) m_room->ToggleSequenceNumbers();
      break;
    case CRoomCommands::kRetract:
      if (play) frame->AskUndo();
      break;
    case CRoomCommands::kResign:
      if (play) frame->AskResign();
      break;
    case CRoomCommands::kDrawnPlay: frame->AskDraw(); break;
    case CRoomCommands::kPausePlay:
      if (play) {
        frame->SetPaused(FALSE);
        frame->AskPauseOrContinue();
      }
      break;
    case CRoomCommands::kContinuePlay:
      if (!observer) {
        frame->SetPaused(TRUE);
        frame->AskPauseOrContinue();
      }
      break;
    case CRoomCommands::kSelectCaptured:
      if (play) frame->AskEnd();
      break;
    case CRoomCommands::kSendCaptured:
      if (checkStone) frame->SendCapturedStones();
      break;
    case CRoomCommands::kSelectStalemate: frame->SendStalemateArea(); break;
    case CRoomCommands::kCountHouses:
      if (checkStone) frame->AskCounting();
      break;
    case CRoomCommands::kExit:
      if (!play) frame->LeaveRoom();
      break;
    case CRoomCommands::kUserInfo: ShowUserInfo(); break;
    case CRoomCommands::kSendMemo: SendMemoToSelected(); break;
    case CRoomCommands::kSendMail: OnSendMail(); break;
    case CRoomCommands::kNoChatting: OnCommand9923(); break;
    default: break;
  }
}

void CDagukRoomView::ShowRoomMenu(CPoint screen) {
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  const CRoomCommands::Situation s = CommandSituation();
  for (const CRoomCommands::Item& item : CRoomCommands::kRoomMenu) {
    const CRoomCommands::State state = CRoomCommands::Of(item.id, s);
    menu.AppendMenu(MF_STRING | (state.enabled ? 0u : MF_GRAYED) | (state.checked ? MF_CHECKED : 0u), item.id, item.text);
  }
  const UINT chosen = static_cast<UINT>(
      ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, m_hWnd, nullptr));
  if (chosen != 0) RunRoomCommand(chosen);
}

void CDagukRoomView::ShowObserverMenu() {
  if (!m_observerList.m_hWnd) return;
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  const CRoomCommands::Situation s = CommandSituation();
  for (const CRoomCommands::Item& item : CRoomCommands::kObserverMenu)
    menu.AppendMenu(MF_STRING | (CRoomCommands::Of(item.id, s).enabled ? 0u : MF_GRAYED), item.id, item.text);
  CRect list;
  m_observerList.GetWindowRect(&list);
  const UINT chosen = static_cast<UINT>(::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                         list.left + 5, list.top + 5, 0, m_hWnd, nullptr));
  if (chosen != 0) RunRoomCommand(chosen);
}

void CDagukRoomView::OnContextMenu(CWnd* window, CPoint point) {
  if (window && m_observerList.m_hWnd && window->m_hWnd == m_observerList.m_hWnd) return;
  if (point.x == -1 && point.y == -1) {
    // From the keyboard: just inside the view's corner.
    CRect view;
    GetWindowRect(&view);
    point = CPoint(view.left + 5, view.top + 5);
  }
  ShowRoomMenu(point);
}

// ---------------------------------------------------------------------------------------------
// The panel

CRect CDagukRoomView::GetCaptionArea(int area) const {
  return area >= 1 && area <= 10 ? m_captionAreas[area] : CRect();
}

void CDagukRoomView::SetStatusText(const CString& text) {
  SetDlgItemText(CGameRoom::kMessage, text);
  RepaintStatusBackground();
}

void CDagukRoomView::CreateLooks() {
  m_nameFont.CreateFont(19, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  m_narrowFont.CreateFont(19, 10, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  m_whiteBrush.CreateSolidBrush(RGB(255, 255, 255));
  m_backdropBrush.CreateSolidBrush(kBackdrop);
  m_capturedBrush.CreateSolidBrush(kCapturedFace);
  m_blinkBrush.CreateSolidBrush(kBlinkFace);
  for (UINT id : {CGameRoom::kBlackName, CGameRoom::kWhiteName})
    if (CWnd* pane = GetDlgItem(id)) pane->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_nameFont.GetSafeHandle()), TRUE);
  for (UINT id : {CGameRoom::kBlackCaptured, CGameRoom::kWhiteCaptured, CGameRoom::kMoveNumber})
    if (CWnd* pane = GetDlgItem(id)) pane->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_narrowFont.GetSafeHandle()), TRUE);
  if (!m_toolTip.Create(this)) return;
  const std::pair<UINT, const char*> tips[] = {
      {CGameRoom::kBlackName, "Double Click, you can view user information."},
      {CGameRoom::kWhiteName, "Double Click, you can view user information."},
      {CGameRoom::kBlackCaptured, "Captured Black Stones"},
      {CGameRoom::kWhiteCaptured, "Captured White Stones"}};
  for (const auto& [id, text] : tips)
    if (CWnd* pane = GetDlgItem(id)) m_toolTip.AddTool(pane, text);
  m_toolTip.Activate(TRUE);
}

HBRUSH CDagukRoomView::OnCtlColor(CDC* dc, CWnd* wnd, UINT type) {
  const int id = wnd ? wnd->GetDlgCtrlID() : 0;
  switch (id) {
    case kChatOutputId:
      dc->SetTextColor(RGB(0, 0, 0));
      dc->SetBkColor(RGB(255, 255, 255));
      return static_cast<HBRUSH>(m_whiteBrush);
    case CGameRoom::kBlackSecond:
    case CGameRoom::kWhiteSecond:
      dc->SetTextColor(RGB(0, 0, 255));
      break;
    case CGameRoom::kBlackCaptured:
    case CGameRoom::kWhiteCaptured:
      dc->SetTextColor(kCapturedText);
      dc->SetBkColor(kCapturedFace);
      return static_cast<HBRUSH>(m_capturedBrush);
    case CGameRoom::kBlackSeconds:
    case CGameRoom::kWhiteSeconds:
      if (m_room && m_room->IsPaneBlinking(id == CGameRoom::kBlackSeconds ? 2 : 4)) {
        dc->SetTextColor(kBlinkText);
        dc->SetBkColor(kBlinkFace);
        return static_cast<HBRUSH>(m_blinkBrush);
      }
      dc->SetTextColor(RGB(0, 0, 0));
      break;
    default:
      // Only the panes sit on the backdrop; the lists and the chat input keep the system's colours.
      if (type != CTLCOLOR_STATIC || !m_backdropBrush.GetSafeHandle()) return nullptr;
      dc->SetTextColor(RGB(0, 0, 0));
      break;
  }
  dc->SetBkColor(kBackdrop);
  return static_cast<HBRUSH>(m_backdropBrush);
}

void CDagukRoomView::PaintBackdrop(CDC& dc, const CRect& rect) {
  CRect client;
  GetClientRect(&client);
  // The desk under the board, then the panel's backdrop along the right edge.
  CRect panel(client.right - kPanelWidth + kBackdropInset, 0, client.right, client.bottom);
  CRect desk(client.left, client.top, panel.left, client.bottom);
  CRect part;
  if (part.IntersectRect(&rect, &desk)) dc.FillSolidRect(&part, RGB(81, 68, 37));
  if (part.IntersectRect(&rect, &panel)) dc.FillSolidRect(&part, kBackdrop);
}

void CDagukRoomView::RepaintCaptionBackground(int n) {
  if (!m_hWnd || n < 1 || n > 10) return;
  const CRect area = m_captionAreas[n];
  {
    CClientDC dc(this);
    PaintBackdrop(dc, area);
    if (n == 7 || n == 8) DrawClockLamp(dc, n, m_nLitLamp == (n == 7 ? 2 : 4));
  }
  // The caption's own pane draws its new text over the clean ground with the next paint: painting
  // at once would paint every window waiting for it too, the whole board after each move.
  RedrawWindow(&area, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void CDagukRoomView::RepaintStatusBackground() { RepaintCaptionBackground(10); }

void CDagukRoomView::DrawClockLamp(CDC& dc, int area, BOOL on) {
  const CRect& caption = m_captionAreas[area];
  CBrush lamp(on ? RGB(230, 40, 30) : RGB(72, 50, 19));
  CBrush* old = dc.SelectObject(&lamp);
  dc.Ellipse(caption.left - 15, caption.top + 5, caption.left, caption.top + 20);
  dc.SelectObject(old);
}

void CDagukRoomView::DrawBlackClockLamp(BOOL on) {
  if (!m_hWnd) return;
  CClientDC dc(this);
  DrawClockLamp(dc, 7, on);
}

void CDagukRoomView::DrawWhiteClockLamp(BOOL on) {
  if (!m_hWnd) return;
  CClientDC dc(this);
  DrawClockLamp(dc, 8, on);
}

void CDagukRoomView::RefreshClockLamps() {
  const short side = m_room ? m_room->GetTickingSide() : 0;
  if (side == m_nLitLamp) return;
  m_nLitLamp = side;
  DrawBlackClockLamp(side == 2);
  DrawWhiteClockLamp(side == 4);
}

void CDagukRoomView::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  PaintBackdrop(dc, client);
  // A repaint keeps the lamp of the clock that runs lit.
  m_nLitLamp = m_room ? m_room->GetTickingSide() : 0;
  DrawClockLamp(dc, 7, m_nLitLamp == 2);
  DrawClockLamp(dc, 8, m_nLitLamp == 4);
}

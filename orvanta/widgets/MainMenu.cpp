#include "orvanta/widgets/MainMenu.h"

#include <unistd.h>

#include <algorithm>
#include <initializer_list>

#include <platform/app.h>
#include <platform/frames.h>
#include <platform/gdi.h>
#include <platform/menus.h>
#include <platform/msgbox.h>

#include "orvanta/widgets/MainMenuHost.h"
#include "orvanta/resources/OrvantaBitmaps.h"
#include "orvanta/resources/OrvantaResources.h"
#include "orvanta/room/DagukRoomView.h"
#include "orvanta/room/GameRoom.h"

IMPLEMENT_DYNCREATE(CMainMenu, CFormView)

BEGIN_MESSAGE_MAP(CMainMenu, CFormView)
  ON_WM_TIMER()
  ON_WM_CLOSE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
  ON_MESSAGE(CGifAnimCtrl::kClickMessage, OnBannerClick)
  ON_COMMAND_RANGE(1029, 1423, OnButton)
  ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

const std::array<CMainMenu::ButtonInfo, CMainMenu::kButtonCount> CMainMenu::kButtons = {{
    {1192, 282}, {1193, 283}, {1194, 284}, {1195, 285}, {1196, 286}, {1197, 287}, {1029, 288},
    {1198, 289}, {1199, 290}, {1200, 291}, {1201, 292}, {1035, 293}, {1202, 294}, {1037, 295},
    {1203, 297}, {1204, 297}, {1217, 313}, {1205, 298}, {1206, 392}, {1207, 300}, {1208, 301},
    {1209, 302}, {1210, 303}, {1211, 0},   {1212, 305}, {1213, 309}, {1215, 311}, {1216, 312},
    {1240, 368}, {1245, 376}, {1261, 396}, {1262, 398}, {1423, 490},
}};

namespace {

bool In(UINT id, std::initializer_list<UINT> ids) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

}  // namespace

int CMainMenu::ButtonVisibility(UINT viewId, UINT id) {
  if (id == 1204 || id == 1211)
    return 0;
  switch (viewId) {
    case CMainMenuHost::kWaitingRoomView:
      return In(id, {1193, 1194, 1196, 1197, 1029, 1198, 1199, 1212}) ? 1 : 0;
    case CMainMenuHost::kStartView:
    case CMainMenuHost::kForumView:
    case CMainMenuHost::kBulletinBoardView:
      return In(id, {1192, 1193, 1194, 1212}) ? 1 : 0;
    case CMainMenuHost::kRecordListView:
      return In(id, {1192, 1193, 1194, 1212, 1261, 1213, 1216}) ? 1 : 0;
    case CMainMenuHost::kRankView:
      return In(id, {1192, 1193, 1194, 1212, 1261, 1213}) ? 1 : 0;
    case CMainMenuHost::kGameRoomView:
      if (id == 1423)
        return -1;
      return In(id, {1200, 1201, 1202, 1203, 1035, 1037, 1205, 1206, 1207, 1208, 1209, 1210, 1217, 1240, 1245,
                     1262, 1212})
                 ? 1
                 : 0;
    case CMainMenuHost::kTeachingListView:
      return In(id, {1192, 1193, 1194}) ? 1 : 0;
    default:
      return -1;
  }
}

CMainMenu::CMainMenu() : CFormView(kTemplateId) {}

CMainMenu::~CMainMenu() = default;

CMainMenuHost* CMainMenu::GetMainFrame() const { return dynamic_cast<CMainMenuHost*>(GetParentFrame()); }

CSkinButton* CMainMenu::GetButton(UINT id) {
  return const_cast<CSkinButton*>(static_cast<const CMainMenu*>(this)->GetButton(id));
}

const CSkinButton* CMainMenu::GetButton(UINT id) const {
  for (std::size_t i = 0; i < kButtons.size(); ++i)
    if (kButtons[i].id == id)
      return &m_buttons[i];
  return nullptr;
}

void CMainMenu::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  // The frame lays the buttons out to the strip it gives the pane: the pane never scrolls.
  SetScrollSizes(MM_TEXT, SIZE{0, 0});
  BITMAP info{};
  if (m_left.LoadBitmap(kMenuLeftBitmap) && m_middle.LoadBitmap(kMenuMiddleBitmap) &&
      m_right.LoadBitmap(kMenuRightBitmap)) {
    m_left.GetBitmap(&info);
    m_leftSize = CSize(info.bmWidth, info.bmHeight);
    m_middle.GetBitmap(&info);
    m_middleSize = CSize(info.bmWidth, info.bmHeight);
    m_right.GetBitmap(&info);
    m_rightSize = CSize(info.bmWidth, info.bmHeight);
  } else {
    AfxMessageBox("An error has occurred while reading an image needed for the program.");
  }
  if (!m_banner.GetSafeHwnd() && GetDlgItem(kBannerId))
    m_banner.SubclassDlgItem(kBannerId, this);
  m_banner.SetBitmap(kMenuLeftBitmap);
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    CSkinButton& button = m_buttons[i];
    if (!button.GetSafeHwnd() && GetDlgItem(static_cast<int>(kButtons[i].id)))
      button.SubclassDlgItem(kButtons[i].id, this);
    if (button.GetSafeHwnd() && kButtons[i].image != 0 && button.LoadBitmaps(kButtons[i].image))
      button.SizeToBitmap();
  }
  // The rows of the layout are where the template puts the first screen button and the first
  // room command.
  const CRect first = GetButtonRect(MenuButton::kWaitingRoomList);
  const CRect second = GetButtonRect(MenuButton::kOpenRoom);
  m_rows = CMenuRows{first.top, second.top, second.left};
  CMainMenuHost* frame = GetMainFrame();
  ShowButtonsForView(frame ? frame->GetActiveViewId() : CMainMenuHost::kStartView);
  if (frame) {
    frame->ArrangeMenuButtons(frame->GetMenuMode());
    frame->LoadAdverts();
  }
  if (m_bBannerShown)
    LoadBannerImages();
  else if (m_banner.GetSafeHwnd())
    m_banner.ShowWindow(SW_HIDE);
  UpdateWindow();
}

void CMainMenu::PrepareBanner() {
  if (!m_banner.GetSafeHwnd())
    return;
  m_banner.SetWindowPos(nullptr, 0, 0, m_leftSize.cx, m_leftSize.cy, SWP_NOZORDER);
  m_banner.SetNotifyWindow(m_hWnd);
  m_banner.ShowWindow(SW_SHOW);
  if (!m_toolTip.GetSafeHwnd() && m_toolTip.Create(this))
    m_toolTip.AddTool(&m_banner, Cp949("클릭하시면 해당 사이트로 이동하실수 있습니다."));
  m_banner.ModifyStyle(0, SS_NOTIFY);
  m_banner.SetLinkCursor(kBannerLinkCursor);
}

BOOL CMainMenu::PreTranslateMessage(MSG* msg) {
  if (m_toolTip.GetSafeHwnd())
    m_toolTip.RelayEvent(msg);
  return CFormView::PreTranslateMessage(msg);
}

void CMainMenu::SetBannerSlot(int index, const CString& name) {
  if (index >= 0 && index < kMaxBanners)
    m_bannerImages[static_cast<std::size_t>(index)] = name;
}

void CMainMenu::SetBannerLink(int index, const CString& link) {
  if (index >= 0 && index < kMaxBanners)
    m_bannerLinks[static_cast<std::size_t>(index)] = link;
}

void CMainMenu::SetBannerCount(int count) { m_rotation.Reset(count); }

void CMainMenu::SetBannerShown(BOOL shown) {
  m_bBannerShown = shown;
  if (!shown) {
    // Without banners the pane's own left piece stands where the banner was.
    if (m_nBannerTimer != 0) {
      KillTimer(m_nBannerTimer);
      m_nBannerTimer = 0;
    }
    if (m_banner.GetSafeHwnd()) {
      m_banner.Stop();
      m_banner.ShowWindow(SW_HIDE);
    }
  }
  if (m_hWnd)
    Invalidate(TRUE);
}

CString CMainMenu::BannerPath(const CString& folder, const CString& name) { return folder + "\\image\\" + name; }

void CMainMenu::ShowCurrentBanner() {
  const int index = m_rotation.Advance();
  if (index < 0)
    return;
  char folder[512] = "";
  if (::getcwd(folder, sizeof folder) == nullptr)
    folder[0] = '\0';
  m_banner.Stop();
  if (m_banner.Load(BannerPath(folder, m_bannerImages[static_cast<std::size_t>(index)])))
    m_banner.Play();
}

void CMainMenu::LoadBannerImages() {
  if (!m_bBannerShown)
    return;
  // Banners that arrive after the pane started (the downloader's) show the control as well.
  PrepareBanner();
  m_rotation.Reset(m_rotation.GetCount());
  ShowCurrentBanner();
  CMainMenuHost* frame = GetMainFrame();
  if (frame && frame->IsConnected() && m_nBannerTimer == 0)
    m_nBannerTimer = SetTimer(kBannerTimer, kBannerPeriodMs, nullptr);
}

void CMainMenu::RestartBanner() {
  if (m_nBannerTimer != 0) {
    KillTimer(m_nBannerTimer);
    m_nBannerTimer = 0;
  }
  if (m_bBannerShown)
    ShowCurrentBanner();
}

CString CMainMenu::GetShownLink() const {
  const int shown = GetShownBanner();
  if (shown < 0)
    return CString();
  CString link = m_bannerLinks[static_cast<std::size_t>(shown)];
  link.Replace('\\', '/');
  return link;
}

void CMainMenu::OnTimer(UINT_PTR id) {
  if (id == kBannerTimer && m_nBannerTimer != 0) {
    Invalidate(TRUE);
    ShowCurrentBanner();
  }
  CFormView::OnTimer(id);
}

LRESULT CMainMenu::OnBannerClick(WPARAM, LPARAM) {
  if (!m_bBannerShown || m_rotation.GetCount() == 0)
    return 0;
  const CString link = GetShownLink();
  CMainMenuHost* frame = GetMainFrame();
  if (!link.IsEmpty() && frame)
    frame->OpenWebPage(link);
  return 0;
}

void CMainMenu::OnClose() {
  if (m_nBannerTimer != 0) {
    KillTimer(m_nBannerTimer);
    m_nBannerTimer = 0;
  }
  CFormView::OnClose();
}

void CMainMenu::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  if (m_banner.GetSafeHwnd() && m_leftSize.cx > 0)
    m_banner.SetWindowPos(nullptr, 0, 0, m_leftSize.cx, m_leftSize.cy, SWP_NOZORDER | SWP_NOMOVE);
}

void CMainMenu::ShowButtonsForView(UINT viewId) {
  for (std::size_t i = 0; i < kButtons.size(); ++i) {
    CSkinButton& button = m_buttons[i];
    const int visibility = ButtonVisibility(viewId, kButtons[i].id);
    if (button.GetSafeHwnd() && visibility >= 0)
      button.ShowWindow(visibility ? SW_SHOW : SW_HIDE);
  }
}

void CMainMenu::EnableButton(UINT id, BOOL enable) {
  CSkinButton* button = GetButton(id);
  if (button && button->GetSafeHwnd())
    button->EnableWindow(enable);
}

void CMainMenu::ShowButton(UINT id, BOOL show) {
  CSkinButton* button = GetButton(id);
  if (button && button->GetSafeHwnd())
    button->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CMainMenu::SetButtonFace(UINT id, UINT bitmap) {
  CSkinButton* button = GetButton(id);
  if (!button || !button->GetSafeHwnd() || !button->LoadBitmaps(bitmap))
    return;
  button->SizeToBitmap();
  button->SetNormalState();
}

int CMainMenu::GetButtonDrawState(UINT id) const {
  const CSkinButton* button = GetButton(id);
  return button ? button->GetState() : -1;
}

CRect CMainMenu::GetButtonRect(UINT id) const {
  const CSkinButton* button = GetButton(id);
  CRect rect;
  if (!button || !button->GetSafeHwnd())
    return rect;
  button->GetWindowRect(&rect);
  ScreenToClient(&rect);
  return rect;
}

void CMainMenu::MoveButton(UINT id, int x, int y) {
  CSkinButton* button = GetButton(id);
  if (button && button->GetSafeHwnd())
    button->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CMainMenu::OnButton(UINT id) {
  if (id == MenuButton::kReceiveAgain) {
    OnBtnReceiveAgain();
    return;
  }
  if (CMainMenuHost* frame = GetMainFrame())
    frame->OnMenuButton(id);
}

BOOL CMainMenu::OnEraseBkgnd(CDC*) { return TRUE; }

void CMainMenu::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

void CMainMenu::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  if (client.Width() <= 0 || client.Height() <= 0)
    return;
  CDC memory;
  memory.CreateCompatibleDC(dc);
  CBitmap canvas;
  canvas.CreateCompatibleBitmap(dc, client.Width(), client.Height());
  CBitmap* oldCanvas = memory.SelectObject(&canvas);
  memory.FillSolidRect(&client, RGB(0xB8, 0xC8, 0xDC));
  CDC piece;
  piece.CreateCompatibleDC(dc);
  if (m_left.GetSafeHandle()) {
    CBitmap* old = piece.SelectObject(&m_left);
    if (!m_bBannerShown)
      memory.BitBlt(0, 0, m_leftSize.cx, m_leftSize.cy, &piece, 0, 0, SRCCOPY);
    const int rightStart = client.right - m_rightSize.cx;
    const int half = std::max(1, static_cast<int>(m_middleSize.cx / 2));
    piece.SelectObject(&m_middle);
    for (int x = m_leftSize.cx; x < rightStart; x += half) {
      const int source = rightStart - x >= half ? 0 : half;
      memory.StretchBlt(x, 0, half, client.Height(), &piece, source, 0, half, m_middleSize.cy, SRCCOPY);
    }
    piece.SelectObject(&m_right);
    memory.StretchBlt(rightStart, 0, m_rightSize.cx, client.Height(), &piece, 0, 0, m_rightSize.cx, m_rightSize.cy,
                      SRCCOPY);
    piece.SelectObject(old);
  }
  dc->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(oldCanvas);
}

void CMainMenu::OnBtnReceiveAgain() {
  using namespace MenuButton;
  CMainMenuHost* frame = GetMainFrame();
  CGameRoom* room = frame ? frame->GetGameRoom() : nullptr;
  auto* view = frame ? dynamic_cast<CDagukRoomView*>(frame->GetContentView()) : nullptr;
  if (!room || !view)
    return;
  // The reset must not lose what the room is doing: mode, colour and state word come back after.
  const LONG mode = view->GetGameMode();
  const short colour = view->GetUserColor();
  const WORD state = frame->GetRoomStateWord();
  frame->SetDeferringMoves(TRUE);
  room->SetKeepCondition(TRUE);
  room->ResetRoom();
  frame->RequestRoomData();
  frame->FlushRequests();
  frame->SendRoomReady();
  frame->FlushRequests();
  view->SetGameMode(mode);
  view->SetUserColor(colour);
  frame->SetRoomStateWord(state);
  room->SetRoomStateWord(state);

  const int phase = room->GetSubStatus();
  if (phase < 1 || phase > 6)
    return;
  for (UINT id : {kWaitingRoomList, kRecordView, kRankView, kGameRoom, kNegotiate})
    EnableButton(id, FALSE);
  auto enable = [this](std::initializer_list<UINT> ids, BOOL on) {
    for (UINT id : ids)
      EnableButton(id, on);
  };
  switch (phase) {
    case 1:
    case 2:
      enable({kInvite, kAskDraw, kResign, kAskUndo, kAskEnd, kReceiveAgain, kSequence, kPause}, TRUE);
      enable({kSendStones, kAskCounting, kStalemate, kTryPlacing, kReview, kSelectRecord, kLeave}, FALSE);
      EnableButton(kGiveUpMove, phase == 1 && GetButtonDrawState(kGiveUpMove) == CSkinButton::kNormal);
      SetButtonFace(kPause, kPauseFace);
      if (phase == 1) {
        room->StartClock();
        room->ShowNotice("Playing");
        frame->SetDeferringMoves(FALSE);
      }
      break;
    case 3:
    case 4:
    case 5:
      if (phase == 4)
        room->ResetCapturedDisplay(1);
      else if (phase == 5)
        room->ResetCapturedDisplay(0);
      enable({kInvite, kAskEnd, kSendStones, kAskCounting, kReceiveAgain, kStalemate, kSequence}, TRUE);
      enable({kAskDraw, kResign, kAskUndo, kGiveUpMove, kTryPlacing, kReview, kPause, kSelectRecord, kLeave}, FALSE);
      SetButtonFace(kAskEnd, kCountingDoneFace);
      break;
    case 6:
      enable({kInvite, kReceiveAgain, kSequence, kTryPlacing, kReview, kLeave}, TRUE);
      enable({kAskDraw, kResign, kAskUndo, kAskEnd, kSendStones, kAskCounting, kGiveUpMove, kStalemate, kPause,
              kSelectRecord},
             FALSE);
      break;
    default:
      break;
  }
}

void CMainMenu::OnContextMenu(CWnd*, CPoint point) {
  CMainMenuHost* frame = GetMainFrame();
  if (!frame || frame->GetActiveViewId() != CMainMenuHost::kGameRoomView)
    return;
  CMenu menu;
  if (!menu.LoadMenu(kRoomPopupMenu))
    return;
  CMenu* popup = menu.GetSubMenu(0);
  if (!popup)
    return;
  if (point.x == -1 && point.y == -1) {
    // From the keyboard: just inside the pane's corner.
    CRect rect;
    GetWindowRect(&rect);
    point = CPoint(rect.left + 5, rect.top + 5);
  }
  CWnd* owner = this;
  while (owner->GetParent() && (owner->GetStyle() & WS_CHILD) != 0)
    owner = owner->GetParent();
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner);
}

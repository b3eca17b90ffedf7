#include "client/app/ClientView.h"

#include <algorithm>
#include <cmath>

#include "client/relay/ClientConfig.h"
#include "client/app/ClientDoc.h"
#include "client/app/DelayTimeDlg.h"
#include "client/widgets/DrawUtilities.h"
#include "client/app/LoginDlg.h"
#include "client/app/MainFrame.h"
#include "client/widgets/StatusText.h"
#include "client/model/DiagramPrinter.h"
#include "client/widgets/TextUtilities.h"
#include "client/resources/ClientIds.h"
#include "platform/app.h"
#include "platform/ddx.h"
#include "platform/sound.h"

IMPLEMENT_DYNCREATE(CClientView, CFormView)

namespace {

constexpr int kMinScreenWidth = 800;
constexpr int kMinScreenHeight = 600;
// Room of the coordinates beside and under the board (their boxes are 10 pixels, the glyphs run
// over), and the gap between that room and the right panel.
constexpr int kCoordinateRoom = 12;
constexpr int kPanelGap = 5;

// The room top-level windows get: the platform's screen (a maximised window's size less its
// borders says the same).
CRect WorkArea() { return CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)); }

constexpr UINT kPieceIds[] = {IDB_PANEL_TOP, IDB_PANEL_MIDDLE, IDB_PANEL_BOTTOM, IDB_BAR_TILE, IDB_BAR_LEFT};
constexpr int kLabelHeight = 16;
constexpr int kCaptionHeight = 16;
constexpr int kInputHeight = 22;
constexpr int kButtonGap = 5;

// The form's buttons in the order of the view's button array, with their pictures.
struct ButtonPicture {
  int id;
  UINT bitmap;
};
constexpr ButtonPicture kButtons[12] = {
    {IDC_BTN_AUTOVIEW, IDB_BTN_AUTOVIEW}, {IDC_BTN_VOICE, IDB_BTN_VOICE}, {IDC_BTN_SEQ, IDB_BTN_SEQ},
    {IDC_BTN_SELF, IDB_BTN_SELF},         {IDC_BTN_REF, IDB_BTN_REF},     {IDC_BTN_DELAY, IDB_BTN_DELAY},
    {IDC_BTN_EXIT, IDB_BTN_EXIT},         {IDC_BTN_PLAYINFO, IDB_BTN_PLAYINFO}, {IDC_BTN_PREV, IDB_BTN_PREV},
    {IDC_BTN_NEXT, IDB_BTN_NEXT},         {IDC_BTN_LAST, IDB_BTN_LAST},   {IDC_BTN_FIRST, IDB_BTN_FIRST},
};

CString UiText(const char* literal) {
  CString text;
  LoadUiText(literal, text);
  return text;
}

CString Caption(const char* format, const char* word) {
  CString text;
  text.Format(format, static_cast<const char*>(UiText(word)));
  return text;
}

}  // namespace

CClientView::CClientView() : CFormView(IDD_CLIENT_FORM) {
  m_whiteCaptures = Cp949("잡은돌 :   0");
  m_blackCaptures = m_whiteCaptures;
  ResetAutoView();
}

CClientView::~CClientView() {
  StopRealPlayer(false);
  m_socket.Close();
  m_moves.DeleteAll();
}

BOOL CClientView::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style &= ~(WS_HSCROLL | WS_VSCROLL);
  return CFormView::PreCreateWindow(cs);
}

void CClientView::DoDataExchange(CDataExchange* dx) {
  CFormView::DoDataExchange(dx);
  for (int i = 0; i < 12; ++i) DDX_Control(dx, kButtons[i].id, m_buttons[i]);
  DDX_Control(dx, IDC_ANSWER_PANE, m_answerPane);
  DDX_Control(dx, IDC_COMMENT_PANE, m_commentPane);
  DDX_Control(dx, IDC_BLACK_ICON, m_blackIcon);
  DDX_Control(dx, IDC_WHITE_ICON, m_whiteIcon);
  DDX_Control(dx, IDC_BLACK_PHOTO, m_blackPhotoPane);
  DDX_Control(dx, IDC_WHITE_PHOTO, m_whitePhotoPane);
  DDX_Text(dx, IDC_WHITE_NAME, m_whiteName);
  DDX_Text(dx, IDC_WHITE_AFFILIATION, m_whiteAffiliation);
  DDX_Text(dx, IDC_WHITE_CAPTURES, m_whiteCaptures);
  DDX_Text(dx, IDC_BLACK_NAME, m_blackName);
  DDX_Text(dx, IDC_BLACK_AFFILIATION, m_blackAffiliation);
  DDX_Text(dx, IDC_BLACK_CAPTURES, m_blackCaptures);
  DDX_Text(dx, IDC_QUESTION_EDIT, m_question);
  DDV_MaxChars(dx, m_question, kMaxQuestion);
}

CGameInfo& CClientView::GetGameInfo() { return m_pClientDoc ? m_pClientDoc->GetGameInfo() : m_detachedInfo; }

void CClientView::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  m_pClientDoc = dynamic_cast<CClientDoc*>(GetDocument());
  m_pFrame = dynamic_cast<CMainFrame*>(GetParentFrame());
  if (m_pFrame) {
    m_pFrame->RecalcLayout();
    SizeFrameToForm(false);
    SizeFrameToForm(true);
  }
  if (!CheckScreenSize()) {
    DestroyWindow();
    return;
  }
  m_initialised = 1;
  InitControls();
  LayoutControls();
  SetFrameMinSize(true);
  OnConnect();
}

bool CClientView::CheckScreenSize() {
  if (::GetSystemMetrics(SM_CXSCREEN) < kMinScreenWidth || ::GetSystemMetrics(SM_CYSCREEN) < kMinScreenHeight) {
    ShowMessage("This program desire above 800x600 resolution.");
    return false;
  }
  for (int i = 0; i < kBitmapCount; ++i) {
    m_bitmaps[i].DeleteObject();
    m_palettes[i].DeleteObject();
    if (!LoadSysColorBitmap(kPieceIds[i], m_bitmaps[i], m_palettes[i])) return false;
  }
  m_panelWidth = BitmapSize(0).cx;
  m_topImageHeight = BitmapSize(3).cy;
  m_buttonBarImageSize = BitmapSize(4);
  return true;
}

CSize CClientView::BitmapSize(int index) const {
  BITMAP info{};
  if (!m_bitmaps[index].GetSafeHandle() || !m_bitmaps[index].GetBitmap(&info)) return CSize(0, 0);
  return CSize(info.bmWidth, info.bmHeight);
}

void CClientView::InitControls() {
  m_board.Create(CRect(0, 0, 100, 100), this);
  m_board.SetEditMode(20);
  m_backgroundBrush.DeleteObject();
  m_backgroundBrush.CreateSolidBrush(kPaneColour);
  for (int i = 0; i < 12; ++i) {
    m_buttons[i].LoadBitmap(kButtons[i].bitmap);
    m_buttons[i].SizeToImage();
  }
  if (CWnd* caption = GetDlgItem(IDC_QUESTION_CAPTION)) caption->ShowWindow(SW_SHOW);
  m_answerPane.ShowWindow(SW_SHOW);
  m_answerPane.Init(this);
  m_whiteIcon.SetBitmaps(IDB_ICON_WHITE, IDB_ICON_MASK);
  m_whiteIcon.SizeToBitmap();
  m_blackIcon.SetBitmaps(IDB_ICON_BLACK, IDB_ICON_MASK);
  m_blackIcon.SizeToBitmap();
  m_whitePhotoPane.SetImage(m_whitePhoto.get());
  m_blackPhotoPane.SetImage(m_blackPhoto.get());
  SetDlgItemText(IDC_COMMENT_CAPTION, Caption("< %s >", "Commentary"));
  SetDlgItemText(IDC_QUESTION_CAPTION, Caption("< %s >", "Chat"));
  SetDlgItemText(IDC_WHITE_CAPTURES, Caption("%s :", "Capture"));
  SetDlgItemText(IDC_BLACK_CAPTURES, Caption("%s :", "Capture"));
  ::SendMessage(::GetDlgItem(m_hWnd, IDC_QUESTION_EDIT), EM_LIMITTEXT, kMaxQuestion, 0);
  if (m_pFrame) {
    m_pFrame->SetTitle(UiText("Ondrivo Client"));
    m_pFrame->OnUpdateFrameTitle(FALSE);
  }
  OnLoginAccepted(FALSE);
}

void CClientView::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  ::ShowScrollBar(m_hWnd, SB_BOTH, FALSE);
  LayoutControls();
}

void CClientView::LayoutControls() {
  if (!m_initialised || m_board.GetSafeHwnd() == nullptr) return;
  CRect client;
  GetClientRect(&client);
  const int barHeight = m_buttonBar ? m_topImageHeight : 0;
  const int margin = m_margins ? 10 : 0;
  // The coordinates take a row of letters under the board and a column of numbers beside it:
  // both are room the board must leave, or the bar and the panel cover them.
  const int labels = m_coordinates ? kCoordinateRoom : 0;
  const int areaWidth = client.Width() - m_panelWidth;
  const int areaHeight = client.Height() - barHeight;
  // The board takes the height the bar leaves, unless the width beside the panel is smaller.
  CSize board = CBadukCtrl::CalcBoardSize(0, areaHeight - 10 - labels);
  const int widthRoom = areaWidth - margin - labels - kPanelGap;
  if (board.cx > widthRoom && widthRoom > 0) board = CBadukCtrl::CalcBoardSize(widthRoom, 0);
  const CPoint scroll = GetScrollPosition();
  const int block = static_cast<int>(board.cx) + labels + kPanelGap;
  const int boardX = std::max(margin, (areaWidth - block) / 2) - scroll.x;
  const int boardY = std::max(margin / 2, (areaHeight - labels - static_cast<int>(board.cy)) / 2) - scroll.y;
  m_board.SetWindowPos(nullptr, boardX, boardY, board.cx, board.cy, SWP_NOZORDER);

  const CRect panel = PanelRect();
  const int gap = (m_panelWidth - 2 * kPhotoWidth) / 3;
  const int photoTop = panel.top + 10;
  const CRect whitePhoto(panel.left + gap, photoTop, panel.left + gap + kPhotoWidth, photoTop + kPhotoHeight);
  const CRect blackPhoto(whitePhoto.right + gap, photoTop, whitePhoto.right + gap + kPhotoWidth,
                         photoTop + kPhotoHeight);
  m_whitePhotoPane.MoveWindow(&whitePhoto);
  m_blackPhotoPane.MoveWindow(&blackPhoto);

  CRect icon;
  m_whiteIcon.GetWindowRect(&icon);
  const CSize iconSize(icon.Width(), icon.Height());
  const int iconTop = whitePhoto.bottom + 2;
  m_whiteIcon.MoveWindow(panel.left + 26, iconTop, iconSize.cx, iconSize.cy);
  m_blackIcon.MoveWindow(blackPhoto.left, iconTop, iconSize.cx, iconSize.cy);
  const int whiteLeft = panel.left + 26 + iconSize.cx + 5;
  const int blackLeft = blackPhoto.left + iconSize.cx + 2;
  const int whiteIds[] = {IDC_WHITE_NAME, IDC_WHITE_AFFILIATION, IDC_WHITE_CAPTURES, IDC_WHITE_CLOCK};
  const int blackIds[] = {IDC_BLACK_NAME, IDC_BLACK_AFFILIATION, IDC_BLACK_CAPTURES, IDC_BLACK_CLOCK};
  for (int row = 0; row < 4; ++row) {
    const int top = iconTop + row * kLabelHeight;
    if (CWnd* label = GetDlgItem(whiteIds[row])) label->MoveWindow(whiteLeft, top, blackPhoto.left - 4 - whiteLeft, kLabelHeight);
    if (CWnd* label = GetDlgItem(blackIds[row])) label->MoveWindow(blackLeft, top, panel.right - 8 - blackLeft, kLabelHeight);
  }

  const int captionTop = iconTop + 4 * kLabelHeight + 4;
  const int paneLeft = panel.left + 26;
  const int paneWidth = panel.right - 22 - paneLeft;
  if (CWnd* caption = GetDlgItem(IDC_COMMENT_CAPTION)) caption->MoveWindow(paneLeft, captionTop, paneWidth, kCaptionHeight);
  const int shared = client.bottom - (captionTop + kCaptionHeight) - 8 - kCaptionHeight - kInputHeight - 8 - 8;
  const int commentHeight = static_cast<int>(std::lround(shared * 0.6));
  const int answerHeight = static_cast<int>(std::lround(shared * 0.4));
  int top = captionTop + kCaptionHeight + 2;
  m_commentPane.MoveWindow(paneLeft, top, paneWidth, std::max(0, commentHeight));
  top += std::max(0, commentHeight) + 2;
  if (CWnd* caption = GetDlgItem(IDC_QUESTION_CAPTION)) caption->MoveWindow(paneLeft, top, paneWidth, kCaptionHeight);
  top += kCaptionHeight + 2;
  m_answerPane.MoveWindow(paneLeft, top, paneWidth, std::max(0, answerHeight));
  top += std::max(0, answerHeight) + 2;
  if (CWnd* input = GetDlgItem(IDC_QUESTION_EDIT)) input->MoveWindow(paneLeft, top, paneWidth, kInputHeight);

  LayoutButtonBar();
  Invalidate(FALSE);
}

int CClientView::LayoutButtonBar() {
  if (!m_buttonBar) return 0;
  const CRect strip = ButtonBarRect();
  CRect board;
  m_board.GetWindowRect(&board);
  ScreenToClient(&board);
  const int left = std::max(static_cast<int>(strip.left) + m_buttonBarImageSize.cx, static_cast<int>(board.left));
  const int firstRow = strip.top + 6;
  const auto place = [&](int id, int& x, int y) {
    CWnd* control = GetDlgItem(id);
    if (control == nullptr) return CRect();
    CRect rect;
    control->GetWindowRect(&rect);
    const CRect placed(x, y, x + rect.Width(), y + rect.Height());
    control->MoveWindow(&placed);
    x = placed.right + kButtonGap;
    return placed;
  };
  int x = left;
  place(IDC_BTN_FIRST, x, firstRow);
  place(IDC_BTN_PREV, x, firstRow);
  if (CWnd* edit = GetDlgItem(IDC_MOVE_EDIT)) {
    edit->MoveWindow(x, firstRow, 44, 22);
    x += 44 + kButtonGap;
  }
  place(IDC_BTN_NEXT, x, firstRow);
  place(IDC_BTN_LAST, x, firstRow);
  const int secondRow = firstRow + 22 + kButtonGap;
  x = left;
  CRect playinfo, exit;
  for (int id : {IDC_BTN_VOICE, IDC_BTN_AUTOVIEW, IDC_BTN_SELF, IDC_BTN_SEQ, IDC_BTN_PLAYINFO, IDC_BTN_EXIT}) {
    const CRect placed = place(id, x, secondRow);
    if (id == IDC_BTN_PLAYINFO) playinfo = placed;
    if (id == IDC_BTN_EXIT) exit = placed;
  }
  // "delay" and "ref" stand in the first row, above "playinfo" and "exit".
  int above = playinfo.left;
  place(IDC_BTN_DELAY, above, firstRow);
  above = exit.left;
  place(IDC_BTN_REF, above, firstRow);
  return strip.Height();
}

CRect CClientView::ButtonBarRect() const {
  CRect client;
  GetClientRect(&client);
  const int height = m_buttonBar ? m_topImageHeight : 0;
  return CRect(0, client.bottom - height, std::max(0, static_cast<int>(client.right) - m_panelWidth), client.bottom);
}

CRect CClientView::PanelRect() const {
  CRect client;
  GetClientRect(&client);
  CRect board;
  if (m_board.GetSafeHwnd()) {
    m_board.GetWindowRect(&board);
    ScreenToClient(&board);
  }
  const int margin = m_coordinates ? kCoordinateRoom : 0;
  const int left = std::max(static_cast<int>(board.right) + margin + kPanelGap, static_cast<int>(client.right) - m_panelWidth);
  return CRect(left, client.top, left + m_panelWidth, client.bottom);
}

void CClientView::SizeFrameToForm(bool shrinkOnly) {
  if (m_pFrame == nullptr) return;
  const CSize form = GetTotalSize();
  CRect frame, client;
  m_pFrame->GetWindowRect(&frame);
  GetClientRect(&client);
  CSize grow(form.cx - client.Width(), form.cy - client.Height());
  if (shrinkOnly) grow = CSize(std::min(0, static_cast<int>(grow.cx)), std::min(0, static_cast<int>(grow.cy)));
  // The form is no larger than the screen lets it be: on a small screen the frame takes what there
  // is, on the screen, and the view lays its panes out in that.
  const CRect screen = WorkArea();
  const int width = std::min(frame.Width() + static_cast<int>(grow.cx), screen.Width());
  const int height = std::min(frame.Height() + static_cast<int>(grow.cy), screen.Height());
  const int x = std::clamp(static_cast<int>(frame.left), static_cast<int>(screen.left), static_cast<int>(screen.right) - width);
  const int y = std::clamp(static_cast<int>(frame.top), static_cast<int>(screen.top), static_cast<int>(screen.bottom) - height);
  if (width == frame.Width() && height == frame.Height() && x == frame.left && y == frame.top) return;
  m_pFrame->SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  m_pFrame->RecalcLayout();
}


int CClientView::GetMinClientWidth() const {
  CRect board;
  m_board.GetWindowRect(&board);
  // The board is centred in the room left of the panel, and the panel keeps the coordinates' room
  // and a gap right of the board: the spare width must cover the margin on the left and, once
  // halved by the centring, the gap on the right.
  const int margin = m_margins ? 10 : 0;
  const int gap = (m_coordinates ? kCoordinateRoom : 0) + kPanelGap;
  const int spare = std::max(margin + gap, 2 * gap - 1);
  return board.Width() + spare + m_panelWidth;
}

void CClientView::SetFrameMinSize(bool fixHeight) {
  if (m_pFrame == nullptr) return;
  CRect frame, client;
  m_pFrame->GetWindowRect(&frame);
  GetClientRect(&client);
  // The right panel and the margins beside the board count too: a frame narrowed to the board
  // alone would cut off the panel.
  m_pFrame->SetMinTrackSize(frame.Width() - client.Width() + GetMinClientWidth(), fixHeight ? frame.Height() : 0);
}

void CClientView::OnConnect() {
  if (m_socket.IsOpen()) return;
  CClientConfig& config = GetClientConfig();
  if (!config.HasServer()) {
    ShowMessage("Configuration of Server connection is invalid. Retry Configuration.");
    return;
  }
  CLoginDlg login(this);
  if (login.DoModal() != IDOK) return;
  if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(1);
  const BOOL connected = m_socket.Connect(this, config.GetClientIp(), static_cast<u_short>(config.GetClientPort()));
  if (AfxGetApp()) AfxGetApp()->DoWaitCursor(-1);
  if (!connected) {
    ShowMessage("No response from the server. Retry connection.");
    m_socket.Close();
    return;
  }
  m_explainMode = login.m_nExplainMode;
  // Lines may come ahead of the login reply; the queue must already feed the board to keep them.
  m_delayQueue.Attach(this, &m_boardFeed);
  if (!m_socket.Login(login.m_strUserName, login.m_strPassword)) {
    ShowMessage(m_socket.GetErrorText());
    m_socket.Close();
    return;
  }
  ShowStatusText(UiText("Connection success."));
  m_board.SetEditMode(9);
  StartTimer();
  SetStateFlag(kLoggedIn);
  ShowStatusText(UiText("Connection success."));
}

void CClientView::Disconnect() {
  m_socket.Close();
  // The stream ends with the relay; a player left running would play nothing.
  StopRealPlayer(true);
  m_board.SetEditMode(20);
  // The voice the delay kept pace with has gone with the link: holding moves back would only hide
  // them. The timer stays for autoview and rests by itself.
  ReleaseHeldMoves();
  OnLoginAccepted(FALSE);
  ClearStateFlag(kLoggedIn);
}

LRESULT CClientView::OnBoardCaptures(WPARAM black, LPARAM white) {
  CString text;
  text.Format("%s : %3d", static_cast<const char*>(UiText("Capture")), static_cast<int>(black));
  SetDlgItemText(IDC_WHITE_CAPTURES, text);
  text.Format("%s : %3d", static_cast<const char*>(UiText("Capture")), static_cast<int>(white));
  SetDlgItemText(IDC_BLACK_CAPTURES, text);
  InvalidateControl(IDC_WHITE_CAPTURES);
  InvalidateControl(IDC_BLACK_CAPTURES);
  return 0;
}

LRESULT CClientView::OnBoardChanged(WPARAM, LPARAM) {
  if (m_historyComplete) RefreshCommentPane();
  ShowPositionInMoveEdit(false);
  return 0;
}

LRESULT CClientView::OnBoardIgnored(WPARAM, LPARAM) { return 0; }

void CClientView::RefreshPlayerInfo() {
  UpdateData(TRUE);
  CGameInfo& info = GetGameInfo();
  const CString dan = UiText("dan");
  CString rank;
  rank.Format("%d ", info.m_whiteRank);
  m_whiteName.Format("%s %s%s", static_cast<const char*>(info.m_whiteName), static_cast<const char*>(rank),
                     static_cast<const char*>(dan));
  m_whiteAffiliation = info.m_whiteAffiliation;
  rank.Format("%d ", info.m_blackRank);
  m_blackName.Format("%s %s%s", static_cast<const char*>(info.m_blackName), static_cast<const char*>(rank),
                     static_cast<const char*>(dan));
  m_blackAffiliation = info.m_blackAffiliation;
  if (LoadPhoto(*m_whitePhoto, info.m_whitePhotoPath)) InvalidateControl(IDC_WHITE_PHOTO);
  if (LoadPhoto(*m_blackPhoto, info.m_blackPhotoPath)) InvalidateControl(IDC_BLACK_PHOTO);
  UpdateData(FALSE);
}

bool CClientView::LoadPhoto(CImage& image, const CString& path) {
  if (path.IsEmpty() || path == image.GetFileName()) return false;
  image.ReadFile(path, kImageJpeg);
  return true;
}

void CClientView::RefreshCommentPane() {
  if (m_commentPane.GetSafeHwnd() == nullptr) return;
  CString text;
  m_comments.GetCommentText(m_board.GetCurrentMove(), text, kMaxCommentShown);
  // Most moves have no comment: the pane is left alone unless what it shows changes. What it
  // shows is what was last set here; it is read back only after someone else wrote to it.
  if (!m_commentShownKnown) {
    m_commentPane.GetWindowText(m_commentShown);
    m_commentShownKnown = true;
  }
  if (m_commentShown != text) {
    m_commentPane.Clear();
    m_commentPane.SetWindowText(text);
    m_commentShown = text;
    if (!m_board.IsBrowsing()) m_commentPane.ScrollToEnd();
  }
}

void CClientView::UpdateMoveCounter() {
  if (m_pFrame == nullptr) return;
  m_pFrame->GetStatusBar().SetProgress(m_delayQueue.GetMoveCount());
  m_pFrame->GetStatusBar().SetNextColor(m_delayQueue.GetNextColor(), false);
}

void CClientView::PlayStoneSound() {
  if (!(m_historyComplete || (m_stateFlags & kRecordOpen))) return;
  if (!GetClientConfig().IsSoundOn()) return;
  ::PlaySound(MAKEINTRESOURCE(IDR_STONE_WAVE), AfxGetResourceHandle(), SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

void CClientView::InvalidateControl(int id) {
  CWnd* control = GetDlgItem(id);
  if (control == nullptr) return;
  CRect rect;
  control->GetWindowRect(&rect);
  ScreenToClient(&rect);
  InvalidateRect(&rect, TRUE);
  control->Invalidate(TRUE);
}

void CClientView::SetLabel(int id, const CString& text) {
  SetDlgItemText(id, text);
  InvalidateControl(id);
}

void CClientView::UpdateClock(int id, const CString& text) {
  CWnd* clock = GetDlgItem(id);
  if (clock == nullptr) return;
  const int which = id == IDC_WHITE_CLOCK ? 0 : 1;
  CString& shown = m_clockTexts[which];
  if (!m_clockTextsKnown[which]) {
    clock->GetWindowText(shown);
    m_clockTextsKnown[which] = true;
  }
  if (shown == text) return;
  shown = text;
  // The static is transparent: the view's background must be painted under the new text.
  CRect rect;
  clock->GetWindowRect(&rect);
  ScreenToClient(&rect);
  clock->SetWindowText(text);
  InvalidateRect(&rect, TRUE);
  clock->Invalidate(TRUE);
}

void CClientView::SetClocks(int lh, int lm, int ls, int rh, int rm, int rs) {
  // Most relay lines repeat the clocks they had: nothing to format or compare then.
  const int clocks[6] = {lh, lm, ls, rh, rm, rs};
  if (m_clocksShownKnown && std::equal(clocks, clocks + 6, m_clocksShown)) return;
  std::copy(clocks, clocks + 6, m_clocksShown);
  CString text;
  text.Format("%02d : %02d : %02d", lh, lm, ls);
  UpdateClock(IDC_WHITE_CLOCK, text);
  text.Format("%02d : %02d : %02d", rh, rm, rs);
  UpdateClock(IDC_BLACK_CLOCK, text);
  // Only once both clocks exist do the numbers stand for what they show.
  m_clocksShownKnown = m_clockTextsKnown[0] && m_clockTextsKnown[1];
}

void CClientView::ResetAutoView() {
  m_autoViewRunning = 0;
  m_autoViewStart = 0;
  m_autoViewInterval = 0;
}

void CClientView::StartAutoView(int interval) {
  if (m_autoViewRunning) return;
  m_autoViewInterval = interval;
  m_autoViewStart = ::GetTickCount();
  m_autoViewRunning = 1;
  WakeTimer();
}

void CClientView::StopAutoView() {
  if (m_autoViewRunning) ResetAutoView();
}

void CClientView::ResetPhotos() {
  m_whitePhotoFile.Remove();
  m_blackPhotoFile.Remove();
  m_whitePhoto = std::make_unique<CImage>();
  m_blackPhoto = std::make_unique<CImage>();
  m_whitePhotoPane.SetImage(m_whitePhoto.get());
  m_blackPhotoPane.SetImage(m_blackPhoto.get());
}
